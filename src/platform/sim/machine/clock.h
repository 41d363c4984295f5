// The machine's clock. Time is virtual: every read of the timer lets one
// millisecond pass, so a busy-wait ends after as many reads as it waits
// milliseconds, and a sleep passes at once.
#pragma once

#include <chrono>
#include <string>

#include "platform/ports.h"
#include "platform/sim/machine/machine_config.h"

namespace orbex::sim {

class VirtualClock final : public port::IClock {
public:
    explicit VirtualClock(const MachineConfig& config);

    uint32_t TimeGetTime() override { return m_now++; }
    uint32_t GetTickCount() override { return m_now++; }
    void Sleep(uint32_t milliseconds) override { m_now += milliseconds; }
    // The timer's value without letting time pass, for the board's own models.
    uint32_t Now() const { return m_now; }
    // Milliseconds passed since the machine started.
    uint32_t Elapsed() const { return m_now - m_start; }

    // ISO-8601 local time with milliseconds: the profile's LocalTime plus the virtual time passed.
    std::string LocalTimeText() const;

private:
    // The profile's LocalTime, read once: every log line is stamped from it.
    std::chrono::sys_time<std::chrono::milliseconds> m_localStart;
    uint32_t m_start;
    uint32_t m_now;
};

}  // namespace orbex::sim
