#include "platform/sim/machine/device_manager.h"

#include <cstring>

#include "common/format.h"

namespace orbex::sim {
namespace {

// Writes a profile's inf file where the machine's Windows directory lives on the host.
void WriteInfFile(const InfFileDesc& file, const MachineConfig& machine, const PathMap& paths) {
    auto host = paths.HostPath(machine.windowsDirectory + "\\" + file.path);
    if (!host) return;
    size_t bytes = 0;
    for (const std::string& line : file.lines) bytes += line.size() + 2;
    std::string text;
    text.reserve(bytes);
    for (const std::string& line : file.lines) text.append(line).append("\r\n");
    paths.Store().MakeParents(*host);
    paths.Store().Write(*host, text);
}

}  // namespace

const char* DeviceManager::EnumerationKey(const MachineConfig& machine) {
    return machine.os.platformId == kPlatformWin32Nt ? "SYSTEM\\CurrentControlSet\\Enum\\DISPLAY" : "Enum\\DISPLAY";
}

DeviceManager::DeviceManager(const InstalledConfig& config, const MachineConfig& machine, const PathMap& paths,
                             VirtualRegistry& registry, FaultTable& faults)
    : m_config(config), m_faults(faults) {
    for (const InfFileDesc& f : config.infFiles) WriteInfFile(f, machine, paths);
    for (const std::string& device : config.enumerated)
        registry.CreateKey(std::string(EnumerationKey(machine)) + "\\" + device);
}

port::DeviceInfoSet DeviceManager::GetClassDevs(const Guid& interfaceClass, uint32_t flags) {
    if (m_faults.Next("SetupDiGetClassDevs")) return port::kInvalidDeviceInfoSet;
    std::vector<size_t> members;
    for (size_t i = 0; i < m_config.interfaces.size(); ++i) {
        const DeviceInterfaceDesc& d = m_config.interfaces[i];
        if (d.interfaceClass == interfaceClass && (d.present || !(flags & port::kDigcfPresent))) members.push_back(i);
    }
    const port::DeviceInfoSet set = m_nextSet++;
    m_sets.emplace(set, std::move(members));
    return set;
}

bool DeviceManager::EnumDeviceInterfaces(port::DeviceInfoSet set, const Guid& interfaceClass, uint32_t index,
                                         port::DeviceInterfaceData& out) {
    auto it = m_sets.find(set);
    if (it == m_sets.end() || index >= it->second.size()) return false;
    const size_t member = it->second[index];
    if (!(m_config.interfaces[member].interfaceClass == interfaceClass)) return false;
    out = port::DeviceInterfaceData{interfaceClass, 1, member};
    return true;
}

bool DeviceManager::GetDeviceInterfaceDetail(port::DeviceInfoSet set, const port::DeviceInterfaceData& data, char* path,
                                             uint32_t size, port::DeviceInfoData& device) {
    if (!m_sets.count(set) || data.reserved >= m_config.interfaces.size()) return false;
    if (m_faults.Next("SetupDiGetDeviceInterfaceDetail")) return false;
    if (path && size)
        FormatInto(path, size, "\\\\?\\display#dev_%04x#%u", static_cast<unsigned>(data.reserved),
                   static_cast<unsigned>(data.reserved));
    device = port::DeviceInfoData{data.interfaceClass, static_cast<uint32_t>(data.reserved + 1), data.reserved};
    return true;
}

bool DeviceManager::GetDeviceRegistryProperty(port::DeviceInfoSet set, const port::DeviceInfoData& device,
                                              uint32_t property, uint8_t* buffer, uint32_t size, uint32_t* required) {
    if (!m_sets.count(set) || device.reserved >= m_config.interfaces.size()) return false;
    if (property != port::kSpdrpDeviceDesc || m_faults.Next("SetupDiGetDeviceRegistryProperty")) return false;
    const std::string& text = m_config.interfaces[device.reserved].description;
    const uint32_t needed = static_cast<uint32_t>(text.size() + 1);
    if (required) *required = needed;
    if (!buffer || size < needed) return false;  // the platform's "insufficient buffer"
    std::memcpy(buffer, text.c_str(), needed);
    return true;
}

bool DeviceManager::DestroyDeviceInfoList(port::DeviceInfoSet set) {
    return m_sets.erase(set) > 0;
}

}  // namespace orbex::sim
