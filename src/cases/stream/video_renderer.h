// The video renderer's window: shown in the host window while a graph runs,
// hidden again when the object goes.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/media.h"
#include "platform/video_window.h"

namespace orbex {

class COrbGBuilder;

// The window size used when the host lends no window (or its client area
// cannot be read): the stream's default format, 320 x 240.
constexpr int32_t kDetachedClientWidth = 320;
constexpr int32_t kDetachedClientHeight = 240;

class CVideoRenderer {
public:
    explicit CVideoRenderer(COrbGBuilder* gBuilder) : m_pGBuilder(gBuilder) {}
    // Clears the window's owner, hides it and releases it.
    virtual ~CVideoRenderer();
    CVideoRenderer(const CVideoRenderer&) = delete;
    CVideoRenderer& operator=(const CVideoRenderer&) = delete;

    // 0 when the video window was found and attached, 1 otherwise.
    int32_t Initialize();
    // Places the video window in the host window and shows it; 1 without a video window.
    int32_t AttachWindow();

    const std::shared_ptr<port::IBaseFilter>& Filter() const { return m_pFilter; }
    bool HasVideoWindow() const { return m_pVideoWindow != nullptr; }

private:
    COrbGBuilder* m_pGBuilder = nullptr;
    std::shared_ptr<port::IBaseFilter> m_pFilter;  // owned by the graph builder's filter table
    std::shared_ptr<port::IVideoWindow> m_pVideoWindow;
};

}  // namespace orbex
