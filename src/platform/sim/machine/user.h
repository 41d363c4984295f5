// The person at the machine: a message box is shown as an event and on
// standard error, and answered at once with OK.
#pragma once

#include "platform/ports.h"
#include "platform/sim/events.h"

namespace orbex::sim {

class VirtualUser final : public port::IUser {
public:
    explicit VirtualUser(const EventSink& events) : m_events(events) {}

    int32_t ShowMessageBox(const char* text, const char* caption, uint32_t style) override;

private:
    const EventSink& m_events;
};

}  // namespace orbex::sim
