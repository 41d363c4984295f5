#include "platform/sim/display/overlay_surfaces.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "common/base64.h"
#include "platform/guids.h"
#include "platform/sim/ledger.h"
#include "video/row_analysis.h"

namespace orbex::sim {

constexpr HResult kDdErrInvalidParams = static_cast<HResult>(0x80070057);
constexpr HResult kDdErrSurfaceBusy = static_cast<HResult>(0x887601AE);
constexpr HResult kDdErrNotLocked = static_cast<HResult>(0x887602C2);

uint8_t* OverlaySurfaces::Surface::Memory() {
    size_t bytes = static_cast<size_t>(std::max(config.pitch, 0)) * config.height;
    if (memoryBytes != bytes || !memory) {
        memory.reset(bytes ? static_cast<uint8_t*>(std::calloc(bytes, 1)) : nullptr);
        memoryBytes = memory ? bytes : 0;
    }
    return memory.get();
}

void OverlaySurfaces::Surface::Draw(const PendingFrame& frame) {
    uint8_t* rows = Memory();
    if (!rows || !frame.rows || frame.rows->count == 0 || frame.rows->bytes == 0) return;
    const RowCycle& cycle = *frame.rows;
    size_t pitch = static_cast<size_t>(config.pitch);
    size_t rowBytes = std::min(cycle.bytes, pitch);
    uint32_t lines = std::min(frame.lines, config.height);
    uint32_t index = frame.first % cycle.count;
    for (uint32_t line = 0; line < lines; ++line) {
        std::memcpy(rows + line * pitch, cycle.Row(index), rowBytes);
        if (++index == cycle.count) index = 0;
    }
}

uint8_t* OverlaySurfaces::Surface::Rows() {
    for (const PendingFrame& frame : pending) Draw(frame);
    pending.clear();
    return Memory();
}

// A frame that reaches at least as many lines and bytes as a waiting one
// hides it; one that reaches less leaves the older frame showing around it.
void OverlaySurfaces::Surface::Land(PendingFrame frame) {
    if (!frame.rows || frame.rows->count == 0 || frame.rows->bytes == 0 || frame.lines == 0) return;
    std::erase_if(pending, [&](const PendingFrame& older) {
        return frame.lines >= older.lines && frame.rows->bytes >= older.rows->bytes;
    });
    if (pending.size() == kMaxPending) {
        Draw(pending.front());
        pending.erase(pending.begin());
    }
    pending.push_back(std::move(frame));
}

size_t OverlaySurfaces::Surface::RowBytes() const {
    size_t pixels = static_cast<size_t>(config.width) * (config.bitsPerPixel / 8);
    return std::min(pixels, static_cast<size_t>(std::max(config.pitch, 0)));
}

class SimSurface final : public port::IDirectDrawSurface, public std::enable_shared_from_this<SimSurface> {
    LedgerToken m_ledgerEntry{"COM", "IDirectDrawSurface"};  // counted while the object lives
public:
    SimSurface(OverlaySurfaces& owner, OverlaySurfaces::Surface& surface) : m_owner(owner), m_surface(surface) {}

