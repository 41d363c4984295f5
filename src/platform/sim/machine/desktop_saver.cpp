// The desktop calls that reach the machine's files, its screen saver, the
// cursor and the power state.
#include <algorithm>
#include <cstring>
#include <string>

#include "ini/ini_document.h"
#include "platform/sim/machine/desktop.h"

namespace orbex::sim {
namespace {

bool EndsWithFolded(const std::string& text, const char* tail) {
    size_t n = std::strlen(tail);
    return text.size() >= n && ini::Folded(text.substr(text.size() - n)) == ini::Folded(tail);
}

int64_t Flag(bool b) {
    return b ? 1 : 0;
}

}  // namespace

void VirtualDesktop::Emit(const char* what, std::vector<EventField> fields) const {
    if (!m_events) return;
    fields.insert(fields.begin(), EventField{"what", std::string(what)});
    m_events(PlatformEvent{"Platform", std::move(fields)});
}

// Only exact paths are found: the machine has no wildcard search.
bool VirtualDesktop::FindFileName(const char* path, char* name, uint32_t size) {
    if (name && size) name[0] = '\0';
    std::string asked = path ? path : "";
    std::optional<std::string> found;
    if (!m_faults.Next("FindFileName")) found = m_files.StoredName(asked);
    if (found && name && size) {
        size_t n = std::min<size_t>(found->size(), size - 1);
        std::memcpy(name, found->data(), n);
        name[n] = '\0';
    }
    Emit("FindFileName", {{"path", asked}, {"name", found.value_or("")}, {"result", Flag(found.has_value())}});
    return found.has_value();
}

// The only programs the machine runs are screen savers started with their
// option: "PATH.scr -s", where PATH is a file of the machine.
bool VirtualDesktop::StartProcess(const char* commandLine) {
    std::string line = commandLine ? commandLine : "";
    std::string program;
    if (!m_faults.Next("StartProcess") && EndsWithFolded(line, " -s")) {
        std::string path = line.substr(0, line.size() - 3);
        if (EndsWithFolded(path, ".scr") && m_files.StoredName(path)) program = path;
    }
    Emit("StartProcess", {{"commandLine", line}, {"result", Flag(!program.empty())}});
    if (program.empty()) return false;
    m_screenSaver.Start(program);
    return true;
}

// The one top-level window the system looks for is the screen saver's; the
// model gives it no title, so a search by title finds nothing.
port::WindowHandle VirtualDesktop::FindTopWindow(const char* className, const char* windowName) {
    port::WindowHandle found = 0;
    if (!m_faults.Next("FindWindow") && className && !windowName &&
        ini::Folded(className) == ini::Folded(ScreenSaverModel::kWindowClass))
        found = m_screenSaver.Window();
    Emit("FindWindow", {{"class", std::string(className ? className : "")}, {"window", static_cast<int64_t>(found)}});
    return found;
}

// The screen saver's window ends on the close message; the host window takes
// any message (its program ignores what it does not know).
bool VirtualDesktop::PostWindowMessage(port::WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    bool toSaver = window != 0 && window == m_screenSaver.Window();
    bool posted = !m_faults.Next("PostMessage") && (toSaver || (window != 0 && window == HostWindow()));
    Emit("PostMessage", {{"window", static_cast<int64_t>(window)},
                         {"message", int64_t{message}},
                         {"wParam", static_cast<int64_t>(wParam)},
                         {"lParam", static_cast<int64_t>(lParam)},
                         {"result", Flag(posted)}});
    if (posted && toSaver && message == port::kWmClose) m_screenSaver.End("WM_CLOSE");
    return posted;
}

// The screen saver's setting, read and switched; no other parameter is kept.
bool VirtualDesktop::SystemParameters(uint32_t action, uint32_t uiParam, int32_t* pvParam, uint32_t winIni) {
    bool done = false;
    if (!m_faults.Next("SystemParametersInfo")) {
        if (action == port::kSpiGetScreenSaveActive && pvParam) {
            *pvParam = m_screenSaver.Active() ? 1 : 0;
            done = true;
        } else if (action == port::kSpiSetScreenSaveActive) {
            m_screenSaver.SetActive(uiParam != 0);
            done = true;
        }
    }
    Emit("SystemParametersInfo", {{"action", int64_t{action}},
                                  {"uiParam", int64_t{uiParam}},
                                  {"winIni", int64_t{winIni}},
                                  {"active", Flag(m_screenSaver.Active())},
                                  {"result", Flag(done)}});
    return done;
}

// A suspend lets the machine sleep for the profile's time; the machine has no
// hibernation, so a call to hibernate fails.
bool VirtualDesktop::SetSuspendState(bool hibernate, bool forceCritical, bool disableWakeEvent) {
    bool slept = !m_faults.Next("SetSuspendState") && !hibernate && m_power.Suspend();
    Emit("SetSuspendState", {{"hibernate", Flag(hibernate)},
                             {"force", Flag(forceCritical)},
                             {"disableWakeEvent", Flag(disableWakeEvent)},
                             {"slept", int64_t{slept ? m_power.LastSleep() : 0}},
                             {"result", Flag(slept)}});
    return slept;
}

bool VirtualDesktop::GetCursorPos(port::CursorPoint& out) {
    bool read = !m_faults.Next("GetCursorPos");
    out = read ? m_cursor : port::CursorPoint{};
    Emit("GetCursorPos", {{"x", int64_t{out.x}}, {"y", int64_t{out.y}}, {"result", Flag(read)}});
    return read;
}

// A move of the cursor ends a screen saver on the NT family.
bool VirtualDesktop::SetCursorPos(int32_t x, int32_t y) {
    bool set = !m_faults.Next("SetCursorPos");
    bool moved = set && (x != m_cursor.x || y != m_cursor.y);
    if (set) m_cursor = {x, y};
    Emit("SetCursorPos", {{"x", int64_t{x}}, {"y", int64_t{y}}, {"result", Flag(set)}});
    if (moved && m_screenSaver.EndsOnCursorMove()) m_screenSaver.End("cursor");
    return set;
}

}  // namespace orbex::sim
