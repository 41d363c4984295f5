// Row analysis over noise masks: a window at byte i is bit i of a mask ANDed
// with bits i+1 and i+2, which for the last two bits of a chunk come from the
// next chunk's mask.
#include "video/row_analysis.h"

#include <algorithm>
#include <bit>

#include "video/row_kernels.h"

namespace orbex::video {
namespace {

// Counts the windows of consecutive chunk masks, one chunk behind the last
// pushed (whose first two bits close the previous chunk's windows).
class WindowCounter {
public:
    void Push(uint64_t next) {
        uint64_t windows = m_last & (m_last >> 1 | next << 63) & (m_last >> 2 | next << 62);
        if (windows) m_count += std::popcount(windows);  // rare in picture, so tested first
        m_last = next;
    }
    size_t Count() const { return m_count; }

private:
    uint64_t m_last = 0;
    size_t m_count = 0;
};

// Windows wholly inside the first len bytes, or stopAt once the count reaches it.
size_t CountWindows(const RowKernels& k, const uint8_t* bytes, size_t len, size_t stopAt) {
    constexpr size_t kBatch = 4;
    uint64_t masks[kBatch];
    WindowCounter counter;
    size_t at = 0;
    while (len - at >= kChunk) {
        size_t chunks = std::min((len - at) / kChunk, kBatch);
        k.noiseMasks(bytes + at, chunks, masks);
        for (size_t c = 0; c < chunks; ++c) counter.Push(masks[c]);
        at += chunks * kChunk;
        if (counter.Count() >= stopAt) return stopAt;
    }
    if (at < len) {
        size_t rest = len - at;
        uint64_t tail;
        if (len >= kChunk) {
            // The row's last 64 bytes, less those already counted: no read past the end.
            k.noiseMasks(bytes + len - kChunk, 1, &tail);
            tail >>= kChunk - rest;
        } else {
            tail = NoiseMask(bytes, len);
        }
        counter.Push(tail);
    }
    counter.Push(0);  // nothing follows the last byte
    return std::min(counter.Count(), stopAt);
}

}  // namespace

bool IsZeroRow(const RowKernels& k, const uint8_t* row, size_t n) {
    if (!row) return true;
    if (n < kChunk) return IsZeroBytes(row, n);
    // Whole chunks, then the row's last 64 bytes (overlapping the chunks before).
    return k.zeroChunks(row, (n - 1) / kChunk) && k.zeroChunks(row + n - kChunk, 1);
}

size_t CountNoiseWindows(const RowKernels& k, const uint8_t* row, size_t n, size_t stopAt) {
    if (!row) return 0;
    // Windows start below n/2 and never reach past the row (which only matters
    // for n = 2): they lie in the first min(n, n/2 + 2) bytes, and every
    // window inside those bytes counts.
    return CountWindows(k, row, std::min(n, n / 2 + 2), stopAt);
}

bool IsPictureRow(const RowKernels& k, const uint8_t* row, size_t n) {
    return CountNoiseWindows(k, row, n, kMaxNoiseWindows + 1) <= kMaxNoiseWindows;
}

uint32_t CountPictureRows(const RowKernels& k, const uint8_t* base, size_t pitch, uint32_t height, size_t rowLength) {
    if (!base) return 0;
    uint32_t rows = 0;
    for (uint32_t r = 0; r < height; ++r) {
        const uint8_t* row = base + size_t{r} * pitch;
        // The zero test stops at the first non-zero chunk, so it is cheap for picture.
        if (!IsZeroRow(k, row, rowLength) && IsPictureRow(k, row, rowLength)) ++rows;
    }
    return rows;
}

bool IsZeroRow(const uint8_t* row, size_t n) {
    return IsZeroRow(BestKernels(), row, n);
}
size_t CountNoiseWindows(const uint8_t* row, size_t n, size_t stopAt) {
    return CountNoiseWindows(BestKernels(), row, n, stopAt);
}
bool IsPictureRow(const uint8_t* row, size_t n) {
    return IsPictureRow(BestKernels(), row, n);
}
uint32_t CountPictureRows(const uint8_t* base, size_t pitch, uint32_t height, size_t rowLength) {
    return CountPictureRows(BestKernels(), base, pitch, height, rowLength);
}

}  // namespace orbex::video
