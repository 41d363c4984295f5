// The sizes the video size test tries for a capability record.
#include "cases/decoder/video_sizes.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace orbex {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

port::VideoStreamConfigCaps Record(VideoSize min, VideoSize max, VideoSize granularity) {
    port::VideoStreamConfigCaps caps;
    caps.minOutputSize = {min.width, min.height};
    caps.maxOutputSize = {max.width, max.height};
    caps.outputGranularityX = granularity.width;
    caps.outputGranularityY = granularity.height;
    return caps;
}

std::vector<VideoSize> Reported(const port::VideoStreamConfigCaps& caps) {
    std::vector<VideoSize> out;
    uint64_t count = ForEachReportedSize(caps, [&](VideoSize s) { out.push_back(s); });
    EXPECT_EQ(count, out.size());
    return out;
}

TEST(VideoSizes, ThePredefinedTableByFamilyAndMaximumSize) {
    auto ntsc640 = Record({80, 60}, {640, 480}, {4, 2});
    EXPECT_THAT(
        PredefinedSizes(ntsc640, 0x1),
        ElementsAreArray(std::vector<VideoSize>{{80, 60}, {160, 120}, {240, 180}, {320, 240}, {640, 240}, {640, 480}}));
    auto pal720 = Record({80, 60}, {720, 576}, {4, 2});
    EXPECT_THAT(PredefinedSizes(pal720, 0x2),
                ElementsAreArray(std::vector<VideoSize>{
                    {80, 72}, {128, 96}, {176, 144}, {240, 176}, {352, 240}, {352, 288}, {640, 288}, {720, 288}}));
    EXPECT_EQ(PredefinedSizes(pal720, 0x4), PredefinedSizes(pal720, 0x2));
    EXPECT_EQ(PredefinedSizes(pal720, 0xFF).size(), 16u);
    EXPECT_EQ(PredefinedSizes(pal720, 0x8).size(), 0u) << "no group bit";
    // Both the width and the height must fit; the bound is inclusive.
    EXPECT_THAT(PredefinedSizes(Record({0, 0}, {352, 287}, {1, 1}), 0x6),
                ElementsAreArray(std::vector<VideoSize>{{80, 72}, {128, 96}, {176, 144}, {240, 176}, {352, 240}}));
    EXPECT_THAT(PredefinedSizes(Record({0, 0}, {79, 480}, {1, 1}), 0xFF), ElementsAre());
}

TEST(VideoSizes, AllReportedSizesStepByTheGranularityWidthFirst) {
    EXPECT_THAT(Reported(Record({160, 120}, {320, 240}, {160, 120})),
                ElementsAreArray(std::vector<VideoSize>{{160, 120}, {160, 240}, {320, 120}, {320, 240}}));
    // A maximum off the grid is not reached.
    EXPECT_THAT(Reported(Record({160, 120}, {319, 239}, {80, 60})),
                ElementsAreArray(std::vector<VideoSize>{{160, 120}, {160, 180}, {240, 120}, {240, 180}}));
    EXPECT_EQ(ForEachReportedSize(Record({80, 60}, {720, 576}, {4, 2}), [](VideoSize) {}), 161u * 259u);
    EXPECT_THAT(Reported(Record({320, 240}, {160, 120}, {4, 2})), ElementsAre()) << "minimum above maximum";
}

TEST(VideoSizes, AZeroOrNegativeGranularityTriesTheMinimumOnceInThatDimension) {
    EXPECT_THAT(Reported(Record({160, 120}, {320, 240}, {0, 120})),
                ElementsAreArray(std::vector<VideoSize>{{160, 120}, {160, 240}}));
    EXPECT_THAT(Reported(Record({160, 120}, {320, 240}, {160, -2})),
                ElementsAreArray(std::vector<VideoSize>{{160, 120}, {320, 120}}));
    EXPECT_THAT(Reported(Record({160, 120}, {320, 240}, {0, 0})), ElementsAre(VideoSize{160, 120}));
}

TEST(VideoSizes, ARangeUpToTheLargestIntegerEnds) {
    auto caps = Record({INT32_MAX - 2, 1}, {INT32_MAX, 1}, {2, 1});
    EXPECT_THAT(Reported(caps), ElementsAre(VideoSize{INT32_MAX - 2, 1}, VideoSize{INT32_MAX, 1}));
}

}  // namespace
}  // namespace orbex
