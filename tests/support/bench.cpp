#include "bench.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "../../tools/harness/event.h"
#include "platform/harness_hook.h"
#include "platform/host/host.h"

namespace orbex::testing {
namespace {

Bench* g_bench = nullptr;  // the bench whose result library calls are being recorded

std::string Json(const sim::PlatformEvent& e) {
    harness::Event out{e.event, {}};
    for (const sim::EventField& f : e.fields) {
        if (const auto* s = std::get_if<std::string>(&f.value))
            out.fields.emplace_back(f.name, *s);
        else
            out.fields.emplace_back(f.name, std::get<int64_t>(f.value));
    }
    return harness::ToJson(out);
}

}  // namespace

const char* const Bench::kBenchSettings = "[FileInfo]\nBenchNone=0\n";

Bench::Bench(const std::string& profileText, bool noVerdict) {
    std::string error;
    auto profile = sim::ParseBoardProfile(profileText, "<test board>", error);
    if (!profile) throw std::runtime_error(error);
    m_dir = host::MakeTempDirectory("orbex-test-");
    if (m_dir.empty()) throw std::runtime_error("cannot make a temporary directory");
    sim::SimOptions options;
    options.hostCurrentDirectory = m_dir;
    options.noVerdict = noVerdict;
    options.events = [this](const sim::PlatformEvent& e) { m_events.push_back(Json(e)); };
    m_platform = std::make_unique<sim::VirtualBoard>(std::move(*profile), options);
    m_process = std::make_unique<COrbexProcess>(*m_platform);
    g_bench = this;
    // A settings file whose component database holds one record that never
    // applies, so graph runs do not carry the checker's missing-database
    // report; tests of the settings write their own file over it.
    WriteFile("orbex.ini", kBenchSettings);
}

Bench::Bench(const std::string& profileText, const Decorate& decorate) : Bench(profileText) {
    m_process.reset();
    m_decorated = decorate(*m_platform);
    m_process = std::make_unique<COrbexProcess>(*m_decorated);
}

Bench::~Bench() {
    m_process.reset();
    m_decorated.reset();
    m_platform.reset();
    if (g_bench == this) g_bench = nullptr;
    std::error_code ec;
    std::filesystem::remove_all(m_dir, ec);
}

std::string Bench::Board(const std::string& extra) {
    return std::string(sim::ReferenceBoardText()) + "\n" + extra;
}

void Bench::WriteFile(const std::string& name, const std::string& content) const {
    std::ofstream(m_dir + "/" + name, std::ios::binary) << content;
}

std::string Bench::ReadFile(const std::string& name) const {
    std::ifstream in(m_dir + "/" + name, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

bool Bench::FileExists(const std::string& name) const {
    return std::filesystem::exists(m_dir + "/" + name);
}

void Bench::WriteDefaultGraph(const std::string& extra) const {
    WriteFile("default.gf",
              "[ConnectionMap]\n"
              "Tuner=;1\nCrossbar=1;2\nCapture=2;0 3 0\nRenderer=3\n"
              "[Tuner]\nCLSID=A799A800,A46D,11D0,A1,8C,00,A0,24,01,DC,D4\nFilterType=2\n"
              "[Crossbar]\nCLSID=A799A801,A46D,11D0,A1,8C,00,A0,24,01,DC,D4\nFilterType=4\n"
              "[Capture]\nCLSID=860BB310,5D01,11D0,BD,3B,00,A0,C9,11,CE,86\nFilterType=3\n"
              "[Renderer]\nCLSID=70E102B0,5556,11CE,97,C0,00,AA,00,55,59,5A\nFilterType=1\n"
              "[Stream]\nCaptureFormatGUID=59565955,0000,0010,80,00,00,AA,00,38,9B,71\n"
              "VideoOutputWidth=320\nVideoOutputHeight=240\n" +
                  extra);
}

std::vector<std::string> Bench::Events(const std::string& name) const {
    std::vector<std::string> out;
    std::string prefix = "{\"event\":\"" + name + "\"";
    for (const std::string& e : m_events)
        if (name.empty() || e.compare(0, prefix.size(), prefix) == 0) out.push_back(e);
    return out;
}

std::vector<std::string> Bench::LogLines() const {
    std::vector<std::string> out;
    std::istringstream in(ReadFile("orbex.txt"));
    std::string line;
    while (std::getline(in, line)) {
        size_t blank = line.find(' ');
        out.push_back(blank == std::string::npos ? line : line.substr(blank + 1));
    }
    return out;
}

std::string Escaped(const std::string& text) {
    std::string json = harness::ToJson(harness::Event{"", {{"t", text}}});
    // {"event":"","t":"<escaped>"}
    return json.substr(17, json.size() - 19);
}

std::string ReportJson(const std::string& test, const std::string& step, int status, const std::string& description,
                       const std::string& expected, const std::string& actual) {
    return harness::ToJson(harness::Event{"ResultReport",
                                          {{"test", test},
                                           {"step", step},
                                           {"status", static_cast<int64_t>(status)},
                                           {"description", description},
                                           {"expected", expected},
                                           {"actual", actual}}});
}

}  // namespace orbex::testing

// The result library (libverdict.so, loaded by the virtual board) reports here.
extern "C" ORBEX_HOOK_EXPORT void OrbexHarnessEvent(const char* event, const OrbexEventField* fields, int count) {
    if (!orbex::testing::g_bench) return;
    orbex::harness::Event e{event, {}};
    for (int i = 0; i < count; ++i) {
        if (fields[i].isNumber)
            e.fields.emplace_back(fields[i].name, static_cast<int64_t>(fields[i].number));
        else
            e.fields.emplace_back(fields[i].name, std::string(fields[i].text ? fields[i].text : ""));
    }
    orbex::testing::g_bench->Record(orbex::harness::ToJson(e));
}
