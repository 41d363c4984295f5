// The video analyzer wrapper over the virtual board: how it finds the
// analyzer filter (none, or one without the analyzer interface), and what
// the board's analyzer measures of the frames that pass it: the full rate,
// a lost frame in two, a stall that counts its silence, a stopped graph.
#include "cases/stream/analyzer.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/sim/components/video_analyzer.h"
#include "support/sys_bench.h"

namespace orbex::testing {
namespace {

namespace rec = sim::analyzer_record;

template <typename T>
T Field(const AnalyzerMeasurement& m, int offset) {
    T value;
    std::memcpy(&value, m.bytes + offset, sizeof value);
    return value;
}

// A bench whose graph (the shipped one unless given) was built by the
// stream test's first call and runs; its events start empty.
struct AnalyzerBench : RackBench {
    explicit AnalyzerBench(const std::string& profile = Bench::Board(), const std::string& graph = "")
        : RackBench(profile) {
        if (!graph.empty()) WriteFile("default.gf", graph);
        first = Run("-g 2 -d 10 -t 1");
    }
    CAnalyzer& Analyzer() { return *Builder().Analyzer(); }
    int32_t first = 0;
};

const std::string kNoAnalyzer = "CAnalyzer::Initialize()>  No Known Video Analyzer Detected.";

TEST(AnalyzerInit, WithoutAnAnalyzerFilterTheRecordIsLeftAsItWas) {
    AnalyzerBench bench(Bench::Board(), Replaced(ExampleFile("default.gf"), "FilterType=5", "FilterType=0"));
    EXPECT_TRUE(bench.Logged("100 0x0000AF00 " + kNoAnalyzer));
    AnalyzerMeasurement m;
    std::memset(m.bytes, 0xAB, sizeof m.bytes);
    EXPECT_EQ(bench.Analyzer().GetMeasurement(&m), 1);
    for (uint8_t b : m.bytes) ASSERT_EQ(b, 0xAB);
}

TEST(AnalyzerInit, AFilterWithoutTheInterfaceIsReportedNoRun) {
    AnalyzerBench bench(Replaced(Bench::Board(), "Role=VideoAnalyzer\n", "Role=VideoAnalyzer\nInterface=absent\n"));
    const std::string id = "G2_D10_T1_P0_Fdefault";
    const std::string line = "CAnalyzer::Initialize()>  Failed to find Video Analyzer Interface.";
    EXPECT_TRUE(bench.Logged("511 0x00000000 " + line));
    EXPECT_FALSE(bench.Logged("100 0x0000AF00 " + kNoAnalyzer));
    EXPECT_THAT(bench.Results(),
                ::testing::IsSupersetOf(
                    {Msg(id, 1, line), Rep(id, 2,
                                           "[NoRun]**** Filter is incorrectly defined as a Video Analyzer, or no "
                                           "Video Analyzer interface is found within filter.",
                                           "", "")}));
    AnalyzerMeasurement m;
    std::memset(m.bytes, 0xAB, sizeof m.bytes);
    EXPECT_EQ(bench.Analyzer().GetMeasurement(&m), 1);
    EXPECT_EQ(m.bytes[32], 0xAB);
}

// The analyzer measures the last five seconds of frames: the full rate, half
// of it when every second frame is lost, and a stall's silence counted in.
TEST(AnalyzerMeasure, MeasuresTheFramesThatPassIt) {
    struct Case {
        const char* what;
        std::string extra;
        float low, high;
    };
    for (const Case& c : {
             Case{"every frame", "", 29.96f, 29.98f},
             Case{"every second frame lost", "[CaptureStream]\nDropEveryNth=2\n", 14.97f, 15.0f},
             // 2 s of frames in the window's 5 s: the silence after counts.
             Case{"a stall after 2 s", "[CaptureStream]\nStallAfter=2\n", 11.0f, 12.5f},
         }) {
        AnalyzerBench bench(Bench::Board(c.extra));
        ASSERT_EQ(bench.first, 2) << c.what;
        bench.Platform().Time().Sleep(5000);
        AnalyzerMeasurement m;
        EXPECT_EQ(bench.Analyzer().GetMeasurement(&m), 0) << c.what;
        float rate = m.FrameRate();
        EXPECT_GE(rate, c.low) << c.what;
        EXPECT_LE(rate, c.high) << c.what;
        // The rate is the window's frames less one over the time from its first frame.
        const auto frames = Field<uint64_t>(m, rec::kFrames);
        const auto start = Field<int64_t>(m, rec::kWindowStart), end = Field<int64_t>(m, rec::kWindowEnd);
        ASSERT_GT(frames, 1u) << c.what;
        if (c.extra.find("StallAfter") != std::string::npos)
            EXPECT_NEAR(rate, static_cast<double>(frames - 1) * 1e7 / static_cast<double>(end - start), 1e-3);
        else
            EXPECT_LT(end - start, 50'000'000) << c.what;
    }
}

TEST(AnalyzerMeasure, AStoppedGraphGivesAZeroRecord) {
    AnalyzerBench bench;
    bench.Platform().Time().Sleep(2000);
    bench.Builder().SetGraphState(0);
    bench.Platform().Time().Sleep(1000);
    AnalyzerMeasurement m;
    std::memset(m.bytes, 0xAB, sizeof m.bytes);
    EXPECT_EQ(bench.Analyzer().GetMeasurement(&m), 1);  // S_FALSE
    for (uint8_t b : m.bytes) ASSERT_EQ(b, 0);
}

TEST(AnalyzerMeasure, AFailedCallZeroesTheCallersRecord) {
    AnalyzerBench bench(Bench::Board("[Faults]\nAnalyzerGetMeasurement=0x80004005\n"));
    bench.Platform().Time().Sleep(5000);
    AnalyzerMeasurement m;
    std::memset(m.bytes, 0xAB, sizeof m.bytes);
    EXPECT_EQ(bench.Analyzer().GetMeasurement(&m), static_cast<HResult>(0x80004005));
    for (uint8_t b : m.bytes) ASSERT_EQ(b, 0);
}

}  // namespace
}  // namespace orbex::testing
