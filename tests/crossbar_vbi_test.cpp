// The crossbar and VBI objects: the crossbar's initialisation failures and
// its answer without a crossbar, the VBI analyzer's initialisation and
// records, the VBI test's dispatch, and the closed-caption test without
// captions and on a PAL board.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>

#include "cases/crossbar/dec_xbar.h"
#include "cases/vbi/vbi.h"
#include "cases/vbi/vbi_analyzer.h"
#include "common/format.h"
#include "graph/orb_gbuilder.h"
#include "support/sys_bench.h"

namespace orbex::testing {
namespace {

using ::testing::ElementsAre;

// ---- Crossbar ----

TEST(CrossbarInit, AGraphWithoutCrossbarFailsAndStopsTheBench) {
    SysBench bench(NoTunerBoard(), Replaced(Replaced(SysGraph(), "Crossbar=1;2\n", ""), "Capture=2;", "Capture=;"));
    EXPECT_EQ(bench.Run("tc1400"), 0);
    EXPECT_THAT(bench.Results(), ElementsAre(Msg("tc1400", 0, "CDecXbar::InitDecXbar()>  No Video Crossbar Found."),
                                             Rep("tc1400", 0, "[Fail]**** No Video Crossbar Found.", "", "")));
    EXPECT_TRUE(bench.Logged("765 0x000000FF CDecXbar::InitDecXbar()>  No Video Crossbar Found."));
    EXPECT_TRUE(bench.Logged("0 0x0000AF00 CDecoder::Initialize() ... "));  // the decoder comes first
    EXPECT_FALSE(bench.Logged("100 0x0000AF00 CVBIAnalyzer::Initialize()>  No Known VBI Analyzer Detected."));
}

TEST(CrossbarInit, AFilterWithoutCrossbarInterfaceIsNoRun) {
    // The graph's crossbar entry finds a tuner device.
    SysBench bench(NoTunerBoard() +
                       "[Device.Radio]\nCategory=TvTuner\nFriendlyName=Qel Radio\nPins=out:Analog "
                       "Video:analog\n",
                   Replaced(SysGraph(),
                            "[Crossbar]\nCLSID=A799A801,A46D,11D0,A1,8C,00,A0,24,01,DC,D4\nFriendlyName=Qel "
                            "Crossbar\n",
                            "[Crossbar]\nCLSID=A799A800,A46D,11D0,A1,8C,00,A0,24,01,DC,D4\nFriendlyName=Qel Radio\n"));
    EXPECT_EQ(bench.Run("tc1400"), 0);
    const std::string actual = "[NoRun]**** Failed to get IID_IAMCrossbar interface from a crossbar filter.";
    EXPECT_THAT(bench.Results(),
                ElementsAre(Rep("tc1400", 2, "Get IID_IAMCrossbar Interface.",
                                "Able to get IID_IAMCrossbar interface from a crossbar filter.", actual),
                            Msg("tc1400", 1, "CDecXbar::InitDecXbar()>  " + actual)));
}

TEST(CrossbarExecute, WithoutACrossbarEveryTestIsNotApplicable) {
    SysBench bench;
    bench.OpenLog();
    CDecXbar crossbar(&bench.Builder());
    CopyText(bench.Builder().Id().testIdText, sizeof bench.Builder().Id().testIdText, "tc1402");
    EXPECT_EQ(crossbar.ExecuteTest("tc1400", 100, 0), 1);
    EXPECT_EQ(crossbar.ExecuteTest(nullptr, 102, 0), 1);
    EXPECT_EQ(crossbar.ExecuteTest("tc1403", 103, 0), 1);
    EXPECT_THAT(bench.Results(), ElementsAre(Rep("tc1400", 1, "No DecoderXbar or Invalid Test String!!!", "", ""),
                                             Rep("tc1402", 1, "No DecoderXbar or Invalid Test String!!!", "", ""),
                                             Rep("tc1403", 1, "No DecoderXbar or Invalid Test String!!!", "", "")));
}

// ---- VBI analyzer ----

TEST(VbiAnalyzer, WithoutAnAnalyzerFilterOnlyANoteIsLogged) {
    SysBench bench;
    bench.RunThenReopen("tc2200");
    CVBIAnalyzer analyzer(&bench.Builder());
    EXPECT_EQ(analyzer.Initialize(), 1);
    EXPECT_TRUE(bench.Reports().empty());
    EXPECT_EQ(bench.LogLines().back(), "100 0x0000AF00 CVBIAnalyzer::Initialize()>  No Known VBI Analyzer Detected.");
}

TEST(VbiAnalyzer, AFilterWithoutTheAnalyzerInterfaceIsNoRunAndReadsNothing) {
    // The video analyzer filter is not a VBI analyzer.
    SysBench bench(Bench::Board(), Replaced(SysGraph(), "Renderer=3\n", "Renderer=3\nVbi=;\n") +
                                       "[Vbi]\nCLSID=4DCF9720,E5E8,11D3,9E,FE,00,80,29,E6,43,A4\nFilterType=8\n");
    bench.Run("tc0000");  // registers the test kit's filters
    bench.RunThenReopen("tc2200");
    CVBIAnalyzer analyzer(&bench.Builder());
    EXPECT_EQ(analyzer.Initialize(), 1);
    EXPECT_THAT(bench.Results(),
                ElementsAre(Msg("tc2200", 1, "CVBIAnalyzer::Initialize()>  Failed to find VBI Analyzer Interface."),
                            Rep("tc2200", 2,
                                "[NoRun]**** Filter is incorrectly defined as a VBI Analyzer, or no VBI Analyzer "
                                "interface is found within filter.",
                                "", "")));
    VbiRecord record;
    std::fill(std::begin(record.bytes), std::end(record.bytes), uint8_t{0xAB});
    EXPECT_EQ(analyzer.GetVBIData(&record), 1);
    for (uint8_t b : record.bytes) ASSERT_EQ(b, 0);
    EXPECT_EQ(record.CaptionLine(), 0);
}

TEST(VbiAnalyzer, TheCaptionLineIsTheInt32AtOffset100) {
    VbiRecord record;
    record.bytes[100] = 21;
    EXPECT_EQ(record.CaptionLine(), 21);
    record.bytes[99] = 0xFF;
    record.bytes[104] = 0xFF;
    EXPECT_EQ(record.CaptionLine(), 21);
    record.bytes[103] = 0x01;
    EXPECT_EQ(record.CaptionLine(), 0x01000015);
}

// ---- VBI test ----

struct VbiBench : SysBench {
    using SysBench::SysBench;
    int32_t Execute(int32_t graph, int32_t device, int32_t test, const char* idText) {
        TestIdentifier& id = Builder().Id();
        id.graphNumber = graph;
        id.deviceNumber = device;
        id.testNumber = test;
        CopyText(id.testIdText, sizeof id.testIdText, idText);
        return CVBI(&Builder()).ExecuteTest();
    }
};

TEST(VbiExecute, DispatchesByDeviceGraphAndTestNumber) {
    VbiBench bench;
    bench.OpenLog();
    const std::string wrongDevice = "[NoRun]**** Invalid input test string. DeviceID=4.";
    EXPECT_EQ(bench.Execute(2, 4, 1, "tc2401"), 2);
    EXPECT_THAT(bench.Results(), ElementsAre(Msg("tc2401", 4, "CVBI::ExecuteTest()>  " + wrongDevice),
                                             Rep("tc2401", 2, "VBI test.", "Test DeviceID=11.", wrongDevice)));

    bench.ClearEvents();
    EXPECT_EQ(bench.Execute(3, 11, 1, "G3_D11_T1_P0_Fdefault"), 2);
    EXPECT_EQ(bench.Execute(1, 11, 2, "G1_D11_T2_P0_Fdefault"), 2);
    EXPECT_TRUE(bench.Reports().empty());

    EXPECT_EQ(bench.Execute(2, 11, 2, "G2_D11_T2_P0_Fdefault"), 1);
    EXPECT_THAT(bench.Results(),
                ElementsAre(Rep("G2_D11_T2_P0_Fdefault", 1, "This test has been removed.", "None", "None")));

    bench.ClearEvents();
    EXPECT_EQ(bench.Execute(2, 11, 3, "G2_D11_T3_P0_Fdefault"), 2);
    const std::string invalid = "[NoRun]**** Invalid test case \"G2_D11_T3_P0_Fdefault\".";
    EXPECT_THAT(bench.Results(),
                ElementsAre(Msg("G2_D11_T3_P0_Fdefault", 4, "CVBI::ExecuteTest()>  " + invalid),
                            Rep("G2_D11_T3_P0_Fdefault", 2, "VBI test.", "Valid test case.", invalid)));
    EXPECT_EQ(bench.LogLines().back(), "255 0x00FF0000 CVBI::ExecuteTest()>  " + invalid);
}

TEST(ClosedCaption, APalTunerIsNotApplicable) {
    VbiBench bench(BoardWithTunerType(3));
    bench.OpenLog();
    uint32_t before = bench.Platform().Clock().TimeGetTime();
    EXPECT_EQ(bench.Execute(2, 11, 1, "G2_D11_T1_P0_Fdefault"), 1);
    const std::string actual = "[NA] Non NTSC tuner found. Closed captioning requires NTSC signal.";
    EXPECT_THAT(bench.Results(),
                ElementsAre(Msg("G2_D11_T1_P0_Fdefault", 4, "CVBI::Test_ClosedCaption()>  " + actual),
                            Rep("G2_D11_T1_P0_Fdefault", 1, "Checking closed captioning.", "NTSC tuner.", actual)));
    EXPECT_LT(bench.Platform().Clock().TimeGetTime() - before, 150u);  // no sample taken
}

TEST(ClosedCaption, WithoutAnalyzerEveryChannelUpTo35IsSampledAndTheTestFails) {
    VbiBench bench;
    bench.RunThenReopen("tc2200");
    uint32_t before = bench.Platform().Clock().TimeGetTime();
    EXPECT_EQ(bench.Execute(2, 11, 1, "G2_D11_T1_P0_Fdefault"), 0);
    uint32_t elapsed = bench.Platform().Clock().TimeGetTime() - before;
    const std::string actual = "[Fail]**** Closed captioning not detected.";
    EXPECT_THAT(bench.Results(), ElementsAre(Msg("G2_D11_T1_P0_Fdefault", 0, "CVBI::Test_ClosedCaption()>  " + actual),
                                             Rep("G2_D11_T1_P0_Fdefault", 0, "Checking closed captioning.",
                                                 "Closed captioning detected on line 21 of odd buffer.", actual)));
    // The starting channel and 25 to 35: 12 channels of 5 samples, 150 ms apart.
    EXPECT_GE(elapsed, 12u * 5u * 150u);
    EXPECT_LT(elapsed, 12u * 5u * 150u + 150u);
}

}  // namespace
}  // namespace orbex::testing

