#if defined(_WIN32)
#include <io.h>
#include <stdlib.h>
#include <windows.h>

#include <cstring>
#include <cwchar>
#include <filesystem>
#include <mutex>
#include <random>

#include "platform/host/host.h"
#include "platform/host/quoting.h"
#include "platform/host/wide_text.h"

namespace orbex::host {
namespace {

// The full file name of a module, however long.
std::string ModuleFileName(HMODULE module) {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD n = ::GetModuleFileNameW(module, path.data(), static_cast<DWORD>(path.size()));
        if (n == 0) return {};
        if (n < path.size()) return FromWide({path.data(), n});
        if (path.size() >= 32768) return {};
        path.resize(path.size() * 2);
    }
}

// The command line of a program and its arguments, quoted for it.
std::wstring CommandLine(const std::string& program, const std::vector<std::string>& args) {
    std::string line = QuotedForCmd(program);
    for (const std::string& a : args) {
        line += ' ';
        line += QuotedForCmd(a);
    }
    return ToWide(line);
}

}  // namespace

std::filesystem::path PathOf(const std::string& text) {
    return std::filesystem::path(ToWide(text));
}

std::string TextOf(const std::filesystem::path& path) {
    return FromWide(path.native());
}

std::FILE* OpenFile(const std::string& path, const char* mode) {
    return ::_wfopen(ToWide(path).c_str(), ToWide(mode).c_str());
}

std::optional<std::string> EnvironmentValue(const char* name) {
    std::wstring wideName = ToWide(name);
    std::wstring value(64, L'\0');
    for (;;) {  // the value can grow between two calls: until it fits
        ::SetLastError(ERROR_SUCCESS);
        DWORD n = ::GetEnvironmentVariableW(wideName.c_str(), value.data(), static_cast<DWORD>(value.size()));
        if (n == 0) {
            if (::GetLastError() == ERROR_ENVVAR_NOT_FOUND) return std::nullopt;
            return std::string();
        }
        if (n < value.size()) return FromWide({value.data(), n});
        value.resize(n);
    }
}

std::string LibraryText(const std::string& text) {
    return FromWide(ToWide(text), CP_ACP);
}

std::string FromLibraryText(const std::string& text) {
    return FromWide(ToWide(text, CP_ACP));
}

Library OpenLibrary(const std::string& path, std::string& error, bool keepMapped) {
    HMODULE module = ::LoadLibraryW(ToWide(path).c_str());
    if (!module) error = "LoadLibrary failed with error " + std::to_string(::GetLastError());
    // Pinned by the module loaded, not by its name: a name is looked up
    // again and may find another module of that name, or none.
    HMODULE pinned = nullptr;
    if (module && keepMapped)
        ::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_PIN | GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                             reinterpret_cast<LPCWSTR>(module), &pinned);
    return reinterpret_cast<Library>(module);
}

void* LibrarySymbol(Library library, const char* name) {
    return library ? reinterpret_cast<void*>(::GetProcAddress(static_cast<HMODULE>(library), name)) : nullptr;
}

void CloseLibrary(Library library) {
    if (library) ::FreeLibrary(static_cast<HMODULE>(library));
}

std::string ModuleDirectoryOf(const void* address) {
    HMODULE module = nullptr;
    if (!::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                              static_cast<LPCWSTR>(address), &module))
        return ".";
    std::string path = ModuleFileName(module);
    return path.empty() ? std::string(".") : TextOf(PathOf(path).parent_path());
}

void* ProgramSymbol(const char* name) {
    return reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleA(nullptr), name));
}

std::string SharedLibraryName(const std::string& name) {
    return name + ".dll";
}

std::string ExecutablePath() {
    return ModuleFileName(nullptr);
}

void SetEnvironment(const char* name, const char* value) {
    std::wstring wideName = ToWide(name), wideValue = value ? ToWide(value) : std::wstring();
    _wputenv_s(wideName.c_str(), wideValue.c_str());
    ::SetEnvironmentVariableW(wideName.c_str(), value ? wideValue.c_str() : nullptr);
}

bool ChangeDirectory(const std::string& path) {
    return ::SetCurrentDirectoryW(ToWide(path).c_str()) != 0;
}
bool IsTerminal(int fd) {
    return _isatty(fd) != 0;
}
bool EnableTerminalEscapes(int fd) {
    if (_isatty(fd) == 0) return false;
    HANDLE console = reinterpret_cast<HANDLE>(_get_osfhandle(fd));
    DWORD mode = 0;
    if (console == INVALID_HANDLE_VALUE || !::GetConsoleMode(console, &mode)) return false;
    constexpr DWORD kVirtualTerminalProcessing = 0x0004;  // ENABLE_VIRTUAL_TERMINAL_PROCESSING
    return (mode & kVirtualTerminalProcessing) != 0 || ::SetConsoleMode(console, mode | kVirtualTerminalProcessing);
}

