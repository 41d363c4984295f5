// The harness result library ("verdict.dll") and the three wrappers through
// which the whole system reports. A missing library or entry point makes its
// wrapper a no-operation.
#pragma once

#include <cstdint>

#include "platform/ports.h"

namespace orbex {

class CVerdict {
public:
    explicit CVerdict(port::ILibraryLoader& loader) : m_loader(loader) {}
    virtual ~CVerdict();
    CVerdict(const CVerdict&) = delete;
    CVerdict& operator=(const CVerdict&) = delete;

    void Load();
    void Unload();

    void TestBegin(const char* testId, int32_t a, int32_t b, const char* tool);
    void TestEnd(const char* testId);
    int32_t ResultReport(const char* testId, const char* stepId, int32_t status, const char* description,
                         const char* expected, const char* actual);

private:
    using TestBeginFn = int32_t (*)(const char*, int32_t, int32_t, const char*);
    using TestEndFn = int32_t (*)(const char*);
    using ResultReportFn = int32_t (*)(const char*, const char*, int32_t, const char*, const char*, const char*);

    port::ILibraryLoader& m_loader;
    port::LibraryHandle m_pLibrary = nullptr;
    TestBeginFn m_pTestBegin = nullptr;
    TestEndFn m_pTestEnd = nullptr;
    ResultReportFn m_pResultReport = nullptr;
};

}  // namespace orbex
