// DirectDraw: the DirectDraw object of the primary display driver, which
// answers the available-video-memory query from the video memory.
#pragma once

#include "platform/ports.h"
#include "platform/sim/display/video_memory.h"
#include "platform/sim/faults.h"

namespace orbex::sim {

class DirectDrawRuntime final : public port::IDirectDrawRuntime {
public:
    DirectDrawRuntime(const VideoMemory& videoMemory, FaultTable& faults)
        : m_videoMemory(videoMemory), m_faults(faults) {}

    HResult DirectDrawCreate(port::ComPtr& out) override;

private:
    const VideoMemory& m_videoMemory;
    FaultTable& m_faults;
};

}  // namespace orbex::sim
