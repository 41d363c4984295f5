// The machine's sections of a board profile: [Machine] (operating system,
// directories, clock), [Files] and [Registry].
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/types.h"

namespace orbex::sim {

struct ProfileEntry;

struct MachineConfig {
    OsVersion os{kPlatformWin32Nt, 5, 0, 2195};
    std::string currentDirectory = "C:\\ORBEX";
    std::string windowsDirectory = "C:\\WINNT";
    std::string systemDirectory = "C:\\WINNT\\system32";
    std::string localTime = "2001-06-01T09:00:00";
    uint32_t clockStart = 0;
};

struct FilesConfig {
    std::vector<std::string> files;  // virtual files, full Windows paths
};

struct RegistryValueDesc {
    std::string key;
    std::string name;
    uint32_t type = 0;
    std::vector<uint8_t> data;
};

struct RegistryConfig {
    std::vector<std::string> keys;
    std::vector<RegistryValueDesc> values;
};

void ReadKey(MachineConfig& config, const ProfileEntry& entry);
void ReadKey(FilesConfig& config, const ProfileEntry& entry);
void ReadKey(RegistryConfig& config, const ProfileEntry& entry);

}  // namespace orbex::sim
