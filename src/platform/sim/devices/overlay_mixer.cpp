#include "platform/sim/devices/overlay_mixer.h"

#include <algorithm>

#include "platform/guids.h"
#include "platform/sim/ledger.h"

namespace orbex::sim {
namespace {

class ExclusiveModeVideo final : public port::IDDrawExclModeVideo,
                                 public std::enable_shared_from_this<ExclusiveModeVideo> {
    LedgerToken m_ledgerEntry{"COM", "IDDrawExclModeVideo"};  // counted while the object lives
public:
    ExclusiveModeVideo(DirectDrawRuntime& directDraw, FaultTable& faults)
        : m_directDraw(directDraw), m_faults(faults) {}

    HResult QueryInterface(const Guid& iid, port::ComPtr& out) override {
        out.reset();
        if (iid != guids::kIidDDrawExclModeVideo && iid != guids::kIidUnknown) return kENoInterface;
        out = shared_from_this();
        return kSOk;
    }
    // The mixer made its DirectDraw object itself: not an external one.
    HResult GetDDrawObject(std::shared_ptr<port::IDirectDraw>& out, int32_t* isExternal) override {
        out.reset();
        if (HResult hr = m_faults.Next("GetDDrawObject")) return hr;
        out = m_directDraw.MixerObject();
        if (isExternal) *isExternal = 0;
        return kSOk;
    }

private:
    DirectDrawRuntime& m_directDraw;
    FaultTable& m_faults;
};

}  // namespace

OverlayMixerModel::OverlayMixerModel(const OverlayMixerConfig& config, uint32_t leakPerRun, DecoderModel& decoder,
                                     SignalPath& signal, OverlaySurfaces& surfaces, VideoMemory& memory,
                                     DirectDrawRuntime& directDraw, VirtualClock& clock, FaultTable& faults)
    : m_config(config),
      m_leakPerRun(leakPerRun),
      m_decoder(decoder),
      m_signal(signal),
      m_surfaces(surfaces),
      m_memory(memory),
      m_directDraw(directDraw),
      m_faults(faults),
      m_feed([&clock] { return clock.Now(); }, [this](uint32_t at) { return Conditions(at); }, surfaces) {}

// Frames flow while a running graph links the decoder to the mixer, the
// decoder's output is enabled and it is locked to a signal at its input,
// unless the machine holds them back (asleep).
FeedConditions OverlayMixerModel::Conditions(uint32_t at) const {
    FeedConditions c;
    bool linked = false;
    for (const auto& [link, state] : m_links) linked = linked || state.running;
    DecoderInput input = m_signal.InputAt(at);
    bool held = m_held && m_held(at);
    c.flowing = linked && m_decoder.OutputEnabled() && m_decoder.LockedAt(at) && input.signal && !held;
    c.source = input.source;
    if (m_shape) c.shape = m_shape();
    return c;
}

HResult OverlayMixerModel::MixerInterface(const Guid& iid, port::ComPtr& out) {
    out.reset();
    if (iid == guids::kIidDDrawExclModeVideo && m_config.exclusiveMode) {
        if (HResult hr = m_faults.Next("QueryExclModeVideo")) return hr;
        out = std::make_shared<ExclusiveModeVideo>(m_directDraw, m_faults);
        return kSOk;
    }
    return kENoInterface;
}

uint32_t OverlayMixerModel::FrameBytes() const {
    const OverlaySurfaces::Surface* front = m_surfaces.Find(SurfaceKind::OverlayFront);
    return front ? static_cast<uint32_t>(std::max(front->config.pitch, 0)) * front->config.height : 0;
}

// A link takes the overlay buffers' memory, and is refused when they do not
// fit in what is free; running takes one frame more.
HResult OverlayMixerModel::LinkConnected(OverlayLink link, bool graphRunning) {
    constexpr HResult kDdErrOutOfVideoMemory = static_cast<HResult>(0x8876017C);
    if (m_links.count(link)) return kSOk;
    if (m_memory.Free() < m_surfaces.OverlayBytes()) return kDdErrOutOfVideoMemory;
    Link& l = m_links[link];
    m_memory.Take(m_surfaces.OverlayBytes());
    if (graphRunning) {
        l.running = true;
        ++l.runs;
        m_memory.Take(FrameBytes());
    }
    return kSOk;
}

// The memory comes back, less the profile's leak for every run.
void OverlayMixerModel::LinkDisconnected(OverlayLink link) {
    auto it = m_links.find(link);
    if (it == m_links.end()) return;
    if (it->second.running) m_memory.GiveBack(FrameBytes());
    uint64_t leaked = uint64_t{m_leakPerRun} * it->second.runs;
    uint32_t bytes = m_surfaces.OverlayBytes();
    m_memory.GiveBack(static_cast<uint32_t>(leaked >= bytes ? 0 : bytes - leaked));
    if (leaked > bytes) m_memory.Take(static_cast<uint32_t>(std::min<uint64_t>(leaked - bytes, UINT32_MAX)));
    m_links.erase(it);
}

void OverlayMixerModel::GraphRunning(const std::vector<OverlayLink>& links, bool running) {
    for (OverlayLink link : links) {
        auto it = m_links.find(link);
        if (it == m_links.end() || it->second.running == running) continue;
        it->second.running = running;
        if (running) {
            ++it->second.runs;
            m_memory.Take(FrameBytes());
        } else {
            m_memory.GiveBack(FrameBytes());
        }
    }
}

}  // namespace orbex::sim
