#if !defined(_WIN32)
#include <dlfcn.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "platform/host/host.h"

extern char** environ;

namespace orbex::host {

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
    if (dladdr(address, &info) && info.dli_fname) return std::filesystem::path(info.dli_fname).parent_path().string();
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
    return ec ? std::string() : self.string();
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

}  // namespace orbex::host
#endif
