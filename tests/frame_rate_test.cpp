// The frame rate test (tc3200) end to end on the virtual board: the rates of
// the family's list set, run and measured by the video analyzer in the
// graph, each step's report and log lines, the summary, steps that end early
// and the failures of the stream, the graph and the analyzer.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "cases/decoder/decoder.h"
#include "support/sys_bench.h"

namespace orbex {
double FrameRateDeviation(double measured, double rate);
}

namespace orbex::testing {
namespace {

using ::testing::ElementsAreArray;

const std::string kPrefix = "CDecoder::VideoFrameRateTestHandler()::";
const std::string kSummaryDescription = "Video Frame Rate Test (320x240) for (5) sec";
const std::string kSummaryExpected = "All Rates should within 15.00% of their expected rates.";

struct Step {
    const char* rate;      // as the texts print it
    const char* measured;  // likewise
    bool pass;
};

std::string StepDescription(const std::string& rate) {
    return "Set Frame Rate for 320x240 in 5 sec to " + rate + " fps";
}
std::string StepActual(const Step& s) {
    return s.pass ? std::string("PASS::Frame Rate=") + s.measured + "fps within 15.00% of the expected rate."
                  : std::string("FAIL::Frame Rate=") + s.measured + "fps exceed 15.00% of the expected rate.";
}

// The reports of a run: per step its report (failed steps also forward their
// four red lines first), then the summary.
std::vector<std::string> Expected(const std::vector<Step>& steps, int overall, const std::string& actual) {
    const std::string id = "tc3200";
    std::vector<std::string> out;
    int n = 1;
    for (const Step& s : steps) {
        const std::string number = std::to_string(n++);
        const std::string expected = std::string("Frame rate ") + s.rate + " fps";
        if (!s.pass) {
            out.push_back(Msg(id, 0, kPrefix + "Description:" + StepDescription(s.rate)));
            out.push_back(Msg(id, 0, kPrefix + "Expected   :" + expected));
            out.push_back(Msg(id, 0, kPrefix + "Actual     :" + StepActual(s)));
            out.push_back(Msg(id, 0, kPrefix + "Report Result for Step (" + number + ")"));
        }
        out.push_back(ReportJson(id, number, s.pass ? 4 : 0, StepDescription(s.rate), expected, StepActual(s)));
    }
    out.push_back(Rep(id, overall, kSummaryDescription, kSummaryExpected, actual));
    return out;
}

// Results of a run from the reports onwards the frame rate test gave (the
// graph's set-up may forward lines of its own before).
std::vector<std::string> TestResults(const SysBench& bench) {
    std::vector<std::string> all = bench.Results();
    for (size_t i = 0; i < all.size(); ++i)
        if (all[i].find("VideoFrameRateTestHandler") != std::string::npos ||
            all[i].find("\"step\":\"1\"") != std::string::npos)
            return {all.begin() + static_cast<std::ptrdiff_t>(i), all.end()};
    return {};
}

const std::vector<Step> kReferenceSteps = {{"5.00", "5.00", true},
                                           {"10.00", "10.00", true},
                                           {"15.00", "15.00", true},
                                           {"20.00", "20.00", true},
                                           {"29.98", "29.97", true}};

std::string Green(int level, const std::string& text) {
    return std::to_string(level) + " 0x0000AF00 " + kPrefix + text;
}

// The log from one line on, as many lines as asked.
std::vector<std::string> LogFrom(const SysBench& bench, const std::string& first, size_t count) {
    std::vector<std::string> log = bench.LogLines();
    for (size_t i = 0; i < log.size(); ++i)
        if (log[i] == first)
            return {log.begin() + static_cast<std::ptrdiff_t>(i),
                    log.begin() + static_cast<std::ptrdiff_t>(std::min(log.size(), i + count))};
    return {};
}

TEST(FrameRateTest, ReferenceBoardPassesEveryNtscRateWithItsStepLogAndSummary) {
    RackBench bench;
    EXPECT_EQ(bench.Run("tc3200"), 4);
    EXPECT_THAT(TestResults(bench), ElementsAreArray(Expected(kReferenceSteps, 4, "PASS::  All 5 testes passed")));
    const std::string first = Green(100, "Running for Step (1).  Testing Frame Rate for 5.00fps");
    EXPECT_THAT(
        LogFrom(bench, first, 11),
        ElementsAreArray({first, Green(0, "Get Fromat"), Green(0, "Stop Graph"), Green(0, "Set Frame Rate=5.00fps"),
                          Green(0, "Run Graph"), Green(0, "Get result from video analyzer"),
                          Green(101, "Description:Set Frame Rate for 320x240 in 5 sec to 5.00 fps"),
                          Green(101, "Expected   :Frame rate 5.00 fps"),
                          Green(101, "Actual     :PASS::Frame Rate=5.00fps within 15.00% of the expected rate."),
                          Green(101, "Report Result for Step (1)"),
                          Green(100, "Running for Step (2).  Testing Frame Rate for 10.00fps")}));
    const std::string summary = Green(100, "===== SUMMARY =====");
    EXPECT_THAT(
        LogFrom(bench, summary, 8),
        ElementsAreArray(
            {summary, Green(100, "Description:" + kSummaryDescription), Green(100, "Expected   :" + kSummaryExpected),
             Green(100, "Actual     :PASS::  All 5 testes passed"), Green(100, "===== END OF SUMMARY ====="),
             Green(0, "Report Final Result"), Green(0, "VideoFrameRateTestHandler() Exited")}));
    EXPECT_TRUE(bench.Logged(Green(0, "VideoFrameRateTestHandler() Entered")));
    // Each step takes its four settle delays and the 5 s sleep of virtual time.
    EXPECT_GE(bench.Now(), 5u * 5600u);
}

// A failed step's four lines are red at level 765.
TEST(FrameRateTest, AFailedStepLogsRedAtLevel765) {
    RackBench bench(StockBoardText("slow-frames"));
    EXPECT_EQ(bench.Run("tc3200"), 0);
    const std::string red = "765 0x000000FF " + kPrefix;
    EXPECT_THAT(LogFrom(bench, red + "Description:Set Frame Rate for 320x240 in 5 sec to 15.00 fps", 4),
                ElementsAreArray({red + "Description:Set Frame Rate for 320x240 in 5 sec to 15.00 fps",
                                  red + "Expected   :Frame rate 15.00 fps",
                                  red + "Actual     :FAIL::Frame Rate=11.00fps exceed 15.00% of the expected rate.",
                                  red + "Report Result for Step (3)"}));
}

TEST(FrameRateTest, StockBoardsFailTheRatesTheirFramesMiss) {
    struct Case {
        const char* board;
        std::vector<Step> steps;
        const char* summary;
    };
    for (const Case& c : {
             Case{"slow-frames",
                  {{"5.00", "5.00", true},
                   {"10.00", "10.00", true},
                   {"15.00", "11.00", false},
                   {"20.00", "11.00", false},
                   {"29.98", "11.00", false}},
                  "FAIL::  Total: 5, Passed: 2, Failed 3"},
             // 17 fps for 20: a truncated difference of 3, 15 %, is not below the bound.
             Case{"[CaptureStream]\nMaxFrameRate=17\n",
                  {{"5.00", "5.00", true},
                   {"10.00", "10.00", true},
                   {"15.00", "15.00", true},
                   {"20.00", "17.00", false},
                   {"29.98", "17.00", false}},
                  "FAIL::  Total: 5, Passed: 3, Failed 2"},
             Case{"stalled-frames",
                  // two seconds of frames a run, measured over five
                  {{"5.00", "1.82", false},
                   {"10.00", "3.88", false},
                   {"15.00", "5.82", false},
                   {"20.00", "7.87", false},
                   {"29.98", "11.68", false}},
                  "FAIL::  Total: 5, Passed: 0, Failed 5"},
         }) {
        RackBench bench(c.board[0] == '[' ? Bench::Board(c.board) : StockBoardText(c.board));
        EXPECT_EQ(bench.Run("tc3200"), 0) << c.board;
        EXPECT_THAT(TestResults(bench), ElementsAreArray(Expected(c.steps, 0, c.summary))) << c.board;
    }
}

// A PAL tuner's family gets the two PAL rates; the frames still come from
// the 525-line station the rack sends.
TEST(FrameRateTest, ANonNtscTunerGetsThePalList) {
    RackBench bench(StockBoardText("pal-tuner"));
    EXPECT_EQ(bench.Run("tc3200"), 4);
    EXPECT_THAT(TestResults(bench), ElementsAreArray(Expected({{"16.67", "16.67", true}, {"25.00", "25.00", true}}, 4,
                                                              "PASS::  All 2 testes passed")));
}

TEST(FrameRateDeviation, TruncatesTheDifferenceAndScalesByTheRate) {
    struct Case {
        double measured, rate, deviation;
    };
    for (const Case& c : {Case{17.4, 20.0, 10.0}, Case{16.9, 20.0, 15.0}, Case{29.0, 29.98, 0.0},
                          Case{22.9, 20.0, 10.0}, Case{0.0, 5.0, 100.0}, Case{5.99, 5.0, 0.0}})
        EXPECT_DOUBLE_EQ(FrameRateDeviation(c.measured, c.rate), c.deviation) << c.measured << " for " << c.rate;
}

// What ends a step early (a failed stop, a refused rate) fails it but counts
// it nowhere; its actual text carries the rate measured last.
TEST(FrameRateTest, StepsThatEndEarlyAreFailedAndCountedNowhere) {
    struct Case {
        const char* what;
        std::string board;
        std::vector<Step> steps;
        const char* summary;
    };
    const std::vector<Case> cases = {
        {"a record whose shortest interval refuses 29.98",
         Replaced(Bench::Board(), "FrameInterval=333333-10000000", "FrameInterval=333667-10000000"),
         {{"5.00", "5.00", true},
          {"10.00", "10.00", true},
          {"15.00", "15.00", true},
          {"20.00", "20.00", true},
          {"29.98", "20.00", false}},
         "FAIL::  Total: 4, Passed: 4, Failed 0"},
        {"the third rate's SetFormat fails",
         Bench::Board("[Faults]\nStreamSetFormat=0x80004005,1,3\n"),
         {{"5.00", "5.00", true},
          {"10.00", "10.00", true},
          {"15.00", "10.00", false},
          {"20.00", "20.00", true},
          {"29.98", "29.97", true}},
         "FAIL::  Total: 4, Passed: 4, Failed 0"},
        {"every stop fails",
         Bench::Board("[Faults]\nStop=0x80004005\n"),
         {{"5.00", "0.00", false},
          {"10.00", "0.00", false},
          {"15.00", "0.00", false},
          {"20.00", "0.00", false},
          {"29.98", "0.00", false}},
         "FAIL::  Total: 0, Passed: 0, Failed 0"},
    };
    for (const Case& c : cases) {
        RackBench bench(c.board);
        EXPECT_EQ(bench.Run("tc3200"), 0) << c.what;
        EXPECT_THAT(TestResults(bench), ElementsAreArray(Expected(c.steps, 0, c.summary))) << c.what;
    }
}

// Without a measurement every step fails and counts: no analyzer in the
// graph, a graph that never runs, an analyzer whose call fails.
TEST(FrameRateTest, WithoutAMeasurementEveryStepFails) {
    const std::vector<Step> zero = {{"5.00", "0.00", false},
                                    {"10.00", "0.00", false},
                                    {"15.00", "0.00", false},
                                    {"20.00", "0.00", false},
                                    {"29.98", "0.00", false}};
    struct Case {
        const char* what;
        std::string board, graph;
    };
    const std::vector<Case> cases = {
        {"no analyzer", Bench::Board(), Replaced(ExampleFile("default.gf"), "FilterType=5", "FilterType=0")},
        {"the graph never runs", Bench::Board("[Faults]\nRun=0x80004005\n"), ""},
        {"the analyzer's call fails", Bench::Board("[Faults]\nAnalyzerGetMeasurement=0x80004005\n"), ""},
    };
    for (const Case& c : cases) {
        RackBench bench(c.board);
        if (!c.graph.empty()) bench.WriteFile("default.gf", c.graph);
        EXPECT_EQ(bench.Run("tc3200"), 0) << c.what;
        EXPECT_THAT(TestResults(bench), ElementsAreArray(Expected(zero, 0, "FAIL::  Total: 5, Passed: 0, Failed 5")))
            << c.what;
    }
}

// The stream's answers that stop the test before any step: a record size
// other than 128, a failed count of records.
TEST(FrameRateTest, RecordSizeAndCountFailuresFailTheTestWithoutSteps) {
    struct Case {
        std::string board;
        const char* line;
    };
    for (const Case& c : {
             Case{Replaced(Bench::Board(), "RecordSize=128", "RecordSize=64"),
                  "Invalid returned sizes by GetNumberOfCapabilities()"},
             Case{Replaced(Bench::Board(), "RecordSize=128", "RecordSize=129"),
                  "Invalid returned sizes by GetNumberOfCapabilities()"},
             Case{Bench::Board("[Faults]\nStreamGetNumberOfCapabilities=0x80004005\n"),
                  "GetNumberOfCapabilities() Failed"},
         }) {
        RackBench bench(c.board);
        EXPECT_EQ(bench.Run("tc3200"), 0) << c.line;
        EXPECT_THAT(TestResults(bench), ElementsAreArray({Msg("tc3200", 0, kPrefix + c.line),
                                                          Rep("tc3200", 0, kSummaryDescription, kSummaryExpected,
                                                              "FAIL::  Total: 0, Passed: 0, Failed 0")}))
            << c.line;
        EXPECT_TRUE(bench.Logged("765 0x000000FF " + kPrefix + c.line)) << c.line;
    }
}

// A capture pin without records hands out no stream configuration, which
// ends the set-up; the decoder asked for the test anyway finds no stream.
TEST(FrameRateTest, WithoutAStreamConfigurationTheCountFails) {
    std::string board = Bench::Board();
    RackBench bench(board.substr(0, board.find("[CaptureFormat.1]")) + board.substr(board.find("[CaptureStream]")));
    bench.RunThenReopen("tc3200");
    ASSERT_FALSE(bench.Builder().StreamConfig());
    ASSERT_TRUE(bench.Builder().Decoder());
    EXPECT_EQ(bench.Builder().Decoder()->ExecuteTest("tc3200", 300, 0), 0);
    EXPECT_THAT(bench.Results(), ElementsAreArray({Msg("tc3200", 0, kPrefix + "GetNumberOfCapabilities() Failed"),
                                                   Rep("tc3200", 0, kSummaryDescription, kSummaryExpected,
                                                       "FAIL::  Total: 0, Passed: 0, Failed 0")}));
}

}  // namespace
}  // namespace orbex::testing
