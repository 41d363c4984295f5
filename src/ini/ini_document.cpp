#include "ini/ini_document.h"

#include <array>

namespace orbex::ini {
namespace {

// Only ASCII letters compare without regard to case (Wine, measured).
constexpr std::array<unsigned char, 256> MakeFoldTable() {
    std::array<unsigned char, 256> t{};
    for (int i = 0; i < 256; ++i) t[i] = static_cast<unsigned char>(i);
    for (int c = 'A'; c <= 'Z'; ++c) t[c] = static_cast<unsigned char>(c + 32);
    return t;
}
constexpr auto kFold = MakeFoldTable();

}  // namespace

char FoldCase(char c) {
    return static_cast<char>(kFold[static_cast<unsigned char>(c)]);
}

std::string Folded(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = FoldCase(c);
    return out;
}

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (kFold[static_cast<unsigned char>(a[i])] != kFold[static_cast<unsigned char>(b[i])]) return false;
    return true;
}

size_t NameHash::operator()(std::string_view name) const noexcept {
    uint64_t h = 1469598103934665603ull;  // FNV-1a over the folded bytes
    for (char c : name) {
        h ^= kFold[static_cast<unsigned char>(c)];
        h *= 1099511628211ull;
    }
    return static_cast<size_t>(h);
}

bool IsProfileSpace(char c) {
    switch (static_cast<unsigned char>(c)) {
        case ' ':
        case '\t':
        case '\n':
        case '\v':
        case '\f':
        case '\r':
        case 0x1A: return true;
        default: return false;
    }
}

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && IsProfileSpace(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsProfileSpace(text.back())) text.remove_suffix(1);
    return text;
}

Document Document::Parse(std::string_view file) {
    Document doc;
    size_t mark = 0;
    doc.m_encoding = DetectEncoding(file, mark);
    std::string decoded;
    std::string_view bytes = file;
    if (doc.IsUnicode()) {
        decoded = DecodeFile(file.substr(mark), doc.m_encoding);
        bytes = decoded;
    }
    doc.m_sections.push_back(Section{});  // the lines before the first header
    while (!bytes.empty()) {
        size_t eol = bytes.find('\n');
        std::string_view line = bytes.substr(0, eol);
        bytes.remove_prefix(eol == std::string_view::npos ? bytes.size() : eol + 1);

        while (!line.empty() && IsProfileSpace(line.front())) line.remove_prefix(1);
        while (!line.empty() && IsProfileSpace(line.back())) line.remove_suffix(1);

        if (!line.empty() && line.front() == '[') {
            size_t close = line.rfind(']');
            if (close != std::string_view::npos) {
                Section section;
                section.name = std::string(Trimmed(line.substr(1, close - 1)));
                doc.m_sections.push_back(std::move(section));
                continue;
            }
            // A header without "]" is an ordinary line.
        }

        std::string_view name = line;
        std::optional<std::string> value;
        size_t eq = line.find('=');
        if (eq != std::string_view::npos) {
            name = line.substr(0, eq);
            while (!name.empty() && IsProfileSpace(name.back())) name.remove_suffix(1);
            std::string_view v = line.substr(eq + 1);
            while (!v.empty() && IsProfileSpace(v.front())) v.remove_prefix(1);
            value = std::string(v);
        }
        // Blank lines are not kept.
        if (!name.empty() || value) {
            Section& section = doc.m_sections.back();
            section.entries.push_back(Entry{std::string(name), std::move(value)});
        }
    }
    doc.Reindex();
    return doc;
}

std::string Document::Serialize() const {
    std::string out;
    for (const Section& section : m_sections) {
        if (!section.name.empty()) {
            out += '[';
            out += section.name;
            out += "]\r\n";
        }
        for (const Entry& entry : section.entries) {
            out += entry.name;
            if (entry.value) {
                out += '=';
                out += *entry.value;
            }
            out += "\r\n";
        }
    }
    return IsUnicode() ? EncodeFile(out, m_encoding) : out;
}

void Document::Reindex() {
    m_firstSection.clear();
    m_firstSection.reserve(m_sections.size());
    for (size_t i = 0; i < m_sections.size(); ++i) {
        Section& section = m_sections[i];
        m_firstSection.emplace(std::string(Trimmed(section.name)), i);
        section.firstEntry.clear();
        section.firstEntry.reserve(section.entries.size());
        for (size_t k = 0; k < section.entries.size(); ++k)
            section.firstEntry.emplace(std::string(Trimmed(section.entries[k].name)), k);
    }
}

const Section* Document::FindSection(std::string_view name) const {
    auto it = m_firstSection.find(Trimmed(name));
    return it == m_firstSection.end() ? nullptr : &m_sections[it->second];
}

Section* Document::FindSection(std::string_view name) {
    return const_cast<Section*>(static_cast<const Document*>(this)->FindSection(name));
}

const Entry* Document::FindEntry(std::string_view sectionName, std::string_view key) const {
    const Section* section = FindSection(sectionName);
    if (!section) return nullptr;
    auto it = section->firstEntry.find(Trimmed(key));
    return it == section->firstEntry.end() ? nullptr : &section->entries[it->second];
}

void Document::SetValue(std::string_view sectionName, std::string_view key, std::string_view value) {
    auto leadingTrimmed = [](std::string_view t) {
        while (!t.empty() && IsProfileSpace(t.front())) t.remove_prefix(1);
        return t;
    };
    auto endsInSpace = [](std::string_view t) { return !t.empty() && IsProfileSpace(t.back()); };
    value = leadingTrimmed(value);
    if (endsInSpace(value)) m_reparsePending = true;
    Section* section = FindSection(sectionName);
    if (!section) {
        // A new name keeps its trailing blanks until the file is read again.
        std::string_view name = leadingTrimmed(sectionName);
        if (endsInSpace(name)) m_reparsePending = true;
        m_firstSection.emplace(std::string(Trimmed(name)), m_sections.size());
        m_sections.push_back(Section{std::string(name), {}, {}});
        section = &m_sections.back();
    }
    auto it = section->firstEntry.find(Trimmed(key));
    if (it != section->firstEntry.end()) {
        section->entries[it->second].value = std::string(value);
        return;
    }
    std::string_view name = leadingTrimmed(key);
    if (endsInSpace(name)) m_reparsePending = true;
    section->firstEntry.emplace(std::string(Trimmed(name)), section->entries.size());
    section->entries.push_back(Entry{std::string(name), std::string(value)});
}

bool Document::DeleteEntry(std::string_view sectionName, std::string_view key) {
    Section* section = FindSection(sectionName);
    if (!section) return false;
    auto it = section->firstEntry.find(Trimmed(key));
    if (it == section->firstEntry.end()) return false;
    section->entries.erase(section->entries.begin() + static_cast<std::ptrdiff_t>(it->second));
    Reindex();
    return true;
}

bool Document::DeleteSection(std::string_view sectionName) {
    std::string_view wanted = Trimmed(sectionName);
    size_t before = m_sections.size();
    std::erase_if(m_sections, [&](const Section& s) { return !s.name.empty() && SameName(s.name, wanted); });
    Reindex();
    return m_sections.size() != before;
}

}  // namespace orbex::ini
