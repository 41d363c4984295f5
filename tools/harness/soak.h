// The soak: the catalogue again and again in one process, checking that
// nothing grows — resident memory, references the virtual board handed out,
// and the numbering of forwarded log messages.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "event.h"

namespace orbex::harness {

// What the soak needs of the harness that hosts it.
struct SoakHost {
    // Passes one command line to OrbexEntry, stream steps included; the number of calls made.
    std::function<int(const std::string& commandLine)> run;
    // References the virtual board holds open now; negative when there is no virtual board.
    std::function<long long()> openReferences;
    // Every event of the library and the board goes here while it is set.
    std::function<void(std::function<void(const Event&)>)> tapEvents;
    // Loads and unloads the test library; Load gives an error text or empty.
    std::function<std::string()> load;
    std::function<void()> unload;
};

struct SoakOptions {
    int rounds = 1000;
    int64_t rssGrowthLimitKb = 1024;   // growth allowed after the first round
    std::vector<std::string> exclude;  // command lines left out of each round
};

// Runs the soak, prints its figures, returns 0 when every check held, else 1.
int RunSoak(const SoakOptions& options, const SoakHost& host);

// Resident memory of this process in KiB; -1 where it cannot be read.
int64_t ResidentKb();

}  // namespace orbex::harness
