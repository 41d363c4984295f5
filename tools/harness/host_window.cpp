#include "host_window.h"

#ifdef _WIN32
#include <windows.h>

namespace orbex::harness {
namespace {
constexpr const char* kClassName = "OrbexHarnessHost";
constexpr int kClientWidth = 640, kClientHeight = 480;
}  // namespace

uintptr_t HostWindow() {
    static HWND window = [] {
        WNDCLASSA wc{};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = kClassName;
        RegisterClassA(&wc);
        RECT r{0, 0, kClientWidth, kClientHeight};
        AdjustWindowRect(&r, WS_OVERLAPPEDWINDOW, FALSE);
        HWND w = CreateWindowA(kClassName, "Orbex test video", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                               r.right - r.left, r.bottom - r.top, nullptr, nullptr, wc.hInstance, nullptr);
        // Without a desktop to show it on (a service, a display-less CI agent)
        // a message-only window still receives the timers.
        if (!w)
            w = CreateWindowA(kClassName, "Orbex test video", 0, 0, 0, kClientWidth, kClientHeight, HWND_MESSAGE,
                              nullptr, wc.hInstance, nullptr);
        return w;
    }();
    return reinterpret_cast<uintptr_t>(window);
}

bool WaitForTimerMessage(uint32_t timeoutMs) {
    HWND window = reinterpret_cast<HWND>(HostWindow());
    if (!window) return false;
    const DWORD start = GetTickCount();
    for (;;) {
        DWORD waited = GetTickCount() - start;
        if (waited >= timeoutMs) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, timeoutMs - waited, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_TIMER && (msg.hwnd == window || msg.hwnd == nullptr)) {
                KillTimer(msg.hwnd, msg.wParam);
                return true;
            }
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
}

}  // namespace orbex::harness

#else

namespace orbex::harness {
uintptr_t HostWindow() {
    return 0;
}
bool WaitForTimerMessage(uint32_t) {
    return false;
}
}  // namespace orbex::harness

#endif
