// The component checks of the installed drivers: entries of the driver
// information files, devices the device manager enumerated and loaded, and
// filters registered with DirectShow.
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <string>

#include "cases/comchk/com_chker.h"
#include "common/format.h"
#include "graph/orb_gbuilder.h"
#include "platform/guids.h"
#include "report/test_status.h"

namespace orbex {
namespace {

void WindowsDirectory(COrbGBuilder& builder, char* out, uint32_t size) {
    uint32_t n = builder.Platform().System().WindowsDirectoryPath(out, size);
    out[n == 0 || n >= size ? 0 : n] = '\0';  // ends where its told length ends
}

}  // namespace

int ParseComponentGuid(const char* text, Guid& out) {
    out = Guid{};
    unsigned int f[11] = {};
    int n = std::sscanf(text, "%X,%X,%X,%X,%X,%X,%X,%X,%X,%X,%X", &f[0], &f[1], &f[2], &f[3], &f[4], &f[5], &f[6],
                        &f[7], &f[8], &f[9], &f[10]);
    if (n < 0) n = 0;
    out.data1 = f[0];
    out.data2 = static_cast<uint16_t>(f[1]);
    out.data3 = static_cast<uint16_t>(f[2]);
    for (int i = 0; i < 8; ++i) out.data4[i] = static_cast<uint8_t>(f[3 + i]);
    return n;
}

bool CComChker::ReadOptionalDetail(const CheckContext& context, const char* key, char* buffer, uint32_t size) {
    return m_pGBuilder->Platform().Profile().ReadProfileString(context.record->Name, key, "", buffer, size,
                                                               m_databasePath) > 0;
}

// Test 1: the index of the driver information files, then the records.
int32_t CComChker::RunInfTest(const char* testId, CheckContext& context) {
    std::unique_ptr<InfIndex> index(new (std::nothrow) InfIndex);
    if (!index) {
        char expected[128];
        FormatInto(expected, sizeof expected, "This test requires at least %dbytes of memory to execute.",
                   static_cast<int>(sizeof(InfEntry) * kInfIndexEntries));
        m_pGBuilder->Verdict().ResultReport(testId, testId, NoRun, context.description, expected,
                                            "[NoRun]**** Not enough memory to execute test.");
        return NoRun;
    }
    char windows[261];
    WindowsDirectory(*m_pGBuilder, windows, sizeof windows);
    BuildInfIndex(m_pGBuilder->Platform().Files(), windows, *index);
    context.infIndex = index.get();
    SelectRecords(&CComChker::CheckInfEntry, context);
    context.infIndex = nullptr;
    return Summarize(testId, context);
}

int32_t CComChker::CheckInfEntry(const ComponentRecord&, CheckContext& context) {
    ++context.subSteps;
    char name[260];
    if (!ReadDetail(context, "DisplayName", name, sizeof name)) return 0;
    char description[400], expected[400], actual[600];
    FormatInto(description, sizeof description, "Check if \"%s\" entry can be found in the Windows inf directory.",
               name);
    FormatInto(expected, sizeof expected, "\"%s\" entry is found within an inf file.", name);
    // The files that name the identifier, each once, at most six.
    char list[256] = "";
    const char* lastFile = nullptr;
    int files = 0;
    const InfIndex& index = *context.infIndex;
    for (int i = 0; i < index.count && files < 6; ++i) {
        const InfEntry& e = index.entries[i];
        if (!EqualsNoCase(e.id, name)) continue;
        if (lastFile && std::strcmp(lastFile, e.file) == 0) continue;
        char longer[256];
        FormatInto(longer, sizeof longer, "%s\"%s\", ", list, e.file);
        CopyText(list, sizeof list, longer);
        lastFile = e.file;
        ++files;
    }
    if (files == 0) {
        FormatInto(actual, sizeof actual, "[Fail]**** \"%s\" entry cannot be found in any installed Windows inf files.",
                   name);
        ReportStep(context, Fail, description, expected, actual);
        return 0;
    }
    list[std::strlen(list) - 2] = '\0';
    FormatInto(actual, sizeof actual, "[Pass] \"%s\" found in files: %s", name, list);
    ReportStep(context, Pass, description, expected, actual);
    return 1;
}

// Test 2: the display-class enumeration key of the registry, NT or 9x.
int32_t CComChker::CheckEnumerated(const ComponentRecord&, CheckContext& context) {
    ++context.subSteps;
    char name[260];
    if (!ReadDetail(context, "DisplayName", name, sizeof name)) return 0;
    char description[400], expected[400], actual[400];
    FormatInto(description, sizeof description, "Checking if %s is enumerated by the device manager.", name);
    FormatInto(expected, sizeof expected, "%s is enumerated.", name);

    port::IRegistry& registry = m_pGBuilder->Platform().Registry();
    const char* keyPath = m_os == 2 ? "SYSTEM\\CurrentControlSet\\Enum\\DISPLAY\\" : "Enum\\DISPLAY\\";
    bool found = false;
    port::RegKey key = 0;
    if (registry.OpenKey(keyPath, kKeyRead, &key) == 0) {
        uint32_t count = 0;
        if (registry.CountSubKeys(key, &count) == 0) {
            for (uint32_t i = 0; i < count && !found; ++i) {
                char subKey[256];
                uint32_t size = sizeof subKey;
                if (registry.EnumSubKey(key, i, subKey, &size) != 0) continue;
                subKey[sizeof subKey - 1] = '\0';
                CutInstanceSuffix(subKey);
                found = EqualsNoCase(subKey, name);
            }
        }
        registry.CloseKey(key);
    }
    FormatInto(actual, sizeof actual, found ? "[Pass] %s is enumerated." : "[Fail]**** %s is not enumerated.", name);
    ReportStep(context, found ? Pass : Fail, description, expected, actual);
    return found ? 1 : 0;
}

// Test 3: the present device interfaces of the record's class.
int32_t CComChker::CheckLoaded(const ComponentRecord&, CheckContext& context) {
    ++context.subSteps;
    char deviceDesc[260], guidText[256];
    if (!ReadDetail(context, "DeviceDesc", deviceDesc, sizeof deviceDesc)) return 0;
    if (!ReadDetail(context, "GUID", guidText, sizeof guidText)) return 0;
    Guid deviceClass;
    ParseComponentGuid(guidText, deviceClass);
    char description[400], expected[400], actual[400];
    FormatInto(description, sizeof description, "Checking if \"%s\" is yellow marked.", deviceDesc);
    FormatInto(expected, sizeof expected, "\"%s\" is loaded by device manager.", deviceDesc);

    port::IDeviceSetup& setup = m_pGBuilder->Platform().DeviceSetup();
    port::DeviceInfoSet set = setup.GetClassDevs(deviceClass, port::kDigcfPresent | port::kDigcfDeviceInterface);
    if (set == port::kInvalidDeviceInfoSet) {
        FormatInto(actual, sizeof actual, "[Fail]**** Failed to get class device for filter \"%s\".", deviceDesc);
        ReportStep(context, Fail, description, expected, actual);
        return 0;
    }
    bool found = false;
    port::DeviceInterfaceData data;
    for (uint32_t i = 0; !found && setup.EnumDeviceInterfaces(set, deviceClass, i, data); ++i) {
        char path[512];
        port::DeviceInfoData device;
        if (!setup.GetDeviceInterfaceDetail(set, data, path, sizeof path, device)) continue;
        uint8_t property[257] = {};
        if (!setup.GetDeviceRegistryProperty(set, device, port::kSpdrpDeviceDesc, property, 256, nullptr)) continue;
        found = EqualsNoCase(reinterpret_cast<const char*>(property), deviceDesc);
    }
    setup.DestroyDeviceInfoList(set);
    FormatInto(
        actual, sizeof actual,
        found ? "[Pass] \"%s\" is loaded by device manager." : "[Fail]**** \"%s\" is not loaded by device manager.",
        deviceDesc);
    ReportStep(context, found ? Pass : Fail, description, expected, actual);
    return found ? 1 : 0;
}

// Test 4: the system device enumerator for the whole test, then the records.
int32_t CComChker::RunRegistrationTest(const char* testId, CheckContext& context) {
    port::ComPtr object;
    std::shared_ptr<port::ICreateDevEnum> devEnum;
    if (m_pGBuilder->Platform().Com().CoCreateInstance(guids::kClsidSystemDeviceEnum, guids::kIidCreateDevEnum,
                                                       object) == kSOk)
        devEnum = port::ComCast<port::ICreateDevEnum>(object);
    object.reset();
    if (!devEnum) {
        m_pGBuilder->Verdict().ResultReport(testId, testId, NoRun, context.description,
                                            "Able to create system device instance",
                                            "[NoRun]**** Unable to create system device instance.");
        return NoRun;
    }
    context.devEnum = devEnum.get();
    SelectRecords(&CComChker::CheckDShowRegistration, context);
    context.devEnum = nullptr;
    return Summarize(testId, context);
}

// One record may list several filters: FriendlyName and GUID, then
// FriendlyName1 and GUID1, and so on until a friendly name is missing.
int32_t CComChker::CheckDShowRegistration(const ComponentRecord&, CheckContext& context) {
    int32_t result = 1;
    for (int n = 0;; ++n) {
        char nameKey[32], guidKey[32];
        if (n == 0) {
            CopyText(nameKey, sizeof nameKey, "FriendlyName");
            CopyText(guidKey, sizeof guidKey, "GUID");
        } else {
            FormatInto(nameKey, sizeof nameKey, "FriendlyName%d", n);
            FormatInto(guidKey, sizeof guidKey, "GUID%d", n);
        }
        ++context.subSteps;
        char friendlyName[260], guidText[256];
        if (!ReadOptionalDetail(context, nameKey, friendlyName, sizeof friendlyName)) {
            --context.subSteps;
            return result;
        }
        if (!ReadDetail(context, guidKey, guidText, sizeof guidText)) {
            result = 0;
            continue;
        }
        Guid category;
        ParseComponentGuid(guidText, category);
        char description[400], expected[400], actual[400];
        FormatInto(description, sizeof description, "Checking if \"%s\" is registered with DShow.", friendlyName);
        FormatInto(expected, sizeof expected, "\"%s\" is registed with DShow.", friendlyName);

        std::shared_ptr<port::IEnumMoniker> monikers;
        if (context.devEnum->CreateClassEnumerator(category, monikers, 0) != kSOk || !monikers) {
            FormatInto(actual, sizeof actual, "[Fail]**** Unable to create class. Failed to check filter \"%s\".",
                       friendlyName);
            ReportStep(context, Fail, description, expected, actual);
            result = 0;
            continue;
        }
        bool found = false;
        std::shared_ptr<port::IMoniker> moniker;
        while (!found && monikers->Next(moniker) == kSOk && moniker) {
            std::shared_ptr<port::IPropertyBag> bag;
            std::string name;
            if (moniker->BindToPropertyBag(bag) == kSOk && bag && bag->ReadString("FriendlyName", name) == kSOk) {
                char ansi[256];
                CopyText(ansi, sizeof ansi, name.c_str());
                found = EqualsNoCase(ansi, friendlyName);
            }
            moniker.reset();
        }
        FormatInto(actual, sizeof actual,
                   found ? "[Pass] Filter \"%s\" is found." : "[Fail]**** Filter \"%s\" is not found.", friendlyName);
        ReportStep(context, found ? Pass : Fail, description, expected, actual);
        if (!found) result = 0;
    }
}

}  // namespace orbex
