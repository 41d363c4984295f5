// The screen saver and suspend phases of the stream runs over the virtual
// board: where the screen saver is looked for and how it is started, how its
// phase ends on each system family, the forced suspend and what it does to
// the frames, the cursor nudge, faults, and Windows directories near the
// path limit. Each checks the exact platform calls the system made.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <stdexcept>
#include <string>
#include <vector>

#include "cases/stream/orb_stream.h"
#include "support/sys_bench.h"

namespace orbex::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;

// The reference board without its screen saver, plus extra lines.
std::string BoardWithoutSaver(const std::string& extra = "") {
    return Replaced(Bench::Board(), "File=C:\\WINNT\\system32\\scrnsave.scr\n", "") + "\n" + extra;
}

// A bench whose stream object is set up (graph 2, device 10) and whose graph
// runs; its events start empty.
struct PowerBench : RackBench {
    explicit PowerBench(const std::string& profile = Bench::Board()) : RackBench(profile) {
        Run("-g 2 -d 10 -t 1");
        if (!Process().GraphBuilder().Stream()) throw std::runtime_error("the stream object was not set up");
        ClearEvents();
    }
    COrbStream& Stream() { return *Process().GraphBuilder().Stream(); }
    // The platform calls as "What name=value ...", fields in their order.
    std::vector<std::string> Calls() const {
        std::vector<std::string> out;
        for (const std::string& line : Events("Platform")) {
            auto event = nlohmann::ordered_json::parse(line);
            std::string text = event["what"].get<std::string>();
            for (const auto& [name, value] : event.items()) {
                if (name == "event" || name == "what") continue;
                text += " " + name + "=" + (value.is_string() ? value.get<std::string>() : value.dump());
            }
            out.push_back(text);
        }
        return out;
    }
    uint32_t Now() { return Platform().Time().Now(); }
    uint64_t Frames() { return Platform().FramesDelivered(); }
    void Wait(uint32_t ms) { Platform().Time().Sleep(ms); }
};

std::string Find(const std::string& path, const std::string& name = "") {
    return "FindFileName path=" + path + " name=" + name + " result=" + (name.empty() ? "0" : "1");
}
std::string Start(const std::string& path) {
    return "StartProcess commandLine=" + path + " -s result=1";
}
const std::string kSpiOn = "SystemParametersInfo action=17 uiParam=1 winIni=2 active=1 result=1";
std::string Cursor(int x, int y, const char* what = "SetCursorPos") {
    return std::string(what) + " x=" + std::to_string(x) + " y=" + std::to_string(y) + " result=1";
}

const std::string kSys32Saver = "C:\\WINNT\\system32\\scrnsave.scr";
const std::string kSysBlank = "C:\\WINNT\\system\\Blank Screen.scr";
const std::string kSysSaver = "C:\\WINNT\\system\\scrnsave.scr";

TEST(ScreenSaverStart, SearchesTheSystemDirectoriesInOrderAndStartsTheFirstFound) {
    struct Case {
        const char* what;
        std::string files;  // [Files] lines besides the kit
        int32_t result;
        std::vector<std::string> calls;
    };
    const std::vector<Case> cases = {
        {"scrnsave.scr in both directories",
         "File=" + kSys32Saver + "\nFile=" + kSysSaver + "\n",
         0,
         {Find(kSys32Saver, "scrnsave.scr"), Start(kSys32Saver)}},
        {"only Blank Screen.scr under system",
         "File=" + kSysBlank + "\n",
         0,
         {Find(kSys32Saver), Find(kSysBlank, "Blank Screen.scr"), Start(kSysBlank)}},
        {"Blank Screen.scr before scrnsave.scr under system",
         "File=" + kSysSaver + "\nFile=" + kSysBlank + "\n",
         0,
         {Find(kSys32Saver), Find(kSysBlank, "Blank Screen.scr"), Start(kSysBlank)}},
        {"only scrnsave.scr under system, named in capitals",
         "File=C:\\WINNT\\SYSTEM\\SCRNSAVE.SCR\n",
         0,
         {Find(kSys32Saver), Find(kSysBlank), Find(kSysSaver, "SCRNSAVE.SCR"),
          Start("C:\\WINNT\\system\\SCRNSAVE.SCR")}},
        {"no screen saver", "", 1, {Find(kSys32Saver), Find(kSysBlank), Find(kSysSaver)}},
    };
    for (const Case& c : cases) {
        PowerBench bench(BoardWithoutSaver("[Files]\n" + c.files));
        EXPECT_EQ(bench.Stream().ScreenSaver(1), c.result) << c.what;
        EXPECT_THAT(bench.Calls(), ElementsAreArray(c.calls)) << c.what;
        EXPECT_EQ(bench.Platform().ScreenSaver().Running(), c.result == 0) << c.what;
    }
}

