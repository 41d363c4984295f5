// The harness's reading of a run: verdicts, forwarded log lines, the summary,
// and the platform's events turned into the pictures of the report.
#include "recorder.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "common/base64.h"
#include "stock_boards.h"

namespace orbex::harness {
namespace {

ResultRecord R(int64_t status, bool forwarded = false) {
    ResultRecord r;
    r.status = status;
    r.forwarded = forwarded;
    r.step = forwarded ? "msg1" : "1";
    return r;
}

TEST(Verdict, FollowsTheClosingReportAndAnyFailure) {
    struct Case {
        const char* what;
        std::vector<ResultRecord> results;
        size_t finalCallFirst;
        bool returned;
        int64_t returnValue;
        int64_t verdict;
    };
    const Case cases[] = {
        {"closing pass after passes", {R(4), R(4)}, 0, true, 2, kStatusPass},
        {"NoRun by definition, outcome in the summary", {R(4), R(4), R(4)}, 0, true, 2, kStatusPass},
        {"closing NoRun", {R(4), R(2)}, 0, true, 2, kStatusNoRun},
        {"one failed step fails the case", {R(0), R(4), R(4)}, 0, true, 4, kStatusFail},
        {"a forwarded red line is no failure", {R(0, true), R(2)}, 0, true, 2, kStatusNoRun},
        {"a forwarded line after the closing report", {R(1), R(0, true)}, 0, true, 1, kStatusNotApplicable},
        {"no report: what it returned", {}, 0, true, 0, kStatusFail},
        {"only forwarded lines: what it returned", {R(0, true)}, 0, true, 1, kStatusNotApplicable},
        {"stream run: its final step's report", {R(2), R(4)}, 1, true, 4, kStatusPass},
        {"stream run, final step silent: what it returned", {R(4)}, 1, true, 2, kStatusNoRun},
        {"did not return", {}, 0, false, 0, kNoVerdict},
    };
    for (const Case& c : cases) {
        TestCaseRecord t;
        t.results = c.results;
        t.finalCallFirstResult = c.finalCallFirst;
        t.returned = c.returned;
        t.returnValue = c.returnValue;
        EXPECT_EQ(VerdictOf(t), c.verdict) << c.what;
    }
}

TEST(Verdict, ForwardedLogLinesAreKnownByStepAndDescription) {
    EXPECT_TRUE(IsForwardedLogLine("msg1", "Message Log:"));
    EXPECT_TRUE(IsForwardedLogLine("msg4711", "Message Log:"));
    EXPECT_FALSE(IsForwardedLogLine("msg", "Message Log:"));
    EXPECT_FALSE(IsForwardedLogLine("msg1x", "Message Log:"));
    EXPECT_FALSE(IsForwardedLogLine("1", "Message Log:"));
    EXPECT_FALSE(IsForwardedLogLine("msg1", "Message Log"));
    EXPECT_FALSE(IsForwardedLogLine("msg1", "Test Summary"));
}

TEST(Verdict, NamesAreThoseOfTheReadableLines) {
    EXPECT_STREQ(StatusName(kStatusFail), "FAIL");
    EXPECT_STREQ(StatusName(kStatusNotApplicable), "NA");
    EXPECT_STREQ(StatusName(kStatusNoRun), "NORUN");
    EXPECT_STREQ(StatusName(kStatusPass), "PASS");
    EXPECT_STREQ(StatusName(kNoVerdict), "NONE");
    EXPECT_STREQ(StatusName(3), "STATUS?");
}

Event Report(const std::string& test, const std::string& step, int64_t status, const std::string& description) {
    return Event{"ResultReport",
                 {{"test", test},
                  {"step", step},
                  {"status", status},
                  {"description", description},
                  {"expected", std::string()},
                  {"actual", std::string("seen")}}};
}

Event Platform(std::vector<std::pair<std::string, std::variant<std::string, int64_t>>> fields) {
    return Event{"Platform", std::move(fields)};
}

Event Return(const std::string& commandLine, int64_t value) {
    return Event{"Return", {{"commandLine", commandLine}, {"value", value}}};
}

RecorderOptions Quiet() {
    RecorderOptions o;
    o.human = false;
    return o;
}

TEST(Recorder, CountsTestCasesByVerdictAndResultsApartFromForwardedLines) {
    Recorder recorder(Quiet());
    recorder.BeginTestCase("tc1301", "", "", 0, 3);
    recorder.OnEvent(Report("tc1301", "msg1", 0, "Message Log:"));
    recorder.OnEvent(Report("tc1301", "tc1301", 2, "Test executer."));
    recorder.OnEvent(Return("tc1301", 2));
    recorder.BeginTestCase("tc5010", "Board tables: feature masks (MMMask)", "hwcaps", 1, 3);
    recorder.OnEvent(Report("tc5010", "1", 4, "mask"));
    recorder.OnEvent(Report("tc5010", "2", 0, "mask"));
    recorder.OnEvent(Report("tc5010", "tc5010", 0, "Test Summary"));
    recorder.OnEvent(Return("tc5010", 0));
    recorder.BeginTestCase("tc1100", "Tuner: available TV formats", "tuner", 2, 3);
    recorder.OnEvent(Report("tc1100", "tc1100", 1, "formats"));
    recorder.OnEvent(Return("tc1100", 1));
    EXPECT_EQ(recorder.SummaryLine(),
              "Summary: 3 test case(s): 0 pass, 1 fail, 1 not applicable, 1 no run; "
              "5 result(s): 1 pass, 2 fail, 1 not applicable, 1 no run");
    EXPECT_TRUE(recorder.AnyFail());
    ASSERT_EQ(recorder.TestCases().size(), 3u);
    EXPECT_TRUE(recorder.TestCases()[0].results[0].forwarded);
    EXPECT_EQ(recorder.TestCases()[1].group, "hwcaps");
}

TEST(Recorder, ANoRunIsNoFailureOfTheRun) {
    Recorder recorder(Quiet());
    recorder.BeginTestCase("tc2202", "", "", 0, 1);
    recorder.OnEvent(Report("tc2202", "msg1", 0, "Message Log:"));
    recorder.OnEvent(Report("tc2202", "tc2202", 2, "lines"));
    recorder.OnEvent(Return("tc2202", 2));
    EXPECT_FALSE(recorder.AnyFail());
}

TEST(Recorder, StepCallsTimingAndLogLinesBelongToTheTestCase) {
    Recorder recorder(Quiet());
    recorder.BeginTestCase("-g 2 -d 10 -t 1", "", "stream", 0, 1);
    recorder.OnEvent(Platform({{"what", std::string("Log")}, {"level", int64_t{100}}, {"text", std::string("Run")}}));
    recorder.OnEvent(Report("G2", "G2", 0, "early"));
    recorder.OnEvent(Event{"Call", {{"call", int64_t{2}}}});
    recorder.OnEvent(Report("G2", "G2", 4, "stream"));
    recorder.OnEvent(
        Event{"Timing", {{"calls", int64_t{3}}, {"wallUs", int64_t{1500}}, {"virtualUs", int64_t{10604000}}}});
    recorder.OnEvent(Return("-g 2 -d 10 -t 1", 4));
    const TestCaseRecord& c = recorder.TestCases().at(0);
    EXPECT_EQ(c.finalCallFirstResult, 1u);
    EXPECT_EQ(c.calls, 3);
    EXPECT_EQ(c.wallUs, 1500);
    EXPECT_EQ(c.virtualUs, 10604000);
    ASSERT_EQ(c.log.size(), 1u);
    EXPECT_EQ(c.log[0].level, 100);
    EXPECT_EQ(c.log[0].text, "Run");
    EXPECT_EQ(VerdictOf(c), kStatusFail);  // a failure in an earlier step still fails the run
}

TEST(Recorder, PlatformDataBecomesPicturesOfTheNextResult) {
    Recorder recorder(Quiet());
    recorder.BeginTestCase("tc2200", "", "decoder", 0, 1);
    const std::vector<uint8_t> luma = {16, 235, 16, 235, 0, 0};  // 2 columns x 3 rows
    const std::string encoded = EncodeBase64(luma.data(), luma.size());
    auto overlay = [&](int64_t surface, const std::string& rows, int64_t height) {
        return Platform({{"what", std::string("OverlayBuffer")},
                         {"surface", surface},
                         {"width", int64_t{720}},
                         {"height", height},
                         {"rows", rows},
                         {"columns", int64_t{2}},
                         {"luma", encoded}});
    };
    recorder.OnEvent(overlay(0, "PPE", 3));
    recorder.OnEvent(overlay(0, "PEE", 3));  // the same surface again before the result: replaces it
    recorder.OnEvent(overlay(1, "PP", 3));   // rows that disagree with the height: dropped
    recorder.OnEvent(overlay(1, "PPN", 4));  // luma that disagrees with the size: dropped
    recorder.OnEvent(Report("tc2200", "tc2200", 0, "buffers"));
    const std::vector<uint8_t> samples = {16, 126, 235};
    recorder.OnEvent(Platform({{"what", std::string("VbiLine")},
                               {"line", int64_t{21}},
                               {"rate", int64_t{27000000}},
                               {"startNs", int64_t{9000}},
                               {"blank", int64_t{16}},
                               {"level50", int64_t{126}},
                               {"samples", EncodeBase64(samples.data(), samples.size())}}));
    recorder.OnEvent(Platform({{"what", std::string("VbiLine")}, {"samples", std::string("not base64!")}}));
    recorder.OnEvent(Platform({{"what", std::string("AnalyzerMeasurement")},
                               {"setInterval", int64_t{33366}},
                               {"intervals", std::string("33366 33367 66733")}}));
    recorder.OnEvent(
        Platform({{"what", std::string("ChannelScan")}, {"channels", std::string("2:1 3:0 4:- x:1 14:1")}}));
    recorder.OnEvent(Return("tc2200", 0));

    const TestCaseRecord& c = recorder.TestCases().at(0);
    ASSERT_EQ(c.pictures.size(), 4u);
    const auto* o = std::get_if<OverlayPicture>(&c.pictures[0].data);
    ASSERT_NE(o, nullptr);
    EXPECT_EQ(c.pictures[0].beforeResult, 0u);
    EXPECT_EQ(o->rows, "PEE");
    EXPECT_EQ(o->width, 720);
    EXPECT_EQ(o->height, 3);
    EXPECT_EQ(o->luma, luma);

    const auto* v = std::get_if<VbiLinePicture>(&c.pictures[1].data);
    ASSERT_NE(v, nullptr);
    EXPECT_EQ(c.pictures[1].beforeResult, 1u);  // after the last result: the test case's
    EXPECT_EQ(v->line, 21);
    EXPECT_EQ(v->rateHz, 27000000);
    EXPECT_EQ(v->startNs, 9000);
    EXPECT_EQ(v->blankLevel, 16);
    EXPECT_EQ(v->level50Ire, 126);
    EXPECT_EQ(v->samples, samples);

    const auto* f = std::get_if<FrameIntervals>(&c.pictures[2].data);
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->setIntervalUs, 33366);
    EXPECT_EQ(f->intervalsUs, (std::vector<int64_t>{33366, 33367, 66733}));

