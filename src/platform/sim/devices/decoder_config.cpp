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

// A line count a decoder could report; 0 keeps the standard's own.
int32_t ParseLines(const ProfileEntry& e) {
    int64_t lines = ParseNumber(e.value, e.line);
    if (lines < 0 || lines > 2000) e.Refuse("a line count is 0 to 2000");
    return static_cast<int32_t>(lines);
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
        if (c.startStandard == 0 || (c.startStandard & (c.startStandard - 1)) != 0)
            e.Refuse("a decoder starts with one standard bit");
    } else if (e.Is("outputenable")) {
        c.startEnabled = ParseChoice(e.value, "on", "off", e.line);
    } else if (e.Is("lock525")) {
        c.lock[kGroupNtsc] = ParseLock(e);
    } else if (e.Is("lockpal")) {
        c.lock[kGroupPal] = ParseLock(e);
    } else if (e.Is("locksecam")) {
        c.lock[kGroupSecam] = ParseLock(e);
    } else if (e.Is("lines525")) {
        c.lines[kGroupNtsc] = ParseLines(e);
    } else if (e.Is("linespal")) {
        c.lines[kGroupPal] = ParseLines(e);
    } else if (e.Is("linessecam")) {
        c.lines[kGroupSecam] = ParseLines(e);
    } else {
        e.RefuseKey();
    }
}

}  // namespace orbex::sim
