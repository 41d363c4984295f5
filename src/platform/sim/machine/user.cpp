#include "platform/sim/machine/user.h"

#include <cstdio>
#include <string>

#include "platform/message_box_answer.h"

namespace orbex::sim {

int32_t VirtualUser::ShowMessageBox(const char* text, const char* caption, uint32_t style) {
    // The virtual board never waits for a person: the box is answered with its default button.
    const int32_t answered = MessageBoxAnswer(style);
    if (m_events)
        m_events(PlatformEvent{"MessageBox",
                               {{"caption", std::string(caption ? caption : "")},
                                {"text", std::string(text ? text : "")},
                                {"style", static_cast<int64_t>(style)},
                                {"answered", static_cast<int64_t>(answered)}}});
    std::fprintf(stderr, "orbex: message box \"%s\": %s\n", caption ? caption : "", text ? text : "");
    return answered;
}

}  // namespace orbex::sim
