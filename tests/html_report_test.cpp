// The HTML report read back as XML: every test case and failed result shown,
// the pictures where they belong, hostile texts escaped, nothing fetched.
#include "html_report.h"

#include <gtest/gtest.h>
#include <tinyxml2.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "html_text.h"
#include "ini/text_encoding.h"
#include "line21/line21.h"
#include "report_svg.h"

namespace orbex::harness {
namespace {

using tinyxml2::XMLElement;

// --- reading the page back ---------------------------------------------------

struct Page {
    std::string html;
    tinyxml2::XMLDocument doc;
    explicit Page(std::string text) : html(std::move(text)) { doc.Parse(html.c_str(), html.size()); }
};

void Walk(const XMLElement* e, const std::function<void(const XMLElement*)>& visit) {
    for (; e; e = e->NextSiblingElement()) {
        visit(e);
        Walk(e->FirstChildElement(), visit);
    }
}

bool HasClass(const XMLElement* e, const std::string& name) {
    const char* c = e->Attribute("class");
    if (!c) return false;
    const std::string classes = std::string(" ") + c + " ";
    return classes.find(" " + name + " ") != std::string::npos;
}

std::vector<const XMLElement*> All(const XMLElement* root, const std::string& tag, const std::string& cls = "") {
    std::vector<const XMLElement*> found;
    auto visit = [&](const XMLElement* e) {
        if (tag == e->Name() && (cls.empty() || HasClass(e, cls))) found.push_back(e);
    };
    visit(root);
    Walk(root->FirstChildElement(), visit);
    return found;
}
std::vector<const XMLElement*> All(const Page& page, const std::string& tag, const std::string& cls = "") {
    return All(page.doc.RootElement(), tag, cls);
}

std::string TextOf(const XMLElement* e) {
    std::string text;
    for (const tinyxml2::XMLNode* n = e->FirstChild(); n; n = n->NextSibling()) {
        if (n->ToText()) text += n->Value();
        if (n->ToElement()) text += TextOf(n->ToElement());
    }
    return text;
}

const XMLElement* Cell(const XMLElement* row, const std::string& cls) {
    auto cells = All(row, "td", cls);
    return cells.empty() ? nullptr : cells.front();
}

bool IsValidUtf8(const std::string& s) {
    for (size_t i = 0; i < s.size();) {
        const auto b = static_cast<unsigned char>(s[i]);
        const size_t n = b < 0x80 ? 1 : (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : (b >> 3) == 30 ? 4 : 0;
        if (n == 0 || i + n > s.size()) return false;
        for (size_t k = 1; k < n; ++k)
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
        i += n;
    }
    return true;
}

// --- records -----------------------------------------------------------------

TestCaseRecord Case(std::string commandLine, std::string name, std::string group, std::vector<ResultRecord> results) {
    TestCaseRecord c;
    c.commandLine = std::move(commandLine), c.name = std::move(name), c.group = std::move(group);
    c.results = std::move(results);
    c.returned = true, c.calls = 1, c.wallUs = 2500, c.virtualUs = 1500000;
    c.returnValue = c.results.empty() ? kStatusPass : c.results.back().status;
    return c;
}

OverlayPicture Overlay() {
    OverlayPicture o;
    o.surface = 1, o.width = 4, o.height = 4, o.columns = 4, o.rows = "PPEN";
    o.luma = {0, 7, 8, 255, 0, 7, 8, 255, 0, 0, 0, 0, 16, 16, 200, 200};
    return o;
}

HtmlReportInfo Info() {
    return {"Orbex run on reference",         "reference (built in)", "[Board]\nName=ref\n",
            "orbex-harness --board b.ini --", "2026-12-06 14:00:00",  "3 passed, 1 failed"};
}

// --- tests -------------------------------------------------------------------

TEST(HtmlText, EscapesMarkupKeepsUtf8AndShowsOtherBytesAsWindows1252) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"a<b>c", "a&lt;b&gt;c"},
        {"&", "&amp;"},
        {"\"'", "&quot;&#39;"},
        {"\t\n", "\t\n"},
        {"a\r\nb", "a\nb"},
        {"\r", "&#xFFFD;"},
        {std::string(1, '\0'), "&#xFFFD;"},
        {"\x01\x1F\x7F", "&#xFFFD;&#xFFFD;&#xFFFD;"},
        {"\x80", "&#x20AC;"},
        {"\x81\x8D\x8F\x90\x9D", "&#xFFFD;&#xFFFD;&#xFFFD;&#xFFFD;&#xFFFD;"},
        {"\x9F", "&#x178;"},
        {"\xA0\xFF", "&#xA0;&#xFF;"},
        {"\xC3\xA9", "\xC3\xA9"},
        {"\xF0\x9F\x98\x80", "\xF0\x9F\x98\x80"},
        {"\xC3", "&#xC3;"},                                      // cut at the end
        {"\xC3(", "&#xC3;("},                                    // not followed by a continuation byte
        {"\xC0\xAF", "&#xC0;&#xAF;"},                            // overlong
        {"\xED\xA0\x80", "&#xED;&#xA0;&#x20AC;"},                // surrogate
        {"\xF4\x90\x80\x80", "&#xF4;&#xFFFD;&#x20AC;&#x20AC;"},  // past U+10FFFF
        {"\xC2\x85", "&#xFFFD;"},                                // C1 control in UTF-8
        {"\xEF\xBF\xBF", "&#xFFFD;"},                            // not a character
    };
    for (const auto& [in, out] : cases) EXPECT_EQ(HtmlText(in), out) << "input " << ::testing::PrintToString(in);
}

