// Any orbex.ini on a stock board: the board database ([MMTable], [MMMask])
// as the board-table tests read it against the board's MMTable and HWTable,
// the component database ([FileInfo] and the detail sections it names) as
// the component checks read it, [Tuner] and [LOGMANAGER]. Each test reports
// or refuses, never crashing, hanging or touching memory it does not own.
// The first byte picks the board; the machine's files live in memory. One
// machine per board serves every input (as one machine serves a harness
// session's runs), each input on fresh files and a fresh process.
#include <array>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "entry/orbex_process.h"
#include "platform/sim/virtual_board.h"
#include "sanitizer_options.h"

namespace {

const char* const kDirectory = "/fuzz";

// The stock boards to pick from (tools/fuzz_seeds.py lists them in this order).
constexpr std::array kBoards = {
    "reference",  "windows98",         "pal-tuner",        "no-board-tables",  "invalid-mmtable-fields",
    "wrong-mask", "missing-inf-entry", "old-tuner-driver", "missing-database", "bad-hwtable"};

std::string SourceFile(const std::string& name) {
    std::ifstream in(std::string(ORBEX_SOURCE_DIR) + "/" + name, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// A stock board's machine, and its files as they were when it was made (the inf files).
struct Machine {
    std::shared_ptr<orbex::ini::MemoryFileStore> files = std::make_shared<orbex::ini::MemoryFileStore>();
    orbex::ini::MemoryFileStore made;
    std::unique_ptr<orbex::sim::VirtualBoard> board;
};

Machine& MachineOf(size_t index) {
    static std::array<Machine, kBoards.size()> machines;
    Machine& m = machines[index];
    if (!m.board) {
        std::string error;
        auto profile =
            orbex::sim::LoadBoardProfile(std::string(ORBEX_SOURCE_DIR) + "/boards/" + kBoards[index] + ".ini", error);
        if (!profile) __builtin_trap();  // a stock board always loads
        orbex::sim::SimOptions options;
        options.hostCurrentDirectory = kDirectory;
        options.noVerdict = true;
        options.events = [](const orbex::sim::PlatformEvent&) {};
        options.memoryFiles = m.files;
        m.board = std::make_unique<orbex::sim::VirtualBoard>(std::move(*profile), options);
        m.made = *m.files;
    }
    return m;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    static const std::string graph = SourceFile("examples/default.gf");
    Machine& machine = MachineOf(data[0] % kBoards.size());
    const auto& files = machine.files;
    const std::string ini = std::string(kDirectory) + "/orbex.ini";
    files->ReplaceWith(machine.made);
    files->Write(std::string(kDirectory) + "/default.gf", graph);
    files->Write(ini, std::string(reinterpret_cast<const char*>(data + 1), size - 1));
    orbex::sim::VirtualBoard& platform = *machine.board;
    orbex::COrbexProcess process(platform);
    for (const char* line :
         {"tc5000", "tc5001", "tc5002", "tc5005", "tc5006", "tc5007", "tc5008", "tc5009", "tc5010", "tc5011", "tc5012",
          "tc5013", "tc5014", "tc6900", "tc6901", "tc6902", "tc6903", "tc6904", "tc6905", "tc6907", "tc1100"}) {
        int32_t status = process.OrbexEntry(line, 0);
        if (status < 0 || status > 4) __builtin_trap();
    }
    // The database was read where the machine keeps it: in memory.
    if (!files->IsFile(ini)) __builtin_trap();
    return 0;
}
