#include "platform/sim/components/channel_scan_config.h"

#include "platform/sim/profile/profile_values.h"

namespace orbex::sim {

void ReadKey(ChannelScanConfig& c, const ProfileEntry& e) {
    if (e.Is("object"))
        c.object = ParseChoice(e.value, "present", "absent", e.line);
    else
        e.RefuseKey();
}

}  // namespace orbex::sim
