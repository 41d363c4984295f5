// The test object of the video decoder device class: holds the graph's decoder
// filter and its analog-video-decoder interface, and runs the decoder tests.
#pragma once

#include <cstdint>
#include <memory>

#include "cases/decoder/buffer_status.h"
#include "cases/decoder/video_sizes.h"
#include "platform/ports.h"
#include "report/log_file.h"

namespace orbex {

class COrbGBuilder;

// Standard groups of the group-driven tests, and the family mask bit of each.
constexpr uint32_t kGroup525 = 0x00A03;
constexpr uint32_t kGroupPal625 = 0x005E0;
constexpr uint32_t kGroupSecam = 0xFF000;
constexpr uint32_t kLastStandardBit = 0x80000;

class CDecoder {
public:
    static constexpr int kExpectedStandardEntries = 15;

    explicit CDecoder(COrbGBuilder* gBuilder) : m_pGBuilder(gBuilder) {}
    virtual ~CDecoder();
    CDecoder(const CDecoder&) = delete;
    CDecoder& operator=(const CDecoder&) = delete;

    int32_t InitDecoder(CLogFile* logFile, int32_t reserved, int32_t decoderType, COrbGBuilder* gBuilder);
    int32_t ExecuteTest(const char* testId, int32_t testCode, int32_t parameter);
    // The TV standard the decoder is set to.
    int32_t VideoStandard() const { return m_videoStandard; }
    int32_t CheckForSignal();
    int32_t IsSignalLocked();

    // Signal lock and line detection
    int32_t LineDetectionTest(const char* testId, int32_t parameter);
    int32_t HorizontalLockTest(const char* testId, int32_t parameter);

    // Overlay buffers and video memory
    HResult ClearCaptureBuffers(int32_t which);
    HResult GetBufferStatus(BufferStatus* status, int32_t mode);
    bool VerifyBufferState(int32_t expectedState);
    int32_t Test_MemoryLeak();

    // The family mask of a group-driven test: the parameter, or the tuner's standard class.
    uint32_t FamilyMask(int32_t parameter) const;

private:
    int32_t SupportedStandardTest(const char* testId);
    int32_t OutputEnableTest(const char* testId);
    int32_t SetSupportedStandardsTest(const char* testId);
    int32_t VideoFrameRateTestHandler(const char* testId);
    int32_t FrameRateStep(const char* testId, double rate, int32_t step, double& measured, int32_t& total,
                          int32_t& passed, int32_t& failed);
    // Video size test: size mode 2 tries the predefined table, 1 every reported size.
    void VideoSizeTestHandler(const char* testId, int32_t sizeMode, int32_t parameter);
    void SizeStep(const char* testId, VideoSize size, int32_t step, int32_t& status, int32_t& total, int32_t& passed,
                  int32_t& failed);
    bool AllocateCapabilityRecords(int32_t count);
    // Why the capability records cannot be read, if they cannot.
    enum class CapsSetup { Ready, NoCount, BadRecordSize, NoMemory };
    // Counts the stream's capability records and allocates room for them;
    // logs why not (with the handler's prefix) when that fails.
    CapsSetup PrepareCapabilityRecords(const char* prefix, int32_t& count);
    // Runs (1) or stops (0) the graph through its media control; true on a non-negative result.
    bool RunGraph(int32_t run);
    bool LoadTestBox();
    void WriteTestBox(uint32_t value);
    void Report(const char* testId, const char* step, int32_t status, const char* description, const char* expected,
                const char* actual);
    void Wait(uint32_t milliseconds);

    CLogFile* m_pLogFile = nullptr;
    int32_t m_reserved = 0;
    int32_t m_decoderType = 0;
    COrbGBuilder* m_pGBuilder = nullptr;
    std::shared_ptr<port::IBaseFilter> m_pDecoderFilter;
    std::shared_ptr<port::IAMAnalogVideoDecoder> m_pDecoder;
    int32_t m_filterIndex = -1;
    int32_t m_availableStandards = 0;
    int32_t m_outputEnable = 0;
    uint32_t m_expectedStandards[kExpectedStandardEntries] = {};
    int32_t m_savedStandard = 0;
    std::unique_ptr<uint8_t[]> m_pVStreamConfigCaps;  // capability records of the size and rate tests
    port::LibraryHandle m_pTestBoxLibrary = nullptr;
    uint32_t m_testBoxHandle = 0;
    port::CctbOpenFn m_pBoxOpen = nullptr;
    port::CctbCloseFn m_pBoxClose = nullptr;
    port::CctbWriteFn m_pBoxWrite = nullptr;
    int32_t m_videoStandard = 0;
};

// Whether a standard bit takes part in a group-driven test with this family mask.
bool StandardInFamily(uint32_t standard, uint32_t familyMask);
// The deviation of a measured frame rate from the one set, in percent (the
// difference truncated toward zero to whole frames per second first).
double FrameRateDeviation(double measured, double rate);

}  // namespace orbex
