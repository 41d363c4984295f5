// The graph builder: holds the test identifier, the filter table, the
// DirectShow graph and the test objects, and turns a parsed command line into
// a ready test bench.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "board/board_info.h"
#include "entry/test_identifier.h"
#include "graph/filter_entry.h"
#include "platform/ports.h"
#include "platform/stream_config.h"
#include "report/log_file.h"
#include "report/log_manager.h"
#include "report/reg_settings.h"
#include "report/verdict.h"

namespace orbex {

class COrbStream;
class CTuner;
class CDecoder;
class CDecXbar;
class CVBIAnalyzer;
class CAnalyzer;
class CVideoRenderer;
class CVBI;
class CHardwareCaps;
class CComChker;

// The test objects of the device classes, in the order Initialize creates them.
enum class TestObject {
    Stream,
    Tuner,
    Decoder,
    Crossbar,
    HardwareCaps,
    ComChker,
    Analyzer,
    VbiAnalyzer,
    VideoRenderer,
    Vbi
};
const char* TestObjectClassName(TestObject object);

class COrbGBuilder {
public:
    COrbGBuilder(port::IPlatform& platform, CBoardInfo& boardInfo, CLogFile& logFile, CRegSettings& regSettings,
                 CVerdict& verdict);
    virtual ~COrbGBuilder();
    COrbGBuilder(const COrbGBuilder&) = delete;
    COrbGBuilder& operator=(const COrbGBuilder&) = delete;

    // Set up
    int32_t Initialize();
    bool HasCaptureCapability() const;
    int32_t Release();
    // Whether a test object exists and initialised; tests of a missing one are refused.
    bool IsTestObjectReady(TestObject object) const;

    // Graph definition file
    int32_t MergeIncludeFiles(const char* path);
    int32_t ReadDataFile();
    int32_t ReadKeyInt(const char* section, const char* key, int32_t* value, int32_t required);
    int32_t ReadKeyGUID(const char* section, const char* key, Guid* value, int32_t required);
    int32_t GetGlobalKeyVar();

    // Filters and connections
    int32_t CreateFilters();
    int32_t GetFilter(const Guid& category, const char* namePattern, std::shared_ptr<port::IBaseFilter>& filter);
    int32_t ConnectFilters();
    HResult ConnectPins(const std::shared_ptr<port::IBaseFilter>& source,
                        const std::shared_ptr<port::IBaseFilter>& destination, uint16_t outputPin, uint16_t inputPin);
    HResult DisconnectPins(const std::shared_ptr<port::IBaseFilter>& source,
                           const std::shared_ptr<port::IBaseFilter>& destination, uint16_t outputPin,
                           uint16_t inputPin);
    int32_t ReleaseFilters();
    int32_t GetMediaControl();
    HResult SetGraphState(int32_t run);
    int32_t SetCaptureFilter(const std::shared_ptr<port::IBaseFilter>& filter);
    int32_t ReleaseInterfaces();

    // Shared utilities
    int32_t GetFilterByType(int32_t filterType, std::shared_ptr<port::IBaseFilter>& filter);
    int32_t FindInterface(const Guid& iid, port::ComPtr& out);
    int32_t FindInterfaceOnFilter(const Guid* category, const std::shared_ptr<port::IBaseFilter>& filter,
                                  const Guid& iid, port::ComPtr& out);
    int32_t GetOSVersion();
    HResult GetVideoMemory(uint32_t* total, uint32_t* free);
    void PrintGUID(const Guid* guid);

    // What the test objects reach through the graph builder.
    port::IPlatform& Platform() { return m_platform; }
    CBoardInfo& BoardInfo() { return m_boardInfo; }
    CVerdict& Verdict() { return m_verdict; }
    COrbStream* Stream() { return m_pStream.get(); }
    CTuner* Tuner() { return m_pTuner.get(); }
    CDecoder* Decoder() { return m_pDecoder.get(); }
    CDecXbar* Crossbar() { return m_pCrossbar.get(); }
    CVBIAnalyzer* VbiAnalyzer() { return m_pVbiAnalyzer.get(); }
    CAnalyzer* Analyzer() { return m_pAnalyzer.get(); }
    CVideoRenderer* VideoRenderer() { return m_pVideoRenderer.get(); }
    // The renderer object that last began its set-up (it records itself).
    CVideoRenderer* CurrentRenderer() { return m_pCurrentRenderer; }
    void SetCurrentRenderer(CVideoRenderer* renderer) { m_pCurrentRenderer = renderer; }
    CVBI* Vbi() { return m_pVbi.get(); }
    CHardwareCaps* HardwareCaps() { return m_pHardwareCaps.get(); }
    CComChker* ComChker() { return m_pComChker.get(); }

