#include "ini/text_encoding.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "ini/best_fit_1252.h"

namespace orbex::ini {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Code page 1252 from 0x80 to 0x9F; the five bytes it leaves undefined map to
// the control characters of the same value.
constexpr std::array<char32_t, 32> kHigh1252 = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                                0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                                0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                                0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void Append(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | c >> 6);
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {  // lone surrogates too: the held text keeps them
        out += static_cast<char>(0xE0 | c >> 12);
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | c >> 18);
        out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// One UTF-8 sequence of a file at bytes[i]; i moves past what it consumed.
// Continuation bytes are taken one by one and the value is checked after each
// (overlong forms, surrogates, beyond U+10FFFF): a sequence found bad keeps
// the bytes taken so far and becomes one U+FFFD (Wine, measured).
char32_t DecodeFileSequence(std::string_view bytes, size_t& i) {
    const auto lead = static_cast<unsigned char>(bytes[i]);
    ++i;
    if (lead < 0x80) return lead;
    size_t more = lead >= 0xC2 && lead <= 0xDF   ? 1
                  : lead >= 0xE0 && lead <= 0xEF ? 2
                  : lead >= 0xF0 && lead <= 0xF4 ? 3
                                                 : 0;
    if (more == 0) return kReplacement;
    if (bytes.size() - i < more) {  // cut by the end of the file
        i = bytes.size();
        return kReplacement;
    }
    static constexpr unsigned char kMask[4] = {0x7F, 0x1F, 0x0F, 0x07};
    char32_t value = lead & kMask[more];
    for (size_t left = more; left > 0; --left) {
        const unsigned bits = static_cast<unsigned char>(bytes[i]) ^ 0x80u;
        if (bits >= 0x40) return kReplacement;
        value = value << 6 | bits;
        ++i;
        if (left == 3 && (value < 0x10 || value > 0x10F)) return kReplacement;
        if (left == 2 && (value < 0x20 || (value >= 0xD800 >> 6 && value <= 0xDFFF >> 6))) return kReplacement;
    }
    return value;
}

// One code point of the held text (which this file wrote, so well formed;
// anything else still ends in bounds).
char32_t NextHeld(std::string_view text, size_t& i) {
    const auto lead = static_cast<unsigned char>(text[i++]);
    if (lead < 0x80) return lead;
    size_t more = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
    char32_t value = lead & (0x3F >> more);
    for (; more > 0 && i < text.size(); --more) value = value << 6 | (static_cast<unsigned char>(text[i++]) & 0x3F);
    return more == 0 ? value : kReplacement;
}

void AppendUtf16(std::string& out, char32_t unit, bool bigEndian) {
    const char hi = static_cast<char>(unit >> 8), lo = static_cast<char>(unit & 0xFF);
    out += bigEndian ? hi : lo;
    out += bigEndian ? lo : hi;
}

// One UTF-16 unit in code page 1252: its own byte, a best-fit look-alike, or '?'.
char ToCodePage(char32_t c) {
    if (c == 0x81 || c == 0x8D || c == 0x8F || c == 0x90 || c == 0x9D) return static_cast<char>(c);
    if (c < 0x100 || c > 0xFFFF) return '?';
    const auto* end = std::end(kBestFit1252);
    const auto* it =
        std::lower_bound(std::begin(kBestFit1252), end, c, [](const BestFit& f, char32_t u) { return f.unit < u; });
    return it != end && it->unit == c ? static_cast<char>(it->byte) : '?';
}

}  // namespace

Encoding DetectEncoding(std::string_view bytes, size_t& markLength) {
    markLength = 0;
    Encoding found = Encoding::Ansi;
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF")
        found = Encoding::Utf8, markLength = 3;
    else if (bytes.substr(0, 2) == "\xFF\xFE")
        found = Encoding::Utf16Le, markLength = 2;
    else if (bytes.substr(0, 2) == "\xFE\xFF")
        found = Encoding::Utf16Be, markLength = 2;
    return found;
}

std::string DecodeFile(std::string_view bytes, Encoding encoding) {
    if (encoding == Encoding::Ansi) return std::string(bytes);
    std::string out;
    out.reserve(bytes.size());
    if (encoding == Encoding::Utf8) {
        for (size_t i = 0; i < bytes.size();) Append(out, DecodeFileSequence(bytes, i));
        return out;
    }
    const bool big = encoding == Encoding::Utf16Be;
    auto unitAt = [&](size_t i) {
        const auto a = static_cast<unsigned char>(bytes[i]), b = static_cast<unsigned char>(bytes[i + 1]);
        return static_cast<char32_t>(big ? a << 8 | b : b << 8 | a);
    };
    const size_t units = bytes.size() / 2;  // an odd last byte is dropped
    for (size_t u = 0; u < units; ++u) {
        char32_t c = unitAt(2 * u);
        if (c >= 0xD800 && c <= 0xDBFF && u + 1 < units) {
            const char32_t low = unitAt(2 * u + 2);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
                ++u;
            }
        }
        Append(out, c);
    }
    return out;
}

std::string EncodeFile(std::string_view text, Encoding encoding) {
    switch (encoding) {
        case Encoding::Ansi: return std::string(text);
        case Encoding::Utf8: return "\xEF\xBB\xBF" + std::string(text);
        case Encoding::Utf16Le:
        case Encoding::Utf16Be: break;
    }
    const bool big = encoding == Encoding::Utf16Be;
    std::string out = big ? "\xFE\xFF" : "\xFF\xFE";
    for (size_t i = 0; i < text.size();) {
        const char32_t c = NextHeld(text, i);
        if (c >= 0x10000) {
            AppendUtf16(out, 0xD800 + ((c - 0x10000) >> 10), big);
            AppendUtf16(out, 0xDC00 + ((c - 0x10000) & 0x3FF), big);
        } else {
            AppendUtf16(out, c, big);
        }
    }
    return out;
}

std::string AnsiToText(std::string_view ansi) {
    std::string out;
    out.reserve(ansi.size());
    for (char ch : ansi) {
        const auto b = static_cast<unsigned char>(ch);
        Append(out, b >= 0x80 && b < 0xA0 ? kHigh1252[b - 0x80] : b);
    }
    return out;
}

std::string TextToAnsi(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        const char32_t c = NextHeld(text, i);
        if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
            out += static_cast<char>(c);
            continue;
        }
        out += ToCodePage(c);
        if (c >= 0x10000) out += '?';  // two UTF-16 units, two characters
    }
    return out;
}

}  // namespace orbex::ini
