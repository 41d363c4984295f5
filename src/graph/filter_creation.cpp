// Creating the graph objects and one filter per table entry, by class
// identifier or by device lookup in a category.
#include <cstring>

#include "graph/orb_gbuilder.h"
#include "platform/guids.h"
#include "report/test_status.h"

namespace orbex {
namespace {

constexpr const char* kCreatePrefix = "COrbGBuilder::CreateFilters()>  ";
constexpr const char* kGetFilterPrefix = "COrbGBuilder::GetFilter()>  ";
constexpr const char* kCreateDescription = "Create all filters in the graph.";

enum class Creation { ByClass, ByDevice };

bool IsDeviceLookup(int32_t type) {
    return type == 2 || type == 3 || type == 4 || type == 10 || type == 11;
}

void ClearEntry(FilterEntry& entry) {
    entry = FilterEntry{};
}

}  // namespace

int32_t COrbGBuilder::CreateFilters() {
    port::IComRuntime& com = m_platform.Com();
    char actual[256];
    auto setupFailed = [&](const char* expected, const char* format, HResult hr) {
        FormatInto(actual, sizeof actual, format, static_cast<int>(hr));
        Report("0", NoRun, kCreateDescription, expected, actual);
        Log(m_pLogger, kLevelNoRun, kBlack, "%s%s", kCreatePrefix, actual);
        return 1;
    };

    port::ComPtr object;
    HResult hr = com.CoCreateInstance(guids::kClsidCaptureGraphBuilder, guids::kIidCaptureGraphBuilder, object);
    m_pCaptureGraphBuilder = port::ComCast<port::ICaptureGraphBuilder>(object);
    if (hr != kSOk || !m_pCaptureGraphBuilder)
        return setupFailed("Successfully create ICaptureGraphBuilder object.",
                           "[NoRun]**** CoCreateInstance for ICaptureGraphBuilder failed. (Err=%d).", hr);
    hr = com.CoCreateInstance(guids::kClsidFilterGraph, guids::kIidGraphBuilder, object);
    m_pGraphBuilder = port::ComCast<port::IGraphBuilder>(object);
    if (hr != kSOk || !m_pGraphBuilder)
        return setupFailed("Successfully create IGraphBuilder object.",
                           "[NoRun]**** CoCreateInstance for IGraphBuilder failed. (Err=%d).", hr);
    hr = m_pCaptureGraphBuilder->SetFiltergraph(m_pGraphBuilder);
    if (hr != kSOk)
        return setupFailed("Successfully set graph builder to capture graph builder.",
                           "[NoRun]**** Failed to set graph builder to capture graph builder. (Err=%d).", hr);

    int32_t tunerType = m_boardInfo.GetTunerType(0);
    int32_t decoderType = m_boardInfo.GetDecoderType(0);
    for (int i = 0; i < m_filterCount; ++i) {
        FilterEntry& entry = m_filters[i];
        entry.filter.reset();
        int32_t type = entry.filterType;
        if (type < 0 || type > kFilterTypeLast) {
            FormatInto(actual, sizeof actual,
                       "[NoRun] CoCreateInstance failed for filter \"%s\" (Err=%d). Undefined filter type (%d) found. "
                       "Check file \"%s\".",
                       entry.name, 0, type, m_testId.graphFilePath);
            Report("0", NoRun, kCreateDescription, "Successfully create all base filter objects to main filter graph.",
                   actual);
            Log(m_pLogger, kLevelNoRun, kBlack, "%s%s", kCreatePrefix, actual);
            return 1;
        }
        // Hardware the board does not have is dropped without a word.
        bool missingTuner = type == kFilterTuner && tunerType <= 0;
        bool missingDecoder = (type == kFilterDecoder || type == kFilterCrossbar || type == 11) && decoderType <= 0;
        if (missingTuner || missingDecoder) {
            ClearEntry(entry);
            continue;
        }
        HResult created = 0;
        if (IsDeviceLookup(type)) {
            created = GetFilter(entry.clsid, entry.friendlyName, entry.filter);
        } else {
            created = com.CoCreateInstance(entry.clsid, guids::kIidBaseFilter, object);
            entry.filter = port::ComCast<port::IBaseFilter>(object);
            if (created == kSOk && !entry.filter) created = kENoInterface;
        }
        if (created != 0) {
            FormatInto(
                actual, sizeof actual,
                "[Info] CoCreateInstance failed for filter \"%s\" (Err=%d). Make sure the correct video card and "
                "driver are installed. Check file \"%s\".",
                entry.name, static_cast<int>(created), m_testId.graphFilePath);
            Report("0", Pass, kCreateDescription, "Successfully create all base filter objects to main filter graph.",
                   actual);
            Log(m_pLogger, kLevelNote, kBlue, "%s%s", kCreatePrefix, actual);
            ClearEntry(entry);
            continue;
        }
        hr = m_pGraphBuilder->AddFilter(entry.filter, nullptr);
        if (hr != kSOk) {
            FormatInto(actual, sizeof actual,
                       "[NoRun]**** AddFilter failed for filter \"%s\" (Err=%d). Check CLSID in \"%s\".", entry.name,
                       static_cast<int>(hr), m_testId.graphFilePath);
            Report("0", NoRun, kCreateDescription, "Successfully add all base filter objects to main filter graph.",
                   actual);
            Log(m_pLogger, kLevelNoRun, kBlack, "%s%s", kCreatePrefix, actual);
            ReleaseFilters();
            return 1;
        }
    }
    return 0;
}

int32_t COrbGBuilder::GetFilter(const Guid& category, const char* namePattern,
                                std::shared_ptr<port::IBaseFilter>& filter) {
    filter.reset();
    port::ComPtr object;
    if (m_platform.Com().CoCreateInstance(guids::kClsidSystemDeviceEnum, guids::kIidCreateDevEnum, object) != kSOk)
        return 1;
    auto devEnum = port::ComCast<port::ICreateDevEnum>(object);
    if (!devEnum) return 1;
    std::shared_ptr<port::IEnumMoniker> monikers;
    HResult hr = devEnum->CreateClassEnumerator(category, monikers, 0);
    devEnum.reset();
    if (hr != kSOk || !monikers) return 1;  // an empty category gives S_FALSE

    monikers->Reset();
    std::shared_ptr<port::IMoniker> moniker;
    while (monikers->Next(moniker) == kSOk && moniker) {
        char deviceName[80] = "";
        std::shared_ptr<port::IPropertyBag> bag;
        if (moniker->BindToPropertyBag(bag) == kSOk && bag) {
            std::string name;
            if (bag->ReadString("FriendlyName", name) == kSOk) CopyText(deviceName, sizeof deviceName, name.c_str());
        }
        bag.reset();
        if (std::strstr(deviceName, namePattern)) {
            if (moniker->BindToObject(guids::kIidBaseFilter, object) == kSOk) {
                filter = port::ComCast<port::IBaseFilter>(object);
                if (filter) {
                    Log(m_pLogger, kLevelProgress, kGreen, "%s\"%s\" Detected.", kGetFilterPrefix, deviceName);
                    break;
                }
            }
        }
        moniker.reset();
    }
    return filter ? 0 : 1;
}

}  // namespace orbex
