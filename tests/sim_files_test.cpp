// The virtual board's declared files: the version resources it lays out for
// the version calls, the spelling a file keeps, and the clock that stamps
// every log line.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/sim/machine/clock.h"
#include "platform/sim/machine/files.h"
#include "support/bench.h"

namespace orbex::testing {
namespace {

sim::VirtualFiles& FilesOf(Bench& bench) {
    return dynamic_cast<sim::VirtualFiles&>(bench.Platform().Files());
}

TEST(VirtualFiles, AVersionResourceIsTheLastDeclarationCutToTheCallersBuffer) {
    Bench bench(
        Bench::Board("[Files]\nVersionedFile=C:\\WINNT\\system32\\x.sys|5.0.2195.1\n"
                     "VersionedFile=C:\\WINNT\\SYSTEM32\\X.SYS|5.0.2195.7\n"));
    sim::VirtualFiles& files = FilesOf(bench);
    // 12 bytes of header, "\StringFileInfo\040904B0\FileVersion", the
    // version, the product version's path and value, and the empty end.
    const char* path = "c:\\winnt\\System32\\x.SYS";
    ASSERT_EQ(files.FileVersionInfoSize(path), 112u);

    std::vector<uint8_t> room(32, 0xCC);
    ASSERT_TRUE(files.FileVersionInfo(path, 20, room.data()));
    EXPECT_EQ(room[0] | room[1] << 8 | room[2] << 16 | room[3] << 24, 112);
    for (size_t i = 20; i < room.size(); ++i) EXPECT_EQ(room[i], 0xCC) << "byte " << i;

    std::vector<uint8_t> block(112, 0);
    ASSERT_TRUE(files.FileVersionInfo(path, 112, block.data()));
    const void* value = nullptr;
    uint32_t length = 0;
    ASSERT_TRUE(files.QueryVersionValue(block.data(), "\\StringFileInfo\\040904B0\\FileVersion", &value, &length));
    EXPECT_STREQ(static_cast<const char*>(value), "5.0.2195.7");
    EXPECT_EQ(length, 11u);

    EXPECT_EQ(files.FileVersionInfoSize("C:\\WINNT\\system32\\y.sys"), 0u);
    EXPECT_FALSE(files.FileVersionInfo("C:\\WINNT\\system32\\y.sys", 32, room.data()));
}

TEST(VirtualFiles, AFileKeepsTheSpellingItWasFirstDeclaredOrMadeWith) {
    Bench bench(
        Bench::Board("[Files]\nFile=C:\\WINNT\\SYSTEM32\\SCRNSAVE.SCR\nFile=C:\\ORBEX\\Extra.DLL\n"
                     "VersionedFile=C:\\orbex\\EXTRA.dll|1.0.0.1\n"));
    sim::VirtualFiles& files = FilesOf(bench);
    EXPECT_EQ(files.StoredName("c:\\winnt\\system32\\SCRNSAVE.scr"), "scrnsave.scr");  // the reference board's
    EXPECT_EQ(files.StoredName("c:\\orbex\\extra.dll"), "Extra.DLL");                  // a File before a VersionedFile
    EXPECT_EQ(files.StoredName("c:\\orbex\\new.dat"), std::nullopt);

    files.Add("C:\\ORBEX\\EXTRA.DLL");
    EXPECT_EQ(files.StoredName("C:\\orbex\\Extra.dll"), "Extra.DLL");
    files.Add("C:\\ORBEX\\New.Dat");
    files.Add("C:\\ORBEX\\NEW.DAT");
    EXPECT_EQ(files.StoredName("c:\\orbex\\new.dat"), "New.Dat");
    EXPECT_TRUE(files.Exists("C:\\Orbex\\NEW.dat"));
    EXPECT_FALSE(files.Exists("C:\\Orbex\\NEW.da"));
}

TEST(VirtualClock, StampsTheProfilesLocalTimePlusTheVirtualTimePassed) {
    sim::MachineConfig machine;
    machine.localTime = "2000-02-28T23:59:59";
    sim::VirtualClock clock(machine);
    EXPECT_EQ(clock.LocalTimeText(), "2000-02-28T23:59:59.000");
    clock.Sleep(1234);
    EXPECT_EQ(clock.LocalTimeText(), "2000-02-29T00:00:00.234");
    clock.Sleep(86400000);
    EXPECT_EQ(clock.LocalTimeText(), "2000-03-01T00:00:00.234");
}

}  // namespace
}  // namespace orbex::testing
