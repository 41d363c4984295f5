// Construction, set-up and teardown of the test bench.
#include "graph/orb_gbuilder.h"

#include "report/test_status.h"

namespace orbex {
namespace {
constexpr const char* kInitPrefix = "COrbGBuilder::Initialize()>  ";
}

const char* TestObjectClassName(TestObject object) {
    switch (object) {
        case TestObject::Stream: return "COrbStream";
        case TestObject::Tuner: return "CTuner";
        case TestObject::Decoder: return "CDecoder";
        case TestObject::Crossbar: return "CDecXbar";
        case TestObject::HardwareCaps: return "CHardwareCaps";
        case TestObject::ComChker: return "CComChker";
        case TestObject::Analyzer: return "CAnalyzer";
        case TestObject::VbiAnalyzer: return "CVBIAnalyzer";
        case TestObject::VideoRenderer: return "CVideoRenderer";
        case TestObject::Vbi: return "CVBI";
    }
    return "?";
}

COrbGBuilder::COrbGBuilder(port::IPlatform& platform, CBoardInfo& boardInfo, CLogFile& logFile,
                           CRegSettings& regSettings, CVerdict& verdict)
    : m_platform(platform), m_boardInfo(boardInfo), m_logFile(logFile), m_regSettings(regSettings), m_verdict(verdict) {
    char currentDirectory[261] = "";
    uint32_t n = m_platform.System().GetCurrentDirectory(sizeof currentDirectory - 1, currentDirectory);
    if (n == 0 || n >= sizeof currentDirectory - 1) currentDirectory[0] = '\0';
    FormatInto(m_mergedFilePath, sizeof m_mergedFilePath, "%s\\~temp.gf", currentDirectory);
}

COrbGBuilder::~COrbGBuilder() = default;

void COrbGBuilder::Report(const char* step, int32_t status, const char* description, const char* expected,
                          const char* actual) {
    m_verdict.ResultReport(m_testId.testIdText, step, status, description, expected, actual);
}

bool COrbGBuilder::HasCaptureCapability() const {
    int32_t decoder = m_boardInfo.GetDecoderType(0);
    return decoder >= 1 && decoder <= 7;
}

// No device class has its test object in this build yet; each joins the
// bench here, and becomes ready, once it exists. Until then every test of its
// device is refused by the test executer rather than run against nothing.
bool COrbGBuilder::IsTestObjectReady(TestObject) const {
    return false;
}

int32_t COrbGBuilder::Initialize() {
    Log(m_pLogger, kLevelTrace, kGreen, "%sEnter", kInitPrefix);
    if (m_initialised) return 0;
    m_initialised = 1;

    if (m_testId.graphNumber == 5) {
        // Board-table path: only the board-table test object, no graph.
        Log(m_pLogger, kLevelTrace, kGreen, "%sExit", kInitPrefix);
        return 0;
    }
    if (!HasCaptureCapability()) {
        Report(m_testId.testIdText, NA, "Test program initialization.", "Computer has video capture capability.",
               "[NA] Computer has no video capture capability. (No Decoder found)");
        Log(m_pLogger, kLevelTrace, kGreen, "%s[NA] Computer has no video capture capability. (No Decoder found).",
            kInitPrefix);
        return 1;
    }
    if (m_testId.deviceNumber == 9) {
        // Component-checker path: only the component checker, no graph.
        Log(m_pLogger, kLevelTrace, kGreen, "%sExit", kInitPrefix);
        return 0;
    }

    // Graph path. The merged file is emptied first; a failure to do so is
    // ignored and shows later as a failed merge write.
    m_platform.Files().CreateEmptyFile(m_mergedFilePath);
    if (MergeIncludeFiles(m_testId.graphFilePath) != 0) return 1;
    if (ReadDataFile() != 0) return 1;
    if (CreateFilters() != 0) return 1;
    GetMediaControl();
    GetGlobalKeyVar();
    if (ConnectFilters() != 0) return 1;
    SetGraphState(1);
    Log(m_pLogger, kLevelTrace, kGreen, "%sExit", kInitPrefix);
    return 0;
}

int32_t COrbGBuilder::Release() {
    if (!m_initialised) return 0;
    SetGraphState(0);
    ReleaseInterfaces();
    ReleaseFilters();
    m_initialised = 0;
    return 0;
}

}  // namespace orbex
