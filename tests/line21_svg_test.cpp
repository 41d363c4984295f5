// The line-21 picture: the bits it labels are the ones the decoder sliced, in
// the order they were sent, and a line that does not decode says so.
#include "line21_svg.h"

#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

namespace orbex::line21 {
namespace {

std::string Draw(uint8_t first, uint8_t second, const Impairments& impairments = {}) {
    std::vector<uint8_t> samples(kFormat8Fsc.samples);
    EncodeLine(first, second, kFormat8Fsc, impairments, samples.data());
    DecodeResult r = DecodeLine(samples.data(), samples.size(), kFormat8Fsc);
    return LineSvg(samples.data(), samples.size(), kFormat8Fsc, r, "t <&>");
}

// The 0/1 labels under the plot, left to right.
std::string BitLabels(const std::string& svg) {
    std::string bits;
    std::regex label(R"(text-anchor="middle" fill="#[0-9a-f]{6}">([01])</text>)");
    for (auto it = std::sregex_iterator(svg.begin(), svg.end(), label); it != std::sregex_iterator(); ++it)
        bits += (*it)[1].str();
    return bits;
}

TEST(Line21Svg, LabelsTheStartBitsAndBothBytesWithParityInSendingOrder) {
    // 'H' = 0x48 (two ones: parity 1), 'i' = 0x69 (four ones: parity 1), each
    // least significant bit first.
    std::string svg = Draw('H', 'i');
    EXPECT_EQ(BitLabels(svg),
              "001"
              "00010011"
              "10010111");
    EXPECT_NE(svg.find("decoded 'H' 0x48, 'i' 0x69"), std::string::npos);
    EXPECT_NE(svg.find(">clock run-in<"), std::string::npos);
    EXPECT_NE(svg.find("t &lt;&amp;&gt;"), std::string::npos);
    EXPECT_EQ(svg.find("t <&>"), std::string::npos);
}

TEST(Line21Svg, ParityAlreadyOddGetsAZeroParityBitAndControlCodesShowAsCodes) {
    // 0x07 has three ones: its parity bit is 0; 0x14 has two: 1. 0x14 0x2C is a
    // control pair.
    EXPECT_EQ(BitLabels(Draw(0x07, 0x14)),
              "001"
              "11100000"
              "00101001");
    EXPECT_NE(Draw(0x14, 0x2C).find("decoded 0x14, ',' 0x2C"), std::string::npos);
}

TEST(Line21Svg, ALineThatDoesNotDecodeShowsNoBitsAndSaysWhy) {
    Impairments noRunIn;
    noRunIn.runIn = false;
    Impairments badParity;
    badParity.flipParity = 2;
    for (const Impairments& imp : {noRunIn, badParity}) {
        std::string svg = Draw('H', 'i', imp);
        EXPECT_EQ(BitLabels(svg), "");
        EXPECT_NE(svg.find("no captions"), std::string::npos);
        EXPECT_EQ(svg.find(">clock run-in<"), std::string::npos);
    }
}

}  // namespace
}  // namespace orbex::line21
