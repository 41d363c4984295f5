#include "cases/decoder/video_sizes.h"

namespace orbex {
namespace {

struct SizeSlot {
    uint32_t groups;  // family mask bits: 0x1 525-line, 0x2 PAL 625-line, 0x4 SECAM
    int32_t width;
    int32_t height;
};

// 30 slots; the 14 after the last used one are empty and skipped.
constexpr SizeSlot kSizeTable[30] = {
    {0x1, 80, 60},   {0x6, 80, 72},   {0x6, 128, 96},  {0x1, 160, 120}, {0x6, 176, 144}, {0x6, 240, 176},
    {0x1, 240, 180}, {0x1, 320, 240}, {0x6, 352, 240}, {0x6, 352, 288}, {0x1, 640, 240}, {0x6, 640, 288},
    {0x1, 640, 480}, {0x1, 720, 240}, {0x6, 720, 288}, {0x1, 720, 480},
};

// One dimension: from min to max by step; only min when step is not positive.
struct Dimension {
    int64_t min, max, step;
    int64_t Next(int64_t v) const { return step > 0 ? v + step : max + 1; }
};

}  // namespace

std::vector<VideoSize> PredefinedSizes(const port::VideoStreamConfigCaps& caps, uint32_t familyMask) {
    std::vector<VideoSize> out;
    for (const SizeSlot& s : kSizeTable) {
        if (s.width == 0 || s.width > caps.maxOutputSize.cx) continue;
        if (s.height == 0 || s.height > caps.maxOutputSize.cy) continue;
        if ((s.groups & familyMask & 0x7) == 0) continue;
        out.push_back({s.width, s.height});
    }
    return out;
}

uint64_t ForEachReportedSize(const port::VideoStreamConfigCaps& caps, const std::function<void(VideoSize)>& step) {
    const Dimension x{caps.minOutputSize.cx, caps.maxOutputSize.cx, caps.outputGranularityX};
    const Dimension y{caps.minOutputSize.cy, caps.maxOutputSize.cy, caps.outputGranularityY};
    uint64_t count = 0;
    for (int64_t w = x.min; w <= x.max; w = x.Next(w))
        for (int64_t h = y.min; h <= y.max; h = y.Next(h)) {
            step({static_cast<int32_t>(w), static_cast<int32_t>(h)});
            ++count;
        }
    return count;
}

}  // namespace orbex
