// The [Tuner] section of a board profile and the channel plan, [Channel.N].
#pragma once

#include <string>

#include "platform/sim/devices/tuner.h"

namespace orbex::sim {

struct ProfileEntry;

void ReadKey(TunerConfig& config, const ProfileEntry& entry);
// The channel a [Channel.N] section describes, created at its header (a
// channel listed without keys carries the default signal).
SourceConfig& ChannelOf(TunerConfig& config, const std::string& section, int line);
void ReadChannelKey(TunerConfig& config, const ProfileEntry& entry);

}  // namespace orbex::sim
