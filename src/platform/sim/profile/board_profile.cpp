#include "platform/sim/profile/board_profile.h"

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/host/host.h"
#include "platform/sim/components/channel_scan_config.h"
#include "platform/sim/components/test_box_config.h"
#include "platform/sim/devices/capture_stream_config.h"
#include "platform/sim/devices/crossbar_config.h"
#include "platform/sim/devices/decoder_config.h"
#include "platform/sim/devices/tuner_config.h"
#include "platform/sim/profile/profile_values.h"
#include "platform/sim/signal/signal_config.h"

namespace orbex::sim {
namespace {

// One kind of section and the part of the profile its model reads it into.
struct SectionKind {
    const char* name;                                           // lower case; [Device.Tuner] is of kind "device"
    void (*open)(BoardProfile&, const std::string&, int line);  // at each header of the kind (with its name), or null
    void (*read)(BoardProfile&, const ProfileEntry&);           // each key=value line
    void (*check)(const BoardProfile&, int lastLine);           // after the last line, or null
};

const SectionKind kSectionKinds[] = {
    {"machine", nullptr, [](BoardProfile& p, const ProfileEntry& e) { ReadKey(p.machine, e); }, nullptr},
    {"desktop", nullptr, [](BoardProfile& p, const ProfileEntry& e) { ReadKey(p.desktop, e); }, nullptr},
    {"power", nullptr, [](BoardProfile& p, const ProfileEntry& e) { ReadKey(p.power, e); }, nullptr},
    {"screensaver", nullptr, [](BoardProfile& p, const ProfileEntry& e) { ReadKey(p.screenSaver, e); }, nullptr},
    {"components", nullptr, [](BoardProfile& p, const ProfileEntry& e) { ReadKey(p.components, e); }, nullptr},
    {"display", nullptr, [](BoardProfile& p, const ProfileEntry& e) { ReadKey(p.display, e); }, nullptr},
    {"kerneldriver", nullptr, [](BoardProfile& p, const ProfileEntry& e) { ReadKey(p.kernelDriver, e); }, nullptr},
    {"videomemory", nullptr, [](BoardProfile& p, const ProfileEntry& e) { ReadKey(p.videoMemory, e); },
     [](const BoardProfile& p, int line) { CheckVideoMemory(p.videoMemory, line); }},
    {"device", [](BoardProfile& p, const std::string& section, int) { DeviceOf(p.media, section); },
     [](BoardProfile& p, const ProfileEntry& e) { ReadKey(DeviceOf(p.media, e.section), e); },
     [](const BoardProfile& p, int line) { CheckDevices(p.media, line); }},
    {"filter", [](BoardProfile& p, const std::string& section, int) { FilterClassOf(p.media, section); },
     [](BoardProfile& p, const ProfileEntry& e) { ReadKey(FilterClassOf(p.media, e.section), e); },
     [](const BoardProfile& p, int line) { CheckFilterClasses(p.media, line); }},
    {"registry", nullptr, [](BoardProfile& p, const ProfileEntry& e) { ReadKey(p.registry, e); }, nullptr},
    {"files", nullptr, [](BoardProfile& p, const ProfileEntry& e) { ReadKey(p.files, e); }, nullptr},
    {"inf", [](BoardProfile& p, const std::string& section, int) { RestartInfFile(p.installed, section); },
     [](BoardProfile& p, const ProfileEntry& e) { ReadInfKey(InfFileOf(p.installed, e.section), e); },
     [](const BoardProfile& p, int line) { CheckInfFiles(p.installed, line); }},
    {"devicemanager", nullptr, [](BoardProfile& p, const ProfileEntry& e) { ReadKey(p.installed, e); }, nullptr},
    {"faults", nullptr, [](BoardProfile& p, const ProfileEntry& e) { ReadKey(p.faults, e); }, nullptr},
    {"signal", nullptr, [](BoardProfile& p, const ProfileEntry& e) { ReadKey(p.signal, e); }, nullptr},
    {"source", nullptr, [](BoardProfile& p, const ProfileEntry& e) { ReadSourceKey(p.signal, e); }, nullptr},
    {"decoder", nullptr, [](BoardProfile& p, const ProfileEntry& e) { ReadKey(p.decoder, e); }, nullptr},
    {"overlaymixer", nullptr, [](BoardProfile& p, const ProfileEntry& e) { ReadKey(p.overlay, e); }, nullptr},
    {"surface", nullptr, [](BoardProfile& p, const ProfileEntry& e) { ReadSurfaceKey(p.overlay, e); },
     [](const BoardProfile& p, int line) { CheckSurfaces(p.overlay, line); }},
    {"testbox", nullptr, [](BoardProfile& p, const ProfileEntry& e) { ReadKey(p.testBox, e); }, nullptr},
    {"tuner", nullptr, [](BoardProfile& p, const ProfileEntry& e) { ReadKey(p.tuner, e); }, nullptr},
    {"channel", [](BoardProfile& p, const std::string& section, int line) { ChannelOf(p.tuner, section, line); },
     [](BoardProfile& p, const ProfileEntry& e) { ReadChannelKey(p.tuner, e); }, nullptr},
    {"crossbar", nullptr, [](BoardProfile& p, const ProfileEntry& e) { ReadKey(p.crossbar, e); }, nullptr},
    {"capturestream", nullptr, [](BoardProfile& p, const ProfileEntry& e) { ReadKey(p.captureStream, e); },
     [](const BoardProfile& p, int line) { CheckCaptureStream(p.captureStream, line); }},
    {"captureformat",
     [](BoardProfile& p, const std::string& section, int line) { CaptureFormatOf(p.captureStream, section, line); },
     [](BoardProfile& p, const ProfileEntry& e) { ReadCaptureFormatKey(p.captureStream, e); }, nullptr},
    {"channelscan", nullptr, [](BoardProfile& p, const ProfileEntry& e) { ReadKey(p.channelScan, e); }, nullptr},
};

// Sections that describe one object each carry a dotted suffix: [Device.1].
const SectionKind* KindOf(std::string_view section) {
    std::string_view kind = section.substr(0, section.find('.'));
    for (const SectionKind& k : kSectionKinds)
        if (IsName(kind, k.name)) return &k;
    return nullptr;
}

constexpr int kMaxBaseDepth = 8;

std::optional<BoardProfile> Parse(const std::string& text, const std::string& source, int depth, std::string& error);

// The profile a [Profile] Base= names: "reference" is the built-in reference
// board; anything else is a file beside the profile that names it.
BoardProfile BaseProfile(const ProfileEntry& e, const std::string& source, int depth) {
    if (depth >= kMaxBaseDepth) e.Refuse("profiles based on each other more than 8 deep");
    std::string error;
    std::optional<BoardProfile> base;
    if (Lower(e.value) == "reference") {
        base = ReferenceBoard();
    } else {
        if (e.value.empty()) e.Refuse("Base= names the reference board or a profile file");
        size_t slash = source.find_last_of("/\\");
        bool absolute = e.value[0] == '/' || e.value[0] == '\\' || (e.value.size() > 1 && e.value[1] == ':');
        std::string path = absolute || slash == std::string::npos ? e.value : source.substr(0, slash + 1) + e.value;
        std::error_code ec;
        std::ifstream in(host::PathOf(path), std::ios::binary);
        if (!std::filesystem::is_regular_file(host::PathOf(path), ec) || !in)
            e.Refuse("cannot open the base profile \"" + path + "\"");
        std::ostringstream content;
        content << in.rdbuf();
        base = Parse(content.str(), path, depth + 1, error);
    }
    if (!base) e.Refuse("in the base profile: " + error);
    return std::move(*base);
}

std::optional<BoardProfile> Parse(const std::string& text, const std::string& source, int depth, std::string& error) {
    BoardProfile p;
    p.source = source;
    bool anyEntry = false;
    std::istringstream in(text);
    std::string raw, section;
    const SectionKind* kind = nullptr;
    int line = 0;
    try {
        while (std::getline(in, raw)) {
            ++line;
            std::string_view l = TrimView(raw);
            if (l.empty() || l[0] == ';' || l[0] == '#') continue;
            if (l[0] == '[') {
                if (l.back() != ']') throw ProfileError{line, "section header without \"]\""};
                section = Trim(l.substr(1, l.size() - 2));
                kind = KindOf(section);
                if (!kind && !IsName(section, "profile")) throw ProfileError{line, "unknown section [" + section + "]"};
                if (kind && kind->open) kind->open(p, section, line);
                continue;
            }
            size_t eq = l.find('=');
            if (eq == std::string::npos) throw ProfileError{line, "line without \"=\""};
            if (!kind && !IsName(section, "profile")) throw ProfileError{line, "key before the first section"};
            ProfileEntry entry{section, Trim(l.substr(0, eq)), Trim(l.substr(eq + 1)), line};
            if (!kind && entry.Is("purpose")) {
                p.purpose = entry.value;
            } else if (!kind && entry.Is("meanttofail")) {
                p.meantToFail.clear();
                for (std::string& item : Split(entry.value, ','))
                    if (!item.empty()) p.meantToFail.push_back(std::move(item));
            } else if (!kind) {  // [Profile] Base=: this profile starts as a copy of another
                if (!entry.Is("base")) entry.RefuseKey();
                if (anyEntry) entry.Refuse("Base= must come before every other key");
                p = BaseProfile(entry, source, depth);
                p.source = source;
                p.purpose.clear();
                p.meantToFail.clear();
            } else {
                kind->read(p, entry);
            }
            anyEntry = true;
        }
        for (const SectionKind& k : kSectionKinds)
            if (k.check) k.check(p, line);
    } catch (const ProfileError& e) {
        error = source + ":" + std::to_string(e.line) + ": " + e.what;
        return std::nullopt;
    }
    return p;
}

}  // namespace

std::optional<BoardProfile> ParseBoardProfile(const std::string& text, const std::string& source, std::string& error) {
    return Parse(text, source, 0, error);
}

std::optional<BoardProfile> LoadBoardProfile(const std::string& path, std::string& error) {
    std::ifstream in(host::PathOf(path), std::ios::binary);
    if (!in) {
        error = path + ": cannot open the board profile";
        return std::nullopt;
    }
    std::ostringstream text;
    text << in.rdbuf();
    return ParseBoardProfile(text.str(), path, error);
}

BoardProfile ReferenceBoard() {
    // Parsed once: most profiles start from it, and its text never changes.
    static const BoardProfile reference = [] {
        std::string error;
        auto p = ParseBoardProfile(ReferenceBoardText(), "<built-in reference board>", error);
        return p ? *p : BoardProfile{};
    }();
    return reference;
}

}  // namespace orbex::sim
