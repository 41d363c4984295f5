#include "platform/sim/machine/installed_config.h"

#include "platform/sim/profile/profile_values.h"

namespace orbex::sim {

InfFileDesc& InfFileOf(InstalledConfig& config, const std::string& section) {
    const std::string name = Lower(section);
    for (InfFileDesc& f : config.infFiles)
        if (f.section == name) return f;
    config.infFiles.push_back(InfFileDesc{name, {}, {}});
    return config.infFiles.back();
}

InfFileDesc& RestartInfFile(InstalledConfig& config, const std::string& section) {
    InfFileDesc& f = InfFileOf(config, section);
    f.lines.clear();
    return f;
}

void ReadInfKey(InfFileDesc& f, const ProfileEntry& e) {
    if (e.Is("path")) {
        if (e.value.empty() || e.value[0] == '\\' || e.value.find(':') != std::string::npos ||
            e.value.find("..") != std::string::npos)
            e.Refuse("an inf file's Path= is relative to the Windows directory");
        f.path = e.value;
    } else if (e.Is("line")) {
        f.lines.push_back(e.value);
    } else {
        e.RefuseKey();
    }
}

// Interface=class identifier|device description[|absent]
void ReadKey(InstalledConfig& c, const ProfileEntry& e) {
    if (e.Is("enumerated") || e.Is("uninstalled")) {
        if (e.value.empty() || e.value.find('\\') != std::string::npos)
            e.Refuse("an enumerated device is one key name");
        std::vector<std::string>& list = c.enumerated;
        for (auto it = list.begin(); it != list.end();) it = Lower(*it) == Lower(e.value) ? list.erase(it) : it + 1;
        if (e.Is("enumerated")) list.push_back(e.value);
    } else if (e.Is("interface")) {
        std::vector<std::string> items = Split(e.value, '|');
        if (items.size() < 2 || items.size() > 3)
            e.Refuse("a device interface is class identifier|description[|absent]");
        auto guid = ParseGuidText(items[0]);
        if (!guid) e.Refuse("\"" + items[0] + "\" is not a class identifier");
        DeviceInterfaceDesc d{*guid, items[1], true};
        if (items.size() == 3) {
            if (Lower(items[2]) != "absent") e.Refuse("the third item of a device interface is absent");
            d.present = false;
        }
        // The same class and description again replaces the earlier interface.
        for (DeviceInterfaceDesc& old : c.interfaces)
            if (old.interfaceClass == d.interfaceClass && Lower(old.description) == Lower(d.description)) {
                old = d;
                return;
            }
        c.interfaces.push_back(d);
    } else {
        e.RefuseKey();
    }
}

void CheckInfFiles(const InstalledConfig& config, int line) {
    for (const InfFileDesc& f : config.infFiles)
        if (f.path.empty()) throw ProfileError{line, "[" + f.section + "] has no Path="};
}

}  // namespace orbex::sim
