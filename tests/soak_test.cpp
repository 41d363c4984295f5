// The soak as a tester runs it: a short soak of the catalogue in one harness
// process (the video-size sweep over every reported size left out: it takes
// minutes under the sanitizers), and its figures.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "support/run_command.h"

namespace {

using SoakRun = orbex::test::CommandResult;

SoakRun RunHarness(const std::string& args) {
    char pattern[] = "/tmp/orbex-soak-XXXXXX";
    if (!mkdtemp(pattern)) return {};
    std::string dir = pattern;
    for (const char* name : {"default.gf", "orbex.ini"})
        std::filesystem::copy_file(std::string(ORBEX_SOURCE_DIR) + "/examples/" + name, dir + "/" + name);
    std::string command = std::string(ORBEX_HARNESS) + " --workdir " + dir + " " + args + " 2>&1";
    SoakRun r = orbex::test::RunCommand(command);
    std::filesystem::remove_all(dir);
    return r;
}

TEST(Soak, ShortSoakLeavesNothingOpenAndNumbersEveryMessage) {
    // Resident memory is only reported here: its bound is the full soak's (make soak).
    SoakRun r = RunHarness("--soak 3 --exclude tc2205 --soak-rss-limit 1000000");
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_NE(r.out.find("soak: 3 rounds of 40 command lines, "), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("(growth 0); left at unload: 0\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("numbering gaps: 0\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("soak: PASS\n"), std::string::npos) << r.out;
    EXPECT_EQ(r.out.find("FAIL"), std::string::npos) << r.out;
}

TEST(Soak, UsageErrors) {
    EXPECT_EQ(RunHarness("--soak 0").status, 2);
    EXPECT_EQ(RunHarness("--soak 2 tc2200").status, 2);
    EXPECT_EQ(RunHarness("--soak 2 --suite").status, 2);
}

}  // namespace
