// Any command line: accepted or rejected with a message, never past a buffer.
#include <cstring>
#include <string>

#include "entry/command_line.h"

namespace {

struct Directory : orbex::port::ISystemInfo {
    uint32_t CurrentDirectoryPath(uint32_t size, char* buffer) override {
        static const char kDir[] = "C:\\A\\VERY\\LONG\\TEST\\KIT\\DIRECTORY\\THAT\\TAKES\\ROOM";
        if (size <= sizeof kDir - 1) return sizeof kDir;
        std::memcpy(buffer, kDir, sizeof kDir);
        return sizeof kDir - 1;
    }
    uint32_t SystemDirectoryPath(char*, uint32_t) override { return 0; }
    uint32_t WindowsDirectoryPath(char*, uint32_t) override { return 0; }
    bool QueryVersion(orbex::OsVersion&) override { return false; }
};

struct Silent : orbex::port::IUser {
    int32_t ShowMessageBox(const char* text, const char*, uint32_t) override {
        if (std::strlen(text) > 255) __builtin_trap();
        return 1;
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string line(reinterpret_cast<const char*>(data), size);
    line = line.c_str();  // the entry receives a zero-terminated string
    Directory dir;
    Silent user;
    orbex::TestIdentifier id;
    int32_t result = orbex::ParseCommandLine(line.c_str(), id, dir, user);
    if (result != 0 && result != 1) __builtin_trap();
    if (strnlen(id.testIdText, sizeof id.testIdText) == sizeof id.testIdText) __builtin_trap();
    if (strnlen(id.graphFilePath, sizeof id.graphFilePath) == sizeof id.graphFilePath) __builtin_trap();
    if (result == 1 && id.testIdText[0]) __builtin_trap();
    return 0;
}
