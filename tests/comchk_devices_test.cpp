// The component checks of the installed drivers end to end over the virtual
// board: driver information files (tc6901), enumerated devices (tc6902),
// loaded devices (tc6903) and filter registrations (tc6904).
#include <gtest/gtest.h>

#include "cases/comchk/com_chker.h"
#include "cases/comchk/inf_index.h"
#include "support/sys_bench.h"

namespace orbex::testing {
namespace {

std::string Step(const std::string& id, int step, int status, const std::string& description,
                 const std::string& expected, const std::string& actual) {
    return ReportJson(id, std::to_string(step), status, description, expected, actual);
}

// A database of one record of this machine (Os, Decoder wildcards) with its details.
std::string OneRecord(const std::string& details) {
    return "[FileInfo]\ncapdev=2,1,1,0,0\n[capdev]\n" + details;
}

const std::string kInfCase = "Check if all needed inf entry can be found in the Windows inf directory.";
const std::string kKsCapture = "65E8773D,8F56,11D0,A3,B9,00,A0,C9,22,31,96";

std::string InfStep(int step, int status, const std::string& name, const std::string& actual) {
    return Step("tc6901", step, status, "Check if \"" + name + "\" entry can be found in the Windows inf directory.",
                "\"" + name + "\" entry is found within an inf file.", actual);
}
std::string InfSummary(int status) {
    return Rep("tc6901", status, "Test Summary", "All inf entries are found.",
               status == 4 ? "[Pass] All inf entries are found." : "[Fail]**** One or more inf entry is missing.");
}

TEST(InfLineScan, FindsTheIdentifierAfterTheLastDisplayMarker) {
    struct Case {
        const char* line;
        bool names;
        const char* id;
    };
    for (const Case& c : {
             Case{"%Cap%=Cap.Install,DISPLAY\\CAPDEV01 ; the board\n", true, "CAPDEV"},
             Case{"; old: DISPLAY\\CAPDEV\n", false, ""},
             Case{"x=DISPLAY\\CAPDEV ; DISPLAY\\OLDDEV\n", false, ""},
             Case{"x=DISPLAY\\12\n", true, "12"},
             Case{"x=DISPLAY\\123\n", true, "1"},
             Case{"x=DISPLAY\\CAPDEVX1", true, "CAPDEV"},
             Case{"x=DISPLAY\\CAPDEVxX,y", true, "CAPDEV"},
             Case{"x=DISPLAY\\CAPDEVA1/y", true, "CAPDEVA1"},
             Case{"x=DISPLAY\\AB\\CD", true, "AB"},
             Case{"x=DISPLAY\\A,DISPLAY\\LASTONE", true, "LASTONE"},
             Case{"x=display\\CAPDEV", false, ""},
             Case{"x=DISPLAY\\ABCDEFGHIJKLMNOPQRSTUV00", true, "ABCDEFGHIJKLMNO"},
             Case{"x=DISPLAY\\", true, ""},
         }) {
        char id[16] = "junk";
        EXPECT_EQ(ScanInfLine(c.line, id, sizeof id), c.names) << c.line;
        EXPECT_STREQ(id, c.id) << c.line;
    }
}

TEST(ComponentInfEntries, ListsEachFileOnceAndAtMostSix) {
    SysBench bench;
    bench.WriteFile("inf/capa.inf", "DISPLAY\\CAPDEV01\r\nDISPLAY\\CAPDEV02\nDISPLAY\\CAPDEV\n");
    bench.WriteFile("inf/other/capb.inf", "[x]\nDISPLAY\\capdev ; lower case\n");
    bench.WriteFile("inf/notinf.txt", "DISPLAY\\CAPDEV\n");
    bench.WriteFile("orbex.ini", OneRecord("DisplayName=CapDev\n"));
    EXPECT_EQ(bench.Run("tc6901"), 4);
    EXPECT_EQ(
        bench.Results(),
        (std::vector<std::string>{
            InfStep(1, 4, "CapDev", "[Pass] \"CapDev\" found in files: \"inf\\capa.inf\", \"inf\\other\\capb.inf\""),
            InfSummary(4)}));

    SysBench seven;
    for (char f = 'a'; f <= 'g'; ++f) seven.WriteFile(std::string("inf/f") + f + ".inf", "a=DISPLAY\\CAPDEV00\n");
    seven.WriteFile("orbex.ini", OneRecord("DisplayName=CAPDEV\n"));
    EXPECT_EQ(seven.Run("tc6901"), 4);
    EXPECT_EQ(seven.Results().front(),
              InfStep(1, 4, "CAPDEV",
                      "[Pass] \"CAPDEV\" found in files: \"inf\\fa.inf\", \"inf\\fb.inf\", \"inf\\fc.inf\", "
                      "\"inf\\fd.inf\", \"inf\\fe.inf\", \"inf\\ff.inf\""));
}

// A search that hands back a name filling its whole buffer (no terminator):
// the name is cut at the buffer's end, names no file, and is passed over.
TEST(ComponentInfEntries, PassesOverAFoundNameWithoutItsTerminator) {
    SysBench bench(Bench::Board("[Faults]\nFindFirstFile=malformed,1\n"));
    bench.WriteFile("inf/capa.inf", "x=DISPLAY\\CAPDEV\n");
    bench.WriteFile("inf/capb.inf", "x=DISPLAY\\CAPDEV\n");
    bench.WriteFile("orbex.ini", OneRecord("DisplayName=CAPDEV\n"));
    EXPECT_EQ(bench.Run("tc6901"), 4);
    EXPECT_EQ(bench.Results(),
              (std::vector<std::string>{InfStep(1, 4, "CAPDEV", "[Pass] \"CAPDEV\" found in files: \"inf\\capb.inf\""),
                                        InfSummary(4)}));
}

TEST(ComponentInfEntries, FailsAMissingEntryAndAMissingDisplayName) {
    SysBench bench;
    bench.WriteFile("inf/capa.inf", "; DISPLAY\\CAPDEV\nx=DISPLAY\\CAPDEV ; DISPLAY\\OLD\n");
    bench.WriteFile("orbex.ini",
                    "[FileInfo]\ncapdev=2,1,1,0,0\nnoname=2,1,1,0,0\nqel=2,1,1,0,0\n[capdev]\nDisplayName=CAPDEV\n"
                    "[qel]\nDisplayName=QELCAP\n");
    EXPECT_EQ(bench.Run("tc6901"), 0);
    EXPECT_EQ(
        bench.Results(),
        (std::vector<std::string>{
            InfStep(1, 0, "CAPDEV", "[Fail]**** \"CAPDEV\" entry cannot be found in any installed Windows inf files."),
            Step("tc6901", 2, 0, kInfCase, "\"DisplayName\" entry exists in [noname] section.",
                 "[Fail]**** \"DisplayName\" entry missing in [noname] section."),
            InfStep(3, 4, "QELCAP",
                    "[Pass] \"QELCAP\" found in files: \"inf\\qelcap.inf\", \"inf\\other\\oemqel.inf\""),
            InfSummary(0)}));
}

// A line longer than a piece is scanned piece by piece: a marker in the
// second piece is found there, one cut by the piece boundary is not.
TEST(ComponentInfEntries, ReadsLongLinesInPiecesOf254Characters) {
    for (size_t pad : {size_t{254}, size_t{250}}) {
        SysBench bench;
        bench.WriteFile("inf/long.inf", "x=" + std::string(pad - 2, 'a') + "DISPLAY\\CAPDEV\n");
        bench.WriteFile("orbex.ini", OneRecord("DisplayName=CAPDEV\n"));
        EXPECT_EQ(bench.Run("tc6901"), pad == 254 ? 4 : 0) << pad;
    }
}

TEST(ComponentInfEntries, StopsAt256Entries) {
    SysBench bench;
    std::string many;
    for (int i = 0; i < 300; ++i) many += "x=DISPLAY\\DEV" + std::to_string(i) + "A\n";
    bench.WriteFile("inf/aaa.inf", many);
    bench.WriteFile("orbex.ini",
                    "[FileInfo]\nlast=2,1,1,0,0\nover=2,1,1,0,0\n[last]\nDisplayName=DEV255A\n"
                    "[over]\nDisplayName=DEV256A\n");
    EXPECT_EQ(bench.Run("tc6901"), 0);
    EXPECT_EQ(bench.Results(),
              (std::vector<std::string>{
                  InfStep(1, 4, "DEV255A", "[Pass] \"DEV255A\" found in files: \"inf\\aaa.inf\""),
                  InfStep(2, 0, "DEV256A",
                          "[Fail]**** \"DEV256A\" entry cannot be found in any installed Windows inf files."),
                  InfSummary(0)}));
}

std::string EnumStep(int step, int status, const std::string& name) {
    return Step("tc6902", step, status, "Checking if " + name + " is enumerated by the device manager.",
                name + " is enumerated.",
                status == 4 ? "[Pass] " + name + " is enumerated." : "[Fail]**** " + name + " is not enumerated.");
}

TEST(ComponentEnumeration, LooksUnderTheDisplayKeyOfTheSystemFamily) {
    const std::string db =
        "[FileInfo]\ncapdev=2,1,1,0,0\nqel=2,1,1,0,0\n[capdev]\nDisplayName=capdev\n"
        "[qel]\nDisplayName=qelcap\n";
    for (const std::string& board : {Bench::Board(), StockBoardText("windows98")}) {
        SysBench bench(board + "\n[DeviceManager]\nEnumerated=CAPDEV00\n");
        bench.WriteFile("orbex.ini", db);
        EXPECT_EQ(bench.Run("tc6902"), 4);
        EXPECT_EQ(bench.Results(), (std::vector<std::string>{
                                       EnumStep(1, 4, "capdev"), EnumStep(2, 4, "qelcap"),
                                       Rep("tc6902", 4, "Test Summary", "All devices are enumerated by device manager.",
                                           "[Pass] All devices are enumerated by device manager.")}));
    }
    // The NT key does not count on a 9x machine.
    SysBench nine(StockBoardText("windows98") +
                  "\n[Registry]\nKey=SYSTEM\\CurrentControlSet\\Enum\\DISPLAY\\CAPDEV00\n");
    nine.WriteFile("orbex.ini", db);
    EXPECT_EQ(nine.Run("tc6902"), 0);
    EXPECT_EQ(nine.Results().front(), EnumStep(1, 0, "capdev"));
}

TEST(ComponentEnumeration, FailsWhenTheKeyCannotBeReadOrNoNameMatches) {
    const std::string db = "[FileInfo]\ncapdev=2,1,1,0,0\n[capdev]\nDisplayName=CAPDEV\n";
    for (const std::string& extra : {std::string("[DeviceManager]\nEnumerated=CAPDEVICE\nEnumerated=CAPDEV1\n"),
                                     std::string("[DeviceManager]\nEnumerated=CAPDEV00\n[Faults]\nRegQueryInfoKey=2\n"),
                                     std::string("[DeviceManager]\nEnumerated=CAPDEV00\n[Faults]\nRegOpenKeyEx=2\n")}) {
        SysBench bench(Bench::Board(extra));
        bench.WriteFile("orbex.ini", db);
        EXPECT_EQ(bench.Run("tc6902"), 0) << extra;
        EXPECT_EQ(bench.Results(), (std::vector<std::string>{
                                       EnumStep(1, 0, "CAPDEV"),
                                       Rep("tc6902", 0, "Test Summary", "All devices are enumerated by device manager.",
                                           "[Fail]**** One or more devices are not enumerated by device manager.")}))
            << extra;
    }
    // An unreadable subkey name is passed over; the next one still counts.
    SysBench skip(
        Bench::Board("[DeviceManager]\nEnumerated=CAPDEV00\nEnumerated=CAPDEV01\n[Faults]\nRegEnumKeyEx=2,1\n"));
    skip.WriteFile("orbex.ini", db);
    EXPECT_EQ(skip.Run("tc6902"), 4);
    EXPECT_EQ(skip.Results().front(), EnumStep(1, 4, "CAPDEV"));
}

TEST(ComponentEnumeration, ARecordWithoutADisplayNameFails) {
    SysBench bench(Bench::Board("[DeviceManager]\nEnumerated=CAPDEV00\n"));
    bench.WriteFile("orbex.ini", OneRecord("GUID=1\n"));
    EXPECT_EQ(bench.Run("tc6902"), 0);
    EXPECT_EQ(bench.Results(), (std::vector<std::string>{
                                   Step("tc6902", 1, 0, "Check if WDM components are enumerated by device manager.",
                                        "\"DisplayName\" entry exists in [capdev] section.",
                                        "[Fail]**** \"DisplayName\" entry missing in [capdev] section."),
                                   Rep("tc6902", 0, "Test Summary", "All devices are enumerated by device manager.",
                                       "[Fail]**** One or more devices are not enumerated by device manager.")}));
}

std::string LoadStep(int step, int status, const std::string& desc, const std::string& actual) {
    return Step("tc6903", step, status, "Checking if \"" + desc + "\" is yellow marked.",
                "\"" + desc + "\" is loaded by device manager.", actual);
}

TEST(ComponentLoaded, FindsAPresentInterfaceByItsDeviceDescription) {
    SysBench bench(
        Bench::Board("[DeviceManager]\nInterface={65E8773D-8F56-11D0-A3B9-00A0C9223196}|Cap Device\n"
                     "Interface={65E8773D-8F56-11D0-A3B9-00A0C9223196}|Broken Device|absent\n"));
    bench.WriteFile("orbex.ini",
                    "[FileInfo]\na=2,1,1,0,0\nb=2,1,1,0,0\nc=2,1,1,0,0\nd=2,1,1,0,0\ne=2,1,1,0,0\n"
                    "[a]\nDeviceDesc=cap device\nGUID=" +
                        kKsCapture + "\n[b]\nDeviceDesc=Broken Device\nGUID=" + kKsCapture +
                        "\n[c]\nDeviceDesc=Cap Device\nGUID=A799A800,A46D,11D0,A1,8C,00,A0,24,01,DC,D4\n"
                        "[d]\nGUID=1\n[e]\nDeviceDesc=Cap Device\n");
    const std::string loadCase = "Check if WDM components are loaded by device manager.";
    EXPECT_EQ(bench.Run("tc6903"), 0);
    EXPECT_EQ(bench.Results(),
              (std::vector<std::string>{
                  LoadStep(1, 4, "cap device", "[Pass] \"cap device\" is loaded by device manager."),
                  LoadStep(2, 0, "Broken Device", "[Fail]**** \"Broken Device\" is not loaded by device manager."),
                  LoadStep(3, 0, "Cap Device", "[Fail]**** \"Cap Device\" is not loaded by device manager."),
                  Step("tc6903", 4, 0, loadCase, "\"DeviceDesc\" entry exists in [d] section.",
                       "[Fail]**** \"DeviceDesc\" entry missing in [d] section."),
                  Step("tc6903", 5, 0, loadCase, "\"GUID\" entry exists in [e] section.",
                       "[Fail]**** \"GUID\" entry missing in [e] section."),
                  Rep("tc6903", 0, "Test Summary", "All devices are loaded by device manager.",
                      "[Fail]**** One or more devices are not loaded by device manager.")}));
}

TEST(ComponentLoaded, PassesWhenEveryDeviceIsLoaded) {
    SysBench bench(Bench::Board("[DeviceManager]\nInterface={65E8773D-8F56-11D0-A3B9-00A0C9223196}|Cap Device\n"));
    bench.WriteFile("orbex.ini", OneRecord("DeviceDesc=Cap Device\nGUID=" + kKsCapture + "\n"));
    EXPECT_EQ(bench.Run("tc6903"), 4);
    EXPECT_EQ(bench.Results(), (std::vector<std::string>{
                                   LoadStep(1, 4, "Cap Device", "[Pass] \"Cap Device\" is loaded by device manager."),
                                   Rep("tc6903", 4, "Test Summary", "All devices are loaded by device manager.",
                                       "[Pass] All devices are loaded by device manager.")}));
}

TEST(ComponentLoaded, ReportsAClassSetThatCannotBeHad) {
    SysBench bench(Bench::Board("[Faults]\nSetupDiGetClassDevs=1\n"));
    bench.WriteFile("orbex.ini", OneRecord("DeviceDesc=Qel Video Capture\nGUID=" + kKsCapture + "\n"));
    EXPECT_EQ(bench.Run("tc6903"), 0);
    EXPECT_EQ(
        bench.Results().front(),
        LoadStep(1, 0, "Qel Video Capture", "[Fail]**** Failed to get class device for filter \"Qel Video Capture\"."));
    // An interface whose property cannot be read is passed over.
    SysBench property(Bench::Board("[Faults]\nSetupDiGetDeviceRegistryProperty=1\n"));
    property.WriteFile("orbex.ini", OneRecord("DeviceDesc=Qel Video Capture\nGUID=" + kKsCapture + "\n"));
    EXPECT_EQ(property.Run("tc6903"), 0);
    EXPECT_EQ(property.Results().front(),
              LoadStep(1, 0, "Qel Video Capture", "[Fail]**** \"Qel Video Capture\" is not loaded by device manager."));
}

std::string FilterStep(int step, int status, const std::string& name, const std::string& actual) {
    return Step("tc6904", step, status, "Checking if \"" + name + "\" is registered with DShow.",
                "\"" + name + "\" is registed with DShow.", actual);
}

TEST(ComponentRegistration, ChecksEachFilterOfARecord) {
    SysBench bench;
    bench.WriteFile("orbex.ini",
                    OneRecord("FriendlyName=qel crossbar\nGUID=A799A801,A46D,11D0,A1,8C,00,A0,24,01,DC,D4\n"
                              "FriendlyName1=Qel Sound\nFriendlyName2=Qel Tuner\n"
                              "GUID2=A799A801,A46D,11D0,A1,8C,00,A0,24,01,DC,D4\n"
                              "FriendlyName3=Qel Audio\nGUID3=A799A802,A46D,11D0,A1,8C,00,A0,24,01,DC,D4\n"
                              "FriendlyName5=never read\nGUID5=0\n"));
    EXPECT_EQ(bench.Run("tc6904"), 0);
    EXPECT_EQ(
        bench.Results(),
        (std::vector<std::string>{
            FilterStep(1, 4, "qel crossbar", "[Pass] Filter \"qel crossbar\" is found."),
            Step("tc6904", 2, 0, "Check if WDM devices are registered correctly with DShow.",
                 "\"GUID1\" entry exists in [capdev] section.",
                 "[Fail]**** \"GUID1\" entry missing in [capdev] section."),
            FilterStep(3, 0, "Qel Tuner", "[Fail]**** Filter \"Qel Tuner\" is not found."),
            FilterStep(4, 0, "Qel Audio", "[Fail]**** Unable to create class. Failed to check filter \"Qel Audio\"."),
            Rep("tc6904", 0, "Test Summary", "All filters are registered.",
                "[Fail]**** One or more filter is not registered.")}));
}

TEST(ComponentRegistration, PassesWhenEveryFilterIsFound) {
    SysBench bench;
    bench.WriteFile("orbex.ini",
                    OneRecord("FriendlyName=qel crossbar\nGUID=A799A801,A46D,11D0,A1,8C,00,A0,24,01,DC,D4\n"));
    EXPECT_EQ(bench.Run("tc6904"), 4);
    EXPECT_EQ(bench.Results(),
              (std::vector<std::string>{FilterStep(1, 4, "qel crossbar", "[Pass] Filter \"qel crossbar\" is found."),
                                        Rep("tc6904", 4, "Test Summary", "All filters are registered.",
                                            "[Pass] All filters are registered.")}));
}

TEST(ComponentRegistration, NeedsTheSystemDeviceEnumerator) {
    SysBench bench(Bench::Board("[Faults]\nCreateDeviceEnumerator=0x80004005\n"));
    bench.WriteFile("orbex.ini", OneRecord("FriendlyName=Qel Crossbar\nGUID=1\n"));
    EXPECT_EQ(bench.Run("tc6904"), 2);
    EXPECT_EQ(bench.Results(),
              (std::vector<std::string>{Rep("tc6904", 2, "Check if WDM devices are registered correctly with DShow.",
                                            "Able to create system device instance",
                                            "[NoRun]**** Unable to create system device instance.")}));
    // A record without any friendly name counts no sub-step.
    SysBench none;
    none.WriteFile("orbex.ini", OneRecord("GUID=1\n"));
    EXPECT_EQ(none.Run("tc6904"), 2);
    EXPECT_EQ(none.Results(),
              (std::vector<std::string>{
                  Rep("tc6904", 2, "Test Summary", "All filters are registered.",
                      "[NoRun]**** Database file was missing or contained no needed entry. No check was made.")}));
}

TEST(ComponentGuidText, ReadsElevenHexadecimalFields) {
    struct Case {
        const char* text;
        int fields;
        Guid guid;
    };
    for (const Case& c : {
             Case{"65E8773D,8F56,11D0,A3,B9,00,A0,C9,22,31,96", 11,
                  Guid{0x65E8773D, 0x8F56, 0x11D0, {0xA3, 0xB9, 0x00, 0xA0, 0xC9, 0x22, 0x31, 0x96}}},
             Case{"65e8773d,8f56,11d0,a3,b9,00,a0,c9,22,31,96,77,88", 11,
                  Guid{0x65E8773D, 0x8F56, 0x11D0, {0xA3, 0xB9, 0x00, 0xA0, 0xC9, 0x22, 0x31, 0x96}}},
             Case{"1,2,3", 3, Guid{1, 2, 3, {}}},
             Case{"1,2,,4", 2, Guid{1, 2, 0, {}}},
             Case{"1,12345,3,1FF", 4, Guid{1, 0x2345, 3, {0xFF}}},
             Case{"", 0, Guid{}},
             Case{"zz", 0, Guid{}},
         }) {
        Guid g{9, 9, 9, {9}};
        EXPECT_EQ(ParseComponentGuid(c.text, g), c.fields) << c.text;
        EXPECT_TRUE(g == c.guid) << c.text;
    }
}

// A key list longer than its 1,024-character buffer is cut: the name cut in
// the middle has no value, so the reading ends before it.
TEST(ComponentDatabase, AKeyListOverItsBufferEndsAtTheCutName) {
    SysBench bench;
    std::string ini = "[FileInfo]\n";
    for (int i = 10; i < 80; ++i) ini += "component_rec" + std::to_string(i) + "=2,2,0,0,0\n";
    bench.WriteFile("orbex.ini", ini);
    bench.Run("tc6905");
    CComChker* c = bench.Builder().ComChker();
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->RecordCount(), 63);
    EXPECT_STREQ(c->Record(62).Name, "component_rec72");
}

// The shipped database on the reference board and on the Windows 98 board.
TEST(ComponentRack, TheShippedDatabasePassesOnTheStockMachines) {
    for (const std::string& board : {Bench::Board(), StockBoardText("windows98")}) {
        for (const char* test : {"tc6900", "tc6901", "tc6902", "tc6903", "tc6904", "tc6905"}) {
            RackBench bench(board);
            EXPECT_EQ(bench.Run(test), 4) << test;
            const std::vector<std::string> results = bench.Results();
            ASSERT_FALSE(results.empty()) << test;
            EXPECT_NE(results.back().find("\"actual\":\"[Pass]"), std::string::npos) << test << results.back();
            // tc6900 to tc6904 check the two records of this machine, tc6905 the two runtime files.
            EXPECT_EQ(results.size(), std::string(test) == "tc6904" ? 4u : 3u) << test;
        }
    }
}

}  // namespace
}  // namespace orbex::testing
