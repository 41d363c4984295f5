#include "graph/graph_values.h"

#include <cstdlib>
#include <cstring>

namespace orbex {

int ParseLabels(std::string_view text, uint8_t* labels, int capacity) {
    int count = 0;
    size_t i = 0;
    auto separator = [](char c) { return c == ' ' || c == ',' || c == '\t'; };
    while (i < text.size()) {
        while (i < text.size() && separator(text[i])) ++i;
        if (i >= text.size()) break;
        size_t start = i;
        while (i < text.size() && !separator(text[i])) ++i;
        std::string_view word = text.substr(start, i - start);
        // A decimal number as atoi reads it, kept as one unsigned byte.
        size_t k = 0;
        bool negative = false;
        if (k < word.size() && (word[k] == '-' || word[k] == '+')) negative = word[k++] == '-';
        uint32_t value = 0;
        for (; k < word.size() && word[k] >= '0' && word[k] <= '9'; ++k) value = value * 10 + (word[k] - '0');
        if (negative) value = 0u - value;
        if (count < capacity) labels[count] = static_cast<uint8_t>(value);
        ++count;
    }
    return count;
}

// strtoul with a 32-bit unsigned long, as the platform has: a sign negates
// modulo 2^32 and an overflow gives 0xFFFFFFFF. Returns false without digits.
static bool ReadHex32(const char*& p, uint32_t& out) {
    const char* q = p;
    while (*q == ' ' || (*q >= '\t' && *q <= '\r')) ++q;
    bool negative = false;
    if (*q == '+' || *q == '-') negative = *q++ == '-';
    if (*q == '+' || *q == '-') return false;
    char* end = nullptr;
    unsigned long long magnitude = std::strtoull(q, &end, 16);
    if (end == q) return false;
    if (magnitude > 0xFFFFFFFFull)
        out = 0xFFFFFFFFu;
    else
        out = negative ? 0u - static_cast<uint32_t>(magnitude) : static_cast<uint32_t>(magnitude);
    p = end;
    return true;
}

void ParseGuidValue(const char* text, Guid& out) {
    const char* p = text;
    for (int field = 0; field < 11; ++field) {
        uint32_t v = 0;
        if (!ReadHex32(p, v)) return;
        if (field == 0)
            out.data1 = v;
        else if (field == 1)
            out.data2 = static_cast<uint16_t>(v);
        else if (field == 2)
            out.data3 = static_cast<uint16_t>(v);
        else
            out.data4[field - 3] = static_cast<uint8_t>(v);
        while (*p == ' ' || *p == '\t') ++p;
        if (*p != ',') return;
        ++p;
    }
}

}  // namespace orbex
