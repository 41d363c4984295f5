// The INI engine's cache: a read never returns stale data, writes reach the
// disk on flush, and the parser keeps what a rewrite must reproduce.
#include "ini/ini_engine.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "ini/text_encoding.h"
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

// Files with a byte-order mark, as Wine's profile functions read them (the
// expected texts are the ones measured in the differential corpus).
struct BomRead {
    const char* file;
    const char* section;
    const char* key;
    std::string expected;  // what the ANSI read gives, "<none>" when not found
};

TEST_F(IniEngine, ByteOrderMarkFilesReadAsTheProfileFunctionsReadThem) {
    const std::string u8 = "\xEF\xBB\xBF[S]\r\n";
    const std::string u16 = std::string("\xFF\xFE[\0S\0]\0\r\0\n\0", 12);
    auto le = [](const std::string& ascii) {  // an ASCII text as UTF-16 LE units
        std::string out;
        for (char c : ascii) out += std::string{c, '\0'};
        return out;
    };
    const BomRead cases[] = {
        {"k=caf\xC3\xA9", "S", "k", "caf\xE9"},
        {"\xC3\xA9t\xC3\xA9=summer", "S", "\xE9t\xE9", "summer"},
        {"k=\xE2\x82\xAC", "S", "k", "\x80"},
        {"k=\xCE\xA9|\xC4\x80", "S", "k", "O|A"},  // look-alikes of the code page
        {"k=\xD0\x96", "S", "k", "?"},             // none there
        {"k=a\xF0\x9F\x98\x80"
         "b",
         "S", "k", "a??b"},  // two UTF-16 units
        {"k=\xC2\xA0x\xC2\xA0", "S", "k", "\xA0x\xA0"},
        {"k=\xC2\x81\xC2\x80", "S", "k", "\x81?"},
        {"k=\xE9", "S", "k", "?"},
        {"k=A\xE9"
         "B\r\n",
         "S", "k", "A?B"},
        {"k=x\xC3\r\n", "S", "k", "x?"},
        {"k=\xC0\x80z", "S", "k", "??z"},
        {"k=\xE0\x80\x80z", "S", "k", "??z"},
        {"k=\xED\xA0\x80w", "S", "k", "??w"},
        {"k=\xF0\x80\x80\x80z", "S", "k", "???z"},
        {"k=\xF4\x90\x80\x80z", "S", "k", "???z"},
        {"k=\xF4\x8F\xBF\xBFz", "S", "k", "??z"},
        {"k=\xE1\x80z", "S", "k", "?z"},
        {"k=\xF5\x80z", "S", "k", "??z"},
        {"k=\xEF\xBB\xBFz", "S", "k", "?z"},
        {"k=x\xE2"
         "A",
         "S", "k", "x?"},  // cut by the end of the file: one character
        {"k=\x1A\x0Bv\x0C\x1A\r\n", "S", "k", "v"},
    };
    Engine engine;
    for (const BomRead& c : cases) {
        Write(u8 + c.file);
        EXPECT_EQ(Get(engine, c.section, c.key), c.expected) << c.file;
    }
    for (const BomRead& c : {BomRead{"", "S", "k", "\xE9"}, BomRead{"", "S", "o", "O"}, BomRead{"", "S", "a", "?x"},
                             BomRead{"", "S", "b", "??x"}, BomRead{"", "S", "c", "?x"}}) {
        Write(u16 + le("k=") + std::string("\xE9\0\r\0\n\0", 6) + le("o=") + std::string("\xA9\x03\r\0\n\0", 6) +
              le("a=") + std::string("\0\xD8x\0\r\0\n\0", 8) + le("b=") + std::string("\x3D\xD8\0\xDEx\0\r\0\n\0", 10) +
              le("c=") + std::string("\0\xDCx\0", 4) + "\r");
        EXPECT_EQ(Get(engine, c.section, c.key), c.expected) << c.key;
    }
    Write(std::string("\xFE\xFF\0[\0S\0]\0\r\0\n\0k\0=\0\xE9", 18));
    EXPECT_EQ(Get(engine, "S", "k"), "\xE9");
    // Without a mark at the start the bytes are the text.
    Write("[S]\r\nk=\xEF\xBB\xBFv\r\nm=\xE9\r\n");
    EXPECT_EQ(Get(engine, "S", "k"), "\xEF\xBB\xBFv");
    EXPECT_EQ(Get(engine, "S", "m"), "\xE9");
    // An invalid byte in a name is U+FFFD: listed as '?', but "?" does not find it.
    Write("\xEF\xBB\xBF[S\xE9]\r\nk\xE9y=v\r\n");
    char list[32];
    EXPECT_EQ(engine.GetString(nullptr, nullptr, "", list, sizeof list, path), 3u);
    EXPECT_EQ(std::string(list, 4), std::string("S?\0\0", 4));
    EXPECT_EQ(Get(engine, "S?", "k?y"), "<none>");
    EXPECT_EQ(Get(engine, "S\xE9", "k\xE9y"), "<none>");
}

