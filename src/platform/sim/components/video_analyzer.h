// The video analyzer filter, an outside component: it sits in the video path
// between the capture filter and the overlay mixer, sees every frame that
// passes through it with its time stamp, and measures the stream over its
// window. The 96-byte record and the window are described in
// docs/video-analyzer.md. Each measurement is also an AnalyzerMeasurement
// event for the harness: the window's frame intervals and the set interval.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/analyzer.h"
#include "platform/sim/events.h"
#include "platform/sim/faults.h"
#include "platform/sim/media/filter.h"

namespace orbex::sim {

// Byte offsets of the record's fields.
namespace analyzer_record {
constexpr int kFrames = 0;         // uint64: frames in the window
constexpr int kWindowStart = 8;    // int64: time of the window's first frame, 100 ns units
constexpr int kWindowEnd = 16;     // int64: time of the measurement, 100 ns units
constexpr int kMeanInterval = 24;  // int64: mean interval between the window's frames, 100 ns units
constexpr int kFrameRate = 32;     // float: the measured frame rate, frames per second
constexpr int kLongGaps = 40;      // uint64: intervals longer than 1.5 times the mean (lost frames)
}  // namespace analyzer_record

// The measurement over the frames seen in the last window.
struct AnalyzerReading {
    uint64_t frames = 0;
    uint64_t windowStartUs = 0;
    uint64_t nowUs = 0;
    uint64_t meanIntervalUs = 0;
    float frameRate = 0;
    uint64_t longGaps = 0;
    std::vector<uint64_t> intervalsUs;  // between the window's frames, in order
};

class VideoAnalyzer {
public:
    static constexpr uint64_t kWindowUs = 5'000'000;  // the last five seconds

    VideoAnalyzer(std::function<uint64_t()> nowUs, FaultTable& faults) : m_nowUs(std::move(nowUs)), m_faults(faults) {}

    // The analyzer interface of an analyzer filter.
    HResult Interface(SimFilter& filter, const Guid& iid, port::ComPtr& out);
    // Whether frames reach the filter: its input traced upstream through
    // other filters reaches an output of the capture (decoder) filter, and
    // its graph runs.
    static bool Receives(const SimFilter& filter);

    // A frame that left the decoder; counted when an analyzer filter receives it.
    void Frame(uint64_t atUs);
    // Settles frames due (set by the board), then measures.
    void SetSettle(std::function<void()> settle) { m_settle = std::move(settle); }
    // Where measurements are reported, with the frame interval the capture
    // stream is set to (microseconds; 0 when it has none).
    void SetEvents(EventSink events, std::function<int64_t()> setIntervalUs) {
        m_events = std::move(events);
        m_setIntervalUs = std::move(setIntervalUs);
    }
    void Report(const AnalyzerReading& reading) const;
    AnalyzerReading Measure();
    FaultTable& Faults() { return m_faults; }

private:
    std::function<uint64_t()> m_nowUs;
    FaultTable& m_faults;
    std::function<void()> m_settle;
    EventSink m_events;
    std::function<int64_t()> m_setIntervalUs;
    std::deque<uint64_t> m_frames;                    // time stamps within the window, oldest first
    std::vector<std::weak_ptr<SimFilter>> m_filters;  // analyzer filters handed out
};

}  // namespace orbex::sim
