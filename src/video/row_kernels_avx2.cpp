// The AVX2 path: 32 bytes a vector. Compiled for AVX2 function by function,
// so the rest of the library still runs on any x86; used only when Avx2Runs().
#include "video/row_kernels.h"

#if ORBEX_VIDEO_AVX2
#include <immintrin.h>

#define ORBEX_AVX2 __attribute__((target("avx2")))

namespace orbex::video {
namespace {

ORBEX_AVX2 __m256i Load(const uint8_t* p) {
    return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
}
ORBEX_AVX2 bool Zero(__m256i v) {
    return _mm256_testz_si256(v, v);
}

ORBEX_AVX2 bool ZeroChunksAvx2(const uint8_t* p, size_t chunks) {
    for (; chunks > 0; --chunks, p += kChunk)
        if (!Zero(_mm256_or_si256(Load(p), Load(p + 32)))) return false;
    return true;
}

// Bit k set when byte k is 0x3A..0x3C, that is when (byte - 0x3A) mod 256 <= 2.
ORBEX_AVX2 uint64_t Mask32(const uint8_t* p) {
    __m256i d = _mm256_sub_epi8(Load(p), _mm256_set1_epi8(0x3A));
    return static_cast<uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(_mm256_min_epu8(d, _mm256_set1_epi8(2)), d)));
}

ORBEX_AVX2 void NoiseMasksAvx2(const uint8_t* p, size_t chunks, uint64_t* masks) {
    for (size_t c = 0; c < chunks; ++c, p += kChunk) masks[c] = Mask32(p) | Mask32(p + 32) << 32;
}

}  // namespace

const RowKernels kAvx2Kernels = {"avx2", ZeroChunksAvx2, NoiseMasksAvx2};

bool Avx2Runs() {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2");
}

}  // namespace orbex::video
#endif
