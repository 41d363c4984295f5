// The component database's text readers on arbitrary input: the [FileInfo]
// value parser, the identifier text parser and the inf line scanner. The
// first byte picks the reader; the rest is the text.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "cases/comchk/com_chker.h"
#include "cases/comchk/inf_index.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    // Each reader gets a NUL-terminated text of at most the size its caller reads.
    const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
    switch (data[0] % 3) {
        case 0: {
            orbex::ComponentRecord record;
            orbex::ParseComponentSelectors(text.substr(0, 255).c_str(), record);
            break;
        }
        case 1: {
            orbex::Guid guid;
            int fields = orbex::ParseComponentGuid(text.substr(0, 255).c_str(), guid);
            if (fields < 0 || fields > 11) __builtin_trap();
            break;
        }
        default: {
            char id[16] = {};
            orbex::ScanInfLine(text.substr(0, orbex::kInfLinePiece - 1).c_str(), id, sizeof id);
            if (!std::memchr(id, '\0', sizeof id)) __builtin_trap();
            break;
        }
    }
    return 0;
}
