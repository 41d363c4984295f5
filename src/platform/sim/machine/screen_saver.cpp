#include "platform/sim/machine/screen_saver.h"

namespace orbex::sim {

void ScreenSaverModel::Start(const std::string& program) {
    m_running = true;
    m_program = program;
}

void ScreenSaverModel::End(const char* by) {
    if (!m_running) return;
    m_running = false;
    if (m_events)
        m_events(PlatformEvent{
            "Platform", {{"what", std::string("ScreenSaverEnd")}, {"program", m_program}, {"by", std::string(by)}}});
}

}  // namespace orbex::sim
