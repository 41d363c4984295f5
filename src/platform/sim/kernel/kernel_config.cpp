#include "platform/sim/kernel/kernel_config.h"

#include "platform/sim/profile/profile_values.h"

namespace orbex::sim {

void ReadKey(KernelDriverConfig& c, const ProfileEntry& e) {
    if (e.Is("device")) {
        c.present = ParseChoice(e.value, "present", "absent", e.line);
    } else if (e.Is("wrongmasktable")) {
        c.wrongMaskTable = ParseBytes(e.value, e.line);
        if (c.wrongMaskTable.size() != 12) e.Refuse("WrongMaskTable holds the twelve MMTable bytes");
    } else if (e.Is("wrongmaskbits")) {
        c.wrongMaskBits = ParseU32(e.value, e.line);
    } else if (e.Is("replystatus")) {
        c.replyStatus = ParseU32(e.value, e.line);
    } else {
        e.RefuseKey();
    }
}

}  // namespace orbex::sim
