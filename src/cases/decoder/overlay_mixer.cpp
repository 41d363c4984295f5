#include "cases/decoder/overlay_mixer.h"

#include <algorithm>
#include <cstring>

#include "graph/filter_entry.h"
#include "graph/orb_gbuilder.h"
#include "platform/guids.h"
#include "report/test_status.h"
#include "video/row_analysis.h"

namespace orbex {

COverlayMixer::COverlayMixer(CLogFile* logFile, COrbGBuilder* gBuilder) : m_pLogFile(logFile), m_pGBuilder(gBuilder) {
    if (m_pLogFile) m_pLogFile->WriteLine(2, "\nCOverlayMixer Object Created.");
    InitOverlayMixer();
}

int32_t COverlayMixer::InitOverlayMixer() {
    m_filterIndex = m_pGBuilder->GetFilterByType(kFilterOverlayMixer, m_pOverlayMixer);
    if (!m_pOverlayMixer) {
        Log(m_pGBuilder->m_pLogger, kLevelProgress, kGreen,
            "COverlayMixer::InitOverlayMixer()>  No Overlay Mixer Detected");
        return 1;
    }
    std::shared_ptr<port::IDDrawExclModeVideo> exclusiveMode;
    if (port::ComQuery(*m_pOverlayMixer, guids::kIidDDrawExclModeVideo, exclusiveMode) != kSOk) return 1;
    int32_t isExternal = 0;
    HResult hr = exclusiveMode->GetDDrawObject(m_pDirectDraw, &isExternal);
    exclusiveMode.reset();
    if (!Succeeded(hr) || !m_pDirectDraw) return 1;
    m_pDirectDraw->EnumSurfaces(
        port::kDdEnumSurfacesAll | port::kDdEnumSurfacesDoesExist,
        [this](std::shared_ptr<port::IDirectDrawSurface> surface, const port::SurfaceDesc& desc) {
            return EnumSurfacesCallback(std::move(surface), desc);
        });
    return 0;
}

// Keeps the overlay buffers and the primary surface; a later surface of a
// kind replaces an earlier one, and every other surface is released.
HResult COverlayMixer::EnumSurfacesCallback(std::shared_ptr<port::IDirectDrawSurface> surface,
                                            const port::SurfaceDesc& desc) {
    uint32_t caps = desc.caps;
    if ((caps & port::kDdsCapsOverlay) && (caps & port::kDdsCapsFrontBuffer))
        m_pFrontBuffer = std::move(surface);
    else if (caps & port::kDdsCapsOverlay)
        m_pBackBuffer = std::move(surface);
    else if (caps & port::kDdsCapsPrimarySurface)
        m_pPrimarySurface = std::move(surface);
    return port::kDdEnumRetOk;
}

bool COverlayMixer::RowLength(uint32_t& length) {
    port::SurfaceDesc front, back;
    front.size = back.size = port::kSurfaceDescSize;
    m_pFrontBuffer->GetSurfaceDesc(front);
    m_pBackBuffer->GetSurfaceDesc(back);
    if (!(front.pixelFormatFlags & port::kDdpfYuv) && front.rgbBitCount == 0) return false;
    length = front.rgbBitCount / 8 * front.width;
    return true;
}

// Blanks the row-length bytes of every row. A row never reaches past the
// surface's pitch, so a description that claims more than the pitch holds
// cannot make the wipe leave the surface.
int32_t COverlayMixer::ClearSurface(port::IDirectDrawSurface& surface, uint32_t rowLength) {
    port::SurfaceDesc desc;
    desc.size = port::kSurfaceDescSize;
    if (surface.Lock(desc, port::kDdLockWait | port::kDdLockWriteOnly) != kSOk) return 1;
    if (desc.surface && desc.pitch > 0) {
        size_t bytes = std::min<size_t>(rowLength, static_cast<size_t>(desc.pitch));
        for (uint32_t row = 0; row < desc.height; ++row)
            std::memset(desc.surface + static_cast<size_t>(row) * static_cast<size_t>(desc.pitch), 0, bytes);
    }
    surface.Unlock();
    return 0;
}

int32_t COverlayMixer::ClearBuffers(int32_t which) {
    if (!m_pFrontBuffer || !m_pBackBuffer) return 1;
    uint32_t rowLength = 0;
    if (!RowLength(rowLength)) return 1;
    if ((which == kFrontBuffer || which == kBothBuffers) && ClearSurface(*m_pFrontBuffer, rowLength)) return 1;
    if ((which == kBackBuffer || which == kBothBuffers) && ClearSurface(*m_pBackBuffer, rowLength)) return 1;
    return 0;
}

// Counts the rows that differ from an all-zero row and look like picture.
// A lock without memory leaves the record's fields as they were (zero).
int32_t COverlayMixer::CountSurface(port::IDirectDrawSurface& surface, uint32_t rowLength, BufferInfo& info) {
    port::SurfaceDesc desc;
    desc.size = port::kSurfaceDescSize;
    if (surface.Lock(desc, port::kDdLockWait | port::kDdLockWriteOnly) != kSOk) return 1;
    if (desc.surface) {
        if (desc.pitch > 0) {
            size_t bytes = std::min<size_t>(rowLength, static_cast<size_t>(desc.pitch));
            info.contentRows =
                video::CountPictureRows(desc.surface, static_cast<size_t>(desc.pitch), desc.height, bytes);
        }
        info.pitch = static_cast<uint32_t>(desc.pitch);
        info.height = desc.height;
    }
    surface.Unlock();
    return 0;
}

int32_t COverlayMixer::CheckBufferStatus(BufferStatus* status, int32_t mode) {
    if (mode != 2 || !m_pFrontBuffer || !m_pBackBuffer) return 1;
    *status = BufferStatus{};
    uint32_t rowLength = 0;
    if (!RowLength(rowLength)) return 1;
    if (CountSurface(*m_pFrontBuffer, rowLength, status->front)) return 1;
    if (CountSurface(*m_pBackBuffer, rowLength, status->back)) return 1;
    for (BufferInfo* info : {&status->front, &status->back})
        info->state = info->contentRows == info->height ? 1 : info->contentRows > 0 ? 2 : 3;
    return 0;
}

bool COverlayMixer::IsPictureRow(const uint8_t* row, uint32_t length) {
    return video::IsPictureRow(row, length);
}

}  // namespace orbex
