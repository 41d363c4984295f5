// Draws one sampled line-21 VBI line as SVG: the samples, the slice level, the
// clock run-in the decoder found, the bit centres it sliced with their values
// and the characters it decoded (or that nothing decoded).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "line21/line21.h"

namespace orbex::line21 {

std::string LineSvg(const uint8_t* samples, size_t count, const SamplingFormat& format, const DecodeResult& result,
                    const std::string& title);

}  // namespace orbex::line21
