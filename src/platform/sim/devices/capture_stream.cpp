#include "platform/sim/devices/capture_stream.h"

#include <algorithm>
#include <cstring>

#include "platform/guids.h"
#include "platform/sim/ledger.h"

namespace orbex::sim {
namespace {

bool InRange(int64_t v, int64_t lo, int64_t hi) {
    return v >= lo && v <= hi;
}

// A size on the record's grid: in range and a whole number of steps from the minimum.
bool OnGrid(int32_t v, int32_t lo, int32_t hi, int32_t step) {
    if (!InRange(v, lo, hi)) return false;
    return step <= 0 || (v - lo) % step == 0;
}

}  // namespace

uint16_t BitCountOf(const Guid& subtype) {
    return subtype == guids::kMediaSubtypeRgb24 ? 24 : 16;
}

class SimStreamConfig final : public port::IAMStreamConfig, public std::enable_shared_from_this<SimStreamConfig> {
    LedgerToken m_ledgerEntry{"COM", "IAMStreamConfig"};  // counted while the object lives
public:
    explicit SimStreamConfig(CaptureStreamModel& model) : m_model(model) {}

    HResult QueryInterface(const Guid& iid, port::ComPtr& out) override {
        out.reset();
        if (iid != guids::kIidAmStreamConfig && iid != guids::kIidUnknown) return kENoInterface;
        out = shared_from_this();
        return kSOk;
    }

    HResult SetFormat(const port::VideoMediaType& format) override {
        if (HResult hr = m_model.m_faults.Next("StreamSetFormat")) return hr;
        if (HResult hr = m_model.Check(format)) return hr;
        if (m_model.m_settle) m_model.m_settle();
        m_model.m_currentRecord = static_cast<size_t>(m_model.RecordFor(format) - m_model.m_config.records.data());
        m_model.m_current =
            m_model.FormatOf(m_model.m_currentRecord, {format.width, format.height},
                             format.avgTimePerFrame ? format.avgTimePerFrame : m_model.m_current.avgTimePerFrame);
        return kSOk;
    }

    HResult GetFormat(port::VideoMediaType& format) override {
        format = {};
        if (HResult hr = m_model.m_faults.Next("StreamGetFormat")) return hr;
        format = m_model.m_current;
        return kSOk;
    }

    HResult GetNumberOfCapabilities(int32_t* count, int32_t* recordSize) override {
        if (!count || !recordSize) return kEPointer;
        *count = 0;
        *recordSize = 0;
        if (HResult hr = m_model.m_faults.Next("StreamGetNumberOfCapabilities")) return hr;
        *count = static_cast<int32_t>(m_model.m_config.records.size());
        *recordSize = m_model.m_config.recordSize;
        return kSOk;
    }

