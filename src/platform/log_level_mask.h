// The level mask of the logging component, shared by its two realisations
// (the virtual board's and the Windows DLL): bit level/24 (0 to 31) of the
// mask must be set for a line of that level to be written.
#pragma once

#include <cstdint>

namespace orbex {

inline bool LogLevelEnabled(uint32_t mask, int32_t level) {
    int32_t bit = level < 0 ? 0 : level / 24;
    if (bit > 31) bit = 31;
    return (mask >> bit) & 1u;
}

}  // namespace orbex
