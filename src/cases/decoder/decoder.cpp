// The decoder object: initialisation, test dispatch, the three short tests
// and the two signal services other test objects use.
#include "cases/decoder/decoder.h"

#include "common/delay.h"
#include "graph/filter_entry.h"
#include "graph/orb_gbuilder.h"
#include "platform/guids.h"
#include "report/test_status.h"

namespace orbex {
namespace {
constexpr const char* kInitPrefix = "CDecoder::InitDecoder()>  ";
}  // namespace

bool StandardInFamily(uint32_t standard, uint32_t familyMask) {
    return ((standard & kGroup525) && (familyMask & 0x1)) || ((standard & kGroupPal625) && (familyMask & 0x2)) ||
           ((standard & kGroupSecam) && (familyMask & 0x4));
}

CDecoder::~CDecoder() {
    m_pDecoder.reset();
    if (m_pTestBoxLibrary) m_pGBuilder->Platform().Libraries().FreeLibrary(m_pTestBoxLibrary);
}

void CDecoder::Report(const char* testId, const char* step, int32_t status, const char* description,
                      const char* expected, const char* actual) {
    m_pGBuilder->Verdict().ResultReport(testId, step, status, description, expected, actual);
}

void CDecoder::Wait(uint32_t milliseconds) {
    Delay(m_pGBuilder->Platform().Clock(), milliseconds);
}

uint32_t CDecoder::FamilyMask(int32_t parameter) const {
    if (parameter != 0) return static_cast<uint32_t>(parameter);
    switch (m_pGBuilder->BoardInfo().GetTunerStandardClass(0)) {
        case 1: return 0x1;
        case 2: return 0x2;
        case 3: return 0x4;
        case 4: return 0x6;
        default: return 0xFF;
    }
}

int32_t CDecoder::InitDecoder(CLogFile* logFile, int32_t reserved, int32_t decoderType, COrbGBuilder* gBuilder) {
    m_pLogFile = logFile;
    m_reserved = reserved;
    m_decoderType = decoderType;
    m_pGBuilder = gBuilder;
    if (m_pLogFile) m_pLogFile->WriteLine(2, "\nCDecoder Object Created.");
    CLogManager* logger = m_pGBuilder->m_pLogger;
    const char* testId = m_pGBuilder->Id().testIdText;
    Log(logger, kLevelTrace, kGreen, "CDecoder::Initialize() ... ");

    for (uint32_t& entry : m_expectedStandards) entry = 0;
    m_expectedStandards[1] = m_expectedStandards[2] = m_expectedStandards[3] = 0x203;
    m_expectedStandards[6] = 0xFFFF3;

    m_filterIndex = m_pGBuilder->GetFilterByType(kFilterDecoder, m_pDecoderFilter);
    if (!m_pDecoderFilter) {
        Log(logger, kLevelFailure, kRed, "%sNo Known Qel Decoder Detected", kInitPrefix);
        Report(testId, testId, Fail, "", "", "[Fail]**** No Known Qel Decoder Detected.");
        return 1;
    }
    m_pGBuilder->SetCaptureFilter(m_pDecoderFilter);

    if (port::ComQuery(*m_pDecoderFilter, guids::kIidAnalogVideoDecoder, m_pDecoder) != kSOk) {
        const char* text =
            "Filter is incorrectly defined as a Decoder, or no decoder interface is found within filter.";
        Log(logger, kLevelNoRun, kBlack, "%s%s", kInitPrefix, text);
        char actual[256];
        FormatInto(actual, sizeof actual, "[NoRun]**** %s", text);
        Report(testId, testId, NoRun, "", "", actual);
        return 1;
    }

    const char* section = m_pGBuilder->Filter(m_filterIndex).name;
    if (m_pGBuilder->ReadKeyInt(section, "VideoStandard", &m_videoStandard, 0) != 0) {
        Log(logger, kLevelTrace, kGreen,
            "%sNo VideoStandard specified in graph file. Using MMTable to determine video standard for decoder.",
            kInitPrefix);
        m_pDecoder->get_TVFormat(&m_savedStandard);
        m_videoStandard = static_cast<int32_t>(m_pGBuilder->BoardInfo().GetTunerVideoStandard(0));
    }

    Log(logger, kLevelProgress, kGreen, "%sSetting TV standard to 0x%08X.", kInitPrefix,
        static_cast<uint32_t>(m_videoStandard));
    if (m_pDecoder->put_TVFormat(m_videoStandard) == kSOk) return 0;

    char expected[256], actual[256];
    FormatInto(expected, sizeof expected, "Video standard (0x%08X) is supported by decoder.",
               static_cast<uint32_t>(m_videoStandard));
    FormatInto(actual, sizeof actual, "[NA] Video standard (0x%08X) is not supported by decoder.",
               static_cast<uint32_t>(m_videoStandard));
    Log(logger, kLevelNote, kBlue, "%s%s", kInitPrefix, actual);
    Report(testId, testId, NA, "Initializing decoder.", expected, actual);
    return 1;
}

int32_t CDecoder::ExecuteTest(const char* testId, int32_t testCode, int32_t parameter) {
    if (!testId || !*testId) {
        Report("", "", NoRun, "Invalid Test String.", "", "");
        Log(m_pGBuilder->m_pLogger, kLevelNoRun, kBlack, "CDecoder::ExecuteTest() Invalid Test String!");
        return NoRun;
    }
    if (!m_pDecoderFilter || !m_pDecoder) {
        Report(testId, testId, NA, "No Decoder Exist.", "", "");
        Log(m_pGBuilder->m_pLogger, kLevelNote, kBlue, "CDecoder::ExecuteTest() No Decoder Exist.");
        return NA;
    }
    const TestIdentifier& id = m_pGBuilder->Id();
    if (id.graphNumber == 2 && id.testNumber == 10) return Test_MemoryLeak();

    switch (testCode) {
        case 100: return SupportedStandardTest(testId);
        case 200: return OutputEnableTest(testId);
        case 201: return SetSupportedStandardsTest(testId);
        case 202: LineDetectionTest(testId, parameter); return NoRun;
        case 203: HorizontalLockTest(testId, parameter); return NoRun;
        case 204: VideoSizeTestHandler(testId, 2, parameter); return NoRun;
        case 205: VideoSizeTestHandler(testId, 1, parameter); return NoRun;
        case 300: return VideoFrameRateTestHandler(testId) == Fail ? Fail : Pass;
        default: {
            char description[256];
            FormatInto(description, sizeof description, "Invalid Test case (%s)", testId);
            Report(testId, testId, NoRun, description, "Valid test case", "Unsupported test");
            return NoRun;
        }
    }
}

int32_t CDecoder::SupportedStandardTest(const char* testId) {
    const char* description = "Decoder Supported Standard Test";
    if (m_pDecoder->get_AvailableTVFormats(&m_availableStandards) != kSOk) {
        Report(testId, testId, NoRun, description, "", "");
        return NoRun;
    }
    // A decoder type beyond the table expects no standard at all.
    uint32_t entry =
        m_decoderType >= 0 && m_decoderType < kExpectedStandardEntries ? m_expectedStandards[m_decoderType] : 0;
    int32_t status = entry == static_cast<uint32_t>(m_availableStandards) ? Pass : Fail;
    char expected[256], actual[256];
    FormatInto(expected, sizeof expected, "0x%08x", entry);
    FormatInto(actual, sizeof actual, "0x%08x", static_cast<uint32_t>(m_availableStandards));
    Report(testId, testId, status, description, expected, actual);
    return status;
}

int32_t CDecoder::OutputEnableTest(const char* testId) {
    CLogManager* logger = m_pGBuilder->m_pLogger;
    int32_t status = NoRun;
    char expected[256] = "", actual[256] = "";
    auto failed = [&](const char* expectedFormat, const char* actualText) {
        FormatInto(expected, sizeof expected, expectedFormat, m_outputEnable);
        CopyText(actual, sizeof actual, actualText);
    };

    do {
        Log(logger, kLevelProgress, kGreen, "CDecoder::ExecuteTest() Test for Enabling the Decoder.");
        Log(logger, kLevelTrace, kGreen, "CDecoder::ExecuteTest() Disable the decoder.");
        if (m_pDecoder->put_OutputEnable(0) != kSOk) {
            Log(logger, kLevelFailure, kRed, "CDecoder::ExecuteTest() Failed to disable the decoder.");
            failed("%d", "Cannot Disable Decoder.");
            break;
        }
        Log(logger, kLevelTrace, kGreen, "CDecoder::ExecuteTest() Clearing the capture buffers.");
        ClearCaptureBuffers(kBothBuffers);
        Wait(500);
        Log(logger, kLevelTrace, kGreen, "CDecoder::ExecuteTest() Enable the decoder.");
        if (m_pDecoder->put_OutputEnable(1) != kSOk) {
            Log(logger, kLevelFailure, kRed, "CDecoder::ExecuteTest() Failed to enable the decoder.");
            failed("0x%08x", "Cannot Enable Decoder.");
            break;
        }
        Log(logger, kLevelTrace, kGreen, "CDecoder::ExecuteTest() Ask the driver if it's enabled.");
        if (m_pDecoder->get_OutputEnable(&m_outputEnable) != kSOk) {
            Log(logger, kLevelFailure, kRed, "CDecoder::ExecuteTest() Driver failed to reply enable status.");
            failed("0x%08x", "Cannot Eable Decoder.");
            break;
        }
        Wait(500);
        Log(logger, kLevelTrace, kGreen, "CDecoder::ExecuteTest() Disable the output for buffer checking.");
        if (m_pDecoder->put_OutputEnable(0) != kSOk) {
            failed("0x%08x", "Cannot Disable Decoder.");
            break;
        }
        Log(logger, kLevelTrace, kGreen, "CDecoder::ExecuteTest() Checking buffers status.");
        BufferStatus buffers{};
        GetBufferStatus(&buffers, 2);
        bool picture =
            buffers.front.state == 1 || buffers.front.state == 2 || buffers.back.state == 1 || buffers.back.state == 2;
        if (m_outputEnable == 1 && picture) {
            status = Pass;
            FormatInto(actual, sizeof actual, "0x%08x", 1);
            Log(logger, kLevelProgress, kGreen, "CDecoder::ExecuteTest() Decoder Enable Test PASSED.");
        } else {
            status = Fail;
            FormatInto(actual, sizeof actual, "0x%08x", 0);
            Log(logger, kLevelFailure, kRed, "CDecoder::ExecuteTest() Decoder Enable Test FAIL.");
        }
        FormatInto(expected, sizeof expected, "%d", 1);
    } while (false);

    Log(logger, kLevelTrace, kGreen, "CDecoder::ExecuteTest() Enable back the decoder.");
    if (m_pDecoder->put_OutputEnable(1) != kSOk) failed("%d", "Cannot Enable Decoder.");
    Log(logger, kLevelTrace, kGreen, "CDecoder::ExecuteTest() Report to Kiln.");
    Report(testId, testId, status, "Decoder output enable Test", expected, actual);
    return status;
}

int32_t CDecoder::SetSupportedStandardsTest(const char* testId) {
    if (m_pDecoder->get_AvailableTVFormats(&m_availableStandards) != kSOk) {
        Report(testId, testId, NoRun, "Decoder Set supported standard test.",
               "Expected to retrieve the supported decoder standards.",
               "FAIL TO retrieve the supported standards. Or Interface not supported");
        return NoRun;
    }
    int32_t saved = 0;
    if (m_pDecoder->get_TVFormat(&saved) != kSOk) saved = 0;
    int32_t status = Fail;
    int32_t step = 1;
    char description[256] = "", expected[256] = "", actual[256] = "";
    for (uint32_t standard = 0x1; standard <= kLastStandardBit; standard <<= 1) {
        if (!(static_cast<uint32_t>(m_availableStandards) & standard)) continue;
        int32_t readBack = 0;
        bool set = m_pDecoder->put_TVFormat(static_cast<int32_t>(standard)) == kSOk;
        if (set) {
            Wait(500);
            set = m_pDecoder->get_TVFormat(&readBack) == kSOk && static_cast<uint32_t>(readBack) == standard;
        }
        status = set ? Pass : Fail;
        FormatInto(description, sizeof description, "Test Video Standard (0x%08x)", standard);
        CopyText(expected, sizeof expected, "PASS");
        FormatInto(actual, sizeof actual,
                   set ? "PASS::Standard(0x%08x) set correctly." : "FAIL::Standard(0x%08x) NOT set correctly.",
                   standard);
        char stepId[16];
        FormatInto(stepId, sizeof stepId, "%d", step++);
        Report(testId, stepId, status, description, expected, actual);
    }
    m_pDecoder->put_TVFormat(saved);
    Report(testId, testId, status, description, expected, actual);
    return status;
}

int32_t CDecoder::CheckForSignal() {
    if (!m_pDecoder) {
        const char* testId = m_pGBuilder->Id().testIdText;
        Report(testId, "0", Fail, "CDecoder::CheckForSignal()>  Checking for video signal.",
               "There is a Decoder filter in the graph.", "[Fail]**** No Decoder filter in the graph.");
        Log(m_pGBuilder->m_pLogger, kLevelFailure, kRed,
            "CDecoder::CheckForSignal()>  [Fail]**** No Decoder filter in the graph.");
        return 0;
    }
    int32_t locked = 0;
    return m_pDecoder->get_HorizontalLocked(&locked) == kSOk ? locked : 0;
}

int32_t CDecoder::IsSignalLocked() {
    int32_t standard = 0;
    if (!m_pDecoder || m_pDecoder->get_TVFormat(&standard) != kSOk) return 0;
    int32_t expectedLines = (static_cast<uint32_t>(standard) & kGroup525) ? 525 : 625;
    port::IClock& clock = m_pGBuilder->Platform().Clock();
    uint32_t start = clock.GetTickCount();
    for (int poll = 0; poll < 2; ++poll) {
        if (poll > 0)
            while (static_cast<uint32_t>(clock.GetTickCount() - start) < 100) {
            }
        int32_t locked = 0, lines = 0;
        bool isLocked = m_pDecoder->get_HorizontalLocked(&locked) == kSOk && locked != 0;
        bool linesOk =
            m_pDecoder->get_NumberOfLines(&lines) == kSOk && lines >= expectedLines - 5 && lines <= expectedLines + 5;
        if (isLocked && linesOk) return 1;
    }
    return 0;
}

}  // namespace orbex
