#include "html_text.h"

#include <array>
#include <cstdint>

#include "common/format.h"

namespace orbex::harness {
namespace {

// Code page 1252 from 0x80 to 0x9F; 0 where it defines no character.
constexpr std::array<char32_t, 32> kHigh1252 = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                                0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                                0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                                0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

constexpr char32_t kReplacement = 0xFFFD;

// Length of the valid UTF-8 sequence at bytes[i] and its code point; 0 when
// none starts there (overlong forms, surrogates and values past U+10FFFF are not valid).
size_t Utf8Sequence(std::string_view bytes, size_t i, char32_t& code) {
    const auto byte = [&](size_t k) { return static_cast<uint8_t>(bytes[k]); };
    const uint8_t lead = byte(i);
    size_t length = 0;
    char32_t min = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, code = lead & 0x1F, min = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, code = lead & 0x0F, min = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, code = lead & 0x07, min = 0x10000;
    } else {
        return 0;
    }
    if (bytes.size() - i < length) return 0;
    for (size_t k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) return 0;
        code = code << 6 | (byte(i + k) & 0x3F);
    }
    if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
    return length;
}

// Characters XML does not allow or that would show as nothing readable.
bool IsControl(char32_t c) {
    return (c < 0x20 && c != '\t' && c != '\n') || (c >= 0x7F && c <= 0x9F) || c == 0xFFFE || c == 0xFFFF;
}

void AppendReference(std::string& out, char32_t c) {
    out += Format("&#x%X;", static_cast<unsigned>(c));
}

}  // namespace

void AppendHtmlText(std::string& out, std::string_view bytes) {
    for (size_t i = 0; i < bytes.size();) {
        const auto b = static_cast<uint8_t>(bytes[i]);
        if (b < 0x80) {
            switch (b) {
                case '&': out += "&amp;"; break;
                case '<': out += "&lt;"; break;
                case '>': out += "&gt;"; break;
                case '"': out += "&quot;"; break;
                case '\'': out += "&#39;"; break;
                case '\r':
                    // A line end written CR LF is one line end.
                    if (i + 1 < bytes.size() && bytes[i + 1] == '\n') break;
                    AppendReference(out, kReplacement);
                    break;
                default:
                    if (IsControl(b))
                        AppendReference(out, kReplacement);
                    else
                        out += static_cast<char>(b);
            }
            ++i;
            continue;
        }
        char32_t code = 0;
        if (size_t length = Utf8Sequence(bytes, i, code)) {
            if (IsControl(code))
                AppendReference(out, kReplacement);
            else
                out.append(bytes.substr(i, length));
            i += length;
            continue;
        }
        // A byte of the ANSI code page.
        const char32_t c = b < 0xA0 ? kHigh1252[b - 0x80] : char32_t{b};
        AppendReference(out, c == 0 ? kReplacement : c);
        ++i;
    }
}

std::string HtmlText(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    AppendHtmlText(out, bytes);
    return out;
}

}  // namespace orbex::harness
