#include "platform/sim/profile/profile_values.h"

#include <cctype>
#include <charconv>
#include <climits>
#include <sstream>

#include "ini/ini_document.h"

namespace orbex::sim {

bool ProfileEntry::Is(const char* name) const {
    return IsName(key, name);
}

void ProfileEntry::RefuseKey() const {
    Refuse("unknown key \"" + key + "\" in [" + section + "]");
}

void ProfileEntry::Refuse(const std::string& what) const {
    throw ProfileError{line, what};
}

std::string_view TrimView(std::string_view s) {
    size_t b = s.find_first_not_of(" \t\r");
    size_t e = s.find_last_not_of(" \t\r");
    return b == std::string_view::npos ? std::string_view() : s.substr(b, e - b + 1);
}

std::string Trim(std::string_view s) {
    return std::string(TrimView(s));
}

bool IsName(std::string_view text, const char* name) {
    return ini::SameName(text, name);  // in place: every key of a profile meets a chain of these
}

std::string Lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

std::vector<std::string> Split(const std::string& s, char sep) {
    std::vector<std::string> out;
    std::string item;
    std::istringstream in(s);
    while (std::getline(in, item, sep)) out.push_back(Trim(item));
    return out;
}

int64_t ParseNumber(const std::string& text, int line) {
    std::string t = Trim(text);
    bool negative = !t.empty() && t[0] == '-';
    std::string digits = negative ? t.substr(1) : t;
    int base = 10;
    if (digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) {
        base = 16;
        digits = digits.substr(2);
    }
    int64_t value = 0;
    auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value, base);
    if (digits.empty() || ec != std::errc() || end != digits.data() + digits.size())
        throw ProfileError{line, "\"" + t + "\" is not a number"};
    return negative ? -value : value;
}

double ParseDecimal(const std::string& text, int line) {
    std::string t = Trim(text);
    double value = 0;
    const char* first = t.data() + (!t.empty() && t[0] == '+' ? 1 : 0);
    auto [end, ec] = std::from_chars(first, t.data() + t.size(), value, std::chars_format::fixed);
    if (t.empty() || ec != std::errc() || end != t.data() + t.size() || value != value)
        throw ProfileError{line, "\"" + t + "\" is not a decimal number"};
    return value;
}

uint32_t ParseU32(const std::string& text, int line) {
    int64_t v = ParseNumber(text, line);
    if (v < INT32_MIN || v > UINT32_MAX) throw ProfileError{line, "\"" + text + "\" is out of range"};
    return static_cast<uint32_t>(v);
}

bool ParseChoice(const std::string& text, const char* yes, const char* no, int line) {
    std::string v = Lower(Trim(text));
    if (v == yes) return true;
    if (v == no) return false;
    throw ProfileError{line, "\"" + text + "\" is neither \"" + yes + "\" nor \"" + no + "\""};
}

std::vector<uint8_t> ParseBytes(const std::string& text, int line) {
    std::vector<uint8_t> out;
    std::istringstream in(text);
    std::string word;
    while (in >> word) {
        uint8_t b = 0;
        auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), b, 16);
        if (word.size() > 2 || ec != std::errc() || end != word.data() + word.size())
            throw ProfileError{line, "\"" + word + "\" is not a hexadecimal byte"};
        out.push_back(b);
    }
    return out;
}

std::optional<Guid> ParseGuidText(const std::string& text) {
    std::string t = Trim(text);
    if (!t.empty() && t.front() == '{' && t.back() == '}') t = t.substr(1, t.size() - 2);
    if (t.size() != 36 || t[8] != '-' || t[13] != '-' || t[18] != '-' || t[23] != '-') return std::nullopt;
    auto hex = [&](size_t pos, size_t len, uint64_t& out) {
        auto [end, ec] = std::from_chars(t.data() + pos, t.data() + pos + len, out, 16);
        return ec == std::errc() && end == t.data() + pos + len;
    };
    Guid g;
    uint64_t v = 0;
    if (!hex(0, 8, v)) return std::nullopt;
    g.data1 = static_cast<uint32_t>(v);
    if (!hex(9, 4, v)) return std::nullopt;
    g.data2 = static_cast<uint16_t>(v);
    if (!hex(14, 4, v)) return std::nullopt;
    g.data3 = static_cast<uint16_t>(v);
    const size_t offsets[8] = {19, 21, 24, 26, 28, 30, 32, 34};
    for (int i = 0; i < 8; ++i) {
        if (!hex(offsets[i], 2, v)) return std::nullopt;
        g.data4[i] = static_cast<uint8_t>(v);
    }
    return g;
}

}  // namespace orbex::sim
