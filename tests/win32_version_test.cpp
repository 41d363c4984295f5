// The file-version glue of the Win32 adapter on real version resources (DLLs
// of this build, made with the resource compiler) under Wine: the three calls
// directly, and the component checker's version test through them.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/win32/win32_platform.h"
#include "support/bench.h"

namespace orbex::win32 {
namespace {

// The sample DLLs, copied from beside the test program into a folder of the
// Windows directory (the version test names files relative to it).
class VersionFiles : public ::testing::Test {
protected:
    static constexpr const char* kFolder = "orbexver";
    static constexpr const char* kNames[] = {"verinfo_current.dll", "verinfo_fallback.dll", "verinfo_nostring.dll",
                                             "verinfo_none.dll"};

    void SetUp() override {
        char module[MAX_PATH] = "";
        ASSERT_GT(GetModuleFileNameA(nullptr, module, sizeof module), 0u);
        std::string from(module);
        from.erase(from.find_last_of('\\') + 1);
        char windows[MAX_PATH] = "";
        ASSERT_GT(GetWindowsDirectoryA(windows, sizeof windows), 0u);
        m_dir = std::string(windows) + "\\" + kFolder;
        CreateDirectoryA(m_dir.c_str(), nullptr);
        for (const char* name : kNames)
            ASSERT_TRUE(CopyFileA((from + name).c_str(), Path(name).c_str(), FALSE)) << name << " " << GetLastError();
    }
    void TearDown() override {
        for (const char* name : kNames) DeleteFileA(Path(name).c_str());
        RemoveDirectoryA(m_dir.c_str());
    }
    std::string Path(const char* name) const { return m_dir + "\\" + name; }

    // The whole block of a file through the port; empty when it has none.
    std::vector<uint8_t> Block(port::IFileSystem& files, const std::string& path) {
        uint32_t size = files.FileVersionInfoSize(path.c_str());
        if (size == 0) return {};
        std::vector<uint8_t> block(size, 0);
        if (!files.FileVersionInfo(path.c_str(), size, block.data())) return {};
        return block;
    }
    // A string value of the block, within the length the query gives.
    static std::string Text(port::IFileSystem& files, const std::vector<uint8_t>& block, const char* query) {
        const void* value = nullptr;
        uint32_t length = 0;
        if (!files.QueryVersionValue(block.data(), query, &value, &length)) return "<none>";
        std::string text(static_cast<const char*>(value), length);
        return text.substr(0, text.find('\0'));
    }

