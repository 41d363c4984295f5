// clang-format off
#include <windows.h>
// clang-format on

#include "platform/win32/win32_desktop.h"

#include <cstring>

#include "platform/harness_hook.h"
#include "platform/host/host.h"

namespace orbex::win32 {
namespace {

HWND Hwnd(port::WindowHandle w) {
    return reinterpret_cast<HWND>(w);
}

class Win32Desktop final : public port::IDesktop {
public:
    // The window the hosting harness lends, when it exports one.
    port::WindowHandle HostWindow() override {
        auto fn = reinterpret_cast<OrbexHarnessHostWindowFn>(host::ProgramSymbol(ORBEX_HARNESS_HOST_WINDOW_SYMBOL));
        return fn ? static_cast<port::WindowHandle>(fn()) : 0;
    }
    bool GetClientRect(port::WindowHandle window, port::WindowRect& out) override {
        RECT r{};
        if (!::GetClientRect(Hwnd(window), &r)) return false;
        out = {r.left, r.top, r.right, r.bottom};
        return true;
    }
    int32_t GetSystemMetrics(int32_t index) override { return ::GetSystemMetrics(index); }
    // A hosting harness is told of the timer, so that its message loop waits for it.
    uintptr_t SetTimer(port::WindowHandle window, uintptr_t id, uint32_t elapseMs) override {
        uintptr_t timer = ::SetTimer(Hwnd(window), id, elapseMs, nullptr);
        auto hook = reinterpret_cast<OrbexHarnessEventFn>(host::ProgramSymbol(ORBEX_HARNESS_EVENT_SYMBOL));
        if (timer && hook) {
            OrbexEventField f[] = {{"what", "SetTimer", 0, 0},
                                   {"window", nullptr, static_cast<long long>(window), 1},
                                   {"id", nullptr, static_cast<long long>(timer), 1},
                                   {"elapse", nullptr, elapseMs, 1}};
            hook("Platform", f, 4);
        }
        return timer;
    }
    bool KillTimer(port::WindowHandle window, uintptr_t id) override { return ::KillTimer(Hwnd(window), id) != 0; }

    bool FindFileName(const char* path, char* name, uint32_t size) override {
        if (name && size) name[0] = '\0';
        WIN32_FIND_DATAA data{};
        HANDLE find = ::FindFirstFileA(path, &data);
        if (find == INVALID_HANDLE_VALUE) return false;
        ::FindClose(find);
        if (name && size) {
            size_t n = std::min<size_t>(std::strlen(data.cFileName), size - 1);
            std::memcpy(name, data.cFileName, n);
            name[n] = '\0';
        }
        return true;
    }
    bool StartProcess(const char* commandLine) override {
        char line[MAX_PATH * 2] = {};
        std::strncpy(line, commandLine ? commandLine : "", sizeof line - 1);
        STARTUPINFOA si{};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi{};
        if (!::CreateProcessA(nullptr, line, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return false;
        ::CloseHandle(pi.hThread);
        ::CloseHandle(pi.hProcess);
        return true;
    }
    port::WindowHandle FindTopWindow(const char* className, const char* windowName) override {
        return reinterpret_cast<port::WindowHandle>(::FindWindowA(className, windowName));
    }
    bool PostWindowMessage(port::WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam) override {
        return ::PostMessageA(Hwnd(window), message, wParam, lParam) != 0;
    }
    bool SystemParameters(uint32_t action, uint32_t uiParam, int32_t* pvParam, uint32_t winIni) override {
        return ::SystemParametersInfoA(action, uiParam, pvParam, winIni) != 0;
    }
    // SetSuspendState lives in powrprof.dll, which older systems lack.
    bool SetSuspendState(bool hibernate, bool forceCritical, bool disableWakeEvent) override {
        HMODULE powrprof = ::LoadLibraryA("powrprof.dll");
        if (!powrprof) return false;
        using Fn = BOOLEAN(WINAPI*)(BOOLEAN, BOOLEAN, BOOLEAN);
        auto fn = reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(powrprof, "SetSuspendState")));
        bool ok = fn && fn(hibernate, forceCritical, disableWakeEvent);
        ::FreeLibrary(powrprof);
        return ok;
    }
    bool GetCursorPos(port::CursorPoint& out) override {
        POINT p{};
        if (!::GetCursorPos(&p)) return false;
        out = {p.x, p.y};
        return true;
    }
    bool SetCursorPos(int32_t x, int32_t y) override { return ::SetCursorPos(x, y) != 0; }
};

}  // namespace

std::unique_ptr<port::IDesktop> CreateWin32Desktop() {
    return std::make_unique<Win32Desktop>();
}

}  // namespace orbex::win32
