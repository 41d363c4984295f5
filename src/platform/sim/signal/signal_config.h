// The signal sections of a board profile: [Signal] (the routed source) and
// [Source.Tuner], [Source.Composite], [Source.SVideo] (what each carries).
#pragma once

#include "platform/sim/signal/signal_path.h"

namespace orbex::sim {

struct ProfileEntry;

void ReadKey(SignalConfig& config, const ProfileEntry& entry);
void ReadSourceKey(SignalConfig& config, const ProfileEntry& entry);
// One key of what a source carries (Signal, Lines, Picture, Coverage and the
// caption keys), shared by [Source.X] and the tuner's [Channel.N].
void ReadSourceConfigKey(SourceConfig& source, const ProfileEntry& entry);

}  // namespace orbex::sim
