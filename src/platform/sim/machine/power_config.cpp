#include "platform/sim/machine/power_config.h"

#include "platform/sim/profile/profile_values.h"

namespace orbex::sim {

void ReadKey(PowerConfig& c, const ProfileEntry& e) {
    if (e.Is("suspend")) {
        c.suspendAllowed = ParseChoice(e.value, "allowed", "refused", e.line);
    } else if (e.Is("suspendseconds")) {
        int64_t v = ParseNumber(e.value, e.line);
        if (v < 1 || v > 86400) e.Refuse("SuspendSeconds is 1 to 86400");
        c.suspendSeconds = static_cast<uint32_t>(v);
    } else if (e.Is("captureresumes")) {
        c.captureResumes = ParseChoice(e.value, "yes", "no", e.line);
    } else {
        e.RefuseKey();
    }
}

void ReadKey(ScreenSaverConfig& c, const ProfileEntry& e) {
    if (e.Is("active"))
        c.active = ParseChoice(e.value, "yes", "no", e.line);
    else
        e.RefuseKey();
}

}  // namespace orbex::sim
