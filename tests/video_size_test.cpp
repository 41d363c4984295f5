// The video size test (204, 205) end to end on the virtual board: the sizes
// tried and their order, each step's report and log lines, the summary, and
// the paths where the stream cannot be enumerated or a size cannot be set.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "cases/decoder/decoder.h"
#include "support/bench.h"

namespace orbex::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

constexpr const char* kPrefix = "CDecoder::VideoSizeTestHandler()::";

struct SizeBench : Bench {
    // The shipped graph file, its stream size (set at start-up) changed to one every record here allows.
    explicit SizeBench(const std::string& board = "", const std::string& width = "160",
                       const std::string& height = "120")
        : Bench(Board(board)) {
        std::ifstream in(std::string(ORBEX_SOURCE_DIR) + "/examples/default.gf");
        std::stringstream s;
        s << in.rdbuf();
        std::string graph = s.str();
        const std::string size = "VideoOutputWidth=320\nVideoOutputHeight=240";
        graph.replace(graph.find(size), size.size(), "VideoOutputWidth=" + width + "\nVideoOutputHeight=" + height);
        WriteFile("default.gf", graph);
    }
    // The reports of the test itself, without the forwarded log lines.
    std::vector<std::string> OwnReports() const {
        std::vector<std::string> out;
        for (const std::string& r : Reports())
            if (r.find("\"step\":\"msg") == std::string::npos) out.push_back(r);
        return out;
    }
    // "WxH" of every step's first log line, in order.
    std::vector<std::string> SizesTried() const {
        std::vector<std::string> out;
        const std::string head = std::string("100 0x0000AF00 ") + kPrefix + "Running for Step (";
        for (const std::string& l : LogLines()) {
            if (l.rfind(head, 0) != 0) continue;
            size_t at = l.find("Testing Size ") + 13;
            out.push_back(l.substr(at, l.find(' ', at) - at));
        }
        return out;
    }
    std::vector<std::string> HandlerLines() const {
        std::vector<std::string> out;
        for (const std::string& l : LogLines())
            if (l.find(kPrefix) != std::string::npos) out.push_back(l);
        return out;
    }
};

std::string StepReport(const std::string& id, int step, bool pass, int w, int h) {
    std::string size = std::to_string(w) + " x " + std::to_string(h);
    return ReportJson(id, std::to_string(step), pass ? 4 : 0, "Test Video Size  " + size, "PASS",
                      (pass ? "PASS::Test Video Size  " : "FAIL::Test Video Size  ") + size);
}
std::string Summary(const std::string& id, int status, int total, const std::string& actual) {
    return ReportJson(id, id, status, "VIDEO SIZE TESTES", "Pass all " + std::to_string(total) + " testes", actual);
}

TEST(VideoSize, ThePredefinedSizesOfTheFamilyMaskInTableOrder) {
    struct Case {
        const char* board;
        const char* line;
        std::vector<std::string> sizes;
    };
    for (const Case& c : {
             // NTSC tuner (standard class 1): the 525-line slots up to 720x480.
             Case{"", "tc2204", {"80x60", "160x120", "240x180", "320x240", "640x240", "640x480", "720x240", "720x480"}},
             Case{"[CaptureFormat.1]\nMaxOutputSize=640x480\n",
                  "tc2204",
                  {"80x60", "160x120", "240x180", "320x240", "640x240", "640x480"}},
             // The parameter names the family: PAL's slots only, then all sixteen that fit.
             Case{"",
                  "-g 2 -d 2 -t 4 -p 2",
                  {"80x72", "128x96", "176x144", "240x176", "352x240", "352x288", "640x288", "720x288"}},
             Case{"",
                  "-g 2 -d 2 -t 4 -p 255",
                  {"80x60", "80x72", "128x96", "160x120", "176x144", "240x176", "240x180", "320x240", "352x240",
                   "352x288", "640x240", "640x288", "640x480", "720x240", "720x288", "720x480"}},
             // Every record is tried in turn.
             Case{"[CaptureFormat.1]\nMaxOutputSize=160x120\n[CaptureFormat.2]\nSubtype=UYVY\nMinOutputSize=80x60\n"
                  "MaxOutputSize=240x180\nGranularity=4x2\nFrameInterval=333333-10000000\n",
                  "tc2204",
                  {"80x60", "160x120", "80x60", "160x120", "240x180"}},
         }) {
        SizeBench bench(c.board);
        EXPECT_EQ(bench.Run(c.line), 2) << c.line;
        EXPECT_EQ(bench.SizesTried(), c.sizes) << c.board << c.line;
        auto reports = bench.OwnReports();
        ASSERT_EQ(reports.size(), c.sizes.size() + 1) << c.line;
        std::string id = reports.back().substr(reports.back().find("\"test\":\"") + 8);
        id = id.substr(0, id.find('"'));
        EXPECT_EQ(reports.back(), Summary(id, 4, static_cast<int>(c.sizes.size()),
                                          "PASS::  All " + std::to_string(c.sizes.size()) + " testes passed"));
    }
}

