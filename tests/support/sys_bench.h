// Helpers of the tuner, crossbar and VBI tests: a bench over a board and a
// graph file, and report lists whose forwarded log lines are compared
// without their running number.
#pragma once

#include <cstdio>
#include <regex>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench.h"

namespace orbex::testing {

// The reference board's graph: tuner -> crossbar -> capture -> renderer.
inline std::string SysGraph() {
    return "[ConnectionMap]\n"
           "Tuner=;1\nCrossbar=1;2\nCapture=2;0 3 0\nRenderer=3\n"
           "[Tuner]\nCLSID=A799A800,A46D,11D0,A1,8C,00,A0,24,01,DC,D4\nFilterType=2\n"
           "[Crossbar]\nCLSID=A799A801,A46D,11D0,A1,8C,00,A0,24,01,DC,D4\nFriendlyName=Qel Crossbar\nFilterType=4\n"
           "[Capture]\nCLSID=860BB310,5D01,11D0,BD,3B,00,A0,C9,11,CE,86\nFilterType=3\nVideoStandard=1\n"
           "[Renderer]\nCLSID=70E102B0,5556,11CE,97,C0,00,AA,00,55,59,5A\nFilterType=1\n";
}

// A text with its first occurrence of one piece replaced.
inline std::string Replaced(std::string text, const std::string& from, const std::string& to) {
    size_t at = text.find(from);
    if (at == std::string::npos) throw std::runtime_error("not in the text: " + from);
    return text.replace(at, from.size(), to);
}

// The no-tuner stock board (decoder type 2, composite and S-video inputs).
inline std::string NoTunerBoard() {
    return Replaced(Bench::Board(), "MMTable=01 00 00 00 00 01 00 01 02 03 00 00",
                    "MMTable=00 00 00 00 00 02 00 02 03 00 00 00");
}

// The reference board with another tuner type in its MMTable.
inline std::string BoardWithTunerType(int type, const std::string& extra = "") {
    char byte0[3];
    std::snprintf(byte0, sizeof byte0, "%02X", type);
    return Replaced(Bench::Board(extra), "MMTable=01 ", std::string("MMTable=") + byte0 + " ");
}

struct SysBench : Bench {
    explicit SysBench(const std::string& profile = Bench::Board(), const std::string& graph = SysGraph())
        : Bench(profile) {
        WriteFile("default.gf", graph);
    }
    COrbGBuilder& Builder() { return Process().GraphBuilder(); }
    // Sets the logger up as a call of the entry does, without running a test.
    void OpenLog() {
        Process().Verdict().Load();
        Process().LogManager().Open();
        Builder().m_pLogger = &Process().LogManager();
    }
    // Runs a command line, then loads the result library again (the entry
    // unloads it after a test ran) so that direct calls still report.
    void RunThenReopen(const char* commandLine) {
        Run(commandLine);
        OpenLog();
        ClearEvents();
    }
    bool Logged(const std::string& line) const {
        for (const std::string& l : LogLines())
            if (l == line) return true;
        return false;
    }
    // Reports with the running number of forwarded log lines ("msg7") cut to "msg".
    std::vector<std::string> Results() const {
        std::vector<std::string> out;
        static const std::regex kMsg("\"step\":\"msg[0-9]+\"");
        for (const std::string& r : Reports()) out.push_back(std::regex_replace(r, kMsg, "\"step\":\"msg\""));
        return out;
    }
};

inline std::string Rep(const std::string& id, int status, const std::string& description, const std::string& expected,
                       const std::string& actual) {
    return ReportJson(id, id, status, description, expected, actual);
}
// A forwarded log line: blue lines as Pass, black as NA, red as Fail.
inline std::string Msg(const std::string& id, int status, const std::string& text) {
    return ReportJson(id, "msg", status, "Message Log:", "", text);
}

}  // namespace orbex::testing

namespace orbex::testing {

// A file of examples/ (the shipped graph file and settings).
inline std::string ExampleFile(const std::string& name) {
    std::FILE* f = std::fopen((std::string(ORBEX_SOURCE_DIR) + "/examples/" + name).c_str(), "rb");
    if (!f) throw std::runtime_error("no example file " + name);
    std::string text;
    char buffer[4096];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;) text.append(buffer, n);
    std::fclose(f);
    return text;
}

// A bench set up as the test rack: the shipped graph file and orbex.ini.
struct RackBench : SysBench {
    explicit RackBench(const std::string& profile = Bench::Board()) : SysBench(profile, ExampleFile("default.gf")) {
        WriteFile("orbex.ini", ExampleFile("orbex.ini"));
    }
    int32_t Channel() { return Platform().Tuner().Channel(); }
    uint32_t Now() { return Platform().Clock().TimeGetTime(); }
};

}  // namespace orbex::testing

namespace orbex::testing {

// A stock board of boards/, as its profile text; a base it names by file
// (relative to boards/) is named by its whole path, so that the text stands alone.
inline std::string StockBoardText(const std::string& name) {
    const std::string dir = std::string(ORBEX_SOURCE_DIR) + "/boards/";
    std::FILE* f = std::fopen((dir + name + ".ini").c_str(), "rb");
    if (!f) throw std::runtime_error("no stock board " + name);
    std::string text;
    char buffer[4096];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;) text.append(buffer, n);
    std::fclose(f);
    const std::string base = "\nBase=";
    if (size_t at = text.find(base); at != std::string::npos) {
        const size_t from = at + base.size(), end = text.find('\n', from);
        if (text.substr(from, end == std::string::npos ? std::string::npos : end - from) != "reference")
            text.insert(from, dir);
    }
    return text;
}

}  // namespace orbex::testing
