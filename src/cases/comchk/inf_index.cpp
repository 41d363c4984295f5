#include "cases/comchk/inf_index.h"

#include <cstring>

#include "common/format.h"
#include "platform/ports.h"

namespace orbex {
namespace {

bool IsSuffixChar(char c) {
    return (c >= '0' && c <= '9') || c == 'x' || c == 'X';
}

}  // namespace

void CutInstanceSuffix(char* name) {
    size_t n = std::strlen(name);
    if (n > 2 && IsSuffixChar(name[n - 1]) && IsSuffixChar(name[n - 2])) name[n - 2] = '\0';
}

bool ScanInfLine(const char* line, char* id, uint32_t size) {
    if (id && size) id[0] = '\0';
    static constexpr char kMarker[] = "DISPLAY\\";
    const char* last = nullptr;
    for (const char* p = std::strstr(line, kMarker); p; p = std::strstr(p + 1, kMarker)) last = p;
    if (!last) return false;
    const char* semicolon = std::strchr(line, ';');
    if (semicolon && semicolon < last) return false;
    const char* start = last + sizeof kMarker - 1;
    size_t length = std::strcspn(start, "\n ;\\,/");
    // The identifier is cut before it is shortened to its stored size.
    char identifier[kInfLinePiece];
    if (length >= sizeof identifier) length = sizeof identifier - 1;
    std::memcpy(identifier, start, length);
    identifier[length] = '\0';
    CutInstanceSuffix(identifier);
    if (id && size) CopyText(id, size, identifier);
    return true;
}

void BuildInfIndex(port::IFileSystem& files, const char* windowsDirectory, InfIndex& index) {
    index.count = 0;
    for (const char* folder : {"inf\\", "inf\\other\\"}) {
        char pattern[600];
        FormatInto(pattern, sizeof pattern, "%s\\%s*.inf", windowsDirectory, folder);
        char name[260];
        port::FindHandle find = files.FindFirst(pattern, name, sizeof name);
        if (!find) continue;
        bool more = true;
        for (; more && index.count < kInfIndexEntries; more = files.FindNext(find, name, sizeof name)) {
            name[sizeof name - 1] = '\0';  // a name that fills the buffer is cut, never read past
            char path[600];
            FormatInto(path, sizeof path, "%s\\%s%s", windowsDirectory, folder, name);
            port::TextFile text = files.OpenTextFile(path);
            if (!text) continue;
            char piece[kInfLinePiece];
            while (index.count < kInfIndexEntries && files.ReadTextLine(text, piece, sizeof piece)) {
                InfEntry& entry = index.entries[index.count];
                if (!ScanInfLine(piece, entry.id, sizeof entry.id)) continue;
                FormatInto(entry.file, sizeof entry.file, "%s%s", folder, name);
                ++index.count;
            }
            files.CloseTextFile(text);
        }
        files.FindClose(find);
        if (index.count >= kInfIndexEntries) return;
    }
}

}  // namespace orbex
