// The virtual board's fault table as the fault sweep uses it: one-shot faults
// on a chosen call, the calls counted, each fault told when it fires, and the
// malformed answers of the operations that return data.
#include "platform/sim/faults.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "platform/guids.h"
#include "platform/sim/virtual_board.h"

namespace orbex::sim {
namespace {

TEST(FaultTable, AOneShotFaultFailsExactlyTheChosenCallAndCountsEveryCall) {
    FaultTable table({{"RegOpenKeyEx", FaultRule{2, 1, 2, false}}});
    std::vector<std::string> told;
    table.SetObserver([&](const std::string& op, HResult code, bool malformed) {
        told.push_back(op + "/" + std::to_string(code) + (malformed ? "/m" : ""));
    });
    std::vector<HResult> codes;
    for (int i = 0; i < 5; ++i) codes.push_back(table.Next("RegOpenKeyEx"));
    EXPECT_EQ(codes, (std::vector<HResult>{0, 0, 2, 0, 0}));
    EXPECT_EQ(table.Next("CreateDC"), 0);
    EXPECT_EQ(told, std::vector<std::string>{"RegOpenKeyEx/2"});
    EXPECT_EQ(table.Calls(), (std::map<std::string, uint32_t>{{"CreateDC", 1}, {"RegOpenKeyEx", 5}}));
}

TEST(FaultTable, MalformedDataIsAHitWithoutAFailureCode) {
    FaultTable table({{"RegQueryInfoKey", FaultRule{0, 1, 0, true}}});
    FaultHit first = table.Take("RegQueryInfoKey");
    EXPECT_TRUE(first);
    EXPECT_TRUE(first.malformed);
    EXPECT_EQ(first.code, 0);
    EXPECT_FALSE(table.Take("RegQueryInfoKey"));
}

TEST(FaultTable, FaultsForOneRunAreReadAsProfileLines) {
    struct Case {
        const char* text;
        bool ok;
        const char* error;
    };
    for (const Case& c : {
             Case{"RegQueryValueEx=malformed,1,3;CreateDC=5", true, ""},
             Case{" ExtEscape = MALFORMED ; ", true, ""},
             Case{"CreateDC=malformed", false, "CreateDC cannot answer with malformed data"},
             Case{"Bogus=1", false, "unknown fault operation \"Bogus\""},
             Case{"CreateDC", false, "a fault is Operation=code[,count[,skip]]: \"CreateDC\""},
             Case{"CreateDC=1,-2", false, "fault count and skip must not be negative"},
         }) {
        FaultConfig faults;
        std::string error;
        EXPECT_EQ(AddFaults(faults, c.text, error), c.ok) << c.text;
        EXPECT_EQ(error, c.error) << c.text;
    }
    FaultConfig faults;
    std::string error;
    ASSERT_TRUE(AddFaults(faults, "RegQueryValueEx=malformed,1,3;CreateDC=5", error));
    EXPECT_TRUE(faults["RegQueryValueEx"].malformed);
    EXPECT_EQ(faults["RegQueryValueEx"].count, 1);
    EXPECT_EQ(faults["RegQueryValueEx"].skip, 3);
    EXPECT_EQ(faults["CreateDC"].code, 5);
    EXPECT_EQ(faults["CreateDC"].count, -1);
}

TEST(FaultTable, EveryMalformedOperationIsAFaultOperation) {
    const auto& all = FaultOperations();
    for (const std::string& op : MalformedOperations())
        EXPECT_NE(std::find(all.begin(), all.end(), op), all.end()) << op;
}

// A reference board with the faults given, recording its platform events.
struct FaultyBoard {
    explicit FaultyBoard(const std::string& faults, bool reportCalls = false) {
        BoardProfile profile = ReferenceBoard();
        std::string error;
        EXPECT_TRUE(AddFaults(profile.faults, faults, error)) << error;
        SimOptions options;
        options.hostCurrentDirectory = "/nonexistent-orbex-dir";
        options.reportFaultCalls = reportCalls;
        options.events = [this](const PlatformEvent& e) {
            std::string text = e.event;
            for (const EventField& f : e.fields) {
                text += " " + f.name + "=";
                if (const auto* s = std::get_if<std::string>(&f.value))
                    text += *s;
                else
                    text += std::to_string(std::get<int64_t>(f.value));
            }
            events.push_back(text);
        };
        board = std::make_unique<VirtualBoard>(std::move(profile), std::move(options));
    }
    std::vector<std::string> events;
    std::unique_ptr<VirtualBoard> board;
};

TEST(MalformedAnswers, DirectoriesComeBackWithoutATerminatorInTheBuffer) {
    FaultyBoard b("GetWindowsDirectory=malformed,1,1");
    char good[32];
    char bad[32];
    uint32_t n = b.board->System().WindowsDirectoryPath(good, sizeof good);
    ASSERT_GT(n, 0u);
    ASSERT_LT(n, sizeof good);
    std::memset(bad, 0, sizeof bad);
    EXPECT_EQ(b.board->System().WindowsDirectoryPath(bad, sizeof bad), sizeof bad - 1);
    EXPECT_EQ(std::string(bad, n), std::string(good, n));
    EXPECT_EQ(std::count(bad, bad + sizeof bad, '\0'), 0);
    EXPECT_EQ(b.events, std::vector<std::string>{"Platform what=Fault operation=GetWindowsDirectory data=malformed"});
}

TEST(MalformedAnswers, RegistryStringsLoseTheirTerminatorAndCountsDisagree) {
    FaultyBoard b("RegQueryValueEx=malformed,1,1;RegQueryInfoKey=malformed,1,1;RegEnumKeyEx=malformed,1,1");
    port::IRegistry& reg = b.board->Registry();
    port::RegKey key = 0;
    ASSERT_EQ(reg.OpenOrCreateKey("SOFTWARE\\Orbex\\Probe\\Child", 0, &key), 0);
    ASSERT_EQ(reg.OpenOrCreateKey("SOFTWARE\\Orbex\\Probe", 0, &key), 0);
    const uint8_t text[] = "abc";
    const uint32_t number = 0x11223344;
    ASSERT_EQ(reg.WriteValue(key, "Text", kRegSz, text, sizeof text), 0);
    ASSERT_EQ(reg.WriteValue(key, "Number", kRegDword, reinterpret_cast<const uint8_t*>(&number), 4), 0);

    uint8_t data[8];
    uint32_t size = sizeof data, type = 0;
    ASSERT_EQ(reg.ReadValue(key, "Text", &type, data, &size), 0);  // a good call first
    EXPECT_EQ(size, 4u);
    size = sizeof data;
    ASSERT_EQ(reg.ReadValue(key, "Text", &type, data, &size), 0);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(data), sizeof data), "abcXXXXX");

