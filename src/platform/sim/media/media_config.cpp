#include "platform/sim/media/media_config.h"

#include <map>
#include <set>

#include "platform/guids.h"
#include "platform/sim/profile/profile_values.h"

namespace orbex::sim {
namespace {

Guid ParseCategory(const std::string& text, int line) {
    static const std::map<std::string, Guid> kNamed = {
        {"videoinputdevice", guids::kCategoryVideoInputDevice},
        {"tvtuner", guids::kCategoryTvTuner},
        {"crossbar", guids::kCategoryCrossbar},
        {"tvaudio", guids::kCategoryTvAudio},
        {"videocompressor", guids::kCategoryVideoCompressor},
    };
    auto it = kNamed.find(Lower(Trim(text)));
    if (it != kNamed.end()) return it->second;
    if (auto g = ParseGuidText(text)) return *g;
    throw ProfileError{line, "\"" + text + "\" is not a device category"};
}

// "in:Name:medium[:category]; out:..."
std::vector<PinDesc> ParsePins(const std::string& text, int line) {
    std::vector<PinDesc> pins;
    for (const std::string& item : Split(text, ';')) {
        if (item.empty()) continue;
        std::vector<std::string> parts = Split(item, ':');
        if (parts.size() < 3 || parts.size() > 4)
            throw ProfileError{line, "pin \"" + item + "\" is not direction:name:medium[:category]"};
        PinDesc pin;
        std::string dir = Lower(parts[0]);
        if (dir == "in")
            pin.direction = PinDirection::Input;
        else if (dir == "out")
            pin.direction = PinDirection::Output;
        else
            throw ProfileError{line, "pin direction \"" + parts[0] + "\" is neither in nor out"};
        pin.name = parts[1];
        pin.medium = Lower(parts[2]);
        static const std::set<std::string> kMedia = {"analog", "video", "vbi", "overlay", "audio"};
        if (!kMedia.count(pin.medium)) throw ProfileError{line, "unknown pin medium \"" + parts[2] + "\""};
        if (parts.size() == 4) {
            pin.category = Lower(parts[3]);
            if (pin.category != "capture" && pin.category != "preview" && pin.category != "vbi")
                throw ProfileError{line, "unknown pin category \"" + parts[3] + "\""};
        }
        pins.push_back(pin);
    }
    return pins;
}

}  // namespace

namespace {

template <class Desc>
Desc& EntryOf(std::vector<Desc>& list, const std::string& section) {
    std::string name = Lower(section);
    for (Desc& d : list)
        if (d.section == name) return d;
    list.emplace_back().section = name;
    return list.back();
}

}  // namespace

DeviceDesc& DeviceOf(MediaConfig& config, const std::string& section) {
    return EntryOf(config.devices, section);
}

FilterClassDesc& FilterClassOf(MediaConfig& config, const std::string& section) {
    return EntryOf(config.filterClasses, section);
}

void ReadKey(DeviceDesc& d, const ProfileEntry& e) {
    if (e.Is("category"))
        d.category = ParseCategory(e.value, e.line);
    else if (e.Is("alsocategory"))
        d.alsoListedUnder.push_back(ParseCategory(e.value, e.line));
    else if (e.Is("friendlyname"))
        d.friendlyName = e.value;
    else if (e.Is("pins"))
        d.pins = ParsePins(e.value, e.line);
    else if (e.Is("decoder"))
        d.decoder = ParseChoice(e.value, "present", "absent", e.line);
    else if (e.Is("interface"))
        d.deviceInterface = ParseChoice(e.value, "present", "absent", e.line);
    else
        e.RefuseKey();
}

FilterRole RoleOf(const DeviceDesc& d) {
    if (d.decoder) return FilterRole::Decoder;
    if (!d.deviceInterface) return FilterRole::Plain;
    if (d.category == guids::kCategoryTvTuner) return FilterRole::Tuner;
    if (d.category == guids::kCategoryCrossbar) return FilterRole::Crossbar;
    return FilterRole::Plain;
}

void ReadKey(FilterClassDesc& f, const ProfileEntry& e) {
    if (e.Is("clsid")) {
        auto g = ParseGuidText(e.value);
        if (!g) e.Refuse("\"" + e.value + "\" is not a class identifier");
        f.clsid = *g;
    } else if (e.Is("name"))
        f.name = e.value;
    else if (e.Is("pins"))
        f.pins = ParsePins(e.value, e.line);
    else if (e.Is("kitfile"))
        f.kitFile = e.value;
    else if (e.Is("registered"))
        f.registered = ParseChoice(e.value, "yes", "no", e.line);
    else if (e.Is("role")) {
        std::string v = Lower(e.value);
        if (v == "none")
            f.role = FilterRole::Plain;
        else if (v == "vbianalyzer")
            f.role = FilterRole::VbiAnalyzer;
        else if (v == "videoanalyzer")
            f.role = FilterRole::VideoAnalyzer;
        else if (v == "videorenderer")
            f.role = FilterRole::VideoRenderer;
        else
            e.Refuse("\"" + e.value + "\" is not a filter role (None, VbiAnalyzer, VideoAnalyzer or VideoRenderer)");
    } else if (e.Is("interface"))
        f.roleInterface = ParseChoice(e.value, "present", "absent", e.line);
    else
        e.RefuseKey();
}

FilterRole RoleOf(const FilterClassDesc& f) {
    return f.roleInterface ? f.role : FilterRole::Plain;
}

void CheckDevices(const MediaConfig& config, int line) {
    for (const DeviceDesc& d : config.devices)
        if (d.friendlyName.empty()) throw ProfileError{line, "a [Device] section lacks FriendlyName"};
}

void CheckFilterClasses(const MediaConfig& config, int line) {
    for (const FilterClassDesc& f : config.filterClasses)
        if (f.clsid.IsNull()) throw ProfileError{line, "a [Filter] section lacks CLSID"};
}

}  // namespace orbex::sim