    TestIdentifier& Id() { return m_testId; }
    const TestIdentifier& Id() const { return m_testId; }
    // The capture pin's stream configuration, kept by the stream object's set-up.
    const std::shared_ptr<port::IAMStreamConfig>& StreamConfig() const { return m_pStreamConfig; }
    void SetStreamConfig(std::shared_ptr<port::IAMStreamConfig> config) { m_pStreamConfig = std::move(config); }
    // The filter graph, for the tests that query it for media control themselves.
    const std::shared_ptr<port::IGraphBuilder>& Graph() const { return m_pGraphBuilder; }
    int32_t TestDuration() const { return m_testDuration; }
    int32_t FilterCount() const { return m_filterCount; }
    const FilterEntry& Filter(int index) const { return m_filters[index]; }
    const char* MergedFilePath() const { return m_mergedFilePath; }
    CLogManager* m_pLogger = nullptr;

private:
    bool CreateTestObjects();
    void DestroyTestObjects();
    int32_t MergeFile(const char* path, std::vector<std::string>& includePath);
    void Report(const char* step, int32_t status, const char* description, const char* expected, const char* actual);
    HResult FindPinPair(const std::shared_ptr<port::IBaseFilter>& source,
                        const std::shared_ptr<port::IBaseFilter>& destination, uint16_t outputPin, uint16_t inputPin,
                        std::shared_ptr<port::IPin>& out, std::shared_ptr<port::IPin>& in);
    HResult FindPin(const std::shared_ptr<port::IBaseFilter>& filter, PinDirection direction, uint16_t number,
                    std::shared_ptr<port::IPin>& pin);

    port::IPlatform& m_platform;
    CBoardInfo& m_boardInfo;
    CLogFile& m_logFile;
    CRegSettings& m_regSettings;
    CVerdict& m_verdict;

    TestIdentifier m_testId;
    int32_t m_testDuration = 10;
    std::shared_ptr<port::ICaptureGraphBuilder> m_pCaptureGraphBuilder;
    std::shared_ptr<port::IGraphBuilder> m_pGraphBuilder;
    std::shared_ptr<port::IBaseFilter> m_pCaptureFilter;
    std::shared_ptr<port::IAMStreamConfig> m_pStreamConfig;
    std::shared_ptr<port::IMediaControl> m_pMediaControl;
    FilterEntry m_filters[kMaxFilters];
    int32_t m_filterCount = 0;
    int32_t m_initialised = 0;
    bool m_graphReady = false;  // the graph path got through: connected and started
    // The test objects.
    std::unique_ptr<COrbStream> m_pStream;
    std::unique_ptr<CTuner> m_pTuner;
    std::unique_ptr<CDecoder> m_pDecoder;
    std::unique_ptr<CDecXbar> m_pCrossbar;
    std::unique_ptr<CHardwareCaps> m_pHardwareCaps;
    bool m_hardwareCapsReady = false;  // created and initialised
    std::unique_ptr<CComChker> m_pComChker;
    bool m_comChkerReady = false;  // created and initialised
    std::unique_ptr<CAnalyzer> m_pAnalyzer;
    std::unique_ptr<CVBIAnalyzer> m_pVbiAnalyzer;
    std::unique_ptr<CVideoRenderer> m_pVideoRenderer;
    std::unique_ptr<CVBI> m_pVbi;
    CVideoRenderer* m_pCurrentRenderer = nullptr;  // not owned
    char m_mergedFilePath[260] = {};
};

}  // namespace orbex
