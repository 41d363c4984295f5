// The machine's files: those the profile's [Files] section declares or a copy
// made, plus whatever exists on the host where the machine's paths map to.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/ports.h"
#include "platform/sim/faults.h"
#include "platform/sim/ledger.h"
#include "platform/sim/machine/machine_config.h"
#include "platform/sim/machine/path_map.h"
#include "platform/sim/machine/profile_files.h"

namespace orbex::sim {

class VirtualFiles final : public port::IFileSystem {
public:
    VirtualFiles(const FilesConfig& config, const MachineConfig& machine, const PathMap& paths, ProfileFiles& profiles,
                 FaultTable& faults);

    bool CreateEmptyFile(const char* path) override;
    bool OpenFileExists(const char* name, char* buffer, uint32_t size) override;
    uint32_t FileVersionInfoSize(const char* path) override;
    bool FileVersionInfo(const char* path, uint32_t size, void* block) override;
    bool QueryVersionValue(const void* block, const char* subBlock, const void** value, uint32_t* length) override;
    port::FindHandle FindFirst(const char* pattern, char* name, uint32_t size) override;
    bool FindNext(port::FindHandle find, char* name, uint32_t size) override;
    void FindClose(port::FindHandle find) override;
    port::TextFile OpenTextFile(const char* path) override;
    bool ReadTextLine(port::TextFile file, char* buffer, int32_t size) override;
    void CloseTextFile(port::TextFile file) override;

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
    FaultTable& m_faults;
    // Open searches (the names still to hand out) and open text files (the
    // text as text mode reads it, and the reading position).
    struct Search {
        std::vector<std::string> names;
        size_t next = 0;
    };
    struct Text {
        std::string content;
        size_t at = 0;
    };
    std::map<uintptr_t, Search> m_searches;
    std::map<uintptr_t, Text> m_texts;
    uintptr_t m_nextHandle = 1;
    HandleLedger m_ledger;  // the open handles, counted
    // The profile's files are looked up where the profile declares them, so
    // that a machine starts without copying them; m_added holds the files
    // made since (folded full path -> as given).
    const FilesConfig& m_config;
    std::map<std::string, std::string> m_added;
    // The path spelt as the machine stores it; null when the machine has no such file.
    const std::string* Declared(const std::string& windowsPath) const;
    // The versioned file at this path (the last declared), or null.
    const VersionedFileDesc* Versioned(const char* path) const;
};

}  // namespace orbex::sim
