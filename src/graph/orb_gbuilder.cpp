// Construction, set-up and teardown of the test bench.
#include "graph/orb_gbuilder.h"

#include <new>

#include "cases/comchk/com_chker.h"
#include "cases/crossbar/dec_xbar.h"
#include "cases/decoder/decoder.h"
#include "cases/hwcaps/hardware_caps.h"
#include "cases/stream/analyzer.h"
#include "cases/stream/orb_stream.h"
#include "cases/stream/video_renderer.h"
#include "cases/tuner/tuner.h"
#include "cases/vbi/vbi.h"
#include "cases/vbi/vbi_analyzer.h"
#include "report/test_status.h"

namespace orbex {
namespace {
constexpr const char* kInitPrefix = "COrbGBuilder::Initialize()>  ";
}

const char* TestObjectClassName(TestObject object) {
    switch (object) {
        case TestObject::Stream: return "COrbStream";
        case TestObject::Tuner: return "CTuner";
        case TestObject::Decoder: return "CDecoder";
        case TestObject::Crossbar: return "CDecXbar";
        case TestObject::HardwareCaps: return "CHardwareCaps";
        case TestObject::ComChker: return "CComChker";
        case TestObject::Analyzer: return "CAnalyzer";
        case TestObject::VbiAnalyzer: return "CVBIAnalyzer";
        case TestObject::VideoRenderer: return "CVideoRenderer";
        case TestObject::Vbi: return "CVBI";
    }
    return "?";
}

COrbGBuilder::COrbGBuilder(port::IPlatform& platform, CBoardInfo& boardInfo, CLogFile& logFile,
                           CRegSettings& regSettings, CVerdict& verdict)
    : m_platform(platform), m_boardInfo(boardInfo), m_logFile(logFile), m_regSettings(regSettings), m_verdict(verdict) {
    char currentDirectory[261] = "";
    uint32_t n = m_platform.System().CurrentDirectoryPath(sizeof currentDirectory - 1, currentDirectory);
    if (n == 0 || n >= sizeof currentDirectory - 1) currentDirectory[0] = '\0';
    FormatInto(m_mergedFilePath, sizeof m_mergedFilePath, "%s\\~temp.gf", currentDirectory);
}

COrbGBuilder::~COrbGBuilder() {
    DestroyTestObjects();
}

void COrbGBuilder::Report(const char* step, int32_t status, const char* description, const char* expected,
                          const char* actual) {
    m_verdict.ResultReport(m_testId.testIdText, step, status, description, expected, actual);
}

bool COrbGBuilder::HasCaptureCapability() const {
    int32_t decoder = m_boardInfo.GetDecoderType(0);
    return decoder >= 1 && decoder <= 7;
}

// A graph test object is ready once the first initialisation built, connected
// and started the whole graph: a bench that stopped part-way (a refused
// standard, a failed connection) keeps its objects, but no test runs against
// them. The tuner object is ready on a board without tuner too: it was never
// initialised, and its own tests report why. The classes not built yet never
// exist, so the test executer refuses their tests rather than run them
// against nothing.
bool COrbGBuilder::IsTestObjectReady(TestObject object) const {
    // The board-table object and the component checker need no graph: they
    // are ready once created and initialised.
    if (object == TestObject::HardwareCaps) return m_hardwareCapsReady;
    if (object == TestObject::ComChker) return m_comChkerReady;
    if (!m_graphReady) return false;
    switch (object) {
        case TestObject::Stream: return m_pStream != nullptr;
        case TestObject::Tuner: return m_pTuner != nullptr;
        case TestObject::Decoder: return m_pDecoder != nullptr;
        case TestObject::Crossbar: return m_pCrossbar != nullptr;
        case TestObject::Analyzer: return m_pAnalyzer != nullptr;
        case TestObject::VbiAnalyzer: return m_pVbiAnalyzer != nullptr;
        case TestObject::Vbi: return m_pVbi != nullptr;
        default: return false;
    }
}

// Creates the test objects in the bench's order: stream, tuner, decoder,
// crossbar, board tables, component checker, video analyzer, VBI analyzer,
// renderer, VBI test.
// An object that cannot be allocated ends the creation; those made so far stay.
bool COrbGBuilder::CreateTestObjects() {
    try {
        m_pStream = std::make_unique<COrbStream>(this);
        m_pTuner = std::make_unique<CTuner>(this);
        m_pDecoder = std::make_unique<CDecoder>(this);
        m_pCrossbar = std::make_unique<CDecXbar>(this);
        m_pHardwareCaps = std::make_unique<CHardwareCaps>();
        m_pComChker = std::make_unique<CComChker>(this);
        m_pAnalyzer = std::make_unique<CAnalyzer>(this);
        m_pVbiAnalyzer = std::make_unique<CVBIAnalyzer>(this);
        m_pVideoRenderer = std::make_unique<CVideoRenderer>(this);
        m_pVbi = std::make_unique<CVBI>(this);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

// Destroys the test objects in the bench's order (stream first, VBI test last).
void COrbGBuilder::DestroyTestObjects() {
    m_pStream.reset();
    m_pTuner.reset();
    m_pDecoder.reset();
    m_pCrossbar.reset();
    m_pHardwareCaps.reset();
    m_hardwareCapsReady = false;
    m_pComChker.reset();
    m_comChkerReady = false;
    m_pAnalyzer.reset();
    m_pVbiAnalyzer.reset();
    if (m_pCurrentRenderer == m_pVideoRenderer.get()) m_pCurrentRenderer = nullptr;
    m_pVideoRenderer.reset();
    m_pVbi.reset();
}

int32_t COrbGBuilder::Initialize() {
    Log(m_pLogger, kLevelTrace, kGreen, "%sEnter", kInitPrefix);
    if (m_initialised) return 0;
    m_initialised = 1;
    const int32_t tunerType = m_boardInfo.GetTunerType(0);
    const int32_t decoderType = m_boardInfo.GetDecoderType(0);

    if (m_testId.graphNumber == 5) {
        // Board-table path: only the board-table test object, no graph.
        try {
            m_pHardwareCaps = std::make_unique<CHardwareCaps>();
        } catch (const std::bad_alloc&) {
            return 1;
        }
        m_pHardwareCaps->Initialize(m_pLogger, this, &m_regSettings);
        m_hardwareCapsReady = true;
        Log(m_pLogger, kLevelTrace, kGreen, "%sExit", kInitPrefix);
        return 0;
    }
    if (!HasCaptureCapability()) {
        Report(m_testId.testIdText, NA, "Test program initialization.", "Computer has video capture capability.",
               "[NA] Computer has no video capture capability. (No Decoder found)");
        Log(m_pLogger, kLevelTrace, kGreen, "%s[NA] Computer has no video capture capability. (No Decoder found).",
            kInitPrefix);
        return 1;
    }
    if (m_testId.deviceNumber == 9) {
        // Component-checker path: only the component checker, no graph.
        try {
            m_pComChker = std::make_unique<CComChker>(this);
        } catch (const std::bad_alloc&) {
            return 1;
        }
        m_pComChker->Initialize(&m_logFile, this, &m_regSettings);
        m_comChkerReady = true;
        Log(m_pLogger, kLevelTrace, kGreen, "%sExit", kInitPrefix);
        return 0;
    }

    // Graph path. The merged file is emptied first; a failure to do so is
    // ignored and shows later as a failed merge write.
    m_platform.Files().CreateEmptyFile(m_mergedFilePath);
    if (MergeIncludeFiles(m_testId.graphFilePath) != 0) return 1;
    if (ReadDataFile() != 0) return 1;
    if (CreateFilters() != 0) return 1;
    GetMediaControl();
    GetGlobalKeyVar();
    if (!CreateTestObjects()) return 1;
    if (tunerType > 0 && m_pTuner->Initialize(&m_logFile, 0, tunerType, m_pLogger, this) != 0) return 1;
    if (decoderType > 0) {
        if (m_pDecoder->InitDecoder(&m_logFile, 0, m_boardInfo.GetDecoderType(0), this) != 0) return 1;
        if (m_pCrossbar->InitDecXbar(&m_logFile, &m_boardInfo, 0, decoderType) != 0) return 1;
        if (m_pStream->Initialize() != 0) return 1;
    }
    // The objects whose initialisation may fail without stopping the bench:
    // board tables, component checker, the video analyzer, the VBI analyzer
    // and the renderer.
    m_pHardwareCaps->Initialize(m_pLogger, this, &m_regSettings);
    m_hardwareCapsReady = true;
    m_pComChker->Initialize(&m_logFile, this, &m_regSettings);
    m_comChkerReady = true;
    m_pAnalyzer->Initialize();
    m_pVbiAnalyzer->Initialize();
    m_pVideoRenderer->Initialize();
    if (ConnectFilters() != 0) return 1;
    // The connected graph gets the renderer's window placed once more.
    m_pVideoRenderer->AttachWindow();
    SetGraphState(1);
    m_graphReady = true;
    Log(m_pLogger, kLevelTrace, kGreen, "%sExit", kInitPrefix);
    return 0;
}

int32_t COrbGBuilder::Release() {
    if (!m_initialised) return 0;
    SetGraphState(0);
    DestroyTestObjects();
    ReleaseInterfaces();
    ReleaseFilters();
    m_graphReady = false;
    m_initialised = 0;
    return 0;
}

}  // namespace orbex
