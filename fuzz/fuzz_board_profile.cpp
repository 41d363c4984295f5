// Any board profile on top of the reference board: it is refused with a
// clear error or builds a machine on which the tests of one device run to
// their own reports, never crashing, hanging or touching memory it does not
// own. The first byte picks the device (tools/fuzz_seeds.py lists them in
// this order): an execution runs the few tests of one device, not the whole
// set, so a minute tries several times as many profiles.
#include <array>
#include <string>
#include <vector>

#include "entry/orbex_process.h"
#include "machine_options.h"
#include "platform/sim/virtual_board.h"
#include "sanitizer_options.h"

namespace {

// The machine's files, in memory: the example graph file only, afresh for
// each input. The store goes with the machine, so that an execution frees
// what it allocated: one that ends with more blocks than it began with is run
// again by libFuzzer, and then searched for leaks.
std::shared_ptr<orbex::ini::MemoryFileStore> Files() {
    static const std::string graph = SourceFile("examples/default.gf");
    auto files = std::make_shared<orbex::ini::MemoryFileStore>();
    files->Write(std::string(kFuzzDirectory) + "/default.gf", graph);
    return files;
}

// The tests of each device, as the catalogue runs them.
struct DeviceTests {
    std::vector<const char*> lines;
    std::vector<const char*> streams;  // stream runs, their steps delivered as the harness does
};
const std::array<DeviceTests, 5> kDevices = {{
    {{"tc2200", "tc2201", "tc2202", "tc2203", "tc2210", "tc2204", "tc3200"}, {}},
    {{"tc1100", "tc1101", "tc1102", "tc2110"}, {}},
    {{"tc1400", "tc1401", "tc1402"}, {}},
    {{"-g 2 -d 11 -t 1"}, {}},
    {{}, {"-g 2 -d 10 -t 3", "-g 2 -d 10 -t 4"}},
}};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const DeviceTests& tests = kDevices[data[0] % kDevices.size()];
    std::string text = "[Profile]\nBase=reference\n" + std::string(reinterpret_cast<const char*>(data + 1), size - 1);
    std::string error;
    auto profile = orbex::sim::ParseBoardProfile(text, std::string(kFuzzDirectory) + "/fuzz.ini", error);
    if (!profile) {
        if (error.empty()) __builtin_trap();  // a refusal always says why
        return 0;
    }
    orbex::sim::VirtualBoard platform(std::move(*profile), MachineOptions(Files()));
    orbex::COrbexProcess process(platform);
    for (const char* line : tests.lines) {
        int32_t status = process.OrbexEntry(line, 0);
        if (status != 0 && status != 1 && status != 2 && status != 4) __builtin_trap();
    }
    for (const char* line : tests.streams) {  // a run has a few steps at most
        int32_t status = process.OrbexEntry(line, 0);
        orbex::sim::VirtualDesktop::ArmedTimer fired;
        for (int step = 0; status == 2 && step < 16 && platform.VirtualDesk().WaitForTimer(fired); ++step)
            status = process.OrbexEntry(line, 0);
        if (status != 0 && status != 1 && status != 2 && status != 4) __builtin_trap();
    }
    return 0;
}
