// Picks the fastest path this processor runs, once.
#include <vector>

#include "video/row_kernels.h"

namespace orbex::video {

std::span<const RowKernels* const> SupportedKernels() {
    static const std::vector<const RowKernels*> kernels = [] {
        std::vector<const RowKernels*> list{&kScalarKernels};
#if ORBEX_VIDEO_SSE2
        list.push_back(&kSse2Kernels);
#endif
#if ORBEX_VIDEO_AVX2
        if (Avx2Runs()) list.push_back(&kAvx2Kernels);
#endif
        return list;
    }();
    return kernels;
}

const RowKernels& BestKernels() {
    static const RowKernels& best = *SupportedKernels().back();
    return best;
}

}  // namespace orbex::video
