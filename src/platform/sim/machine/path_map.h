// Where the machine's Windows paths live on the host: the current and the
// Windows directory map to host directories, bare names (orbex.ini) to the
// Windows directory; the system directory is virtual only.
#pragma once

#include <optional>
#include <string>

#include "platform/sim/machine/machine_config.h"

namespace orbex::sim {

class PathMap {
public:
    PathMap(const MachineConfig& config, std::string hostCurrentDirectory, std::string hostWindowsDirectory)
        : m_config(config),
          m_hostCurrentDirectory(std::move(hostCurrentDirectory)),
          m_hostWindowsDirectory(std::move(hostWindowsDirectory)) {}

    // The file on disk of a Windows path of the machine, if it has one.
    std::optional<std::string> HostPath(const std::string& windowsPath) const;

private:
    const MachineConfig& m_config;
    std::string m_hostCurrentDirectory;
    std::string m_hostWindowsDirectory;
};

}  // namespace orbex::sim
