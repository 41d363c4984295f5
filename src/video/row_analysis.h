// Rows of an overlay surface (UYVY) that carry picture. A row carries picture
// when its bytes are not all zero and it is not noise: noise is a row whose
// first half holds more than 20 windows of three bytes that are each 0x3A,
// 0x3B or 0x3C.
#pragma once

#include <cstddef>
#include <cstdint>

namespace orbex::video {

// Windows above this count make a row noise.
inline constexpr size_t kMaxNoiseWindows = 20;

// True when the first n bytes of row are all zero (also for a null row).
bool IsZeroRow(const uint8_t* row, size_t n);

// The windows of a row of n bytes: positions i < n/2 whose bytes i, i+1 and
// i+2 are each 0x3A, 0x3B or 0x3C, counting only windows inside the row
// (i + 2 < n). Returns the count, or stopAt if the count reaches it; 0 for a
// null row.
size_t CountNoiseWindows(const uint8_t* row, size_t n, size_t stopAt);

// True unless the row has more than kMaxNoiseWindows windows; true for a null
// row and for n < 2.
bool IsPictureRow(const uint8_t* row, size_t n);

// Rows of a surface that carry picture: not all zero and IsPictureRow over
// their first rowLength bytes. Row r starts at base + r * pitch; the bytes
// between rowLength and pitch are not read. The caller's buffer holds
// (height - 1) * pitch + rowLength bytes. A null base has no rows.
uint32_t CountPictureRows(const uint8_t* base, size_t pitch, uint32_t height, size_t rowLength);

}  // namespace orbex::video
