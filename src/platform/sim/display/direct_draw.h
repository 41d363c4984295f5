// DirectDraw: the DirectDraw object of the primary display driver, which
// answers the available-video-memory query from the video memory and
// enumerates the overlay mixer's surfaces.
#pragma once

#include "platform/ports.h"
#include "platform/sim/display/overlay_surfaces.h"
#include "platform/sim/display/video_memory.h"
#include "platform/sim/faults.h"

namespace orbex::sim {

class DirectDrawRuntime final : public port::IDirectDrawRuntime {
public:
    DirectDrawRuntime(const VideoMemory& videoMemory, OverlaySurfaces& surfaces, FaultTable& faults)
        : m_videoMemory(videoMemory), m_surfaces(surfaces), m_faults(faults) {}

    HResult DirectDrawCreate(port::ComPtr& out) override;
    // The object the overlay mixer draws with (no creation of its own to fail).
    std::shared_ptr<port::IDirectDraw> MixerObject();

private:
    const VideoMemory& m_videoMemory;
    OverlaySurfaces& m_surfaces;
    FaultTable& m_faults;
};

}  // namespace orbex::sim
