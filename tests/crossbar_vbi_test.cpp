// The crossbar and VBI objects: the crossbar's initialisation failures and
// its answer without a crossbar, the VBI analyzer's initialisation and
// records, the VBI test's dispatch, and the closed-caption test without
// captions and on a PAL board.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

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
