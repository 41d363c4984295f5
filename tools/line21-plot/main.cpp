// line21-plot: encodes two caption characters as a sampled line-21 VBI line
// (optionally impaired), decodes it, and draws both as SVG.
#include <CLI/CLI.hpp>
#include <algorithm>
#include <cstdio>
#include <map>
#include <vector>

#include "line21/line21.h"
#include "line21_svg.h"
#include "platform/host/host.h"

int main(int argc, char** argv) {
    using namespace orbex::line21;
    CLI::App app{"Draws a sampled line-21 closed-caption line and what the decoder reads from it, as SVG.",
                 "line21-plot"};
    std::string chars = "Hi", formatName = "8fsc", output = "-", title;
    double amplitude = 100, noise = 0, offset = 0, phase = 0;
    uint32_t seed = 1;
    int flipParity = 0;
    bool noRunIn = false;
    app.add_option("--chars", chars, "the two characters the line carries")->check([](const std::string& s) {
        return s.size() == 2 ? std::string() : std::string("needs exactly two characters");
    });
    static const std::map<std::string, SamplingFormat> kFormats = {
        {"8fsc", kFormat8Fsc}, {"27mhz", kFormat27MHz}, {"8fsc-pal", kFormat8FscPal}, {"13mhz", kFormat13MHz}};
    app.add_option("--format", formatName, "sampling: 8fsc (28.636 MHz, 1600), 27mhz, 8fsc-pal, 13mhz")
        ->check(CLI::IsMember({"8fsc", "27mhz", "8fsc-pal", "13mhz"}));
    app.add_option("--amplitude", amplitude, "waveform amplitude in percent")->check(CLI::Range(0.0, 200.0));
    app.add_option("--noise", noise, "Gaussian noise, IRE rms")->check(CLI::Range(0.0, 100.0));
    app.add_option("--offset", offset, "DC offset, IRE")->check(CLI::Range(-100.0, 100.0));
    app.add_option("--phase", phase, "run-in start shift, microseconds")->check(CLI::Range(-10.0, 10.0));
    app.add_option("--seed", seed, "noise seed");
    app.add_option("--flip-parity", flipParity, "1: first byte's parity bit inverted, 2: second's, 3: both")
        ->check(CLI::Range(0, 3));
    app.add_flag("--no-run-in", noRunIn, "leave the clock run-in out (data only)");
    app.add_option("--title", title, "title of the picture");
    app.add_option("-o,--output", output, "SVG file to write; - for standard output");
    // Host text (UTF-8 on Windows), reversed as the parser takes it.
    std::vector<std::string> args = orbex::host::ProgramArguments(argc, argv);
    std::reverse(args.begin(), args.end());
    try {
        app.parse(args);
    } catch (const CLI::ParseError& e) {
        return app.exit(e);
    }

    const SamplingFormat& format = kFormats.at(formatName);
    Impairments impairments;
    impairments.amplitude = amplitude / 100;
    impairments.noiseRmsIre = noise;
    impairments.dcOffsetIre = offset;
    impairments.phaseMicroseconds = phase;
    impairments.seed = seed;
    impairments.runIn = !noRunIn;
    impairments.flipParity = static_cast<uint8_t>(flipParity);
    std::vector<uint8_t> samples(format.samples);
    EncodeLine(static_cast<uint8_t>(chars[0]), static_cast<uint8_t>(chars[1]), format, impairments, samples.data());
    DecodeResult result = DecodeLine(samples.data(), samples.size(), format);
    if (title.empty()) title = "Line 21, " + formatName + ", \"" + chars + "\"";
    std::string svg = LineSvg(samples.data(), samples.size(), format, result, title);

    std::FILE* out = output == "-" ? stdout : orbex::host::OpenFile(output, "w");
    if (!out) {
        std::fprintf(stderr, "line21-plot: cannot write %s\n", output.c_str());
        return 1;
    }
    bool written = std::fwrite(svg.data(), 1, svg.size(), out) == svg.size();
    if (out != stdout) written = std::fclose(out) == 0 && written;
    if (!written) {
        std::fprintf(stderr, "line21-plot: cannot write %s\n", output.c_str());
        return 1;
    }
    return result.valid ? 0 : 3;
}
