// The profile functions (GetPrivateProfileString and kin) over the INI engine,
// on the host files the machine's paths map to (on disk or in memory). A file the machine cannot
// have reads as missing.
#pragma once

#include <array>
#include <string>

#include "ini/ini_engine.h"
#include "platform/ports.h"
#include "platform/sim/events.h"
#include "platform/sim/faults.h"
#include "platform/sim/machine/path_map.h"

namespace orbex::sim {

class ProfileFiles final : public port::IProfile {
public:
    ProfileFiles(const PathMap& paths, FaultTable& faults, const EventSink& events)
        : m_paths(paths), m_faults(faults), m_events(events), m_ini(paths.Memory()) {}
    ~ProfileFiles() override { m_ini.Flush(); }

    uint32_t ReadProfileString(const char* section, const char* key, const char* defaultValue, char* buffer,
                               uint32_t size, const char* fileName) override;
    uint32_t ReadProfileInt(const char* section, const char* key, int32_t defaultValue, const char* fileName) override;
    bool WriteProfileValue(const char* section, const char* key, const char* value, const char* fileName) override;
    void FlushProfiles() override { m_ini.Flush(); }

    // Forgets the cached copy of a host file, unsaved changes included.
    void Forget(const std::string& hostPath) { m_ini.Discard(hostPath); }

private:
    const std::string& HostPath(const char* fileName);

    const PathMap& m_paths;
    FaultTable& m_faults;
    const EventSink& m_events;
    ini::Engine m_ini;
    // The last few file names asked for and their host paths: a test reads
    // one file key after key, the graph merge reads one file and writes
    // another by turns, and the machine's directories never change.
    struct KnownPath {
        std::string name, host;
    };
    static constexpr size_t kKnownPaths = 4;
    std::array<KnownPath, kKnownPaths> m_known;
    size_t m_knownCount = 0, m_nextKnown = 0;
};

}  // namespace orbex::sim