namespace orbex::testing {
namespace {

TEST(GraphBuilderObjects, TheBenchCreatesTheDeviceObjectsAndReleaseDestroysThem) {
    SysBench bench;
    bench.Run("tc1100");
    COrbGBuilder& builder = bench.Builder();
    EXPECT_NE(builder.Tuner(), nullptr);
    EXPECT_NE(builder.Decoder(), nullptr);
    EXPECT_NE(builder.Crossbar(), nullptr);
    EXPECT_NE(builder.VbiAnalyzer(), nullptr);
    EXPECT_NE(builder.Vbi(), nullptr);
    EXPECT_EQ(builder.Release(), 0);
    EXPECT_EQ(builder.Tuner(), nullptr);
    EXPECT_EQ(builder.Decoder(), nullptr);
    EXPECT_EQ(builder.Crossbar(), nullptr);
    EXPECT_EQ(builder.VbiAnalyzer(), nullptr);
    EXPECT_EQ(builder.Vbi(), nullptr);
    for (TestObject object :
         {TestObject::Tuner, TestObject::Decoder, TestObject::Crossbar, TestObject::VbiAnalyzer, TestObject::Vbi})
        EXPECT_FALSE(builder.IsTestObjectReady(object)) << TestObjectClassName(object);
}

}  // namespace
}  // namespace orbex::testing

