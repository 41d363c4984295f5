// The log manager (level masks, forwarding, the message counter) and the
// registry-first settings reader.
#include <gtest/gtest.h>

#include "platform/sim/components/log_writer.h"
#include "report/test_status.h"
#include "support/bench.h"

namespace orbex::testing {
namespace {

TEST(LogManager, OnlyTheThreeExactPairsAreForwarded) {
    Bench bench;
    CLogManager& log = bench.Process().LogManager();
    bench.Process().Verdict().Load();
    log.Open();
    Log(&log, 0, kGreen, "trace %d", 1);
    Log(&log, 255, kBlue, "note %s", "x");
    Log(&log, 511, kBlack, "norun");
    Log(&log, 765, kRed, "fail");
    Log(&log, 511, kRed, "written only");
    Log(&log, 765, kBlue, "written only too");
    EXPECT_EQ(bench.Reports(), (std::vector<std::string>{ReportJson("tc0000", "msg1", 4, "Message Log:", "", "note x"),
                                                         ReportJson("tc0000", "msg2", 1, "Message Log:", "", "norun"),
                                                         ReportJson("tc0000", "msg3", 0, "Message Log:", "", "fail")}));
    EXPECT_EQ(bench.LogLines(),
              (std::vector<std::string>{"0 0x0000AF00 Orbex.exe Loaded.", "0 0x0000AF00 trace 1",
                                        "255 0x00FF0000 note x", "511 0x00000000 norun", "765 0x000000FF fail",
                                        "511 0x000000FF written only", "765 0x00FF0000 written only too"}));
}

TEST(LogManager, BeforeOpenNothingIsWrittenButLinesAreForwarded) {
    Bench bench;
    bench.Process().Verdict().Load();
    Log(&bench.Process().LogManager(), 765, kRed, "early");
    EXPECT_EQ(bench.Reports().size(), 1u);
    EXPECT_FALSE(bench.FileExists("orbex.txt"));
}

TEST(LogManager, AForwardedLineIsCutAtItsBuffer) {
    Bench bench;
    bench.Process().Verdict().Load();
    Log(&bench.Process().LogManager(), 765, kRed, "%s", std::string(400, 'x').c_str());
    EXPECT_EQ(bench.Reports()[0], ReportJson("tc0000", "msg1", 0, "Message Log:", "", std::string(255, 'x')));
}

TEST(LogManager, LogLevelsGiveTheirMasks) {
    EXPECT_EQ(CLogManager::LevelMask(0), 0xFFFFFFFFu);
    EXPECT_EQ(CLogManager::LevelMask(1), 0x0307005Au);
    EXPECT_EQ(CLogManager::LevelMask(2), 0xFFFF0000u);
    EXPECT_EQ(CLogManager::LevelMask(3), 0xFFFFFFFFu);
}

TEST(LogWriter, TheMaskSelectsLevelBandsOfTwentyFour) {
    struct Case {
        uint32_t mask;
        int32_t level;
        bool written;
    };
    for (const Case& c : {Case{0x0307005A, 0, false}, Case{0x0307005A, 100, true}, Case{0x0307005A, 101, true},
                          Case{0x0307005A, 255, false}, Case{0x0307005A, 765, false}, Case{0xFFFF0000, 0, false},
                          Case{0xFFFF0000, 255, false}, Case{0xFFFF0000, 511, true}, Case{0xFFFF0000, 765, true},
                          Case{0xFFFFFFFF, 9999, true}, Case{0x00000001, -5, true}}) {
        EXPECT_EQ(sim::LogWriter::LevelEnabled(c.mask, c.level), c.written) << c.mask << " " << c.level;
    }
}

TEST(LogManager, TheLogLevelComesFromTheRegistryBeforeTheIniFile) {
    // Level 2 (registry) keeps only no-run and failure lines; level 1 (INI) would keep progress lines.
    Bench bench(Bench::Board("[Registry]\nValue=SOFTWARE\\Qel Technologies\\Orbex\\LOGMANAGER|LOGLEVEL|dword|2\n"));
    bench.WriteFile("orbex.ini", "[LOGMANAGER]\nLOGLEVEL=1\n");
    bench.Process().LogManager().Open();
    Log(&bench.Process().LogManager(), 100, kGreen, "progress");
    Log(&bench.Process().LogManager(), 765, kRed, "failure");
    EXPECT_EQ(bench.LogLines(), std::vector<std::string>{"765 0x000000FF failure"});
}

TEST(LogManager, TheIniFileSetsTheLevelWhenTheRegistryHasNone) {
    Bench bench;
    bench.WriteFile("orbex.ini", "[LOGMANAGER]\nLOGLEVEL=1\n");
    bench.Process().LogManager().Open();
    Log(&bench.Process().LogManager(), 100, kGreen, "progress");
    Log(&bench.Process().LogManager(), 765, kRed, "failure");
    EXPECT_EQ(bench.LogLines(), std::vector<std::string>{"100 0x0000AF00 progress"});
}

TEST(RegSettings, MissingEverywhereGivesTheDefault) {
    Bench bench;
    CRegSettings settings(bench.Platform());
    EXPECT_EQ(settings.ReadSettingInt("LOGMANAGER", "LOGLEVEL", 7, "orbex.ini"), 7);
    EXPECT_EQ(settings.ReadSettingInt("LOGMANAGER", "LOGLEVEL", 7, nullptr), 7);
}

TEST(RegSettings, ARegistryStringThatFitsWinsAndALongerOneFallsBackToTheIni) {
    Bench bench(Bench::Board("[Registry]\nValue=SOFTWARE\\Qel Technologies\\Orbex\\database|location|sz|C:\\db.ini\n"));
    bench.WriteFile("orbex.ini", "[database]\nlocation=from-ini\n");
    CRegSettings settings(bench.Platform());
    char buffer[32];
    EXPECT_EQ(settings.ReadSettingString("database", "location", "dflt", buffer, sizeof buffer, "orbex.ini"), 1);
    EXPECT_STREQ(buffer, "C:\\db.ini");
    char small[10];  // "C:\db.ini" and its zero need 10 bytes: fits exactly
    EXPECT_EQ(settings.ReadSettingString("database", "location", "dflt", small, sizeof small, "orbex.ini"), 1);
    EXPECT_STREQ(small, "C:\\db.ini");
    char tiny[9];
    EXPECT_EQ(settings.ReadSettingString("database", "location", "dflt", tiny, sizeof tiny, "orbex.ini"), 8);
    EXPECT_STREQ(tiny, "from-ini");
}

TEST(RegSettings, Windows3xReadsTheIniFileOnly) {
    Bench bench(
        Bench::Board("[Machine]\nPlatform=9x\nMajorVersion=3\nMinorVersion=10\n"
                     "[Registry]\nValue=SOFTWARE\\Qel Technologies\\Orbex\\LOGMANAGER|LOGLEVEL|dword|2\n"));
    bench.WriteFile("orbex.ini", "[LOGMANAGER]\nLOGLEVEL=1\n");
    CRegSettings settings(bench.Platform());
    EXPECT_EQ(settings.ReadSettingInt("LOGMANAGER", "LOGLEVEL", 0, "orbex.ini"), 1);
}

}  // namespace
}  // namespace orbex::testing
