// The run as one self-contained HTML file: a table of test cases (verdict,
// name, command line, group, durations, the reproduce line), each opening to
// its results, pictures and log lines; filters by verdict and group; the
// board profile used. Everything it shows is inline: viewing it needs no
// network.
#pragma once

#include <string>
#include <vector>

#include "test_case_record.h"

namespace orbex::harness {

struct HtmlReportInfo {
    std::string title;            // "Orbex run on <board>"
    std::string boardName;        // "reference (built in)" or the profile file's name
    std::string boardText;        // the profile's text, shown as it is
    std::string reproducePrefix;  // "orbex-harness --board X --": a test case's command line follows
    std::string startedAt;        // local date and time the run started
    std::string summary;          // the summary line of the run
};

// The report's text. Text of the system (descriptions, log lines) is bytes of
// the ANSI code page; bytes that are not UTF-8 are shown as their Windows-1252 characters.
std::string HtmlReport(const std::vector<TestCaseRecord>& cases, const HtmlReportInfo& info);

}  // namespace orbex::harness
