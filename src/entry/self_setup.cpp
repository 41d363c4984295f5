// The self-setup: copies and registers the test filters and declares the
// UYVY codec. Commands run through the command interpreter; their exit codes
// are not looked at.
#include "common/format.h"
#include "entry/orbex_process.h"

namespace orbex {
namespace {

constexpr uint32_t kDirectorySize = 100;

bool ReadDirectories(port::ISystemInfo& system, char (&systemDir)[kDirectorySize], char (&currentDir)[kDirectorySize]) {
    // Each text ends where its told length ends, whatever the buffer holds past it.
    uint32_t n = system.SystemDirectoryPath(systemDir, kDirectorySize);
    if (n == 0 || n >= kDirectorySize) return false;
    systemDir[n] = '\0';
    n = system.CurrentDirectoryPath(kDirectorySize, currentDir);
    if (n == 0 || n >= kDirectorySize) return false;
    currentDir[n] = '\0';
    return true;
}

void Run(port::ICommandRunner& commands, const char* format, ...) ORBEX_PRINTF(2, 3);
void Run(port::ICommandRunner& commands, const char* format, ...) {
    char command[256];
    va_list args;
    va_start(args, format);
    FormatIntoV(command, sizeof command, format, args);
    va_end(args);
    commands.System(command);
}

}  // namespace

int32_t COrbexProcess::SelfSetup() {
    port::ISystemInfo& system = m_platform.System();
    port::ICommandRunner& commands = m_platform.Commands();
    char sys[kDirectorySize], cur[kDirectorySize];

    // First half: the logging server, the codec and its declaration.
    if (ReadDirectories(system, sys, cur)) {
        Run(commands, "%s\\regsvr32 %s\\qelsserv.dll /s", sys, cur);
        Run(commands, "copy %s\\msyuv.dll %s /Y", cur, sys);
        OsVersion version;
        if (system.QueryVersion(version)) {
            if (version.platformId != kPlatformWin32Nt) {
                char windowsDir[kDirectorySize];
                uint32_t n = system.WindowsDirectoryPath(windowsDir, kDirectorySize);
                if (n != 0 && n < kDirectorySize)
                    m_platform.Profile().WriteProfileValue("drivers32", "VIDC.UYVY", "msyuv.dll", "system.ini");
            } else if (version.major == 5) {
                port::IRegistry& registry = m_platform.Registry();
                port::RegKey key = 0;
                if (registry.OpenOrCreateKey("SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Drivers32",
                                             kKeyQueryValue | kKeySetValue, &key) != kErrorSuccess)
                    return 0;
                static const char kCodec[] = "MSYUV.DLL";
                registry.WriteValue(key, "VIDC.UYVY", kRegSz, reinterpret_cast<const uint8_t*>(kCodec), sizeof kCodec);
                registry.CloseKey(key);
            }
        }
    }

    // Second half: the analyzer filters and the channel-scan object.
    if (!ReadDirectories(system, sys, cur)) return 1;
    Run(commands, "copy %s\\vanalyze.ax %s /Y", cur, sys);
    Run(commands, "copy %s\\vbianlyr.ax %s /Y", cur, sys);
    Run(commands, "copy %s\\qelvvpxx.ax %s /Y", cur, sys);
    Run(commands, "copy %s\\iqellcs.dll %s /Y", cur, sys);
    Run(commands, "%s\\regsvr32 %s\\vanalyze.ax /s", sys, sys);
    Run(commands, "%s\\regsvr32 %s\\vbianlyr.ax /s", sys, sys);
    Run(commands, "%s\\regsvr32 %s\\qelvvpxx.ax /s", sys, sys);
    Run(commands, "%s\\regsvr32 %s\\iqellcs.dll /s", sys, sys);
    return 1;
}

}  // namespace orbex
