#include "platform/sim/devices/crossbar.h"

#include "platform/guids.h"
#include "platform/sim/ledger.h"

namespace orbex::sim {

class SimCrossbar final : public port::IAMCrossbar, public std::enable_shared_from_this<SimCrossbar> {
    LedgerToken m_ledgerEntry{"COM", "IAMCrossbar"};  // counted while the object lives
public:
    SimCrossbar(CrossbarModel& model, FaultTable& faults) : m(model), m_faults(faults) {}

    HResult QueryInterface(const Guid& iid, port::ComPtr& out) override {
        out.reset();
        if (iid != guids::kIidAmCrossbar && iid != guids::kIidUnknown) return kENoInterface;
        out = shared_from_this();
        return kSOk;
    }
    HResult get_PinCounts(int32_t* outputCount, int32_t* inputCount) override {
        if (!outputCount || !inputCount) return kEPointer;
        if (HResult hr = m_faults.Next("CrossbarGetPinCounts")) return hr;
        *outputCount = m.m_config.outputs;
        *inputCount = static_cast<int32_t>(m.m_config.inputs.size());
        return kSOk;
    }
    HResult CanRoute(int32_t output, int32_t input) override {
        if (!m.ValidPins(output, input)) return kEInvalidArg;
        return m.m_config.refused.count(input) ? kSFalse : kSOk;
    }
    HResult Route(int32_t output, int32_t input) override {
        if (HResult hr = m_faults.Next("CrossbarRoute")) return hr;
        if (!m.ValidPins(output, input)) return kEInvalidArg;
        if (auto it = m.m_config.refused.find(input); it != m.m_config.refused.end()) return it->second;
        m.m_routes[static_cast<size_t>(output)] = input;
        if (output == 0) m.m_signal.SetRoute(m.m_config.inputs[static_cast<size_t>(input)]);
        return kSOk;
    }
    HResult get_IsRoutedTo(int32_t output, int32_t* input) override {
        if (!input) return kEPointer;
        if (output < 0 || output >= m.m_config.outputs) return kEInvalidArg;
        *input = m.RoutedTo(output);
        return kSOk;
    }

private:
    CrossbarModel& m;
    FaultTable& m_faults;
};

// Output 0 starts on the first input bound to the source [Signal] routes.
CrossbarModel::CrossbarModel(const CrossbarConfig& config, SignalPath& signal)
    : m_config(config), m_signal(signal), m_routes(static_cast<size_t>(config.outputs), -1) {
    if (m_routes.empty() || signal.Route() == SourceId::None) return;
    for (size_t i = 0; i < m_config.inputs.size(); ++i)
        if (m_config.inputs[i] == signal.Route()) {
            m_routes[0] = static_cast<int32_t>(i);
            break;
        }
}

bool CrossbarModel::ValidPins(int32_t output, int32_t input) const {
    return output >= 0 && output < m_config.outputs && input >= 0 &&
           input < static_cast<int32_t>(m_config.inputs.size());
}

int32_t CrossbarModel::RoutedTo(int32_t output) const {
    return output >= 0 && output < m_config.outputs ? m_routes[static_cast<size_t>(output)] : -1;
}

std::shared_ptr<port::IAMCrossbar> CrossbarModel::Interface(FaultTable& faults) {
    return std::make_shared<SimCrossbar>(*this, faults);
}

}  // namespace orbex::sim
