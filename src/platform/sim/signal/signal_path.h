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
    SourceConfig composite = NoSignal();
    SourceConfig svideo = NoSignal();
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

    // The tuner's output at a virtual time (its current channel, nothing while
    // it settles); without one the tuner source is [Source.Tuner].
    void SetTunerSource(std::function<SourceConfig(uint32_t at)> tuner) { m_tunerSource = std::move(tuner); }
    void SetClock(std::function<uint32_t()> now) { m_now = std::move(now); }
    uint32_t Now() const { return m_now ? m_now() : 0; }

    DecoderInput Input() const { return InputAt(Now()); }
    DecoderInput InputAt(uint32_t at) const;
    // What a source carries at a virtual time, wherever the route points.
    SourceConfig SourceAt(SourceId id, uint32_t at) const;
    SourceId Route() const { return m_config.route; }
    void SetRoute(SourceId route);
    // The test box's relay: an open circuit lets no signal through.
    void SetCircuitOpen(bool open);
    bool CircuitOpen() const { return m_circuitOpen; }

    // Called before anything on the path changes (also by the tuner), so that time-driven models
    // settle what happened under the old conditions first.
    void SetBeforeChange(std::function<void()> beforeChange) { m_beforeChange = std::move(beforeChange); }

    void BeforeChange() {
        if (m_beforeChange) m_beforeChange();
    }

private:
    SignalConfig m_config;
    std::function<SourceConfig(uint32_t)> m_tunerSource;
    std::function<uint32_t()> m_now;
    bool m_circuitOpen = false;
    std::function<void()> m_beforeChange;
};

const char* SourceName(SourceId id);

}  // namespace orbex::sim
