#include "platform/sim/machine/files.h"

#include <cstdio>
#include <filesystem>

#include "ini/ini_document.h"

namespace orbex::sim {
namespace {

bool HostFileExists(const std::string& path) {
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec);
}

}  // namespace

VirtualFiles::VirtualFiles(const FilesConfig& config, const PathMap& paths, ProfileFiles& profiles)
    : m_paths(paths), m_profiles(profiles) {
    for (const std::string& f : config.files) Add(f);
}

bool VirtualFiles::Exists(const std::string& windowsPath) const {
    if (m_files.count(ini::Folded(windowsPath))) return true;
    auto host = m_paths.HostPath(windowsPath);
    return host && HostFileExists(*host);
}

void VirtualFiles::Add(const std::string& windowsPath) {
    m_files.insert(ini::Folded(windowsPath));
}

bool VirtualFiles::CreateEmptyFile(const char* path) {
    auto host = m_paths.HostPath(path ? path : "");
    if (!host) return false;
    m_profiles.Forget(*host);
    std::FILE* f = std::fopen(host->c_str(), "wb");
    if (!f) return false;
    return std::fclose(f) == 0;
}

}  // namespace orbex::sim
