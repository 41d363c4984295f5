#include "line21_svg.h"

#include <algorithm>
#include <cstdio>

#include "line21/waveform.h"

namespace orbex::line21 {
namespace {

constexpr double kWidth = 960, kHeight = 320, kLeft = 50, kRight = 10, kTop = 40, kBottom = 60;

std::string Escaped(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            default: out += c;
        }
    }
    return out;
}

std::string Printf(const char* format, double a, double b = 0, double c = 0, double d = 0) {
    char buffer[160];
    std::snprintf(buffer, sizeof buffer, format, a, b, c, d);
    return buffer;
}

// A character as the caption shows it: printable ASCII, else its code.
std::string CharText(uint8_t c) {
    char buffer[16];
    if (c >= 0x20 && c < 0x7F)
        std::snprintf(buffer, sizeof buffer, "'%c' 0x%02X", c, c);
    else
        std::snprintf(buffer, sizeof buffer, "0x%02X", c);
    return buffer;
}

}  // namespace

std::string LineSvg(const uint8_t* samples, size_t count, const SamplingFormat& format, const DecodeResult& result,
                    const std::string& title) {
    const double plotW = kWidth - kLeft - kRight, plotH = kHeight - kTop - kBottom;
    auto x = [&](double sample) { return kLeft + (count > 1 ? sample / double(count - 1) : 0) * plotW; };
    auto y = [&](double value) { return kTop + (1 - value / 255.0) * plotH; };

    std::string svg = Printf(
        "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%.0f\" height=\"%.0f\" viewBox=\"0 0 %.0f %.0f\" "
        "font-family=\"sans-serif\" font-size=\"12\">\n",
        kWidth, kHeight, kWidth, kHeight);
    svg += "<rect width=\"100%\" height=\"100%\" fill=\"white\"/>\n";
    svg += "<text x=\"" + Printf("%.0f", kLeft) + "\" y=\"20\" font-size=\"14\">" + Escaped(title) + "</text>\n";
    // Frame and the two nominal levels.
    svg += Printf("<rect x=\"%.1f\" y=\"%.1f\" width=\"%.1f\" height=\"%.1f\" fill=\"none\" stroke=\"#999\"/>\n", kLeft,
                  kTop, plotW, plotH);
    for (auto [level, name] : {std::pair{format.blankLevel, "0 IRE"}, std::pair{format.level50Ire, "50 IRE"}}) {
        svg += Printf("<line x1=\"%.1f\" x2=\"%.1f\" y1=\"%.1f\" y2=\"%.1f\" stroke=\"#ccc\"/>\n", kLeft, kLeft + plotW,
                      y(level), y(level));
        svg += Printf("<text x=\"4\" y=\"%.1f\">", y(level) + 4) + name + "</text>\n";
    }
    // The samples.
    svg += "<polyline fill=\"none\" stroke=\"#1f5fbf\" stroke-width=\"1\" points=\"";
    const size_t stride = std::max<size_t>(1, count / 1600);
    for (size_t n = 0; n < count; n += stride) svg += Printf("%.1f,%.1f ", x(double(n)), y(samples[n]));
    svg += "\"/>\n";

    std::string verdict;
    if (result.valid) {
        using namespace waveform;
        const double T = kBitMicroseconds * format.rateHz / 1e6, t0 = result.runInStart;
        const double runInEnd = t0 + kRunInCycles * T;
        svg += Printf(
            "<rect x=\"%.1f\" y=\"%.1f\" width=\"%.1f\" height=\"%.1f\" fill=\"#f2b134\" fill-opacity=\"0.2\"/>\n",
            x(t0), kTop, x(runInEnd) - x(t0), plotH);
        svg += Printf("<text x=\"%.1f\" y=\"%.1f\">clock run-in</text>\n", x(t0) + 2, kTop + 14);
        const uint32_t frame = Frame(result.first, result.second);
        for (int i = 0; i < kBits; ++i) {
            double c = t0 + (kRunInCycles + i + 0.5) * T;
            int bit = frame >> i & 1;
            const char* colour = i < 3 ? "#7a7a7a" : (i == 10 || i == 18) ? "#b03a2e" : "#1e8449";
            svg += Printf("<line x1=\"%.1f\" x2=\"%.1f\" y1=\"%.1f\" y2=\"%.1f\" stroke-dasharray=\"2,2\" ", x(c), x(c),
                          kTop, kTop + plotH) +
                   "stroke=\"" + colour + "\"/>\n";
            svg += Printf("<text x=\"%.1f\" y=\"%.1f\" text-anchor=\"middle\" ", x(c), kTop + plotH + 16) + "fill=\"" +
                   colour + "\">" + (bit ? "1" : "0") + "</text>\n";
        }
        verdict = "decoded " + CharText(result.first) + ", " + CharText(result.second) +
                  Printf("; run-in at sample %.0f; eye opening %.2f", t0, result.quality);
        svg += Printf("<text x=\"%.1f\" y=\"%.1f\" fill=\"#7a7a7a\">start bits</text>\n", x(t0 + (kRunInCycles)*T),
                      kTop + plotH + 32);
        svg +=
            Printf("<text x=\"%.1f\" y=\"%.1f\" fill=\"#1e8449\">", x(t0 + (kRunInCycles + 3) * T), kTop + plotH + 32) +
            "first byte, " + Escaped(CharText(result.first)) + " + parity</text>\n";
        svg += Printf("<text x=\"%.1f\" y=\"%.1f\" fill=\"#1e8449\">", x(t0 + (kRunInCycles + 11) * T),
                      kTop + plotH + 32) +
               "second byte, " + Escaped(CharText(result.second)) + " + parity</text>\n";
    } else {
        verdict = "no captions: no clock run-in, start bits or parity found";
    }
    svg += Printf("<text x=\"%.1f\" y=\"%.1f\" font-size=\"13\">", kLeft, kHeight - 8) + Escaped(verdict) +
           "</text>\n</svg>\n";
    return svg;
}

}  // namespace orbex::line21