TEST(HtmlText, ByteAboveAsciiShowsAsTheIniEnginesCodePage1252Character) {
    for (int b = 0x80; b <= 0xFF; ++b) {
        const std::string byte(1, static_cast<char>(b));
        std::string expected = ini::AnsiToText(byte);
        if (expected.size() == 2 && static_cast<unsigned char>(expected[0]) == 0xC2 &&
            static_cast<unsigned char>(expected[1]) < 0xA0)
            expected = "\xEF\xBF\xBD";  // the bytes code page 1252 leaves undefined
        Page page("<p>" + HtmlText(byte) + "</p>");
        ASSERT_EQ(page.doc.ErrorID(), tinyxml2::XML_SUCCESS);
        EXPECT_EQ(TextOf(page.doc.RootElement()), expected) << "byte " << b;
    }
}

class ReportOfARun : public ::testing::Test {
protected:
    std::vector<TestCaseRecord> cases;
    void SetUp() override {
        TestCaseRecord failed = Case("tc2200", "Output enable", "decoder",
                                     {{"1", kStatusPass, "Buffers cleared", "E1", "A1"},
                                      {"2", kStatusFail, "Buffer state", "Both buffers full", "Front buffer empty"}});
        failed.pictures = {{0, Overlay()}, {1, Overlay()}};
        failed.log = {{1, "CDecoder::Test_OutputEnable()> start"}, {2, "state 3"}};
        TestCaseRecord passed =
            Case("tc2200", "Output enable", "decoder", {{"1", kStatusPass, "Buffer state", "", ""}});
        passed.pictures = {{0, Overlay()}};
        TestCaseRecord na = Case("tc2203 7", "Horizontal lock", "decoder", {{"1", kStatusNotApplicable, "d", "", ""}});
        na.virtualUs = -1, na.wallUs = 999;
        TestCaseRecord none = Case("tc1100", "", "", {});
        none.returned = false, none.virtualUs = 10000000, none.wallUs = 1000;
        cases = {failed, passed, na, none};
    }
    Page Render() { return Page(HtmlReport(cases, Info())); }
};