TEST(VideoSize, EachStepLogsAndReportsInOrder) {
    SizeBench bench("[CaptureFormat.1]\nMaxOutputSize=160x120\n");
    EXPECT_EQ(bench.Run("tc2204"), 2);
    std::vector<std::string> expected = {
        "0 0x0000AF00 CDecoder::VideoSizeTestHandler()::VideoSizeTestHandler() Entered"};
    auto step = [&](int n, int w, int h) {
        std::string size = std::to_string(w) + "x" + std::to_string(h);
        std::string spaced = std::to_string(w) + " x " + std::to_string(h);
        for (const std::string& l : std::vector<std::string>{
                 "100 0x0000AF00 %Running for Step (" + std::to_string(n) + ").  Testing Size " + size + " ... ",
                 "0 0x0000AF00 %Get Format", "0 0x0000AF00 %Stop Graph",
                 "0 0x0000AF00 %Changed Size to " + size + " successfully", "0 0x0000AF00 %Wait for a bit ... ",
                 "0 0x0000AF00 %Run Graph", "0 0x0000AF00 %Checking buffer status ... ",
                 "101 0x0000AF00 %Description:Test Video Size  " + spaced, "101 0x0000AF00 %Expected   :PASS",
                 "101 0x0000AF00 %Actual     :PASS::Test Video Size  " + spaced,
                 "101 0x0000AF00 %Report Result for Step (" + std::to_string(n) + ")"}) {
            std::string line = l;
            line.replace(line.find('%'), 1, kPrefix);
            expected.push_back(line);
        }
    };
    step(1, 80, 60);
    step(2, 160, 120);
    for (const char* l :
         {"100 0x0000AF00 %===== SUMMARY =====", "100 0x0000AF00 %Description:VIDEO SIZE TESTES",
          "100 0x0000AF00 %Expected   :Pass all 2 testes", "100 0x0000AF00 %Actual     :PASS::  All 2 testes passed",
          "100 0x0000AF00 %===== END OF SUMMARY =====", "0 0x0000AF00 %Report Final Result",
          "0 0x0000AF00 %VideoSizeTestHandler() Exited"}) {
        std::string line = l;
        line.replace(line.find('%'), 1, kPrefix);
        expected.push_back(line);
    }
    EXPECT_THAT(bench.HandlerLines(), ElementsAreArray(expected));
    EXPECT_THAT(bench.Reports(),
                ElementsAre(StepReport("tc2204", 1, true, 80, 60), StepReport("tc2204", 2, true, 160, 120),
                            Summary("tc2204", 4, 2, "PASS::  All 2 testes passed")));
}

// A record that advertises more than its scaler fills: the sizes taller than
// what it fills leave rows without picture and fail through the buffer check
// (a narrower picture still shows in every row).
TEST(VideoSize, ARecordThatLiesFailsItsLargerSizes) {
    SizeBench bench("[CaptureFormat.1]\nFills=640x240\n");
    EXPECT_EQ(bench.Run("tc2204"), 2);
    const int sizes[][2] = {{80, 60},   {160, 120}, {240, 180}, {320, 240},
                            {640, 240}, {640, 480}, {720, 240}, {720, 480}};
    std::vector<std::string> expected;
    for (int i = 0; i < 8; ++i)
        expected.push_back(StepReport("tc2204", i + 1, sizes[i][1] <= 240, sizes[i][0], sizes[i][1]));
    expected.push_back(Summary("tc2204", 0, 8, "FAIL::  Total: 8, Passed: 6, Failed 2"));
    EXPECT_THAT(bench.OwnReports(), ElementsAreArray(expected));
    // A failed step's four lines are red, and reach the harness as Fail messages.
    auto reports = bench.Reports();
    EXPECT_EQ(reports.size(), expected.size() + 2 * 4);
    EXPECT_NE(std::find(reports.begin(), reports.end(),
                        ReportJson("tc2204", "msg1", 0, "Message Log:", "",
                                   std::string(kPrefix) + "Description:Test Video Size  640 x 480")),
              reports.end());
}

