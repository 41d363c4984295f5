#include "platform/win32/stream_wrappers.h"

// clang-format off
#include <windows.h>
#include <dshow.h>
// clang-format on

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/analyzer.h"
#include "platform/guids.h"
#include "platform/stream_config.h"
#include "platform/video_window.h"
#include "platform/win32/com_wrapper.h"
#include "platform/win32/process_exit.h"
#include "platform/win32/video_analyzer_abi.h"

namespace orbex::win32 {
namespace {

using detail::HasRaw;
using detail::Wrapper;

static_assert(sizeof(VIDEO_STREAM_CONFIG_CAPS) == port::kVideoStreamConfigCapsSize);
static_assert(port::kWsChild == static_cast<int32_t>(WS_CHILD) && port::kOaTrue == OATRUE && port::kOaFalse == OAFALSE);

// Frees a media type that DirectShow allocated: its format block, its
// object, then the structure itself; at process exit nothing (process_exit.h).
void DeleteMediaType(AM_MEDIA_TYPE* type) {
    if (!type || ProcessIsExiting()) return;
    if (type->cbFormat != 0 && type->pbFormat) CoTaskMemFree(type->pbFormat);
    if (type->pUnk) type->pUnk->Release();
    CoTaskMemFree(type);
}

// The fields the system uses; a format block that is not a whole
// VIDEOINFOHEADER leaves the picture fields at zero.
port::VideoMediaType FromMediaType(const AM_MEDIA_TYPE& type) {
    port::VideoMediaType out;
    out.majorType = FromGuid(type.majortype);
    out.subtype = FromGuid(type.subtype);
    out.formatType = FromGuid(type.formattype);
    if (IsEqualGUID(type.formattype, FORMAT_VideoInfo) && type.pbFormat && type.cbFormat >= sizeof(VIDEOINFOHEADER)) {
        VIDEOINFOHEADER info;
        std::memcpy(&info, type.pbFormat, sizeof info);
        out.avgTimePerFrame = info.AvgTimePerFrame;
        out.width = info.bmiHeader.biWidth;
        out.height = info.bmiHeader.biHeight;
        out.bitCount = info.bmiHeader.biBitCount;
        out.compression = info.bmiHeader.biCompression;
        out.sizeImage = info.bmiHeader.biSizeImage;
    }
    return out;
}

class StreamConfigWrapper final : public port::IAMStreamConfig, public HasRaw, Wrapper<::IAMStreamConfig> {
public:
    ORBEX_WRAPPER_BASICS(::IAMStreamConfig)
    HResult SetFormat(const port::VideoMediaType& format) override {
        VIDEOINFOHEADER info{};
        info.AvgTimePerFrame = format.avgTimePerFrame;
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = format.width;
        info.bmiHeader.biHeight = format.height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = format.bitCount;
        info.bmiHeader.biCompression = format.compression;
        info.bmiHeader.biSizeImage = format.sizeImage;
        AM_MEDIA_TYPE type{};
        type.majortype = ToGuid(format.majorType);
        type.subtype = ToGuid(format.subtype);
        type.formattype = ToGuid(format.formatType);
        type.bFixedSizeSamples = TRUE;
        type.lSampleSize = format.sizeImage;
        type.cbFormat = sizeof info;
        type.pbFormat = reinterpret_cast<BYTE*>(&info);
        return m_raw->SetFormat(&type);
    }
    HResult GetFormat(port::VideoMediaType& format) override {
        format = {};
        AM_MEDIA_TYPE* type = nullptr;
        HRESULT hr = m_raw->GetFormat(&type);
        if (SUCCEEDED(hr) && type) format = FromMediaType(*type);
        DeleteMediaType(type);
        return hr;
    }
    HResult GetNumberOfCapabilities(int32_t* count, int32_t* recordSize) override {
        int c = count ? *count : 0, s = recordSize ? *recordSize : 0;
        HRESULT hr = m_raw->GetNumberOfCapabilities(count ? &c : nullptr, recordSize ? &s : nullptr);
        if (count) *count = c;
        if (recordSize) *recordSize = s;
        return hr;
    }
    // The driver writes a whole record of the size it declares, so it gets a
    // buffer of that size (at least the standard 128 bytes); the caller gets
    // as much of it as its span holds.
    HResult GetStreamCaps(int32_t index, port::VideoMediaType& format, std::span<uint8_t> caps) override {
        format = {};
        int count = 0, size = 0;
        HRESULT hr = m_raw->GetNumberOfCapabilities(&count, &size);
        if (FAILED(hr)) return hr;
        constexpr int kLargestRecord = 1 << 16;
        if (size > kLargestRecord) return E_UNEXPECTED;
        std::vector<BYTE> record(
            std::max<size_t>(static_cast<size_t>(std::max(size, 0)), port::kVideoStreamConfigCapsSize));
        AM_MEDIA_TYPE* type = nullptr;
        hr = m_raw->GetStreamCaps(index, &type, record.data());
        if (hr == S_OK && type) format = FromMediaType(*type);
        DeleteMediaType(type);
        if (hr == S_OK) {
            size_t written = std::min(record.size(), static_cast<size_t>(std::max(size, 0)));
            std::memcpy(caps.data(), record.data(), std::min(written, caps.size()));
        }
        return hr;
    }
};

// The video renderer's window. The renderer's destructor detaches and hides
// it; at process exit quartz and its window thread are gone, so the calls
// are answered E_UNEXPECTED without reaching it (process_exit.h).
class VideoWindowWrapper final : public port::IVideoWindow, public HasRaw, Wrapper<::IVideoWindow> {
public:
    ORBEX_WRAPPER_BASICS(::IVideoWindow)
    HResult put_Owner(port::WindowHandle owner) override {
        return ProcessIsExiting() ? E_UNEXPECTED : m_raw->put_Owner(static_cast<OAHWND>(owner));
    }
    HResult put_WindowStyle(int32_t style) override {
        return ProcessIsExiting() ? E_UNEXPECTED : m_raw->put_WindowStyle(style);
    }
    HResult SetWindowPosition(int32_t left, int32_t top, int32_t width, int32_t height) override {
        return ProcessIsExiting() ? E_UNEXPECTED : m_raw->SetWindowPosition(left, top, width, height);
    }
    HResult put_Visible(int32_t visible) override {
        return ProcessIsExiting() ? E_UNEXPECTED : m_raw->put_Visible(visible);
    }
};

class VideoAnalyzerWrapper final : public port::IVideoAnalyzer, public HasRaw, Wrapper<IVideoAnalyzerAbi> {
public:
    ORBEX_WRAPPER_BASICS(IVideoAnalyzerAbi)
    HResult GetMeasurement(uint8_t* p0, uint8_t* p8, uint8_t* p16, uint8_t* p24, uint8_t* p32, uint8_t* p40) override {
        return m_raw->GetMeasurement(p0, p8, p16, p24, p32, p40);
    }
};

}  // namespace

port::ComPtr WrapStreamInterface(IUnknown* owned, const Guid& iid) {
    if (!owned) return nullptr;
    if (iid == guids::kIidAmStreamConfig)
        return std::make_shared<StreamConfigWrapper>(reinterpret_cast<::IAMStreamConfig*>(owned));
    if (iid == guids::kIidVideoAnalyzer)
        return std::make_shared<VideoAnalyzerWrapper>(reinterpret_cast<IVideoAnalyzerAbi*>(owned));
    if (iid == guids::kIidVideoWindow)
        return std::make_shared<VideoWindowWrapper>(reinterpret_cast<::IVideoWindow*>(owned));
    return nullptr;
}

}  // namespace orbex::win32
