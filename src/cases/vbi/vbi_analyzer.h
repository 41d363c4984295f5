// The VBI analyzer filter of the graph, through its analyzer interface: it
// fills one VBI result record per call.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/ports.h"
#include "platform/tuner.h"

namespace orbex {

class COrbGBuilder;

// One VBI result record as the analyzer fills it.
struct VbiRecord {
    uint8_t bytes[port::kVbiRecordSize] = {};
    // The odd-field line on which captions were found (21 where NTSC carries them).
    int32_t CaptionLine() const;
};

class CVBIAnalyzer {
public:
    explicit CVBIAnalyzer(COrbGBuilder* gBuilder) : m_pGBuilder(gBuilder) {}
    virtual ~CVBIAnalyzer();
    CVBIAnalyzer(const CVBIAnalyzer&) = delete;
    CVBIAnalyzer& operator=(const CVBIAnalyzer&) = delete;

    int32_t Initialize();
    HResult GetVBIData(VbiRecord* record);

private:
    COrbGBuilder* m_pGBuilder = nullptr;
    std::shared_ptr<port::IBaseFilter> m_pFilter;  // owned by the graph builder's filter table
    std::shared_ptr<port::IVBIAnalyzer> m_pAnalyzer;
};

}  // namespace orbex
