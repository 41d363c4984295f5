// The board-table test object: checks the display driver's MMTable and
// HWTable for validity and mutual consistency, compares the MMTable with a
// database of known board configurations and checks the feature mask the
// board's kernel driver derives from each of them.
#pragma once

#include <cstdint>

#include "board/drex.h"

namespace orbex {

class COrbGBuilder;
class CLogManager;
class CRegSettings;

class CHardwareCaps {
public:
    CHardwareCaps() = default;
    virtual ~CHardwareCaps() = default;
    CHardwareCaps(const CHardwareCaps&) = delete;
    CHardwareCaps& operator=(const CHardwareCaps&) = delete;

    int32_t Initialize(CLogManager* logger, COrbGBuilder* gBuilder, CRegSettings* regSettings);
    int32_t ExecuteTest(const char* testId, int32_t testNumber, int32_t parameter);

    int32_t MMTableTest(const char* description, const char* testId, int32_t testNumber, int32_t parameter);
    int32_t HWTableTest(const char* description, const char* testId, int32_t testNumber, int32_t parameter);
    int32_t MMMaskTest(const char* testId, int32_t testNumber, int32_t parameter);
    // One request to the board's kernel driver, opened and closed around it;
    // a Win32 error code, 0 for success.
    uint32_t SendDriverIoctl(uint32_t code, const void* in, uint32_t inSize, void* out, uint32_t outSize);

    const char* DatabasePath() const { return m_databasePath; }
    const char* ConfigurationName() const { return m_configName; }

private:
    int32_t KnownConfiguration(const char* description, const char* testId);
    int32_t ConsistencyChecks(const char* testId);
    void Report(const char* testId, const char* step, int32_t status, const char* description, const char* expected,
                const char* actual);
    CLogManager* Logger() const;

    COrbGBuilder* m_pGBuilder = nullptr;
    char m_databasePath[260] = {};
    char m_configName[100] = {};
    uint8_t m_candidate[12] = {};
    MMTableReply m_mmTable;
    HWTableReply m_hwTable;
};

}  // namespace orbex
