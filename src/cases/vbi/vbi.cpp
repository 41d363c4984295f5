// The VBI test dispatch and the closed-caption test.
#include "cases/vbi/vbi.h"

#include "cases/tuner/tuner.h"
#include "cases/vbi/vbi_analyzer.h"
#include "common/delay.h"
#include "graph/orb_gbuilder.h"
#include "report/test_status.h"

namespace orbex {
namespace {
constexpr const char* kExecutePrefix = "CVBI::ExecuteTest()>  ";
constexpr const char* kCaptionPrefix = "CVBI::Test_ClosedCaption()>  ";
constexpr int32_t kFirstScanChannel = 25;
constexpr int32_t kLastScanChannel = 35;
constexpr int kSamplesPerChannel = 5;
constexpr uint32_t kSampleWaitMs = 150;
constexpr int32_t kCaptionLine = 21;
}  // namespace

int32_t CVBI::ExecuteTest() {
    const TestIdentifier& id = m_pGBuilder->Id();
    char expected[256] = "", actual[256] = "";
    int32_t status = NoRun;
    try {
        if (id.deviceNumber != 11) {
            FormatInto(expected, sizeof expected, "Test DeviceID=%d.", 11);
            FormatInto(actual, sizeof actual, "[NoRun]**** Invalid input test string. DeviceID=%d.", id.deviceNumber);
            throw TestStatus{NoRun};
        }
        if (id.graphNumber != 2) return NoRun;
        if (id.testNumber == 1) return Test_ClosedCaption();
        if (id.testNumber == 2) {
            m_pGBuilder->Verdict().ResultReport(id.testIdText, id.testIdText, NA, "This test has been removed.", "None",
                                                "None");
            return NA;
        }
        CopyText(expected, sizeof expected, "Valid test case.");
        FormatInto(actual, sizeof actual, "[NoRun]**** Invalid test case \"%s\".", id.testIdText);
        throw TestStatus{NoRun};
    } catch (TestStatus outcome) {
        status = outcome;
    }
    Log(m_pGBuilder->m_pLogger, kLevelNote, kBlue, "%s%s", kExecutePrefix, actual);
    m_pGBuilder->Verdict().ResultReport(id.testIdText, id.testIdText, status, "VBI test.", expected, actual);
    return status;
}

int32_t CVBI::Test_ClosedCaption() {
    const TestIdentifier& id = m_pGBuilder->Id();
    CLogManager* logger = m_pGBuilder->m_pLogger;
    const char* description = "Checking closed captioning.";
    const char* expected = "Closed captioning detected on line 21 of odd buffer.";
    char actual[256] = "";

    if ((m_pGBuilder->BoardInfo().GetTunerStandardClass(0) & 0xFF) != 1) {
        CopyText(actual, sizeof actual, "[NA] Non NTSC tuner found. Closed captioning requires NTSC signal.");
        Log(logger, kLevelNote, kBlue, "%s%s", kCaptionPrefix, actual);
        m_pGBuilder->Verdict().ResultReport(id.testIdText, id.testIdText, NA, description, "NTSC tuner.", actual);
        return NA;
    }

    CTuner* tuner = m_pGBuilder->Tuner();
    CVBIAnalyzer* analyzer = m_pGBuilder->VbiAnalyzer();
    port::IClock& clock = m_pGBuilder->Platform().Clock();
    int32_t startChannel = 2;
    if (tuner) tuner->GetChannel(&startChannel);

    int32_t status = Fail;
    try {
        int32_t channel = startChannel;
        bool onStart = true;
        for (;;) {
            for (int sample = 0; sample < kSamplesPerChannel; ++sample) {
                Delay(clock, kSampleWaitMs);
                VbiRecord record;
                if (analyzer) analyzer->GetVBIData(&record);
                if (record.CaptionLine() == kCaptionLine) {
                    FormatInto(actual, sizeof actual,
                               "[Pass] Closed captioning detected on line 21 odd buffer of Channel %d.", channel);
                    throw TestStatus{Pass};
                }
            }
            channel = onStart ? kFirstScanChannel : channel + 1;
            onStart = false;
            if (tuner) tuner->SetChannel(channel);
            if (channel > kLastScanChannel) {
                CopyText(actual, sizeof actual, "[Fail]**** Closed captioning not detected.");
                throw TestStatus{Fail};
            }
        }
    } catch (TestStatus outcome) {
        status = outcome;
    }

    if (tuner) tuner->SetChannel(startChannel);
    if (status == Pass)
        Log(logger, kLevelPassNote, kGreen, "%s%s", kCaptionPrefix, actual);
    else
        Log(logger, kLevelFailure, kRed, "%s%s", kCaptionPrefix, actual);
    m_pGBuilder->Verdict().ResultReport(id.testIdText, id.testIdText, status, description, expected, actual);
    return status;
}

}  // namespace orbex
