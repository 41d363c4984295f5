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
             // Graph tests build the bench, then find no test object: NA message, NoRun report.
             Case{"reference", "tc2200", 2, "12"},
             Case{"reference", "tc0000", 1, "4"},
             Case{"no-tuner", "tc1100", 2, "12"},
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
