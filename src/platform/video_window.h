// The video renderer's window (IVideoWindow) as a port: the four calls that
// place the window in the host window, show it and hide it again.
#pragma once

#include <cstdint>

#include "platform/com.h"
#include "platform/desktop.h"
#include "platform/types.h"

namespace orbex::port {

constexpr int32_t kWsChild = 0x40000000;  // WS_CHILD
constexpr int32_t kOaTrue = -1;           // OATRUE
constexpr int32_t kOaFalse = 0;           // OAFALSE

class IVideoWindow : public IComObject {
public:
    // The window that owns the video window; 0 clears the owner.
    virtual HResult put_Owner(WindowHandle owner) = 0;
    virtual HResult put_WindowStyle(int32_t style) = 0;
    virtual HResult SetWindowPosition(int32_t left, int32_t top, int32_t width, int32_t height) = 0;
    virtual HResult put_Visible(int32_t visible) = 0;  // kOaTrue or kOaFalse
};

}  // namespace orbex::port
