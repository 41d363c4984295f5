#include "ini/ini_engine.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <sys/stat.h>
#endif

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

#include "platform/host/host.h"

namespace orbex::ini {
namespace {

// A held name or value as the ANSI functions hand it out: as it is in an ANSI
// file, converted (into scratch) in a Unicode one.
std::string_view Shown(const Document& doc, const std::string& text, std::string& scratch) {
    if (!doc.IsUnicode()) return text;
    scratch = TextToAnsi(text);
    return scratch;
}

// A caller's ANSI text in the document's own form.
std::string_view Held(const Document& doc, std::string_view ansi, std::string& scratch) {
    if (!doc.IsUnicode()) return ansi;
    scratch = AnsiToText(ansi);
    return scratch;
}

// Copies value into buffer as the profile functions do: at most size-1
// characters, and a value in matching quotes loses them.
void CopyEntry(char* buffer, std::string_view value, uint32_t size, bool stripQuote) {
    if (!buffer || size == 0) return;
    bool quoted = false;
    if (stripQuote && !value.empty() && (value.front() == '\'' || value.front() == '"')) {
        if (value.size() > 1 && value.back() == value.front()) {
            quoted = true;
            value.remove_prefix(1);
        }
    }
    size_t n = std::min<size_t>(value.size(), size - 1);
    std::memcpy(buffer, value.data(), n);
    buffer[n] = '\0';
    if (quoted && size >= value.size() && n > 0) buffer[n - 1] = '\0';
}

uint32_t ListSectionNames(const Document& doc, char* buffer, uint32_t size) {
    if (!buffer || size == 0) return 0;
    if (size == 1) {
        buffer[0] = '\0';
        return 0;
    }
    uint32_t room = size - 1;
    char* p = buffer;
    std::string scratch;
    for (const Section& section : doc.Sections()) {
        if (section.name.empty()) continue;
        const std::string_view name = Shown(doc, section.name, scratch);
        uint32_t need = static_cast<uint32_t>(name.size()) + 1;
        if (need >= room) {
            if (room > 0) {
                std::memcpy(p, name.data(), room - 1);
                p += room - 1;
                *p++ = '\0';
            }
            *p = '\0';
            return size - 2;
        }
        std::memcpy(p, name.data(), need - 1);
        p[need - 1] = '\0';
        p += need;
        room -= need;
    }
    *p = '\0';
    return static_cast<uint32_t>(p - buffer);
}

// Lists the key names of the first section called name. Returns the count the
// platform returns; found tells whether the section exists.
uint32_t ListKeys(const Document& doc, std::string_view name, char* buffer, uint32_t size) {
    for (const Section& section : doc.Sections()) {
        if (section.name.empty() || !SameName(section.name, name)) continue;
        uint32_t left = size;
        char* p = buffer;
        std::string scratch;
        for (const Entry& entry : section.entries) {
            if (left <= 2) break;
            if (entry.name.empty() && !entry.value) continue;
            if (!entry.name.empty() && entry.name.front() == ';') continue;
            if (!entry.value) continue;
            CopyEntry(p, Shown(doc, entry.name, scratch), left - 1, false);
            size_t len = std::strlen(p);
            left -= static_cast<uint32_t>(len + 1);
            p += len + 1;
            if (left < 2) break;
        }
        *p = '\0';
        if (left <= 1) {
            // A buffer of one character holds the terminator only: nothing before it to cut.
            if (p == buffer) return 0;
            p[-1] = '\0';
            return size - 2;
        }
        return size - left;
    }
    buffer[0] = '\0';
    if (size > 1) buffer[1] = '\0';
    return 0;
}

// Trailing blanks of a default value are cut, as the platform does; a default
// of blanks only keeps one.
std::string_view TrimDefault(const char* defaultValue) {
    if (!defaultValue) return {};
    std::string_view d(defaultValue);
    while (d.size() > 1 && d.back() == ' ') d.remove_suffix(1);
    return d;
}

}  // namespace

uint32_t ParseProfileInteger(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && static_cast<unsigned char>(text[i]) <= ' ') ++i;
    bool minus = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) minus = text[i++] == '-';
    uint32_t base = 10;
    if (text.size() - i >= 2 && text[i] == '0') {
        if (text[i + 1] == 'b')
            base = 2, i += 2;
        else if (text[i + 1] == 'o')
            base = 8, i += 2;
        else if (text[i + 1] == 'x')
            base = 16, i += 2;
    }
    uint32_t total = 0;
    for (; i < text.size(); ++i) {
        char c = text[i];
        int digit = -1;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (c >= 'A' && c <= 'Z')
            digit = c - 'A' + 10;
        else if (c >= 'a' && c <= 'z')
            digit = c - 'a' + 10;
        if (digit < 0 || static_cast<uint32_t>(digit) >= base) break;
        total = total * base + static_cast<uint32_t>(digit);
    }
    return minus ? 0u - total : total;
}

