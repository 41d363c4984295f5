#include "platform/sim/machine/system_info.h"

#include <cstring>

namespace orbex::sim {

uint32_t SystemInfo::CopyDirectory(const std::string& dir, const char* operation, char* buffer, uint32_t size) {
    FaultHit fault = m_faults.Take(operation);
    if (fault.code) return 0;
    uint32_t len = static_cast<uint32_t>(dir.size());
    if (!buffer || size <= len) return len + 1;
    if (fault.malformed) {
        // The whole buffer filled, its last byte not a terminator.
        std::memset(buffer, 'D', size);
        std::memcpy(buffer, dir.data(), len);
        m_faults.Applied(operation);
        return size - 1;
    }
    std::memcpy(buffer, dir.c_str(), len + 1);
    return len;
}

uint32_t SystemInfo::CurrentDirectoryPath(uint32_t size, char* buffer) {
    return CopyDirectory(m_config.currentDirectory, "GetCurrentDirectory", buffer, size);
}
uint32_t SystemInfo::SystemDirectoryPath(char* buffer, uint32_t size) {
    return CopyDirectory(m_config.systemDirectory, "GetSystemDirectory", buffer, size);
}
uint32_t SystemInfo::WindowsDirectoryPath(char* buffer, uint32_t size) {
    return CopyDirectory(m_config.windowsDirectory, "GetWindowsDirectory", buffer, size);
}

bool SystemInfo::QueryVersion(OsVersion& out) {
    if (m_faults.Next("GetVersionEx")) return false;
    out = m_config.os;
    return true;
}

}  // namespace orbex::sim
