#include "report_svg.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "common/format.h"
#include "html_text.h"
#include "line21/line21.h"
#include "line21_svg.h"

namespace orbex::harness {
namespace {

std::string SvgOpen(double width, double height, const char* kind) {
    return Format(
        "<svg xmlns=\"http://www.w3.org/2000/svg\" class=\"%s\" width=\"%.0f\" height=\"%.0f\" "
        "viewBox=\"0 0 %.0f %.0f\" font-family=\"sans-serif\" font-size=\"12\">\n",
        kind, width, height, width, height);
}

std::string Text(double x, double y, const std::string& escapedText, const char* extra = "") {
    return Format("<text x=\"%.1f\" y=\"%.1f\"%s>", x, y, extra) + escapedText + "</text>\n";
}

// --- overlay buffer ---------------------------------------------------------

constexpr double kOverlayWidth = 384;  // drawn width of the picture
constexpr int64_t kMaxDrawnRows = 256;
constexpr int64_t kMaxDrawnSamples = 8192;  // a noise picture is a rect a sample: this keeps it near 500 KB

uint8_t Grey(uint8_t luma) {
    const unsigned level = luma >> 3;  // 32 levels
    return static_cast<uint8_t>(level * 255 / 31);
}

const char* RowColour(char kind) {
    switch (kind) {
        case 'P': return "#2e7d32";
        case 'E': return "#9e9e9e";
        case 'N': return "#c62828";
        default: return "#000000";
    }
}

}  // namespace

std::string OverlaySvg(const OverlayPicture& p) {
    const int64_t columns = std::max<int64_t>(p.columns, 0);
    const int64_t height = std::max<int64_t>(p.height, 0);
    // Rows whose samples are all there.
    const int64_t rowsWithLuma = columns > 0 ? std::min<int64_t>(height, int64_t(p.luma.size()) / columns) : 0;
    const double ratio = p.width > 0 && height > 0 ? double(height) / double(p.width) : 0.75;
    const double pictureH = std::clamp(kOverlayWidth * ratio, 32.0, 512.0);
    const double left = 10, top = 24, stripX = left + kOverlayWidth + 8, stripW = 14;
    const double totalW = stripX + stripW + 150, totalH = top + pictureH + 40;

    std::string svg = SvgOpen(totalW, totalH, "overlay");
    svg +=
        Text(left, 16,
             Format("surface %lld: %lld x %lld, luma of %lld columns a row", static_cast<long long>(p.surface),
                    static_cast<long long>(p.width), static_cast<long long>(height), static_cast<long long>(columns)));
    svg += Format("<rect x=\"%.1f\" y=\"%.1f\" width=\"%.1f\" height=\"%.1f\" fill=\"#ffffff\" stroke=\"#999999\"/>\n",
                  left, top, kOverlayWidth, pictureH);

    // Bands of rows drawn from one sampled row: every stride-th row, merged
    // with the next band when its greys are the same.
    if (rowsWithLuma > 0) {
        const double cellW = kOverlayWidth / double(columns), rowH = pictureH / double(height);
        const int64_t stride = std::max((rowsWithLuma + kMaxDrawnRows - 1) / kMaxDrawnRows,
                                        (rowsWithLuma * columns + kMaxDrawnSamples - 1) / kMaxDrawnSamples);
        auto sameGreys = [&](int64_t a, int64_t b) {
            for (int64_t c = 0; c < columns; ++c)
                if (Grey(p.luma[size_t(a * columns + c)]) != Grey(p.luma[size_t(b * columns + c)])) return false;
            return true;
        };
        svg += "<g shape-rendering=\"crispEdges\">\n";
        for (int64_t r = 0; r < rowsWithLuma;) {
            int64_t end = std::min(r + stride, rowsWithLuma);
            while (end < rowsWithLuma && sameGreys(r, end)) end = std::min(end + stride, rowsWithLuma);
            const uint8_t* row = &p.luma[size_t(r * columns)];
            for (int64_t c = 0; c < columns;) {
                int64_t runEnd = c + 1;
                while (runEnd < columns && Grey(row[runEnd]) == Grey(row[c])) ++runEnd;
                const unsigned g = Grey(row[c]);
                svg += Format("<rect x=\"%.2f\" y=\"%.2f\" width=\"%.2f\" height=\"%.2f\" fill=\"#%02x%02x%02x\"/>\n",
                              left + double(c) * cellW, top + double(r) * rowH, double(runEnd - c) * cellW,
                              double(end - r) * rowH, g, g, g);
                c = runEnd;
            }
            r = end;
        }
        svg += "</g>\n";
    }

    // The row strip: one rect per run of rows of one kind.
    int64_t counts[3] = {0, 0, 0};
    if (!p.rows.empty()) {
        const double rowH = pictureH / double(p.rows.size());
        for (size_t r = 0; r < p.rows.size();) {
            size_t end = r + 1;
            while (end < p.rows.size() && p.rows[end] == p.rows[r]) ++end;
            svg +=
                Format("<rect class=\"rows-%c\" x=\"%.1f\" y=\"%.2f\" width=\"%.1f\" height=\"%.2f\" fill=\"%s\"/>\n",
                       p.rows[r] == 'P' || p.rows[r] == 'E' || p.rows[r] == 'N' ? p.rows[r] : 'X', stripX,
                       top + double(r) * rowH, stripW, double(end - r) * rowH, RowColour(p.rows[r]));
            r = end;
        }
        for (char kind : p.rows) {
            if (kind == 'P') ++counts[0];
            if (kind == 'E') ++counts[1];
            if (kind == 'N') ++counts[2];
        }
    }
    const double legendX = stripX + stripW + 8;
    const char* names[3] = {"picture (P)", "empty (E)", "noise (N)"};
    const char kinds[3] = {'P', 'E', 'N'};
    for (int k = 0; k < 3; ++k) {
        const double y = top + 14 + 18 * k;
        svg += Format("<rect x=\"%.1f\" y=\"%.1f\" width=\"10\" height=\"10\" fill=\"%s\"/>\n", legendX, y - 9,
                      RowColour(kinds[k]));
        svg += Text(legendX + 14, y, Format("%s %lld", names[k], static_cast<long long>(counts[k])));
    }
    std::string note = Format("rows: %lld picture, %lld empty, %lld noise", static_cast<long long>(counts[0]),
                              static_cast<long long>(counts[1]), static_cast<long long>(counts[2]));
    const int64_t other = int64_t(p.rows.size()) - counts[0] - counts[1] - counts[2];
    if (other > 0) note += Format(", %lld unknown", static_cast<long long>(other));
    if (rowsWithLuma < height)
        note +=
            Format("; luma of %lld of %lld rows", static_cast<long long>(rowsWithLuma), static_cast<long long>(height));
    svg += Text(left, top + pictureH + 20, note, " class=\"row-counts\"");
    return svg + "</svg>\n";
}

// --- line 21 -----------------------------------------------------------------

std::string VbiLineSvg(const VbiLinePicture& p, const std::string& title) {
    if (p.samples.empty() || p.rateHz <= 0) {
        std::string svg = SvgOpen(480, 30, "vbi-line");
        return svg + Text(4, 18, HtmlText(title) + (p.samples.empty() ? ": no samples" : ": no sampling rate")) +
               "</svg>\n";
    }
    const auto level = [](int64_t v) { return static_cast<uint8_t>(std::clamp<int64_t>(v, 0, 255)); };
    const line21::SamplingFormat format{double(p.rateHz), static_cast<uint32_t>(p.samples.size()),
                                        double(p.startNs) / 1000.0, level(p.blankLevel), level(p.level50Ire)};
    const line21::DecodeResult result = line21::DecodeLine(p.samples.data(), p.samples.size(), format);
    std::string svg = line21::LineSvg(p.samples.data(), p.samples.size(), format, result, title);
    // The drawing names its kind, as the report's other pictures do.
    const std::string open = "<svg ";
    if (svg.compare(0, open.size(), open) == 0) svg.insert(open.size(), "class=\"vbi-line\" ");
    return svg;
}

// --- frame intervals ---------------------------------------------------------

IntervalBand BandOf(int64_t setIntervalUs) {
    return {double(setIntervalUs) / 1.15, double(setIntervalUs) / 0.85};
}

std::string FrameIntervalsSvg(const FrameIntervals& f) {
    constexpr double kW = 720, kH = 280, kLeft = 70, kRight = 20, kTop = 24, kBottom = 56;
    const double plotW = kW - kLeft - kRight, plotH = kH - kTop - kBottom;
    const std::vector<int64_t>& v = f.intervalsUs;
    const bool known = f.setIntervalUs > 0;
    const IntervalBand band = BandOf(f.setIntervalUs);

    std::string svg = SvgOpen(kW, kH, "frame-intervals");
    svg += Text(kLeft, 16, "frame intervals (&#181;s) as the video analyzer measured them");
    if (v.empty()) {
        svg += Text(kLeft, kTop + 20, "no intervals measured", " class=\"interval-summary\"");
        return svg + "</svg>\n";
    }
    double lo = double(*std::min_element(v.begin(), v.end())), hi = double(*std::max_element(v.begin(), v.end()));
    if (known) lo = std::min(lo, band.lowUs), hi = std::max(hi, band.highUs);
    const double margin = hi > lo ? (hi - lo) * 0.08 : std::max(1.0, std::abs(hi) * 0.1);
    lo -= margin, hi += margin;
    auto y = [&](double us) { return kTop + (hi - us) / (hi - lo) * plotH; };
    auto x = [&](size_t i) { return kLeft + (v.size() > 1 ? double(i) / double(v.size() - 1) : 0.5) * plotW; };

    svg += Format("<rect x=\"%.1f\" y=\"%.1f\" width=\"%.1f\" height=\"%.1f\" fill=\"none\" stroke=\"#999999\"/>\n",
                  kLeft, kTop, plotW, plotH);
    size_t inside = 0;
    if (known) {
        svg += Format(
            "<rect class=\"band\" data-low-us=\"%.1f\" data-high-us=\"%.1f\" x=\"%.1f\" y=\"%.2f\" width=\"%.1f\" "
            "height=\"%.2f\" fill=\"#2e7d32\" fill-opacity=\"0.15\"/>\n",
            band.lowUs, band.highUs, kLeft, y(band.highUs), plotW, y(band.lowUs) - y(band.highUs));
        svg += Format(
            "<line class=\"set\" data-us=\"%lld\" x1=\"%.1f\" x2=\"%.1f\" y1=\"%.2f\" y2=\"%.2f\" stroke=\"#2e7d32\" "
            "stroke-dasharray=\"4,3\"/>\n",
            static_cast<long long>(f.setIntervalUs), kLeft, kLeft + plotW, y(double(f.setIntervalUs)),
            y(double(f.setIntervalUs)));
        for (auto [us, label] : {std::pair{band.highUs, "%.0f"}, std::pair{double(f.setIntervalUs), "set %.0f"},
                                 std::pair{band.lowUs, "%.0f"}})
            svg += Text(2, y(us) + 4, Format(label, us));
        for (int64_t us : v) inside += double(us) >= band.lowUs && double(us) <= band.highUs;
    }
    svg += "<polyline fill=\"none\" stroke=\"#1f5fbf\" points=\"";
    for (size_t i = 0; i < v.size(); ++i) svg += Format("%.1f,%.2f ", x(i), y(double(v[i])));
    svg += "\"/>\n";
    for (size_t i = 0; i < v.size(); ++i) {
        const bool out = known && (double(v[i]) < band.lowUs || double(v[i]) > band.highUs);
        svg +=
            Format("<circle class=\"%s\" cx=\"%.1f\" cy=\"%.2f\" r=\"%s\" fill=\"%s\"/>\n",
                   out ? "outside" : "interval", x(i), y(double(v[i])), out ? "3" : "1.5", out ? "#c62828" : "#1f5fbf");
    }
    double sum = 0;
    for (int64_t us : v) sum += double(us);
    const double mean = sum / double(v.size());
    std::string summary = Format("%zu intervals, mean %.0f &#181;s", v.size(), mean);
    if (mean > 0) summary += Format(" (%.2f frames/s)", 1e6 / mean);
    if (known)
        summary += Format("; set %lld &#181;s, band %.0f to %.0f &#181;s: %zu inside",
                          static_cast<long long>(f.setIntervalUs), band.lowUs, band.highUs, inside);
    else
        summary += "; set interval not known";
    svg += Text(kLeft, kH - 30, summary, " class=\"interval-summary\"");
    if (known) svg += Text(kLeft, kH - 12, "band: the intervals of a rate within 15 % of the set rate");
    return svg + "</svg>\n";
}

// --- channel scan ------------------------------------------------------------

std::string ChannelScanSvg(const ChannelScanPicture& scan) {
    const size_t n = scan.channels.size();
    const double left = 10, top = 26, cellH = 28;
    const double cellW = n > 0 ? std::clamp(880.0 / double(n), 4.0, 36.0) : 36;
    const size_t labelEvery = std::max<size_t>(1, size_t(std::ceil(26.0 / cellW)));
    const double width = left * 2 + cellW * double(std::max<size_t>(n, 1)) + 20;
    size_t locked = 0;
    for (const auto& c : scan.channels) locked += c.locked;

    std::string svg = SvgOpen(std::max(width, 420.0), top + cellH + 50, "channel-scan");
    svg += Text(left, 16, Format("channel scan: %zu channels, %zu locked", n, locked), " class=\"scan-summary\"");
    for (size_t i = 0; i < n; ++i) {
        const auto& c = scan.channels[i];
        const double x = left + cellW * double(i);
        svg += Format(
            "<rect class=\"%s\" data-channel=\"%lld\" x=\"%.2f\" y=\"%.1f\" width=\"%.2f\" height=\"%.1f\" "
            "fill=\"%s\" stroke=\"#ffffff\"/>\n",
            c.locked ? "channel locked" : "channel", static_cast<long long>(c.number), x, top, cellW, cellH,
            c.locked ? "#2e7d32" : "#d5d5d5");
        // Every few channels and the last, none so close to the last that the two overlap.
        if (i + 1 == n || (i % labelEvery == 0 && n - 1 - i >= labelEvery))
            svg += Text(x + cellW / 2, top + cellH + 14, Format("%lld", static_cast<long long>(c.number)),
                        " text-anchor=\"middle\" font-size=\"10\"");
    }
    std::string list;
    size_t listed = 0;
    for (const auto& c : scan.channels) {
        if (!c.locked) continue;
        if (listed++ == 24) {
            list += ", ...";
            break;
        }
        list += (list.empty() ? "" : ", ") + Format("%lld", static_cast<long long>(c.number));
    }
    svg += Text(left, top + cellH + 36, locked ? "locked: " + list : std::string("no channel locked"));
    return svg + "</svg>\n";
}

}  // namespace orbex::harness
