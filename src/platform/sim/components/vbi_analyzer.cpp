#include "platform/sim/components/vbi_analyzer.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "common/base64.h"
#include "platform/guids.h"
#include "platform/sim/ledger.h"

namespace orbex::sim {
namespace {

// The record as six windows: bytes 0-39 through the pointer of their 8-byte
// slot, bytes 40-119 through the last pointer.
class RecordWriter {
public:
    explicit RecordWriter(uint8_t* const (&slots)[6]) : m_slots(slots) {}

    void Zero() {
        for (int i = 0; i < 5; ++i) std::memset(m_slots[i], 0, 8);
        std::memset(m_slots[5], 0, port::kVbiRecordSize - 40);
    }
    void Int(int offset, int32_t value) { Bytes(offset, &value, sizeof value); }
    void Byte(int offset, uint8_t value) { Bytes(offset, &value, 1); }

private:
    void Bytes(int offset, const void* data, size_t size) {
        uint8_t* base = offset < 40 ? m_slots[offset / 8] + offset % 8 : m_slots[5] + (offset - 40);
        std::memcpy(base, data, size);  // fields never straddle a slot
    }
    uint8_t* const (&m_slots)[6];
};

uint8_t WithParity(uint8_t c) {
    int ones = 0;
    for (int b = 0; b < 7; ++b) ones += c >> b & 1;
    return static_cast<uint8_t>(ones % 2 ? c : c | 0x80);  // odd parity over 8 bits
}

class SimVbiAnalyzer final : public port::IVBIAnalyzer, public std::enable_shared_from_this<SimVbiAnalyzer> {
    LedgerToken m_ledgerEntry{"COM", "IVBIAnalyzer"};  // counted while the object lives
public:
    SimVbiAnalyzer(VbiAnalyzer& analyzer, std::weak_ptr<SimFilter> filter)
        : m_analyzer(analyzer), m_filter(std::move(filter)) {}

    HResult QueryInterface(const Guid& iid, port::ComPtr& out) override {
        out.reset();
        if (iid != guids::kIidVbiAnalyzer && iid != guids::kIidUnknown) return kENoInterface;
        out = shared_from_this();
        return kSOk;
    }

    // S_OK with the analysis of the current line 21; S_FALSE and a zero record
    // without data; a fault's code with a zero record.
    HResult GetVBIData(uint8_t* p0, uint8_t* p8, uint8_t* p16, uint8_t* p24, uint8_t* p32, uint8_t* p40) override {
        if (!p0 || !p8 || !p16 || !p24 || !p32 || !p40) return kEPointer;
        uint8_t* const slots[6] = {p0, p8, p16, p24, p32, p40};
        RecordWriter record(slots);
        record.Zero();
        if (HResult hr = m_analyzer.Faults().Next("VbiGetData")) return hr;
        auto filter = m_filter.lock();
        if (!filter || !VbiAnalyzer::Receives(*filter)) return kSFalse;

        VbiLine line = m_analyzer.Source().Line21();
        const line21::SamplingFormat& format = kVbiFormat;
        line21::DecodeResult r = line21::DecodeLine(line.samples.data(), line.samples.size(), format);
        if (m_analyzer.Events())
            m_analyzer.Events()(
                PlatformEvent{"Platform",
                              {{"what", std::string("VbiLine")},
                               {"line", int64_t{21}},
                               {"frame", static_cast<int64_t>(line.frame)},
                               {"rate", static_cast<int64_t>(std::llround(format.rateHz))},
                               {"startNs", static_cast<int64_t>(std::llround(format.startMicroseconds * 1000))},
                               {"blank", int64_t{format.blankLevel}},
                               {"level50", int64_t{format.level50Ire}},
                               {"samples", EncodeBase64(line.samples.data(), line.samples.size())}}});
        auto [low, high] = std::minmax_element(line.samples.begin(), line.samples.end());
        record.Int(vbi_record::kFrame, static_cast<int32_t>(line.frame));
        record.Int(vbi_record::kField, 1);
        record.Int(vbi_record::kRateHz, static_cast<int32_t>(std::lround(format.rateHz)));
        record.Int(vbi_record::kSamples, static_cast<int32_t>(line.samples.size()));
        record.Int(vbi_record::kLowest, *low);
        record.Int(vbi_record::kHighest, *high);
        record.Int(vbi_record::kLineSampled, 21);
        record.Int(vbi_record::kRunIn, -1);
        if (r.valid) {
            record.Byte(vbi_record::kChars, r.first);
            record.Byte(vbi_record::kChars + 1, r.second);
            record.Byte(vbi_record::kRawBytes, WithParity(r.first));
            record.Byte(vbi_record::kRawBytes + 1, WithParity(r.second));
            record.Int(vbi_record::kValid, 1);
            record.Int(vbi_record::kQuality, static_cast<int32_t>(std::lround(std::clamp(r.quality, 0.0, 1.0) * 1000)));
            record.Int(vbi_record::kRunIn, r.runInStart);
            record.Int(vbi_record::kCaptionLine, 21);
        }
        return kSOk;
    }

private:
    VbiAnalyzer& m_analyzer;
    std::weak_ptr<SimFilter> m_filter;
};

}  // namespace

HResult VbiAnalyzer::Interface(SimFilter& filter, const Guid& iid, port::ComPtr& out) {
    out.reset();
    if (iid != guids::kIidVbiAnalyzer) return kENoInterface;
    out = std::make_shared<SimVbiAnalyzer>(*this, filter.weak_from_this());
    return kSOk;
}

bool VbiAnalyzer::Receives(const SimFilter& filter) {
    if (!filter.running) return false;
    for (const auto& pin : filter.Pins()) {
        if (pin->Desc().direction != PinDirection::Input || pin->Desc().medium != "vbi") continue;
        auto peer = pin->Peer();
        auto source = peer ? peer->Owner() : nullptr;
        if (source && source->Role() == FilterRole::Decoder && peer->Desc().medium == "vbi") return true;
    }
    return false;
}

}  // namespace orbex::sim
