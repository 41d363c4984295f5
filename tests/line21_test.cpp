// Line 21: the encoder's waveform at known instants, encode-decode round trips
// on the four sampling formats under phase, amplitude, offset and noise, and
// "no captions" for every line that lacks a part of the waveform.
#include "line21/line21.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "line21/gaussian_noise.h"
#include "support/fenced_buffer.h"

namespace orbex::line21 {
namespace {

using Samples = std::vector<uint8_t>;
constexpr double kBit = 1e6 / (32 * 15'734.264);  // us

struct NamedFormat {
    const char* name;
    SamplingFormat format;
};
const NamedFormat kFormats[] = {
    {"28.636 MHz x 1600", kFormat8Fsc},
    {"27 MHz x 1440", kFormat27MHz},
    {"35.47 MHz x 2048", kFormat8FscPal},
    {"13.5 MHz x 720", kFormat13MHz},
};

Samples Encode(uint8_t first, uint8_t second, const SamplingFormat& f, const Impairments& imp = {}) {
    Samples s(f.samples);
    EncodeLine(first, second, f, imp, s.data());
    return s;
}

DecodeResult Decode(const Samples& s, const SamplingFormat& f) {
    return DecodeLine(s.data(), s.size(), f);
}

// Sample index of a time in us after the sync edge.
double IndexAt(double us, const SamplingFormat& f) {
    return (us - f.startMicroseconds) * f.rateHz / 1e6;
}

// Lines of pseudo-random character pairs under `imp` (seed varied per line);
// returns how many did not decode to their pair.
int Errors(const SamplingFormat& f, Impairments imp, int lines) {
    std::mt19937 random(7);
    int errors = 0;
    for (int n = 0; n < lines; ++n) {
        uint8_t a = random() & 0x7F, b = random() & 0x7F;
        imp.seed = uint32_t(n);
        DecodeResult r = Decode(Encode(a, b, f, imp), f);
        errors += !(r.valid && r.first == a && r.second == b);
    }
    return errors;
}

TEST(Line21Waveform, RunInStartBitsAndDataAtTheirInstants) {
    // 'A' (0x41, two ones: parity 1) then NUL (parity 1), sampled at each
    // half cycle of the run-in and at each bit centre.
    const SamplingFormat& f = kFormat8Fsc;
    Samples s = Encode(0x41, 0x00, f);
    auto at = [&](double us) { return int(s[size_t(std::lround(IndexAt(us, f)))]); };
    EXPECT_EQ(at(10.5 - 1.0), 16);  // blanking before the run-in
    for (int k = 0; k < 7; ++k) {
        EXPECT_EQ(at(10.5 + (k + 0.5) * kBit), 126) << "run-in peak " << k;
        EXPECT_EQ(at(10.5 + (k + 1) * kBit), 16) << "run-in trough " << k;
    }
    const int bits[19] = {0, 0, 1, /*A*/ 1, 0, 0, 0, 0, 0, 1, /*parity*/ 1, /*NUL*/ 0, 0, 0, 0, 0, 0, 0, 1};
    for (int i = 0; i < 19; ++i) EXPECT_EQ(at(10.5 + (7 + i + 0.5) * kBit), bits[i] ? 126 : 16) << "bit " << i;
    EXPECT_EQ(at(10.5 + 26.5 * kBit), 16);  // back to blanking after the last bit
}

TEST(Line21Waveform, ParityFlipsAndDataOnly) {
    const SamplingFormat& f = kFormat8Fsc;
    auto bitAt = [&](const Samples& s, int i) {
        return s[size_t(std::lround(IndexAt(10.5 + (7 + i + 0.5) * kBit, f)))] > 71;
    };
    Impairments flipFirst, flipSecond, dataOnly;
    flipFirst.flipParity = 1, flipSecond.flipParity = 2, dataOnly.runIn = false;
    Samples clean = Encode(0x41, 0x00, f), first = Encode(0x41, 0x00, f, flipFirst),
            second = Encode(0x41, 0x00, f, flipSecond), data = Encode(0x41, 0x00, f, dataOnly);
    EXPECT_TRUE(bitAt(clean, 10) && bitAt(clean, 18));
    EXPECT_TRUE(!bitAt(first, 10) && bitAt(first, 18));
    EXPECT_TRUE(bitAt(second, 10) && !bitAt(second, 18));
    for (double us = 9.0; us < 10.5 + 7 * kBit; us += 0.1) ASSERT_EQ(data[size_t(IndexAt(us, f))], 16) << us;
    for (int i = 0; i < 19; ++i) EXPECT_EQ(bitAt(data, i), bitAt(clean, i)) << "bit " << i;
}

TEST(Line21RoundTrip, EveryPairAt8Fsc) {
    const SamplingFormat& f = kFormat8Fsc;
    Samples s(f.samples);
    int wrong = 0;
    for (int a = 0; a < 128; ++a) {
        for (int b = 0; b < 128; ++b) {
            EncodeLine(uint8_t(a), uint8_t(b), f, {}, s.data());
            DecodeResult r = Decode(s, f);
            if (!(r.valid && r.first == a && r.second == b && r.runInStart == 86 && r.quality == 1.0) && ++wrong < 5)
                ADD_FAILURE() << a << "," << b << ": valid " << r.valid << " " << int(r.first) << "," << int(r.second)
                              << " run-in " << r.runInStart << " quality " << r.quality;
        }
    }
    EXPECT_EQ(wrong, 0);
}

TEST(Line21RoundTrip, BitsSevenAreIgnored) {
    DecodeResult r = Decode(Encode(0xC1, 0xFF, kFormat8Fsc), kFormat8Fsc);
    EXPECT_TRUE(r.valid && r.first == 0x41 && r.second == 0x7F);
}

// Phase: the run-in up to half a bit early or late on every format (late
// by more runs off the end of the 53.3 us lines), with sharp and shaped edges.
TEST(Line21RoundTrip, EachFormatAcrossPhase) {
    for (const NamedFormat& nf : kFormats) {
        for (double phase : {-kBit / 2, -kBit / 4, 0.0, kBit / 4, kBit / 2}) {
            for (bool bandLimit : {true, false}) {
                Impairments imp;
                imp.phaseMicroseconds = phase, imp.bandLimit = bandLimit;
                SCOPED_TRACE(std::string(nf.name) + " phase " + std::to_string(phase) + (bandLimit ? "" : " sharp"));
                EXPECT_EQ(Errors(nf.format, imp, 100), 0);
                DecodeResult r = Decode(Encode('C', 'c', nf.format, imp), nf.format);
                EXPECT_NEAR(r.runInStart, IndexAt(10.5 + phase, nf.format), 1.0);
                EXPECT_EQ(r.quality, 1.0);
            }
        }
    }
}

// The tested limits (docs/line21.md): amplitude 30-180 %, DC offset -20 to
// +20 IRE, phase +-half a bit, noise at 20 dB SNR (RMS 5 IRE against the 50
// IRE swing), each alone and the worst together.
TEST(Line21RoundTrip, ImpairmentSweeps) {
    struct Case {
        const char* name;
        double amplitude, dc, noise, phase;
    };
    const Case cases[] = {
        {"amplitude 30%", 0.3, 0, 0, 0},
        {"amplitude 60%", 0.6, 0, 0, 0},
        {"amplitude 180%", 1.8, 0, 0, 0},
        {"offset -20 IRE", 1, -20, 0, 0},
        {"offset +20 IRE", 1, 20, 0, 0},
        {"20 dB SNR", 1, 0, 5, 0},
        {"60% amplitude, 20 dB SNR of its swing", 0.6, 0, 3, 0},
        {"20 dB SNR, half a bit early", 1, 0, 5, -kBit / 2},
        {"20 dB SNR, half a bit late", 1, 0, 5, kBit / 2},
        {"60%, +10 IRE, 20 dB, a quarter bit late", 0.6, 10, 3, kBit / 4},
    };
    for (const NamedFormat& nf : kFormats) {
        for (const Case& c : cases) {
            Impairments imp;
            imp.amplitude = c.amplitude, imp.dcOffsetIre = c.dc, imp.noiseRmsIre = c.noise;
            imp.phaseMicroseconds = c.phase;
            EXPECT_EQ(Errors(nf.format, imp, 250), 0) << nf.name << ": " << c.name;
        }
    }
}

// The noise the waveforms carry: zero mean, unit variance, the normal
// distribution's share within one and two deviations, and the same values
// for the same seed (the board's lines repeat run after run).
TEST(Line21Noise, IsStandardNormalAndRepeatsForItsSeed) {
    GaussianNoise noise(7);
    constexpr int kDraws = 200'000;
    double sum = 0, squares = 0;
    int withinOne = 0, withinTwo = 0;
    for (int i = 0; i < kDraws; ++i) {
        double x = noise.Next();
        sum += x, squares += x * x;
        withinOne += std::abs(x) < 1;
        withinTwo += std::abs(x) < 2;
    }
    EXPECT_NEAR(sum / kDraws, 0.0, 0.01);
    EXPECT_NEAR(squares / kDraws, 1.0, 0.015);
    EXPECT_NEAR(double(withinOne) / kDraws, 0.6827, 0.005);
    EXPECT_NEAR(double(withinTwo) / kDraws, 0.9545, 0.003);
    GaussianNoise a(42), b(42), c(43);
    bool differs = false;
    for (int i = 0; i < 100; ++i) {
        double x = a.Next();
        EXPECT_EQ(x, b.Next());
        differs = differs || x != c.Next();
    }
    EXPECT_TRUE(differs);
}

TEST(Line21RoundTrip, QualityFallsWithNoise) {
    Impairments imp;
    imp.noiseRmsIre = 5;
    for (uint32_t seed = 0; seed < 20; ++seed) {
        imp.seed = seed;
        DecodeResult r = Decode(Encode('x', 'y', kFormat8Fsc, imp), kFormat8Fsc);
        ASSERT_TRUE(r.valid);
        EXPECT_GT(r.quality, 0.3);
        EXPECT_LT(r.quality, 0.95);
    }
}

// Lines that lack a part of the waveform: no captions.
TEST(Line21NoCaptions, BrokenWaveforms) {
    const SamplingFormat& f = kFormat8Fsc;
    // A level over [from, to) us after sync: blanking, or 50 IRE.
    auto filled = [&](double from, double to, uint8_t level = 16) {
        Samples s = Encode('H', 'i', f);
        for (size_t n = size_t(IndexAt(from, f)); n < size_t(IndexAt(to, f)); ++n) s[n] = level;
        return s;
    };
    const double t0 = 10.5, data = t0 + 7 * kBit;
    struct Case {
        const char* name;
        Samples line;
    };
    // Pulses 1/16 bit wide at the run-in's peaks: its extremes and phase, but
    // not a sine at the bit rate.
    Samples pulses = filled(t0, t0 + 7 * kBit);
    for (int k = 0; k < 7; ++k)
        for (size_t n = size_t(IndexAt(t0 + (k + 0.47) * kBit, f)); n < IndexAt(t0 + (k + 0.53) * kBit, f); ++n)
            pulses[n] = 126;
    Impairments small, first, second, both, noRunIn;
    small.amplitude = 0.2, first.flipParity = 1, second.flipParity = 2, both.flipParity = 3, noRunIn.runIn = false;
    const Case cases[] = {
        {"first parity", Encode('H', 'i', f, first)},
        {"second parity", Encode('H', 'i', f, second)},
        {"both parities", Encode('H', 'i', f, both)},
        {"data without run-in", Encode('H', 'i', f, noRunIn)},
        {"10 IRE run-in and data", Encode('H', 'i', f, small)},
        {"first run-in cycle missing", filled(t0, t0 + kBit)},
        {"last run-in cycle missing", filled(t0 + 6 * kBit, t0 + 7 * kBit)},
        {"first run-in trough filled", filled(t0 + 0.5 * kBit, t0 + 1.5 * kBit, 126)},
        {"last run-in trough filled", filled(t0 + 5.5 * kBit, t0 + 6.5 * kBit, 126)},
        {"third start bit missing", filled(data + 2 * kBit, data + 3 * kBit)},
        {"pulses for a run-in", pulses},
        {"all blanking", Samples(f.samples, 16)},
        {"all 50 IRE", Samples(f.samples, 126)},
    };
    for (const Case& c : cases) EXPECT_FALSE(Decode(c.line, f).valid) << c.name;
    EXPECT_TRUE(Decode(Encode('H', 'i', f), f).valid);
}

TEST(Line21NoCaptions, RandomLines) {
    for (const NamedFormat& nf : kFormats) {
        std::mt19937 random(11);
        Samples s(nf.format.samples);
        int valid = 0;
        for (int n = 0; n < 2000; ++n) {
            for (auto& v : s) v = uint8_t(random());
            valid += Decode(s, nf.format).valid;
        }
        EXPECT_EQ(valid, 0) << nf.name;
    }
}

// A line cut anywhere before its last bit's centre decodes to nothing, and
// no cut line is read outside: each lies against an inaccessible page.
TEST(Line21NoCaptions, ShortLinesAreNotReadOutside) {
    const SamplingFormat& f = kFormat8Fsc;
    const Samples full = Encode('H', 'i', f);
    testing::FencedBuffer fence(full.size());
    ASSERT_TRUE(fence.Valid());
    const size_t lastCentre = size_t(IndexAt(10.5 + 25.5 * kBit, f));
    for (size_t n = 0; n <= full.size(); ++n) {
        DecodeResult back = DecodeLine(fence.AtBack(full.data(), n), n, f);
        EXPECT_EQ(back.valid, n > lastCentre + 1) << n << " samples";
        if (back.valid) {
            EXPECT_TRUE(back.first == 'H' && back.second == 'i');
        }
        // The same count from the front: the tail of the line beyond it is
        // inaccessible.
        DecodeLine(fence.AtFront(full.data(), n), n, f);
    }
    EXPECT_FALSE(DecodeLine(nullptr, 1600, f).valid);
}

// A line whose first sample lies after the run-in start gives no captions;
// one that starts just before it does. Nothing before the line is read.
TEST(Line21NoCaptions, LineStartingInsideTheRunIn) {
    for (double start : {10.4, 10.6, 11.5}) {
        SamplingFormat f = kFormat8Fsc;
        f.startMicroseconds = start;
        const Samples s = Encode('H', 'i', f);
        testing::FencedBuffer fence(s.size());
        ASSERT_TRUE(fence.Valid());
        DecodeResult r = DecodeLine(fence.AtFront(s.data(), s.size()), s.size(), f);
        EXPECT_EQ(r.valid, start < 10.5) << start;
        if (r.valid) {
            EXPECT_NEAR(r.runInStart, IndexAt(10.5, f), 1.5);  // the window is cut: phase within 1/40 bit
        }
    }
}

TEST(Line21NoCaptions, UnusableFormats) {
    const Samples s = Encode('H', 'i', kFormat8Fsc);
    auto with = [](auto change) {
        SamplingFormat f = kFormat8Fsc;
        change(f);
        return f;
    };
    const SamplingFormat formats[] = {
        with([](SamplingFormat& f) { f.rateHz = 0; }),
        with([](SamplingFormat& f) { f.rateHz = NAN; }),
        with([](SamplingFormat& f) { f.rateHz = 1e12; }),
        with([](SamplingFormat& f) { f.startMicroseconds = NAN; }),
        with([](SamplingFormat& f) { f.startMicroseconds = 60; }),
        with([](SamplingFormat& f) { f.level50Ire = f.blankLevel; }),
    };
    for (const SamplingFormat& f : formats) EXPECT_FALSE(DecodeLine(s.data(), s.size(), f).valid);
}

}  // namespace
}  // namespace orbex::line21
