// Every stock board loads, and the catalogue runs end to end on each with the
// outcome the board is meant to give.
#include <gtest/gtest.h>

#include <array>
#include <fstream>
#include <sstream>

#include "support/bench.h"
#include "support/sys_bench.h"

namespace orbex::testing {
namespace {

std::string Load(const std::string& name) {
    return StockBoardText(name);
}

std::string Example(const std::string& name) {
    std::ifstream in(std::string(ORBEX_SOURCE_DIR) + "/examples/" + name);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// The outcome of one command line on a fresh bench with the shipped graph
// file and settings: return value and the statuses of its reports in order.
std::pair<int32_t, std::string> Outcome(const std::string& board, const char* line) {
    Bench bench(board);
    bench.WriteFile("default.gf", Example("default.gf"));
    bench.WriteFile("orbex.ini", Example("orbex.ini"));
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
             // A stream run's first call starts it silently (its steps are in stream_run_test.cpp).
             Case{"reference", "-g 2 -d 10 -t 1", 2, ""},
             Case{"no-tuner", "-g 2 -d 10 -t 1", 2, ""},
             Case{"windows98", "-g 2 -d 10 -t 1", 2, ""},
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
             // The size tests: the reference board passes its eight NTSC sizes; without a
             // tuner the family mask is every group, so all sixteen table sizes are tried.
             Case{"reference", "tc2204", 2, "444444444"},
             Case{"no-tuner", "tc2204", 2, "44444444444444444"},
             Case{"few-sizes", "tc2205", 2, "44444"},
             Case{"few-sizes", "tc2204", 2, "44444"},
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
             // The same board in a Windows 98 machine: its channel scan and captions work as on the reference.
             Case{"windows98", "tc2110", 4, "4"},
             Case{"windows98", "-g 2 -d 11 -t 1", 4, "4"},
             // The board-table tests run without a graph and find no capture capability.
             Case{"no-board-tables", "tc5000", 1, "1"},
             // No capture capability: the NA initialisation report, and nothing else runs.
             Case{"no-capture", "tc2200", 0, "1"},
             Case{"no-board-tables", "tc2200", 0, "1"},
             Case{"no-capture", "tc5000", 1, "1"},
             // Refused connections: the NA connection report and its forwarded Pass line.
             Case{"faulty-graph", "tc2200", 0, "14"},
         }) {
        auto [value, statuses] = Outcome(Load(c.board), c.line);
        EXPECT_EQ(value, c.value) << c.board << " " << c.line;
        EXPECT_EQ(statuses, c.statuses) << c.board << " " << c.line;
    }
}

// The tuner, crossbar and caption cases on every board: each board fails
// exactly what its one difference should fail and passes the rest.
// Each component board fails exactly one record check of one test with the
// shipped database; every other test of the group passes.
TEST(StockBoards, EachComponentBoardFailsItsOneCheck) {
    struct Case {
        const char* board;
        const char* failing;
        const char* statuses;  // of the failing test
    };
    for (const Case& c : {
             Case{"old-tuner-driver", "tc6900", "400"},
             Case{"missing-inf-entry", "tc6901", "400"},
             Case{"tuner-not-enumerated", "tc6902", "400"},
             Case{"tuner-not-loaded", "tc6903", "400"},
             Case{"crossbar-not-registered", "tc6904", "4400"},
         }) {
        for (const char* test : {"tc6900", "tc6901", "tc6902", "tc6903", "tc6904"}) {
            const bool failing = std::string(test) == c.failing;
            const std::string passing = std::string(test) == "tc6904" ? "4444" : "444";
            EXPECT_EQ(Outcome(Load(c.board), test),
                      (std::pair<int32_t, std::string>(failing ? 0 : 4, failing ? c.statuses : passing)))
                << c.board << " " << test;
        }
    }
}

TEST(StockBoards, EachGivesItsTunerCrossbarAndCaptionOutcomes) {
    const char* lines[] = {"tc1100", "tc1101", "tc1102", "tc2110", "tc1400", "tc1401", "tc1402", "-g 2 -d 11 -t 1"};
    // Per board, the outcome of each line above: "value:statuses".
    struct Case {
        const char* board;
        std::array<const char*, 8> outcomes;
    };
    // Red forwarded lines report 0, green ones 4, blue ones 4, black ones 1.
    const std::array<const char*, 8> allPass = {"4:4", "4:4", "4:4", "4:4", "4:4", "4:4", "2:4444", "4:4"};
    for (const Case& c : {
             Case{"reference", allPass},
             // No tuner: the tuner tests are NA after the forwarded blue "No Tuner Found on Board" line;
             // one route step.
             Case{"no-tuner", {"1:41", "1:41", "1:41", "1:41", "4:4", "4:4", "2:44", "1:41"}},
             Case{"pal-tuner", {"4:4", "4:4", "4:4", "4:4", "4:4", "4:4", "2:4444", "1:41"}},
             Case{"captions-on-27", allPass},
             Case{"no-captions", {"4:4", "4:4", "4:4", "4:4", "4:4", "4:4", "2:4444", "0:00"}},
             Case{"crossbar-two-outputs", {"4:4", "4:4", "4:4", "4:4", "4:4", "0:0", "2:4444", "4:4"}},
             Case{"unplugged-input", {"4:4", "4:4", "4:4", "4:4", "4:4", "4:4", "2:44000", "4:4"}},
             Case{"tuner-formats-differ", {"0:0000", "0:0000", "4:4", "4:4", "4:4", "4:4", "2:4444", "4:4"}},
             Case{"country-code-zero", {"4:4", "4:4", "0:0000", "2:02", "4:4", "4:4", "2:4444", "4:4"}},
             Case{"weak-stations", {"4:4", "4:4", "4:4", "0:00", "4:4", "4:4", "2:4444", "4:4"}},
             // Initialisation fails: its report, and nothing runs.
             Case{"tuner-without-interface", {"0:12", "0:12", "0:12", "0:12", "0:12", "0:12", "0:12", "0:12"}},
             Case{"crossbar-without-interface", {"0:21", "0:21", "0:21", "0:21", "0:21", "0:21", "0:21", "0:21"}},
         }) {
        for (size_t i = 0; i < std::size(lines); ++i) {
            auto [value, statuses] = Outcome(Load(c.board), lines[i]);
            EXPECT_EQ(std::to_string(value) + ":" + statuses, c.outcomes[i]) << c.board << " " << lines[i];
        }
    }
}

// The board-table cases on every board: each board fails what its header
// says and passes the rest.
TEST(StockBoards, EachGivesItsBoardTableOutcomes) {
    const char* lines[] = {"tc5000", "tc5001", "tc5002", "tc5005", "tc5006", "tc5007", "tc5008",
                           "tc5009", "tc5010", "tc5011", "tc5012", "tc5013", "tc5014"};
    struct Case {
        const char* board;
        std::array<const char*, 13> outcomes;  // "value:statuses" per line above
    };
    // A failing check forwards its red log line (status 0) before or after its report.
    const char* allPass14 = "4:444444444";
    const char* pass = "4:4";
    for (const Case& c : {
             Case{"reference", {pass, pass, pass, pass, pass, pass, pass, pass, pass, pass, pass, pass, allPass14}},
             Case{"windows98",
                  {pass, pass, pass, pass, pass, pass, pass, pass, "4:4444444", pass, pass, pass, allPass14}},
             Case{"prototype-board",
                  {pass, "0:00", pass, pass, pass, pass, pass, pass, pass, pass, pass, pass, "0:4444444000"}},
             Case{"invalid-mmtable-fields",
                  {pass, "0:00", pass, "0:00", pass, "0:00", "0:00", "0:00", pass, pass, pass, pass, allPass14}},
             Case{"decoder-type-changes",
                  {pass, "0:00", pass, pass, "0:00", pass, pass, pass, pass, pass, pass, pass, allPass14}},
             Case{"bad-hwtable",
                  {pass, pass, "0:00", pass, pass, pass, pass, pass, pass, "0:00", "0:00", "0:00", "0:4440404400"}},
             Case{"conflict-input-count",
                  {pass, "0:00", pass, pass, pass, pass, pass, pass, pass, pass, pass, pass, "0:0444444400"}},
             Case{"conflict-tuner-input",
                  {pass, "0:00", pass, pass, pass, pass, pass, pass, pass, pass, pass, pass, "0:4044444400"}},
             Case{"conflict-power-down",
                  {pass, "0:00", pass, pass, pass, pass, pass, pass, pass, pass, pass, pass, "0:4404444400"}},
             Case{"conflict-i2c-off",
                  {pass, pass, pass, pass, pass, pass, pass, pass, pass, pass, pass, pass, "0:4440444400"}},
             Case{"conflict-vip-off",
                  {pass, "0:00", pass, pass, pass, pass, pass, pass, pass, pass, pass, pass, "0:4444044400"}},
             Case{"conflict-host-port",
                  {pass, "0:00", pass, pass, pass, pass, pass, pass, pass, pass, pass, pass, "0:4444404400"}},
             Case{"conflict-teletext",
                  {pass, "0:00", pass, pass, pass, pass, pass, pass, pass, pass, pass, pass, "0:4444440400"}},
             Case{"conflict-audio-chip",
                  {pass, "0:00", pass, pass, pass, pass, pass, pass, pass, pass, pass, pass, "0:4444444000"}},
             Case{"wrong-mask",
                  {pass, pass, pass, pass, pass, pass, pass, pass, "0:440044400", pass, pass, pass, allPass14}},
             Case{"no-kernel-driver",
                  {pass, pass, pass, pass, pass, pass, pass, pass, "0:00000000000000", pass, pass, pass, allPass14}},
             Case{"missing-database",
                  {pass, "0:00", pass, pass, pass, pass, pass, pass, "0:00", pass, pass, pass, allPass14}},
         }) {
        for (size_t i = 0; i < std::size(lines); ++i) {
            auto [value, statuses] = Outcome(Load(c.board), lines[i]);
            EXPECT_EQ(std::to_string(value) + ":" + statuses, c.outcomes[i]) << c.board << " " << lines[i];
        }
    }
}

TEST(StockBoards, TheCaptionBoardsKeepTheRacksFiveStations) {
    for (const char* board : {"captions-on-27", "no-captions", "weak-stations"}) {
        Bench bench(Load(board));
        bench.WriteFile("default.gf", Example("default.gf"));
        bench.WriteFile("orbex.ini", Example("orbex.ini"));
        bench.Run("tc2110");
        auto reports = bench.Reports();
        ASSERT_FALSE(reports.empty()) << board;
        bool weak = std::string(board) == "weak-stations";
        EXPECT_NE(reports.back().find(weak ? "[Fail]**** 3 channel(s) found." : "[Pass] 5 channel(s) found."),
                  std::string::npos)
            << board << " " << reports.back();
    }
}

}  // namespace
}  // namespace orbex::testing