TEST_F(ReportOfARun, ListsEveryTestCaseWithVerdictCommandLineDurationsAndReproduceLine) {
    Page page = Render();
    ASSERT_EQ(page.doc.ErrorID(), tinyxml2::XML_SUCCESS) << page.doc.ErrorStr();
    auto bodies = All(page, "tbody", "case");
    ASSERT_EQ(bodies.size(), 4u);
    const char* verdicts[] = {"FAIL", "PASS", "NA", "NONE"};
    const char* names[] = {"Output enable", "Output enable", "Horizontal lock", "\u2014"};
    const char* virtualTimes[] = {"1.500 s", "1.500 s", "\u2014", "10.000 s"};
    const char* wallTimes[] = {"2.500 ms", "2.500 ms", "999 \u00b5s", "1.000 ms"};
    for (size_t i = 0; i < bodies.size(); ++i) {
        const XMLElement* row = All(bodies[i], "tr", "case-row").at(0);
        EXPECT_STREQ(bodies[i]->Attribute("data-verdict"), verdicts[i]);
        EXPECT_EQ(TextOf(Cell(row, "verdict")), verdicts[i]);
        EXPECT_EQ(TextOf(Cell(row, "name")), names[i]);
        EXPECT_EQ(TextOf(Cell(row, "cmdline")), cases[i].commandLine);
        EXPECT_EQ(TextOf(Cell(row, "virtual")), virtualTimes[i]);
        EXPECT_EQ(TextOf(Cell(row, "wall")), wallTimes[i]);
        // Failed test cases open by themselves.
        EXPECT_EQ(All(bodies[i], "details").at(0)->Attribute("open") != nullptr, i == 0);
    }
    EXPECT_EQ(TextOf(All(bodies[2], "div", "reproduce").at(0)), "reproduce: orbex-harness --board b.ini -- 'tc2203 7'");
    EXPECT_EQ(TextOf(All(bodies[2], "p", "return").at(0)), "OrbexEntry returned 1 (NA)");
    EXPECT_EQ(TextOf(All(bodies[3], "p", "return").at(0)), "OrbexEntry did not return");

    // Counts per verdict, the filters offered, the heading and the board.
    std::map<std::string, std::string> counts;
    for (const XMLElement* li : All(page, "li"))
        if (li->Attribute("data-verdict")) counts[li->Attribute("data-verdict")] = TextOf(li);
    EXPECT_EQ(counts,
              (std::map<std::string, std::string>{
                  {"PASS", "PASS 1"}, {"FAIL", "FAIL 1"}, {"NA", "NA 1"}, {"NORUN", "NORUN 0"}, {"NONE", "NONE 1"}}));
    std::vector<std::string> filters;
    for (const XMLElement* input : All(page, "input")) filters.push_back(input->Attribute("data-verdict"));
    EXPECT_EQ(filters, (std::vector<std::string>{"PASS", "FAIL", "NA", "NONE"}));
    auto options = All(page, "option");
    ASSERT_EQ(options.size(), 2u);  // all, decoder
    EXPECT_STREQ(options[1]->Attribute("value"), "decoder");
    EXPECT_EQ(TextOf(All(page, "h1").at(0)), "Orbex run on reference");
    EXPECT_EQ(TextOf(All(page, "p", "summary").at(0)), "3 passed, 1 failed");
    EXPECT_EQ(TextOf(All(page, "p", "board-name").at(0)), "reference (built in)");
    EXPECT_EQ(TextOf(All(page, "pre", "board-text").at(0)), "[Board]\nName=ref\n");
}

TEST_F(ReportOfARun, ShowsEveryResultAndTheLog) {
    Page page = Render();
    auto rows = All(All(page, "tbody", "case").at(0), "tr", "result");
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(TextOf(Cell(rows[1], "status")), "FAIL");
    EXPECT_EQ(TextOf(Cell(rows[1], "step")), "2");
    EXPECT_EQ(TextOf(Cell(rows[1], "desc")), "Buffer state");
    EXPECT_EQ(TextOf(Cell(rows[1], "expected")), "Both buffers full");
    EXPECT_EQ(TextOf(Cell(rows[1], "actual")), "Front buffer empty");
    EXPECT_EQ(TextOf(Cell(rows[0], "status")), "PASS");
    EXPECT_EQ(TextOf(All(page, "pre", "log").at(0)), "1 CDecoder::Test_OutputEnable()> start\n2 state 3\n");
}

