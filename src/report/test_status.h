// The four outcomes of a test or a step, and the log levels and colours.
#pragma once

#include <cstdint>

namespace orbex {

enum TestStatus : int32_t { Fail = 0, NA = 1, NoRun = 2, Pass = 4 };

// Log levels.
constexpr int32_t kLevelTrace = 0;
constexpr int32_t kLevelProgress = 100;
constexpr int32_t kLevelPassNote = 101;
constexpr int32_t kLevelNote = 255;
constexpr int32_t kLevelNoRun = 511;
constexpr int32_t kLevelFailure = 765;

// Colours, 0x00BBGGRR.
constexpr uint32_t kGreen = 0x0000AF00;
constexpr uint32_t kBlue = 0x00FF0000;
constexpr uint32_t kBlack = 0x00000000;
constexpr uint32_t kRed = 0x000000FF;

}  // namespace orbex
