// Line-21 decoding: the slice level and the bit phase come from the clock
// run-in (midpoint of its extremes; phase of its correlation with a sine at
// the bit rate), then each bit is read at its centre.
#include <algorithm>
#include <bit>
#include <cmath>
#include <numbers>

#include "line21/line21.h"
#include "line21/waveform.h"

namespace orbex::line21 {
namespace {

using namespace waveform;

// The run-in must swing at least this share of the format's 50 IRE step, and
// correlate with the bit-rate sine at least this share of a pure run-in's.
constexpr double kMinSwing = 0.25;
constexpr double kMinCorrelation = 0.35;

class Line {
public:
    Line(const uint8_t* s, size_t n, double bit) : m_s(s), m_last(double(n - 1)), m_bit(bit) {}

    // Linear interpolation at x, clamped to the line.
    double At(double x) const {
        x = std::clamp(x, 0.0, m_last);
        size_t i = size_t(x);
        if (double(i) >= m_last) return m_s[i];
        double f = x - double(i);
        return m_s[i] + f * (m_s[i + 1] - m_s[i]);
    }
    // The mean of three points over the middle quarter of a bit centred at x.
    double Centre(double x) const {
        const double d = m_bit / 8;
        return (At(x - d) + At(x) + At(x + d)) / 3;
    }
    double Last() const { return m_last; }

private:
    const uint8_t* m_s;
    double m_last, m_bit;
};

// Reads the frame after a run-in starting at t0 (samples), checking the run-in
// peaks and troughs, the start bits and both parities.
DecodeResult Slice(const Line& line, double t0, double T, double mid, double swing) {
    DecodeResult r;
    if (t0 < 0 || t0 + (kRunInCycles + kBits - 0.5) * T > line.Last()) return r;
    for (int k = 0; k < kRunInCycles; ++k) {
        if (line.At(t0 + (k + 0.5) * T) <= mid) return r;
        if (k > 0 && line.At(t0 + k * T) >= mid) return r;
    }
    uint32_t frame = 0;
    double lowestOne = 1e9, highestZero = -1e9;
    for (int i = 0; i < kBits; ++i) {
        double v = line.Centre(t0 + (kRunInCycles + i + 0.5) * T);
        if (v > mid)
            frame |= 1u << i, lowestOne = std::min(lowestOne, v);
        else
            highestZero = std::max(highestZero, v);
    }
    if ((frame & 0b111) != 0b100) return r;
    uint32_t first = frame >> 3 & 0xFF, second = frame >> 11 & 0xFF;
    if (!(std::popcount(first) & 1) || !(std::popcount(second) & 1)) return r;
    r.valid = true;
    r.first = uint8_t(first & 0x7F), r.second = uint8_t(second & 0x7F);
    r.runInStart = int(std::lround(t0));
    r.quality = std::clamp((lowestOne - highestZero) / swing, 0.0, 1.0);
    return r;
}

}  // namespace

DecodeResult DecodeLine(const uint8_t* samples, size_t count, const SamplingFormat& format) {
    const double rate = format.rateHz, start = format.startMicroseconds;
    if (!samples || count < 2 || !(rate >= 4e6 && rate <= 200e6) || !(std::fabs(start) <= 1000) ||
        format.level50Ire <= format.blankLevel)
        return {};
    const double perUs = rate / 1e6, T = kBitMicroseconds * perUs;
    const double expected = (kRunInMicroseconds - start) * perUs;

    // The run-in window: from half a bit before the expected start to half a
    // bit past the expected end, inside the line.
    double from = std::max(0.0, std::ceil(expected - T / 2));
    double to = std::min(double(count), std::floor(expected + (kRunInCycles + 0.5) * T));
    if (to - from < 5 * T) return {};
    const size_t a = size_t(from), b = size_t(to);
    uint8_t lo = 255, hi = 0;
    for (size_t n = a; n < b; ++n) lo = std::min(lo, samples[n]), hi = std::max(hi, samples[n]);
    const double swing = hi - lo, mid = (hi + lo) / 2.0;
    if (swing < kMinSwing * (format.level50Ire - format.blankLevel)) return {};

    // Correlation with a sine at the bit rate over about 8 samples a cycle; a
    // rotating phasor stands in for cos and sin of 2 pi n / T.
    const size_t step = std::max<size_t>(1, size_t(T / 8));
    const double w = 2 * std::numbers::pi / T, cw = std::cos(w * double(step)), sw = std::sin(w * double(step));
    double re = std::cos(w * double(a)), im = std::sin(w * double(a)), I = 0, Q = 0;
    size_t points = 0;
    for (size_t n = a; n < b; n += step, ++points) {
        double v = samples[n] - mid;
        I += v * re, Q += v * im;
        double r2 = re * cw - im * sw;
        im = re * sw + im * cw, re = r2;
    }
    if (std::hypot(I, Q) < kMinCorrelation * swing / 4 * double(points)) return {};

    // A peak of the run-in lies at `peak` modulo T; the run-in starts half a
    // bit before a peak. Candidates within a bit of the expected start, the
    // nearest first.
    double peak = std::atan2(Q, I) / w;
    double t0 = peak - T / 2 + std::round((expected - (peak - T / 2)) / T) * T;
    for (double c : {t0, t0 + (t0 < expected ? T : -T), t0 + (t0 < expected ? -T : T)}) {
        if (std::fabs(c - expected) > T) continue;
        DecodeResult r = Slice(Line(samples, count, T), c, T, mid, swing);
        if (r.valid) return r;
    }
    return {};
}

}  // namespace orbex::line21
