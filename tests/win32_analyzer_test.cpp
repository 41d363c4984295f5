// The video analyzer glue under Wine: the measurement call reaches the
// interface's fifth slot with the six pointers in order; the harness's host
// window delivers a timer through its message loop.
// clang-format off
#include <windows.h>
// clang-format on

#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <vector>

#include "../tools/harness/host_window.h"
#include "platform/analyzer.h"
#include "platform/guids.h"
#include "platform/win32/win32_com.h"

namespace orbex::win32 {
namespace {

struct AnalyzerObject;
struct AnalyzerVtbl {
    HRESULT(STDMETHODCALLTYPE* QueryInterface)(AnalyzerObject*, REFIID, void**);
    ULONG(STDMETHODCALLTYPE* AddRef)(AnalyzerObject*);
    ULONG(STDMETHODCALLTYPE* Release)(AnalyzerObject*);
    HRESULT(STDMETHODCALLTYPE* Slot3)(AnalyzerObject*);
    HRESULT(STDMETHODCALLTYPE* GetMeasurement)(AnalyzerObject*, BYTE*, BYTE*, BYTE*, BYTE*, BYTE*, BYTE*);
};
static_assert(offsetof(AnalyzerVtbl, GetMeasurement) == 4 * sizeof(void*));

Guid FromIid(REFIID iid) {
    Guid g;
    std::memcpy(&g, &iid, sizeof g);
    return g;
}

struct AnalyzerObject {
    static const AnalyzerVtbl kVtbl;
    const AnalyzerVtbl* vtbl = &kVtbl;
    ULONG refs = 1;
    std::vector<int> slots;
    std::vector<BYTE*> pointers;
    HRESULT result = S_OK;
    IUnknown* Unknown() { return reinterpret_cast<IUnknown*>(this); }

    static HRESULT STDMETHODCALLTYPE QueryInterface(AnalyzerObject* self, REFIID iid, void** out) {
        if (!IsEqualGUID(iid, IID_IUnknown) && !(FromIid(iid) == guids::kIidVideoAnalyzer)) {
            *out = nullptr;
            return E_NOINTERFACE;
        }
        *out = self;
        ++self->refs;
        return S_OK;
    }
    static ULONG STDMETHODCALLTYPE AddRef(AnalyzerObject* self) { return ++self->refs; }
    static ULONG STDMETHODCALLTYPE Release(AnalyzerObject* self) { return --self->refs; }
    static HRESULT STDMETHODCALLTYPE Slot3(AnalyzerObject* self) {
        self->slots.push_back(3);
        return E_NOTIMPL;
    }
    static HRESULT STDMETHODCALLTYPE GetMeasurement(AnalyzerObject* self, BYTE* p0, BYTE* p8, BYTE* p16, BYTE* p24,
                                                    BYTE* p32, BYTE* p40) {
        self->slots.push_back(4);
        self->pointers = {p0, p8, p16, p24, p32, p40};
        if (self->result != S_OK) return self->result;
        const float rate = 29.97f;
        std::memcpy(p32, &rate, sizeof rate);
        return S_OK;
    }
};
const AnalyzerVtbl AnalyzerObject::kVtbl = {&AnalyzerObject::QueryInterface, &AnalyzerObject::AddRef,
                                            &AnalyzerObject::Release, &AnalyzerObject::Slot3,
                                            &AnalyzerObject::GetMeasurement};

TEST(Win32VideoAnalyzer, GetMeasurementReachesItsSlotWithTheSixPointersInOrder) {
    AnalyzerObject object;
    {
        ++object.refs;
        port::ComPtr plain = Wrap(object.Unknown(), guids::kIidUnknown);
        std::shared_ptr<port::IVideoAnalyzer> analyzer;
        ASSERT_EQ(port::ComQuery(*plain, guids::kIidVideoAnalyzer, analyzer), kSOk);
        uint8_t record[port::kAnalyzerMeasurementSize] = {};
        uint8_t* r = record;
        EXPECT_EQ(analyzer->GetMeasurement(r, r + 8, r + 16, r + 24, r + 32, r + 40), kSOk);
        EXPECT_EQ(object.slots, std::vector<int>{4});
        EXPECT_EQ(object.pointers, (std::vector<BYTE*>{r, r + 8, r + 16, r + 24, r + 32, r + 40}));
        float rate = 0;
        std::memcpy(&rate, record + port::kAnalyzerFrameRateOffset, sizeof rate);
        EXPECT_FLOAT_EQ(rate, 29.97f);
        object.result = E_FAIL;
        EXPECT_EQ(analyzer->GetMeasurement(r, r + 8, r + 16, r + 24, r + 32, r + 40), kEFail);
    }
    EXPECT_EQ(object.refs, 1u);
}

// What the harness does between two steps of a stream run on a real desktop.
TEST(Win32HostWindow, ItsMessageLoopDeliversTheStepTimer) {
    HWND window = reinterpret_cast<HWND>(harness::HostWindow());
    ASSERT_NE(window, nullptr);
    // The renderer's window is placed in the client area: it has one.
    RECT client{};
    ASSERT_TRUE(GetClientRect(window, &client));
    EXPECT_GT(client.right - client.left, 0);
    EXPECT_GT(client.bottom - client.top, 0);
    ASSERT_EQ(SetTimer(window, 3, 50, nullptr), 3u);
    EXPECT_TRUE(harness::WaitForTimerMessage(5000));
    // It was cancelled when it fired: no second expiry comes.
    EXPECT_FALSE(harness::WaitForTimerMessage(300));
}

}  // namespace
}  // namespace orbex::win32
