// The instruction-set paths behind row_analysis.h. Each path is callable on
// its own so that tests and the fuzz target can hold every one to the same
// results, whichever the dispatcher picks on the machine at hand.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>

#if defined(__SSE2__)
#define ORBEX_VIDEO_SSE2 1
#endif
#if (defined(__x86_64__) || defined(__i386__)) && defined(__GNUC__)
#define ORBEX_VIDEO_AVX2 1
#endif

namespace orbex::video {

// Bytes per noise mask: bit k of a mask stands for byte k of a chunk.
inline constexpr size_t kChunk = 64;

struct RowKernels {
    const char* name;
    // The `chunks` consecutive 64-byte chunks from p are all zero.
    bool (*zeroChunks)(const uint8_t* p, size_t chunks);
    // For each of `chunks` consecutive 64-byte chunks from p, the mask with
    // bit k set when byte k of the chunk is 0x3A, 0x3B or 0x3C.
    void (*noiseMasks)(const uint8_t* p, size_t chunks, uint64_t* masks);
};

// The n bytes at p are all zero; eight at a time.
inline bool IsZeroBytes(const uint8_t* p, size_t n) {
    size_t at = 0;
    for (; at + 8 <= n; at += 8) {
        uint64_t word;
        std::memcpy(&word, p + at, 8);
        if (word) return false;
    }
    for (; at < n; ++at)
        if (p[at]) return false;
    return true;
}

// The noise mask of the n <= 64 bytes at p, bits past n clear.
inline uint64_t NoiseMask(const uint8_t* p, size_t n) {
    uint64_t mask = 0;
    for (size_t k = 0; k < n; ++k) mask |= uint64_t{static_cast<uint8_t>(p[k] - 0x3A) <= 2} << k;
    return mask;
}

extern const RowKernels kScalarKernels;
#if ORBEX_VIDEO_SSE2
extern const RowKernels kSse2Kernels;
#endif
#if ORBEX_VIDEO_AVX2
extern const RowKernels kAvx2Kernels;
bool Avx2Runs();  // the processor and the system support AVX2
#endif

// The paths this build holds and this processor runs, slowest first; the
// public functions use the last.
std::span<const RowKernels* const> SupportedKernels();
const RowKernels& BestKernels();

// The functions of row_analysis.h over one path.
bool IsZeroRow(const RowKernels& k, const uint8_t* row, size_t n);
size_t CountNoiseWindows(const RowKernels& k, const uint8_t* row, size_t n, size_t stopAt);
bool IsPictureRow(const RowKernels& k, const uint8_t* row, size_t n);
uint32_t CountPictureRows(const RowKernels& k, const uint8_t* base, size_t pitch, uint32_t height, size_t rowLength);

}  // namespace orbex::video