TEST_F(IniEngine, ByteOrderMarkListsAreCutInConvertedCharacters) {
    Write("\xEF\xBB\xBF[\xCE\xA9mega]\r\n\xF0\x9F\x98\x80x=1\r\nab=2\r\n[B]\r\n");
    Engine engine;
    char b[16];
    std::memset(b, 0x55, sizeof b);
    EXPECT_EQ(engine.GetString(nullptr, nullptr, "", b, 4, path), 2u);
    EXPECT_EQ(std::string(b, 5), std::string("Om\0\x55\x55", 5));
    EXPECT_EQ(engine.GetString(nullptr, nullptr, "", b, 16, path), 8u);
    EXPECT_EQ(std::string(b, 9), std::string("Omega\0B\0\0", 9));
    EXPECT_EQ(engine.GetString("omega", nullptr, "", b, 16, path), 0u);  // the look-alike is no name
    const std::string omega = "\xCE\xA9mega";
    // The caller's bytes are code page 1252 text, not UTF-8: no such section.
    EXPECT_EQ(engine.GetString(omega.c_str(), nullptr, "", b, 16, path), 0u);
}

TEST_F(IniEngine, ByteOrderMarkFilesAreRewrittenInTheirEncoding) {
    struct Rewrite {
        std::string before;
        const char* section;
        const char* key;
        const char* value;
        std::string after;
    };
    const Rewrite cases[] = {
        // Invalid bytes come back as U+FFFD, untouched characters as they were,
        // new text converted from code page 1252.
        {"\xEF\xBB\xBF[S]\r\nk=\xE9\r\nomega=\xCE\xA9\r\n", "S\xE9", "x", "caf\xE9\x80\x81",
         "\xEF\xBB\xBF[S]\r\nk=\xEF\xBF\xBD\r\nomega=\xCE\xA9\r\n[S\xC3\xA9]\r\nx=caf\xC3\xA9\xE2\x82\xAC\xC2\x81\r\n"},
        // Names compare as ASCII without case only: "\xE9T\xE9" is the section, "\xC9t\xE9" another.
        {"\xEF\xBB\xBF[\xC3\xA9t\xC3\xA9]\r\nk=1\r\n", "\xE9T\xE9", "K", "\xE9",
         "\xEF\xBB\xBF[\xC3\xA9t\xC3\xA9]\r\nk=\xC3\xA9\r\n"},
        {"\xEF\xBB\xBF[\xC3\xA9t\xC3\xA9]\r\n", "\xC9t\xE9", "k", "2",
         "\xEF\xBB\xBF[\xC3\xA9t\xC3\xA9]\r\n[\xC3\x89t\xC3\xA9]\r\nk=2\r\n"},
        {"\xEF\xBB\xBF[S]\r\nk=x\xE2\x82", "S", "n", "v", "\xEF\xBB\xBF[S]\r\nk=x\xEF\xBF\xBD\r\nn=v\r\n"},
        {"\xEF\xBB\xBF", "S", "k", "v", "\xEF\xBB\xBF[S]\r\nk=v\r\n"},
        // UTF-16: lone surrogates kept, an odd last byte dropped.
        {std::string("\xFF\xFE[\0S\0]\0\r\0\n\0a\0=\0\0\xD8\r", 19), "S", "n", "\xE9",
         std::string("\xFF\xFE[\0S\0]\0\r\0\n\0a\0=\0\0\xD8\r\0\n\0n\0=\0\xE9\0\r\0\n\0", 32)},
        {std::string("\xFE\xFF\0[\0S\0]\0\r\0\n\0k\0=\0\xE9", 18), "S", "n", "v",
         std::string("\xFE\xFF\0[\0S\0]\0\r\0\n\0k\0=\0\xE9\0\r\0\n\0n\0=\0v\0\r\0\n", 32)},
    };
    for (const Rewrite& c : cases) {
        Write(c.before);
        Engine engine;
        EXPECT_TRUE(engine.WriteString(c.section, c.key, c.value, path));
        EXPECT_TRUE(engine.Flush());
        EXPECT_EQ(Read(), c.after) << c.value;
    }
}

