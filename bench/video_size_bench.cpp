// The video size test in virtual time: the predefined sizes (tc2204) and every
// reported size (tc2205) on the reference board, and a full sweep of a record
// from 80x60 to 720x576 at 4x2 (41,699 sizes). Each reports the virtual
// seconds one run simulates beside its wall time, and stops when a size does
// not pass.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "entry/orbex_process.h"
#include "platform/sim/virtual_board.h"
#include "report_tally.h"

namespace {

// The reference board with one capture record from 80x60 to 720x576 at 4x2.
constexpr const char* kFullSweepBoard =
    "[Profile]\nBase=reference\n"
    "[CaptureFormat.1]\nMinOutputSize=80x60\nMaxOutputSize=720x576\nGranularity=4x2\n";

// One run of a size test on a fresh process object: the virtual seconds it
// took and the steps it reported, every one of which must pass.
void RunSizeTest(benchmark::State& state, const orbex::sim::BoardProfile& board, const char* line,
                 int64_t expectedSteps) {
    std::string dir = "/tmp/orbex-bench-" + std::to_string(getpid()) + "-sizes";
    std::filesystem::create_directories(dir);
    for (const char* name : {"default.gf", "orbex.ini"})
        std::filesystem::copy_file(std::string(ORBEX_SOURCE_DIR "/examples/") + name, dir + "/" + name,
                                   std::filesystem::copy_options::overwrite_existing);
    orbex::sim::SimOptions options;
    options.hostCurrentDirectory = dir;
    options.events = [](const orbex::sim::PlatformEvent&) {};
    double virtualSeconds = 0;
    for (auto _ : state) {
        orbex::sim::VirtualBoard platform(board, options);
        orbex::COrbexProcess process(platform);
        orbex::bench::ReportTally tally = orbex::bench::Reports();
        uint32_t start = platform.Time().Now();
        int32_t result = process.OrbexEntry(line, 0);
        virtualSeconds += static_cast<uint32_t>(platform.Time().Now() - start) / 1000.0;
        orbex::bench::ReportTally after = orbex::bench::Reports();
        // The steps and the summary, each a pass.
        if (result != 2 || after.pass - tally.pass != expectedSteps + 1 || after.other != tally.other) {
            state.SkipWithError("a size did not pass, or the steps are not the record's");
            break;
        }
    }
    state.counters["virtual_s"] = benchmark::Counter(virtualSeconds, benchmark::Counter::kAvgIterations);
    std::filesystem::remove_all(dir);
}

// The eight predefined sizes the reference board's record holds.
void BM_VideoSizePredefined(benchmark::State& state) {
    RunSizeTest(state, orbex::sim::ReferenceBoard(), "tc2204", 8);
}
BENCHMARK(BM_VideoSizePredefined)->Unit(benchmark::kMillisecond);

// Every size of the reference board's record, 80x60 to 720x480 at 4x2: 161 x 211.
void BM_VideoSizeAllReported(benchmark::State& state) {
    RunSizeTest(state, orbex::sim::ReferenceBoard(), "tc2205", 161 * 211);
}
BENCHMARK(BM_VideoSizeAllReported)->Unit(benchmark::kSecond)->Iterations(1)->Repetitions(3);

// The full sweep, 80x60 to 720x576 at 4x2: 161 x 259 sizes.
void BM_VideoSizeFullSweep(benchmark::State& state) {
    std::string error;
    auto board = orbex::sim::ParseBoardProfile(kFullSweepBoard, "full-sweep.ini", error);
    if (!board) {
        state.SkipWithError(error.c_str());
        return;
    }
    RunSizeTest(state, *board, "tc2205", 161 * 259);
}
BENCHMARK(BM_VideoSizeFullSweep)->Unit(benchmark::kSecond)->Iterations(1)->Repetitions(3);

}  // namespace
