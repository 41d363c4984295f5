// The stream runs across a screen saver (test 3) and a system suspend
// (test 4): starting and ending the screen saver, the forced suspend and the
// cursor nudge that wakes the display. No failure here is reported: without
// a screen saver or a suspend the run measures a plain run.
#include <cstring>

#include "cases/stream/orb_stream.h"
#include "common/format.h"
#include "graph/orb_gbuilder.h"
#include "platform/desktop.h"

namespace orbex {
namespace {

constexpr size_t kPathSize = 260;
constexpr int32_t kWindows9x = 3;
constexpr const char* kScreenSaverClass = "WindowsScreenSaverClass";

// Where a screen saver is looked for, in this order: a subdirectory of the
// Windows directory and a file name.
struct Candidate {
    const char* subdirectory;
    const char* pattern;
};
constexpr Candidate kCandidates[] = {
    {"\\system32\\", "%sscrnsave.scr"},
    {"\\system\\", "%sBlank Screen.scr"},
    {"\\system\\", "%sscrnsave.scr"},
};
constexpr size_t kPatternFixed = 2;  // the "%s" each pattern holds

}  // namespace

int32_t COrbStream::ScreenSaver(int32_t start) {
    port::IDesktop& desktop = m_pGBuilder->Platform().Desktop();
    if (!start) {
        if (m_pGBuilder->GetOSVersion() == kWindows9x) {
            if (port::WindowHandle saver = desktop.FindTopWindow(kScreenSaverClass, nullptr))
                desktop.PostWindowMessage(saver, port::kWmClose, 0, 0);
        } else {
            NudgeCursor();
        }
        desktop.SystemParameters(port::kSpiSetScreenSaveActive, 1, nullptr, port::kSpifSendWinIniChange);
        return 0;
    }

    // Without the Windows directory no screen saver can be found.
    char windows[kPathSize] = "";
    uint32_t length = m_pGBuilder->Platform().System().WindowsDirectoryPath(windows, kPathSize);
    if (length == 0 || length >= kPathSize) return 1;
    windows[length] = '\0';

    // A candidate whose path does not fit the buffer is not looked for: a cut
    // path would name another file.
    char directory[kPathSize] = "";
    char path[kPathSize] = "";
    char name[kPathSize] = "";
    bool found = false;
    for (const Candidate& c : kCandidates) {
        size_t needed = length + std::strlen(c.subdirectory) + std::strlen(c.pattern) - kPatternFixed;
        if (needed >= kPathSize) continue;
        FormatInto(directory, sizeof directory, "%s%s", windows, c.subdirectory);
        FormatInto(path, sizeof path, c.pattern, directory);
        if (desktop.FindFileName(path, name, sizeof name)) {
            found = true;
            break;
        }
    }
    if (!found) return 1;

    // The path as the file system spells the name; a path or command line
    // that does not fit is not started (a cut one would start another program
    // or the screen saver without its option).
    if (std::strlen(directory) + std::strlen(name) >= kPathSize) return 0;
    FormatInto(path, sizeof path, "%s%s", directory, name);
    char commandLine[kPathSize] = "";
    if (std::strlen(path) + 3 >= kPathSize) return 0;
    FormatInto(commandLine, sizeof commandLine, "%s -s", path);
    desktop.StartProcess(commandLine);
    return 0;
}

int32_t COrbStream::LowPower(int32_t start) {
    if (start)
        m_pGBuilder->Platform().Desktop().SetSuspendState(false, true, false);
    else
        NudgeCursor();
    return 0;
}

// Moves the cursor out and back so that the display wakes and a screen
// saver ends. A position that cannot be read is not gone back to.
void COrbStream::NudgeCursor() {
    port::IDesktop& desktop = m_pGBuilder->Platform().Desktop();
    port::CursorPoint was;
    bool known = desktop.GetCursorPos(was);
    desktop.SetCursorPos(10, 10);
    desktop.SetCursorPos(100, 100);
    if (known) desktop.SetCursorPos(was.x, was.y);
}

}  // namespace orbex
