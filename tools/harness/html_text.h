// Text of the system as HTML/XML character data: markup characters escaped,
// valid UTF-8 kept, other bytes (the ANSI code page's) as their Windows-1252
// characters, control characters as U+FFFD. The result is valid XML text.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace orbex::harness {

// Appends text escaped for element content and double- or single-quoted attributes.
void AppendHtmlText(std::string& out, std::string_view bytes);
std::string HtmlText(std::string_view bytes);

// printf into a string (numbers and markup of the report's own making), however long.
template <class... Args>
std::string Fmt(const char* format, Args... args) {
    char buffer[256];
    const int n = std::snprintf(buffer, sizeof buffer, format, args...);
    if (n < 0) return {};
    if (size_t(n) < sizeof buffer) return std::string(buffer, size_t(n));
    std::string text(size_t(n) + 1, '\0');
    std::snprintf(text.data(), text.size(), format, args...);
    text.resize(size_t(n));
    return text;
}

}  // namespace orbex::harness
