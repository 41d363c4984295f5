// The line-21 waveform drawn sample by sample: a raised-cosine run-in, then
// NRZ bits whose edges are raised-cosine ramps half a bit wide when band
// limited, plus offset and noise.
#include <algorithm>
#include <cmath>
#include <numbers>

#include "line21/gaussian_noise.h"
#include "line21/line21.h"
#include "line21/waveform.h"

namespace orbex::line21 {
namespace {

using namespace waveform;

constexpr double kNoiseBandHz = 4.2e6;

// The waveform at t (us after the run-in start) in units of 50 IRE.
double Level(double t, uint32_t frame, const Impairments& imp) {
    const double T = kBitMicroseconds;
    if (t < 0) return 0;
    if (t < kRunInCycles * T) return imp.runIn ? 0.5 - 0.5 * std::cos(2 * std::numbers::pi * t / T) : 0;
    auto bit = [&](int i) { return i >= 0 && i < kBits ? double(frame >> i & 1) : 0.0; };
    double x = t / T - kRunInCycles;  // in bits from the first start bit
    int i = int(std::floor(x));
    if (!imp.bandLimit) return bit(i);
    double f = x - i;  // the edge spans a quarter bit either side of each boundary
    if (f < 0.25) return bit(i - 1) + (bit(i) - bit(i - 1)) * (0.5 + 0.5 * std::sin(std::numbers::pi * 2 * f));
    if (f > 0.75) return bit(i) + (bit(i + 1) - bit(i)) * (0.5 - 0.5 * std::sin(std::numbers::pi * 2 * (1 - f)));
    return bit(i);
}

}  // namespace

void EncodeLine(uint8_t first, uint8_t second, const SamplingFormat& format, const Impairments& imp, uint8_t* samples) {
    uint32_t frame =
        Frame(first, second) ^ uint32_t(imp.flipParity & 1) << 10 ^ uint32_t(imp.flipParity >> 1 & 1) << 18;
    const double unitsPerIre = (format.level50Ire - format.blankLevel) / 50.0;
    GaussianNoise gauss(imp.seed);
    // One-pole low-pass for the noise, rescaled to keep its RMS.
    const double a = imp.bandLimit ? std::exp(-2 * std::numbers::pi * kNoiseBandHz / format.rateHz) : 0;
    const double noiseGain = imp.noiseRmsIre * unitsPerIre * std::sqrt((1 + a) / (1 - a));
    double noise = 0;
    const double t0 = kRunInMicroseconds + imp.phaseMicroseconds;
    for (uint32_t n = 0; n < format.samples; ++n) {
        double t = format.startMicroseconds + n * 1e6 / format.rateHz - t0;
        double v =
            format.blankLevel + imp.amplitude * 50 * unitsPerIre * Level(t, frame, imp) + imp.dcOffsetIre * unitsPerIre;
        if (imp.noiseRmsIre > 0) noise = a * noise + (1 - a) * gauss.Next(), v += noiseGain * noise;
        samples[n] = uint8_t(std::clamp(std::lround(v), 0L, 255L));
    }
}

}  // namespace orbex::line21
