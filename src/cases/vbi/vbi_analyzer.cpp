// The VBI analyzer wrapper: finds the analyzer filter and reads its records.
#include "cases/vbi/vbi_analyzer.h"

#include <cstring>

#include "graph/filter_entry.h"
#include "graph/orb_gbuilder.h"
#include "platform/guids.h"
#include "report/test_status.h"

namespace orbex {

int32_t VbiRecord::CaptionLine() const {
    int32_t line;
    std::memcpy(&line, bytes + port::kVbiRecordLineOffset, sizeof line);
    return line;
}

CVBIAnalyzer::~CVBIAnalyzer() {
    m_pAnalyzer.reset();
}

int32_t CVBIAnalyzer::Initialize() {
    CLogManager* logger = m_pGBuilder->m_pLogger;
    m_pGBuilder->GetFilterByType(kFilterVbiAnalyzer, m_pFilter);
    if (!m_pFilter) {
        Log(logger, kLevelProgress, kGreen, "CVBIAnalyzer::Initialize()>  No Known VBI Analyzer Detected.");
        return 1;
    }
    if (port::ComQuery(*m_pFilter, guids::kIidVbiAnalyzer, m_pAnalyzer) != kSOk) {
        Log(logger, kLevelNoRun, kBlack, "CVBIAnalyzer::Initialize()>  Failed to find VBI Analyzer Interface.");
        const char* testId = m_pGBuilder->Id().testIdText;
        m_pGBuilder->Verdict().ResultReport(testId, testId, NoRun,
                                            "[NoRun]**** Filter is incorrectly defined as a VBI Analyzer, or no VBI "
                                            "Analyzer interface is found within filter.",
                                            "", "");
        return 1;
    }
    return 0;
}

// A record that could not be read reads as all zeros: no captions.
HResult CVBIAnalyzer::GetVBIData(VbiRecord* record) {
    std::memset(record->bytes, 0, sizeof record->bytes);
    if (!m_pAnalyzer) return 1;
    uint8_t* b = record->bytes;
    HResult hr = m_pAnalyzer->GetVBIData(b, b + 8, b + 16, b + 24, b + 32, b + 40);
    if (hr < 0) std::memset(record->bytes, 0, sizeof record->bytes);
    return hr;
}

}  // namespace orbex
