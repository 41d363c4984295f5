#include "report/verdict.h"

namespace orbex {

CVerdict::~CVerdict() {
    Unload();
}

void CVerdict::Load() {
    Unload();
    m_pLibrary = m_loader.LoadNamedLibrary("verdict.dll");
    if (!m_pLibrary) return;
    m_pTestBegin = reinterpret_cast<TestBeginFn>(m_loader.GetProcAddress(m_pLibrary, "TestBegin"));
    m_pTestEnd = reinterpret_cast<TestEndFn>(m_loader.GetProcAddress(m_pLibrary, "TestEnd"));
    m_pResultReport = reinterpret_cast<ResultReportFn>(m_loader.GetProcAddress(m_pLibrary, "ResultReport"));
}

void CVerdict::Unload() {
    m_pTestBegin = nullptr;
    m_pTestEnd = nullptr;
    m_pResultReport = nullptr;
    if (m_pLibrary) m_loader.FreeLibrary(m_pLibrary);
    m_pLibrary = nullptr;
}

void CVerdict::TestBegin(const char* testId, int32_t a, int32_t b, const char* tool) {
    if (m_pTestBegin) m_pTestBegin(testId, a, b, tool);
}

void CVerdict::TestEnd(const char* testId) {
    if (m_pTestEnd) m_pTestEnd(testId);
}

int32_t CVerdict::ResultReport(const char* testId, const char* stepId, int32_t status, const char* description,
                               const char* expected, const char* actual) {
    if (!m_pResultReport) return 0;
    return m_pResultReport(testId ? testId : "", stepId ? stepId : "", status, description ? description : "",
                           expected ? expected : "", actual ? actual : "");
}

}  // namespace orbex
