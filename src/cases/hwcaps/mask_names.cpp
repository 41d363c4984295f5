#include "cases/hwcaps/mask_names.h"

#include <cstring>

#include "common/format.h"

namespace orbex {

void MismatchNames(uint32_t mismatch, char* buffer, size_t size) {
    static const struct {
        uint32_t bit;
        const char* name;
    } kNames[] = {{0x2, "Tuner, "},
                  {0x4, "I2C Decoder, "},
                  {0x8, "Retired AV Crossbar, "},
                  {0x10, "Retired TV Audio, "},
                  {0x20, "VIP Decoder, "},
                  {0x40, "VIP Audio (SPDIF), "},
                  {0x80, "VBI Macrovision, "},
                  {0x100, "I2C TVAudio & VideoCrossbar, "},
                  {0x200, "Parental Control, "},
                  {0x400, "Teletext, "},
                  {0xFFFFFF00, "etc, "}};
    if (size == 0) return;
    buffer[0] = '\0';
    size_t length = 0;
    for (const auto& n : kNames) {
        if (!(mismatch & n.bit)) continue;
        CopyText(buffer + length, size - length, n.name);  // cut at the buffer's end
        length += std::strlen(buffer + length);
    }
    if (length >= 2) buffer[length - 2] = '\0';
}

}  // namespace orbex
