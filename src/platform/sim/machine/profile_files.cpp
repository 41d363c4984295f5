#include "platform/sim/machine/profile_files.h"

#include <algorithm>
#include <cstring>

#include "common/format.h"

namespace orbex::sim {

const std::string& ProfileFiles::HostPath(const char* fileName) {
    static const std::string none;
    if (!fileName) return none;
    for (size_t i = 0; i < m_knownCount; ++i)
        if (m_known[i].name == fileName) return m_known[i].host;
    KnownPath& slot = m_known[m_nextKnown];
    m_nextKnown = (m_nextKnown + 1) % kKnownPaths;
    m_knownCount = std::max(m_knownCount, m_nextKnown == 0 ? kKnownPaths : m_nextKnown);
    slot.name = fileName;
    auto host = m_paths.HostPath(slot.name);
    slot.host = host ? *host : std::string();
    return slot.host;
}

uint32_t ProfileFiles::ReadProfileString(const char* section, const char* key, const char* defaultValue, char* buffer,
                                         uint32_t size, const char* fileName) {
    const std::string& path = HostPath(fileName);
    if (path.empty()) {  // a file the machine cannot have: read as missing
        if (buffer && size) CopyText(buffer, size, section && key && defaultValue ? defaultValue : "");
        if (buffer && size > 1 && (!section || !key)) buffer[1] = '\0';
        return buffer && size ? static_cast<uint32_t>(std::strlen(buffer)) : 0;
    }
    return m_ini.GetString(section, key, defaultValue, buffer, size, path);
}

uint32_t ProfileFiles::ReadProfileInt(const char* section, const char* key, int32_t defaultValue,
                                      const char* fileName) {
    const std::string& path = HostPath(fileName);
    if (path.empty()) return static_cast<uint32_t>(defaultValue);
    return m_ini.GetInt(section, key, defaultValue, path);
}

bool ProfileFiles::WriteProfileValue(const char* section, const char* key, const char* value, const char* fileName) {
    if (m_faults.Next("ProfileWrite")) return false;
    const std::string path = HostPath(fileName);  // a copy: the event sink may read profiles
    if (m_events)
        m_events(PlatformEvent{"Platform",
                               {{"what", std::string("ProfileWrite")},
                                {"file", std::string(fileName ? fileName : "")},
                                {"section", std::string(section ? section : "")},
                                {"key", std::string(key ? key : "")},
                                {"value", std::string(value ? value : "")}}});
    if (path.empty()) return false;
    return m_ini.WriteString(section, key, value, path);
}

}  // namespace orbex::sim
