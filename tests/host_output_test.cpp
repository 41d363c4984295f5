// Standard output diverted for a machine-readable stream: what the stream
// gets reaches the original standard output alone; the process's own prints
// and a program it starts land on standard error. On POSIX in a child process
// over pipes; on Windows in the test process over files, its standard
// descriptors and handles put back afterwards.
#if defined(_WIN32)
#include <fcntl.h>
#include <gtest/gtest.h>
#include <io.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/host/host.h"

namespace orbex::host {
namespace {

std::string FileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(HostOutput, TheDivertedStreamKeepsStandardOutputToItself) {
    TempDirectory dir("orbex-output");
    ASSERT_FALSE(dir.Path().empty());
    const std::string outPath = dir.Path() + "\\out.txt", errPath = dir.Path() + "\\err.txt";
    std::fflush(nullptr);
    const int savedOut = _dup(1), savedErr = _dup(2);
    const HANDLE savedOutHandle = ::GetStdHandle(STD_OUTPUT_HANDLE), savedErrHandle = ::GetStdHandle(STD_ERROR_HANDLE);
    const int outFd = _open(outPath.c_str(), _O_WRONLY | _O_CREAT | _O_TRUNC | _O_BINARY, 0666);
    const int errFd = _open(errPath.c_str(), _O_WRONLY | _O_CREAT | _O_TRUNC | _O_BINARY, 0666);
    ASSERT_GE(outFd, 0);
    ASSERT_GE(errFd, 0);
    _dup2(outFd, 1);
    _dup2(errFd, 2);
    ::SetStdHandle(STD_OUTPUT_HANDLE, reinterpret_cast<HANDLE>(_get_osfhandle(1)));
    ::SetStdHandle(STD_ERROR_HANDLE, reinterpret_cast<HANDLE>(_get_osfhandle(2)));
    std::FILE* stream = DivertStandardOutput();
    bool streamOpen = stream != nullptr;
    if (stream) {
        std::fputs("{\"event\":\"TestBegin\"}\n", stream);
        std::fflush(stream);
    }
    std::printf("printed by the library\n");
    std::fflush(stdout);
    int commandStatus = std::system("echo started by the library");
    if (stream) std::fclose(stream);
    // Everything back as it was before the checks report.
    std::fflush(nullptr);
    _dup2(savedOut, 1);
    _dup2(savedErr, 2);
    ::SetStdHandle(STD_OUTPUT_HANDLE, savedOutHandle);
    ::SetStdHandle(STD_ERROR_HANDLE, savedErrHandle);
    _close(savedOut), _close(savedErr), _close(outFd), _close(errFd);
    ASSERT_TRUE(streamOpen);
    EXPECT_EQ(commandStatus, 0);
    EXPECT_EQ(FileText(outPath), "{\"event\":\"TestBegin\"}\n");
    const std::string errText = FileText(errPath);
    EXPECT_NE(errText.find("printed by the library"), std::string::npos) << errText;
    EXPECT_NE(errText.find("started by the library"), std::string::npos) << errText;
}

}  // namespace
}  // namespace orbex::host
#else
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/host/host.h"

namespace orbex::host {
namespace {

std::string ReadAll(int fd) {
    std::string text;
    char buffer[256];
    for (ssize_t n; (n = read(fd, buffer, sizeof buffer)) > 0;) text.append(buffer, static_cast<size_t>(n));
    return text;
}

TEST(HostOutput, TheDivertedStreamKeepsStandardOutputToItself) {
    int out[2], err[2];
    ASSERT_EQ(pipe(out), 0);
    ASSERT_EQ(pipe(err), 0);
    std::fflush(nullptr);
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        dup2(out[1], STDOUT_FILENO);
        dup2(err[1], STDERR_FILENO);
        close(out[0]), close(out[1]), close(err[0]), close(err[1]);
        std::FILE* stream = DivertStandardOutput();
        if (!stream) _exit(3);
        std::fputs("{\"event\":\"TestBegin\"}\n", stream);
        std::fflush(stream);
        std::printf("printed by the library\n");
        std::fflush(stdout);
        if (std::system("echo 1 file copied") != 0) _exit(4);
        std::fputs("{\"event\":\"Return\"}\n", stream);
        std::fclose(stream);
        _exit(0);
    }
    close(out[1]), close(err[1]);
    std::string stdoutText = ReadAll(out[0]);
    std::string stderrText = ReadAll(err[0]);
    close(out[0]), close(err[0]);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(stdoutText, "{\"event\":\"TestBegin\"}\n{\"event\":\"Return\"}\n");
    EXPECT_EQ(stderrText, "printed by the library\n1 file copied\n");
}

}  // namespace
}  // namespace orbex::host
#endif
