// The frame clock of the overlay path: while frames flow (graph running,
// decoder output enabled and connected to the overlay mixer, a locked
// signal), every frame period of virtual time one frame lands in the overlay
// buffers, alternately the back and the front buffer, as a flipping overlay does.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>

#include "platform/sim/display/overlay_surfaces.h"
#include "platform/sim/signal/picture.h"
#include "platform/sim/signal/video_source.h"

namespace orbex::sim {

// The capture format the frames follow: the overlay shows the captured
// picture stretched to its size, so a format whose scaler fills only part of
// it leaves that share of the overlay's rows and columns without picture.
// How the driver delivers frames, as a profile can spoil it.
struct FrameDelivery {
    uint32_t dropEvery = 0;     // every Nth frame is lost (0: none)
    uint32_t stallAfterMs = 0;  // frames stop after this long of flowing, until the stream restarts (0: never)
    uint64_t minPeriodUs = 0;   // the driver's own rate cap, as the shortest frame period (0: none)
};

struct CaptureShape {
    uint32_t width = 0;  // the format's size; 0: the frames fill the overlay
    uint32_t height = 0;
    uint32_t filledWidth = 0;  // what the scaler really fills of it
    uint32_t filledHeight = 0;
    uint64_t frameInterval = 0;  // 100 ns units; never shorter than the standard's frame
    FrameDelivery delivery;
};

struct FeedConditions {
    bool flowing = false;
    SourceConfig source;  // what the frames show
    CaptureShape shape;
};

// The virtual time between two frames: the format's interval, but never
// faster than the standard's own rate (29.97 or 25 frames per second).
uint64_t FramePeriod(const FeedConditions& conditions);

class FrameFeed {
public:
    // conditions(at): what holds at a virtual time.
    FrameFeed(std::function<uint32_t()> now, std::function<FeedConditions(uint32_t at)> conditions,
              OverlaySurfaces& surfaces)
        : m_now(std::move(now)), m_conditions(std::move(conditions)), m_surfaces(surfaces), m_last(m_now()) {}
    // A time in (from, to] at which the conditions change by themselves (a
    // tuner that settles), so that an update splits its interval there.
    void SetChangeTimes(std::function<std::optional<uint32_t>(uint32_t from, uint32_t to)> next) {
        m_nextChange = std::move(next);
    }

    // Delivers the frames due since the last update under the conditions
    // that held since then. Every model calls it before it changes one of
    // the conditions, and the surfaces before they are read.
    void Update();
    uint64_t FramesDelivered() const { return m_frames; }
    // Told of every frame delivered, with its virtual time in microseconds.
    void SetFrameObserver(std::function<void(uint64_t frame, uint64_t atUs)> observer) {
        m_observer = std::move(observer);
    }

private:
    void Advance(uint32_t from, uint32_t to);
    void WriteFrame(uint64_t frame, const FeedConditions& conditions);

    std::function<uint32_t()> m_now;
    std::function<FeedConditions(uint32_t)> m_conditions;
    std::function<std::optional<uint32_t>(uint32_t, uint32_t)> m_nextChange;
    OverlaySurfaces& m_surfaces;
    PictureCycles m_cycles;
    uint32_t m_last;
    std::function<void(uint64_t, uint64_t)> m_observer;
    uint64_t m_flowMicroseconds = 0;    // virtual time frames have flowed
    uint64_t m_streamMicroseconds = 0;  // of that, since the stream last started flowing
    uint64_t m_slots = 0;               // frame periods passed, delivered or not
    uint64_t m_frames = 0;
    bool m_updating = false;
};

}  // namespace orbex::sim
