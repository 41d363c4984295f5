// The [ChannelScan] section of a board profile.
#pragma once

#include "platform/sim/components/channel_scan.h"

namespace orbex::sim {

struct ProfileEntry;

void ReadKey(ChannelScanConfig& config, const ProfileEntry& entry);

}  // namespace orbex::sim
