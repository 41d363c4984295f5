#include "platform/sim/display/overlay_config.h"

#include "platform/sim/profile/profile_values.h"

namespace orbex::sim {

SurfaceConfigs DefaultSurfaces() {
    return {{"front", {true, SurfaceKind::OverlayFront, 720, 480, 1440, 16, true, true}},
            {"back", {true, SurfaceKind::OverlayBack, 720, 480, 1440, 16, true, true}},
            {"primary", {true, SurfaceKind::Primary, 1024, 768, 4096, 32, false, true}}};
}

void ReadKey(OverlayMixerConfig& c, const ProfileEntry& e) {
    if (e.Is("filter"))
        c.filter = ParseChoice(e.value, "present", "absent", e.line);
    else if (e.Is("exclusivemode"))
        c.exclusiveMode = ParseChoice(e.value, "present", "absent", e.line);
    else
        e.RefuseKey();
}

void ReadSurfaceKey(OverlayMixerConfig& c, const ProfileEntry& e) {
    size_t dot = e.section.find('.');
    if (dot == std::string::npos || dot + 1 == e.section.size()) e.Refuse("a [Surface] section needs a name");
    SurfaceConfig& s = c.surfaces[Lower(e.section.substr(dot + 1))];
    auto dimension = [&](uint32_t limit) {
        int64_t v = ParseNumber(e.value, e.line);
        if (v < 0 || v > limit) e.Refuse("\"" + e.value + "\" is out of range (0 to " + std::to_string(limit) + ")");
        return static_cast<uint32_t>(v);
    };
    if (e.Is("kind")) {
        std::string v = Lower(e.value);
        if (v == "overlayfront")
            s.kind = SurfaceKind::OverlayFront;
        else if (v == "overlayback")
            s.kind = SurfaceKind::OverlayBack;
        else if (v == "primary")
            s.kind = SurfaceKind::Primary;
        else if (v == "offscreen")
            s.kind = SurfaceKind::Offscreen;
        else
            e.Refuse("\"" + e.value + "\" is not OverlayFront, OverlayBack, Primary or Offscreen");
    } else if (e.Is("present")) {
        s.present = ParseChoice(e.value, "yes", "no", e.line);
    } else if (e.Is("width")) {
        s.width = dimension(16384);
    } else if (e.Is("height")) {
        s.height = dimension(16384);
    } else if (e.Is("pitch")) {
        s.pitch = static_cast<int32_t>(dimension(65536));
    } else if (e.Is("bitsperpixel")) {
        s.bitsPerPixel = dimension(64);
    } else if (e.Is("yuv")) {
        s.yuv = ParseChoice(e.value, "yes", "no", e.line);
    } else if (e.Is("lockmemory")) {
        s.lockGivesMemory = ParseChoice(e.value, "yes", "no", e.line);
    } else {
        e.RefuseKey();
    }
}

void CheckSurfaces(const OverlayMixerConfig& c, int lastLine) {
    for (const auto& [name, s] : c.surfaces)
        if (static_cast<uint64_t>(s.pitch) * s.height > kMaxSurfaceBytes)
            throw ProfileError{lastLine, "surface \"" + name + "\" needs more than 64 MiB"};
}

}  // namespace orbex::sim
