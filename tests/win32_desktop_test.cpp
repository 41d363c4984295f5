// The Win32 desktop glue against the real system (run under Wine in
// `make test`): the screen saver setting, the cursor, the window lookup and
// the file search; and the screen saver phase's end over the virtual board
// with the real desktop in its place. Nothing here suspends the machine.
// clang-format off
#include <windows.h>
// clang-format on

#include "platform/win32/win32_desktop.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <memory>
#include <string>

#include "cases/stream/orb_stream.h"
#include "graph/orb_gbuilder.h"
#include "support/bench.h"
#include "support/sys_bench.h"

namespace orbex::win32 {
namespace {

bool ScreenSaverActive(port::IDesktop& desktop, int32_t& active) {
    active = -1;
    return desktop.SystemParameters(port::kSpiGetScreenSaveActive, 0, &active, 0);
}

TEST(Win32Desktop, TheScreenSaverSettingIsSwitchedAndRestored) {
    auto desktop = CreateWin32Desktop();
    int32_t was = -1;
    ASSERT_TRUE(ScreenSaverActive(*desktop, was));
    ASSERT_TRUE(was == 0 || was == 1) << was;
    uint32_t flipped = was ? 0 : 1;
    ASSERT_TRUE(desktop->SystemParameters(port::kSpiSetScreenSaveActive, flipped, nullptr, 0));
    int32_t now = -1;
    ASSERT_TRUE(ScreenSaverActive(*desktop, now));
    EXPECT_EQ(now, static_cast<int32_t>(flipped));
    EXPECT_TRUE(desktop->SystemParameters(port::kSpiSetScreenSaveActive, static_cast<uint32_t>(was), nullptr,
                                          port::kSpifSendWinIniChange));
    ASSERT_TRUE(ScreenSaverActive(*desktop, now));
    EXPECT_EQ(now, was);
}

TEST(Win32Desktop, TheCursorGoesWhereItIsSentAndBack) {
    auto desktop = CreateWin32Desktop();
    port::CursorPoint was, at;
    ASSERT_TRUE(desktop->GetCursorPos(was));
    ASSERT_TRUE(desktop->SetCursorPos(100, 100));
    ASSERT_TRUE(desktop->GetCursorPos(at));
    EXPECT_EQ(at.x, 100);
    EXPECT_EQ(at.y, 100);
    ASSERT_TRUE(desktop->SetCursorPos(was.x, was.y));
    ASSERT_TRUE(desktop->GetCursorPos(at));
    EXPECT_EQ(at.x, was.x);
    EXPECT_EQ(at.y, was.y);
}

TEST(Win32Desktop, NoScreenSaverWindowIsFoundWhenNoneRuns) {
    auto desktop = CreateWin32Desktop();
    EXPECT_EQ(desktop->FindTopWindow("WindowsScreenSaverClass", nullptr), 0u);
    EXPECT_FALSE(desktop->PostWindowMessage(0x7FFFFFF0, port::kWmClose, 0, 0)) << "no such window";
}

TEST(Win32Desktop, FindFileNameGivesTheNameAsTheFileSystemHasIt) {
    char dir[MAX_PATH] = "";
    ASSERT_GT(GetTempPathA(sizeof dir, dir), 0u);
    std::string stored = std::string(dir) + "OrbexSaver.SCR";
    std::ofstream(stored) << "x";
    auto desktop = CreateWin32Desktop();
    char name[MAX_PATH];
    ASSERT_TRUE(desktop->FindFileName((std::string(dir) + "orbexsaver.scr").c_str(), name, sizeof name));
    EXPECT_STREQ(name, "OrbexSaver.SCR");
    char small[6];
    std::memset(small, 'x', sizeof small);
    ASSERT_TRUE(desktop->FindFileName(stored.c_str(), small, sizeof small));
    EXPECT_STREQ(small, "Orbex") << "cut to the buffer";
    DeleteFileA(stored.c_str());
    EXPECT_FALSE(desktop->FindFileName(stored.c_str(), name, sizeof name));
    EXPECT_STREQ(name, "");
}

// The virtual board with the real desktop in its place.
class RealDesktop final : public port::IPlatform {
public:
    explicit RealDesktop(sim::VirtualBoard& board) : m_board(board), m_desktop(CreateWin32Desktop()) {}

    port::IClock& Clock() override { return m_board.Clock(); }
    port::ISystemInfo& System() override { return m_board.System(); }
    port::IUser& User() override { return m_board.User(); }
    port::ILibraryLoader& Libraries() override { return m_board.Libraries(); }
    port::IComRuntime& Com() override { return m_board.Com(); }
    port::IProfile& Profile() override { return m_board.Profile(); }
    port::IRegistry& Registry() override { return m_board.Registry(); }
    port::IFileSystem& Files() override { return m_board.Files(); }
    port::ICommandRunner& Commands() override { return m_board.Commands(); }
    port::IDisplay& Display() override { return m_board.Display(); }
    port::IDirectDrawRuntime& DirectDraw() override { return m_board.DirectDraw(); }
    port::IDesktop& Desktop() override { return *m_desktop; }
    port::IDeviceIo& DeviceIo() override { return m_board.DeviceIo(); }
    port::IDeviceSetup& DeviceSetup() override { return m_board.DeviceSetup(); }

private:
    sim::VirtualBoard& m_board;
    std::unique_ptr<port::IDesktop> m_desktop;
};

// Ends the screen saver phase on each family with the real desktop: the
// cursor ends where it was, and the setting is on afterwards.
TEST(Win32Desktop, TheScreenSaverPhaseEndsWithTheCursorWhereItWasAndTheSettingOn) {
    auto desktop = CreateWin32Desktop();
    int32_t was = -1;
    ASSERT_TRUE(ScreenSaverActive(*desktop, was));
    for (const char* machine : {"[Machine]\nPlatform=NT\n", "[Machine]\nPlatform=9x\n"}) {
        testing::Bench bench(testing::Bench::Board(machine),
                             testing::Bench::Decorate([](sim::VirtualBoard& board) -> std::unique_ptr<port::IPlatform> {
                                 return std::make_unique<RealDesktop>(board);
                             }));
        bench.WriteFile("default.gf", testing::ExampleFile("default.gf"));
        bench.Run("-g 2 -d 10 -t 1");
        COrbStream* stream = bench.Process().GraphBuilder().Stream();
        ASSERT_NE(stream, nullptr);
        ASSERT_TRUE(desktop->SystemParameters(port::kSpiSetScreenSaveActive, 0, nullptr, 0));
        port::CursorPoint before, after;
        ASSERT_TRUE(desktop->SetCursorPos(321, 123));
        ASSERT_TRUE(desktop->GetCursorPos(before));
        EXPECT_EQ(stream->ScreenSaver(0), 0) << machine;
        EXPECT_EQ(stream->LowPower(0), 0) << machine;
        ASSERT_TRUE(desktop->GetCursorPos(after));
        EXPECT_EQ(after.x, before.x) << machine;
        EXPECT_EQ(after.y, before.y) << machine;
        int32_t now = -1;
        ASSERT_TRUE(ScreenSaverActive(*desktop, now));
        EXPECT_EQ(now, 1) << machine;
    }
    desktop->SystemParameters(port::kSpiSetScreenSaveActive, static_cast<uint32_t>(was), nullptr, 0);
}

}  // namespace
}  // namespace orbex::win32