Engine::~Engine() {
    Flush();
}

Engine::Stamp Engine::StampOf(const std::string& path) {
    using namespace std::chrono;
    int64_t readAt = duration_cast<nanoseconds>(system_clock::now().time_since_epoch()).count();
#if defined(_WIN32)
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(host::PathOf(path).c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return Stamp{false, 0, 0, 0, readAt};
    auto ticks = [](FILETIME t) {  // 100 ns units since 1601
        return (static_cast<int64_t>(t.dwHighDateTime) << 32 | t.dwLowDateTime) * 100;
    };
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    int64_t size = static_cast<int64_t>(data.nFileSizeHigh) << 32 | data.nFileSizeLow;
    return Stamp{true, ticks(data.ftLastWriteTime), size, 0, ticks(now)};
#else
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return Stamp{false, 0, 0, 0, readAt};
    return Stamp{true, static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec,
                 static_cast<int64_t>(st.st_size), static_cast<uint64_t>(st.st_ino), readAt};
#endif
}

Engine::Cached& Engine::Load(const std::string& path) {
    auto it = m_cache.find(path);
    if (it != m_cache.end() && it->second.doc.ReparsePending()) {
        // The file on disk keeps the text as written until the next write.
        std::string written = it->second.doc.Serialize();
        it->second.doc = Document::Parse(written);
        if (it->second.dirty) it->second.diskImage = std::move(written);
    }
    if (m_memory) {
        if (it != m_cache.end() && (it->second.dirty || it->second.generation == m_memory->Generation(path)))
            return it->second;
        Cached fresh;
        fresh.generation = m_memory->Generation(path);
        if (auto bytes = m_memory->Read(path)) fresh.doc = Document::Parse(*bytes);
        return m_cache.insert_or_assign(path, std::move(fresh)).first->second;
    }
    if (it != m_cache.end()) {
        Cached& cached = it->second;
        if (cached.dirty) return cached;  // our own changes are newer than the disk
        if (cached.watched) {
            if (!m_monitor.Changed(path, cached.epoch)) return cached;
        } else {
            // A file modified close to when it was read may have changed again
            // within the file system's timestamp granularity: such a stamp is
            // not trusted.
            const Stamp& seen = cached.stamp;
            if (StampOf(path) == seen && seen.readAtNs - seen.mtimeNs > kRacyWindowNs) return cached;
        }
    }
    Cached fresh;
    fresh.watched = m_monitor.Watch(path);
    m_monitor.Changed(path, 0);  // take in what is pending, then start afresh
    m_monitor.Forget(path);
    fresh.epoch = m_monitor.Epoch();
    fresh.stamp = StampOf(path);
    if (fresh.stamp.exists) {
        std::ifstream in(host::PathOf(path), std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        fresh.doc = Document::Parse(bytes.str());
    }
    return m_cache.insert_or_assign(path, std::move(fresh)).first->second;
}

bool Engine::Save(const std::string& path, Cached& cached) {
    std::string bytes = cached.diskImage ? *cached.diskImage : cached.doc.Serialize();
    cached.diskImage.reset();
    if (m_memory) {
        cached.dirty = !m_memory->Write(path, bytes);
        cached.generation = m_memory->Generation(path);
        return !cached.dirty;
    }
    std::FILE* f = host::OpenFile(path, "wb");
    if (!f) return false;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    ok = (std::fclose(f) == 0) && ok;
    cached.dirty = !ok;
    cached.stamp = StampOf(path);
    return ok;
}

bool Engine::Flush() {
    bool ok = true;
    for (auto& [path, cached] : m_cache)
        if (cached.dirty) ok = Save(path, cached) && ok;
    return ok;
}

uint32_t Engine::GetString(const char* section, const char* key, const char* defaultValue, char* buffer, uint32_t size,
                           const std::string& path) {
    if (!buffer || size == 0) return 0;
    // The text is composed in a scratch buffer, then handed over as the ANSI
    // entry point does: the returned count of characters and one zero after
    // them; nothing beyond that is written.
    char small[1024];
    std::unique_ptr<char[]> large;
    char* scratch = small;
    if (size > sizeof small) {
        large = std::make_unique<char[]>(size);
        scratch = large.get();
    }
    uint32_t n = ComposeString(section, key, defaultValue, scratch, size, Load(path).doc);
    if (n >= size) n = size - 1;
    std::memcpy(buffer, scratch, n);
    buffer[n] = '\0';
    return n;
}

uint32_t Engine::ComposeString(const char* section, const char* key, const char* defaultValue, char* buffer,
                               uint32_t size, const Document& doc) {
    if (!section) return ListSectionNames(doc, buffer, size);
    std::string_view def = TrimDefault(defaultValue);
    std::string heldSection, heldKey, shown;
    const std::string_view sectionName = Held(doc, section, heldSection);
    if (key) {
        const Entry* entry = doc.FindEntry(sectionName, Held(doc, key, heldKey));
        if (entry && entry->value)
            CopyEntry(buffer, Shown(doc, *entry->value, shown), size, true);
        else
            CopyEntry(buffer, def, size, true);
        return static_cast<uint32_t>(std::strlen(buffer));
    }
    if (section[0]) {
        uint32_t n = ListKeys(doc, sectionName, buffer, size);
        if (!buffer[0]) {
            CopyEntry(buffer, def, size, true);
            n = static_cast<uint32_t>(std::strlen(buffer));
        }
        return n;
    }
    buffer[0] = '\0';
    return 0;
}

uint32_t Engine::GetInt(const char* section, const char* key, int32_t defaultValue, const std::string& path) {
    char buffer[30];
    if (GetString(section, key, "", buffer, sizeof buffer, path) == 0) return static_cast<uint32_t>(defaultValue);
    return ParseProfileInteger(buffer);
}

bool Engine::WriteString(const char* section, const char* key, const char* value, const std::string& path) {
    if (!section && !key && !value) return Flush();
    if (!section) return false;
    Cached& cached = Load(path);
    std::string heldSection, heldKey, heldValue;
    const std::string_view sectionName = Held(cached.doc, section, heldSection);
    if (!key) {
        if (cached.doc.DeleteSection(sectionName)) cached.dirty = true, cached.diskImage.reset();
    } else if (!value) {
        if (cached.doc.DeleteEntry(sectionName, Held(cached.doc, key, heldKey)))
            cached.dirty = true, cached.diskImage.reset();
    } else {
        const std::string_view keyName = Held(cached.doc, key, heldKey);
        const Entry* entry = cached.doc.FindEntry(sectionName, keyName);
        std::string_view v = Held(cached.doc, value, heldValue);
        while (!v.empty() && IsProfileSpace(v.front())) v.remove_prefix(1);
        if (entry && entry->value && *entry->value == v) return true;
        cached.doc.SetValue(sectionName, keyName, v);
        cached.dirty = true;
        cached.diskImage.reset();
    }
    if (cached.dirty && m_writeThrough) return Save(path, cached);
    return true;
}

}  // namespace orbex::ini
