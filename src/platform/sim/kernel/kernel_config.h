// The [KernelDriver] section of a board profile: whether the board's kernel
// driver is installed, and a mask library that gets one configuration wrong.
#pragma once

#include <cstdint>
#include <vector>

namespace orbex::sim {

struct ProfileEntry;

struct KernelDriverConfig {
    bool present = true;
    std::vector<uint8_t> wrongMaskTable;  // empty, or the twelve bytes of the configuration answered wrong
    uint32_t wrongMaskBits = 0;           // the bits flipped in that configuration's mask
    uint32_t replyStatus = 0x54530000;    // the status of every understood request (this value: mask valid)
};

void ReadKey(KernelDriverConfig& config, const ProfileEntry& entry);

}  // namespace orbex::sim
