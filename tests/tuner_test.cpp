// The tuner object: its per-type tables, the standard check, the channel
// settings of orbex.ini, the initialisation failures the virtual board can
// show, the missing-tuner answers of its tests, and the channel scan's
// early end and callback.
#include "cases/tuner/tuner.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>

#include "graph/orb_gbuilder.h"
#include "support/sys_bench.h"

namespace orbex::testing {
namespace {

using ::testing::ElementsAre;

// ---- Tables and the standard check ----

TEST(TunerTables, StandardMasksAndModesFollowTheTunerType) {
    SysBench bench;
    CTuner tuner(&bench.Builder());
    std::map<int, int32_t> masks = {{1, 0x3},      {2, 0x3},    {8, 0x3},     {12, 0x3},     {3, 0x50},
                                    {9, 0x50},     {4, 0x100},  {10, 0x100},  {5, 0xC0050},  {11, 0xC0050},
                                    {6, 0x603},    {15, 0x603}, {7, 0x12000}, {13, 0x13170}, {14, 0x53170},
                                    {16, 0xC0170}, {29, 0x603}, {30, 0xF7170}};
    for (int type = -2; type <= 33; ++type) {
        int32_t mask = masks.count(type) ? masks[type] : 0;
        EXPECT_EQ(tuner.StandardMask(type), mask) << "type " << type;
        EXPECT_EQ(tuner.ExpectedModes(type), mask ? 1 : 0) << "type " << type;
    }
    EXPECT_EQ(tuner.StandardMask(255), 0);
}

TEST(TunerTables, AStandardIsSupportedWhenItSharesABitWithTheBoardTunersMask) {
    struct Case {
        int type;
        int32_t standard;
        bool supported;
    };
    for (const Case& c :
         {Case{1, 0x1, true}, Case{1, 0x10, false}, Case{1, 0x3, true}, Case{6, 0x1, true}, Case{6, 0x400, true},
          Case{6, 0x100, false}, Case{13, 0x100, true}, Case{13, 0x1, false}, Case{14, 0x40000, true},
          Case{30, 0x80000, true}, Case{17, -1, false}, Case{0, -1, false}, Case{31, -1, false}}) {
        SysBench bench(BoardWithTunerType(c.type));
        CTuner tuner(&bench.Builder());
        EXPECT_EQ(tuner.IsStandardSupported(c.standard), c.supported) << c.type << " " << c.standard;
    }
    // Without a board table the tuner type is -1: nothing is supported.
    SysBench bench(Replaced(Bench::Board(), "Escape=served", "Escape=refused"));
    CTuner tuner(&bench.Builder());
    EXPECT_FALSE(tuner.IsStandardSupported(-1));
}

// ---- Channel settings ----

TEST(TunerSettings, StartChannelAndChannelCountComeFromTheTunerClassKeys) {
    const std::string cannot =
        "255 0x00FF0000 CTuner::Initialize() Cannot determine tuner type. Setting Default "
        "Channel to 1.";
    struct Case {
        int type;
        const char* ini;  // nullptr: no orbex.ini
        int32_t start;
        int32_t count;
    };
    for (const Case& c : {
             Case{1, nullptr, 33, 61},
             Case{1, "[Tuner]\nNTSC_Channel=4\nNTSC_NumOfChannel=7\n", 4, 7},
             Case{1, "[tuner]\nntsc_numofchannel=12\n", 33, 12},
             Case{1, "[Tuner]\nPAL_Channel=9\nPAL_NumOfChannel=9\n", 33, 61},
             Case{1, "[Other]\nNTSC_Channel=4\n", 33, 61},
             Case{1, "[Tuner]\nNTSC_Channel=abc\n", 0, 61},
             Case{3, nullptr, 2, 2},
             Case{3, "[Tuner]\nPAL_Channel=5\n", 5, 2},
             Case{7, nullptr, 1, 1},
             Case{7, "[Tuner]\nSECAM_Channel=6\nSECAM_NumOfChannel=3\n", 6, 3},
             Case{5, "[Tuner]\nPAL_SECAM_NumOfChannel=9\n", 2, 9},
             Case{13, "[Tuner]\nPAL_SECAM_Channel=21\n", 21, 2},
             Case{31, "[Tuner]\nNTSC_Channel=4\n", 1, 0},
             Case{17, nullptr, 1, 0},
         }) {
        SysBench bench(BoardWithTunerType(c.type));
        if (c.ini) bench.WriteFile("orbex.ini", c.ini);
        bench.OpenLog();
        CTuner tuner(&bench.Builder());
        int32_t start = -7;
        tuner.ReadChannelSettings(&start);
        std::string label = std::to_string(c.type) + " " + (c.ini ? c.ini : "(no file)");
        EXPECT_EQ(start, c.start) << label;
        EXPECT_EQ(tuner.ExpectedChannelCount(), c.count) << label;
        bool classless = c.type == 31 || c.type == 17;
        EXPECT_EQ(bench.Logged(cannot), classless) << label;
    }
}

// ---- Initialisation on the virtual board ----

TEST(TunerInit, AGraphWithoutTunerFilterFailsAndStopsTheBench) {
    SysBench bench(Bench::Board(), Replaced(SysGraph(), "Tuner=;1\n", ""));
    EXPECT_EQ(bench.Run("tc1100"), 0);
    EXPECT_THAT(bench.Results(), ElementsAre(Msg("tc1100", 0, "CTuner::Initialize() Failed to find a tuner."),
                                             Rep("tc1100", 0, "", "", "[Fail]**** Failed to find a tuner.")));
    EXPECT_TRUE(bench.Logged("0 0x0000AF00 CTuner::CTuner() Entered."));
    EXPECT_TRUE(bench.Logged("765 0x000000FF CTuner::Initialize() Failed to find a tuner."));
    EXPECT_FALSE(bench.Logged("0 0x0000AF00 CDecoder::Initialize() ... "));  // the decoder comes after the tuner
    EXPECT_FALSE(bench.Builder().Tuner()->IsInitialised());
}

// A filter of the graph's tuner entry that is not a tuner: a second crossbar device.
const std::string kSecondCrossbar =
    "[Device.Radio]\nCategory=Crossbar\nFriendlyName=Qel Radio Crossbar\n"
    "Pins=in:Video Tuner In:analog; out:Video Decoder Out:analog\n";

TEST(TunerInit, AFilterWithoutTunerInterfaceIsNoRunAndLaterTunerTestsAreRefused) {
    SysBench bench(Bench::Board(kSecondCrossbar), Replaced(SysGraph(), "[Tuner]\nCLSID=A799A800,",
                                                           "[Tuner]\nFriendlyName=Qel Radio\nCLSID=A799A801,"));
    EXPECT_EQ(bench.Run("tc1100"), 0);
    const std::string actual =
        "[NoRun]**** Filter is incorrectly defined as a Tuner, or no tuner interface is found within filter.";
    EXPECT_THAT(bench.Results(),
                ElementsAre(Msg("tc1100", 1, "CTuner::Initialize()>  Filter is incorrectly defined as a Tuner."),
                            Rep("tc1100", 2, "", "", actual)));
    EXPECT_FALSE(bench.Logged("0 0x0000AF00 CTuner::Tuner Detected, Tuner type reported is 0x00000001."));

    bench.ClearEvents();
    EXPECT_EQ(bench.Run("tc1101"), 2);
    const std::string refusal = "[NoRun]**** The CTuner test object is not available for test case \"tc1101\".";
    EXPECT_THAT(bench.Results(), ElementsAre(Msg("tc1101", 1, "TestExecuter()>  " + refusal),
                                             Rep("tc1101", 2, "Test executer.", "Test object is ready.", refusal)));
}

TEST(TunerInit, ABoardWithoutTunerNeverInitialisesTheTuner) {
    SysBench bench(NoTunerBoard());
    bench.Run("tc1100");
    EXPECT_FALSE(bench.Logged("0 0x0000AF00 CTuner::CTuner() Entered."));
    bench.OpenLog();
    ASSERT_NE(bench.Builder().Tuner(), nullptr);
    EXPECT_FALSE(bench.Builder().Tuner()->IsInitialised());

    // Its tests then say that the board has no tuner.
    bench.ClearEvents();
    EXPECT_EQ(bench.Builder().Tuner()->ExecuteTest("tc1100", 100, 0), 1);
    EXPECT_THAT(bench.Results(),
                ElementsAre(Msg("tc1100", 4, "CTuner::ExecuteTest() No Tuner Found on Board. No test ran."),
                            Rep("tc1100", 1, "Tuner Testes.", "No tuner test should be ran.", "No tuner test ran.")));
    auto log = bench.LogLines();
    ASSERT_GE(log.size(), 4u);
    EXPECT_THAT(std::vector<std::string>(log.end() - 4, log.end()),
                ElementsAre("0 0x0000AF00 CTuner::ExecuteTest() Entered.",
                            "255 0x00FF0000 CTuner::ExecuteTest() No Tuner Found on Board. No test ran.",
                            "100 0x0000AF00 CTuner::ExecuteTest() Reporting to Kiln ...",
                            "0 0x0000AF00 CTuner::ExecuteTest() Finished."));
}

// ---- The missing-tuner answers ----

TEST(TunerExecute, AMissingTunerIsExplainedByTheBoardTunerStatus) {
    struct Case {
        int32_t boardStatus;
        int32_t status;
        const char* expected;
        const char* actual;
        const char* logLine;
    };
    for (const Case& c : {
             Case{0, 1, "No tuner test should be ran.", "No tuner test ran.",
                  "255 0x00FF0000 CTuner::ExecuteTest() No Tuner Found on Board. No test ran."},
             Case{15, 2, "Known tuner found.", "An unknown tuner is present, no test ran.",
                  "511 0x00000000 CTuner::ExecuteTest() Unknown Found on Board. No test ran."},
             Case{-1, 2, "Tuner Hardware Present and type returned by DREX call.", "Cannot determine the tuner driver.",
                  "511 0x00000000 CTuner::ExecuteTest() Cannot determine tuner on Board. No test ran."},
             Case{7, 2, "Tuner driver loaded.",
                  "Tuner driver not loaded on system with tuner indicated, or tuner not included within the test "
                  "graph.",
                  "511 0x00000000 CTuner::ExecuteTest() Cannot get interface to tuner."},
         }) {
        SysBench bench(Bench::Board(), Replaced(SysGraph(), "Tuner=;1\n", ""));
        bench.RunThenReopen("tc1101");
        CTuner tuner(&bench.Builder());
        EXPECT_EQ(tuner.Initialize(nullptr, c.boardStatus, 1, nullptr, &bench.Builder()), 1);
        bench.ClearEvents();
        EXPECT_EQ(tuner.ExecuteTest("tc1101", 101, 0), c.status) << c.boardStatus;
        ASSERT_EQ(bench.Reports().size(), 2u) << c.boardStatus;
        EXPECT_EQ(bench.Results()[1], Rep("tc1101", c.status, "Tuner Testes.", c.expected, c.actual)) << c.boardStatus;
        EXPECT_TRUE(bench.Logged(c.logLine)) << c.boardStatus;
    }
}

// ---- Channel scan ----

TEST(ChannelScan, WithoutTheScanObjectItIsNoRun) {
    SysBench bench;
    bench.RunThenReopen("tc2210");
    CTuner tuner(&bench.Builder());
    EXPECT_EQ(tuner.Test_LinearChannelScan(), 2);
    const std::string actual = "[NoRun]**** No QelAnalogLCS object has been cocreated.";
    EXPECT_THAT(bench.Results(),
                ElementsAre(Msg("tc2210", 0, "CTuner::Test_LinearChannelScan()>  " + actual),
                            Rep("tc2210", 2, "Checking linear channel scan.", "QelAnalogLCS object exist.", actual)));
    EXPECT_TRUE(bench.Logged("765 0x000000FF CTuner::Test_LinearChannelScan()>  " + actual));
    EXPECT_EQ(FoundChannelCount(), 0);
}

TEST(ChannelScan, TheCallbackAsksOnlyAboutTunedChannelsAndGoesOn) {
    int32_t locked = 7;
    EXPECT_EQ(ScanProgressCallback(40, 0, &locked), 1);
    EXPECT_EQ(locked, 7);  // nothing tuned: no answer
    EXPECT_EQ(FoundChannelCount(), 0);
    // Outside a scan there is no decoder to ask: not locked, not counted.
    EXPECT_EQ(ScanProgressCallback(50, 1, &locked), 1);
    EXPECT_EQ(locked, 0);
    EXPECT_EQ(ScanProgressCallback(60, 1, nullptr), 1);
    EXPECT_EQ(FoundChannelCount(), 0);
}

}  // namespace
}  // namespace orbex::testing
