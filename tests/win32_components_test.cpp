// The Win32 adapter's ports of the component checker under Wine: the file
// search and text lines over the prefix's real inf files, SetupAPI and the
// registry's subkey enumeration whatever the prefix holds, and the device
// enumerator's friendly names of filters really registered in the prefix.
// clang-format off
#include <windows.h>
// clang-format on

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "cases/comchk/inf_index.h"
#include "platform/guids.h"
#include "platform/win32/win32_platform.h"

namespace orbex::win32 {
namespace {

std::string WindowsDirectory(port::IPlatform& platform) {
    char dir[MAX_PATH] = "";
    platform.System().WindowsDirectoryPath(dir, sizeof dir);
    return dir;
}

TEST(Win32Components, TheInfIndexReadsThePrefixsInfFiles) {
    std::unique_ptr<port::IPlatform> platform = CreateWin32Platform();
    const std::string windows = WindowsDirectory(*platform);
    char name[MAX_PATH];
    port::FindHandle find = platform->Files().FindFirst((windows + "\\inf\\*.inf").c_str(), name, sizeof name);
    ASSERT_NE(find, 0u) << "no inf file under " << windows << "\\inf";
    int files = 1, lines = 0;
    while (platform->Files().FindNext(find, name, sizeof name)) ++files;
    platform->Files().FindClose(find);
    port::TextFile text = platform->Files().OpenTextFile((windows + "\\inf\\" + name).c_str());
    ASSERT_NE(text, 0u);
    char piece[kInfLinePiece];
    while (platform->Files().ReadTextLine(text, piece, sizeof piece)) ++lines;
    platform->Files().CloseTextFile(text);
    EXPECT_GT(lines, 0);
    InfIndex index;
    BuildInfIndex(platform->Files(), windows.c_str(), index);  // whatever they name, within its 256 entries
    EXPECT_LE(index.count, kInfIndexEntries);
    EXPECT_GE(files, 1);
}

TEST(Win32Components, SetupApiAndEnumerationRunOverWhateverThePrefixHolds) {
    std::unique_ptr<port::IPlatform> platform = CreateWin32Platform();
    port::IDeviceSetup& setup = platform->DeviceSetup();
    const Guid capture{0x65E8773D, 0x8F56, 0x11D0, {0xA3, 0xB9, 0x00, 0xA0, 0xC9, 0x22, 0x31, 0x96}};
    port::DeviceInfoSet set = setup.GetClassDevs(capture, port::kDigcfPresent | port::kDigcfDeviceInterface);
    if (set != port::kInvalidDeviceInfoSet) {
        port::DeviceInterfaceData data;
        for (uint32_t i = 0; i < 64 && setup.EnumDeviceInterfaces(set, capture, i, data); ++i) {
            char path[512];
            port::DeviceInfoData device;
            if (!setup.GetDeviceInterfaceDetail(set, data, path, sizeof path, device)) continue;
            uint8_t description[257] = {};
            setup.GetDeviceRegistryProperty(set, device, port::kSpdrpDeviceDesc, description, 256, nullptr);
        }
        EXPECT_TRUE(setup.DestroyDeviceInfoList(set));
    }
    port::IRegistry& registry = platform->Registry();
    port::RegKey key = 0;
    ASSERT_EQ(registry.OpenKey("SYSTEM\\CurrentControlSet\\Enum\\", kKeyRead, &key), 0);
    uint32_t count = 0;
    EXPECT_EQ(registry.CountSubKeys(key, &count), 0);
    for (uint32_t i = 0; i < count; ++i) {
        char name[256];
        uint32_t size = sizeof name;
        EXPECT_EQ(registry.EnumSubKey(key, i, name, &size), 0);
    }
    registry.CloseKey(key);
}

TEST(Win32Components, TheDeviceEnumeratorListsTheAudioRenderersOfThePrefix) {
    std::unique_ptr<port::IPlatform> platform = CreateWin32Platform();
    ASSERT_GE(platform->Com().CoInitialize(), 0);
    {
        port::ComPtr object;
        ASSERT_EQ(platform->Com().CoCreateInstance(guids::kClsidSystemDeviceEnum, guids::kIidCreateDevEnum, object),
                  kSOk);
        auto devEnum = port::ComCast<port::ICreateDevEnum>(object);
        ASSERT_TRUE(devEnum);
        const Guid audioRenderers{0xE0F158E1, 0xCB04, 0x11D0, {0xBD, 0x4E, 0x00, 0xA0, 0xC9, 0x11, 0xCE, 0x86}};
        std::shared_ptr<port::IEnumMoniker> monikers;
        ASSERT_EQ(devEnum->CreateClassEnumerator(audioRenderers, monikers, 0), kSOk);
        std::shared_ptr<port::IMoniker> moniker;
        int named = 0;
        while (monikers->Next(moniker) == kSOk && moniker) {
            std::shared_ptr<port::IPropertyBag> bag;
            std::string name;
            if (moniker->BindToPropertyBag(bag) == kSOk && bag && bag->ReadString("FriendlyName", name) == kSOk &&
                !name.empty())
                ++named;
            moniker.reset();
        }
        EXPECT_GT(named, 0);
    }
    platform->Com().CoUninitialize();
}

}  // namespace
}  // namespace orbex::win32
