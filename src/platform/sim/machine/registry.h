// The machine's registry below HKEY_LOCAL_MACHINE, filled from the profile's
// [Registry] section; every write made through the port is an event.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/ports.h"
#include "platform/sim/events.h"
#include "platform/sim/faults.h"
#include "platform/sim/ledger.h"
#include "platform/sim/machine/machine_config.h"

namespace orbex::sim {

class VirtualRegistry final : public port::IRegistry {
public:
    VirtualRegistry(const RegistryConfig& config, FaultTable& faults, const EventSink& events);

    void CreateKey(const std::string& path);
    void SetValue(const std::string& path, const std::string& name, uint32_t type, std::vector<uint8_t> data,
                  bool announce);

    int32_t OpenKey(const char* subKey, uint32_t access, port::RegKey* out) override;
    int32_t OpenOrCreateKey(const char* subKey, uint32_t access, port::RegKey* out) override;
    int32_t ReadValue(port::RegKey key, const char* name, uint32_t* type, uint8_t* data, uint32_t* size) override;
    int32_t WriteValue(port::RegKey key, const char* name, uint32_t type, const uint8_t* data, uint32_t size) override;
    int32_t CountSubKeys(port::RegKey key, uint32_t* subKeyCount) override;
    int32_t EnumSubKey(port::RegKey key, uint32_t index, char* name, uint32_t* nameSize) override;
    int32_t CloseKey(port::RegKey key) override;

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
    const EventSink& m_events;
    std::map<std::string, Key> m_keys;              // by folded path
    std::map<port::RegKey, std::string> m_handles;  // open handles -> folded path
    port::RegKey m_nextHandle = 0x100;
    HandleLedger m_ledger;  // the open handles, counted
};

}  // namespace orbex::sim
