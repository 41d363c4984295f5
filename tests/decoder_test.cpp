// The decoder test cases end to end on the virtual board: what each test
// reports, logs and returns on the reference board and on boards whose
// decoder, overlay path, video memory or test box misbehave.
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

std::string ExampleGraph() {
    std::ifstream in(std::string(ORBEX_SOURCE_DIR) + "/examples/default.gf");
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// A bench over the reference board plus profile lines, with the shipped graph
// file (optionally followed by more graph lines).
struct DecoderBench : Bench {
    explicit DecoderBench(const std::string& board = "", const std::string& graph = "") : Bench(Board(board)) {
        WriteFile("default.gf", ExampleGraph() + graph);
    }
    // Reports that are not forwarded log lines.
    std::vector<std::string> Results() const {
        std::vector<std::string> out;
        for (const std::string& r : Reports())
            if (r.find("\"step\":\"msg") == std::string::npos) out.push_back(r);
        return out;
    }
    CDecoder& Decoder() { return *Process().GraphBuilder().Decoder(); }
};

std::string R(const std::string& step, int status, const std::string& description, const std::string& expected,
              const std::string& actual, const std::string& id = "tc2200") {
    return ReportJson(id, step, status, description, expected, actual);
}

// ---- Initialisation ----

TEST(DecoderInit, AGraphStandardTheDecoderAcceptsIsSetWithoutAReport) {
    DecoderBench bench;
    EXPECT_EQ(bench.Run("tc1200"), 4);
    EXPECT_THAT(bench.Reports(), ElementsAre(R("tc1200", 4, "Decoder Supported Standard Test", "0x00000203",
                                               "0x00000203", "tc1200")));
    auto log = bench.LogLines();
    EXPECT_NE(std::find(log.begin(), log.end(), "0 0x0000AF00 CDecoder::Initialize() ... "), log.end());
    EXPECT_NE(std::find(log.begin(), log.end(),
                        "100 0x0000AF00 CDecoder::InitDecoder()>  Setting TV standard to 0x00000001."),
              log.end());
}

TEST(DecoderInit, WithoutAGraphStandardTheTunerDecides) {
    // A PAL tuner (type 2) selects PAL_B; this decoder accepts it.
    DecoderBench bench("[Display]\nMMTable=02 00 00 00 00 01 00 01 02 03 00 00\n"
                       "[Decoder]\nAvailableStandards=0x213\n");
    bench.WriteFile("default.gf", ExampleGraph() + "[Capture]\nVideoStandard=junk\n");
    EXPECT_EQ(bench.Run("tc1200"), 0);  // type 1 expects 0x203
    auto log = bench.LogLines();
    EXPECT_NE(std::find(log.begin(), log.end(),
                        "0 0x0000AF00 CDecoder::InitDecoder()>  No VideoStandard specified in graph file. Using "
                        "MMTable to determine video standard for decoder."),
              log.end());
    EXPECT_NE(std::find(log.begin(), log.end(),
                        "100 0x0000AF00 CDecoder::InitDecoder()>  Setting TV standard to 0x00000010."),
              log.end());
}

TEST(DecoderInit, ARefusedStandardIsNotApplicableAndEndsTheCall) {
    DecoderBench bench("", "[Capture]\nVideoStandard=0x10\n");
    EXPECT_EQ(bench.Run("tc1200"), 0);
    const std::string actual = "[NA] Video standard (0x00000010) is not supported by decoder.";
    EXPECT_THAT(bench.Reports(),
                ElementsAre(R("msg1", 1, "Message Log:", "", "CDecoder::InitDecoder()>  " + actual, "tc1200"),
                            R("tc1200", 1, "Initializing decoder.", "Video standard (0x00000010) is supported by decoder.",
                              actual, "tc1200")));
    EXPECT_EQ(bench.Events("Platform").size(), 0u);
}

TEST(DecoderInit, AGraphWithoutDecoderFilterFails) {
    Bench bench;
    bench.WriteDefaultGraph("[Capture]\nFilterType=0\n");
    EXPECT_EQ(bench.Run("tc1200"), 0);
    auto reports = bench.Reports();
    ASSERT_GE(reports.size(), 2u);
    EXPECT_EQ(reports[0], R("msg1", 0, "Message Log:", "", "CDecoder::InitDecoder()>  No Known Qel Decoder Detected",
                            "tc1200"));
    EXPECT_EQ(reports[1], R("tc1200", 0, "", "", "[Fail]**** No Known Qel Decoder Detected.", "tc1200"));
}

TEST(DecoderInit, AFilterWithoutDecoderInterfaceIsNoRunThenEveryTestSaysNoDecoder) {
    DecoderBench bench("[Device.Capture]\nDecoder=absent\n");
    EXPECT_EQ(bench.Run("tc2200"), 0);
    const std::string text =
        "Filter is incorrectly defined as a Decoder, or no decoder interface is found within filter.";
    EXPECT_THAT(bench.Reports(), ElementsAre(R("msg1", 1, "Message Log:", "", "CDecoder::InitDecoder()>  " + text),
                                             R("tc2200", 2, "", "", "[NoRun]**** " + text)));
    bench.ClearEvents();
    EXPECT_EQ(bench.Run("tc2201"), 1);
    EXPECT_THAT(bench.Reports(),
                ElementsAre(R("tc2201", 1, "No Decoder Exist.", "", "", "tc2201"),
                            R("msg2", 0, "Message Log:", "", "CDecoder::ExecuteTest() No Decoder Exist.", "tc2201")
                                .replace(0, 0, "")));
}

}  // namespace
}  // namespace orbex::testing
