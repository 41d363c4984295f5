// The logging component: when the profile has it installed, its class
// creates a log writer.
#pragma once

#include "platform/ports.h"
#include "platform/sim/components/components_config.h"
#include "platform/sim/events.h"
#include "platform/sim/faults.h"
#include "platform/sim/machine/clock.h"
#include "platform/sim/machine/com.h"
#include "platform/sim/machine/path_map.h"

namespace orbex::sim {

class LoggingComponent {
public:
    LoggingComponent(const ComponentsConfig& config, FaultTable& faults, port::ISystemInfo& system,
                     const PathMap& paths, const VirtualClock& clock, EventSink events)
        : m_config(config),
          m_faults(faults),
          m_system(system),
          m_paths(paths),
          m_clock(clock),
          m_events(std::move(events)) {}

    void RegisterClasses(ComRuntime& com);

private:
    HResult Create(const Guid& iid, port::ComPtr& out);

    const ComponentsConfig& m_config;
    FaultTable& m_faults;
    port::ISystemInfo& m_system;
    const PathMap& m_paths;
    const VirtualClock& m_clock;
    EventSink m_events;
};

}  // namespace orbex::sim
