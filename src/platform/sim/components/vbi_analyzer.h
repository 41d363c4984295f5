// The VBI analyzer filter, an outside component: its IVBIAnalyzer takes the
// line 21 samples the capture filter's VBI pin delivers, decodes the closed
// captions in them (src/line21) and fills the caller's 120-byte record. It
// sees data only while its VBI input is connected to the capture filter's VBI
// output and the graph runs. The record is described in docs/line21.md. Each
// line it analyses is also a VbiLine event (its samples) for the harness.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/sim/events.h"
#include "platform/sim/faults.h"
#include "platform/sim/media/filter.h"
#include "platform/sim/signal/vbi_line.h"
#include "platform/tuner.h"

namespace orbex::sim {

// Byte offsets of the record's fields (each int32 unless noted).
namespace vbi_record {
constexpr int kFrame = 0;          // frame number of the sampled field
constexpr int kField = 4;          // 1: the odd field
constexpr int kChars = 8;          // two bytes: the decoded characters, parity stripped
constexpr int kRawBytes = 10;      // two bytes: the characters as received, with their parity bits
constexpr int kValid = 12;         // 1 when a caption pair was decoded
constexpr int kQuality = 16;       // eye opening in thousandths (0 to 1000)
constexpr int kRunIn = 20;         // sample index of the run-in start, -1 when none was found
constexpr int kRateHz = 24;        // sampling rate
constexpr int kSamples = 28;       // samples in the line
constexpr int kLowest = 32;        // lowest sample of the line
constexpr int kHighest = 36;       // highest sample of the line
constexpr int kLineSampled = 40;   // the line the samples come from: 21
constexpr int kCaptionLine = 100;  // 21 when captions were decoded on line 21 of the odd field, else 0
}  // namespace vbi_record

class VbiAnalyzer {
public:
    VbiAnalyzer(const VbiLineSource& vbi, FaultTable& faults, EventSink events)
        : m_vbi(vbi), m_faults(faults), m_events(std::move(events)) {}

    // The analyzer interface of an analyzer filter.
    HResult Interface(SimFilter& filter, const Guid& iid, port::ComPtr& out);
    // Whether the filter receives VBI data: its VBI input connected to a VBI
    // output of the capture (decoder) filter, and its graph running.
    static bool Receives(const SimFilter& filter);

    const VbiLineSource& Source() const { return m_vbi; }
    FaultTable& Faults() { return m_faults; }
    const EventSink& Events() const { return m_events; }

private:
    const VbiLineSource& m_vbi;
    FaultTable& m_faults;
    EventSink m_events;
};

}  // namespace orbex::sim
