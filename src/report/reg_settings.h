// Settings read from the registry key "SOFTWARE\Qel Technologies\Orbex\<section>"
// first and from an INI file second. Stateless.
#pragma once

#include <cstdint>

#include "platform/ports.h"

namespace orbex {

class CRegSettings {
public:
    explicit CRegSettings(port::IPlatform& platform) : m_platform(&platform) {}
    virtual ~CRegSettings() = default;

    int32_t ReadSettingInt(const char* section, const char* key, int32_t defaultValue, const char* iniFile);
    int32_t ReadSettingString(const char* section, const char* key, const char* defaultValue, char* buffer,
                              uint32_t size, const char* iniFile);

private:
    bool RegistryInUse();
    bool QueryRegistry(const char* section, const char* key, uint8_t* data, uint32_t* size);
    port::IPlatform* m_platform;
};

}  // namespace orbex