    std::string m_dir;
};

TEST_F(VersionFiles, TheThreeCallsReadTheResourceOfTheFile) {
    auto platform = CreateWin32Platform();
    port::IFileSystem& files = platform->Files();

    std::vector<uint8_t> block = Block(files, Path("verinfo_current.dll"));
    ASSERT_FALSE(block.empty());
    const void* value = nullptr;
    uint32_t length = 0;
    ASSERT_TRUE(files.QueryVersionValue(block.data(), "\\", &value, &length));
    ASSERT_EQ(length, sizeof(VS_FIXEDFILEINFO));
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(fixed->dwFileVersionMS, 5u << 16 | 0u);
    EXPECT_EQ(fixed->dwFileVersionLS, 2195u << 16 | 1u);

    ASSERT_TRUE(files.QueryVersionValue(block.data(), "\\VarFileInfo\\Translation", &value, &length));
    ASSERT_EQ(length, 4u);
    const auto* translation = static_cast<const uint8_t*>(value);
    EXPECT_EQ(std::vector<uint8_t>(translation, translation + 4), (std::vector<uint8_t>{0x09, 0x04, 0xB0, 0x04}));
    EXPECT_EQ(Text(files, block, "\\StringFileInfo\\040904b0\\FileVersion"), "5.0.2195.1");
    EXPECT_EQ(Text(files, block, "\\StringFileInfo\\040904b0\\CompanyName"), "Qel Technologies");
    EXPECT_EQ(Text(files, block, "\\StringFileInfo\\040904E4\\FileVersion"), "<none>");

    // The translation names a table the file lacks; the US English ANSI one has the version.
    block = Block(files, Path("verinfo_fallback.dll"));
    ASSERT_FALSE(block.empty());
    ASSERT_TRUE(files.QueryVersionValue(block.data(), "\\VarFileInfo\\Translation", &value, &length));
    ASSERT_EQ(length, 4u);
    translation = static_cast<const uint8_t*>(value);
    EXPECT_EQ(std::vector<uint8_t>(translation, translation + 4), (std::vector<uint8_t>{0x07, 0x04, 0xE4, 0x04}));
    EXPECT_EQ(Text(files, block, "\\StringFileInfo\\040704e4\\FileVersion"), "<none>");
    EXPECT_EQ(Text(files, block, "\\StringFileInfo\\040904E4\\FileVersion"), "4.10.0.7");

    // A resource whose only table lacks the string.
    block = Block(files, Path("verinfo_nostring.dll"));
    ASSERT_FALSE(block.empty());
    EXPECT_EQ(Text(files, block, "\\StringFileInfo\\040704b0\\ProductVersion"), "2.0.0.1");
    EXPECT_EQ(Text(files, block, "\\StringFileInfo\\040704b0\\FileVersion"), "<none>");
    EXPECT_EQ(Text(files, block, "\\StringFileInfo\\040904E4\\FileVersion"), "<none>");

    // No resource, no file, no name: no size, and nothing is read.
    for (const std::string& path : {Path("verinfo_none.dll"), Path("missing.dll")}) {
        EXPECT_EQ(files.FileVersionInfoSize(path.c_str()), 0u) << path;
        std::vector<uint8_t> room(256, 0);
        EXPECT_FALSE(files.FileVersionInfo(path.c_str(), static_cast<uint32_t>(room.size()), room.data())) << path;
    }
    EXPECT_EQ(files.FileVersionInfoSize(nullptr), 0u);
    EXPECT_FALSE(files.FileVersionInfo(nullptr, 16, block.data()));
    EXPECT_FALSE(files.QueryVersionValue(nullptr, "\\", &value, &length));
}

// The virtual board, except that the Windows directory and the version
// resources are the real ones: the component database still comes from the
// bench's orbex.ini.
class RealVersionFiles final : public port::IPlatform, private port::ISystemInfo, private port::IFileSystem {
public:
    explicit RealVersionFiles(sim::VirtualBoard& board) : m_board(board), m_real(CreateWin32Platform()) {}

    port::IClock& Clock() override { return m_board.Clock(); }
    port::ISystemInfo& System() override { return *this; }
    port::IUser& User() override { return m_board.User(); }
    port::ILibraryLoader& Libraries() override { return m_board.Libraries(); }
    port::IComRuntime& Com() override { return m_board.Com(); }
    port::IProfile& Profile() override { return m_board.Profile(); }
    port::IRegistry& Registry() override { return m_board.Registry(); }
    port::IFileSystem& Files() override { return *this; }
    port::ICommandRunner& Commands() override { return m_board.Commands(); }
    port::IDisplay& Display() override { return m_board.Display(); }
    port::IDirectDrawRuntime& DirectDraw() override { return m_board.DirectDraw(); }
    port::IDesktop& Desktop() override { return m_board.Desktop(); }
    port::IDeviceIo& DeviceIo() override { return m_board.DeviceIo(); }
    port::IDeviceSetup& DeviceSetup() override { return m_board.DeviceSetup(); }

    int m_versionCalls = 0;

private:
    uint32_t CurrentDirectoryPath(uint32_t size, char* buffer) override {
        return m_board.System().CurrentDirectoryPath(size, buffer);
    }
    uint32_t SystemDirectoryPath(char* buffer, uint32_t size) override {
        return m_board.System().SystemDirectoryPath(buffer, size);
    }
    uint32_t WindowsDirectoryPath(char* buffer, uint32_t size) override {
        return m_real->System().WindowsDirectoryPath(buffer, size);
    }
    bool QueryVersion(OsVersion& out) override { return m_board.System().QueryVersion(out); }

