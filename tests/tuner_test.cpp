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

// ---- End to end over the test rack (shipped graph file and orbex.ini) ----

namespace orbex::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

const std::string kTunerSection = "[Tuner]\n; the TV tuner device category\n";

// The shipped graph with a VideoStandard key in the tuner's section.
std::string RackGraphWithTunerStandard(const std::string& standard) {
    return Replaced(ExampleFile("default.gf"), kTunerSection, kTunerSection + "VideoStandard=" + standard + "\n");
}

TEST(TunerStartUp, AGraphStandardTheTunerLacksIsNotApplicable) {
    RackBench bench;
    bench.WriteFile("default.gf", RackGraphWithTunerStandard("0x10"));
    EXPECT_EQ(bench.Run("tc1100"), 0);
    const std::string actual = "[NA] Video standard (0x00000010) is not supported by tuner.";
    EXPECT_THAT(bench.Results(), ElementsAre(Msg("tc1100", 4, "CTuner::Initialize()>  " + actual),
                                             Rep("tc1100", 1, "Initializing tuner.",
                                                 "Video standard (0x00000010) is supported by tuner.", actual)));
    EXPECT_TRUE(bench.Logged("255 0x00FF0000 CTuner::Initialize()>  " + actual));
    EXPECT_FALSE(bench.Logged("0 0x0000AF00 CTuner::Initialize() Tuner found."));
    EXPECT_FALSE(bench.Builder().Tuner()->IsInitialised());
}

TEST(TunerStartUp, AStandardSharedWithTheTunersMaskOrNoneLetsItGoOn) {
    struct Case {
        int type;
        const char* standard;  // nullptr: no key
        const char* formats;   // what the tuner driver reports
        const char* expected;
    };
    const std::string noKey =
        "100 0x0000AF00 CTuner::Initialize()>  No VideoStandard specified in graph file. Using MMTable to "
        "determine video standard for tuner.";
    for (const Case& c : {Case{6, "0x1", "0x603", "0x00000603"}, Case{1, "0x1", "0x3", "0x00000003"},
                          Case{1, "0x2", "0x3", "0x00000003"}, Case{1, nullptr, "0x3", "0x00000003"}}) {
        RackBench bench(BoardWithTunerType(c.type, std::string("[Tuner]\nAvailableFormats=") + c.formats + "\n"));
        if (c.standard) bench.WriteFile("default.gf", RackGraphWithTunerStandard(c.standard));
        std::string label = std::to_string(c.type) + " " + (c.standard ? c.standard : "none");
        EXPECT_EQ(bench.Run("tc1100"), 4) << label;
        EXPECT_THAT(bench.Results(),
                    ElementsAre(Rep("tc1100", 4, "Tuner Supported Standard Test", c.expected, c.expected)))
            << label;
        EXPECT_TRUE(bench.Logged("0 0x0000AF00 CTuner::Initialize() Finished")) << label;
        EXPECT_EQ(bench.Logged(noKey), c.standard == nullptr) << label;
    }
}

TEST(TunerStartUp, WithoutTheScanObjectItIsNoRun) {
    for (const char* extra : {"[ChannelScan]\nObject=absent\n", "[Faults]\nCreateChannelScan=0x80004005\n"}) {
        RackBench bench(Bench::Board(extra));
        EXPECT_EQ(bench.Run("tc1100"), 0) << extra;
        const std::string actual = "[NoRun]**** Unable to cocreate QelAnalogLCS object.";
        EXPECT_THAT(bench.Results(),
                    ElementsAre(Msg("tc1100", 1, "CTuner::Initialize()>  " + actual), Rep("tc1100", 2, "", "", actual)))
            << extra;
        EXPECT_TRUE(bench.Logged("511 0x00000000 CTuner::Initialize()>  " + actual)) << extra;
        EXPECT_FALSE(bench.Logged("0 0x0000AF00 CTuner::Initialize() Tuner found.")) << extra;
    }
}

