// Row analysis: every path (scalar, SSE2, AVX2 as the machine allows) gives
// the results of the straight-loop reference, with exact counts at the chunk
// edges, at the half-row boundary and at 20/21 windows.
#include "video/row_analysis.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "support/fenced_buffer.h"
#include "support/row_reference.h"
#include "video/row_kernels.h"

namespace orbex::video {
namespace {

using Row = std::vector<uint8_t>;
constexpr size_t kAll = SIZE_MAX;
constexpr uint8_t A = 0x3A, B = 0x3B, C = 0x3C;

std::string Describe(const Row& row) {
    std::string text = "row of " + std::to_string(row.size()) + " bytes:";
    char hex[4];
    for (uint8_t b : row) std::snprintf(hex, sizeof hex, " %02X", b), text += hex;
    return text;
}

// A row of n zero bytes with `value` at [from, from + count).
Row With(size_t n, size_t from, size_t count, uint8_t value = A) {
    Row row(n, 0);
    for (size_t i = from; i < from + count && i < n; ++i) row[i] = value;
    return row;
}

// The row between guard bytes that are noise and non-zero, so that a read
// outside the row changes a result.
constexpr size_t kGuard = 64;
Row Guarded(const Row& row) {
    Row guarded(kGuard + row.size() + kGuard, B);
    std::copy(row.begin(), row.end(), guarded.begin() + kGuard);
    return guarded;
}

class RowPaths : public ::testing::TestWithParam<const RowKernels*> {
protected:
    void SetUp() override { ASSERT_TRUE(m_fence.Valid()); }
    const RowKernels& k() const { return *GetParam(); }

