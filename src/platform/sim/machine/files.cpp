#include "platform/sim/machine/files.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <vector>

#include "ini/ini_document.h"

namespace orbex::sim {
namespace {

bool HostFileExists(const std::string& path) {
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec);
}

}  // namespace

VirtualFiles::VirtualFiles(const FilesConfig& config, const MachineConfig& machine, const PathMap& paths,
                           ProfileFiles& profiles)
    : m_machine(machine), m_paths(paths), m_profiles(profiles) {
    for (const std::string& f : config.files) Add(f);
}

bool VirtualFiles::Exists(const std::string& windowsPath) const {
    if (m_files.count(ini::Folded(windowsPath))) return true;
    auto host = m_paths.HostPath(windowsPath);
    return host && HostFileExists(*host);
}

std::optional<std::string> VirtualFiles::StoredName(const std::string& windowsPath) const {
    std::string spelt;
    if (auto it = m_files.find(ini::Folded(windowsPath)); it != m_files.end())
        spelt = it->second;
    else if (auto host = m_paths.HostPath(windowsPath); host && HostFileExists(*host))
        spelt = windowsPath;  // found on the host under this spelling
    else
        return std::nullopt;
    size_t slash = spelt.find_last_of("\\/:");
    return slash == std::string::npos ? spelt : spelt.substr(slash + 1);
}

void VirtualFiles::Add(const std::string& windowsPath) {
    m_files.emplace(ini::Folded(windowsPath), windowsPath);
}

// The machine has no path beyond its three directories.
bool VirtualFiles::OpenFileExists(const char* name, char* buffer, uint32_t size) {
    if (buffer && size) buffer[0] = '\0';
    if (!name || !*name) return false;
    std::string text = name;
    std::vector<std::string> candidates;
    if (text.find_first_of("\\/:") != std::string::npos)
        candidates.push_back(text);
    else
        for (const std::string* dir :
             {&m_machine.currentDirectory, &m_machine.systemDirectory, &m_machine.windowsDirectory})
            candidates.push_back(*dir + "\\" + text);
    for (const std::string& path : candidates) {
        if (!Exists(path)) continue;
        if (buffer && size) {
            size_t n = std::min<size_t>(path.size(), size - 1);
            std::memcpy(buffer, path.data(), n);
            buffer[n] = '\0';
        }
        return true;
    }
    return false;
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
