// Every stock board loads, and the catalogue runs end to end on each with the
// outcome the board is meant to give.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "support/bench.h"

namespace orbex::testing {
namespace {

std::string Load(const std::string& name) {
    std::ifstream in(std::string(ORBEX_SOURCE_DIR) + "/boards/" + name + ".ini");
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// The outcome of one command line on a fresh bench: return value and the
// statuses of its reports in order.
std::pair<int32_t, std::string> Outcome(const std::string& board, const char* line) {
    Bench bench(board);
    std::ifstream graph(std::string(ORBEX_SOURCE_DIR) + "/examples/default.gf");
    std::stringstream text;
    text << graph.rdbuf();
    bench.WriteFile("default.gf", text.str());
    int32_t value = bench.Run(line);
    std::string statuses;
    for (const std::string& r : bench.Reports()) statuses += r.substr(r.find("\"status\":") + 9, 1);
    return {value, statuses};
}

TEST(StockBoards, TheReferenceFileIsTheBuiltInBoard) {
    EXPECT_EQ(Load("reference"), sim::ReferenceBoardText());
}

TEST(StockBoards, EachGivesItsOutcomes) {
    struct Case {
        const char* board;
        const char* line;
        int32_t value;
        const char* statuses;  // status digits of the reports, in order
    };
    for (const Case& c : {
             // Graph tests of devices not built yet find no test object: NA message, NoRun report.
             Case{"reference", "-g 2 -d 10 -t 1", 2, "12"},
             // The crossbar's three inputs match the board table's.
             Case{"reference", "tc1400", 4, "4"},
             // The reference board passes every decoder test.
             Case{"reference", "tc1200", 4, "4"},
             Case{"reference", "tc2200", 4, "4"},
             Case{"reference", "tc2201", 4, "4444"},
             Case{"reference", "tc2202", 2, "4444"},
             Case{"reference", "tc2203", 2, "4444"},
             Case{"reference", "tc2210", 4, "4"},
             Case{"no-tuner", "tc2203", 2, "4444"},
             // Each decoder defect fails what it should, and nothing else of the decoder group.
             // (Without an overlay mixer the graph is built with an [Info] Pass report and its log line.)
             Case{"decoder-missing-standard", "tc1200", 0, "0"},
             Case{"decoder-missing-standard", "tc2201", 4, "444"},
             Case{"decoder-refuses-standard", "tc1200", 4, "4"},
             Case{"decoder-refuses-standard", "tc2201", 4, "4044"},
             Case{"decoder-refuses-standard", "tc2202", 2, "4040"},
             Case{"decoder-refuses-standard", "tc2203", 2, "4040"},
             Case{"no-lock-525", "tc2200", 0, "00"},
             Case{"no-lock-525", "tc2202", 2, "4444"},
             Case{"no-lock-525", "tc2203", 2, "0000"},
             Case{"wrong-line-count", "tc2202", 2, "0000"},
             Case{"wrong-line-count", "tc2203", 2, "4444"},
             Case{"leaking-memory", "tc2210", 0, "00"},
             Case{"leaking-memory", "tc2200", 4, "4"},
             Case{"no-overlay-mixer", "tc2200", 0, "4400"},
             Case{"no-overlay-mixer", "tc2210", 2, "4402"},
             Case{"no-overlay-mixer", "tc2203", 2, "444444"},
             Case{"no-test-box", "tc2203", 2, "2"},
             Case{"no-test-box", "tc2202", 2, "4444"},
             Case{"reference", "tc0000", 1, "4"},
             // Without a tuner on the board the tuner tests do not apply: the Pass note, then NA.
             Case{"no-tuner", "tc1100", 1, "41"},
             Case{"windows98", "tc0000", 1, "4"},
             Case{"no-board-tables", "tc5000", 2, "12"},
             // No capture capability: the NA initialisation report, and nothing else runs.
             Case{"no-capture", "tc2200", 0, "1"},
             Case{"no-board-tables", "tc2200", 0, "1"},
             Case{"no-capture", "tc5000", 2, "12"},
             // Refused connections: the NA connection report and its forwarded Pass line.
             Case{"faulty-graph", "tc2200", 0, "14"},
         }) {
        auto [value, statuses] = Outcome(Load(c.board), c.line);
        EXPECT_EQ(value, c.value) << c.board << " " << c.line;
        EXPECT_EQ(statuses, c.statuses) << c.board << " " << c.line;
    }
}

}  // namespace
}  // namespace orbex::testing
