#include "platform/sim/devices/tuner_config.h"

#include "platform/sim/profile/profile_values.h"
#include "platform/sim/signal/signal_config.h"

namespace orbex::sim {
namespace {

constexpr int64_t kMaxChannel = 9999;

int32_t Ranged(const ProfileEntry& e, int64_t low, int64_t high, const char* what) {
    int64_t v = ParseNumber(e.value, e.line);
    if (v < low || v > high) e.Refuse(what);
    return static_cast<int32_t>(v);
}

}  // namespace

void ReadKey(TunerConfig& c, const ProfileEntry& e) {
    if (e.Is("availableformats")) {
        c.formats = ParseU32(e.value, e.line);
        if (c.formats & ~0xFFFFFu) e.Refuse("\"" + e.value + "\" has bits beyond the analog video standards (0xFFFFF)");
    } else if (e.Is("availablemodes")) {
        c.modes = Ranged(e, 0, 0x1F, "tuner modes are bits of TV 1, FM 2, AM 4, DSS 8 and DTV 0x10");
    } else if (e.Is("countrycode")) {
        c.countryCode = Ranged(e, 0, 9999, "a country code is 0 to 9999");
    } else if (e.Is("poweronchannel")) {
        c.powerOnChannel = Ranged(e, 0, kMaxChannel, "a channel is 0 to 9999");
    } else if (e.Is("settletime")) {
        c.settleMs = static_cast<uint32_t>(Ranged(e, 0, 10000, "a settle time is 0 to 10000 ms"));
    } else {
        e.RefuseKey();
    }
}

SourceConfig& ChannelOf(TunerConfig& c, const std::string& section, int line) {
    size_t dot = section.find('.');
    std::string number = dot == std::string::npos ? std::string() : Trim(section.substr(dot + 1));
    int64_t channel = -1;
    try {
        channel = number.empty() ? -1 : ParseNumber(number, line);
    } catch (const ProfileError&) {
    }
    if (channel < 0 || channel > kMaxChannel || number[0] == '-' || number.find('x') != std::string::npos ||
        number.find('X') != std::string::npos)
        throw ProfileError{line, "a [Channel] section is named by its channel number, 0 to 9999: [Channel.33]"};
    return c.channels[static_cast<int32_t>(channel)];
}

void ReadChannelKey(TunerConfig& c, const ProfileEntry& e) {
    ReadSourceConfigKey(ChannelOf(c, e.section, e.line), e);
}

}  // namespace orbex::sim
