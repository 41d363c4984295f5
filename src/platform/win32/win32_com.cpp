#include "platform/win32/win32_com.h"

// clang-format off
#include <dshow.h>
#include <ddraw.h>
#include <ocidl.h>
// clang-format on

#include <cstring>
#include <type_traits>

#include "platform/guids.h"
#include "platform/win32/com_ref.h"
#include "platform/win32/com_wrapper.h"
#include "platform/win32/log_writer_abi.h"
#include "platform/win32/stream_wrappers.h"
#include "platform/win32/tuner_wrappers.h"

namespace orbex::win32 {

GUID ToGuid(const Guid& g) {
    GUID out;
    std::memcpy(&out, &g, sizeof out);
    return out;
}

Guid FromGuid(const GUID& g) {
    Guid out;
    std::memcpy(static_cast<void*>(&out), &g, sizeof out);
    return out;
}

namespace {

using detail::Adopt;
using detail::HasRaw;
using detail::ThroughLong;
using detail::Wrapper;

static_assert(sizeof(Guid) == sizeof(GUID));

class UnknownWrapper final : public port::IComObject, public HasRaw, Wrapper<IUnknown> {
public:
    ORBEX_WRAPPER_BASICS(IUnknown)
};

class PinWrapper final : public port::IPin, public HasRaw, Wrapper<::IPin> {
public:
    ORBEX_WRAPPER_BASICS(::IPin)
    HResult QueryPinInfo(port::PinInfo& out) override {
        out = {};
        PIN_INFO info{};
        HRESULT hr = m_raw->QueryPinInfo(&info);
        auto filter = std::static_pointer_cast<port::IBaseFilter>(Adopt(info.pFilter, guids::kIidBaseFilter));
        if (hr != S_OK) return hr;  // the filter's reference goes with the wrapper
        out.filter = std::move(filter);
        out.direction = info.dir == PINDIR_OUTPUT ? PinDirection::Output : PinDirection::Input;
        char name[MAX_PIN_NAME * 2] = {};
        WideCharToMultiByte(CP_ACP, 0, info.achName, -1, name, sizeof name - 1, nullptr, nullptr);
        out.name = name;
        return S_OK;
    }
    HResult ConnectedTo(std::shared_ptr<port::IPin>& out) override {
        out.reset();
        ::IPin* peer = nullptr;
        HRESULT hr = m_raw->ConnectedTo(&peer);
        out = Adopt<PinWrapper>(peer);
        return hr;
    }
};

class EnumPinsWrapper final : public port::IEnumPins, public HasRaw, Wrapper<::IEnumPins> {
public:
    ORBEX_WRAPPER_BASICS(::IEnumPins)
    HResult Next(std::shared_ptr<port::IPin>& out) override {
        out.reset();
        ::IPin* pin = nullptr;
        HRESULT hr = m_raw->Next(1, &pin, nullptr);
        out = Adopt<PinWrapper>(pin);
        return hr;
    }
    HResult Reset() override { return m_raw->Reset(); }
};

class FilterWrapper final : public port::IBaseFilter, public HasRaw, Wrapper<::IBaseFilter> {
public:
    ORBEX_WRAPPER_BASICS(::IBaseFilter)
    HResult EnumPins(std::shared_ptr<port::IEnumPins>& out) override {
        out.reset();
        ::IEnumPins* pins = nullptr;
        HRESULT hr = m_raw->EnumPins(&pins);
        out = Adopt<EnumPinsWrapper>(pins);
        return hr;
    }
};

class MediaControlWrapper final : public port::IMediaControl, public HasRaw, Wrapper<::IMediaControl> {
public:
    ORBEX_WRAPPER_BASICS(::IMediaControl)
    HResult Run() override { return m_raw->Run(); }
    HResult Stop() override { return m_raw->Stop(); }
};

class GraphWrapper final : public port::IGraphBuilder, public HasRaw, Wrapper<::IGraphBuilder> {
public:
    ORBEX_WRAPPER_BASICS(::IGraphBuilder)
    HResult AddFilter(const std::shared_ptr<port::IBaseFilter>& filter, const char* name) override {
        auto* raw = static_cast<::IBaseFilter*>(RawOf(filter));
        if (!raw) return E_POINTER;
        wchar_t wide[128] = {};
        if (name) MultiByteToWideChar(CP_ACP, 0, name, -1, wide, 127);
        return m_raw->AddFilter(raw, name ? wide : nullptr);
    }
    HResult RemoveFilter(const std::shared_ptr<port::IBaseFilter>& filter) override {
        auto* raw = static_cast<::IBaseFilter*>(RawOf(filter));
        return raw ? m_raw->RemoveFilter(raw) : E_POINTER;
    }
    HResult ConnectDirect(const std::shared_ptr<port::IPin>& out, const std::shared_ptr<port::IPin>& in) override {
        auto* o = static_cast<::IPin*>(RawOf(out));
        auto* i = static_cast<::IPin*>(RawOf(in));
        if (!o || !i) return E_POINTER;
        return m_raw->ConnectDirect(o, i, nullptr);
    }
    HResult Disconnect(const std::shared_ptr<port::IPin>& pin) override {
        auto* p = static_cast<::IPin*>(RawOf(pin));
        return p ? m_raw->Disconnect(p) : E_POINTER;
    }
};

class CaptureGraphBuilderWrapper final : public port::ICaptureGraphBuilder,
                                         public HasRaw,
                                         Wrapper<::ICaptureGraphBuilder> {
public:
    ORBEX_WRAPPER_BASICS(::ICaptureGraphBuilder)
    HResult SetFiltergraph(const std::shared_ptr<port::IGraphBuilder>& graph) override {
        auto* raw = static_cast<::IGraphBuilder*>(RawOf(graph));
        return raw ? m_raw->SetFiltergraph(raw) : E_POINTER;
    }
    HResult FindInterface(const Guid* category, const std::shared_ptr<port::IBaseFilter>& filter, const Guid& iid,
                          port::ComPtr& out) override {
        out.reset();
        auto* raw = static_cast<::IBaseFilter*>(RawOf(filter));
        GUID cat = category ? ToGuid(*category) : GUID{};
        GUID want = ToGuid(iid);
        IUnknown* found = nullptr;
        HRESULT hr = m_raw->FindInterface(category ? &cat : nullptr, raw, want, reinterpret_cast<void**>(&found));
        out = Adopt(found, iid);
        return hr;
    }
};

class PropertyBagWrapper final : public port::IPropertyBag, public HasRaw, Wrapper<::IPropertyBag> {
public:
    ORBEX_WRAPPER_BASICS(::IPropertyBag)
    HResult ReadString(const char* name, std::string& out) override {
        out.clear();
        wchar_t wide[128] = {};
        MultiByteToWideChar(CP_ACP, 0, name, -1, wide, 127);
        VARIANT value;
        VariantInit(&value);
        HRESULT hr = m_raw->Read(wide, &value, nullptr);
        if (hr == S_OK && value.vt == VT_BSTR && value.bstrVal) {
            int n = WideCharToMultiByte(CP_ACP, 0, value.bstrVal, -1, nullptr, 0, nullptr, nullptr);
            if (n > 0) {
                out.resize(static_cast<size_t>(n));
                WideCharToMultiByte(CP_ACP, 0, value.bstrVal, -1, out.data(), n, nullptr, nullptr);
                out.resize(static_cast<size_t>(n - 1));
            }
        }
        VariantClear(&value);
        return hr;
    }
};

class MonikerWrapper final : public port::IMoniker, public HasRaw, Wrapper<::IMoniker> {
public:
    ORBEX_WRAPPER_BASICS(::IMoniker)
    HResult BindToPropertyBag(std::shared_ptr<port::IPropertyBag>& out) override {
        out.reset();
        ::IPropertyBag* bag = nullptr;
        HRESULT hr = m_raw->BindToStorage(nullptr, nullptr, IID_IPropertyBag, reinterpret_cast<void**>(&bag));
        out = Adopt<PropertyBagWrapper>(bag);
        return hr;
    }
    HResult BindToObject(const Guid& iid, port::ComPtr& out) override {
        out.reset();
        IUnknown* object = nullptr;
        GUID want = ToGuid(iid);
        HRESULT hr = m_raw->BindToObject(nullptr, nullptr, want, reinterpret_cast<void**>(&object));
        out = Adopt(object, iid);
        return hr;
    }
};

class EnumMonikerWrapper final : public port::IEnumMoniker, public HasRaw, Wrapper<::IEnumMoniker> {
public:
    ORBEX_WRAPPER_BASICS(::IEnumMoniker)
    HResult Next(std::shared_ptr<port::IMoniker>& out) override {
        out.reset();
        ::IMoniker* moniker = nullptr;
        HRESULT hr = m_raw->Next(1, &moniker, nullptr);
        out = Adopt<MonikerWrapper>(moniker);
        return hr;
    }
    HResult Reset() override { return m_raw->Reset(); }
};

class DevEnumWrapper final : public port::ICreateDevEnum, public HasRaw, Wrapper<::ICreateDevEnum> {
public:
    ORBEX_WRAPPER_BASICS(::ICreateDevEnum)
    HResult CreateClassEnumerator(const Guid& category, std::shared_ptr<port::IEnumMoniker>& out,
                                  uint32_t flags) override {
        out.reset();
        ::IEnumMoniker* monikers = nullptr;
        GUID cat = ToGuid(category);
        HRESULT hr = m_raw->CreateClassEnumerator(cat, &monikers, flags);
        out = Adopt<EnumMonikerWrapper>(monikers);
        return hr;
    }
};

class LogWriterWrapper final : public port::ILogWriter, public HasRaw, Wrapper<ILogWriterAbi> {
public:
    ORBEX_WRAPPER_BASICS(ILogWriterAbi)
    HResult NewHandle(uint32_t* handle) override {
        ULONG h = 0;
        HRESULT hr = m_raw->NewHandle(&h);
        if (handle) *handle = h;
        return hr;
    }
    HResult ReleaseHandle(uint32_t handle) override { return m_raw->ReleaseHandle(handle); }
    HResult Configure(uint32_t handle, uint32_t mask, const char* file, const char* app, int32_t r0,
                      int32_t r10) override {
        return m_raw->Configure(handle, mask, file, app, r0, r10);
    }
    HResult Write(uint32_t handle, int32_t level, uint32_t colour, const char* format, va_list args) override {
        return m_raw->Write(handle, level, colour, format, args);
    }
};

class DirectDraw2Wrapper final : public port::IDirectDraw2, public HasRaw, Wrapper<::IDirectDraw2> {
public:
    ORBEX_WRAPPER_BASICS(::IDirectDraw2)
    HResult GetAvailableVidMem(uint32_t caps, uint32_t* total, uint32_t* free) override {
        DDSCAPS ddsCaps{};
        ddsCaps.dwCaps = caps;
        DWORD t = 0, f = 0;
        HRESULT hr = m_raw->GetAvailableVidMem(&ddsCaps, &t, &f);
        if (total) *total = t;
        if (free) *free = f;
        return hr;
    }
};

class AnalogVideoDecoderWrapper final : public port::IAMAnalogVideoDecoder,
                                        public HasRaw,
                                        Wrapper<::IAMAnalogVideoDecoder> {
public:
    ORBEX_WRAPPER_BASICS(::IAMAnalogVideoDecoder)
    HResult get_AvailableTVFormats(int32_t* standards) override {
        return ThroughLong(standards, [&](LONG* v) { return m_raw->get_AvailableTVFormats(v); });
    }
    HResult put_TVFormat(int32_t standard) override { return m_raw->put_TVFormat(standard); }
    HResult get_TVFormat(int32_t* standard) override {
        return ThroughLong(standard, [&](LONG* v) { return m_raw->get_TVFormat(v); });
    }
    HResult get_HorizontalLocked(int32_t* locked) override {
        return ThroughLong(locked, [&](LONG* v) { return m_raw->get_HorizontalLocked(v); });
    }
    HResult get_NumberOfLines(int32_t* lines) override {
        return ThroughLong(lines, [&](LONG* v) { return m_raw->get_NumberOfLines(v); });
    }
    HResult put_OutputEnable(int32_t enable) override { return m_raw->put_OutputEnable(enable); }
    HResult get_OutputEnable(int32_t* enable) override {
        return ThroughLong(enable, [&](LONG* v) { return m_raw->get_OutputEnable(v); });
    }
};

// The DirectDraw values the ports name are the platform's own.
static_assert(port::kDdsCapsOverlay == DDSCAPS_OVERLAY && port::kDdsCapsFrontBuffer == DDSCAPS_FRONTBUFFER &&
              port::kDdsCapsPrimarySurface == DDSCAPS_PRIMARYSURFACE &&
              port::kDdsCapsOffscreenPlain == DDSCAPS_OFFSCREENPLAIN && port::kDdpfYuv == DDPF_YUV);
static_assert(port::kDdLockWait == DDLOCK_WAIT && port::kDdLockWriteOnly == DDLOCK_WRITEONLY);
static_assert(port::kDdEnumSurfacesAll == DDENUMSURFACES_ALL &&
              port::kDdEnumSurfacesDoesExist == DDENUMSURFACES_DOESEXIST);
static_assert(port::kDdEnumRetOk == DDENUMRET_OK && port::kDdEnumRetCancel == DDENUMRET_CANCEL);
static_assert(kDdErrNoDirectDrawHw == DDERR_NODIRECTDRAWHW && kVfwENotConnected == VFW_E_NOT_CONNECTED);

// The port states the 32-bit size of DDSURFACEDESC; a 64-bit build's structure
// is larger (its surface pointer), so that size stands for this build's
// structure. Any other size goes to DirectDraw as it is, into room enough for
// the larger DDSURFACEDESC2 (some versions take it for a lock); a size beyond
// that room is refused here, as DirectDraw refuses it.
static_assert(sizeof(void*) != 4 || sizeof(DDSURFACEDESC) == port::kSurfaceDescSize);
union RawSurfaceDesc {
    DDSURFACEDESC v1;
    DDSURFACEDESC2 v2;
};

// DirectDraw sees the caller's values and the caller gets what DirectDraw left.
bool ToRaw(const port::SurfaceDesc& desc, RawSurfaceDesc& raw) {
    std::memset(static_cast<void*>(&raw), 0, sizeof raw);
    DWORD size = desc.size == port::kSurfaceDescSize ? sizeof(DDSURFACEDESC) : desc.size;
    if (size > sizeof raw) return false;
    raw.v1.dwSize = size;
    raw.v1.dwFlags = desc.flags;
    raw.v1.dwHeight = desc.height;
    raw.v1.dwWidth = desc.width;
    raw.v1.lPitch = desc.pitch;
    raw.v1.lpSurface = desc.surface;
    raw.v1.ddsCaps.dwCaps = desc.caps;
    raw.v1.ddpfPixelFormat.dwFlags = desc.pixelFormatFlags;
    raw.v1.ddpfPixelFormat.dwRGBBitCount = desc.rgbBitCount;
    return true;
}

port::SurfaceDesc FromRaw(const DDSURFACEDESC& raw) {
    port::SurfaceDesc out;
    out.size = raw.dwSize == sizeof(DDSURFACEDESC) ? port::kSurfaceDescSize : raw.dwSize;
    out.flags = raw.dwFlags;
    out.height = raw.dwHeight;
    out.width = raw.dwWidth;
    out.pitch = raw.lPitch;
    out.surface = static_cast<uint8_t*>(raw.lpSurface);
    out.caps = raw.ddsCaps.dwCaps;
    out.pixelFormatFlags = raw.ddpfPixelFormat.dwFlags;
    out.rgbBitCount = raw.ddpfPixelFormat.dwRGBBitCount;
    return out;
}

class DirectDrawSurfaceWrapper final : public port::IDirectDrawSurface, public HasRaw, Wrapper<::IDirectDrawSurface> {
public:
    ORBEX_WRAPPER_BASICS(::IDirectDrawSurface)
    HResult GetSurfaceDesc(port::SurfaceDesc& desc) override {
        RawSurfaceDesc raw;
        if (!ToRaw(desc, raw)) return DDERR_INVALIDPARAMS;
        HRESULT hr = m_raw->GetSurfaceDesc(&raw.v1);
        desc = FromRaw(raw.v1);
        return hr;
    }
    HResult Lock(port::SurfaceDesc& desc, uint32_t flags) override {
        RawSurfaceDesc raw;
        if (!ToRaw(desc, raw)) return DDERR_INVALIDPARAMS;
        HRESULT hr = m_raw->Lock(nullptr, &raw.v1, flags, nullptr);
        desc = FromRaw(raw.v1);
        return hr;
    }
    HResult Unlock() override { return m_raw->Unlock(nullptr); }
};

class DirectDrawWrapper final : public port::IDirectDraw, public HasRaw, Wrapper<::IDirectDraw> {
public:
    ORBEX_WRAPPER_BASICS(::IDirectDraw)
    // Enumerates without a description to match (the flags say which surfaces).
    HResult EnumSurfaces(uint32_t flags, const port::EnumSurfacesCallback& callback) override {
        if (!callback) return DDERR_INVALIDPARAMS;
        auto* context = const_cast<port::EnumSurfacesCallback*>(&callback);
        return m_raw->EnumSurfaces(flags, nullptr, context, &OnSurface);
    }

private:
    // Each surface comes with a reference of its own, which the wrapper takes over.
    static HRESULT CALLBACK OnSurface(LPDIRECTDRAWSURFACE surface, LPDDSURFACEDESC desc, LPVOID context) {
        const auto& callback = *static_cast<const port::EnumSurfacesCallback*>(context);
        std::shared_ptr<port::IDirectDrawSurface> wrapped;
        if (surface) wrapped = std::make_shared<DirectDrawSurfaceWrapper>(surface);
        return callback(std::move(wrapped), desc ? FromRaw(*desc) : port::SurfaceDesc{});
    }
};

// The mixer's flag (WINBOOL) is the port's int32_t, so it is passed as it is.
static_assert(std::is_same_v<WINBOOL, int32_t>);

class DDrawExclModeVideoWrapper final : public port::IDDrawExclModeVideo,
                                        public HasRaw,
                                        Wrapper<::IDDrawExclModeVideo> {
public:
    ORBEX_WRAPPER_BASICS(::IDDrawExclModeVideo)
    HResult GetDDrawObject(std::shared_ptr<port::IDirectDraw>& out, int32_t* isExternal) override {
        out.reset();
        ::IDirectDraw* directDraw = nullptr;
        HRESULT hr = m_raw->GetDDrawObject(&directDraw, isExternal);
        out = Adopt<DirectDrawWrapper>(directDraw);
        return hr;
    }
};

}  // namespace

port::ComPtr Wrap(IUnknown* owned, const Guid& iid) {
    if (!owned) return nullptr;
    if (port::ComPtr tuner = WrapTunerInterface(owned, iid)) return tuner;
    if (port::ComPtr stream = WrapStreamInterface(owned, iid)) return stream;
    if (iid == guids::kIidBaseFilter) return std::make_shared<FilterWrapper>(reinterpret_cast<::IBaseFilter*>(owned));
    if (iid == guids::kIidGraphBuilder)
        return std::make_shared<GraphWrapper>(reinterpret_cast<::IGraphBuilder*>(owned));
    if (iid == guids::kIidMediaControl)
        return std::make_shared<MediaControlWrapper>(reinterpret_cast<::IMediaControl*>(owned));
    if (iid == guids::kIidCaptureGraphBuilder)
        return std::make_shared<CaptureGraphBuilderWrapper>(reinterpret_cast<::ICaptureGraphBuilder*>(owned));
    if (iid == guids::kIidCreateDevEnum)
        return std::make_shared<DevEnumWrapper>(reinterpret_cast<::ICreateDevEnum*>(owned));
    if (iid == guids::kIidLogWriter) return std::make_shared<LogWriterWrapper>(reinterpret_cast<ILogWriterAbi*>(owned));
    if (iid == guids::kIidDirectDraw2)
        return std::make_shared<DirectDraw2Wrapper>(reinterpret_cast<::IDirectDraw2*>(owned));
    if (iid == guids::kIidPin) return std::make_shared<PinWrapper>(reinterpret_cast<::IPin*>(owned));
    if (iid == guids::kIidAnalogVideoDecoder)
        return std::make_shared<AnalogVideoDecoderWrapper>(reinterpret_cast<::IAMAnalogVideoDecoder*>(owned));
    if (iid == guids::kIidDDrawExclModeVideo)
        return std::make_shared<DDrawExclModeVideoWrapper>(reinterpret_cast<::IDDrawExclModeVideo*>(owned));
    if (iid == guids::kIidDirectDraw)
        return std::make_shared<DirectDrawWrapper>(reinterpret_cast<::IDirectDraw*>(owned));
    if (iid == guids::kIidDirectDrawSurface)
        return std::make_shared<DirectDrawSurfaceWrapper>(reinterpret_cast<::IDirectDrawSurface*>(owned));
    return std::make_shared<UnknownWrapper>(owned);
}

IUnknown* RawOf(const std::shared_ptr<port::IComObject>& p) {
    auto* has = dynamic_cast<HasRaw*>(p.get());
    return has ? has->Unknown() : nullptr;
}

}  // namespace orbex::win32
