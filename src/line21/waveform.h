// Timing of the line-21 waveform, shared by the encoder and the decoder.
#pragma once

#include <bit>
#include <cstdint>

namespace orbex::line21::waveform {

inline constexpr double kLineHz = 15'734.264;                     // NTSC colour line frequency
inline constexpr double kBitMicroseconds = 1e6 / (32 * kLineHz);  // 1.986 us (503.5 kHz)
inline constexpr double kRunInMicroseconds = 10.5;                // run-in start after the sync edge
inline constexpr int kRunInCycles = 7;
inline constexpr int kBits = 19;  // start bits 0 0 1, then 2 x (7 data bits + parity)

// The 19 bits after the run-in for two 7-bit characters with odd parity.
inline uint32_t Frame(uint8_t first, uint8_t second) {
    auto withParity = [](uint8_t c) {
        c &= 0x7F;
        return uint32_t(c | ((std::popcount(c) & 1) ? 0 : 0x80));
    };
    return 0b100u | withParity(first) << 3 | withParity(second) << 11;  // bit i is sent i-th
}

}  // namespace orbex::line21::waveform