// ---- End to end over the test rack (shipped graph file and orbex.ini) ----

namespace orbex::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

std::string Step(const std::string& id, const std::string& step, int status, const std::string& description,
                 const std::string& expected, const std::string& actual) {
    return ReportJson(id, step, status, description, expected, actual);
}

std::string RouteStep(int step, int status) {
    return Step("tc1402", std::to_string(step), status,
                "Test for signal lock from crossbar InPin" + std::to_string(step - 1) + " to OutPin0",
                "There is a signal.", status == 4 ? "[Pass] There is a signal." : "[Fail]**** There is no signal.");
}

TEST(CrossbarCounts, InputsAgainstTheBoardTableAndOutputsAgainstOne) {
    struct Case {
        const char* extra;
        const char* line;
        int32_t value;
        const char* description;
        const char* expected;
        const char* actual;
    };
    for (const Case& c : {
             Case{"", "tc1400", 4, "Number of Decoder Input Connectors Test", "3", "3"},
             Case{"[Crossbar]\nInputs=Tuner, Composite\n", "tc1400", 0, "Number of Decoder Input Connectors Test", "3",
                  "2"},
             Case{"[Crossbar]\nInputs=Tuner, Composite, SVideo, None\n", "tc1400", 0,
                  "Number of Decoder Input Connectors Test", "3", "4"},
             Case{"", "tc1401", 4, "Number of Decoder Output Connectors Test", "1", "1"},
             Case{"[Crossbar]\nOutputs=2\n", "tc1401", 0, "Number of Decoder Output Connectors Test", "1", "2"},
         }) {
        RackBench bench(Bench::Board(c.extra));
        EXPECT_EQ(bench.Run(c.line), c.value) << c.line << " " << c.extra;
        EXPECT_THAT(bench.Results(), ElementsAre(Rep(c.line, c.value, c.description, c.expected, c.actual)))
            << c.line << " " << c.extra;
    }
}

