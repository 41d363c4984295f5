// The capture board's VBI pin: line 21 of the odd field as the board samples
// it (8 x the NTSC colour subcarrier, 1,600 samples; blanking at 16, 50 IRE at
// 126). What the line holds follows from the signal path and the decoder:
// a locked 525-line source with captions carries the caption bytes of the
// current frame as a real line-21 waveform; a locked source without captions
// a blank line; no signal or no lock gives snow.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "line21/line21.h"
#include "platform/sim/devices/decoder.h"
#include "platform/sim/machine/clock.h"
#include "platform/sim/signal/signal_path.h"

namespace orbex::sim {

inline constexpr const line21::SamplingFormat& kVbiFormat = line21::kFormat8Fsc;

// The frame on air at a virtual time, at 29.97 frames per second.
uint32_t FrameAt(uint32_t milliseconds);
// The two characters a caption text puts on line 21 in a frame: the text's
// characters two by two, looping, the last pair padded with NUL.
void CaptionPair(const std::string& text, uint32_t frame, uint8_t& first, uint8_t& second);

struct VbiLine {
    uint32_t frame = 0;
    std::vector<uint8_t> samples;  // kVbiFormat.samples
};

class VbiLineSource {
public:
    VbiLineSource(const DecoderModel& decoder, const SignalPath& signal, const VirtualClock& clock)
        : m_decoder(decoder), m_signal(signal), m_clock(clock) {}

    // Line 21 of the odd field of the current frame.
    VbiLine Line21() const;

private:
    const DecoderModel& m_decoder;
    const SignalPath& m_signal;
    const VirtualClock& m_clock;
};

}  // namespace orbex::sim
