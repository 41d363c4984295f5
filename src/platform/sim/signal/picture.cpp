#include "platform/sim/signal/picture.h"

namespace orbex::sim {
namespace {

// 75 % colour bars as Y, Cb, Cr: white, yellow, cyan, green, magenta, red, blue, black.
struct Bar {
    uint8_t y, cb, cr;
};
constexpr Bar kBars[8] = {{180, 128, 128}, {162, 44, 142}, {131, 156, 44}, {112, 72, 58},
                          {84, 184, 198},  {65, 100, 212}, {35, 212, 114}, {16, 128, 128}};

}  // namespace

// Bars: eight bars across the row; the luma carries a small ramp that moves
// with line and frame. Only luma bytes vary and chroma bytes sit between
// them, so no three neighbouring bytes ever all fall in 0x3A-0x3C.
// Noise: the settled snow of an unlocked decoder, bytes cycling 0x3A, 0x3B, 0x3C.
void FillPictureRow(PictureKind kind, uint32_t line, uint32_t frame, uint8_t* row, size_t bytes) {
    if (kind == PictureKind::Noise) {
        for (size_t i = 0; i < bytes; ++i) row[i] = static_cast<uint8_t>(0x3A + (i + line + frame) % 3);
        return;
    }
    size_t pairs = (bytes + 3) / 4;  // one UYVY pair is two pixels
    for (size_t p = 0; p < pairs; ++p) {
        const Bar& bar = kBars[pairs > 0 ? p * 8 / pairs : 0];
        uint8_t ramp = static_cast<uint8_t>((p + line + frame) % 8);
        uint8_t quad[4] = {bar.cb, static_cast<uint8_t>(bar.y + ramp), bar.cr, static_cast<uint8_t>(bar.y + ramp)};
        for (size_t k = 0; k < 4 && p * 4 + k < bytes; ++k) row[p * 4 + k] = quad[k];
    }
}

// The bars' ramp repeats every 8 lines and frames, the snow every 3.
std::shared_ptr<const RowCycle> MakePictureCycle(PictureKind kind, size_t bytes) {
    auto cycle = std::make_shared<RowCycle>();
    cycle->bytes = bytes;
    cycle->count = kind == PictureKind::Noise ? 3 : 8;
    cycle->data.resize(cycle->count * bytes);
    for (uint32_t i = 0; i < cycle->count; ++i) FillPictureRow(kind, i, 0, cycle->data.data() + i * bytes, bytes);
    return cycle;
}

std::shared_ptr<const RowCycle> PictureCycles::Get(PictureKind kind, size_t bytes) {
    for (const Entry& e : m_entries)
        if (e.kind == kind && e.rows->bytes == bytes) return e.rows;
    constexpr size_t kKept = 8;  // a sweep of scaler shares does not grow the cache without bound
    if (m_entries.size() == kKept) m_entries.erase(m_entries.begin());
    m_entries.push_back({kind, MakePictureCycle(kind, bytes)});
    return m_entries.back().rows;
}

}  // namespace orbex::sim
