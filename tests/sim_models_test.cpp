// The seams of the virtual board's composition: libraries and COM classes are
// found by what was registered, and each profile section reaches its model.
#include <gtest/gtest.h>

#include "platform/guids.h"
#include "platform/sim/machine/com.h"
#include "platform/sim/machine/libraries.h"
#include "platform/sim/machine/path_map.h"
#include "platform/sim/profile/board_profile.h"

namespace orbex::sim {
namespace {

// A library that counts its opens and closes; its handle is also its one export, "Fn".
class CountingLibrary final : public ILibraryProvider {
public:
    port::LibraryHandle Open() override {
        ++opens;
        return &m_image;
    }
    void* Symbol(port::LibraryHandle library, const char* name) override {
        return std::string(name) == "Fn" ? library : nullptr;
    }
    void Close(port::LibraryHandle) override { ++closes; }

    int opens = 0;
    int closes = 0;

private:
    char m_image = 0;
};

// The result library and a second one, as the board registers them.
struct TwoLibraries {
    CountingLibrary verdict, other;
    void RegisterWith(LibraryLoader& loader) {
        loader.Register("verdict.dll", verdict);
        loader.Register("cctb.dll", other);
    }
};

TEST(LibraryLoader, LoadsEachRegisteredLibraryByNameInAnyCase) {
    FaultTable faults({});
    TwoLibraries libraries;
    auto& [verdict, other] = libraries;
    LibraryLoader loader(faults);
    libraries.RegisterWith(loader);
    EXPECT_EQ(loader.LoadNamedLibrary("missing.dll"), nullptr);
    EXPECT_EQ(loader.LoadNamedLibrary(nullptr), nullptr);
    port::LibraryHandle v = loader.LoadNamedLibrary("VERDICT.DLL");
    port::LibraryHandle c = loader.LoadNamedLibrary("Cctb.dll");
    ASSERT_NE(v, nullptr);
    ASSERT_NE(c, nullptr);
    EXPECT_NE(v, c);
    EXPECT_EQ(verdict.opens, 1);
    EXPECT_EQ(other.opens, 1);
    EXPECT_EQ(loader.GetProcAddress(c, "Fn"), c);
    EXPECT_EQ(loader.GetProcAddress(c, "Gn"), nullptr);
    EXPECT_EQ(loader.GetProcAddress(nullptr, "Fn"), nullptr);
}

TEST(LibraryLoader, AHandleStaysUsableUntilItsLastFreeAndTheRestCloseWithTheLoader) {
    FaultTable faults({});
    TwoLibraries libraries;
    auto& [verdict, other] = libraries;
    {
        LibraryLoader loader(faults);
        libraries.RegisterWith(loader);
        port::LibraryHandle v = loader.LoadNamedLibrary("verdict.dll");
        EXPECT_EQ(loader.LoadNamedLibrary("verdict.dll"), v);
        loader.LoadNamedLibrary("cctb.dll");
        loader.FreeLibrary(v);
        EXPECT_EQ(loader.GetProcAddress(v, "Fn"), v) << "loaded twice, freed once";
        loader.FreeLibrary(v);
        EXPECT_EQ(loader.GetProcAddress(v, "Fn"), nullptr) << "freed as often as loaded";
        loader.FreeLibrary(v);  // no longer open: ignored
        EXPECT_EQ(verdict.closes, 2);
        EXPECT_EQ(other.closes, 0);
    }
    EXPECT_EQ(verdict.closes, 2);
    EXPECT_EQ(other.closes, 1);
}

TEST(LibraryLoader, AnInjectedFaultFailsTheLoadBeforeAnyLibraryOpens) {
    FaultTable faults({{"LoadLibrary", FaultRule{1, 1, 0}}});
    CountingLibrary verdict;
    LibraryLoader loader(faults);
    loader.Register("verdict.dll", verdict);
    EXPECT_EQ(loader.LoadNamedLibrary("verdict.dll"), nullptr);
    EXPECT_EQ(verdict.opens, 0);
    EXPECT_NE(loader.LoadNamedLibrary("verdict.dll"), nullptr);
}

TEST(ComRuntime, EachClassIsServedByTheFirstFactoryRegisteredForIt) {
    FaultTable faults({});
    ComRuntime com(faults);
    // Classes that differ in one field each, so that none can stand for another.
    const Guid classes[] = {{1, 2, 3, {4, 5, 6, 7, 8, 9, 10, 11}},
                            {1, 2, 3, {4, 5, 6, 7, 8, 9, 10, 12}},
                            {1, 2, 4, {4, 5, 6, 7, 8, 9, 10, 11}},
                            {1, 3, 3, {4, 5, 6, 7, 8, 9, 10, 11}},
                            {2, 2, 3, {4, 5, 6, 7, 8, 9, 10, 11}}};
    std::vector<int> served;
    for (int i = 0; i < 4; ++i)
        com.RegisterClass(classes[i], [&served, i](const Guid&, port::ComPtr&) {
            served.push_back(i);
            return kSOk;
        });
    com.RegisterClass(classes[0], [&served](const Guid&, port::ComPtr&) {
        served.push_back(-1);
        return kSOk;
    });
    port::ComPtr out;
    for (const Guid& clsid : classes) com.CoCreateInstance(clsid, guids::kIidUnknown, out);
    EXPECT_EQ(served, (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(com.CoCreateInstance(classes[4], guids::kIidUnknown, out), kRegdbEClassNotReg);
}

TEST(BoardProfile, EachSectionReachesItsModelsConfig) {
    std::string error;
    auto p = ParseBoardProfile(
        "[Machine]\nClockStart=7\nSystemDirectory=C:\\S\n"
        "[Device.A]\nCategory=Crossbar\nFriendlyName=A\n"
        "[Device.B]\nCategory=TvTuner\nFriendlyName=B\nPins=out:V:analog\n"
        "[Filter.F]\nCLSID={4DCF9720-E5E8-11D3-9EFE-008029E643A4}\nKitFile=k.ax\n"
        "[VideoMemory]\nFree=5\n[Components]\nLoggingComponent=absent\n"
        "[Display]\nMonitors=2\n[Registry]\nKey=SOFTWARE\\X\n[Files]\nFile=C:\\F\n"
        "[Faults]\nrun=5\n[Machine]\nClockStart=9\n",
        "b.ini", error);
    ASSERT_TRUE(p) << error;
    EXPECT_EQ(p->machine.clockStart, 9u) << "a repeated section overrides";
    EXPECT_EQ(p->machine.systemDirectory, "C:\\S");
    ASSERT_EQ(p->media.devices.size(), 2u);
    EXPECT_EQ(p->media.devices[0].friendlyName, "A");
    EXPECT_EQ(p->media.devices[1].friendlyName, "B");
    EXPECT_EQ(p->media.devices[1].pins.size(), 1u);
    ASSERT_EQ(p->media.filterClasses.size(), 1u);
    EXPECT_EQ(p->media.filterClasses[0].kitFile, "k.ax");
    EXPECT_EQ(p->videoMemory.free, 5u);
    EXPECT_EQ(p->videoMemory.total, 8u << 20);
    EXPECT_FALSE(p->components.loggingComponent);
    EXPECT_EQ(p->display.monitors, 2);
    EXPECT_EQ(p->registry.keys, std::vector<std::string>{"SOFTWARE\\X"});
    EXPECT_EQ(p->files.files, std::vector<std::string>{"C:\\F"});
    EXPECT_EQ(p->faults.count("Run"), 1u) << "operation names are matched in any case";
}

TEST(BoardProfile, EachModelRefusesWhatItDoesNotKnow) {
    struct Case {
        const char* text;
        const char* error;
    };
    for (const Case& c : {
             Case{"[Device.X]\nColour=red\n", "b.ini:2: unknown key \"Colour\" in [Device.X]"},
             Case{"[Filter.X]\nName=x\n", "b.ini:2: a [Filter] section lacks CLSID"},
             Case{"[Filter.X]\nCLSID=nope\n", "b.ini:2: \"nope\" is not a class identifier"},
             Case{"[VideoMemory]\nUsed=1\n", "b.ini:2: unknown key \"Used\" in [VideoMemory]"},
             Case{"[Files]\nDir=C:\\\n", "b.ini:2: unknown key \"Dir\" in [Files]"},
             Case{"[Registry]\nValue=a|b\n", "b.ini:2: a registry value is key|name|type|data"},
             Case{"[Machine]\nPlatform=OS2\n", "b.ini:2: platform \"OS2\" is neither NT nor 9x"},
             Case{"[Display\n", "b.ini:1: section header without \"]\""},
         }) {
        std::string error;
        EXPECT_FALSE(ParseBoardProfile(c.text, "b.ini", error)) << c.text;
        EXPECT_EQ(error, c.error) << c.text;
    }
}

}  // namespace
}  // namespace orbex::sim

namespace orbex::sim {
namespace {

// Windows paths of the machine and where their files live on the host.
TEST(PathMap, WindowsPathsMapToTheirHostDirectories) {
    MachineConfig config;  // C:\ORBEX, C:\WINNT, C:\WINNT\system32
    PathMap paths(config, "/cur", "/win");
    const struct {
        const char* windowsPath;
        std::optional<std::string> host;
    } cases[] = {
        {"orbex.ini", "/win/orbex.ini"},
        {"C:\\ORBEX\\default.gf", "/cur/default.gf"},
        {"c:\\orbex\\Sub\\a.gf", "/cur/Sub/a.gf"},
        {"C:\\ORBEX\\", "/cur/"},
        {"C:\\ORBEX", std::nullopt},
        {"C:\\ORBEXX\\a.gf", std::nullopt},
        {"C:\\ORBE\\a.gf", std::nullopt},
        {"C:\\WINNT\\inf\\oem1.inf", "/win/inf/oem1.inf"},
        {"C:\\WINNT\\system32\\drivers\\x.sys", std::nullopt},
        {"C:\\WINNT\\SYSTEM32\\x.dll", std::nullopt},
        {"C:\\WINNT\\system\\x.dll", "/win/system/x.dll"},
        {"D:\\ORBEX\\a.gf", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(paths.HostPath(c.windowsPath), c.host) << c.windowsPath;
}

}  // namespace
}  // namespace orbex::sim
