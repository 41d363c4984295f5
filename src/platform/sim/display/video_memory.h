// The display's video memory: how much there is and how much is free.
#pragma once

#include <cstdint>

#include "platform/sim/display/display_config.h"

namespace orbex::sim {

class VideoMemory {
public:
    explicit VideoMemory(const VideoMemoryConfig& config) : m_total(config.total), m_free(config.free) {}

    uint32_t Total() const { return m_total; }
    uint32_t Free() const { return m_free; }

private:
    uint32_t m_total;
    uint32_t m_free;
};

}  // namespace orbex::sim
