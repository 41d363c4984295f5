// The component checks of files: a file's version against its record, and
// the DirectShow runtime files in the Windows directory.
#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <vector>

#include "cases/comchk/com_chker.h"
#include "common/format.h"
#include "graph/orb_gbuilder.h"
#include "report/test_status.h"

namespace orbex {
namespace {
struct VersionNumbers {
    int count = 0;
    int32_t part[4] = {};
};

VersionNumbers ParseVersion(const char* text) {
    VersionNumbers v;
    int n = std::sscanf(text, "%" SCNd32 ".%" SCNd32 ".%" SCNd32 ".%" SCNd32, &v.part[0], &v.part[1], &v.part[2],
                        &v.part[3]);
    v.count = n < 0 ? 0 : n;
    return v;
}

// The Windows directory, a backslash and a relative name.
void WindowsPath(COrbGBuilder& builder, const char* name, char* out, size_t size) {
    char windows[261] = "";
    uint32_t n = builder.Platform().System().WindowsDirectoryPath(windows, sizeof windows);
    windows[n == 0 || n >= sizeof windows ? 0 : n] = '\0';  // ends where its told length ends
    FormatInto(out, size, "%s\\%s", windows, name);
}
}  // namespace

// 0 when the versions differ, 1 when equal, 2 when the file's last number is
// one above the expected one.
int CompareVersions(const char* expected, const char* actual) {
    VersionNumbers e = ParseVersion(expected), a = ParseVersion(actual);
    if (e.count != a.count || e.count < 1) return 0;
    for (int i = 0; i < e.count - 1; ++i)
        if (e.part[i] != a.part[i]) return 0;
    const int32_t last = e.part[e.count - 1], found = a.part[a.count - 1];
    if (found == last) return 1;
    return static_cast<int64_t>(found) == static_cast<int64_t>(last) + 1 ? 2 : 0;
}

int32_t CComChker::CheckFileVersion(const ComponentRecord&, CheckContext& context) {
    ++context.subSteps;
    char path[260], version[260];
    if (!ReadDetail(context, "Path", path, sizeof path)) return 0;
    if (!ReadDetail(context, "Version", version, sizeof version)) return 0;
    char description[256];
    FormatInto(description, sizeof description, "Checking version of %s.", path);
    char file[600];
    WindowsPath(*m_pGBuilder, path, file, sizeof file);

    port::IFileSystem& files = m_pGBuilder->Platform().Files();
    uint32_t size = files.FileVersionInfoSize(file);
    std::vector<uint8_t> block;
    bool read = false;
    if (size > 0) {
        block.assign(size, 0);
        read = files.FileVersionInfo(file, size, block.data());
    }
    if (!read) {
        ReportStep(context, Fail, description, "Able to get version info.", "[Fail]**** Unable to get version info.");
        return 0;
    }

    // The string table of the first translation, else the US English ANSI one.
    const void* value = nullptr;
    uint32_t length = 0;
    bool found = false;
    if (files.QueryVersionValue(block.data(), "\\VarFileInfo\\Translation", &value, &length) && length >= 4) {
        const uint8_t* t = static_cast<const uint8_t*>(value);
        char query[64];
        FormatInto(query, sizeof query, "\\StringFileInfo\\%04x%04x\\FileVersion", t[0] | t[1] << 8, t[2] | t[3] << 8);
        found = files.QueryVersionValue(block.data(), query, &value, &length);
    }
    if (!found)
        found = files.QueryVersionValue(block.data(), "\\StringFileInfo\\040904E4\\FileVersion", &value, &length);
    char expected[300];
    FormatInto(expected, sizeof expected, "Expected Version = %s", version);
    if (!found) {
        ReportStep(context, Fail, description, expected, "[Fail]**** Failed to get file version info.");
        return 0;
    }
    // The value is the block's text; copy it within its stated length only.
    char actualVersion[128] = "";
    size_t n = length < sizeof actualVersion ? length : sizeof actualVersion - 1;
    std::memcpy(actualVersion, value, n);
    actualVersion[n] = '\0';

    char actual[256];
    int verdict = CompareVersions(version, actualVersion);
    if (verdict == 1)
        FormatInto(actual, sizeof actual, "[Pass] Actual Version = %s", actualVersion);
    else if (verdict == 2)
        FormatInto(actual, sizeof actual, "[Pass] +1 difference warning. Actual Version = %s", actualVersion);
    else
        FormatInto(actual, sizeof actual, "[Fail]**** Actual Version = %s", actualVersion);
    ReportStep(context, verdict ? Pass : Fail, description, expected, actual);
    return verdict ? 1 : 0;
}

int32_t CComChker::CheckDShowFiles() {
    const char* testId = m_testId;
    CVerdict& verdict = m_pGBuilder->Verdict();
    const int32_t os = m_pGBuilder->GetOSVersion();
    if (os != 3 && os != 2) {
        verdict.ResultReport(testId, testId, NA, "Checking if DShow files exist in the Windows directory.",
                             "Test executed on Win9X or Win2K.", "[NA]** WinXP or later detected.");
        return Fail;
    }
    const char* section = os == 2 ? "DXBinFileNT" : "DXBinFile9X";
    port::IProfile& profile = m_pGBuilder->Platform().Profile();
    char keys[2048];
    if (profile.ReadProfileString(section, nullptr, "", keys, sizeof keys, m_databasePath) == 0) keys[0] = '\0';
    int32_t subSteps = 0, status = Pass;
    for (const char* key = keys; key < keys + sizeof keys && *key; key += std::strlen(key) + 1) {
        char value[32];
        profile.ReadProfileString(section, key, "", value, sizeof value, m_databasePath);
        if (!EqualsNoCase(value, "1")) continue;
        ++subSteps;
        char description[256], expected[256], actual[256], file[600], step[16];
        FormatInto(description, sizeof description, "Checking if %s exists in the Windows directory.", key);
        FormatInto(expected, sizeof expected, "%s is found.", key);
        WindowsPath(*m_pGBuilder, key, file, sizeof file);
        const bool exists = m_pGBuilder->Platform().Files().OpenFileExists(file, nullptr, 0);
        if (exists) {
            FormatInto(actual, sizeof actual, "[Pass] %s is found.", key);
        } else {
            FormatInto(actual, sizeof actual, "[Fail]**** %s is missing.", key);
            status = Fail;
        }
        FormatInto(step, sizeof step, "%d", static_cast<int>(subSteps));
        verdict.ResultReport(testId, step, exists ? Pass : Fail, description, expected, actual);
    }
    const char* actual = "[NoRun]**** Database file was missing or contained no bin entry. No check was made.";
    if (subSteps > 0)
        actual = status == Pass ? "[Pass] All DShow bin files are found."
                                : "[Fail]**** One or more DShow bin file is missing.";
    else
        status = NoRun;
    verdict.ResultReport(testId, testId, status, "Test Summary", "All DShow bin files are found.", actual);
    return status;
}

}  // namespace orbex
