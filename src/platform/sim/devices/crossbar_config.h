// The [Crossbar] section of a board profile.
#pragma once

#include "platform/sim/devices/crossbar.h"

namespace orbex::sim {

struct ProfileEntry;

void ReadKey(CrossbarConfig& config, const ProfileEntry& entry);

}  // namespace orbex::sim