TEST(ScreenSaverEnd, On9xTheSaversWindowIsClosedAndTheCursorStays) {
    PowerBench bench(StockBoardText("windows98") + "\n[Desktop]\nCursor=500,400\n");
    EXPECT_EQ(bench.Stream().ScreenSaver(1), 0);
    const std::string blank = "C:\\WINDOWS\\system\\Blank Screen.scr";
    EXPECT_THAT(bench.Calls(), ElementsAre(Find("C:\\WINDOWS\\system32\\scrnsave.scr"), Find(blank, "Blank Screen.scr"),
                                           Start(blank)));
    bench.ClearEvents();
    EXPECT_EQ(bench.Stream().ScreenSaver(0), 0);
    EXPECT_THAT(bench.Calls(), ElementsAre("FindWindow class=WindowsScreenSaverClass window=131120",
                                           "PostMessage window=131120 message=16 wParam=0 lParam=0 result=1",
                                           "ScreenSaverEnd program=" + blank + " by=WM_CLOSE", kSpiOn));
    EXPECT_FALSE(bench.Platform().ScreenSaver().Running());
}

TEST(ScreenSaverEnd, OnNtTheCursorNudgeEndsItAndReturnsWhereItWas) {
    PowerBench bench(Bench::Board("[Desktop]\nCursor=500,400\n"));
    bench.Stream().ScreenSaver(1);
    bench.ClearEvents();
    EXPECT_EQ(bench.Stream().ScreenSaver(0), 0);
    EXPECT_THAT(bench.Calls(), ElementsAre(Cursor(500, 400, "GetCursorPos"), Cursor(10, 10),
                                           "ScreenSaverEnd program=" + kSys32Saver + " by=cursor", Cursor(100, 100),
                                           Cursor(500, 400), kSpiOn));
    EXPECT_FALSE(bench.Platform().ScreenSaver().Running());
    EXPECT_EQ(bench.Platform().VirtualDesk().Cursor().x, 500);
    EXPECT_EQ(bench.Platform().VirtualDesk().Cursor().y, 400);
}

TEST(ScreenSaverEnd, SwitchesTheSettingOnEvenWithNoSaverRunning) {
    for (const char* machine : {"[Machine]\nPlatform=9x\n", "[Machine]\nPlatform=NT\n"}) {
        PowerBench bench(Bench::Board(std::string(machine) + "[ScreenSaver]\nActive=no\n"));
        EXPECT_FALSE(bench.Platform().ScreenSaver().Active());
        EXPECT_EQ(bench.Stream().ScreenSaver(0), 0);
        EXPECT_TRUE(bench.Platform().ScreenSaver().Active()) << machine;
        std::vector<std::string> calls = bench.Calls();
        ASSERT_FALSE(calls.empty());
        EXPECT_EQ(calls.back(), kSpiOn) << machine;
        for (const std::string& call : calls) {
            EXPECT_EQ(call.find("PostMessage"), std::string::npos) << machine;
            EXPECT_EQ(call.find("ScreenSaverEnd"), std::string::npos) << machine;
        }
    }
}

TEST(LowPower, StartSuspendsForcedAndEndNudgesTheCursor) {
    PowerBench bench(Bench::Board("[Power]\nSuspendSeconds=7\n"));
    uint32_t before = bench.Now();
    EXPECT_EQ(bench.Stream().LowPower(1), 0);
    EXPECT_EQ(bench.Now() - before, 7000u);
    EXPECT_THAT(bench.Calls(),
                ElementsAre("SetSuspendState hibernate=0 force=1 disableWakeEvent=0 slept=7000 result=1"));
    bench.ClearEvents();
    EXPECT_EQ(bench.Stream().LowPower(0), 0);
    EXPECT_THAT(bench.Calls(),
                ElementsAre(Cursor(320, 240, "GetCursorPos"), Cursor(10, 10), Cursor(100, 100), Cursor(320, 240)));
}

