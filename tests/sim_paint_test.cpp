// The overlay buffers draw a frame only when they are read: what a lock shows
// must be, byte for byte, what drawing every frame the moment it lands would
// have left there, including rows the system blanked between two reads.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <vector>

#include "platform/sim/display/overlay_config.h"
#include "platform/sim/signal/frame_feed.h"
#include "platform/sim/signal/picture.h"

namespace orbex::sim {
namespace {

// A frame feed over its own surfaces, and beside it the buffers as drawing
// each frame at once would leave them.
class PaintBench {
public:
    explicit PaintBench(const SurfaceConfigs& configs)
        : m_faults({}),
          m_surfaces(configs, m_faults),
          m_feed([this] { return m_now; }, [this](uint32_t) { return conditions; }, m_surfaces) {
        m_surfaces.SetBeforeAccess([this] { m_feed.Update(); });
        for (SurfaceKind kind : {SurfaceKind::OverlayFront, SurfaceKind::OverlayBack}) {
            const SurfaceConfig& c = m_surfaces.Find(kind)->config;
            m_expected[kind].assign(static_cast<size_t>(c.pitch) * c.height, 0);
        }
    }

    FeedConditions conditions;

    // Lets virtual time run to `to` and draws the frames due into the reference.
    void RunTo(uint32_t to) {
        m_now = to;
        m_feed.Update();
        uint64_t delivered = m_feed.FramesDelivered();
        for (uint64_t k = std::max(m_drawn, delivered > 2 ? delivered - 2 : 0); k < delivered; ++k) DrawEagerly(k);
        m_drawn = delivered;
    }
    uint64_t Frames() const { return m_feed.FramesDelivered(); }

    // Locks the buffer, checks that it shows what eager drawing shows, and
    // blanks rows [from, to) through the lock as the system does.
    void ReadAndBlank(SurfaceKind kind, uint32_t from, uint32_t to, const char* when) {
        auto surface = Surface(kind);
        port::SurfaceDesc desc;
        desc.size = port::kSurfaceDescSize;
        ASSERT_EQ(surface->Lock(desc, port::kDdLockWait), kSOk);
        ASSERT_NE(desc.surface, nullptr);
        std::vector<uint8_t>& expected = m_expected[kind];
        size_t pitch = static_cast<size_t>(desc.pitch);
        for (uint32_t row = 0; row < desc.height; ++row) {
            if (std::memcmp(desc.surface + row * pitch, expected.data() + row * pitch, pitch) != 0) {
                ADD_FAILURE() << when << ": row " << row << " of the "
                              << (kind == SurfaceKind::OverlayBack ? "back" : "front") << " buffer differs";
                break;
            }
        }
        for (uint32_t row = from; row < to && row < desc.height; ++row) {
            std::memset(desc.surface + row * pitch, 0, pitch);
            std::memset(expected.data() + row * pitch, 0, pitch);
        }
        EXPECT_EQ(surface->Unlock(), kSOk);
    }
    void ReadBoth(const char* when, uint32_t from = 0, uint32_t to = 0) {
        ReadAndBlank(SurfaceKind::OverlayBack, from, to, when);
        ReadAndBlank(SurfaceKind::OverlayFront, from, to, when);
    }

private:
    std::shared_ptr<port::IDirectDrawSurface> Surface(SurfaceKind kind) {
        uint32_t caps = kind == SurfaceKind::OverlayBack ? port::kDdsCapsOverlay
                                                         : port::kDdsCapsOverlay | port::kDdsCapsFrontBuffer;
        std::shared_ptr<port::IDirectDrawSurface> found;
        for (auto& [surface, desc] : m_surfaces.Existing())
            if (desc.caps == caps) found = surface;  // the last of a kind, as the frames use
        return found;
    }

