#include "event.h"

#include <cstdio>
#include <nlohmann/json.hpp>

namespace orbex::harness {
namespace {

void AppendString(std::string& out, const std::string& s) {
    out += '"';
    for (unsigned char c : s) {
        switch (c) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            case '\b': out += "\\b"; break;
            case '\f': out += "\\f"; break;
            default:
                if (c < 0x20 || c > 0x7F) {
                    char buf[8];
                    std::snprintf(buf, sizeof buf, "\\u%04X", c);
                    out += buf;
                } else {
                    out += static_cast<char>(c);
                }
        }
    }
    out += '"';
}

// JSON text decodes to UTF-8; the events carry bytes, so U+0000..U+00FF go back to one byte each.
std::string ToBytes(const std::string& utf8) {
    std::string out;
    for (size_t i = 0; i < utf8.size(); ++i) {
        auto c = static_cast<unsigned char>(utf8[i]);
        if (c >= 0xC2 && c <= 0xC3 && i + 1 < utf8.size()) {
            out += static_cast<char>(((c & 0x03) << 6) | (static_cast<unsigned char>(utf8[i + 1]) & 0x3F));
            ++i;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

}  // namespace

const std::string* Event::Text(const std::string& field) const {
    for (const auto& [name, value] : fields)
        if (name == field) return std::get_if<std::string>(&value);
    return nullptr;
}

std::optional<int64_t> Event::Number(const std::string& field) const {
    for (const auto& [name, value] : fields)
        if (name == field)
            if (const auto* n = std::get_if<int64_t>(&value)) return *n;
    return std::nullopt;
}

std::string ToJson(const Event& event) {
    std::string out = "{\"event\":";
    AppendString(out, event.name);
    for (const auto& [name, value] : event.fields) {
        out += ',';
        AppendString(out, name);
        out += ':';
        if (const auto* s = std::get_if<std::string>(&value))
            AppendString(out, *s);
        else
            out += std::to_string(std::get<int64_t>(value));
    }
    out += '}';
    return out;
}

std::optional<Event> FromJson(const std::string& line) {
    nlohmann::ordered_json j = nlohmann::ordered_json::parse(line, nullptr, false);
    if (j.is_discarded() || !j.is_object() || !j.contains("event") || !j["event"].is_string()) return std::nullopt;
    Event e;
    e.name = j["event"].get<std::string>();
    for (auto it = j.begin(); it != j.end(); ++it) {
        if (it.key() == "event") continue;
        if (it->is_string())
            e.fields.emplace_back(it.key(), ToBytes(it->get<std::string>()));
        else if (it->is_number_integer())
            e.fields.emplace_back(it.key(), it->get<int64_t>());
        else
            return std::nullopt;
    }
    return e;
}

}  // namespace orbex::harness
