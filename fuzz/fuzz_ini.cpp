// Any INI text: every profile read stays inside its buffer and returns a
// count below it, and a rewrite reads back to the same document.
#include <cstdio>
#include <cstring>
#include <string>

#include "ini/file_store.h"
#include "ini/ini_engine.h"
#include "sanitizer_options.h"

namespace {

// The check itself carries no coverage: its loop over the buffer's guard
// bytes is not the code under test, and tracing each of its comparisons
// cost a sixth of every execution.
__attribute__((no_sanitize("coverage"))) void CheckRead(orbex::ini::Engine& engine, const char* section,
                                                        const char* key, uint32_t size, const std::string& path) {
    char buffer[300];
    std::memset(buffer, 0xCC, sizeof buffer);
    uint32_t n = engine.GetString(section, key, "dflt", buffer, size, path);
    if (n >= size) __builtin_trap();
    for (size_t i = size; i < sizeof buffer; ++i)
        if (static_cast<unsigned char>(buffer[i]) != 0xCC) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    orbex::ini::Document doc = orbex::ini::Document::Parse(text);
    std::string once = doc.Serialize();
    // Blank lines are not kept: an ANSI file whose first kept line begins with
    // a byte-order mark is written as one that starts with it, and is read
    // back as Unicode. From there on the rewrite must be stable.
    size_t mark = 0;
    if (!doc.IsUnicode() && orbex::ini::DetectEncoding(once, mark) != orbex::ini::Encoding::Ansi)
        once = orbex::ini::Document::Parse(once).Serialize();
    if (orbex::ini::Document::Parse(once).Serialize() != once) __builtin_trap();

    // The file lives in memory: the engine reads and writes it there.
    static orbex::ini::MemoryFileStore store;
    const std::string path = "/fuzz/orbex.ini";
    store.Clear();
    store.Write(path, text);
    orbex::ini::Engine engine(&store);
    for (uint32_t small : {1u, 2u, 3u, 7u, 64u, 256u}) CheckRead(engine, nullptr, nullptr, small, path);
    char sections[1024];
    engine.GetString(nullptr, nullptr, "", sections, sizeof sections, path);
    int section = 0;
    for (const char* s = sections; *s && s < sections + sizeof sections; s += std::strlen(s) + 1, ++section) {
        for (uint32_t small : {1u, 2u, 5u, 256u}) CheckRead(engine, s, nullptr, small, path);
        char keys[1024];
        engine.GetString(s, nullptr, "", keys, sizeof keys, path);
        for (const char* k = keys; *k && k < keys + sizeof keys; k += std::strlen(k) + 1) {
            CheckRead(engine, s, k, 4, path);
            CheckRead(engine, s, k, 256, path);
            engine.GetInt(s, k, -1, path);
        }
        // A value that ends in a space makes the engine reread its file as
        // written before the next read: once per input is enough to drive
        // that path; doing it in every section costs a whole parse each.
        // Writes into the first four sections drive the write paths; each
        // rebuilds the document's index, so one in every section of a long
        // file made an input's cost grow with the square of its sections.
        if (section < 4) engine.WriteString(s, "fuzzkey", section == 0 ? " value " : " value", path);
    }
    engine.WriteString("New Section ", " key", "v", path);
    if (!engine.Flush()) __builtin_trap();
    // What was written reads back from the store as a fresh engine sees it,
    // unless the ANSI text written begins with a byte-order mark (see above).
    auto written = store.Read(path);
    if (!written) __builtin_trap();
    if (!doc.IsUnicode() && orbex::ini::DetectEncoding(*written, mark) != orbex::ini::Encoding::Ansi) return 0;
    orbex::ini::Engine reader(&store);
    char value[8];
    if (reader.GetString("New Section", "key", "", value, sizeof value, path) != 1 || value[0] != 'v') __builtin_trap();
    return 0;
}
