// The board's mask library: the 32-bit feature mask of an MMTable. The kernel
// driver answers mask requests with it; the database's [MMMask] entries are
// written from the same rule (docs/board-database.md).
#pragma once

#include <cstdint>

namespace orbex::sim {

constexpr uint32_t kMaskVideoInput = 0x1;          // at least one video input
constexpr uint32_t kMaskTuner = 0x2;               // tuner type not 0
constexpr uint32_t kMaskI2cDecoder = 0x4;          // decoder type 1-5
constexpr uint32_t kMaskVipDecoder = 0x20;         // decoder type 6-7
constexpr uint32_t kMaskVipAudio = 0x40;           // audio type 9
constexpr uint32_t kMaskMacrovision = 0x80;        // any decoder
constexpr uint32_t kMaskI2cAudioCrossbar = 0x100;  // audio type 1-8
constexpr uint32_t kMaskParental = 0x200;          // tuner and decoder
constexpr uint32_t kMaskTeletext = 0x400;          // teletext bits and a decoder
constexpr uint32_t kMaskPowerDown = 0x800;         // power-down byte on a board with a tuner
constexpr int kMaskInputCountShift = 12;           // bits 12-14: the number of video inputs

uint32_t FeatureMask(const uint8_t* table);  // the twelve MMTable bytes

}  // namespace orbex::sim
