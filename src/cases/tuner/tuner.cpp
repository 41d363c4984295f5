// The tuner object: its tables, initialisation and channel access.
#include "cases/tuner/tuner.h"

#include "graph/filter_entry.h"
#include "graph/orb_gbuilder.h"
#include "platform/guids.h"
#include "report/test_status.h"

namespace orbex {
namespace {
constexpr const char* kInitPrefix = "CTuner::Initialize()>  ";

struct TableRow {
    int32_t types[4];
    int32_t standardMask;
};
// Standard masks by tuner type (AnalogVideoStandard bits); each listed type expects TV mode only.
constexpr TableRow kTable[] = {
    {{1, 2, 8, 12}, 0x3},        {{3, 9, -1, -1}, 0x50},     {{4, 10, -1, -1}, 0x100},    {{5, 11, -1, -1}, 0xC0050},
    {{6, 15, -1, -1}, 0x603},    {{7, -1, -1, -1}, 0x12000}, {{13, -1, -1, -1}, 0x13170}, {{14, -1, -1, -1}, 0x53170},
    {{16, -1, -1, -1}, 0xC0170}, {{29, -1, -1, -1}, 0x603},  {{30, -1, -1, -1}, 0xF7170},
};

struct ChannelKeys {
    const char* startKey;
    int32_t startDefault;
    const char* countKey;
    int32_t countDefault;
};
// Start channel and channel count keys of [Tuner] by standard class 1-4.
constexpr ChannelKeys kChannelKeys[] = {
    {"NTSC_Channel", 33, "NTSC_NumOfChannel", 61},
    {"PAL_Channel", 2, "PAL_NumOfChannel", 2},
    {"SECAM_Channel", 1, "SECAM_NumOfChannel", 1},
    {"PAL_SECAM_Channel", 2, "PAL_SECAM_NumOfChannel", 2},
};
}  // namespace

CTuner::CTuner(COrbGBuilder* gBuilder) : m_pGBuilder(gBuilder) {
    for (const TableRow& row : kTable)
        for (int32_t type : row.types)
            if (type >= 0) {
                m_standardMasks[type] = row.standardMask;
                m_expectedModes[type] = port::kTunerModeTv;
            }
}

// The channel-scan object goes before the tuner interface it was bound to.
CTuner::~CTuner() {
    m_pChannelScan.reset();
    m_pTuner.reset();
}

CLogManager* CTuner::Logger() const {
    return m_pGBuilder ? m_pGBuilder->m_pLogger : nullptr;
}

void CTuner::Report(const char* testId, int32_t status, const char* description, const char* expected,
                    const char* actual) {
    m_pGBuilder->Verdict().ResultReport(testId, testId, status, description, expected, actual);
}

int32_t CTuner::StandardMask(int32_t tunerType) const {
    return tunerType >= 0 && tunerType < kTunerTypes ? m_standardMasks[tunerType] : 0;
}

int32_t CTuner::ExpectedModes(int32_t tunerType) const {
    return tunerType >= 0 && tunerType < kTunerTypes ? m_expectedModes[tunerType] : 0;
}

int32_t CTuner::GetChannel(int32_t* channel) {
    if (!m_pTuner || !channel) return 0;
    int32_t value = 0, videoSubChannel = 0, audioSubChannel = 0;
    // Only a successful read replaces the caller's value.
    if (m_pTuner->get_Channel(&value, &videoSubChannel, &audioSubChannel) == kSOk) *channel = value;
    return 0;
}

int32_t CTuner::SetChannel(int32_t channel) {
    if (m_pTuner) m_pTuner->put_Channel(channel, -1, -1);
    return 0;
}

bool CTuner::IsStandardSupported(int32_t standard) {
    int32_t type = m_pGBuilder->BoardInfo().GetTunerType(0);
    if (type == -1) return false;
    return (standard & StandardMask(type)) != 0;
}

int32_t CTuner::Initialize(CLogFile* logFileChooser, int32_t boardTunerStatus, int32_t tunerType,
                           CLogManager* /*logManager*/, COrbGBuilder* gBuilder) {
    Log(Logger(), kLevelTrace, kGreen, "CTuner::CTuner() Entered.");
    m_pLogFileChooser = logFileChooser;
    m_boardTunerStatus = boardTunerStatus;
    m_tunerType = tunerType;
    m_pGBuilder = gBuilder;
    m_filterIndex = -1;
    m_pTunerFilter.reset();
    m_pTuner.reset();

    m_filterIndex = m_pGBuilder->GetFilterByType(kFilterTuner, m_pTunerFilter);
    if (!m_pTunerFilter) {
        Log(Logger(), kLevelFailure, kRed, "CTuner::Initialize() Failed to find a tuner.");
        Report(m_pGBuilder->Id().testIdText, Fail, "", "", "[Fail]**** Failed to find a tuner.");
        return 1;
    }
    if (port::ComQuery(*m_pTunerFilter, guids::kIidAmTvTuner, m_pTuner) != kSOk) {
        Log(Logger(), kLevelNoRun, kBlack, "%sFilter is incorrectly defined as a Tuner.", kInitPrefix);
        Report(m_pGBuilder->Id().testIdText, NoRun, "", "",
               "[NoRun]**** Filter is incorrectly defined as a Tuner, or no tuner interface is found within filter.");
        return 1;
    }
    Log(Logger(), kLevelTrace, kGreen, "CTuner::Tuner Detected, Tuner type reported is 0x%08x.",
        static_cast<uint32_t>(m_tunerType));

    const char* section = m_pGBuilder->Filter(m_filterIndex).name;
    if (m_pGBuilder->ReadKeyInt(section, "VideoStandard", &m_graphVideoStandard, 0) != 0) {
        Log(Logger(), kLevelProgress, kGreen,
            "%sNo VideoStandard specified in graph file. Using MMTable to determine video standard for tuner.",
            kInitPrefix);
        m_graphVideoStandard = 0;
    } else if (!IsStandardSupported(m_graphVideoStandard)) {
        char expected[256], actual[256];
        uint32_t standard = static_cast<uint32_t>(m_graphVideoStandard);
        FormatInto(expected, sizeof expected, "Video standard (0x%08X) is supported by tuner.", standard);
        FormatInto(actual, sizeof actual, "[NA] Video standard (0x%08X) is not supported by tuner.", standard);
        Log(Logger(), kLevelNote, kBlue, "%s%s", kInitPrefix, actual);
        Report(m_pGBuilder->Id().testIdText, NA, "Initializing tuner.", expected, actual);
        return 1;
    }

    port::ComPtr scan;
    if (m_pGBuilder->Platform().Com().CoCreateInstance(guids::kClsidQelAnalogLcs, guids::kIidQelAnalogLcs, scan) !=
            kSOk ||
        !(m_pChannelScan = port::ComCast<port::IQelAnalogLCS>(scan))) {
        Log(Logger(), kLevelNoRun, kBlack, "%s[NoRun]**** Unable to cocreate QelAnalogLCS object.", kInitPrefix);
        Report(m_pGBuilder->Id().testIdText, NoRun, "", "", "[NoRun]**** Unable to cocreate QelAnalogLCS object.");
        return 1;
    }
    Log(Logger(), kLevelTrace, kGreen, "CTuner::Initialize() Tuner found.");

    int32_t startChannel = 1;
    ReadChannelSettings(&startChannel);
    SetChannel(startChannel);
    Log(Logger(), kLevelTrace, kGreen, "CTuner::Initialize() Finished");
    m_initialised = 1;
    return 0;
}

// Start channel and expected channel count by the tuner's standard class, from
// [Tuner] of orbex.ini wherever the platform finds it; keys or a file that
// are missing give the defaults.
void CTuner::ReadChannelSettings(int32_t* startChannel) {
    port::IPlatform& platform = m_pGBuilder->Platform();
    char iniPath[261] = "";
    if (!platform.Files().OpenFileExists("orbex.ini", iniPath, sizeof iniPath)) iniPath[0] = '\0';
    uint8_t standardClass = m_pGBuilder->BoardInfo().GetTunerStandardClass(0);
    if (standardClass < 1 || standardClass > 4) {
        Log(Logger(), kLevelNote, kBlue,
            "CTuner::Initialize() Cannot determine tuner type. Setting Default Channel to 1.");
        m_expectedChannels = 0;
        *startChannel = 1;
        return;
    }
    const ChannelKeys& keys = kChannelKeys[standardClass - 1];
    auto read = [&](const char* key, int32_t defaultValue) {
        if (!iniPath[0]) return defaultValue;
        return static_cast<int32_t>(platform.Profile().ReadProfileInt("Tuner", key, defaultValue, iniPath));
    };
    *startChannel = read(keys.startKey, keys.startDefault);
    m_expectedChannels = read(keys.countKey, keys.countDefault);
}

}  // namespace orbex
