// Line-21 decoding of 28.636 MHz x 1600 lines: clean, and at 20 dB SNR with
// the run-in a quarter bit late; lines per CPU second.
#include <benchmark/benchmark.h>

#include <vector>

#include "line21/line21.h"

namespace {

using namespace orbex::line21;

void DecodeLines(benchmark::State& state, Impairments imp) {
    const SamplingFormat& f = kFormat8Fsc;
    // 64 lines of different pairs, so that no branch history learns one line.
    std::vector<std::vector<uint8_t>> lines(64, std::vector<uint8_t>(f.samples));
    for (size_t i = 0; i < lines.size(); ++i) {
        imp.seed = uint32_t(i);
        EncodeLine(uint8_t(0x20 + i), uint8_t(0x7F - i), f, imp, lines[i].data());
        DecodeResult r = DecodeLine(lines[i].data(), f.samples, f);
        if (!r.valid || r.first != 0x20 + i || r.second != 0x7F - i) state.SkipWithError("a line did not decode");
    }
    size_t i = 0;
    for (auto _ : state) benchmark::DoNotOptimize(DecodeLine(lines[i++ & 63].data(), f.samples, f));
    state.SetItemsProcessed(int64_t(state.iterations()));
}

void BM_Line21Decode(benchmark::State& state) {
    DecodeLines(state, {});
}
BENCHMARK(BM_Line21Decode);

void BM_Line21DecodeNoisy(benchmark::State& state) {
    Impairments imp;
    imp.noiseRmsIre = 5, imp.phaseMicroseconds = 0.5;
    DecodeLines(state, imp);
}
BENCHMARK(BM_Line21DecodeNoisy);

}  // namespace
