// The crossbar object: finding and routing the crossbar, and its three tests.
#include "cases/crossbar/dec_xbar.h"

#include "cases/decoder/decoder.h"
#include "graph/filter_entry.h"
#include "graph/orb_gbuilder.h"
#include "platform/guids.h"
#include "report/test_status.h"

namespace orbex {
namespace {
constexpr const char* kInitPrefix = "CDecXbar::InitDecXbar()>  ";
constexpr const char* kTestPrefix = "CDecXbar::ExecuteTest()>  ";
}  // namespace

CDecXbar::~CDecXbar() {
    m_pCrossbar.reset();
}

void CDecXbar::Report(const char* testId, const char* step, int32_t status, const char* description,
                      const char* expected, const char* actual) {
    m_pGBuilder->Verdict().ResultReport(testId, step, status, description, expected, actual);
}

int32_t CDecXbar::InitDecXbar(CLogFile* logFile, CBoardInfo* boardInfo, int32_t boardIndex, int32_t decoderType) {
    m_pLogFile = logFile;
    m_pBoardInfo = boardInfo;
    m_boardIndex = boardIndex;
    m_decoderType = decoderType;
    m_pXbarFilter.reset();
    m_pCrossbar.reset();
    m_filterIndex = -1;
    m_inputPin = 1;
    m_expectedOutputs = 1;
    m_expectedInputs = m_pBoardInfo->GetVideoInputCount(static_cast<uint32_t>(m_boardIndex));
    CLogManager* logger = m_pGBuilder->m_pLogger;
    const char* testId = m_pGBuilder->Id().testIdText;

    m_filterIndex = m_pGBuilder->GetFilterByType(kFilterCrossbar, m_pXbarFilter);
    if (!m_pXbarFilter) {
        Log(logger, kLevelFailure, kRed, "%sNo Video Crossbar Found.", kInitPrefix);
        Report(testId, testId, Fail, "[Fail]**** No Video Crossbar Found.", "", "");
        return 1;
    }
    if (port::ComQuery(*m_pXbarFilter, guids::kIidAmCrossbar, m_pCrossbar) != kSOk) {
        const char* actual = "[NoRun]**** Failed to get IID_IAMCrossbar interface from a crossbar filter.";
        Report(testId, testId, NoRun, "Get IID_IAMCrossbar Interface.",
               "Able to get IID_IAMCrossbar interface from a crossbar filter.", actual);
        Log(logger, kLevelNoRun, kBlack, "%s%s", kInitPrefix, actual);
        return 1;
    }
    m_outputPins = m_inputPins = 0;
    m_pCrossbar->get_PinCounts(&m_outputPins, &m_inputPins);

    // Without the key the crossbar stays routed as its driver set it.
    const char* section = m_pGBuilder->Filter(m_filterIndex).name;
    if (m_pGBuilder->ReadKeyInt(section, "InputPin", &m_inputPin, 0) != 0) return 0;
    if (m_pBoardInfo->GetTunerType(0) <= 0) {
        Log(logger, kLevelProgress, kGreen,
            "%s[Warning]** Routing from input pin %d to output pin %d was not done due to no hardware tuner.",
            kInitPrefix, m_inputPin, 0);
        return 0;
    }
    if (m_pCrossbar->Route(0, m_inputPin) != kSOk) {
        char actual[256];
        FormatInto(actual, sizeof actual, "[Warning]** Failed to route input pin %d to output pin %d.", m_inputPin, 0);
        Report(testId, "0", Fail, "Routing selected input source to output pin", "Able to route crossbar.", actual);
        Log(logger, kLevelNote, kBlue, "%s%s", kInitPrefix, actual);
    }
    return 0;
}

int32_t CDecXbar::ExecuteTest(const char* testId, int32_t testCode, int32_t /*parameter*/) {
    if (!m_pCrossbar || !testId) {
        const char* id = testId ? testId : m_pGBuilder->Id().testIdText;
        Report(id, id, NA, "No DecoderXbar or Invalid Test String!!!", "", "");
        return NA;
    }
    switch (testCode) {
        case 100: return ConnectorCountTest(testId, true);
        case 101: return ConnectorCountTest(testId, false);
        case 102: return RouteSignalTest(testId);
        default: return NoRun;
    }
}

// Inputs (100) or outputs (101) against the board's table and the single
// output. Counts the driver cannot give are a NoRun with their own report.
int32_t CDecXbar::ConnectorCountTest(const char* testId, bool inputs) {
    const char* description =
        inputs ? "Number of Decoder Input Connectors Test" : "Number of Decoder Output Connectors Test";
    int32_t expectedCount = inputs ? m_expectedInputs : m_expectedOutputs;
    char expected[256], actual[256];
    FormatInto(expected, sizeof expected, "%d", expectedCount);
    if (m_pCrossbar->get_PinCounts(&m_outputPins, &m_inputPins) != kSOk) {
        CopyText(actual, sizeof actual, "[NoRun]**** Unable to read the crossbar's pin counts.");
        Log(m_pGBuilder->m_pLogger, kLevelNoRun, kBlack, "%s%s", kTestPrefix, actual);
        Report(testId, testId, NoRun, description, expected, actual);
        return NoRun;
    }
    int32_t count = inputs ? m_inputPins : m_outputPins;
    int32_t status = count == expectedCount ? Pass : Fail;
    FormatInto(actual, sizeof actual, "%d", count);
    Report(testId, testId, status, description, expected, actual);
    return status;
}

bool CDecXbar::HasSignal() {
    CDecoder* decoder = m_pGBuilder->Decoder();
    return decoder && decoder->CheckForSignal() != 0;
}

// Routes every input to every output in turn and asks the decoder for a
// signal; the summary carries the verdict, the test itself returns NoRun.
int32_t CDecXbar::RouteSignalTest(const char* testId) {
    CLogManager* logger = m_pGBuilder->m_pLogger;
    int32_t steps = 0, passes = 0;
    // The summary's description when no step ran: the step format without numbers.
    char description[256] = "Test for signal lock from crossbar InPin to OutPin";
    for (int32_t o = 0; o < m_expectedOutputs; ++o) {
        for (int32_t i = 0; i < m_expectedInputs; ++i) {
            ++steps;
            char step[16];
            FormatInto(step, sizeof step, "%d", steps);
            FormatInto(description, sizeof description, "Test for signal lock from crossbar InPin%d to OutPin%d", i, o);
            if (m_pCrossbar->Route(o, i) != kSOk) {
                Report(testId, step, Fail, description, "Able to route crossbar.",
                       "[Fail]**** Failed to route crossbar.");
                Log(logger, kLevelFailure, kRed, "%s[Fail]**** Failed to route crossbar.", kTestPrefix);
                continue;
            }
            if (HasSignal()) {
                ++passes;
                Report(testId, step, Pass, description, "There is a signal.", "[Pass] There is a signal.");
            } else {
                Report(testId, step, Fail, description, "There is a signal.", "[Fail]**** There is no signal.");
            }
        }
    }
    int32_t failed = steps - passes;
    char actual[256];
    if (failed != 0) {
        FormatInto(actual, sizeof actual, "[Fail]**** %d step(s) failed.", failed);
        Report(testId, testId, Fail, description, "All test pass.", actual);
        Log(logger, kLevelFailure, kRed, "%s%s", kTestPrefix, actual);
    } else {
        CopyText(actual, sizeof actual, "[Pass] All test pass.");
        Report(testId, testId, Pass, description, "All test pass.", actual);
        Log(logger, kLevelPassNote, kGreen, "%s%s", kTestPrefix, actual);
    }
    return NoRun;
}

}  // namespace orbex