TEST(TunerStartUp, ASuccessfulStartLogsTheTunerAndTunesTheStartChannel) {
    RackBench bench(Bench::Board("[Tuner]\nPowerOnChannel=4\n"));
    bench.Run("tc1102");
    auto log = bench.LogLines();
    std::vector<std::string> tuner;
    for (const std::string& line : log)
        if (line.find("CTuner::") != std::string::npos && line.find("ExecuteTest") == std::string::npos &&
            line.find("TUN_") == std::string::npos)
            tuner.push_back(line);
    EXPECT_THAT(tuner, ElementsAre("0 0x0000AF00 CTuner::CTuner() Entered.",
                                   "0 0x0000AF00 CTuner::Tuner Detected, Tuner type reported is 0x00000001.",
                                   "100 0x0000AF00 CTuner::Initialize()>  No VideoStandard specified in graph file. "
                                   "Using MMTable to determine video standard for tuner.",
                                   "0 0x0000AF00 CTuner::Initialize() Tuner found.",
                                   "0 0x0000AF00 CTuner::Initialize() Finished"));
    EXPECT_EQ(bench.Channel(), 33);  // orbex.ini: NTSC_Channel=33
}

TEST(TunerStartUp, TheStartChannelComesFromOrbexIniOrItsDefaults) {
    struct Case {
        int type;
        const char* ini;  // nullptr: no orbex.ini
        int32_t channel;
    };
    for (const Case& c : {Case{1, "[Tuner]\nNTSC_Channel=7\n", 7}, Case{1, nullptr, 33}, Case{1, "[Tuner]\n", 33},
                          Case{3, "[Tuner]\nPAL_Channel=9\n", 9}, Case{3, nullptr, 2}, Case{7, nullptr, 1},
                          Case{31, "[Tuner]\nNTSC_Channel=7\n", 1}}) {
        // Russia's table (1 to 69) holds every start channel of the cases.
        RackBench bench(BoardWithTunerType(c.type, "[Tuner]\nPowerOnChannel=50\nCountryCode=7\n"));
        bench.WriteFile("orbex.ini", c.ini ? c.ini : "");
        if (!c.ini) std::remove((bench.Directory() + "/orbex.ini").c_str());
        bench.Run("tc1102");
        EXPECT_EQ(bench.Channel(), c.channel) << c.type << " " << (c.ini ? c.ini : "(none)");
    }
}

// ---- The tuner cases ----

std::vector<std::string> Details(const char* testCase, const char* description, const char* expected,
                                 const char* actual) {
    std::string head = std::string("CTuner::") + testCase + "()::";
    return {head + "Description:" + description, head + "Expected   :" + expected, head + "Actual     :" + actual};
}

TEST(TunerCases, EachCaseReportsWhatTheDriverAnswers) {
    struct Case {
        const char* extra;
        const char* line;
        int32_t value;
        const char* testCase;  // nullptr: no detail lines
        const char* description;
        const char* expected;
        const char* actual;
    };
    for (const Case& c : {
             Case{"", "tc1100", 4, "TUN_AVAILABLE_FORMAT", "Tuner Supported Standard Test", "0x00000003", "0x00000003"},
             Case{"[Tuner]\nAvailableFormats=0x13\n", "tc1100", 0, "TUN_AVAILABLE_FORMAT",
                  "Tuner Supported Standard Test", "0x00000003", "0x00000013"},
             Case{"[Tuner]\nAvailableFormats=0x1\n", "tc1100", 0, "TUN_AVAILABLE_FORMAT",
                  "Tuner Supported Standard Test", "0x00000003", "0x00000001"},
             Case{"[Faults]\nTunerGetAvailableTVFormats=0x80004005\n", "tc1100", 2, nullptr, "", "", ""},
             Case{"", "tc1101", 4, "TUN_AVAILABLE_MODE", "Tuner Supported Modes Test", "0x00000001", "0x00000001"},
             Case{"[Tuner]\nAvailableModes=3\n", "tc1101", 0, "TUN_AVAILABLE_MODE", "Tuner Supported Modes Test",
                  "0x00000001", "0x00000003"},
             Case{"[Faults]\nTunerGetAvailableModes=0x80004005\n", "tc1101", 2, nullptr, "", "", ""},
             Case{"", "tc1102", 4, "TUN_COUNTRY_CODE", "Tuner Country Code Test.", "Any country code other than 0.",
                  "[Pass] Country code (0x00000001)"},
             Case{"[Tuner]\nCountryCode=49\n", "tc1102", 4, "TUN_COUNTRY_CODE", "Tuner Country Code Test.",
                  "Any country code other than 0.", "[Pass] Country code (0x00000031)"},
             Case{"[Tuner]\nCountryCode=0\n", "tc1102", 0, "TUN_COUNTRY_CODE", "Tuner Country Code Test.",
                  "Any country code other than 0.", "[Fail]**** Invalid country code (0x00000000)"},
             Case{"[Faults]\nTunerGetCountryCode=0x80004005\n", "tc1102", 0, "TUN_COUNTRY_CODE",
                  "Tuner Country Code Test.", "Any country code other than 0.", "[Fail]**** Fail to get country code."},
         }) {
        RackBench bench(Bench::Board(c.extra));
        std::string label = std::string(c.line) + " " + c.extra;
        EXPECT_EQ(bench.Run(c.line), c.value) << label;
        std::vector<std::string> want;
        std::vector<std::string> details;
        if (c.testCase) details = Details(c.testCase, c.description, c.expected, c.actual);
        if (c.value != 4)
            for (const std::string& d : details) want.push_back(Msg(c.line, 0, d));
        want.push_back(Rep(c.line, c.value, c.description, c.expected, c.actual));
        EXPECT_THAT(bench.Results(), ElementsAreArray(want)) << label;

        // The detail lines: green on a pass, red otherwise; none without an answer.
        std::string level = c.value == 4 ? "100 0x0000AF00 " : "765 0x000000FF ";
        for (const std::string& d : details) EXPECT_TRUE(bench.Logged(level + d)) << label << d;
        if (!c.testCase) {
            for (const std::string& line : bench.LogLines())
                EXPECT_EQ(line.find("()::"), std::string::npos) << label << line;
        }
        EXPECT_TRUE(bench.Logged("100 0x0000AF00 CTuner::ExecuteTest() Reporting to Kiln ...")) << label;
    }
}

