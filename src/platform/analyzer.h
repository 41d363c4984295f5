// The video analyzer filter's interface (IVideoAnalyzer), as a COM-style
// port: its measurement method takes six pointers to byte offsets 0, 8, 16,
// 24, 32 and 40 of one 96-byte record the caller owns.
#pragma once

#include <cstdint>

#include "platform/com.h"

namespace orbex::port {

constexpr int kAnalyzerMeasurementSize = 96;
constexpr int kAnalyzerFrameRateOffset = 32;  // 32-bit float, frames per second

class IVideoAnalyzer : public IComObject {
public:
    virtual HResult GetMeasurement(uint8_t* p0, uint8_t* p8, uint8_t* p16, uint8_t* p24, uint8_t* p32,
                                   uint8_t* p40) = 0;
};

}  // namespace orbex::port
