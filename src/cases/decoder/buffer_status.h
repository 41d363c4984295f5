// What the buffer check found in the overlay front and back buffers.
#pragma once

#include <cstdint>

namespace orbex {

struct BufferInfo {
    uint32_t contentRows = 0;  // rows that carry picture
    uint32_t pitch = 0;
    uint32_t height = 0;
    uint32_t state = 0;  // 1 every row shows picture, 2 some rows do, 3 none does
};

struct BufferStatus {
    BufferInfo front;
    BufferInfo back;
};
static_assert(sizeof(BufferStatus) == 8 * sizeof(uint32_t));

constexpr int32_t kFrontBuffer = 1;
constexpr int32_t kBackBuffer = 2;
constexpr int32_t kBothBuffers = 3;

}  // namespace orbex