// Outcomes measured with the Windows profile functions (the Wine differential
// corpus, tests/ini_diff): the returned count and every byte of a buffer of
// size + 4 bytes filled with 0xCC, so a write past the count shows.
struct MeasuredRead {
    const char* file;
    const char* section;  // nullptr: list the sections
    const char* key;      // nullptr: list the keys
    const char* defaultValue;
    uint32_t size;
    uint32_t ret;
    const char* bufferHex;
};

std::string Hex(const std::vector<char>& bytes) {
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    for (char c : bytes) {
        out += digits[static_cast<unsigned char>(c) >> 4];
        out += digits[static_cast<unsigned char>(c) & 15];
    }
    return out;
}

constexpr const char* kThreeSections = "[Alpha]\r\na=1\r\n[Beta]\r\nb=2\r\n[Gamma]\r\nc=3\r\n";
constexpr const char* kFourSections =
    "[Alpha]\r\na=1\r\n[Beta]\r\nb=2\r\n[Gamma]\r\nc=3\r\n[S]\r\none=1\r\ntwo=2\r\nthree=3\r\n";
constexpr const char* kThreeKeys = "[S]\r\none=1\r\ntwo=2\r\nthree=3\r\n";

const MeasuredRead kMeasuredReads[] = {
    // Section lists cut by the buffer: the count is size - 2, one zero, the last byte untouched.
    {kThreeSections, nullptr, nullptr, "", 1, 0, "00CCCCCCCC"},
    {kThreeSections, nullptr, nullptr, "", 2, 0, "00CCCCCCCCCC"},
    {kThreeSections, nullptr, nullptr, "", 5, 3, "416C7000CCCCCCCCCC"},
    {kThreeSections, nullptr, nullptr, "", 6, 4, "416C706800CCCCCCCCCC"},
    {kThreeSections, nullptr, nullptr, "", 7, 5, "416C70686100CCCCCCCCCC"},
    {kThreeSections, nullptr, nullptr, "", 11, 9, "416C7068610042657400CCCCCCCCCC"},
    {kThreeSections, nullptr, nullptr, "", 12, 10, "416C706861004265746100CCCCCCCCCC"},
    // Key lists: the same cut; a list that fits ends in a double zero.
    {kThreeKeys, "S", nullptr, "", 2, 0, "00CCCCCCCCCC"},
    {kThreeKeys, "S", nullptr, "", 3, 1, "6F00CCCCCCCCCC"},
    {kThreeKeys, "S", nullptr, "", 4, 2, "6F6E00CCCCCCCCCC"},
    {kThreeKeys, "S", nullptr, "", 5, 3, "6F6E6500CCCCCCCCCC"},
    {kThreeKeys, "S", nullptr, "", 8, 6, "6F6E6500747700CCCCCCCCCC"},
    {kThreeKeys, "S", nullptr, "", 9, 7, "6F6E650074776F00CCCCCCCCCC"},
    {kThreeKeys, "S", nullptr, "", 64, 14,
     "6F6E650074776F0074687265650000CCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCC"
     "CCCCCCCCCCCCCCCCCCCCCCC"},
    // Lists whose last name just fits, or fits but for its zero (corpus case list-edges-exact-fit).
    {kFourSections, nullptr, nullptr, "", 19, 17, "416C70686100426574610047616D6D610000CCCCCCCCCC"},
    {kFourSections, nullptr, nullptr, "", 20, 18, "416C70686100426574610047616D6D61005300CCCCCCCCCC"},
    {kFourSections, nullptr, nullptr, "", 21, 19, "416C70686100426574610047616D6D6100530000CCCCCCCCCC"},
    {kFourSections, "S", nullptr, "", 10, 8, "6F6E650074776F0000CCCCCCCCCC"},
    {kFourSections, "S", nullptr, "", 15, 13, "6F6E650074776F00746872656500CCCCCCCCCC"},
    {kFourSections, "S", nullptr, "", 16, 14, "6F6E650074776F0074687265650000CCCCCCCCCC"},
    // The keys of a missing section: the default.
    {"[S]\r\na=1\r\n", "T", nullptr, "deflt", 32, 5,
     "6465666C7400CCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCC"},
    {"[S]\r\na=1\r\n", "T", nullptr, "", 32, 0,
     "00CCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCC"},
    // A quoted value cut by the buffer loses its quotes, and one more character
    // when the buffer holds the closing quote but not its zero.
    {"[S]\r\nd=\"abcdef\"\r\n", "S", "d", "x", 4, 3, "61626300CCCCCCCC"},
    {"[S]\r\nd=\"abcdef\"\r\n", "S", "d", "x", 7, 5, "616263646500CCCCCCCCCC"},
    {"[S]\r\nd=\"abcdef\"\r\n", "S", "d", "x", 8, 6, "61626364656600CCCCCCCCCC"},
    {"[S]\r\nd=\"abcdef\"\r\n", "S", "d", "x", 9, 6, "61626364656600CCCCCCCCCCCC"},
    // Quotes: matching pairs only; a lone quote stays.
    {"[S]\r\nm=\"mixed'\r\n", "S", "m", "x", 32, 7,
     "226D697865642700CCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCC"},
    {"[S]\r\nq=\"\r\n", "S", "q", "x", 32, 1,
     "2200CCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCC"},
    {"[S]\r\ne=\"\"\r\n", "S", "e", "x", 32, 0,
     "00CCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCC"},
    {"[S]\r\ni=a\"b\"\r\n", "S", "i", "x", 32, 4,
     "6122622200CCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCC"},
    // Defaults lose their quotes and trailing blanks, but an all-blank default keeps one blank.
    {"[S]\r\n", "S", "missing", "\"dflt\"", 32, 4,
     "64666C7400CCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCC"},
    {"[S]\r\n", "S", "missing", "dflt   ", 32, 4,
     "64666C7400CCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCC"},
    {"[S]\r\n", "S", "missing", " ", 32, 1, "2000CCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCC"},
    // A value of blanks only reads as empty, not as the default.
    {"[S]\r\nk=   \r\n", "S", "k", "d", 32, 0,
     "00CCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCC"},
};