TEST(CrossbarCounts, UnreadablePinCountsAreNoRun) {
    const std::string actual = "[NoRun]**** Unable to read the crossbar's pin counts.";
    for (auto [line, description, expected] : {std::tuple{"tc1400", "Number of Decoder Input Connectors Test", "3"},
                                               std::tuple{"tc1401", "Number of Decoder Output Connectors Test", "1"}}) {
        RackBench bench(Bench::Board("[Faults]\nCrossbarGetPinCounts=0x80004005\n"));
        EXPECT_EQ(bench.Run(line), 2) << line;
        EXPECT_THAT(bench.Results(), ElementsAre(Msg(line, 1, "CDecXbar::ExecuteTest()>  " + actual),
                                                 Rep(line, 2, description, expected, actual)));
        EXPECT_TRUE(bench.Logged("511 0x00000000 CDecXbar::ExecuteTest()>  " + actual)) << line;
    }
}

TEST(CrossbarRoutes, EveryInputIsRoutedAndCheckedForASignal) {
    const std::string last = "Test for signal lock from crossbar InPin2 to OutPin0";
    const std::string prefix = "CDecXbar::ExecuteTest()>  ";
    // The summary is reported first, then logged.
    struct Case {
        const char* extra;
        std::vector<std::string> results;
        const char* logLine;
    };
    const std::string refused = "[Fail]**** Failed to route crossbar.";
    for (const Case& c : {
             Case{"",
                  {RouteStep(1, 4), RouteStep(2, 4), RouteStep(3, 4),
                   Rep("tc1402", 4, last, "All test pass.", "[Pass] All test pass.")},
                  "101 0x0000AF00 CDecXbar::ExecuteTest()>  [Pass] All test pass."},
             Case{"[Crossbar]\nInputs=Tuner, Composite, None\n",
                  {RouteStep(1, 4), RouteStep(2, 4), RouteStep(3, 0),
                   Rep("tc1402", 0, last, "All test pass.", "[Fail]**** 1 step(s) failed."),
                   Msg("tc1402", 0, prefix + "[Fail]**** 1 step(s) failed.")},
                  "765 0x000000FF CDecXbar::ExecuteTest()>  [Fail]**** 1 step(s) failed."},
             Case{"[Source.Composite]\nSignal=absent\n[Source.SVideo]\nLines=625\n",
                  {RouteStep(1, 4), RouteStep(2, 0), RouteStep(3, 0),
                   Rep("tc1402", 0, last, "All test pass.", "[Fail]**** 2 step(s) failed."),
                   Msg("tc1402", 0, prefix + "[Fail]**** 2 step(s) failed.")},
                  "765 0x000000FF CDecXbar::ExecuteTest()>  [Fail]**** 2 step(s) failed."},
             Case{"[Crossbar]\nRefuse=1\n",
                  {RouteStep(1, 4),
                   Step("tc1402", "2", 0, "Test for signal lock from crossbar InPin1 to OutPin0",
                        "Able to route crossbar.", refused),
                   Msg("tc1402", 0, prefix + refused), RouteStep(3, 4),
                   Rep("tc1402", 0, last, "All test pass.", "[Fail]**** 1 step(s) failed."),
                   Msg("tc1402", 0, prefix + "[Fail]**** 1 step(s) failed.")},
                  "765 0x000000FF CDecXbar::ExecuteTest()>  [Fail]**** Failed to route crossbar."},
         }) {
        RackBench bench(Bench::Board(c.extra));
        EXPECT_EQ(bench.Run("tc1402"), 2) << c.extra;  // whatever the summary says
        EXPECT_THAT(bench.Results(), ElementsAreArray(c.results)) << c.extra;
        EXPECT_TRUE(bench.Logged(c.logLine)) << c.extra;
        EXPECT_EQ(bench.Platform().Crossbar().RoutedTo(0), 2) << c.extra;  // the last route stays
    }
}

