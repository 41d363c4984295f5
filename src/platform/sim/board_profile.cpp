#include "platform/sim/board_profile.h"

#include <cctype>
#include <charconv>
#include <fstream>
#include <set>
#include <sstream>

#include "platform/guids.h"

namespace orbex::sim {
namespace {

struct ProfileError {
    int line;
    std::string what;
};

std::string Trim(std::string s) {
    size_t b = s.find_first_not_of(" \t\r");
    size_t e = s.find_last_not_of(" \t\r");
    return b == std::string::npos ? std::string() : s.substr(b, e - b + 1);
}

std::string Lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

std::vector<std::string> Split(const std::string& s, char sep) {
    std::vector<std::string> out;
    std::string item;
    std::istringstream in(s);
    while (std::getline(in, item, sep)) out.push_back(Trim(item));
    return out;
}

int64_t ParseNumber(const std::string& text, int line) {
    std::string t = Trim(text);
    bool negative = !t.empty() && t[0] == '-';
    std::string digits = negative ? t.substr(1) : t;
    int base = 10;
    if (digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) {
        base = 16;
        digits = digits.substr(2);
    }
    int64_t value = 0;
    auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value, base);
    if (digits.empty() || ec != std::errc() || end != digits.data() + digits.size())
        throw ProfileError{line, "\"" + t + "\" is not a number"};
    return negative ? -value : value;
}

uint32_t ParseU32(const std::string& text, int line) {
    int64_t v = ParseNumber(text, line);
    if (v < INT32_MIN || v > UINT32_MAX) throw ProfileError{line, "\"" + text + "\" is out of range"};
    return static_cast<uint32_t>(v);
}

bool ParseChoice(const std::string& text, const char* yes, const char* no, int line) {
    std::string v = Lower(Trim(text));
    if (v == yes) return true;
    if (v == no) return false;
    throw ProfileError{line, "\"" + text + "\" is neither \"" + yes + "\" nor \"" + no + "\""};
}

std::vector<uint8_t> ParseBytes(const std::string& text, int line) {
    std::vector<uint8_t> out;
    std::istringstream in(text);
    std::string word;
    while (in >> word) {
        uint8_t b = 0;
        auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), b, 16);
        if (word.size() > 2 || ec != std::errc() || end != word.data() + word.size())
            throw ProfileError{line, "\"" + word + "\" is not a hexadecimal byte"};
        out.push_back(b);
    }
    return out;
}

Guid ParseCategory(const std::string& text, int line) {
    static const std::map<std::string, Guid> kNamed = {
        {"videoinputdevice", guids::kCategoryVideoInputDevice},
        {"tvtuner", guids::kCategoryTvTuner},
        {"crossbar", guids::kCategoryCrossbar},
        {"tvaudio", guids::kCategoryTvAudio},
        {"videocompressor", guids::kCategoryVideoCompressor},
    };
    auto it = kNamed.find(Lower(Trim(text)));
    if (it != kNamed.end()) return it->second;
    if (auto g = ParseGuidText(text)) return *g;
    throw ProfileError{line, "\"" + text + "\" is not a device category"};
}

// "in:Name:medium[:category]; out:..."
std::vector<PinSpec> ParsePins(const std::string& text, int line) {
    std::vector<PinSpec> pins;
    for (const std::string& item : Split(text, ';')) {
        if (item.empty()) continue;
        std::vector<std::string> parts = Split(item, ':');
        if (parts.size() < 3 || parts.size() > 4)
            throw ProfileError{line, "pin \"" + item + "\" is not direction:name:medium[:category]"};
        PinSpec pin;
        std::string dir = Lower(parts[0]);
        if (dir == "in")
            pin.direction = PinDirection::Input;
        else if (dir == "out")
            pin.direction = PinDirection::Output;
        else
            throw ProfileError{line, "pin direction \"" + parts[0] + "\" is neither in nor out"};
        pin.name = parts[1];
        pin.medium = Lower(parts[2]);
        static const std::set<std::string> kMedia = {"analog", "video", "vbi", "overlay", "audio"};
        if (!kMedia.count(pin.medium)) throw ProfileError{line, "unknown pin medium \"" + parts[2] + "\""};
        if (parts.size() == 4) {
            pin.category = Lower(parts[3]);
            if (pin.category != "capture" && pin.category != "preview" && pin.category != "vbi")
                throw ProfileError{line, "unknown pin category \"" + parts[3] + "\""};
        }
        pins.push_back(pin);
    }
    return pins;
}

