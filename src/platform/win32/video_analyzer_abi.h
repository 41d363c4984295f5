// The binary interface of the video analyzer filter (IVideoAnalyzer): the
// three IUnknown methods, a first method the system never calls, and
// GetMeasurement.
#pragma once

#include <windows.h>

namespace orbex::win32 {

struct IVideoAnalyzerAbi : public IUnknown {
    // Slot 3: its signature is unknown, so it is never called.
    virtual HRESULT STDMETHODCALLTYPE Unused3() = 0;
    // Slot 4: six pointers into one 96-byte measurement the caller owns.
    virtual HRESULT STDMETHODCALLTYPE GetMeasurement(BYTE* p0, BYTE* p8, BYTE* p16, BYTE* p24, BYTE* p32,
                                                     BYTE* p40) = 0;
};

}  // namespace orbex::win32
