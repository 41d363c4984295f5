// The reproduce line's quoting, for a POSIX shell and for cmd.exe: each word
// must come back to the program exactly as it was (the C runtime's splitting
// rules on Windows).
#include "platform/host/quoting.h"

#include <gtest/gtest.h>

namespace orbex::host {
namespace {

TEST(Quoting, PosixShellWordsComeBackWhole) {
    EXPECT_EQ(QuotedForPosixShell("tc2203 7"), "'tc2203 7'");
    EXPECT_EQ(QuotedForPosixShell("-g 2 -d 10 -t 1"), "'-g 2 -d 10 -t 1'");
    EXPECT_EQ(QuotedForPosixShell("it's"), "'it'\\''s'");
    EXPECT_EQ(QuotedForPosixShell("$HOME \"x\""), "'$HOME \"x\"'");
    EXPECT_EQ(QuotedForPosixShell(""), "''");
}

TEST(Quoting, CmdWordsFollowTheRuntimesBackslashRules) {
    struct Case {
        const char* word;
        const char* quoted;
    };
    const Case cases[] = {
        {"tc2203 7", R"("tc2203 7")"},
        {"-g 2 -d 10 -t 1", R"("-g 2 -d 10 -t 1")"},
        {"", R"("")"},
        {R"(a"b)", R"("a\"b")"},                     // a quote inside
        {R"(C:\ORBEX\x.gf)", R"("C:\ORBEX\x.gf")"},  // backslashes not before a quote stay single
        {R"(a\"b)", R"("a\\\"b")"},                  // a backslash before a quote: doubled, then the quote escaped
        {R"(C:\ORBEX\)", R"("C:\ORBEX\\")"},         // before the closing quote: doubled
        {R"(a\\)", R"("a\\\\")"},
        {"it's & more", R"("it's & more")"},  // cmd's operators are plain text inside quotes
    };
    for (const Case& c : cases) EXPECT_EQ(QuotedForCmd(c.word), c.quoted) << c.word;
}

}  // namespace
}  // namespace orbex::host
