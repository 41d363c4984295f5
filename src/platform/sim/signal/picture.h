// The picture generator: one row of a frame as UYVY bytes, deterministic in
// line and frame number so that a check can be verified exactly.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "platform/sim/display/frame_rows.h"
#include "platform/sim/signal/video_source.h"

namespace orbex::sim {

// Fills bytes of a row (UYVY pairs; an odd tail gets the first byte of a pair).
void FillPictureRow(PictureKind kind, uint32_t line, uint32_t frame, uint8_t* row, size_t bytes);

// A picture's rows repeat: row `line` of frame `frame` is row
// (line + frame) % count of its cycle, the rows of frame 0.
std::shared_ptr<const RowCycle> MakePictureCycle(PictureKind kind, size_t bytes);

// The cycles of the last few row lengths, built once and shared by the
// frames that use them.
class PictureCycles {
public:
    std::shared_ptr<const RowCycle> Get(PictureKind kind, size_t bytes);

private:
    struct Entry {
        PictureKind kind;
        std::shared_ptr<const RowCycle> rows;
    };
    std::vector<Entry> m_entries;
};

}  // namespace orbex::sim
