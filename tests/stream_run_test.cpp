// The stream run (stream tests 1 to 4) end to end on the virtual board: the
// steps delivered as the harness delivers them (the host window's timer 3
// expires in virtual time, then the same command line runs again), how many
// steps a duration takes, the silent start, the final report, the rate the
// analyzer measured, the screen saver and suspend phases, start failures.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <set>
#include <string>
#include <vector>

#include "support/sys_bench.h"

namespace orbex::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;

const std::string kPrefix = "COrbStream::StreamTest()>  ";
const std::string kExpected = "Framerate is > 0 after the test.";

std::string GraphWithDuration(int seconds) {
    return Replaced(ExampleFile("default.gf"), "TestDuration=10", "TestDuration=" + std::to_string(seconds));
}
std::string Description(int seconds) {
    return "Running graph with standard 0x1, size 320x240, and connector 0 for " + std::to_string(seconds) +
           " seconds.";
}

struct RunBench : RackBench {
    explicit RunBench(const std::string& profile = Bench::Board(), int duration = 10) : RackBench(profile) {
        if (duration != 10) WriteFile("default.gf", GraphWithDuration(duration));
    }
    struct Outcome {
        int32_t value;
        int calls;   // calls of the command line, the first included
        int timers;  // timers that expired
    };
    // Runs a command line, then while it answers 2 and the host window has a
    // timer armed, lets virtual time pass to it and runs the line again.
    Outcome Deliver(const char* line) {
        Outcome out{Run(line), 1, 0};
        sim::VirtualDesktop::ArmedTimer fired;
        while (out.value == 2 && Platform().VirtualDesk().WaitForTimer(fired)) {
            ++out.timers;
            ++out.calls;
            out.value = Run(line);
        }
        return out;
    }
    // Platform events of the given kinds as "What name=value ...".
    std::vector<std::string> Calls(const std::set<std::string>& kinds) const {
        std::vector<std::string> out;
        for (const std::string& line : Events("Platform")) {
            auto event = nlohmann::ordered_json::parse(line);
            std::string text = event["what"].get<std::string>();
            if (!kinds.count(text)) continue;
            for (const auto& [name, value] : event.items()) {
                if (name == "event" || name == "what") continue;
                text += " " + name + "=" + (value.is_string() ? value.get<std::string>() : value.dump());
            }
            out.push_back(text);
        }
        return out;
    }
};

const std::set<std::string> kPhases = {"StartProcess", "ScreenSaverEnd", "SetSuspendState",
                                       "SetCursorPos", "SetTimer",       "TimerExpired"};

TEST(StreamRun, TheDurationSetsTheNumberOfSteps) {
    struct Case {
        int duration, timers;
    };
    for (const Case& c : {Case{1, 2}, Case{10, 2}, Case{11, 3}, Case{15, 3}, Case{16, 4}}) {
        RunBench bench(Bench::Board(), c.duration);
        const uint32_t start = bench.Now();
        RunBench::Outcome o = bench.Deliver("-g 2 -d 10 -t 1");
        EXPECT_EQ(o.value, 4) << c.duration;
        EXPECT_EQ(o.timers, c.timers) << c.duration;
        EXPECT_EQ(o.calls, c.timers + 1) << c.duration;
        EXPECT_GE(bench.Now() - start, static_cast<uint32_t>(c.timers) * 5000u) << c.duration;
        EXPECT_EQ(bench.Results().back(), Rep("G2_D10_T1_P0_Fdefault", 4, Description(c.duration), kExpected,
                                              "[Pass] Framerate 29.970fps is > 0."))
            << c.duration;
    }
}

