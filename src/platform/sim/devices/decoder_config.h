// The [Decoder] section of a board profile.
#pragma once

#include "platform/sim/devices/decoder.h"

namespace orbex::sim {

struct ProfileEntry;

void ReadKey(DecoderConfig& config, const ProfileEntry& entry);

}  // namespace orbex::sim
