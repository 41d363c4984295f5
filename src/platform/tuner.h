// The tuner, the crossbar, the board's channel-scan object and the VBI
// analyzer, as COM-style ports. Numbers the platform declares as long are
// 32-bit here, as they are on Windows.
#pragma once

#include <memory>

#include "platform/com.h"
#include "platform/media.h"
#include "platform/types.h"

namespace orbex::port {

// The TV tuner interface of a tuner filter (IAMTVTuner): the calls the system makes.
class IAMTVTuner : public IComObject {
public:
    virtual HResult get_AvailableTVFormats(int32_t* standards) = 0;  // AnalogVideoStandard bits
    virtual HResult get_AvailableModes(int32_t* modes) = 0;          // AMTunerModeType bits
    virtual HResult get_CountryCode(int32_t* code) = 0;
    // The channel and its video and audio sub-channels; -1 sub-channels mean the defaults.
    virtual HResult get_Channel(int32_t* channel, int32_t* videoSubChannel, int32_t* audioSubChannel) = 0;
    virtual HResult put_Channel(int32_t channel, int32_t videoSubChannel, int32_t audioSubChannel) = 0;
};
constexpr int32_t kTunerModeTv = 0x1;
constexpr int32_t kTunerModeFmRadio = 0x2;
constexpr int32_t kTunerModeAmRadio = 0x4;

// The analog video crossbar (IAMCrossbar).
class IAMCrossbar : public IComObject {
public:
    virtual HResult get_PinCounts(int32_t* outputCount, int32_t* inputCount) = 0;
    // S_OK when the output can take the input, S_FALSE when it cannot.
    virtual HResult CanRoute(int32_t output, int32_t input) = 0;
    virtual HResult Route(int32_t output, int32_t input) = 0;
    // The input routed to the output; -1 when none.
    virtual HResult get_IsRoutedTo(int32_t output, int32_t* input) = 0;
};

// The progress callback of a channel scan: progress in percent (low 16 bits),
// whether a channel was just tuned, and where the answer "locked" (1) or not (0)
// goes. Returns 1 to go on. The platform's standard calling convention.
using ScanProgressFn = int16_t(ORBEX_STDCALL*)(int32_t progress, int32_t tuned, int32_t* locked);

// The board's linear channel-scan object, QelAnalogLCS (IQelAnalogLCS): the
// three operations the system calls (method slots 3, 4 and 9).
class IQelAnalogLCS : public IComObject {
public:
    virtual HResult Connect(const std::shared_ptr<IBaseFilter>& tuner) = 0;
    // Tunes every channel of the country's table in turn; returns when done.
    virtual HResult AutoTune(ScanProgressFn callback) = 0;
    virtual HResult SetCountryCode(int32_t code) = 0;
};

// The VBI analyzer filter's interface (IVBIAnalyzer): its second method. The
// six pointers point to byte offsets 0, 8, 16, 24, 32 and 40 of one 120-byte
// result record the caller owns.
constexpr int kVbiRecordSize = 120;
constexpr int kVbiRecordLineOffset = 100;  // int32: odd-field line that carried captions
class IVBIAnalyzer : public IComObject {
public:
    virtual HResult GetVBIData(uint8_t* p0, uint8_t* p8, uint8_t* p16, uint8_t* p24, uint8_t* p32, uint8_t* p40) = 0;
};

}  // namespace orbex::port
