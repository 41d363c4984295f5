#include "report/reg_settings.h"

#include <cstring>

#include "common/format.h"

namespace orbex {
namespace {
constexpr const char* kSettingsRoot = "SOFTWARE\\Qel Technologies\\Orbex";
}

// Windows versions 3.x before 3.95 keep settings in INI files only.
bool CRegSettings::RegistryInUse() {
    OsVersion v;
    if (!m_platform->System().GetVersionEx(v)) return true;
    return !(v.major == 3 && v.minor < 95);
}

int32_t CRegSettings::ReadSettingInt(const char* section, const char* key, int32_t defaultValue, const char* iniFile) {
    auto fromIni = [&]() -> int32_t {
        if (!iniFile) return defaultValue;
        return static_cast<int32_t>(m_platform->Profile().GetPrivateProfileInt(section, key, defaultValue, iniFile));
    };
    if (!RegistryInUse()) return fromIni();
    char path[512];
    FormatInto(path, sizeof path, "%s\\%s", kSettingsRoot, section);
    port::IRegistry& reg = m_platform->Registry();
    port::RegKey handle = 0;
    if (reg.RegOpenKeyEx(path, kKeyRead, &handle) != kErrorSuccess) return fromIni();
    uint8_t data[4] = {};
    uint32_t size = sizeof data;
    uint32_t type = 0;
    int32_t rc = reg.RegQueryValueEx(handle, key, &type, data, &size);
    reg.RegCloseKey(handle);
    if (rc != kErrorSuccess) return fromIni();
    int32_t value = 0;
    std::memcpy(&value, data, sizeof value);
    return value;
}

int32_t CRegSettings::ReadSettingString(const char* section, const char* key, const char* defaultValue, char* buffer,
                                        uint32_t size, const char* iniFile) {
    auto fromIni = [&]() {
        return static_cast<int32_t>(
            m_platform->Profile().GetPrivateProfileString(section, key, defaultValue, buffer, size, iniFile));
    };
    if (!RegistryInUse()) return fromIni();
    char path[512];
    FormatInto(path, sizeof path, "%s\\%s", kSettingsRoot, section);
    port::IRegistry& reg = m_platform->Registry();
    port::RegKey handle = 0;
    if (reg.RegOpenKeyEx(path, kKeyRead, &handle) != kErrorSuccess) return fromIni();
    uint32_t capacity = size;
    uint32_t type = 0;
    int32_t rc = reg.RegQueryValueEx(handle, key, &type, reinterpret_cast<uint8_t*>(buffer), &capacity);
    reg.RegCloseKey(handle);
    if (rc != kErrorSuccess) return fromIni();
    // A registry string stored without its terminating zero still ends inside the buffer.
    if (size) buffer[capacity < size ? capacity : size - 1] = '\0';
    return 1;
}

}  // namespace orbex