TEST_F(ReportOfARun, DrawsOverlayBuffersOnlyBeforeTheFailedResultsOfAFailedTestCase) {
    Page page = Render();
    auto bodies = All(page, "tbody", "case");
    auto overlays = All(bodies[0], "svg", "overlay");
    ASSERT_EQ(overlays.size(), 1u);
    // In the row just before the failed result.
    const XMLElement* pictureRow = overlays[0]->Parent()->Parent()->ToElement();
    ASSERT_TRUE(HasClass(pictureRow, "picture"));
    EXPECT_EQ(TextOf(Cell(pictureRow->NextSiblingElement(), "status")), "FAIL");
    EXPECT_EQ(TextOf(All(bodies[0], "p", "picture-note").at(0)),
              "1 of 2 overlay buffers drawn (those read before a failed result, at most 4). ");
    EXPECT_TRUE(All(bodies[1], "svg", "overlay").empty());
    EXPECT_TRUE(All(bodies[1], "p", "picture-note").empty());
}

TEST(OverlaySvg, QuantizesToRunsOfEqualGreyAndCountsTheRows) {
    Page page(OverlaySvg(Overlay()));
    ASSERT_EQ(page.doc.ErrorID(), tinyxml2::XML_SUCCESS);
    // Rows 0 and 1 alike: one band of 3 runs (0 and 7 are one grey); row 2 one
    // run; row 3 two.
    auto cells = All(All(page, "g").at(0), "rect");
    std::vector<std::string> fills, heights, widths;
    for (auto* r : cells)
        fills.push_back(r->Attribute("fill")), widths.push_back(r->Attribute("width")),
            heights.push_back(r->Attribute("height"));
    EXPECT_EQ(fills, (std::vector<std::string>{"#000000", "#080808", "#ffffff", "#000000", "#101010", "#cdcdcd"}));
    EXPECT_EQ(widths, (std::vector<std::string>{"192.00", "96.00", "96.00", "384.00", "192.00", "192.00"}));
    EXPECT_EQ(heights, (std::vector<std::string>{"192.00", "192.00", "192.00", "96.00", "96.00", "96.00"}));
    EXPECT_EQ(All(page, "rect", "rows-P").size(), 1u);  // one run of picture rows
    EXPECT_STREQ(All(page, "rect", "rows-P").at(0)->Attribute("height"), "192.00");
    EXPECT_EQ(All(page, "rect", "rows-E").size(), 1u);
    EXPECT_EQ(All(page, "rect", "rows-N").size(), 1u);
    EXPECT_EQ(TextOf(All(page, "text", "row-counts").at(0)), "rows: 2 picture, 1 empty, 1 noise");
}

TEST(OverlaySvg, ShortLumaDrawsOnlyTheRowsItHolds) {
    OverlayPicture o = Overlay();
    o.luma.resize(6);  // one whole row
    Page page(OverlaySvg(o));
    ASSERT_EQ(page.doc.ErrorID(), tinyxml2::XML_SUCCESS);
    EXPECT_EQ(All(All(page, "g").at(0), "rect").size(), 3u);
    EXPECT_EQ(TextOf(All(page, "text", "row-counts").at(0)), "rows: 2 picture, 1 empty, 1 noise; luma of 1 of 4 rows");
}

