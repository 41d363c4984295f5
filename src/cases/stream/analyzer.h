// The video analyzer filter of the graph, through its analyzer interface: the
// frame-rate and stream tests read the rate it measured.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/analyzer.h"
#include "platform/ports.h"

namespace orbex {

class COrbGBuilder;

// The analyzer's 96-byte measurement record.
struct AnalyzerMeasurement {
    uint8_t bytes[port::kAnalyzerMeasurementSize] = {};
    float FrameRate() const;  // frames per second, at byte 32
};

class CAnalyzer {
public:
    explicit CAnalyzer(COrbGBuilder* gBuilder) : m_pGBuilder(gBuilder) {}
    virtual ~CAnalyzer();
    CAnalyzer(const CAnalyzer&) = delete;
    CAnalyzer& operator=(const CAnalyzer&) = delete;

    int32_t Initialize();
    // 1 without an analyzer (the record is left as it was), else the analyzer's result.
    HResult GetMeasurement(AnalyzerMeasurement* measurement);

private:
    COrbGBuilder* m_pGBuilder = nullptr;
    std::shared_ptr<port::IBaseFilter> m_pFilter;  // owned by the graph builder's filter table
    std::shared_ptr<port::IVideoAnalyzer> m_pAnalyzer;
    AnalyzerMeasurement m_measurement;  // what the analyzer fills
};

}  // namespace orbex
