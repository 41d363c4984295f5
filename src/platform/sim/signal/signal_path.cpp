#include "platform/sim/signal/signal_path.h"

namespace orbex::sim {

SourceConfig SignalPath::SourceAt(SourceId id, uint32_t at) const {
    switch (id) {
        case SourceId::Tuner: return m_tunerSource ? m_tunerSource(at) : m_config.tuner;
        case SourceId::Composite: return m_config.composite;
        case SourceId::SVideo: return m_config.svideo;
        case SourceId::None: break;
    }
    return NoSignal();
}

DecoderInput SignalPath::InputAt(uint32_t at) const {
    DecoderInput input;
    input.source = SourceAt(m_config.route, at);
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
