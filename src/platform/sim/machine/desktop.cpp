#include "platform/sim/machine/desktop.h"

#include <string>

namespace orbex::sim {

port::WindowHandle VirtualDesktop::HostWindow() {
    return m_config.hostWindow ? kHostWindow : 0;
}

bool VirtualDesktop::GetClientRect(port::WindowHandle window, port::WindowRect& out) {
    if (!m_config.hostWindow || window != kHostWindow) return false;
    out = {0, 0, m_config.clientWidth, m_config.clientHeight};
    return true;
}

int32_t VirtualDesktop::GetSystemMetrics(int32_t index) {
    return index == port::kSmCyBorder ? m_config.borderHeight : 0;
}

// A timer on no window gets an identifier of its own, as the platform's
// thread timers do; on a window it keeps the one asked for.
uintptr_t VirtualDesktop::SetTimer(port::WindowHandle window, uintptr_t id, uint32_t elapseMs) {
    if (m_faults.Next("SetTimer")) return 0;
    if (window != 0 && window != HostWindow()) return 0;
    uintptr_t key = window ? id : 0x7FF0 + m_timers.size();
    uint32_t due = m_clock.Now() + elapseMs;
    m_timers[{window, key}] = due;
    if (m_events)
        m_events(PlatformEvent{"Platform",
                               {{"what", std::string("SetTimer")},
                                {"window", static_cast<int64_t>(window)},
                                {"id", static_cast<int64_t>(key)},
                                {"elapse", int64_t{elapseMs}}}});
    return key;
}

bool VirtualDesktop::KillTimer(port::WindowHandle window, uintptr_t id) {
    bool found = m_timers.erase({window, id}) > 0;
    if (m_events)
        m_events(PlatformEvent{"Platform",
                               {{"what", std::string("KillTimer")},
                                {"window", static_cast<int64_t>(window)},
                                {"id", static_cast<int64_t>(id)}}});
    return found;
}

std::optional<VirtualDesktop::ArmedTimer> VirtualDesktop::NextTimer() const {
    std::optional<ArmedTimer> next;
    uint32_t now = m_clock.Now();
    for (const auto& [key, due] : m_timers) {
        // Due times are compared as distances from now, so the clock may wrap.
        if (!next || static_cast<int32_t>(due - now) < static_cast<int32_t>(next->due - now))
            next = ArmedTimer{key.first, key.second, due};
    }
    return next;
}

bool VirtualDesktop::WaitForTimer(ArmedTimer& fired) {
    std::optional<ArmedTimer> next = NextTimer();
    if (!next) return false;
    int32_t wait = static_cast<int32_t>(next->due - m_clock.Now());
    if (wait > 0) m_clock.Sleep(static_cast<uint32_t>(wait));
    fired = *next;
    if (m_events)
        m_events(PlatformEvent{"Platform",
                               {{"what", std::string("TimerExpired")},
                                {"window", static_cast<int64_t>(fired.window)},
                                {"id", static_cast<int64_t>(fired.id)},
                                {"waited", int64_t{wait > 0 ? wait : 0}}}});
    KillTimer(fired.window, fired.id);
    return true;
}

}  // namespace orbex::sim