    // What f gives for the row between guard bytes, after checking that it
    // gives the same against either fence (where a read outside faults).
    template <class F>
    auto OnEveryPlacement(const Row& row, F f) {
        const Row guarded = Guarded(row);
        auto result = f(guarded.data() + kGuard, row.size());
        EXPECT_EQ(f(m_fence.AtFront(row.data(), row.size()), row.size()), result) << Describe(row);
        EXPECT_EQ(f(m_fence.AtBack(row.data(), row.size()), row.size()), result) << Describe(row);
        return result;
    }
    // Every function agrees with the reference.
    void ExpectAsReference(const Row& row) {
        const uint8_t* p = row.data();
        size_t n = row.size();
        ASSERT_EQ(IsZero(row), reference::IsZeroRow(p, n)) << Describe(row);
        for (size_t stopAt : {size_t{0}, size_t{1}, size_t{20}, size_t{21}, kAll})
            ASSERT_EQ(Windows(row, stopAt), reference::CountNoiseWindows(p, n, stopAt))
                << "stopAt " << stopAt << ", " << Describe(row);
        ASSERT_EQ(OnEveryPlacement(row, [&](const uint8_t* q, size_t m) { return IsPictureRow(k(), q, m); }),
                  reference::IsPictureRow(p, n))
            << Describe(row);
        ASSERT_EQ(OnEveryPlacement(row, [&](const uint8_t* q, size_t m) { return CountPictureRows(k(), q, m, 1, m); }),
                  reference::CountPictureRows(p, n, 1, n))
            << Describe(row);
    }
    size_t Windows(const Row& row, size_t stopAt = kAll) {
        return OnEveryPlacement(row, [&](const uint8_t* q, size_t n) { return CountNoiseWindows(k(), q, n, stopAt); });
    }
    bool IsZero(const Row& row) {
        return OnEveryPlacement(row, [&](const uint8_t* q, size_t n) { return IsZeroRow(k(), q, n); });
    }

private:
    orbex::testing::FencedBuffer m_fence{8192};
};

TEST_P(RowPaths, RowsOfUpToFourBytesExhaustively) {
    const uint8_t alphabet[] = {0x00, 0x39, A, B, C, 0x3D};
    for (size_t n = 0; n <= 4; ++n) {
        size_t combinations = 1;
        for (size_t i = 0; i < n; ++i) combinations *= std::size(alphabet);
        for (size_t c = 0; c < combinations; ++c) {
            Row row(n);
            for (size_t i = 0, rest = c; i < n; ++i, rest /= std::size(alphabet)) row[i] = alphabet[rest % 6];
            ExpectAsReference(row);
        }
    }
    // A window never reads outside the row: two bytes hold none.
    EXPECT_EQ(Windows({A, A}), 0u);
    EXPECT_EQ(Windows({A, B, C}), 1u);
    EXPECT_EQ(Windows({C, A, B, C}), 2u);
    EXPECT_EQ(Windows({A, B, 0x3D, C}), 0u);
    EXPECT_EQ(Windows({0x39, A, B, C}), 1u);
}

TEST_P(RowPaths, RandomRowsMatchTheReference) {
    std::mt19937 random(20240601);
    auto rows = [&](size_t n) {
        // Noise bytes at three densities, and runs of noise of 3 to 25 bytes.
        for (int percent : {30, 70, 95}) {
            Row row(n);
            for (uint8_t& b : row) {
                const uint8_t other[] = {0x00, 0x39, 0x3D, static_cast<uint8_t>(random())};
                b = int(random() % 100) < percent ? uint8_t(A + random() % 3) : other[random() % 4];
            }
            ExpectAsReference(row);
        }
        Row runs(n, 0x80);
        for (size_t at = random() % 8; at < n; at += 4 + random() % 30)
            for (size_t i = at, end = at + 3 + random() % 23; i < end && i < n; ++i) runs[i] = A + random() % 3;
        ExpectAsReference(runs);
    };
    for (size_t n = 0; n <= 300; ++n) rows(n);
    for (size_t n : {511, 512, 513, 1439, 1440, 1441, 2053, 4096}) rows(n);
}

TEST_P(RowPaths, WindowsAtEveryChunkEdgeAndTheHalfRow) {
    // Runs of three and four noise bytes starting everywhere in the first
    // half: each window starting below n/2 counts once.
    for (size_t n : {130, 131, 400, 1440}) {
        for (size_t start = 0; start <= n / 2 + 2; ++start) {
            for (size_t length : {3, 4}) {
                size_t expected = 0;
                for (size_t i = start; i + 3 <= start + length; ++i) expected += i < n / 2;
                Row row = With(n, start, length, C);
                ASSERT_EQ(Windows(row), expected) << "n " << n << ", run of " << length << " at " << start;
                ExpectAsReference(row);
            }
        }
    }
}

TEST_P(RowPaths, TwentyWindowsArePictureTwentyOneAreNot) {
    struct Case {
        size_t n, runStart, runLength, windows;
        bool picture;
    } cases[] = {
        {1440, 100, 22, 20, true},   {1440, 100, 23, 21, false},
        {1440, 0, 1440, 720, false}, {1440, 699, 23, 21, false},  // the last window starts at byte 719
        {1440, 700, 23, 20, true},                                // a window at byte 720 does not count
        {1441, 700, 23, 20, true},   {1440, 700, 740, 20, true},  // noise after the first half is never looked at
        {41, 0, 41, 20, true},                                    // an all-noise row: picture up to 41 bytes
        {42, 0, 42, 21, false},      {64, 42, 22, 0, true},
    };
    for (const Case& c : cases) {
        Row row = With(c.n, c.runStart, c.runLength, B);
        EXPECT_EQ(Windows(row), c.windows) << "n " << c.n << ", run at " << c.runStart;
        EXPECT_EQ(IsPictureRow(k(), row.data(), row.size()), c.picture) << "n " << c.n << ", run at " << c.runStart;
        EXPECT_EQ(Windows(row, 5), std::min<size_t>(c.windows, 5));
        ExpectAsReference(row);
    }
    // Separate triples, each one window.
    for (size_t triples : {20, 21}) {
        Row row(1440, 0x10);
        for (size_t t = 0; t < triples; ++t) row[t * 17] = row[t * 17 + 1] = row[t * 17 + 2] = A;
        EXPECT_EQ(Windows(row), triples);
        EXPECT_EQ(IsPictureRow(k(), row.data(), row.size()), triples == 20);
    }
}

TEST_P(RowPaths, AlternatingNoiseIsAWindowAtEveryPosition) {
    for (size_t n = 0; n <= 200; ++n) {
        for (const Row& pattern : {Row{A, C}, Row{C, A}, Row{A, A, C, C}}) {
            Row row(n);
            for (size_t i = 0; i < n; ++i) row[i] = pattern[i % pattern.size()];
            size_t windows = n >= 3 ? n / 2 : 0;
            ASSERT_EQ(Windows(row), windows) << Describe(row);
            ASSERT_EQ(IsPictureRow(k(), row.data(), n), windows <= 20) << Describe(row);
            ExpectAsReference(row);
        }
    }
}

TEST_P(RowPaths, ZeroRowsAreZeroToTheirLastByte) {
    for (size_t n = 0; n <= 200; ++n) {
        ASSERT_TRUE(IsZero(Row(n, 0))) << n;
        for (size_t at = 0; at < n; ++at) ASSERT_FALSE(IsZero(With(n, at, 1, 0x01))) << "n " << n << ", byte " << at;
    }
    for (size_t n : {1439, 1440, 1441, 4096}) {
        EXPECT_TRUE(IsZero(Row(n, 0))) << n;
        EXPECT_FALSE(IsZero(With(n, n - 1, 1, 0x80))) << n;
        ExpectAsReference(With(n, n - 1, 1, 0x80));
    }
}

TEST_P(RowPaths, NullRows) {
    EXPECT_TRUE(IsZeroRow(k(), nullptr, 100));
    EXPECT_EQ(CountNoiseWindows(k(), nullptr, 100, kAll), 0u);
    EXPECT_TRUE(IsPictureRow(k(), nullptr, 100));
    EXPECT_EQ(CountPictureRows(k(), nullptr, 1440, 576, 1440), 0u);
}

TEST_P(RowPaths, SurfaceRowsIgnoreThePaddingAfterTheRowLength) {
    constexpr size_t kLength = 1440, kPitch = 1536;
    enum Kind { kPicture, kZero, kNoise, kTwentyWindows };
    const Kind kinds[] = {kPicture, kZero, kNoise, kPicture, kTwentyWindows, kZero, kNoise, kZero, kPicture};
    constexpr uint32_t kHeight = std::size(kinds);
    // Picture-like padding: a row read from the wrong place, or past its
    // length, would count.
    Row surface(kPitch * (kHeight - 1) + kLength, 0x55);
    for (uint32_t r = 0; r < kHeight; ++r) {
        uint8_t* row = surface.data() + r * kPitch;
        for (size_t i = 0; i < kLength; ++i) row[i] = kinds[r] == kZero ? 0 : uint8_t(0x80 + i % 100);
        if (kinds[r] == kNoise) std::fill(row + 300, row + 323, A);
        if (kinds[r] == kTwentyWindows) std::fill(row + 700, row + 723, A);  // the 21st window starts at 720
    }
    // Picture rows: 0, 3, 4 and 8; the count over the first h rows.
    const uint32_t expected[kHeight + 1] = {0, 1, 1, 1, 2, 3, 3, 3, 3, 4};
    for (uint32_t h = 0; h <= kHeight; ++h) {
        EXPECT_EQ(CountPictureRows(k(), surface.data(), kPitch, h, kLength), expected[h]) << h << " rows";
        EXPECT_EQ(reference::CountPictureRows(surface.data(), kPitch, h, kLength), expected[h]) << h << " rows";
    }
    EXPECT_EQ(CountPictureRows(k(), surface.data(), kPitch, kHeight, 0), 0u);
}

std::string PathName(const ::testing::TestParamInfo<const RowKernels*>& info) {
    return info.param->name;
}
INSTANTIATE_TEST_SUITE_P(Paths, RowPaths, ::testing::ValuesIn(SupportedKernels()), PathName);

TEST(RowAnalysis, EveryPathThisMachineRunsIsOffered) {
    std::vector<std::string> names;
    for (const RowKernels* kernels : SupportedKernels()) names.push_back(kernels->name);
    std::vector<std::string> expected{"scalar"};
#if defined(__x86_64__)
    expected.push_back("sse2");
    __builtin_cpu_init();
    if (__builtin_cpu_supports("avx2")) expected.push_back("avx2");
#endif
    EXPECT_EQ(names, expected);
    EXPECT_EQ(&BestKernels(), SupportedKernels().back());
}

TEST(RowAnalysis, ThePublicFunctionsTakeTheBestPath) {
    Row noise = With(1440, 10, 23, C), picture = With(1440, 10, 22, C);
    EXPECT_EQ(CountNoiseWindows(noise.data(), noise.size(), kAll), 21u);
    EXPECT_FALSE(IsPictureRow(noise.data(), noise.size()));
    EXPECT_TRUE(IsPictureRow(picture.data(), picture.size()));
    EXPECT_FALSE(IsZeroRow(picture.data(), picture.size()));
    EXPECT_TRUE(IsZeroRow(Row(1440, 0).data(), 1440));
    Row surface = noise;
    surface.insert(surface.end(), picture.begin(), picture.end());
    EXPECT_EQ(CountPictureRows(surface.data(), 1440, 2, 1440), 1u);
}

}  // namespace
}  // namespace orbex::video
