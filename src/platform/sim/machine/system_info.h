// The operating system's directories and version, as the profile's [Machine]
// section gives them.
#pragma once

#include "platform/ports.h"
#include "platform/sim/faults.h"
#include "platform/sim/machine/machine_config.h"

namespace orbex::sim {

class SystemInfo final : public port::ISystemInfo {
public:
    SystemInfo(const MachineConfig& config, FaultTable& faults) : m_config(config), m_faults(faults) {}

    uint32_t CurrentDirectoryPath(uint32_t size, char* buffer) override;
    uint32_t SystemDirectoryPath(char* buffer, uint32_t size) override;
    uint32_t WindowsDirectoryPath(char* buffer, uint32_t size) override;
    bool QueryVersion(OsVersion& out) override;

private:
    uint32_t CopyDirectory(const std::string& dir, const char* operation, char* buffer, uint32_t size);

    const MachineConfig& m_config;
    FaultTable& m_faults;
};

}  // namespace orbex::sim
