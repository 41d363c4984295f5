// The linear channel scan: the board's channel-scan object tunes every
// channel of the tuner's country and the progress callback counts the
// channels on which the decoder locks.
#include "cases/decoder/decoder.h"
#include "cases/tuner/tuner.h"
#include "graph/orb_gbuilder.h"
#include "report/test_status.h"

namespace orbex {
namespace {
constexpr const char* kScanPrefix = "CTuner::Test_LinearChannelScan()>  ";

// The callback has no context argument, so the scan binds the graph builder
// whose decoder it asks, and the counter it fills, process-wide for its
// duration; both are only meaningful while AutoTune runs.
int32_t g_foundChannels = 0;
COrbGBuilder* g_scanningBuilder = nullptr;

class ScanBinding {
public:
    explicit ScanBinding(COrbGBuilder* gBuilder) { g_scanningBuilder = gBuilder; }
    ~ScanBinding() { g_scanningBuilder = nullptr; }
    ScanBinding(const ScanBinding&) = delete;
    ScanBinding& operator=(const ScanBinding&) = delete;
};
}  // namespace

int16_t ORBEX_STDCALL ScanProgressCallback(int32_t /*progress*/, int32_t tuned, int32_t* locked) {
    if (tuned != 0) {
        CDecoder* decoder = g_scanningBuilder ? g_scanningBuilder->Decoder() : nullptr;
        int32_t answer = decoder ? decoder->IsSignalLocked() : 0;
        if (locked) *locked = answer;
        if (answer == 1) ++g_foundChannels;
    }
    return 1;
}

int32_t FoundChannelCount() {
    return g_foundChannels;
}

int32_t CTuner::Test_LinearChannelScan() {
    const char* description = "Checking linear channel scan.";
    char expected[256] = "", actual[256] = "";
    int32_t savedChannel = 2;
    GetChannel(&savedChannel);
    g_foundChannels = 0;

    auto stop = [&](const char* expectedText, const char* actualText) {
        CopyText(expected, sizeof expected, expectedText);
        CopyText(actual, sizeof actual, actualText);
        throw TestStatus{NoRun};
    };
    int32_t status = NoRun;
    try {
        if (!m_pChannelScan)
            stop("QelAnalogLCS object exist.", "[NoRun]**** No QelAnalogLCS object has been cocreated.");
        if (m_pChannelScan->Connect(m_pTunerFilter) != kSOk)
            stop("Able to connect to QelAnalogLCS object.", "[NoRun]**** Unable to connect to QelAnalogLCS object.");
        if (!m_pTuner || m_pTuner->get_CountryCode(&m_countryCode) != kSOk)
            stop("Able to get country code from tuner.", "[NoRun]**** Unable to get country code from tuner.");
        if (m_pChannelScan->SetCountryCode(m_countryCode) != kSOk) {
            char text[256];
            FormatInto(text, sizeof text, "[NoRun]**** Unable to set country code to %ld.",
                       static_cast<long>(m_countryCode));
            stop("Able to set country code.", text);
        }
        HResult tuned;
        {
            ScanBinding binding(m_pGBuilder);
            tuned = m_pChannelScan->AutoTune(&ScanProgressCallback);
        }
        if (tuned != kSOk) stop("Able to auto tune.", "[NoRun]**** Auto tune failed.");

        FormatInto(expected, sizeof expected, "%ld channel(s) found.", static_cast<long>(m_expectedChannels));
        bool match = g_foundChannels == m_expectedChannels;
        FormatInto(actual, sizeof actual, match ? "[Pass] %ld channel(s) found." : "[Fail]**** %ld channel(s) found.",
                   static_cast<long>(g_foundChannels));
        throw TestStatus{match ? Pass : Fail};
    } catch (TestStatus outcome) {
        status = outcome;
    }

    SetChannel(savedChannel);
    g_foundChannels = 0;
    if (status == Pass)
        Log(Logger(), kLevelPassNote, kGreen, "%s%s", kScanPrefix, actual);
    else
        Log(Logger(), kLevelFailure, kRed, "%s%s", kScanPrefix, actual);
    Report(m_pGBuilder->Id().testIdText, status, description, expected, actual);
    return status;
}

}  // namespace orbex