FaultSpec ParseFault(const std::string& text, int line) {
    std::vector<std::string> parts = Split(text, ',');
    if (parts.empty() || parts.size() > 3) throw ProfileError{line, "a fault is code[,count[,skip]]"};
    FaultSpec f;
    f.code = static_cast<HResult>(ParseU32(parts[0], line));
    if (parts.size() > 1) f.count = static_cast<int32_t>(ParseNumber(parts[1], line));
    if (parts.size() > 2) f.skip = static_cast<int32_t>(ParseNumber(parts[2], line));
    if (f.count < -1 || f.skip < 0) throw ProfileError{line, "fault count and skip must not be negative"};
    return f;
}

RegistryValueSpec ParseRegistryValue(const std::string& text, int line) {
    // key|name|type|data
    size_t a = text.find('|');
    size_t b = a == std::string::npos ? a : text.find('|', a + 1);
    size_t c = b == std::string::npos ? b : text.find('|', b + 1);
    if (c == std::string::npos) throw ProfileError{line, "a registry value is key|name|type|data"};
    RegistryValueSpec v;
    v.key = Trim(text.substr(0, a));
    v.name = text.substr(a + 1, b - a - 1);
    std::string type = Lower(Trim(text.substr(b + 1, c - b - 1)));
    std::string data = text.substr(c + 1);
    if (type == "sz") {
        v.type = kRegSz;
        v.data.assign(data.begin(), data.end());
        v.data.push_back(0);
    } else if (type == "dword") {
        v.type = kRegDword;
        uint32_t d = ParseU32(data, line);
        for (int i = 0; i < 4; ++i) v.data.push_back(static_cast<uint8_t>(d >> (8 * i)));
    } else if (type == "binary") {
        v.type = 3;
        v.data = ParseBytes(data, line);
    } else {
        throw ProfileError{line, "registry type \"" + type + "\" is not sz, dword or binary"};
    }
    return v;
}

// Sections that describe one object each carry a dotted suffix: [Device.1].
std::string SectionKind(const std::string& name) {
    size_t dot = name.find('.');
    return Lower(dot == std::string::npos ? name : name.substr(0, dot));
}

