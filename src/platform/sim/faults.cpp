#include "platform/sim/faults.h"

#include "platform/sim/profile/profile_values.h"

namespace orbex::sim {
namespace {

// code[,count[,skip]]
FaultRule ParseFault(const std::string& text, int line) {
    std::vector<std::string> parts = Split(text, ',');
    if (parts.empty() || parts.size() > 3) throw ProfileError{line, "a fault is code[,count[,skip]]"};
    FaultRule f;
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

void ReadKey(FaultConfig& faults, const ProfileEntry& e) {
    for (const std::string& op : FaultOperations()) {
        if (!e.Is(Lower(op).c_str())) continue;
        faults[op] = ParseFault(e.value, e.line);
        return;
    }
    e.Refuse("unknown fault operation \"" + e.key + "\"");
}

}  // namespace orbex::sim
