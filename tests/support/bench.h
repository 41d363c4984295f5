// A test bench over its own virtual board and working directory: runs command
// lines through the library's process object and records every event (result
// library calls and platform events) as JSON lines, in order.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "entry/orbex_process.h"
#include "platform/sim/virtual_board.h"

namespace orbex::testing {

class Bench {
public:
    // profileText: a whole board profile; see Board() for the reference board plus extra lines.
    static const char* const kBenchSettings;
    Bench() : Bench(Board()) {}
    explicit Bench(const std::string& profileText, bool noVerdict = false);
    // A bench whose process runs on a platform made over the virtual board
    // (to put a real adapter's port in place of one of the board's).
    using Decorate = std::function<std::unique_ptr<port::IPlatform>(sim::VirtualBoard&)>;
    Bench(const std::string& profileText, const Decorate& decorate);
    ~Bench();

    static std::string Board(const std::string& extra = "");

    int32_t Run(const char* commandLine) { return m_process->OrbexEntry(commandLine, 0); }

    void WriteFile(const std::string& name, const std::string& content) const;
    std::string ReadFile(const std::string& name) const;
    bool FileExists(const std::string& name) const;
    // The reference board's graph file, with lines replaced or added.
    void WriteDefaultGraph(const std::string& extra = "") const;

    // Recorded events as JSON lines, all or those of one event name.
    std::vector<std::string> Events(const std::string& name = "") const;
    std::vector<std::string> Reports() const { return Events("ResultReport"); }
    void ClearEvents() { m_events.clear(); }
    // orbex.txt without the time stamps: "<level> 0x<colour> <text>".
    std::vector<std::string> LogLines() const;

    const std::string& Directory() const { return m_dir; }
    sim::VirtualBoard& Platform() { return *m_platform; }
    COrbexProcess& Process() { return *m_process; }

    void Record(const std::string& json) { m_events.push_back(json); }

private:
    std::string m_dir;
    std::vector<std::string> m_events;
    std::unique_ptr<sim::VirtualBoard> m_platform;
    std::unique_ptr<port::IPlatform> m_decorated;
    std::unique_ptr<COrbexProcess> m_process;
};

// A text as it stands inside a JSON string.
std::string Escaped(const std::string& text);

// JSON line of a ResultReport, as the harness writes it.
std::string ReportJson(const std::string& test, const std::string& step, int status, const std::string& description,
                       const std::string& expected, const std::string& actual);

}  // namespace orbex::testing
