// The machine's power state: suspends that let virtual time pass while the
// machine sleeps, and whether capture comes back after them. The frames of
// the overlay path are held while the machine sleeps.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "platform/sim/machine/clock.h"
#include "platform/sim/machine/power_config.h"

namespace orbex::sim {

class PowerModel {
public:
    PowerModel(const PowerConfig& config, VirtualClock& clock) : m_config(config), m_clock(clock) {}

    // Sleeps for the profile's suspend time and wakes; false (and no time
    // passes) when the machine refuses to suspend.
    bool Suspend();
    // Milliseconds of virtual time the last suspend slept.
    uint32_t LastSleep() const { return m_sleeps.empty() ? 0 : m_sleeps.back().end - m_sleeps.back().start; }

    // Whether no frames reach the board at a virtual time: while it sleeps,
    // and from a suspend on when capture does not come back.
    bool FramesHeld(uint32_t at) const;
    // The first time in (from, to] at which FramesHeld changes.
    std::optional<uint32_t> ChangeWithin(uint32_t from, uint32_t to) const;

private:
    struct Sleep {
        uint32_t start = 0;
        uint32_t end = 0;
    };
    const PowerConfig& m_config;
    VirtualClock& m_clock;
    std::vector<Sleep> m_sleeps;
};

}  // namespace orbex::sim
