// The profile functions over files on disk, with the Windows semantics:
// case-insensitive names, first match wins, double-NUL lists cut to the
// buffer, quote stripping, integer reads as the platform does them, and
// replace-or-append writes. Parsed files are cached; a file changed on disk
// since the last call is read anew. Given a memory store, the files live there
// instead of on disk.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>

#include "ini/change_monitor.h"
#include "ini/file_store.h"
#include "ini/ini_document.h"

namespace orbex::ini {

class Engine {
public:
    Engine() = default;
    explicit Engine(MemoryFileStore* memory) : m_memory(memory) {}
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;
    ~Engine();

    // section == nullptr lists the section names; key == nullptr lists the keys of section.
    uint32_t GetString(const char* section, const char* key, const char* defaultValue, char* buffer, uint32_t size,
                       const std::string& path);
    uint32_t GetInt(const char* section, const char* key, int32_t defaultValue, const std::string& path);
    // key == nullptr deletes the section, value == nullptr deletes the key.
    bool WriteString(const char* section, const char* key, const char* value, const std::string& path);
    // Writes every changed file to its store; false when one could not be written.
    bool Flush();

    // Forgets the cached copy of a file (unsaved changes included).
    void Discard(const std::string& path) { m_cache.erase(path); }

    // Write-through writes every change at once, as the platform does; off, changes
    // are kept until Flush (the harness and the system flush after every call).
    void SetWriteThrough(bool on) { m_writeThrough = on; }

private:
    struct Stamp {
        bool exists = false;
        int64_t mtimeNs = 0;
        int64_t size = 0;
        uint64_t inode = 0;
        int64_t readAtNs = 0;  // when the stamp was taken
        bool operator==(const Stamp& o) const {
            return exists == o.exists && mtimeNs == o.mtimeNs && size == o.size && inode == o.inode;
        }
    };
    static constexpr int64_t kRacyWindowNs = 100'000'000;
    struct Cached {
        Document doc;
        Stamp stamp;
        bool dirty = false;
        std::optional<std::string> diskImage;  // what the disk gets when it differs from doc
        bool watched = false;                  // changes are reported by the change monitor
        uint64_t epoch = 0;                    // the monitor's epoch when read
        uint64_t generation = 0;               // the memory store's generation when read or written
    };

    Cached& Load(const std::string& path);
    static uint32_t ComposeString(const char* section, const char* key, const char* defaultValue, char* buffer,
                                  uint32_t size, const Document& doc);
    bool Save(const std::string& path, Cached& cached);
    static Stamp StampOf(const std::string& path);

    MemoryFileStore* m_memory = nullptr;  // null: the files are on disk
    ChangeMonitor m_monitor;
    std::unordered_map<std::string, Cached> m_cache;
    bool m_writeThrough = false;
};

// The platform's integer conversion of a profile value (sign, "0x", "0o" and
// "0b" prefixes, digits up to the first other character).
uint32_t ParseProfileInteger(std::string_view text);

}  // namespace orbex::ini
