#include "platform/sim/machine/path_map.h"

#include "ini/ini_document.h"

namespace orbex::sim {

std::optional<std::string> PathMap::HostPath(const std::string& windowsPath) const {
    auto under = [&](const std::string& dir) -> std::optional<std::string> {
        std::string prefix = ini::Folded(dir) + "\\";
        if (ini::Folded(windowsPath).compare(0, prefix.size(), prefix) != 0) return std::nullopt;
        std::string rest = windowsPath.substr(prefix.size());
        for (char& c : rest)
            if (c == '\\') c = '/';
        return rest;
    };
    if (windowsPath.find_first_of("\\:/") == std::string::npos)  // a bare name lives in the Windows directory
        return m_hostWindowsDirectory + "/" + windowsPath;
    if (under(m_config.systemDirectory)) return std::nullopt;  // the system directory is virtual only
    if (auto rest = under(m_config.currentDirectory)) return m_hostCurrentDirectory + "/" + *rest;
    if (auto rest = under(m_config.windowsDirectory)) return m_hostWindowsDirectory + "/" + *rest;
    return std::nullopt;
}

}  // namespace orbex::sim
