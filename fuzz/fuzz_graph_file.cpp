// Any graph definition file (and include file) on the reference board: the
// merge, the connection map, filter creation and connection report or pass,
// never crash, hang or write past the filter table.
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "entry/orbex_process.h"
#include "platform/sim/virtual_board.h"

namespace {

const std::string& Directory() {
    static std::string dir = [] {
        std::string d = "/tmp/orbex-fuzz-graph-" + std::to_string(getpid());
        std::filesystem::create_directories(d);
        return d;
    }();
    return dir;
}

void Write(const std::string& name, const std::string& text) {
    if (FILE* f = std::fopen((Directory() + "/" + name).c_str(), "wb")) {
        std::fwrite(text.data(), 1, text.size(), f);
        std::fclose(f);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The input is the graph file, then optionally "\n@@\n" and an include file.
    std::string text(reinterpret_cast<const char*>(data), size);
    size_t split = text.find("\n@@\n");
    Write("default.gf", text.substr(0, split));
    Write("inc.gf", split == std::string::npos ? std::string() : text.substr(split + 4));
    std::filesystem::remove(Directory() + "/~temp.gf");

    orbex::sim::SimOptions options;
    options.hostCurrentDirectory = Directory();
    options.noVerdict = true;
    options.events = [](const orbex::sim::PlatformEvent&) {};
    static const orbex::sim::BoardProfile kBoard = orbex::sim::ReferenceBoard();
    orbex::sim::VirtualBoard platform(kBoard, options);
    orbex::COrbexProcess process(platform);
    int32_t status = process.OrbexEntry("-d 3", 0);
    if (status != 0 && status != 2) __builtin_trap();
    if (process.GraphBuilder().FilterCount() > 32) __builtin_trap();
    return 0;
}
