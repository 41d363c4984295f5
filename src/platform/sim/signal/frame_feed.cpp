#include "platform/sim/signal/frame_feed.h"

#include <algorithm>

#include "platform/sim/signal/picture.h"

namespace orbex::sim {

uint64_t FramePeriod(const FeedConditions& c) {
    return std::max(
        {uint64_t{FramePeriodMicroseconds(c.source.family)}, c.shape.frameInterval / 10, c.shape.delivery.minPeriodUs});
}

void FrameFeed::Update() {
    if (m_updating) return;  // a surface lock inside a frame write does not settle again
    m_updating = true;
    uint32_t now = m_now();
    // Each stretch between changes runs under the conditions at its start.
    for (;;) {
        uint32_t end = now;
        if (m_nextChange)
            if (auto t = m_nextChange(m_last, now); t && *t - m_last > 0 && *t - m_last < now - m_last) end = *t;
        Advance(m_last, end);
        m_last = end;
        if (end == now) break;
    }
    m_updating = false;
}

void FrameFeed::Advance(uint32_t from, uint32_t to) {
    uint64_t elapsed = static_cast<uint32_t>(to - from) * uint64_t{1000};
    FeedConditions conditions = m_conditions(from);
    if (!conditions.flowing) {
        m_streamMicroseconds = 0;  // a stalled driver starts again with the stream
        return;
    }
    const FrameDelivery& delivery = conditions.shape.delivery;
    uint64_t period = FramePeriod(conditions);
    uint64_t first = m_flowMicroseconds / period + 1;  // the first period that ends in this stretch
    uint64_t due = (m_flowMicroseconds + elapsed) / period - m_flowMicroseconds / period;
    // The frames that really arrive: not past a stall, not the dropped ones.
    uint64_t arrived = 0;
    uint64_t startUs = uint64_t{from} * 1000;
    for (uint64_t k = 0; k < due; ++k) {
        uint64_t offset = (first + k) * period - m_flowMicroseconds;  // from the stretch's start
        if (delivery.stallAfterMs && m_streamMicroseconds + offset > uint64_t{delivery.stallAfterMs} * 1000) break;
        uint64_t slot = m_slots + k + 1;
        if (delivery.dropEvery && slot % delivery.dropEvery == 0) continue;
        if (m_observer) m_observer(m_frames + arrived, startUs + offset);
        ++arrived;
    }
    m_slots += due;
    m_flowMicroseconds += elapsed;
    m_streamMicroseconds += elapsed;
    // Only the last frame of each buffer survives; older ones are overwritten.
    for (uint64_t k = arrived > 2 ? arrived - 2 : 0; k < arrived; ++k) WriteFrame(m_frames + k, conditions);
    m_frames += arrived;
}

// The frame lands in its buffer undrawn; the buffer draws it when it is read.
void FrameFeed::WriteFrame(uint64_t frame, const FeedConditions& conditions) {
    const SourceConfig& source = conditions.source;
    const CaptureShape& shape = conditions.shape;
    OverlaySurfaces::Surface* surface =
        m_surfaces.Find(frame % 2 == 0 ? SurfaceKind::OverlayBack : SurfaceKind::OverlayFront);
    if (!surface) return;
    uint32_t lines = ActiveLines(source.family) * std::min<uint32_t>(source.coverage, 100) / 100;
    lines = std::min(lines, surface->config.height);
    size_t bytes = surface->RowBytes();
    if (shape.width > 0 && shape.height > 0) {
        lines = static_cast<uint32_t>(uint64_t{lines} * std::min(shape.filledHeight, shape.height) / shape.height);
        bytes = static_cast<size_t>(uint64_t{bytes} * std::min(shape.filledWidth, shape.width) / shape.width);
    }
    std::shared_ptr<const RowCycle> rows = m_cycles.Get(source.picture, bytes);
    uint32_t first = static_cast<uint32_t>(frame) % rows->count;
    surface->Land({std::move(rows), first, lines});
}

}  // namespace orbex::sim
