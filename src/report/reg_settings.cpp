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
    if (!m_platform->System().QueryVersion(v)) return true;
    return !(v.major == 3 && v.minor < 95);
}

// Queries the setting's registry value into data (capacity *size bytes).
// Returns false, with nothing to use, when the registry is not used, the
// section's key does not open or the value cannot be read.
bool CRegSettings::QueryRegistry(const char* section, const char* key, uint8_t* data, uint32_t* size) {
    if (!RegistryInUse()) return false;
    char path[512];
    FormatInto(path, sizeof path, "%s\\%s", kSettingsRoot, section);
    port::IRegistry& reg = m_platform->Registry();
    port::RegKey handle = 0;
    if (reg.OpenKey(path, kKeyRead, &handle) != kErrorSuccess) return false;
    uint32_t type = 0;
    int32_t rc = reg.ReadValue(handle, key, &type, data, size);
    reg.CloseKey(handle);
    return rc == kErrorSuccess;
}

int32_t CRegSettings::ReadSettingInt(const char* section, const char* key, int32_t defaultValue, const char* iniFile) {
    auto fromIni = [&]() -> int32_t {
        if (!iniFile) return defaultValue;
        return static_cast<int32_t>(m_platform->Profile().ReadProfileInt(section, key, defaultValue, iniFile));
    };
    uint8_t data[4] = {};
    uint32_t size = sizeof data;
    if (!QueryRegistry(section, key, data, &size)) return fromIni();
    int32_t value = 0;
    std::memcpy(&value, data, sizeof value);
    return value;
}

int32_t CRegSettings::ReadSettingString(const char* section, const char* key, const char* defaultValue, char* buffer,
                                        uint32_t size, const char* iniFile) {
    auto fromIni = [&]() {
        return static_cast<int32_t>(
            m_platform->Profile().ReadProfileString(section, key, defaultValue, buffer, size, iniFile));
    };
    uint32_t capacity = size;
    if (!QueryRegistry(section, key, reinterpret_cast<uint8_t*>(buffer), &capacity)) return fromIni();
    // A registry string stored without its terminating zero still ends inside the buffer.
    if (size) buffer[capacity < size ? capacity : size - 1] = '\0';
    return 1;
}

}  // namespace orbex
