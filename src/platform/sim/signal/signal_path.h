// The sources of the board and the path from them to the decoder's input:
// the route the crossbar selects and the closed-circuit test box on the way.
#pragma once

#include <functional>
#include <string>

#include "platform/sim/signal/video_source.h"

namespace orbex::sim {

enum class SourceId : uint8_t { None, Tuner, Composite, SVideo };

struct SignalConfig {
    SourceConfig tuner;  // the tuner's current channel
    SourceConfig composite{false};
    SourceConfig svideo{false};
    SourceId route = SourceId::Tuner;  // what the crossbar routes to the decoder
};

// What reaches the decoder's input.
struct DecoderInput {
    bool signal = false;
    SourceConfig source;
};

class SignalPath {
public:
    explicit SignalPath(const SignalConfig& config) : m_config(config) {}

    DecoderInput Input() const;
    SourceId Route() const { return m_config.route; }
    void SetRoute(SourceId route);
    // The test box's relay: an open circuit lets no signal through.
    void SetCircuitOpen(bool open);
    bool CircuitOpen() const { return m_circuitOpen; }

    // Called before anything on the path changes, so that time-driven models
    // settle what happened under the old conditions first.
    void SetBeforeChange(std::function<void()> beforeChange) { m_beforeChange = std::move(beforeChange); }

private:
    void BeforeChange() {
        if (m_beforeChange) m_beforeChange();
    }

    SignalConfig m_config;
    bool m_circuitOpen = false;
    std::function<void()> m_beforeChange;
};

const char* SourceName(SourceId id);

}  // namespace orbex::sim
