#include "platform/win32/tuner_wrappers.h"

// clang-format off
#include <windows.h>
#include <dshow.h>
// clang-format on

#include "platform/guids.h"
#include "platform/tuner.h"
#include "platform/win32/channel_scan_abi.h"
#include "platform/win32/com_wrapper.h"
#include "platform/win32/vbi_analyzer_abi.h"

namespace orbex::win32 {
namespace {

using detail::HasRaw;
using detail::LongOut;
using detail::ThroughLong;
using detail::Wrapper;

static_assert(port::kTunerModeTv == AMTUNER_MODE_TV && port::kTunerModeFmRadio == AMTUNER_MODE_FM_RADIO &&
              port::kTunerModeAmRadio == AMTUNER_MODE_AM_RADIO);

class TvTunerWrapper final : public port::IAMTVTuner, public HasRaw, Wrapper<::IAMTVTuner> {
public:
    ORBEX_WRAPPER_BASICS(::IAMTVTuner)
    HResult get_AvailableTVFormats(int32_t* standards) override {
        return ThroughLong(standards, [&](LONG* v) { return m_raw->get_AvailableTVFormats(v); });
    }
    HResult get_AvailableModes(int32_t* modes) override {
        return ThroughLong(modes, [&](LONG* v) { return m_raw->GetAvailableModes(v); });
    }
    HResult get_CountryCode(int32_t* code) override {
        return ThroughLong(code, [&](LONG* v) { return m_raw->get_CountryCode(v); });
    }
    HResult get_Channel(int32_t* channel, int32_t* videoSubChannel, int32_t* audioSubChannel) override {
        LongOut c(channel), video(videoSubChannel), audio(audioSubChannel);
        HRESULT hr = m_raw->get_Channel(c.Get(), video.Get(), audio.Get());
        video.Back(hr);
        audio.Back(hr);
        return c.Back(hr);
    }
    HResult put_Channel(int32_t channel, int32_t videoSubChannel, int32_t audioSubChannel) override {
        return m_raw->put_Channel(channel, videoSubChannel, audioSubChannel);
    }
};

class CrossbarWrapper final : public port::IAMCrossbar, public HasRaw, Wrapper<::IAMCrossbar> {
public:
    ORBEX_WRAPPER_BASICS(::IAMCrossbar)
    HResult get_PinCounts(int32_t* outputCount, int32_t* inputCount) override {
        LongOut outputs(outputCount), inputs(inputCount);
        HRESULT hr = m_raw->get_PinCounts(outputs.Get(), inputs.Get());
        inputs.Back(hr);
        return outputs.Back(hr);
    }
    HResult CanRoute(int32_t output, int32_t input) override { return m_raw->CanRoute(output, input); }
    HResult Route(int32_t output, int32_t input) override { return m_raw->Route(output, input); }
    HResult get_IsRoutedTo(int32_t output, int32_t* input) override {
        return ThroughLong(input, [&](LONG* v) { return m_raw->get_IsRoutedTo(output, v); });
    }
};

class ChannelScanWrapper final : public port::IQelAnalogLCS, public HasRaw, Wrapper<IQelAnalogLcsAbi> {
public:
    ORBEX_WRAPPER_BASICS(IQelAnalogLcsAbi)
    // The object binds to the tuner filter itself, so only a wrapped DirectShow
    // filter can be handed on.
    HResult Connect(const std::shared_ptr<port::IBaseFilter>& tuner) override {
        auto* raw = static_cast<::IBaseFilter*>(RawOf(tuner));
        return raw ? m_raw->Connect(raw) : E_INVALIDARG;
    }
    HResult AutoTune(port::ScanProgressFn callback) override { return m_raw->AutoTune(callback); }
    HResult SetCountryCode(int32_t code) override { return m_raw->SetCountryCode(code); }
};

class VbiAnalyzerWrapper final : public port::IVBIAnalyzer, public HasRaw, Wrapper<IVbiAnalyzerAbi> {
public:
    ORBEX_WRAPPER_BASICS(IVbiAnalyzerAbi)
    HResult GetVBIData(uint8_t* p0, uint8_t* p8, uint8_t* p16, uint8_t* p24, uint8_t* p32, uint8_t* p40) override {
        return m_raw->GetVBIData(p0, p8, p16, p24, p32, p40);
    }
};

}  // namespace

port::ComPtr WrapTunerInterface(IUnknown* owned, const Guid& iid) {
    if (!owned) return nullptr;
    if (iid == guids::kIidAmTvTuner) return std::make_shared<TvTunerWrapper>(reinterpret_cast<::IAMTVTuner*>(owned));
    if (iid == guids::kIidAmCrossbar) return std::make_shared<CrossbarWrapper>(reinterpret_cast<::IAMCrossbar*>(owned));
    if (iid == guids::kIidQelAnalogLcs)
        return std::make_shared<ChannelScanWrapper>(reinterpret_cast<IQelAnalogLcsAbi*>(owned));
    if (iid == guids::kIidVbiAnalyzer)
        return std::make_shared<VbiAnalyzerWrapper>(reinterpret_cast<IVbiAnalyzerAbi*>(owned));
    return nullptr;
}

}  // namespace orbex::win32