TEST(TunerCases, AnUnknownTestNumberIsNoRunWithoutReport) {
    // tc2100 and tc1110: the scan needs graph 2 and test 10 together.
    for (const char* line : {"tc1103", "tc2100", "tc1110"}) {
        RackBench bench;
        EXPECT_EQ(bench.Run(line), 2) << line;
        EXPECT_TRUE(bench.Results().empty()) << line;
        EXPECT_FALSE(bench.Logged("100 0x0000AF00 CTuner::ExecuteTest() Reporting to Kiln ...")) << line;
        EXPECT_FALSE(bench.Logged("101 0x0000AF00 CTuner::Test_LinearChannelScan()>  [Pass] 5 channel(s) found."))
            << line;
    }
}

// The tuner is set with the default sub-channels (-1) on start-up.
TEST(TunerCases, TheStartChannelIsSetWithTheDefaultSubChannels) {
    RackBench bench(Bench::Board("[Tuner]\nPowerOnChannel=4\n"));
    EXPECT_EQ(bench.Run("tc1100"), 4);
    EXPECT_EQ(bench.Platform().Tuner().Channel(), 33);
    EXPECT_EQ(bench.Platform().Tuner().VideoSubChannel(), -1);
    EXPECT_EQ(bench.Platform().Tuner().AudioSubChannel(), -1);
}

// Called directly: a tuner whose start-up failed after it got its interface,
// and a call without a test identifier text.
TEST(TunerExecute, AFailedStartUpAndAMissingTestTextAreReportedAsSuch) {
    {
        SysBench bench(Bench::Board(), Replaced(SysGraph(), "FilterType=2\n", "FilterType=2\nVideoStandard=0x10\n"));
        bench.RunThenReopen("tc1100");
        EXPECT_EQ(bench.Builder().Tuner()->ExecuteTest("tc1100", 100, 0), 1);
        ASSERT_EQ(bench.Results().size(), 2u);
        EXPECT_EQ(bench.Results()[0], Msg("tc1100", 4,
                                          "CTuner::ExecuteTest() No Tuner Found on Board, or tuner initialization "
                                          "failed. No test ran."));
        EXPECT_EQ(bench.Results()[1], Rep("tc1100", 1, "Tuner test.", "No tuner test should be ran.",
                                          "No tuner found or tuner initialization failed."));
        EXPECT_TRUE(
            bench.Logged("255 0x00FF0000 CTuner::ExecuteTest() No Tuner Found on Board, or tuner "
                         "initialization failed. No test ran."));
    }
    {
        RackBench bench;
        bench.RunThenReopen("tc1100");
        EXPECT_EQ(bench.Builder().Tuner()->ExecuteTest(nullptr, 100, 0), 2);
        ASSERT_EQ(bench.Reports().size(), 2u);
        EXPECT_NE(bench.Reports()[1].find("\"status\":2,\"description\":\"Tuner Testes.\",\"expected\":\"Valid test "
                                          "string.\",\"actual\":\"Invalid test string was passed in.\""),
                  std::string::npos)
            << bench.Reports()[1];
        EXPECT_TRUE(bench.Logged("511 0x00000000 CTuner::ExecuteTest() Invalid tuner test string."));
    }
}

