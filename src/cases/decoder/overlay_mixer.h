// The graph's overlay mixer as the decoder tests see it: its DirectDraw
// object, the overlay front and back buffers and the primary surface, which
// it can blank or inspect for rows of picture.
#pragma once

#include <cstdint>
#include <memory>

#include "cases/decoder/buffer_status.h"
#include "platform/ports.h"
#include "report/log_file.h"

namespace orbex {

class COrbGBuilder;

class COverlayMixer {
public:
    COverlayMixer(CLogFile* logFile, COrbGBuilder* gBuilder);
    virtual ~COverlayMixer() = default;
    COverlayMixer(const COverlayMixer&) = delete;
    COverlayMixer& operator=(const COverlayMixer&) = delete;

    int32_t InitOverlayMixer();
    int32_t ClearBuffers(int32_t which);
    int32_t CheckBufferStatus(BufferStatus* status, int32_t mode);
    static bool IsPictureRow(const uint8_t* row, uint32_t length);

private:
    HResult EnumSurfacesCallback(std::shared_ptr<port::IDirectDrawSurface> surface, const port::SurfaceDesc& desc);
    // The bytes of a row to look at: the front buffer's width times its bytes
    // per pixel; false when the front buffer's format gives none.
    bool RowLength(uint32_t& length);
    int32_t ClearSurface(port::IDirectDrawSurface& surface, uint32_t rowLength);
    int32_t CountSurface(port::IDirectDrawSurface& surface, uint32_t rowLength, BufferInfo& info);

    std::shared_ptr<port::IBaseFilter> m_pOverlayMixer;  // not owned: the builder's table holds it
    CLogFile* m_pLogFile = nullptr;
    COrbGBuilder* m_pGBuilder = nullptr;
    std::shared_ptr<port::IDirectDraw> m_pDirectDraw;
    std::shared_ptr<port::IDirectDrawSurface> m_pFrontBuffer;
    std::shared_ptr<port::IDirectDrawSurface> m_pBackBuffer;
    std::shared_ptr<port::IDirectDrawSurface> m_pPrimarySurface;
    int32_t m_filterIndex = 0;
};

}  // namespace orbex
