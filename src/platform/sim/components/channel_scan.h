// The board's linear channel-scan object QelAnalogLCS, an outside COM
// component: bound to the tuner filter (Connect), set to a country's channel
// table (SetCountryCode), it tunes every channel of that table through the
// tuner in order, waits for the tuner to settle and asks the caller's callback
// whether the channel locked (AutoTune). Each scan is also a ChannelScan event:
// the channels tuned and the lock the caller found on each.
#pragma once

#include <functional>
#include <memory>

#include "platform/sim/devices/tuner.h"
#include "platform/sim/events.h"
#include "platform/sim/faults.h"
#include "platform/sim/machine/clock.h"
#include "platform/sim/machine/com.h"
#include "platform/sim/media/filter.h"

namespace orbex::sim {

struct ChannelScanConfig {
    bool object = false;  // the class is registered (its DLL installed)
};

// AutoTune before Connect and SetCountryCode succeeded.
constexpr HResult kLcsNotReady = static_cast<HResult>(0x8000FFFF);  // E_UNEXPECTED

class ChannelScan {
public:
    // isTunerFilter: whether a filter is a tuner filter of this board.
    ChannelScan(const ChannelScanConfig& config, TunerModel& tuner, VirtualClock& clock, FaultTable& faults,
                std::function<bool(const port::IBaseFilter&)> isTunerFilter, EventSink events);

    void RegisterClasses(ComRuntime& com);

private:
    friend class SimChannelScan;

    ChannelScanConfig m_config;
    TunerModel& m_tuner;
    VirtualClock& m_clock;
    FaultTable& m_faults;
    std::function<bool(const port::IBaseFilter&)> m_isTunerFilter;
    EventSink m_events;
};

}  // namespace orbex::sim
