#include "platform/sim/events.h"

#include "platform/harness_hook.h"
#include "platform/host/host.h"

namespace orbex::sim {

EventSink HarnessEventSink() {
    // The program's exports do not change while it runs: looked up once.
    static const auto exported = reinterpret_cast<OrbexHarnessEventFn>(host::ProgramSymbol(ORBEX_HARNESS_EVENT_SYMBOL));
    const OrbexHarnessEventFn hook = exported;
    if (!hook) return {};
    return [hook](const PlatformEvent& e) {
        std::vector<OrbexEventField> fields;
        fields.reserve(e.fields.size());
        for (const EventField& f : e.fields) {
            if (const auto* text = std::get_if<std::string>(&f.value))
                fields.push_back({f.name.c_str(), text->c_str(), 0, 0});
            else
                fields.push_back({f.name.c_str(), nullptr, std::get<int64_t>(f.value), 1});
        }
        hook(e.event.c_str(), fields.data(), static_cast<int>(fields.size()));
    };
}

}  // namespace orbex::sim
