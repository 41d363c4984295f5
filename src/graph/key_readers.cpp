// Reading single keys of the merged graph file, with required and optional behaviour.
#include "graph/graph_values.h"
#include "graph/orb_gbuilder.h"
#include "report/test_status.h"

namespace orbex {
namespace {
constexpr int32_t kMissing = static_cast<int32_t>(0xEFFFFFFF);
constexpr const char* kIntPrefix = "COrbGBuilder::ReadKeyInt()>  ";
constexpr const char* kGuidPrefix = "COrbGBuilder::ReadKeyArrayInt()>  ";
constexpr const char* kGlobalPrefix = "COrbGBuilder::GetGlobalKeyVar()>  ";
}  // namespace

int32_t COrbGBuilder::ReadKeyInt(const char* section, const char* key, int32_t* value, int32_t required) {
    *value = static_cast<int32_t>(m_platform.Profile().ReadProfileInt(section, key, kMissing, m_mergedFilePath));
    if (*value != kMissing) return 0;
    if (required) {
        *value = 0;
        char description[256], expected[256], actual[256];
        FormatInto(description, sizeof description, "Reading key \"%s\" in section [%s].", key, section);
        FormatInto(expected, sizeof expected, "\"%s\" entry exists in [%s] section.", key, section);
        FormatInto(actual, sizeof actual, "[NoRun]**** \"%s\" entry is missing or invalid in [%s] section.", key,
                   section);
        Report("0", NoRun, description, expected, actual);
        Log(m_pLogger, kLevelNoRun, kBlack, "%s%s", kIntPrefix, actual);
        return 1;
    }
    Log(m_pLogger, kLevelProgress, kGreen, "%s[Note] \"%s\" entry is missing or invalid in [%s] section.", kIntPrefix,
        key, section);
    return 1;
}

int32_t COrbGBuilder::ReadKeyGUID(const char* section, const char* key, Guid* value, int32_t required) {
    char text[256];
    m_platform.Profile().ReadProfileString(section, key, "", text, sizeof text, m_mergedFilePath);
    if (text[0]) {
        ParseGuidValue(text, *value);
        return 0;
    }
    if (required) {
        char description[256], expected[256], actual[256];
        FormatInto(description, sizeof description, "Reading key \"%s\" in section [%s].", key, section);
        FormatInto(expected, sizeof expected, "\"%s\" entry exists in [%s] section.", key, section);
        FormatInto(actual, sizeof actual, "[NoRun]**** \"%s\" entry is missing in [%s] section.", key, section);
        Report("0", NoRun, description, expected, actual);
        Log(m_pLogger, kLevelNoRun, kBlack, "%s%s", kGuidPrefix, actual);
        return 1;
    }
    Log(m_pLogger, kLevelProgress, kGreen, "%s[Note] \"%s\" entry is missing in [%s] section.", kGuidPrefix, key,
        section);
    return 1;
}

int32_t COrbGBuilder::GetGlobalKeyVar() {
    if (ReadKeyInt("Misc", "TestDuration", &m_testDuration, 0) != 0) {
        m_testDuration = 10;
        Log(m_pLogger, kLevelProgress, kGreen, "%s[Note] No \"TestDuration\" found in [Misc].", kGlobalPrefix);
    }
    return 0;
}

}  // namespace orbex
