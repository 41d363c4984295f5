// The test object of the TV tuner: the graph's tuner filter, its tuner
// interface and the board's channel-scan object, the per-type tables the
// tuner cases compare against, and the channel settings of orbex.ini.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "platform/ports.h"
#include "platform/tuner.h"
#include "report/log_file.h"
#include "report/log_manager.h"

namespace orbex {

class COrbGBuilder;

class CTuner {
public:
    static constexpr int kTunerTypes = 32;

    explicit CTuner(COrbGBuilder* gBuilder);
    virtual ~CTuner();
    CTuner(const CTuner&) = delete;
    CTuner& operator=(const CTuner&) = delete;

    int32_t Initialize(CLogFile* logFileChooser, int32_t boardTunerStatus, int32_t tunerType, CLogManager* logManager,
                       COrbGBuilder* gBuilder);
    int32_t ExecuteTest(const char* testId, int32_t testCode, int32_t parameter);
    int32_t Test_LinearChannelScan();

    int32_t GetChannel(int32_t* channel);
    int32_t SetChannel(int32_t channel);
    bool IsStandardSupported(int32_t standard);

    // The per-type tables; a type outside 0-31 has no entry and gives 0.
    int32_t StandardMask(int32_t tunerType) const;
    int32_t ExpectedModes(int32_t tunerType) const;

    // The start channel and the expected channel count of the board's
    // tuner class, from [Tuner] of orbex.ini.
    void ReadChannelSettings(int32_t* startChannel);

    bool IsInitialised() const { return m_initialised != 0; }
    int32_t ExpectedChannelCount() const { return m_expectedChannels; }
    int32_t GraphVideoStandard() const { return m_graphVideoStandard; }

private:
    int32_t AvailableFormatCase(char* description, char* expected, char* actual);
    int32_t AvailableModeCase(char* description, char* expected, char* actual);
    // The format and mode cases: what the driver reads into field against the type's table value.
    int32_t TableCase(const char* caseName, const char* caseDescription, int32_t tableValue, int32_t* field,
                      const std::function<HResult(int32_t*)>& read, char* description, char* expected, char* actual);
    int32_t CountryCodeCase(char* description, char* expected, char* actual);
    void LogDetails(const char* caseName, int32_t status, const char* description, const char* expected,
                    const char* actual);
    void Report(const char* testId, int32_t status, const char* description, const char* expected, const char* actual);
    CLogManager* Logger() const;

    int32_t m_initialised = 0;
    CLogFile* m_pLogFileChooser = nullptr;
    int32_t m_boardTunerStatus = 0;
    int32_t m_tunerType = 0;
    std::shared_ptr<port::IBaseFilter> m_pTunerFilter;  // owned by the graph builder's filter table
    std::shared_ptr<port::IAMTVTuner> m_pTuner;
    std::shared_ptr<port::IQelAnalogLCS> m_pChannelScan;
    COrbGBuilder* m_pGBuilder = nullptr;
    int32_t m_filterIndex = -1;
    int32_t m_expectedChannels = 0;
    int32_t m_graphVideoStandard = 0;
    int32_t m_countryCode = 0;
    int32_t m_availableFormats = 0;
    int32_t m_availableModes = 0;
    int32_t m_standardMasks[kTunerTypes] = {};
    int32_t m_expectedModes[kTunerTypes] = {};
};

// The channel scan's progress callback: asks the decoder of the scanning
// graph builder whether the channel just tuned is locked, and counts it.
int16_t ORBEX_STDCALL ScanProgressCallback(int32_t progress, int32_t tuned, int32_t* locked);
// The channels the running scan has counted so far.
int32_t FoundChannelCount();

}  // namespace orbex
