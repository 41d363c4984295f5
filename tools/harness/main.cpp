// orbex-harness: loads the test library once and passes each command line to
// OrbexEntry, in order, in one process; or runs the catalogue with each kind
// of test bench in a process of its own.
#include <CLI/CLI.hpp>
#include <algorithm>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <thread>

#include "catalogue.h"
#include "event.h"
#include "fault_sweep.h"
#include "host_window.h"
#include "html_report.h"
#include "platform/harness_hook.h"
#include "platform/host/host.h"
#include "platform/sim/profile/board_profile.h"
#include "recorder.h"
#include "soak.h"
#include "stock_boards.h"

namespace {

using orbex::harness::Event;
using orbex::harness::Recorder;

Recorder* g_recorder = nullptr;
const OrbexVirtualMachine* g_machine = nullptr;  // the virtual board, when the library runs on one
bool g_timerArmed = false;                       // the library armed a timer during the last call
std::function<void(const Event&)> g_eventTap;    // the soak's view of the events

// A stream run waits for a step timer at most this long on a real desktop.
constexpr uint32_t kStepTimeoutMs = 60'000;

// Delivers the timer the library armed: on the virtual board by letting its
// virtual time pass, on a real desktop by the host window's message loop.
bool WaitForStepTimer() {
    g_timerArmed = false;
    if (g_machine) {
        unsigned long long window = 0, id = 0;
        return g_machine->waitForTimer(g_machine->context, &window, &id) != 0;
    }
    return orbex::harness::WaitForTimerMessage(kStepTimeoutMs);
}

// The catalogue's entry of a command line; empty name and group when it holds none.
orbex::harness::CatalogueEntry EntryOf(const std::string& commandLine) {
    for (const auto& e : orbex::harness::Catalogue())
        if (e.commandLine == commandLine) return e;
    return {commandLine, "", ""};
}

std::string NameOf(const std::string& commandLine) {
    return EntryOf(commandLine).name;
}

// Virtual time passed on the virtual board, in milliseconds; -1 on a real platform.
long long VirtualElapsedMs() {
    return g_machine && g_machine->elapsedMs ? g_machine->elapsedMs(g_machine->context) : -1;
}

// A path named relative to the current directory, made absolute.
std::string Absolute(const std::string& path) {
    return orbex::host::TextOf(std::filesystem::absolute(orbex::host::PathOf(path)));
}

std::string ExecutableDirectory() {
    std::string self = orbex::host::ExecutablePath();
    return self.empty() ? std::string(".") : orbex::host::TextOf(orbex::host::PathOf(self).parent_path());
}

struct Options {
    std::string board, workdir, json, junit, html, library, suite;
    bool noVerdict = false, virtualBoard = false, list = false, boards = false, stopOnFail = false, noProgress = false,
         quiet = false;
    bool answerMessageBoxes = false;
    int soak = 0;
    int64_t soakRssLimitKb = 1024;
    std::vector<std::string> exclude;
    std::vector<std::string> commandLines;
    std::vector<std::string> faults;
    bool faultSweep = false, sweepSample = false;
    unsigned jobs = 0, timeoutSeconds = 120;
    uint64_t caseBudget = 10'000;
};

// Runs command lines through the library in this process.
int RunInProcess(const Options& o, Recorder& recorder) {
    std::string error;
    orbex::host::Library library = orbex::host::OpenLibrary(o.library, error);
    if (!library) {
        std::fprintf(stderr, "orbex-harness: cannot load %s: %s\n", o.library.c_str(), error.c_str());
        return 2;
    }
    using EntryFn = int (*)(const char*, int);
    auto entry = reinterpret_cast<EntryFn>(orbex::host::LibrarySymbol(library, "OrbexEntry"));
    if (!entry) {
        std::fprintf(stderr, "orbex-harness: %s does not export OrbexEntry\n", o.library.c_str());
        orbex::host::CloseLibrary(library);
        return 2;
    }
    for (size_t i = 0; i < o.commandLines.size(); ++i) {
        const std::string& cmd = o.commandLines[i];
        const auto catalogued = EntryOf(cmd);
        recorder.BeginTestCase(cmd, catalogued.name, catalogued.group, i, o.commandLines.size());
        g_timerArmed = false;
        // The library takes its command line in the ANSI code page on Windows.
        const std::string text = orbex::host::LibraryText(cmd);
        const auto wallStart = std::chrono::steady_clock::now();
        // The machine starts with the first call: until then no virtual time has passed.
        const long long virtualStart = std::max(VirtualElapsedMs(), 0LL);
        int64_t calls = 1;
        int value = entry(text.c_str(), 0);
        // A stream run goes on in 5-second steps: each armed timer that
        // expires is one more call, until the run gives its outcome.
        while (value == 2 && g_timerArmed && WaitForStepTimer()) {
            recorder.OnEvent(Event{"Call", {{"call", ++calls}}});
            value = entry(text.c_str(), 0);
        }
        const long long virtualEnd = VirtualElapsedMs();
        const auto wall = std::chrono::steady_clock::now() - wallStart;
        recorder.OnEvent(Event{
            "Timing",
            {{"calls", calls},
             {"wallUs", static_cast<int64_t>(std::chrono::duration_cast<std::chrono::microseconds>(wall).count())},
             {"virtualUs", virtualEnd < 0 ? int64_t{-1} : std::max<int64_t>(virtualEnd - virtualStart, 0) * 1000}}});
        recorder.OnEvent(Event{"Return", {{"commandLine", cmd}, {"value", static_cast<int64_t>(value)}}});
        if (o.stopOnFail && orbex::harness::VerdictOf(recorder.TestCases().back()) == orbex::harness::kStatusFail)
            break;
    }
    // On the virtual board the library is unloaded here, so that the board's
    // unload report (references left, calls per operation) reaches this run.
    // On the real platform it stays loaded until the process exits: unloading
    // runs the process objects' destruction under the loader lock, where
    // releasing a graph that still runs waits for streaming threads that
    // need that lock to end.
    if (g_machine) orbex::host::CloseLibrary(library);
    return 0;
}

// Runs each catalogue group in a child harness and replays its events here.
int RunSuite(const Options& o, Recorder& recorder, const std::vector<std::string>& groups) {
    auto total = static_cast<size_t>(0);
    for (const auto& e : orbex::harness::Catalogue())
        for (const auto& g : groups)
            total += e.group == g && std::find(o.exclude.begin(), o.exclude.end(), e.commandLine) == o.exclude.end();
    size_t index = 0;
    orbex::host::TempDirectory scratch("orbex-suite-");
    const std::string& tmpDir = scratch.Path();
    if (tmpDir.empty()) {
        std::fprintf(stderr, "orbex-harness: cannot make a temporary directory\n");
        return 2;
    }
    for (const std::string& group : groups) {
        std::vector<std::string> cmds;
        for (const auto& e : orbex::harness::Catalogue())
            if (e.group == group && std::find(o.exclude.begin(), o.exclude.end(), e.commandLine) == o.exclude.end())
                cmds.push_back(e.commandLine);
        if (cmds.empty()) continue;
        std::string jsonPath = orbex::host::TextOf(orbex::host::PathOf(tmpDir) / (group + ".jsonl"));
        std::vector<std::string> args = {"--json",    jsonPath,  "--quiet",   "--no-progress",
                                         "--library", o.library, "--workdir", o.workdir};
        if (!o.board.empty()) args.insert(args.end(), {"--board", o.board});
        if (o.noVerdict) args.push_back("--no-verdict");
        if (o.virtualBoard) args.push_back("--virtual");
        args.push_back("--");
        args.insert(args.end(), cmds.begin(), cmds.end());
        recorder.Progress("[" + std::to_string(index + 1) + "-" + std::to_string(index + cmds.size()) + "/" +
                          std::to_string(total) + "] " + group);
        int exitCode = orbex::host::RunProgram(orbex::host::ExecutablePath(), args);
        // Replay the child's events here, test case by test case.
        size_t returned = 0;
        std::vector<std::vector<Event>> perCase(cmds.size());
        {
            std::ifstream in(orbex::host::PathOf(jsonPath));
            std::string line;
            while (std::getline(in, line)) {
                auto event = orbex::harness::FromJson(line);
                if (!event) continue;
                if (returned < cmds.size()) perCase[returned].push_back(*event);
                if (event->name == "Return") ++returned;
            }
        }
        std::error_code ec;
        std::filesystem::remove(orbex::host::PathOf(jsonPath), ec);
        for (size_t i = 0; i < cmds.size(); ++i) {
            if (i >= returned && perCase[i].empty()) break;
            const auto catalogued = EntryOf(cmds[i]);
            recorder.BeginTestCase(cmds[i], catalogued.name, catalogued.group, 0, 0);
            for (const Event& e : perCase[i]) recorder.OnEvent(e);
        }
        index += cmds.size();
        bool abnormal = exitCode < 0 || exitCode == 2 || returned < cmds.size();
        if (abnormal) {
            std::fprintf(stderr,
                         "orbex-harness: the %s test bench process ended abnormally after %zu of %zu test cases\n",
                         group.c_str(), returned, cmds.size());
            return 3;
        }
        if (o.stopOnFail && recorder.AnyFail()) break;
    }
    return 0;
}

std::string LocalTimeNow() {
    std::time_t now = std::time(nullptr);
    char text[64] = "";
    if (const std::tm* local = std::localtime(&now)) std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", local);
    return text;
}

// The HTML report of the run, with the board profile it ran on.
bool WriteHtml(const Options& o, const std::string& reproducePrefix, const std::string& startedAt,
               const Recorder& recorder) {
    orbex::harness::HtmlReportInfo info;
#if defined(_WIN32)
    const bool real = !o.virtualBoard && o.board.empty();  // as the library chooses its platform
#else
    const bool real = false;
#endif
    if (real) {
        info.boardName = "the real platform (no virtual board)";
    } else if (o.board.empty()) {
        info.boardName = "reference (the built-in reference board)";
        info.boardText = orbex::sim::ReferenceBoardText();
    } else {
        info.boardName = orbex::host::TextOf(orbex::host::PathOf(o.board).filename());
        std::ifstream in(orbex::host::PathOf(o.board), std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        info.boardText = text.str();
    }
    info.title = "Orbex run on " + info.boardName;
    info.reproducePrefix = reproducePrefix;
    info.startedAt = startedAt;
    info.summary = recorder.SummaryLine();
    std::ofstream out(orbex::host::PathOf(o.html), std::ios::binary);
    out << orbex::harness::HtmlReport(recorder.TestCases(), info);
    return static_cast<bool>(out);
}

// The soak over the library loaded once in this process.
int RunSoakInProcess(const Options& o) {
    using EntryFn = int (*)(const char*, int);
    orbex::host::Library library{};
    EntryFn entry = nullptr;
    orbex::harness::SoakHost host;
    host.load = [&]() -> std::string {
        std::string error;
        library = orbex::host::OpenLibrary(o.library, error);
        if (!library) return "cannot load " + o.library + ": " + error;
        entry = reinterpret_cast<EntryFn>(orbex::host::LibrarySymbol(library, "OrbexEntry"));
        return entry ? std::string() : o.library + " does not export OrbexEntry";
    };
    host.unload = [&] {
        if (library) orbex::host::CloseLibrary(library);
        library = {};
    };
    host.run = [&](const std::string& cmd) {
        g_timerArmed = false;
        const std::string text = orbex::host::LibraryText(cmd);
        int calls = 1, value = entry(text.c_str(), 0);
        for (; value == 2 && g_timerArmed && WaitForStepTimer(); ++calls) value = entry(text.c_str(), 0);
        return calls;
    };
    host.openReferences = [] {
        return g_machine && g_machine->openReferences ? g_machine->openReferences(g_machine->context) : -1;
    };
    host.tapEvents = [](std::function<void(const Event&)> tap) { g_eventTap = std::move(tap); };
    orbex::harness::SoakOptions options;
    options.rounds = o.soak;
    options.rssGrowthLimitKb = o.soakRssLimitKb;
    options.exclude = o.exclude;
    return orbex::harness::RunSoak(options, host);
}

}  // namespace

extern "C" ORBEX_HOOK_EXPORT void OrbexHarnessAttachMachine(const OrbexVirtualMachine* machine) {
    g_machine = machine;
}

extern "C" ORBEX_HOOK_EXPORT unsigned long long OrbexHarnessHostWindow() {
    return orbex::harness::HostWindow();
}

extern "C" ORBEX_HOOK_EXPORT void OrbexHarnessEvent(const char* event, const OrbexEventField* fields, int count) {
    if (!event) return;
    if (std::string(event) == "Platform")
        for (int i = 0; i < count; ++i)
            if (!fields[i].isNumber && std::string(fields[i].name) == "what" && fields[i].text) {
                std::string what = fields[i].text;
                if (what == "SetTimer") g_timerArmed = true;
                if (what == "KillTimer") g_timerArmed = false;
            }
    if (!g_recorder && !g_eventTap) return;
    Event e{event, {}};
    for (int i = 0; i < count; ++i) {
        const OrbexEventField& f = fields[i];
        if (f.isNumber)
            e.fields.emplace_back(f.name, static_cast<int64_t>(f.number));
        else
            e.fields.emplace_back(f.name, std::string(f.text ? f.text : ""));
    }
    if (g_eventTap) g_eventTap(e);
    if (g_recorder) g_recorder->OnEvent(e);
}

int main(int argc, char** argv) {
    Options o;
    CLI::App app{
        "Runs Orbex test cases against the virtual board (or lists them).\n"
        "Each CMDLINE is passed verbatim to OrbexEntry, in order, in one process.",
        "orbex-harness"};
    app.add_option("--board", o.board,
                   "Board profile of the virtual board: a file, or a stock board's name (see --boards; default: the "
                   "built-in reference board)");
    app.add_option("--workdir", o.workdir, "Current directory of the run (default: the current directory)");
    app.add_option("--json", o.json, "Write every event as JSON Lines to FILE (- for standard output)");
    app.add_option("--junit", o.junit, "Write a JUnit XML report to FILE");
    app.add_option("--html", o.html,
                   "Write the run as one self-contained HTML report to FILE (open it in any browser; see "
                   "docs/harness.md)");
    app.add_option("--library", o.library, "The test library (default: liborbex.so beside the harness)");
    app.add_flag("--no-verdict", o.noVerdict, "Run without the harness result library");
    app.add_flag("--virtual", o.virtualBoard,
                 "Use the virtual board even on Windows (it is implied by --board, and always used elsewhere)");
    app.add_flag("--list", o.list, "List the test catalogue: each command line with its group and name");
    app.add_flag("--boards", o.boards,
                 "List the stock boards: what each one is for and the test cases it is meant to fail");
    app.add_option("--suite", o.suite,
                   "Run the catalogue, or the comma-separated groups named, each test-bench kind in its own process")
        ->expected(0, 1)
        ->default_str("all");
    app.add_flag("--stop-on-fail", o.stopOnFail, "Stop after the first test case with a failed result");
    app.add_flag("--no-progress", o.noProgress, "No live progress line");
    app.add_flag("--quiet", o.quiet, "No readable result lines (the JSON stream is still written)");
    app.add_flag("--answer-message-boxes", o.answerMessageBoxes,
                 "Do not show the library's message boxes: report each and answer it with its default button, as a "
                 "person pressing Enter would (for unattended runs; the virtual board always does)");
    app.add_option(
        "--fault", o.faults,
        "Add a fault to the virtual board: OPERATION=CODE[,COUNT[,SKIP]] or OPERATION=malformed[,COUNT[,SKIP]]"
        " (as in a profile's [Faults]; repeatable)");
    app.add_flag("--fault-sweep", o.faultSweep,
                 "Run each test case (the command lines given, the --suite groups, or the whole catalogue) again "
                 "for every call of every failable operation, with a one-shot fault on that call, and check "
                 "every run");
    app.add_flag("--sample", o.sweepSample, "With --fault-sweep: one point per operation and kind of fault only");
    app.add_option("--jobs", o.jobs, "With --fault-sweep: runs at a time (default: the number of processors)");
    app.add_option("--timeout", o.timeoutSeconds,
                   "With --fault-sweep: seconds a run may take before it counts as a hang")
        ->default_val(120);
    app.add_option("--case-budget", o.caseBudget,
                   "With --fault-sweep: a test case that makes more failable calls than this gets a point on the "
                   "first call of each operation only")
        ->default_val(10'000);
    app.add_option(
           "--soak", o.soak,
           "Run the whole catalogue N times in this process and check that nothing grows (see docs/reliability.md)")
        ->check(CLI::PositiveNumber);
    app.add_option("--soak-rss-limit", o.soakRssLimitKb,
                   "Resident memory growth in KiB the soak allows (default 1024)");
    app.add_option("--exclude", o.exclude,
                   "With --suite, --soak or --fault-sweep: a catalogue command line to leave out (repeatable)");
    app.add_option("CMDLINE", o.commandLines, "Test command lines (put them after -- when they begin with -)");
    try {
        // Host text (UTF-8 on Windows), reversed as the parser takes it.
        std::vector<std::string> args = orbex::host::ProgramArguments(argc, argv);
        std::reverse(args.begin(), args.end());
        app.parse(args);
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        app.exit(e);
        return 2;
    }
    bool suite = app.count("--suite") > 0;
    if (suite && o.suite.empty()) o.suite = "all";

    if (o.boards) {
        const auto boards = orbex::harness::StockBoards();
        if (boards.empty()) {
            std::fprintf(stderr, "orbex-harness: no stock boards found (looked in \"%s\")\n",
                         orbex::harness::StockBoardsDirectory().c_str());
            return 2;
        }
        std::fputs(orbex::harness::BoardsListing(boards).c_str(), stdout);
        return 0;
    }
    if (o.list) {
        for (const auto& e : orbex::harness::Catalogue())
            std::printf("%s\n", orbex::harness::ListLine(e.commandLine, e.group, e.name).c_str());
        return 0;
    }
    for (const std::string& x : o.exclude) {
        const auto& catalogue = orbex::harness::Catalogue();
        if (std::none_of(catalogue.begin(), catalogue.end(), [&](const auto& e) { return e.commandLine == x; })) {
            std::fprintf(stderr, "orbex-harness: --exclude \"%s\" is not a catalogue command line (see --list)\n",
                         x.c_str());
            return 2;
        }
    }
    if (o.faultSweep && !o.faults.empty()) {
        std::fprintf(stderr, "orbex-harness: --fault-sweep places its own faults; do not give --fault\n");
        return 2;
    }
    if (o.soak > 0 && (suite || !o.commandLines.empty() || o.faultSweep)) {
        std::fprintf(
            stderr,
            "orbex-harness: --soak runs the catalogue: give no command lines, no --suite and no --fault-sweep\n");
        return 2;
    }
    if (o.commandLines.empty() && !suite && !o.faultSweep && o.soak == 0) {
        std::fprintf(stderr, "orbex-harness: nothing to run: give command lines, --suite or --list (see --help)\n");
        return 2;
    }
    if (!o.commandLines.empty() && suite && !o.faultSweep) {
        std::fprintf(stderr, "orbex-harness: give either command lines or --suite, not both\n");
        return 2;
    }
    std::vector<std::string> groups;
    if (suite) {
        std::vector<std::string> known = orbex::harness::CatalogueGroups();
        if (o.suite == "all")
            groups = known;
        else {
            std::stringstream in(o.suite);
            std::string g;
            while (std::getline(in, g, ',')) {
                if (std::find(known.begin(), known.end(), g) == known.end()) {
                    std::fprintf(stderr, "orbex-harness: unknown group \"%s\" (see --list)\n", g.c_str());
                    return 2;
                }
                groups.push_back(g);
            }
        }
    }

    if (!o.board.empty()) {
        std::error_code ec;
        if (!std::filesystem::exists(orbex::host::PathOf(o.board), ec))
            if (std::string stock = orbex::harness::StockBoardPath(o.board); !stock.empty()) o.board = stock;
        std::string error;
        if (!orbex::sim::LoadBoardProfile(o.board, error)) {
            std::fprintf(stderr, "orbex-harness: %s\n", error.c_str());
            return 2;
        }
        o.board = Absolute(o.board);
    }
    if (o.library.empty()) o.library = ExecutableDirectory() + "/" + orbex::host::SharedLibraryName("orbex");
    o.library = Absolute(o.library);
    // Output files are named relative to where the harness was started.
    if (!o.junit.empty()) o.junit = Absolute(o.junit);
    if (!o.html.empty()) o.html = Absolute(o.html);
    if (!o.json.empty() && o.json != "-") o.json = Absolute(o.json);
    if (o.workdir.empty()) o.workdir = orbex::host::TextOf(std::filesystem::current_path());
    if (!orbex::host::ChangeDirectory(o.workdir)) {
        std::fprintf(stderr, "orbex-harness: cannot use %s as the working directory\n", o.workdir.c_str());
        return 2;
    }
    o.workdir = orbex::host::TextOf(std::filesystem::current_path());
    orbex::host::SetEnvironment("ORBEX_BOARD", o.board.empty() ? nullptr : o.board.c_str());
    orbex::host::SetEnvironment("ORBEX_NO_VERDICT", o.noVerdict ? "1" : nullptr);
    orbex::host::SetEnvironment("ORBEX_PLATFORM", o.virtualBoard ? "virtual" : nullptr);
    // Without the option, an ORBEX_MESSAGE_BOXES the harness was started with stays in force.
    if (o.answerMessageBoxes) orbex::host::SetEnvironment("ORBEX_MESSAGE_BOXES", "answer");
    std::string faults;
    for (const std::string& f : o.faults) faults += (faults.empty() ? "" : ";") + f;
    if (!faults.empty()) {
        orbex::sim::FaultConfig check;
        std::string error;
        if (!orbex::sim::AddFaults(check, faults, error)) {
            std::fprintf(stderr, "orbex-harness: --fault: %s\n", error.c_str());
            return 2;
        }
    }
    // Without --fault, an ORBEX_FAULTS the harness was started with stays in force.
    if (!faults.empty()) orbex::host::SetEnvironment("ORBEX_FAULTS", faults.c_str());

    if (o.faultSweep) {
        orbex::harness::SweepOptions so;
        so.harness = orbex::host::ExecutablePath();
        so.library = o.library;
        so.board = o.board;
        so.workdir = o.workdir;
        so.noVerdict = o.noVerdict;
        so.sample = o.sweepSample;
        so.jobs = o.jobs ? o.jobs : std::max(1u, std::thread::hardware_concurrency());
        so.timeoutMs = o.timeoutSeconds * 1000;
        so.caseBudgetCalls = o.caseBudget;
        so.progress = !o.noProgress && orbex::host::IsTerminal(2);
        for (const auto& e : orbex::harness::Catalogue()) {
            bool wanted = o.commandLines.empty() && groups.empty();
            for (const auto& g : groups) wanted = wanted || e.group == g;
            for (const auto& c : o.commandLines) wanted = wanted || e.commandLine == c;
            if (std::find(o.exclude.begin(), o.exclude.end(), e.commandLine) != o.exclude.end()) wanted = false;
            if (wanted) so.testCases.push_back(e);
        }
        for (const auto& c : o.commandLines)
            if (NameOf(c).empty()) so.testCases.push_back({c, "", ""});
        return orbex::harness::RunFaultSweep(so);
    }

    if (o.soak > 0) return RunSoakInProcess(o);

    std::FILE* json = nullptr;
    if (o.json == "-") {
        // The stream keeps standard output to itself: whatever the library or
        // a program it starts prints there (a copy's "1 file(s) copied.")
        // goes to standard error instead.
        json = orbex::host::DivertStandardOutput();
        if (!json) json = stdout;
    } else if (!o.json.empty() && !(json = orbex::host::OpenFile(o.json, "wb"))) {
        std::fprintf(stderr, "orbex-harness: cannot write %s\n", o.json.c_str());
        return 2;
    }
    orbex::harness::RecorderOptions ro;
    ro.json = json;
    ro.human = !o.quiet && o.json != "-";
    // Colours and the erased progress line only where the terminal shows escape sequences.
    ro.colour = o.json != "-" && orbex::host::EnableTerminalEscapes(1);
    ro.progress = !o.noProgress && orbex::host::EnableTerminalEscapes(2);
    ro.reportOverlayBuffers = [] {
        if (g_machine && g_machine->reportOverlayBuffers) g_machine->reportOverlayBuffers(g_machine->context);
    };
    ro.reproducePrefix = "orbex-harness" + (o.board.empty() ? std::string() : " --board " + o.board) +
                         (o.noVerdict ? " --no-verdict" : "");
    // Faults in force from the environment are named as the option that gives them.
    if (const char* inherited = std::getenv("ORBEX_FAULTS"); o.faults.empty() && inherited && *inherited) {
        std::stringstream in(inherited);
        for (std::string f; std::getline(in, f, ';');)
            if (!f.empty()) o.faults.push_back(f);
    }
    for (const std::string& f : o.faults) ro.reproducePrefix += " --fault " + f;
    ro.reproducePrefix += " --";
    Recorder recorder(ro);
    g_recorder = &recorder;
    const std::string startedAt = LocalTimeNow();

    int rc = suite ? RunSuite(o, recorder, groups) : RunInProcess(o, recorder);
    g_recorder = nullptr;
    if (json && json != stdout) std::fclose(json);
    if (json == stdout) std::fflush(stdout);
    if (ro.human) recorder.PrintSummary();
    if (!o.junit.empty() && !recorder.WriteJUnit(o.junit)) {
        std::fprintf(stderr, "orbex-harness: cannot write %s\n", o.junit.c_str());
        return 2;
    }
    if (!o.html.empty() && !WriteHtml(o, ro.reproducePrefix, startedAt, recorder)) {
        std::fprintf(stderr, "orbex-harness: cannot write %s\n", o.html.c_str());
        return 2;
    }
    if (rc == 2) return 2;
    return (rc != 0 || recorder.AnyFail()) ? 1 : 0;
}
