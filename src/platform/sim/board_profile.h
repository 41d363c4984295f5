// The board profile: one INI file describing a whole virtual machine (board,
// media devices, system, outside components) and the faults injected into it.
// Unknown sections, keys and values are refused with file and line.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/types.h"

namespace orbex::sim {

struct PinSpec {
    PinDirection direction = PinDirection::Input;
    std::string name;
    std::string medium;    // what the pin carries: analog, video, vbi, overlay
    std::string category;  // capture, preview, vbi or empty
};

struct DeviceSpec {  // a device the system device enumerator lists
    Guid category;
    std::string friendlyName;
    std::vector<PinSpec> pins;
};

struct FilterClassSpec {  // a filter created by class identifier
    Guid clsid;
    std::string name;
    std::vector<PinSpec> pins;
    std::string kitFile;  // when set, the class exists only once this file is registered
};

struct RegistryValueSpec {
    std::string key;
    std::string name;
    uint32_t type = 0;
    std::vector<uint8_t> data;
};

struct FaultSpec {
    HResult code = 0;
    int32_t count = -1;  // -1: every call
    int32_t skip = 0;    // calls that succeed before the fault starts
};

struct BoardProfile {
    std::string source = "<built-in reference board>";

    // Machine
    OsVersion os{kPlatformWin32Nt, 5, 0, 2195};
    std::string currentDirectory = "C:\\ORBEX";
    std::string windowsDirectory = "C:\\WINNT";
    std::string systemDirectory = "C:\\WINNT\\system32";
    std::string localTime = "2001-06-01T09:00:00";
    uint32_t clockStart = 0;

    // Components
    bool loggingComponent = true;
    bool resultLibrary = true;
    std::vector<std::string> resultLibraryExports{"TestBegin", "TestEnd", "ResultReport"};

    // Display
    int32_t monitors = 1;
    bool escapeServed = true;
    int32_t escapeRefusedResult = -1;
    std::vector<uint8_t> mmTable;
    std::optional<uint32_t> mmTableBytesReturned;
    std::vector<uint8_t> hwTable;
    uint32_t value14000B = 0;

    // Video memory
    uint32_t videoMemoryTotal = 8u << 20;
    uint32_t videoMemoryFree = 6u << 20;

    std::vector<DeviceSpec> devices;
    std::vector<FilterClassSpec> filterClasses;
    std::vector<std::string> registryKeys;
    std::vector<RegistryValueSpec> registryValues;
    std::vector<std::string> files;  // virtual files, full Windows paths

    std::map<std::string, FaultSpec> faults;  // by operation name
};

// The operation names a [Faults] section may use.
const std::vector<std::string>& FaultOperations();

// Parses profile text. On error returns nullopt and sets error to
// "<source>:<line>: <what>".
std::optional<BoardProfile> ParseBoardProfile(const std::string& text, const std::string& source, std::string& error);
std::optional<BoardProfile> LoadBoardProfile(const std::string& path, std::string& error);
// The built-in reference board.
BoardProfile ReferenceBoard();
const char* ReferenceBoardText();

// "A799A800-A46D-11D0-A18C-00A02401DCD4", braces optional.
std::optional<Guid> ParseGuidText(const std::string& text);

}  // namespace orbex::sim
