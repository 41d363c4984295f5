// Any text as a value of the board database's [MMTable] or [MMMask] entries
// (up to the 255 characters the tests read): the entry parser keeps its name
// within 99 characters and counts every byte item; the hexadecimal reader
// and the names of differing mask bits stay within their buffers.
#include <cstdlib>
#include <cstring>
#include <string>

#include "cases/hwcaps/mask_names.h"
#include "cases/hwcaps/mm_entry.h"

using namespace orbex;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size < 255 ? size : 255);
    text = text.c_str();  // a profile value ends at its first NUL
    MMEntry entry;
    bool named = ParseMMEntry(text.c_str(), entry);
    if (std::strlen(entry.name) > 99 || entry.byteCount < 0) std::abort();
    if (!named && (entry.name[0] || entry.byteCount)) std::abort();
    // Every byte item is at least two characters with its comma.
    if (static_cast<size_t>(entry.byteCount) * 2 > text.size() + 1) std::abort();
    const uint32_t mask = ReadHexItem(text.c_str());
    char names[256];
    MismatchNames(mask, names, sizeof names);
    char small[8];
    MismatchNames(mask, small, sizeof small);
    if (std::strlen(names) > 200 || std::strlen(small) > 7) std::abort();
    return 0;
}
