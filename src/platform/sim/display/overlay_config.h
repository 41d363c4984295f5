// The overlay sections of a board profile: [OverlayMixer] and [Surface.NAME].
#pragma once

#include "platform/sim/display/overlay_surfaces.h"

namespace orbex::sim {

struct ProfileEntry;

// A flipping 720x480 UYVY overlay on a 1024x768 true-colour desktop; a
// profile's [Surface.NAME] sections change or add to these.
SurfaceConfigs DefaultSurfaces();

struct OverlayMixerConfig {
    bool filter = true;         // the Overlay Mixer class is installed
    bool exclusiveMode = true;  // it exposes IDDrawExclModeVideo
    SurfaceConfigs surfaces = DefaultSurfaces();
};

void ReadKey(OverlayMixerConfig& config, const ProfileEntry& entry);
void ReadSurfaceKey(OverlayMixerConfig& config, const ProfileEntry& entry);
// Every surface must fit the memory limit. (A pitch that cannot hold a row is
// allowed: rows are cut at the pitch, as a lying driver's would be read.)
void CheckSurfaces(const OverlayMixerConfig& config, int lastLine);

}  // namespace orbex::sim
