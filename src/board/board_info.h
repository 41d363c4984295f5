// The board information object: reads the MMTable (and HWTable) of every
// monitor through the display driver once, at construction, and answers what
// the rest of the system asks about the board.
#pragma once

#include <cstdint>

#include "board/drex.h"
#include "platform/ports.h"

namespace orbex {

class CBoardInfo {
public:
    static constexpr int kMaxMonitors = 10;

    explicit CBoardInfo(port::IDisplay& display);
    virtual ~CBoardInfo() = default;

    int32_t GetTunerType(uint32_t monitor) const;
    int32_t GetDecoderType(uint32_t monitor) const;
    int32_t GetVideoInputCount(uint32_t monitor);
    uint8_t GetTunerStandardClass(uint32_t monitor) const;
    uint32_t GetTunerVideoStandard(uint32_t monitor) const;

    int32_t MonitorCount() const { return m_monitorCount; }
    const MMTableReply& MMTable(uint32_t monitor) const { return m_mmTables[monitor]; }

private:
    // The normalised table size of a monitor (8 or 12), or 0 without a table.
    uint32_t TableSize(uint32_t monitor) const;

    int32_t m_monitorCount = 0;
    MMTableReply m_mmTables[kMaxMonitors];
    HWTableReply m_hwTables[kMaxMonitors];
    uint32_t m_value14000B = 0;
    int32_t m_videoInputCounts[kMaxMonitors] = {};
};

}  // namespace orbex
