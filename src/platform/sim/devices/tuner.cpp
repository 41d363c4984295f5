#include "platform/sim/devices/tuner.h"

#include "platform/guids.h"
#include "platform/sim/ledger.h"

namespace orbex::sim {

class SimTvTuner final : public port::IAMTVTuner, public std::enable_shared_from_this<SimTvTuner> {
    LedgerToken m_ledgerEntry{"COM", "IAMTVTuner"};  // counted while the object lives
public:
    explicit SimTvTuner(TunerModel& model) : m(model) {}

    HResult QueryInterface(const Guid& iid, port::ComPtr& out) override {
        out.reset();
        if (iid != guids::kIidAmTvTuner && iid != guids::kIidUnknown) return kENoInterface;
        out = shared_from_this();
        return kSOk;
    }
    HResult get_AvailableTVFormats(int32_t* standards) override {
        if (!standards) return kEPointer;
        if (HResult hr = m.m_faults.Next("TunerGetAvailableTVFormats")) return hr;
        *standards = static_cast<int32_t>(m.m_config.formats);
        return kSOk;
    }
    HResult get_AvailableModes(int32_t* modes) override {
        if (!modes) return kEPointer;
        if (HResult hr = m.m_faults.Next("TunerGetAvailableModes")) return hr;
        *modes = m.m_config.modes;
        return kSOk;
    }
    HResult get_CountryCode(int32_t* code) override {
        if (!code) return kEPointer;
        if (HResult hr = m.m_faults.Next("TunerGetCountryCode")) return hr;
        *code = m.m_config.countryCode;
        return kSOk;
    }
    HResult get_Channel(int32_t* channel, int32_t* videoSubChannel, int32_t* audioSubChannel) override {
        if (!channel || !videoSubChannel || !audioSubChannel) return kEPointer;
        if (HResult hr = m.m_faults.Next("TunerGetChannel")) return hr;
        *channel = m.m_channel;
        *videoSubChannel = m.m_videoSubChannel;
        *audioSubChannel = m.m_audioSubChannel;
        return kSOk;
    }
    // Sub-channels of -1 are the defaults; below -1 nothing is tuned.
    HResult put_Channel(int32_t channel, int32_t videoSubChannel, int32_t audioSubChannel) override {
        if (HResult hr = m.m_faults.Next("TunerPutChannel")) return hr;
        if (videoSubChannel < -1 || audioSubChannel < -1 || !m.Tune(channel)) return kEInvalidArg;
        m.m_videoSubChannel = videoSubChannel;
        m.m_audioSubChannel = audioSubChannel;
        return kSOk;
    }

private:
    TunerModel& m;
};

TunerModel::TunerModel(const TunerConfig& config, const SourceConfig& everyChannel, SignalPath& signal,
                       VirtualClock& clock, FaultTable& faults)
    : m_config(config),
      m_everyChannel(everyChannel),
      m_signal(signal),
      m_clock(clock),
      m_faults(faults),
      m_channel(config.powerOnChannel),
      m_tunedAt(clock.Now()) {}

ChannelTable TunerModel::Table() const {
    if (auto t = ChannelTableOf(m_config.countryCode)) return *t;
    return *ChannelTableOf(1);
}

bool TunerModel::Tune(int32_t channel) {
    if (!Table().Contains(channel)) return false;
    // Asked for the channel it is on, the tuner stays locked (or keeps settling).
    if (channel == m_channel) return true;
    m_signal.BeforeChange();  // the frames so far came from the old channel
    m_channel = channel;
    m_tunedAt = m_clock.Now();
    m_settling = m_config.settleMs > 0;
    return true;
}

SourceConfig TunerModel::OutputAt(uint32_t at) const {
    SourceConfig out = m_everyChannel;
    if (!m_config.channels.empty()) {
        auto it = m_config.channels.find(m_channel);
        if (it != m_config.channels.end()) {
            out = it->second;
        } else {
            out = NoSignal();
        }
    }
    if (m_settling && at - m_tunedAt < m_config.settleMs) out.signal = false;
    return out;
}

std::optional<uint32_t> TunerModel::SettlesWithin(uint32_t from, uint32_t to) const {
    if (!m_settling) return std::nullopt;
    uint32_t end = m_tunedAt + m_config.settleMs;
    uint32_t span = to - from;
    uint32_t offset = end - from;
    if (offset == 0 || offset > span) return std::nullopt;
    return end;
}

std::shared_ptr<port::IAMTVTuner> TunerModel::Interface() {
    return std::make_shared<SimTvTuner>(*this);
}

}  // namespace orbex::sim
