// The stream test object end to end on the virtual board: how its set-up
// reads the graph file's [Stream] keys into the capture pin's format, what
// stops the bench, and how ExecuteTest answers each test number.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "cases/stream/orb_stream.h"
#include "graph/orb_gbuilder.h"
#include "platform/guids.h"
#include "support/bench.h"

namespace orbex::testing {
namespace {

using ::testing::ElementsAre;

std::string ExampleGraph() {
    std::ifstream in(std::string(ORBEX_SOURCE_DIR) + "/examples/default.gf");
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// The shipped graph file with its [Stream] keys replaced by others.
std::string GraphWithStream(const std::string& keys) {
    std::string graph = ExampleGraph();
    size_t at = graph.find("[Stream]");
    size_t end = graph.find("\n[", at + 1);
    return graph.substr(0, at) + "[Stream]\n" + keys + (end == std::string::npos ? "" : graph.substr(end + 1));
}

struct StreamBench : Bench {
    explicit StreamBench(const std::string& board = "", const std::string& graph = ExampleGraph())
        : Bench(Board(board)) {
        WriteFile("default.gf", graph);
    }
    COrbGBuilder& Builder() { return Process().GraphBuilder(); }
    port::VideoMediaType Format() {
        port::VideoMediaType format;
        Builder().StreamConfig()->GetFormat(format);
        return format;
    }
    bool Logged(const std::string& line) const {
        auto log = LogLines();
        return std::find(log.begin(), log.end(), line) != log.end();
    }
};

const std::string kRunId = "G2_D10_T1_P0_Fdefault";

TEST(StreamInit, TheGraphFileSetsTheCaptureFormatSize) {
    StreamBench bench("", GraphWithStream("CaptureFormatGUID=59565955,0000,0010,80,00,00,AA,00,38,9B,71\n"
                                          "VideoOutputWidth=640\nVideoOutputHeight=480\n"));
    EXPECT_EQ(bench.Run("-g 2 -d 10 -t 1"), 2);
    ASSERT_TRUE(bench.Builder().StreamConfig());
    port::VideoMediaType format = bench.Format();
    EXPECT_EQ(format.width, 640);
    EXPECT_EQ(format.height, 480);
    EXPECT_EQ(format.subtype, guids::kMediaSubtypeUyvy);
    for (const char* note :
         {"No CaptureFormatGUID found. Using UYVY.", "No VideoOutputWidth found.", "No VideoOutputHeight found."})
        EXPECT_FALSE(bench.Logged(std::string("255 0x00FF0000 COrbStream::Initialize()>  ") + note)) << note;
}

// Each missing key keeps what the pin had and says so in blue; the others still apply.
TEST(StreamInit, MissingKeysKeepThePinsFormatWithABlueNote) {
    struct Case {
        const char* keys;
        int32_t width, height;
        std::vector<std::string> notes;
    };
    for (const Case& c : {
             Case{"",
                  352,
                  288,
                  {"No CaptureFormatGUID found. Using UYVY.", "No VideoOutputWidth found.",
                   "No VideoOutputHeight found."}},
             Case{"VideoOutputHeight=120\n",
                  352,
                  120,
                  {"No CaptureFormatGUID found. Using UYVY.", "No VideoOutputWidth found."}},
             Case{"CaptureFormatGUID=59565955,0000,0010,80,00,00,AA,00,38,9B,71\nVideoOutputWidth=160\n",
                  160,
                  288,
                  {"No VideoOutputHeight found."}},
         }) {
        StreamBench bench("[CaptureStream]\nStartSize=352x288\n", GraphWithStream(c.keys));
        EXPECT_EQ(bench.Run("-g 2 -d 10 -t 1"), 2) << c.keys;
        EXPECT_EQ(bench.Format().width, c.width) << c.keys;
        EXPECT_EQ(bench.Format().height, c.height) << c.keys;
        std::vector<std::string> notes;
        for (const std::string& l : bench.LogLines())
            if (l.rfind("255 0x00FF0000 COrbStream::Initialize()>  ", 0) == 0) notes.push_back(l.substr(42));
        EXPECT_EQ(notes, c.notes) << c.keys;
    }
}

// A failure of the set-up ends the bench with its log line (forwarded as a
// message) and no report of its own; no test runs.
TEST(StreamInit, FailuresEndTheBenchWithTheirLogLine) {
    struct Case {
        const char* board;
        const char* graphKeys;
        const char* line;
    };
    const char* sized =
        "CaptureFormatGUID=59565955,0000,0010,80,00,00,AA,00,38,9B,71\n"
        "VideoOutputWidth=320\nVideoOutputHeight=240\n";
    const std::string uyvy = "CaptureFormatGUID=59565955,0000,0010,80,00,00,AA,00,38,9B,71\n";
    const std::string w724 = uyvy + "VideoOutputWidth=724\nVideoOutputHeight=240\n";
    const std::string w322 = uyvy + "VideoOutputWidth=322\nVideoOutputHeight=240\n";
    for (const Case& c : {
             Case{"[Faults]\nStreamGetFormat=0x80004005\n", sized, "Fail to get stream format."},
             // Past the maximum, off the granularity grid, or a subtype (YUY2) the pin lacks.
             Case{"", w724.c_str(), "Fail to set stream format."},
             Case{"", w322.c_str(), "Fail to set stream format."},
             Case{"",
                  "CaptureFormatGUID=32595559,0000,0010,80,00,00,AA,00,38,9B,71\n"
                  "VideoOutputWidth=320\nVideoOutputHeight=240\n",
                  "Fail to set stream format."},
             Case{"[Faults]\nStreamSetFormat=0x80004005\n", sized, "Fail to set stream format."},
         }) {
        StreamBench bench(c.board, GraphWithStream(c.graphKeys));
        EXPECT_EQ(bench.Run("-g 2 -d 10 -t 1"), 0) << c.line;
        std::string text = std::string("COrbStream::Initialize()>  ") + c.line;
        EXPECT_THAT(bench.Reports(), ElementsAre(ReportJson(kRunId, "msg1", 1, "Message Log:", "", text)))
            << c.board << c.graphKeys;
        EXPECT_TRUE(bench.Logged("511 0x00000000 " + text)) << c.line;
    }
}

TEST(StreamInit, ACapturePinWithoutRecordsHasNoStream) {
    // The no-tuner board without its record: the capture filter hands out no stream configuration.
    std::string board = Bench::Board();
    Bench bench(board.substr(0, board.find("[CaptureFormat.1]")) + board.substr(board.find("[CaptureStream]")));
    bench.WriteFile("default.gf", ExampleGraph());
    EXPECT_EQ(bench.Run("tc2200"), 0);
    EXPECT_THAT(bench.Reports(), ElementsAre(ReportJson("tc2200", "msg1", 1, "Message Log:", "",
                                                        "COrbStream::Initialize()>  No stream existed.")));
    EXPECT_FALSE(bench.Process().GraphBuilder().StreamConfig());
}

// The stream object is set up after the decoder and the crossbar: when one of
// them fails, the stream's own failure never shows.
TEST(StreamInit, ComesAfterTheDecoderAndTheCrossbar) {
    std::string board = Bench::Board();
    const std::string noRecords =
        board.substr(0, board.find("[CaptureFormat.1]")) + board.substr(board.find("[CaptureStream]"));
    struct Case {
        const char* extra;
        const char* graphFrom;
        const char* graphTo;
        const char* lastActual;
    };
    for (const Case& c : {
             Case{"", "VideoStandard=1", "VideoStandard=0x10",
                  "[NA] Video standard (0x00000010) is not supported by decoder."},
             Case{"[Device.Crossbar]\nInterface=absent\n", "", "", ""},
         }) {
        std::string graph = ExampleGraph();
        if (*c.graphFrom) graph.replace(graph.find(c.graphFrom), std::string(c.graphFrom).size(), c.graphTo);
        Bench bench(noRecords + c.extra);
        bench.WriteFile("default.gf", graph);
        EXPECT_EQ(bench.Run("tc2200"), 0) << c.extra;
        auto reports = bench.Reports();
        ASSERT_FALSE(reports.empty());
        for (const std::string& r : reports) EXPECT_EQ(r.find("COrbStream"), std::string::npos) << r;
        if (*c.lastActual) {
            EXPECT_EQ(reports.back(), ReportJson("tc2200", "tc2200", 1, "Initializing decoder.",
                                                 "Video standard (0x00000010) is supported by decoder.", c.lastActual));
        }
    }
}

// The decoder's own set-up stops a bench without a decoder filter first; the
// stream object on its own reports the missing decoder, and only once.
TEST(StreamInit, WithoutADecoderFilterItFailsOnceWithItsReport) {
    std::string graph = ExampleGraph();
    graph.replace(graph.find("FilterType=3"), 12, "FilterType=0");
    StreamBench bench("", graph);
    EXPECT_EQ(bench.Run("tc2200"), 0);
    bench.ClearEvents();
    bench.Process().Verdict().Load();
    COrbStream stream(&bench.Builder());
    EXPECT_EQ(stream.Initialize(), 1);
    const std::string text = "No decoder found. No stream class will be created.";
    EXPECT_EQ(bench.LogLines().back(), "765 0x000000FF COrbStream::Initialize()>  " + text);
    auto reports = bench.Reports();
    ASSERT_FALSE(reports.empty());
    EXPECT_EQ(reports.back(), ReportJson("tc2200", "tc2200", 0, "[Fail]**** " + text, "", ""));
    size_t count = reports.size();
    EXPECT_EQ(stream.Initialize(), 0);
    EXPECT_EQ(bench.Reports().size(), count);
}

// ---- ExecuteTest ----

TEST(StreamExecute, EachTestNumberGetsItsAnswer) {
    struct Case {
        const char* line;
        const char* id;
        int32_t value;
        const char* expected;  // empty: no report at all
        const char* actual;
    };
    for (const Case& c : {
             // The first call of a run starts it: 2 and no report.
             Case{"-g 2 -d 10 -t 1", "G2_D10_T1_P0_Fdefault", 2, "", ""},
             Case{"-g 2 -d 10 -t 4", "G2_D10_T4_P0_Fdefault", 2, "", ""},
             Case{"-g 2 -d 10 -t 5", "G2_D10_T5_P0_Fdefault", 2, "Valid test case.",
                  "[NoRun]**** Invalid test case \"G2_D10_T5_P0_Fdefault\"."},
             Case{"-g 2 -d 10 -t 0", "G2_D10_T0_P0_Fdefault", 2, "Valid test case.",
                  "[NoRun]**** Invalid test case \"G2_D10_T0_P0_Fdefault\"."},
             Case{"-g 3 -d 10 -t 1", "G3_D10_T1_P0_Fdefault", 2, "", ""},
         }) {
        StreamBench bench;
        EXPECT_EQ(bench.Run(c.line), c.value) << c.line;
        if (!*c.expected) {
            EXPECT_TRUE(bench.Reports().empty()) << c.line;
            continue;
        }
        std::string logged = std::string("COrbStream::ExecuteTest()>  ") + c.actual;
        EXPECT_THAT(bench.Reports(), ElementsAre(ReportJson(c.id, "msg1", 4, "Message Log:", "", logged),
                                                 ReportJson(c.id, c.id, 2, "Video stream test.", c.expected, c.actual)))
            << c.line;
        EXPECT_EQ(bench.LogLines().back(), "255 0x00FF0000 " + logged);
    }
}

TEST(StreamExecute, AnotherDeviceOrNoStreamIsRefused) {
    StreamBench bench;
    ASSERT_EQ(bench.Run("-g 2 -d 10 -t 1"), 2);
    bench.ClearEvents();
    bench.Process().Verdict().Load();
    COrbStream& stream = *bench.Builder().Stream();

    bench.Builder().Id().deviceNumber = 2;
    EXPECT_EQ(stream.ExecuteTest(), 2);
    EXPECT_EQ(bench.Reports().back(), ReportJson(kRunId, kRunId, 2, "Video stream test.", "Test DeviceID=10.",
                                                 "[NoRun]**** Invalid DeviceID=2."));

    bench.Builder().Id().deviceNumber = 10;
    bench.Builder().SetStreamConfig(nullptr);
    EXPECT_EQ(stream.ExecuteTest(), 1);
    EXPECT_EQ(bench.Reports().back(), ReportJson(kRunId, kRunId, 1, "Video stream test.", "Has video stream pointer.",
                                                 "[NA]**** No Video Stream pointer."));
    EXPECT_EQ(bench.LogLines().back(), "255 0x00FF0000 COrbStream::ExecuteTest()>  [NA]**** No Video Stream pointer.");
}

}  // namespace
}  // namespace orbex::testing
