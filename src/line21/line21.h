// Line-21 closed captions (NTSC, odd field) as raw VBI line samples: an
// encoder that draws the waveform for two characters and a decoder that finds
// it in a captured line. Free of any platform code.
//
// The waveform (47 CFR 15.119 and 73.682(a)(22), the FCC's description of the
// line-21 data signal): 7 cycles of a sine at the bit rate (32 x the line
// frequency) starting 10.5 us after the leading edge of horizontal sync, then
// the start bits 0 0 1, then two bytes of 7 data bits, least significant
// first, each followed by an odd-parity bit. Logic 0 is at blanking, logic 1
// at 50 IRE; the run-in swings between the two. docs/line21.md has the rest.
#pragma once

#include <cstddef>
#include <cstdint>

namespace orbex::line21 {

// How a capture board samples a VBI line into 8-bit samples.
struct SamplingFormat {
    double rateHz;             // sampling rate
    uint32_t samples;          // samples per line delivered
    double startMicroseconds;  // time of sample 0 after the leading edge of sync
    uint8_t blankLevel;        // sample value of blanking (0 IRE)
    uint8_t level50Ire;        // sample value of 50 IRE
};

// The formats of real boards' VBI pins. Levels: blanking at 16 and 100 IRE at
// 235 (ITU-R BT.601 luma range), so 50 IRE at 126. Each window holds the
// waveform from at least 1.5 us before the run-in to past the last bit.
inline constexpr SamplingFormat kFormat8Fsc{28'636'363.0, 1600, 7.5, 16, 126};     // 55.9 us, 7.5-63.4 us
inline constexpr SamplingFormat kFormat27MHz{27'000'000.0, 1440, 9.0, 16, 126};    // 53.3 us, 9.0-62.3 us
inline constexpr SamplingFormat kFormat8FscPal{35'468'950.0, 2048, 6.0, 16, 126};  // 57.7 us, 6.0-63.7 us
inline constexpr SamplingFormat kFormat13MHz{13'500'000.0, 720, 9.0, 16, 126};     // 53.3 us, 9.0-62.3 us

// What the encoder does to the ideal waveform. Levels are in IRE.
struct Impairments {
    double amplitude = 1.0;        // gain of the waveform above blanking
    double dcOffsetIre = 0;        // added to every sample
    double noiseRmsIre = 0;        // Gaussian noise (band-limited with the signal)
    double phaseMicroseconds = 0;  // run-in start later (+) or earlier (-) than 10.5 us
    uint32_t seed = 0;             // of the noise
    bool bandLimit = true;         // shaped edges and noise limited to 4.2 MHz; else sharp steps and white noise
    bool runIn = true;             // false: blanking where the run-in belongs (data only)
    uint8_t flipParity = 0;        // bit 0: the first byte's parity bit inverted, bit 1: the second's
};

// Draws the line for the 7-bit characters first and second (bit 7 ignored;
// parity added here) into format.samples samples.
void EncodeLine(uint8_t first, uint8_t second, const SamplingFormat& format, const Impairments& impairments,
                uint8_t* samples);

struct DecodeResult {
    bool valid = false;  // run-in, start bits and both parities found
    uint8_t first = 0;   // 7-bit characters, when valid
    uint8_t second = 0;
    int runInStart = -1;  // sample index of the run-in start (inside the line), when valid
    double quality = 0;   // eye opening, when valid: (lowest one - highest zero) / run-in swing, 0..1
};

// Decodes line 21 from count samples of the given format. A line without a
// run-in, without the start bits or with a parity error is not valid. Reads
// only samples[0, count).
DecodeResult DecodeLine(const uint8_t* samples, size_t count, const SamplingFormat& format);

}  // namespace orbex::line21
