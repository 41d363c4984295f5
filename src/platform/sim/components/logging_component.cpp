#include "platform/sim/components/logging_component.h"

#include <memory>

#include "platform/guids.h"
#include "platform/sim/components/log_writer.h"

namespace orbex::sim {

void LoggingComponent::RegisterClasses(ComRuntime& com) {
    com.RegisterClass(guids::kClsidLogWriter, [this](const Guid& iid, port::ComPtr& out) { return Create(iid, out); });
}

HResult LoggingComponent::Create(const Guid& iid, port::ComPtr& out) {
    if (!m_config.loggingComponent) return kRegdbEClassNotReg;  // not installed: the class is unknown
    if (HResult hr = m_faults.Next("CreateLogWriter")) return hr;
    return std::make_shared<LogWriter>(m_system, m_paths, m_clock, m_events)->QueryInterface(iid, out);
}

}  // namespace orbex::sim