TEST(CrossbarStartUp, TheGraphsInputPinIsRoutedWhenTheBoardHasATuner) {
    RackBench bench;
    bench.WriteFile("default.gf", Replaced(ExampleFile("default.gf"), "InputPin=0", "InputPin=2"));
    EXPECT_EQ(bench.Run("tc1400"), 4);
    EXPECT_EQ(bench.Platform().Crossbar().RoutedTo(0), 2);
    EXPECT_THAT(bench.Results(), ElementsAre(Rep("tc1400", 4, "Number of Decoder Input Connectors Test", "3", "3")));
}

TEST(CrossbarStartUp, ARefusedStartRouteIsAFailedStepZeroAndTheTestsGoOn) {
    RackBench bench(Bench::Board("[Crossbar]\nRefuse=2\n"));
    bench.WriteFile("default.gf", Replaced(ExampleFile("default.gf"), "InputPin=0", "InputPin=2"));
    EXPECT_EQ(bench.Run("tc1400"), 4);
    const std::string actual = "[Warning]** Failed to route input pin 2 to output pin 0.";
    EXPECT_THAT(bench.Results(), ElementsAre(Step("tc1400", "0", 0, "Routing selected input source to output pin",
                                                  "Able to route crossbar.", actual),
                                             Msg("tc1400", 4, "CDecXbar::InitDecXbar()>  " + actual),
                                             Rep("tc1400", 4, "Number of Decoder Input Connectors Test", "3", "3")));
    EXPECT_TRUE(bench.Logged("255 0x00FF0000 CDecXbar::InitDecXbar()>  " + actual));
    EXPECT_EQ(bench.Platform().Crossbar().RoutedTo(0), 0);
}

