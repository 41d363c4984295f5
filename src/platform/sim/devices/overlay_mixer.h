// The overlay mixer as a device of the board: its exclusive-mode interface,
// the video memory its input links take, and the frames that reach its
// overlay buffers while the decoder feeds it.
#pragma once

#include <map>
#include <memory>

#include "platform/sim/devices/decoder.h"
#include "platform/sim/display/direct_draw.h"
#include "platform/sim/display/overlay_config.h"
#include "platform/sim/display/video_memory.h"
#include "platform/sim/machine/clock.h"
#include "platform/sim/media/media_context.h"
#include "platform/sim/signal/frame_feed.h"

namespace orbex::sim {

class OverlayMixerModel final : public IGraphObserver {
public:
    OverlayMixerModel(const OverlayMixerConfig& config, uint32_t leakPerRun, DecoderModel& decoder, SignalPath& signal,
                      OverlaySurfaces& surfaces, VideoMemory& memory, DirectDrawRuntime& directDraw,
                      VirtualClock& clock, FaultTable& faults);

    // Settles the frames due so far; every model calls it before it changes
    // what the frames depend on.
    void Settle() { m_feed.Update(); }

    // The mixer filter's IDDrawExclModeVideo.
    HResult MixerInterface(const Guid& iid, port::ComPtr& out);
    // Lets the frames follow changes that come with time alone.
    void SetChangeTimes(std::function<std::optional<uint32_t>(uint32_t, uint32_t)> next) {
        m_feed.SetChangeTimes(std::move(next));
    }

    // Tells the observer of every frame delivered (with its time in microseconds).
    void SetFrameObserver(std::function<void(uint64_t, uint64_t)> observer) {
        m_feed.SetFrameObserver(std::move(observer));
    }
    // Holds the frames back at the times held(at) says (a machine asleep).
    void SetHeld(std::function<bool(uint32_t)> held) { m_held = std::move(held); }
    uint64_t FramesDelivered() {
        Settle();
        return m_feed.FramesDelivered();
    }

    // Lets the frames follow the capture pin's format.
    void SetCaptureShape(std::function<CaptureShape()> shape) { m_shape = std::move(shape); }

    // IGraphObserver
    void BeforeGraphChange() override { Settle(); }
    HResult LinkConnected(OverlayLink link, bool graphRunning) override;
    void LinkDisconnected(OverlayLink link) override;
    void GraphRunning(const std::vector<OverlayLink>& links, bool running) override;

private:
    FeedConditions Conditions(uint32_t at) const;
    uint32_t FrameBytes() const;

    struct Link {
        uint32_t runs = 0;     // runs of the graph the link took part in
        bool running = false;  // holds a running frame now
    };

    OverlayMixerConfig m_config;
    uint32_t m_leakPerRun;
    DecoderModel& m_decoder;
    SignalPath& m_signal;
    OverlaySurfaces& m_surfaces;
    VideoMemory& m_memory;
    DirectDrawRuntime& m_directDraw;
    FaultTable& m_faults;
    std::map<OverlayLink, Link> m_links;
    std::function<CaptureShape()> m_shape;
    std::function<bool(uint32_t)> m_held;
    FrameFeed m_feed;
};

}  // namespace orbex::sim
