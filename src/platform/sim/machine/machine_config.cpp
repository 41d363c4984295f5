#include "platform/sim/machine/machine_config.h"

#include "platform/sim/profile/profile_values.h"

namespace orbex::sim {
namespace {

// key|name|type|data
RegistryValueDesc ParseRegistryValue(const std::string& text, int line) {
    size_t a = text.find('|');
    size_t b = a == std::string::npos ? a : text.find('|', a + 1);
    size_t c = b == std::string::npos ? b : text.find('|', b + 1);
    if (c == std::string::npos) throw ProfileError{line, "a registry value is key|name|type|data"};
    RegistryValueDesc v;
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

}  // namespace

void ReadKey(MachineConfig& c, const ProfileEntry& e) {
    if (e.Is("platform")) {
        std::string v = Lower(e.value);
        if (v == "nt")
            c.os.platformId = kPlatformWin32Nt;
        else if (v == "9x")
            c.os.platformId = kPlatformWin32Windows;
        else
            e.Refuse("platform \"" + e.value + "\" is neither NT nor 9x");
    } else if (e.Is("majorversion"))
        c.os.major = ParseU32(e.value, e.line);
    else if (e.Is("minorversion"))
        c.os.minor = ParseU32(e.value, e.line);
    else if (e.Is("build"))
        c.os.build = ParseU32(e.value, e.line);
    else if (e.Is("currentdirectory"))
        c.currentDirectory = e.value;
    else if (e.Is("windowsdirectory"))
        c.windowsDirectory = e.value;
    else if (e.Is("systemdirectory"))
        c.systemDirectory = e.value;
    else if (e.Is("localtime"))
        c.localTime = e.value;
    else if (e.Is("clockstart"))
        c.clockStart = ParseU32(e.value, e.line);
    else
        e.RefuseKey();
}

// path|file version[|product version[|translation or none]]
static VersionedFileDesc ParseVersionedFile(const ProfileEntry& e) {
    std::vector<std::string> items = Split(e.value, '|');
    if (items.size() < 2 || items.size() > 4 || items[0].empty())
        e.Refuse("a versioned file is path|file version[|product version[|translation]]");
    VersionedFileDesc v;
    v.path = items[0];
    v.fileVersion = items[1];
    v.productVersion = items.size() > 2 ? items[2] : items[1];
    if (items.size() > 3) {
        const std::string& t = items[3];
        if (Lower(t) == "none") {
            v.hasTranslation = false;
            v.translation = "040904E4";
        } else if (t.size() == 8 && t.find_first_not_of("0123456789abcdefABCDEF") == std::string::npos) {
            v.translation = t;
        } else {
            e.Refuse("translation \"" + t + "\" is neither 8 hexadecimal digits nor none");
        }
    }
    return v;
}

void ReadKey(FilesConfig& c, const ProfileEntry& e) {
    if (e.Is("file"))
        c.files.push_back(e.value);
    else if (e.Is("versionedfile"))
        c.versioned.push_back(ParseVersionedFile(e));
    else
        e.RefuseKey();
}

void ReadKey(RegistryConfig& c, const ProfileEntry& e) {
    if (e.Is("key"))
        c.keys.push_back(e.value);
    else if (e.Is("value"))
        c.values.push_back(ParseRegistryValue(e.value, e.line));
    else
        e.RefuseKey();
}

}  // namespace orbex::sim
