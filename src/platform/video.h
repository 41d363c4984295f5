// The video decoder and the overlay mixer's DirectDraw objects, as COM-style
// ports, and the entry points of the closed-circuit test box library.
#pragma once

#include <functional>
#include <memory>

#include "platform/com.h"
#include "platform/types.h"

namespace orbex::port {

// The analog video decoder interface of a capture filter (IAMAnalogVideoDecoder);
// standards are AnalogVideoStandard bits.
class IAMAnalogVideoDecoder : public IComObject {
public:
    virtual HResult get_AvailableTVFormats(int32_t* standards) = 0;
    virtual HResult put_TVFormat(int32_t standard) = 0;
    virtual HResult get_TVFormat(int32_t* standard) = 0;
    virtual HResult get_HorizontalLocked(int32_t* locked) = 0;
    virtual HResult get_NumberOfLines(int32_t* lines) = 0;
    virtual HResult put_OutputEnable(int32_t enable) = 0;
    virtual HResult get_OutputEnable(int32_t* enable) = 0;
};

// The fields of a DirectDraw surface description (DDSURFACEDESC, 108 bytes)
// that the system reads or sets.
struct SurfaceDesc {
    uint32_t size = 0;  // the caller sets 108
    uint32_t flags = 0;
    uint32_t height = 0;
    uint32_t width = 0;
    int32_t pitch = 0;
    uint8_t* surface = nullptr;  // the memory a lock gave, or null
    uint32_t caps = 0;           // ddsCaps.dwCaps
    uint32_t pixelFormatFlags = 0;
    uint32_t rgbBitCount = 0;
};
constexpr uint32_t kSurfaceDescSize = 108;

// DirectDraw flags the system uses.
constexpr uint32_t kDdsCapsOverlay = 0x80;
constexpr uint32_t kDdsCapsFrontBuffer = 0x20;
constexpr uint32_t kDdsCapsPrimarySurface = 0x200;
constexpr uint32_t kDdsCapsOffscreenPlain = 0x40;
constexpr uint32_t kDdpfYuv = 0x200;
constexpr uint32_t kDdLockWait = 0x1;
constexpr uint32_t kDdLockWriteOnly = 0x20;
constexpr uint32_t kDdEnumSurfacesAll = 0x1;
constexpr uint32_t kDdEnumSurfacesDoesExist = 0x10;
constexpr HResult kDdEnumRetOk = 1;
constexpr HResult kDdEnumRetCancel = 0;

class IDirectDrawSurface : public IComObject {
public:
    virtual HResult GetSurfaceDesc(SurfaceDesc& desc) = 0;
    // Locks the whole surface; desc.surface receives its memory (which may be null).
    virtual HResult Lock(SurfaceDesc& desc, uint32_t flags) = 0;
    virtual HResult Unlock() = 0;
};

// Called once per surface with a new reference to it; kDdEnumRetOk goes on.
using EnumSurfacesCallback = std::function<HResult(std::shared_ptr<IDirectDrawSurface>, const SurfaceDesc&)>;

// A DirectDraw object (IDirectDraw): the surface enumeration the overlay checks need.
class IDirectDraw : public IComObject {
public:
    virtual HResult EnumSurfaces(uint32_t flags, const EnumSurfacesCallback& callback) = 0;
};

// The overlay mixer's exclusive-mode interface (IDDrawExclModeVideo).
class IDDrawExclModeVideo : public IComObject {
public:
    // The DirectDraw object the mixer draws with; isExternal tells whether the
    // application supplied it.
    virtual HResult GetDDrawObject(std::shared_ptr<IDirectDraw>& out, int32_t* isExternal) = 0;
};

// The closed-circuit test box library ("cctb.dll"): three entry points with
// the platform's standard calling convention (the callee removes the arguments).
using CctbOpenFn = uint32_t(ORBEX_STDCALL*)(uint32_t reserved);
using CctbWriteFn = uint32_t(ORBEX_STDCALL*)(uint32_t box, uint32_t value);
using CctbCloseFn = uint32_t(ORBEX_STDCALL*)(uint32_t box);

}  // namespace orbex::port
