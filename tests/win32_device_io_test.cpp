// The device I/O port over kernel32 (Windows build, under Wine in `make
// test`): the board's kernel driver does not exist there, so the open fails
// with the system's error and the feature-mask test reports every key as
// unreachable.
// clang-format off
#include <windows.h>
// clang-format on

#include "platform/win32/win32_device_io.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/bench.h"

namespace orbex::win32 {
namespace {

TEST(Win32DeviceIo, TheMissingDriverFailsToOpenWithTheSystemsError) {
    auto io = CreateWin32DeviceIo();
    port::DeviceHandle device = io->OpenDevice("\\\\.\\qel2vxag.vxd", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(device, port::kInvalidDeviceHandle);
    EXPECT_NE(io->GetLastError(), 0u);
}

TEST(Win32DeviceIo, AnOpenFileTakesAnIoControlAndCloses) {
    // A real file: DeviceIoControl on it is refused by the system, the handle closes.
    char path[MAX_PATH];
    ASSERT_NE(GetTempPathA(sizeof path, path), 0u);
    std::string file = std::string(path) + "orbex_device_io.tmp";
    HANDLE h = ::CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    ::CloseHandle(h);
    auto io = CreateWin32DeviceIo();
    port::DeviceHandle device = io->OpenDevice(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL);
    ASSERT_NE(device, port::kInvalidDeviceHandle);
    uint8_t in[76] = {}, out[64] = {};
    uint32_t returned = 7;
    EXPECT_FALSE(io->DeviceIoControl(device, 0x51454CF3, in, sizeof in, out, sizeof out, &returned));
    EXPECT_NE(io->GetLastError(), 0u);
    EXPECT_TRUE(io->CloseHandle(device));
    DeleteFileA(file.c_str());
}

// The virtual board in a Windows 98 machine, except that the kernel driver is
// reached through the real device I/O.
class RealDeviceIo final : public port::IPlatform {
public:
    explicit RealDeviceIo(sim::VirtualBoard& board) : m_board(board), m_io(CreateWin32DeviceIo()) {}

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
    port::IDesktop& Desktop() override { return m_board.Desktop(); }
    port::IDeviceIo& DeviceIo() override { return *m_io; }
    port::IDeviceSetup& DeviceSetup() override { return m_board.DeviceSetup(); }

private:
    sim::VirtualBoard& m_board;
    std::unique_ptr<port::IDeviceIo> m_io;
};

TEST(Win32DeviceIo, WithoutTheDriverEveryMaskKeyFails) {
    testing::Bench bench(testing::Bench::Board("[Machine]\nPlatform=9x\nMajorVersion=4\nMinorVersion=10\n"),
                         testing::Bench::Decorate([](sim::VirtualBoard& board) -> std::unique_ptr<port::IPlatform> {
                             return std::make_unique<RealDeviceIo>(board);
                         }));
    bench.WriteFile("orbex.ini",
                    "[MMMask]\nA=0x3287\nB=0x2085\n[MMTable]\nA=QelTV-NTSC,1,0,0,0,0,1,0,1,2,3,0,0\n"
                    "B=QelCapture,0,0,0,0,0,2,0,2,3,0,0,0\n");
    EXPECT_EQ(bench.Run("tc5010"), 0);
    std::vector<std::string> reports = bench.Reports();
    int unreachable = 0;
    for (const std::string& r : reports)
        if (r.find("\"actual\":\"Failed to receive a mask from Maskon.\"") != std::string::npos) ++unreachable;
    EXPECT_EQ(unreachable, 2);
    ASSERT_FALSE(reports.empty());
    EXPECT_NE(reports.back().find("[Fail]**** One or more returned mask is invalid."), std::string::npos);
}

}  // namespace
}  // namespace orbex::win32
