// The fault sweep: every test case run again, in a fresh process, once for
// each call of each failable operation of the virtual board, with a one-shot
// fault on exactly that call; every run checked for a crash, a hang, a
// sanitizer finding, a bad return value, a malformed event stream, an
// over-long report text, a fault that never fired and a later call that no
// longer runs.
#pragma once

#include <string>
#include <vector>

#include "catalogue.h"

namespace orbex::harness {

struct SweepOptions {
    std::string harness;  // this program, run for every point
    std::string library;
    std::string board;    // empty: the built-in reference board
    std::string workdir;  // its regular files are copied into each run's own directory
    bool noVerdict = false;
    std::vector<CatalogueEntry> testCases;
    bool sample = false;  // one point per operation and kind of fault: a fixed slice
    unsigned jobs = 1;
    unsigned timeoutMs = 120'000;
    uint64_t caseBudgetCalls = 10'000;  // a test case that makes more failable calls: its first calls only
    bool progress = false;
};

// Runs the sweep and prints its table; 0 when every check held, 1 when one
// failed (each failure printed with the command that reproduces it), 2 when
// the sweep could not run.
int RunFaultSweep(const SweepOptions& options);

}  // namespace orbex::harness
