#include "platform/sim/components/components_config.h"

#include "platform/sim/profile/profile_values.h"

namespace orbex::sim {

void ReadKey(ComponentsConfig& c, const ProfileEntry& e) {
    if (e.Is("loggingcomponent"))
        c.loggingComponent = ParseChoice(e.value, "present", "absent", e.line);
    else if (e.Is("resultlibrary"))
        c.resultLibrary = ParseChoice(e.value, "present", "absent", e.line);
    else if (e.Is("resultlibraryexports")) {
        c.resultLibraryExports.clear();
        for (const std::string& name : Split(e.value, ','))
            if (!name.empty()) c.resultLibraryExports.push_back(name);
    } else
        e.RefuseKey();
}

}  // namespace orbex::sim
