// The HTML report's pictures, each an inline SVG element made from what the
// platform delivered while a test case ran.
#pragma once

#include <string>

#include "test_case_record.h"

namespace orbex::harness {

// An overlay buffer as the system read it: its luma quantized to 32 greys (one
// rect per run of equal greys in a row; at most 256 rows and 8192
// samples drawn, each drawn row standing for the rows below it up to the next), and beside it
// a strip marking each row picture (P), empty (E) or noise (N), with the counts.
std::string OverlaySvg(const OverlayPicture& picture);

// A sampled line-21 line as the line-21 decoder reads it.
std::string VbiLineSvg(const VbiLinePicture& picture, const std::string& title);

// The measured frame intervals against the set interval and the band of
// intervals whose rate is within 15 % of the set rate.
std::string FrameIntervalsSvg(const FrameIntervals& intervals);

// One cell a channel, locked or not, the channel numbers below, the count of locked channels.
std::string ChannelScanSvg(const ChannelScanPicture& scan);

// The band of frame intervals, in microseconds, whose rate is within 15 % of
// the rate of the set interval: set / 1.15 to set / 0.85.
struct IntervalBand {
    double lowUs;
    double highUs;
};
IntervalBand BandOf(int64_t setIntervalUs);

}  // namespace orbex::harness
