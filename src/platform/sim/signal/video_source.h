// What a video source carries: a signal or none, its line family and the
// content of its picture.
#pragma once

#include <cstdint>
#include <string>

namespace orbex::sim {

enum class LineFamily : uint8_t { Lines525, Lines625 };

enum class PictureKind : uint8_t {
    Bars,   // colour bars with a moving ramp: every row reads as picture
    Noise,  // snow that settles on the black level: rows full of 0x3A-0x3C runs
};

// The closed captions a source broadcasts on line 21 and how weak its
// line-21 waveform arrives.
struct CaptionConfig {
    std::string text;                 // printable ASCII, two characters a frame, looping; empty: none
    uint32_t amplitudePercent = 100;  // of the waveform above blanking
    double noiseIre = 0;              // RMS of the noise on the line, in IRE
    double dcOffsetIre = 0;           // added to the whole line, in IRE
};

struct SourceConfig {
    bool signal = true;
    LineFamily family = LineFamily::Lines525;
    PictureKind picture = PictureKind::Bars;
    uint32_t coverage = 100;  // percent of the active lines that carry picture
    CaptionConfig captions;
};

// A source that carries nothing: an input with nothing plugged in.
inline SourceConfig NoSignal() {
    SourceConfig s;
    s.signal = false;
    return s;
}

// Active (visible) lines of a frame and the frame period in microseconds.
constexpr uint32_t ActiveLines(LineFamily family) {
    return family == LineFamily::Lines525 ? 480 : 576;
}
constexpr uint32_t FramePeriodMicroseconds(LineFamily family) {
    return family == LineFamily::Lines525 ? 33367 : 40000;  // 29.97 and 25 frames per second
}

}  // namespace orbex::sim
