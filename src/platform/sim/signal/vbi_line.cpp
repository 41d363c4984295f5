#include "platform/sim/signal/vbi_line.h"

#include <algorithm>
#include <cmath>
#include <random>

#include "line21/gaussian_noise.h"

namespace orbex::sim {
namespace {

constexpr double kBlankNoiseIre = 1.0;  // the noise floor of a clean blank line

// Snow: what the sampler picks up without a locked signal.
void Snow(uint32_t frame, std::vector<uint8_t>& samples) {
    std::mt19937 random(frame * 2654435761u + 1);
    // The generator's top byte, not a distribution: the same snow on every platform.
    for (uint8_t& s : samples) s = static_cast<uint8_t>(random() >> 24);
}

// Blanking with the noise floor of a received line.
void Blank(uint32_t frame, std::vector<uint8_t>& samples) {
    const line21::SamplingFormat& f = kVbiFormat;
    const double unitsPerIre = (f.level50Ire - f.blankLevel) / 50.0;
    line21::GaussianNoise gauss(frame);
    const double sigma = kBlankNoiseIre * unitsPerIre;
    for (uint8_t& s : samples)
        s = static_cast<uint8_t>(std::clamp(std::lround(f.blankLevel + sigma * gauss.Next()), 0L, 255L));
}

}  // namespace

uint32_t FrameAt(uint32_t milliseconds) {
    return static_cast<uint32_t>(uint64_t{milliseconds} * 30 / 1001);  // 30000/1001 frames a second
}

void CaptionPair(const std::string& text, uint32_t frame, uint8_t& first, uint8_t& second) {
    first = second = 0;
    if (text.empty()) return;
    size_t pairs = (text.size() + 1) / 2;
    size_t k = frame % pairs * 2;
    first = static_cast<uint8_t>(text[k]);
    second = k + 1 < text.size() ? static_cast<uint8_t>(text[k + 1]) : 0;
}

VbiLine VbiLineSource::Line21() const {
    uint32_t now = m_clock.Now();
    VbiLine line;
    line.frame = FrameAt(now);
    line.samples.resize(kVbiFormat.samples);
    DecoderInput input = m_signal.InputAt(now);
    bool locked525 = input.signal && m_decoder.LockedAt(now) && input.source.family == LineFamily::Lines525 &&
                     StandardFamily(m_decoder.Standard()) == LineFamily::Lines525;
    if (!locked525) {
        Snow(line.frame, line.samples);
        return line;
    }
    const CaptionConfig& captions = input.source.captions;
    if (captions.text.empty()) {
        Blank(line.frame, line.samples);
        return line;
    }
    uint8_t first = 0, second = 0;
    CaptionPair(captions.text, line.frame, first, second);
    line21::Impairments imp;
    imp.amplitude = captions.amplitudePercent / 100.0;
    imp.noiseRmsIre = std::max(captions.noiseIre, kBlankNoiseIre);
    imp.dcOffsetIre = captions.dcOffsetIre;
    imp.seed = line.frame;
    line21::EncodeLine(first, second, kVbiFormat, imp, line.samples.data());
    return line;
}

}  // namespace orbex::sim
