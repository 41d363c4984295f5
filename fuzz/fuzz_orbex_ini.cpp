// Any orbex.ini on a stock board: the board database ([MMTable], [MMMask])
// as the board-table tests read it against the board's MMTable and HWTable,
// the component database ([FileInfo] and the detail sections it names) as
// the component checks read it, [Tuner] and [LOGMANAGER]. Each test reports
// or refuses, never crashing, hanging or touching memory it does not own.
// The first byte picks the board (its value modulo 10) and the one test the
// input runs (its tenth modulo 21): a test is one call of the library, so
// a minute tries many times as many files as running all 21 would. Each
// input gets a fresh machine of its board, its files in memory.
#include <array>
#include <memory>
#include <optional>
#include <string>

#include "entry/orbex_process.h"
#include "machine_options.h"
#include "platform/sim/virtual_board.h"
#include "sanitizer_options.h"

namespace {

// The stock boards to pick from (tools/fuzz_seeds.py lists them in this order).
constexpr std::array kBoards = {
    "reference",  "windows98",         "pal-tuner",        "no-board-tables",  "invalid-mmtable-fields",
    "wrong-mask", "missing-inf-entry", "old-tuner-driver", "missing-database", "bad-hwtable"};

// The tests that read orbex.ini: the board database's, the component
// database's, and the tuner's (with the log settings every call reads).
constexpr std::array kTests = {"tc5000", "tc5001", "tc5002", "tc5005", "tc5006", "tc5007", "tc5008",
                               "tc5009", "tc5010", "tc5011", "tc5012", "tc5013", "tc5014", "tc6900",
                               "tc6901", "tc6902", "tc6903", "tc6904", "tc6905", "tc6907", "tc1100"};

// A stock board's profile, loaded once and shared by its machines.
std::shared_ptr<const orbex::sim::BoardProfile> ProfileOf(size_t index) {
    static std::array<std::shared_ptr<const orbex::sim::BoardProfile>, kBoards.size()> profiles;
    std::shared_ptr<const orbex::sim::BoardProfile>& profile = profiles[index];
    if (!profile) {
        std::string error;
        auto loaded =
            orbex::sim::LoadBoardProfile(std::string(ORBEX_SOURCE_DIR) + "/boards/" + kBoards[index] + ".ini", error);
        if (!loaded) __builtin_trap();  // a stock board always loads
        profile = std::make_shared<const orbex::sim::BoardProfile>(std::move(*loaded));
    }
    return profile;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    static const std::string graph = SourceFile("examples/default.gf");
    // A fresh machine and files for each input: what one input leaves on a
    // machine cannot steer the next, and everything it allocated is freed
    // when it ends, so the leak check has nothing to chase but real leaks.
    auto files = std::make_shared<orbex::ini::MemoryFileStore>();
    orbex::sim::VirtualBoard platform(ProfileOf(data[0] % kBoards.size()), MachineOptions(files));
    const std::string ini = std::string(kFuzzDirectory) + "/orbex.ini";
    files->Write(std::string(kFuzzDirectory) + "/default.gf", graph);
    files->Write(ini, std::string(reinterpret_cast<const char*>(data + 1), size - 1));
    orbex::COrbexProcess process(platform);
    int32_t status = process.OrbexEntry(kTests[data[0] / kBoards.size() % kTests.size()], 0);
    if (status < 0 || status > 4) __builtin_trap();
    // The database was read where the machine keeps it: in memory.
    if (!files->IsFile(ini)) __builtin_trap();
    return 0;
}
