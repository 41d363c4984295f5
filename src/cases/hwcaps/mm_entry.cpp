#include "cases/hwcaps/mm_entry.h"

#include <cctype>
#include <cstring>

#include "common/format.h"

namespace orbex {

uint32_t ReadHexItem(const char* item) {
    const char* p = item;
    while (*p && std::isspace(static_cast<unsigned char>(*p))) ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') negative = *p++ == '-';
    if (p[0] == '0' && (p[1] == 'x' || p[1] == 'X') && std::isxdigit(static_cast<unsigned char>(p[2]))) p += 2;
    uint32_t value = 0;
    for (; std::isxdigit(static_cast<unsigned char>(*p)); ++p) {
        int c = std::tolower(static_cast<unsigned char>(*p));
        value = value * 16u + static_cast<uint32_t>(c <= '9' ? c - '0' : c - 'a' + 10);
    }
    return negative ? 0u - value : value;
}

bool ParseMMEntry(const char* value, MMEntry& entry) {
    entry = MMEntry{};
    bool named = false;
    const char* p = value;
    while (*p) {
        const char* end = std::strchr(p, ',');
        size_t length = end ? static_cast<size_t>(end - p) : std::strlen(p);
        if (length > 0) {
            if (!named) {
                size_t n = length < sizeof entry.name - 1 ? length : sizeof entry.name - 1;
                std::memcpy(entry.name, p, n);
                entry.name[n] = '\0';
                named = true;
            } else {
                // An item is read up to its comma only.
                char item[256];
                size_t n = length < sizeof item - 1 ? length : sizeof item - 1;
                std::memcpy(item, p, n);
                item[n] = '\0';
                if (entry.byteCount < kMMTableBytes)
                    entry.table[entry.byteCount] = static_cast<uint8_t>(ReadHexItem(item) & 0xFF);
                ++entry.byteCount;
            }
        }
        if (!end) break;
        p = end + 1;
    }
    return named;
}

}  // namespace orbex
