// The board information object over the virtual display driver.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <utility>

#include "support/bench.h"

namespace orbex::testing {
namespace {

CBoardInfo& Info(Bench& bench) {
    return bench.Process().BoardInfo();
}

TEST(BoardInfo, TheReferenceBoardHasTunerOneDecoderOneAndThreeInputs) {
    Bench bench;
    EXPECT_EQ(Info(bench).GetTunerType(0), 1);
    EXPECT_EQ(Info(bench).GetDecoderType(0), 1);
    EXPECT_EQ(Info(bench).GetVideoInputCount(0), 3);
    EXPECT_EQ(Info(bench).GetTunerStandardClass(0), 1);
    EXPECT_EQ(Info(bench).GetTunerVideoStandard(0), 0x1u);
    EXPECT_EQ(Info(bench).GetTunerType(1), -1);  // beyond the monitor count
}

TEST(BoardInfo, AShortReplyIsAnEightByteTable) {
    Bench bench(Bench::Board("[Display]\nMMTable=25 00 05 00 00 00 00 00 00 00\n"));
    EXPECT_EQ(Info(bench).GetTunerType(0), 0x25);
    EXPECT_EQ(Info(bench).GetDecoderType(0), 5);
    EXPECT_EQ(Info(bench).GetVideoInputCount(0), -1);
    EXPECT_EQ(Info(bench).MMTable(0).bytesReturned, 8u);
}

TEST(BoardInfo, ARefusedEscapeOrAMissingDcLeavesNoTable) {
    for (const char* extra : {"[Display]\nEscape=refused\n", "[Faults]\nCreateDC=1\n", "[Faults]\nExtEscape=1\n"}) {
        Bench bench(Bench::Board(extra));
        EXPECT_EQ(Info(bench).GetTunerType(0), -1) << extra;
        EXPECT_EQ(Info(bench).GetDecoderType(0), -1) << extra;
        EXPECT_EQ(Info(bench).GetVideoInputCount(0), -1) << extra;
        EXPECT_EQ(Info(bench).GetTunerStandardClass(0), 0) << extra;
        EXPECT_EQ(Info(bench).GetTunerVideoStandard(0), 0x1u) << extra;
    }
}

TEST(BoardInfo, VideoInputCountFollowsTheDecoderAndTuner) {
    struct Case {
        const char* table;
        int32_t count;
    };
    for (const Case& c :
         {Case{"00 00 00 00 00 02 00 01 01 01 01 01", 1}, Case{"21 00 00 00 00 02 00 00 00 00 00 00", 3},
          Case{"00 00 00 00 00 00 00 01 00 02 03 00", 3}, Case{"00 00 00 00 00 00 00 04 08 00 00 00", 0}}) {
        Bench bench(Bench::Board(std::string("[Display]\nMMTable=") + c.table + "\n"));
        EXPECT_EQ(Info(bench).GetVideoInputCount(0), c.count) << c.table;
    }
}

TEST(BoardInfo, TunerTypesMapToStandardClassesAndVideoStandards) {
    const int classes[32] = {0, 1, 1, 2, 2, 4, 1, 3, 1, 2, 2, 4, 1, 4, 4, 1,
                             4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 4, 5};
    const uint32_t standards[32] = {1,    1, 1, 0x10, 0x100, 0x10, 1, 0x2000, 1, 0x10, 0x100, 0x10, 1, 0x10, 0x10, 1,
                                    0x10, 1, 1, 1,    1,     1,    1, 1,      1, 1,    1,     1,    1, 1,    0x10, 1};
    for (int type = 0; type < 32; ++type) {
        char table[64];
        std::snprintf(table, sizeof table, "%02X 00 00 00 00 01 00 01 00 00 00 00", type);
        Bench bench(Bench::Board(std::string("[Display]\nMMTable=") + table + "\n"));
        EXPECT_EQ(Info(bench).GetTunerType(0), type);
        EXPECT_EQ(Info(bench).GetTunerStandardClass(0), classes[type]) << type;
        EXPECT_EQ(Info(bench).GetTunerVideoStandard(0), standards[type]) << type;
    }
}

TEST(BoardInfo, TwoMonitorsHoldTheSameTable) {
    Bench bench(Bench::Board("[Display]\nMonitors=2\n"));
    EXPECT_EQ(Info(bench).MonitorCount(), 2);
    EXPECT_EQ(Info(bench).GetTunerType(1), 1);
    EXPECT_EQ(Info(bench).GetDecoderType(1), Info(bench).GetDecoderType(0));
}

TEST(BoardInfo, DecoderTypeMasksItsByteAtEveryEdge) {
    struct Case {
        const char* table;
        int32_t decoder;
        int32_t inputs;
    };
    // Twelve-byte tables: byte 5 bits 0-3; eight-byte tables: byte 2 bits 0-2.
    for (const Case& c :
         {Case{"01 00 00 00 00 07 00 00 00 00 00 00", 7, 3}, Case{"01 00 00 00 00 08 00 00 00 00 00 00", 8, 3},
          Case{"01 00 00 00 00 09 00 00 00 00 00 00", 9, 3}, Case{"00 00 00 00 00 0F 00 00 00 00 00 00", 15, 1},
          Case{"01 00 00 00 00 F7 00 00 00 00 00 00", 7, 3}, Case{"01 00 00 00 00 10 00 01 00 00 00 00", 0, 1},
          Case{"01 00 00 00 00 F0 00 00 00 00 00 00", 0, 0}, Case{"01 00 07 00 00 00 00 00", 7, -1},
          Case{"01 00 0F 00 00 00 00 00", 7, -1}, Case{"01 00 08 00 00 00 00 00", 0, -1},
          Case{"01 00 F9 00 00 00 00 00", 1, -1}}) {
        Bench bench(Bench::Board(std::string("[Display]\nMMTable=") + c.table + "\n"));
        EXPECT_EQ(Info(bench).GetDecoderType(0), c.decoder) << c.table;
        EXPECT_EQ(Info(bench).GetVideoInputCount(0), c.inputs) << c.table;
    }
}

TEST(BoardInfo, TunerTypeMasksFiveBitsOfATwelveByteTableAndNoneOfAnEightByteOne) {
    for (auto [table, tuner] :
         {std::pair{"FF 00 00 00 00 01 00 00 00 00 00 00", 31}, std::pair{"20 00 00 00 00 01 00 00 00 00 00 00", 0},
          std::pair{"E7 00 00 00 00 01 00 00 00 00 00 00", 7}, std::pair{"FF 00 01 00 00 00 00 00", 255}}) {
        Bench bench(Bench::Board(std::string("[Display]\nMMTable=") + table + "\n"));
        EXPECT_EQ(Info(bench).GetTunerType(0), tuner) << table;
    }
}

TEST(BoardInfo, TenMonitorsAreReadAndTheEleventhHasNoTable) {
    Bench bench(Bench::Board("[Display]\nMonitors=11\n"));
    EXPECT_EQ(Info(bench).MonitorCount(), 11);
    EXPECT_EQ(Info(bench).GetTunerType(9), 1);
    EXPECT_EQ(Info(bench).GetDecoderType(9), 1);
    EXPECT_EQ(Info(bench).GetVideoInputCount(9), 3);
    EXPECT_EQ(Info(bench).GetTunerType(10), -1);
    EXPECT_EQ(Info(bench).GetDecoderType(10), -1);
    EXPECT_EQ(Info(bench).GetVideoInputCount(10), -1);
    EXPECT_EQ(Info(bench).GetTunerType(11), -1);
}

// The board information object keeps ten monitor tables. The eleventh monitor
// has none, even when the display's other table (the HWTable, held right after
// the ten MMTables) is eight bytes long and so looks like a table of its own.
TEST(BoardInfo, TheEleventhMonitorHasNoTableWhateverTheHwTableHolds) {
    Bench bench(Bench::Board("[Display]\nMonitors=11\nHWTable=05 00 03 00 00 00 00 00\n"));
    EXPECT_EQ(Info(bench).GetTunerType(9), 1);
    EXPECT_EQ(Info(bench).GetTunerType(10), -1);
    EXPECT_EQ(Info(bench).GetDecoderType(10), -1);
    EXPECT_EQ(Info(bench).GetTunerStandardClass(10), 0);
    EXPECT_EQ(Info(bench).GetTunerVideoStandard(10), 0x1u);
}

TEST(BoardInfo, AMonitorPastTheCountHasNoTable) {
    Bench bench(Bench::Board("[Display]\nMonitors=3\n"));
    EXPECT_EQ(Info(bench).GetDecoderType(2), 1);
    EXPECT_EQ(Info(bench).GetDecoderType(3), -1);
    EXPECT_EQ(Info(bench).GetVideoInputCount(3), -1);
}

}  // namespace
}  // namespace orbex::testing
