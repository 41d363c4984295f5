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

TEST(BoardProfile, TheVideoPathSectionsRefuseWhatNoBoardHas) {
    struct Case {
        const char* text;
        const char* error;
    };
    for (const Case& c : {
             Case{"[Decoder]\nLock525=maybe\n", "b.ini:2: \"maybe\" is not signal, on or off"},
             Case{"[Decoder]\nAvailableStandards=0x100000\n",
                  "b.ini:2: \"0x100000\" has bits beyond the analog video standards (0xFFFFF)"},
             Case{"[Decoder]\nRefusalResult=0\n", "b.ini:2: a refusal is not S_OK"},
             Case{"[Source.Cable]\nSignal=present\n",
                  "b.ini:2: \"Cable\" is not a source (Tuner, Composite, SVideo or None)"},
             Case{"[Source.Tuner]\nLines=600\n", "b.ini:2: lines are 525 or 625"},
             Case{"[Source.Tuner]\nCoverage=101\n", "b.ini:2: coverage is a percentage, 0 to 100"},
             Case{"[Signal]\nRoute=Antenna\n",
                  "b.ini:2: \"Antenna\" is not a source (Tuner, Composite, SVideo or None)"},
             Case{"[Surface.X]\nPitch=65537\n", "b.ini:2: \"65537\" is out of range (0 to 65536)"},
             Case{"[Surface.X]\nPitch=65536\nHeight=1025\n", "b.ini:3: surface \"x\" needs more than 64 MiB"},
             Case{"[Surface]\nWidth=1\n", "b.ini:2: a [Surface] section needs a name"},
             Case{"[Surface.X]\nKind=Underlay\n",
                  "b.ini:2: \"Underlay\" is not OverlayFront, OverlayBack, Primary or Offscreen"},
             Case{"[TestBox]\nMissingEntry=cctbRead\n",
                  "b.ini:2: \"cctbRead\" is not an entry point of the test box library"},
             Case{"[OverlayMixer]\nFilter=maybe\n", "b.ini:2: \"maybe\" is neither \"present\" nor \"absent\""},
             Case{"[Profile]\nBasis=reference\n", "b.ini:2: unknown key \"Basis\" in [Profile]"},
             Case{"[Machine]\nBuild=1\n[Profile]\nBase=reference\n", "b.ini:4: Base= must come before every other key"},
             Case{"[Profile]\nBase=nowhere.ini\n", "b.ini:2: cannot open the base profile \"nowhere.ini\""},
             Case{"[Profile]\nBase=\n", "b.ini:2: Base= names the reference board or a profile file"},
             Case{"[VideoMemory]\nTotal=100\nFree=101\n", "b.ini:3: free video memory cannot exceed the total"},
             Case{"[VideoMemory]\nTotal=100\n", "b.ini:2: free video memory cannot exceed the total"},
         }) {
        std::string error;
        EXPECT_FALSE(ParseBoardProfile(c.text, "b.ini", error)) << c.text;
        EXPECT_EQ(error, c.error) << c.text;
    }
}

// A profile saved on Windows: CRLF line ends, tabs around keys and values,
// section and key names in any case.
TEST(BoardProfile, LinesAreTrimmedOfBlanksTabsAndCarriageReturnsAndNamesMatchInAnyCase) {
    std::string error;
    auto p = ParseBoardProfile(
        "[PROFILE]\r\nBase=reference\r\n\t[DECODER]\t\r\n\tLINES525 =\t524 \r\n"
        "  ; a comment\r\n\r\n[surface.Front]\r\nheight=240\r\n",
        "b.ini", error);
    ASSERT_TRUE(p) << error;
    EXPECT_EQ(p->decoder.lines[kGroupNtsc], 524);
    EXPECT_EQ(p->overlay.surfaces.at("front").height, 240u);

    // A key is its whole name: neither a prefix nor a longer name matches it.
    struct Case {
        const char* text;
        const char* error;
    };
    for (const Case& c :
         std::initializer_list<Case>{{"[Decoder]\nLines52=524\n", "b.ini:2: unknown key \"Lines52\" in [Decoder]"},
                                     {"[Decoder]\nLines5255=524\n", "b.ini:2: unknown key \"Lines5255\" in [Decoder]"},
                                     {"[Decode]\nLines525=1\n", "b.ini:1: unknown section [Decode]"},
                                     {"[Profiles]\nBase=reference\n", "b.ini:1: unknown section [Profiles]"},
                                     {"[Profile]\nBases=reference\n", "b.ini:2: unknown key \"Bases\" in [Profile]"}}) {
        EXPECT_FALSE(ParseBoardProfile(c.text, "b.ini", error)) << c.text;
        EXPECT_EQ(error, c.error) << c.text;
    }
}

TEST(BoardProfile, ABaseProfileIsReadFirstAndItsKeysCanBeChanged) {
    std::string error;
    auto p = ParseBoardProfile("[Profile]\nBase=reference\n[Decoder]\nLines525=524\n[Surface.Front]\nHeight=240\n",
                               "b.ini", error);
    ASSERT_TRUE(p) << error;
    EXPECT_EQ(p->source, "b.ini");
    EXPECT_EQ(p->display.mmTable.size(), 12u);  // from the reference board
    EXPECT_EQ(p->decoder.available, 0x203u);
    EXPECT_EQ(p->decoder.lines[kGroupNtsc], 524);
    EXPECT_EQ(p->overlay.surfaces.at("front").height, 240u);
    EXPECT_EQ(p->overlay.surfaces.at("front").pitch, 1440);
    EXPECT_EQ(p->overlay.surfaces.at("back").height, 480u);
    EXPECT_TRUE(p->media.devices[2].decoder);

    // A device section of the base's name changes that device; a new name adds one.
    p = ParseBoardProfile(
        "[Profile]\nBase=reference\n[Device.Capture]\nDecoder=absent\n[device.extra]\n"
        "Category=TvAudio\nFriendlyName=Audio\n",
        "b.ini", error);
    ASSERT_TRUE(p) << error;
    ASSERT_EQ(p->media.devices.size(), 4u);
    EXPECT_FALSE(p->media.devices[2].decoder);
    EXPECT_EQ(p->media.devices[2].friendlyName, "Qel Video Capture");
    EXPECT_EQ(p->media.devices[3].friendlyName, "Audio");

    // A file base is found beside the profile; a base of a base is read too, up to a depth.
    std::string dir = ::testing::TempDir();
    auto write = [&](const std::string& name, const std::string& text) {
        FILE* f = std::fopen((dir + name).c_str(), "wb");
        ASSERT_NE(f, nullptr);
        std::fputs(text.c_str(), f);
        std::fclose(f);
    };
    write("orbex-base-a.ini", "[Profile]\nBase=reference\n[VideoMemory]\nLeak=7\n");
    write("orbex-base-b.ini", "[Profile]\nBase=orbex-base-a.ini\n[Decoder]\nLock525=off\n");
    auto b = LoadBoardProfile(dir + "orbex-base-b.ini", error);
    ASSERT_TRUE(b) << error;
    EXPECT_EQ(b->videoMemory.leak, 7u);
    EXPECT_EQ(b->decoder.lock[kGroupNtsc], LockMode::Off);
    write("orbex-base-loop.ini", "[Profile]\nBase=orbex-base-loop.ini\n");
    EXPECT_FALSE(LoadBoardProfile(dir + "orbex-base-loop.ini", error));
    EXPECT_NE(error.find("profiles based on each other more than 8 deep"), std::string::npos) << error;
}

}  // namespace
}  // namespace orbex::sim
