#include "platform/sim/display/direct_draw.h"

#include <memory>

#include "platform/guids.h"
#include "platform/sim/ledger.h"

namespace orbex::sim {
namespace {

class DirectDrawObject final : public port::IDirectDraw2,
                               public port::IDirectDraw,
                               public std::enable_shared_from_this<DirectDrawObject> {
    LedgerToken m_ledgerEntry{"COM", "IDirectDraw"};  // counted while the object lives
public:
    DirectDrawObject(const VideoMemory& videoMemory, OverlaySurfaces& surfaces, FaultTable& faults)
        : m_videoMemory(videoMemory), m_surfaces(surfaces), m_faults(faults) {}

    HResult QueryInterface(const Guid& iid, port::ComPtr& out) override {
        out.reset();
        if (iid == guids::kIidDirectDraw2) {
            if (HResult hr = m_faults.Next("QueryDirectDraw2")) return hr;
            out = std::static_pointer_cast<port::IDirectDraw2>(shared_from_this());
            return kSOk;
        }
        if (iid == guids::kIidDirectDraw || iid == guids::kIidUnknown) {
            out = std::static_pointer_cast<port::IDirectDraw>(shared_from_this());
            return kSOk;
        }
        return kENoInterface;
    }
    HResult GetAvailableVidMem(uint32_t, uint32_t* total, uint32_t* free) override {
        FaultHit fault = m_faults.Take("GetAvailableVidMem");
        if (fault.code) return fault.code;
        if (total) *total = m_videoMemory.Total();
        // Malformed: more memory free than there is.
        if (free) *free = fault.malformed ? m_videoMemory.Total() + 1 : m_videoMemory.Free();
        if (free && fault.malformed) m_faults.Applied("GetAvailableVidMem");
        return kSOk;
    }
    // Lists every existing surface; the callback may stop the enumeration.
    HResult EnumSurfaces(uint32_t, const port::EnumSurfacesCallback& callback) override {
        if (HResult hr = m_faults.Next("EnumSurfaces")) return hr;
        for (auto& [surface, desc] : m_surfaces.Existing())
            if (callback(std::move(surface), desc) != port::kDdEnumRetOk) break;
        return kSOk;
    }

private:
    const VideoMemory& m_videoMemory;
    OverlaySurfaces& m_surfaces;
    FaultTable& m_faults;
};

}  // namespace

HResult DirectDrawRuntime::DirectDrawCreate(port::ComPtr& out) {
    out.reset();
    if (HResult hr = m_faults.Next("DirectDrawCreate")) return hr;
    out = std::static_pointer_cast<port::IDirectDraw2>(
        std::make_shared<DirectDrawObject>(m_videoMemory, m_surfaces, m_faults));
    return kSOk;
}

std::shared_ptr<port::IDirectDraw> DirectDrawRuntime::MixerObject() {
    return std::make_shared<DirectDrawObject>(m_videoMemory, m_surfaces, m_faults);
}

}  // namespace orbex::sim
