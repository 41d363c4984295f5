#include "fault_sweep.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <mutex>
#include <set>
#include <sstream>
#include <thread>

#include "event.h"
#include "platform/host/host.h"
#include "platform/host/quoting.h"
#include "platform/sim/faults.h"
#include "run_checks.h"

namespace orbex::harness {
namespace {

namespace fs = std::filesystem;

// The failure an operation typically answers with: an HRESULT for COM calls,
// a Win32 error code for the others (any non-zero code fails a true/false call).
uint32_t TypicalCode(const std::string& op) {
    static const std::map<std::string, uint32_t> kCodes = {
        {"CreateCaptureGraphBuilder", 0x80040154},  // REGDB_E_CLASSNOTREG
        {"CreateFilterGraph", 0x80040154},
        {"CreateDeviceEnumerator", 0x80040154},
        {"CreateFilter", 0x80040154},
        {"CreateChannelScan", 0x80040154},
        {"CreateLogWriter", 0x80040154},
        {"ConnectDirect", 0x80040217},      // VFW_E_CANNOT_CONNECT
        {"QueryMediaControl", 0x80004002},  // E_NOINTERFACE
        {"FindInterface", 0x80004002},
        {"QueryDirectDraw2", 0x80004002},
        {"QueryExclModeVideo", 0x80004002},
        {"ExtEscape", 0xFFFFFFFF},  // -1: the escape failed
        {"CreateFile", 2},          // ERROR_FILE_NOT_FOUND
        {"DeviceIoControl", 31},    // ERROR_GEN_FAILURE
        {"LoadLibrary", 126},       // ERROR_MOD_NOT_FOUND
        {"RegOpenKeyEx", 2},
        {"RegQueryValueEx", 2},
        {"RegCreateKeyEx", 5},  // ERROR_ACCESS_DENIED
        {"RegSetValueEx", 5},
        {"RegQueryInfoKey", 5},
        {"RegEnumKeyEx", 5},
        {"FindFirstFile", 2},
        {"OpenTextFile", 2},
        {"FindFileName", 2},
        {"GetFileVersionInfoSize", 1813},  // ERROR_RESOURCE_TYPE_NOT_FOUND
        {"GetFileVersionInfo", 1813},
        {"VerQueryValue", 1813},
        {"SetupDiGetClassDevs", 13},  // ERROR_INVALID_DATA
        {"SetupDiGetDeviceInterfaceDetail", 13},
        {"SetupDiGetDeviceRegistryProperty", 13},
        {"System", 1},
        {"FindWindow", 1400},  // ERROR_INVALID_WINDOW_HANDLE
        {"PostMessage", 1400},
        {"SetTimer", 8},  // ERROR_NOT_ENOUGH_MEMORY
    };
    auto it = kCodes.find(op);
    if (it != kCodes.end()) return it->second;
    static const std::set<std::string> kWin32 = {"GetCurrentDirectory",
                                                 "GetSystemDirectory",
                                                 "GetWindowsDirectory",
                                                 "GetVersionEx",
                                                 "StartProcess",
                                                 "SystemParametersInfo",
                                                 "SetSuspendState",
                                                 "GetCursorPos",
                                                 "SetCursorPos",
                                                 "ProfileWrite",
                                                 "CreateDC"};
    return kWin32.count(op) ? 5 : 0x80004005;  // ERROR_ACCESS_DENIED, E_FAIL
}

bool CanBeMalformed(const std::string& op) {
    const auto& ops = sim::MalformedOperations();
    return std::find(ops.begin(), ops.end(), op) != ops.end();
}

struct Point {
    size_t testCase = 0;
    std::string operation;
    uint32_t call = 0;  // 1-based index of the call that fails
    bool malformed = false;

