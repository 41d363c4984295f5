// The machine's files: those the profile's [Files] section declares or a copy
// made, plus whatever exists on the host where the machine's paths map to.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/ports.h"
#include "platform/sim/machine/machine_config.h"
#include "platform/sim/machine/path_map.h"
#include "platform/sim/machine/profile_files.h"

namespace orbex::sim {

class VirtualFiles final : public port::IFileSystem {
public:
    VirtualFiles(const FilesConfig& config, const MachineConfig& machine, const PathMap& paths, ProfileFiles& profiles);

    bool CreateEmptyFile(const char* path) override;
    bool OpenFileExists(const char* name, char* buffer, uint32_t size) override;
    uint32_t GetFileVersionInfoSize(const char* path) override;
    bool GetFileVersionInfo(const char* path, uint32_t size, void* block) override;
    bool VerQueryValue(const void* block, const char* subBlock, const void** value, uint32_t* length) override;

    bool Exists(const std::string& windowsPath) const;
    // The file's name (its last path component) spelt as the machine stores
    // it, whatever the case the path asks with; nullopt when there is none.
    std::optional<std::string> StoredName(const std::string& windowsPath) const;
    // A file that exists in the machine's memory from now on.
    void Add(const std::string& windowsPath);

private:
    const MachineConfig& m_machine;
    const PathMap& m_paths;
    ProfileFiles& m_profiles;
    std::map<std::string, std::string> m_files;  // folded full path -> as declared
    // Folded full path -> the file's version resource, laid out as a block.
    std::map<std::string, std::vector<uint8_t>> m_versions;
};

}  // namespace orbex::sim
