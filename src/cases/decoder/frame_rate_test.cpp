// The frame rate test (test code 300): each rate of a list set on the capture
// stream, the graph run, and the rate the video analyzer measured compared
// with the one set.
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "cases/decoder/decoder.h"
#include "cases/stream/analyzer.h"
#include "common/format.h"
#include "graph/orb_gbuilder.h"
#include "report/test_status.h"

namespace orbex {
namespace {
constexpr const char* kPrefix = "CDecoder::VideoFrameRateTestHandler()::";
constexpr double kTolerancePercent = 15.0;
constexpr uint32_t kSettleMs = 5000;  // after the last run command, an OS sleep
constexpr uint32_t kGraphWaitMs = 150;
constexpr int64_t kUnitsPerSecond = 10'000'000;  // frame time unit: 100 ns
constexpr int32_t kMeasureWidth = 320, kMeasureHeight = 240, kMeasureSeconds = 5;
constexpr size_t kRecordSize = port::kVideoStreamConfigCapsSize;

std::vector<double> FrameRates(uint8_t standardClass) {
    if (standardClass == 1) return {5.0, 10.0, 15.0, 20.0, 29.98};
    return {16.67, 25.0};
}
}  // namespace

double FrameRateDeviation(double measured, double rate) {
    double difference = std::trunc(measured - rate);
    return std::fabs(difference) * 100.0 / rate;
}

int32_t CDecoder::VideoFrameRateTestHandler(const char* testId) {
    CLogManager* logger = m_pGBuilder->m_pLogger;
    const std::vector<double> rates = FrameRates(m_pGBuilder->BoardInfo().GetTunerStandardClass(0));
    Log(logger, kLevelTrace, kGreen, "%sVideoFrameRateTestHandler() Entered", kPrefix);
    int32_t overall = Pass;
    int32_t total = 0, passed = 0, failed = 0;
    char expected[256] = "", actual[256] = "";

    if (!m_pDecoder || !testId || !testId[0]) {
        overall = NoRun;
        CopyText(expected, sizeof expected, "PASS");
        CopyText(actual, sizeof actual, "NO RUN::Decoder failed to load OR invalid TestID");
        Log(logger, kLevelNoRun, kBlack, "%s<NO RUN> Decoder failed to load OR invalid TestID", kPrefix);
    } else {
        const std::shared_ptr<port::IAMStreamConfig>& config = m_pGBuilder->StreamConfig();
        int32_t count = 0;
        // Records that cannot be counted fail the test; a lack of memory does not.
        CapsSetup setup = PrepareCapabilityRecords(kPrefix, count);
        if (setup == CapsSetup::NoCount || setup == CapsSetup::BadRecordSize) overall = Fail;
        if (setup == CapsSetup::Ready) {
            int32_t step = 1;
            double measured = 0;  // the last measurement, for a step that ends early
            for (int32_t index = 0; index < count; ++index) {
                std::span<uint8_t> bytes(m_pVStreamConfigCaps.get() + static_cast<size_t>(index) * kRecordSize,
                                         kRecordSize);
                port::VideoMediaType capsFormat;
                config->GetStreamCaps(index, capsFormat, bytes);
                Log(logger, kLevelTrace, kGreen, "%sTesting against a predefined frame rate list", kPrefix);
                for (double rate : rates) {
                    int32_t status = FrameRateStep(testId, rate, step, measured, total, passed, failed);
                    if (status == Fail) overall = Fail;
                    ++step;
                }
            }
        }
        FormatInto(expected, sizeof expected, "All Rates should within %.2lf%% of their expected rates.",
                   kTolerancePercent);
        if (overall == Pass)
            FormatInto(actual, sizeof actual, "PASS::  All %d testes passed", total);
        else
            FormatInto(actual, sizeof actual, "FAIL::  Total: %d, Passed: %d, Failed %d", total, passed, failed);
    }

    char description[256];
    FormatInto(description, sizeof description, "Video Frame Rate Test (%dx%d) for (%d) sec", kMeasureWidth,
               kMeasureHeight, kMeasureSeconds);
    Log(logger, kLevelProgress, kGreen, "%s===== SUMMARY =====", kPrefix);
    Log(logger, kLevelProgress, kGreen, "%sDescription:%s", kPrefix, description);
    Log(logger, kLevelProgress, kGreen, "%sExpected   :%s", kPrefix, expected);
    Log(logger, kLevelProgress, kGreen, "%sActual     :%s", kPrefix, actual);
    Log(logger, kLevelProgress, kGreen, "%s===== END OF SUMMARY =====", kPrefix);
    Log(logger, kLevelTrace, kGreen, "%sReport Final Result", kPrefix);
    Report(testId ? testId : "", testId ? testId : "", overall, description, expected, actual);
    Log(logger, kLevelTrace, kGreen, "%sVideoFrameRateTestHandler() Exited", kPrefix);
    return overall;
}

// One rate: stop, set the rate, run (run, stop, run), let it settle, read the
// analyzer. A stop or a rate that fails ends the step as a failure counted nowhere.
int32_t CDecoder::FrameRateStep(const char* testId, double rate, int32_t step, double& measured, int32_t& total,
                                int32_t& passed, int32_t& failed) {
    CLogManager* logger = m_pGBuilder->m_pLogger;
    const std::shared_ptr<port::IAMStreamConfig>& config = m_pGBuilder->StreamConfig();
    Log(logger, kLevelProgress, kGreen, "%sRunning for Step (%d).  Testing Frame Rate for %.2lffps", kPrefix, step,
        rate);
    Log(logger, kLevelTrace, kGreen, "%sGet Fromat", kPrefix);
    port::VideoMediaType format;
    config->GetFormat(format);
    Log(logger, kLevelTrace, kGreen, "%sStop Graph", kPrefix);
    int32_t status = Fail;
    bool ran = false;
    if (RunGraph(0)) {
        Wait(kGraphWaitMs);
        format.avgTimePerFrame = static_cast<int64_t>(static_cast<double>(kUnitsPerSecond) / rate);
        if (config->SetFormat(format) >= 0) {
            Log(logger, kLevelTrace, kGreen, "%sSet Frame Rate=%.2lffps", kPrefix, rate);
            Wait(kGraphWaitMs);
            Log(logger, kLevelTrace, kGreen, "%sRun Graph", kPrefix);
            RunGraph(1);
            Wait(kGraphWaitMs);
            RunGraph(0);
            Wait(kGraphWaitMs);
            RunGraph(1);
            m_pGBuilder->Platform().Clock().Sleep(kSettleMs);
            Log(logger, kLevelTrace, kGreen, "%sGet result from video analyzer", kPrefix);
            AnalyzerMeasurement measurement;
            measured = 0;
            if (CAnalyzer* analyzer = m_pGBuilder->Analyzer()) {
                analyzer->GetMeasurement(&measurement);
                measured = measurement.FrameRate();
            }
            ran = true;
        }
    }
    if (ran) {
        if (FrameRateDeviation(measured, rate) < kTolerancePercent) {
            status = Pass;
            ++passed;
        } else {
            ++failed;
        }
        ++total;
    }

    char description[256], stepId[32], expectedText[256], actual[256];
    FormatInto(description, sizeof description, "Set Frame Rate for %dx%d in %d sec to %.2lf fps", kMeasureWidth,
               kMeasureHeight, kMeasureSeconds, rate);
    FormatInto(stepId, sizeof stepId, "%d", step);
    FormatInto(expectedText, sizeof expectedText, "Frame rate %.2lf fps", rate);
    if (status == Pass)
        FormatInto(actual, sizeof actual, "PASS::Frame Rate=%.2lffps within %.2lf%% of the expected rate.", measured,
                   kTolerancePercent);
    else
        FormatInto(actual, sizeof actual, "FAIL::Frame Rate=%.2lffps exceed %.2lf%% of the expected rate.", measured,
                   kTolerancePercent);
    const int32_t level = status == Pass ? kLevelPassNote : kLevelFailure;
    const uint32_t colour = status == Pass ? kGreen : kRed;
    Log(logger, level, colour, "%sDescription:%s", kPrefix, description);
    Log(logger, level, colour, "%sExpected   :%s", kPrefix, expectedText);
    Log(logger, level, colour, "%sActual     :%s", kPrefix, actual);
    Log(logger, level, colour, "%sReport Result for Step (%d)", kPrefix, step);
    Report(testId, stepId, status, description, expectedText, actual);
    return status;
}

}  // namespace orbex
