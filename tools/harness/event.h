// One harness event (TestBegin, ResultReport, TestEnd, MessageBox, Return,
// Platform) with its fields in order, and its JSON Lines form.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace orbex::harness {

struct Event {
    std::string name;
    std::vector<std::pair<std::string, std::variant<std::string, int64_t>>> fields;

    const std::string* Text(const std::string& field) const;
    std::optional<int64_t> Number(const std::string& field) const;
};

// {"event":NAME,...}; strings JSON-escaped byte by byte, bytes above 0x7F as \u00XX.
std::string ToJson(const Event& event);
// The inverse, for events a child process wrote. Nullopt on a malformed line.
std::optional<Event> FromJson(const std::string& line);

}  // namespace orbex::harness
