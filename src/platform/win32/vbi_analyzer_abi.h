// The binary interface of the VBI analyzer filter (IVBIAnalyzer): the three
// IUnknown methods, a first method the system never calls, and GetVBIData.
#pragma once

#include <windows.h>

namespace orbex::win32 {

struct IVbiAnalyzerAbi : public IUnknown {
    // Slot 3: its signature is unknown, so it is never called.
    virtual HRESULT STDMETHODCALLTYPE Unused3() = 0;
    // Slot 4: six pointers into one result record the caller owns.
    virtual HRESULT STDMETHODCALLTYPE GetVBIData(BYTE* p0, BYTE* p8, BYTE* p16, BYTE* p24, BYTE* p32, BYTE* p40) = 0;
};

}  // namespace orbex::win32