TEST(StreamRun, TheFirstCallStartsTheRunSilentlyAndArmsTimer3) {
    RunBench bench;
    EXPECT_EQ(bench.Run("-g 2 -d 10 -t 1"), 2);
    EXPECT_THAT(bench.Reports(), IsEmpty());
    EXPECT_TRUE(bench.Logged("0 0x0000AF00 " + kPrefix + "Running graph for 10 seconds. Please wait..."));
    auto timer = bench.Platform().VirtualDesk().NextTimer();
    ASSERT_TRUE(timer);
    EXPECT_EQ(timer->id, 3u);
    EXPECT_EQ(timer->window, bench.Platform().Desktop().HostWindow());
    EXPECT_EQ(timer->due, bench.Now() + 5000);
}

TEST(StreamRun, TheLastStepReportsTheMeasuredRate) {
    RunBench bench;
    EXPECT_EQ(bench.Deliver("-g 2 -d 10 -t 2").value, 4);
    const std::string id = "G2_D10_T2_P0_Fdefault";
    EXPECT_THAT(bench.Results(),
                ElementsAre(Rep(id, 4, "Running graph with standard 0x1, size 320x240, and connector 0 for 10 seconds.",
                                kExpected, "[Pass] Framerate 29.970fps is > 0.")));
    EXPECT_TRUE(bench.Logged("0 0x0000AF00 " + kPrefix + "Running completed. Recording results."));
    EXPECT_TRUE(bench.Logged("100 0x0000AF00 " + kPrefix + "[Pass] Framerate 29.970fps is > 0."));
    EXPECT_FALSE(bench.Platform().VirtualDesk().NextTimer());
}

// One frame a second passes, fewer fails; a stream that stalls fails.
TEST(StreamRun, AtLeastOneFrameASecondPasses) {
    struct Case {
        std::string board;
        int32_t value;
        const char* actual;
    };
    for (const Case& c : {
             Case{Bench::Board("[CaptureStream]\nMaxFrameRate=1.0\n"), 4, "[Pass] Framerate 1.000fps is > 0."},
             Case{Bench::Board("[CaptureStream]\nMaxFrameRate=0.9\n"), 0, "[Fail]**** Framerate 0.900fps is ~= 0."},
             Case{StockBoardText("stalled-frames"), 0, "[Fail]**** Framerate 0.000fps is ~= 0."},
         }) {
        RunBench bench(c.board);
        EXPECT_EQ(bench.Deliver("-g 2 -d 10 -t 1").value, c.value) << c.actual;
        const std::string id = "G2_D10_T1_P0_Fdefault";
        std::vector<std::string> expected;
        if (c.value == 0) expected.push_back(Msg(id, 0, kPrefix + c.actual));
        expected.push_back(Rep(id, c.value, Description(10), kExpected, c.actual));
        EXPECT_THAT(bench.Results(), ElementsAreArray(expected)) << c.actual;
        const std::string line = (c.value ? "100 0x0000AF00 " : "765 0x000000FF ") + kPrefix + c.actual;
        EXPECT_TRUE(bench.Logged(line)) << line;
    }
}

// Test 3 starts the screen saver before the first timer and ends it at the
// next-to-last step (three steps for 15 s: after the second timer).
TEST(StreamRun, TheScreenSaverRunsUntilTheNextToLastStep) {
    RunBench bench(Bench::Board(), 15);
    EXPECT_EQ(bench.Deliver("-g 2 -d 10 -t 3").value, 4);
    const std::string set = "SetTimer window=65552 id=3 elapse=5000";
    const std::string expired = "TimerExpired window=65552 id=3 waited=5000";
    EXPECT_THAT(bench.Calls(kPhases),
                ElementsAre("StartProcess commandLine=C:\\WINNT\\system32\\scrnsave.scr -s result=1", set, expired, set,
                            expired, "SetCursorPos x=10 y=10 result=1",
                            "ScreenSaverEnd program=C:\\WINNT\\system32\\scrnsave.scr by=cursor",
                            "SetCursorPos x=100 y=100 result=1", "SetCursorPos x=320 y=240 result=1", set, expired));
    EXPECT_FALSE(bench.Platform().ScreenSaver().Running());
}

