// The virtual board as the whole-machine fuzz targets run it: its current
// directory at kFuzzDirectory, its files in the memory store given, no result
// library, nobody listening to its events. And the project's own files the
// targets start from.
#pragma once

#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "ini/file_store.h"
#include "platform/sim/virtual_board.h"

inline constexpr const char* kFuzzDirectory = "/fuzz";

inline orbex::sim::SimOptions MachineOptions(std::shared_ptr<orbex::ini::MemoryFileStore> files) {
    orbex::sim::SimOptions options;
    options.hostCurrentDirectory = kFuzzDirectory;
    options.noVerdict = true;
    options.memoryFiles = std::move(files);
    return options;
}

#if defined(ORBEX_SOURCE_DIR)
// A file of the source tree (examples/default.gf), whole.
inline std::string SourceFile(const std::string& name) {
    std::ifstream in(std::string(ORBEX_SOURCE_DIR) + "/" + name, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}
#endif