void Apply(BoardProfile& p, const std::string& section, const std::string& key, const std::string& value, int line) {
    std::string kind = SectionKind(section);
    std::string k = Lower(key);
    auto unknown = [&]() { throw ProfileError{line, "unknown key \"" + key + "\" in [" + section + "]"}; };

    if (kind == "machine") {
        if (k == "platform") {
            std::string v = Lower(value);
            if (v == "nt")
                p.os.platformId = kPlatformWin32Nt;
            else if (v == "9x")
                p.os.platformId = kPlatformWin32Windows;
            else
                throw ProfileError{line, "platform \"" + value + "\" is neither NT nor 9x"};
        } else if (k == "majorversion")
            p.os.major = ParseU32(value, line);
        else if (k == "minorversion")
            p.os.minor = ParseU32(value, line);
        else if (k == "build")
            p.os.build = ParseU32(value, line);
        else if (k == "currentdirectory")
            p.currentDirectory = value;
        else if (k == "windowsdirectory")
            p.windowsDirectory = value;
        else if (k == "systemdirectory")
            p.systemDirectory = value;
        else if (k == "localtime")
            p.localTime = value;
        else if (k == "clockstart")
            p.clockStart = ParseU32(value, line);
        else
            unknown();
    } else if (kind == "components") {
        if (k == "loggingcomponent")
            p.loggingComponent = ParseChoice(value, "present", "absent", line);
        else if (k == "resultlibrary")
            p.resultLibrary = ParseChoice(value, "present", "absent", line);
        else if (k == "resultlibraryexports") {
            p.resultLibraryExports.clear();
            for (const std::string& e : Split(value, ','))
                if (!e.empty()) p.resultLibraryExports.push_back(e);
        } else
            unknown();
    } else if (kind == "display") {
        if (k == "monitors")
            p.monitors = static_cast<int32_t>(ParseNumber(value, line));
        else if (k == "escape")
            p.escapeServed = ParseChoice(value, "served", "refused", line);
        else if (k == "escaperesult")
            p.escapeRefusedResult = static_cast<int32_t>(ParseNumber(value, line));
        else if (k == "mmtable")
            p.mmTable = ParseBytes(value, line);
        else if (k == "mmtablebytesreturned")
            p.mmTableBytesReturned = ParseU32(value, line);
        else if (k == "hwtable")
            p.hwTable = ParseBytes(value, line);
        else if (k == "value14000b")
            p.value14000B = ParseU32(value, line);
        else
            unknown();
        if (p.mmTable.size() > 12 || p.hwTable.size() > 10)
            throw ProfileError{line, "the MMTable holds at most 12 bytes and the HWTable 10"};
    } else if (kind == "videomemory") {
        if (k == "total")
            p.videoMemoryTotal = ParseU32(value, line);
        else if (k == "free")
            p.videoMemoryFree = ParseU32(value, line);
        else
            unknown();
    } else if (kind == "device") {
        DeviceSpec& d = p.devices.back();
        if (k == "category")
            d.category = ParseCategory(value, line);
        else if (k == "friendlyname")
            d.friendlyName = value;
        else if (k == "pins")
            d.pins = ParsePins(value, line);
        else
            unknown();
    } else if (kind == "filter") {
        FilterClassSpec& f = p.filterClasses.back();
        if (k == "clsid") {
            auto g = ParseGuidText(value);
            if (!g) throw ProfileError{line, "\"" + value + "\" is not a class identifier"};
            f.clsid = *g;
        } else if (k == "name")
            f.name = value;
        else if (k == "pins")
            f.pins = ParsePins(value, line);
        else if (k == "kitfile")
            f.kitFile = value;
        else
            unknown();
    } else if (kind == "registry") {
        if (k == "key")
            p.registryKeys.push_back(value);
        else if (k == "value")
            p.registryValues.push_back(ParseRegistryValue(value, line));
        else
            unknown();
    } else if (kind == "files") {
        if (k == "file")
            p.files.push_back(value);
        else
            unknown();
    } else if (kind == "faults") {
        bool known = false;
        for (const std::string& op : FaultOperations()) known = known || Lower(op) == k;
        if (!known) throw ProfileError{line, "unknown fault operation \"" + key + "\""};
        for (const std::string& op : FaultOperations())
            if (Lower(op) == k) p.faults[op] = ParseFault(value, line);
    } else {
        throw ProfileError{line, "unknown section [" + section + "]"};
    }
}

}  // namespace

const std::vector<std::string>& FaultOperations() {
    static const std::vector<std::string> kOps = {"CoInitialize",
                                                  "CreateLogWriter",
                                                  "CreateCaptureGraphBuilder",
                                                  "CreateFilterGraph",
                                                  "CreateDeviceEnumerator",
                                                  "CreateFilter",
                                                  "SetFiltergraph",
                                                  "AddFilter",
                                                  "RemoveFilter",
                                                  "ConnectDirect",
                                                  "Disconnect",
                                                  "EnumPins",
                                                  "QueryPinInfo",
                                                  "QueryMediaControl",
                                                  "Run",
                                                  "Stop",
                                                  "FindInterface",
                                                  "CreateClassEnumerator",
                                                  "BindToPropertyBag",
                                                  "ReadFriendlyName",
                                                  "BindToFilter",
                                                  "DirectDrawCreate",
                                                  "QueryDirectDraw2",
                                                  "GetAvailableVidMem",
                                                  "CreateDC",
                                                  "ExtEscape",
                                                  "GetCurrentDirectory",
                                                  "GetSystemDirectory",
                                                  "GetWindowsDirectory",
                                                  "GetVersionEx",
                                                  "LoadLibrary",
                                                  "RegOpenKeyEx",
                                                  "RegCreateKeyEx",
                                                  "RegQueryValueEx",
                                                  "RegSetValueEx",
                                                  "ProfileWrite",
                                                  "System"};
    return kOps;
}

