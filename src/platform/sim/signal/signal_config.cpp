#include "platform/sim/signal/signal_config.h"

#include "platform/sim/profile/profile_values.h"

namespace orbex::sim {
namespace {

SourceId ParseSource(const ProfileEntry& e, const std::string& name) {
    std::string n = Lower(name);
    if (n == "tuner") return SourceId::Tuner;
    if (n == "composite") return SourceId::Composite;
    if (n == "svideo") return SourceId::SVideo;
    if (n == "none") return SourceId::None;
    e.Refuse("\"" + name + "\" is not a source (Tuner, Composite, SVideo or None)");
}

}  // namespace

void ReadKey(SignalConfig& c, const ProfileEntry& e) {
    if (e.Is("route"))
        c.route = ParseSource(e, e.value);
    else
        e.RefuseKey();
}

void ReadSourceKey(SignalConfig& c, const ProfileEntry& e) {
    size_t dot = e.section.find('.');
    std::string name = dot == std::string::npos ? std::string() : e.section.substr(dot + 1);
    SourceId id = name.empty() || Lower(name) == "none" ? SourceId::None : ParseSource(e, name);
    if (id == SourceId::None) e.Refuse("a [Source] section names Tuner, Composite or SVideo");
    ReadSourceConfigKey(id == SourceId::Tuner ? c.tuner : id == SourceId::Composite ? c.composite : c.svideo, e);
}

void ReadSourceConfigKey(SourceConfig& s, const ProfileEntry& e) {
    auto decimal = [&e](double low, double high, const char* what) {
        double v = ParseDecimal(e.value, e.line);
        if (v < low || v > high) e.Refuse(what);
        return v;
    };
    if (e.Is("signal")) {
        s.signal = ParseChoice(e.value, "present", "absent", e.line);
    } else if (e.Is("lines")) {
        int64_t lines = ParseNumber(e.value, e.line);
        if (lines != 525 && lines != 625) e.Refuse("lines are 525 or 625");
        s.family = lines == 525 ? LineFamily::Lines525 : LineFamily::Lines625;
    } else if (e.Is("picture")) {
        s.picture = ParseChoice(e.value, "bars", "noise", e.line) ? PictureKind::Bars : PictureKind::Noise;
    } else if (e.Is("coverage")) {
        int64_t percent = ParseNumber(e.value, e.line);
        if (percent < 0 || percent > 100) e.Refuse("coverage is a percentage, 0 to 100");
        s.coverage = static_cast<uint32_t>(percent);
    } else if (e.Is("captions")) {
        for (char ch : e.value)
            if (ch < 0x20 || ch > 0x7E) e.Refuse("captions are printable ASCII characters");
        s.captions.text = e.value;
    } else if (e.Is("captionamplitude")) {
        int64_t percent = ParseNumber(e.value, e.line);
        if (percent < 0 || percent > 200) e.Refuse("a caption amplitude is 0 to 200 percent");
        s.captions.amplitudePercent = static_cast<uint32_t>(percent);
    } else if (e.Is("captionnoise")) {
        s.captions.noiseIre = decimal(0, 100, "caption noise is 0 to 100 IRE");
    } else if (e.Is("captionoffset")) {
        s.captions.dcOffsetIre = decimal(-100, 100, "a caption offset is -100 to 100 IRE");
    } else {
        e.RefuseKey();
    }
}

}  // namespace orbex::sim
