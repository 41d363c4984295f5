// Text of the system as HTML/XML character data: markup characters escaped,
// valid UTF-8 kept, other bytes (the ANSI code page's) as their Windows-1252
// characters, control characters as U+FFFD. The result is valid XML text.
#pragma once

#include <algorithm>
#include <cstdio>
#include <string>
#include <string_view>

namespace orbex::harness {

// Appends text escaped for element content and double- or single-quoted attributes.
void AppendHtmlText(std::string& out, std::string_view bytes);
std::string HtmlText(std::string_view bytes);

// printf into a string (numbers and markup of the report's own making).
template <class... Args>
std::string Fmt(const char* format, Args... args) {
    char buffer[256];
    int n = std::snprintf(buffer, sizeof buffer, format, args...);
    return n < 0 ? std::string() : std::string(buffer, std::min<size_t>(size_t(n), sizeof buffer - 1));
}

}  // namespace orbex::harness