    // The ORBEX_FAULTS / --fault form: a one-shot fault after call - 1 good calls.
    std::string Fault() const {
        char code[16];
        std::snprintf(code, sizeof code, "0x%X", TypicalCode(operation));
        return operation + "=" + (malformed ? std::string("malformed") : std::string(code)) + ",1," +
               std::to_string(call - 1);
    }
};

using Run = RunRecord;

// What a test case's first command line came to: its return value and
// whether any of its results failed.
std::string Verdict(const std::vector<Event>& events) {
    bool failed = false;
    for (const Event& e : events) {
        if (e.name == "ResultReport" && e.Number("status") == 0) failed = true;
        if (e.name == "Return") return std::to_string(e.Number("value").value_or(-1)) + (failed ? "F" : "");
    }
    return "none";
}

class Sweep {
public:
    explicit Sweep(const SweepOptions& options) : m_o(options) {}

    int Execute();

private:
    Run RunChild(const std::vector<std::string>& commandLines, const std::vector<std::string>& environment);
    RunVerdict Check(const Run& run, size_t commandLines, const Point* point) const {
        PlacedFault fault{point ? point->operation : "", point && point->malformed};
        return CheckRun(run, commandLines, m_o.timeoutMs / 1000, point ? &fault : nullptr);
    }
    std::string Reproduce(const Point& point) const;
    // The clean call that follows each faulted one: the first test case of
    // the same bench kind (a cheap one), so that a long test is not run twice.
    std::string LaterCall(size_t testCase) const;
    void Progress(size_t done, size_t total, size_t failures);
    // Runs work(0) .. work(count - 1) on the sweep's jobs.
    template <typename Work>
    void ParallelFor(size_t count, Work work) {
        std::atomic<size_t> next{0};
        std::vector<std::thread> threads;
        for (unsigned j = 0; j < std::max(1u, m_o.jobs); ++j)
            threads.emplace_back([&] {
                for (size_t k; (k = next++) < count;) work(k);
            });
        for (auto& t : threads) t.join();
    }

