// The capture pin's stream configuration (IAMStreamConfig) as a port: the
// media type as a plain value, the 128-byte capability record, and the four
// calls the size and frame rate tests make. A Win32 wrapper copies between
// these values and AM_MEDIA_TYPE / VIDEOINFOHEADER and frees DirectShow's copies.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "platform/com.h"
#include "platform/types.h"

namespace orbex::port {

// The fields of a video media type (AM_MEDIA_TYPE with a VIDEOINFOHEADER
// format block) that the system reads or writes.
struct VideoMediaType {
    Guid majorType;
    Guid subtype;
    Guid formatType;
    int64_t avgTimePerFrame = 0;  // 100 ns units
    int32_t width = 0;            // bitmap header biWidth
    int32_t height = 0;           // bitmap header biHeight
    uint16_t bitCount = 0;
    uint32_t compression = 0;  // FOURCC, or 0 for RGB
    uint32_t sizeImage = 0;
};

struct SizeRecord {
    int32_t cx = 0;
    int32_t cy = 0;
};

// VIDEO_STREAM_CONFIG_CAPS, laid out byte for byte as the driver fills it.
struct VideoStreamConfigCaps {
    Guid guid;  // format type
    uint32_t videoStandard = 0;
    SizeRecord inputSize;
    SizeRecord minCroppingSize;
    SizeRecord maxCroppingSize;
    int32_t cropGranularityX = 0;
    int32_t cropGranularityY = 0;
    int32_t cropAlignX = 0;
    int32_t cropAlignY = 0;
    SizeRecord minOutputSize;
    SizeRecord maxOutputSize;
    int32_t outputGranularityX = 0;
    int32_t outputGranularityY = 0;
    int32_t stretchTapsX = 0;
    int32_t stretchTapsY = 0;
    int32_t shrinkTapsX = 0;
    int32_t shrinkTapsY = 0;
    int64_t minFrameInterval = 0;  // 100 ns units
    int64_t maxFrameInterval = 0;
    int32_t minBitsPerSecond = 0;
    int32_t maxBitsPerSecond = 0;
};
constexpr size_t kVideoStreamConfigCapsSize = 128;
static_assert(sizeof(VideoStreamConfigCaps) == kVideoStreamConfigCapsSize);
static_assert(offsetof(VideoStreamConfigCaps, minOutputSize) == 60);
static_assert(offsetof(VideoStreamConfigCaps, outputGranularityX) == 76);
static_assert(offsetof(VideoStreamConfigCaps, minFrameInterval) == 104);

class IAMStreamConfig : public IComObject {
public:
    virtual HResult SetFormat(const VideoMediaType& format) = 0;
    // The current format; the caller owns the copy.
    virtual HResult GetFormat(VideoMediaType& format) = 0;
    // The number of capability records and the size of each in bytes.
    virtual HResult GetNumberOfCapabilities(int32_t* count, int32_t* recordSize) = 0;
    // Record index into caps (at most caps.size() bytes are written) and the
    // format it stands for; S_FALSE when the index is past the last record.
    virtual HResult GetStreamCaps(int32_t index, VideoMediaType& format, std::span<uint8_t> caps) = 0;
};

}  // namespace orbex::port
