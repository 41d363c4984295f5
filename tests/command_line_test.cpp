// The command-line parser: both syntaxes, every rejection message, the
// identifier texts and the fields a rejection leaves behind.
#include "entry/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace orbex {
namespace {

struct FixedDirectory : port::ISystemInfo {
    std::string dir = "C:\\ORBEX";
    uint32_t CurrentDirectoryPath(uint32_t size, char* buffer) override {
        if (size <= dir.size()) return static_cast<uint32_t>(dir.size() + 1);
        dir.copy(buffer, dir.size());
        buffer[dir.size()] = '\0';
        return static_cast<uint32_t>(dir.size());
    }
    uint32_t SystemDirectoryPath(char*, uint32_t) override { return 0; }
    uint32_t WindowsDirectoryPath(char*, uint32_t) override { return 0; }
    bool QueryVersion(OsVersion&) override { return false; }
};

struct RecordingUser : port::IUser {
    struct Box {
        std::string text, caption;
        uint32_t style;
    };
    std::vector<Box> boxes;
    int32_t ShowMessageBox(const char* text, const char* caption, uint32_t style) override {
        boxes.push_back({text, caption, style});
        return 1;
    }
};

struct Accepted {
    const char* commandLine;
    int32_t graph, device, test, parameter;
    const char* idText;
    const char* path;
};

class AcceptedLine : public ::testing::TestWithParam<Accepted> {};

TEST_P(AcceptedLine, FillsTheIdentifier) {
    const Accepted& c = GetParam();
    FixedDirectory dir;
    RecordingUser user;
    TestIdentifier id;
    ASSERT_EQ(ParseCommandLine(c.commandLine, id, dir, user), 0);
    EXPECT_TRUE(user.boxes.empty());
    EXPECT_EQ(id.graphNumber, c.graph);
    EXPECT_EQ(id.deviceNumber, c.device);
    EXPECT_EQ(id.testNumber, c.test);
    EXPECT_EQ(id.parameter, c.parameter);
    EXPECT_STREQ(id.testIdText, c.idText);
    EXPECT_STREQ(id.graphFilePath, c.path);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, AcceptedLine,
    ::testing::Values(Accepted{"tc1203", 1, 2, 3, 0, "tc1203", "C:\\ORBEX\\default.gf"},
                      Accepted{"tc1203 7", 1, 2, 3, 7, "tc1203 7", "C:\\ORBEX\\default.gf"},
                      Accepted{"TC1203", 1, 2, 3, 0, "tc1203", "C:\\ORBEX\\default.gf"},
                      Accepted{"  tc2200   -5 ", 2, 2, 0, -5, "tc2200 -5", "C:\\ORBEX\\default.gf"},
                      Accepted{"tc1203 12abc", 1, 2, 3, 12, "tc1203 12", "C:\\ORBEX\\default.gf"},
                      Accepted{"-g 1 -d 2 -t 3 -p 4 -f my.gf", 1, 2, 3, 4, "G1_D2_T3_P4_Fmy", "C:\\ORBEX\\my.gf"},
                      Accepted{"-t 5", 0, 0, 5, 0, "G0_D0_T5_P0_Fdefault", "C:\\ORBEX\\default.gf"},
                      Accepted{"-f sub\\a.gf", 0, 0, 0, 0, "G0_D0_T0_P0_Fsub", "C:\\ORBEX\\sub\\a.gf"},
                      Accepted{"-f default.gf", 0, 0, 0, 0, "G0_D0_T0_P0_Fdefault", "C:\\ORBEX\\default.gf"},
                      Accepted{"-g 2 -d 10 -t 1", 2, 10, 1, 0, "G2_D10_T1_P0_Fdefault", "C:\\ORBEX\\default.gf"},
                      Accepted{"-t 1 -t 2", 0, 0, 2, 0, "G0_D0_T2_P0_Fdefault", "C:\\ORBEX\\default.gf"},
                      Accepted{"-p 0", 0, 0, 0, 0, "G0_D0_T0_P0_Fdefault", "C:\\ORBEX\\default.gf"},
                      Accepted{"-p 99999999999", 0, 0, 0, 2147483647, "G0_D0_T0_P2147483647_Fdefault",
                               "C:\\ORBEX\\default.gf"},
                      Accepted{"", 0, 0, 0, 0, "", "C:\\ORBEX\\default.gf"},
                      Accepted{"     ", 0, 0, 0, 0, "", "C:\\ORBEX\\default.gf"}));

struct Rejected {
    const char* commandLine;
    const char* message;
};

class RejectedLine : public ::testing::TestWithParam<Rejected> {};

TEST_P(RejectedLine, ShowsTheMessageBoxAndLeavesNoIdentifier) {
    const Rejected& c = GetParam();
    FixedDirectory dir;
    RecordingUser user;
    TestIdentifier id;
    ASSERT_EQ(ParseCommandLine(c.commandLine, id, dir, user), 1);
    ASSERT_EQ(user.boxes.size(), 1u);
    EXPECT_EQ(user.boxes[0].text, c.message);
    EXPECT_EQ(user.boxes[0].caption, "Orbex:  Invalid Cmd Line Error");
    EXPECT_EQ(user.boxes[0].style, 0x1010u);
    EXPECT_STREQ(id.testIdText, "");
}

INSTANTIATE_TEST_SUITE_P(
    Lines, RejectedLine,
    ::testing::Values(
        Rejected{"tc123", "Invalid command."}, Rejected{"tc12034", "Invalid command."},
        Rejected{"tC1203", "Invalid command."}, Rejected{"Tc1203", "Invalid command."},
        Rejected{"tcx203", "Invalid command."}, Rejected{"x1203", "Invalid command."},
        Rejected{"tc1203 0", "Invalid parameter \"0\"."}, Rejected{"tc1203 x", "Invalid parameter \"x\"."},
        Rejected{"tc1203 7 8", "Too many parameters. Maximum 2 parameters allowed for legacy style command line."},
        Rejected{"-t -1", "Missing parameter for option \"-t\"."}, Rejected{"-x 3", "Invalid option \"-x\"."},
        Rejected{"-x", "Missing parameter for option \"-x\"."}, Rejected{"-gg 1", "Invalid option \"-gg\"."},
        Rejected{"-G 1", "Invalid option \"-G\"."}, Rejected{"-g abc", "Invalid parameter \"abc\" for option \"-g\"."},
        Rejected{"-g 1 2", "Invalid option \"2\"."}));

TEST(CommandLine, RejectionKeepsTheFieldsWrittenBeforeIt) {
    FixedDirectory dir;
    RecordingUser user;
    TestIdentifier id;
    ASSERT_EQ(ParseCommandLine("-g 3 -d 4 -x 1", id, dir, user), 1);
    EXPECT_EQ(id.graphNumber, 3);
    EXPECT_EQ(id.deviceNumber, 4);
}

TEST(CommandLine, AnOverlongLineIsCutAtTheWorkingBuffer) {
    FixedDirectory dir;
    RecordingUser user;
    TestIdentifier id;
    std::string line = "-f " + std::string(400, 'a') + ".gf";
    ASSERT_EQ(ParseCommandLine(line.c_str(), id, dir, user), 0);
    // The line is cut at 255 characters, so the name loses its extension, and
    // the texts built from it are cut at their buffers.
    EXPECT_EQ(std::string(id.testIdText), ("G0_D0_T0_P0_F" + std::string(252, 'a')).substr(0, 255));
    EXPECT_EQ(std::string(id.graphFilePath), ("C:\\ORBEX\\" + std::string(252, 'a')).substr(0, 259));
}

TEST(CommandLine, TheWorkingBufferHoldsTwoHundredFiftyFiveCharacters) {
    FixedDirectory dir;
    RecordingUser user;
    TestIdentifier id;
    std::string fits = std::string(251, ' ') + "-d 7";  // 255 characters
    ASSERT_EQ(ParseCommandLine(fits.c_str(), id, dir, user), 0);
    EXPECT_EQ(id.deviceNumber, 7);
    EXPECT_TRUE(user.boxes.empty());
    std::string cut = std::string(252, ' ') + "-d 7";  // 256: the value is cut off
    ASSERT_EQ(ParseCommandLine(cut.c_str(), id, dir, user), 1);
    ASSERT_EQ(user.boxes.size(), 1u);
    EXPECT_EQ(user.boxes[0].text, "Missing parameter for option \"-d\".");
    EXPECT_EQ(user.boxes[0].caption, "Orbex:  Invalid Cmd Line Error");
    EXPECT_EQ(user.boxes[0].style, 0x1010u);
}

TEST(CommandLine, IdentifierAndGraphFileAreCutAtTheirBuffers) {
    struct Case {
        size_t nameLength;
        size_t idLength;    // of at most 255
        size_t pathLength;  // of at most 259
    };
    for (const Case& c : {Case{242, 255, 251}, Case{243, 255, 252}, Case{250, 255, 259}, Case{251, 255, 259}}) {
        FixedDirectory dir;
        RecordingUser user;
        TestIdentifier id;
        const std::string name(c.nameLength, 'n');
        ASSERT_EQ(ParseCommandLine(("-f " + name).c_str(), id, dir, user), 0);
        EXPECT_EQ(std::string(id.testIdText), ("G0_D0_T0_P0_F" + name).substr(0, c.idLength)) << c.nameLength;
        EXPECT_EQ(std::string(id.graphFilePath), ("C:\\ORBEX\\" + name).substr(0, c.pathLength)) << c.nameLength;
    }
}

TEST(CommandLine, ACurrentDirectoryOfTwoHundredSixtyCharactersIsDropped) {
    RecordingUser user;
    for (auto [length, path] : {std::pair<size_t, std::string>{259, std::string(259, 'D')},
                                std::pair<size_t, std::string>{260, "\\default.gf"}}) {
        FixedDirectory dir;
        dir.dir = std::string(length, 'D');
        TestIdentifier id;
        ASSERT_EQ(ParseCommandLine("tc2200", id, dir, user), 0);
        EXPECT_EQ(std::string(id.graphFilePath), path) << length;
    }
}

}  // namespace
}  // namespace orbex
