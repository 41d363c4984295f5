#if defined(_WIN32)
#include <io.h>
#include <stdlib.h>
#include <windows.h>

#include <cstring>
#include <filesystem>
#include <mutex>
#include <random>

#include "platform/host/host.h"
#include "platform/host/quoting.h"

namespace orbex::host {

Library OpenLibrary(const std::string& path, std::string& error, bool keepMapped) {
    HMODULE module = ::LoadLibraryA(path.c_str());
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
    if (!::GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                              static_cast<LPCSTR>(address), &module))
        return ".";
    char path[MAX_PATH];
    DWORD n = ::GetModuleFileNameA(module, path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return ".";
    return std::filesystem::path(path).parent_path().string();
}

void* ProgramSymbol(const char* name) {
    return reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleA(nullptr), name));
}

std::string SharedLibraryName(const std::string& name) {
    return name + ".dll";
}

std::string ExecutablePath() {
    char path[MAX_PATH];
    DWORD n = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    return n == 0 || n >= MAX_PATH ? std::string() : std::string(path, n);
}

void SetEnvironment(const char* name, const char* value) {
    _putenv_s(name, value ? value : "");
    ::SetEnvironmentVariableA(name, value);
}

bool ChangeDirectory(const std::string& path) {
    return ::SetCurrentDirectoryA(path.c_str()) != 0;
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
    if (!m_path.empty()) std::filesystem::remove_all(m_path, ec);
}

std::string MakeTempDirectory(const std::string& prefix) {
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
        auto dir = std::filesystem::temp_directory_path() / (prefix + std::to_string(random()));
        std::error_code ec;
        if (std::filesystem::create_directory(dir, ec)) return dir.string();
    }
    return {};
}

int RunProgram(const std::string& program, const std::vector<std::string>& args) {
    std::string line = QuotedForCmd(program);
    for (const std::string& a : args) line += " " + QuotedForCmd(a);
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!::CreateProcessA(program.c_str(), line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi))
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
    std::string line = QuotedForCmd(program);
    for (const std::string& a : args) line += " " + QuotedForCmd(a);
    // This process's environment, less the names given, then the entries given.
    std::string block;
    if (LPCH strings = ::GetEnvironmentStringsA()) {
        for (const char* e = strings; *e; e += std::strlen(e) + 1) {
            std::string entry = e;
            bool replaced = false;
            for (const std::string& add : environment) {
                size_t eq = add.find('=');
                if (eq != std::string::npos && _strnicmp(entry.c_str(), add.c_str(), eq + 1) == 0) replaced = true;
            }
            if (!replaced) block += entry + '\0';
        }
        ::FreeEnvironmentStringsA(strings);
    }
    for (const std::string& add : environment) block += add + '\0';
    block += '\0';
    // Inheritable handles and the child that inherits them are made under one
    // lock, so that a child started by another thread never inherits them.
    static std::mutex creating;
    std::unique_lock<std::mutex> lock(creating);
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE output = ::CreateFileA(outputFile.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
    if (output == INVALID_HANDLE_VALUE) return outcome;
    HANDLE input =
        ::CreateFileA("NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, OPEN_EXISTING, 0, nullptr);
    STARTUPINFOA si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = output;
    si.hStdError = output;
    si.hStdInput = input;
    PROCESS_INFORMATION pi{};
    BOOL created = ::CreateProcessA(program.c_str(), line.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW,
                                    block.data(), nullptr, &si, &pi);
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
