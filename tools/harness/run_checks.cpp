#include "run_checks.h"

namespace orbex::harness {

RunVerdict CheckRun(const RunRecord& run, size_t commandLines, unsigned timeoutSeconds, const PlacedFault* fault) {
    RunVerdict verdict;
    std::vector<std::string>& problems = verdict.problems;
    const host::ProgramOutcome& o = run.outcome;
    const bool ended = o.started && !o.timedOut && !o.signal;
    if (!o.started) problems.push_back("the harness could not be started");
    if (o.timedOut) problems.push_back("hang: no end within " + std::to_string(timeoutSeconds) + " s");
    if (o.signal) problems.push_back("crash: ended by signal " + std::to_string(o.signal));
    if (ended && o.exitCode != 0 && o.exitCode != 1)
        problems.push_back("the harness exited with " + std::to_string(o.exitCode));
    for (const char* finding : {"AddressSanitizer", "LeakSanitizer", "runtime error:", "orbex: internal error"})
        if (run.output.find(finding) != std::string::npos) problems.push_back(std::string("finding: ") + finding);
    if (run.badJsonLines) problems.push_back(std::to_string(run.badJsonLines) + " malformed line(s) in the events");

    size_t returns = 0;
    bool beganSince = true;  // a TestBegin since the last Return
    bool fired = false;      // the fault took effect in the first call, or at unload after the last
    for (const Event& e : run.events) {
        if (e.name == "TestBegin") beganSince = true;
        if (e.name == "ResultReport")
            for (const char* field : {"description", "expected", "actual", "step"})
                if (const std::string* text = e.Text(field); text && text->size() > kMaxReportText)
                    problems.push_back(std::string("a report's ") + field + " of " + std::to_string(text->size()) +
                                       " characters");
        if (fault && (returns == 0 || returns == commandLines) && e.name == "Platform" && e.Text("what") &&
            *e.Text("what") == "Fault" && e.Text("operation") && *e.Text("operation") == fault->operation)
            fired = true;
        if (e.name == "Return") {
            int64_t value = e.Number("value").value_or(-1);
            if (value != 0 && value != 1 && value != 2 && value != 4)
                problems.push_back("call " + std::to_string(returns + 1) + " returned " + std::to_string(value));
            if (returns > 0 && !beganSince) problems.push_back("the later call did not begin a test");
            beganSince = false;
            ++returns;
        }
    }
    if (ended && returns != commandLines)
        problems.push_back(std::to_string(returns) + " of " + std::to_string(commandLines) + " calls returned");
    if (fault && !fired) {
        // Malformed data needs data: a size query or an empty result has none.
        if (fault->malformed)
            verdict.unapplied = true;
        else
            problems.push_back("the fault did not fire during the first call or the unload");
    }
    return verdict;
}

}  // namespace orbex::harness
