// Consumes the events of a run: writes the JSON Lines stream, the readable
// lines and progress, and keeps what the summary and the JUnit file need.
#pragma once

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "event.h"
#include "test_case_record.h"

namespace orbex::harness {

struct RecorderOptions {
    std::FILE* json = nullptr;  // JSON Lines destination, or null
    bool human = true;          // readable lines on stdout
    bool colour = false;
    bool progress = false;        // live progress line on stderr
    std::string reproducePrefix;  // "orbex-harness --board X --" for failure hints
    // Asked, when a buffer check failed, for the platform's pictures of the
    // overlay buffers (OverlayBuffer events, arriving before the failed result).
    std::function<void()> reportOverlayBuffers;
};

class Recorder {
public:
    explicit Recorder(RecorderOptions options) : m_options(std::move(options)) {}

    void BeginTestCase(const std::string& commandLine, const std::string& name, const std::string& group, size_t index,
                       size_t total);
    void OnEvent(const Event& event);
    void Progress(const std::string& text);

    const std::vector<TestCaseRecord>& TestCases() const { return m_cases; }
    // Whether a test case's verdict is Fail.
    bool AnyFail() const;
    // The counts of test cases by verdict and of results by status; then a
    // line for every test case that did not pass, as --list names it.
    void PrintSummary();  // clears the progress line first
    std::string SummaryLine() const;
    bool WriteJUnit(const std::string& path) const;

private:
    void ClearProgress();
    void OnPlatformEvent(const Event& event, TestCaseRecord& current);
    RecorderOptions m_options;
    std::vector<TestCaseRecord> m_cases;
    int m_pass = 0, m_fail = 0, m_na = 0, m_noRun = 0, m_other = 0;
    bool m_progressShown = false;
};

}  // namespace orbex::harness
