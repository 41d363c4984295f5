// Calls of OrbexEntry per second over the whole catalogue, one process
// object over the reference board, the stream runs' 5-second steps
// delivered as the harness delivers them (each armed timer waited for in
// virtual time, then one more call).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "../tools/harness/catalogue.h"
#include "entry/orbex_process.h"
#include "platform/sim/virtual_board.h"

namespace {

void BM_CatalogueCallsPerSecond(benchmark::State& state) {
    std::string dir = "/tmp/orbex-bench-" + std::to_string(getpid()) + "-soak";
    std::filesystem::create_directories(dir);
    for (const char* name : {"default.gf", "orbex.ini"})
        std::filesystem::copy_file(std::string(ORBEX_SOURCE_DIR "/examples/") + name, dir + "/" + name,
                                   std::filesystem::copy_options::overwrite_existing);
    bool armed = false;
    orbex::sim::SimOptions options;
    options.hostCurrentDirectory = dir;
    options.events = [&armed](const orbex::sim::PlatformEvent& e) {
        if (e.event != "Platform" || e.fields.empty()) return;
        const auto* what = std::get_if<std::string>(&e.fields[0].value);
        if (what && *what == "SetTimer") armed = true;
        if (what && *what == "KillTimer") armed = false;
    };
    orbex::sim::VirtualBoard platform(orbex::sim::ReferenceBoard(), options);
    orbex::COrbexProcess process(platform);
    int64_t calls = 0;
    for (auto _ : state) {
        for (const auto& entry : orbex::harness::Catalogue()) {
            // tc2205 (every reported video size) has its own benchmark and
            // would make this one a measure of it alone.
            if (entry.commandLine == "tc2205") continue;
            armed = false;
            int value = process.OrbexEntry(entry.commandLine.c_str(), 0);
            ++calls;
            orbex::sim::VirtualDesktop::ArmedTimer fired;
            while (value == 2 && armed && platform.VirtualDesk().WaitForTimer(fired)) {
                armed = false;
                value = process.OrbexEntry(entry.commandLine.c_str(), 0);
                ++calls;
            }
        }
    }
    state.counters["calls/s"] = benchmark::Counter(static_cast<double>(calls), benchmark::Counter::kIsRate);
    std::filesystem::remove_all(dir);
}
BENCHMARK(BM_CatalogueCallsPerSecond)->Unit(benchmark::kMillisecond);

}  // namespace
