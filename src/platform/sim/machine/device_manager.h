// The installed drivers of the machine: the driver information files it
// writes under the Windows directory, the enumeration keys of the registry
// (under the NT or the 9x path) and the SetupAPI view of device interfaces.
#pragma once

#include <map>
#include <vector>

#include "platform/device_setup.h"
#include "platform/sim/faults.h"
#include "platform/sim/machine/installed_config.h"
#include "platform/sim/machine/path_map.h"
#include "platform/sim/machine/registry.h"

namespace orbex::sim {

class DeviceManager final : public port::IDeviceSetup {
public:
    DeviceManager(const InstalledConfig& config, const MachineConfig& machine, const PathMap& paths,
                  VirtualRegistry& registry, FaultTable& faults);

    // The enumeration key of display-class devices on this machine's platform.
    static const char* EnumerationKey(const MachineConfig& machine);

    port::DeviceInfoSet GetClassDevs(const Guid& interfaceClass, uint32_t flags) override;
    bool EnumDeviceInterfaces(port::DeviceInfoSet set, const Guid& interfaceClass, uint32_t index,
                              port::DeviceInterfaceData& out) override;
    bool GetDeviceInterfaceDetail(port::DeviceInfoSet set, const port::DeviceInterfaceData& data, char* path,
                                  uint32_t size, port::DeviceInfoData& device) override;
    bool GetDeviceRegistryProperty(port::DeviceInfoSet set, const port::DeviceInfoData& device, uint32_t property,
                                   uint8_t* buffer, uint32_t size, uint32_t* required) override;
    bool DestroyDeviceInfoList(port::DeviceInfoSet set) override;

private:
    const InstalledConfig& m_config;
    FaultTable& m_faults;
    // Open sets: the indexes (into the configuration) of their interfaces.
    std::map<port::DeviceInfoSet, std::vector<size_t>> m_sets;
    port::DeviceInfoSet m_nextSet = 1;
};

}  // namespace orbex::sim
