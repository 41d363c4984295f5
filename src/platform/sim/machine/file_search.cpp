// The machine's file search and text reading: both read the host directory
// the machine's path maps to (on disk or in memory), so the files are real ones.
#include <algorithm>
#include <cctype>
#include <cstring>

#include "ini/ini_document.h"
#include "platform/host/host.h"
#include "platform/sim/machine/files.h"

namespace orbex::sim {
namespace {

char Lowered(char c) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

// Wildcard match without regard to case: '*' any run, '?' one character.
bool Matches(const char* mask, const char* name) {
    const char* star = nullptr;
    const char* resume = nullptr;
    while (*name) {
        if (*mask == '*') {
            star = mask++;
            resume = name;
        } else if (*mask == '?' || (*mask && Lowered(*mask) == Lowered(*name))) {
            ++mask;
            ++name;
        } else if (star) {
            mask = star + 1;
            name = ++resume;
        } else {
            return false;
        }
    }
    while (*mask == '*') ++mask;
    return *mask == '\0';
}

void CopyName(const std::string& text, char* buffer, uint32_t size) {
    if (!buffer || size == 0) return;
    size_t n = std::min<size_t>(text.size(), size - 1);
    std::memcpy(buffer, text.data(), n);
    buffer[n] = '\0';
}

}  // namespace

// The files of the directory that match, in the order of their names without
// regard to case (the order a sorted directory gives).
port::FindHandle VirtualFiles::FindFirst(const char* pattern, char* name, uint32_t size) {
    if (name && size) name[0] = '\0';
    if (!pattern) return 0;
    FaultHit fault = m_faults.Take("FindFirstFile");
    if (fault.code) return 0;
    std::string text = pattern;
    size_t slash = text.find_last_of('\\');
    if (slash == std::string::npos) return 0;
    auto host = m_paths.HostPath(text.substr(0, slash) + "\\x");
    if (!host) return 0;
    const std::string directory = host->substr(0, host->size() - 1);
    const std::string mask = text.substr(slash + 1);
    Search search;
    for (const std::string& file : m_paths.Store().List(directory)) {
        std::string name = host::LibraryText(file);  // the system's names are ANSI text
        if (Matches(mask.c_str(), name.c_str())) search.names.push_back(std::move(name));
    }
    if (search.names.empty()) return 0;
    std::sort(search.names.begin(), search.names.end(),
              [](const std::string& a, const std::string& b) { return ini::Folded(a) < ini::Folded(b); });
    CopyName(search.names[0], name, size);
    if (fault.malformed && name && size > 0) {
        // A name without its terminator, as long as the buffer.
        std::memset(name, 'F', size);
        std::memcpy(name, search.names[0].data(), std::min<size_t>(size, search.names[0].size()));
        m_faults.Applied("FindFirstFile");
    }
    search.next = 1;
    const uintptr_t handle = m_nextHandle++;
    m_searches.emplace(handle, std::move(search));
    m_ledger.Opened(handle, "FindHandle", text);
    return handle;
}

bool VirtualFiles::FindNext(port::FindHandle find, char* name, uint32_t size) {
    auto it = m_searches.find(find);
    if (it == m_searches.end() || it->second.next >= it->second.names.size()) return false;
    CopyName(it->second.names[it->second.next++], name, size);
    return true;
}

void VirtualFiles::FindClose(port::FindHandle find) {
    m_searches.erase(find);
    m_ledger.Closed(find);
}

// Text mode: a carriage return before a newline is dropped, and a Ctrl-Z ends the text.
port::TextFile VirtualFiles::OpenTextFile(const char* path) {
    if (!path || m_faults.Next("OpenTextFile")) return 0;
    auto host = m_paths.HostPath(path);
    std::optional<std::string> read = host ? m_paths.Store().Read(*host) : std::nullopt;
    if (!read) return 0;
    const std::string& bytes = *read;
    Text text;
    text.content.reserve(bytes.size());
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\x1A') break;
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') continue;
        text.content.push_back(bytes[i]);
    }
    const uintptr_t handle = m_nextHandle++;
    m_texts.emplace(handle, std::move(text));
    m_ledger.Opened(handle, "TextFile", path);
    return handle;
}

bool VirtualFiles::ReadTextLine(port::TextFile file, char* buffer, int32_t size) {
    auto it = m_texts.find(file);
    if (it == m_texts.end() || !buffer || size < 1) return false;
    Text& t = it->second;
    if (t.at >= t.content.size()) return false;
    int32_t n = 0;
    while (n < size - 1 && t.at < t.content.size()) {
        char c = t.content[t.at++];
        buffer[n++] = c;
        if (c == '\n') break;
    }
    buffer[n] = '\0';
    return true;
}

void VirtualFiles::CloseTextFile(port::TextFile file) {
    m_texts.erase(file);
    m_ledger.Closed(file);
}

}  // namespace orbex::sim
