// The board's analog video crossbar: inputs bound to the sources (or to
// nothing plugged in), outputs, and the routes. Output 0 feeds the decoder, so
// routing it changes what the signal path delivers; the other outputs only
// remember their route.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <vector>

#include "platform/sim/faults.h"
#include "platform/sim/signal/signal_path.h"
#include "platform/tuner.h"

namespace orbex::sim {

struct CrossbarConfig {
    std::vector<SourceId> inputs = {SourceId::Tuner, SourceId::Composite, SourceId::SVideo};
    int32_t outputs = 1;
    std::map<int32_t, HResult> refused;  // inputs the driver will not route, with its answer
};

class CrossbarModel {
public:
    CrossbarModel(const CrossbarConfig& config, SignalPath& signal);

    int32_t RoutedTo(int32_t output) const;
    std::shared_ptr<port::IAMCrossbar> Interface(FaultTable& faults);

private:
    friend class SimCrossbar;
    bool ValidPins(int32_t output, int32_t input) const;

    CrossbarConfig m_config;
    SignalPath& m_signal;
    std::vector<int32_t> m_routes;  // per output; -1: none
};

}  // namespace orbex::sim
