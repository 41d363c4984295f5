// The capture pin's stream configuration: the capability records the driver
// advertises, the format it captures in now, and the rules by which it takes
// a new one. The frames follow the current format (size, frame interval).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "platform/sim/faults.h"
#include "platform/sim/signal/frame_feed.h"
#include "platform/stream_config.h"

namespace orbex::sim {

// One capability record: a subtype and the output sizes and frame intervals it allows.
struct CaptureFormatRecord {
    Guid subtype;
    port::SizeRecord minSize{80, 60};
    port::SizeRecord maxSize{720, 480};
    port::SizeRecord granularity{4, 2};  // 0 in a dimension: any size in range
    int64_t minInterval = 333667;        // 100 ns units
    int64_t maxInterval = 10000000;
    port::SizeRecord fills{0, 0};  // largest size the scaler really fills; 0: maxSize
};

struct CaptureStreamConfig {
    std::vector<CaptureFormatRecord> records;  // in record index order; none: no stream configuration
    int32_t recordSize = 128;                  // what GetNumberOfCapabilities reports and GetStreamCaps writes
    HResult refusal = static_cast<HResult>(0x80040200);  // VFW_E_INVALIDMEDIATYPE
    int32_t startRecord = 0;
    port::SizeRecord startSize{0, 0};  // 0: the record's maximum
    int64_t startInterval = 0;         // 0: the record's minimum
    FrameDelivery delivery;            // the driver's delivery defects
};

// Bytes per pixel of the subtypes the board captures in.
uint16_t BitCountOf(const Guid& subtype);

class CaptureStreamModel {
public:
    CaptureStreamModel(const CaptureStreamConfig& config, FaultTable& faults);

    bool HasStream() const { return !m_config.records.empty(); }
    const port::VideoMediaType& Current() const { return m_current; }
    // The part of the current size the scaler fills: width and height no
    // larger than the record's fill limit.
    port::SizeRecord FilledSize() const;
    // The current format as the frames follow it; empty without records.
    CaptureShape Shape() const;
    // Lets the frames due settle before the format changes.
    void SetBeforeChange(std::function<void()> settle) { m_settle = std::move(settle); }
    // Whether a format is one the records allow; the refusal code when not.
    HResult Check(const port::VideoMediaType& format) const;
    // The pin's IAMStreamConfig; empty when the board has no records.
    std::shared_ptr<port::IAMStreamConfig> Interface();

private:
    friend class SimStreamConfig;
    port::VideoMediaType FormatOf(size_t record, port::SizeRecord size, int64_t interval) const;
    const CaptureFormatRecord* RecordFor(const port::VideoMediaType& format) const;
    void FillCaps(size_t record, port::VideoStreamConfigCaps& caps) const;

    CaptureStreamConfig m_config;
    FaultTable& m_faults;
    port::VideoMediaType m_current;
    size_t m_currentRecord = 0;
    std::function<void()> m_settle;
};

}  // namespace orbex::sim