std::optional<Guid> ParseGuidText(const std::string& text) {
    std::string t = Trim(text);
    if (!t.empty() && t.front() == '{' && t.back() == '}') t = t.substr(1, t.size() - 2);
    if (t.size() != 36 || t[8] != '-' || t[13] != '-' || t[18] != '-' || t[23] != '-') return std::nullopt;
    auto hex = [&](size_t pos, size_t len, uint64_t& out) {
        auto [end, ec] = std::from_chars(t.data() + pos, t.data() + pos + len, out, 16);
        return ec == std::errc() && end == t.data() + pos + len;
    };
    Guid g;
    uint64_t v = 0;
    if (!hex(0, 8, v)) return std::nullopt;
    g.data1 = static_cast<uint32_t>(v);
    if (!hex(9, 4, v)) return std::nullopt;
    g.data2 = static_cast<uint16_t>(v);
    if (!hex(14, 4, v)) return std::nullopt;
    g.data3 = static_cast<uint16_t>(v);
    const size_t offsets[8] = {19, 21, 24, 26, 28, 30, 32, 34};
    for (int i = 0; i < 8; ++i) {
        if (!hex(offsets[i], 2, v)) return std::nullopt;
        g.data4[i] = static_cast<uint8_t>(v);
    }
    return g;
}

std::optional<BoardProfile> ParseBoardProfile(const std::string& text, const std::string& source, std::string& error) {
    BoardProfile p;
    p.source = source;
    p.mmTable.clear();
    std::istringstream in(text);
    std::string raw, section;
    int line = 0;
    try {
        while (std::getline(in, raw)) {
            ++line;
            std::string l = Trim(raw);
            if (l.empty() || l[0] == ';' || l[0] == '#') continue;
            if (l[0] == '[') {
                if (l.back() != ']') throw ProfileError{line, "section header without \"]\""};
                section = Trim(l.substr(1, l.size() - 2));
                std::string kind = SectionKind(section);
                if (kind == "device") p.devices.emplace_back();
                if (kind == "filter") p.filterClasses.emplace_back();
                static const std::set<std::string> kKinds = {"machine",     "components", "display",
                                                             "videomemory", "device",     "filter",
                                                             "registry",    "files",      "faults"};
                if (!kKinds.count(kind)) throw ProfileError{line, "unknown section [" + section + "]"};
                continue;
            }
            size_t eq = l.find('=');
            if (eq == std::string::npos) throw ProfileError{line, "line without \"=\""};
            if (section.empty()) throw ProfileError{line, "key before the first section"};
            Apply(p, section, Trim(l.substr(0, eq)), Trim(l.substr(eq + 1)), line);
        }
        for (const DeviceSpec& d : p.devices)
            if (d.friendlyName.empty()) throw ProfileError{line, "a [Device] section lacks FriendlyName"};
        for (const FilterClassSpec& f : p.filterClasses)
            if (f.clsid.IsNull()) throw ProfileError{line, "a [Filter] section lacks CLSID"};
    } catch (const ProfileError& e) {
        error = source + ":" + std::to_string(e.line) + ": " + e.what;
        return std::nullopt;
    }
    return p;
}

std::optional<BoardProfile> LoadBoardProfile(const std::string& path, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = path + ": cannot open the board profile";
        return std::nullopt;
    }
    std::ostringstream text;
    text << in.rdbuf();
    return ParseBoardProfile(text.str(), path, error);
}

BoardProfile ReferenceBoard() {
    std::string error;
    auto p = ParseBoardProfile(ReferenceBoardText(), "<built-in reference board>", error);
    return p ? *p : BoardProfile{};
}

}  // namespace orbex::sim
