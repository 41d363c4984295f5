#include "platform/sim/devices/decoder.h"

#include "platform/guids.h"
#include "platform/sim/ledger.h"

namespace orbex::sim {

LineFamily StandardFamily(uint32_t standard) {
    return (standard & 0xA07) ? LineFamily::Lines525 : LineFamily::Lines625;
}

StandardGroup GroupOf(uint32_t standard) {
    if (standard & 0xA07) return kGroupNtsc;
    if (standard & 0xFF000) return kGroupSecam;
    return kGroupPal;
}

class SimAnalogVideoDecoder final : public port::IAMAnalogVideoDecoder,
                                    public std::enable_shared_from_this<SimAnalogVideoDecoder> {
    LedgerToken m_ledgerEntry{"COM", "IAMAnalogVideoDecoder"};  // counted while the object lives
public:
    explicit SimAnalogVideoDecoder(DecoderModel& model) : m(model) {}

    HResult QueryInterface(const Guid& iid, port::ComPtr& out) override {
        out.reset();
        if (iid != guids::kIidAnalogVideoDecoder && iid != guids::kIidUnknown) return kENoInterface;
        out = shared_from_this();
        return kSOk;
    }
    HResult get_AvailableTVFormats(int32_t* standards) override {
        if (!standards) return kEPointer;
        if (HResult hr = m.m_faults.Next("DecoderGetAvailableTVFormats")) return hr;
        *standards = static_cast<int32_t>(m.m_config.available);
        return kSOk;
    }
    // One standard bit the decoder accepts; anything else gets the refusal.
    HResult put_TVFormat(int32_t standard) override {
        if (HResult hr = m.m_faults.Next("DecoderPutTVFormat")) return hr;
        uint32_t s = static_cast<uint32_t>(standard);
        if (s == 0 || (s & (s - 1)) != 0 || !(s & m.m_config.accepted)) return m.m_config.refusal;
        m.Settle();
        m.m_standard = s;
        return kSOk;
    }
    HResult get_TVFormat(int32_t* standard) override {
        if (!standard) return kEPointer;
        if (HResult hr = m.m_faults.Next("DecoderGetTVFormat")) return hr;
        *standard = static_cast<int32_t>(m.m_standard);
        return kSOk;
    }
    HResult get_HorizontalLocked(int32_t* locked) override {
        if (!locked) return kEPointer;
        if (HResult hr = m.m_faults.Next("DecoderGetHorizontalLocked")) return hr;
        *locked = m.Locked() ? 1 : 0;
        return kSOk;
    }
    HResult get_NumberOfLines(int32_t* lines) override {
        if (!lines) return kEPointer;
        if (HResult hr = m.m_faults.Next("DecoderGetNumberOfLines")) return hr;
        int32_t forced = m.m_config.lines[GroupOf(m.m_standard)];
        *lines = forced ? forced : StandardFamily(m.m_standard) == LineFamily::Lines525 ? 525 : 625;
        return kSOk;
    }
    HResult put_OutputEnable(int32_t enable) override {
        if (HResult hr = m.m_faults.Next("DecoderPutOutputEnable")) return hr;
        m.Settle();
        m.m_outputEnabled = enable != 0;
        return kSOk;
    }
    HResult get_OutputEnable(int32_t* enable) override {
        if (!enable) return kEPointer;
        if (HResult hr = m.m_faults.Next("DecoderGetOutputEnable")) return hr;
        *enable = m.m_outputEnabled ? 1 : 0;
        return kSOk;
    }

private:
    DecoderModel& m;
};

DecoderModel::DecoderModel(const DecoderConfig& config, SignalPath& signal, FaultTable& faults)
    : m_config(config),
      m_signal(signal),
      m_faults(faults),
      m_standard(config.startStandard),
      m_outputEnabled(config.startEnabled) {
    if (!m_config.acceptedSet) m_config.accepted = m_config.available;
}

// Locked when the input carries a signal of the selected standard's line
// family, unless the profile forces the standard's group on or off.
bool DecoderModel::LockedAt(uint32_t at) const {
    switch (m_config.lock[GroupOf(m_standard)]) {
        case LockMode::On: return true;
        case LockMode::Off: return false;
        case LockMode::Signal: break;
    }
    DecoderInput input = m_signal.InputAt(at);
    return input.signal && input.source.family == StandardFamily(m_standard);
}

std::shared_ptr<port::IAMAnalogVideoDecoder> DecoderModel::Interface() {
    return std::make_shared<SimAnalogVideoDecoder>(*this);
}

}  // namespace orbex::sim