// ---- The linear channel scan ----

TEST(ChannelScanRun, CountsTheStationsTheDecoderLocksToAndRestoresTheChannel) {
    struct Case {
        const char* extra;
        int32_t value;
        const char* expected;
        const char* actual;
    };
    for (const Case& c : {
             Case{"", 4, "5 channel(s) found.", "[Pass] 5 channel(s) found."},
             Case{"[Channel.7]\nLines=625\n", 0, "5 channel(s) found.", "[Fail]**** 4 channel(s) found."},
             Case{"[Channel.60]\nSignal=present\n", 0, "5 channel(s) found.", "[Fail]**** 6 channel(s) found."},
             Case{"[Faults]\nLcsConnect=0x80004005\n", 2, "Able to connect to QelAnalogLCS object.",
                  "[NoRun]**** Unable to connect to QelAnalogLCS object."},
             Case{"[Faults]\nTunerGetCountryCode=0x80004005\n", 2, "Able to get country code from tuner.",
                  "[NoRun]**** Unable to get country code from tuner."},
             Case{"[Faults]\nLcsSetCountryCode=0x80070057\n", 2, "Able to set country code.",
                  "[NoRun]**** Unable to set country code to 1."},
             Case{"[Tuner]\nCountryCode=81\n[Faults]\nLcsSetCountryCode=0x80070057\n", 2, "Able to set country code.",
                  "[NoRun]**** Unable to set country code to 81."},
             Case{"[Faults]\nLcsAutoTune=0x80004005\n", 2, "Able to auto tune.", "[NoRun]**** Auto tune failed."},
         }) {
        RackBench bench(Bench::Board(c.extra));
        EXPECT_EQ(bench.Run("tc2110"), c.value) << c.extra;
        const std::string logged = std::string("CTuner::Test_LinearChannelScan()>  ") + c.actual;
        std::vector<std::string> want;
        if (c.value != 4) want.push_back(Msg("tc2110", 0, logged));
        want.push_back(Rep("tc2110", c.value, "Checking linear channel scan.", c.expected, c.actual));
        EXPECT_THAT(bench.Results(), ElementsAreArray(want)) << c.extra;
        EXPECT_TRUE(bench.Logged((c.value == 4 ? "101 0x0000AF00 " : "765 0x000000FF ") + logged)) << c.extra;
        EXPECT_EQ(bench.Channel(), 33) << c.extra;
        EXPECT_EQ(FoundChannelCount(), 0) << c.extra;
    }
}

TEST(ChannelScanRun, TunesEveryChannelOfTheTableWithItsSettleTime) {
    // A run of the same process set-up without the scan is the baseline.
    RackBench bench;
    uint32_t before = bench.Now();
    EXPECT_EQ(bench.Run("tc1102"), 4);
    uint32_t setUp = bench.Now() - before;
    before = bench.Now();
    EXPECT_EQ(bench.Run("tc2110"), 4);
    uint32_t scan = bench.Now() - before - setUp;
    // Channels 2 to 69 of the USA's table, 100 ms of settling each, and on
    // the 63 empty ones the decoder's second look at the lock 100 ms later.
    EXPECT_GE(scan, (68u + 63u) * 100u);
    EXPECT_LT(scan, (68u + 64u) * 100u);
}

TEST(ChannelScanRun, AChannelThatCannotBeReadEndsTheScanOnChannel2) {
    RackBench bench(Bench::Board("[Faults]\nTunerGetChannel=0x80004005\n"));
    EXPECT_EQ(bench.Run("tc2110"), 4);
    EXPECT_EQ(bench.Channel(), 2);
}

}  // namespace
}  // namespace orbex::testing
