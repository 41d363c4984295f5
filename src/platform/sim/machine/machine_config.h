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

// A file with a version resource: its file and product version texts and the
// language and code page of its string table (8 hexadecimal digits). Without
// a translation table the strings sit under 040904E4 and the resource lists
// no translation.
struct VersionedFileDesc {
    std::string path;
    std::string fileVersion;
    std::string productVersion;
    std::string translation = "040904B0";
    bool hasTranslation = true;
};

struct FilesConfig {
    std::vector<std::string> files;  // virtual files, full Windows paths
    std::vector<VersionedFileDesc> versioned;
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
