#include "platform/sim/media/media_classes.h"

#include "platform/guids.h"
#include "platform/sim/media/capture_graph_builder.h"
#include "platform/sim/media/device_enumerator.h"
#include "platform/sim/media/filter.h"
#include "platform/sim/media/filter_graph.h"

namespace orbex::sim {

MediaClasses::MediaClasses(const MediaConfig& config, FaultTable& faults,
                           std::function<bool(const std::string& kitFile)> isKitRegistered)
    : m_context{config, faults, [isKitRegistered = std::move(isKitRegistered)](const FilterClassDesc& desc) {
                    return isKitRegistered(desc.kitFile);
                }} {}

bool MediaClasses::Owns(const SimFilter& filter) const {
    return &filter.Context() == &m_context;
}

void MediaClasses::RegisterClasses(ComRuntime& com) {
    auto serve = [&](const Guid& clsid) {
        com.RegisterClass(clsid, [this, clsid](const Guid& iid, port::ComPtr& out) { return Create(clsid, iid, out); });
    };
    serve(guids::kClsidCaptureGraphBuilder);
    serve(guids::kClsidFilterGraph);
    serve(guids::kClsidSystemDeviceEnum);
    for (const FilterClassDesc& desc : StandardFilterClasses()) serve(desc.clsid);
    for (const FilterClassDesc& desc : m_context.config.filterClasses) serve(desc.clsid);
}

HResult MediaClasses::Create(const Guid& clsid, const Guid& iid, port::ComPtr& out) {
    out.reset();
    if (clsid == guids::kClsidCaptureGraphBuilder) {
        if (HResult hr = m_context.faults.Next("CreateCaptureGraphBuilder")) return hr;
        return NewCaptureGraphBuilder(m_context)->QueryInterface(iid, out);
    }
    if (clsid == guids::kClsidFilterGraph) {
        if (HResult hr = m_context.faults.Next("CreateFilterGraph")) return hr;
        return NewFilterGraph(m_context)->QueryInterface(iid, out);
    }
    if (clsid == guids::kClsidSystemDeviceEnum) {
        if (HResult hr = m_context.faults.Next("CreateDeviceEnumerator")) return hr;
        return NewDeviceEnumerator(m_context)->QueryInterface(iid, out);
    }
    auto create = [&](const FilterClassDesc& desc) -> HResult {
        bool mixer = desc.clsid == guids::kClsidOverlayMixer;
        if (mixer && !m_context.overlayMixerInstalled) return kRegdbEClassNotReg;
        if (HResult hr = m_context.faults.Next("CreateFilter")) return hr;
        return SimFilter::Create(m_context, desc.name, desc.pins, mixer ? FilterRole::OverlayMixer : RoleOf(desc))
            ->QueryInterface(iid, out);
    };
    // The profile's classes come first, so a board can describe a standard
    // filter of its own make (a renderer without its window, say).
    for (const FilterClassDesc& desc : m_context.config.filterClasses)
        if (desc.clsid == clsid && (desc.kitFile.empty() || desc.registered || m_context.isRegistered(desc)))
            return create(desc);
    for (const FilterClassDesc& desc : StandardFilterClasses())
        if (desc.clsid == clsid) return create(desc);
    return kRegdbEClassNotReg;
}

const std::vector<FilterClassDesc>& StandardFilterClasses() {
    static const std::vector<FilterClassDesc> kClasses = {
        // The Video Renderer has its window, as on every Windows machine.
        {guids::kClsidVideoRenderer,
         "Video Renderer",
         {{PinDirection::Input, "Input", "video", ""}},
         "",
         FilterRole::VideoRenderer,
         ""},
        {guids::kClsidOverlayMixer,
         "Overlay Mixer",
         {{PinDirection::Input, "Input0", "video", ""},
          {PinDirection::Input, "Input1", "video", ""},
          {PinDirection::Output, "Output", "video", ""}},
         "",
         {},
         ""},
        {guids::kClsidSmartTee,
         "Smart Tee",
         {{PinDirection::Input, "Input", "video", ""},
          {PinDirection::Output, "Capture", "video", "capture"},
          {PinDirection::Output, "Preview", "video", "preview"}},
         "",
         {},
         ""},
        {guids::kClsidNullRenderer, "Null Renderer", {{PinDirection::Input, "In", "video", ""}}, "", {}, ""},
        {guids::kClsidVbiSurfaceAllocator,
         "VBI Surface Allocator",
         {{PinDirection::Input, "VBI In", "vbi", ""}},
         "",
         {},
         ""},
    };
    return kClasses;
}

}  // namespace orbex::sim
