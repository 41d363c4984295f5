// The binary interface of the board's channel-scan object (IQelAnalogLCS):
// the three IUnknown methods, Connect, AutoTune, four methods the system never
// calls, and SetCountryCode.
#pragma once

// clang-format off
#include <windows.h>
#include <strmif.h>
// clang-format on

#include <type_traits>

#include "platform/tuner.h"

namespace orbex::win32 {

// The progress callback goes to the object as the port declares it: a
// standard call (WINAPI) taking three 32-bit values, answering a 16-bit one.
static_assert(std::is_same_v<port::ScanProgressFn, SHORT(WINAPI*)(INT32, INT32, INT32*)>);
static_assert(sizeof(INT32) == sizeof(LONG));

struct IQelAnalogLcsAbi : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Connect(::IBaseFilter* tuner) = 0;            // slot 3
    virtual HRESULT STDMETHODCALLTYPE AutoTune(port::ScanProgressFn progress) = 0;  // slot 4
    // Slots 5 to 8: their signatures are unknown, so they are never called.
    virtual HRESULT STDMETHODCALLTYPE Unused5() = 0;
    virtual HRESULT STDMETHODCALLTYPE Unused6() = 0;
    virtual HRESULT STDMETHODCALLTYPE Unused7() = 0;
    virtual HRESULT STDMETHODCALLTYPE Unused8() = 0;
    virtual HRESULT STDMETHODCALLTYPE SetCountryCode(LONG code) = 0;  // slot 9
};

}  // namespace orbex::win32
