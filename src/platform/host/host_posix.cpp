#if !defined(_WIN32)
#include <dlfcn.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <thread>

#include "platform/host/host.h"

extern char** environ;

namespace orbex::host {

std::filesystem::path PathOf(const std::string& text) {
    return std::filesystem::path(text);
}

std::string TextOf(const std::filesystem::path& path) {
    return path.native();
}

std::FILE* OpenFile(const std::string& path, const char* mode) {
    return std::fopen(path.c_str(), mode);
}

std::optional<std::string> EnvironmentValue(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::optional<std::string>(value) : std::nullopt;
}

std::string LibraryText(const std::string& text) {
    return text;
}

std::string FromLibraryText(const std::string& text) {
    return text;
}

Library OpenLibrary(const std::string& path, std::string& error, bool keepMapped) {
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL | (keepMapped ? RTLD_NODELETE : 0));
    if (!handle) error = dlerror();
    return handle;
}

void* LibrarySymbol(Library library, const char* name) {
    return library ? dlsym(library, name) : nullptr;
}
void CloseLibrary(Library library) {
    if (library) dlclose(library);
}

std::string ModuleDirectoryOf(const void* address) {
    Dl_info info{};
    if (dladdr(address, &info) && info.dli_fname) return TextOf(PathOf(info.dli_fname).parent_path());
    return ".";
}

void* ProgramSymbol(const char* name) {
    return dlsym(RTLD_DEFAULT, name);
}
std::string SharedLibraryName(const std::string& name) {
    return "lib" + name + ".so";
}

std::string ExecutablePath() {
    std::error_code ec;
    auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : TextOf(self);
}

void SetEnvironment(const char* name, const char* value) {
    if (value)
        setenv(name, value, 1);
    else
        unsetenv(name);
}

bool ChangeDirectory(const std::string& path) {
    return chdir(path.c_str()) == 0;
}
bool IsTerminal(int fd) {
    return isatty(fd) != 0;
}
bool EnableTerminalEscapes(int fd) {
    const char* term = std::getenv("TERM");
    return isatty(fd) != 0 && !(term && std::strcmp(term, "dumb") == 0);
}

std::FILE* DivertStandardOutput() {
    std::fflush(stdout);
    int saved = dup(STDOUT_FILENO);
    if (saved < 0) return nullptr;
    if (dup2(STDERR_FILENO, STDOUT_FILENO) < 0) {
        close(saved);
        return nullptr;
    }
    std::FILE* stream = fdopen(saved, "w");
    if (!stream) {
        dup2(saved, STDOUT_FILENO);
        close(saved);
    }
    return stream;
}

TempDirectory::TempDirectory(const std::string& prefix) : m_path(MakeTempDirectory(prefix)) {}

TempDirectory::~TempDirectory() {
    std::error_code ec;
    if (!m_path.empty()) std::filesystem::remove_all(m_path, ec);
}

std::string MakeTempDirectory(const std::string& prefix) {
    std::string pattern = (std::filesystem::temp_directory_path() / (prefix + "XXXXXX")).string();
    return mkdtemp(pattern.data()) ? pattern : std::string();
}

int RunProgram(const std::string& program, const std::vector<std::string>& args) {
    std::vector<std::string> all = {program};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& a : all) argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv.data(), environ) != 0) return -1;
    int status = 0;
    if (waitpid(pid, &status, 0) < 0) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

ProgramOutcome RunCaptured(const std::string& program, const std::vector<std::string>& args,
                           const std::vector<std::string>& environment, const std::string& outputFile,
                           unsigned timeoutMs) {
    ProgramOutcome outcome;
    std::vector<std::string> all = {program};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& a : all) argv.push_back(a.data());
    argv.push_back(nullptr);
    // This process's environment, less the names given, then the entries given.
    std::vector<std::string> env;
    for (char** e = environ; e && *e; ++e) {
        std::string entry = *e;
        bool replaced = false;
        for (const std::string& add : environment) {
            size_t eq = add.find('=');
            if (eq != std::string::npos && entry.compare(0, eq + 1, add, 0, eq + 1) == 0) replaced = true;
        }
        if (!replaced) env.push_back(entry);
    }
    env.insert(env.end(), environment.begin(), environment.end());
    std::vector<char*> envp;
    for (auto& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, outputFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    pid_t pid = 0;
    int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) return outcome;
    outcome.started = true;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    auto pause = std::chrono::microseconds(500);
    int status = 0;
    for (;;) {
        pid_t done = waitpid(pid, &status, WNOHANG);
        if (done == pid) break;
        if (done < 0) return outcome;
        if (std::chrono::steady_clock::now() >= deadline) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            outcome.timedOut = true;
            return outcome;
        }
        std::this_thread::sleep_for(pause);
        if (pause < std::chrono::milliseconds(20)) pause *= 2;
    }
    if (WIFEXITED(status)) outcome.exitCode = WEXITSTATUS(status);
    if (WIFSIGNALED(status)) outcome.signal = WTERMSIG(status);
    return outcome;
}

}  // namespace orbex::host
#endif
