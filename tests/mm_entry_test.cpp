// The [MMTable] entry parser: items, hexadecimal reading and cuts.
#include "cases/hwcaps/mm_entry.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace orbex {
namespace {

TEST(MMEntry, ReadsHexItemsAsAPercentXConversionDoes) {
    struct Case {
        const char* item;
        uint32_t value;
    };
    for (const Case& c :
         {Case{"1F", 0x1F}, Case{"  0x2a", 0x2A}, Case{"0X10", 0x10}, Case{"ff zz", 0xFF}, Case{"zz", 0}, Case{"", 0},
          Case{"0x", 0}, Case{"-1", 0xFFFFFFFF}, Case{"+7", 7}, Case{"123456789", 0x23456789}})
        EXPECT_EQ(ReadHexItem(c.item), c.value) << c.item;
}

TEST(MMEntry, SplitsNameAndBytes) {
    struct Case {
        const char* value;
        const char* name;
        int count;
        std::vector<int> bytes;  // the twelve table bytes
    };
    for (const Case& c : {
             Case{"Board, 01,02,03,04,05,06,07,08,09,0A,0B,0C", "Board", 12, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}},
             // empty items are skipped, not counted; values keep their low byte
             Case{",,Board,,1FF,,0x80,", "Board", 2, {0xFF, 0x80, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
             Case{"B,1,2,3,4,5,6,7,8,9,A,B", "B", 11, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 0}},
             Case{"B,1,2,3,4,5,6,7,8,9,A,B,C,D", "B", 13, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}},
             Case{"Only a name", "Only a name", 0, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
         }) {
        MMEntry entry;
        ASSERT_TRUE(ParseMMEntry(c.value, entry)) << c.value;
        EXPECT_STREQ(entry.name, c.name) << c.value;
        EXPECT_EQ(entry.byteCount, c.count) << c.value;
        EXPECT_EQ(std::vector<int>(entry.table, entry.table + kMMTableBytes), c.bytes) << c.value;
    }
}

TEST(MMEntry, AValueWithoutItemsHasNoEntry) {
    MMEntry entry;
    EXPECT_FALSE(ParseMMEntry("", entry));
    EXPECT_FALSE(ParseMMEntry(",,,", entry));
}

TEST(MMEntry, ALongNameIsCutTo99Characters) {
    std::string name(150, 'n');
    MMEntry entry;
    ASSERT_TRUE(ParseMMEntry((name + ",1").c_str(), entry));
    EXPECT_EQ(std::string(entry.name), std::string(99, 'n'));
    EXPECT_EQ(entry.byteCount, 1);
    EXPECT_EQ(entry.table[0], 1);
}

TEST(MMEntry, APreviousEntryLeavesNothingBehind) {
    MMEntry entry;
    ASSERT_TRUE(ParseMMEntry("A,1,2,3,4,5,6,7,8,9,A,B,C", entry));
    ASSERT_TRUE(ParseMMEntry("B,9", entry));
    EXPECT_STREQ(entry.name, "B");
    EXPECT_EQ(entry.table[0], 9);
    EXPECT_EQ(entry.table[1], 0);
    EXPECT_EQ(entry.table[11], 0);
}

}  // namespace
}  // namespace orbex
