#include "platform/sim/devices/video_renderer.h"

#include "platform/guids.h"
#include "platform/sim/ledger.h"
#include "platform/sim/media/filter.h"

namespace orbex::sim {
namespace {

// One renderer filter's IVideoWindow. It keeps the window's state alive, so
// a system that holds it past the filter still talks to the same window.
class SimVideoWindow final : public port::IVideoWindow, public std::enable_shared_from_this<SimVideoWindow> {
    LedgerToken m_ledgerEntry{"COM", "IVideoWindow"};  // counted while the object lives
public:
    SimVideoWindow(VideoRendererModel& model, std::shared_ptr<RendererWindow> window)
        : m_model(model), m_window(std::move(window)) {}

    HResult QueryInterface(const Guid& iid, port::ComPtr& out) override {
        out.reset();
        if (iid != guids::kIidVideoWindow && iid != guids::kIidUnknown) return kENoInterface;
        out = shared_from_this();
        return kSOk;
    }
    HResult put_Owner(port::WindowHandle owner) override { return m_model.PutOwner(*m_window, owner); }
    HResult put_WindowStyle(int32_t style) override { return m_model.PutWindowStyle(*m_window, style); }
    HResult SetWindowPosition(int32_t left, int32_t top, int32_t width, int32_t height) override {
        return m_model.SetWindowPosition(*m_window, left, top, width, height);
    }
    HResult put_Visible(int32_t visible) override { return m_model.PutVisible(*m_window, visible); }

private:
    VideoRendererModel& m_model;
    std::shared_ptr<RendererWindow> m_window;
};

}  // namespace

HResult VideoRendererModel::Interface(SimFilter& filter, const Guid& iid, port::ComPtr& out) {
    out.reset();
    if (iid != guids::kIidVideoWindow) return kENoInterface;
    std::shared_ptr<RendererWindow> window;
    for (const Entry& e : m_windows)
        if (e.filter.lock().get() == &filter) window = e.window;
    if (!window) {
        window = std::make_shared<RendererWindow>();
        window->filterName = filter.Name();
        m_windows.push_back({filter.weak_from_this(), window});
    }
    out = std::make_shared<SimVideoWindow>(*this, window);
    return kSOk;
}

std::vector<RendererWindow> VideoRendererModel::Windows() const {
    std::vector<RendererWindow> out;
    for (const Entry& e : m_windows) out.push_back(*e.window);
    return out;
}

void VideoRendererModel::Emit(const RendererWindow& window, const char* what, std::vector<EventField> fields,
                              HResult result) {
    if (!m_events) return;
    std::vector<EventField> all = {{"what", std::string(what)}, {"filter", window.filterName}};
    for (EventField& f : fields) all.push_back(std::move(f));
    all.push_back({"result", static_cast<int64_t>(result)});
    m_events(PlatformEvent{"Platform", std::move(all)});
}

// An owner must be a window of the desktop; 0 makes the window top-level again.
HResult VideoRendererModel::PutOwner(RendererWindow& window, port::WindowHandle owner) {
    HResult hr = m_faults.Next("RendererPutOwner");
    if (!hr && owner != 0 && !m_isWindow(owner)) hr = kEInvalidArg;
    if (!hr) window.owner = owner;
    Emit(window, "VideoWindowOwner", {{"owner", static_cast<int64_t>(owner)}}, hr);
    return hr;
}

HResult VideoRendererModel::PutWindowStyle(RendererWindow& window, int32_t style) {
    HResult hr = m_faults.Next("RendererPutWindowStyle");
    if (!hr && (style & kRefusedWindowStyles)) hr = kEInvalidArg;
    if (!hr) window.style = style;
    Emit(window, "VideoWindowStyle", {{"style", int64_t{static_cast<uint32_t>(style)}}}, hr);
    return hr;
}

// A window has no negative size.
HResult VideoRendererModel::SetWindowPosition(RendererWindow& window, int32_t left, int32_t top, int32_t width,
                                              int32_t height) {
    HResult hr = m_faults.Next("RendererSetWindowPosition");
    if (!hr && (width < 0 || height < 0)) hr = kEInvalidArg;
    if (!hr) {
        window.left = left;
        window.top = top;
        window.width = width;
        window.height = height;
        window.positioned = true;
    }
    Emit(window, "VideoWindowPosition",
         {{"left", int64_t{left}}, {"top", int64_t{top}}, {"width", int64_t{width}}, {"height", int64_t{height}}}, hr);
    return hr;
}

// Only the two automation truth values are accepted.
HResult VideoRendererModel::PutVisible(RendererWindow& window, int32_t visible) {
    HResult hr = m_faults.Next("RendererPutVisible");
    if (!hr && visible != port::kOaTrue && visible != port::kOaFalse) hr = kEInvalidArg;
    if (!hr) window.visible = visible == port::kOaTrue;
    Emit(window, "VideoWindowVisible", {{"visible", int64_t{visible}}}, hr);
    return hr;
}

}  // namespace orbex::sim
