// The video renderer's window: one per renderer filter, created when the
// filter is first asked for it. It records what the system sets (owner,
// style, position, visibility), each call as a platform event, and refuses
// what a window of the platform refuses.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/sim/events.h"
#include "platform/sim/faults.h"
#include "platform/video_window.h"

namespace orbex::sim {

class SimFilter;

struct RendererWindow {
    std::string filterName;  // the renderer filter's name
    port::WindowHandle owner = 0;
    int32_t style = 0x06CF0000;  // a new renderer window: overlapped, clipping siblings and children
    int32_t left = 0;
    int32_t top = 0;
    int32_t width = 0;
    int32_t height = 0;
    bool positioned = false;  // SetWindowPosition succeeded at least once
    bool visible = false;
};

// Styles a video window refuses: disabled, scroll bars, minimised, maximised.
constexpr int32_t kRefusedWindowStyles = 0x08000000 | 0x00100000 | 0x00200000 | 0x20000000 | 0x01000000;

class VideoRendererModel {
public:
    // isWindow: whether a handle names a window of the desktop (0 never does).
    VideoRendererModel(FaultTable& faults, const EventSink& events, std::function<bool(port::WindowHandle)> isWindow)
        : m_faults(faults), m_events(events), m_isWindow(std::move(isWindow)) {}
    VideoRendererModel(const VideoRendererModel&) = delete;
    VideoRendererModel& operator=(const VideoRendererModel&) = delete;

    // The renderer filter's IVideoWindow; kENoInterface for any other interface.
    HResult Interface(SimFilter& filter, const Guid& iid, port::ComPtr& out);
    // The windows of the renderer filters asked so far, in that order.
    std::vector<RendererWindow> Windows() const;

    // The calls of one window, as its interface makes them.
    HResult PutOwner(RendererWindow& window, port::WindowHandle owner);
    HResult PutWindowStyle(RendererWindow& window, int32_t style);
    HResult SetWindowPosition(RendererWindow& window, int32_t left, int32_t top, int32_t width, int32_t height);
    HResult PutVisible(RendererWindow& window, int32_t visible);

private:
    void Emit(const RendererWindow& window, const char* what, std::vector<EventField> fields, HResult result);

    struct Entry {
        std::weak_ptr<SimFilter> filter;
        std::shared_ptr<RendererWindow> window;
    };
    FaultTable& m_faults;
    const EventSink& m_events;
    std::function<bool(port::WindowHandle)> m_isWindow;
    std::vector<Entry> m_windows;
};

}  // namespace orbex::sim
