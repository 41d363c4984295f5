// A frame as the overlay receives it, kept undrawn until someone reads the
// surface: its picture as a short cycle of distinct rows, and how many rows
// and bytes of the surface it covers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace orbex::sim {

// The distinct rows of a picture, each `bytes` long, back to back.
struct RowCycle {
    size_t bytes = 0;
    uint32_t count = 0;
    std::vector<uint8_t> data;  // count x bytes
    const uint8_t* Row(uint32_t index) const { return data.data() + static_cast<size_t>(index) * bytes; }
};

// Row `line` of the frame (line < lines) is cycle row (first + line) % count;
// the frame writes the cycle's bytes of each of its lines and nothing else.
struct PendingFrame {
    std::shared_ptr<const RowCycle> rows;  // null: no frame waits
    uint32_t first = 0;
    uint32_t lines = 0;
};

}  // namespace orbex::sim
