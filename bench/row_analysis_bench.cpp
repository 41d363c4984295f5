// The overlay buffer check's row count: front and back buffer, 720 x 576
// UYVY (pitch 1440), on each path and on the straight-loop reference.
#include <benchmark/benchmark.h>

#include <cstring>
#include <string>
#include <vector>

#include "support/row_reference.h"
#include "video/row_kernels.h"

namespace {

constexpr size_t kWidth = 720, kHeight = 576, kPitch = kWidth * 2;

struct Yuv {
    uint8_t y, u, v;
};

// 75% colour bars over the top two thirds, a moving luma ramp below; `phase`
// tells the two buffers apart.
std::vector<uint8_t> TestPattern(size_t phase) {
    const Yuv bars[] = {{180, 128, 128}, {162, 44, 142}, {131, 156, 44}, {112, 72, 58},
                        {84, 184, 198},  {65, 100, 212}, {35, 212, 114}, {16, 128, 128}};
    std::vector<uint8_t> surface(kPitch * kHeight);
    for (size_t y = 0; y < kHeight; ++y) {
        for (size_t x = 0; x < kWidth; x += 2) {
            Yuv p = y < kHeight * 2 / 3 ? bars[(x + phase) * 8 / kWidth % 8]
                                        : Yuv{uint8_t(16 + (x + y + phase) % 220), 128, 128};
            uint8_t* q = &surface[y * kPitch + x * 2];
            q[0] = p.u, q[1] = p.y, q[2] = p.v, q[3] = uint8_t(p.y + (x & 2));
        }
    }
    return surface;
}

template <class Count>
void CountBoth(benchmark::State& state, Count count) {
    const std::vector<uint8_t> front = TestPattern(0), back = TestPattern(37);
    for (const auto* buffer : {&front, &back})
        if (count(buffer->data()) != orbex::reference::CountPictureRows(buffer->data(), kPitch, kHeight, kPitch))
            state.SkipWithError("differs from the reference");
    for (auto _ : state) {
        benchmark::DoNotOptimize(count(front.data()));
        benchmark::DoNotOptimize(count(back.data()));
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * 2 * kHeight * kPitch);
}

void BM_RowReference(benchmark::State& state) {
    CountBoth(state,
              [](const uint8_t* base) { return orbex::reference::CountPictureRows(base, kPitch, kHeight, kPitch); });
}
BENCHMARK(BM_RowReference);

// The ceiling: copying both buffers.
void BM_RowMemcpy(benchmark::State& state) {
    const std::vector<uint8_t> front = TestPattern(0), back = TestPattern(37);
    std::vector<uint8_t> to(front.size());
    for (auto _ : state) {
        for (const auto* buffer : {&front, &back}) {
            std::memcpy(to.data(), buffer->data(), to.size());
            benchmark::ClobberMemory();
        }
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * 2 * kHeight * kPitch);
}
BENCHMARK(BM_RowMemcpy);

void BM_RowPath(benchmark::State& state, const orbex::video::RowKernels* kernels) {
    CountBoth(state, [kernels](const uint8_t* base) {
        return orbex::video::CountPictureRows(*kernels, base, kPitch, kHeight, kPitch);
    });
}

// One benchmark a path this machine runs, the public functions' path last.
const bool kRegistered = [] {
    for (const orbex::video::RowKernels* kernels : orbex::video::SupportedKernels())
        benchmark::RegisterBenchmark((std::string("BM_RowPath/") + kernels->name).c_str(), BM_RowPath, kernels);
    return true;
}();

}  // namespace
