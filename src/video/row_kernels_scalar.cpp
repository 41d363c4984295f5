// The path for any processor.
#include "video/row_kernels.h"

namespace orbex::video {
namespace {

bool ZeroChunksScalar(const uint8_t* p, size_t chunks) {
    return IsZeroBytes(p, chunks * kChunk);
}

void NoiseMasksScalar(const uint8_t* p, size_t chunks, uint64_t* masks) {
    for (size_t c = 0; c < chunks; ++c) masks[c] = NoiseMask(p + c * kChunk, kChunk);
}

}  // namespace

const RowKernels kScalarKernels = {"scalar", ZeroChunksScalar, NoiseMasksScalar};

}  // namespace orbex::video
