// The profile sections of what the installed system holds for the board's
// drivers: [Inf.NAME], a driver information file under the Windows
// directory, and [DeviceManager], the enumerated devices and the present
// device interfaces.
#pragma once

#include <string>
#include <vector>

#include "platform/types.h"

namespace orbex::sim {

struct ProfileEntry;

struct InfFileDesc {
    std::string section;  // lower case: "inf.qelcap"
    std::string path;     // relative to the Windows directory: inf\qelcap.inf
    std::vector<std::string> lines;
};

// A device interface of a class, with its device's description.
struct DeviceInterfaceDesc {
    Guid interfaceClass;
    std::string description;
    bool present = true;  // false: installed but not started (the device is marked with a problem)
};

struct InstalledConfig {
    std::vector<InfFileDesc> infFiles;
    std::vector<std::string> enumerated;  // subkeys of the DISPLAY enumeration key: QELCAP00 (Uninstalled= removes one)
    std::vector<DeviceInterfaceDesc> interfaces;
};

InfFileDesc& InfFileOf(InstalledConfig& config, const std::string& section);
// At an [Inf.NAME] header: the section names the whole file, so a later
// section of the same name (in a profile based on another) replaces its lines.
InfFileDesc& RestartInfFile(InstalledConfig& config, const std::string& section);
void ReadInfKey(InfFileDesc& file, const ProfileEntry& entry);
void ReadKey(InstalledConfig& config, const ProfileEntry& entry);
// Refuses an [Inf.NAME] section without Path=.
void CheckInfFiles(const InstalledConfig& config, int line);

}  // namespace orbex::sim
