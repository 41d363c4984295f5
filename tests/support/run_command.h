// Runs a shell command and collects its standard output and exit status, for
// the tests that drive the harness as a tester does.
#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <string>

namespace orbex::test {

struct CommandResult {
    int status = -1;  // the exit status; -1 when the command could not start or did not exit
    std::string out;
};

inline CommandResult RunCommand(const std::string& command) {
    CommandResult r;
    FILE* p = popen(command.c_str(), "r");
    if (!p) return r;
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, p)) > 0) r.out.append(buffer, n);
    int raw = pclose(p);
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return r;
}

}  // namespace orbex::test