TEST_F(IniEngine, ReadsGiveTheMeasuredCountsAndBytes) {
    for (const MeasuredRead& c : kMeasuredReads) {
        Engine engine;
        Write(c.file);
        std::vector<char> buffer(c.size + 4, static_cast<char>(0xCC));
        uint32_t ret = engine.GetString(c.section, c.key, c.defaultValue, buffer.data(), c.size, path);
        SCOPED_TRACE(std::string(c.section ? c.section : "@null") + " " + (c.key ? c.key : "@null") + " size " +
                     std::to_string(c.size));
        EXPECT_EQ(ret, c.ret);
        EXPECT_EQ(Hex(buffer), c.bufferHex);
    }
}

TEST_F(IniEngine, AValueOfBlanksReadsAsTheIntegerDefaultNotAsZero) {
    Engine engine;
    Write("[S]\r\nk=   \r\n");
    EXPECT_EQ(engine.GetInt("S", "k", 9, path), 9u);
}

TEST(CodePage1252, EveryByteComesBackFromItsUnicodeText) {
    for (int b = 0; b < 256; ++b) {
        const std::string byte(1, static_cast<char>(b));
        EXPECT_EQ(TextToAnsi(AnsiToText(byte)), byte) << b;
    }
    EXPECT_EQ(AnsiToText("\x80\x9F\xE9"), "\xE2\x82\xAC\xC5\xB8\xC3\xA9");
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
