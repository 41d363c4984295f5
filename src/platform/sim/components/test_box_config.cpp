#include "platform/sim/components/test_box_config.h"

#include "platform/sim/profile/profile_values.h"

namespace orbex::sim {

void ReadKey(TestBoxConfig& c, const ProfileEntry& e) {
    if (e.Is("library")) {
        c.library = ParseChoice(e.value, "present", "absent", e.line);
    } else if (e.Is("missingentry")) {
        if (e.value != "cctbOpen" && e.value != "cctbWrite" && e.value != "cctbClose" && !e.value.empty())
            e.Refuse("\"" + e.value + "\" is not an entry point of the test box library");
        c.missingEntry = e.value;
    } else if (e.Is("box")) {
        c.box = ParseChoice(e.value, "present", "absent", e.line);
    } else if (e.Is("cutssignal")) {
        c.cutsSignal = ParseChoice(e.value, "yes", "no", e.line);
    } else {
        e.RefuseKey();
    }
}

}  // namespace orbex::sim
