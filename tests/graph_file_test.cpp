// The graph definition file: include merge into "~temp.gf", the connection
// map, the key readers and their reports.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "graph/graph_values.h"
#include "support/bench.h"

namespace orbex::testing {
namespace {

using ::testing::ElementsAre;

const char* kRenderer = "CLSID=70E102B0,5556,11CE,97,C0,00,AA,00,55,59,5A\n";
const char* kCapture = "CLSID=860BB310,5D01,11D0,BD,3B,00,A0,C9,11,CE,86\n";

TEST(Merge, TheWorkedExampleMergesDepthFirstAndTheIncluderWins) {
    Bench bench;
    bench.WriteFile("common.gf", "[Misc]\nTestDuration=5\n");
    bench.WriteFile("video.gf", std::string("[IncludeFile]\ncommon.gf=1\n[ConnectionMap]\nCapture=;1\nRenderer=1\n") +
                                    "[Capture]\n" + kCapture + "FilterType=3\n[Renderer]\n" + kRenderer +
                                    "FilterType=1\n[Misc]\nTestDuration=20\n");
    // The graph has no tuner filter for the board's tuner: the bench stops after the merge.
    EXPECT_EQ(bench.Run("-d 3 -f video.gf"), 0);
    EXPECT_EQ(bench.ReadFile("~temp.gf"),
              "[Misc]\r\nTestDuration=20\r\n[IncludeFile]\r\ncommon.gf=1\r\n[ConnectionMap]\r\nCapture=;1\r\n"
              "Renderer=1\r\n[Capture]\r\nCLSID=860BB310,5D01,11D0,BD,3B,00,A0,C9,11,CE,86\r\nFilterType=3\r\n"
              "[Renderer]\r\nCLSID=70E102B0,5556,11CE,97,C0,00,AA,00,55,59,5A\r\nFilterType=1\r\n");
    COrbGBuilder& g = bench.Process().GraphBuilder();
    EXPECT_EQ(g.TestDuration(), 20);
    ASSERT_EQ(g.FilterCount(), 2);
    EXPECT_STREQ(g.Filter(0).name, "Capture");
    EXPECT_EQ(g.Filter(0).outputCount, 1);
    EXPECT_EQ(g.Filter(1).inputLabels[0], 1);
    EXPECT_STREQ(g.Filter(0).friendlyName, "Qel ");
}

TEST(Merge, TheLaterOfTwoIncludesWinsAndDisabledOrMissingIncludesAddNothing) {
    Bench bench;
    bench.WriteFile("a.gf", "[Misc]\nTestDuration=1\nFromA=1\n");
    bench.WriteFile("b.gf", "[Misc]\nTestDuration=2\n");
    bench.WriteFile("off.gf", "[Off]\nk=1\n");
    bench.WriteFile("nan.gf", "[Nan]\nk=1\n");
    bench.WriteDefaultGraph("[IncludeFile]\na.gf=1\nb.gf=1\noff.gf=0\nnan.gf=yes\nmissing.gf=1\n");
    bench.Run("-d 3");
    std::string merged = bench.ReadFile("~temp.gf");
    EXPECT_NE(merged.find("[Misc]\r\nTestDuration=2\r\nFromA=1\r\n"), std::string::npos);
    EXPECT_EQ(merged.find("[Off]"), std::string::npos);
    EXPECT_EQ(merged.find("[Nan]"), std::string::npos);
    EXPECT_EQ(bench.Process().GraphBuilder().TestDuration(), 2);
    EXPECT_TRUE(bench.Reports().empty() || bench.Reports()[0].find("Invalid test case") != std::string::npos);
}

TEST(Merge, AnIncludeCycleIsRefused) {
    Bench bench;
    bench.WriteFile("loop.gf", "[IncludeFile]\ndefault.gf=1\n");
    bench.WriteDefaultGraph("[IncludeFile]\nloop.gf=1\n");
    EXPECT_EQ(bench.Run("tc2200"), 0);
    const std::string actual = "[NoRun]**** Include file \"C:\\ORBEX\\default.gf\" includes itself.";
    EXPECT_THAT(bench.Reports(),
                ElementsAre(ReportJson("tc2200", "tc2200", 2, "Compiling graph file \"C:\\ORBEX\\default.gf\".",
                                       "Successfully merge include files.", actual),
                            ReportJson("tc2200", "msg1", 1, "Message Log:", "",
                                       "COrbGBuilder::MergeIncludeFiles()>  " + actual)));
}

TEST(Merge, AFailedWriteIsReportedWithFileSectionAndKey) {
    Bench bench(Bench::Board("[Faults]\nProfileWrite=0x80004005,1,2\n"));
    bench.WriteDefaultGraph();
    EXPECT_EQ(bench.Run("tc2200"), 0);
    ASSERT_GE(bench.Reports().size(), 1u);
    EXPECT_EQ(bench.Reports()[0],
              ReportJson("tc2200", "tc2200", 2, "Compiling graph file \"C:\\ORBEX\\default.gf\".",
                         "Successfully merge include files.",
                         "[NoRun]**** Error merging include file \"C:\\ORBEX\\default.gf\", section [ConnectionMap], "
                         "key \"Capture\"."));
    EXPECT_EQ(bench.Events("TestEnd").size(), 1u);
}

TEST(ReadDataFile, AMissingGraphFileNamesTheGraphFile) {
    Bench bench;
    EXPECT_EQ(bench.Run("tc2200"), 0);
    const std::string actual =
        "[NoRun]**** Filter graph definition file \"C:\\ORBEX\\default.gf\" missing or does not contain a "
        "[ConnectionMap] section.";
    EXPECT_THAT(
        bench.Reports(),
        ElementsAre(ReportJson("tc2200", "0", 2, "Reading filter graph definition file.",
                               "Successfully open filter graph definition file \"C:\\ORBEX\\default.gf\".", actual),
                    ReportJson("tc2200", "msg1", 1, "Message Log:", "", "COrbGBuilder::ReadDataFile()>  " + actual)));
    EXPECT_EQ(bench.LogLines().back(), "511 0x00000000 COrbGBuilder::ReadDataFile()>  " + actual);
}

TEST(ReadDataFile, AMissingClsidIsReportedWithItsSection) {
    Bench bench;
    bench.WriteFile("default.gf", "[ConnectionMap]\nRenderer=1\n[Renderer]\nFilterType=1\n");
    EXPECT_EQ(bench.Run("tc2200"), 0);
    EXPECT_EQ(bench.Reports()[0], ReportJson("tc2200", "0", 2, "Reading filter graph definition file.",
                                             "\"CLSID\" entry exists in [Renderer] section.",
                                             "[NoRun]**** \"CLSID\" entry is missing in [Renderer] section."));
}

TEST(ReadDataFile, AnEmptyValueEndsTheMap) {
    Bench bench;
    bench.WriteFile("default.gf", std::string("[ConnectionMap]\nRenderer=1\nStop=\nNever=2\n[Renderer]\n") + kRenderer);
    // The map ends before any decoder entry, so the set-up stops at the decoder.
    EXPECT_EQ(bench.Run("-d 3"), 0);
    EXPECT_EQ(bench.Process().GraphBuilder().FilterCount(), 1);
}

// A graph file of the given [ConnectionMap] lines, each entry a renderer section.
std::string GraphOf(const std::vector<std::pair<std::string, std::string>>& map) {
    std::string text = "[ConnectionMap]\n";
    for (const auto& [key, value] : map) text += key + "=" + value + "\n";
    for (const auto& [key, value] : map) text += "[" + key + "]\n" + kRenderer + "FilterType=7\n";
    return text;
}

std::vector<std::pair<std::string, std::string>> Entries(int count) {
    std::vector<std::pair<std::string, std::string>> map;
    for (int i = 0; i < count; ++i) map.emplace_back("F" + std::to_string(i), ";0");
    return map;
}

TEST(ReadDataFile, RefusesWhatDoesNotFitTheTable) {
    struct Case {
        std::string graph;
        std::string expected;
        std::string actual;
    };
    const std::string longName(32, 'N');
    const std::string labels11 = "1 2 3 4 5 6 7 8 9 10 11";
    for (const Case& c :
         {Case{GraphOf(Entries(33)), "At most 32 entries in the [ConnectionMap] section.",
               "[NoRun]**** Too many entries in the [ConnectionMap] section of \"C:\\ORBEX\\default.gf\": "
               "\"F32\" is entry 33."},
          Case{GraphOf({{longName, "1"}}), "[ConnectionMap] entry names of at most 31 characters.",
               "[NoRun]**** [ConnectionMap] entry name \"" + longName + "\" is too long."},
          Case{GraphOf({{"R", labels11}}), "At most 10 input and 10 output labels per [ConnectionMap] entry.",
               "[NoRun]**** [ConnectionMap] entry \"R\" lists more than 10 labels."},
          Case{GraphOf({{"R", ";" + labels11}}), "At most 10 input and 10 output labels per [ConnectionMap] entry.",
               "[NoRun]**** [ConnectionMap] entry \"R\" lists more than 10 labels."}}) {
        Bench bench;
        bench.WriteFile("default.gf", c.graph);
        EXPECT_EQ(bench.Run("tc2200"), 0);
        EXPECT_THAT(
            bench.Reports(),
            ElementsAre(
                ReportJson("tc2200", "0", 2, "Reading filter graph definition file.", c.expected, c.actual),
                ReportJson("tc2200", "msg1", 1, "Message Log:", "", "COrbGBuilder::ReadDataFile()>  " + c.actual)));
        EXPECT_EQ(bench.LogLines().back(), "511 0x00000000 COrbGBuilder::ReadDataFile()>  " + c.actual);
    }
}

bool ReadTheMap(Bench& bench) {
    for (const std::string& report : bench.Reports())
        if (report.find(Escaped("Reading filter graph definition file.")) != std::string::npos) return false;
    return true;
}

TEST(ReadDataFile, ThirtyTwoEntriesFitTheTable) {
    Bench bench;
    bench.WriteFile("default.gf", GraphOf(Entries(32)));
    bench.Run("-d 3");
    EXPECT_TRUE(ReadTheMap(bench));
    ASSERT_EQ(bench.Process().GraphBuilder().FilterCount(), 32);
    EXPECT_STREQ(bench.Process().GraphBuilder().Filter(31).name, "F31");
}

TEST(ReadDataFile, AThirtyOneCharacterNameAndTenLabelsEachWayFitARow) {
    Bench bench;
    const std::string name(31, 'N');
    bench.WriteFile("default.gf", GraphOf({{name, "1 2 3 4 5 6 7 8 9 10;11 12 13 14 15 16 17 18 19 20"}}));
    bench.Run("-d 3");
    EXPECT_TRUE(ReadTheMap(bench));
    COrbGBuilder& g = bench.Process().GraphBuilder();
    ASSERT_EQ(g.FilterCount(), 1);
    EXPECT_EQ(std::string(g.Filter(0).name), name);
    EXPECT_EQ(g.Filter(0).inputCount, 10);
    EXPECT_EQ(g.Filter(0).outputCount, 10);
    EXPECT_EQ(std::vector<uint8_t>(g.Filter(0).inputLabels, g.Filter(0).inputLabels + 10),
              (std::vector<uint8_t>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
    EXPECT_EQ(std::vector<uint8_t>(g.Filter(0).outputLabels, g.Filter(0).outputLabels + 10),
              (std::vector<uint8_t>{11, 12, 13, 14, 15, 16, 17, 18, 19, 20}));
}

TEST(Labels, FollowTheValueSyntax) {
    struct Case {
        const char* text;
        std::vector<uint8_t> labels;
    };
    for (const Case& c : {Case{"1, 2 3", {1, 2, 3}}, Case{" ", {}}, Case{"\t4,,\t5", {4, 5}}, Case{"256 257", {0, 1}},
                          Case{"x 7y", {0, 7}}, Case{"-1", {255}}}) {
        uint8_t labels[10] = {};
        int n = ParseLabels(c.text, labels, 10);
        EXPECT_EQ(std::vector<uint8_t>(labels, labels + n), c.labels) << c.text;
    }
    uint8_t labels[2] = {};
    EXPECT_EQ(ParseLabels("1 2 3", labels, 2), 3);  // counted, but only two stored
}

TEST(Labels, ASemicolonSplitsInputsFromOutputs) {
    Bench bench;
    bench.WriteFile("default.gf", std::string("[ConnectionMap]\nA=;\nB=1, 2 3\nC= ; 4\n") + "[A]\n" + kRenderer +
                                      "FilterType=7\n[B]\n" + kRenderer + "FilterType=7\n[C]\n" + kRenderer +
                                      "FilterType=7\n");
    bench.Run("-d 3");
    COrbGBuilder& g = bench.Process().GraphBuilder();
    ASSERT_EQ(g.FilterCount(), 3);
    EXPECT_EQ(g.Filter(0).inputCount + g.Filter(0).outputCount, 0);
    EXPECT_EQ(g.Filter(1).inputCount, 3);
    EXPECT_EQ(g.Filter(1).outputCount, 0);
    EXPECT_EQ(g.Filter(2).inputCount, 0);
    EXPECT_EQ(g.Filter(2).outputCount, 1);
    EXPECT_EQ(g.Filter(2).outputLabels[0], 4);
}

TEST(GuidValue, ParsesElevenHexNumbersAndStopsAtTheFirstBadOne) {
    Guid g;
    ParseGuidValue("70E102B0,5556,11CE,97,C0,00,AA,00,55,59,5A", g);
    EXPECT_EQ(g, (Guid{0x70E102B0, 0x5556, 0x11CE, {0x97, 0xC0, 0x00, 0xAA, 0x00, 0x55, 0x59, 0x5A}}));
    Guid h;
    ParseGuidValue("0x12,0x3456,789,zz,1", h);
    EXPECT_EQ(h, (Guid{0x12, 0x3456, 0x789, {}}));
    Guid big;
    ParseGuidValue("123456789A,12345,1FFFF,1FF", big);
    EXPECT_EQ(big.data1, 0xFFFFFFFFu);
    EXPECT_EQ(big.data2, 0x2345);
    EXPECT_EQ(big.data3, 0xFFFF);
    EXPECT_EQ(big.data4[0], 0xFF);
}

class KeyReaders : public ::testing::Test {
protected:
    void SetUp() override {
        bench.WriteDefaultGraph(
            "[Misc]\nTestDuration=0\nEmpty=\nMarker=-268435457\nText=abc\n"
            "[Guids]\nFormat=59565955,0000,0010,80,00,00,AA,00,38,9B,71\nBlank=\n");
        bench.Run("-d 3");
        bench.ClearEvents();
        bench.Process().Verdict().Load();  // the call above unloaded it
        g = &bench.Process().GraphBuilder();
    }
    Bench bench;
    COrbGBuilder* g = nullptr;
};

TEST_F(KeyReaders, IntegerKeysFoundMissingOptionalAndRequired) {
    int32_t v = 7;
    EXPECT_EQ(g->ReadKeyInt("Misc", "TestDuration", &v, 0), 0);
    EXPECT_EQ(v, 0);
    EXPECT_EQ(g->ReadKeyInt("Misc", "Text", &v, 1), 0);  // text reads as 0, unreported
    EXPECT_EQ(v, 0);
    EXPECT_EQ(g->ReadKeyInt("Misc", "Absent", &v, 0), 1);
    EXPECT_EQ(v, static_cast<int32_t>(0xEFFFFFFF));
    EXPECT_EQ(g->ReadKeyInt("Misc", "Marker", &v, 0), 1);
    EXPECT_EQ(g->ReadKeyInt("Misc", "Empty", &v, 1), 1);
    EXPECT_EQ(v, 0);
    const std::string actual = "[NoRun]**** \"Empty\" entry is missing or invalid in [Misc] section.";
    EXPECT_EQ(
        bench.Reports(),
        (std::vector<std::string>{ReportJson("G0_D3_T0_P0_Fdefault", "0", 2, "Reading key \"Empty\" in section [Misc].",
                                             "\"Empty\" entry exists in [Misc] section.", actual),
                                  ReportJson("G0_D3_T0_P0_Fdefault", "msg2", 1, "Message Log:", "",
                                             "COrbGBuilder::ReadKeyInt()>  " + actual)}));
    auto log = bench.LogLines();
    EXPECT_EQ(log[log.size() - 3],
              "100 0x0000AF00 COrbGBuilder::ReadKeyInt()>  [Note] \"Absent\" entry is missing or invalid in [Misc] "
              "section.");
}

TEST_F(KeyReaders, GuidKeysFoundMissingOptionalAndRequired) {
    Guid guid{1, 2, 3, {}};
    EXPECT_EQ(g->ReadKeyGUID("Guids", "Format", &guid, 0), 0);
    EXPECT_EQ(guid.data1, 0x59565955u);
    Guid untouched{1, 2, 3, {}};
    EXPECT_EQ(g->ReadKeyGUID("Guids", "Blank", &untouched, 0), 1);
    EXPECT_EQ(untouched, (Guid{1, 2, 3, {}}));
    EXPECT_EQ(bench.LogLines().back(),
              "100 0x0000AF00 COrbGBuilder::ReadKeyArrayInt()>  [Note] \"Blank\" entry is missing in [Guids] section.");
    EXPECT_EQ(g->ReadKeyGUID("Guids", "Absent", &untouched, 1), 1);
    EXPECT_EQ(bench.Reports()[0],
              ReportJson("G0_D3_T0_P0_Fdefault", "0", 2, "Reading key \"Absent\" in section [Guids].",
                         "\"Absent\" entry exists in [Guids] section.",
                         "[NoRun]**** \"Absent\" entry is missing in [Guids] section."));
}

TEST(GlobalKeys, TestDurationDefaultsToTenWithTwoNotes) {
    Bench bench;
    bench.WriteDefaultGraph();
    bench.Run("-d 3");
    EXPECT_EQ(bench.Process().GraphBuilder().TestDuration(), 10);
    auto log = bench.LogLines();
    EXPECT_NE(std::find(log.begin(), log.end(),
                        "100 0x0000AF00 COrbGBuilder::ReadKeyInt()>  [Note] \"TestDuration\" entry is missing or "
                        "invalid in [Misc] section."),
              log.end());
    EXPECT_NE(std::find(log.begin(), log.end(),
                        "100 0x0000AF00 COrbGBuilder::GetGlobalKeyVar()>  [Note] No \"TestDuration\" found in [Misc]."),
              log.end());
}

}  // namespace
}  // namespace orbex::testing