TEST(OverlaySvg, LargeNoisyBufferStaysSmall) {
    OverlayPicture o;
    o.surface = 2, o.width = 640, o.height = 480, o.columns = 160, o.rows = std::string(480, 'N');
    for (int i = 0; i < 480 * 160; ++i) o.luma.push_back(static_cast<uint8_t>(i * 97 % 251));
    const std::string svg = OverlaySvg(o);
    Page page(svg);
    ASSERT_EQ(page.doc.ErrorID(), tinyxml2::XML_SUCCESS);
    // Every tenth row drawn (at most 8192 samples), each sample a rect of its own.
    EXPECT_EQ(All(All(page, "g").at(0), "rect").size(), 48u * 160u);
    EXPECT_LT(svg.size(), 600'000u);
    EXPECT_EQ(TextOf(All(page, "text", "row-counts").at(0)), "rows: 0 picture, 0 empty, 480 noise");
}

TEST(Report, CaptionRunDrawsTheFirstAndLastLinesAsDecoded) {
    const line21::SamplingFormat& f = line21::kFormat8Fsc;
    TestCaseRecord c = Case("-g 2 -d 11 -t 1", "Closed captions", "vbi", {{"1", kStatusPass, "Captions", "", ""}});
    for (int i = 0; i < 6; ++i) {
        VbiLinePicture v{21, 28636363, 7500, 16, 126, std::vector<uint8_t>(f.samples, 16)};
        if (i == 5) line21::EncodeLine('H', 'i', f, {}, v.samples.data());
        c.pictures.push_back({0, v});
    }
    Page page(HtmlReport({c}, Info()));
    ASSERT_EQ(page.doc.ErrorID(), tinyxml2::XML_SUCCESS) << page.doc.ErrorStr();
    auto lines = All(page, "svg", "vbi-line");
    ASSERT_EQ(lines.size(), 4u);
    std::vector<std::string> titles;
    for (auto* svg : lines) titles.push_back(TextOf(svg->FirstChildElement("text")));
    EXPECT_EQ(titles, (std::vector<std::string>{"line 21, capture 1 of 6", "line 21, capture 2 of 6",
                                                "line 21, capture 5 of 6", "line 21, capture 6 of 6"}));
    EXPECT_NE(TextOf(lines[3]).find("decoded 'H' 0x48, 'i' 0x69"), std::string::npos);
    EXPECT_NE(TextOf(lines[0]).find("no captions"), std::string::npos);
    EXPECT_EQ(TextOf(All(page, "p", "picture-note").at(0)), "6 line-21 captures; drawn: the first 2 and the last 2. ");
}

TEST(FrameIntervalsSvg, BandIsTheIntervalsOfRatesWithin15PercentOfTheSetRate) {
    // 33367 us: 29014.8 to 39255.3 us.
    Page page(FrameIntervalsSvg({33367, {33366, 33368, 29014, 29015, 39255, 39256, 40000}}));
    ASSERT_EQ(page.doc.ErrorID(), tinyxml2::XML_SUCCESS);
    auto band = All(page, "rect", "band");
    ASSERT_EQ(band.size(), 1u);
    EXPECT_STREQ(band[0]->Attribute("data-low-us"), "29014.8");
    EXPECT_STREQ(band[0]->Attribute("data-high-us"), "39255.3");
    const double top = band[0]->DoubleAttribute("y"), bottom = top + band[0]->DoubleAttribute("height");
    const double setY = All(page, "line", "set").at(0)->DoubleAttribute("y1");
    EXPECT_LT(top, setY);
    EXPECT_LT(setY, bottom);
    auto outside = All(page, "circle", "outside");
    ASSERT_EQ(outside.size(), 3u);  // 29014, 39256, 40000
    EXPECT_GT(outside[0]->DoubleAttribute("cy"), bottom);
    EXPECT_LT(outside[1]->DoubleAttribute("cy"), top);
    EXPECT_EQ(All(page, "circle", "interval").size(), 4u);
    EXPECT_EQ(
        TextOf(All(page, "text", "interval-summary").at(0)),
        "7 intervals, mean 34753 \u00b5s (28.77 frames/s); set 33367 \u00b5s, band 29015 to 39255 \u00b5s: 4 inside");
}

TEST(FrameIntervalsSvg, ExtremeValuesKeepTheDrawingWhole) {
    const int64_t huge = INT64_MAX / 2;
    Page page(FrameIntervalsSvg({huge, {-huge, 0, huge}}));
    ASSERT_EQ(page.doc.ErrorID(), tinyxml2::XML_SUCCESS);
    EXPECT_EQ(All(page, "rect", "band").size(), 1u);
    EXPECT_EQ(All(page, "circle").size(), 3u);
}

TEST(VbiLineSvg, FormatsThatCannotBeDecodedAreDrawnAndSaySo) {
    const std::vector<uint8_t> samples(1600, 16);
    const std::vector<VbiLinePicture> odd = {{21, 1, 7500, 16, 126, samples},
                                             {21, 1'000'000'000'000, -5'000'000, 16, 126, samples},
                                             {21, 28636363, 7500, 300, -4, samples},
                                             {21, 28636363, 7500, 16, 126, {}},
                                             {21, 0, 7500, 16, 126, samples}};
    for (const VbiLinePicture& v : odd) {
        Page page(VbiLineSvg(v, "odd"));
        ASSERT_EQ(page.doc.ErrorID(), tinyxml2::XML_SUCCESS);
        const std::string text = TextOf(page.doc.RootElement());
        EXPECT_TRUE(text.find("no captions") != std::string::npos || text.find("odd: no sampl") != std::string::npos)
            << text;
    }
}

TEST(FrameIntervalsSvg, UnknownSetIntervalHasNoBand) {
    Page page(FrameIntervalsSvg({0, {33366, 50000}}));
    ASSERT_EQ(page.doc.ErrorID(), tinyxml2::XML_SUCCESS);
    EXPECT_TRUE(All(page, "rect", "band").empty());
    EXPECT_TRUE(All(page, "line", "set").empty());
    EXPECT_EQ(All(page, "circle", "interval").size(), 2u);
    EXPECT_EQ(TextOf(All(page, "text", "interval-summary").at(0)),
              "2 intervals, mean 41683 \u00b5s (23.99 frames/s); set interval not known");
}

TEST(Report, ChannelScanShowsEveryChannelAndTheLockedOnes) {
    ChannelScanPicture scan;
    for (int n = 2; n <= 13; ++n) scan.channels.push_back({n, n == 4 || n == 7 || n == 13});
    TestCaseRecord c = Case("tc2110", "Linear channel scan", "tuner", {{"1", kStatusPass, "Scan", "", ""}});
    c.pictures = {{1, scan}};  // after the last result: the test case's picture
    Page page(HtmlReport({c}, Info()));
    ASSERT_EQ(page.doc.ErrorID(), tinyxml2::XML_SUCCESS);
    auto svgs = All(page, "svg", "channel-scan");
    ASSERT_EQ(svgs.size(), 1u);
    EXPECT_TRUE(HasClass(svgs[0]->Parent()->ToElement(), "picture"));
    EXPECT_EQ(All(svgs[0], "rect", "channel").size(), 12u);
    std::vector<std::string> locked;
    for (auto* r : All(svgs[0], "rect", "locked")) locked.push_back(r->Attribute("data-channel"));
    EXPECT_EQ(locked, (std::vector<std::string>{"4", "7", "13"}));
    EXPECT_EQ(TextOf(All(svgs[0], "text", "scan-summary").at(0)), "channel scan: 12 channels, 3 locked");
}

TEST(ChannelScanSvg, ManyChannelsLabelEveryFewAndTheLast) {
    ChannelScanPicture scan;
    for (int n = 2; n <= 71; ++n) scan.channels.push_back({n, false});
    Page page(ChannelScanSvg(scan));
    ASSERT_EQ(page.doc.ErrorID(), tinyxml2::XML_SUCCESS);
    std::string labels;
    for (auto* t : All(page, "text"))
        if (t->Attribute("text-anchor")) labels += TextOf(t) + " ";
    // 70 cells of 12.6 px: every third channel, the last three cells after the one before.
    EXPECT_EQ(labels, "2 5 8 11 14 17 20 23 26 29 32 35 38 41 44 47 50 53 56 59 62 65 68 71 ");
    EXPECT_EQ(TextOf(All(page, "text", "scan-summary").at(0)), "channel scan: 70 channels, 0 locked");
}

TEST(Report, HostileTextsAreEscapedAndTheDocumentStaysWellFormed) {
    const std::string hostile = "<script>alert('x')</script> & \"q\" \x01\x80\xFF]]>";
    const std::string shown = "<script>alert('x')</script> & \"q\" \xEF\xBF\xBD\xE2\x82\xAC\xC3\xBF]]>";
    TestCaseRecord c = Case("tc" + hostile, hostile, hostile, {{hostile, kStatusFail, hostile, hostile, hostile}});
    c.log = {{1, hostile}};
    c.notes = {hostile};
    HtmlReportInfo info = Info();
    info.title = info.boardName = info.boardText = info.summary = info.startedAt = hostile;
    Page page(HtmlReport({c}, info));
    ASSERT_EQ(page.doc.ErrorID(), tinyxml2::XML_SUCCESS) << page.doc.ErrorStr();
    EXPECT_TRUE(IsValidUtf8(page.html));
    EXPECT_EQ(page.html.find('\x01'), std::string::npos);
    EXPECT_EQ(All(page, "script").size(), 1u);  // the report's own
    const XMLElement* row = All(page, "tr", "result").at(0);
    for (const char* cls : {"step", "desc", "expected", "actual"}) EXPECT_EQ(TextOf(Cell(row, cls)), shown) << cls;
    const XMLElement* caseRow = All(page, "tr", "case-row").at(0);
    EXPECT_EQ(TextOf(Cell(caseRow, "name")), shown);
    EXPECT_EQ(TextOf(Cell(caseRow, "cmdline")), "tc" + shown);
    EXPECT_EQ(All(page, "tbody", "case").at(0)->Attribute("data-group"), shown);
    EXPECT_EQ(TextOf(All(page, "h1").at(0)), shown);
    EXPECT_EQ(TextOf(All(page, "pre", "board-text").at(0)), shown);
    EXPECT_EQ(TextOf(All(page, "pre", "log").at(0)), "1 " + shown + "\n");
    EXPECT_EQ(TextOf(All(page, "ul", "notes").at(0)), shown);
}

TEST(Report, ReferencesNothingOutsideTheFile) {
    TestCaseRecord c = Case("tc2200", "Output enable", "decoder", {{"1", kStatusFail, "d", "e", "a"}});
    ChannelScanPicture scan{{{25, true}}};
    VbiLinePicture vbi{21, 28636363, 7500, 16, 126, std::vector<uint8_t>(1600, 16)};
    c.pictures = {{0, Overlay()}, {0, vbi}, {0, FrameIntervals{33367, {33367}}}, {0, scan}};
    Page page(HtmlReport({c}, Info()));
    ASSERT_EQ(page.doc.ErrorID(), tinyxml2::XML_SUCCESS);
    ASSERT_EQ(All(page, "svg").size(), 4u);
    Walk(page.doc.RootElement(), [](const XMLElement* e) {
        for (const char* tag : {"link", "img", "iframe", "object", "embed", "image", "use"})
            EXPECT_STRNE(e->Name(), tag);
        for (const char* name : {"src", "href", "xlink:href", "action", "data"})
            if (const char* value = e->Attribute(name)) {
                EXPECT_TRUE(value[0] == '#' || std::string(value).rfind("data:", 0) == 0) << name << "=" << value;
            }
    });
    EXPECT_EQ(page.html.find("@import"), std::string::npos);
    for (size_t at = page.html.find("url("); at != std::string::npos; at = page.html.find("url(", at + 1))
        EXPECT_TRUE(page.html.compare(at + 4, 1, "#") == 0 || page.html.compare(at + 4, 5, "data:") == 0);
}

}  // namespace
}  // namespace orbex::harness
