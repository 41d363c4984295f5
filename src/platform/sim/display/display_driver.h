// The display driver: device contexts, the DREX escape that answers the
// board's multimedia and hardware tables, and the monitors.
#pragma once

#include <set>

#include "platform/ports.h"
#include "platform/sim/display/display_config.h"
#include "platform/sim/faults.h"
#include "platform/sim/ledger.h"

namespace orbex::sim {

class DisplayDriver final : public port::IDisplay {
public:
    DisplayDriver(const DisplayConfig& config, FaultTable& faults) : m_config(config), m_faults(faults) {}

    port::DisplayDc CreateDisplayDc(const char* driver) override;
    int32_t ExtEscape(port::DisplayDc dc, int32_t escape, int32_t inSize, const void* in, int32_t outSize,
                      void* out) override;
    bool DeleteDC(port::DisplayDc dc) override;
    bool EnumDisplayMonitors(const std::function<bool()>& onMonitor) override;

private:
    const DisplayConfig& m_config;
    FaultTable& m_faults;
    std::set<port::DisplayDc> m_dcs;
    port::DisplayDc m_nextDc = 0x1000;
    HandleLedger m_ledger;  // the open handles, counted
    uint32_t m_mmTableAnswers = 0;
    uint32_t m_hwTableAnswers = 0;
};

}  // namespace orbex::sim
