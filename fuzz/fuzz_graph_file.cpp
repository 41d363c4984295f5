// Any graph definition file (and include file) on the reference board: the
// merge, the connection map, filter creation and connection report or pass,
// never crash, hang or write past the filter table. Each input gets a fresh
// machine, its files in memory: nothing one input leaves steers the next, and
// all it allocated is freed when it ends, so the leak check chases real leaks only.
#include <string>

#include "entry/orbex_process.h"
#include "machine_options.h"
#include "platform/sim/virtual_board.h"
#include "sanitizer_options.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The input is the graph file, then optionally "\n@@\n" and an include file.
    std::string text(reinterpret_cast<const char*>(data), size);
    size_t split = text.find("\n@@\n");
    static const auto reference = std::make_shared<const orbex::sim::BoardProfile>(orbex::sim::ReferenceBoard());
    auto files = std::make_shared<orbex::ini::MemoryFileStore>();
    orbex::sim::VirtualBoard platform(reference, MachineOptions(files));
    files->Write(std::string(kFuzzDirectory) + "/default.gf", text.substr(0, split));
    files->Write(std::string(kFuzzDirectory) + "/inc.gf",
                 split == std::string::npos ? std::string() : text.substr(split + 4));
    orbex::COrbexProcess process(platform);
    int32_t status = process.OrbexEntry("-d 3", 0);
    if (status != 0 && status != 2) __builtin_trap();
    if (process.GraphBuilder().FilterCount() > 32) __builtin_trap();
    // The merged file is where the machine's current directory keeps it, never on disk.
    if (!files->IsFile(std::string(kFuzzDirectory) + "/~temp.gf") && status == 0) __builtin_trap();
    return 0;
}
