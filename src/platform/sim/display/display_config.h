// The display's sections of a board profile: [Display] (monitors, the DREX
// escape and its tables) and [VideoMemory].
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace orbex::sim {

struct ProfileEntry;

struct DisplayConfig {
    int32_t monitors = 1;
    bool escapeServed = true;
    int32_t escapeRefusedResult = -1;
    std::vector<uint8_t> mmTable;
    std::optional<uint32_t> mmTableBytesReturned;
    std::vector<uint8_t> hwTable;
    uint32_t value14000B = 0;
    // Per function: a non-zero escape result refuses that function alone.
    int32_t mmTableResult = 0;
    int32_t hwTableResult = 0;
    int32_t result14000B = 0;
    // A table the driver changes: after the given number of answers it
    // answers the later table instead.
    std::vector<uint8_t> mmTableLater;
    std::optional<uint32_t> mmTableChangesAfter;
    std::vector<uint8_t> hwTableLater;
    std::optional<uint32_t> hwTableChangesAfter;
};

struct VideoMemoryConfig {
    uint32_t total = 8u << 20;
    uint32_t free = 6u << 20;
    uint32_t leak = 0;  // bytes the overlay path keeps for each run it took part in
};

void ReadKey(DisplayConfig& config, const ProfileEntry& entry);
void ReadKey(VideoMemoryConfig& config, const ProfileEntry& entry);
// Refuses more free video memory than there is (at the profile's last line).
void CheckVideoMemory(const VideoMemoryConfig& config, int lastLine);

}  // namespace orbex::sim