    HResult GetStreamCaps(int32_t index, port::VideoMediaType& format, std::span<uint8_t> caps) override {
        format = {};
        if (index < 0) return kEInvalidArg;
        if (HResult hr = m_model.m_faults.Next("StreamGetStreamCaps")) return hr;
        if (static_cast<size_t>(index) >= m_model.m_config.records.size()) return kSFalse;
        size_t record = static_cast<size_t>(index);
        const CaptureFormatRecord& r = m_model.m_config.records[record];
        format = m_model.FormatOf(record, r.maxSize, r.minInterval);
        // The driver writes the record size it reports, the first 128 bytes
        // as the record and the rest zero; never more than the caller's buffer.
        port::VideoStreamConfigCaps full;
        m_model.FillCaps(record, full);
        size_t bytes = std::min(caps.size(), static_cast<size_t>(std::max(m_model.m_config.recordSize, 0)));
        std::memset(caps.data(), 0, bytes);
        std::memcpy(caps.data(), &full, std::min(bytes, sizeof full));
        return kSOk;
    }

private:
    CaptureStreamModel& m_model;
};

CaptureStreamModel::CaptureStreamModel(const CaptureStreamConfig& config, FaultTable& faults)
    : m_config(config), m_faults(faults) {
    if (m_config.records.empty()) return;
    m_currentRecord =
        std::min<size_t>(static_cast<size_t>(std::max(m_config.startRecord, 0)), m_config.records.size() - 1);
    const CaptureFormatRecord& r = m_config.records[m_currentRecord];
    port::SizeRecord size = m_config.startSize.cx > 0 ? m_config.startSize : r.maxSize;
    m_current = FormatOf(m_currentRecord, size, m_config.startInterval ? m_config.startInterval : r.minInterval);
}

port::VideoMediaType CaptureStreamModel::FormatOf(size_t record, port::SizeRecord size, int64_t interval) const {
    port::VideoMediaType f;
    f.majorType = guids::kMediaTypeVideo;
    f.subtype = m_config.records[record].subtype;
    f.formatType = guids::kFormatVideoInfo;
    f.avgTimePerFrame = interval;
    f.width = size.cx;
    f.height = size.cy;
    f.bitCount = BitCountOf(f.subtype);
    f.compression = f.subtype == guids::kMediaSubtypeRgb24 ? 0 : f.subtype.data1;
    f.sizeImage = static_cast<uint32_t>(size.cx) * static_cast<uint32_t>(size.cy) * f.bitCount / 8;
    return f;
}

const CaptureFormatRecord* CaptureStreamModel::RecordFor(const port::VideoMediaType& f) const {
    for (const CaptureFormatRecord& r : m_config.records)
        if (r.subtype == f.subtype && OnGrid(f.width, r.minSize.cx, r.maxSize.cx, r.granularity.cx) &&
            OnGrid(f.height, r.minSize.cy, r.maxSize.cy, r.granularity.cy) &&
            (f.avgTimePerFrame == 0 || InRange(f.avgTimePerFrame, r.minInterval, r.maxInterval)))
            return &r;
    return nullptr;
}

HResult CaptureStreamModel::Check(const port::VideoMediaType& f) const {
    if (f.majorType != guids::kMediaTypeVideo || f.formatType != guids::kFormatVideoInfo) return m_config.refusal;
    return RecordFor(f) ? kSOk : m_config.refusal;
}

port::SizeRecord CaptureStreamModel::FilledSize() const {
    if (m_config.records.empty()) return {};
    const CaptureFormatRecord& r = m_config.records[m_currentRecord];
    port::SizeRecord limit = r.fills.cx > 0 ? r.fills : r.maxSize;
    return {std::min(m_current.width, limit.cx), std::min(m_current.height, limit.cy)};
}

CaptureShape CaptureStreamModel::Shape() const {
    if (m_config.records.empty()) return {};
    port::SizeRecord filled = FilledSize();
    return {static_cast<uint32_t>(m_current.width),
            static_cast<uint32_t>(m_current.height),
            static_cast<uint32_t>(filled.cx),
            static_cast<uint32_t>(filled.cy),
            static_cast<uint64_t>(std::max<int64_t>(m_current.avgTimePerFrame, 0)),
            m_config.delivery};
}

void CaptureStreamModel::FillCaps(size_t record, port::VideoStreamConfigCaps& caps) const {
    const CaptureFormatRecord& r = m_config.records[record];
    caps = {};
    caps.guid = guids::kFormatVideoInfo;
    caps.inputSize = r.maxSize;
    caps.minCroppingSize = r.minSize;
    caps.maxCroppingSize = r.maxSize;
    caps.cropGranularityX = r.granularity.cx;
    caps.cropGranularityY = r.granularity.cy;
    caps.cropAlignX = 1;
    caps.cropAlignY = 1;
    caps.minOutputSize = r.minSize;
    caps.maxOutputSize = r.maxSize;
    caps.outputGranularityX = r.granularity.cx;
    caps.outputGranularityY = r.granularity.cy;
    caps.minFrameInterval = r.minInterval;
    caps.maxFrameInterval = r.maxInterval;
    int64_t bitsPerFrame = int64_t{r.maxSize.cx} * r.maxSize.cy * BitCountOf(r.subtype);
    int64_t minBitsPerFrame = int64_t{r.minSize.cx} * r.minSize.cy * BitCountOf(r.subtype);
    caps.maxBitsPerSecond = static_cast<int32_t>(std::min<int64_t>(bitsPerFrame * 10000000 / r.minInterval, INT32_MAX));
    caps.minBitsPerSecond =
        static_cast<int32_t>(std::min<int64_t>(minBitsPerFrame * 10000000 / r.maxInterval, INT32_MAX));
}

std::shared_ptr<port::IAMStreamConfig> CaptureStreamModel::Interface() {
    if (m_config.records.empty()) return nullptr;
    return std::make_shared<SimStreamConfig>(*this);
}

}  // namespace orbex::sim
