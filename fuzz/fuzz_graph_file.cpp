// Any graph definition file (and include file) on the reference board: the
// merge, the connection map, filter creation and connection report or pass,
// never crash, hang or write past the filter table. Each input gets a fresh
// machine, its files in memory: nothing one input leaves steers the next, and
// all it allocated is freed when it ends, so the leak check chases real leaks only.
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
    static const orbex::sim::BoardProfile reference = orbex::sim::ReferenceBoard();
    auto files = std::make_shared<orbex::ini::MemoryFileStore>();
    orbex::sim::SimOptions options;
    options.hostCurrentDirectory = kDirectory;
    options.noVerdict = true;
    options.events = [](const orbex::sim::PlatformEvent&) {};
    options.memoryFiles = files;
    orbex::sim::VirtualBoard platform(reference, options);
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