    bool CreateEmptyFile(const char* path) override { return m_board.Files().CreateEmptyFile(path); }
    bool OpenFileExists(const char* name, char* buffer, uint32_t size) override {
        return m_board.Files().OpenFileExists(name, buffer, size);
    }
    uint32_t FileVersionInfoSize(const char* path) override {
        ++m_versionCalls;
        return m_real->Files().FileVersionInfoSize(path);
    }
    bool FileVersionInfo(const char* path, uint32_t size, void* block) override {
        return m_real->Files().FileVersionInfo(path, size, block);
    }
    bool QueryVersionValue(const void* block, const char* subBlock, const void** value, uint32_t* length) override {
        return m_real->Files().QueryVersionValue(block, subBlock, value, length);
    }
    port::FindHandle FindFirst(const char* pattern, char* name, uint32_t size) override {
        return m_board.Files().FindFirst(pattern, name, size);
    }
    bool FindNext(port::FindHandle find, char* name, uint32_t size) override {
        return m_board.Files().FindNext(find, name, size);
    }
    void FindClose(port::FindHandle find) override { m_board.Files().FindClose(find); }
    port::TextFile OpenTextFile(const char* path) override { return m_board.Files().OpenTextFile(path); }
    bool ReadTextLine(port::TextFile file, char* buffer, int32_t size) override {
        return m_board.Files().ReadTextLine(file, buffer, size);
    }
    void CloseTextFile(port::TextFile file) override { m_board.Files().CloseTextFile(file); }

    sim::VirtualBoard& m_board;
    std::unique_ptr<port::IPlatform> m_real;
};

struct VersionCase {
    const char* file;
    const char* version;  // the record's
    int status;
    const char* expected;
    const char* actual;
};

TEST_F(VersionFiles, TheVersionTestPassesAndFailsOnRealResources) {
    const VersionCase cases[] = {
        {"verinfo_current.dll", "5.0.2195.1", 4, "Expected Version = 5.0.2195.1", "[Pass] Actual Version = 5.0.2195.1"},
        {"verinfo_current.dll", "5.0.2195.0", 4, "Expected Version = 5.0.2195.0",
         "[Pass] +1 difference warning. Actual Version = 5.0.2195.1"},
        {"verinfo_current.dll", "5.0.2195.2", 0, "Expected Version = 5.0.2195.2",
         "[Fail]**** Actual Version = 5.0.2195.1"},
        {"verinfo_current.dll", "5.0.2194.1", 0, "Expected Version = 5.0.2194.1",
         "[Fail]**** Actual Version = 5.0.2195.1"},
        {"verinfo_current.dll", "5.0.2195", 0, "Expected Version = 5.0.2195", "[Fail]**** Actual Version = 5.0.2195.1"},
        {"verinfo_fallback.dll", "4.10.0.7", 4, "Expected Version = 4.10.0.7", "[Pass] Actual Version = 4.10.0.7"},
        {"verinfo_nostring.dll", "2.0.0.1", 0, "Expected Version = 2.0.0.1",
         "[Fail]**** Failed to get file version info."},
        {"verinfo_none.dll", "1.0", 0, "Able to get version info.", "[Fail]**** Unable to get version info."},
        {"missing.dll", "1.0", 0, "Able to get version info.", "[Fail]**** Unable to get version info."},
    };
    for (const VersionCase& c : cases) {
        RealVersionFiles* platform = nullptr;
        testing::Bench bench(testing::Bench::Board(), [&](sim::VirtualBoard& board) {
            auto decorated = std::make_unique<RealVersionFiles>(board);
            platform = decorated.get();
            return decorated;
        });
        bench.WriteDefaultGraph();
        bench.WriteFile("orbex.ini", std::string("[FileInfo]\nsample=2,1,1,0,0\n[sample]\nPath=") + kFolder + "\\" +
                                         c.file + "\nVersion=" + c.version + "\n");
        EXPECT_EQ(bench.Run("tc6900"), c.status) << c.file << " " << c.version;
        EXPECT_EQ(platform->m_versionCalls, 1);
        const std::string description = std::string("Checking version of ") + kFolder + "\\" + c.file + ".";
        const char* summary = c.status == 4 ? "[Pass] All file versions are correct."
                                            : "[Fail]**** One or more file version is incorrect.";
        EXPECT_EQ(bench.Reports(), (std::vector<std::string>{
                                       testing::ReportJson("tc6900", "1", c.status, description, c.expected, c.actual),
                                       testing::ReportJson("tc6900", "tc6900", c.status, "Test Summary",
                                                           "All file versions are correct.", summary)}))
            << c.file << " " << c.version;
    }
}

}  // namespace
}  // namespace orbex::win32
