#include "platform/sim/devices/decoder_config.h"

#include "platform/sim/profile/profile_values.h"

namespace orbex::sim {
namespace {

LockMode ParseLock(const ProfileEntry& e) {
    std::string v = Lower(e.value);
    if (v == "signal") return LockMode::Signal;
    if (v == "on") return LockMode::On;
    if (v == "off") return LockMode::Off;
    e.Refuse("\"" + e.value + "\" is not signal, on or off");
}

// Standards are AnalogVideoStandard bits up to SECAM_L1.
uint32_t ParseStandards(const ProfileEntry& e) {
    uint32_t mask = ParseU32(e.value, e.line);
    if (mask & ~0xFFFFFu) e.Refuse("\"" + e.value + "\" has bits beyond the analog video standards (0xFFFFF)");
    return mask;
}

}  // namespace

void ReadKey(DecoderConfig& c, const ProfileEntry& e) {
    if (e.Is("availablestandards")) {
        c.available = ParseStandards(e);
    } else if (e.Is("acceptedstandards")) {
        c.accepted = ParseStandards(e);
        c.acceptedSet = true;
    } else if (e.Is("refusalresult")) {
        c.refusal = static_cast<HResult>(ParseU32(e.value, e.line));
        if (c.refusal == kSOk) e.Refuse("a refusal is not S_OK");
    } else if (e.Is("startstandard")) {
        c.startStandard = ParseStandards(e);
    } else if (e.Is("outputenable")) {
        c.startEnabled = ParseChoice(e.value, "on", "off", e.line);
    } else if (e.Is("lock525")) {
        c.lock[kGroupNtsc] = ParseLock(e);
    } else if (e.Is("lockpal")) {
        c.lock[kGroupPal] = ParseLock(e);
    } else if (e.Is("locksecam")) {
        c.lock[kGroupSecam] = ParseLock(e);
    } else if (e.Is("lines525")) {
        c.lines[kGroupNtsc] = static_cast<int32_t>(ParseNumber(e.value, e.line));
    } else if (e.Is("linespal")) {
        c.lines[kGroupPal] = static_cast<int32_t>(ParseNumber(e.value, e.line));
    } else if (e.Is("linessecam")) {
        c.lines[kGroupSecam] = static_cast<int32_t>(ParseNumber(e.value, e.line));
    } else {
        e.RefuseKey();
    }
}

}  // namespace orbex::sim
