// The stream test object's set-up and test dispatch.
#include "cases/stream/orb_stream.h"

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

// The run (timer steps, video analyzer measurement, screen saver and suspend)
// needs the video analyzer and the host window's timer, which this build does
// not have: the test says so instead of giving an outcome.
int32_t COrbStream::StreamTest() {
    const TestIdentifier& id = m_pGBuilder->Id();
    const char* actual = "[NoRun]**** The stream run is not available in this build.";
    Log(m_pGBuilder->m_pLogger, kLevelNoRun, kBlack, "%s%s", kStreamTestPrefix, actual);
    m_pGBuilder->Verdict().ResultReport(id.testIdText, id.testIdText, NoRun, "Video stream test.",
                                        "Stream run is available.", actual);
    return NoRun;
}

}  // namespace orbex