// Test 4 suspends at the start and nudges the cursor at the next-to-last
// step; a board whose capture does not come back after the wake fails it.
TEST(StreamRun, TheSuspendRunPassesOnlyWhenCaptureResumes) {
    struct Case {
        std::string board;
        int32_t value;
        const char* actual;
    };
    for (const Case& c : {
             Case{Bench::Board(), 4, "[Pass] Framerate 29.970fps is > 0."},
             Case{StockBoardText("suspend-loses-capture"), 0, "[Fail]**** Framerate 0.000fps is ~= 0."},
         }) {
        RunBench bench(c.board, 15);
        EXPECT_EQ(bench.Deliver("-g 2 -d 10 -t 4").value, c.value) << c.actual;
        EXPECT_EQ(bench.Results().back(), Rep("G2_D10_T4_P0_Fdefault", c.value, Description(15), kExpected, c.actual));
        const std::string set = "SetTimer window=65552 id=3 elapse=5000";
        const std::string expired = "TimerExpired window=65552 id=3 waited=5000";
        std::vector<std::string> calls = bench.Calls(kPhases);
        ASSERT_GE(calls.size(), 2u) << c.actual;
        EXPECT_EQ(calls[0].rfind("SetSuspendState", 0), 0u) << calls[0];
        EXPECT_EQ(calls[1], set);
        EXPECT_EQ(calls.back(), expired);
        // The nudge comes after the second timer and before the last one is armed.
        std::vector<std::string> middle(calls.begin() + 1, calls.end());
        ASSERT_GE(middle.size(), 7u) << c.actual;
        EXPECT_EQ(middle[0], set);
        EXPECT_EQ(middle[1], expired);
        EXPECT_EQ(middle[2], set);
        EXPECT_EQ(middle[3], expired);
        EXPECT_EQ(middle[4].rfind("SetCursorPos", 0), 0u) << middle[4];
        EXPECT_EQ(middle[middle.size() - 2], set);
    }
}

// A format the pin will not give or take ends the start with a NoRun report;
// the run stays idle, so the next call starts afresh.
TEST(StreamRun, StartFailuresReportNoRunAndLeaveTheRunIdle) {
    struct Case {
        const char* fault;  // the set-up's own call succeeds, the start's fails
        const char* expected;
        const char* actual;
    };
    for (const Case& c : {
             Case{"StreamGetFormat=0x80004005,1,1", "Able to get stream format.",
                  "[NoRun]**** Fail to get stream format."},
             Case{"StreamSetFormat=0x80004005,1,1", "Able to set stream format.",
                  "[NoRun]**** Fail to set stream format."},
         }) {
        RunBench bench(Bench::Board(std::string("[Faults]\n") + c.fault + "\n"));
        const std::string id = "G2_D10_T1_P0_Fdefault";
        EXPECT_EQ(bench.Run("-g 2 -d 10 -t 1"), 2) << c.fault;
        EXPECT_THAT(bench.Results(),
                    ElementsAre(Msg(id, 1, kPrefix + c.actual), Rep(id, 2, Description(10), c.expected, c.actual)))
            << c.fault;
        EXPECT_TRUE(bench.Logged("511 0x00000000 " + kPrefix + c.actual)) << c.fault;
        EXPECT_FALSE(bench.Platform().VirtualDesk().NextTimer()) << c.fault;
        EXPECT_FALSE(bench.Logged("0 0x0000AF00 " + kPrefix + "Running graph for 10 seconds. Please wait..."));

        bench.ClearEvents();
        RunBench::Outcome again = bench.Deliver("-g 2 -d 10 -t 1");
        EXPECT_EQ(again.value, 4) << c.fault;
        EXPECT_EQ(again.timers, 2) << c.fault;
        EXPECT_TRUE(bench.Logged("0 0x0000AF00 " + kPrefix + "Running graph for 10 seconds. Please wait..."));
    }
}

}  // namespace
}  // namespace orbex::testing
