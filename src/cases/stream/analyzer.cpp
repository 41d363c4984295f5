// The video analyzer wrapper: finds the analyzer filter and reads its measurement.
#include "cases/stream/analyzer.h"

#include <cstring>

#include "graph/filter_entry.h"
#include "graph/orb_gbuilder.h"
#include "platform/guids.h"
#include "report/test_status.h"

namespace orbex {

float AnalyzerMeasurement::FrameRate() const {
    float rate;
    std::memcpy(&rate, bytes + port::kAnalyzerFrameRateOffset, sizeof rate);
    return rate;
}

CAnalyzer::~CAnalyzer() {
    m_pAnalyzer.reset();
}

int32_t CAnalyzer::Initialize() {
    CLogManager* logger = m_pGBuilder->m_pLogger;
    m_pGBuilder->GetFilterByType(kFilterVideoAnalyzer, m_pFilter);
    if (!m_pFilter) {
        Log(logger, kLevelProgress, kGreen, "CAnalyzer::Initialize()>  No Known Video Analyzer Detected.");
        return 1;
    }
    if (port::ComQuery(*m_pFilter, guids::kIidVideoAnalyzer, m_pAnalyzer) != kSOk) {
        m_pAnalyzer.reset();
        Log(logger, kLevelNoRun, kBlack, "CAnalyzer::Initialize()>  Failed to find Video Analyzer Interface.");
        const char* testId = m_pGBuilder->Id().testIdText;
        m_pGBuilder->Verdict().ResultReport(testId, testId, NoRun,
                                            "[NoRun]**** Filter is incorrectly defined as a Video Analyzer, or no "
                                            "Video Analyzer interface is found within filter.",
                                            "", "");
        return 1;
    }
    return 0;
}

HResult CAnalyzer::GetMeasurement(AnalyzerMeasurement* measurement) {
    if (!m_pAnalyzer) return 1;
    uint8_t* b = m_measurement.bytes;
    HResult hr = m_pAnalyzer->GetMeasurement(b, b + 8, b + 16, b + 24, b + 32, b + 40);
    if (hr < 0)
        std::memset(measurement->bytes, 0, sizeof measurement->bytes);
    else
        std::memcpy(measurement->bytes, m_measurement.bytes, sizeof measurement->bytes);
    return hr;
}

}  // namespace orbex
