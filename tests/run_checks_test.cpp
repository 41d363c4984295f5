// The fault sweep's checks of one run, each made to fail by the run that
// should fail it, and none failing a sound run.
#include "../tools/harness/run_checks.h"

#include <gtest/gtest.h>

namespace orbex::harness {
namespace {

Event Named(const std::string& name, std::vector<std::pair<std::string, std::variant<std::string, int64_t>>> fields) {
    return Event{name, std::move(fields)};
}
Event Begin() {
    return Named("TestBegin", {{"test", std::string("tc5000")}});
}
Event Return(int64_t value) {
    return Named("Return", {{"commandLine", std::string("tc5000")}, {"value", value}});
}
Event Fault(const std::string& operation) {
    return Named("Platform", {{"what", std::string("Fault")}, {"operation", operation}, {"code", int64_t{5}}});
}
Event Report(const std::string& actual) {
    return Named("ResultReport", {{"test", std::string("tc5000")},
                                  {"step", std::string("tc5000")},
                                  {"status", int64_t{4}},
                                  {"description", std::string("d")},
                                  {"expected", std::string("e")},
                                  {"actual", actual}});
}

// A sound faulted run of two calls: the fault in the first, a test begun in the second.
RunRecord Sound() {
    RunRecord run;
    run.outcome.started = true;
    run.outcome.exitCode = 1;
    run.events = {Begin(), Fault("CreateDC"), Report("ok"), Return(0), Begin(), Report("ok"), Return(4)};
    return run;
}

TEST(SweepRunChecks, ASoundRunPassesEveryCheck) {
    PlacedFault fault{"CreateDC", false};
    RunVerdict v = CheckRun(Sound(), 2, 120, &fault);
    EXPECT_TRUE(v.problems.empty()) << v.problems.front();
    EXPECT_FALSE(v.unapplied);
    RunRecord exitZero = Sound();
    exitZero.outcome.exitCode = 0;
    EXPECT_TRUE(CheckRun(exitZero, 2, 120, &fault).problems.empty());
    RunRecord longest = Sound();
    longest.events[2] = Report(std::string(255, 'a'));
    EXPECT_TRUE(CheckRun(longest, 2, 120, &fault).problems.empty());
    for (int64_t value : {0, 1, 2, 4}) {
        RunRecord r = Sound();
        r.events[3] = Return(value);
        EXPECT_TRUE(CheckRun(r, 2, 120, &fault).problems.empty()) << value;
    }
}

// A call the clean run made at unload (a renderer window let go) comes after
// the last call in a faulted run too.
TEST(SweepRunChecks, AFaultAtUnloadCounts) {
    RunRecord run = Sound();
    run.events.erase(run.events.begin() + 1);
    run.events.push_back(Fault("CreateDC"));
    PlacedFault fault{"CreateDC", false};
    EXPECT_TRUE(CheckRun(run, 2, 120, &fault).problems.empty());
}

TEST(SweepRunChecks, EachFaultyRunFailsItsCheck) {
    struct Case {
        const char* what;
        void (*spoil)(RunRecord&);
        std::vector<std::string> problems;
    };
    const Case cases[] = {
        {"not started", [](RunRecord& r) { r.outcome = {}; }, {"the harness could not be started"}},
        {"hang",
         [](RunRecord& r) {
             r.outcome.timedOut = true;
             r.events.resize(3);
         },
         {"hang: no end within 120 s"}},
        {"crash",
         [](RunRecord& r) {
             r.outcome.signal = 11;
             r.events.resize(3);
         },
         {"crash: ended by signal 11"}},
        {"exit 2", [](RunRecord& r) { r.outcome.exitCode = 2; }, {"the harness exited with 2"}},
        {"sanitizer",
         [](RunRecord& r) { r.output = "==1==ERROR: AddressSanitizer: stack"; },
         {"finding: AddressSanitizer"}},
        {"ubsan", [](RunRecord& r) { r.output = "x.cpp:3:5: runtime error: shift"; }, {"finding: runtime error:"}},
        {"internal error",
         [](RunRecord& r) { r.output = "orbex: internal error: bad"; },
         {"finding: orbex: internal error"}},
        {"bad json", [](RunRecord& r) { r.badJsonLines = 2; }, {"2 malformed line(s) in the events"}},
        {"text of 256",
         [](RunRecord& r) { r.events[2] = Report(std::string(256, 'a')); },
         {"a report's actual of 256 characters"}},
        {"return 3", [](RunRecord& r) { r.events[3] = Return(3); }, {"call 1 returned 3"}},
        {"return -1", [](RunRecord& r) { r.events[6] = Return(-1); }, {"call 2 returned -1"}},
        {"later call begins nothing",
         [](RunRecord& r) { r.events.erase(r.events.begin() + 4); },
         {"the later call did not begin a test"}},
        {"one of two returned", [](RunRecord& r) { r.events.resize(4); }, {"1 of 2 calls returned"}},
        {"fault never fired",
         [](RunRecord& r) { r.events.erase(r.events.begin() + 1); },
         {"the fault did not fire during the first call or the unload"}},
        {"fault in the later call",
         [](RunRecord& r) {
             r.events.erase(r.events.begin() + 1);
             r.events.insert(r.events.begin() + 4, Fault("CreateDC"));
         },
         {"the fault did not fire during the first call or the unload"}},
        {"another operation's fault",
         [](RunRecord& r) { r.events[1] = Fault("CreateFile"); },
         {"the fault did not fire during the first call or the unload"}},
    };
    PlacedFault fault{"CreateDC", false};
    for (const Case& c : cases) {
        RunRecord run = Sound();
        c.spoil(run);
        EXPECT_EQ(CheckRun(run, 2, 120, &fault).problems, c.problems) << c.what;
    }
}

// Malformed data that found no data to malform is counted apart, not failed;
// a clean run (no fault placed) is not asked for a fault at all.
TEST(SweepRunChecks, MalformedDataWithoutDataIsNotAFailure) {
    RunRecord run = Sound();
    run.events.erase(run.events.begin() + 1);
    PlacedFault malformed{"CreateDC", true};
    RunVerdict v = CheckRun(run, 2, 120, &malformed);
    EXPECT_TRUE(v.problems.empty());
    EXPECT_TRUE(v.unapplied);
    RunRecord clean = Sound();
    clean.events = {Begin(), Report("ok"), Return(4)};
    EXPECT_TRUE(CheckRun(clean, 1, 120, nullptr).problems.empty());
}

}  // namespace
}  // namespace orbex::harness
