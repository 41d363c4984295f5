// The [Desktop] section of a board profile: the host window the harness
// lends the library, the system's metrics and where the cursor starts.
#pragma once

#include <cstdint>

namespace orbex::sim {

struct ProfileEntry;

struct DesktopConfig {
    bool hostWindow = true;  // the hosting program lends a window
    int32_t clientWidth = 640;
    int32_t clientHeight = 480;
    int32_t borderHeight = 1;  // the system's border height metric
    int32_t cursorX = 320;     // the cursor's screen position at start
    int32_t cursorY = 240;
};

void ReadKey(DesktopConfig& config, const ProfileEntry& entry);

}  // namespace orbex::sim
