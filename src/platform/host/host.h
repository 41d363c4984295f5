// The few host-process services that the virtual board, the tools and the
// tests need, on POSIX and on Windows alike. Not a port of the system: the
// system never calls these.
#pragma once

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace orbex::host {

// Host paths, environment values and program arguments are UTF-8 text on
// Windows, whatever the ANSI code page, so a working or temporary directory
// outside that code page works (the functions below use the wide APIs); on
// POSIX they are the file system's bytes. A path object made straight from a
// std::string would be read in the ANSI code page on Windows: use PathOf.
// Neither throws: text that is not UTF-8 gives replacement characters.
std::filesystem::path PathOf(const std::string& text);
std::string TextOf(const std::filesystem::path& path);
std::FILE* OpenFile(const std::string& path, const char* mode);
std::optional<std::string> EnvironmentValue(const char* name);
// The program's arguments after its name (on Windows from the wide command line).
std::vector<std::string> ProgramArguments(int argc, char** argv);
// Text for the library under test, which works in the ANSI code page on
// Windows, and host text from the library's (both as they are elsewhere).
std::string LibraryText(const std::string& text);
std::string FromLibraryText(const std::string& text);

using Library = void*;

// Loads a shared library by path; null on failure (error describes why).
// keepMapped: the library stays mapped after its last CloseLibrary.
Library OpenLibrary(const std::string& path, std::string& error, bool keepMapped = false);
void* LibrarySymbol(Library library, const char* name);
void CloseLibrary(Library library);
// The directory of the module that contains the given code address.
std::string ModuleDirectoryOf(const void* address);
// A function exported by the main program, or null.
void* ProgramSymbol(const char* name);
// The file name of shared libraries on this host: "lib" NAME ".so" or NAME ".dll".
std::string SharedLibraryName(const std::string& name);

std::string ExecutablePath();
void SetEnvironment(const char* name, const char* value);  // null value removes it
bool ChangeDirectory(const std::string& path);
bool IsTerminal(int fd);
// True when fd is a terminal that shows ANSI escape sequences (colours, erasing
// a line) as intended; on Windows this switches the console's virtual-terminal
// processing on, and is false where the console cannot do it.
bool EnableTerminalEscapes(int fd);
// Standard output as it was, for a machine-readable stream. From the call on,
// whatever the process and the programs it starts write to standard output
// goes to standard error instead. Null when that cannot be arranged.
std::FILE* DivertStandardOutput();
std::string MakeTempDirectory(const std::string& prefix);
// A temporary directory that is removed, with all it holds, when the object goes.
class TempDirectory {
public:
    explicit TempDirectory(const std::string& prefix);
    ~TempDirectory();
    TempDirectory(const TempDirectory&) = delete;
    TempDirectory& operator=(const TempDirectory&) = delete;
    const std::string& Path() const { return m_path; }  // empty when it could not be made

private:
    std::string m_path;
};
// Runs the program with the arguments and waits; returns its exit code, or -1
// when it could not run or did not exit normally.
int RunProgram(const std::string& program, const std::vector<std::string>& args);

// How a program run with RunCaptured ended.
struct ProgramOutcome {
    int exitCode = -1;      // the exit code when it exited normally
    bool started = false;   // false: it could not be started
    bool timedOut = false;  // it did not end in time and was killed
    int signal = 0;         // the signal (POSIX) or exception code (Windows) that ended it, else 0
};
// Runs the program with NAME=VALUE entries added to (or replacing in) this
// process's environment, its standard output and error written to
// outputFile, and kills it after timeoutMs. Safe to call from several threads.
ProgramOutcome RunCaptured(const std::string& program, const std::vector<std::string>& args,
                           const std::vector<std::string>& environment, const std::string& outputFile,
                           unsigned timeoutMs);

}  // namespace orbex::host
