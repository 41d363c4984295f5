// The system's screen saver: the setting that switches it on, and a screen
// saver program that runs once started. On the 9x family it runs in a
// top-level window of class "WindowsScreenSaverClass" that the close message
// ends; on the NT family a cursor move ends it.
#pragma once

#include <string>

#include "platform/desktop.h"
#include "platform/sim/events.h"
#include "platform/sim/machine/machine_config.h"
#include "platform/sim/machine/power_config.h"

namespace orbex::sim {

class ScreenSaverModel {
public:
    static constexpr port::WindowHandle kWindow = 0x00020030;
    static constexpr const char* kWindowClass = "WindowsScreenSaverClass";

    ScreenSaverModel(const ScreenSaverConfig& config, const MachineConfig& machine, const EventSink& events)
        : m_active(config.active), m_machine(machine), m_events(events) {}

    void Start(const std::string& program);
    // Ends a running screen saver, saying what ended it.
    void End(const char* by);

    bool Running() const { return m_running; }
    const std::string& Program() const { return m_program; }
    // Its window: only while it runs, and only on the 9x family.
    port::WindowHandle Window() const { return m_running && Is9x() ? kWindow : 0; }
    bool EndsOnCursorMove() const { return m_running && !Is9x(); }

    bool Active() const { return m_active; }
    void SetActive(bool active) { m_active = active; }

private:
    bool Is9x() const { return m_machine.os.platformId != kPlatformWin32Nt; }

    bool m_active;
    bool m_running = false;
    std::string m_program;
    const MachineConfig& m_machine;
    const EventSink& m_events;
};

}  // namespace orbex::sim
