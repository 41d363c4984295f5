#include "recorder.h"

#include <fstream>

#include "platform/host/host.h"
#include "platform/host/quoting.h"

namespace orbex::harness {
namespace {

const char* StatusColour(int64_t status) {
    switch (status) {
        case 0: return "\033[31m";
        case 1: return "\033[36m";
        case 2: return "\033[33m";
        case 4: return "\033[32m";
        default: return "\033[35m";
    }
}

std::string Xml(const std::string& s) {
    std::string out;
    for (unsigned char c : s) {
        switch (c) {
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '&': out += "&amp;"; break;
            case '"': out += "&quot;"; break;
            default:
                if (c < 0x20 && c != '\n' && c != '\t')
                    out += '?';
                else if (c > 0x7F)
                    out += "&#" + std::to_string(c) + ";";
                else
                    out += static_cast<char>(c);
        }
    }
    return out;
}

}  // namespace

void Recorder::ClearProgress() {
    if (m_progressShown) {
        std::fprintf(stderr, "\r\033[K");
        m_progressShown = false;
    }
}

void Recorder::BeginTestCase(const std::string& commandLine, const std::string& name, size_t index, size_t total) {
    TestCaseRecord record;
    record.commandLine = commandLine;
    record.name = name;
    m_cases.push_back(std::move(record));
    if (m_options.progress && total > 1) {
        ClearProgress();
        std::fprintf(stderr, "[%zu/%zu] %s", index + 1, total, commandLine.c_str());
        std::fflush(stderr);
        m_progressShown = true;
    }
}

void Recorder::Progress(const std::string& text) {
    if (!m_options.progress) return;
    ClearProgress();
    std::fprintf(stderr, "%s", text.c_str());
    std::fflush(stderr);
    m_progressShown = true;
}

void Recorder::OnEvent(const Event& event) {
    if (m_options.json) {
        std::fputs((ToJson(event) + "\n").c_str(), m_options.json);
        std::fflush(m_options.json);
    }
    if (m_cases.empty()) m_cases.push_back(TestCaseRecord{});
    TestCaseRecord& current = m_cases.back();
    if (event.name == "ResultReport") {
        ResultRecord r;
        r.step = event.Text("step") ? *event.Text("step") : "";
        r.status = event.Number("status").value_or(-1);
        r.description = event.Text("description") ? *event.Text("description") : "";
        r.expected = event.Text("expected") ? *event.Text("expected") : "";
        r.actual = event.Text("actual") ? *event.Text("actual") : "";
        switch (r.status) {
            case 0: ++m_fail; break;
            case 1: ++m_na; break;
            case 2: ++m_noRun; break;
            case 4: ++m_pass; break;
            default: ++m_other;
        }
        if (m_options.human) {
            ClearProgress();
            const char* test = event.Text("test") ? event.Text("test")->c_str() : "";
            if (m_options.colour)
                std::printf("%s%-5s\033[0m %s [%s] %s %s\n", StatusColour(r.status), StatusName(r.status), test,
                            r.step.c_str(), r.description.c_str(), r.actual.c_str());
            else
                std::printf("%-5s %s [%s] %s %s\n", StatusName(r.status), test, r.step.c_str(), r.description.c_str(),
                            r.actual.c_str());
            if (r.status == 0 && !current.commandLine.empty())
                std::printf("      reproduce: %s %s\n", m_options.reproducePrefix.c_str(),
                            host::QuotedForShell(current.commandLine).c_str());
        }
        current.results.push_back(std::move(r));
    } else if (event.name == "MessageBox") {
        std::string note = "message box \"" + (event.Text("caption") ? *event.Text("caption") : "") +
                           "\": " + (event.Text("text") ? *event.Text("text") : "");
        if (auto answered = event.Number("answered")) note += " (answered " + std::to_string(*answered) + ")";
        if (m_options.human) {
            ClearProgress();
            std::printf("BOX   %s\n", note.c_str());
        }
        current.notes.push_back(note);
    } else if (event.name == "Return") {
        current.returnValue = event.Number("value").value_or(0);
        if (m_options.human && current.results.empty() && current.notes.empty()) {
            ClearProgress();
            std::printf("----- %s returned %lld without a report\n", current.commandLine.c_str(),
                        static_cast<long long>(current.returnValue));
        }
    }
    std::fflush(stdout);
}

void Recorder::PrintSummary() {
    ClearProgress();
    std::printf("Summary: %zu test case(s); results: %d pass, %d fail, %d not applicable, %d no run", m_cases.size(),
                m_pass, m_fail, m_na, m_noRun);
    if (m_other) std::printf(", %d with an unknown status", m_other);
    std::printf("\n");
}

// A test case is a JUnit failure when one of its results failed, an error when
// one did not run, skipped when it did not apply; NoRun and NA stay apart.
bool Recorder::WriteJUnit(const std::string& path) const {
    std::ofstream out(host::PathOf(path), std::ios::binary);
    if (!out) return false;
    int failures = 0, errors = 0, skipped = 0;
    for (const TestCaseRecord& c : m_cases) {
        bool fail = false, noRun = false, na = false;
        for (const ResultRecord& r : c.results) {
            fail = fail || r.status == 0;
            noRun = noRun || r.status == 2;
            na = na || r.status == 1;
        }
        if (fail)
            ++failures;
        else if (noRun)
            ++errors;
        else if (na)
            ++skipped;
    }
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    out << "<testsuites><testsuite name=\"orbex\" tests=\"" << m_cases.size() << "\" failures=\"" << failures
        << "\" errors=\"" << errors << "\" skipped=\"" << skipped << "\">\n";
    for (const TestCaseRecord& c : m_cases) {
        out << "  <testcase classname=\"orbex\" name=\"" << Xml(c.commandLine) << "\">\n";
        const ResultRecord* first[5] = {};
        for (const ResultRecord& r : c.results)
            if (r.status >= 0 && r.status <= 4 && !first[r.status]) first[r.status] = &r;
        if (first[0])
            out << "    <failure type=\"Fail\" message=\"" << Xml(first[0]->actual) << "\"/>\n";
        else if (first[2])
            out << "    <error type=\"NoRun\" message=\"" << Xml(first[2]->actual) << "\"/>\n";
        else if (first[1])
            out << "    <skipped message=\"NotApplicable: " << Xml(first[1]->actual) << "\"/>\n";
        out << "    <system-out>";
        for (const ResultRecord& r : c.results)
            out << Xml(std::string(StatusName(r.status)) + " [" + r.step + "] " + r.description +
                       " | expected: " + r.expected + " | actual: " + r.actual)
                << "\n";
        for (const std::string& n : c.notes) out << Xml(n) << "\n";
        out << "returned " << c.returnValue << "</system-out>\n  </testcase>\n";
    }
    out << "</testsuite></testsuites>\n";
    return static_cast<bool>(out);
}

}  // namespace orbex::harness
