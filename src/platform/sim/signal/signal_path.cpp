#include "platform/sim/signal/signal_path.h"

namespace orbex::sim {

DecoderInput SignalPath::Input() const {
    DecoderInput input;
    switch (m_config.route) {
        case SourceId::Tuner: input.source = m_config.tuner; break;
        case SourceId::Composite: input.source = m_config.composite; break;
        case SourceId::SVideo: input.source = m_config.svideo; break;
        case SourceId::None: input.source.signal = false; break;
    }
    input.signal = input.source.signal && !m_circuitOpen;
    return input;
}

void SignalPath::SetRoute(SourceId route) {
    if (route == m_config.route) return;
    BeforeChange();
    m_config.route = route;
}

void SignalPath::SetCircuitOpen(bool open) {
    if (open == m_circuitOpen) return;
    BeforeChange();
    m_circuitOpen = open;
}

const char* SourceName(SourceId id) {
    switch (id) {
        case SourceId::Tuner: return "Tuner";
        case SourceId::Composite: return "Composite";
        case SourceId::SVideo: return "SVideo";
        case SourceId::None: return "None";
    }
    return "?";
}

}  // namespace orbex::sim