    uint32_t count = 0;
    ASSERT_EQ(reg.CountSubKeys(key, &count), 0);
    EXPECT_EQ(count, 1u);
    ASSERT_EQ(reg.CountSubKeys(key, &count), 0);
    EXPECT_EQ(count, 4u);

    char name[8];
    uint32_t nameSize = sizeof name;
    ASSERT_EQ(reg.EnumSubKey(key, 0, name, &nameSize), 0);
    EXPECT_STREQ(name, "Child");
    nameSize = sizeof name;
    ASSERT_EQ(reg.EnumSubKey(key, 0, name, &nameSize), 0);
    EXPECT_EQ(std::string(name, sizeof name), "ChildKKK");
    EXPECT_EQ(nameSize, sizeof name);
}

TEST(MalformedAnswers, ShortDwordValuesFriendlyNamesAndVideoMemory) {
    FaultyBoard b("RegQueryValueEx=malformed,1;GetAvailableVidMem=malformed,1");
    port::IRegistry& reg = b.board->Registry();
    port::RegKey key = 0;
    ASSERT_EQ(reg.OpenOrCreateKey("SOFTWARE\\Orbex\\Probe", 0, &key), 0);
    const uint32_t number = 0x11223344;
    ASSERT_EQ(reg.WriteValue(key, "Number", kRegDword, reinterpret_cast<const uint8_t*>(&number), 4), 0);
    uint8_t data[4] = {0xEE, 0xEE, 0xEE, 0xEE};
    uint32_t size = sizeof data;
    ASSERT_EQ(reg.ReadValue(key, "Number", nullptr, data, &size), 0);
    EXPECT_EQ(size, 2u);
    EXPECT_EQ(data[0], 0x44);
    EXPECT_EQ(data[2], 0xEE);

    port::ComPtr unknown;
    ASSERT_EQ(b.board->DirectDraw().DirectDrawCreate(unknown), kSOk);
    std::shared_ptr<port::IDirectDraw2> dd;
    ASSERT_EQ(port::ComQuery(*unknown, guids::kIidDirectDraw2, dd), kSOk);
    uint32_t total = 0, free = 0;
    ASSERT_EQ(dd->GetAvailableVidMem(0, &total, &free), kSOk);
    EXPECT_EQ(free, total + 1);
    ASSERT_EQ(dd->GetAvailableVidMem(0, &total, &free), kSOk);
    EXPECT_LE(free, total);
}

TEST(FaultCalls, TheBoardTellsTheCallsOfEveryOperationAtUnloadWhenAsked) {
    FaultyBoard quiet("");
    OsVersion ignored;
    quiet.board->System().QueryVersion(ignored);
    quiet.board.reset();
    EXPECT_TRUE(quiet.events.empty());

    FaultyBoard b("", /*reportCalls=*/true);
    OsVersion version;
    b.board->System().QueryVersion(version);
    b.board->System().QueryVersion(version);
    char dir[64];
    b.board->System().SystemDirectoryPath(dir, sizeof dir);
    b.board.reset();
    EXPECT_EQ(b.events, std::vector<std::string>{"Platform what=FaultCalls GetSystemDirectory=1 GetVersionEx=2"});
}

}  // namespace
}  // namespace orbex::sim
