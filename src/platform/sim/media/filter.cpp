#include "platform/sim/media/filter.h"

#include "platform/guids.h"
#include "platform/sim/media/list_enumerator.h"

namespace orbex::sim {
namespace {

using port::ComPtr;

constexpr Guid kIidPin{0x56A86891, 0x0AD4, 0x11CE, {0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};

using SimEnumPins = ListEnumerator<port::IEnumPins, port::IPin, SimPin>;

}  // namespace

HResult SimPin::QueryInterface(const Guid& iid, ComPtr& out) {
    if (iid == kIidPin || iid == guids::kIidUnknown) {
        out = shared_from_this();
        return kSOk;
    }
    out.reset();
    return kENoInterface;
}

std::shared_ptr<SimFilter> SimFilter::Create(MediaContext& context, std::string name,
                                             const std::vector<PinSpec>& pins) {
    auto filter = std::shared_ptr<SimFilter>(new SimFilter(context, std::move(name)));
    for (const PinSpec& spec : pins) filter->m_pins.push_back(std::make_shared<SimPin>(spec, filter));
    return filter;
}

HResult SimFilter::QueryInterface(const Guid& iid, ComPtr& out) {
    if (iid == guids::kIidBaseFilter || iid == guids::kIidUnknown) {
        out = shared_from_this();
        return kSOk;
    }
    out.reset();
    return kENoInterface;
}

HResult SimFilter::EnumPins(std::shared_ptr<port::IEnumPins>& out) {
    out.reset();
    if (HResult hr = m_context.faults.Next("EnumPins")) return hr;
    out = std::make_shared<SimEnumPins>(m_pins);
    return kSOk;
}

HResult SimPin::QueryPinInfo(port::PinInfo& out) {
    out = {};
    auto owner = Owner();
    if (owner)
        if (HResult hr = owner->Context().faults.Next("QueryPinInfo")) return hr;
    out.filter = owner;
    out.direction = m_spec.direction;
    out.name = m_spec.name;
    return kSOk;
}

}  // namespace orbex::sim
