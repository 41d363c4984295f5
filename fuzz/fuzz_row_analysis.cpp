// Any surface: every row-analysis function on every path gives the results of
// the straight-loop reference. Input: row length (2 bytes), padding (1 byte),
// height (1 byte), stop count (1 byte), then the surface bytes.
#include <cstdlib>
#include <cstring>
#include <vector>

#include "support/row_reference.h"
#include "video/row_kernels.h"

namespace {

using namespace orbex::video;

void Expect(bool same) {
    if (!same) std::abort();
}

void CheckRow(const RowKernels& k, const uint8_t* p, size_t n, size_t stopAt) {
    Expect(IsZeroRow(k, p, n) == orbex::reference::IsZeroRow(p, n));
    Expect(CountNoiseWindows(k, p, n, stopAt) == orbex::reference::CountNoiseWindows(p, n, stopAt));
    Expect(CountNoiseWindows(k, p, n, SIZE_MAX) == orbex::reference::CountNoiseWindows(p, n, SIZE_MAX));
    Expect(IsPictureRow(k, p, n) == orbex::reference::IsPictureRow(p, n));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 5) return 0;
    size_t rowLength = (data[0] | data[1] << 8) % 4096;
    size_t pitch = rowLength + data[2] % 64;
    uint32_t height = data[3] % 16;
    size_t stopAt = data[4];
    data += 5, size -= 5;
    // As many rows as the input holds, in a buffer of exactly their size.
    while (height > 0 && (height - 1) * pitch + rowLength > size) --height;
    std::vector<uint8_t> surface(data, data + (height ? (height - 1) * pitch + rowLength : 0));

    for (const RowKernels* k : SupportedKernels()) {
        for (uint32_t r = 0; r < height; ++r) {
            // Each row alone too, so that a read past its end is caught.
            std::vector<uint8_t> row(surface.begin() + r * pitch, surface.begin() + r * pitch + rowLength);
            CheckRow(*k, row.data(), rowLength, stopAt);
        }
        CheckRow(*k, size ? data : nullptr, size, stopAt);
        Expect(CountPictureRows(*k, surface.data(), pitch, height, rowLength) ==
               orbex::reference::CountPictureRows(surface.data(), pitch, height, rowLength));
    }
    return 0;
}
