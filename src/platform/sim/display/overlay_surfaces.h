// The overlay mixer's DirectDraw surfaces: overlay front and back buffer and
// the primary surface, with their memory. Frames of the decoder land in the
// overlay buffers; the system locks them to blank or inspect rows. A frame
// that lands is drawn only when the memory is next read, so frames that a
// later one overwrites unseen cost nothing.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/sim/display/frame_rows.h"
#include "platform/sim/events.h"
#include "platform/sim/faults.h"
#include "platform/video.h"

namespace orbex::sim {

enum class SurfaceKind : uint8_t { OverlayFront, OverlayBack, Primary, Offscreen };

struct SurfaceConfig {
    bool present = true;
    SurfaceKind kind = SurfaceKind::Offscreen;
    uint32_t width = 0;
    uint32_t height = 0;
    int32_t pitch = 0;
    uint32_t bitsPerPixel = 16;
    bool yuv = true;
    bool lockGivesMemory = true;  // false: a lock succeeds without a memory pointer
};

// Surfaces by profile name ([Surface.NAME]), in name order.
using SurfaceConfigs = std::map<std::string, SurfaceConfig>;

// The largest surface memory the board allocates, to keep a profile from
// asking for gigabytes.
constexpr uint64_t kMaxSurfaceBytes = 64u << 20;

class OverlaySurfaces {
public:
    OverlaySurfaces(const SurfaceConfigs& configs, FaultTable& faults);

    // Lets time-driven models settle before a surface is read or written.
    void SetBeforeAccess(std::function<void()> settle) { m_settle = std::move(settle); }
    // Where the overlay buffers' pictures go when the host asks for them.
    void SetEvents(EventSink events) { m_events = std::move(events); }
    // An OverlayBuffer event for each overlay buffer the system can read: its
    // memory as a lock would give it now. The harness asks when a buffer check
    // failed, to show what the check saw.
    void ReportOverlayBuffers();

    // The surfaces that exist, as COM objects (new references) with their descriptions.
    std::vector<std::pair<std::shared_ptr<port::IDirectDrawSurface>, port::SurfaceDesc>> Existing();
    static port::SurfaceDesc Describe(const SurfaceConfig& config);

    // The last surface of a kind, for the frames of the decoder; null when none.
    struct Surface;
    Surface* Find(SurfaceKind kind);
    const Surface* Find(SurfaceKind kind) const;
    // Bytes of the overlay buffers, for what the overlay path takes of video memory.
    uint32_t OverlayBytes() const;

    struct Surface {
        static constexpr size_t kMaxPending = 4;  // more, and the oldest is drawn at once

        // Zeroed memory from calloc: a fresh block of this size comes zeroed
        // from the system, so it is not written twice before the first frame.
        struct FreeBytes {
            void operator()(uint8_t* bytes) const { std::free(bytes); }
        };

        SurfaceConfig config;
        std::unique_ptr<uint8_t[], FreeBytes> memory;  // pitch x height bytes, allocated on first use
        size_t memoryBytes = 0;
        bool locked = false;
        // The frames that landed and are not drawn yet, oldest first; a frame
        // that covers an older one whole has replaced it.
        std::vector<PendingFrame> pending;
        // The memory with every frame that landed drawn; null when the surface has none.
        uint8_t* Rows();
        // A frame lands; it is drawn when the memory is next read.
        void Land(PendingFrame frame);
        size_t RowBytes() const;  // bytes of a row that carry pixels, within the pitch

    private:
        uint8_t* Memory();
        void Draw(const PendingFrame& frame);
    };

private:
    friend class SimSurface;
    std::vector<std::unique_ptr<Surface>> m_surfaces;
    void Report(Surface& surface) const;

    FaultTable& m_faults;
    std::function<void()> m_settle;
    EventSink m_events;
};

}  // namespace orbex::sim
