// Where the machine's Windows paths live on the host: the current and the
// Windows directory map to host directories, bare names (orbex.ini) to the
// Windows directory; the system directory is virtual only. The host files
// themselves are reached through the store: the disk, or a memory store.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "ini/file_store.h"
#include "platform/sim/machine/machine_config.h"

namespace orbex::sim {

class PathMap {
public:
    PathMap(const MachineConfig& config, std::string hostCurrentDirectory, std::string hostWindowsDirectory,
            std::shared_ptr<ini::MemoryFileStore> memory = nullptr)
        : m_config(config),
          m_hostCurrentDirectory(std::move(hostCurrentDirectory)),
          m_hostWindowsDirectory(std::move(hostWindowsDirectory)),
          m_memory(std::move(memory)) {}

    // The file on disk of a Windows path of the machine, if it has one.
    std::optional<std::string> HostPath(const std::string& windowsPath) const;

    // Where the host files are kept.
    ini::FileStore& Store() const { return m_memory ? static_cast<ini::FileStore&>(*m_memory) : m_disk; }
    // The memory store, when the host files live in memory; null on disk.
    ini::MemoryFileStore* Memory() const { return m_memory.get(); }

private:
    const MachineConfig& m_config;
    std::string m_hostCurrentDirectory;
    std::string m_hostWindowsDirectory;
    std::shared_ptr<ini::MemoryFileStore> m_memory;
    mutable ini::DiskFileStore m_disk;
};

}  // namespace orbex::sim
