// The program's arguments as host text. Apart from the other host services so
// that only the programs link it (on Windows it needs shell32).
#if defined(_WIN32)
// clang-format off
#include <windows.h>
#include <shellapi.h>
// clang-format on
#endif

#include <cwchar>

#include "platform/host/host.h"

namespace orbex::host {

#if defined(_WIN32)
// From the wide command line: the C runtime's argv holds the arguments in the
// ANSI code page, where a path outside it has lost its characters.
std::vector<std::string> ProgramArguments(int, char**) {
    std::vector<std::string> args;
    int count = 0;
    LPWSTR* wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (!wide) return args;
    for (int i = 1; i < count; ++i) {
        int length = static_cast<int>(std::wcslen(wide[i]));
        int n = ::WideCharToMultiByte(CP_UTF8, 0, wide[i], length, nullptr, 0, nullptr, nullptr);
        std::string arg(static_cast<size_t>(n > 0 ? n : 0), '\0');
        if (n > 0) ::WideCharToMultiByte(CP_UTF8, 0, wide[i], length, arg.data(), n, nullptr, nullptr);
        args.push_back(std::move(arg));
    }
    ::LocalFree(wide);
    return args;
}
#else
std::vector<std::string> ProgramArguments(int argc, char** argv) {
    return argc > 0 ? std::vector<std::string>(argv + 1, argv + argc) : std::vector<std::string>();
}
#endif

}  // namespace orbex::host
