// The [Power] and [ScreenSaver] sections of a board profile: how the machine
// answers a suspend, and the system's screen saver setting at start.
#pragma once

#include <cstdint>

namespace orbex::sim {

struct ProfileEntry;

struct PowerConfig {
    bool suspendAllowed = true;    // Suspend=allowed|refused
    uint32_t suspendSeconds = 20;  // how long a suspend lasts, in virtual seconds
    bool captureResumes = true;    // whether frames flow again after a suspend
};

struct ScreenSaverConfig {
    bool active = true;  // the screen saver setting (SPI_GETSCREENSAVEACTIVE)
};

void ReadKey(PowerConfig& config, const ProfileEntry& entry);
void ReadKey(ScreenSaverConfig& config, const ProfileEntry& entry);

}  // namespace orbex::sim
