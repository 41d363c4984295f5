// The virtual board's registry below HKEY_LOCAL_MACHINE.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/ports.h"
#include "platform/sim/faults.h"

namespace orbex::sim {

class SimPlatform;

class SimRegistry final : public port::IRegistry {
public:
    SimRegistry(FaultTable& faults, SimPlatform& platform) : m_faults(faults), m_platform(platform) {}

    void CreateKey(const std::string& path);
    void SetValue(const std::string& path, const std::string& name, uint32_t type, std::vector<uint8_t> data,
                  bool announce);

    int32_t RegOpenKeyEx(const char* subKey, uint32_t access, port::RegKey* out) override;
    int32_t RegCreateKeyEx(const char* subKey, uint32_t access, port::RegKey* out) override;
    int32_t RegQueryValueEx(port::RegKey key, const char* name, uint32_t* type, uint8_t* data, uint32_t* size) override;
    int32_t RegSetValueEx(port::RegKey key, const char* name, uint32_t type, const uint8_t* data,
                          uint32_t size) override;
    int32_t RegQueryInfoKey(port::RegKey key, uint32_t* subKeyCount) override;
    int32_t RegEnumKeyEx(port::RegKey key, uint32_t index, char* name, uint32_t* nameSize) override;
    int32_t RegCloseKey(port::RegKey key) override;

private:
    struct Value {
        std::string name;
        uint32_t type = 0;
        std::vector<uint8_t> data;
    };
    struct Key {
        std::string path;  // as first spelled
        std::vector<Value> values;
    };
    Key* Find(port::RegKey handle);
    std::vector<std::string> SubKeys(const std::string& foldedPath) const;

    FaultTable& m_faults;
    SimPlatform& m_platform;
    std::map<std::string, Key> m_keys;              // by folded path
    std::map<port::RegKey, std::string> m_handles;  // open handles -> folded path
    port::RegKey m_nextHandle = 0x100;
};

}  // namespace orbex::sim
