#include "board/board_info.h"

namespace orbex {
namespace {

constexpr uint32_t kNtscM = 0x1;
constexpr uint32_t kPalB = 0x10;
constexpr uint32_t kPalI = 0x100;
constexpr uint32_t kSecamD = 0x2000;

int32_t Escape(port::IDisplay& display, port::DisplayDc dc, uint32_t function, void* reply, int32_t replySize) {
    MMTableRequest request;
    request.functionCode = function;
    return display.ExtEscape(dc, kDrexEscape, sizeof request, &request, replySize, reply);
}

}  // namespace

CBoardInfo::CBoardInfo(port::IDisplay& display) {
    m_monitorCount = 0;
    display.EnumDisplayMonitors([this]() {
        ++m_monitorCount;
        return true;
    });
    m_value14000B = 0;
    port::DisplayDc dc = display.CreateDisplayDc("DISPLAY");
    if (!dc) return;
    int32_t count = m_monitorCount < kMaxMonitors ? m_monitorCount : kMaxMonitors;
    for (int32_t i = 0; i < count; ++i) {
        MMTableReply& reply = m_mmTables[i];
        reply.ulSize = sizeof reply;
        reply.bytesReturned = 0;
        if (Escape(display, dc, kDrexMmTable, &reply, sizeof reply) == 0)
            reply.bytesReturned = reply.bytesReturned < 12 ? 8 : 12;
    }
    for (int32_t i = 0; i < count; ++i) {
        HWTableReply& reply = m_hwTables[i];
        reply.ulSize = sizeof reply;
        reply.bytesReturned = 0;
        Escape(display, dc, kDrexHwTable, &reply, sizeof reply);
    }
    if (m_monitorCount > 0) {
        DwordReply reply;
        if (Escape(display, dc, kDrex14000B, &reply, sizeof reply) == 0) m_value14000B = reply.value;
    }
    display.DeleteDC(dc);
}

uint32_t CBoardInfo::TableSize(uint32_t monitor) const {
    if (monitor >= static_cast<uint32_t>(m_monitorCount) || monitor >= kMaxMonitors) return 0;
    uint32_t size = m_mmTables[monitor].bytesReturned;
    return size == 8 || size == 12 ? size : 0;
}

int32_t CBoardInfo::GetTunerType(uint32_t monitor) const {
    switch (TableSize(monitor)) {
        case 12: return m_mmTables[monitor].table[0] & 0x1F;
        case 8: return m_mmTables[monitor].table[0];
        default: return -1;
    }
}

int32_t CBoardInfo::GetDecoderType(uint32_t monitor) const {
    switch (TableSize(monitor)) {
        case 12: return m_mmTables[monitor].table[5] & 0x0F;
        case 8: return m_mmTables[monitor].table[2] & 0x07;
        default: return -1;
    }
}

int32_t CBoardInfo::GetVideoInputCount(uint32_t monitor) {
    if (TableSize(monitor) != 12) return -1;
    const uint8_t* t = m_mmTables[monitor].table;
    int32_t count = 0;
    for (int i = 7; i <= 11; ++i)
        if (t[i] & 0x03) ++count;
    if (t[5] & 0x0F) count = t[0] == 0 ? 1 : 3;
    m_videoInputCounts[monitor] = count;
    return count;
}

uint8_t CBoardInfo::GetTunerStandardClass(uint32_t monitor) const {
    switch (GetTunerType(monitor)) {
        case 1:
        case 2:
        case 6:
        case 8:
        case 12:
        case 15:
        case 29: return 1;
        case 3:
        case 4:
        case 9:
        case 10: return 2;
        case 7: return 3;
        case 5:
        case 11:
        case 13:
        case 14:
        case 16:
        case 30: return 4;
        case 31: return 5;
        default: return 0;
    }
}

uint32_t CBoardInfo::GetTunerVideoStandard(uint32_t monitor) const {
    switch (GetTunerType(monitor)) {
        case 3:
        case 5:
        case 9:
        case 11:
        case 13:
        case 14:
        case 16:
        case 30: return kPalB;
        case 4:
        case 10: return kPalI;
        case 7: return kSecamD;
        default: return kNtscM;
    }
}

}  // namespace orbex
