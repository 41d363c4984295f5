// The desktop of the virtual machine: the host window the harness lends the
// library, its timers, the system metrics, the cursor, and the calls that
// reach the screen saver and the machine's power state. Every call the system
// makes is recorded as a platform event.
#pragma once

#include <map>
#include <optional>

#include "platform/desktop.h"
#include "platform/sim/events.h"
#include "platform/sim/faults.h"
#include "platform/sim/machine/clock.h"
#include "platform/sim/machine/desktop_config.h"
#include "platform/sim/machine/files.h"
#include "platform/sim/machine/power.h"
#include "platform/sim/machine/screen_saver.h"

namespace orbex::sim {

class VirtualDesktop final : public port::IDesktop {
public:
    static constexpr port::WindowHandle kHostWindow = 0x00010010;

    VirtualDesktop(const DesktopConfig& config, const VirtualFiles& files, ScreenSaverModel& screenSaver,
                   PowerModel& power, VirtualClock& clock, FaultTable& faults, const EventSink& events)
        : m_config(config),
          m_files(files),
          m_screenSaver(screenSaver),
          m_power(power),
          m_clock(clock),
          m_faults(faults),
          m_events(events),
          m_cursor{config.cursorX, config.cursorY} {}

    port::WindowHandle HostWindow() override;
    bool GetClientRect(port::WindowHandle window, port::WindowRect& out) override;
    int32_t GetSystemMetrics(int32_t index) override;
    uintptr_t SetTimer(port::WindowHandle window, uintptr_t id, uint32_t elapseMs) override;
    bool KillTimer(port::WindowHandle window, uintptr_t id) override;

    bool FindFileName(const char* path, char* name, uint32_t size) override;
    bool StartProcess(const char* commandLine) override;
    port::WindowHandle FindTopWindow(const char* className, const char* windowName) override;
    bool PostWindowMessage(port::WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam) override;
    bool SystemParameters(uint32_t action, uint32_t uiParam, int32_t* pvParam, uint32_t winIni) override;
    bool SetSuspendState(bool hibernate, bool forceCritical, bool disableWakeEvent) override;
    bool GetCursorPos(port::CursorPoint& out) override;
    bool SetCursorPos(int32_t x, int32_t y) override;

    // The host's side of the timers: the earliest armed timer, and letting
    // virtual time pass until it expires (its message then reaches the host,
    // which cancels it as a message loop does).
    struct ArmedTimer {
        port::WindowHandle window = 0;
        uintptr_t id = 0;
        uint32_t due = 0;  // virtual milliseconds
    };
    std::optional<ArmedTimer> NextTimer() const;
    // Waits for the earliest timer; false when none is armed.
    bool WaitForTimer(ArmedTimer& fired);
    port::CursorPoint Cursor() const { return m_cursor; }

private:
    void Emit(const char* what, std::vector<EventField> fields) const;

    const DesktopConfig& m_config;
    const VirtualFiles& m_files;
    ScreenSaverModel& m_screenSaver;
    PowerModel& m_power;
    VirtualClock& m_clock;
    FaultTable& m_faults;
    const EventSink& m_events;
    std::map<std::pair<port::WindowHandle, uintptr_t>, uint32_t> m_timers;  // due times
    port::CursorPoint m_cursor;
};

}  // namespace orbex::sim
