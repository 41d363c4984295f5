// The desktop services the stream tests use: the host window and its timer,
// the screen saver, the cursor and the system's power state. Results are
// carried the way the platform carries them.
#pragma once

#include <cstdint>

namespace orbex::port {

using WindowHandle = uintptr_t;  // 0: no window

struct WindowRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
};

struct CursorPoint {
    int32_t x = 0;
    int32_t y = 0;
};

constexpr uint32_t kWmClose = 0x0010;
constexpr uint32_t kSpiSetScreenSaveActive = 0x0011;
constexpr uint32_t kSpiGetScreenSaveActive = 0x0010;
constexpr uint32_t kSpifUpdateIniFile = 0x01;
constexpr uint32_t kSpifSendWinIniChange = 0x02;
constexpr int32_t kSmCyBorder = 6;

class IDesktop {
public:
    virtual ~IDesktop() = default;

    // The window the hosting program lends the library; 0 when it lends none.
    virtual WindowHandle HostWindow() = 0;
    virtual bool GetClientRect(WindowHandle window, WindowRect& out) = 0;
    virtual int32_t GetSystemMetrics(int32_t index) = 0;
    // Arms a timer on the window; its expiry reaches the host's message loop.
    // Returns the timer's identifier, 0 on failure.
    virtual uintptr_t SetTimer(WindowHandle window, uintptr_t id, uint32_t elapseMs) = 0;
    virtual bool KillTimer(WindowHandle window, uintptr_t id) = 0;

    // Looks for a file by its full path (FindFirstFile, then FindClose) and
    // copies the file's name as the file system reports it into name
    // (truncated to fit, always terminated); false when there is none.
    virtual bool FindFileName(const char* path, char* name, uint32_t size) = 0;
    // Starts a program as a separate process without waiting for it.
    virtual bool StartProcess(const char* commandLine) = 0;
    virtual WindowHandle FindTopWindow(const char* className, const char* windowName) = 0;
    virtual bool PostWindowMessage(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam) = 0;
    // SystemParametersInfo for the screen saver's setting (an integer parameter).
    virtual bool SystemParameters(uint32_t action, uint32_t uiParam, int32_t* pvParam, uint32_t winIni) = 0;
    // Asks the system to suspend (or hibernate); returns after it woke.
    virtual bool SetSuspendState(bool hibernate, bool forceCritical, bool disableWakeEvent) = 0;
    virtual bool GetCursorPos(CursorPoint& out) = 0;
    virtual bool SetCursorPos(int32_t x, int32_t y) = 0;
};

}  // namespace orbex::port
