// What every DirectShow object of the virtual board shares: the profile's
// media sections, the fault table and the kit-file registrations.
#pragma once

#include <functional>

#include "platform/sim/faults.h"
#include "platform/sim/media/media_config.h"

namespace orbex::sim {

struct MediaContext {
    const MediaConfig& config;
    FaultTable& faults;
    // Whether a filter class that comes from a kit file has been registered.
    std::function<bool(const FilterClassSpec&)> isRegistered;
};

}  // namespace orbex::sim
