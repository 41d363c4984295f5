// Any graph definition file (and include file) on the reference board: the
// merge, the connection map, filter creation and connection report or pass,
// never crash, hang or write past the filter table. The files live in memory;
// one machine serves every input (as one machine serves a harness session's
// runs), each input on fresh files and a fresh process.
#include <string>

#include "entry/orbex_process.h"
#include "platform/sim/virtual_board.h"
#include "sanitizer_options.h"

namespace {

const char* const kDirectory = "/fuzz";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The input is the graph file, then optionally "\n@@\n" and an include file.
    std::string text(reinterpret_cast<const char*>(data), size);
    size_t split = text.find("\n@@\n");
    static const auto files = std::make_shared<orbex::ini::MemoryFileStore>();
    static orbex::sim::VirtualBoard platform(orbex::sim::ReferenceBoard(), [] {
        orbex::sim::SimOptions options;
        options.hostCurrentDirectory = kDirectory;
        options.noVerdict = true;
        options.events = [](const orbex::sim::PlatformEvent&) {};
        options.memoryFiles = files;
        return options;
    }());
    static const orbex::ini::MemoryFileStore made = *files;  // the board's own files (its inf files)
    files->ReplaceWith(made);
    files->Write(std::string(kDirectory) + "/default.gf", text.substr(0, split));
    files->Write(std::string(kDirectory) + "/inc.gf",
                 split == std::string::npos ? std::string() : text.substr(split + 4));
    orbex::COrbexProcess process(platform);
    int32_t status = process.OrbexEntry("-d 3", 0);
    if (status != 0 && status != 2) __builtin_trap();
    if (process.GraphBuilder().FilterCount() > 32) __builtin_trap();
    // The merged file is where the machine's current directory keeps it, never on disk.
    if (!files->IsFile(std::string(kDirectory) + "/~temp.gf") && status == 0) __builtin_trap();
    return 0;
}
