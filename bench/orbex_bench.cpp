// Speed goals of the test bench, measured with Google Benchmark:
//   a key lookup in a 5,000-key INI file, merging 2,000 keys into "~temp.gf",
//   one OrbexEntry call on an initialised bench, the whole catalogue, and the
//   decoder tests (the group on a fresh process object, the output enable
//   test on its own), the tuner, crossbar and caption groups, and the
//   caption test's longest scan. The video size test's are in video_size_bench.cpp.
#include <benchmark/benchmark.h>
#include <sys/time.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "entry/orbex_process.h"
#include "ini/ini_engine.h"
#include "platform/harness_hook.h"
#include "platform/sim/virtual_board.h"
#include "report_tally.h"

namespace {

std::string TempDir(const char* name) {
    std::string dir = "/tmp/orbex-bench-" + std::to_string(getpid()) + "-" + name;
    std::filesystem::create_directories(dir);
    return dir;
}

// Files written just now are read anew until their time stamp is old enough
// to be trusted; the benchmarks age their inputs so that steady state is measured.
void Age(const std::string& path) {
    struct timeval old[2] = {{time(nullptr) - 10, 0}, {time(nullptr) - 10, 0}};
    utimes(path.c_str(), old);
}

void BM_IniKeyLookup5000(benchmark::State& state) {
    std::string dir = TempDir("lookup");
    std::string path = dir + "/big.ini";
    {
        std::ofstream out(path);
        for (int s = 0; s < 50; ++s) {
            out << "[Section" << s << "]\n";
            for (int k = 0; k < 100; ++k) out << "Key" << k << "=Value " << s << "." << k << "\n";
        }
    }
    Age(path);
    orbex::ini::Engine engine;
    // The names looked up, spelt in other letter cases than in the file.
    std::vector<std::pair<std::string, std::string>> names;
    for (int i = 0; i < 5000; ++i)
        names.emplace_back("section" + std::to_string(i % 50), "KEY" + std::to_string((i * 7) % 100));
    char buffer[256];
    size_t i = 0;
    for (auto _ : state) {
        const auto& [section, key] = names[i++ % names.size()];
        benchmark::DoNotOptimize(engine.GetString(section.c_str(), key.c_str(), "", buffer, sizeof buffer, path));
    }
    std::filesystem::remove_all(dir);
}
BENCHMARK(BM_IniKeyLookup5000);

orbex::sim::SimOptions Options(const std::string& dir, bool noVerdict) {
    orbex::sim::SimOptions options;
    options.hostCurrentDirectory = dir;
    options.noVerdict = noVerdict;
    options.events = [](const orbex::sim::PlatformEvent&) {};
    return options;
}

void BM_Merge2000Keys(benchmark::State& state) {
    std::string dir = TempDir("merge");
    {
        std::ofstream out(dir + "/big.gf");
        for (int s = 0; s < 40; ++s) {
            out << "[Section" << s << "]\n";
            for (int k = 0; k < 50; ++k) out << "Key" << k << "=" << s * 1000 + k << "\n";
        }
    }
    Age(dir + "/big.gf");
    orbex::sim::VirtualBoard platform(orbex::sim::ReferenceBoard(), Options(dir, true));
    orbex::COrbexProcess process(platform);
    orbex::COrbGBuilder& g = process.GraphBuilder();
    for (auto _ : state) {
        platform.Files().CreateEmptyFile(g.MergedFilePath());
        if (g.MergeIncludeFiles("C:\\ORBEX\\big.gf") != 0) state.SkipWithError("merge failed");
        platform.Profile().FlushProfiles();
    }
    std::filesystem::remove_all(dir);
}
BENCHMARK(BM_Merge2000Keys)->Unit(benchmark::kMillisecond);

// The shipped graph and settings file, as `make run` puts them in its working directory.
void WriteReferenceGraph(const std::string& dir) {
    for (const char* name : {"default.gf", "orbex.ini"})
        std::filesystem::copy_file(std::string(ORBEX_SOURCE_DIR "/examples/") + name, dir + "/" + name,
                                   std::filesystem::copy_options::overwrite_existing);
}

// One call on a bench that the first call initialised; the test executer
// refuses the test of a device whose test object is not built (the stream
// test, "-g 2 -d 10 -t 1"), so
// the call does no waiting of its own: the entry's own cost.
void BM_OrbexEntryInitialised(benchmark::State& state) {
    std::string dir = TempDir("entry");
    WriteReferenceGraph(dir);
    orbex::sim::VirtualBoard platform(orbex::sim::ReferenceBoard(), Options(dir, false));
    orbex::COrbexProcess process(platform);
    process.OrbexEntry("-g 2 -d 10 -t 1", 0);
    for (auto _ : state) benchmark::DoNotOptimize(process.OrbexEntry("-g 2 -d 10 -t 1", 0));
    std::filesystem::remove_all(dir);
}
BENCHMARK(BM_OrbexEntryInitialised)->Unit(benchmark::kMicrosecond);

// The whole catalogue, each bench kind on a fresh process object, as the suite runs it.
void BM_Catalogue(benchmark::State& state) {
    const std::vector<std::vector<const char*>> groups = {
        {"tc0000"},
        {"tc1100", "tc1101", "tc1102", "tc2110"},
        {"tc1200", "tc2200", "tc2201", "tc2202", "tc2203", "tc2204", "tc2205", "tc2210", "tc3200"},
        {"tc1400", "tc1401", "tc1402"},
        {"-g 2 -d 10 -t 1", "-g 2 -d 10 -t 2", "-g 2 -d 10 -t 3", "-g 2 -d 10 -t 4"},
        {"-g 2 -d 11 -t 1"},
        {"tc5000", "tc5001", "tc5002", "tc5005", "tc5006", "tc5007", "tc5008", "tc5009", "tc5010", "tc5011", "tc5012",
         "tc5013", "tc5014"},
        {"tc6900", "tc6901", "tc6902", "tc6903", "tc6904", "tc6905"}};
    std::string dir = TempDir("catalogue");
    WriteReferenceGraph(dir);
    orbex::sim::BoardProfile board = orbex::sim::ReferenceBoard();
    for (auto _ : state) {
        for (const auto& group : groups) {
            orbex::sim::VirtualBoard platform(board, Options(dir, false));
            orbex::COrbexProcess process(platform);
            for (const char* line : group) benchmark::DoNotOptimize(process.OrbexEntry(line, 0));
        }
    }
    std::filesystem::remove_all(dir);
}
BENCHMARK(BM_Catalogue)->Unit(benchmark::kMillisecond);

// The decoder group as the suite runs it: one fresh process object over the
// reference board and the shipped graph, then every decoder test that runs
// (supported standards, output enable, setting the standards, line
// detection, horizontal lock with the test box, the memory leak test with
// its 10 s of virtual running). A case whose result is not what the
// reference board gives stops the benchmark.
void BM_DecoderGroup(benchmark::State& state) {
    struct Case {
        const char* line;
        int32_t result;
    };
    const Case cases[] = {{"tc1200", 4}, {"tc2200", 4}, {"tc2201", 4}, {"tc2202", 2}, {"tc2203", 2}, {"tc2210", 4}};
    std::string dir = TempDir("decoder");
    WriteReferenceGraph(dir);
    orbex::sim::BoardProfile board = orbex::sim::ReferenceBoard();
    std::string error;
    for (auto _ : state) {
        orbex::sim::VirtualBoard platform(board, Options(dir, false));
        orbex::COrbexProcess process(platform);
        for (const Case& c : cases) {
            if (process.OrbexEntry(c.line, 0) != c.result) {
                error = std::string(c.line) + " did not give the reference board's result";
                state.SkipWithError(error.c_str());
                break;
            }
        }
    }
    std::filesystem::remove_all(dir);
}
BENCHMARK(BM_DecoderGroup)->Unit(benchmark::kMillisecond);

struct Expected {
    const char* line;
    int32_t result;
};

// Runs each group on a fresh process object over the board, as the suite
// does; a result other than the expected one stops the benchmark.
void RunGroups(benchmark::State& state, const char* name, const orbex::sim::BoardProfile& board,
               const std::vector<std::vector<Expected>>& groups) {
    std::string dir = TempDir(name);
    WriteReferenceGraph(dir);
    std::string error;
    for (auto _ : state) {
        for (const auto& group : groups) {
            orbex::sim::VirtualBoard platform(board, Options(dir, false));
            orbex::COrbexProcess process(platform);
            for (const Expected& c : group) {
                if (process.OrbexEntry(c.line, 0) == c.result) continue;
                error = std::string(c.line) + " did not give the board's result";
                state.SkipWithError(error.c_str());
                std::filesystem::remove_all(dir);
                return;
            }
        }
    }
    std::filesystem::remove_all(dir);
}

// The tuner, crossbar and caption groups on the reference board: the tuner's
// three cases and the channel scan of the USA table (68 channels), the
// crossbar's counts and three routes, and the caption test, which finds
// captions on the first sample.
void BM_TunerCrossbarVbiGroups(benchmark::State& state) {
    RunGroups(state, "tuner-groups", orbex::sim::ReferenceBoard(),
              {{{"tc1100", 4}, {"tc1101", 4}, {"tc1102", 4}, {"tc2110", 4}},
               {{"tc1400", 4}, {"tc1401", 4}, {"tc1402", 2}},
               {{"-g 2 -d 11 -t 1", 4}}});
}
BENCHMARK(BM_TunerCrossbarVbiGroups)->Unit(benchmark::kMillisecond);

// The caption test's longest run: no station sends captions, so it samples
// 12 channels 5 times, 150 ms apart (9 s of virtual waits), and fails.
void BM_CaptionScanFindingNothing(benchmark::State& state) {
    std::string error;
    auto board = orbex::sim::LoadBoardProfile(ORBEX_SOURCE_DIR "/boards/no-captions.ini", error);
    if (!board) {
        state.SkipWithError(error.c_str());
        return;
    }
    RunGroups(state, "caption-scan", *board, {{{"-g 2 -d 11 -t 1", 0}}});
}
BENCHMARK(BM_CaptionScanFindingNothing)->Unit(benchmark::kMillisecond);

// The output enable test alone on a bench that the first call initialised:
// disable, clear both overlay buffers, enable, 2 x 500 ms of virtual frames,
// and the picture-row count of both buffers.
void BM_DecoderOutputEnable(benchmark::State& state) {
    std::string dir = TempDir("output-enable");
    WriteReferenceGraph(dir);
    orbex::sim::VirtualBoard platform(orbex::sim::ReferenceBoard(), Options(dir, false));
    orbex::COrbexProcess process(platform);
    if (process.OrbexEntry("tc2200", 0) != 4) state.SkipWithError("tc2200 did not pass on the reference board");
    for (auto _ : state) benchmark::DoNotOptimize(process.OrbexEntry("tc2200", 0));
    std::filesystem::remove_all(dir);
}
BENCHMARK(BM_DecoderOutputEnable)->Unit(benchmark::kMicrosecond);

}  // namespace

namespace {
orbex::bench::ReportTally g_reports;
}  // namespace

orbex::bench::ReportTally orbex::bench::Reports() {
    return g_reports;
}

// The result library hands its calls to a harness; here to one that only
// counts the results by status.
extern "C" ORBEX_HOOK_EXPORT void OrbexHarnessEvent(const char* event, const OrbexEventField* fields, int count) {
    if (std::strcmp(event, "ResultReport") != 0) return;
    for (int i = 0; i < count; ++i)
        if (std::strcmp(fields[i].name, "status") == 0) ++(fields[i].number == 4 ? g_reports.pass : g_reports.other);
}

BENCHMARK_MAIN();
