// Reference accounting on the virtual board: what is still referenced when a
// board goes is reported as "Leak" platform events, one per kind and name;
// and running the catalogue's groups again leaves no more open than before.
#include <gtest/gtest.h>

#include "../tools/harness/event.h"
#include "platform/guids.h"
#include "platform/sim/virtual_board.h"
#include "support/bench.h"

namespace orbex::testing {
namespace {

std::vector<std::string> LeaksOf(std::vector<sim::PlatformEvent>& events) {
    std::vector<std::string> out;
    for (const sim::PlatformEvent& e : events) {
        harness::Event h{e.event, {}};
        for (const sim::EventField& f : e.fields)
            if (const auto* s = std::get_if<std::string>(&f.value))
                h.fields.emplace_back(f.name, *s);
            else
                h.fields.emplace_back(f.name, std::get<int64_t>(f.value));
        out.push_back(harness::ToJson(h));
    }
    return out;
}

struct Unload {
    std::vector<sim::PlatformEvent> events;
    std::unique_ptr<sim::VirtualBoard> board = [this] {
        sim::SimOptions options;
        options.hostCurrentDirectory = "/tmp";
        options.events = [this](const sim::PlatformEvent& e) { events.push_back(e); };
        return std::make_unique<sim::VirtualBoard>(sim::ReferenceBoard(), options);
    }();
};

// (A COM object kept past its board cannot be tested here: its destructor
// would reach the board's models, which are gone.)
TEST(Ledger, HandlesStillOpenAtUnloadAreReported) {
    Unload u;
    port::RegKey key = 0, closed = 0;
    ASSERT_EQ(u.board->Registry().OpenOrCreateKey("SOFTWARE\\Orbex", 0, &key), 0);
    ASSERT_EQ(u.board->Registry().OpenOrCreateKey("SOFTWARE\\Closed", 0, &closed), 0);
    EXPECT_EQ(u.board->Registry().CloseKey(closed), 0);
    port::DisplayDc dc = u.board->Display().CreateDisplayDc("DISPLAY");
    ASSERT_NE(dc, 0u);
    EXPECT_EQ(u.board->OpenReferenceCount(), 2);
    u.events.clear();
    u.board.reset();
    EXPECT_EQ(LeaksOf(u.events),
              (std::vector<std::string>{
                  R"({"event":"Platform","what":"Leak","kind":"RegKey","name":"software\\orbex","count":1})",
                  R"({"event":"Platform","what":"Leak","kind":"DC","name":"DISPLAY","count":1})"}));
}

TEST(Ledger, NothingReleasedIsNothingReported) {
    Unload u;
    {
        port::ComPtr graph;
        ASSERT_EQ(u.board->Com().CoCreateInstance(guids::kClsidFilterGraph, guids::kIidGraphBuilder, graph), kSOk);
        port::DisplayDc dc = u.board->Display().CreateDisplayDc("DISPLAY");
        EXPECT_TRUE(u.board->Display().DeleteDC(dc));
    }
    EXPECT_EQ(u.board->OpenReferenceCount(), 0);
    u.events.clear();
    u.board.reset();
    EXPECT_TRUE(LeaksOf(u.events).empty());
}

// Each group twice on one process object: the second run leaves open exactly
// what the first left (the process objects kept until unload).
TEST(Ledger, GroupsRunAgainLeaveNoMoreOpen) {
    const std::vector<std::vector<const char*>> groups = {
        {"tc0000"},
        {"tc1100", "tc1101", "tc1102", "tc2110"},
        {"tc1200", "tc2200", "tc2201", "tc2202", "tc2203", "tc2204", "tc2210", "tc3200"},
        {"tc1400", "tc1401", "tc1402"},
        {"-g 2 -d 11 -t 1"},
        {"tc5000", "tc5001", "tc5002", "tc5014"},
        {"tc6900", "tc6901", "tc6902", "tc6903", "tc6904", "tc6905"}};
    for (const auto& group : groups) {
        Bench bench;
        bench.WriteDefaultGraph();
        std::vector<int64_t> after;
        for (int round = 0; round < 2; ++round) {
            for (const char* line : group) bench.Run(line);
            after.push_back(bench.Platform().OpenReferenceCount());
        }
        EXPECT_EQ(after[1], after[0]) << group[0];
    }
}

}  // namespace
}  // namespace orbex::testing
