// The SSE2 path: 16 bytes a vector. Built where the compiler may assume SSE2
// (every x86-64 target), so it needs no check at run time.
#include "video/row_kernels.h"

#if ORBEX_VIDEO_SSE2
#include <emmintrin.h>

namespace orbex::video {
namespace {

__m128i Load(const uint8_t* p) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}
bool Zero(__m128i v) {
    return _mm_movemask_epi8(_mm_cmpeq_epi8(v, _mm_setzero_si128())) == 0xFFFF;
}

bool ZeroChunksSse2(const uint8_t* p, size_t chunks) {
    for (; chunks > 0; --chunks, p += kChunk)
        if (!Zero(_mm_or_si128(_mm_or_si128(Load(p), Load(p + 16)), _mm_or_si128(Load(p + 32), Load(p + 48)))))
            return false;
    return true;
}

// Bit k set when byte k is 0x3A..0x3C, that is when (byte - 0x3A) mod 256 <= 2.
uint64_t Mask16(const uint8_t* p) {
    __m128i d = _mm_sub_epi8(Load(p), _mm_set1_epi8(0x3A));
    return static_cast<uint16_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(_mm_min_epu8(d, _mm_set1_epi8(2)), d)));
}

void NoiseMasksSse2(const uint8_t* p, size_t chunks, uint64_t* masks) {
    for (size_t c = 0; c < chunks; ++c, p += kChunk)
        masks[c] = Mask16(p) | Mask16(p + 16) << 16 | Mask16(p + 32) << 32 | Mask16(p + 48) << 48;
}

}  // namespace

const RowKernels kSse2Kernels = {"sse2", ZeroChunksSse2, NoiseMasksSse2};

}  // namespace orbex::video
#endif
