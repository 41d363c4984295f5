#include "cases/comchk/component_record.h"

#include <cstring>

namespace orbex {
namespace {
bool IsSeparator(char c) {
    return c == ' ' || c == ',' || c == '\t';
}

// A number as the runtime's atol reads it: optional sign, then digits; any
// other text gives what was read so far. Wraps as 32-bit arithmetic does.
uint32_t ReadNumber(const char* p, const char* end) {
    bool negative = false;
    if (p < end && (*p == '+' || *p == '-')) negative = *p++ == '-';
    uint32_t value = 0;
    while (p < end && *p >= '0' && *p <= '9') value = value * 10u + static_cast<uint32_t>(*p++ - '0');
    return negative ? 0u - value : value;
}
}  // namespace

bool ParseComponentSelectors(const char* value, ComponentRecord& record) {
    uint8_t* fields[] = {&record.Type, &record.Os, &record.Decoder, &record.Standard, &record.Tier};
    for (uint8_t* f : fields) *f = 0;
    int count = 0;
    for (const char* p = value ? value : ""; *p;) {
        if (IsSeparator(*p)) {
            ++p;
            continue;
        }
        const char* end = p;
        while (*end && !IsSeparator(*end)) ++end;
        if (count < 5) *fields[count] = static_cast<uint8_t>(ReadNumber(p, end));
        ++count;
        p = end;
    }
    return count > 0;
}

}  // namespace orbex
