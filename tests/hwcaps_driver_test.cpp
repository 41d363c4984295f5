// The display driver's board tables as the board-table tests meet them:
// functions refused one at a time, tables the driver changes between calls;
// the database's location from the registry; database lists and values longer
// than their buffers.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "board/drex.h"
#include "cases/hwcaps/hardware_caps.h"
#include "support/sys_bench.h"

namespace orbex::testing {
namespace {

using Strings = std::vector<std::string>;

const std::string kRefTable = "01 00 00 00 00 01 00 01 02 03 00 00";
const std::string kDatabaseKey = "SOFTWARE\\Qel Technologies\\Orbex\\database";

struct DriverBench : SysBench {
    explicit DriverBench(const std::string& extra = "") : SysBench(Bench::Board(extra)) {
        WriteFile("orbex.ini", ExampleFile("orbex.ini"));
    }
    // One escape call of the given function through a fresh DC.
    int32_t Escape(uint32_t function) {
        port::IDisplay& display = Platform().Display();
        port::DisplayDc dc = display.CreateDisplayDc("DISPLAY");
        MMTableRequest request;
        request.functionCode = function;
        uint8_t reply[20] = {20};
        int32_t result = display.ExtEscape(dc, kDrexEscape, sizeof request, &request, sizeof reply, reply);
        display.DeleteDC(dc);
        return result;
    }
};

TEST(DisplayDriver, EachFunctionIsRefusedAlone) {
    struct Case {
        std::string setting;
        int32_t mm, hw, b;  // the result of functions 0x140007, 0x140006 and 0x14000B
    };
    for (const Case& c : {Case{"", 0, 0, 0}, Case{"MMTableResult=-1", -1, 0, 0}, Case{"HWTableResult=7", 0, 7, 0},
                          Case{"Result14000B=-2", 0, 0, -2}}) {
        DriverBench bench("[Display]\n" + c.setting + "\n");
        EXPECT_EQ(bench.Escape(kDrexMmTable), c.mm) << c.setting;
        EXPECT_EQ(bench.Escape(kDrexHwTable), c.hw) << c.setting;
        EXPECT_EQ(bench.Escape(kDrex14000B), c.b) << c.setting;
    }
}

TEST(DisplayDriver, ARefusedFunctionFailsOnlyTheTestsThatReadIt) {
    const std::string mmRefused = "[NoRun]**** Cannot get MMTable through DREEX call.";
    struct Case {
        std::string setting;
        const char* id;
        int value;
        std::string actual;
    };
    for (const Case& c : {
             // the load cannot read the MMTable either: no decoder, so no capture capability
             Case{"MMTableResult=-1", "tc5000", 1, "[NA] Computer has no video capture capability. (No Decoder found)"},
             Case{"MMTableResult=-1", "tc5002", 4, "[Pass] HWTable is accessable."},
             Case{"HWTableResult=-1", "tc5002", 2, mmRefused},
             Case{"HWTableResult=-1", "tc5000", 4, "[Pass] Able to get MMTable through DREEX call."},
             Case{"Result14000B=-1", "tc5000", 4, "[Pass] Able to get MMTable through DREEX call."},
             Case{"Result14000B=-1", "tc5002", 4, "[Pass] HWTable is accessable."},
         }) {
        DriverBench bench("[Display]\n" + c.setting + "\n");
        EXPECT_EQ(bench.Run(c.id), c.value) << c.setting << " " << c.id;
        const std::string report = bench.Results().front();
        EXPECT_NE(report.find("\"actual\":\"" + c.actual + "\""), std::string::npos) << c.setting << " " << report;
    }
}

TEST(DisplayDriver, TheTestsReadTheTableTheDriverHoldsNow) {
    // The board information reads each table once when the library loads;
    // the driver then changes them, and the tests see the change.
    DriverBench bench(
        "[Display]\nMMTableLater=11 00 00 00 00 01 00 01 02 03 00 00\nMMTableChangesAfter=1\n"
        "HWTableLater=24 51 45 4C 05 00 01 00 00 00\nHWTableChangesAfter=1\n");
    EXPECT_EQ(bench.Run("tc5005"), 0);
    EXPECT_NE(bench.Results().back().find("[Fail]**** Tuner type 17 is invalid."), std::string::npos);
    EXPECT_TRUE(
        bench.Logged("100 0x0000AF00 CHardwareCaps::MMTableTest() Found MMTable: "
                     "0x11,0x00,0x00,0x00,0x00,0x01,0x00,0x01,0x02,0x03,0x00,0x00; UlSize: 20; BytesReturned: 12;"));
    DriverBench hw("[Display]\nHWTableLater=24 51 45 4C 05 00 01 00 00 00\nHWTableChangesAfter=1\n");
    EXPECT_EQ(hw.Run("tc5002"), 0);
    EXPECT_NE(hw.Results().back().find("[Fail]**** Invalid HWTable version (5)."), std::string::npos);
}

TEST(DisplayDriver, ATableThatChangesLaterStaysUntilThen) {
    DriverBench bench("[Display]\nMMTableLater=11 00 00 00 00 01 00 01 02 03 00 00\nMMTableChangesAfter=3\n");
    EXPECT_EQ(bench.Run("tc5005"), 4);  // the load's read and this one
    bench.RunThenReopen("tc5005");      // the third
    EXPECT_EQ(bench.Builder().HardwareCaps()->ExecuteTest("tc5005", 505, 0), 0);
    EXPECT_NE(bench.Results().back().find("[Fail]**** Tuner type 17 is invalid."), std::string::npos);
}

TEST(DisplayDriver, ALaterTableIsCheckedLikeTheFirst) {
    std::string error;
    EXPECT_FALSE(
        sim::ParseBoardProfile("[Display]\nMMTableLater=00 00 00 00 00 00 00 00 00 00 00 00 00\n", "p", error));
    EXPECT_EQ(error, "p:2: the MMTable holds at most 12 bytes and the HWTable 10");
    EXPECT_FALSE(sim::ParseBoardProfile("[Display]\nHWTableLater=00 00 00 00 00 00 00 00 00 00 00\n", "p", error));
    EXPECT_FALSE(sim::ParseBoardProfile("[KernelDriver]\nWrongMaskTable=00 00\n", "p", error));
    EXPECT_EQ(error, "p:2: WrongMaskTable holds the twelve MMTable bytes");
    EXPECT_FALSE(sim::ParseBoardProfile("[KernelDriver]\nDevice=maybe\n", "p", error));
}

TEST(DatabaseLocation, TheRegistryWinsOverOrbexIni) {
    const std::string registry =
        "[Registry]\nKey=" + kDatabaseKey + "\nValue=" + kDatabaseKey + "|location|sz|C:\\ORBEX\\registry.db\n";
    SysBench bench(Bench::Board(registry));
    bench.WriteFile("orbex.ini", "[database]\nlocation=C:\\ORBEX\\local.db\n");
    bench.WriteFile("registry.db", "[MMTable]\nRef=FromRegistry,1,0,0,0,0,1,0,1,2,3,0,0\n");
    bench.WriteFile("local.db", "[MMTable]\nRef=FromIni,1,0,0,0,0,1,0,1,2,3,0,0\n");
    EXPECT_EQ(bench.Run("tc5001"), 4);
    EXPECT_STREQ(bench.Builder().HardwareCaps()->DatabasePath(), "C:\\ORBEX\\registry.db");
    EXPECT_TRUE(bench.Logged("0 0x0000AF00 CHardwareCaps::Initialize() PathToDatabase C:\\ORBEX\\registry.db"));
    EXPECT_NE(bench.Results().back().find("[Pass] Matches config FromRegistry."), std::string::npos);
}

TEST(DatabaseLocation, ADatabaseThatDoesNotExistHasNoEntries) {
    SysBench bench;
    bench.WriteFile("orbex.ini", "[database]\nlocation=C:\\ORBEX\\gone.db\n");
    EXPECT_EQ(bench.Run("tc5001"), 0);
    EXPECT_NE(bench.Results().back().find("[Fail]**** Database file is missing or MMTable section is not available."),
              std::string::npos);
}

TEST(DatabaseInput, AKeyListOverItsBufferIsCutAndTheSearchStaysInIt) {
    // 40 keys of 60 characters: the match is the last key, beyond the
    // 2048-character list, so it is never read.
    std::string database = "[MMTable]\n";
    for (int i = 0; i < 40; ++i) {
        char key[64];
        std::snprintf(key, sizeof key, "%059d", i);
        database +=
            std::string(key) + (i == 39 ? "=Ref,1,0,0,0,0,1,0,1,2,3,0,0\n" : "=Other,1,0,0,0,0,1,0,1,2,3,0,7\n");
    }
    SysBench bench;
    bench.WriteFile("orbex.ini", database);
    EXPECT_EQ(bench.Run("tc5001"), 0);
    EXPECT_NE(bench.Results().back().find("[Fail]**** No match found."), std::string::npos);
}

TEST(DatabaseInput, AValueOverItsBufferIsCutBeforeItsBytes) {
    // A 300-character name: the 255-character value holds no byte item, so the
    // entry cannot match; a 13-byte entry matches on its first twelve.
    SysBench bench;
    bench.WriteFile("orbex.ini", "[MMTable]\nA=" + std::string(300, 'N') +
                                     ",1,0,0,0,0,1,0,1,2,3,0,0\nB=Thirteen,1,0,0,0,0,1,0,1,2,3,0,0,5\n");
    EXPECT_EQ(bench.Run("tc5001"), 4);
    EXPECT_NE(bench.Results().back().find("[Pass] Matches config Thirteen."), std::string::npos);
}

}  // namespace
}  // namespace orbex::testing