TEST(LowPower, ARefusedSuspendLetsNoTimePassAndFramesGoOn) {
    PowerBench bench(Bench::Board("[Power]\nSuspend=refused\n"));
    uint64_t frames = bench.Frames();
    uint32_t before = bench.Now();
    EXPECT_EQ(bench.Stream().LowPower(1), 0);
    EXPECT_EQ(bench.Now(), before);
    EXPECT_THAT(bench.Calls(), ElementsAre("SetSuspendState hibernate=0 force=1 disableWakeEvent=0 slept=0 result=0"));
    bench.Wait(1000);
    EXPECT_GE(bench.Frames() - frames, 29u);
}

// Frames counted over a stretch of virtual time: before, across and after a
// suspend, against a bench that never sleeps.
TEST(LowPower, ASuspendStopsTheFramesForItsDuration) {
    PowerBench awake;
    uint64_t start = awake.Frames();
    awake.Wait(500);
    uint64_t halfSecond = awake.Frames() - start;
    ASSERT_GE(halfSecond, 14u) << "the graph runs and frames flow";

    PowerBench bench;
    start = bench.Frames();
    bench.Wait(500);
    bench.Stream().LowPower(1);  // 20 s asleep, not settled in between
    EXPECT_EQ(bench.Frames() - start, halfSecond) << "no frame while asleep";
    EXPECT_TRUE(bench.Platform().Power().FramesHeld(bench.Now() - 1));
    EXPECT_FALSE(bench.Platform().Power().FramesHeld(bench.Now()));
    uint64_t woke = bench.Frames();
    bench.Wait(1000);
    EXPECT_GE(bench.Frames() - woke, 29u) << "capture comes back";
    EXPECT_LE(bench.Frames() - woke, 30u);
}

TEST(LowPower, OnABoardThatLosesCaptureNoFrameComesAfterTheSuspend) {
    PowerBench bench(StockBoardText("suspend-loses-capture"));
    uint64_t start = bench.Frames();
    bench.Wait(500);
    uint64_t before = bench.Frames() - start;
    EXPECT_GE(before, 14u);
    bench.Stream().LowPower(1);
    bench.Wait(60000);
    bench.Stream().LowPower(0);
    EXPECT_EQ(bench.Frames() - start, before);
}

// Each operation failing on every call: the phases end without a crash and
// with what the failure leaves.
TEST(PowerFaults, EachFailedCallLeavesItsTrace) {
    struct Case {
        const char* fault;
        const char* machine;
        int32_t startResult;
        bool runningAfterEnd;
        bool settingOn;          // after the end of the phase
        uint32_t slept;          // ms the suspend let pass
        port::CursorPoint last;  // where the cursor is after the phases
    };
    const Case cases[] = {
        {"FindFileName", "NT", 1, false, true, 20000, {320, 240}},
        {"StartProcess", "NT", 0, false, true, 20000, {320, 240}},
        {"FindWindow", "9x", 0, true, true, 20000, {320, 240}},
        {"PostMessage", "9x", 0, true, true, 20000, {320, 240}},
        {"SystemParametersInfo", "NT", 0, false, false, 20000, {320, 240}},
        {"SetSuspendState", "NT", 0, false, true, 0, {320, 240}},
        {"GetCursorPos", "NT", 0, false, true, 20000, {100, 100}},
        {"SetCursorPos", "NT", 0, true, true, 20000, {320, 240}},
        {"GetWindowsDirectory", "NT", 1, false, true, 20000, {320, 240}},
    };
    for (const Case& c : cases) {
        // The 9x machine keeps the reference board's Windows directory.
        PowerBench bench(Bench::Board(std::string("[Machine]\nPlatform=") + c.machine +
                                      "\n[ScreenSaver]\nActive=no\n[Faults]\n" + c.fault + "=5\n"));
        EXPECT_EQ(bench.Stream().ScreenSaver(1), c.startResult) << c.fault;
        EXPECT_EQ(bench.Stream().ScreenSaver(0), 0) << c.fault;
        EXPECT_EQ(bench.Platform().ScreenSaver().Running(), c.runningAfterEnd) << c.fault;
        EXPECT_EQ(bench.Platform().ScreenSaver().Active(), c.settingOn) << c.fault;
        uint32_t before = bench.Now();
        EXPECT_EQ(bench.Stream().LowPower(1), 0) << c.fault;
        EXPECT_EQ(bench.Now() - before, c.slept) << c.fault;
        EXPECT_EQ(bench.Stream().LowPower(0), 0) << c.fault;
        EXPECT_EQ(bench.Platform().VirtualDesk().Cursor().x, c.last.x) << c.fault;
        EXPECT_EQ(bench.Platform().VirtualDesk().Cursor().y, c.last.y) << c.fault;
    }
}

