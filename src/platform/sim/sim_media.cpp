#include "platform/sim/sim_media.h"

#include "platform/guids.h"

namespace orbex::sim {
namespace {

using port::ComPtr;

constexpr Guid kIidPin{0x56A86891, 0x0AD4, 0x11CE, {0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};
constexpr Guid kIidMoniker{0x0000000F, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

class SimFilter;
class SimGraph;

class SimPin final : public port::IPin, public std::enable_shared_from_this<SimPin> {
public:
    SimPin(const PinSpec& spec, std::weak_ptr<SimFilter> owner) : m_spec(spec), m_owner(std::move(owner)) {}

    HResult QueryInterface(const Guid& iid, ComPtr& out) override {
        if (iid == kIidPin || iid == guids::kIidUnknown) {
            out = shared_from_this();
            return kSOk;
        }
        out.reset();
        return kENoInterface;
    }
    HResult QueryPinInfo(port::PinInfo& out) override;
    HResult ConnectedTo(std::shared_ptr<port::IPin>& out) override {
        out = Peer();
        return out ? kSOk : kVfwENotConnected;
    }

    const PinSpec& Spec() const { return m_spec; }
    std::shared_ptr<SimFilter> Owner() const { return m_owner.lock(); }
    std::shared_ptr<SimPin> Peer() const { return m_peer.lock(); }
    void SetPeer(const std::shared_ptr<SimPin>& peer) { m_peer = peer; }

private:
    PinSpec m_spec;
    std::weak_ptr<SimFilter> m_owner;
    std::weak_ptr<SimPin> m_peer;
};

class SimEnumPins final : public port::IEnumPins, public std::enable_shared_from_this<SimEnumPins> {
public:
    explicit SimEnumPins(std::vector<std::shared_ptr<SimPin>> pins) : m_pins(std::move(pins)) {}
    HResult QueryInterface(const Guid&, ComPtr& out) override {
        out.reset();
        return kENoInterface;
    }
    HResult Next(std::shared_ptr<port::IPin>& out) override {
        if (m_next >= m_pins.size()) {
            out.reset();
            return kSFalse;
        }
        out = m_pins[m_next++];
        return kSOk;
    }
    HResult Reset() override {
        m_next = 0;
        return kSOk;
    }

private:
    std::vector<std::shared_ptr<SimPin>> m_pins;
    size_t m_next = 0;
};

class SimFilter final : public port::IBaseFilter, public std::enable_shared_from_this<SimFilter> {
public:
    static std::shared_ptr<SimFilter> Create(MediaContext& context, std::string name,
                                             const std::vector<PinSpec>& pins) {
        auto filter = std::shared_ptr<SimFilter>(new SimFilter(context, std::move(name)));
        for (const PinSpec& spec : pins) filter->m_pins.push_back(std::make_shared<SimPin>(spec, filter));
        return filter;
    }

    HResult QueryInterface(const Guid& iid, ComPtr& out) override {
        if (iid == guids::kIidBaseFilter || iid == guids::kIidUnknown) {
            out = shared_from_this();
            return kSOk;
        }
        out.reset();
        return kENoInterface;
    }
    HResult EnumPins(std::shared_ptr<port::IEnumPins>& out) override {
        out.reset();
        if (HResult hr = m_context.faults->Next("EnumPins")) return hr;
        out = std::make_shared<SimEnumPins>(m_pins);
        return kSOk;
    }

    const std::string& Name() const { return m_name; }
    const std::vector<std::shared_ptr<SimPin>>& Pins() const { return m_pins; }
    std::weak_ptr<SimGraph> graph;
    MediaContext& Context() { return m_context; }

private:
    SimFilter(MediaContext& context, std::string name) : m_context(context), m_name(std::move(name)) {}
    MediaContext& m_context;
    std::string m_name;
    std::vector<std::shared_ptr<SimPin>> m_pins;
};

HResult SimPin::QueryPinInfo(port::PinInfo& out) {
    out = {};
    auto owner = Owner();
    if (owner)
        if (HResult hr = owner->Context().faults->Next("QueryPinInfo")) return hr;
    out.filter = owner;
    out.direction = m_spec.direction;
    out.name = m_spec.name;
    return kSOk;
}

class SimGraph final : public port::IGraphBuilder,
                       public port::IMediaControl,
                       public std::enable_shared_from_this<SimGraph> {
public:
    explicit SimGraph(MediaContext& context) : m_context(context) {}

    HResult QueryInterface(const Guid& iid, ComPtr& out) override {
        out.reset();
        if (iid == guids::kIidGraphBuilder || iid == guids::kIidUnknown) {
            out = std::static_pointer_cast<port::IGraphBuilder>(shared_from_this());
            return kSOk;
        }
        if (iid == guids::kIidMediaControl) {
            if (HResult hr = m_context.faults->Next("QueryMediaControl")) return hr;
            out = std::static_pointer_cast<port::IMediaControl>(shared_from_this());
            return kSOk;
        }
        return kENoInterface;
    }

    HResult AddFilter(const std::shared_ptr<port::IBaseFilter>& filter, const char*) override {
        auto f = std::dynamic_pointer_cast<SimFilter>(filter);
        if (!f) return kEPointer;
        if (HResult hr = m_context.faults->Next("AddFilter")) return hr;
        if (f->graph.lock()) return kEInvalidArg;
        f->graph = std::static_pointer_cast<SimGraph>(shared_from_this());
        m_filters.push_back(f);
        return kSOk;
    }

    HResult RemoveFilter(const std::shared_ptr<port::IBaseFilter>& filter) override {
        auto f = std::dynamic_pointer_cast<SimFilter>(filter);
        if (!f) return kEPointer;
        if (HResult hr = m_context.faults->Next("RemoveFilter")) return hr;
        for (auto it = m_filters.begin(); it != m_filters.end(); ++it) {
            if (*it != f) continue;
            for (const auto& pin : f->Pins()) {  // removing a filter breaks its connections
                if (auto peer = pin->Peer()) peer->SetPeer(nullptr);
                pin->SetPeer(nullptr);
            }
            f->graph.reset();
            m_filters.erase(it);
            return kSOk;
        }
        return kVfwENotInGraph;
    }

    HResult ConnectDirect(const std::shared_ptr<port::IPin>& out, const std::shared_ptr<port::IPin>& in) override {
        auto o = std::dynamic_pointer_cast<SimPin>(out);
        auto i = std::dynamic_pointer_cast<SimPin>(in);
        if (!o || !i) return kEPointer;
        if (HResult hr = m_context.faults->Next("ConnectDirect")) return hr;
        if (!InGraph(o) || !InGraph(i)) return kVfwENotInGraph;
        if (o->Spec().direction != PinDirection::Output || i->Spec().direction != PinDirection::Input)
            return kVfwEInvalidDirection;
        if (o->Peer() || i->Peer()) return kVfwEAlreadyConnected;
        if (o->Spec().medium != i->Spec().medium) return kVfwENoAcceptableTypes;
        o->SetPeer(i);
        i->SetPeer(o);
        return kSOk;
    }

    HResult Disconnect(const std::shared_ptr<port::IPin>& pin) override {
        auto p = std::dynamic_pointer_cast<SimPin>(pin);
        if (!p) return kEPointer;
        if (HResult hr = m_context.faults->Next("Disconnect")) return hr;
        if (!p->Peer()) return kSFalse;
        p->SetPeer(nullptr);
        return kSOk;
    }

    HResult Run() override {
        if (HResult hr = m_context.faults->Next("Run")) return hr;
        m_running = true;
        return kSOk;
    }
    HResult Stop() override {
        if (HResult hr = m_context.faults->Next("Stop")) return hr;
        m_running = false;
        return kSOk;
    }

private:
    bool InGraph(const std::shared_ptr<SimPin>& pin) const {
        auto owner = pin->Owner();
        return owner && owner->graph.lock().get() == this;
    }

    MediaContext& m_context;
    std::vector<std::shared_ptr<SimFilter>> m_filters;
    bool m_running = false;
};

class SimCaptureGraphBuilder final : public port::ICaptureGraphBuilder,
                                     public std::enable_shared_from_this<SimCaptureGraphBuilder> {
public:
    explicit SimCaptureGraphBuilder(MediaContext& context) : m_context(context) {}

    HResult QueryInterface(const Guid& iid, ComPtr& out) override {
        if (iid == guids::kIidCaptureGraphBuilder || iid == guids::kIidUnknown) {
            out = shared_from_this();
            return kSOk;
        }
        out.reset();
        return kENoInterface;
    }
    HResult SetFiltergraph(const std::shared_ptr<port::IGraphBuilder>& graph) override {
        if (!graph) return kEPointer;
        if (HResult hr = m_context.faults->Next("SetFiltergraph")) return hr;
        m_graph = graph;
        return kSOk;
    }
    // With a category: the filter's output pin of that category, then the
    // filter itself; without: the filter, then each of its pins.
    HResult FindInterface(const Guid* category, const std::shared_ptr<port::IBaseFilter>& filter, const Guid& iid,
                          ComPtr& out) override {
        out.reset();
        auto f = std::dynamic_pointer_cast<SimFilter>(filter);
        if (!f) return kEPointer;
        if (HResult hr = m_context.faults->Next("FindInterface")) return hr;
        if (category) {
            std::string wanted = *category == guids::kPinCategoryCapture   ? "capture"
                                 : *category == guids::kPinCategoryPreview ? "preview"
                                 : *category == guids::kPinCategoryVbi     ? "vbi"
                                                                           : "?";
            for (const auto& pin : f->Pins()) {
                if (pin->Spec().direction != PinDirection::Output || pin->Spec().category != wanted) continue;
                if (pin->QueryInterface(iid, out) == kSOk) return kSOk;
                return f->QueryInterface(iid, out) == kSOk ? kSOk : kENoInterface;
            }
            return kEFail;
        }
        if (f->QueryInterface(iid, out) == kSOk) return kSOk;
        for (const auto& pin : f->Pins())
            if (pin->QueryInterface(iid, out) == kSOk) return kSOk;
        return kENoInterface;
    }

private:
    MediaContext& m_context;
    std::shared_ptr<port::IGraphBuilder> m_graph;
};

class SimPropertyBag final : public port::IPropertyBag {
public:
    SimPropertyBag(MediaContext& context, std::string friendlyName)
        : m_context(context), m_friendlyName(std::move(friendlyName)) {}
    HResult QueryInterface(const Guid&, ComPtr& out) override {
        out.reset();
        return kENoInterface;
    }
    HResult ReadString(const char* name, std::string& out) override {
        out.clear();
        if (std::string(name) != "FriendlyName") return kEInvalidArg;
        if (HResult hr = m_context.faults->Next("ReadFriendlyName")) return hr;
        out = m_friendlyName;
        return kSOk;
    }

private:
    MediaContext& m_context;
    std::string m_friendlyName;
};

class SimMoniker final : public port::IMoniker, public std::enable_shared_from_this<SimMoniker> {
public:
    SimMoniker(MediaContext& context, const DeviceSpec& device) : m_context(context), m_device(device) {}
    HResult QueryInterface(const Guid& iid, ComPtr& out) override {
        if (iid == kIidMoniker || iid == guids::kIidUnknown) {
            out = shared_from_this();
            return kSOk;
        }
        out.reset();
        return kENoInterface;
    }
    HResult BindToPropertyBag(std::shared_ptr<port::IPropertyBag>& out) override {
        out.reset();
        if (HResult hr = m_context.faults->Next("BindToPropertyBag")) return hr;
        out = std::make_shared<SimPropertyBag>(m_context, m_device.friendlyName);
        return kSOk;
    }
    HResult BindToObject(const Guid& iid, ComPtr& out) override {
        out.reset();
        if (HResult hr = m_context.faults->Next("BindToFilter")) return hr;
        auto filter = SimFilter::Create(m_context, m_device.friendlyName, m_device.pins);
        return filter->QueryInterface(iid, out);
    }

private:
    MediaContext& m_context;
    const DeviceSpec& m_device;
};

class SimEnumMoniker final : public port::IEnumMoniker {
public:
    explicit SimEnumMoniker(std::vector<std::shared_ptr<SimMoniker>> monikers) : m_monikers(std::move(monikers)) {}
    HResult QueryInterface(const Guid&, ComPtr& out) override {
        out.reset();
        return kENoInterface;
    }
    HResult Next(std::shared_ptr<port::IMoniker>& out) override {
        if (m_next >= m_monikers.size()) {
            out.reset();
            return kSFalse;
        }
        out = m_monikers[m_next++];
        return kSOk;
    }
    HResult Reset() override {
        m_next = 0;
        return kSOk;
    }

private:
    std::vector<std::shared_ptr<SimMoniker>> m_monikers;
    size_t m_next = 0;
};

class SimDevEnum final : public port::ICreateDevEnum, public std::enable_shared_from_this<SimDevEnum> {
public:
    explicit SimDevEnum(MediaContext& context) : m_context(context) {}
    HResult QueryInterface(const Guid& iid, ComPtr& out) override {
        if (iid == guids::kIidCreateDevEnum || iid == guids::kIidUnknown) {
            out = shared_from_this();
            return kSOk;
        }
        out.reset();
        return kENoInterface;
    }
    HResult CreateClassEnumerator(const Guid& category, std::shared_ptr<port::IEnumMoniker>& out, uint32_t) override {
        out.reset();
        if (HResult hr = m_context.faults->Next("CreateClassEnumerator")) return hr;
        std::vector<std::shared_ptr<SimMoniker>> monikers;
        for (const DeviceSpec& d : m_context.profile->devices)
            if (d.category == category) monikers.push_back(std::make_shared<SimMoniker>(m_context, d));
        if (monikers.empty()) return kSFalse;  // an empty category, as DirectShow reports it
        out = std::make_shared<SimEnumMoniker>(std::move(monikers));
        return kSOk;
    }

private:
    MediaContext& m_context;
};

}  // namespace

const std::vector<FilterClassSpec>& StandardFilterClasses() {
    static const std::vector<FilterClassSpec> kClasses = {
        {guids::kClsidVideoRenderer, "Video Renderer", {{PinDirection::Input, "Input", "video", ""}}, ""},
        {guids::kClsidOverlayMixer,
         "Overlay Mixer",
         {{PinDirection::Input, "Input0", "video", ""}, {PinDirection::Output, "Output", "overlay", ""}},
         ""},
        {guids::kClsidSmartTee,
         "Smart Tee",
         {{PinDirection::Input, "Input", "video", ""},
          {PinDirection::Output, "Capture", "video", "capture"},
          {PinDirection::Output, "Preview", "video", "preview"}},
         ""},
        {guids::kClsidNullRenderer, "Null Renderer", {{PinDirection::Input, "In", "video", ""}}, ""},
        {guids::kClsidVbiSurfaceAllocator, "VBI Surface Allocator", {{PinDirection::Input, "VBI In", "vbi", ""}}, ""},
    };
    return kClasses;
}

HResult CreateMediaObject(MediaContext& context, const Guid& clsid, const Guid& iid, ComPtr& out) {
    out.reset();
    if (clsid == guids::kClsidCaptureGraphBuilder) {
        if (HResult hr = context.faults->Next("CreateCaptureGraphBuilder")) return hr;
        return std::make_shared<SimCaptureGraphBuilder>(context)->QueryInterface(iid, out);
    }
    if (clsid == guids::kClsidFilterGraph) {
        if (HResult hr = context.faults->Next("CreateFilterGraph")) return hr;
        return std::make_shared<SimGraph>(context)->QueryInterface(iid, out);
    }
    if (clsid == guids::kClsidSystemDeviceEnum) {
        if (HResult hr = context.faults->Next("CreateDeviceEnumerator")) return hr;
        return std::make_shared<SimDevEnum>(context)->QueryInterface(iid, out);
    }
    auto create = [&](const FilterClassSpec& spec) -> HResult {
        if (HResult hr = context.faults->Next("CreateFilter")) return hr;
        return SimFilter::Create(context, spec.name, spec.pins)->QueryInterface(iid, out);
    };
    for (const FilterClassSpec& spec : StandardFilterClasses())
        if (spec.clsid == clsid) return create(spec);
    for (const FilterClassSpec& spec : context.profile->filterClasses)
        if (spec.clsid == clsid && (spec.kitFile.empty() || context.isRegistered(spec))) return create(spec);
    return kRegdbEClassNotReg;
}

}  // namespace orbex::sim
