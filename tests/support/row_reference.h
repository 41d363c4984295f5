// The row analysis as defined, in straight loops: what the fast paths of
// video/row_analysis.h are held to by the tests, the fuzz target and the
// benchmark.
#pragma once

#include <cstddef>
#include <cstdint>

namespace orbex::reference {

inline bool IsNoiseByte(uint8_t b) {
    return b == 0x3A || b == 0x3B || b == 0x3C;
}

inline bool IsZeroRow(const uint8_t* row, size_t n) {
    for (size_t i = 0; row && i < n; ++i)
        if (row[i] != 0) return false;
    return true;
}

inline size_t CountNoiseWindows(const uint8_t* row, size_t n, size_t stopAt) {
    if (!row) return 0;
    size_t count = 0;
    for (size_t i = 0; i < n / 2 && count < stopAt; ++i)
        if (i + 2 < n && IsNoiseByte(row[i]) && IsNoiseByte(row[i + 1]) && IsNoiseByte(row[i + 2])) ++count;
    return count;
}

inline bool IsPictureRow(const uint8_t* row, size_t n) {
    if (!row || n / 2 == 0) return true;
    return CountNoiseWindows(row, n, 21) <= 20;
}

inline uint32_t CountPictureRows(const uint8_t* base, size_t pitch, uint32_t height, size_t rowLength) {
    if (!base) return 0;
    uint32_t rows = 0;
    for (uint32_t r = 0; r < height; ++r) {
        const uint8_t* row = base + size_t{r} * pitch;
        if (!IsZeroRow(row, rowLength) && IsPictureRow(row, rowLength)) ++rows;
    }
    return rows;
}

}  // namespace orbex::reference
