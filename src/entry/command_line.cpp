#include "entry/command_line.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "common/format.h"

namespace orbex {
namespace {

bool IsDigitChar(char c) {
    return c >= '0' && c <= '9';
}

constexpr const char* kCaption = "Orbex:  Invalid Cmd Line Error";
constexpr uint32_t kStopSystemModal = 0x1010;

// The text a rejected command line is thrown with.
struct CmdLineError {
    char text[256];
};

[[noreturn]] void Reject(const char* format, ...) ORBEX_PRINTF(1, 2);
[[noreturn]] void Reject(const char* format, ...) {
    CmdLineError e;
    va_list args;
    va_start(args, format);
    FormatIntoV(e.text, sizeof e.text, format, args);
    va_end(args);
    throw e;
}

// "%ld"/"%d" reading: leading white space, optional sign, decimal digits.
// Returns false when no number could be read from the start of the word. Values
// beyond 32 bits are held at the 32-bit limits, as a 32-bit long is.
bool ReadNumber(const char* word, int32_t& out) {
    char* end = nullptr;
    long long value = std::strtoll(word, &end, 10);
    const char* p = word;
    while (*p == ' ' || (*p >= '\t' && *p <= '\r')) ++p;
    if (*p == '+' || *p == '-') ++p;
    if (!IsDigitChar(*p)) return false;
    if (value > INT32_MAX) value = INT32_MAX;
    if (value < INT32_MIN) value = INT32_MIN;
    out = static_cast<int32_t>(value);
    return true;
}

std::vector<std::string> SplitAtBlanks(const char* text) {
    std::vector<std::string> words;
    std::string word;
    for (const char* p = text; *p; ++p) {
        if (*p == ' ') {
            if (!word.empty()) words.push_back(word);
            word.clear();
        } else {
            word += *p;
        }
    }
    if (!word.empty()) words.push_back(word);
    return words;
}

void SetGraphFile(TestIdentifier& id, const char* currentDirectory, const char* fileName) {
    FormatInto(id.graphFilePath, sizeof id.graphFilePath, "%s\\%s", currentDirectory, fileName);
}

void ParseLegacy(const std::vector<std::string>& words, TestIdentifier& id) {
    const std::string& w = words[0];
    bool prefix = (w[0] == 't' && w[1] == 'c') || (w[0] == 'T' && w[1] == 'C');
    if (w.size() != 6 || !prefix || !IsDigitChar(w[2]) || !IsDigitChar(w[3]) || !IsDigitChar(w[4]) ||
        !IsDigitChar(w[5]))
        Reject("Invalid command.");
    id.graphNumber = w[2] - '0';
    id.deviceNumber = w[3] - '0';
    id.testNumber = (w[4] - '0') * 10 + (w[5] - '0');
    if (words.size() == 1) {
        FormatInto(id.testIdText, sizeof id.testIdText, "tc%d%d%02d", id.graphNumber, id.deviceNumber, id.testNumber);
        return;
    }
    id.parameter = 0;
    ReadNumber(words[1].c_str(), id.parameter);
    if (id.parameter == 0) Reject("Invalid parameter \"%s\".", words[1].c_str());
    if (words.size() > 2) Reject("Too many parameters. Maximum 2 parameters allowed for legacy style command line.");
    FormatInto(id.testIdText, sizeof id.testIdText, "tc%d%d%02d %ld", id.graphNumber, id.deviceNumber, id.testNumber,
               static_cast<long>(id.parameter));
}

void ParseOptions(const std::vector<std::string>& words, TestIdentifier& id, const char* currentDirectory) {
    char fileName[256] = "default.gf";
    char pending = 0;
    for (const std::string& word : words) {
        if (!pending) {
            if (word.size() != 2 || word[0] != '-') Reject("Invalid option \"%s\".", word.c_str());
            pending = word[1];
            continue;
        }
        if (word[0] == '-') Reject("Missing parameter for option \"-%c\".", pending);
        int32_t* field = nullptr;
        switch (pending) {
            case 'g': field = &id.graphNumber; break;
            case 'd': field = &id.deviceNumber; break;
            case 't': field = &id.testNumber; break;
            case 'p': field = &id.parameter; break;
            case 'f':
                CopyText(fileName, sizeof fileName, word.c_str());
                SetGraphFile(id, currentDirectory, fileName);
                break;
            default: Reject("Invalid option \"-%c\".", pending);
        }
        if (field) {
            *field = 0;
            if (!ReadNumber(word.c_str(), *field))
                Reject("Invalid parameter \"%s\" for option \"-%c\".", word.c_str(), pending);
        }
        pending = 0;
    }
    if (pending) Reject("Missing parameter for option \"-%c\".", pending);
    // The identifier's file part ends before the first blank, dot or backslash.
    char filePart[256];
    CopyText(filePart, sizeof filePart, fileName);
    filePart[std::strcspn(filePart, " .\\")] = '\0';
    FormatInto(id.testIdText, sizeof id.testIdText, "G%d_D%d_T%d_P%ld_F%s", id.graphNumber, id.deviceNumber,
               id.testNumber, static_cast<long>(id.parameter), filePart);
}

}  // namespace

int32_t ParseCommandLine(const char* commandLine, TestIdentifier& id, port::ISystemInfo& system, port::IUser& user) {
    id.testIdText[0] = '\0';
    id.graphNumber = id.deviceNumber = id.testNumber = id.parameter = 0;
    char currentDirectory[261] = "";
    uint32_t n = system.CurrentDirectoryPath(sizeof currentDirectory - 1, currentDirectory);
    if (n == 0 || n >= sizeof currentDirectory - 1) currentDirectory[0] = '\0';
    SetGraphFile(id, currentDirectory, "default.gf");

    // The working copy of the command line holds 255 characters.
    char working[256];
    CopyText(working, sizeof working, commandLine ? commandLine : "");
    std::vector<std::string> words = SplitAtBlanks(working);
    if (words.empty()) return 0;
    try {
        char first = words[0][0];
        if (first == 't' || first == 'T')
            ParseLegacy(words, id);
        else if (first == '-')
            ParseOptions(words, id, currentDirectory);
        else
            Reject("Invalid command.");
    } catch (const CmdLineError& e) {
        user.ShowMessageBox(e.text, kCaption, kStopSystemModal);
        return 1;
    }
    return 0;
}

}  // namespace orbex
