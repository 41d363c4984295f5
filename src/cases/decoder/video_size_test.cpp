// The video size test (test codes 204 and 205): one picture size after
// another on the capture stream, each checked by the overlay buffers' rows.
#include <cstring>
#include <memory>
#include <new>

#include "cases/decoder/decoder.h"
#include "cases/decoder/video_sizes.h"
#include "common/format.h"
#include "graph/orb_gbuilder.h"
#include "platform/guids.h"
#include "report/test_status.h"

namespace orbex {
namespace {
constexpr const char* kPrefix = "CDecoder::VideoSizeTestHandler()::";
constexpr const char* kSummaryDescription = "VIDEO SIZE TESTES";
constexpr uint32_t kGraphWaitMs = 150;
constexpr size_t kRecordSize = port::kVideoStreamConfigCapsSize;
}  // namespace

bool CDecoder::RunGraph(int32_t run) {
    const std::shared_ptr<port::IGraphBuilder>& graph = m_pGBuilder->Graph();
    if (!graph) return false;
    std::shared_ptr<port::IMediaControl> control;
    if (port::ComQuery(*graph, guids::kIidMediaControl, control) != kSOk) return false;
    return (run ? control->Run() : control->Stop()) >= 0;
}

void CDecoder::VideoSizeTestHandler(const char* testId, int32_t sizeMode, int32_t parameter) {
    CLogManager* logger = m_pGBuilder->m_pLogger;
    Log(logger, kLevelTrace, kGreen, "%sVideoSizeTestHandler() Entered", kPrefix);
    int32_t overall = Pass;
    int32_t total = 0, passed = 0, failed = 0;
    char expected[256] = "", actual[256] = "";

    if (!m_pDecoder || !testId || !testId[0]) {
        overall = NoRun;
        CopyText(expected, sizeof expected, "PASS");
        CopyText(actual, sizeof actual, "NO RUN::Decoder failed to load OR invalid TestID");
        Log(logger, kLevelNoRun, kBlack, "%s<NO RUN> Decoder failed to load OR invalid TestID", kPrefix);
    } else {
        const uint32_t familyMask = FamilyMask(parameter);
        const std::shared_ptr<port::IAMStreamConfig>& config = m_pGBuilder->StreamConfig();
        int32_t count = 0;
        if (PrepareCapabilityRecords(kPrefix, count) == CapsSetup::Ready) {
            int32_t step = 1;
            int32_t stepStatus = Pass;  // a step that cannot set its size keeps the one before
            auto runStep = [&](VideoSize size) {
                SizeStep(testId, size, step, stepStatus, total, passed, failed);
                if (stepStatus == Fail) overall = Fail;
                ++step;
            };
            for (int32_t index = 0; index < count; ++index) {
                std::span<uint8_t> bytes(m_pVStreamConfigCaps.get() + static_cast<size_t>(index) * kRecordSize,
                                         kRecordSize);
                port::VideoMediaType capsFormat;
                config->GetStreamCaps(index, capsFormat, bytes);
                port::VideoStreamConfigCaps caps;
                std::memcpy(&caps, bytes.data(), sizeof caps);
                if (sizeMode == 2) {
                    for (VideoSize size : PredefinedSizes(caps, familyMask)) runStep(size);
                } else {
                    Log(logger, kLevelTrace, kGreen, "%sTesting against ALL the available sizes reported", kPrefix);
                    Log(logger, kLevelTrace, kGreen,
                        "%s*** WARNING *** The test is VERY long.  TURN OFF POWER SAVING OR STANDBY MODE", kPrefix);
                    ForEachReportedSize(caps, runStep);
                }
            }
        }
        FormatInto(expected, sizeof expected, "Pass all %d testes", total);
        if (overall == Pass)
            FormatInto(actual, sizeof actual, "PASS::  All %d testes passed", total);
        else
            FormatInto(actual, sizeof actual, "FAIL::  Total: %d, Passed: %d, Failed %d", total, passed, failed);
    }

    Log(logger, kLevelProgress, kGreen, "%s===== SUMMARY =====", kPrefix);
    Log(logger, kLevelProgress, kGreen, "%sDescription:%s", kPrefix, kSummaryDescription);
    Log(logger, kLevelProgress, kGreen, "%sExpected   :%s", kPrefix, expected);
    Log(logger, kLevelProgress, kGreen, "%sActual     :%s", kPrefix, actual);
    Log(logger, kLevelProgress, kGreen, "%s===== END OF SUMMARY =====", kPrefix);
    Log(logger, kLevelTrace, kGreen, "%sReport Final Result", kPrefix);
    Report(testId ? testId : "", testId ? testId : "", overall, kSummaryDescription, expected, actual);
    Log(logger, kLevelTrace, kGreen, "%sVideoSizeTestHandler() Exited", kPrefix);
}

CDecoder::CapsSetup CDecoder::PrepareCapabilityRecords(const char* prefix, int32_t& count) {
    CLogManager* logger = m_pGBuilder->m_pLogger;
    const std::shared_ptr<port::IAMStreamConfig>& config = m_pGBuilder->StreamConfig();
    int32_t recordSize = 0;
    count = 0;
    if (!config || config->GetNumberOfCapabilities(&count, &recordSize) != kSOk) {
        Log(logger, kLevelFailure, kRed, "%sGetNumberOfCapabilities() Failed", prefix);
        return CapsSetup::NoCount;
    }
    if (recordSize != static_cast<int32_t>(kRecordSize)) {
        Log(logger, kLevelFailure, kRed, "%sInvalid returned sizes by GetNumberOfCapabilities()", prefix);
        return CapsSetup::BadRecordSize;
    }
    if (!AllocateCapabilityRecords(count)) {
        Log(logger, kLevelFailure, kRed, "%sNot enough memory for m_pVStreamConfigCaps[]", prefix);
        return CapsSetup::NoMemory;
    }
    return CapsSetup::Ready;
}

bool CDecoder::AllocateCapabilityRecords(int32_t count) {
    if (count < 0) return false;
    try {
        m_pVStreamConfigCaps = std::make_unique<uint8_t[]>(static_cast<size_t>(count) * kRecordSize);
    } catch (const std::bad_alloc&) {
        m_pVStreamConfigCaps.reset();
        return false;
    }
    return true;
}

// One size: stop the graph, set the size, run the graph and check that every
// row of both overlay buffers shows picture. A stop or a size that fails is
// reported with the status the step before left, and counted nowhere.
void CDecoder::SizeStep(const char* testId, VideoSize size, int32_t step, int32_t& status, int32_t& total,
                        int32_t& passed, int32_t& failed) {
    CLogManager* logger = m_pGBuilder->m_pLogger;
    const std::shared_ptr<port::IAMStreamConfig>& config = m_pGBuilder->StreamConfig();
    Log(logger, kLevelProgress, kGreen, "%sRunning for Step (%d).  Testing Size %dx%d ... ", kPrefix, step, size.width,
        size.height);
    port::VideoMediaType format;
    config->GetFormat(format);
    Log(logger, kLevelTrace, kGreen, "%sGet Format", kPrefix);
    Log(logger, kLevelTrace, kGreen, "%sStop Graph", kPrefix);
    bool changed = false;
    if (RunGraph(0)) {
        Wait(kGraphWaitMs);
        format.width = size.width;
        format.height = size.height;
        changed = config->SetFormat(format) >= 0;
    }
    if (changed) {
        Log(logger, kLevelTrace, kGreen, "%sChanged Size to %dx%d successfully", kPrefix, size.width, size.height);
        Log(logger, kLevelTrace, kGreen, "%sWait for a bit ... ", kPrefix);
        Wait(kGraphWaitMs);
        Log(logger, kLevelTrace, kGreen, "%sRun Graph", kPrefix);
        RunGraph(1);
        Wait(kGraphWaitMs);
        Log(logger, kLevelTrace, kGreen, "%sChecking buffer status ... ", kPrefix);
        if (VerifyBufferState(1)) {
            status = Pass;
            ++passed;
        } else {
            status = Fail;
            ++failed;
        }
        ++total;
    }

    char description[256], stepId[32], actual[256];
    FormatInto(description, sizeof description, "Test Video Size  %d x %d", size.width, size.height);
    FormatInto(stepId, sizeof stepId, "%d", step);
    FormatInto(actual, sizeof actual,
               status == Pass ? "PASS::Test Video Size  %d x %d" : "FAIL::Test Video Size  %d x %d", size.width,
               size.height);
    const int32_t level = status == Pass ? kLevelPassNote : kLevelFailure;
    const uint32_t colour = status == Pass ? kGreen : kRed;
    Log(logger, level, colour, "%sDescription:%s", kPrefix, description);
    Log(logger, level, colour, "%sExpected   :%s", kPrefix, "PASS");
    Log(logger, level, colour, "%sActual     :%s", kPrefix, actual);
    Log(logger, level, colour, "%sReport Result for Step (%d)", kPrefix, step);
    Report(testId, stepId, status, description, "PASS", actual);
}

}  // namespace orbex