TEST(CrossbarStartUp, WithoutATunerTheInputPinIsNotRouted) {
    RackBench bench(NoTunerBoard());
    EXPECT_EQ(bench.Run("tc1401"), 4);
    EXPECT_TRUE(bench.Logged(
        "100 0x0000AF00 CDecXbar::InitDecXbar()>  [Warning]** Routing from input pin 0 to output pin 0 was not done "
        "due to no hardware tuner."));
}

// ---- Closed captions ----

const char* const kCaptions = "-g 2 -d 11 -t 1";
const char* const kCaptionsId = "G2_D11_T1_P0_Fdefault";

std::vector<std::string> CaptionResults(int status, const std::string& actual) {
    std::vector<std::string> out;
    if (status != 4) out.push_back(Msg(kCaptionsId, 0, "CVBI::Test_ClosedCaption()>  " + actual));
    out.push_back(Rep(kCaptionsId, status, "Checking closed captioning.",
                      "Closed captioning detected on line 21 of odd buffer.", actual));
    return out;
}

TEST(ClosedCaptionRun, PassesOnTheChannelThatCarriesCaptions) {
    struct Case {
        std::string board;
        int channel;
        uint32_t emptyChannels;  // scanned in full before the one with captions
    };
    for (const Case& c : {Case{Bench::Board(), 33, 0}, Case{StockBoardText("captions-on-27"), 27, 3}}) {
        RackBench bench(c.board);
        bench.Run("tc1102");
        bench.ClearEvents();
        uint32_t before = bench.Now();
        EXPECT_EQ(bench.Run(kCaptions), 4);
        uint32_t taken = bench.Now() - before;
        const std::string actual =
            "[Pass] Closed captioning detected on line 21 odd buffer of Channel " + std::to_string(c.channel) + ".";
        EXPECT_THAT(bench.Results(), ElementsAreArray(CaptionResults(4, actual))) << c.channel;
        EXPECT_TRUE(bench.Logged("101 0x0000AF00 CVBI::Test_ClosedCaption()>  " + actual));
        // 33, then 25, 26 in full (5 samples 150 ms apart), and a hit on 27 within its samples.
        EXPECT_GE(taken, c.emptyChannels * 5u * 150u + 150u) << c.channel;
        EXPECT_LT(taken, (c.emptyChannels + 1) * 5u * 150u + 150u) << c.channel;
        EXPECT_EQ(bench.Channel(), 33) << c.channel;
    }
}

TEST(ClosedCaptionRun, FailsAfterTwelveChannelsWithoutReadableCaptions) {
    const std::string actual = "[Fail]**** Closed captioning not detected.";
    for (const std::string& board : {StockBoardText("no-captions"),
                                     // A waveform too weak and noisy to read on the only captioned station.
                                     Bench::Board("[Channel.33]\nCaptionAmplitude=10\nCaptionNoise=8\n"),
                                     // The analyzer cannot hand out its records.
                                     Bench::Board("[Faults]\nVbiGetData=0x80004005\n")}) {
        RackBench bench(board);
        bench.Run("tc1102");
        bench.ClearEvents();
        uint32_t before = bench.Now();
        EXPECT_EQ(bench.Run(kCaptions), 0);
        uint32_t taken = bench.Now() - before;
        EXPECT_THAT(bench.Results(), ElementsAreArray(CaptionResults(0, actual)));
        EXPECT_TRUE(bench.Logged("765 0x000000FF CVBI::Test_ClosedCaption()>  " + actual));
        EXPECT_GE(taken, 12u * 5u * 150u);
        EXPECT_LT(taken, 12u * 5u * 150u + 150u);
        EXPECT_EQ(bench.Channel(), 33);
    }
}

