#include "platform/sim/machine/power.h"

namespace orbex::sim {
namespace {

// Times are compared as distances, so the 32-bit clock may wrap.
bool Within(uint32_t at, uint32_t start, uint32_t end) {
    return at - start < end - start;
}
bool AtOrAfter(uint32_t at, uint32_t start) {
    return static_cast<int32_t>(at - start) >= 0;
}

}  // namespace

bool PowerModel::Suspend() {
    if (!m_config.suspendAllowed) return false;
    uint32_t start = m_clock.Now();
    uint32_t length = m_config.suspendSeconds * 1000;
    m_sleeps.push_back({start, start + length});
    m_clock.Sleep(length);
    return true;
}

bool PowerModel::FramesHeld(uint32_t at) const {
    for (const Sleep& s : m_sleeps) {
        if (Within(at, s.start, s.end)) return true;
        if (!m_config.captureResumes && AtOrAfter(at, s.start)) return true;
    }
    return false;
}

std::optional<uint32_t> PowerModel::ChangeWithin(uint32_t from, uint32_t to) const {
    std::optional<uint32_t> first;
    auto consider = [&](uint32_t t) {
        uint32_t d = t - from;
        if (d == 0 || d > to - from) return;
        if (!first || d < *first - from) first = t;
    };
    for (const Sleep& s : m_sleeps) {
        consider(s.start);
        if (m_config.captureResumes) consider(s.end);
    }
    return first;
}

}  // namespace orbex::sim
