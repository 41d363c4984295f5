// Host files kept in memory: the store itself, the INI engine over it, and the
// virtual board run with its files in memory giving what it gives on disk.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "entry/orbex_process.h"
#include "ini/file_store.h"
#include "ini/ini_engine.h"
#include "platform/sim/virtual_board.h"
#include "support/sys_bench.h"

namespace orbex::testing {
namespace {

using Strings = std::vector<std::string>;

TEST(MemoryFileStore, NamesFilesByTheirNormalPathAndListsOneDirectory) {
    ini::MemoryFileStore store;
    EXPECT_FALSE(store.IsFile("/m/a.ini"));
    EXPECT_EQ(store.Generation("/m/a.ini"), 0u);
    EXPECT_TRUE(store.Write("/m/./sub/../a.ini", "x"));
    EXPECT_TRUE(store.IsFile("/m/a.ini"));
    EXPECT_EQ(store.Read("/m//a.ini"), std::optional<std::string>("x"));
    EXPECT_TRUE(store.Append("/m/a.ini", "yz"));
    EXPECT_EQ(store.Read("/m/a.ini"), std::optional<std::string>("xyz"));
    store.Write("/m/sub/b.gf", "");
    store.Write("/mm/c", "");
    Strings names = store.List("/m/");
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (Strings{"a.ini"}));  // neither the subdirectory's file nor a sibling directory's
    EXPECT_EQ(store.List("/m/sub"), (Strings{"b.gf"}));
    EXPECT_EQ(store.Read("/m/sub"), std::nullopt);
    EXPECT_TRUE(store.Remove("/m/a.ini"));
    EXPECT_FALSE(store.IsFile("/m/a.ini"));
}

// Every spelling of one path names the same file; near misses name others.
TEST(MemoryFileStore, SpellingsOfOnePathNameOneFile) {
    ini::MemoryFileStore store;
    store.Write("/d/e/f.ini", "x");
    for (const char* same : {"/d/e/f.ini", "/d/./e/f.ini", "/d//e/f.ini", "/d/e/g/../f.ini", "/d/e/f.ini/",
                             "/d/e/./f.ini", "/./d/e/f.ini"})
        EXPECT_TRUE(store.IsFile(same)) << same;
    for (const char* other :
         {"/d/e/f.in", "/d/e/f.ini.", "/d/e", "/d/f.ini", "d/e/f.ini", "/d/e/..f.ini", "/d/e/f.ini/.."})
        EXPECT_FALSE(store.IsFile(other)) << other;
    store.Write("rel/a", "r");
    EXPECT_EQ(store.Read("rel/./a"), std::optional<std::string>("r"));
    EXPECT_EQ(store.Read("./rel/a"), std::optional<std::string>("r"));
}

TEST(MemoryFileStore, EveryChangeMovesTheGenerationOn) {
    ini::MemoryFileStore store;
    store.Write("/m/a", "1");
    uint64_t first = store.Generation("/m/a");
    store.Write("/m/a", "1");
    uint64_t second = store.Generation("/m/a");
    store.Append("/m/a", "");
    EXPECT_GT(second, first);
    EXPECT_GT(store.Generation("/m/a"), second);
}

TEST(IniEngineInMemory, ReadsWritesAndSeesChangesMadeBehindItsBack) {
    ini::MemoryFileStore store;
    const std::string path = "/m/orbex.ini";
    store.Write(path, "[A]\nk=1\n");
    ini::Engine engine(&store);
    char value[16];
    EXPECT_EQ(engine.GetString("A", "k", "d", value, sizeof value, path), 1u);
    EXPECT_STREQ(value, "1");
    // Another writer changes the file: the next read takes the new text.
    store.Write(path, "[A]\nk=22\n");
    EXPECT_EQ(engine.GetString("A", "k", "d", value, sizeof value, path), 2u);
    EXPECT_STREQ(value, "22");
    // Our writes reach the store at the flush, and only there.
    EXPECT_TRUE(engine.WriteString("B", "n", "v", path));
    EXPECT_EQ(store.Read(path), std::optional<std::string>("[A]\nk=22\n"));
    EXPECT_TRUE(engine.Flush());
    const std::string flushed = store.Read(path).value_or("");
    EXPECT_NE(flushed.find("k=22"), std::string::npos) << flushed;
    EXPECT_NE(flushed.find("[B]"), std::string::npos) << flushed;
    EXPECT_NE(flushed.find("n=v"), std::string::npos) << flushed;
    EXPECT_EQ(engine.GetInt("A", "k", -1, path), 22u);
    // A missing file reads as empty and gives the default.
    EXPECT_EQ(engine.GetString("A", "k", "dflt", value, sizeof value, "/m/none.ini"), 4u);
    EXPECT_STREQ(value, "dflt");
    EXPECT_FALSE(store.IsFile("/m/none.ini"));
}

// Found by fuzz_ini: the key list of a section into a one-character buffer
// cut "the character before the terminator", one before the buffer (a stack
// underflow in the engine's scratch buffer, reported by AddressSanitizer).
TEST(IniEngineInMemory, AKeyListIntoOneCharacterHoldsTheTerminatorOnly) {
    ini::MemoryFileStore store;
    for (const char* text : {"[A]\n", "[A]\nk=1\n", "[A]\nlong=1\nk=2\n"}) {
        store.Write("/m/x.ini", text);
        ini::Engine engine(&store);
        char fenced[3] = {'#', '#', '#'};
        EXPECT_EQ(engine.GetString("A", nullptr, "dflt", fenced + 1, 1, "/m/x.ini"), 0u) << text;
        EXPECT_EQ(fenced[0], '#') << text;
        EXPECT_EQ(fenced[1], '\0') << text;
        EXPECT_EQ(fenced[2], '#') << text;
        char two[2] = {'#', '#'};
        EXPECT_EQ(engine.GetString("A", nullptr, "", two, 2, "/m/x.ini"), 0u) << text;
        EXPECT_EQ(two[0], '\0') << text;
    }
}

// One run of command lines on the reference board, its files on disk (a
// bench's directory) or in memory; what the run leaves behind.
struct RunOutcome {
    std::vector<int32_t> statuses;
    std::string log;       // orbex.txt without the time stamps
    std::string merged;    // ~temp.gf
    std::string settings;  // orbex.ini after the run
    Strings inf;           // inf\*.inf as the machine finds them
};

std::string WithoutStamps(const std::string& log) {
    std::istringstream in(log);
    std::string line, out;
    while (std::getline(in, line)) out += line.substr(line.find(' ') + 1) + "\n";
    return out;
}

const char* const kLines[] = {"-d 3", "tc5001", "tc6900", "tc6901", "tc6902", "tc1100"};

RunOutcome Collect(COrbexProcess& process, sim::VirtualBoard& board,
                   const std::function<std::string(const char*)>& read) {
    RunOutcome out;
    for (const char* line : kLines) out.statuses.push_back(process.OrbexEntry(line, 0));
    board.Profile().FlushProfiles();
    out.log = WithoutStamps(read("orbex.txt"));
    out.merged = read("~temp.gf");
    out.settings = read("orbex.ini");
    char name[260];
    port::FindHandle find = board.Files().FindFirst("C:\\WINNT\\inf\\*.inf", name, sizeof name);
    for (bool more = find != 0; more; more = board.Files().FindNext(find, name, sizeof name)) out.inf.push_back(name);
    if (find) board.Files().FindClose(find);
    return out;
}

TEST(VirtualBoardInMemory, RunsAsOnDiskAndLeavesTheDiskAlone) {
    const std::string database = ExampleFile("orbex.ini");
    SysBench disk(Bench::Board(), SysGraph());
    disk.WriteFile("orbex.ini", database);
    RunOutcome onDisk = Collect(disk.Process(), disk.Platform(), [&](const char* n) { return disk.ReadFile(n); });

    const std::string dir = (std::filesystem::temp_directory_path() / "orbex-memory-never-made").string();
    auto files = std::make_shared<ini::MemoryFileStore>();
    files->Write(dir + "/default.gf", SysGraph());
    files->Write(dir + "/orbex.ini", database);
    sim::SimOptions options;
    options.hostCurrentDirectory = dir;
    options.noVerdict = false;
    options.events = [](const sim::PlatformEvent&) {};
    options.memoryFiles = files;
    sim::VirtualBoard board(sim::ReferenceBoard(), options);
    COrbexProcess process(board);
    RunOutcome inMemory =
        Collect(process, board, [&](const char* n) { return files->Read(dir + "/" + n).value_or("(missing)"); });

    EXPECT_EQ(inMemory.statuses, onDisk.statuses);
    EXPECT_EQ(inMemory.log, onDisk.log);
    EXPECT_NE(inMemory.log.find("CHardwareCaps::Initialize() Exit"), std::string::npos);
    EXPECT_EQ(inMemory.merged, onDisk.merged);
    EXPECT_NE(inMemory.merged.find("[ConnectionMap]"), std::string::npos);
    EXPECT_EQ(inMemory.settings, onDisk.settings);
    EXPECT_EQ(inMemory.inf, onDisk.inf);
    EXPECT_FALSE(inMemory.inf.empty());  // the board's inf files were written, in memory
    EXPECT_FALSE(std::filesystem::exists(dir));
}

}  // namespace
}  // namespace orbex::testing
