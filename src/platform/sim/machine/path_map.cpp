#include "platform/sim/machine/path_map.h"

#include "ini/ini_document.h"
#include "platform/host/host.h"

namespace orbex::sim {

// The system names files in the ANSI code page; host paths are host text.
std::optional<std::string> PathMap::HostPath(const std::string& windowsPath) const {
    auto under = [&](const std::string& dir) -> std::optional<std::string> {
        // dir and a backslash begin the path, compared as the profile functions compare names
        if (windowsPath.size() <= dir.size() || windowsPath[dir.size()] != '\\' ||
            !ini::SameName(std::string_view(windowsPath).substr(0, dir.size()), dir))
            return std::nullopt;
        std::string rest = windowsPath.substr(dir.size() + 1);
        for (char& c : rest)
            if (c == '\\') c = '/';
        return host::FromLibraryText(rest);
    };
    if (windowsPath.find_first_of("\\:/") == std::string::npos)  // a bare name lives in the Windows directory
        return m_hostWindowsDirectory + "/" + host::FromLibraryText(windowsPath);
    if (under(m_config.systemDirectory)) return std::nullopt;  // the system directory is virtual only
    if (auto rest = under(m_config.currentDirectory)) return m_hostCurrentDirectory + "/" + *rest;
    if (auto rest = under(m_config.windowsDirectory)) return m_hostWindowsDirectory + "/" + *rest;
    return std::nullopt;
}

}  // namespace orbex::sim
