// What every section reader of the board profile shares: the error it throws
// and the parsers of the value kinds profiles use.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/types.h"

namespace orbex::sim {

// A mistake in a profile; the reader adds the file name.
struct ProfileError {
    int line;
    std::string what;
};

// One "key=value" line, handed to the reader of its section.
struct ProfileEntry {
    std::string section;  // as written, with any dotted suffix: "Device.Tuner"
    std::string key;      // as written
    std::string value;    // trimmed
    int line = 0;

    // Whether the key is this one; name is lower case, the key may be in any case.
    bool Is(const char* name) const;
    // Refuses the key: unknown key "X" in [Section].
    [[noreturn]] void RefuseKey() const;
    // Refuses the line with this text.
    [[noreturn]] void Refuse(const std::string& what) const;
};

std::string Trim(std::string_view text);
// The text without its leading and trailing blanks, tabs and carriage returns.
std::string_view TrimView(std::string_view text);
// Whether text is name in any case; name is lower case.
bool IsName(std::string_view text, const char* name);
std::string Lower(std::string text);
// Splits at sep and trims each item.
std::vector<std::string> Split(const std::string& text, char sep);

// Decimal or "0x" hexadecimal, optionally negative.
int64_t ParseNumber(const std::string& text, int line);
// A decimal fraction: "1.5", "-3", "0.25".
double ParseDecimal(const std::string& text, int line);
// A number that fits 32 bits, signed or unsigned.
uint32_t ParseU32(const std::string& text, int line);
// yes or no (lower case), in any case.
bool ParseChoice(const std::string& text, const char* yes, const char* no, int line);
// Blank-separated hexadecimal bytes: "01 0A FF".
std::vector<uint8_t> ParseBytes(const std::string& text, int line);
// "A799A800-A46D-11D0-A18C-00A02401DCD4", braces optional.
std::optional<Guid> ParseGuidText(const std::string& text);

}  // namespace orbex::sim
