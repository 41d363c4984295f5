// The harness's JSON Lines form of an event, checked against literal JSON text.
#include <gtest/gtest.h>

#include <string>

#include "../tools/harness/event.h"

namespace orbex::harness {
namespace {

std::string OneField(const std::string& text) {
    return ToJson(Event{"E", {{"t", text}}});
}

TEST(EventJson, EveryControlCharacterHasItsLiteralEscape) {
    const char* expected[32] = {
        R"(\u0000)", R"(\u0001)", R"(\u0002)", R"(\u0003)", R"(\u0004)", R"(\u0005)", R"(\u0006)", R"(\u0007)",
        R"(\b)",     R"(\t)",     R"(\n)",     R"(\u000B)", R"(\f)",     R"(\r)",     R"(\u000E)", R"(\u000F)",
        R"(\u0010)", R"(\u0011)", R"(\u0012)", R"(\u0013)", R"(\u0014)", R"(\u0015)", R"(\u0016)", R"(\u0017)",
        R"(\u0018)", R"(\u0019)", R"(\u001A)", R"(\u001B)", R"(\u001C)", R"(\u001D)", R"(\u001E)", R"(\u001F)"};
    for (int c = 0; c < 32; ++c) {
        std::string text = "a";
        text += static_cast<char>(c);
        text += "z";
        EXPECT_EQ(OneField(text), std::string(R"({"event":"E","t":"a)") + expected[c] + R"(z"})") << c;
    }
}

TEST(EventJson, QuotesBackslashesAndHighBytesAreEscapedAndPrintableBytesAreNot) {
    EXPECT_EQ(OneField("say \"hi\" \\ done"), R"({"event":"E","t":"say \"hi\" \\ done"})");
    EXPECT_EQ(OneField(" ~/\x7F"), "{\"event\":\"E\",\"t\":\" ~/\x7F\"}");
    EXPECT_EQ(OneField("\x80\xE9\xFF"), R"({"event":"E","t":"\u0080\u00E9\u00FF"})");
    EXPECT_EQ(OneField(""), R"({"event":"E","t":""})");
}

TEST(EventJson, FieldsKeepTheirOrderAndNumbersAreBare) {
    Event e{"ResultReport", {{"test", "tc1"}, {"status", int64_t{-3}}, {"actual", "x\ty"}, {"n", int64_t{0}}}};
    EXPECT_EQ(ToJson(e), R"({"event":"ResultReport","test":"tc1","status":-3,"actual":"x\ty","n":0})");
}

TEST(EventJson, ReadsBackEveryByteItWrote) {
    std::string all;
    for (int c = 0; c < 256; ++c) all += static_cast<char>(c);
    std::optional<Event> back = FromJson(OneField(all));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->name, "E");
    ASSERT_NE(back->Text("t"), nullptr);
    EXPECT_EQ(*back->Text("t"), all);
}

TEST(EventJson, AMalformedLineIsRefused) {
    for (const char* line : {"", "{", R"({"t":"x"})", R"({"event":1})", R"({"event":"E","t":1.5})", "[1]"})
        EXPECT_FALSE(FromJson(line)) << line;
}

}  // namespace
}  // namespace orbex::harness
