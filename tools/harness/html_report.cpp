#include "html_report.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <variant>

#include "common/format.h"
#include "html_text.h"
#include "platform/host/quoting.h"
#include "report_svg.h"

namespace orbex::harness {
namespace {

// Line-21 captures drawn per test case: the first and the last few (a caption
// run tunes channel after channel until one carries captions).
constexpr size_t kVbiFirstDrawn = 2, kVbiLastDrawn = 2;
// Overlay buffers drawn per failed test case.
constexpr size_t kMaxOverlaysDrawn = 4;
// A test case with more results shows the first kFailedShown failed results,
// the first kOthersShown others and its closing report, and says how many it
// left out; its log shows the first and the last lines likewise. (The video
// size test of a board that fails every size reports tens of thousands.)
constexpr size_t kFailedShown = 150, kOthersShown = 50;
constexpr size_t kLogFirstShown = 300, kLogLastShown = 100;

constexpr const char* kStyle = R"(
body { font-family: sans-serif; font-size: 14px; margin: 1em 2em; color: #222222; }
table { border-collapse: collapse; }
th, td { border: 1px solid #cccccc; padding: 2px 6px; text-align: left; vertical-align: top; }
td.cmdline code, .reproduce code { white-space: pre-wrap; }
td.desc, td.expected, td.actual { white-space: pre-wrap; }
[data-verdict="PASS"] td.verdict, td[data-status="PASS"] { background: #d7f0d8; }
[data-verdict="FAIL"] td.verdict, td[data-status="FAIL"] { background: #f7d0cd; }
[data-verdict="NA"] td.verdict, td[data-status="NA"] { background: #e4e4e4; }
[data-verdict="NORUN"] td.verdict, td[data-status="NORUN"] { background: #fbe7b5; }
[data-verdict="NONE"] td.verdict { background: #d9c7ef; }
tr.case-detail td { border-top: none; background: #fafafa; }
.reproduce { font-size: 12px; color: #555555; }
pre.log { font-size: 12px; background: #f3f3f3; padding: 4px; white-space: pre-wrap; }
ul.counts { list-style: none; padding: 0; }
ul.counts li { display: inline-block; margin-right: 1.5em; }
svg { max-width: 100%; height: auto; display: block; margin: 4px 0; }
[hidden] { display: none; }
)";

// Shows the filters and hides the test cases they leave out. Written without
// the characters that mean markup in XML, so that the page stays well-formed.
constexpr const char* kScript = R"(
(function () {
  var box = document.getElementById('filters');
  box.hidden = false;
  function apply() {
    var shown = {};
    box.querySelectorAll('input[data-verdict]').forEach(function (c) { shown[c.getAttribute('data-verdict')] = c.checked; });
    var group = document.getElementById('group-filter').value;
    document.querySelectorAll('tbody.case').forEach(function (b) {
      var verdictShown = shown[b.getAttribute('data-verdict')] !== false;
      b.hidden = !(verdictShown ? (group === '' ? true : b.getAttribute('data-group') === group) : false);
    });
  }
  box.addEventListener('change', apply);
})();
)";

const char* kVerdictOrder[] = {"PASS", "FAIL", "NA", "NORUN", "NONE"};

std::string Duration(int64_t us) {
    if (us < 0) return "&#8212;";
    if (us < 1000) return Format("%lld &#181;s", static_cast<long long>(us));
    if (us < 1000000) return Format("%.3f ms", double(us) / 1e3);
    return Format("%.3f s", double(us) / 1e6);
}

std::string ReproduceLine(const HtmlReportInfo& info, const TestCaseRecord& c) {
    return info.reproducePrefix + " " + host::QuotedForShell(c.commandLine);
}

// Whether the result a picture precedes failed; forwarded log lines between
// are passed over to the result they announce.
bool ResultFailed(const TestCaseRecord& c, size_t beforeResult) {
    while (beforeResult < c.results.size() && c.results[beforeResult].forwarded) ++beforeResult;
    return beforeResult >= c.results.size() || c.results[beforeResult].status == kStatusFail;
}

// Which pictures of a test case are drawn, and a line on those left out.
// Overlay buffers only in a failed test case, and there those read before a
// failed result (or after the last result); line-21 captures the first and
// the last few; the other pictures always.
std::vector<bool> DrawnPictures(const TestCaseRecord& c, int64_t verdict, std::string& note) {
    std::vector<bool> drawn(c.pictures.size(), true);
    std::vector<size_t> vbi;
    size_t overlays = 0, overlaysDrawn = 0;
    for (size_t i = 0; i < c.pictures.size(); ++i) {
        const Picture& p = c.pictures[i];
        if (std::holds_alternative<VbiLinePicture>(p.data)) vbi.push_back(i);
        if (!std::holds_alternative<OverlayPicture>(p.data)) continue;
        ++overlays;
        drawn[i] = verdict == kStatusFail && ResultFailed(c, p.beforeResult) && overlaysDrawn < kMaxOverlaysDrawn;
        overlaysDrawn += drawn[i];
    }
    if (overlays > overlaysDrawn && verdict == kStatusFail)
        note += Format("%zu of %zu overlay buffers drawn (those read before a failed result, at most %zu). ",
                       overlaysDrawn, overlays, kMaxOverlaysDrawn);
    if (vbi.size() > kVbiFirstDrawn + kVbiLastDrawn) {
        for (size_t k = kVbiFirstDrawn; k < vbi.size() - kVbiLastDrawn; ++k) drawn[vbi[k]] = false;
        note += Format("%zu line-21 captures; drawn: the first %zu and the last %zu. ", vbi.size(), kVbiFirstDrawn,
                       kVbiLastDrawn);
    }
    return drawn;
}

std::string PictureSvg(const Picture& p, size_t vbiNumber, size_t vbiCount) {
    if (const auto* o = std::get_if<OverlayPicture>(&p.data)) return OverlaySvg(*o);
    if (const auto* v = std::get_if<VbiLinePicture>(&p.data))
        return VbiLineSvg(
            *v, Format("line %lld, capture %zu of %zu", static_cast<long long>(v->line), vbiNumber, vbiCount));
    if (const auto* f = std::get_if<FrameIntervals>(&p.data)) return FrameIntervalsSvg(*f);
    return ChannelScanSvg(std::get<ChannelScanPicture>(p.data));
}

// Which results a test case shows: all when they are few; otherwise its
// failed results and others up to their limits, and always its last report.
std::vector<bool> ShownResults(const TestCaseRecord& c) {
    std::vector<bool> shown(c.results.size(), true);
    if (c.results.size() <= kFailedShown + kOthersShown) return shown;
    size_t failed = 0, others = 0;
    for (size_t i = 0; i < c.results.size(); ++i) {
        const ResultRecord& r = c.results[i];
        const bool fail = !r.forwarded && r.status == kStatusFail;
        shown[i] = fail ? failed++ < kFailedShown : others++ < kOthersShown;
    }
    shown.back() = true;
    return shown;
}

void AppendResultRow(std::string& out, const ResultRecord& r) {
    // A forwarded log line is shown as the log line it is.
    const std::string status = r.forwarded ? "LOG" : StatusName(r.status);
    out += "<tr class=\"result\"><td class=\"status\" data-status=\"" + status + "\">" + status + "</td>";
    out += "<td class=\"step\">" + HtmlText(r.step) + "</td>";
    out += "<td class=\"desc\">" + HtmlText(r.description) + "</td>";
    out += "<td class=\"expected\">" + HtmlText(r.expected) + "</td>";
    out += "<td class=\"actual\">" + HtmlText(r.actual) + "</td></tr>\n";
}

void AppendDetails(std::string& out, const TestCaseRecord& c, int64_t verdict) {
    std::string note;
    const std::vector<bool> drawn = DrawnPictures(c, verdict, note);
    size_t results = 0, failed = 0, vbiCount = 0;
    for (const ResultRecord& r : c.results) {
        results += !r.forwarded;
        failed += !r.forwarded && r.status == kStatusFail;
    }
    for (const Picture& p : c.pictures) vbiCount += std::holds_alternative<VbiLinePicture>(p.data);
    size_t drawnCount = 0;
    for (bool d : drawn) drawnCount += d;

    out += verdict == kStatusFail ? "<details open=\"open\">" : "<details>";
    out += Format("<summary>%zu results, %zu failed; %zu log lines; %zu pictures</summary>\n", results, failed,
                  c.log.size(), drawnCount);
    out += "<p class=\"return\">";
    if (c.returned)
        out +=
            Format("OrbexEntry returned %lld (%s)", static_cast<long long>(c.returnValue), StatusName(c.returnValue));
    else
        out += "OrbexEntry did not return";
    if (c.calls > 1) out += Format(" after %lld calls (the steps of a stream run)", static_cast<long long>(c.calls));
    out += "</p>\n";
    if (!c.notes.empty()) {
        out += "<ul class=\"notes\">";
        for (const std::string& n : c.notes) out += "<li>" + HtmlText(n) + "</li>";
        out += "</ul>\n";
    }
    if (!note.empty()) out += "<p class=\"picture-note\">" + note + "</p>\n";

    // Pictures in the order they came, each before the result it preceded.
    size_t next = 0, vbiNumber = 0;
    auto appendPictures = [&](size_t beforeResult, bool inTable) {
        for (; next < c.pictures.size() && (c.pictures[next].beforeResult <= beforeResult); ++next) {
            const Picture& p = c.pictures[next];
            vbiNumber += std::holds_alternative<VbiLinePicture>(p.data);
            if (!drawn[next]) continue;
            const std::string svg = PictureSvg(p, vbiNumber, vbiCount);
            out += inTable ? "<tr class=\"picture\"><td colspan=\"5\">" + svg + "</td></tr>\n"
                           : "<div class=\"picture\">" + svg + "</div>\n";
        }
    };
    if (!c.results.empty()) {
        out +=
            "<table class=\"results\"><thead><tr><th>status</th><th>step</th><th>description</th>"
            "<th>expected</th><th>actual</th></tr></thead><tbody>\n";
        const std::vector<bool> shown = ShownResults(c);
        size_t left = 0;
        for (size_t i = 0; i < c.results.size(); ++i) {
            appendPictures(i, true);
            if (shown[i])
                AppendResultRow(out, c.results[i]);
            else
                ++left;
        }
        out += "</tbody></table>\n";
        if (left)
            out += Format(
                "<p class=\"left-out\">%zu of %zu reports not shown here (the JUnit file and the JSON stream "
                "hold them all).</p>\n",
                left, c.results.size());
    } else {
        out += "<p class=\"no-results\">no results reported</p>\n";
    }
    appendPictures(SIZE_MAX, false);

    if (!c.log.empty()) {
        out += "<pre class=\"log\">";
        const size_t n = c.log.size();
        for (size_t i = 0; i < n; ++i) {
            if (i == kLogFirstShown && n > kLogFirstShown + kLogLastShown) {
                out += Format("&#8230; %zu lines left out &#8230;\n", n - kLogFirstShown - kLogLastShown);
                i = n - kLogLastShown;
            }
            out += Format("%lld ", static_cast<long long>(c.log[i].level)) + HtmlText(c.log[i].text) + "\n";
        }
        out += "</pre>\n";
    }
    out += "</details>\n";
}

void AppendCase(std::string& out, const TestCaseRecord& c, const HtmlReportInfo& info) {
    const int64_t verdict = VerdictOf(c);
    const std::string verdictName = StatusName(verdict);
    out += "<tbody class=\"case\" data-verdict=\"" + verdictName + "\" data-group=\"" + HtmlText(c.group) + "\">\n";
    out += "<tr class=\"case-row\"><td class=\"verdict\">" + verdictName + "</td>";
    out += "<td class=\"name\">" + (c.name.empty() ? std::string("&#8212;") : HtmlText(c.name)) + "</td>";
    out += "<td class=\"group\">" + HtmlText(c.group) + "</td>";
    out += "<td class=\"cmdline\"><code>" + HtmlText(c.commandLine) + "</code></td>";
    out += "<td class=\"virtual\">" + Duration(c.virtualUs) + "</td>";
    out += "<td class=\"wall\">" + Duration(c.wallUs) + "</td></tr>\n";
    out += "<tr class=\"case-detail\"><td colspan=\"6\"><div class=\"reproduce\">reproduce: <code>" +
           HtmlText(ReproduceLine(info, c)) + "</code></div>\n";
    AppendDetails(out, c, verdict);
    out += "</td></tr>\n</tbody>\n";
}

void AppendCountsAndFilters(std::string& out, const std::vector<TestCaseRecord>& cases) {
    std::map<std::string, size_t> counts;
    std::vector<std::string> groups;
    for (const TestCaseRecord& c : cases) {
        ++counts[StatusName(VerdictOf(c))];
        if (!c.group.empty() && std::find(groups.begin(), groups.end(), c.group) == groups.end())
            groups.push_back(c.group);
    }
    std::vector<std::string> verdicts(std::begin(kVerdictOrder), std::end(kVerdictOrder));
    for (const auto& [name, count] : counts)
        if (std::find(verdicts.begin(), verdicts.end(), name) == verdicts.end()) verdicts.push_back(name);

    out += Format("<ul class=\"counts\"><li>test cases <span class=\"count\">%zu</span></li>", cases.size());
    for (const std::string& v : verdicts)
        out += "<li data-verdict=\"" + v + "\">" + v + " <span class=\"count\">" +
               Format("%zu", counts.count(v) ? counts[v] : 0) + "</span></li>";
    out += "</ul>\n";

    // Shown by the script; without scripts every test case is listed.
    out += "<form id=\"filters\" hidden=\"hidden\"><fieldset><legend>show</legend>";
    for (const std::string& v : verdicts)
        if (counts.count(v))
            out +=
                "<label><input type=\"checkbox\" checked=\"checked\" data-verdict=\"" + v + "\"/> " + v + "</label> ";
    out += "<label>group <select id=\"group-filter\"><option value=\"\">all</option>";
    for (const std::string& g : groups) out += "<option value=\"" + HtmlText(g) + "\">" + HtmlText(g) + "</option>";
    out += "</select></label></fieldset></form>\n";
}

}  // namespace

std::string HtmlReport(const std::vector<TestCaseRecord>& cases, const HtmlReportInfo& info) {
    std::string out =
        "<!DOCTYPE html>\n<html xmlns=\"http://www.w3.org/1999/xhtml\" lang=\"en\">\n<head>\n"
        "<meta charset=\"utf-8\"/>\n<title>" +
        HtmlText(info.title) + "</title>\n<style>/*<![CDATA[*/" + kStyle + "/*]]>*/</style>\n</head>\n<body>\n";
    out += "<h1>" + HtmlText(info.title) + "</h1>\n";
    out += "<p class=\"summary\">" + HtmlText(info.summary) + "</p>\n";
    out += "<p class=\"started\">started " + HtmlText(info.startedAt) + "</p>\n";
    AppendCountsAndFilters(out, cases);

    out +=
        "<table id=\"cases\"><thead><tr><th>verdict</th><th>name</th><th>group</th><th>command line</th>"
        "<th>virtual time</th><th>wall time</th></tr></thead>\n";
    for (const TestCaseRecord& c : cases) AppendCase(out, c, info);
    out += "</table>\n";

    out += "<h2>Board profile</h2>\n<p class=\"board-name\">" + HtmlText(info.boardName) + "</p>\n";
    out += "<details class=\"board\"><summary>profile text</summary><pre class=\"board-text\">" +
           (info.boardText.empty() ? std::string("(no profile text)") : HtmlText(info.boardText)) +
           "</pre></details>\n";
    out += std::string("<script>//<![CDATA[") + kScript + "//]]></script>\n</body>\n</html>\n";
    return out;
}

}  // namespace orbex::harness
