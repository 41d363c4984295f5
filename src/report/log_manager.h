// The one logging front end: lines go to the logging component (ILogWriter),
// and the (255, blue), (511, black) and (765, red) lines are also forwarded to
// the harness as "Message Log:" results.
#pragma once

#include <cstdarg>
#include <cstdint>
#include <memory>

#include "common/format.h"
#include "platform/ports.h"
#include "report/reg_settings.h"
#include "report/verdict.h"

namespace orbex {

class CLogManager {
public:
    CLogManager(port::IPlatform& platform, CVerdict& verdict);
    virtual ~CLogManager() = default;

    // The test identifier text that forwarded lines carry.
    void SetTestIdText(const char* testIdText) { m_pTestIdText = testIdText; }

    void Open();
    bool IsOpen() const { return m_pLogWriter && m_handle != kNoHandle; }
    void LogV(int32_t level, uint32_t colour, const char* format, va_list args);

    // The level mask the logging component is configured with for a log level.
    static uint32_t LevelMask(int32_t logLevel);

private:
    static constexpr uint32_t kNoHandle = 0xFFFFFFFF;

    port::IPlatform& m_platform;
    CVerdict& m_verdict;
    std::shared_ptr<port::ILogWriter> m_pLogWriter;
    uint32_t m_handle = kNoHandle;
    CRegSettings m_regSettings;
    const char* m_pTestIdText = "";
    int32_t m_messageCounter = 1;  // step identifiers of forwarded lines: msg1, msg2, ...
};

// Writes one line through the logger (printf format and arguments).
void Log(CLogManager* logger, int32_t level, uint32_t colour, const char* format, ...) ORBEX_PRINTF(4, 5);

}  // namespace orbex
