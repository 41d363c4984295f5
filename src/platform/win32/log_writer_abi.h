// The binary interface of the logging component (ILogWriter), shared by the
// component DLL and the Win32 adapter: the three IUnknown methods, then
// NewHandle, ReleaseHandle, Configure, three further methods and Write.
#pragma once

#include <windows.h>

#include <cstdarg>

namespace orbex::win32 {

// {01204A61-8C2F-11D1-B8EF-006097B589E9}
constexpr CLSID kClsidLogWriter = {0x01204A61, 0x8C2F, 0x11D1, {0xB8, 0xEF, 0x00, 0x60, 0x97, 0xB5, 0x89, 0xE9}};
// {E4739540-193B-11D1-A418-006097923041}
constexpr IID kIidLogWriter = {0xE4739540, 0x193B, 0x11D1, {0xA4, 0x18, 0x00, 0x60, 0x97, 0x92, 0x30, 0x41}};

struct ILogWriterAbi : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE NewHandle(ULONG* handle) = 0;
    virtual HRESULT STDMETHODCALLTYPE ReleaseHandle(ULONG handle) = 0;
    virtual HRESULT STDMETHODCALLTYPE Configure(ULONG handle, ULONG levelMask, LPCSTR fileName, LPCSTR appName,
                                                LONG reserved0, LONG reserved10) = 0;
    virtual HRESULT STDMETHODCALLTYPE Method6() = 0;
    virtual HRESULT STDMETHODCALLTYPE Method7() = 0;
    virtual HRESULT STDMETHODCALLTYPE Method8() = 0;
    virtual HRESULT STDMETHODCALLTYPE Write(ULONG handle, LONG level, ULONG colour, LPCSTR format, va_list args) = 0;
};

}  // namespace orbex::win32