    HResult QueryInterface(const Guid& iid, port::ComPtr& out) override {
        out.reset();
        if (iid != guids::kIidDirectDrawSurface && iid != guids::kIidUnknown) return kENoInterface;
        out = shared_from_this();
        return kSOk;
    }
    HResult GetSurfaceDesc(port::SurfaceDesc& desc) override {
        if (desc.size != port::kSurfaceDescSize) return kDdErrInvalidParams;
        if (HResult hr = m_owner.m_faults.Next("GetSurfaceDesc")) return hr;
        desc = OverlaySurfaces::Describe(m_surface.config);
        return kSOk;
    }
    HResult Lock(port::SurfaceDesc& desc, uint32_t) override {
        if (desc.size != port::kSurfaceDescSize) return kDdErrInvalidParams;
        if (HResult hr = m_owner.m_faults.Next("LockSurface")) return hr;
        if (m_surface.locked) return kDdErrSurfaceBusy;
        if (m_owner.m_settle) m_owner.m_settle();
        desc = OverlaySurfaces::Describe(m_surface.config);
        desc.surface = m_surface.config.lockGivesMemory ? m_surface.Rows() : nullptr;
        m_surface.locked = true;
        return kSOk;
    }
    HResult Unlock() override {
        if (!m_surface.locked) return kDdErrNotLocked;
        m_surface.locked = false;
        return kSOk;
    }

private:
    OverlaySurfaces& m_owner;
    OverlaySurfaces::Surface& m_surface;
};

void OverlaySurfaces::ReportOverlayBuffers() {
    for (const auto& surface : m_surfaces) Report(*surface);
}

// The overlay buffer as the system reads it: each row classed as the row
// analysis classes it (P picture, E all zero, N noise) and the luma of up to
// kPictureColumns evenly spaced pixels of every row (UYVY: luma at odd bytes).
void OverlaySurfaces::Report(Surface& surface) const {
    constexpr uint32_t kPictureColumns = 64;
    const SurfaceConfig& c = surface.config;
    const bool overlay = c.kind == SurfaceKind::OverlayFront || c.kind == SurfaceKind::OverlayBack;
    if (!m_events || !overlay || !c.yuv || c.bitsPerPixel != 16 || c.width == 0 || c.height == 0) return;
    if (!c.lockGivesMemory) return;  // the system cannot read it either
    const uint8_t* base = surface.Rows();
    const size_t rowBytes = surface.RowBytes(), pitch = static_cast<size_t>(c.pitch);
    if (!base || rowBytes < 2) return;
    const uint32_t columns = std::min(c.width, kPictureColumns);
    std::string rows(c.height, 'P');
    std::vector<uint8_t> luma(static_cast<size_t>(columns) * c.height);
    for (uint32_t y = 0; y < c.height; ++y) {
        const uint8_t* row = base + y * pitch;
        if (video::IsZeroRow(row, rowBytes))
            rows[y] = 'E';
        else if (!video::IsPictureRow(row, rowBytes))
            rows[y] = 'N';
        for (uint32_t x = 0; x < columns; ++x) {
            const size_t pixel = static_cast<size_t>(x) * c.width / columns;
            const size_t at = std::min(pixel * 2 + 1, rowBytes - 1);
            luma[static_cast<size_t>(y) * columns + x] = row[at];
        }
    }
    m_events(PlatformEvent{"Platform",
                           {{"what", std::string("OverlayBuffer")},
                            {"surface", int64_t{c.kind == SurfaceKind::OverlayFront ? 0 : 1}},
                            {"width", int64_t{c.width}},
                            {"height", int64_t{c.height}},
                            {"rows", std::move(rows)},
                            {"columns", int64_t{columns}},
                            {"luma", EncodeBase64(luma.data(), luma.size())}}});
}

OverlaySurfaces::OverlaySurfaces(const SurfaceConfigs& configs, FaultTable& faults) : m_faults(faults) {
    for (const auto& [name, config] : configs)
        if (config.present) m_surfaces.push_back(std::make_unique<Surface>(Surface{config, {}, 0, false, {}}));
}

port::SurfaceDesc OverlaySurfaces::Describe(const SurfaceConfig& config) {
    constexpr uint32_t kDdsdCaps = 0x1, kDdsdHeight = 0x2, kDdsdWidth = 0x4, kDdsdPitch = 0x8,
                       kDdsdPixelFormat = 0x1000;
    port::SurfaceDesc desc;
    desc.size = port::kSurfaceDescSize;
    desc.flags = kDdsdCaps | kDdsdHeight | kDdsdWidth | kDdsdPitch | kDdsdPixelFormat;
    desc.width = config.width;
    desc.height = config.height;
    desc.pitch = config.pitch;
    switch (config.kind) {
        case SurfaceKind::OverlayFront: desc.caps = port::kDdsCapsOverlay | port::kDdsCapsFrontBuffer; break;
        case SurfaceKind::OverlayBack: desc.caps = port::kDdsCapsOverlay; break;
        case SurfaceKind::Primary: desc.caps = port::kDdsCapsPrimarySurface; break;
        case SurfaceKind::Offscreen: desc.caps = port::kDdsCapsOffscreenPlain; break;
    }
    desc.pixelFormatFlags = config.yuv ? port::kDdpfYuv : 0x40;  // DDPF_YUV or DDPF_RGB
    desc.rgbBitCount = config.bitsPerPixel;
    return desc;
}

std::vector<std::pair<std::shared_ptr<port::IDirectDrawSurface>, port::SurfaceDesc>> OverlaySurfaces::Existing() {
    std::vector<std::pair<std::shared_ptr<port::IDirectDrawSurface>, port::SurfaceDesc>> out;
    for (auto& surface : m_surfaces)
        out.emplace_back(std::make_shared<SimSurface>(*this, *surface), Describe(surface->config));
    return out;
}

// The last surface of a kind: the one a client that keeps the last of each
// kind it enumerates draws with.
OverlaySurfaces::Surface* OverlaySurfaces::Find(SurfaceKind kind) {
    for (auto it = m_surfaces.rbegin(); it != m_surfaces.rend(); ++it)
        if ((*it)->config.kind == kind) return it->get();
    return nullptr;
}

const OverlaySurfaces::Surface* OverlaySurfaces::Find(SurfaceKind kind) const {
    return const_cast<OverlaySurfaces*>(this)->Find(kind);
}

uint32_t OverlaySurfaces::OverlayBytes() const {
    uint64_t bytes = 0;
    for (const auto& s : m_surfaces)
        if (s->config.kind == SurfaceKind::OverlayFront || s->config.kind == SurfaceKind::OverlayBack)
            bytes += static_cast<uint64_t>(std::max(s->config.pitch, 0)) * s->config.height;
    return static_cast<uint32_t>(std::min<uint64_t>(bytes, UINT32_MAX));
}

}  // namespace orbex::sim
