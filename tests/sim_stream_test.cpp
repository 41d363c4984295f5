// The virtual board's capture stream configuration: the profile's capability
// records, the 128-byte record the driver writes, and the rules of SetFormat.
#include <gtest/gtest.h>

#include <cstring>
#include <regex>

#include "platform/guids.h"
#include "platform/sim/display/overlay_config.h"
#include "platform/sim/signal/frame_feed.h"
#include "platform/sim/virtual_board.h"

namespace orbex::sim {
namespace {

constexpr HResult kInvalidMediaType = static_cast<HResult>(0x80040200);

std::unique_ptr<VirtualBoard> MakeBoard(const std::string& text) {
    std::string error;
    auto profile = ParseBoardProfile(text, "t.ini", error);
    EXPECT_TRUE(profile) << error;
    if (!profile) return nullptr;
    SimOptions options;
    options.events = [](const PlatformEvent&) {};
    return std::make_unique<VirtualBoard>(*profile, options);
}

std::string Profile(const std::string& extra = "") {
    return "[Profile]\nBase=reference\n" + extra;
}

std::string ProfileError(const std::string& text) {
    std::string error;
    EXPECT_FALSE(ParseBoardProfile(text, "t.ini", error));
    return error;
}

// The capture filter's stream configuration, as the system finds it.
std::shared_ptr<port::IAMStreamConfig> StreamConfig(VirtualBoard& board) {
    port::ComPtr any;
    EXPECT_EQ(board.Com().CoCreateInstance(guids::kClsidSystemDeviceEnum, guids::kIidCreateDevEnum, any), kSOk);
    auto devEnum = port::ComCast<port::ICreateDevEnum>(any);
    std::shared_ptr<port::IEnumMoniker> monikers;
    if (!devEnum || devEnum->CreateClassEnumerator(guids::kCategoryVideoInputDevice, monikers, 0) != kSOk)
        return nullptr;
    std::shared_ptr<port::IMoniker> moniker;
    if (monikers->Next(moniker) != kSOk) return nullptr;
    port::ComPtr filter;
    EXPECT_EQ(moniker->BindToObject(guids::kIidBaseFilter, filter), kSOk);
    std::shared_ptr<port::IAMStreamConfig> config;
    if (filter) port::ComQuery(*filter, guids::kIidAmStreamConfig, config);
    return config;
}

template <class T>
T At(const uint8_t* bytes, size_t offset) {
    T v;
    std::memcpy(&v, bytes + offset, sizeof v);
    return v;
}

TEST(SimStream, ReferenceBoardAdvertisesOneUyvyRecordAndStartsAt320x240) {
    auto board = MakeBoard(Profile());
    auto config = StreamConfig(*board);
    ASSERT_TRUE(config);
    int32_t count = -1, size = -1;
    ASSERT_EQ(config->GetNumberOfCapabilities(&count, &size), kSOk);
    EXPECT_EQ(count, 1);
    EXPECT_EQ(size, 128);

    uint8_t caps[128];
    port::VideoMediaType format;
    ASSERT_EQ(config->GetStreamCaps(0, format, caps), kSOk);
    // The fields the size and rate tests read, at their offsets in the record.
    EXPECT_EQ(At<int32_t>(caps, 60), 80);
    EXPECT_EQ(At<int32_t>(caps, 64), 60);
    EXPECT_EQ(At<int32_t>(caps, 68), 720);
    EXPECT_EQ(At<int32_t>(caps, 72), 480);
    EXPECT_EQ(At<int32_t>(caps, 76), 4);
    EXPECT_EQ(At<int32_t>(caps, 80), 2);
    EXPECT_EQ(At<int64_t>(caps, 104), 333333);
    EXPECT_EQ(At<int64_t>(caps, 112), 10000000);
    EXPECT_TRUE(At<Guid>(caps, 0) == guids::kFormatVideoInfo);
    EXPECT_TRUE(format.subtype == guids::kMediaSubtypeUyvy);
    EXPECT_EQ(format.width, 720);
    EXPECT_EQ(format.height, 480);

    EXPECT_EQ(config->GetStreamCaps(1, format, caps), kSFalse);
    EXPECT_EQ(config->GetStreamCaps(-1, format, caps), kEInvalidArg);

    ASSERT_EQ(config->GetFormat(format), kSOk);
    EXPECT_EQ(format.width, 320);
    EXPECT_EQ(format.height, 240);
    EXPECT_EQ(format.avgTimePerFrame, 333333);
    EXPECT_EQ(format.sizeImage, 320u * 240u * 2u);
}

struct FormatCase {
    const char* what;
    int32_t width;
    int32_t height;
    int64_t interval;
    bool yuy2;
    HResult expected;
};

TEST(SimStream, SetFormatTakesOnlyWhatTheRecordsAllow) {
    const FormatCase cases[] = {
        {"smallest size", 80, 60, 333667, false, kSOk},
        {"largest size", 720, 480, 10000000, false, kSOk},
        {"on the grid", 160, 122, 400000, false, kSOk},
        {"width off the grid", 162, 120, 333667, false, kInvalidMediaType},
        {"height off the grid", 160, 121, 333667, false, kInvalidMediaType},
        {"width below the minimum", 76, 60, 333667, false, kInvalidMediaType},
        {"height above the maximum", 720, 482, 333667, false, kInvalidMediaType},
        {"width above the maximum", 724, 480, 333667, false, kInvalidMediaType},
        {"faster than the record", 320, 240, 333332, false, kInvalidMediaType},
        {"slower than the record", 320, 240, 10000001, false, kInvalidMediaType},
        {"subtype without a record", 320, 240, 333667, true, kInvalidMediaType},
    };
    for (const FormatCase& c : cases) {
        auto board = MakeBoard(Profile());
        auto config = StreamConfig(*board);
        ASSERT_TRUE(config);
        port::VideoMediaType format;
        ASSERT_EQ(config->GetFormat(format), kSOk);
        format.width = c.width;
        format.height = c.height;
        format.avgTimePerFrame = c.interval;
        if (c.yuy2) format.subtype = guids::kMediaSubtypeYuy2;
        EXPECT_EQ(config->SetFormat(format), c.expected) << c.what;
        port::VideoMediaType now;
        ASSERT_EQ(config->GetFormat(now), kSOk);
        bool taken = c.expected == kSOk;
        EXPECT_EQ(now.width, taken ? c.width : 320) << c.what;
        EXPECT_EQ(now.height, taken ? c.height : 240) << c.what;
        EXPECT_EQ(now.avgTimePerFrame, taken ? c.interval : 333333) << c.what;
    }
}

TEST(SimStream, ZeroGranularityAcceptsAnySizeInRangeAndAZeroIntervalKeepsTheRate) {
    auto board = MakeBoard(Profile("[CaptureFormat.1]\nGranularity=0x0\n[CaptureStream]\nStartFrameInterval=400000\n"));
    auto config = StreamConfig(*board);
    ASSERT_TRUE(config);
    port::VideoMediaType format;
    ASSERT_EQ(config->GetFormat(format), kSOk);
    EXPECT_EQ(format.avgTimePerFrame, 400000);
    format.width = 81;
    format.height = 61;
    format.avgTimePerFrame = 0;
    EXPECT_EQ(config->SetFormat(format), kSOk);
    ASSERT_EQ(config->GetFormat(format), kSOk);
    EXPECT_EQ(format.width, 81);
    EXPECT_EQ(format.avgTimePerFrame, 400000);
    format.width = 79;
    EXPECT_EQ(config->SetFormat(format), kInvalidMediaType);
}

TEST(SimStream, ASecondRecordAndTheProfilesRefusalCode) {
    auto board = MakeBoard(
        Profile("[CaptureFormat.2]\nSubtype=YUY2\nMinOutputSize=160x120\nMaxOutputSize=320x240\nGranularity=160x120\n"
                "[CaptureStream]\nRefusalResult=0x80070057\n"));
    auto config = StreamConfig(*board);
    ASSERT_TRUE(config);
    int32_t count = 0, size = 0;
    ASSERT_EQ(config->GetNumberOfCapabilities(&count, &size), kSOk);
    EXPECT_EQ(count, 2);
    port::VideoMediaType format;
    uint8_t caps[128];
    ASSERT_EQ(config->GetStreamCaps(1, format, caps), kSOk);
    EXPECT_TRUE(format.subtype == guids::kMediaSubtypeYuy2);
    EXPECT_EQ(At<int32_t>(caps, 76), 160);
    format.width = 160;
    format.height = 240;
    EXPECT_EQ(config->SetFormat(format), kSOk);
    format.width = 240;
    EXPECT_EQ(config->SetFormat(format), kEInvalidArg);
}

TEST(SimStream, RecordSizeOtherThan128IsReportedAndNeverWritesPastTheBuffer) {
    for (int32_t recordSize : {64, 200}) {
        auto board = MakeBoard(Profile("[CaptureStream]\nRecordSize=" + std::to_string(recordSize) + "\n"));
        auto config = StreamConfig(*board);
        ASSERT_TRUE(config);
        int32_t count = 0, size = 0;
        ASSERT_EQ(config->GetNumberOfCapabilities(&count, &size), kSOk);
        EXPECT_EQ(size, recordSize);
        uint8_t buffer[256];
        std::memset(buffer, 0xEE, sizeof buffer);
        port::VideoMediaType format;
        ASSERT_EQ(config->GetStreamCaps(0, format, std::span<uint8_t>(buffer, 128)), kSOk);
        size_t written = recordSize < 128 ? static_cast<size_t>(recordSize) : 128;
        EXPECT_EQ(At<int32_t>(buffer, 60), 80);
        EXPECT_EQ(buffer[written - 1] == 0xEE, false) << recordSize;
        for (size_t i = written; i < sizeof buffer; ++i) ASSERT_EQ(buffer[i], 0xEE) << recordSize << " at " << i;
        // A larger buffer receives the reported size: the record, then zeros.
        std::memset(buffer, 0xEE, sizeof buffer);
        ASSERT_EQ(config->GetStreamCaps(0, format, buffer), kSOk);
        for (size_t i = 128; i < static_cast<size_t>(recordSize); ++i) ASSERT_EQ(buffer[i], 0) << i;
        for (size_t i = static_cast<size_t>(recordSize); i < sizeof buffer; ++i) ASSERT_EQ(buffer[i], 0xEE) << i;
    }
}

TEST(SimStream, ARecordThatLiesFillsLessThanItAdvertises) {
    auto board = MakeBoard(Profile("[CaptureFormat.1]\nFills=640x240\n"));
    auto config = StreamConfig(*board);
    ASSERT_TRUE(config);
    port::VideoMediaType format;
    ASSERT_EQ(config->GetFormat(format), kSOk);
    format.width = 720;
    format.height = 480;
    ASSERT_EQ(config->SetFormat(format), kSOk);
    EXPECT_EQ(board->CaptureStream().FilledSize().cx, 640);
    EXPECT_EQ(board->CaptureStream().FilledSize().cy, 240);
    format.width = 320;
    format.height = 240;
    ASSERT_EQ(config->SetFormat(format), kSOk);
    EXPECT_EQ(board->CaptureStream().FilledSize().cx, 320);
    EXPECT_EQ(board->CaptureStream().FilledSize().cy, 240);
}

TEST(SimStream, FaultsOnEachCall) {
    auto board =
        MakeBoard(Profile("[Faults]\nStreamSetFormat=0x80004005,1\nStreamGetFormat=0x80004005,"
                          "1\nStreamGetNumberOfCapabilities=0x80004005,1\n"
                          "StreamGetStreamCaps=0x8007000E,1\n"));
    auto config = StreamConfig(*board);
    ASSERT_TRUE(config);
    port::VideoMediaType format;
    EXPECT_EQ(config->GetFormat(format), kEFail);
    EXPECT_EQ(format.width, 0);
    ASSERT_EQ(config->GetFormat(format), kSOk);
    EXPECT_EQ(config->SetFormat(format), kEFail);
    EXPECT_EQ(config->SetFormat(format), kSOk);
    int32_t count = 5, size = 5;
    EXPECT_EQ(config->GetNumberOfCapabilities(&count, &size), kEFail);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(config->GetNumberOfCapabilities(&count, &size), kSOk);
    EXPECT_EQ(config->GetNumberOfCapabilities(nullptr, &size), kEPointer);
    uint8_t caps[128];
    EXPECT_EQ(config->GetStreamCaps(0, format, caps), kEOutOfMemory);
    EXPECT_EQ(config->GetStreamCaps(0, format, caps), kSOk);
}

TEST(SimStream, ABoardWithoutRecordsHasNoStreamConfiguration) {
    std::string text =
        std::regex_replace(std::string(ReferenceBoardText()), std::regex(R"(\[CaptureFormat\.\d+\][^\[]*)"), "");
    auto board = MakeBoard(text);
    EXPECT_FALSE(StreamConfig(*board));
}

TEST(SimStream, ProfileMistakesAreRefusedWithTheirLine) {
    struct Case {
        const char* text;
        const char* error;
    };
    const Case cases[] = {
        {"[CaptureFormat.0]\n", "t.ini:3: a [CaptureFormat] section is named by its record number, 1 to 16"},
        {"[CaptureFormat.17]\n", "t.ini:3: a [CaptureFormat] section is named by its record number, 1 to 16"},
        {"[CaptureFormat.3]\n", "t.ini:3: [CaptureFormat.3] comes after [CaptureFormat.2]"},
        {"[CaptureFormat.1]\nMinOutputSize=100\n", "t.ini:4: a size is WIDTHxHEIGHT: 720x480"},
        {"[CaptureFormat.1]\nMaxOutputSize=4097x10\n", "t.ini:4: a size is 0 to 4096 in each dimension"},
        {"[CaptureFormat.1]\nFrameInterval=500000-400000\n", "t.ini:4: the shortest frame interval comes first"},
        {"[CaptureFormat.1]\nFrameInterval=0-400000\n", "t.ini:4: a frame interval is 1 to 1000000000"},
        {"[CaptureFormat.1]\nSubtype=MJPG\n", "t.ini:4: \"MJPG\" is not UYVY, YUY2, RGB24 or a GUID"},
        {"[CaptureFormat.1]\nMinOutputSize=800x60\n", "t.ini:4: [CaptureFormat.1] has a minimum output size above"},
        {"[CaptureStream]\nStartRecord=2\n", "t.ini:4: [CaptureStream] StartRecord names a record"},
        {"[CaptureStream]\nRefusalResult=1\n", "t.ini:4: a refusal is an error code"},
        {"[CaptureStream]\nRecordSize=-1\n", "t.ini:4: a record size is 0 to 4096 bytes"},
        {"[CaptureStream]\nWidth=4\n", "t.ini:4: unknown key"},
    };
    for (const Case& c : cases) {
        std::string error = ProfileError(Profile(c.text));
        EXPECT_EQ(error.rfind(c.error, 0), 0u) << c.text << " gave " << error;
    }
}

// Frames come at the format's interval, never faster than the standard's rate.
TEST(SimStreamFrames, ArriveAtTheFormatsIntervalCappedByTheStandard) {
    struct Case {
        LineFamily family;
        uint64_t interval;
        uint64_t frames;  // in 10 s of virtual time
    };
    const Case cases[] = {
        {LineFamily::Lines525, 0, 299},       {LineFamily::Lines525, 333667, 299}, {LineFamily::Lines525, 100000, 299},
        {LineFamily::Lines525, 1000000, 100}, {LineFamily::Lines525, 599880, 166}, {LineFamily::Lines625, 0, 250},
        {LineFamily::Lines625, 333667, 250},  {LineFamily::Lines625, 400000, 250}, {LineFamily::Lines625, 10000000, 10},
    };
    for (const Case& c : cases) {
        FaultTable faults({});
        OverlaySurfaces surfaces(DefaultSurfaces(), faults);
        uint32_t now = 0;
        auto conditions = [&](uint32_t) {
            FeedConditions f;
            f.flowing = true;
            f.source.family = c.family;
            f.shape = {320, 240, 320, 240, c.interval};
            return f;
        };
        FrameFeed feed([&] { return now; }, conditions, surfaces);
        now = 10000;
        feed.Update();
        EXPECT_EQ(feed.FramesDelivered(), c.frames) << c.interval;
    }
}

// The overlay shows the captured picture stretched to its size: a scaler
// that fills less than the format leaves the rest of the rows and columns empty.
TEST(SimStreamFrames, AScalerThatFillsLessLeavesOverlayRowsEmpty) {
    struct Case {
        CaptureShape shape;
        uint32_t rows;    // of the 480 overlay rows that get picture
        size_t rowBytes;  // of the 1440 bytes of a row
    };
    const Case cases[] = {
        {{320, 240, 320, 240, 0}, 480, 1440},
        {{720, 480, 640, 240, 0}, 240, 1280},
        {{720, 480, 720, 479, 0}, 479, 1440},
        {{0, 0, 0, 0, 0}, 480, 1440},
    };
    for (const Case& c : cases) {
        FaultTable faults({});
        OverlaySurfaces surfaces(DefaultSurfaces(), faults);
        OverlaySurfaces::Surface* back = surfaces.Find(SurfaceKind::OverlayBack);
        ASSERT_TRUE(back);
        ASSERT_EQ(back->config.height, 480u);
        ASSERT_EQ(back->RowBytes(), 1440u);
        uint32_t now = 0;
        auto conditions = [&](uint32_t) {
            FeedConditions f;
            f.flowing = true;
            f.shape = c.shape;
            return f;
        };
        FrameFeed feed([&] { return now; }, conditions, surfaces);
        now = 100;
        feed.Update();
        const uint8_t* rows = back->Rows();
        size_t pitch = static_cast<size_t>(back->config.pitch);
        auto painted = [&](uint32_t row, size_t from, size_t to) {
            for (size_t i = from; i < to; ++i)
                if (rows[row * pitch + i] != 0) return true;
            return false;
        };
        EXPECT_TRUE(painted(c.rows - 1, c.rowBytes - 8, c.rowBytes)) << c.rows;
        if (c.rowBytes < 1440) EXPECT_FALSE(painted(0, c.rowBytes, 1440)) << c.rowBytes;
        if (c.rows < 480) EXPECT_FALSE(painted(c.rows, 0, 1440)) << c.rows;
    }
}

}  // namespace
}  // namespace orbex::sim
