#include "ini/file_store.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string_view>

#include "platform/host/host.h"

namespace orbex::ini {

bool DiskFileStore::IsFile(const std::string& path) const {
    std::error_code ec;
    return std::filesystem::is_regular_file(host::PathOf(path), ec);
}

std::optional<std::string> DiskFileStore::Read(const std::string& path) const {
    if (!IsFile(path)) return std::nullopt;
    std::ifstream in(host::PathOf(path), std::ios::binary);
    if (!in) return std::nullopt;
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

bool DiskFileStore::Write(const std::string& path, std::string_view bytes) {
    std::FILE* f = host::OpenFile(path, "wb");
    if (!f) return false;
    bool ok = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return (std::fclose(f) == 0) && ok;
}

bool DiskFileStore::Append(const std::string& path, std::string_view bytes) {
    std::FILE* f = host::OpenFile(path, "ab");
    if (!f) return false;
    bool ok = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return (std::fclose(f) == 0) && ok;
}

void DiskFileStore::MakeParents(const std::string& path) {
    std::error_code ec;
    std::filesystem::create_directories(host::PathOf(path).parent_path(), ec);
}

std::vector<std::string> DiskFileStore::List(const std::string& directory) const {
    std::vector<std::string> names;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(host::PathOf(directory), ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code kindError;
        if (it->is_regular_file(kindError)) names.push_back(host::TextOf(it->path().filename()));
    }
    return names;
}

namespace {

// True when normalizing would leave the path as it is: no empty, "." or ".."
// component and no trailing slash. Most paths are, and skip the path object.
bool AlreadyNormal(const std::string& path) {
    if (path.empty() || path == "/") return !path.empty();
    if (path.back() == '/') return false;
    size_t start = path.front() == '/' ? 1 : 0;
    while (start <= path.size()) {
        size_t end = path.find('/', start);
        if (end == std::string::npos) end = path.size();
        std::string_view part(path.data() + start, end - start);
        if (part.empty() || part == "." || part == "..") return false;
        start = end + 1;
    }
    return true;
}

}  // namespace

const std::string& MemoryFileStore::Key(const std::string& path, std::string& scratch) {
    if (AlreadyNormal(path)) return path;
    scratch = host::TextOf(host::PathOf(path).lexically_normal());
    while (scratch.size() > 1 && scratch.back() == '/') scratch.pop_back();
    return scratch;
}

bool MemoryFileStore::IsFile(const std::string& path) const {
    std::string scratch;
    return m_files.find(Key(path, scratch)) != m_files.end();
}

bool MemoryFileStore::Remove(const std::string& path) {
    std::string scratch;
    auto it = m_files.find(Key(path, scratch));
    if (it == m_files.end()) return false;
    m_files.erase(it);
    return true;
}

std::optional<std::string> MemoryFileStore::Read(const std::string& path) const {
    std::string scratch;
    auto it = m_files.find(Key(path, scratch));
    if (it == m_files.end()) return std::nullopt;
    return it->second.bytes;
}

MemoryFileStore::File& MemoryFileStore::At(const std::string& path) {
    std::string scratch;
    const std::string& key = Key(path, scratch);
    auto it = m_files.find(key);
    return it != m_files.end() ? it->second : m_files[key];
}

bool MemoryFileStore::Write(const std::string& path, std::string_view bytes) {
    File& f = At(path);
    f.bytes.assign(bytes);
    f.generation = m_nextGeneration++;
    return true;
}

bool MemoryFileStore::Append(const std::string& path, std::string_view bytes) {
    File& f = At(path);
    f.bytes.append(bytes);
    f.generation = m_nextGeneration++;
    return true;
}

std::vector<std::string> MemoryFileStore::List(const std::string& directory) const {
    const std::string dir = Key(directory);
    std::vector<std::string> names;
    for (const auto& [key, file] : m_files) {
        size_t slash = key.find_last_of('/');
        std::string parent = slash == std::string::npos ? "." : key.substr(0, slash == 0 ? 1 : slash);
        if (parent == dir) names.push_back(key.substr(slash == std::string::npos ? 0 : slash + 1));
    }
    return names;
}

void MemoryFileStore::ReplaceWith(const MemoryFileStore& other) {
    m_files = other.m_files;
    for (auto& [key, file] : m_files) file.generation = m_nextGeneration++;
}

uint64_t MemoryFileStore::Generation(const std::string& path) const {
    std::string scratch;
    auto it = m_files.find(Key(path, scratch));
    return it == m_files.end() ? 0 : it->second.generation;
}

}  // namespace orbex::ini
