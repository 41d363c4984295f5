#include "platform/sim/components/video_analyzer.h"

#include <cstring>

#include "platform/guids.h"
#include "platform/sim/ledger.h"

namespace orbex::sim {
namespace {

// Whether frames of the capture filter reach this input pin, through any
// filters between (a graph is shallow; the depth bound keeps a loop finite).
bool FedByDecoder(const SimPin& in, int depth) {
    if (depth > 16) return false;
    auto peer = in.Peer();  // a connection holds while both sides name each other
    auto source = peer && peer->Peer().get() == &in ? peer->Owner() : nullptr;
    if (!source) return false;
    if (source->Role() == FilterRole::Decoder) return peer->Desc().medium == "video";
    for (const auto& pin : source->Pins())
        if (pin->Desc().direction == PinDirection::Input && FedByDecoder(*pin, depth + 1)) return true;
    return false;
}

void Put(uint8_t* slot, const void* value, size_t size) {
    std::memcpy(slot, value, size);
}

class SimVideoAnalyzer final : public port::IVideoAnalyzer, public std::enable_shared_from_this<SimVideoAnalyzer> {
    LedgerToken m_ledgerEntry{"COM", "IVideoAnalyzer"};  // counted while the object lives
public:
    SimVideoAnalyzer(VideoAnalyzer& analyzer, std::weak_ptr<SimFilter> filter)
        : m_analyzer(analyzer), m_filter(std::move(filter)) {}

    HResult QueryInterface(const Guid& iid, port::ComPtr& out) override {
        out.reset();
        if (iid != guids::kIidVideoAnalyzer && iid != guids::kIidUnknown) return kENoInterface;
        out = shared_from_this();
        return kSOk;
    }

    // S_OK with the measurement; S_FALSE and zeros when no frames reach the
    // filter; a fault's code with zeros.
    HResult GetMeasurement(uint8_t* p0, uint8_t* p8, uint8_t* p16, uint8_t* p24, uint8_t* p32, uint8_t* p40) override {
        if (!p0 || !p8 || !p16 || !p24 || !p32 || !p40) return kEPointer;
        for (uint8_t* p : {p0, p8, p16, p24, p32, p40}) std::memset(p, 0, 8);
        if (HResult hr = m_analyzer.Faults().Next("AnalyzerGetMeasurement")) return hr;
        auto filter = m_filter.lock();
        if (!filter || !VideoAnalyzer::Receives(*filter)) return kSFalse;
        AnalyzerReading r = m_analyzer.Measure();
        m_analyzer.Report(r);
        int64_t start = static_cast<int64_t>(r.windowStartUs * 10), end = static_cast<int64_t>(r.nowUs * 10);
        int64_t mean = static_cast<int64_t>(r.meanIntervalUs * 10);
        Put(p0, &r.frames, 8);
        Put(p8, &start, 8);
        Put(p16, &end, 8);
        Put(p24, &mean, 8);
        Put(p32, &r.frameRate, sizeof r.frameRate);
        Put(p40, &r.longGaps, 8);
        return kSOk;
    }

private:
    VideoAnalyzer& m_analyzer;
    std::weak_ptr<SimFilter> m_filter;
};

}  // namespace

HResult VideoAnalyzer::Interface(SimFilter& filter, const Guid& iid, port::ComPtr& out) {
    out.reset();
    if (iid != guids::kIidVideoAnalyzer) return kENoInterface;
    std::erase_if(m_filters, [](const std::weak_ptr<SimFilter>& f) { return f.expired(); });
    m_filters.push_back(filter.weak_from_this());
    out = std::make_shared<SimVideoAnalyzer>(*this, filter.weak_from_this());
    return kSOk;
}

bool VideoAnalyzer::Receives(const SimFilter& filter) {
    if (!filter.running) return false;
    for (const auto& pin : filter.Pins())
        if (pin->Desc().direction == PinDirection::Input && FedByDecoder(*pin, 0)) return true;
    return false;
}

void VideoAnalyzer::Frame(uint64_t atUs) {
    bool seen = false;
    for (const auto& f : m_filters)
        if (auto filter = f.lock(); filter && Receives(*filter)) seen = true;
    if (!seen) return;
    m_frames.push_back(atUs);
    while (!m_frames.empty() && m_frames.front() + 2 * kWindowUs < atUs) m_frames.pop_front();
}

// The rate the frames of the window arrived at; a stream that has gone quiet
// for longer than two of its own intervals counts its silence too.
AnalyzerReading VideoAnalyzer::Measure() {
    if (m_settle) m_settle();
    AnalyzerReading r;
    r.nowUs = m_nowUs();
    r.windowStartUs = r.nowUs > kWindowUs ? r.nowUs - kWindowUs : 0;
    auto first = m_frames.begin();
    while (first != m_frames.end() && (*first < r.windowStartUs || *first > r.nowUs)) ++first;
    size_t n = static_cast<size_t>(m_frames.end() - first);
    r.frames = n;
    if (n < 2) return r;
    uint64_t t0 = *first, t1 = m_frames.back();
    r.windowStartUs = t0;
    uint64_t span = t1 - t0;
    r.meanIntervalUs = span / (n - 1);
    if (r.nowUs - t1 > 2 * r.meanIntervalUs) span = r.nowUs - t0;
    r.frameRate = span ? static_cast<float>(static_cast<double>(n - 1) * 1e6 / static_cast<double>(span)) : 0.0f;
    r.intervalsUs.reserve(n - 1);
    for (auto it = first; it + 1 != m_frames.end(); ++it) {
        r.intervalsUs.push_back(*(it + 1) - *it);
        if (2 * r.intervalsUs.back() > 3 * r.meanIntervalUs) ++r.longGaps;
    }
    return r;
}

void VideoAnalyzer::Report(const AnalyzerReading& reading) const {
    if (!m_events) return;
    std::string intervals;
    for (uint64_t us : reading.intervalsUs) intervals += (intervals.empty() ? "" : " ") + std::to_string(us);
    m_events(PlatformEvent{"Platform",
                           {{"what", std::string("AnalyzerMeasurement")},
                            {"frames", static_cast<int64_t>(reading.frames)},
                            {"setInterval", m_setIntervalUs ? m_setIntervalUs() : int64_t{0}},
                            {"intervals", std::move(intervals)}}});
}

}  // namespace orbex::sim
