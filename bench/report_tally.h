// The results the benchmarks' harness hook has seen, by status, so that a
// benchmark can check that what it timed passed.
#pragma once

#include <cstdint>

namespace orbex::bench {

struct ReportTally {
    int64_t pass = 0;
    int64_t other = 0;  // fail, not applicable, no run
};

ReportTally Reports();

}  // namespace orbex::bench
