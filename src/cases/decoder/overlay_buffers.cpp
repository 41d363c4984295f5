// The decoder's operations on the overlay buffers and the video memory test.
#include <algorithm>

#include "cases/decoder/decoder.h"
#include "cases/decoder/overlay_mixer.h"
#include "graph/filter_entry.h"
#include "graph/orb_gbuilder.h"
#include "platform/guids.h"
#include "report/test_status.h"

namespace orbex {
namespace {

constexpr const char* kMemoryPrefix = "CDecoder::Test_MemoryLeak()>  ";

// Byte counts print as the platform's 32-bit long does, on every build.
long AsLong(uint32_t bytes) {
    return static_cast<long>(static_cast<int32_t>(bytes));
}

// Runs an operation of the overlay mixer if the graph's preview or capture
// pin is connected; the result is that of the connected pin's information query.
template <class Operation>
HResult WithOverlayMixer(COrbGBuilder& gBuilder, CLogFile* logFile, Operation operation) {
    port::ComPtr found;
    if (gBuilder.FindInterface(guids::kIidPin, found) != 0) return kEFail;
    auto pin = port::ComCast<port::IPin>(found);
    if (!pin) return kENoInterface;
    std::shared_ptr<port::IPin> connected;
    HResult hr = pin->ConnectedTo(connected);
    if (!Succeeded(hr) || !connected) return Succeeded(hr) ? kEPointer : hr;
    port::PinInfo info;
    hr = connected->QueryPinInfo(info);
    if (!Succeeded(hr)) return hr;
    COverlayMixer mixer(logFile, &gBuilder);
    operation(mixer);
    return hr;
}

}  // namespace

HResult CDecoder::ClearCaptureBuffers(int32_t which) {
    return WithOverlayMixer(*m_pGBuilder, m_pLogFile, [&](COverlayMixer& mixer) { mixer.ClearBuffers(which); });
}

HResult CDecoder::GetBufferStatus(BufferStatus* status, int32_t mode) {
    return WithOverlayMixer(*m_pGBuilder, m_pLogFile,
                            [&](COverlayMixer& mixer) { mixer.CheckBufferStatus(status, mode); });
}

bool CDecoder::VerifyBufferState(int32_t expectedState) {
    if (!m_pDecoder || m_pDecoder->put_OutputEnable(0) != kSOk) return false;
    ClearCaptureBuffers(kBothBuffers);
    Wait(500);
    if (m_pDecoder->put_OutputEnable(1) != kSOk) return false;
    Wait(500);
    if (m_pDecoder->put_OutputEnable(0) != kSOk) return false;
    BufferStatus buffers{};
    GetBufferStatus(&buffers, 2);
    bool result = buffers.front.state == static_cast<uint32_t>(expectedState) &&
                  buffers.back.state == static_cast<uint32_t>(expectedState);
    m_pDecoder->put_OutputEnable(1);
    return result;
}

int32_t CDecoder::Test_MemoryLeak() {
    const char* testId = m_pGBuilder->Id().testIdText;
    char expected[256] = "", actual[256] = "";
    m_pGBuilder->SetGraphState(0);
    Wait(150);

    auto measure = [&]() -> int32_t {
        uint32_t totalBefore = 0, freeBefore = 0, totalDuring = 0, freeDuring = 0, totalAfter = 0, freeAfter = 0;
        if (m_pGBuilder->GetVideoMemory(&totalBefore, &freeBefore) != 0) {
            CopyText(expected, sizeof expected, "Able to get available vide memory.");
            CopyText(actual, sizeof actual, "[NoRun]**** Unable to get available vide memory.");
            return NoRun;
        }
        std::shared_ptr<port::IBaseFilter> mixer;
        m_pGBuilder->GetFilterByType(kFilterOverlayMixer, mixer);
        if (!mixer) {
            CopyText(expected, sizeof expected, "Overlay mixer exist.");
            CopyText(actual, sizeof actual, "[NoRun]**** No overlay mixer found.");
            return NoRun;
        }
        if (m_pGBuilder->ConnectPins(m_pDecoderFilter, mixer, 2, 1) != 0) {
            CopyText(expected, sizeof expected, "Able to connect decoder to overlay mixer.");
            CopyText(actual, sizeof actual, "[NoRun]**** Failed to connect from decoder pin2 to overlay mixer pin1.");
            return NoRun;
        }
        m_pGBuilder->SetGraphState(1);
        // A negative duration runs the graph for no time; seconds beyond the
        // 32-bit millisecond range are cut to it.
        int64_t milliseconds = std::clamp<int64_t>(int64_t{m_pGBuilder->TestDuration()} * 1000, 0, UINT32_MAX);
        Wait(static_cast<uint32_t>(milliseconds));
        m_pGBuilder->GetVideoMemory(&totalDuring, &freeDuring);
        m_pGBuilder->SetGraphState(0);
        if (m_pGBuilder->DisconnectPins(m_pDecoderFilter, mixer, 2, 1) != 0) {
            CopyText(expected, sizeof expected, "Able to disconnect decoder from overlay mixer.");
            CopyText(actual, sizeof actual,
                     "[NoRun]**** Failed to disconnect from decoder pin3 to overlay mixer pin1.");
            return NoRun;
        }
        if (m_pGBuilder->GetVideoMemory(&totalAfter, &freeAfter) != 0) {
            CopyText(expected, sizeof expected, "Able to get available vide memory.");
            CopyText(actual, sizeof actual, "[NoRun]**** Unable to get available vide memory after disconnection.");
            return NoRun;
        }
        CopyText(expected, sizeof expected, "Video memory is the same before and after the test.");
        bool same = totalBefore == totalAfter && freeBefore == freeAfter;
        FormatInto(actual, sizeof actual,
                   same ? "[Pass] Video Memory: Total=%ld, Free(Before=%ld; Execute=%ld; After=%ld) byte."
                        : "[Fail]**** Video Memory: Total=%ld, Free(Before=%ld; Execute=%ld; After=%ld) byte.",
                   AsLong(totalBefore), AsLong(freeBefore), AsLong(freeDuring), AsLong(freeAfter));
        return same ? Pass : Fail;
    };
    int32_t status = measure();

    Wait(150);
    m_pGBuilder->SetGraphState(1);
    if (status == Pass)
        Log(m_pGBuilder->m_pLogger, kLevelProgress, kGreen, "%s%s", kMemoryPrefix, actual);
    else
        Log(m_pGBuilder->m_pLogger, kLevelFailure, kRed, "%s%s", kMemoryPrefix, actual);
    Report(testId, testId, status, "Checking for memory leak on decoder.", expected, actual);
    return status;
}

}  // namespace orbex
