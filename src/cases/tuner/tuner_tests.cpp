// The tuner's test dispatch and its three driver cases: supported formats,
// supported modes and country code.
#include "cases/tuner/tuner.h"
#include "graph/orb_gbuilder.h"
#include "report/test_status.h"

namespace orbex {
namespace {
constexpr int kText = 256;

struct MissingTunerRow {
    int32_t status;
    const char* expected;
    const char* actual;
    int32_t level;
    uint32_t colour;
    const char* logLine;
};
// Why there is no tuner to test, by the board tuner status.
MissingTunerRow MissingTuner(int32_t boardTunerStatus) {
    switch (boardTunerStatus) {
        case 0:
            return {NA,
                    "No tuner test should be ran.",
                    "No tuner test ran.",
                    kLevelNote,
                    kBlue,
                    "CTuner::ExecuteTest() No Tuner Found on Board. No test ran."};
        case 15:
            return {NoRun,
                    "Known tuner found.",
                    "An unknown tuner is present, no test ran.",
                    kLevelNoRun,
                    kBlack,
                    "CTuner::ExecuteTest() Unknown Found on Board. No test ran."};
        case -1:
            return {NoRun,
                    "Tuner Hardware Present and type returned by DREX call.",
                    "Cannot determine the tuner driver.",
                    kLevelNoRun,
                    kBlack,
                    "CTuner::ExecuteTest() Cannot determine tuner on Board. No test ran."};
        default:
            return {NoRun,
                    "Tuner driver loaded.",
                    "Tuner driver not loaded on system with tuner indicated, or tuner not included within the test "
                    "graph.",
                    kLevelNoRun,
                    kBlack,
                    "CTuner::ExecuteTest() Cannot get interface to tuner."};
    }
}
}  // namespace

int32_t CTuner::ExecuteTest(const char* testId, int32_t testCode, int32_t /*parameter*/) {
    Log(Logger(), kLevelTrace, kGreen, "CTuner::ExecuteTest() Entered.");
    int32_t status = NoRun;
    char description[kText] = "", expected[kText] = "", actual[kText] = "";

    if (!m_pTunerFilter || !m_pTuner) {
        MissingTunerRow row = MissingTuner(m_boardTunerStatus);
        status = row.status;
        CopyText(description, sizeof description, "Tuner Testes.");
        CopyText(expected, sizeof expected, row.expected);
        CopyText(actual, sizeof actual, row.actual);
        Log(Logger(), row.level, row.colour, "%s", row.logLine);
    } else if (!m_initialised) {
        status = NA;
        CopyText(description, sizeof description, "Tuner test.");
        CopyText(expected, sizeof expected, "No tuner test should be ran.");
        CopyText(actual, sizeof actual, "No tuner found or tuner initialization failed.");
        Log(Logger(), kLevelNote, kBlue,
            "CTuner::ExecuteTest() No Tuner Found on Board, or tuner initialization failed. No test ran.");
    } else if (!testId) {
        status = NoRun;
        CopyText(description, sizeof description, "Tuner Testes.");
        CopyText(expected, sizeof expected, "Valid test string.");
        CopyText(actual, sizeof actual, "Invalid test string was passed in.");
        Log(Logger(), kLevelNoRun, kBlack, "CTuner::ExecuteTest() Invalid tuner test string.");
    } else {
        const TestIdentifier& id = m_pGBuilder->Id();
        if (id.graphNumber == 2 && id.testNumber == 10) return Test_LinearChannelScan();
        switch (testCode) {
            case 100: status = AvailableFormatCase(description, expected, actual); break;
            case 101: status = AvailableModeCase(description, expected, actual); break;
            case 102: status = CountryCodeCase(description, expected, actual); break;
            default: return NoRun;
        }
    }

    Log(Logger(), kLevelProgress, kGreen, "CTuner::ExecuteTest() Reporting to Kiln ...");
    // Without a test identifier text the report goes under the process's one.
    Report(testId ? testId : m_pGBuilder->Id().testIdText, status, description, expected, actual);
    Log(Logger(), kLevelTrace, kGreen, "CTuner::ExecuteTest() Finished.");
    return status;
}

void CTuner::LogDetails(const char* caseName, int32_t status, const char* description, const char* expected,
                        const char* actual) {
    int32_t level = status == Pass ? kLevelProgress : kLevelFailure;
    uint32_t colour = status == Pass ? kGreen : kRed;
    Log(Logger(), level, colour, "CTuner::%s()::Description:%s", caseName, description);
    Log(Logger(), level, colour, "CTuner::%s()::Expected   :%s", caseName, expected);
    Log(Logger(), level, colour, "CTuner::%s()::Actual     :%s", caseName, actual);
}

// A failed driver call leaves the status NoRun and the three texts empty.
int32_t CTuner::TableCase(const char* caseName, const char* caseDescription, int32_t tableValue, int32_t* field,
                          const std::function<HResult(int32_t*)>& read, char* description, char* expected,
                          char* actual) {
    Log(Logger(), kLevelProgress, kGreen, "CTuner::%s Enters.", caseName);
    int32_t status = NoRun;
    if (read(field) == kSOk) {
        CopyText(description, kText, caseDescription);
        FormatInto(expected, kText, "0x%08x", static_cast<uint32_t>(tableValue));
        FormatInto(actual, kText, "0x%08x", static_cast<uint32_t>(*field));
        status = *field == tableValue ? Pass : Fail;
        LogDetails(caseName, status, description, expected, actual);
    }
    Log(Logger(), kLevelProgress, kGreen, "CTuner::%s Finished.", caseName);
    return status;
}

int32_t CTuner::AvailableFormatCase(char* description, char* expected, char* actual) {
    return TableCase(
        "TUN_AVAILABLE_FORMAT", "Tuner Supported Standard Test", StandardMask(m_tunerType), &m_availableFormats,
        [this](int32_t* v) { return m_pTuner->get_AvailableTVFormats(v); }, description, expected, actual);
}

int32_t CTuner::AvailableModeCase(char* description, char* expected, char* actual) {
    return TableCase(
        "TUN_AVAILABLE_MODE", "Tuner Supported Modes Test", ExpectedModes(m_tunerType), &m_availableModes,
        [this](int32_t* v) { return m_pTuner->get_AvailableModes(v); }, description, expected, actual);
}

int32_t CTuner::CountryCodeCase(char* description, char* expected, char* actual) {
    Log(Logger(), kLevelProgress, kGreen, "CTuner::TUN_COUNTRY_CODE Enters.");
    int32_t status = Fail;
    CopyText(description, kText, "Tuner Country Code Test.");
    CopyText(expected, kText, "Any country code other than 0.");
    if (m_pTuner->get_CountryCode(&m_countryCode) != kSOk) {
        CopyText(actual, kText, "[Fail]**** Fail to get country code.");
    } else if (m_countryCode == 0) {
        FormatInto(actual, kText, "[Fail]**** Invalid country code (0x%08x)", 0u);
    } else {
        FormatInto(actual, kText, "[Pass] Country code (0x%08x)", static_cast<uint32_t>(m_countryCode));
        status = Pass;
    }
    LogDetails("TUN_COUNTRY_CODE", status, description, expected, actual);
    Log(Logger(), kLevelProgress, kGreen, "CTuner::TUN_COUNTRY_CODE Finished.");
    return status;
}

}  // namespace orbex