// A size the stream refuses (or a graph that does not stop) is reported with
// the status of the step before and counted in none of the totals.
TEST(VideoSize, ARefusedSizeCarriesTheStatusBefore) {
    struct Case {
        const char* board;
        std::vector<bool> passes;
        const char* summary;
        int status;
    };
    for (const Case& c : {
             // 80x60 fits the maximum but is below the minimum: refused as the first step, so a Pass.
             Case{"[CaptureFormat.1]\nMinOutputSize=160x120\n",
                  {true, true, true, true, true, true, true, true},
                  "PASS::  All 7 testes passed",
                  4},
             // 640x480 fails; the next step's graph does not stop and carries that Fail.
             Case{"[CaptureFormat.1]\nFills=640x240\n[Faults]\nStop=0x80004005,1,6\n",
                  {true, true, true, true, true, false, false, false},
                  "FAIL::  Total: 7, Passed: 5, Failed 2",
                  0},
         }) {
        SizeBench bench(c.board);
        EXPECT_EQ(bench.Run("tc2204"), 2);
        const int sizes[][2] = {{80, 60},   {160, 120}, {240, 180}, {320, 240},
                                {640, 240}, {640, 480}, {720, 240}, {720, 480}};
        std::vector<std::string> expected;
        for (int i = 0; i < 8; ++i)
            expected.push_back(StepReport("tc2204", i + 1, c.passes[i], sizes[i][0], sizes[i][1]));
        expected.push_back(Summary("tc2204", c.status, 7, c.summary));
        EXPECT_THAT(bench.OwnReports(), ElementsAreArray(expected)) << c.board;
        auto lines = bench.HandlerLines();
        EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                                [](const std::string& l) { return l.find("successfully") != std::string::npos; }),
                  7)
            << c.board;
    }
}

TEST(VideoSize, AllReportedSizesStepByTheGranularity) {
    struct Case {
        const char* record;
        const char* startHeight;  // the graph's start size is the record's minimum width by this
        std::vector<std::string> sizes;
        int status;
        const char* summary;
    };
    for (const Case& c : {
             Case{"MinOutputSize=160x120\nMaxOutputSize=320x240\nGranularity=160x120\n",
                  "120",
                  {"160x120", "160x240", "320x120", "320x240"},
                  4,
                  "PASS::  All 4 testes passed"},
             // The family mask plays no part; rows taller than the scaler fills fail.
             Case{"MinOutputSize=80x60\nMaxOutputSize=90x64\nGranularity=5x2\nFills=85x62\n",
                  "60",
                  {"80x60", "80x62", "80x64", "85x60", "85x62", "85x64", "90x60", "90x62", "90x64"},
                  0,
                  "FAIL::  Total: 9, Passed: 6, Failed 3"},
             // A zero step tries the minimum once in that dimension.
             Case{"MinOutputSize=160x120\nMaxOutputSize=320x240\nGranularity=0x120\n",
                  "120",
                  {"160x120", "160x240"},
                  4,
                  "PASS::  All 2 testes passed"},
             Case{"MinOutputSize=160x120\nMaxOutputSize=320x240\nGranularity=160x0\n",
                  "120",
                  {"160x120", "320x120"},
                  4,
                  "PASS::  All 2 testes passed"},
         }) {
        std::string record = c.record;
        std::string width = record.substr(14, record.find('x') - 14);
        SizeBench bench(std::string("[CaptureFormat.1]\n") + c.record, width, c.startHeight);
        EXPECT_EQ(bench.Run("-g 2 -d 2 -t 5 -p 2"), 2) << c.record;
        EXPECT_EQ(bench.SizesTried(), c.sizes) << c.record;
        auto lines = bench.HandlerLines();
        ASSERT_GE(lines.size(), 3u);
        EXPECT_EQ(lines[1],
                  std::string("0 0x0000AF00 ") + kPrefix + "Testing against ALL the available sizes reported");
        EXPECT_EQ(lines[2], std::string("0 0x0000AF00 ") + kPrefix +
                                "*** WARNING *** The test is VERY long.  TURN OFF POWER SAVING OR STANDBY MODE");
        EXPECT_EQ(bench.OwnReports().back(),
                  Summary("G2_D2_T5_P2_Fdefault", c.status, static_cast<int>(c.sizes.size()), c.summary))
            << c.record;
    }
}

// A stream that cannot be enumerated ends in a summary of no step with a
// Pass; its red line reaches the harness as a Fail message.
TEST(VideoSize, AStreamThatCannotBeEnumeratedHasNoStep) {
    struct Case {
        const char* board;
        const char* line;
    };
    for (const Case& c : {
             Case{"[Faults]\nStreamGetNumberOfCapabilities=0x80004005\n", "GetNumberOfCapabilities() Failed"},
             Case{"[CaptureStream]\nRecordSize=64\n", "Invalid returned sizes by GetNumberOfCapabilities()"},
             Case{"[CaptureStream]\nRecordSize=200\n", "Invalid returned sizes by GetNumberOfCapabilities()"},
         }) {
        for (const char* id : {"tc2204", "tc2205"}) {
            SizeBench bench(c.board);
            EXPECT_EQ(bench.Run(id), 2) << c.board;
            std::string text = std::string(kPrefix) + c.line;
            EXPECT_THAT(bench.Reports(), ElementsAre(ReportJson(id, "msg1", 0, "Message Log:", "", text),
                                                     Summary(id, 4, 0, "PASS::  All 0 testes passed")))
                << c.board << id;
            EXPECT_TRUE(bench.SizesTried().empty());
        }
    }
}

}  // namespace
}  // namespace orbex::testing