TEST(PowerFaults, WithoutTheCursorPositionTheNudgeDoesNotGoBack) {
    PowerBench bench(Bench::Board("[Faults]\nGetCursorPos=5\n"));
    bench.Stream().LowPower(0);
    EXPECT_THAT(bench.Calls(), ElementsAre("Fault operation=GetCursorPos code=5", "GetCursorPos x=0 y=0 result=0",
                                           Cursor(10, 10), Cursor(100, 100)));
}

// Windows directories whose screen saver paths come near the 260-character
// buffers: a path or command line that would not fit is neither looked for
// nor started.
TEST(ScreenSaverStart, LongWindowsDirectoriesNeverOverrunThePathBuffers) {
    struct Case {
        size_t length;              // of the Windows directory
        std::vector<int> searched;  // candidates looked for: 0 system32, 1 Blank Screen, 2 system
        bool started;
    };
    const Case cases[] = {
        {234, {0}, true},   // system32 path 256, command line 259
        {235, {0}, false},  // the command line would need 260 characters and the end
        {237, {0}, false},  // system32 path 259
        {238, {2}, false},  // system32 path 260, Blank Screen 262: only system\scrnsave.scr (258) fits
        {239, {2}, false},  // that path is 259
        {240, {}, false},   // no candidate fits
        {259, {}, false},   // the longest directory the buffer holds
        {260, {}, false},   // the directory does not fit the buffer
    };
    for (const Case& c : cases) {
        std::string windows = "C:\\" + std::string(c.length - 3, 'w');
        const std::string candidates[] = {windows + "\\system32\\scrnsave.scr", windows + "\\system\\Blank Screen.scr",
                                          windows + "\\system\\scrnsave.scr"};
        std::string files;
        for (const std::string& path : candidates) files += "File=" + path + "\n";
        PowerBench bench(BoardWithoutSaver("[Machine]\nWindowsDirectory=" + windows + "\n[Files]\n" + files));
        std::vector<std::string> expected;
        for (int i : c.searched) {
            std::string name = candidates[i].substr(candidates[i].rfind('\\') + 1);
            expected.push_back(Find(candidates[i], name));
        }
        if (c.started) expected.push_back(Start(candidates[c.searched.back()]));
        EXPECT_EQ(bench.Stream().ScreenSaver(1), c.searched.empty() ? 1 : 0) << c.length;
        EXPECT_THAT(bench.Calls(), ElementsAreArray(expected)) << c.length;
    }
}

TEST(PowerProfile, BadValuesAreRefusedWithTheirLine) {
    for (const char* text : {"[Power]\nSuspend=maybe\n", "[Power]\nSuspendSeconds=0\n", "[Power]\nCaptureResumes=2\n",
                             "[Power]\nHibernate=yes\n", "[ScreenSaver]\nActive=on\n", "[Desktop]\nCursor=10\n",
                             "[Desktop]\nCursor=10,40000\n"}) {
        std::string error;
        EXPECT_FALSE(sim::ParseBoardProfile(text, "p.ini", error)) << text;
        EXPECT_EQ(error.rfind("p.ini:2: ", 0), 0u) << error;
    }
}

}  // namespace
}  // namespace orbex::testing
