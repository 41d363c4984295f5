// An INI file held in memory the way the Windows profile functions hold it:
// every line is kept (blank lines and comments as nameless or ";" entries), so
// that a rewrite reproduces the file the platform would write.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "ini/text_encoding.h"

namespace orbex::ini {

struct Entry {
    std::string name;
    std::optional<std::string> value;  // absent for a line without "="
};

// Case-insensitive hashing and comparison of names, usable with string_view
// lookups so that finding a name allocates nothing.
bool SameName(std::string_view a, std::string_view b);
struct NameHash {
    using is_transparent = void;
    size_t operator()(std::string_view name) const noexcept;
};
struct NameEqual {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const noexcept { return SameName(a, b); }
};
// Name -> index of its first occurrence.
using NameIndex = std::unordered_map<std::string, size_t, NameHash, NameEqual>;

struct Section {
    std::string name;  // empty for the lines before the first section header
    std::vector<Entry> entries;
    NameIndex firstEntry;
};

// Case folding the way the profile functions compare section and key names.
char FoldCase(char c);
std::string Folded(std::string_view text);
bool IsProfileSpace(char c);
std::string_view Trimmed(std::string_view text);

class Document {
public:
    static Document Parse(std::string_view bytes);
    std::string Serialize() const;

    // First section whose name matches (after trimming the searched name), or null.
    const Section* FindSection(std::string_view name) const;
    Section* FindSection(std::string_view name);
    // First entry of the first matching section, or null.
    const Entry* FindEntry(std::string_view section, std::string_view key) const;

    // Sets a value, creating the section and the entry as needed.
    void SetValue(std::string_view section, std::string_view key, std::string_view value);
    bool DeleteEntry(std::string_view section, std::string_view key);
    bool DeleteSection(std::string_view section);

    const std::vector<Section>& Sections() const { return m_sections; }

    // A file with a byte-order mark holds Unicode text: its names and values
    // are UTF-8 here, and the engine converts at the ANSI entry points.
    bool IsUnicode() const { return m_encoding != Encoding::Ansi; }

    // True after a write left text that reading the file back would change
    // (trailing blanks on a value or a new name): the platform rewrites the file
    // on every write and reads it anew, so such text is seen trimmed afterwards.
    bool ReparsePending() const { return m_reparsePending; }

private:
    void Reindex();

    std::vector<Section> m_sections;
    NameIndex m_firstSection;
    Encoding m_encoding = Encoding::Ansi;
    bool m_reparsePending = false;
};

}  // namespace orbex::ini
