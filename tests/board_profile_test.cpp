// Board profiles: every mistake is refused with its file and line, so that a
// typo never passes for an injected fault.
#include "platform/sim/profile/board_profile.h"

#include <gtest/gtest.h>

namespace orbex::sim {
namespace {

TEST(BoardProfile, TheBuiltInReferenceBoardParses) {
    std::string error;
    auto p = ParseBoardProfile(ReferenceBoardText(), "ref", error);
    ASSERT_TRUE(p) << error;
    EXPECT_EQ(p->display.mmTable.size(), 12u);
    EXPECT_EQ(p->media.devices.size(), 3u);
    EXPECT_EQ(p->machine.os.major, 5u);
}

TEST(BoardProfile, MistakesAreRefusedWithFileAndLine) {
    struct Case {
        const char* text;
        const char* error;
    };
    for (const Case& c : {
             Case{"[Machine]\nPlatfrom=NT\n", "b.ini:2: unknown key \"Platfrom\" in [Machine]"},
             Case{"[Machin]\n", "b.ini:1: unknown section [Machin]"},
             Case{"[Faults]\nAddFiltre=1\n", "b.ini:2: unknown fault operation \"AddFiltre\""},
             Case{"[Faults]\nAddFilter=oops\n", "b.ini:2: \"oops\" is not a number"},
             Case{"[Display]\nMMTable=01 02 0G\n", "b.ini:2: \"0G\" is not a hexadecimal byte"},
             Case{"[Display]\nMMTable=00 00 00 00 00 00 00 00 00 00 00 00 00\n",
                  "b.ini:2: the MMTable holds at most 12 bytes and the HWTable 10"},
             Case{"[Components]\nResultLibrary=maybe\n", "b.ini:2: \"maybe\" is neither \"present\" nor \"absent\""},
             Case{"k=v\n", "b.ini:1: key before the first section"},
             Case{"[Machine]\njunk\n", "b.ini:2: line without \"=\""},
             Case{"[Device.X]\nCategory=Crossbar\nPins=sideways:a:analog\n",
                  "b.ini:3: pin direction \"sideways\" is neither in nor out"},
             Case{"[Device.X]\nCategory=Nowhere\n", "b.ini:2: \"Nowhere\" is not a device category"},
             Case{"[Device.X]\nCategory=Crossbar\n", "b.ini:2: a [Device] section lacks FriendlyName"},
             Case{"[Registry]\nValue=a|b|qword|1\n", "b.ini:2: registry type \"qword\" is not sz, dword or binary"},
         }) {
        std::string error;
        EXPECT_FALSE(ParseBoardProfile(c.text, "b.ini", error)) << c.text;
        EXPECT_EQ(error, c.error) << c.text;
    }
}

TEST(BoardProfile, FaultsTakeCodeCountAndSkip) {
    std::string error;
    auto p = ParseBoardProfile("[Faults]\nConnectDirect=0x80004005,2,1\nRun=-1\n", "b.ini", error);
    ASSERT_TRUE(p) << error;
    EXPECT_EQ(p->faults["ConnectDirect"].code, static_cast<HResult>(0x80004005));
    EXPECT_EQ(p->faults["ConnectDirect"].count, 2);
    EXPECT_EQ(p->faults["ConnectDirect"].skip, 1);
    EXPECT_EQ(p->faults["Run"].code, -1);
    EXPECT_EQ(p->faults["Run"].count, -1);
}

TEST(BoardProfile, AMissingFileIsAClearError) {
    std::string error;
    EXPECT_FALSE(LoadBoardProfile("/nonexistent/board.ini", error));
    EXPECT_EQ(error, "/nonexistent/board.ini: cannot open the board profile");
}

}  // namespace
}  // namespace orbex::sim