    const auto* s = std::get_if<ChannelScanPicture>(&c.pictures[3].data);
    ASSERT_NE(s, nullptr);
    ASSERT_EQ(s->channels.size(), 4u);  // "x:1" is no channel
    EXPECT_EQ(s->channels[0].number, 2);
    EXPECT_TRUE(s->channels[0].locked);
    EXPECT_FALSE(s->channels[1].locked);
    EXPECT_FALSE(s->channels[2].locked);  // not tunable
    EXPECT_EQ(s->channels[3].number, 14);
    EXPECT_TRUE(s->channels[3].locked);
}

TEST(Recorder, AFailedBufferCheckAsksForTheBuffersTwicePerTestCaseAtMost) {
    int asked = 0;
    RecorderOptions options = Quiet();
    options.reportOverlayBuffers = [&] { ++asked; };
    Recorder recorder(options);
    recorder.BeginTestCase("tc2204", "", "decoder", 0, 2);
    recorder.OnEvent(Report("tc2204", "1", 4, "size"));             // passed: no
    recorder.OnEvent(Report("tc2204", "msg1", 0, "Message Log:"));  // a log line: no
    recorder.OnEvent(Report("tc2204", "2", 0, "size"));
    recorder.OnEvent(Report("tc2204", "3", 0, "size"));
    recorder.OnEvent(Report("tc2204", "4", 0, "size"));  // the third failure of the case: no
    EXPECT_EQ(asked, 2);
    recorder.BeginTestCase("tc5010", "", "hwcaps", 1, 2);
    recorder.OnEvent(Report("tc5010", "3", 0, "mask"));  // no buffer check
    EXPECT_EQ(asked, 2);
    for (const char* test : {"tc2200", "tc2205"}) {
        recorder.BeginTestCase(test, "", "decoder", 0, 1);
        recorder.OnEvent(Report(test, test, 0, "buffers"));
    }
    EXPECT_EQ(asked, 4);
}

TEST(Base64, RoundTripsAndRefusesWhatIsNotBase64) {
    const std::string text = "line 21\x01\xFF";
    for (size_t n = 0; n <= text.size(); ++n) {
        auto bytes = reinterpret_cast<const uint8_t*>(text.data());
        auto back = DecodeBase64(EncodeBase64(bytes, n));
        ASSERT_TRUE(back) << n;
        EXPECT_EQ(std::string(back->begin(), back->end()), text.substr(0, n));
    }
    const uint8_t man[] = {'M', 'a', 'n', 'M', 'a'};
    EXPECT_EQ(EncodeBase64(man, 5), "TWFuTWE=");
    EXPECT_EQ(EncodeBase64(man, 4), "TWFuTQ==");
    for (const char* bad : {"TWF", "TWFu=", "TW=u", "T===", "TWFu TWE=", "TQ==TWFu", "TW-u"})
        EXPECT_FALSE(DecodeBase64(bad)) << bad;
}

TEST(StockBoardList, OneLineABoard) {
    std::vector<StockBoard> boards(3);
    boards[0] = {"few-sizes", "", "Four sizes only.", {}, ""};
    boards[1] = {"no-lock-525", "", "No lock on 525-line signals.", {"tc2200", "-g 2 -d 11 -t 1"}, ""};
    boards[2] = {"x", "", "", {}, "x.ini:2: unknown key"};
    EXPECT_EQ(BoardsListing(boards),
              "few-sizes    Four sizes only. Meant to fail: nothing.\n"
              "no-lock-525  No lock on 525-line signals. Meant to fail: tc2200, -g 2 -d 11 -t 1.\n"
              "x            does not load: x.ini:2: unknown key\n");
}

}  // namespace
}  // namespace orbex::harness
