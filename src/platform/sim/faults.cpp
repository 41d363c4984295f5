#include "platform/sim/faults.h"

#include <algorithm>

#include "platform/sim/profile/profile_values.h"

namespace orbex::sim {
namespace {

// code[,count[,skip]] or malformed[,count[,skip]]
FaultRule ParseFault(const std::string& text, int line) {
    std::vector<std::string> parts = Split(text, ',');
    if (parts.empty() || parts.size() > 3) throw ProfileError{line, "a fault is code[,count[,skip]]"};
    FaultRule f;
    if (Lower(parts[0]) == "malformed")
        f.malformed = true;
    else
        f.code = static_cast<HResult>(ParseU32(parts[0], line));
    if (parts.size() > 1) f.count = static_cast<int32_t>(ParseNumber(parts[1], line));
    if (parts.size() > 2) f.skip = static_cast<int32_t>(ParseNumber(parts[2], line));
    if (f.count < -1 || f.skip < 0) throw ProfileError{line, "fault count and skip must not be negative"};
    return f;
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
                                                  "CreateFile",
                                                  "DeviceIoControl",
                                                  "GetCurrentDirectory",
                                                  "GetSystemDirectory",
                                                  "GetWindowsDirectory",
                                                  "GetVersionEx",
                                                  "SetTimer",
                                                  "FindFileName",
                                                  "StartProcess",
                                                  "FindWindow",
                                                  "PostMessage",
                                                  "SystemParametersInfo",
                                                  "SetSuspendState",
                                                  "GetCursorPos",
                                                  "SetCursorPos",
                                                  "LoadLibrary",
                                                  "RegOpenKeyEx",
                                                  "RegCreateKeyEx",
                                                  "RegQueryValueEx",
                                                  "RegSetValueEx",
                                                  "RegQueryInfoKey",
                                                  "RegEnumKeyEx",
                                                  "GetFileVersionInfoSize",
                                                  "GetFileVersionInfo",
                                                  "VerQueryValue",
                                                  "FindFirstFile",
                                                  "OpenTextFile",
                                                  "SetupDiGetClassDevs",
                                                  "SetupDiGetDeviceInterfaceDetail",
                                                  "SetupDiGetDeviceRegistryProperty",
                                                  "ProfileWrite",
                                                  "System",
                                                  "ConnectedTo",
                                                  "StreamGetFormat",
                                                  "StreamSetFormat",
                                                  "StreamGetNumberOfCapabilities",
                                                  "StreamGetStreamCaps",
                                                  "DecoderGetAvailableTVFormats",
                                                  "DecoderPutTVFormat",
                                                  "DecoderGetTVFormat",
                                                  "DecoderGetHorizontalLocked",
                                                  "DecoderGetNumberOfLines",
                                                  "DecoderPutOutputEnable",
                                                  "DecoderGetOutputEnable",
                                                  "QueryExclModeVideo",
                                                  "GetDDrawObject",
                                                  "EnumSurfaces",
                                                  "GetSurfaceDesc",
                                                  "LockSurface",
                                                  "TunerGetAvailableTVFormats",
                                                  "TunerGetAvailableModes",
                                                  "TunerGetCountryCode",
                                                  "TunerGetChannel",
                                                  "TunerPutChannel",
                                                  "CrossbarGetPinCounts",
                                                  "CrossbarRoute",
                                                  "VbiGetData",
                                                  "AnalyzerGetMeasurement",
                                                  "CreateChannelScan",
                                                  "LcsConnect",
                                                  "LcsAutoTune",
                                                  "LcsSetCountryCode",
                                                  "RendererPutOwner",
                                                  "RendererPutWindowStyle",
                                                  "RendererSetWindowPosition",
                                                  "RendererPutVisible"};
    return kOps;
}

const std::vector<std::string>& MalformedOperations() {
    static const std::vector<std::string> kOps = {"GetCurrentDirectory", "GetSystemDirectory", "GetWindowsDirectory",
                                                  "RegQueryValueEx",     "RegQueryInfoKey",    "RegEnumKeyEx",
                                                  "ExtEscape",           "DeviceIoControl",    "FindFirstFile",
                                                  "GetAvailableVidMem",  "ReadFriendlyName"};
    return kOps;
}

void ReadKey(FaultConfig& faults, const ProfileEntry& e) {
    for (const std::string& op : FaultOperations()) {
        if (!e.Is(Lower(op).c_str())) continue;
        FaultRule rule = ParseFault(e.value, e.line);
        const auto& malformed = MalformedOperations();
        if (rule.malformed && std::find(malformed.begin(), malformed.end(), op) == malformed.end())
            e.Refuse(op + " cannot answer with malformed data");
        faults[op] = rule;
        return;
    }
    e.Refuse("unknown fault operation \"" + e.key + "\"");
}

bool AddFaults(FaultConfig& faults, const std::string& text, std::string& error) {
    for (const std::string& item : Split(text, ';')) {
        if (item.empty()) continue;
        size_t eq = item.find('=');
        if (eq == std::string::npos) {
            error = "a fault is Operation=code[,count[,skip]]: \"" + item + "\"";
            return false;
        }
        ProfileEntry entry{"Faults", Trim(item.substr(0, eq)), Trim(item.substr(eq + 1)), 0};
        try {
            ReadKey(faults, entry);
        } catch (const ProfileError& e) {
            error = e.what;
            return false;
        }
    }
    return true;
}

FaultHit FaultTable::Take(const std::string& operation) {
    ++m_calls[operation];
    auto it = m_faults.find(operation);
    if (it == m_faults.end()) return {};
    FaultRule& f = it->second;
    if (f.skip > 0) {
        --f.skip;
        return {};
    }
    if (f.count == 0) return {};
    if (f.count > 0) --f.count;
    FaultHit hit{f.malformed ? 0 : f.code, f.malformed};
    if (m_observer && !hit.malformed) m_observer(operation, hit.code, false);
    return hit;
}

}  // namespace orbex::sim