    const SweepOptions& m_o;
    std::string m_scratch;
    std::atomic<uint64_t> m_runNumber{0};
    std::mutex m_progressLock;
};

Run Sweep::RunChild(const std::vector<std::string>& commandLines, const std::vector<std::string>& environment) {
    Run run;
    fs::path dir = host::PathOf(m_scratch) / ("run-" + std::to_string(m_runNumber++));
    std::error_code ec;
    fs::create_directories(dir, ec);
    // The run's own working directory: the template's files, fresh.
    for (fs::directory_iterator it(host::PathOf(m_o.workdir), ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code kindError;
        if (it->is_regular_file(kindError)) fs::copy_file(it->path(), dir / it->path().filename(), kindError);
    }
    fs::path json = dir / "events.jsonl", output = dir / "output.txt";
    std::vector<std::string> args = {"--json",    host::TextOf(json), "--quiet",   "--no-progress",
                                     "--library", m_o.library,        "--workdir", host::TextOf(dir)};
    if (!m_o.board.empty()) args.insert(args.end(), {"--board", m_o.board});
    if (m_o.noVerdict) args.push_back("--no-verdict");
    args.push_back("--");
    args.insert(args.end(), commandLines.begin(), commandLines.end());
    run.outcome = host::RunCaptured(m_o.harness, args, environment, host::TextOf(output), m_o.timeoutMs);
    {
        std::ifstream in(json, std::ios::binary);
        std::string line;
        while (std::getline(in, line)) {
            if (auto event = FromJson(line))
                run.events.push_back(std::move(*event));
            else
                ++run.badJsonLines;
        }
    }
    {
        std::ifstream in(output, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        run.output = text.str();
    }
    fs::remove_all(dir, ec);
    return run;
}

std::string Sweep::LaterCall(size_t testCase) const {
    const CatalogueEntry& entry = m_o.testCases[testCase];
    for (const CatalogueEntry& e : Catalogue())
        if (!entry.group.empty() && e.group == entry.group) return e.commandLine;
    return entry.commandLine;
}

// A command line as a POSIX shell reads it back.

std::string Sweep::Reproduce(const Point& point) const {
    const std::string& cmd = m_o.testCases[point.testCase].commandLine;
    return host::QuotedForShell(m_o.harness) + " --library " + host::QuotedForShell(m_o.library) +
           (m_o.board.empty() ? "" : " --board " + host::QuotedForShell(m_o.board)) +
           (m_o.noVerdict ? " --no-verdict" : "") + " --workdir " + host::QuotedForShell(m_o.workdir) + " --fault " +
           point.Fault() + " -- " + host::QuotedForShell(cmd) + " " + host::QuotedForShell(LaterCall(point.testCase));
}

void Sweep::Progress(size_t done, size_t total, size_t failures) {
    std::lock_guard<std::mutex> lock(m_progressLock);
    if (m_o.progress)
        std::fprintf(stderr, "\r[%zu/%zu] points, %zu failed check(s)", done, total, failures);
    else if (done == total || done % 500 == 0)
        std::fprintf(stderr, "fault sweep: %zu of %zu points, %zu failed check(s)\n", done, total, failures);
    std::fflush(stderr);
}

int Sweep::Execute() {
    host::TempDirectory scratch("orbex-sweep-");
    m_scratch = scratch.Path();
    if (m_scratch.empty()) {
        std::fprintf(stderr, "orbex-harness: cannot make a temporary directory\n");
        return 2;
    }
    const size_t cases = m_o.testCases.size();

    // 1. Each test case once, clean, counting the calls of every operation.
    std::vector<std::map<std::string, uint32_t>> calls(cases);
    std::vector<std::string> baseline(cases);
    std::vector<std::vector<std::string>> baselineProblems(cases);
    std::fprintf(stderr, "fault sweep: counting the calls of %zu test case(s)\n", cases);
    ParallelFor(cases, [&](size_t i) {
        Run run = RunChild({m_o.testCases[i].commandLine}, {"ORBEX_FAULT_CALLS=1", "ORBEX_FAULTS="});
        baselineProblems[i] = Check(run, 1, nullptr).problems;
        baseline[i] = Verdict(run.events);
        for (const Event& e : run.events) {
            if (e.name != "Platform" || !e.Text("what") || *e.Text("what") != "FaultCalls") continue;
            for (const auto& [name, value] : e.fields)
                if (const auto* n = std::get_if<int64_t>(&value); n && *n > 0)
                    calls[i][name] = static_cast<uint32_t>(*n);
        }
        if (calls[i].empty()) baselineProblems[i].push_back("the virtual board told no call counts");
    });
    size_t failures = 0;
    for (size_t i = 0; i < cases; ++i)
        for (const std::string& p : baselineProblems[i]) {
            std::printf("FAILED %s without a fault: %s\n", m_o.testCases[i].commandLine.c_str(), p.c_str());
            ++failures;
        }

    // 2. The points: every call of every operation; the first call only in a
    // test case that makes more failable calls than the budget; or, for a
    // sample, the first call of each operation in the first test case that
    // calls it.
    std::vector<Point> points;
    std::set<std::string> sampled;
    for (size_t i = 0; i < cases; ++i) {
        uint64_t total = 0;
        for (const auto& [op, n] : calls[i]) total += n;
        const bool expensive = total > m_o.caseBudgetCalls;
        if (expensive && !m_o.sample)
            std::fprintf(stderr,
                         "fault sweep: %s makes %llu failable calls (more than %llu): the first call of each "
                         "operation only\n",
                         m_o.testCases[i].commandLine.c_str(), static_cast<unsigned long long>(total),
                         static_cast<unsigned long long>(m_o.caseBudgetCalls));
        for (const auto& [op, n] : calls[i]) {
            for (bool malformed : {false, true}) {
                if (malformed && !CanBeMalformed(op)) continue;
                if (m_o.sample && !sampled.insert(op + (malformed ? "/m" : "")).second) continue;
                const uint32_t last = m_o.sample || expensive ? 1 : n;
                for (uint32_t call = 1; call <= last; ++call) points.push_back(Point{i, op, call, malformed});
            }
        }
    }

    // 3. Every point in a fresh process, with a second, clean call after it.
    struct Outcome {
        bool changed = false, unapplied = false;
        std::vector<std::string> problems;
    };
    std::vector<Outcome> outcomes(points.size());
    std::atomic<size_t> done{0}, failed{0};
    ParallelFor(points.size(), [&](size_t k) {
        const Point& p = points[k];
        const std::string& cmd = m_o.testCases[p.testCase].commandLine;
        Run run = RunChild({cmd, LaterCall(p.testCase)}, {"ORBEX_FAULTS=" + p.Fault(), "ORBEX_FAULT_CALLS="});
        RunVerdict verdict = Check(run, 2, &p);
        outcomes[k].problems = std::move(verdict.problems);
        outcomes[k].unapplied = verdict.unapplied;
        outcomes[k].changed = Verdict(run.events) != baseline[p.testCase];
        if (!outcomes[k].problems.empty()) ++failed;
        Progress(++done, points.size(), failed + failures);
    });
    if (m_o.progress) std::fprintf(stderr, "\n");

    // 4. The table: operation by test case.
    struct Cell {
        size_t points = 0, changed = 0, failed = 0, noData = 0;
    };
    std::map<std::pair<std::string, std::string>, Cell> table;
    std::map<std::string, Cell> perOperation;
    for (size_t k = 0; k < points.size(); ++k) {
        const Point& p = points[k];
        std::string kind = p.operation + (p.malformed ? " (malformed)" : "");
        for (Cell* c : {&table[{kind, m_o.testCases[p.testCase].commandLine}], &perOperation[kind]}) {
            ++c->points;
            c->changed += outcomes[k].changed;
            c->failed += !outcomes[k].problems.empty();
            c->noData += outcomes[k].unapplied;
        }
    }
    std::printf("%-48s %-18s %8s %8s %8s %8s\n", "operation", "test case", "points", "changed", "failed", "no data");
    std::string last;
    for (const auto& [key, c] : table) {
        if (key.first != last && !last.empty()) {
            const Cell& t = perOperation[last];
            std::printf("%-48s %-18s %8zu %8zu %8zu %8zu\n", last.c_str(), "(all)", t.points, t.changed, t.failed,
                        t.noData);
        }
        last = key.first;
        std::printf("%-48s %-18s %8zu %8zu %8zu %8zu\n", key.first.c_str(), key.second.c_str(), c.points, c.changed,
                    c.failed, c.noData);
    }
    if (!last.empty()) {
        const Cell& t = perOperation[last];
        std::printf("%-48s %-18s %8zu %8zu %8zu %8zu\n", last.c_str(), "(all)", t.points, t.changed, t.failed,
                    t.noData);
    }
    size_t changed = 0;
    for (const auto& o : outcomes) changed += o.changed;
    for (size_t k = 0; k < points.size(); ++k) {
        if (outcomes[k].problems.empty()) continue;
        const Point& p = points[k];
        for (const std::string& problem : outcomes[k].problems)
            std::printf("FAILED %s, call %u of %s%s: %s\n", m_o.testCases[p.testCase].commandLine.c_str(), p.call,
                        p.operation.c_str(), p.malformed ? " (malformed data)" : "", problem.c_str());
        std::printf("  reproduce: %s\n", Reproduce(p).c_str());
    }
    if (failed + failures)
        std::printf(
            "fault sweep: run each reproduce line in a copy of %s: a run changes the files of its working "
            "directory\n",
            m_o.workdir.c_str());
    std::printf(
        "fault sweep: %zu test case(s), %zu operation kind(s), %zu point(s), %zu changed the verdict, %zu "
        "failed a check\n",
        cases, perOperation.size(), points.size(), changed, static_cast<size_t>(failed) + failures);
    return failed + failures ? 1 : 0;
}

}  // namespace

int RunFaultSweep(const SweepOptions& options) {
    Sweep sweep(options);
    return sweep.Execute();
}

}  // namespace orbex::harness
