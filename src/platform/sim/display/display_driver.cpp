#include "platform/sim/display/display_driver.h"

#include <algorithm>
#include <cstring>

#include "common/format.h"

namespace orbex::sim {
namespace {

constexpr int32_t kDrexEscape = 0x7306;
constexpr uint32_t kFunctionMmTable = 0x140007;
constexpr uint32_t kFunctionHwTable = 0x140006;
constexpr uint32_t kFunction14000B = 0x14000B;

}  // namespace

port::DisplayDc DisplayDriver::CreateDisplayDc(const char* driver) {
    if (m_faults.Next("CreateDC")) return 0;
    if (!driver || !EqualsNoCase(driver, "DISPLAY")) return 0;
    port::DisplayDc dc = m_nextDc++;
    m_dcs.insert(dc);
    m_ledger.Opened(dc, "DC", driver);
    return dc;
}

int32_t DisplayDriver::ExtEscape(port::DisplayDc dc, int32_t escape, int32_t inSize, const void* in, int32_t outSize,
                                 void* out) {
    if (!m_dcs.count(dc)) return -1;
    FaultHit fault = m_faults.Take("ExtEscape");
    if (fault.code) return fault.code;
    if (!m_config.escapeServed) return m_config.escapeRefusedResult;
    if (escape != kDrexEscape || inSize < 16 || !in || !out || outSize < 8) return -1;
    uint32_t function = 0;
    std::memcpy(&function, static_cast<const uint8_t*>(in) + 4, 4);
    auto* reply = static_cast<uint8_t*>(out);
    auto answer = [&](const std::vector<uint8_t>& table, uint32_t bytesReturned) {
        // Malformed: a short table, half of it, and a byte count that says so.
        const size_t length = fault.malformed ? table.size() / 2 : table.size();
        if (fault.malformed) {
            bytesReturned = static_cast<uint32_t>(length);
            m_faults.Applied("ExtEscape");
        }
        std::memcpy(reply + 4, &bytesReturned, 4);
        size_t n = std::min(length, static_cast<size_t>(outSize - 8));
        if (n) std::memcpy(reply + 8, table.data(), n);
        return 0;
    };
    // The table of this answer: the later one once the driver has changed it.
    auto live = [](const std::vector<uint8_t>& first, const std::vector<uint8_t>& later,
                   const std::optional<uint32_t>& changesAfter, uint32_t& answers) -> const std::vector<uint8_t>& {
        return changesAfter && answers++ >= *changesAfter ? later : first;
    };
    switch (function) {
        case kFunctionMmTable: {
            if (m_config.mmTableResult != 0) return m_config.mmTableResult;
            const std::vector<uint8_t>& table =
                live(m_config.mmTable, m_config.mmTableLater, m_config.mmTableChangesAfter, m_mmTableAnswers);
            return answer(table, m_config.mmTableBytesReturned.value_or(static_cast<uint32_t>(table.size())));
        }
        case kFunctionHwTable: {
            if (m_config.hwTableResult != 0) return m_config.hwTableResult;
            const std::vector<uint8_t>& table =
                live(m_config.hwTable, m_config.hwTableLater, m_config.hwTableChangesAfter, m_hwTableAnswers);
            return answer(table, static_cast<uint32_t>(table.size()));
        }
        case kFunction14000B:
            if (m_config.result14000B != 0) return m_config.result14000B;
            if (!fault.malformed)
                std::memcpy(reply + 4, &m_config.value14000B, 4);
            else
                m_faults.Applied("ExtEscape");  // a reply without its value
            return 0;
        default: return -1;
    }
}

bool DisplayDriver::DeleteDC(port::DisplayDc dc) {
    m_ledger.Closed(dc);
    return m_dcs.erase(dc) > 0;
}

bool DisplayDriver::EnumDisplayMonitors(const std::function<bool()>& onMonitor) {
    for (int32_t i = 0; i < m_config.monitors; ++i)
        if (!onMonitor()) break;
    return true;
}

}  // namespace orbex::sim
