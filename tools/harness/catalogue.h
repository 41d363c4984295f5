// The test catalogue: every test command line with its name and the kind of
// test bench it needs (one process per kind in a suite run).
#pragma once

#include <string>
#include <vector>

namespace orbex::harness {

struct CatalogueEntry {
    std::string commandLine;
    std::string name;
    std::string group;  // setup, tuner, decoder, crossbar, stream, vbi, hwcaps, comchk
};

const std::vector<CatalogueEntry>& Catalogue();
// A test case as --list shows it (and the summary names the test cases that did not pass).
std::string ListLine(const std::string& commandLine, const std::string& group, const std::string& name);
std::vector<std::string> CatalogueGroups();

}  // namespace orbex::harness
