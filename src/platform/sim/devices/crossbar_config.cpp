#include "platform/sim/devices/crossbar_config.h"

#include "platform/sim/profile/profile_values.h"

namespace orbex::sim {
namespace {

constexpr int32_t kMaxPins = 16;

SourceId ParseInput(const ProfileEntry& e, const std::string& name) {
    std::string n = Lower(name);
    if (n == "tuner") return SourceId::Tuner;
    if (n == "composite") return SourceId::Composite;
    if (n == "svideo") return SourceId::SVideo;
    if (n == "none") return SourceId::None;
    e.Refuse("\"" + name + "\" is not a crossbar input (Tuner, Composite, SVideo or None)");
}

// "1:0x80004005, 2": input index, optionally with the answer (default E_FAIL).
std::map<int32_t, HResult> ParseRefusals(const ProfileEntry& e) {
    std::map<int32_t, HResult> refused;
    for (const std::string& item : Split(e.value, ',')) {
        if (item.empty()) continue;
        std::vector<std::string> parts = Split(item, ':');
        if (parts.size() > 2) e.Refuse("a refusal is input[:code]");
        int64_t input = ParseNumber(parts[0], e.line);
        if (input < 0 || input >= kMaxPins) e.Refuse("a refused input is 0 to 15");
        HResult code = parts.size() == 2 ? static_cast<HResult>(ParseU32(parts[1], e.line)) : kEFail;
        if (code >= 0) e.Refuse("a refusal answers a failure code, not " + parts[1]);
        refused[static_cast<int32_t>(input)] = code;
    }
    return refused;
}

}  // namespace

void ReadKey(CrossbarConfig& c, const ProfileEntry& e) {
    if (e.Is("inputs")) {
        c.inputs.clear();
        for (const std::string& item : Split(e.value, ','))
            if (!item.empty()) c.inputs.push_back(ParseInput(e, item));
        if (c.inputs.size() > static_cast<size_t>(kMaxPins)) e.Refuse("a crossbar has at most 16 inputs");
    } else if (e.Is("outputs")) {
        int64_t n = ParseNumber(e.value, e.line);
        if (n < 1 || n > kMaxPins) e.Refuse("a crossbar has 1 to 16 outputs");
        c.outputs = static_cast<int32_t>(n);
    } else if (e.Is("refuse")) {
        c.refused = ParseRefusals(e);
    } else {
        e.RefuseKey();
    }
}

}  // namespace orbex::sim
