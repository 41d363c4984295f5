#include "platform/sim/machine/registry.h"

#include <algorithm>
#include <cstring>

#include "common/format.h"
#include "ini/ini_document.h"

namespace orbex::sim {
namespace {

std::string Normalised(const char* subKey) {
    std::string p = subKey ? subKey : "";
    while (!p.empty() && p.back() == '\\') p.pop_back();
    while (!p.empty() && p.front() == '\\') p.erase(p.begin());
    return p;
}

std::string ValueText(uint32_t type, const std::vector<uint8_t>& data) {
    if (type == kRegSz) {
        size_t n = 0;
        while (n < data.size() && data[n]) ++n;
        return std::string(data.begin(), data.begin() + static_cast<std::ptrdiff_t>(n));
    }
    if (type == kRegDword && data.size() == 4) {
        uint32_t v = 0;
        std::memcpy(&v, data.data(), 4);
        return std::to_string(v);
    }
    std::string hex;
    for (uint8_t b : data) hex += Format("%02X", b);
    return hex;
}

}  // namespace

VirtualRegistry::VirtualRegistry(const RegistryConfig& config, FaultTable& faults, const EventSink& events)
    : m_faults(faults), m_events(events) {
    for (const std::string& k : config.keys) CreateKey(k);
    for (const RegistryValueDesc& v : config.values) SetValue(v.key, v.name, v.type, v.data, false);
}

void VirtualRegistry::CreateKey(const std::string& path) {
    std::string p = Normalised(path.c_str());
    size_t pos = 0;
    while (true) {
        size_t next = p.find('\\', pos);
        std::string prefix = p.substr(0, next);
        m_keys.try_emplace(ini::Folded(prefix), Key{prefix, {}});
        if (next == std::string::npos) break;
        pos = next + 1;
    }
}

void VirtualRegistry::SetValue(const std::string& path, const std::string& name, uint32_t type,
                               std::vector<uint8_t> data, bool announce) {
    CreateKey(path);
    Key& key = m_keys[ini::Folded(Normalised(path.c_str()))];
    if (announce)
        if (m_events)
            m_events(PlatformEvent{"Platform",
                                   {{"what", std::string("RegistryWrite")},
                                    {"key", key.path},
                                    {"name", name},
                                    {"value", ValueText(type, data)},
                                    {"type", static_cast<int64_t>(type)}}});
    for (Value& v : key.values) {
        if (ini::Folded(v.name) == ini::Folded(name)) {
            v.type = type;
            v.data = std::move(data);
            return;
        }
    }
    key.values.push_back(Value{name, type, std::move(data)});
}

VirtualRegistry::Key* VirtualRegistry::Find(port::RegKey handle) {
    auto h = m_handles.find(handle);
    if (h == m_handles.end()) return nullptr;
    auto k = m_keys.find(h->second);
    return k == m_keys.end() ? nullptr : &k->second;
}

std::vector<std::string> VirtualRegistry::SubKeys(const std::string& folded) const {
    std::vector<std::string> out;
    std::string prefix = folded + "\\";
    for (const auto& [path, key] : m_keys) {
        if (path.compare(0, prefix.size(), prefix) != 0) continue;
        if (path.find('\\', prefix.size()) != std::string::npos) continue;
        out.push_back(key.path.substr(prefix.size()));
    }
    return out;
}

int32_t VirtualRegistry::OpenKey(const char* subKey, uint32_t, port::RegKey* out) {
    *out = 0;
    if (HResult code = m_faults.Next("RegOpenKeyEx")) return code;
    std::string folded = ini::Folded(Normalised(subKey));
    if (!m_keys.count(folded)) return kErrorFileNotFound;
    *out = m_nextHandle++;
    m_handles[*out] = folded;
    m_ledger.Opened(*out, "RegKey", folded);
    return kErrorSuccess;
}

int32_t VirtualRegistry::OpenOrCreateKey(const char* subKey, uint32_t, port::RegKey* out) {
    *out = 0;
    if (HResult code = m_faults.Next("RegCreateKeyEx")) return code;
    CreateKey(Normalised(subKey));
    *out = m_nextHandle++;
    m_handles[*out] = ini::Folded(Normalised(subKey));
    m_ledger.Opened(*out, "RegKey", m_handles[*out]);
    return kErrorSuccess;
}

int32_t VirtualRegistry::ReadValue(port::RegKey handle, const char* name, uint32_t* type, uint8_t* data,
                                   uint32_t* size) {
    Key* key = Find(handle);
    if (!key) return 6;  // ERROR_INVALID_HANDLE
    FaultHit fault = m_faults.Take("RegQueryValueEx");
    if (fault.code) return fault.code;
    std::string wanted = ini::Folded(name ? name : "");
    for (const Value& v : key->values) {
        if (ini::Folded(v.name) != wanted) continue;
        if (type) *type = v.type;
        uint32_t need = static_cast<uint32_t>(v.data.size());
        if (fault.malformed && data && size && *size > 0) {
            if (v.type == kRegSz) {
                // A string without its terminator: the buffer filled to its end.
                size_t text = v.data.size();
                while (text > 0 && v.data[text - 1] == 0) --text;
                std::memset(data, 'X', *size);
                std::memcpy(data, v.data.data(), std::min<size_t>(*size, text));
            } else {
                // A short value: half of its bytes.
                *size = std::min(*size, need / 2);
                if (*size) std::memcpy(data, v.data.data(), *size);
            }
            m_faults.Applied("RegQueryValueEx");
            return kErrorSuccess;
        }
        if (data) {
            if (!size || *size < need) {
                if (size) *size = need;
                return kErrorMoreData;
            }
            if (need) std::memcpy(data, v.data.data(), need);
        }
        if (size) *size = need;
        return kErrorSuccess;
    }
    return kErrorFileNotFound;
}

int32_t VirtualRegistry::WriteValue(port::RegKey handle, const char* name, uint32_t type, const uint8_t* data,
                                    uint32_t size) {
    Key* key = Find(handle);
    if (!key) return 6;
    if (HResult code = m_faults.Next("RegSetValueEx")) return code;
    SetValue(key->path, name ? name : "", type, std::vector<uint8_t>(data, data + size), true);
    return kErrorSuccess;
}

int32_t VirtualRegistry::CountSubKeys(port::RegKey handle, uint32_t* subKeyCount) {
    auto h = m_handles.find(handle);
    if (h == m_handles.end()) return 6;
    FaultHit fault = m_faults.Take("RegQueryInfoKey");
    if (fault.code) return fault.code;
    // Malformed: a count that disagrees with the list RegEnumKeyEx gives.
    if (subKeyCount) *subKeyCount = static_cast<uint32_t>(SubKeys(h->second).size()) + (fault.malformed ? 3 : 0);
    if (subKeyCount && fault.malformed) m_faults.Applied("RegQueryInfoKey");
    return kErrorSuccess;
}

int32_t VirtualRegistry::EnumSubKey(port::RegKey handle, uint32_t index, char* name, uint32_t* nameSize) {
    auto h = m_handles.find(handle);
    if (h == m_handles.end()) return 6;
    FaultHit fault = m_faults.Take("RegEnumKeyEx");
    if (fault.code) return fault.code;
    std::vector<std::string> subKeys = SubKeys(h->second);
    if (index >= subKeys.size()) return kErrorNoMoreItems;
    const std::string& sub = subKeys[index];
    if (fault.malformed && name && nameSize && *nameSize > 0) {
        // A name without its terminator, as long as the buffer.
        std::memset(name, 'K', *nameSize);
        std::memcpy(name, sub.data(), std::min<size_t>(*nameSize, sub.size()));
        m_faults.Applied("RegEnumKeyEx");
        return kErrorSuccess;
    }
    if (!nameSize || *nameSize <= sub.size()) return kErrorMoreData;
    CopyText(name, *nameSize, sub.c_str());
    *nameSize = static_cast<uint32_t>(sub.size());
    return kErrorSuccess;
}

int32_t VirtualRegistry::CloseKey(port::RegKey handle) {
    m_ledger.Closed(handle);
    return m_handles.erase(handle) ? kErrorSuccess : 6;
}

}  // namespace orbex::sim
