// Platform events of the virtual board (commands run, registry and profile
// writes, message boxes), delivered in the order they happen.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <variant>
#include <vector>

namespace orbex::sim {

struct EventField {
    std::string name;
    std::variant<std::string, int64_t> value;
};

struct PlatformEvent {
    std::string event;  // "Platform" or "MessageBox"
    std::vector<EventField> fields;
};

using EventSink = std::function<void(const PlatformEvent&)>;

// Where the board's events go; empty when nobody listens, and then the board
// does not build them.
// The sink of the hosting harness, when the process has one (the
// OrbexHarnessEvent hook); otherwise empty.
EventSink HarnessEventSink();

}  // namespace orbex::sim
