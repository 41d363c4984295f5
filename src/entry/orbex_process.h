// The process-wide objects of the library, constructed in the system's order
// and destroyed in reverse, and the run sequence of one OrbexEntry call.
#pragma once

#include <cstdint>

#include "board/board_info.h"
#include "common/delay.h"
#include "graph/orb_gbuilder.h"
#include "platform/ports.h"
#include "report/log_file.h"
#include "report/log_manager.h"
#include "report/reg_settings.h"
#include "report/verdict.h"

namespace orbex {

class COrbexProcess {
public:
    explicit COrbexProcess(port::IPlatform& platform);
    virtual ~COrbexProcess() = default;
    COrbexProcess(const COrbexProcess&) = delete;
    COrbexProcess& operator=(const COrbexProcess&) = delete;

    int32_t OrbexEntry(const char* commandLine, int32_t reserved);

    int32_t TestExecuter();
    int32_t SelfSetup();

    COrbGBuilder& GraphBuilder() { return m_gBuilder; }
    CBoardInfo& BoardInfo() { return m_boardInfo; }
    CLogManager& LogManager() { return m_logManager; }
    CVerdict& Verdict() { return m_verdict; }

private:
    int32_t RunSequence(const char* commandLine);

    port::IPlatform& m_platform;
    CBoardInfo m_boardInfo;
    CLogFile m_logFile;
    CRegSettings m_regSettings;
    CVerdict m_verdict;  // the harness library handle and its entry points
    CLogManager m_logManager;
    COrbGBuilder m_gBuilder;
};

}  // namespace orbex
