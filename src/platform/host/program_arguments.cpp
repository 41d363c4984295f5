// The program's arguments as host text. Apart from the other host services so
// that only the programs link it (on Windows it needs shell32).
#if defined(_WIN32)
// clang-format off
#include <windows.h>
#include <shellapi.h>
// clang-format on
#endif

#include "platform/host/host.h"
#include "platform/host/wide_text.h"

namespace orbex::host {

#if defined(_WIN32)
// From the wide command line: the C runtime's argv holds the arguments in the
// ANSI code page, where a path outside it has lost its characters.
std::vector<std::string> ProgramArguments(int, char**) {
    std::vector<std::string> args;
    int count = 0;
    LPWSTR* wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (!wide) return args;
    for (int i = 1; i < count; ++i) args.push_back(FromWide(wide[i]));
    ::LocalFree(wide);
    return args;
}
#else
std::vector<std::string> ProgramArguments(int argc, char** argv) {
    return argc > 0 ? std::vector<std::string>(argv + 1, argv + argc) : std::vector<std::string>();
}
#endif

}  // namespace orbex::host
