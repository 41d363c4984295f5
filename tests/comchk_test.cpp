// The component checker end to end over the virtual board: the database in
// orbex.ini, the record selection, the file version and runtime file checks.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "cases/comchk/com_chker.h"
#include "support/sys_bench.h"

namespace orbex::testing {
namespace {

const std::string kSys = "C:\\WINNT\\system32\\";

// The reference board (Windows 2000) with installed files.
std::string BoardWithFiles(const std::string& files) {
    return Bench::Board("[Files]\n" + files);
}

std::string Step(const std::string& id, int step, int status, const std::string& description,
                 const std::string& expected, const std::string& actual) {
    return ReportJson(id, std::to_string(step), status, description, expected, actual);
}

const std::string kVersionCase = "Check if all needed files are at the correct version.";

struct VersionCase {
    const char* installed;  // the profile's versioned file value after the path, or "" for a plain file
    const char* expected;   // Version of the record
    int status;
    const char* actual;
};

TEST(ComponentFileVersion, ComparesTheFileVersionWithTheRecord) {
    for (const VersionCase& c : {
             VersionCase{"5.0.2195.1", "5.0.2195.1", 4, "[Pass] Actual Version = 5.0.2195.1"},
             VersionCase{"5.0.2195.2", "5.0.2195.1", 4, "[Pass] +1 difference warning. Actual Version = 5.0.2195.2"},
             VersionCase{"5.0.2195.3", "5.0.2195.1", 0, "[Fail]**** Actual Version = 5.0.2195.3"},
             VersionCase{"5.0.2195.0", "5.0.2195.1", 0, "[Fail]**** Actual Version = 5.0.2195.0"},
             VersionCase{"5.1.2195.1", "5.0.2195.1", 0, "[Fail]**** Actual Version = 5.1.2195.1"},
             VersionCase{"5.0.0.0", "5.0", 0, "[Fail]**** Actual Version = 5.0.0.0"},
             VersionCase{"5.0.2195.1|5.0|none", "5.0.2195.1", 4, "[Pass] Actual Version = 5.0.2195.1"},
             VersionCase{"5.0.2195.1|5.0|04070000", "5.0.2195.1", 4, "[Pass] Actual Version = 5.0.2195.1"},
         }) {
        SysBench bench(BoardWithFiles("VersionedFile=" + kSys + "qelcap.sys|" + c.installed + "\n"));
        bench.WriteFile("orbex.ini", std::string("[FileInfo]\nqelcap=2,1,1,0,0\n[qelcap]\nPath=system32\\qelcap.sys\n"
                                                 "Version=") +
                                         c.expected + "\n");
        EXPECT_EQ(bench.Run("tc6900"), c.status) << c.installed;
        const std::string summary = c.status == 4 ? "[Pass] All file versions are correct."
                                                  : "[Fail]**** One or more file version is incorrect.";
        EXPECT_EQ(bench.Results(),
                  (std::vector<std::string>{
                      Step("tc6900", 1, c.status, "Checking version of system32\\qelcap.sys.",
                           std::string("Expected Version = ") + c.expected, c.actual),
                      Rep("tc6900", c.status, "Test Summary", "All file versions are correct.", summary)}))
            << c.installed;
    }
}

TEST(ComponentFileVersion, FailsFilesWithoutVersionAndMissingDetails) {
    SysBench bench(BoardWithFiles("File=" + kSys + "plain.sys\n"));
    bench.WriteFile("orbex.ini",
                    "[FileInfo]\nplain=2,1,1,0,0\nnopath=2,1,1,0,0\nnover=2,1,1,0,0\nabsent=2,1,1,0,0\n"
                    "[plain]\nPath=system32\\plain.sys\nVersion=1.0\n[nover]\nPath=x.sys\n"
                    "[absent]\nPath=system32\\absent.sys\nVersion=1.0\n");
    EXPECT_EQ(bench.Run("tc6900"), 0);
    EXPECT_EQ(bench.Results(), (std::vector<std::string>{
                                   Step("tc6900", 1, 0, "Checking version of system32\\plain.sys.",
                                        "Able to get version info.", "[Fail]**** Unable to get version info."),
                                   Step("tc6900", 2, 0, kVersionCase, "\"Path\" entry exists in [nopath] section.",
                                        "[Fail]**** \"Path\" entry missing in [nopath] section."),
                                   Step("tc6900", 3, 0, kVersionCase, "\"Version\" entry exists in [nover] section.",
                                        "[Fail]**** \"Version\" entry missing in [nover] section."),
                                   Step("tc6900", 4, 0, "Checking version of system32\\absent.sys.",
                                        "Able to get version info.", "[Fail]**** Unable to get version info."),
                                   Rep("tc6900", 0, "Test Summary", "All file versions are correct.",
                                       "[Fail]**** One or more file version is incorrect.")}));
}

// Which records run, in which order: pass 1 (machine), pass 2 (machine and
// tuner), pass 3 (alternatives) and pass 4 (fallbacks after a failed alternative).
TEST(ComponentSelection, WalksThePassesInOrderAndUsesFallbacksOnlyAfterAFailure) {
    SysBench probe;
    probe.WriteFile("orbex.ini", "[FileInfo]\nx=2,1,0,0,0\n");
    probe.Run("tc6900");
    CComChker* checker = probe.Builder().ComChker();
    ASSERT_NE(checker, nullptr);
    const int d = checker->DecoderCode(), s = checker->StandardCode();
    ASSERT_NE(d, 2);
    ASSERT_NE(s, 2);
    auto record = [](const char* name, int os, int dec, int std, int tier) {
        return std::string(name) + "=2," + std::to_string(os) + "," + std::to_string(dec) + "," + std::to_string(std) +
               "," + std::to_string(tier) + "\n";
    };
    auto detail = [](const char* name, const char* file) {
        return std::string("[") + name + "]\nPath=system32\\" + file + "\nVersion=1.0.0.1\n";
    };
    for (bool alternativeFails : {false, true}) {
        SysBench bench(BoardWithFiles("VersionedFile=" + kSys + "good.sys|1.0.0.1\n"));
        bench.WriteFile("orbex.ini",
                        "[FileInfo]\n" + record("fallback", 2, 0, s, 3) + record("alt", 2, 0, s, 2) +
                            record("tuned", 2, d, s, 0) + record("ninex", 3, d, 0, 0) + "typeone=1,2," +
                            std::to_string(d) + ",0,0\n" + record("plainrec", 2, d, 0, 0) +
                            detail("fallback", "good.sys") + detail("alt", alternativeFails ? "bad.sys" : "good.sys") +
                            detail("tuned", "good.sys") + detail("plainrec", "good.sys") + detail("ninex", "bad.sys"));
        bench.Run("tc6900");
        std::vector<std::string> described;
        for (const std::string& r : bench.Results()) {
            size_t at = r.find("Checking version of system32\\\\");
            if (at != std::string::npos) described.push_back(r.substr(at + 30, r.find('.', at + 30) - at - 30));
        }
        std::vector<std::string> want = {"good", "good", alternativeFails ? "bad" : "good"};
        if (alternativeFails) want.push_back("good");
        EXPECT_EQ(described, want) << alternativeFails;
        EXPECT_EQ(bench.Results().back().find(alternativeFails ? "[Fail]****" : "[Pass]") != std::string::npos, true);
    }
}

TEST(ComponentDatabase, ReadsRecordsAndResolvesWildcards) {
    SysBench bench;
    std::string ini = "[FileInfo]\nvidcap=2,1,1,0,0\nbig=258\t3 , 1,1,  2,9\n";
    for (int i = 0; i < 70; ++i) ini += "r" + std::to_string(i) + "=2,2,0,0,0\n";
    bench.WriteFile("orbex.ini", ini);
    bench.Run("tc6905");
    CComChker* c = bench.Builder().ComChker();
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->RecordCount(), 64);
    EXPECT_STREQ(c->Record(0).Name, "vidcap");
    EXPECT_EQ(c->Record(0).Os, c->OsCode());
    EXPECT_EQ(c->Record(0).Decoder, c->DecoderCode());
    const ComponentRecord& big = c->Record(1);
    EXPECT_EQ((std::vector<int>{big.Type, big.Os, big.Decoder, big.Standard, big.Tier}),
              (std::vector<int>{2, 3, c->DecoderCode(), c->StandardCode(), 2}));
    EXPECT_STREQ(c->Record(63).Name, "r61");
}

TEST(ComponentDatabase, SixtyFourRecordsFitAndNamesKeepFifteenCharacters) {
    SysBench bench;
    std::string ini = "[FileInfo]\nabcdefghijklmno=2,2,0,0,0\nabcdefghijklmnop=2,2,0,0,0\n";
    for (int i = 2; i < 64; ++i) ini += "r" + std::to_string(i) + "=2,2,0,0,0\n";
    bench.WriteFile("orbex.ini", ini);
    bench.Run("tc6905");
    CComChker* c = bench.Builder().ComChker();
    ASSERT_NE(c, nullptr);
    ASSERT_EQ(c->RecordCount(), 64);
    EXPECT_STREQ(c->Record(0).Name, "abcdefghijklmno");
    EXPECT_STREQ(c->Record(1).Name, "abcdefghijklmno");
    EXPECT_STREQ(c->Record(63).Name, "r63");
}

TEST(ComponentDatabase, AMissingDatabaseIsNoRun) {
    SysBench bench;
    std::filesystem::remove(bench.Directory() + "/orbex.ini");
    EXPECT_EQ(bench.Run("tc6900"), 2);
    EXPECT_EQ(bench.Results(),
              (std::vector<std::string>{
                  Msg("tc6900", 1, "CComChker::Initialize: Failed to retrieve records from the database."),
                  Rep("tc6900", 2, "[NoRun]**** Failed to retrieve records from the database.", "", ""),
                  Msg("tc6900", 0, "CComChker::ExecuteTest() FAILED!"),
                  Msg("tc6900", 0, "CComChker::ExecuteTest() Verify the test string entered"),
                  Rep("tc6900", 2, "Component Checker test", "Ini file found", "[NoRun]**** Ini file not found")}));
}

// Only an empty key list is a missing database; a list whose first value holds
// no number stores no record, and the test then finds nothing to check.
TEST(ComponentDatabase, AFirstValueWithoutNumbersStoresNoRecordWithoutTheDatabaseReport) {
    SysBench bench;
    bench.WriteFile("orbex.ini", "[FileInfo]\nblank= , \t\nqelcap=2,1,1,0,0\n");
    EXPECT_EQ(bench.Run("tc6900"), 2);
    EXPECT_EQ(bench.Results(),
              (std::vector<std::string>{Rep("tc6900", 2, "Test Summary", "All file versions are correct.",
                                            "[NoRun]**** Database file was missing or contained no needed entry. "
                                            "No check was made.")}));
    EXPECT_TRUE(bench.Logged("0 0x0000AF00 CComChker::Initialize: Exit"));
}

TEST(ComponentRecordParse, TakesLowBytesAndStopsAtFive) {
    ComponentRecord r;
    EXPECT_TRUE(ParseComponentSelectors("2,257,-1,x,4,9", r));
    EXPECT_EQ((std::vector<int>{r.Type, r.Os, r.Decoder, r.Standard, r.Tier}), (std::vector<int>{2, 1, 255, 0, 4}));
    EXPECT_FALSE(ParseComponentSelectors(" ,\t, ", r));
    EXPECT_TRUE(ParseComponentSelectors("7", r));
    EXPECT_EQ((std::vector<int>{r.Type, r.Os, r.Tier}), (std::vector<int>{7, 0, 0}));
}

TEST(ComponentRuntimeFiles, ChecksTheListedFilesOfTheSystemFamily) {
    SysBench bench(BoardWithFiles("File=C:\\WINNT\\quartz.dll\n"));
    bench.WriteFile("orbex.ini",
                    "[FileInfo]\nx=2,1,0,0,0\n[DXBinFileNT]\nquartz.dll=1\nskip.dll=0\nqcap.dll=1\n"
                    "[DXBinFile9X]\nold.dll=1\n");
    EXPECT_EQ(bench.Run("tc6905"), 0);
    EXPECT_EQ(bench.Results(),
              (std::vector<std::string>{Step("tc6905", 1, 4, "Checking if quartz.dll exists in the Windows directory.",
                                             "quartz.dll is found.", "[Pass] quartz.dll is found."),
                                        Step("tc6905", 2, 0, "Checking if qcap.dll exists in the Windows directory.",
                                             "qcap.dll is found.", "[Fail]**** qcap.dll is missing."),
                                        Rep("tc6905", 0, "Test Summary", "All DShow bin files are found.",
                                            "[Fail]**** One or more DShow bin file is missing.")}));
}

// Windows XP (NT 5.1) still counts as the NT family; NT 6 is past the check.
TEST(ComponentRuntimeFiles, PassOnXpNotApplicableFromNtSixNoRunWithoutEntries) {
    const std::string database = "[FileInfo]\nx=2,1,0,0,0\n[DXBinFileNT]\nquartz.dll=1\n";
    SysBench xp(BoardWithFiles("File=C:\\WINNT\\quartz.dll\n[Machine]\nMajorVersion=5\nMinorVersion=1\n"));
    xp.WriteFile("orbex.ini", database);
    EXPECT_EQ(xp.Run("tc6905"), 4);
    EXPECT_EQ(xp.Results(),
              (std::vector<std::string>{Step("tc6905", 1, 4, "Checking if quartz.dll exists in the Windows directory.",
                                             "quartz.dll is found.", "[Pass] quartz.dll is found."),
                                        Rep("tc6905", 4, "Test Summary", "All DShow bin files are found.",
                                            "[Pass] All DShow bin files are found.")}));

    SysBench vista(BoardWithFiles("File=C:\\WINNT\\quartz.dll\n[Machine]\nMajorVersion=6\n"));
    vista.WriteFile("orbex.ini", database);
    EXPECT_EQ(vista.Run("tc6905"), 0);
    EXPECT_EQ(vista.Results(),
              (std::vector<std::string>{Rep("tc6905", 1, "Checking if DShow files exist in the Windows directory.",
                                            "Test executed on Win9X or Win2K.", "[NA]** WinXP or later detected.")}));

    SysBench none;
    none.WriteFile("orbex.ini", "[FileInfo]\nx=2,1,0,0,0\n[DXBinFileNT]\nquartz.dll=0\n");
    EXPECT_EQ(none.Run("tc6905"), 2);
    EXPECT_EQ(none.Results(),
              (std::vector<std::string>{
                  Rep("tc6905", 2, "Test Summary", "All DShow bin files are found.",
                      "[NoRun]**** Database file was missing or contained no bin entry. No check was made.")}));
}

// 80 keys of 29 characters: the 2,048-character list holds 68 of them whole;
// the 69th is cut to six characters, names no key and is not checked, though
// its file is there.
TEST(ComponentRuntimeFiles, KeysBeyondTheListBufferAreNotChecked) {
    auto key = [](int i) {
        char name[32];
        std::snprintf(name, sizeof name, "k%028d", i);
        return std::string(name);
    };
    SysBench bench(BoardWithFiles("File=C:\\WINNT\\" + key(67) + "\nFile=C:\\WINNT\\" + key(68) + "\n"));
    std::string database = "[FileInfo]\nx=2,1,0,0,0\n[DXBinFileNT]\n";
    for (int i = 0; i < 80; ++i) database += key(i) + "=1\n";
    bench.WriteFile("orbex.ini", database);
    EXPECT_EQ(bench.Run("tc6905"), 0);
    const std::vector<std::string> results = bench.Results();
    ASSERT_EQ(results.size(), 69u);
    EXPECT_EQ(results[66], Step("tc6905", 67, 0, "Checking if " + key(66) + " exists in the Windows directory.",
                                key(66) + " is found.", "[Fail]**** " + key(66) + " is missing."));
    EXPECT_EQ(results[67], Step("tc6905", 68, 4, "Checking if " + key(67) + " exists in the Windows directory.",
                                key(67) + " is found.", "[Pass] " + key(67) + " is found."));
    EXPECT_EQ(results[68], Rep("tc6905", 0, "Test Summary", "All DShow bin files are found.",
                               "[Fail]**** One or more DShow bin file is missing."));
}

TEST(ComponentExecute, RefusesOtherGroupsAndHigherTests) {
    SysBench bench;
    bench.WriteFile("orbex.ini", "[FileInfo]\nx=2,1,0,0,0\n");
    EXPECT_EQ(bench.Run("tc0900"), 2);
    const std::string text = "[NoRun]**** Invalid test case \"tc0900\".";
    EXPECT_EQ(bench.Results(),
              (std::vector<std::string>{Msg("tc0900", 0, "CComChker::ExecuteTest()>  " + text),
                                        Rep("tc0900", 2, "Component Checker test.", "Valid test case", text)}));
    bench.ClearEvents();
    EXPECT_EQ(bench.Run("tc6907"), 1);
    EXPECT_TRUE(bench.Results().empty());
    // No record of this machine: the summary is No run.
    EXPECT_EQ(bench.Run("tc6902"), 2);
    EXPECT_EQ(bench.Results().back(),
              Rep("tc6902", 2, "Test Summary", "All devices are enumerated by device manager.",
                  "[NoRun]**** Database file was missing or contained no needed entry. No check was made."));
}

}  // namespace
}  // namespace orbex::testing
