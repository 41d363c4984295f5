// The display's video memory: how much there is and how much is free. The
// overlay path takes memory while it is connected and running.
#pragma once

#include <algorithm>
#include <cstdint>

#include "platform/sim/display/display_config.h"

namespace orbex::sim {

class VideoMemory {
public:
    explicit VideoMemory(const VideoMemoryConfig& config) : m_total(config.total), m_free(config.free) {}

    uint32_t Total() const { return m_total; }
    uint32_t Free() const { return static_cast<uint32_t>(std::max<int64_t>(int64_t{m_free} - m_taken, 0)); }

    void Take(uint32_t bytes) { m_taken += bytes; }
    void GiveBack(uint32_t bytes) { m_taken -= bytes; }

private:
    uint32_t m_total;
    uint32_t m_free;
    int64_t m_taken = 0;  // by the overlay path, leaks included
};

}  // namespace orbex::sim
