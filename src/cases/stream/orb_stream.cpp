// The stream test object's set-up and test dispatch.
#include "cases/stream/orb_stream.h"

#include <algorithm>

#include "cases/crossbar/dec_xbar.h"
#include "cases/decoder/decoder.h"
#include "cases/stream/analyzer.h"
#include "common/delay.h"
#include "common/format.h"
#include "graph/orb_gbuilder.h"
#include "platform/guids.h"
#include "platform/stream_config.h"
#include "report/test_status.h"

namespace orbex {
namespace {
constexpr const char* kInitPrefix = "COrbStream::Initialize()>  ";
constexpr const char* kExecutePrefix = "COrbStream::ExecuteTest()>  ";
constexpr const char* kStreamTestPrefix = "COrbStream::StreamTest()>  ";
constexpr int32_t kStreamDevice = 10;
constexpr int32_t kCaptureDecoderType = 3;
constexpr int64_t kStreamFrameInterval = 333667;  // 29.97 frames per second, in 100 ns units
constexpr uint32_t kSettleMs = 150;               // after each graph change
constexpr uint32_t kStepMs = 5000;
constexpr uintptr_t kStepTimerId = 3;
constexpr const char* kStreamDescription =
    "Running graph with standard 0x%X, size %dx%d, and connector %d for %d seconds.";
}  // namespace

int32_t COrbStream::Initialize() {
    if (m_initialised) return 0;
    m_initialised = true;
    CLogManager* logger = m_pGBuilder->m_pLogger;
    const TestIdentifier& id = m_pGBuilder->Id();

    std::shared_ptr<port::IBaseFilter> decoder;
    m_pGBuilder->GetFilterByType(kCaptureDecoderType, decoder);
    if (!decoder) {
        Log(logger, kLevelFailure, kRed, "%sNo decoder found. No stream class will be created.", kInitPrefix);
        m_pGBuilder->Verdict().ResultReport(id.testIdText, id.testIdText, Fail,
                                            "[Fail]**** No decoder found. No stream class will be created.", "", "");
        return 1;
    }

    port::ComPtr found;
    m_pGBuilder->FindInterfaceOnFilter(&guids::kPinCategoryCapture, decoder, guids::kIidAmStreamConfig, found);
    std::shared_ptr<port::IAMStreamConfig> config = port::ComCast<port::IAMStreamConfig>(found);
    if (!config) {
        Log(logger, kLevelNoRun, kBlack, "%sNo stream existed.", kInitPrefix);
        return 1;
    }
    m_pGBuilder->SetStreamConfig(config);

    port::VideoMediaType format;
    if (config->GetFormat(format) != kSOk) {
        Log(logger, kLevelNoRun, kBlack, "%sFail to get stream format.", kInitPrefix);
        return 1;
    }
    if (m_pGBuilder->ReadKeyGUID("Stream", "CaptureFormatGUID", &m_captureFormat, 0) != 0) {
        m_captureFormat = guids::kMediaSubtypeUyvy;
        Log(logger, kLevelNote, kBlue, "%sNo CaptureFormatGUID found. Using UYVY.", kInitPrefix);
    }
    if (m_pGBuilder->ReadKeyInt("Stream", "VideoOutputWidth", &m_outputWidth, 0) != 0) {
        m_outputWidth = format.width;
        Log(logger, kLevelNote, kBlue, "%sNo VideoOutputWidth found.", kInitPrefix);
    }
    if (m_pGBuilder->ReadKeyInt("Stream", "VideoOutputHeight", &m_outputHeight, 0) != 0) {
        m_outputHeight = format.height;
        Log(logger, kLevelNote, kBlue, "%sNo VideoOutputHeight found.", kInitPrefix);
    }

    format.subtype = m_captureFormat;
    format.width = m_outputWidth;
    format.height = m_outputHeight;
    if (config->SetFormat(format) != kSOk) {
        Log(logger, kLevelNoRun, kBlack, "%sFail to set stream format.", kInitPrefix);
        return 1;
    }
    return 0;
}

int32_t COrbStream::ExecuteTest() {
    const TestIdentifier& id = m_pGBuilder->Id();
    char expected[256] = "", actual[256] = "";
    int32_t status = NoRun;
    try {
        if (id.deviceNumber != kStreamDevice) {
            FormatInto(expected, sizeof expected, "Test DeviceID=%d.", kStreamDevice);
            FormatInto(actual, sizeof actual, "[NoRun]**** Invalid DeviceID=%d.", id.deviceNumber);
            throw TestStatus{NoRun};
        }
        if (!m_pGBuilder->StreamConfig()) {
            CopyText(expected, sizeof expected, "Has video stream pointer.");
            CopyText(actual, sizeof actual, "[NA]**** No Video Stream pointer.");
            throw TestStatus{NA};
        }
        if (id.graphNumber != 2) return NoRun;
        if (id.testNumber >= 1 && id.testNumber <= 4) return StreamTest();
        CopyText(expected, sizeof expected, "Valid test case.");
        FormatInto(actual, sizeof actual, "[NoRun]**** Invalid test case \"%s\".", id.testIdText);
        throw TestStatus{NoRun};
    } catch (TestStatus outcome) {
        status = outcome;
    }
    Log(m_pGBuilder->m_pLogger, kLevelNote, kBlue, "%s%s", kExecutePrefix, actual);
    m_pGBuilder->Verdict().ResultReport(id.testIdText, id.testIdText, status, "Video stream test.", expected, actual);
    return status;
}

int32_t COrbStream::StreamTest() {
    const TestIdentifier& id = m_pGBuilder->Id();
    CLogManager* logger = m_pGBuilder->m_pLogger;
    port::IPlatform& platform = m_pGBuilder->Platform();
    const std::shared_ptr<port::IAMStreamConfig>& config = m_pGBuilder->StreamConfig();
    const int32_t duration = m_pGBuilder->TestDuration();
    const int32_t standard = m_pGBuilder->Decoder() ? m_pGBuilder->Decoder()->VideoStandard() : 0;
    const int32_t connector = m_pGBuilder->Crossbar() ? m_pGBuilder->Crossbar()->InputPinToRoute() : 0;
    char description[256];
    FormatInto(description, sizeof description, kStreamDescription, static_cast<uint32_t>(standard), m_outputWidth,
               m_outputHeight, connector, duration);
    auto armTimer = [&] {
        port::IDesktop& desktop = platform.Desktop();
        desktop.SetTimer(desktop.HostWindow(), kStepTimerId, kStepMs);
        --m_countdown;
        return NoRun;
    };

    if (!m_running) {
        Log(logger, kLevelTrace, kGreen, "%sEntered", kStreamTestPrefix);
        port::VideoMediaType format;
        if (config->GetFormat(format) != kSOk) {
            const char* actual = "[NoRun]**** Fail to get stream format.";
            Log(logger, kLevelNoRun, kBlack, "%s%s", kStreamTestPrefix, actual);
            m_pGBuilder->Verdict().ResultReport(id.testIdText, id.testIdText, NoRun, description,
                                                "Able to get stream format.", actual);
            return NoRun;
        }
        m_pGBuilder->SetGraphState(0);
        Delay(platform.Clock(), kSettleMs);
        format.avgTimePerFrame = kStreamFrameInterval;
        if (config->SetFormat(format) != kSOk) {
            const char* actual = "[NoRun]**** Fail to set stream format.";
            Log(logger, kLevelNoRun, kBlack, "%s%s", kStreamTestPrefix, actual);
            m_pGBuilder->Verdict().ResultReport(id.testIdText, id.testIdText, NoRun, description,
                                                "Able to set stream format.", actual);
            return NoRun;
        }
        Delay(platform.Clock(), kSettleMs);
        if (id.testNumber == 3) ScreenSaver(1);
        if (id.testNumber == 4) LowPower(1);
        m_pGBuilder->SetGraphState(1);
        Delay(platform.Clock(), kSettleMs);
        m_pGBuilder->SetGraphState(0);
        Delay(platform.Clock(), kSettleMs);
        m_pGBuilder->SetGraphState(1);
        Log(logger, kLevelTrace, kGreen, "%sRunning graph for %d seconds. Please wait...", kStreamTestPrefix, duration);
        m_countdown = std::max((duration + 4) / 5, 2);
        m_running = 1;
        return armTimer();
    }

    // One step of a run in progress.
    if (m_countdown == 1) {
        if (id.testNumber == 3) ScreenSaver(0);
        if (id.testNumber == 4) LowPower(0);
    }
    if (m_countdown > 0) return armTimer();

    Log(logger, kLevelTrace, kGreen, "%sRunning completed. Recording results.", kStreamTestPrefix);
    m_running = 0;
    AnalyzerMeasurement measurement;
    if (CAnalyzer* analyzer = m_pGBuilder->Analyzer()) analyzer->GetMeasurement(&measurement);
    Log(logger, kLevelProgress, kGreen, "%s%s", kStreamTestPrefix, description);
    const double rate = measurement.FrameRate();
    char actual[256];
    int32_t status;
    if (static_cast<int32_t>(rate) > 0) {
        FormatInto(actual, sizeof actual, "[Pass] Framerate %.3lffps is > 0.", rate);
        Log(logger, kLevelProgress, kGreen, "%s%s", kStreamTestPrefix, actual);
        status = Pass;
    } else {
        FormatInto(actual, sizeof actual, "[Fail]**** Framerate %.3lffps is ~= 0.", rate);
        Log(logger, kLevelFailure, kRed, "%s%s", kStreamTestPrefix, actual);
        status = Fail;
    }
    m_pGBuilder->Verdict().ResultReport(id.testIdText, id.testIdText, status, description,
                                        "Framerate is > 0 after the test.", actual);
    return status;
}

}  // namespace orbex
