// The logging component's log writer: the ILogWriter contract, writing
// "<local time> <level> 0x<colour> <text>" lines to the configured file in the
// current directory. Each line written is also a Log event for the harness.
#pragma once

#include <cstdio>
#include <memory>
#include <string>

#include "platform/ports.h"
#include "platform/sim/events.h"
#include "platform/sim/ledger.h"
#include "platform/sim/machine/clock.h"
#include "platform/sim/machine/path_map.h"

namespace orbex::sim {

class LogWriter final : public port::ILogWriter, public std::enable_shared_from_this<LogWriter> {
    LedgerToken m_ledgerEntry{"COM", "ILogWriter"};  // counted while the object lives
public:
    LogWriter(port::ISystemInfo& system, const PathMap& paths, const VirtualClock& clock, EventSink events)
        : m_system(system), m_paths(paths), m_clock(clock), m_events(std::move(events)) {}
    ~LogWriter() override;

    HResult QueryInterface(const Guid& iid, port::ComPtr& out) override;
    HResult NewHandle(uint32_t* handle) override;
    HResult ReleaseHandle(uint32_t handle) override;
    HResult Configure(uint32_t handle, uint32_t levelMask, const char* fileName, const char* appName, int32_t reserved0,
                      int32_t reserved10) override;
    HResult Write(uint32_t handle, int32_t level, uint32_t colour, const char* format, va_list args) override;

    // Whether a line of this level passes the mask: bit level/24 (0 to 31).
    static bool LevelEnabled(uint32_t mask, int32_t level);

private:
    port::ISystemInfo& m_system;
    const PathMap& m_paths;
    const VirtualClock& m_clock;
    EventSink m_events;
    uint32_t m_handle = 0;
    HandleLedger m_handles;  // handles given out and not released
    uint32_t m_mask = 0xFFFFFFFF;
    std::FILE* m_file = nullptr;
    std::string m_memoryPath;  // the configured file, when the host files live in memory
};

}  // namespace orbex::sim
