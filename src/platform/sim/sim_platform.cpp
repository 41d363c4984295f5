#include "platform/sim/sim_platform.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <sstream>

#include "common/format.h"
#include "platform/guids.h"
#include "platform/host/host.h"
#include "platform/sim/sim_log_writer.h"
#include "platform/sim/sim_registry.h"

namespace orbex::sim {
namespace {

constexpr int32_t kDrexEscape = 0x7306;
constexpr uint32_t kFunctionMmTable = 0x140007;
constexpr uint32_t kFunctionHwTable = 0x140006;
constexpr uint32_t kFunction14000B = 0x14000B;

std::string ModuleDirectory() {
    return host::ModuleDirectoryOf(reinterpret_cast<const void*>(&ModuleDirectory));
}

bool HostFileExists(const std::string& path) {
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec);
}

std::string BaseName(const std::string& path) {
    size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Splits a command line into words; double quotes group blanks.
std::vector<std::string> Words(const std::string& command) {
    std::vector<std::string> words;
    std::string word;
    bool quoted = false, any = false;
    for (char c : command) {
        if (c == '"') {
            quoted = !quoted;
            any = true;
        } else if (c == ' ' && !quoted) {
            if (any) words.push_back(word);
            word.clear();
            any = false;
        } else {
            word += c;
            any = true;
        }
    }
    if (any) words.push_back(word);
    return words;
}

class SimDirectDraw final : public port::IDirectDraw2, public std::enable_shared_from_this<SimDirectDraw> {
public:
    SimDirectDraw(FaultTable& faults, const BoardProfile& profile) : m_faults(faults), m_profile(profile) {}
    HResult QueryInterface(const Guid& iid, port::ComPtr& out) override {
        out.reset();
        if (iid == guids::kIidDirectDraw2) {
            if (HResult hr = m_faults.Next("QueryDirectDraw2")) return hr;
            out = shared_from_this();
            return kSOk;
        }
        if (iid == guids::kIidUnknown) {
            out = shared_from_this();
            return kSOk;
        }
        return kENoInterface;
    }
    HResult GetAvailableVidMem(uint32_t, uint32_t* total, uint32_t* free) override {
        if (HResult hr = m_faults.Next("GetAvailableVidMem")) return hr;
        if (total) *total = m_profile.videoMemoryTotal;
        if (free) *free = m_profile.videoMemoryFree;
        return kSOk;
    }

private:
    FaultTable& m_faults;
    const BoardProfile& m_profile;
};

}  // namespace

SimPlatform::SimPlatform(BoardProfile profile, SimOptions options)
    : m_profile(std::move(profile)),
      m_options(std::move(options)),
      m_faults(m_profile.faults),
      m_registry(std::make_unique<SimRegistry>(m_faults, *this)),
      m_clock(m_profile.clockStart),
      m_clockStart(m_profile.clockStart) {
    if (m_options.hostCurrentDirectory.empty()) m_options.hostCurrentDirectory = ".";
    if (m_options.hostWindowsDirectory.empty()) m_options.hostWindowsDirectory = m_options.hostCurrentDirectory;
    if (m_options.verdictLibraryPath.empty())
        m_options.verdictLibraryPath = ModuleDirectory() + "/" + host::SharedLibraryName("verdict");
    if (!m_options.events) m_options.events = HarnessEventSink();
    m_media.profile = &m_profile;
    m_media.faults = &m_faults;
    m_media.isRegistered = [this](const FilterClassSpec& spec) {
        return m_registered.count(ini::Folded(spec.kitFile)) > 0;
    };
    for (const std::string& f : m_profile.files) m_files.insert(ini::Folded(f));
    for (const std::string& k : m_profile.registryKeys) m_registry->CreateKey(k);
    for (const RegistryValueSpec& v : m_profile.registryValues)
        m_registry->SetValue(v.key, v.name, v.type, v.data, false);
}

SimPlatform::~SimPlatform() {
    m_ini.Flush();
    for (auto& [handle, count] : m_libraries) host::CloseLibrary(handle);
}

port::IRegistry& SimPlatform::Registry() {
    return *m_registry;
}

void SimPlatform::Emit(const std::string& event, std::vector<EventField> fields) {
    m_options.events(PlatformEvent{event, std::move(fields)});
}

std::optional<std::string> SimPlatform::HostPath(const std::string& windowsPath) const {
    auto under = [&](const std::string& dir) -> std::optional<std::string> {
        std::string prefix = ini::Folded(dir) + "\\";
        if (ini::Folded(windowsPath).compare(0, prefix.size(), prefix) != 0) return std::nullopt;
        std::string rest = windowsPath.substr(prefix.size());
        for (char& c : rest)
            if (c == '\\') c = '/';
        return rest;
    };
    if (windowsPath.find_first_of("\\:/") == std::string::npos)  // a bare name lives in the Windows directory
        return m_options.hostWindowsDirectory + "/" + windowsPath;
    if (under(m_profile.systemDirectory)) return std::nullopt;  // the system directory is virtual only
    if (auto rest = under(m_profile.currentDirectory)) return m_options.hostCurrentDirectory + "/" + *rest;
    if (auto rest = under(m_profile.windowsDirectory)) return m_options.hostWindowsDirectory + "/" + *rest;
    return std::nullopt;
}

bool SimPlatform::FileExists(const std::string& windowsPath) const {
    if (m_files.count(ini::Folded(windowsPath))) return true;
    auto host = HostPath(windowsPath);
    return host && HostFileExists(*host);
}

std::string SimPlatform::LocalTimeText() {
    using namespace std::chrono;
    int y = 2001, mo = 1, d = 1, h = 0, mi = 0, s = 0;
    std::sscanf(m_profile.localTime.c_str(), "%d-%d-%dT%d:%d:%d", &y, &mo, &d, &h, &mi, &s);
    sys_days start = year{y} / month{static_cast<unsigned>(mo)} / day{static_cast<unsigned>(d)};
    auto t = time_point_cast<milliseconds>(start) + hours{h} + minutes{mi} + seconds{s} +
             milliseconds{static_cast<uint32_t>(m_clock - m_clockStart)};
    sys_days date = floor<days>(t);
    year_month_day ymd{date};
    hh_mm_ss<milliseconds> tod{t - date};
    return Format("%04d-%02u-%02uT%02d:%02d:%02d.%03d", static_cast<int>(ymd.year()),
                  static_cast<unsigned>(ymd.month()), static_cast<unsigned>(ymd.day()),
                  static_cast<int>(tod.hours().count()), static_cast<int>(tod.minutes().count()),
                  static_cast<int>(tod.seconds().count()), static_cast<int>(tod.subseconds().count()));
}

// Virtual time: every read of the timer lets one millisecond pass, so a
// busy-wait ends after as many reads as it waits milliseconds.
uint32_t SimPlatform::TimeGetTime() {
    return m_clock++;
}
uint32_t SimPlatform::GetTickCount() {
    return m_clock++;
}
void SimPlatform::Sleep(uint32_t milliseconds) {
    m_clock += milliseconds;
}

uint32_t SimPlatform::CopyDirectory(const std::string& dir, const char* operation, char* buffer, uint32_t size) {
    if (m_faults.Next(operation)) return 0;
    uint32_t len = static_cast<uint32_t>(dir.size());
    if (!buffer || size <= len) return len + 1;
    std::memcpy(buffer, dir.c_str(), len + 1);
    return len;
}

uint32_t SimPlatform::GetCurrentDirectory(uint32_t size, char* buffer) {
    return CopyDirectory(m_profile.currentDirectory, "GetCurrentDirectory", buffer, size);
}
uint32_t SimPlatform::GetSystemDirectory(char* buffer, uint32_t size) {
    return CopyDirectory(m_profile.systemDirectory, "GetSystemDirectory", buffer, size);
}
uint32_t SimPlatform::GetWindowsDirectory(char* buffer, uint32_t size) {
    return CopyDirectory(m_profile.windowsDirectory, "GetWindowsDirectory", buffer, size);
}

bool SimPlatform::GetVersionEx(OsVersion& out) {
    if (m_faults.Next("GetVersionEx")) return false;
    out = m_profile.os;
    return true;
}

int32_t SimPlatform::MessageBox(const char* text, const char* caption, uint32_t style) {
    Emit("MessageBox", {{"caption", std::string(caption ? caption : "")},
                        {"text", std::string(text ? text : "")},
                        {"style", static_cast<int64_t>(style)}});
    std::fprintf(stderr, "orbex: message box \"%s\": %s\n", caption ? caption : "", text ? text : "");
    return 1;  // IDOK: the virtual board never waits for a person
}

port::LibraryHandle SimPlatform::LoadLibrary(const char* name) {
    if (m_faults.Next("LoadLibrary")) return nullptr;
    if (!name || !EqualsNoCase(name, "verdict.dll")) return nullptr;
    if (m_options.noVerdict || !m_profile.resultLibrary) return nullptr;
    // The library stays mapped after its last FreeLibrary, so that loading it
    // again on every call costs a reference count, not a fresh mapping.
    std::string error;
    void* handle = host::OpenLibrary(m_options.verdictLibraryPath, error, /*keepMapped=*/true);
    if (!handle) {
        std::fprintf(stderr, "orbex: virtual board cannot load %s: %s\n", m_options.verdictLibraryPath.c_str(),
                     error.c_str());
        return nullptr;
    }
    ++m_libraries[handle];
    return handle;
}

void* SimPlatform::GetProcAddress(port::LibraryHandle library, const char* name) {
    if (!library || !name || !m_libraries.count(library)) return nullptr;
    bool exported = false;
    for (const std::string& e : m_profile.resultLibraryExports) exported = exported || e == name;
    return exported ? host::LibrarySymbol(library, name) : nullptr;
}

void SimPlatform::FreeLibrary(port::LibraryHandle library) {
    auto it = m_libraries.find(library);
    if (it == m_libraries.end()) return;
    host::CloseLibrary(library);
    if (--it->second == 0) m_libraries.erase(it);
}

HResult SimPlatform::CoInitialize() {
    return m_faults.Next("CoInitialize");
}
void SimPlatform::CoUninitialize() {}

HResult SimPlatform::CoCreateInstance(const Guid& clsid, const Guid& iid, port::ComPtr& out) {
    out.reset();
    if (clsid == guids::kClsidLogWriter) {
        if (!m_profile.loggingComponent) return kRegdbEClassNotReg;
        if (HResult hr = m_faults.Next("CreateLogWriter")) return hr;
        return std::make_shared<SimLogWriter>(*this)->QueryInterface(iid, out);
    }
    return CreateMediaObject(m_media, clsid, iid, out);
}

std::string SimPlatform::ProfilePath(const char* fileName) const {
    if (!fileName) return {};
    auto host = HostPath(fileName);
    return host ? *host : std::string();
}

uint32_t SimPlatform::GetPrivateProfileString(const char* section, const char* key, const char* defaultValue,
                                              char* buffer, uint32_t size, const char* fileName) {
    std::string path = ProfilePath(fileName);
    if (path.empty()) {  // a file the machine cannot have: read as missing
        if (buffer && size) CopyText(buffer, size, section && key && defaultValue ? defaultValue : "");
        if (buffer && size > 1 && (!section || !key)) buffer[1] = '\0';
        return buffer && size ? static_cast<uint32_t>(std::strlen(buffer)) : 0;
    }
    return m_ini.GetString(section, key, defaultValue, buffer, size, path);
}

uint32_t SimPlatform::GetPrivateProfileInt(const char* section, const char* key, int32_t defaultValue,
                                           const char* fileName) {
    std::string path = ProfilePath(fileName);
    if (path.empty()) return static_cast<uint32_t>(defaultValue);
    return m_ini.GetInt(section, key, defaultValue, path);
}

bool SimPlatform::WritePrivateProfileString(const char* section, const char* key, const char* value,
                                            const char* fileName) {
    if (m_faults.Next("ProfileWrite")) return false;
    std::string path = ProfilePath(fileName);
    Emit("Platform", {{"what", std::string("ProfileWrite")},
                      {"file", std::string(fileName ? fileName : "")},
                      {"section", std::string(section ? section : "")},
                      {"key", std::string(key ? key : "")},
                      {"value", std::string(value ? value : "")}});
    if (path.empty()) return false;
    return m_ini.WriteString(section, key, value, path);
}

void SimPlatform::FlushProfiles() {
    m_ini.Flush();
}

bool SimPlatform::CreateEmptyFile(const char* path) {
    auto host = HostPath(path ? path : "");
    if (!host) return false;
    m_ini.Discard(*host);
    std::FILE* f = std::fopen(host->c_str(), "wb");
    if (!f) return false;
    return std::fclose(f) == 0;
}

int32_t SimPlatform::System(const char* command) {
    std::string cmd = command ? command : "";
    Emit("Platform", {{"what", std::string("RunCommand")}, {"command", cmd}});
    if (HResult code = m_faults.Next("System")) return code;
    std::vector<std::string> words = Words(cmd);
    if (words.empty()) return 0;
    std::string program = ini::Folded(BaseName(words[0]));
    if (program == "copy" && words.size() >= 3) return RunCopy(words[1], words[2]);
    if (program == "regsvr32" || program == "regsvr32.exe") {
        std::string exe = words[0];
        if (exe.find('\\') != std::string::npos && !FileExists(exe) && !FileExists(exe + ".exe")) return 1;
        return words.size() >= 2 ? RunRegsvr32(words[1]) : 1;
    }
    return 1;  // the command interpreter does not know the command
}

int32_t SimPlatform::RunCopy(const std::string& source, const std::string& destination) {
    if (!FileExists(source)) return 1;
    std::string target = destination;
    auto isDirectory = [&](const std::string& d) {
        std::string f = ini::Folded(d);
        return f == ini::Folded(m_profile.systemDirectory) || f == ini::Folded(m_profile.windowsDirectory) ||
               f == ini::Folded(m_profile.currentDirectory);
    };
    if (isDirectory(destination)) target = destination + "\\" + BaseName(source);
    m_files.insert(ini::Folded(target));
    return 0;
}

int32_t SimPlatform::RunRegsvr32(const std::string& file) {
    if (!FileExists(file)) return 3;  // regsvr32: the module could not be loaded
    m_registered.insert(ini::Folded(BaseName(file)));
    for (const FilterClassSpec& spec : m_profile.filterClasses) {
        if (spec.kitFile.empty() || ini::Folded(spec.kitFile) != ini::Folded(BaseName(file))) continue;
        const Guid& g = spec.clsid;
        std::string key =
            Format("SOFTWARE\\Classes\\CLSID\\{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}\\InprocServer32",
                   g.data1, g.data2, g.data3, g.data4[0], g.data4[1], g.data4[2], g.data4[3], g.data4[4], g.data4[5],
                   g.data4[6], g.data4[7]);
        std::vector<uint8_t> data(file.begin(), file.end());
        data.push_back(0);
        m_registry->SetValue(key, "", kRegSz, std::move(data), true);
    }
    return 0;
}

port::DisplayDc SimPlatform::CreateDC(const char* driver) {
    if (m_faults.Next("CreateDC")) return 0;
    if (!driver || !EqualsNoCase(driver, "DISPLAY")) return 0;
    port::DisplayDc dc = m_nextDc++;
    m_dcs.insert(dc);
    return dc;
}

int32_t SimPlatform::ExtEscape(port::DisplayDc dc, int32_t escape, int32_t inSize, const void* in, int32_t outSize,
                               void* out) {
    if (!m_dcs.count(dc)) return -1;
    if (HResult code = m_faults.Next("ExtEscape")) return code;
    if (!m_profile.escapeServed) return m_profile.escapeRefusedResult;
    if (escape != kDrexEscape || inSize < 16 || !in || !out || outSize < 8) return -1;
    uint32_t function = 0;
    std::memcpy(&function, static_cast<const uint8_t*>(in) + 4, 4);
    auto* reply = static_cast<uint8_t*>(out);
    auto answer = [&](const std::vector<uint8_t>& table, uint32_t bytesReturned) {
        std::memcpy(reply + 4, &bytesReturned, 4);
        size_t n = std::min(table.size(), static_cast<size_t>(outSize - 8));
        if (n) std::memcpy(reply + 8, table.data(), n);
        return 0;
    };
    switch (function) {
        case kFunctionMmTable:
            return answer(m_profile.mmTable,
                          m_profile.mmTableBytesReturned.value_or(static_cast<uint32_t>(m_profile.mmTable.size())));
        case kFunctionHwTable: return answer(m_profile.hwTable, static_cast<uint32_t>(m_profile.hwTable.size()));
        case kFunction14000B: std::memcpy(reply + 4, &m_profile.value14000B, 4); return 0;
        default: return -1;
    }
}

bool SimPlatform::DeleteDC(port::DisplayDc dc) {
    return m_dcs.erase(dc) > 0;
}

bool SimPlatform::EnumDisplayMonitors(const std::function<bool()>& onMonitor) {
    for (int32_t i = 0; i < m_profile.monitors; ++i)
        if (!onMonitor()) break;
    return true;
}

HResult SimPlatform::DirectDrawCreate(port::ComPtr& out) {
    out.reset();
    if (HResult hr = m_faults.Next("DirectDrawCreate")) return hr;
    out = std::make_shared<SimDirectDraw>(m_faults, m_profile);
    return kSOk;
}

}  // namespace orbex::sim
