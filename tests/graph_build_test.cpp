// Filter creation, connection, graph control and the shared graph utilities,
// with every failure path reached from a board profile.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/guids.h"
#include "support/bench.h"

namespace orbex::testing {
namespace {

const std::string kId = "G0_D3_T0_P0_Fdefault";
const std::string kCreate = "Create all filters in the graph.";

// Builds the bench for device 3 (no test object) so that only the set-up reports.
std::vector<std::string> BuildReports(Bench& bench, int expectedReturn) {
    EXPECT_EQ(bench.Run("-d 3"), expectedReturn);
    std::vector<std::string> out;
    for (const std::string& r : bench.Reports())
        if (r.find("Invalid test case") == std::string::npos) out.push_back(r);
    return out;
}

TEST(CreateFilters, TheReferenceGraphIsBuiltConnectedAndRunning) {
    Bench bench;
    bench.WriteDefaultGraph();
    EXPECT_TRUE(BuildReports(bench, 2).empty());
    COrbGBuilder& g = bench.Process().GraphBuilder();
    ASSERT_EQ(g.FilterCount(), 4);
    for (int i = 0; i < 4; ++i) EXPECT_TRUE(g.Filter(i).filter) << i;
    // Every labelled pair is connected: the pins are taken.
    EXPECT_EQ(g.ConnectPins(g.Filter(0).filter, g.Filter(1).filter, 1, 1), kEPointer);
    EXPECT_EQ(g.DisconnectPins(g.Filter(0).filter, g.Filter(1).filter, 1, 1), 0);
    EXPECT_EQ(g.ConnectPins(g.Filter(0).filter, g.Filter(1).filter, 1, 1), 0);
    EXPECT_EQ(g.SetGraphState(0), kSOk);
    auto log = bench.LogLines();
    EXPECT_THAT(log, ::testing::Contains("100 0x0000AF00 COrbGBuilder::GetFilter()>  \"Qel TV Tuner\" Detected."));
    EXPECT_THAT(log, ::testing::Contains("0 0x0000AF00 COrbGBuilder::Initialize()>  Exit"));
}

TEST(CreateFilters, ABoardWithoutTunerDropsTheTunerEntryQuietly) {
    Bench bench(Bench::Board("[Display]\nMMTable=00 00 00 00 00 01 00 02 03 00 00 00\n"));
    bench.WriteDefaultGraph();
    EXPECT_TRUE(BuildReports(bench, 2).empty());
    const FilterEntry& tuner = bench.Process().GraphBuilder().Filter(0);
    EXPECT_STREQ(tuner.name, "");
    EXPECT_EQ(tuner.filterType, 0);
    EXPECT_TRUE(tuner.clsid.IsNull());
    EXPECT_EQ(tuner.outputCount, 0);
    EXPECT_FALSE(tuner.filter);
}

TEST(CreateFilters, AnUnregisteredClassIsAnInfoAndTheEntryIsDropped) {
    Bench bench;
    bench.WriteDefaultGraph("[Extra]\nCLSID=12345678,1234,1234,12,34,56,78,9A,BC,DE,F0\nFilterType=7\n");
    std::string graph = bench.ReadFile("default.gf");
    graph.replace(graph.find("Renderer=3\n"), 11, "Extra=;\nRenderer=3\n");
    bench.WriteFile("default.gf", graph);
    const std::string actual =
        "[Info] CoCreateInstance failed for filter \"Extra\" (Err=-2147221164). Make sure the correct video card and "
        "driver are installed. Check file \"C:\\ORBEX\\default.gf\".";
    EXPECT_EQ(BuildReports(bench, 2),
              (std::vector<std::string>{
                  ReportJson(kId, "0", 4, kCreate, "Successfully create all base filter objects to main filter graph.",
                             actual),
                  ReportJson(kId, "msg1", 4, "Message Log:", "", "COrbGBuilder::CreateFilters()>  " + actual)}));
    EXPECT_STREQ(bench.Process().GraphBuilder().Filter(3).name, "");
}

TEST(CreateFilters, AnEmptyCategoryOrNoMatchingDeviceIsAnInfoWithErrOne) {
    // The TV audio category: empty on the reference board, then holding a device the pattern does not match.
    for (const std::string& extra :
         {std::string(), std::string("[Device.Extra]\nCategory=TvAudio\nFriendlyName=Other\nPins=in:a:analog\n")}) {
        Bench bench(Bench::Board(extra));
        bench.WriteDefaultGraph("[Audio]\nCLSID=A799A802,A46D,11D0,A1,8C,00,A0,24,01,DC,D4\nFilterType=10\n");
        std::string graph = bench.ReadFile("default.gf");
        graph.replace(graph.find("Renderer=3\n"), 11, "Renderer=3\nAudio=;\n");
        bench.WriteFile("default.gf", graph);
        const std::string actual =
            "[Info] CoCreateInstance failed for filter \"Audio\" (Err=1). Make sure the correct video card and "
            "driver are installed. Check file \"C:\\ORBEX\\default.gf\".";
        EXPECT_EQ(BuildReports(bench, 2),
                  (std::vector<std::string>{
                      ReportJson(kId, "0", 4, kCreate,
                                 "Successfully create all base filter objects to main filter graph.", actual),
                      ReportJson(kId, "msg1", 4, "Message Log:", "", "COrbGBuilder::CreateFilters()>  " + actual)}))
            << extra;
    }
}

TEST(CreateFilters, AmongSeveralMatchingDevicesTheFirstEnumeratedWins) {
    Bench bench(Bench::Board("[Device.Second]\nCategory=TvTuner\nFriendlyName=Qel TV Tuner B\nPins=out:o:analog\n"));
    bench.WriteDefaultGraph();
    std::string graph = bench.ReadFile("default.gf");
    graph.replace(graph.find("FilterType=2\n"), 13, "FilterType=2\nFriendlyName=TV\n");
    bench.WriteFile("default.gf", graph);
    BuildReports(bench, 2);
    EXPECT_THAT(bench.LogLines(),
                ::testing::Contains("100 0x0000AF00 COrbGBuilder::GetFilter()>  \"Qel TV Tuner\" Detected."));
}

// A filter row's friendly name keeps 31 characters and the device's own name
// 79: a longer row name is cut before it is looked for in the device's name,
// and the detected device is logged with its name cut.
TEST(CreateFilters, FriendlyNamesAreCutAtTheirBuffers) {
    const std::string pattern = "abcdefghijklmnopqrstuvwxyz01234";
    ASSERT_EQ(pattern.size(), 31u);
    for (const std::string& row : {pattern, pattern + "!"}) {
        const std::string device = "Qel " + pattern + std::string(row.size() == 31 ? 44 : 45, 'm');
        Bench bench(Bench::Board("[Device.Long]\nCategory=TvTuner\nFriendlyName=" + device + "\nPins=out:o:analog\n"));
        bench.WriteDefaultGraph();
        std::string graph = bench.ReadFile("default.gf");
        graph.replace(graph.find("FilterType=2\n"), 13, "FilterType=2\nFriendlyName=" + row + "\n");
        bench.WriteFile("default.gf", graph);
        EXPECT_TRUE(BuildReports(bench, 2).empty()) << row;
        EXPECT_THAT(bench.LogLines(), ::testing::Contains("100 0x0000AF00 COrbGBuilder::GetFilter()>  \"" +
                                                          device.substr(0, 79) + "\" Detected."))
            << row;
    }
}

TEST(CreateFilters, UndefinedFilterTypesEndCreation) {
    for (const char* type : {"12", "-1"}) {
        Bench bench;
        bench.WriteDefaultGraph();
        std::string graph = bench.ReadFile("default.gf");
        graph.replace(graph.find("FilterType=1\n"), 13, std::string("FilterType=") + type + "\n");
        bench.WriteFile("default.gf", graph);
        auto reports = BuildReports(bench, 0);
        ASSERT_EQ(reports.size(), 2u);
        EXPECT_EQ(reports[0],
                  ReportJson(kId, "0", 2, kCreate, "Successfully create all base filter objects to main filter graph.",
                             std::string("[NoRun] CoCreateInstance failed for filter \"Renderer\" (Err=0). "
                                         "Undefined filter type (") +
                                 type + ") found. Check file \"C:\\ORBEX\\default.gf\"."));
        EXPECT_EQ(bench.Events("TestEnd").size(), 1u);
    }
}

TEST(CreateFilters, EveryGraphObjectFailureIsReportedWithItsCode) {
    struct Case {
        const char* fault;
        const char* expected;
        const char* actual;
    };
    for (const Case& c :
         {Case{"CreateCaptureGraphBuilder=0x80004005", "Successfully create ICaptureGraphBuilder object.",
               "[NoRun]**** CoCreateInstance for ICaptureGraphBuilder failed. (Err=-2147467259)."},
          Case{"CreateFilterGraph=0x8007000E", "Successfully create IGraphBuilder object.",
               "[NoRun]**** CoCreateInstance for IGraphBuilder failed. (Err=-2147024882)."},
          Case{"SetFiltergraph=0x80004005", "Successfully set graph builder to capture graph builder.",
               "[NoRun]**** Failed to set graph builder to capture graph builder. (Err=-2147467259)."},
          Case{"AddFilter=0x80004005,1,2", "Successfully add all base filter objects to main filter graph.",
               "[NoRun]**** AddFilter failed for filter \"Capture\" (Err=-2147467259). Check CLSID in "
               "\"C:\\ORBEX\\default.gf\"."}}) {
        Bench bench(Bench::Board(std::string("[Faults]\n") + c.fault + "\n"));
        bench.WriteDefaultGraph();
        auto reports = BuildReports(bench, 0);
        EXPECT_EQ(reports,
                  (std::vector<std::string>{ReportJson(kId, "0", 2, kCreate, c.expected, c.actual),
                                            ReportJson(kId, "msg1", 1, "Message Log:", "",
                                                       std::string("COrbGBuilder::CreateFilters()>  ") + c.actual)}))
            << c.fault;
    }
}

TEST(CreateFilters, AFailedAddFilterReleasesEveryFilter) {
    Bench bench(Bench::Board("[Faults]\nAddFilter=0x80004005,1,2\n"));
    bench.WriteDefaultGraph();
    BuildReports(bench, 0);
    COrbGBuilder& g = bench.Process().GraphBuilder();
    EXPECT_EQ(g.FilterCount(), 0);
    EXPECT_EQ(g.ConnectPins(nullptr, nullptr, 1, 1), 5);  // no filter graph any more
}

const std::string kConnect = "Connect all filters in the graph together.";
const std::string kConnected = "Successfully complete all pin connections.";

TEST(ConnectFilters, ARefusedConnectionIsNotApplicableWithZeroBasedPositions) {
    Bench bench(Bench::Board("[Faults]\nConnectDirect=0x80040207,1,2\n"));
    bench.WriteDefaultGraph();
    const std::string actual =
        "[Info] Failed to connect:  from Filter \"Capture\" OutPin1 to Filter \"Renderer\" InPin0 (Err=-2147467261). "
        "This test might not be designed for this system.";
    EXPECT_EQ(BuildReports(bench, 0),
              (std::vector<std::string>{
                  ReportJson(kId, "0", 1, kConnect, kConnected, actual),
                  ReportJson(kId, "msg1", 4, "Message Log:", "", "COrbGBuilder::ConnectFilters()>  " + actual)}));
    EXPECT_EQ(bench.Process().GraphBuilder().FilterCount(), 0);  // everything torn down
}

TEST(ConnectFilters, AMissingOutputPinFailsWithEPointer) {
    Bench bench;
    bench.WriteDefaultGraph();
    std::string graph = bench.ReadFile("default.gf");
    graph.replace(graph.find("Tuner=;1"), 8, "Tuner=;0 1");
    bench.WriteFile("default.gf", graph);
    const std::string actual =
        "[Info] Failed to connect:  from Filter \"Tuner\" OutPin1 to Filter \"Crossbar\" InPin0 (Err=-2147467261). "
        "This test might not be designed for this system.";
    EXPECT_EQ(BuildReports(bench, 0),
              (std::vector<std::string>{
                  ReportJson(kId, "0", 1, kConnect, kConnected, actual),
                  ReportJson(kId, "msg1", 4, "Message Log:", "", "COrbGBuilder::ConnectFilters()>  " + actual)}));
}

TEST(ConnectFilters, OneOutputLabelOnTwoInputsMakesTwoConnectionsInTableOrder) {
    Bench bench(Bench::Board("[Faults]\nConnectDirect=0x80004005,1,3\n"));
    // Capture's preview (label 3) feeds two renderers: the fourth connection fails, naming the second.
    bench.WriteDefaultGraph("[Renderer2]\nCLSID=70E102B0,5556,11CE,97,C0,00,AA,00,55,59,5A\nFilterType=1\n");
    std::string graph = bench.ReadFile("default.gf");
    graph.replace(graph.find("Renderer=3\n"), 11, "Renderer=3\nRenderer2=3\n");
    bench.WriteFile("default.gf", graph);
    const std::string actual =
        "[Info] Failed to connect:  from Filter \"Capture\" OutPin1 to Filter \"Renderer2\" InPin0 "
        "(Err=-2147467261). This test might not be designed for this system.";
    EXPECT_EQ(BuildReports(bench, 0),
              (std::vector<std::string>{
                  ReportJson(kId, "0", 1, kConnect, kConnected, actual),
                  ReportJson(kId, "msg1", 4, "Message Log:", "", "COrbGBuilder::ConnectFilters()>  " + actual)}));
}

class Utilities : public ::testing::Test {
protected:
    explicit Utilities(const std::string& board = Bench::Board()) : bench(board) {}
    void SetUp() override {
        bench.WriteDefaultGraph();
        bench.Run("-d 3");
        bench.ClearEvents();
        bench.Process().Verdict().Load();
        g = &bench.Process().GraphBuilder();
    }
    Bench bench;
    COrbGBuilder* g = nullptr;
};

TEST_F(Utilities, GetFilterByTypeReturnsTheFirstEntryAndLogsItsClass) {
    std::shared_ptr<port::IBaseFilter> filter;
    EXPECT_EQ(g->GetFilterByType(1, filter), 3);
    EXPECT_EQ(filter, g->Filter(3).filter);
    EXPECT_EQ(bench.LogLines().back(),
              "100 0x0000AF00 COrbGBuilder::PrintGUID()>  0x70E102B0, 0x5556, 0x11CE, 0x97, 0xC0, 0x00, 0xAA, 0x00, "
              "0x55, 0x59, 0x5A");
    EXPECT_EQ(g->GetFilterByType(6, filter), -1);
    EXPECT_FALSE(filter);
}

TEST_F(Utilities, FindInterfacePrefersThePreviewPinAndDoesNotLog) {
    const Guid kIidPin{0x56A86891, 0x0AD4, 0x11CE, {0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};
    size_t before = bench.LogLines().size();
    port::ComPtr found;
    EXPECT_EQ(g->FindInterface(kIidPin, found), 0);
    auto pin = port::ComCast<port::IPin>(found);
    ASSERT_TRUE(pin);
    port::PinInfo info;
    pin->QueryPinInfo(info);
    EXPECT_EQ(info.name, "Preview");
    EXPECT_EQ(bench.LogLines().size(), before);
    EXPECT_EQ(g->FindInterface(Guid{1, 2, 3, {}}, found), 1);
    EXPECT_FALSE(found);
    EXPECT_EQ(g->FindInterfaceOnFilter(&guids::kPinCategoryCapture, g->Filter(2).filter, kIidPin, found), 0);
    EXPECT_EQ(g->FindInterfaceOnFilter(&guids::kPinCategoryPreview, g->Filter(0).filter, kIidPin, found), 1);
}

TEST(FindInterface, FallsBackToTheCaptureCategoryWithALogLine) {
    std::string board = Bench::Board();
    board.replace(board.find("out:Preview:video:preview"), 25, "out:Preview:video");
    Bench bench(board);
    bench.WriteDefaultGraph();
    std::string graph = bench.ReadFile("default.gf");
    graph.replace(graph.find("Capture=2;0 3 0"), 15, "Capture=2;3");
    bench.WriteFile("default.gf", graph);
    bench.Run("-d 3");
    const Guid kIidPin{0x56A86891, 0x0AD4, 0x11CE, {0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};
    port::ComPtr found;
    EXPECT_EQ(bench.Process().GraphBuilder().FindInterface(kIidPin, found), 0);
    EXPECT_EQ(bench.LogLines().back(),
              "100 0x0000AF00 COrbGBuilder::FindInterface()>  Pin found in PIN_CATEGORY_CAPTURE.");
}

TEST(GetOSVersion, GivesTheFamilyCode) {
    struct Case {
        const char* machine;
        int32_t code;
    };
    for (const Case& c :
         {Case{"Platform=NT\nMajorVersion=5\nMinorVersion=0", 2},
          Case{"Platform=NT\nMajorVersion=5\nMinorVersion=1", 2}, Case{"Platform=NT\nMajorVersion=4", 2},
          Case{"Platform=NT\nMajorVersion=6", 4}, Case{"Platform=9x\nMajorVersion=4\nMinorVersion=10", 3}}) {
        Bench bench(Bench::Board(std::string("[Machine]\n") + c.machine + "\n"));
        EXPECT_EQ(bench.Process().GraphBuilder().GetOSVersion(), c.code) << c.machine;
    }
}

TEST(GetVideoMemory, ReadsTotalAndFreeOrReportsEachFailure) {
    struct Case {
        const char* fault;
        const char* description;
        const char* expected;
        const char* actual;
    };
    {
        Bench bench;
        uint32_t total = 0, free = 0;
        EXPECT_EQ(bench.Process().GraphBuilder().GetVideoMemory(&total, &free), 0);
        EXPECT_EQ(total, 8388608u);
        EXPECT_EQ(free, 6291456u);
    }
    for (const Case& c :
         {Case{"DirectDrawCreate=0x887600FF", "Creating DirectDraw object.", "Able to create DDraw object.",
               "[NoRun]**** Failed to create DDraw object. (Err=-2005532417)"},
          Case{"QueryDirectDraw2=0x80004002", "Query DirectDraw4 interface.", "Able to query DDraw4 interface.",
               "[NoRun]**** Failed to query DDraw2 interface. (Err=-2147467262)"},
          Case{"GetAvailableVidMem=0x80004005", "Get available video memory.", "Able to get available video memory.",
               "[NoRun]**** Failed to get available video memory. (Err=-2147467259)"}}) {
        Bench bench(Bench::Board(std::string("[Faults]\n") + c.fault + "\n"));
        bench.Process().Verdict().Load();
        bench.Process().LogManager().Open();
        bench.Process().GraphBuilder().m_pLogger = &bench.Process().LogManager();
        uint32_t total = 0, free = 0;
        EXPECT_NE(bench.Process().GraphBuilder().GetVideoMemory(&total, &free), 0);
        EXPECT_EQ(bench.Reports()[0], ReportJson("tc0000", "0", 2, c.description, c.expected, c.actual)) << c.fault;
        EXPECT_EQ(bench.LogLines().back(), std::string("511 0x00000000 COrbGBuilder::GetVideoMemory()>  ") + c.actual);
    }
}

TEST(SetGraphState, WithoutMediaControlDoesNothing) {
    Bench bench(Bench::Board("[Faults]\nQueryMediaControl=0x80004002\n"));
    bench.WriteDefaultGraph();
    EXPECT_EQ(bench.Run("-d 3"), 2);
    EXPECT_EQ(bench.Process().GraphBuilder().SetGraphState(1), 1);
}

}  // namespace
}  // namespace orbex::testing

namespace orbex::testing {
namespace {

TEST(DisconnectPins, ARefusedDisconnectionGivesEPointer) {
    Bench bench(Bench::Board("[Faults]\nDisconnect=0x80004005\n"));
    bench.WriteDefaultGraph();
    bench.Run("-d 3");
    COrbGBuilder& g = bench.Process().GraphBuilder();
    EXPECT_EQ(g.DisconnectPins(g.Filter(0).filter, g.Filter(1).filter, 1, 1), kEPointer);
    EXPECT_EQ(g.DisconnectPins(g.Filter(0).filter, nullptr, 1, 1), kEPointer);
    EXPECT_EQ(g.DisconnectPins(g.Filter(0).filter, g.Filter(1).filter, 2, 1), kEPointer);  // no second output
}

}  // namespace
}  // namespace orbex::testing