std::FILE* DivertStandardOutput() {
    std::fflush(stdout);
    int saved = _dup(1);
    if (saved < 0) return nullptr;
    if (_dup2(2, 1) < 0) {
        _close(saved);
        return nullptr;
    }
    // Programs started through CreateProcess take the process's standard
    // handles, those started by the C runtime its descriptor 1: both now
    // lead to standard error.
    ::SetStdHandle(STD_OUTPUT_HANDLE, ::GetStdHandle(STD_ERROR_HANDLE));
    std::FILE* stream = _fdopen(saved, "w");
    if (!stream) {
        _dup2(saved, 1);
        _close(saved);
    }
    return stream;
}

TempDirectory::TempDirectory(const std::string& prefix) : m_path(MakeTempDirectory(prefix)) {}

TempDirectory::~TempDirectory() {
    std::error_code ec;
    if (!m_path.empty()) std::filesystem::remove_all(PathOf(m_path), ec);
}

std::string MakeTempDirectory(const std::string& prefix) {
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
        auto dir = std::filesystem::temp_directory_path() / (prefix + std::to_string(random()));
        std::error_code ec;
        if (std::filesystem::create_directory(dir, ec)) return TextOf(dir);
    }
    return {};
}

int RunProgram(const std::string& program, const std::vector<std::string>& args) {
    std::wstring line = CommandLine(program, args);
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!::CreateProcessW(ToWide(program).c_str(), line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi))
        return -1;
    ::WaitForSingleObject(pi.hProcess, INFINITE);
    DWORD code = 0;
    ::GetExitCodeProcess(pi.hProcess, &code);
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
    return static_cast<int>(code);
}

ProgramOutcome RunCaptured(const std::string& program, const std::vector<std::string>& args,
                           const std::vector<std::string>& environment, const std::string& outputFile,
                           unsigned timeoutMs) {
    ProgramOutcome outcome;
    std::wstring line = CommandLine(program, args);
    // This process's environment, less the names given, then the entries given.
    std::vector<std::wstring> added;
    for (const std::string& add : environment) added.push_back(ToWide(add));
    std::wstring block;
    if (LPWCH strings = ::GetEnvironmentStringsW()) {
        for (const wchar_t* e = strings; *e; e += std::wcslen(e) + 1) {
            bool replaced = false;
            for (const std::wstring& add : added) {
                size_t eq = add.find(L'=');
                if (eq != std::wstring::npos && _wcsnicmp(e, add.c_str(), eq + 1) == 0) replaced = true;
            }
            if (!replaced) block.append(e).push_back(L'\0');
        }
        ::FreeEnvironmentStringsW(strings);
    }
    for (const std::wstring& add : added) block.append(add).push_back(L'\0');
    block.push_back(L'\0');
    // Inheritable handles and the child that inherits them are made under one
    // lock, so that a child started by another thread never inherits them.
    static std::mutex creating;
    std::unique_lock<std::mutex> lock(creating);
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE output = ::CreateFileW(ToWide(outputFile).c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
    if (output == INVALID_HANDLE_VALUE) return outcome;
    HANDLE input =
        ::CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, OPEN_EXISTING, 0, nullptr);
    STARTUPINFOW si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = output;
    si.hStdError = output;
    si.hStdInput = input;
    PROCESS_INFORMATION pi{};
    BOOL created = ::CreateProcessW(ToWide(program).c_str(), line.data(), nullptr, nullptr, TRUE,
                                    CREATE_NO_WINDOW | CREATE_UNICODE_ENVIRONMENT, block.data(), nullptr, &si, &pi);
    ::CloseHandle(output);
    if (input != INVALID_HANDLE_VALUE) ::CloseHandle(input);
    lock.unlock();
    if (!created) return outcome;
    outcome.started = true;
    if (::WaitForSingleObject(pi.hProcess, timeoutMs) == WAIT_TIMEOUT) {
        ::TerminateProcess(pi.hProcess, 1);
        ::WaitForSingleObject(pi.hProcess, INFINITE);
        outcome.timedOut = true;
    } else {
        DWORD code = 0;
        ::GetExitCodeProcess(pi.hProcess, &code);
        // An unhandled exception ends the process with its code (0xC0000005 ...).
        if ((code & 0xF0000000u) == 0xC0000000u)
            outcome.signal = static_cast<int>(code);
        else
            outcome.exitCode = static_cast<int>(code);
    }
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
    return outcome;
}

}  // namespace orbex::host
#endif
