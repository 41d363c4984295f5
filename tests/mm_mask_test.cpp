// The feature-mask test end to end over the virtual board's kernel driver:
// the Windows NT pass, the database checks per key, the driver's failures and
// a mask library that gets one configuration wrong; the names of differing
// bits; the mask rule of the board's library.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "cases/hwcaps/hardware_caps.h"
#include "cases/hwcaps/mask_names.h"
#include "platform/sim/kernel/mask_library.h"
#include "support/sys_bench.h"

namespace orbex::testing {
namespace {

using Strings = std::vector<std::string>;

const std::string kPrefix = "CHardwareCaps::MMMaskTest()>  ";
const std::string kStart = "Check if Maskon returns valid mask for varies MMTable.";
const std::string kWin98 = "[Machine]\nPlatform=9x\nMajorVersion=4\nMinorVersion=10\n";
const std::string kSummaryPass = "[Pass] All MMTables receive valid masks from Maskon.";
const std::string kSummaryFail = "[Fail]**** One or more returned mask is invalid.";

// The reference board in a Windows 98 machine, with the shipped database or another.
struct MaskBench : SysBench {
    explicit MaskBench(const std::string& extra = "", const std::string& database = ExampleFile("orbex.ini"))
        : SysBench(Bench::Board(kWin98 + extra)) {
        if (!database.empty()) WriteFile("orbex.ini", database);
    }
    const sim::KernelDriver& Kernel() { return Platform().Kernel(); }
};

// One key's sub-result and, when it fails, its forwarded red log line.
Strings Key(int sequence, int status, const std::string& description, const std::string& expected,
            const std::string& actual) {
    Strings out{ReportJson("tc5010", std::to_string(sequence), status, description, expected, actual)};
    if (status != 4) out.push_back(Msg("tc5010", 0, kPrefix + actual));
    return out;
}
Strings Summary(bool pass) {
    Strings out{Rep("tc5010", pass ? 4 : 0, "Test Summary", "All MMTables receive valid masks from Maskon.",
                    pass ? kSummaryPass : kSummaryFail)};
    if (!pass) out.push_back(Msg("tc5010", 0, kPrefix + kSummaryFail));
    return out;
}
Strings Join(std::initializer_list<Strings> parts) {
    Strings out;
    for (const Strings& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}
Strings MaskPass(int sequence, const std::string& name, const std::string& mask) {
    return Key(sequence, 4, "Check if MMTable " + name + " will return a valid mask.", "Expected Mask=" + mask,
               "[Pass] Actual Mask=" + mask);
}

TEST(MMMaskTest, OnWindowsNtItPassesWithoutOpeningTheDriver) {
    SysBench bench;
    bench.WriteFile("orbex.ini", ExampleFile("orbex.ini"));
    EXPECT_EQ(bench.Run("tc5010"), 4);
    EXPECT_EQ(bench.Results(), (Strings{Rep("tc5010", 4, kStart, "Test is executed on Win9X.",
                                            "[Pass] Win2K detected. This is temporary disabled for Win2K.")}));
    EXPECT_EQ(bench.LogLines().back(),
              "101 0x0000AF00 " + kPrefix + "[Pass] Win2K detected. This is temporary disabled for Win2K.");
    EXPECT_EQ(bench.Platform().Kernel().Opens(), 0);
}

TEST(MMMaskTest, TheShippedDatabaseMatchesTheBoardsMaskLibrary) {
    MaskBench bench;
    EXPECT_EQ(bench.Run("tc5010"), 4);
    EXPECT_EQ(bench.Results(), Join({MaskPass(1, "QelTV-NTSC", "0x00003287"), MaskPass(2, "QelTV-PAL", "0x00003287"),
                                     MaskPass(3, "QelCapture", "0x00002085"), MaskPass(4, "ZorixTV", "0x00003387"),
                                     MaskPass(5, "OndrelTV", "0x000032A3"),
                                     MaskPass(6, "QelTV-PAL-Teletext", "0x00003E87"), Summary(true)}));
    // The driver is opened and closed for every request.
    EXPECT_EQ(bench.Kernel().Opens(), 6);
    EXPECT_EQ(bench.Kernel().OpenHandles(), 0u);
    EXPECT_STREQ(bench.Builder().HardwareCaps()->ConfigurationName(), "QelTV-PAL-Teletext");
    EXPECT_TRUE(bench.Logged("100 0x0000AF00 " + kPrefix + "[Pass] Actual Mask=0x000032A3"));
    EXPECT_EQ(bench.LogLines().back(), "100 0x0000AF00 " + kPrefix + kSummaryPass);
}

TEST(MMMaskTest, WithoutAMaskSectionTheDatabaseIsMissing) {
    const std::string actual = "[Fail]**** Database file is missing or [MMMask] section is missing.";
    for (const std::string& database :
         {std::string(), std::string("[MMTable]\nA=Ref,1,0,0,0,0,1,0,1,2,3,0,0\n"), std::string("[MMMask]\n")}) {
        MaskBench bench("", database);
        EXPECT_EQ(bench.Run("tc5010"), 0);
        EXPECT_EQ(bench.Results(), (Strings{Rep("tc5010", 0, kStart, "Database file exist.", actual),
                                            Msg("tc5010", 0, kPrefix + actual)}));
        EXPECT_EQ(bench.Kernel().Opens(), 0);
    }
}

TEST(MMMaskTest, EachBadEntryFailsAloneAndTheRunGoesOn) {
    const std::string database =
        "[MMMask]\n"
        "NoTable=0x3287\n"
        "Empty=\n"
        "Eleven=0x3287\n"
        "Thirteen=0x3287\n"
        "Good=0x3287\n"
        "Wide=3287\n"
        "Unnamed=0x0\n"
        "[MMTable]\n"
        "Empty=Ref,1,0,0,0,0,1,0,1,2,3,0,0\n"
        "Eleven=Short,1,0,0,0,0,1,0,1,2,3,0\n"
        "Thirteen=Long,1,0,0,0,0,1,0,1,2,3,0,0,0\n"
        // empty items are skipped; items beyond 0xFF give their low byte
        "Good=Ref,,1,0,,0,0,0,1,0,1,2,3,0,0,\n"
        "Wide=Wide,0x101,100,0,0,0,301,0,1,2,3,0,0\n"
        "Unnamed=,,\n";
    MaskBench bench("", database);
    EXPECT_EQ(bench.Run("tc5010"), 0);
    EXPECT_EQ(
        bench.Results(),
        Join({Key(1, 0, "Check if key \"NoTable\" will return a valid mask.", "Database file is valid.",
                  "Fail to read \"NoTable\" entry from section [MMTable]."),
              Key(2, 0, "Check if key \"Empty\" will return a valid mask.", "Database file is valid.",
                  "Fail to read \"Empty\" entry from section [MMMask]."),
              Key(3, 0, "Check if key \"Eleven\" will return a valid mask.", "MMTable should be 12 bytes in size.",
                  "The MMTable read from \"Eleven\" entry has 11 bytes."),
              Key(4, 0, "Check if key \"Thirteen\" will return a valid mask.", "MMTable should be 12 bytes in size.",
                  "The MMTable read from \"Thirteen\" entry has 13 bytes."),
              MaskPass(5, "Ref", "0x00003287"), MaskPass(6, "Wide", "0x00003287"),
              Key(7, 0, "Check if key \"Unnamed\" will return a valid mask.", "Database file is valid.",
                  "Fail to read \"Unnamed\" entry from section [MMTable]."),
              Summary(false)}));
    EXPECT_EQ(bench.Kernel().Opens(), 2);
}

// The mask test reads the [MMTable] entry through the same 255-character
// buffer as the table search: an entry of 254 characters keeps its last item
// whole (0x10: no fifth video input), one of 255 loses its last character
// to the cut (0x1: a fifth input, so a mask with one more input).
TEST(MMMaskTest, AnEntryIsReadToItsTwoHundredFiftyFourthCharacter) {
    const std::string head = "Edge,1,0,0,0,0,1,0,1,2,3,0,";
    for (int length : {254, 255}) {
        std::string value = head + std::string(static_cast<size_t>(length) - head.size() - 4, ' ') + "0x10";
        ASSERT_EQ(value.size(), static_cast<size_t>(length));
        MaskBench bench("", "[MMMask]\nA=0x3287\n[MMTable]\nA=" + value + "\n");
        bench.Run("tc5010");
        Strings want =
            length == 254
                ? Join({MaskPass(1, "Edge", "0x00003287"), Summary(true)})
                : Join({Key(1, 0, "Check if MMTable Edge will return a valid mask.", "Expected Mask=0x00003287",
                            "[Fail]**** Actual Mask=0x00004287; Error Mask=0x00007000; Mismatch=\"etc\""),
                        Summary(false)});
        EXPECT_EQ(bench.Results(), want) << length;
    }
}

TEST(MMMaskTest, AMaskThatDiffersNamesTheDifferingFeatures) {
    struct Case {
        std::string expected;  // the database's mask for the reference table (its own is 0x3287)
        std::string actual;
    };
    for (const Case& c : {
             Case{"0x3283", "[Fail]**** Actual Mask=0x00003287; Error Mask=0x00000004; Mismatch=\"I2C Decoder\""},
             Case{"0x3286", "[Fail]**** Actual Mask=0x00003287; Error Mask=0x00000001; Mismatch=\"\""},
             Case{"0x3387",
                  "[Fail]**** Actual Mask=0x00003287; Error Mask=0x00000100; "
                  "Mismatch=\"I2C TVAudio & VideoCrossbar, etc\""},
             Case{"0x1287", "[Fail]**** Actual Mask=0x00003287; Error Mask=0x00002000; Mismatch=\"etc\""},
         }) {
        MaskBench bench("", "[MMMask]\nRef=" + c.expected + "\n[MMTable]\nRef=QelTV-NTSC,1,0,0,0,0,1,0,1,2,3,0,0\n");
        EXPECT_EQ(bench.Run("tc5010"), 0) << c.expected;
        const std::string expected = "Expected Mask=0x0000" + c.expected.substr(2);
        EXPECT_EQ(bench.Results(),
                  Join({Key(1, 0, "Check if MMTable QelTV-NTSC will return a valid mask.", expected, c.actual),
                        Summary(false)}))
            << c.expected;
    }
}

TEST(MMMaskTest, ADriverThatGetsOneConfigurationWrongFailsThatKeyOnly) {
    MaskBench bench("[KernelDriver]\nWrongMaskTable=00 00 00 00 00 02 00 02 03 00 00 00\nWrongMaskBits=0x24\n");
    EXPECT_EQ(bench.Run("tc5010"), 0);
    Strings results = bench.Results();
    ASSERT_EQ(results.size(), 9u);
    EXPECT_EQ(Strings(results.begin() + 2, results.begin() + 4),
              Key(3, 0, "Check if MMTable QelCapture will return a valid mask.", "Expected Mask=0x00002085",
                  "[Fail]**** Actual Mask=0x000020A1; Error Mask=0x00000024; Mismatch=\"I2C Decoder, VIP Decoder\""));
    EXPECT_EQ(results[4], MaskPass(4, "ZorixTV", "0x00003387")[0]);
    EXPECT_EQ(Strings(results.end() - 2, results.end()), Summary(false));
}

TEST(MMMaskTest, ADriverThatCannotBeReachedFailsEveryKey) {
    const std::string failed = "Failed to receive a mask from Maskon.";
    struct Case {
        std::string extra;
        std::vector<int> failing;  // sequence numbers of the keys that fail
        int opens;
    };
    for (const Case& c : {
             Case{"[KernelDriver]\nDevice=absent\n", {1, 2, 3, 4, 5, 6}, 0},
             Case{"[Faults]\nCreateFile=5\n", {1, 2, 3, 4, 5, 6}, 0},
             Case{"[Faults]\nCreateFile=32,2,1\n", {2, 3}, 4},
             Case{"[Faults]\nDeviceIoControl=31\n", {1, 2, 3, 4, 5, 6}, 6},
             Case{"[Faults]\nDeviceIoControl=31,1,5\n", {6}, 6},
             // a library that answers every request with an error status
             Case{"[KernelDriver]\nReplyStatus=0x54530001\n", {1, 2, 3, 4, 5, 6}, 6},
         }) {
        MaskBench bench(c.extra);
        EXPECT_EQ(bench.Run("tc5010"), 0) << c.extra;
        Strings results = bench.Results();
        int failures = 0;
        for (int key : c.failing) {
            bool found = false;
            for (const std::string& r : results)
                if (r.find("\"step\":\"" + std::to_string(key) + "\",\"status\":0") != std::string::npos &&
                    r.find("\"expected\":\"Able to receive a mask from Maskon.\",\"actual\":\"" + failed + "\"") !=
                        std::string::npos)
                    found = true;
            EXPECT_TRUE(found) << c.extra << " key " << key;
            ++failures;
        }
        int failed = 0;
        for (const std::string& r : results)
            if (r.find(",\"status\":0") != std::string::npos && r.find("Message Log:") == std::string::npos) ++failed;
        EXPECT_EQ(failed, failures + 1) << c.extra;  // and the summary
        EXPECT_EQ(bench.Kernel().Opens(), c.opens) << c.extra;
        EXPECT_EQ(bench.Kernel().OpenHandles(), 0u) << c.extra;
    }
}

TEST(MMMaskTest, KeysBeyondTheListBufferAreNotRead) {
    // 40 keys of 59 characters: the 2048-character key list holds 34 of them
    // whole and the first six characters of the 35th, which is not a key.
    std::string database = "[MMMask]\n", tables = "[MMTable]\n";
    for (int i = 0; i < 40; ++i) {
        char key[64];
        std::snprintf(key, sizeof key, "%059d", i);
        database += std::string(key) + "=0x3287\n";
        tables += std::string(key) + "=Ref,1,0,0,0,0,1,0,1,2,3,0,0\n";
    }
    MaskBench bench("", database + tables);
    EXPECT_EQ(bench.Run("tc5010"), 0);
    Strings results = bench.Results();
    ASSERT_EQ(results.size(), 38u);
    EXPECT_EQ(results[33], ReportJson("tc5010", "34", 4, "Check if MMTable Ref will return a valid mask.",
                                      "Expected Mask=0x00003287", "[Pass] Actual Mask=0x00003287"));
    EXPECT_EQ(results[34],
              ReportJson("tc5010", "35", 0, "Check if key \"000000\" will return a valid mask.",
                         "Database file is valid.", "Fail to read \"000000\" entry from section [MMMask]."));
    EXPECT_EQ(results[36],
              ReportJson("tc5010", "tc5010", 0, "Test Summary", "All MMTables receive valid masks from Maskon.",
                         "[Fail]**** One or more returned mask is invalid."));
    EXPECT_EQ(bench.Kernel().OpenHandles(), 0u);
}

TEST(MMMaskTest, ALongKeyAndNameAreCutInTheTexts) {
    const std::string key(200, 'K');
    const std::string name(150, 'N');
    MaskBench bench("", "[MMMask]\n" + key + "=0x3287\n[MMTable]\n" + key + "=" + name + ",1,0,0,0,0,1,0,1,2,3,0,0\n");
    EXPECT_EQ(bench.Run("tc5010"), 4);
    // The configuration name holds 99 characters.
    EXPECT_STREQ(bench.Builder().HardwareCaps()->ConfigurationName(), name.substr(0, 99).c_str());
    EXPECT_EQ(bench.Results()[0], MaskPass(1, name.substr(0, 99), "0x00003287")[0]);
}

TEST(MismatchNames, NamesEachBitInTableOrder) {
    struct Case {
        uint32_t mismatch;
        const char* names;
    };
    for (const Case& c : {
             Case{0x0, ""},
             Case{0x1, ""},
             Case{0x2, "Tuner"},
             Case{0x6, "Tuner, I2C Decoder"},
             Case{0x8, "Retired AV Crossbar"},
             Case{0x10, "Retired TV Audio"},
             Case{0x20, "VIP Decoder"},
             Case{0x40, "VIP Audio (SPDIF)"},
             Case{0x80, "VBI Macrovision"},
             Case{0x100, "I2C TVAudio & VideoCrossbar, etc"},
             Case{0x200, "Parental Control, etc"},
             Case{0x400, "Teletext, etc"},
             Case{0x800, "etc"},
             Case{0x80000000, "etc"},
             Case{0xFFFFFFFF,
                  "Tuner, I2C Decoder, Retired AV Crossbar, Retired TV Audio, VIP Decoder, VIP Audio (SPDIF), VBI "
                  "Macrovision, I2C TVAudio & VideoCrossbar, Parental Control, Teletext, etc"},
         }) {
        char names[256];
        MismatchNames(c.mismatch, names, sizeof names);
        EXPECT_STREQ(names, c.names) << std::hex << c.mismatch;
    }
}

TEST(MismatchNames, IsCutToTheBuffer) {
    char names[12];
    std::memset(names, 'x', sizeof names);
    MismatchNames(0x6, names, 10);
    EXPECT_STREQ(names, "Tuner, ");  // "Tuner, I2" (9 characters), the last two dropped
    EXPECT_EQ(names[10], 'x');
}

TEST(FeatureMask, EachFieldSetsItsBits) {
    struct Case {
        std::vector<uint8_t> table;
        uint32_t mask;
    };
    for (const Case& c : {
             // nothing at all
             Case{{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 0x0},
             // one input, no decoder
             Case{{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 3}, 0x1001},
             // a tuner alone (type in bits 0-4 only; the input field does not count)
             Case{{0x01, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 0x2},
             Case{{0xE0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 0x0},
             // decoders 1 and 5 on I2C, 6 and 7 on VIP, 8 is none
             Case{{0, 0, 0, 0, 0, 0x01, 0, 0, 0, 0, 0, 0}, 0x84},
             Case{{0, 0, 0, 0, 0, 0x05, 0, 0, 0, 0, 0, 0}, 0x84},
             Case{{0, 0, 0, 0, 0, 0x06, 0, 0, 0, 0, 0, 0}, 0xA0},
             Case{{0, 0, 0, 0, 0, 0xF7, 0, 0, 0, 0, 0, 0}, 0xA0},
             Case{{0, 0, 0, 0, 0, 0x08, 0, 0, 0, 0, 0, 0}, 0x0},
             // audio 1 and 8 on I2C, 9 on VIP, 0 and 15 none
             Case{{0, 0x01, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 0x100},
             Case{{0, 0xF8, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 0x100},
             Case{{0, 0x09, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 0x40},
             Case{{0, 0x0F, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 0x0},
             // parental control: a tuner and a decoder
             Case{{0x01, 0, 0, 0, 0, 0x01, 0, 0, 0, 0, 0, 0}, 0x286},
             // teletext needs a decoder; power-down needs a tuner
             Case{{0, 0, 0, 0x04, 0, 0x01, 0, 0, 0, 0, 0, 0}, 0x484},
             Case{{0, 0, 0, 0x08, 0, 0, 0, 0, 0, 0, 0, 0}, 0x0},
             Case{{0x01, 0, 0, 0x01, 0, 0, 0, 0, 0, 0, 0, 0}, 0x802},
             Case{{0, 0, 0, 0x01, 0, 0, 0, 0, 0, 0, 0, 0}, 0x0},
             // five inputs; bits 2-7 of an input byte do not make an input
             Case{{0, 0, 0, 0, 0, 0, 0, 1, 2, 3, 1, 2}, 0x5001},
             Case{{0, 0, 0, 0, 0, 0, 0, 0xFC, 0, 0, 0, 0}, 0x0},
         }) {
        EXPECT_EQ(sim::FeatureMask(c.table.data()), c.mask) << std::hex << c.mask;
    }
}

}  // namespace
}  // namespace orbex::testing
