// The component checker's database, record selection and summary.
#include "cases/comchk/com_chker.h"

#include <cstring>

#include "common/format.h"
#include "graph/orb_gbuilder.h"
#include "report/test_status.h"

namespace orbex {
namespace {
constexpr uint32_t kLogGreen = 44800;  // 0x0000AF00
constexpr uint32_t kLogRed = 255;
constexpr const char* kNoRecordNoRun =
    "[NoRun]**** Database file was missing or contained no needed entry. No check was made.";

struct TestCase {
    const char* description;
    const char* expected;
    const char* passText;
    const char* failText;
};

// Tests 0 to 4 of the component group.
constexpr TestCase kCases[] = {
    {"Check if all needed files are at the correct version.", "All file versions are correct.",
     "[Pass] All file versions are correct.", "[Fail]**** One or more file version is incorrect."},
    {"Check if all needed inf entry can be found in the Windows inf directory.", "All inf entries are found.",
     "[Pass] All inf entries are found.", "[Fail]**** One or more inf entry is missing."},
    {"Check if WDM components are enumerated by device manager.", "All devices are enumerated by device manager.",
     "[Pass] All devices are enumerated by device manager.",
     "[Fail]**** One or more devices are not enumerated by device manager."},
    {"Check if WDM components are loaded by device manager.", "All devices are loaded by device manager.",
     "[Pass] All devices are loaded by device manager.",
     "[Fail]**** One or more devices are not loaded by device manager."},
    {"Check if WDM devices are registered correctly with DShow.", "All filters are registered.",
     "[Pass] All filters are registered.", "[Fail]**** One or more filter is not registered."},
};

uint8_t DecoderCodeOf(int32_t decoderType) {
    switch (decoderType) {
        case 0: return 2;
        case 1:
        case 2:
        case 3: return 4;
        case 4:
        case 5:
        case 7: return 1;
        case 6: return 3;
        default: return 255;
    }
}

uint8_t StandardCodeOf(uint8_t standardClass) {
    switch (standardClass) {
        case 0: return 2;
        case 1: return 3;
        case 2:
        case 3:
        case 4: return 4;
        default: return 1;
    }
}
}  // namespace

int32_t CComChker::Initialize(CLogFile* logFile, COrbGBuilder* gBuilder, CRegSettings* regSettings) {
    m_pLogFile = logFile;
    if (gBuilder) m_pGBuilder = gBuilder;
    m_pRegSettings = regSettings;
    CLogManager* logger = m_pGBuilder->m_pLogger;
    Log(logger, kLevelTrace, kLogGreen, "CComChker::Initialize: Enter");
    ComputeMachineCodes();
    m_databasePath[0] = '\0';
    m_pGBuilder->Platform().Files().OpenFileExists("orbex.ini", m_databasePath, sizeof m_databasePath);
    if (!ReadDatabase()) {
        Log(logger, kLevelNoRun, kBlack, "CComChker::Initialize: Failed to retrieve records from the database.");
        const char* id = m_pGBuilder->Id().testIdText;
        m_pGBuilder->Verdict().ResultReport(id, id, NoRun, "[NoRun]**** Failed to retrieve records from the database.",
                                            "", "");
        return 1;
    }
    ResolveWildcards();
    Log(logger, kLevelTrace, kLogGreen, "CComChker::Initialize: Exit");
    return m_recordCount > 0 ? 0 : 1;
}

void CComChker::ComputeMachineCodes() {
    int32_t os = m_pGBuilder->GetOSVersion();
    m_os = static_cast<uint8_t>(os == 4 ? 2 : os);
    CBoardInfo& board = m_pGBuilder->BoardInfo();
    m_decoder = DecoderCodeOf(board.GetDecoderType(0));
    m_standard = StandardCodeOf(board.GetTunerStandardClass(0));
}

// Reads the [FileInfo] keys in file order, at most 64 records; the reading
// ends at the first key whose value is missing or holds no number. Returns
// false when the section lists no key at all.
bool CComChker::ReadDatabase() {
    m_recordCount = 0;
    if (!m_databasePath[0]) return false;
    port::IProfile& profile = m_pGBuilder->Platform().Profile();
    char keys[1024];
    uint32_t n = profile.ReadProfileString("FileInfo", nullptr, "", keys, sizeof keys, m_databasePath);
    if (n == 0) return false;
    for (const char* key = keys; key < keys + sizeof keys && *key && m_recordCount < kMaxComponentRecords;
         key += std::strlen(key) + 1) {
        char value[256];
        if (profile.ReadProfileString("FileInfo", key, "", value, sizeof value, m_databasePath) == 0) break;
        ComponentRecord record;
        if (!ParseComponentSelectors(value, record)) break;
        CopyText(record.Name, sizeof record.Name, key);
        m_records[m_recordCount++] = record;
    }
    return true;
}

void CComChker::ResolveWildcards() {
    for (int i = 0; i < m_recordCount; ++i) {
        ComponentRecord& r = m_records[i];
        if (r.Os == 1) r.Os = m_os;
        if (r.Decoder == 1 && m_decoder != 2 && m_decoder != 255) r.Decoder = m_decoder;
        if (r.Standard == 1 && m_standard != 2 && m_standard != 255) r.Standard = m_standard;
    }
}

int32_t CComChker::ExecuteTest(const char* testId, int32_t, int32_t) {
    m_testId = testId;
    CLogManager* logger = m_pGBuilder->m_pLogger;
    CVerdict& verdict = m_pGBuilder->Verdict();
    if (!m_databasePath[0]) {
        Log(logger, kLevelFailure, kLogRed, "CComChker::ExecuteTest() FAILED!");
        Log(logger, kLevelFailure, kLogRed, "CComChker::ExecuteTest() Verify the test string entered");
        verdict.ResultReport(testId, testId, NoRun, "Component Checker test", "Ini file found",
                             "[NoRun]**** Ini file not found");
        return NoRun;
    }
    const TestIdentifier& id = m_pGBuilder->Id();
    if (id.graphNumber != 6) {
        char actual[256];
        FormatInto(actual, sizeof actual, "[NoRun]**** Invalid test case \"%s\".", testId);
        Log(logger, kLevelFailure, kLogRed, "CComChker::ExecuteTest()>  %s", actual);
        verdict.ResultReport(testId, testId, NoRun, "Component Checker test.", "Valid test case", actual);
        return NoRun;
    }
    const int32_t test = id.testNumber;
    if (test < 0 || test > 5) return NA;
    if (test == 5) return CheckDShowFiles();

    const TestCase& c = kCases[test];
    CheckContext context;
    context.description = c.description;
    context.expected = c.expected;
    context.passText = c.passText;
    context.noRunText = kNoRecordNoRun;
    context.failText = c.failText;
    switch (test) {
        case 1: return RunInfTest(testId, context);
        case 4: return RunRegistrationTest(testId, context);
        case 2: SelectRecords(&CComChker::CheckEnumerated, context); break;
        case 3: SelectRecords(&CComChker::CheckLoaded, context); break;
        default: SelectRecords(&CComChker::CheckFileVersion, context); break;
    }
    return Summarize(testId, context);
}

// Four passes over the records: primary records of the machine, primary
// records of the machine and tuner, alternative records, and the fallback
// records only when an alternative record failed.
void CComChker::SelectRecords(RecordCheck check, CheckContext& context) {
    auto walk = [&](uint8_t decoder, uint8_t standard, uint8_t tier) {
        bool failed = false;
        for (int i = 0; i < m_recordCount; ++i) {
            const ComponentRecord& r = m_records[i];
            if (r.Type != 2 || r.Os != m_os || r.Decoder != decoder || r.Standard != standard || r.Tier != tier)
                continue;
            context.record = &r;
            if ((this->*check)(r, context) == 0) failed = true;
        }
        context.record = nullptr;
        return failed;
    };
    walk(m_decoder, 0, 0);
    walk(m_decoder, m_standard, 0);
    if (walk(0, m_standard, 2)) walk(0, m_standard, 3);
}

int32_t CComChker::Summarize(const char* testId, CheckContext& context) {
    if (context.subSteps == 0) context.status = NoRun;
    const char* actual = context.status == Pass ? context.passText
                         : context.subSteps     ? context.failText
                                                : context.noRunText;
    m_pGBuilder->Verdict().ResultReport(testId, testId, context.status, "Test Summary", context.expected, actual);
    return context.status;
}

void CComChker::ReportStep(CheckContext& context, int32_t status, const char* description, const char* expected,
                           const char* actual) {
    if (status != Pass) context.status = Fail;
    char step[16];
    FormatInto(step, sizeof step, "%d", static_cast<int>(context.subSteps));
    m_pGBuilder->Verdict().ResultReport(m_testId, step, status, description, expected, actual);
}

bool CComChker::ReadDetail(CheckContext& context, const char* key, char* buffer, uint32_t size) {
    const char* section = context.record->Name;
    if (m_pGBuilder->Platform().Profile().ReadProfileString(section, key, "", buffer, size, m_databasePath) > 0)
        return true;
    char expected[256], actual[256];
    FormatInto(expected, sizeof expected, "\"%s\" entry exists in [%s] section.", key, section);
    FormatInto(actual, sizeof actual, "[Fail]**** \"%s\" entry missing in [%s] section.", key, section);
    ReportStep(context, Fail, context.description, expected, actual);
    return false;
}

}  // namespace orbex
