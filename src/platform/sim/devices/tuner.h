// The board's TV tuner: formats, modes and country code from the profile, the
// channel plan of the antenna, and the current channel, whose signal is the
// tuner source of the signal path. After a channel change the tuner settles
// for a while (virtual time) and delivers no signal.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>

#include "platform/sim/faults.h"
#include "platform/sim/machine/clock.h"
#include "platform/sim/signal/channel_tables.h"
#include "platform/sim/signal/signal_path.h"
#include "platform/tuner.h"

namespace orbex::sim {

struct TunerConfig {
    uint32_t formats = 0x3;  // get_AvailableTVFormats: NTSC_M and NTSC_M_J
    int32_t modes = port::kTunerModeTv;
    int32_t countryCode = 1;
    int32_t powerOnChannel = 4;
    uint32_t settleMs = 0;  // no signal for this long after a channel change
    // The channel plan: what each channel of the antenna carries. Empty: every
    // channel carries [Source.Tuner]; otherwise a channel not listed carries nothing.
    std::map<int32_t, SourceConfig> channels;
};

class TunerModel {
public:
    TunerModel(const TunerConfig& config, const SourceConfig& everyChannel, SignalPath& signal, VirtualClock& clock,
               FaultTable& faults);

    // What the tuner delivers at a virtual time.
    SourceConfig OutputAt(uint32_t at) const;
    // When the current settling ends, if that lies in (from, to].
    std::optional<uint32_t> SettlesWithin(uint32_t from, uint32_t to) const;

    // Tunes a channel of the table the tuner's country code selects (a code
    // without a table uses the USA's); false for any other channel.
    bool Tune(int32_t channel);
    int32_t Channel() const { return m_channel; }
    int32_t VideoSubChannel() const { return m_videoSubChannel; }
    int32_t AudioSubChannel() const { return m_audioSubChannel; }
    uint32_t SettleMs() const { return m_config.settleMs; }
    ChannelTable Table() const;
    // The interface as the tuner filter hands it out.
    std::shared_ptr<port::IAMTVTuner> Interface();

private:
    friend class SimTvTuner;

    TunerConfig m_config;
    SourceConfig m_everyChannel;
    SignalPath& m_signal;
    VirtualClock& m_clock;
    FaultTable& m_faults;
    int32_t m_channel;
    int32_t m_videoSubChannel = -1;
    int32_t m_audioSubChannel = -1;
    uint32_t m_tunedAt;
    bool m_settling = false;
};

}  // namespace orbex::sim
