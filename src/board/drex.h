// The display driver's DREX escape: request block and reply layouts.
#pragma once

#include <cstdint>

namespace orbex {

constexpr int32_t kDrexEscape = 0x7306;
constexpr uint32_t kDrexMmTable = 0x140007;
constexpr uint32_t kDrexHwTable = 0x140006;
constexpr uint32_t kDrex14000B = 0x14000B;

struct MMTableRequest {
    uint32_t requestSize = 16;
    uint32_t functionCode = 0;
    uint32_t reserved[2] = {0, 0};
};
static_assert(sizeof(MMTableRequest) == 16);

struct MMTableReply {
    uint32_t ulSize = 20;
    uint32_t bytesReturned = 0;
    uint8_t table[12] = {};
};
static_assert(sizeof(MMTableReply) == 20);

#pragma pack(push, 1)
struct HWTableReply {
    uint32_t ulSize = 18;
    uint32_t bytesReturned = 0;
    uint8_t table[10] = {};
};
#pragma pack(pop)
static_assert(sizeof(HWTableReply) == 18);

struct DwordReply {
    uint32_t ulSize = 8;
    uint32_t value = 0;
};

}  // namespace orbex
