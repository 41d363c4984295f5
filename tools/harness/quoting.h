// Command-line words quoted for the shell a tester pastes a reproduce line
// into: a POSIX shell, or cmd.exe on Windows (whose programs split their
// command line by the C runtime's rules).
#pragma once

#include <string>

namespace orbex::harness {

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

}  // namespace orbex::harness
