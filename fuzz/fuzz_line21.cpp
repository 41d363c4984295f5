// Any line of samples in any sampling format: the line-21 decoder finds no
// captions or a pair of 7-bit characters, and reads only the line. Input: a
// format selector (1 byte: 0-3 one of the boards' formats, else arbitrary),
// for an arbitrary format the rate in 10 kHz steps (2 bytes), the start in
// 0.1 us steps (1 byte), the two levels (2 bytes); then the samples.
#include <cstdlib>
#include <vector>

#include "line21/line21.h"

using namespace orbex::line21;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 6) return 0;
    const SamplingFormat boards[] = {kFormat8Fsc, kFormat27MHz, kFormat8FscPal, kFormat13MHz};
    SamplingFormat format =
        data[0] < 4 ? boards[data[0]]
                    : SamplingFormat{(data[1] | data[2] << 8) * 1e4, 0, data[3] * 0.1 - 5, data[4], data[5]};
    data += 6, size -= 6;
    // The samples in a buffer of exactly their size, so that a read past the
    // end is caught.
    std::vector<uint8_t> line(data, data + size);
    DecodeResult r = DecodeLine(line.data(), line.size(), format);
    if (r.valid && (r.first > 0x7F || r.second > 0x7F || r.runInStart < 0 || size_t(r.runInStart) >= size ||
                    !(r.quality >= 0 && r.quality <= 1)))
        std::abort();
    return 0;
}
