#include "platform/sim/machine/files.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "ini/ini_document.h"

namespace orbex::sim {
namespace {

// The machine's version resource block: a 4-byte block size, a 4-byte
// translation count (0 or 1), the translation (language and code page, 16 bits
// each), then NUL-terminated query path and value pairs, ended by an empty path.
void PutU32(std::vector<uint8_t>& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
uint32_t GetU32(const uint8_t* p) {
    return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24;
}
void PutText(std::vector<uint8_t>& out, const std::string& text) {
    out.insert(out.end(), text.begin(), text.end());
    out.push_back(0);
}

std::vector<uint8_t> VersionBlock(const VersionedFileDesc& d) {
    const std::string table = "\\StringFileInfo\\" + d.translation + "\\";
    std::vector<uint8_t> out;
    PutU32(out, 0);  // size, set below
    PutU32(out, d.hasTranslation ? 1 : 0);
    uint32_t code = static_cast<uint32_t>(std::stoul(d.translation, nullptr, 16));
    // Language in the low half, code page in the high half, as the resource stores them.
    PutU32(out, (code >> 16) | (code & 0xFFFF) << 16);
    PutText(out, table + "FileVersion");
    PutText(out, d.fileVersion);
    PutText(out, table + "ProductVersion");
    PutText(out, d.productVersion);
    PutText(out, "");
    uint32_t size = static_cast<uint32_t>(out.size());
    for (int i = 0; i < 4; ++i) out[i] = static_cast<uint8_t>(size >> (8 * i));
    return out;
}

}  // namespace

VirtualFiles::VirtualFiles(const FilesConfig& config, const MachineConfig& machine, const PathMap& paths,
                           ProfileFiles& profiles, FaultTable& faults)
    : m_machine(machine), m_paths(paths), m_profiles(profiles), m_faults(faults), m_config(config) {}

const std::string* VirtualFiles::Declared(const std::string& windowsPath) const {
    for (const std::string& f : m_config.files)
        if (ini::SameName(f, windowsPath)) return &f;
    for (const VersionedFileDesc& v : m_config.versioned)
        if (ini::SameName(v.path, windowsPath)) return &v.path;
    if (m_added.empty()) return nullptr;
    auto it = m_added.find(ini::Folded(windowsPath));
    return it == m_added.end() ? nullptr : &it->second;
}

const VersionedFileDesc* VirtualFiles::Versioned(const char* path) const {
    for (auto v = m_config.versioned.rbegin(); v != m_config.versioned.rend(); ++v)
        if (ini::SameName(v->path, path)) return &*v;
    return nullptr;
}

uint32_t VirtualFiles::FileVersionInfoSize(const char* path) {
    if (!path || m_faults.Next("GetFileVersionInfoSize")) return 0;
    const VersionedFileDesc* v = Versioned(path);
    return v ? static_cast<uint32_t>(VersionBlock(*v).size()) : 0;
}

bool VirtualFiles::FileVersionInfo(const char* path, uint32_t size, void* block) {
    if (!path || !block || m_faults.Next("GetFileVersionInfo")) return false;
    const VersionedFileDesc* v = Versioned(path);
    if (!v) return false;
    // Like the platform, a short buffer gets the block's beginning only.
    const std::vector<uint8_t> resource = VersionBlock(*v);
    std::memcpy(block, resource.data(), std::min<size_t>(size, resource.size()));
    return true;
}

bool VirtualFiles::QueryVersionValue(const void* block, const char* subBlock, const void** value, uint32_t* length) {
    if (!block || !subBlock || m_faults.Next("VerQueryValue")) return false;
    const uint8_t* p = static_cast<const uint8_t*>(block);
    const uint32_t size = GetU32(p);
    if (size < 13) return false;
    if (ini::Folded(subBlock) == ini::Folded("\\VarFileInfo\\Translation")) {
        if (GetU32(p + 4) == 0) return false;
        if (value) *value = p + 8;
        if (length) *length = 4;
        return true;
    }
    // Walk the path and value pairs within the block's size only.
    const std::string wanted = ini::Folded(subBlock);
    size_t at = 12;
    auto text = [&](size_t from, size_t& end) {
        end = from;
        while (end < size && p[end]) ++end;
        return end < size;
    };
    for (;;) {
        size_t keyEnd, valueEnd;
        if (!text(at, keyEnd) || keyEnd == at) return false;
        if (!text(keyEnd + 1, valueEnd)) return false;
        std::string key(reinterpret_cast<const char*>(p + at), keyEnd - at);
        if (ini::Folded(key) == wanted) {
            if (value) *value = p + keyEnd + 1;
            if (length) *length = static_cast<uint32_t>(valueEnd - keyEnd);  // characters with the NUL
            return true;
        }
        at = valueEnd + 1;
    }
}

bool VirtualFiles::Exists(const std::string& windowsPath) const {
    if (Declared(windowsPath)) return true;
    auto host = m_paths.HostPath(windowsPath);
    return host && m_paths.Store().IsFile(*host);
}

std::optional<std::string> VirtualFiles::StoredName(const std::string& windowsPath) const {
    std::string spelt;
    if (const std::string* declared = Declared(windowsPath))
        spelt = *declared;
    else if (auto host = m_paths.HostPath(windowsPath); host && m_paths.Store().IsFile(*host))
        spelt = windowsPath;  // found on the host under this spelling
    else
        return std::nullopt;
    size_t slash = spelt.find_last_of("\\/:");
    return slash == std::string::npos ? spelt : spelt.substr(slash + 1);
}

void VirtualFiles::Add(const std::string& windowsPath) {
    if (!Declared(windowsPath)) m_added.emplace(ini::Folded(windowsPath), windowsPath);
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
    return m_paths.Store().Write(*host, {});
}

}  // namespace orbex::sim
