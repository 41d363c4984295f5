#include "platform/sim/media/filter.h"

#include "platform/guids.h"
#include "platform/sim/media/list_enumerator.h"

namespace orbex::sim {
namespace {

using port::ComPtr;

using SimEnumPins = ListEnumerator<port::IEnumPins, port::IPin, SimPin>;

}  // namespace

HResult SimPin::QueryInterface(const Guid& iid, ComPtr& out) {
    if (iid == guids::kIidPin || iid == guids::kIidUnknown) {
        out = shared_from_this();
        return kSOk;
    }
    out.reset();
    return kENoInterface;
}

std::shared_ptr<SimFilter> SimFilter::Create(MediaContext& context, std::string name, const std::vector<PinDesc>& pins,
                                             FilterRole role) {
    auto filter = std::shared_ptr<SimFilter>(new SimFilter(context, std::move(name), role));
    for (const PinDesc& desc : pins) filter->m_pins.push_back(std::make_shared<SimPin>(desc, filter));
    return filter;
}

// Besides its own interface, a filter of a board device hands out the
// interfaces of the device its role names, through that role's provider.
HResult SimFilter::QueryInterface(const Guid& iid, ComPtr& out) {
    if (iid == guids::kIidBaseFilter || iid == guids::kIidUnknown) {
        out = shared_from_this();
        return kSOk;
    }
    out.reset();
    const InterfaceProvider& provider = m_context.providers[static_cast<size_t>(m_role)];
    if (m_role != FilterRole::Plain && provider) return provider(*this, iid, out);
    return kENoInterface;
}

HResult SimFilter::EnumPins(std::shared_ptr<port::IEnumPins>& out) {
    out.reset();
    if (HResult hr = m_context.faults.Next("EnumPins")) return hr;
    out = std::make_shared<SimEnumPins>(m_pins);
    return kSOk;
}

HResult SimPin::ConnectedTo(std::shared_ptr<port::IPin>& out) {
    out.reset();
    if (auto owner = Owner())
        if (HResult hr = owner->Context().faults.Next("ConnectedTo")) return hr;
    out = Peer();
    return out ? kSOk : kVfwENotConnected;
}

HResult SimPin::QueryPinInfo(port::PinInfo& out) {
    out = {};
    auto owner = Owner();
    if (owner)
        if (HResult hr = owner->Context().faults.Next("QueryPinInfo")) return hr;
    out.filter = owner;
    out.direction = m_desc.direction;
    out.name = m_desc.name;
    return kSOk;
}

}  // namespace orbex::sim