    // A frame drawn the moment it lands: every line of the picture that the
    // format's filled share reaches, row by row from the generator.
    void DrawEagerly(uint64_t frame) {
        SurfaceKind kind = frame % 2 == 0 ? SurfaceKind::OverlayBack : SurfaceKind::OverlayFront;
        const SurfaceConfig& c = m_surfaces.Find(kind)->config;
        const SourceConfig& source = conditions.source;
        const CaptureShape& shape = conditions.shape;
        uint64_t lines = ActiveLines(source.family) * std::min<uint32_t>(source.coverage, 100) / 100;
        lines = std::min<uint64_t>(lines, c.height);
        uint64_t bytes = std::min<uint64_t>(uint64_t{c.width} * c.bitsPerPixel / 8, static_cast<uint64_t>(c.pitch));
        if (shape.width > 0 && shape.height > 0) {
            lines = lines * std::min(shape.filledHeight, shape.height) / shape.height;
            bytes = bytes * std::min(shape.filledWidth, shape.width) / shape.width;
        }
        for (uint32_t line = 0; line < lines; ++line)
            FillPictureRow(source.picture, line, static_cast<uint32_t>(frame),
                           m_expected[kind].data() + line * static_cast<size_t>(c.pitch), bytes);
    }

    uint32_t m_now = 0;
    FaultTable m_faults;
    OverlaySurfaces m_surfaces;
    FrameFeed m_feed;
    uint64_t m_drawn = 0;
    std::map<SurfaceKind, std::vector<uint8_t>> m_expected;
};

SurfaceConfigs Surfaces(uint32_t width, uint32_t height, int32_t pitch) {
    SurfaceConfigs configs = DefaultSurfaces();
    for (const char* name : {"front", "back"}) {
        configs[name].width = width;
        configs[name].height = height;
        configs[name].pitch = pitch;
    }
    return configs;
}

TEST(SimPaint, ALockShowsWhatDrawingEachFrameAtOnceWouldShow) {
    struct Case {
        const char* name;
        SurfaceConfigs surfaces;
        SourceConfig source;
        CaptureShape shape;
        CaptureShape laterShape;  // after the picture turns to snow
    };
    SourceConfig bars, pal, partial;
    pal.family = LineFamily::Lines625;
    partial.coverage = 37;
    const Case cases[] = {
        {"reference overlay", DefaultSurfaces(), bars, {320, 240, 320, 240, 0}, {720, 480, 720, 480, 0}},
        {"scaler fills less, odd row bytes", DefaultSurfaces(), bars, {720, 480, 641, 301, 0}, {720, 480, 333, 479, 0}},
        {"625 lines in a shorter buffer", Surfaces(700, 400, 1536), pal, {0, 0, 0, 0, 0}, {352, 288, 352, 144, 400000}},
        {"a third of the lines, slow frames",
         Surfaces(720, 576, 1440),
         partial,
         {320, 240, 320, 240, 1000000},
         {80, 60, 79, 59, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PaintBench bench(c.surfaces);
        bench.conditions.flowing = true;
        bench.conditions.source = c.source;
        bench.conditions.shape = c.shape;

        bench.RunTo(101);
        ASSERT_GE(bench.Frames(), 1u);
        bench.ReadBoth("first read", 10, 25);

        // No frame between two reads: the blanked rows stay blank.
        uint64_t frames = bench.Frames();
        bench.ReadBoth("read again at once", 40, 41);
        bench.RunTo(102);
        ASSERT_EQ(bench.Frames(), frames) << "the case needs a millisecond without a frame";
        bench.ReadBoth("read again, no frame since");

        // One frame more repaints one buffer; the other keeps its blank rows.
        for (uint32_t t = 103; bench.Frames() == frames; ++t) bench.RunTo(t);
        ASSERT_EQ(bench.Frames(), frames + 1);
        bench.ReadBoth("one frame later");

        // Many frames unread, then the snow of a lost lock in another format.
        bench.RunTo(700);
        bench.conditions.source.picture = PictureKind::Noise;
        bench.conditions.shape = c.laterShape;
        bench.RunTo(1900);
        bench.ReadBoth("snow after many frames", 0, 3);
        bench.conditions.flowing = false;
        bench.RunTo(2500);
        bench.ReadBoth("frames stopped");

        // Formats that fill less and less, unread: each frame leaves the
        // older ones showing around it.
        bench.conditions.flowing = true;
        bench.conditions.source.picture = PictureKind::Bars;
        for (uint32_t k = 0; k < 7; ++k) {
            bench.conditions.shape = {720, 480, 720 - 90 * k, 480 - 50 * k, 0};
            bench.RunTo(2600 + 100 * k);
        }
        bench.ReadBoth("shrinking formats");
    }
}

}  // namespace
}  // namespace orbex::sim
