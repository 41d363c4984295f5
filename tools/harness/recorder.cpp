#include "recorder.h"

#include <algorithm>
#include <fstream>
#include <sstream>

#include "catalogue.h"
#include "common/base64.h"
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

void Recorder::BeginTestCase(const std::string& commandLine, const std::string& name, const std::string& group,
                             size_t index, size_t total) {
    TestCaseRecord record;
    record.commandLine = commandLine;
    record.name = name;
    record.group = group;
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

// The data of the platform's pictures and log lines, kept with the test case.
// A field that does not decode drops the picture, never the run.
void Recorder::OnPlatformEvent(const Event& event, TestCaseRecord& current) {
    const std::string* what = event.Text("what");
    if (!what) return;
    const size_t before = current.results.size();
    auto number = [&](const char* field) { return event.Number(field).value_or(0); };
    auto bytes = [&](const char* field) {
        const std::string* text = event.Text(field);
        return text ? DecodeBase64(*text) : std::nullopt;
    };
    if (*what == "Log") {
        const std::string* text = event.Text("text");
        current.log.push_back(LogLine{number("level"), text ? *text : std::string()});
    } else if (*what == "OverlayBuffer") {
        OverlayPicture p{number("surface"), number("width"), number("height"), {}, number("columns"), {}};
        auto luma = bytes("luma");
        const std::string* rows = event.Text("rows");
        if (!luma || !rows || p.height <= 0 || p.columns <= 0 || rows->size() != static_cast<size_t>(p.height) ||
            luma->size() != static_cast<size_t>(p.columns) * static_cast<size_t>(p.height))
            return;
        p.rows = *rows;
        p.luma = std::move(*luma);
        // A surface reported again before the next result replaces what it showed.
        for (Picture& earlier : current.pictures)
            if (auto* o = std::get_if<OverlayPicture>(&earlier.data);
                o && earlier.beforeResult == before && o->surface == p.surface) {
                *o = std::move(p);
                return;
            }
        current.pictures.push_back(Picture{before, std::move(p)});
    } else if (*what == "VbiLine") {
        auto samples = bytes("samples");
        if (!samples) return;
        current.pictures.push_back(
            Picture{before, VbiLinePicture{number("line"), number("rate"), number("startNs"), number("blank"),
                                           number("level50"), std::move(*samples)}});
    } else if (*what == "AnalyzerMeasurement") {
        FrameIntervals f{number("setInterval"), {}};
        std::istringstream in(event.Text("intervals") ? *event.Text("intervals") : std::string());
        for (int64_t us; in >> us;) f.intervalsUs.push_back(us);
        current.pictures.push_back(Picture{before, std::move(f)});
    } else if (*what == "ChannelScan") {
        ChannelScanPicture scan;
        std::istringstream in(event.Text("channels") ? *event.Text("channels") : std::string());
        for (std::string item; in >> item;) {
            size_t colon = item.find(':');
            if (colon == std::string::npos) continue;
            char* end = nullptr;
            long long channel = std::strtoll(item.c_str(), &end, 10);
            if (end != item.c_str() + colon) continue;
            scan.channels.push_back({channel, item.substr(colon + 1) == "1"});
        }
        current.pictures.push_back(Picture{before, std::move(scan)});
    }
}

namespace {

// The tests whose checks read the overlay buffers (output enable, video sizes),
// and how many failed checks of one test case get the buffers' pictures.
constexpr const char* kBufferCheckTests[] = {"tc2200", "tc2204", "tc2205"};
constexpr size_t kBufferPicturesPerTestCase = 2;

bool IsFailedBufferCheck(const Event& event) {
    const std::string* test = event.Text("test");
    if (event.Number("status").value_or(-1) != kStatusFail || !test) return false;
    if (IsForwardedLogLine(event.Text("step") ? *event.Text("step") : "",
                           event.Text("description") ? *event.Text("description") : ""))
        return false;
    return std::any_of(std::begin(kBufferCheckTests), std::end(kBufferCheckTests),
                       [&](const char* t) { return *test == t; });
}

}  // namespace

void Recorder::OnEvent(const Event& event) {
    // A failed buffer check: the buffers it read come first, as pictures.
    if (event.name == "ResultReport" && m_options.reportOverlayBuffers && !m_cases.empty() &&
        m_cases.back().overlayRequests < kBufferPicturesPerTestCase && IsFailedBufferCheck(event)) {
        ++m_cases.back().overlayRequests;
        m_options.reportOverlayBuffers();
    }
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
        r.forwarded = IsForwardedLogLine(r.step, r.description);
        if (!r.forwarded) switch (r.status) {
                case 0: ++m_fail; break;
                case 1: ++m_na; break;
                case 2: ++m_noRun; break;
                case 4: ++m_pass; break;
                default: ++m_other;
            }
        if (m_options.human) {
            ClearProgress();
            const char* test = event.Text("test") ? event.Text("test")->c_str() : "";
            // A forwarded log line is shown as the log line it is.
            const char* tag = r.forwarded ? "LOG" : StatusName(r.status);
            if (m_options.colour)
                std::printf("%s%-5s\033[0m %s [%s] %s %s\n", r.forwarded ? "\033[2m" : StatusColour(r.status), tag,
                            test, r.step.c_str(), r.description.c_str(), r.actual.c_str());
            else
                std::printf("%-5s %s [%s] %s %s\n", tag, test, r.step.c_str(), r.description.c_str(), r.actual.c_str());
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
    } else if (event.name == "Call") {
        current.finalCallFirstResult = current.results.size();
    } else if (event.name == "Timing") {
        current.calls = event.Number("calls").value_or(0);
        current.wallUs = event.Number("wallUs").value_or(0);
        current.virtualUs = event.Number("virtualUs").value_or(-1);
    } else if (event.name == "Platform") {
        OnPlatformEvent(event, current);
    } else if (event.name == "Return") {
        current.returned = true;
        current.returnValue = event.Number("value").value_or(0);
        if (m_options.human && current.results.empty() && current.notes.empty()) {
            ClearProgress();
            std::printf("----- %s returned %lld without a report\n", current.commandLine.c_str(),
                        static_cast<long long>(current.returnValue));
        }
        // A test case that failed or did not run: how to run it again alone.
        const int64_t verdict = VerdictOf(current);
        if (m_options.human && (verdict == kStatusFail || verdict == kStatusNoRun) && !current.commandLine.empty()) {
            ClearProgress();
            std::printf("      reproduce: %s %s\n", m_options.reproducePrefix.c_str(),
                        host::QuotedForShell(current.commandLine).c_str());
        }
    }
    std::fflush(stdout);
}

bool Recorder::AnyFail() const {
    return std::any_of(m_cases.begin(), m_cases.end(),
                       [](const TestCaseRecord& c) { return VerdictOf(c) == kStatusFail; });
}

std::string Recorder::SummaryLine() const {
    int verdicts[5] = {}, unknown = 0, none = 0;
    for (const TestCaseRecord& c : m_cases) {
        int64_t v = VerdictOf(c);
        if (v == kNoVerdict)
            ++none;
        else if (v >= 0 && v <= 4 && v != 3)
            ++verdicts[v];
        else
            ++unknown;
    }
    std::string line =
        "Summary: " + std::to_string(m_cases.size()) + " test case(s): " + std::to_string(verdicts[kStatusPass]) +
        " pass, " + std::to_string(verdicts[kStatusFail]) + " fail, " + std::to_string(verdicts[kStatusNotApplicable]) +
        " not applicable, " + std::to_string(verdicts[kStatusNoRun]) + " no run";
    if (unknown) line += ", " + std::to_string(unknown) + " with an unknown status";
    if (none) line += ", " + std::to_string(none) + " without an outcome";
    const int results = m_pass + m_fail + m_na + m_noRun + m_other;
    line += "; " + std::to_string(results) + " result(s): " + std::to_string(m_pass) + " pass, " +
            std::to_string(m_fail) + " fail, " + std::to_string(m_na) + " not applicable, " + std::to_string(m_noRun) +
            " no run";
    if (m_other) line += ", " + std::to_string(m_other) + " with an unknown status";
    return line;
}

void Recorder::PrintSummary() {
    ClearProgress();
    std::printf("%s\n", SummaryLine().c_str());
    for (const TestCaseRecord& c : m_cases) {
        int64_t v = VerdictOf(c);
        if (v == kStatusPass) continue;
        std::string line = ListLine(c.commandLine, c.group, c.name);
        line.erase(line.find_last_not_of(' ') + 1);
        std::printf("%-5s %s\n", StatusName(v), line.c_str());
    }
}

// A test case is a JUnit failure when its verdict is Fail, an error when it is
// NoRun (or it has none), skipped when NotApplicable; NoRun and NA stay apart.
// The message is the actual text of its first result with that status.
bool Recorder::WriteJUnit(const std::string& path) const {
    std::ofstream out(host::PathOf(path), std::ios::binary);
    if (!out) return false;
    int failures = 0, errors = 0, skipped = 0;
    for (const TestCaseRecord& c : m_cases) {
        const int64_t verdict = VerdictOf(c);
        failures += verdict == kStatusFail;
        errors += verdict == kStatusNoRun || verdict == kNoVerdict;
        skipped += verdict == kStatusNotApplicable;
    }
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    out << "<testsuites><testsuite name=\"orbex\" tests=\"" << m_cases.size() << "\" failures=\"" << failures
        << "\" errors=\"" << errors << "\" skipped=\"" << skipped << "\">\n";
    for (const TestCaseRecord& c : m_cases) {
        out << "  <testcase classname=\"orbex\" name=\"" << Xml(c.commandLine) << "\">\n";
        const int64_t verdict = VerdictOf(c);
        std::string message = verdict == kNoVerdict ? "the test case did not return" : "returned without a report";
        for (const ResultRecord& r : c.results)
            if (!r.forwarded && r.status == verdict) {
                message = r.actual;
                break;
            }
        if (verdict == kStatusFail)
            out << "    <failure type=\"Fail\" message=\"" << Xml(message) << "\"/>\n";
        else if (verdict == kStatusNoRun || verdict == kNoVerdict)
            out << "    <error type=\"NoRun\" message=\"" << Xml(message) << "\"/>\n";
        else if (verdict == kStatusNotApplicable)
            out << "    <skipped message=\"NotApplicable: " << Xml(message) << "\"/>\n";
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
