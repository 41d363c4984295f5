// The picture sizes the video size test tries for one capability record:
// the predefined table filtered by the record and the family mask (test 204),
// or every size of the record on its granularity grid (test 205).
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "platform/stream_config.h"

namespace orbex {

struct VideoSize {
    int32_t width = 0;
    int32_t height = 0;
    friend bool operator==(const VideoSize&, const VideoSize&) = default;
};

// Slots of the predefined table, in order, that are not empty, fit the
// record's maximum output size and share a bit with the family mask.
std::vector<VideoSize> PredefinedSizes(const port::VideoStreamConfigCaps& caps, uint32_t familyMask);

// Calls step for every size from the minimum to the maximum output size,
// width by width and within each width height by height, stepping by the
// output granularity. A granularity of 0 or less gives only the minimum in
// that dimension, so a record without a step still ends. Returns the count.
uint64_t ForEachReportedSize(const port::VideoStreamConfigCaps& caps, const std::function<void(VideoSize)>& step);

}  // namespace orbex
