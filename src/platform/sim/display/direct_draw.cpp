#include "platform/sim/display/direct_draw.h"

#include <memory>

#include "platform/guids.h"

namespace orbex::sim {
namespace {

class DirectDrawObject final : public port::IDirectDraw2, public std::enable_shared_from_this<DirectDrawObject> {
public:
    DirectDrawObject(const VideoMemory& videoMemory, FaultTable& faults)
        : m_videoMemory(videoMemory), m_faults(faults) {}

    HResult QueryInterface(const Guid& iid, port::ComPtr& out) override {
        out.reset();
        if (iid == guids::kIidDirectDraw2) {
            if (HResult hr = m_faults.Next("QueryDirectDraw2")) return hr;
            out = shared_from_this();
            return kSOk;
        }
        if (iid == guids::kIidUnknown) {
            out = shared_from_this();
            return kSOk;
        }
        return kENoInterface;
    }
    HResult GetAvailableVidMem(uint32_t, uint32_t* total, uint32_t* free) override {
        if (HResult hr = m_faults.Next("GetAvailableVidMem")) return hr;
        if (total) *total = m_videoMemory.Total();
        if (free) *free = m_videoMemory.Free();
        return kSOk;
    }

private:
    const VideoMemory& m_videoMemory;
    FaultTable& m_faults;
};

}  // namespace

HResult DirectDrawRuntime::DirectDrawCreate(port::ComPtr& out) {
    out.reset();
    if (HResult hr = m_faults.Next("DirectDrawCreate")) return hr;
    out = std::make_shared<DirectDrawObject>(m_videoMemory, m_faults);
    return kSOk;
}

}  // namespace orbex::sim
