// The INI engine's cache: a read never returns stale data, writes reach the
// disk on flush, and the parser keeps what a rewrite must reproduce.
#include "ini/ini_engine.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/host/host.h"

namespace orbex::ini {
namespace {

class IniEngine : public ::testing::Test {
protected:
    void SetUp() override {
        dir = host::MakeTempDirectory("orbex-ini-");
        ASSERT_FALSE(dir.empty());
        path = dir + "/a.ini";
    }
    void TearDown() override { std::filesystem::remove_all(dir); }
    void Write(const std::string& text) { std::ofstream(path, std::ios::binary) << text; }
    std::string Read() {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }
    std::string Get(Engine& e, const char* section, const char* key) {
        char buffer[64];
        e.GetString(section, key, "<none>", buffer, sizeof buffer, path);
        return buffer;
    }
    std::string dir, path;
};

TEST_F(IniEngine, AFileChangedOnDiskIsReadAnew) {
    Engine engine;
    Write("[S]\nk=1\n");
    EXPECT_EQ(Get(engine, "S", "k"), "1");
    Write("[S]\nk=22\n");  // same call site, new size
    EXPECT_EQ(Get(engine, "S", "k"), "22");
    Write("[S]\nk=33\n");  // same size, new contents
    EXPECT_EQ(Get(engine, "S", "k"), "33");
    std::filesystem::remove(path);
    EXPECT_EQ(Get(engine, "S", "k"), "<none>");
}

TEST_F(IniEngine, WritesAreSeenAtOnceAndReachTheDiskOnFlush) {
    Engine engine;
    EXPECT_TRUE(engine.WriteString("S", "k", "v", path));
    EXPECT_EQ(Get(engine, "S", "k"), "v");
    EXPECT_TRUE(engine.Flush());
    EXPECT_EQ(Read(), "[S]\r\nk=v\r\n");
    // An outside change after the flush is picked up again.
    Write("[S]\r\nk=outside\r\n");
    EXPECT_EQ(Get(engine, "S", "k"), "outside");
}

TEST_F(IniEngine, WriteThroughWritesEveryChange) {
    Engine engine;
    engine.SetWriteThrough(true);
    engine.WriteString("S", "k", "v", path);
    EXPECT_EQ(Read(), "[S]\r\nk=v\r\n");
}

TEST_F(IniEngine, AFileThatCannotBeWrittenFailsTheFlush) {
    Engine engine;
    std::string bad = dir + "/missing-dir/x.ini";
    EXPECT_TRUE(engine.WriteString("S", "k", "v", bad));
    EXPECT_FALSE(engine.Flush());
}

TEST_F(IniEngine, ManyKeysAreFoundByNameInAnyCase) {
    std::string text = "[Big]\n";
    for (int i = 0; i < 3000; ++i) text += "Key" + std::to_string(i) + "=" + std::to_string(i * 7) + "\n";
    Write(text);
    Engine engine;
    EXPECT_EQ(engine.GetInt("big", "KEY2999", -1, path), 2999u * 7);
    EXPECT_EQ(engine.GetInt("Big", "Key0", -1, path), 0u);
}

TEST(ProfileInteger, ReadsAsThePlatformDoes) {
    struct Case {
        const char* text;
        uint32_t value;
    };
    for (const Case& c : {Case{"42", 42}, Case{"-17", 0u - 17}, Case{"+5", 5}, Case{"  12", 12}, Case{"0x1F", 31},
                          Case{"0X1F", 0}, Case{"12abc", 12}, Case{"abc", 0}, Case{"0o17", 15}, Case{"0b101", 5},
                          Case{"4294967297", 1}, Case{"-0x10", 0u - 16}}) {
        EXPECT_EQ(ParseProfileInteger(c.text), c.value) << c.text;
    }
}

TEST(Document, KeepsCommentsAndEntriesWithoutValuesOnRewrite) {
    Document doc = Document::Parse("top=1\n[S]\n;comment\nbare\n\n  k = v \n");
    EXPECT_EQ(doc.Serialize(), "top=1\r\n[S]\r\n;comment\r\nbare\r\nk=v\r\n");
}

}  // namespace
}  // namespace orbex::ini
