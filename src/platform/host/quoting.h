// Command-line words quoted for a POSIX shell, or for cmd.exe and a Windows
// program's command line (which the C runtime splits by its own rules): the
// harness's reproduce lines and the command lines of the programs it starts.
#pragma once

#include <string>

namespace orbex::host {

// 'word', a quote inside written '\''.
inline std::string QuotedForPosixShell(const std::string& word) {
    std::string out = "'";
    for (char c : word) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

// "word" as the C runtime reads it back: a quote inside becomes \", and the
// backslashes just before a quote or the closing quote are doubled. cmd.exe
// passes the quoted text on unchanged, except that it still expands %NAME%
// (a command line holding % and a variable's name cannot be pasted as it is).
inline std::string QuotedForCmd(const std::string& word) {
    std::string out = "\"";
    size_t backslashes = 0;
    for (char c : word) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        out.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
        out += c;
        backslashes = 0;
    }
    out.append(backslashes * 2, '\\');
    return out + "\"";
}

inline std::string QuotedForShell(const std::string& word) {
#if defined(_WIN32)
    return QuotedForCmd(word);
#else
    return QuotedForPosixShell(word);
#endif
}

}  // namespace orbex::host
