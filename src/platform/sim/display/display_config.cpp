#include "platform/sim/display/display_config.h"

#include "platform/sim/profile/profile_values.h"

namespace orbex::sim {

void ReadKey(DisplayConfig& c, const ProfileEntry& e) {
    if (e.Is("monitors"))
        c.monitors = static_cast<int32_t>(ParseNumber(e.value, e.line));
    else if (e.Is("escape"))
        c.escapeServed = ParseChoice(e.value, "served", "refused", e.line);
    else if (e.Is("escaperesult"))
        c.escapeRefusedResult = static_cast<int32_t>(ParseNumber(e.value, e.line));
    else if (e.Is("mmtable"))
        c.mmTable = ParseBytes(e.value, e.line);
    else if (e.Is("mmtablebytesreturned"))
        c.mmTableBytesReturned = ParseU32(e.value, e.line);
    else if (e.Is("hwtable"))
        c.hwTable = ParseBytes(e.value, e.line);
    else if (e.Is("value14000b"))
        c.value14000B = ParseU32(e.value, e.line);
    else if (e.Is("mmtableresult"))
        c.mmTableResult = static_cast<int32_t>(ParseNumber(e.value, e.line));
    else if (e.Is("hwtableresult"))
        c.hwTableResult = static_cast<int32_t>(ParseNumber(e.value, e.line));
    else if (e.Is("result14000b"))
        c.result14000B = static_cast<int32_t>(ParseNumber(e.value, e.line));
    else if (e.Is("mmtablelater"))
        c.mmTableLater = ParseBytes(e.value, e.line);
    else if (e.Is("mmtablechangesafter"))
        c.mmTableChangesAfter = ParseU32(e.value, e.line);
    else if (e.Is("hwtablelater"))
        c.hwTableLater = ParseBytes(e.value, e.line);
    else if (e.Is("hwtablechangesafter"))
        c.hwTableChangesAfter = ParseU32(e.value, e.line);
    else
        e.RefuseKey();
    if (c.mmTable.size() > 12 || c.hwTable.size() > 10 || c.mmTableLater.size() > 12 || c.hwTableLater.size() > 10)
        e.Refuse("the MMTable holds at most 12 bytes and the HWTable 10");
}

void CheckVideoMemory(const VideoMemoryConfig& c, int lastLine) {
    if (c.free > c.total) throw ProfileError{lastLine, "free video memory cannot exceed the total"};
}

void ReadKey(VideoMemoryConfig& c, const ProfileEntry& e) {
    if (e.Is("total"))
        c.total = ParseU32(e.value, e.line);
    else if (e.Is("free"))
        c.free = ParseU32(e.value, e.line);
    else if (e.Is("leak"))
        c.leak = ParseU32(e.value, e.line);
    else
        e.RefuseKey();
}

}  // namespace orbex::sim
