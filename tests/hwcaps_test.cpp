// The board-table tests end to end over the virtual board: set-up, dispatch,
// the MMTable and HWTable checks, the database and the consistency checks.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "cases/hwcaps/hardware_caps.h"
#include "support/sys_bench.h"

namespace orbex::testing {
namespace {

using Strings = std::vector<std::string>;

constexpr const char* kRefTable = "01 00 00 00 00 01 00 01 02 03 00 00";
constexpr const char* kRefHw = "24 51 45 4C 01 00 01 00 00 00";
const std::string kRefBytes = "(0x01,0x00,0x00,0x00,0x00,0x01,0x00,0x01,0x02,0x03,0x00,0x00)";
const std::string kMM = "CHardwareCaps::MMTableTest() ";
const std::string kHW = "CHardwareCaps::HWTableTest()>  ";

// The reference board with other board tables.
std::string TablesBoard(const std::string& mm, const std::string& hw = kRefHw, const std::string& extra = "") {
    return Bench::Board("[Display]\nMMTable=" + mm + "\nHWTable=" + hw + "\n" + extra);
}

struct HwBench : SysBench {
    explicit HwBench(const std::string& profile = Bench::Board(), bool database = true) : SysBench(profile) {
        if (database) WriteFile("orbex.ini", ExampleFile("orbex.ini"));
    }
};

// The reports of the dispatcher's table and field checks: a forwarded fail log line, then the result.
Strings MMResult(const std::string& id, int status, const std::string& description, const std::string& expected,
                 const std::string& verdict, const std::string& failLog) {
    Strings out;
    if (status != 4) out.push_back(Msg(id, 0, kMM + failLog));
    out.push_back(Rep(id, status, description, expected, verdict));
    return out;
}

TEST(HardwareCaps, InitializeTakesTheDatabaseFromOrbexIniAndLogsEachStep) {
    HwBench bench;
    EXPECT_EQ(bench.Run("tc5000"), 4);
    EXPECT_STREQ(bench.Builder().HardwareCaps()->DatabasePath(), "C:\\ORBEX\\orbex.ini");
    Strings lines = bench.LogLines();
    Strings init;
    for (const std::string& l : lines)
        if (l.find("CHardwareCaps::Initialize()") != std::string::npos) init.push_back(l);
    EXPECT_EQ(init, (Strings{"0 0x0000AF00 CHardwareCaps::Initialize() Entered.",
                             "0 0x0000AF00 CHardwareCaps::Initialize() Locating database path from registry.",
                             "0 0x0000AF00 CHardwareCaps::Initialize() PathToDatabase C:\\ORBEX\\orbex.ini",
                             "0 0x0000AF00 CHardwareCaps::Initialize() Exit"}));
    // No graph file is read and no other test object exists.
    EXPECT_FALSE(bench.FileExists("~temp.gf"));
    EXPECT_EQ(bench.Builder().Decoder(), nullptr);
}

TEST(HardwareCaps, TheDatabaseLocationInOrbexIniNamesAnotherFile) {
    HwBench bench(Bench::Board(), false);
    bench.WriteFile("orbex.ini", "[database]\nlocation=C:\\ORBEX\\boards.db\n");
    bench.WriteFile("boards.db", "[MMTable]\nRef=Reference,1,0,0,0,0,1,0,1,2,3,0,0\n");
    EXPECT_EQ(bench.Run("tc5001"), 4);
    EXPECT_EQ(
        bench.Results().back(),
        Rep("tc5001", 4, "Check if MMTable match with an existing valid configuration.", "Find a known MMTable match.",
            "[Pass] Matches config Reference. (0x01,0x00,0x00,0x00,0x00,0x01,0x00,0x01,0x02,0x03,0x00,0x00)"));
}

TEST(HardwareCaps, WithoutOrbexIniTheDatabaseHasNoEntries) {
    HwBench bench(Bench::Board(), false);
    EXPECT_EQ(bench.Run("tc5001"), 0);
    EXPECT_EQ(bench.Results(),
              (Strings{Msg("tc5001", 0, kMM + "Failed to retrieve records from the database."),
                       Rep("tc5001", 0, "Check if MMTable match with an existing valid configuration.",
                           "Database file exist.",
                           "[Fail]**** Database file is missing or MMTable section is not available.")}));
}

TEST(HardwareCaps, DispatchRefusesUnknownNumbers) {
    struct Case {
        const char* id;
        int status;
        std::string report;
    };
    for (const Case& c : {
             Case{
                 "tc5003", 2,
                 Rep("tc5003", 2, "CHardwareCaps test.", "Valid TestID.", "[NoRun]**** TestID \"tc5003\" is invalid.")},
             Case{
                 "tc5904", 2,
                 Rep("tc5904", 2, "CHardwareCaps test.", "Valid TestID.", "[NoRun]**** TestID \"tc5904\" is invalid.")},
             Case{
                 "tc5015", 2,
                 Rep("tc5015", 2, "CHardwareCaps test.", "Valid TestID.", "[NoRun]**** TestID \"tc5015\" is invalid.")},
             Case{"tc5010", 4,
                  Rep("tc5010", 4, "Check if Maskon returns valid mask for varies MMTable.",
                      "Test is executed on Win9X.", "[Pass] Win2K detected. This is temporary disabled for Win2K.")},
             // the device digit does not matter in graph 5
             Case{"tc5900", 4,
                  Rep("tc5900", 4, "Check if Multimedia Table is accessable.",
                      "Able to get MMTable through DREEX call.", "[Pass] Able to get MMTable through DREEX call.")},
         }) {
        HwBench bench;
        EXPECT_EQ(bench.Run(c.id), c.status) << c.id;
        EXPECT_EQ(bench.Results().back(), c.report) << c.id;
    }
}

TEST(MMTableTest, ReadsAndLogsTheLiveTable) {
    HwBench bench(TablesBoard("81 00 00 00 00 01 00 01 02 03 00 00"));
    EXPECT_EQ(bench.Run("tc5000"), 4);
    EXPECT_TRUE(
        bench.Logged("100 0x0000AF00 CHardwareCaps::MMTableTest() Found MMTable: "
                     "0x81,0x00,0x00,0x00,0x00,0x01,0x00,0x01,0x02,0x03,0x00,0x00; UlSize: 20; BytesReturned: 12;"));
    EXPECT_TRUE(
        bench.Logged("0 0x0000AF00 CHardwareCaps::MMTableTest() Checking against the internal database for "
                     "known configuration ........ "));
    EXPECT_TRUE(bench.Logged("100 0x0000AF00 CHardwareCaps::MMTableTest() return TRUE."));
}

TEST(MMTableTest, FieldChecksPassAndFailOnTheirBounds) {
    struct Case {
        const char* id;
        std::string table;
        int status;
        std::string verdict;
    };
    const std::string tuner = "Check if tuner type is valid.";
    for (const Case& c : {
             Case{"tc5005", "00 00 00 00 00 01 00 01 02 03 00 00", 4, "[Pass] Tuner type 0 is valid."},
             Case{"tc5005", "10 00 00 00 00 01 00 01 02 03 00 00", 4, "[Pass] Tuner type 16 is valid."},
             Case{"tc5005", "11 00 00 00 00 01 00 01 02 03 00 00", 0, "[Fail]**** Tuner type 17 is invalid."},
             Case{"tc5005", "1C 00 00 00 00 01 00 01 02 03 00 00", 0, "[Fail]**** Tuner type 28 is invalid."},
             Case{"tc5005", "1D 00 00 00 00 01 00 01 02 03 00 00", 4, "[Pass] Tuner type 29 is valid."},
             Case{"tc5005", "3E 00 00 00 00 01 00 01 02 03 00 00", 4, "[Pass] Tuner type 30 is valid."},
             Case{"tc5005", "FF 00 00 00 00 01 00 01 02 03 00 00", 0, "[Fail]**** Tuner type 31 is invalid."},
             Case{"tc5006", "01 00 00 00 00 F7 00 01 02 03 00 00", 4, "[Pass] Decoder Chip type 7 is valid"},
             Case{"tc5007", "01 F9 00 00 00 01 00 01 02 03 00 00", 4, "[Pass] Audio type 9 is valid."},
             Case{"tc5007", "01 0A 00 00 00 01 00 01 02 03 00 00", 0, "[Fail]**** Audio type 10 is invalid."},
             Case{"tc5007", "01 0E 00 00 00 01 00 01 02 03 00 00", 0, "[Fail]**** Audio type 14 is invalid."},
             Case{"tc5007", "01 0F 00 00 00 01 00 01 02 03 00 00", 4, "[Pass] Audio type 15 is valid."},
             Case{"tc5009", "01 00 00 00 00 01 07 43 02 03 00 00", 4, "[Pass] Reserved fields are all zeros."},
             Case{"tc5009", "01 00 00 00 00 01 08 01 02 03 00 00", 0, "[Fail]**** Reserved fields are non zero."},
             Case{"tc5009", "01 00 00 00 00 01 00 13 02 03 00 00", 0, "[Fail]**** Reserved fields are non zero."},
             Case{"tc5009", "01 00 00 00 00 01 00 01 02 03 00 80", 0, "[Fail]**** Reserved fields are non zero."},
         }) {
        HwBench bench(TablesBoard(c.table));
        EXPECT_EQ(bench.Run(c.id), c.status) << c.id << " " << c.table;
        std::string id = c.id;
        Strings expected;
        if (id == "tc5005")
            expected = MMResult(id, c.status, tuner, "Tuner type is valid.", c.verdict,
                                "Tuner type is invalid. Return FALSE.");
        else if (id == "tc5006")
            expected =
                MMResult(id, c.status, "Check if decoder type is valid.", "Decoder Chip type is valid.", c.verdict, "");
        else if (id == "tc5007")
            expected = MMResult(id, c.status, "Check if audio chip type is valid.", "Audio type is valid.", c.verdict,
                                "Audio type is invalid. Return FALSE.");
        else
            expected =
                MMResult(id, c.status, "Check if MMTable reserved fields are filled with zeros.",
                         "Reserved fields are all zeros.", c.verdict, "Reserved fields are non zero. Return FALSE.");
        EXPECT_EQ(bench.Results(), expected) << c.id << " " << c.table;
    }
}

TEST(MMTableTest, PassLogLinesNameTheCheck) {
    struct Case {
        const char* id;
        const char* line;
    };
    for (const Case& c : {Case{"tc5005", "Tuner type is valid. Return TRUE."},
                          Case{"tc5006", "Decoder Chip type is valid. Return TRUE."},
                          Case{"tc5007", "Audio type is valid. Return TRUE."},
                          Case{"tc5008", "Number of video input is valid. Return TRUE."},
                          Case{"tc5009", "Reserved fields are all zeros. Return TRUE."}}) {
        HwBench bench;
        EXPECT_EQ(bench.Run(c.id), 4) << c.id;
        EXPECT_EQ(bench.LogLines().back(), "100 0x0000AF00 " + kMM + c.line) << c.id;
    }
}

TEST(MMTableTest, VideoInputsCountAndMustDiffer) {
    struct Case {
        std::string inputs;  // bytes 7 to 11
        int status;
        std::string verdict;
        std::string failLog;
    };
    for (const Case& c : {
             Case{"01 02 03 00 00", 4, "[Pass] 3 video input is valid.", ""},
             Case{"00 00 00 00 03", 4, "[Pass] 1 video input is valid.", ""},
             Case{"01 02 01 00 00", 0, "[Fail]**** 2 video inputs are declared to be the same as type 1.",
                  "2 video inputs are declared to be the same. Return FALSE."},
             Case{"02 02 02 00 00", 0, "[Fail]**** 2 video inputs are declared to be the same as type 2.",
                  "2 video inputs are declared to be the same. Return FALSE."},
             Case{"00 03 00 00 03", 0, "[Fail]**** 2 video inputs are declared to be the same as type 3.",
                  "2 video inputs are declared to be the same. Return FALSE."},
             Case{"01 02 03 01 00", 0, "[Fail]**** 4 video input is invalid.",
                  "Invalid number of video input. Return FALSE."},
             Case{"04 08 00 00 00", 0, "[Fail]**** 0 video input is invalid.",
                  "Invalid number of video input. Return FALSE."},
         }) {
        HwBench bench(TablesBoard("01 00 00 00 00 01 00 " + c.inputs));
        EXPECT_EQ(bench.Run("tc5008"), c.status) << c.inputs;
        EXPECT_EQ(bench.Results(), MMResult("tc5008", c.status, "Check for a valid number of video input.",
                                            "Number of video input is valid.", c.verdict, c.failLog))
            << c.inputs;
    }
}

TEST(MMTableTest, ADecoderTypeAboveSevenMeansNoCaptureCapability) {
    HwBench bench(TablesBoard("01 00 00 00 00 08 00 01 02 03 00 00"));
    EXPECT_EQ(bench.Run("tc5006"), 1);
    EXPECT_EQ(bench.Results(),
              (Strings{Rep("tc5006", 1, "Test program initialization.", "Computer has video capture capability.",
                           "[NA] Computer has no video capture capability. (No Decoder found)")}));
    EXPECT_EQ(bench.LogLines().back(),
              "0 0x0000AF00 CHardwareCaps::MMTableTest()>  [NA] Computer has no video capture capability. "
              "(No Decoder found).");
}

TEST(MMTableTest, DriverFailuresReportFailAndReturnNoRun) {
    // The board information object reads three tables on one DC first.
    HwBench dc(Bench::Board("[Faults]\nCreateDC=1,1,1\n"));
    EXPECT_EQ(dc.Run("tc5000"), 2);
    EXPECT_EQ(dc.Results(), (Strings{Msg("tc5000", 0, kMM + "Cannot create DC, return FALSE."),
                                     Rep("tc5000", 0, "Check if Multimedia Table is accessable.", "Able to create DC",
                                         "[NoRun]**** Failed to create DC.")}));
    HwBench escape(Bench::Board("[Faults]\nExtEscape=1,1,3\n"));
    EXPECT_EQ(escape.Run("tc5007"), 2);
    EXPECT_EQ(escape.Results(),
              (Strings{Msg("tc5007", 0, kMM + "Cannot get MMTable through DREEX call, return FALSE."),
                       Rep("tc5007", 0, "Check if audio chip type is valid.", "Able to get MMTable through DREEX call.",
                           "[NoRun]**** Cannot get MMTable through DREEX call.")}));
}

TEST(MMTableTest, KnownConfigurationsFromTheDatabase) {
    const std::string description = "Check if MMTable match with an existing valid configuration.";
    const std::string expected = "Find a known MMTable match.";
    struct Case {
        std::string table;
        int status;
        std::string actual;
        std::string log;  // the verdict's log line
    };
    for (const Case& c : {
             Case{kRefTable, 4,
                  "[Pass] Matches config QelTV-NTSC. (0x01,0x00,0x00,0x00,0x00,0x01,0x00,0x01,0x02,0x03,0x00,0x00)",
                  "100 0x0000AF00 " + kMM + "MMTable matches QelTV-NTSC Configuration."},
             Case{"01 00 00 00 00 26 00 01 02 03 00 00", 4,
                  "[Pass] Matches config OndrelTV. (0x01,0x00,0x00,0x00,0x00,0x26,0x00,0x01,0x02,0x03,0x00,0x00)",
                  "100 0x0000AF00 " + kMM + "MMTable matches OndrelTV Configuration."},
             Case{
                 "01 00 00 00 00 01 00 01 02 03 00 01", 0,
                 "[Fail]**** No match found. (0x01,0x00,0x00,0x00,0x00,0x01,0x00,0x01,0x02,0x03,0x00,0x01)",
                 "765 0x000000FF " + kMM + "Failed to find a known MMTable Configuration. Table still might be valid."},
             // a prototype board fails even though the Zorix entry with byte 2 = 1 is near
             Case{"01 02 00 00 00 01 00 01 02 03 00 00", 0,
                  "[Fail]**** Should not use a Qel prototype board. "
                  "(0x01,0x02,0x00,0x00,0x00,0x01,0x00,0x01,0x02,0x03,0x00,0x00)",
                  "765 0x000000FF " + kMM + "Should not have a Qel prototype board!"},
             Case{"01 08 00 00 00 01 00 01 02 03 00 00", 0,
                  "[Fail]**** Should not use a Qel prototype board. "
                  "(0x01,0x08,0x00,0x00,0x00,0x01,0x00,0x01,0x02,0x03,0x00,0x00)",
                  "765 0x000000FF " + kMM + "Should not have a Qel prototype board!"},
             Case{"01 02 01 00 00 01 00 01 02 03 00 00", 4,
                  "[Pass] Matches config ZorixTV. (0x01,0x02,0x01,0x00,0x00,0x01,0x00,0x01,0x02,0x03,0x00,0x00)",
                  "100 0x0000AF00 " + kMM + "MMTable matches ZorixTV Configuration."},
         }) {
        HwBench bench(TablesBoard(c.table));
        EXPECT_EQ(bench.Run("tc5001"), c.status) << c.table;
        EXPECT_EQ(bench.Results().back(), Rep("tc5001", c.status, description, expected, c.actual)) << c.table;
        EXPECT_EQ(bench.LogLines().back(), c.log) << c.table;
    }
}

// The known-configuration report: its fixed description and expected texts.
std::string KnownReport(int status, const std::string& verdict, const std::string& bytes = kRefBytes) {
    return Rep("tc5001", status, "Check if MMTable match with an existing valid configuration.",
               "Find a known MMTable match.", verdict + " " + bytes);
}

TEST(MMTableTest, APrototypeBoardFailsEvenWhenTheDatabaseKnowsIt) {
    HwBench bench(TablesBoard("01 02 00 00 00 01 00 01 02 03 00 00"));
    bench.WriteFile("orbex.ini", "[MMTable]\nProto=Proto,1,2,0,0,0,1,0,1,2,3,0,0\n");
    EXPECT_EQ(bench.Run("tc5001"), 0);
    EXPECT_EQ(bench.Results().back(), KnownReport(0, "[Fail]**** Should not use a Qel prototype board.",
                                                  "(0x01,0x02,0x00,0x00,0x00,0x01,0x00,0x01,0x02,0x03,0x00,0x00)"));
    EXPECT_EQ(bench.LogLines().back(), "765 0x000000FF " + kMM + "Should not have a Qel prototype board!");
}

TEST(MMTableTest, DatabaseEntriesAreReadInOrderUntilAnEmptyOne) {
    struct Case {
        std::string database;
        int status;
        std::string verdict;
    };
    for (const Case& c : {
             Case{"[MMTable]\nA=First,1,0,0,0,0,1,0,1,2,3,0,0\nB=Second,1,0,0,0,0,1,0,1,2,3,0,0\n", 4,
                  "[Pass] Matches config First."},
             Case{"[MMTable]\nA=\nB=Ref,1,0,0,0,0,1,0,1,2,3,0,0\n", 0, "[Fail]**** No match found."},
             Case{"[MMTable]\nA=,,,\nB=Ref,1,0,0,0,0,1,0,1,2,3,0,0\n", 0, "[Fail]**** No match found."},
             // blanks, 0x prefixes, empty items and values past 0xFF
             Case{"[MMTable]\nA=Spaced, 0x101,,0,0,0,0,1,0,1, 2 ,3,0,0\n", 4, "[Pass] Matches config Spaced."},
             // eleven bytes: the missing twelfth counts as zero
             Case{"[MMTable]\nA=Short,1,0,0,0,0,1,0,1,2,3,0\n", 4, "[Pass] Matches config Short."},
             // a byte of an earlier entry does not carry into a shorter one
             Case{"[MMTable]\nA=Long,1,0,0,0,0,1,0,1,2,3,0,7\nB=Short,1,0,0,0,0,1,0,1,2,3,0\n", 4,
                  "[Pass] Matches config Short."},
             Case{"[MMTable]\nA=Near,1,0,0,0,0,1,0,1,2,3,0,1\n", 0, "[Fail]**** No match found."},
         }) {
        HwBench bench(Bench::Board(), false);
        bench.WriteFile("orbex.ini", c.database);
        EXPECT_EQ(bench.Run("tc5001"), c.status) << c.database;
        EXPECT_EQ(bench.Results().back(), KnownReport(c.status, c.verdict)) << c.database;
    }
}

TEST(MMTableTest, WithoutAnMMTableSectionTheDatabaseIsMissing) {
    HwBench bench(Bench::Board(), false);
    bench.WriteFile("orbex.ini", "[Other]\nA=Ref,1,0,0,0,0,1,0,1,2,3,0,0\n");
    EXPECT_EQ(bench.Run("tc5001"), 0);
    EXPECT_EQ(bench.Results().back(),
              Rep("tc5001", 0, "Check if MMTable match with an existing valid configuration.", "Database file exist.",
                  "[Fail]**** Database file is missing or MMTable section is not available."));
    EXPECT_EQ(bench.LogLines().back(), "765 0x000000FF " + kMM + "Failed to retrieve records from the database.");
}

// An entry is read through a buffer of 255 characters: 254 of them are read,
// the rest is cut. Blanks before the last byte item push it to either side.
TEST(MMTableTest, AnEntryIsReadToItsTwoHundredFiftyFourthCharacter) {
    const std::string bytes = "(0x01,0x00,0x00,0x00,0x00,0x01,0x00,0x01,0x02,0x03,0x00,0x01)";
    const std::string head = "Edge,1,0,0,0,0,1,0,1,2,3,0,";
    for (auto [length, status] : {std::pair{254, 4}, std::pair{255, 0}}) {
        std::string value = head + std::string(static_cast<size_t>(length) - head.size() - 1, ' ') + "1";
        ASSERT_EQ(value.size(), static_cast<size_t>(length));
        HwBench bench(TablesBoard("01 00 00 00 00 01 00 01 02 03 00 01"), false);
        bench.WriteFile("orbex.ini", "[MMTable]\nA=" + value + "\n");
        EXPECT_EQ(bench.Run("tc5001"), status) << length;
        EXPECT_EQ(
            bench.Results().back(),
            KnownReport(status, status == 4 ? "[Pass] Matches config Edge." : "[Fail]**** No match found.", bytes))
            << length;
    }
}

// The configuration name in the report keeps 99 characters.
TEST(MMTableTest, AConfigurationNameKeepsNinetyNineCharacters) {
    for (auto [length, kept] : {std::pair{99, 99}, std::pair{100, 99}}) {
        HwBench bench(Bench::Board(), false);
        bench.WriteFile("orbex.ini",
                        "[MMTable]\nA=" + std::string(static_cast<size_t>(length), 'n') + ",1,0,0,0,0,1,0,1,2,3,0,0\n");
        EXPECT_EQ(bench.Run("tc5001"), 4) << length;
        EXPECT_EQ(bench.Results().back(),
                  KnownReport(4, "[Pass] Matches config " + std::string(static_cast<size_t>(kept), 'n') + "."))
            << length;
    }
}

TEST(HWTableTest, SignatureVersionTypesAndReservedBits) {
    struct Case {
        const char* id;
        std::string hw;
        int status;
        std::string verdict;
    };
    for (const Case& c : {
             Case{"tc5002", "24 51 45 4C 04 00 01 00 00 00", 4, "[Pass] HWTable is accessable."},
             Case{"tc5002", "24 51 45 4C 05 00 01 00 00 00", 0, "[Fail]**** Invalid HWTable version (5)."},
             Case{"tc5002", "24 51 45 4D 05 00 01 00 00 00", 0, "[Fail]**** Invalid HWTable signature (4D455124)."},
             Case{"tc5011", "24 51 45 4C 01 00 86 00 00 00", 4, "[Pass] Valid I2C type (6)."},
             Case{"tc5011", "24 51 45 4C 01 00 07 00 00 00", 0, "[Fail]**** Invalid I2C type (7)."},
             Case{"tc5011", "24 51 45 4C 01 00 0E 00 00 00", 0, "[Fail]**** Invalid I2C type (E)."},
             Case{"tc5011", "24 51 45 4C 01 00 0F 00 00 00", 4, "[Pass] Valid I2C type (F)."},
             Case{"tc5012", "24 51 45 4C 01 00 01 00 00 04", 4, "[Pass] Valid VIP type (4)."},
             Case{"tc5012", "24 51 45 4C 01 00 01 00 00 05", 0, "[Fail]**** Invalid VIP type (5)."},
             Case{"tc5013", "24 51 45 4C 01 FF 81 FF 0F 0F", 4, "[Pass] Reserved fields are all zeros."},
             Case{"tc5013", "24 51 45 4C 01 00 11 00 00 00", 0, "[Fail]**** Reserved fields are non zero."},
             Case{"tc5013", "24 51 45 4C 01 00 01 00 10 00", 0, "[Fail]**** Reserved fields are non zero."},
             Case{"tc5013", "24 51 45 4C 01 00 01 00 00 80", 0, "[Fail]**** Reserved fields are non zero."},
         }) {
        HwBench bench(TablesBoard(kRefTable, c.hw));
        EXPECT_EQ(bench.Run(c.id), c.status) << c.id << " " << c.hw;
        std::string id = c.id;
        const char* description = id == "tc5002"   ? "Check if Haredware Table is accessable."
                                  : id == "tc5011" ? "Check if I2C type is valid."
                                  : id == "tc5012" ? "Check if VIP type is valid."
                                                   : "Check if HWTable reserved fields are filled with zeros.";
        const char* expected = id == "tc5002"   ? "HWTable is accessable."
                               : id == "tc5011" ? "Valid I2C type."
                               : id == "tc5012" ? "Valid VIP type."
                                                : "Reserved fields are all zeros.";
        Strings want{Rep(id, c.status, description, expected, c.verdict)};
        if (c.status != 4) want.push_back(Msg(id, 0, kHW + c.verdict));
        EXPECT_EQ(bench.Results(), want) << c.id << " " << c.hw;
        EXPECT_EQ(bench.LogLines().back(), (c.status == 4 ? "100 0x0000AF00 " : "765 0x000000FF ") + kHW + c.verdict);
    }
}

TEST(HWTableTest, LogsTheTableItRead) {
    HwBench bench(TablesBoard(kRefTable, "24 51 45 4C 02 03 04 05 06 07"));
    bench.Run("tc5002");
    EXPECT_TRUE(bench.Logged("0 0x0000AF00 " + kHW + "Entered."));
    EXPECT_TRUE(bench.Logged("100 0x0000AF00 " + kHW + "Found HWTable: 0x4c455124,0x02,0x03,0x04,0x05,0x06,0x07."));
    EXPECT_TRUE(bench.Logged("0 0x0000AF00 " + kHW +
                             "Checking against the internal database for known configuration "
                             "........"));
}

TEST(HWTableTest, DriverFailuresReportFailAndReturnNoRun) {
    HwBench dc(Bench::Board("[Faults]\nCreateDC=1,1,1\n"));
    EXPECT_EQ(dc.Run("tc5012"), 2);
    EXPECT_EQ(dc.Results(), (Strings{Rep("tc5012", 0, "Check if VIP type is valid.", "Able to create DC",
                                         "[NoRun]**** Failed to create DC."),
                                     Msg("tc5012", 0, kHW + "[NoRun]**** Failed to create DC.")}));
    HwBench escape(Bench::Board("[Faults]\nExtEscape=1,1,3\n"));
    EXPECT_EQ(escape.Run("tc5002"), 2);
    EXPECT_EQ(
        escape.Results(),
        (Strings{Rep("tc5002", 0, "Check if Haredware Table is accessable.", "Able to get MMTable through DREEX call.",
                     "[NoRun]**** Cannot get MMTable through DREEX call."),
                 Msg("tc5002", 0, kHW + "[NoRun]**** Cannot get MMTable through DREEX call.")}));
}

// The eight sub-results of test 514 on one board, as (status, verdict) pairs.
struct Sub {
    int status;
    std::string verdict;
};
const char* const kSubDescription[8] = {"Test for valid amount of video input.",
                                        "Check if \"Video input for tuner\" field is consistent with other fields.",
                                        "Check if Tuner Power Down Feature exist for a board with tuner.",
                                        "Check if I2C is enabled if tuner exists.",
                                        "Check if VIP or MPP is enabled if Ondrel exists.",
                                        "Check if Host Port Configuration is consistent between MMTable and HWTable.",
                                        "Check if decoder exist if there is Hardware Teletext Support.",
                                        "Check if audio chip setting is consistent with board type."};
const char* const kSubExpected[8] = {"Valid video input count.",
                                     "\"Video input for tuner\" field is consistent.",
                                     "Power Down and Tuner Type is consistent.",
                                     "I2C is enabled if tuner exists.",
                                     "VIP/MPP Setting and Decoder Type are consistent.",
                                     "Host Port Configuration is consistent between MMTable and HWTable.",
                                     "Teletext Support is consistent with Decoder Type.",
                                     "Audio chip setting is consistent with board type."};
const Sub kPassed[8] = {{4, "[Pass] Valid video input count."},
                        {4, "[Pass] \"Video input for tuner\" field is consistent."},
                        {4, "[Pass] Power Down and Tuner Type are consistent."},
                        {4, "[Pass] Power Down and Tuner Type is consistent."},
                        {4, "[Pass] VIP/MPP Setting and Decoder Type are consistent."},
                        {4, "[Pass] Host Port Configuration is consistent between MMTable and HWTable."},
                        {4, "[Pass] Teletext Support is consistent with Decoder Type."},
                        {4, "[Pass] Audio chip setting is consistent with board type."}};

Strings ConsistencyReports(const Sub (&subs)[8]) {
    Strings out;
    bool all = true;
    for (int i = 0; i < 8; ++i) {
        out.push_back(ReportJson("tc5014", std::to_string(i + 1), subs[i].status, kSubDescription[i], kSubExpected[i],
                                 subs[i].verdict));
        all = all && subs[i].status == 4;
    }
    const std::string summary =
        all ? "[Pass] All conflict test has passed." : "[Fail]**** One or more conflict test has failed.";
    out.push_back(Rep("tc5014", all ? 4 : 0, "Check if MMTable is conflicting with HWTable.",
                      "All conflict test has passed.", summary));
    if (!all) out.push_back(Msg("tc5014", 0, kHW + summary));
    return out;
}

TEST(ConsistencyTest, TheReferenceBoardPassesAllEight) {
    HwBench bench;
    EXPECT_EQ(bench.Run("tc5014"), 4);
    EXPECT_EQ(bench.Results(), ConsistencyReports(kPassed));
    EXPECT_EQ(bench.LogLines().back(), "100 0x0000AF00 " + kHW + "[Pass] All conflict test has passed.");
}

TEST(ConsistencyTest, EachCheckFailsAloneWhileTheOthersKeepTheirPass) {
    struct Case {
        std::string mm;
        std::string hw;
        int sub;  // 1-8
        Sub result;
        int other = 0;  // a pass verdict that differs on this board
        Sub otherResult{};
    };
    for (const Case& c : {
             Case{"01 00 01 00 00 01 00 01 02 00 00 00",
                  kRefHw,
                  1,
                  {0, "[Fail]**** Invalid video input count for Zorix (2)."}},
             Case{"41 00 00 00 00 01 00 01 02 00 00 00",
                  kRefHw,
                  2,
                  {0, "[Fail]**** \"Video input for tuner\" field (2) and \"Video Input(2) Type\" (0) mismatch."}},
             Case{"A1 00 00 00 00 01 00 01 02 03 00 00",
                  kRefHw,
                  2,
                  {0, "[Fail]**** Invalid \"Video input for tuner\" field (5)."}},
             Case{"00 00 00 01 00 01 00 01 02 03 00 00",
                  kRefHw,
                  3,
                  {0, "[Fail]**** Tuner Power Down Feature exist for a board with no tuner."},
                  2,
                  {4, "[Pass] Board has no tuner. \"Video input for tuner\" field (0) is ignored."}},
             Case{kRefTable,
                  "24 51 45 4C 01 00 0F 00 00 00",
                  4,
                  {0, "[Fail]**** I2C is disabled for an existing tuner."}},
             Case{"01 00 00 00 00 56 00 01 02 03 00 00",
                  "24 51 45 4C 01 00 01 00 00 00",
                  5,
                  {0, "[Fail]**** VIP or MPP is disabled for existing Ondrel Decoder."}},
             Case{"01 00 00 00 00 31 00 01 02 03 00 00",
                  "24 51 45 4C 01 00 01 00 00 02",
                  6,
                  {0, "[Fail]**** Host Port Configuration mismatch between MMTable (3) and HWTable (2)."}},
             Case{"01 03 00 00 00 01 00 01 02 03 00 00",
                  kRefHw,
                  8,
                  {0, "[Fail]**** Audio chip exist on a non Zorix board."}},
         }) {
        HwBench bench(TablesBoard(c.mm, c.hw));
        EXPECT_EQ(bench.Run("tc5014"), 0) << c.mm << " " << c.hw;
        Sub subs[8];
        std::copy(std::begin(kPassed), std::end(kPassed), subs);
        subs[c.sub - 1] = c.result;
        if (c.other) subs[c.other - 1] = c.otherResult;
        EXPECT_EQ(bench.Results(), ConsistencyReports(subs)) << c.mm << " " << c.hw;
    }
}

// Hardware teletext (either bit of byte 3) needs a decoder of type 1 to 7. The
// board information read first keeps the capture capability; the table the
// test reads has changed by then.
TEST(ConsistencyTest, TeletextNeedsADecoderOfTypeOneToSeven) {
    struct Case {
        const char* later;
        Sub result;
    };
    const Sub fail{0, "[Fail]**** Teletext Support enabled for a card with no decoder."};
    for (const Case& c : {
             Case{"01 00 00 0C 00 00 00 01 02 03 00 00", fail},
             Case{"01 00 00 04 00 08 00 01 02 03 00 00", fail},
             Case{"01 00 00 08 00 0F 00 01 02 03 00 00", fail},
             Case{"01 00 00 04 00 01 00 01 02 03 00 00", kPassed[6]},
             Case{"01 00 00 08 00 07 00 01 02 03 00 00", kPassed[6]},
             Case{"01 00 00 F3 00 00 00 01 02 03 00 00", kPassed[6]},
         }) {
        HwBench bench(
            TablesBoard(kRefTable, kRefHw, std::string("MMTableLater=") + c.later + "\nMMTableChangesAfter=1\n"));
        Sub subs[8];
        std::copy(std::begin(kPassed), std::end(kPassed), subs);
        subs[6] = c.result;
        EXPECT_EQ(bench.Run("tc5014"), c.result.status) << c.later;
        EXPECT_EQ(bench.Results(), ConsistencyReports(subs)) << c.later;
    }
}

TEST(ConsistencyTest, BoundaryBoardsThatPass) {
    struct Case {
        std::string mm;
        std::string hw;
        int sub;
        std::string verdict;  // the verdict of that sub-test
    };
    for (const Case& c : {
             // tuner on input 2, which is there
             Case{"41 00 00 00 00 01 00 01 02 01 00 00", kRefHw, 2,
                  "[Pass] \"Video input for tuner\" field is consistent."},
             // no tuner: the field is ignored, the power-down and I2C checks have nothing to check
             Case{"00 00 00 00 00 01 00 01 02 03 00 00", "24 51 45 4C 01 00 0F 00 00 00", 2,
                  "[Pass] Board has no tuner. \"Video input for tuner\" field (0) is ignored."},
             // Ondrel on host port 2 with VIP type 2
             Case{"01 00 00 00 00 26 00 01 02 03 00 00", "24 51 45 4C 01 00 01 00 00 02", 5,
                  "[Pass] VIP/MPP Setting and Decoder Type are consistent."},
             // a host port above 4 is not compared
             Case{"01 00 00 00 00 51 00 01 02 03 00 00", kRefHw, 6,
                  "[Pass] Host Port Configuration is consistent between MMTable and HWTable."},
             // a Zorix board with three inputs and an audio chip
             Case{"01 03 02 00 00 01 00 01 02 03 00 00", kRefHw, 8,
                  "[Pass] Audio chip setting is consistent with board type."},
             Case{"01 09 00 00 00 01 00 01 02 03 00 00", kRefHw, 8,
                  "[Pass] Audio chip setting is consistent with board type."},
             // teletext with a decoder
             Case{"01 00 00 0C 00 01 00 01 02 03 00 00", kRefHw, 7,
                  "[Pass] Teletext Support is consistent with Decoder Type."},
         }) {
        HwBench bench(TablesBoard(c.mm, c.hw));
        EXPECT_EQ(bench.Run("tc5014"), 4) << c.mm << " " << c.hw;
        Strings results = bench.Results();
        ASSERT_EQ(results.size(), 9u) << c.mm;
        EXPECT_EQ(results[c.sub - 1], ReportJson("tc5014", std::to_string(c.sub), 4, kSubDescription[c.sub - 1],
                                                 kSubExpected[c.sub - 1], c.verdict))
            << c.mm << " " << c.hw;
    }
}

TEST(ConsistencyTest, OndrelWithVipOffFailsTwoChecks) {
    HwBench bench(TablesBoard("01 00 00 00 00 26 00 01 02 03 00 00", "24 51 45 4C 01 00 01 00 00 00"));
    EXPECT_EQ(bench.Run("tc5014"), 0);
    Sub subs[8];
    std::copy(std::begin(kPassed), std::end(kPassed), subs);
    subs[4] = {0, "[Fail]**** VIP or MPP is disabled for existing Ondrel Decoder."};
    subs[5] = {0, "[Fail]**** Host Port Configuration mismatch between MMTable (2) and HWTable (0)."};
    EXPECT_EQ(bench.Results(), ConsistencyReports(subs));
}

TEST(ConsistencyTest, WithoutAPriorMMTableReadTheChecksSeeAnEmptyTable) {
    // Called straight, the consistency checks use the MMTable field as it stands: all zero.
    HwBench bench;
    bench.RunThenReopen("tc5002");
    EXPECT_EQ(bench.Builder().HardwareCaps()->HWTableTest("d", "tc5014", 514, 0), 4);
    Strings results = bench.Results();
    ASSERT_GE(results.size(), 2u);
    EXPECT_EQ(results[1], ReportJson("tc5014", "2", 4, kSubDescription[1], kSubExpected[1],
                                     "[Pass] Board has no tuner. \"Video input for tuner\" field (0) is ignored."));
}

}  // namespace
}  // namespace orbex::testing
