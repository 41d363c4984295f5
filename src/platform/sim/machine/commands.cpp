#include "platform/sim/machine/commands.h"

#include <vector>

#include "common/format.h"
#include "ini/ini_document.h"

namespace orbex::sim {
namespace {

std::string BaseName(const std::string& path) {
    size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Splits a command line into words; double quotes group blanks.
std::vector<std::string> Words(const std::string& command) {
    std::vector<std::string> words;
    std::string word;
    bool quoted = false, any = false;
    for (char c : command) {
        if (c == '"') {
            quoted = !quoted;
            any = true;
        } else if (c == ' ' && !quoted) {
            if (any) words.push_back(word);
            word.clear();
            any = false;
        } else {
            word += c;
            any = true;
        }
    }
    if (any) words.push_back(word);
    return words;
}

}  // namespace

bool CommandInterpreter::IsRegistered(const std::string& kitFile) const {
    return m_registered.count(ini::Folded(kitFile)) > 0;
}

int32_t CommandInterpreter::System(const char* command) {
    std::string cmd = command ? command : "";
    if (m_events) m_events(PlatformEvent{"Platform", {{"what", std::string("RunCommand")}, {"command", cmd}}});
    if (HResult code = m_faults.Next("System")) return code;
    std::vector<std::string> words = Words(cmd);
    if (words.empty()) return 0;
    std::string program = ini::Folded(BaseName(words[0]));
    if (program == "copy" && words.size() >= 3) return RunCopy(words[1], words[2]);
    if (program == "regsvr32" || program == "regsvr32.exe") {
        std::string exe = words[0];
        if (exe.find('\\') != std::string::npos && !m_files.Exists(exe) && !m_files.Exists(exe + ".exe")) return 1;
        return words.size() >= 2 ? RunRegsvr32(words[1]) : 1;
    }
    return 1;  // the command interpreter does not know the command
}

int32_t CommandInterpreter::RunCopy(const std::string& source, const std::string& destination) {
    if (!m_files.Exists(source)) return 1;
    std::string target = destination;
    auto isDirectory = [&](const std::string& d) {
        std::string f = ini::Folded(d);
        return f == ini::Folded(m_config.systemDirectory) || f == ini::Folded(m_config.windowsDirectory) ||
               f == ini::Folded(m_config.currentDirectory);
    };
    if (isDirectory(destination)) target = destination + "\\" + BaseName(source);
    m_files.Add(target);
    return 0;
}

int32_t CommandInterpreter::RunRegsvr32(const std::string& file) {
    if (!m_files.Exists(file)) return 3;  // regsvr32: the module could not be loaded
    m_registered.insert(ini::Folded(BaseName(file)));
    for (const FilterClassDesc& desc : m_media.filterClasses) {
        if (desc.kitFile.empty() || ini::Folded(desc.kitFile) != ini::Folded(BaseName(file))) continue;
        const Guid& g = desc.clsid;
        std::string key =
            Format("SOFTWARE\\Classes\\CLSID\\{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}\\InprocServer32",
                   g.data1, g.data2, g.data3, g.data4[0], g.data4[1], g.data4[2], g.data4[3], g.data4[4], g.data4[5],
                   g.data4[6], g.data4[7]);
        std::vector<uint8_t> data(file.begin(), file.end());
        data.push_back(0);
        m_registry.SetValue(key, "", kRegSz, std::move(data), true);
    }
    return 0;
}

}  // namespace orbex::sim
