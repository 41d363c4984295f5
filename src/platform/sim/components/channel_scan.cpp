#include "platform/sim/components/channel_scan.h"

#include <string>

#include "platform/guids.h"
#include "platform/sim/ledger.h"
#include "platform/sim/signal/channel_tables.h"

namespace orbex::sim {

class SimChannelScan final : public port::IQelAnalogLCS, public std::enable_shared_from_this<SimChannelScan> {
    LedgerToken m_ledgerEntry{"COM", "IQelAnalogLCS"};  // counted while the object lives
public:
    explicit SimChannelScan(ChannelScan& owner) : m(owner) {}

    HResult QueryInterface(const Guid& iid, port::ComPtr& out) override {
        out.reset();
        if (iid != guids::kIidQelAnalogLcs && iid != guids::kIidUnknown) return kENoInterface;
        out = shared_from_this();
        return kSOk;
    }
    HResult Connect(const std::shared_ptr<port::IBaseFilter>& tuner) override {
        if (HResult hr = m.m_faults.Next("LcsConnect")) return hr;
        if (!tuner || !m.m_isTunerFilter(*tuner)) return kEInvalidArg;
        m_connected = true;
        return kSOk;
    }
    HResult SetCountryCode(int32_t code) override {
        if (HResult hr = m.m_faults.Next("LcsSetCountryCode")) return hr;
        auto table = ChannelTableOf(code);
        if (!table) return kEInvalidArg;
        m_table = *table;
        return kSOk;
    }
    // Visits the table's channels in order; a channel the tuner cannot tune
    // is reported as progress only (second argument 0).
    HResult AutoTune(port::ScanProgressFn callback) override {
        if (HResult hr = m.m_faults.Next("LcsAutoTune")) return hr;
        if (!callback) return kEPointer;
        if (!m_connected || !m_table) return kLcsNotReady;
        const int32_t count = m_table->Count();
        std::string scanned;  // "channel:1" locked, ":0" not locked, ":-" not tunable
        for (int32_t i = 0; i < count; ++i) {
            bool tuned = m.m_tuner.Tune(m_table->first + i);
            if (tuned) m.m_clock.Sleep(m.m_tuner.SettleMs());
            int32_t locked = 0;
            int32_t percent = (i + 1) * 100 / count;
            const bool goOn = callback(percent, tuned ? 1 : 0, &locked) != 0;
            scanned += (scanned.empty() ? "" : " ") + std::to_string(m_table->first + i) + ":" +
                       (!tuned   ? "-"
                        : locked ? "1"
                                 : "0");
            if (!goOn) break;
        }
        if (m.m_events)
            m.m_events(PlatformEvent{"Platform", {{"what", std::string("ChannelScan")}, {"channels", scanned}}});
        return kSOk;
    }

private:
    ChannelScan& m;
    bool m_connected = false;
    std::optional<ChannelTable> m_table;
};

ChannelScan::ChannelScan(const ChannelScanConfig& config, TunerModel& tuner, VirtualClock& clock, FaultTable& faults,
                         std::function<bool(const port::IBaseFilter&)> isTunerFilter, EventSink events)
    : m_config(config),
      m_tuner(tuner),
      m_clock(clock),
      m_faults(faults),
      m_isTunerFilter(std::move(isTunerFilter)),
      m_events(std::move(events)) {}

void ChannelScan::RegisterClasses(ComRuntime& com) {
    if (!m_config.object) return;
    com.RegisterClass(guids::kClsidQelAnalogLcs, [this](const Guid& iid, port::ComPtr& out) -> HResult {
        out.reset();
        if (HResult hr = m_faults.Next("CreateChannelScan")) return hr;
        return std::make_shared<SimChannelScan>(*this)->QueryInterface(iid, out);
    });
}

}  // namespace orbex::sim
