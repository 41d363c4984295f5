// The busy-wait between hardware steps, on the multimedia timer.
#pragma once

#include <cstdint>

#include "platform/ports.h"

namespace orbex {

// Returns once the timer has advanced by the given milliseconds; the unsigned
// difference keeps a wrap of the 32-bit timer from ending or lengthening it.
inline void Delay(port::IClock& clock, uint32_t milliseconds) {
    uint32_t start = clock.TimeGetTime();
    while (static_cast<uint32_t>(clock.TimeGetTime() - start) < milliseconds) {
    }
}

}  // namespace orbex
