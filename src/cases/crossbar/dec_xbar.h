// The test object of the decoder's analog video crossbar: routes the input
// the graph file names, and tests the connector counts and the signal lock
// of every route.
#pragma once

#include <cstdint>
#include <memory>

#include "board/board_info.h"
#include "platform/ports.h"
#include "platform/tuner.h"
#include "report/log_file.h"

namespace orbex {

class COrbGBuilder;

class CDecXbar {
public:
    explicit CDecXbar(COrbGBuilder* gBuilder) : m_pGBuilder(gBuilder) {}
    virtual ~CDecXbar();
    CDecXbar(const CDecXbar&) = delete;
    CDecXbar& operator=(const CDecXbar&) = delete;

    int32_t InitDecXbar(CLogFile* logFile, CBoardInfo* boardInfo, int32_t boardIndex, int32_t decoderType);
    int32_t ExecuteTest(const char* testId, int32_t testCode, int32_t parameter);

    int32_t ExpectedInputCount() const { return m_expectedInputs; }
    int32_t InputPinToRoute() const { return m_inputPin; }

private:
    int32_t ConnectorCountTest(const char* testId, bool inputs);
    int32_t RouteSignalTest(const char* testId);
    bool HasSignal();
    void Report(const char* testId, const char* step, int32_t status, const char* description, const char* expected,
                const char* actual);

    COrbGBuilder* m_pGBuilder = nullptr;
    CLogFile* m_pLogFile = nullptr;
    CBoardInfo* m_pBoardInfo = nullptr;
    int32_t m_boardIndex = 0;
    int32_t m_decoderType = 0;
    std::shared_ptr<port::IBaseFilter> m_pXbarFilter;  // owned by the graph builder's filter table
    std::shared_ptr<port::IAMCrossbar> m_pCrossbar;
    int32_t m_outputPins = 0;
    int32_t m_inputPins = 0;
    int32_t m_expectedOutputs = 1;
    int32_t m_expectedInputs = 0;
    int32_t m_filterIndex = -1;
    int32_t m_inputPin = 1;
};

}  // namespace orbex
