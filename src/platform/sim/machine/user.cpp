#include "platform/sim/machine/user.h"

#include <cstdio>
#include <string>

namespace orbex::sim {

int32_t VirtualUser::MessageBox(const char* text, const char* caption, uint32_t style) {
    m_events(PlatformEvent{"MessageBox",
                           {{"caption", std::string(caption ? caption : "")},
                            {"text", std::string(text ? text : "")},
                            {"style", static_cast<int64_t>(style)}}});
    std::fprintf(stderr, "orbex: message box \"%s\": %s\n", caption ? caption : "", text ? text : "");
    return 1;  // IDOK: the virtual board never waits for a person
}

}  // namespace orbex::sim
