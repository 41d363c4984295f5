// Filter lookup by type, interface lookup by pin category, the operating-system
// family, free video memory and GUID logging.
#include "graph/orb_gbuilder.h"
#include "platform/guids.h"
#include "report/test_status.h"

namespace orbex {
namespace {
constexpr const char* kFindPrefix = "COrbGBuilder::FindInterface()>  ";
constexpr const char* kGuidPrefix = "COrbGBuilder::PrintGUID()>  ";
constexpr const char* kMemoryPrefix = "COrbGBuilder::GetVideoMemory()>  ";
constexpr uint32_t kDdsCapsOffscreenPlain = 0x40;
}  // namespace

int32_t COrbGBuilder::GetFilterByType(int32_t filterType, std::shared_ptr<port::IBaseFilter>& filter) {
    filter.reset();
    for (int i = 0; i < m_filterCount; ++i) {
        if (m_filters[i].filterType != filterType) continue;
        filter = m_filters[i].filter;
        PrintGUID(&m_filters[i].clsid);
        return i;
    }
    return -1;
}

int32_t COrbGBuilder::FindInterface(const Guid& iid, port::ComPtr& out) {
    out.reset();
    if (!m_pCaptureGraphBuilder) return 1;
    for (int i = 0; i < m_filterCount; ++i)
        if (m_pCaptureGraphBuilder->FindInterface(&guids::kPinCategoryPreview, m_filters[i].filter, iid, out) == kSOk)
            return 0;
    for (int i = 0; i < m_filterCount; ++i) {
        if (m_pCaptureGraphBuilder->FindInterface(&guids::kPinCategoryCapture, m_filters[i].filter, iid, out) == kSOk) {
            Log(m_pLogger, kLevelProgress, kGreen, "%sPin found in PIN_CATEGORY_CAPTURE.", kFindPrefix);
            return 0;
        }
    }
    out.reset();
    return 1;
}

int32_t COrbGBuilder::FindInterfaceOnFilter(const Guid* category, const std::shared_ptr<port::IBaseFilter>& filter,
                                            const Guid& iid, port::ComPtr& out) {
    out.reset();
    if (!m_pCaptureGraphBuilder) return 1;
    return m_pCaptureGraphBuilder->FindInterface(category, filter, iid, out) == kSOk ? 0 : 1;
}

int32_t COrbGBuilder::GetOSVersion() {
    OsVersion v;
    m_platform.System().QueryVersion(v);
    if (v.platformId != kPlatformWin32Nt) return 3;
    return v.major <= 5 ? 2 : 4;
}

HResult COrbGBuilder::GetVideoMemory(uint32_t* total, uint32_t* free) {
    char actual[256];
    auto fail = [&](const char* description, const char* expected, const char* format, HResult hr) {
        FormatInto(actual, sizeof actual, format, static_cast<long>(hr));
        Report("0", NoRun, description, expected, actual);
        Log(m_pLogger, kLevelNoRun, kBlack, "%s%s", kMemoryPrefix, actual);
        return hr;
    };
    port::ComPtr directDraw;
    HResult hr = m_platform.DirectDraw().DirectDrawCreate(directDraw);
    if (hr != kSOk || !directDraw)
        return fail("Creating DirectDraw object.", "Able to create DDraw object.",
                    "[NoRun]**** Failed to create DDraw object. (Err=%ld)", hr != kSOk ? hr : kEFail);
    std::shared_ptr<port::IDirectDraw2> directDraw2;
    hr = port::ComQuery(*directDraw, guids::kIidDirectDraw2, directDraw2);
    if (hr != kSOk)
        return fail("Query DirectDraw4 interface.", "Able to query DDraw4 interface.",
                    "[NoRun]**** Failed to query DDraw2 interface. (Err=%ld)", hr);
    hr = directDraw2->GetAvailableVidMem(kDdsCapsOffscreenPlain, total, free);
    if (hr != kSOk)
        return fail("Get available video memory.", "Able to get available video memory.",
                    "[NoRun]**** Failed to get available video memory. (Err=%ld)", hr);
    return 0;
}

void COrbGBuilder::PrintGUID(const Guid* g) {
    Log(m_pLogger, kLevelProgress, kGreen,
        "%s0x%02X, 0x%02X, 0x%02X, 0x%02X, 0x%02X, 0x%02X, 0x%02X, 0x%02X, 0x%02X, 0x%02X, 0x%02X", kGuidPrefix,
        g->data1, g->data2, g->data3, g->data4[0], g->data4[1], g->data4[2], g->data4[3], g->data4[4], g->data4[5],
        g->data4[6], g->data4[7]);
}

}  // namespace orbex
