// The machine's clock. Time is virtual: every read of the timer lets one
// millisecond pass, so a busy-wait ends after as many reads as it waits
// milliseconds, and a sleep passes at once.
#pragma once

#include <string>

#include "platform/ports.h"
#include "platform/sim/machine/machine_config.h"

namespace orbex::sim {

class VirtualClock final : public port::IClock {
public:
    explicit VirtualClock(const MachineConfig& config)
        : m_localTimeStart(config.localTime), m_start(config.clockStart), m_now(config.clockStart) {}

    uint32_t TimeGetTime() override { return m_now++; }
    uint32_t GetTickCount() override { return m_now++; }
    void Sleep(uint32_t milliseconds) override { m_now += milliseconds; }
    // The timer's value without letting time pass, for the board's own models.
    uint32_t Now() const { return m_now; }

    // ISO-8601 local time with milliseconds: the profile's LocalTime plus the virtual time passed.
    std::string LocalTimeText() const;

private:
    std::string m_localTimeStart;
    uint32_t m_start;
    uint32_t m_now;
};

}  // namespace orbex::sim
