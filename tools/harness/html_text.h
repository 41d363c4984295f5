// Text of the system as HTML/XML character data: markup characters escaped,
// valid UTF-8 kept, other bytes (the ANSI code page's) as their Windows-1252
// characters, control characters as U+FFFD. The result is valid XML text.
#pragma once

#include <string>
#include <string_view>

namespace orbex::harness {

// Appends text escaped for element content and double- or single-quoted attributes.
void AppendHtmlText(std::string& out, std::string_view bytes);
std::string HtmlText(std::string_view bytes);

}  // namespace orbex::harness
