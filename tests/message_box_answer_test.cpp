// The answer given for a person at a message box: the default button of each
// button set, for each default-button style, and OK for what the platform
// does not define.
#include "platform/message_box_answer.h"

#include <gtest/gtest.h>

namespace orbex {
namespace {

TEST(MessageBoxAnswer, IsTheDefaultButtonOfEachSet) {
    struct Case {
        uint32_t style;
        int32_t answer;
    };
    const Case cases[] = {
        {0x1010, kIdOk},  // the rejected command line's box: stop icon, system modal, OK
        {0x0000, kIdOk},           {0x0001, kIdOk},    {0x0101, kIdCancel}, {0x0002, kIdAbort},  {0x0102, kIdRetry},
        {0x0202, kIdIgnore},       {0x0003, kIdYes},   {0x0103, kIdNo},     {0x0203, kIdCancel}, {0x0004, kIdYes},
        {0x0104, kIdNo},           {0x0005, kIdRetry}, {0x0105, kIdCancel}, {0x0006, kIdCancel}, {0x0106, kIdTryAgain},
        {0x0206, kIdContinue},     {0x0204, kIdYes},  // a default past the set's two buttons: the first
        {0x0303, kIdYes},                             // MB_DEFBUTTON4 without a fourth button
        {0x0100, kIdOk},                              // OK has one button
        {0x0007, kIdOk},                              // no such set: the system shows OK
        {0x0024 | 0x1000, kIdYes},                    // icon and modality bits do not change the answer
    };
    for (const Case& c : cases) EXPECT_EQ(MessageBoxAnswer(c.style), c.answer) << std::hex << c.style;
}

}  // namespace
}  // namespace orbex
