// The run sequence of OrbexEntry end to end on the virtual board: what each
// kind of command line reports, logs and returns.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "support/bench.h"

namespace orbex::testing {
namespace {

using ::testing::ElementsAre;

std::string Begin(const std::string& id) {
    return R"({"event":"TestBegin","test":")" + id + R"(","a":30,"b":1,"tool":"orbex.exe ver1.0"})";
}
std::string End(const std::string& id) {
    return R"({"event":"TestEnd","test":")" + id + R"("})";
}
std::string Command(const std::string& command) {
    std::string escaped;
    for (char c : command) escaped += c == '\\' ? std::string("\\\\") : std::string(1, c);
    return R"({"event":"Platform","what":"RunCommand","command":")" + escaped + R"("})";
}

const std::vector<std::string> kFirstHalf = {
    Command("C:\\WINNT\\system32\\regsvr32 C:\\ORBEX\\qelsserv.dll /s"),
    Command("copy C:\\ORBEX\\msyuv.dll C:\\WINNT\\system32 /Y"),
};
const std::vector<std::string> kSecondHalf = {
    Command("copy C:\\ORBEX\\vanalyze.ax C:\\WINNT\\system32 /Y"),
    Command("copy C:\\ORBEX\\vbianlyr.ax C:\\WINNT\\system32 /Y"),
    Command("copy C:\\ORBEX\\qelvvpxx.ax C:\\WINNT\\system32 /Y"),
    Command("copy C:\\ORBEX\\iqellcs.dll C:\\WINNT\\system32 /Y"),
    Command("C:\\WINNT\\system32\\regsvr32 C:\\WINNT\\system32\\vanalyze.ax /s"),
    Command("C:\\WINNT\\system32\\regsvr32 C:\\WINNT\\system32\\vbianlyr.ax /s"),
    Command("C:\\WINNT\\system32\\regsvr32 C:\\WINNT\\system32\\qelvvpxx.ax /s"),
    Command("C:\\WINNT\\system32\\regsvr32 C:\\WINNT\\system32\\iqellcs.dll /s"),
};
const std::string kCodecWrite =
    R"({"event":"Platform","what":"RegistryWrite","key":"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Drivers32","name":"VIDC.UYVY","value":"MSYUV.DLL","type":1})";

std::string SelfSetupReport(const std::string& id, int status) {
    return ReportJson(id, id, status, "ORBEX SelfSetup", "ORBEX setup needed files.",
                      "ORBEX finished setting up needed files.");
}

// A system directory that comes back without its terminator ends where its
// told length ends (99 characters of a 100-character buffer), never past it.
// COM on the calling thread, as the entry defines it: initialised on every
// call and by the log's first opening, uninitialised once at the end of each
// run; the log's initialisation stays for the process. The self-setup leaves
// COM alone. A caller already in the multithreaded apartment keeps its own
// initialisation: the system's are refused and its uninitialisation undoes nothing.
TEST(ComBalance, EachRunUndoesItsOwnInitialisationAndTheLogKeepsOne) {
    struct Case {
        const char* name;
        bool multithreadedCaller;
        std::vector<const char*> lines;
        long initialised, uninitialised, unmatched;
    };
    const Case cases[] = {
        {"one run", false, {"tc2200"}, 2, 1, 0},
        {"two runs", false, {"tc2200", "tc1400"}, 3, 2, 0},
        {"self-setup", false, {"tc0000"}, 0, 0, 0},
        {"rejected line", false, {"tc1203x"}, 0, 0, 0},
        {"multithreaded caller", true, {"tc2200", "tc1400"}, 0, 0, 2},
    };
    for (const Case& c : cases) {
        Bench bench;
        bench.WriteDefaultGraph();
        if (c.multithreadedCaller) bench.Platform().ComModel().EnterMultithreadedApartment();
        for (const char* line : c.lines) bench.Run(line);
        const auto& apartments = bench.Platform().ComModel().Apartments();
        auto it = apartments.find(std::this_thread::get_id());
        sim::ComRuntime::Apartment a = it == apartments.end() ? sim::ComRuntime::Apartment{} : it->second;
        EXPECT_EQ(a.initialised, c.initialised) << c.name;
        EXPECT_EQ(a.uninitialised, c.uninitialised) << c.name;
        EXPECT_EQ(a.unmatched, c.unmatched) << c.name;
        EXPECT_EQ(a.multithreaded, c.multithreadedCaller) << c.name;
        EXPECT_EQ(apartments.size(), it == apartments.end() ? 0u : 1u) << c.name << ": one thread only";
    }
}

TEST(SelfSetup, ADirectoryWithoutItsTerminatorIsReadToItsToldLength) {
    Bench bench(Bench::Board("[Faults]\nGetSystemDirectory=malformed,1\n"));
    EXPECT_EQ(bench.Run("tc0000"), 1);
    const std::string system = "C:\\WINNT\\system32" + std::string(99 - 17, 'D');
    std::vector<std::string> commands;
    for (const std::string& e : bench.Events("Platform"))
        if (e.find("RunCommand") != std::string::npos) commands.push_back(e);
    ASSERT_GE(commands.size(), 2u);
    EXPECT_EQ(commands[0], Command(system + "\\regsvr32 C:\\ORBEX\\qelsserv.dll /s"));
    EXPECT_EQ(commands[1], Command("copy C:\\ORBEX\\msyuv.dll " + system + " /Y"));
}

TEST(SelfSetup, OnWindows2000CopiesRegistersAndDeclaresTheCodec) {
    Bench bench;
    EXPECT_EQ(bench.Run("tc0000"), 1);
    std::vector<std::string> expected = {Begin("tc0000")};
    expected.insert(expected.end(), kFirstHalf.begin(), kFirstHalf.end());
    expected.push_back(kCodecWrite);
    expected.insert(expected.end(), kSecondHalf.begin(), kSecondHalf.end());
    // Registering the analyzers puts their classes into the registry.
    std::vector<std::string> events;
    for (const std::string& e : bench.Events())
        if (e.find("Classes\\\\CLSID") == std::string::npos) events.push_back(e);
    expected.push_back(SelfSetupReport("tc0000", 4));
    expected.push_back(End("tc0000"));
    EXPECT_EQ(events, expected);
    // The self-setup neither opens the log nor builds a graph.
    EXPECT_FALSE(bench.FileExists("orbex.txt"));
    EXPECT_FALSE(bench.FileExists("~temp.gf"));
}

// A machine whose video analyzer has not been registered yet.
std::string FreshKitBoard() {
    return Bench::Board("[Filter.VideoAnalyzer]\nRegistered=no\n");
}

TEST(SelfSetup, RegistersTheAnalyzerClassesItCopied) {
    Bench bench(FreshKitBoard());
    bench.Run("tc0000");
    EXPECT_EQ(bench.Events("Platform").size(), 2 + 1 + 8 + 2u);
    port::ComPtr analyzer;
    Guid clsid{0x4DCF9720, 0xE5E8, 0x11D3, {0x9E, 0xFE, 0x00, 0x80, 0x29, 0xE6, 0x43, 0xA4}};
    EXPECT_EQ(bench.Platform().Com().CoCreateInstance(
                  clsid, Guid{0x56A86895, 0x0AD4, 0x11CE, {0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}}, analyzer),
              kSOk);
}

// The machine had its VBI analyzer registered by an earlier self-setup
// (Registered=yes); its video analyzer waits for this run's.
TEST(SelfSetup, AKitClassRegisteredBeforeTheRunNeedsNoSetup) {
    Bench bench(FreshKitBoard());
    const Guid iidBaseFilter{0x56A86895, 0x0AD4, 0x11CE, {0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};
    const Guid vbiAnalyzer{0x554456F8, 0x9E81, 0x45D9, {0xB1, 0x8C, 0xD6, 0x87, 0xF7, 0xB8, 0x2A, 0x4D}};
    const Guid videoAnalyzer{0x4DCF9720, 0xE5E8, 0x11D3, {0x9E, 0xFE, 0x00, 0x80, 0x29, 0xE6, 0x43, 0xA4}};
    port::ComPtr out;
    EXPECT_EQ(bench.Platform().Com().CoCreateInstance(vbiAnalyzer, iidBaseFilter, out), kSOk);
    EXPECT_EQ(bench.Platform().Com().CoCreateInstance(videoAnalyzer, iidBaseFilter, out), kRegdbEClassNotReg);
}

TEST(SelfSetup, IsChosenByEitherIdentifierInAnyLetterCase) {
    for (const char* line : {"TC0000", "-f default.gf", "-f DEFAULT.GF"}) {
        Bench bench;
        EXPECT_EQ(bench.Run(line), 1) << line;
        ASSERT_EQ(bench.Reports().size(), 1u) << line;
        EXPECT_NE(bench.Reports()[0].find("ORBEX SelfSetup"), std::string::npos) << line;
    }
}

TEST(SelfSetup, OnNt4DeclaresNothingAndStillRunsEveryCommand) {
    Bench bench(Bench::Board("[Machine]\nMajorVersion=4\n"));
    EXPECT_EQ(bench.Run("tc0000"), 1);
    int commands = 0;
    for (const std::string& e : bench.Events("Platform")) commands += e.find("RunCommand") != std::string::npos;
    EXPECT_EQ(commands, 10);
    for (const std::string& e : bench.Events("Platform")) EXPECT_EQ(e.find("Drivers32"), std::string::npos);
    EXPECT_EQ(bench.Reports(), std::vector<std::string>{SelfSetupReport("tc0000", 4)});
}

TEST(SelfSetup, OnWindows98WritesTheCodecIntoSystemIni) {
    Bench bench(Bench::Board("[Machine]\nPlatform=9x\nMajorVersion=4\nMinorVersion=10\n"));
    EXPECT_EQ(bench.Run("tc0000"), 1);
    auto platform = bench.Events("Platform");
    ASSERT_GE(platform.size(), 3u);
    EXPECT_EQ(
        platform[2],
        R"({"event":"Platform","what":"ProfileWrite","file":"system.ini","section":"drivers32","key":"VIDC.UYVY","value":"msyuv.dll"})");
    EXPECT_NE(bench.ReadFile("system.ini").find("[drivers32]\r\nVIDC.UYVY=msyuv.dll"), std::string::npos);
}

TEST(SelfSetup, WithoutRightsToTheDriverKeyFailsAndSkipsTheSecondHalf) {
    Bench bench(Bench::Board("[Faults]\nRegCreateKeyEx=5\n"));
    EXPECT_EQ(bench.Run("tc0000"), 1);
    std::vector<std::string> expected = kFirstHalf;
    expected.push_back(R"({"event":"Platform","what":"Fault","operation":"RegCreateKeyEx","code":5})");
    EXPECT_EQ(bench.Events("Platform"), expected);
    EXPECT_EQ(bench.Reports(), std::vector<std::string>{SelfSetupReport("tc0000", 0)});
}

TEST(SelfSetup, WithoutACurrentDirectoryRunsNothingAndPasses) {
    Bench bench(Bench::Board("[Faults]\nGetCurrentDirectory=1\n"));
    EXPECT_EQ(bench.Run("tc0000"), 1);
    // Only the fault, at each call: no command runs.
    std::vector<std::string> platform = bench.Events("Platform");
    EXPECT_FALSE(platform.empty());
    for (const std::string& e : platform)
        EXPECT_EQ(e, R"({"event":"Platform","what":"Fault","operation":"GetCurrentDirectory","code":1})");
    EXPECT_EQ(bench.Reports(), std::vector<std::string>{SelfSetupReport("tc0000", 4)});
}

TEST(RunSequence, ARejectedCommandLineShowsTheBoxAndReportsNothing) {
    Bench bench;
    EXPECT_EQ(bench.Run("tc12"), 0);
    EXPECT_EQ(
        bench.Events(),
        std::vector<std::string>{
            R"({"event":"MessageBox","caption":"Orbex:  Invalid Cmd Line Error","text":"Invalid command.","style":4112,"answered":1})"});
    EXPECT_FALSE(bench.FileExists("orbex.txt"));
}

TEST(RunSequence, AnEmptyCommandLineBuildsTheBenchAndRunsNoTest) {
    Bench bench;
    bench.WriteDefaultGraph();
    EXPECT_EQ(bench.Run("   "), 2);
    EXPECT_EQ(bench.Events("TestBegin"), std::vector<std::string>{Begin("")});
    EXPECT_TRUE(bench.Reports().empty());
    EXPECT_TRUE(bench.Events("TestEnd").empty());
    EXPECT_TRUE(bench.FileExists("~temp.gf"));
    EXPECT_EQ(bench.LogLines().front(), "0 0x0000AF00 Orbex.exe Loaded.");
}

TEST(RunSequence, ABoardWithoutCaptureCapabilityIsNotApplicable) {
    Bench bench(Bench::Board("[Display]\nMMTable=00 00 00 00 00 00 00 00 00 00 00 00\n"));
    EXPECT_EQ(bench.Run("tc2200"), 0);
    EXPECT_EQ(bench.Reports(),
              std::vector<std::string>{ReportJson(
                  "tc2200", "tc2200", 1, "Test program initialization.", "Computer has video capture capability.",
                  "[NA] Computer has no video capture capability. (No Decoder found)")});
    EXPECT_EQ(bench.Events("TestEnd"), std::vector<std::string>{End("tc2200")});
    EXPECT_THAT(bench.LogLines(),
                ElementsAre("0 0x0000AF00 Orbex.exe Loaded.", "0 0x0000AF00 COrbGBuilder::Initialize()>  Enter",
                            "0 0x0000AF00 COrbGBuilder::Initialize()>  [NA] Computer has no video capture capability. "
                            "(No Decoder found)."));
    EXPECT_FALSE(bench.FileExists("~temp.gf"));
}

TEST(RunSequence, CaptureCapabilityIsADecoderTypeFromOneToSeven) {
    struct Case {
        const char* decoderByte;  // byte 5 of the table; the decoder type is its bits 0-3
        bool capable;
    };
    for (const Case& c : {Case{"00", false}, Case{"01", true}, Case{"07", true}, Case{"08", false}, Case{"09", false},
                          Case{"0F", false}, Case{"10", false}, Case{"17", true}, Case{"F8", false}}) {
        Bench bench(
            Bench::Board(std::string("[Display]\nMMTable=01 00 00 00 00 ") + c.decoderByte + " 00 01 02 03 00 00\n"));
        bench.WriteDefaultGraph();
        bench.Run("tc2200");
        SCOPED_TRACE(c.decoderByte);
        const std::string notApplicable =
            ReportJson("tc2200", "tc2200", 1, "Test program initialization.", "Computer has video capture capability.",
                       "[NA] Computer has no video capture capability. (No Decoder found)");
        if (c.capable) {
            EXPECT_TRUE(bench.FileExists("~temp.gf"));
            for (const std::string& report : bench.Reports()) EXPECT_NE(report, notApplicable);
        } else {
            EXPECT_FALSE(bench.FileExists("~temp.gf"));
            EXPECT_EQ(bench.Reports(), std::vector<std::string>{notApplicable});
        }
    }
}

TEST(RunSequence, BoardTableTestsSkipTheGraphEvenWithoutCaptureCapability) {
    Bench bench(Bench::Board("[Display]\nEscape=refused\n"));
    // The board-table object runs and finds the board without capture capability.
    EXPECT_EQ(bench.Run("tc5000"), 1);
    EXPECT_FALSE(bench.FileExists("~temp.gf"));
    EXPECT_EQ(bench.Reports(),
              (std::vector<std::string>{ReportJson("tc5000", "tc5000", 1, "Test program initialization.",
                                                   "Computer has video capture capability.",
                                                   "[NA] Computer has no video capture capability. (No Decoder "
                                                   "found)")}));
}

TEST(RunSequence, TheComponentCheckerSkipsTheGraph) {
    Bench bench;
    EXPECT_EQ(bench.Run("tc6900"), 2);
    EXPECT_FALSE(bench.FileExists("~temp.gf"));
}

TEST(TestExecuter, AnUnknownDeviceIsAnInvalidTestCase) {
    Bench bench;
    bench.WriteDefaultGraph();
    EXPECT_EQ(bench.Run("tc1301"), 2);
    const std::string text = "[NoRun]**** Invalid test case \"tc1301\".";
    EXPECT_EQ(bench.Reports(),
              (std::vector<std::string>{ReportJson("tc1301", "msg1", 0, "Message Log:", "", "TestExecuter()>  " + text),
                                        ReportJson("tc1301", "tc1301", 2, "Test executer.", "Valid test case", text)}));
    EXPECT_EQ(bench.LogLines().back(), "765 0x000000FF TestExecuter()>  " + text);
}

TEST(RunSequence, LaterCallsReuseTheFirstBenchAndKeepCounting) {
    Bench bench;
    bench.WriteDefaultGraph();
    EXPECT_EQ(bench.Run("tc1301"), 2);
    // A different graph file on a later call is not read: the bench stays.
    EXPECT_EQ(bench.Run("-d 3 -f other.gf"), 2);
    auto reports = bench.Reports();
    ASSERT_EQ(reports.size(), 4u);
    EXPECT_NE(reports[0].find(R"("step":"msg1")"), std::string::npos);
    EXPECT_NE(reports[2].find(R"("step":"msg2")"), std::string::npos);
    int loaded = 0, enter = 0;
    for (const std::string& l : bench.LogLines()) {
        loaded += l == "0 0x0000AF00 Orbex.exe Loaded.";
        enter += l == "0 0x0000AF00 COrbGBuilder::Initialize()>  Enter";
    }
    EXPECT_EQ(loaded, 1);
    EXPECT_EQ(enter, 2);
}

TEST(RunSequence, AFailedFirstInitialisationLeavesLaterTestsRefused) {
    Bench bench;  // no default.gf: the first initialisation fails
    EXPECT_EQ(bench.Run("tc2200"), 0);
    bench.WriteDefaultGraph();
    bench.ClearEvents();
    EXPECT_EQ(bench.Run("tc2200"), 2);
    ASSERT_EQ(bench.Reports().size(), 2u);
    EXPECT_NE(bench.Reports()[1].find("The CDecoder test object is not available"), std::string::npos);
}

TEST(RunSequence, WithoutTheResultLibraryTheTestStillReturnsItsStatus) {
    Bench bench(Bench::Board(), /*noVerdict=*/true);
    bench.WriteDefaultGraph();
    EXPECT_EQ(bench.Run("tc1301"), 2);
    EXPECT_TRUE(bench.Reports().empty());
    EXPECT_TRUE(bench.Events("TestBegin").empty());
    EXPECT_EQ(bench.LogLines().back(), "765 0x000000FF TestExecuter()>  [NoRun]**** Invalid test case \"tc1301\".");
    EXPECT_EQ(bench.Run("tc0000"), 1);
}

TEST(RunSequence, ALibraryWithOnlyResultReportGetsTheReportsAndNoBeginOrEnd) {
    Bench bench(Bench::Board("[Components]\nResultLibraryExports=ResultReport\n"));
    EXPECT_EQ(bench.Run("tc0000"), 1);
    EXPECT_EQ(bench.Events("TestBegin").size() + bench.Events("TestEnd").size(), 0u);
    EXPECT_EQ(bench.Reports().size(), 1u);
}

TEST(RunSequence, WithoutTheLoggingComponentNothingIsWrittenButLinesAreForwarded) {
    Bench bench(Bench::Board("[Components]\nLoggingComponent=absent\n"));
    bench.WriteDefaultGraph();
    EXPECT_EQ(bench.Run("tc1301"), 2);
    EXPECT_FALSE(bench.FileExists("orbex.txt"));
    EXPECT_EQ(bench.Reports().size(), 2u);
}

TEST(Delay, WaitsTheFullDurationAcrossTheTimerWrap) {
    for (uint32_t start : {0u, 0xFFFFFFF0u}) {
        Bench bench(Bench::Board("[Machine]\nClockStart=" + std::to_string(start) + "\n"));
        port::IClock& clock = bench.Platform().Clock();
        uint32_t before = clock.TimeGetTime();
        Delay(clock, 40);
        uint32_t elapsed = clock.TimeGetTime() - before;
        EXPECT_GE(elapsed, 40u);
        EXPECT_LE(elapsed, 42u);
        before = clock.TimeGetTime();
        Delay(clock, 0);  // one read to start, one to see that no time is due
        EXPECT_EQ(clock.TimeGetTime() - before, 3u);
    }
}

}  // namespace
}  // namespace orbex::testing
