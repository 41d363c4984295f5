#include "common/format.h"

#include <cstring>

namespace orbex {

int FormatIntoV(char* buffer, size_t size, const char* format, va_list args) {
    if (!buffer || size == 0) return 0;
    int n = std::vsnprintf(buffer, size, format, args);
    if (n < 0) {
        buffer[0] = '\0';
        return 0;
    }
    return static_cast<size_t>(n) >= size ? static_cast<int>(size - 1) : n;
}

int FormatInto(char* buffer, size_t size, const char* format, ...) {
    va_list args;
    va_start(args, format);
    int n = FormatIntoV(buffer, size, format, args);
    va_end(args);
    return n;
}

std::string FormatV(const char* format, va_list args) {
    // Most texts fit a line: format once into it, and again only when longer.
    char line[256];
    va_list copy;
    va_copy(copy, args);
    int n = std::vsnprintf(line, sizeof line, format, copy);
    va_end(copy);
    if (n <= 0) return {};
    if (static_cast<size_t>(n) < sizeof line) return std::string(line, static_cast<size_t>(n));
    std::string out(static_cast<size_t>(n) + 1, '\0');
    std::vsnprintf(out.data(), out.size(), format, args);
    out.resize(static_cast<size_t>(n));
    return out;
}

std::string Format(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::string out = FormatV(format, args);
    va_end(args);
    return out;
}

void CopyText(char* buffer, size_t size, const char* text) {
    if (!buffer || size == 0) return;
    size_t n = text ? std::strlen(text) : 0;
    if (n >= size) n = size - 1;
    if (n) std::memcpy(buffer, text, n);
    buffer[n] = '\0';
}

bool EqualsNoCase(const char* a, const char* b) {
    for (;; ++a, ++b) {
        char x = *a, y = *b;
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x + 32);
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y + 32);
        if (x != y) return false;
        if (!x) return true;
    }
}

}  // namespace orbex
