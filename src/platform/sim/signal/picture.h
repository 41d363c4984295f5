// The picture generator: one row of a frame as UYVY bytes, deterministic in
// line and frame number so that a check can be verified exactly.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/sim/signal/video_source.h"

namespace orbex::sim {

// Fills bytes of a row (UYVY pairs; an odd tail gets the first byte of a pair).
void FillPictureRow(PictureKind kind, uint32_t line, uint32_t frame, uint8_t* row, size_t bytes);

}  // namespace orbex::sim
