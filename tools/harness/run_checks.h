// The checks the fault sweep makes on each run of the harness: how the
// process ended, what it printed, the event stream and, for a faulted run,
// whether the fault took effect during the first call or, for a call the
// clean run made while the library was unloaded, at the unload.
#pragma once

#include <string>
#include <vector>

#include "event.h"
#include "platform/host/host.h"

namespace orbex::harness {

// What one run of the harness left behind.
struct RunRecord {
    host::ProgramOutcome outcome;
    std::vector<Event> events;  // the well-formed lines of its JSON stream
    size_t badJsonLines = 0;    // lines that are not an event
    std::string output;         // its standard output and error
};

// The fault a run was given, as the checks need it.
struct PlacedFault {
    std::string operation;
    bool malformed = false;
};

struct RunVerdict {
    std::vector<std::string> problems;  // failed checks, in words
    bool unapplied = false;             // a malformed-data point whose call had no data to malform
};

// The system's text buffers hold 255 characters and the terminator.
constexpr size_t kMaxReportText = 255;

RunVerdict CheckRun(const RunRecord& run, size_t commandLines, unsigned timeoutSeconds, const PlacedFault* fault);

}  // namespace orbex::harness