TEST(ClosedCaptionRun, AnUnconnectedVbiPinReadsNoCaptions) {
    RackBench bench;
    bench.WriteFile("default.gf", Replaced(Replaced(ExampleFile("default.gf"), "Capture=2;6 0 5", "Capture=2;6 0 0"),
                                           "Vbi=5", "Vbi="));
    EXPECT_EQ(bench.Run(kCaptions), 0);
    EXPECT_THAT(bench.Results(), ElementsAreArray(CaptionResults(0, "[Fail]**** Closed captioning not detected.")));
}

TEST(ClosedCaptionRun, APalBoardIsNotApplicableAndKeepsItsChannel) {
    RackBench bench(StockBoardText("pal-tuner"));
    bench.Run("tc1102");
    bench.ClearEvents();
    uint32_t before = bench.Now();
    EXPECT_EQ(bench.Run(kCaptions), 1);
    const std::string actual = "[NA] Non NTSC tuner found. Closed captioning requires NTSC signal.";
    EXPECT_THAT(bench.Results(),
                ElementsAre(Msg(kCaptionsId, 4, "CVBI::Test_ClosedCaption()>  " + actual),
                            Rep(kCaptionsId, 1, "Checking closed captioning.", "NTSC tuner.", actual)));
    EXPECT_EQ(bench.Channel(), 2);
    EXPECT_LT(bench.Now() - before, 150u);
}

TEST(ClosedCaptionRun, TheRemovedTestAndOtherGraphs) {
    RackBench bench;
    EXPECT_EQ(bench.Run("-g 2 -d 11 -t 2"), 1);
    EXPECT_THAT(bench.Results(),
                ElementsAre(Rep("G2_D11_T2_P0_Fdefault", 1, "This test has been removed.", "None", "None")));
    bench.ClearEvents();
    EXPECT_EQ(bench.Run("-g 3 -d 11 -t 1"), 2);
    EXPECT_TRUE(bench.Results().empty());
}

}  // namespace
}  // namespace orbex::testing

namespace orbex::testing {
namespace {

int32_t RecordInt(const VbiRecord& record, int offset) {
    int32_t value;
    std::memcpy(&value, record.bytes + offset, sizeof value);
    return value;
}

// The six pointers reach the analyzer at offsets 0, 8, 16, 24, 32 and 40:
// the fields it writes through each land where its record places them.
TEST(VbiAnalyzerRecord, EachPointerReachesItsPartOfTheRecord) {
    RackBench bench;
    ASSERT_EQ(bench.Run("-g 2 -d 11 -t 1"), 4);
    VbiRecord record;
    ASSERT_EQ(bench.Builder().VbiAnalyzer()->GetVBIData(&record), kSOk);
    EXPECT_EQ(RecordInt(record, 4), 1);          // the odd field, through the first pointer
    EXPECT_EQ(RecordInt(record, 12), 1);         // a pair decoded, through the second
    EXPECT_GT(RecordInt(record, 16), 500);       // eye opening in thousandths, through the third
    EXPECT_EQ(RecordInt(record, 24), 28636363);  // sampling rate, through the fourth
    EXPECT_EQ(RecordInt(record, 28), 1600);
    EXPECT_EQ(RecordInt(record, 40), 21);  // the line sampled, through the sixth
    EXPECT_EQ(record.CaptionLine(), 21);
    const std::string text = "ORBEX CLOSED CAPTION TEST ON CHANNEL 33.";
    EXPECT_NE(text.find(static_cast<char>(record.bytes[8])), std::string::npos);
    EXPECT_NE(text.find(static_cast<char>(record.bytes[9])), std::string::npos);
}

}  // namespace
}  // namespace orbex::testing
