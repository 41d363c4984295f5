// The Win32 adapter's tuner, crossbar, channel-scan and VBI analyzer ports
// (Windows build, run under Wine), and its existence check of OpenFile.
// Wine has none of these four objects: the tuner and the crossbar are fakes
// over the SDK's interfaces; the channel-scan object and the VBI analyzer are
// bare vtables laid out slot by slot, so that a wrapper calling the wrong slot
// shows whatever the adapter's own declarations say.
// clang-format off
#include <windows.h>
#include <dshow.h>
// clang-format on

#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <string>
#include <vector>

#include "platform/guids.h"
#include "platform/tuner.h"
#include "platform/win32/win32_com.h"
#include "platform/win32/win32_platform.h"
#include "win32_fakes.h"

namespace orbex::win32 {
namespace {

static_assert(kRegdbEClassNotReg == REGDB_E_CLASSNOTREG);

TEST(Win32TunerPorts, EachIdentifierWrapsToItsOwnPort) {
    enum Port { kNone = 0, kTuner = 1, kCrossbar = 2, kScan = 4, kVbi = 8 };
    const auto ports = [](const port::ComPtr& p) {
        return (port::ComCast<port::IAMTVTuner>(p) ? kTuner : 0) |
               (port::ComCast<port::IAMCrossbar>(p) ? kCrossbar : 0) |
               (port::ComCast<port::IQelAnalogLCS>(p) ? kScan : 0) | (port::ComCast<port::IVBIAnalyzer>(p) ? kVbi : 0);
    };
    const struct {
        const char* name;
        Guid iid;
        int port;
    } rows[] = {{"IAMTVTuner", guids::kIidAmTvTuner, kTuner},      {"IAMCrossbar", guids::kIidAmCrossbar, kCrossbar},
                {"IQelAnalogLCS", guids::kIidQelAnalogLcs, kScan}, {"IVBIAnalyzer", guids::kIidVbiAnalyzer, kVbi},
                {"IUnknown", guids::kIidUnknown, kNone},           {"IBaseFilter", guids::kIidBaseFilter, kNone}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        Counted object;
        {
            object.AddRef();
            port::ComPtr wrapped = Wrap(&object, row.iid);
            ASSERT_TRUE(wrapped);
            EXPECT_EQ(ports(wrapped), row.port);
            EXPECT_EQ(RawOf(wrapped), &object);
        }
        EXPECT_EQ(object.refs, 1u);
    }
}

TEST(Win32TunerPorts, TheChannelScanClassIsNotRegisteredOnAPlainSystem) {
    auto platform = CreateWin32Platform();
    ASSERT_TRUE(Succeeded(platform->Com().CoInitialize()));
    Counted stale;
    stale.AddRef();
    port::ComPtr object = Wrap(&stale, guids::kIidUnknown);
    EXPECT_EQ(platform->Com().CoCreateInstance(guids::kClsidQelAnalogLcs, guids::kIidQelAnalogLcs, object),
              kRegdbEClassNotReg);
    EXPECT_FALSE(object);
    EXPECT_EQ(stale.refs, 1u);
    platform->Com().CoUninitialize();
}

// A tuner whose every value differs from the others, so that a getter wired
// to the wrong method shows; the methods the port does not use say so in `last`.
struct FakeTuner : Fake<::IAMTVTuner> {
    FakeTuner() : Fake(IID_IAMTVTuner) {}
    LONG formats = 0x13170, modes = AMTUNER_MODE_TV | AMTUNER_MODE_FM_RADIO, country = 44;
    LONG channel = 33, video = 4, audio = 5;
    int nulls = 0;        // get_Channel: bit 0, 1, 2 set for each null argument
    HRESULT fail = S_OK;  // what every method answers, writing nothing, when set
    std::string last;

    HRESULT Get(const char* name, LONG value, LONG* out) {
        last = name;
        if (fail != S_OK) return fail;
        if (!out) return E_POINTER;
        *out = value;
        return S_OK;
    }
    HRESULT Other(const char* name) {
        last = name;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE get_AvailableTVFormats(LONG* v) override {
        return Get("get_AvailableTVFormats", formats, v);
    }
    HRESULT STDMETHODCALLTYPE GetAvailableModes(LONG* v) override { return Get("GetAvailableModes", modes, v); }
    HRESULT STDMETHODCALLTYPE get_CountryCode(LONG* v) override { return Get("get_CountryCode", country, v); }
    HRESULT STDMETHODCALLTYPE get_Channel(LONG* c, LONG* v, LONG* a) override {
        last = "get_Channel";
        nulls = (c ? 0 : 1) | (v ? 0 : 2) | (a ? 0 : 4);
        if (fail != S_OK) return fail;
        if (c) *c = channel;
        if (v) *v = video;
        if (a) *a = audio;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE put_Channel(LONG c, LONG v, LONG a) override {
        last = "put_Channel";
        if (fail != S_OK) return fail;
        channel = c;
        video = v;
        audio = a;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE ChannelMinMax(LONG*, LONG*) override { return Other("ChannelMinMax"); }
    HRESULT STDMETHODCALLTYPE put_CountryCode(LONG) override { return Other("put_CountryCode"); }
    HRESULT STDMETHODCALLTYPE put_TuningSpace(LONG) override { return Other("put_TuningSpace"); }
    HRESULT STDMETHODCALLTYPE get_TuningSpace(LONG*) override { return Other("get_TuningSpace"); }
    HRESULT STDMETHODCALLTYPE Logon(HANDLE) override { return Other("Logon"); }
    HRESULT STDMETHODCALLTYPE Logout() override { return Other("Logout"); }
    HRESULT STDMETHODCALLTYPE SignalPresent(LONG*) override { return Other("SignalPresent"); }
    HRESULT STDMETHODCALLTYPE put_Mode(AMTunerModeType) override { return Other("put_Mode"); }
    HRESULT STDMETHODCALLTYPE get_Mode(AMTunerModeType*) override { return Other("get_Mode"); }
    HRESULT STDMETHODCALLTYPE RegisterNotificationCallBack(IAMTunerNotification*, LONG) override {
        return Other("RegisterNotificationCallBack");
    }
    HRESULT STDMETHODCALLTYPE UnRegisterNotificationCallBack(IAMTunerNotification*) override {
        return Other("UnRegisterNotificationCallBack");
    }
    HRESULT STDMETHODCALLTYPE get_TVFormat(LONG*) override { return Other("get_TVFormat"); }
    HRESULT STDMETHODCALLTYPE AutoTune(LONG, LONG*) override { return Other("AutoTune"); }
    HRESULT STDMETHODCALLTYPE StoreAutoTune() override { return Other("StoreAutoTune"); }
    HRESULT STDMETHODCALLTYPE get_NumInputConnections(LONG*) override { return Other("get_NumInputConnections"); }
    HRESULT STDMETHODCALLTYPE put_InputType(LONG, TunerInputType) override { return Other("put_InputType"); }
    HRESULT STDMETHODCALLTYPE get_InputType(LONG, TunerInputType*) override { return Other("get_InputType"); }
    HRESULT STDMETHODCALLTYPE put_ConnectInput(LONG) override { return Other("put_ConnectInput"); }
    HRESULT STDMETHODCALLTYPE get_ConnectInput(LONG*) override { return Other("get_ConnectInput"); }
    HRESULT STDMETHODCALLTYPE get_VideoFrequency(LONG*) override { return Other("get_VideoFrequency"); }
    HRESULT STDMETHODCALLTYPE get_AudioFrequency(LONG*) override { return Other("get_AudioFrequency"); }
};

TEST(Win32TvTuner, EachGetterReachesItsMethodAndPassesItsResultOn) {
    const struct {
        const char* name;
        HResult (port::IAMTVTuner::*get)(int32_t*);
        LONG FakeTuner::*field;
    } rows[] = {
        {"get_AvailableTVFormats", &port::IAMTVTuner::get_AvailableTVFormats, &FakeTuner::formats},
        {"GetAvailableModes", &port::IAMTVTuner::get_AvailableModes, &FakeTuner::modes},
        {"get_CountryCode", &port::IAMTVTuner::get_CountryCode, &FakeTuner::country},
    };
    FakeTuner fake;
    {
        std::shared_ptr<port::IAMTVTuner> tuner;
        ASSERT_EQ(fake.Query(guids::kIidAmTvTuner, tuner), kSOk);
        for (const auto& row : rows) {
            SCOPED_TRACE(row.name);
            fake.fail = S_OK;
            int32_t value = 12345;
            EXPECT_EQ(((*tuner).*row.get)(&value), kSOk);
            EXPECT_EQ(fake.last, row.name);
            EXPECT_EQ(value, fake.*row.field);
            EXPECT_EQ(((*tuner).*row.get)(nullptr), kEPointer);
            // A failing method writes nothing: the caller keeps its value.
            fake.fail = E_PROP_ID_UNSUPPORTED;
            value = 12345;
            EXPECT_EQ(((*tuner).*row.get)(&value), static_cast<HResult>(E_PROP_ID_UNSUPPORTED));
            EXPECT_EQ(value, 12345);
        }
    }
    EXPECT_EQ(fake.refs, 1u);
}

TEST(Win32TvTuner, TheChannelAndItsSubChannelsPassInTheirOrder) {
    FakeTuner fake;
    std::shared_ptr<port::IAMTVTuner> tuner;
    ASSERT_EQ(fake.Query(guids::kIidAmTvTuner, tuner), kSOk);
    int32_t channel = 0, video = 0, audio = 0;
    EXPECT_EQ(tuner->get_Channel(&channel, &video, &audio), kSOk);
    EXPECT_EQ(fake.last, "get_Channel");
    EXPECT_EQ(fake.nulls, 0);
    EXPECT_EQ(channel, 33);
    EXPECT_EQ(video, 4);
    EXPECT_EQ(audio, 5);
    // A null output reaches the method as null, each in its own place.
    channel = 0;
    EXPECT_EQ(tuner->get_Channel(&channel, nullptr, &audio), kSOk);
    EXPECT_EQ(fake.nulls, 2);
    EXPECT_EQ(channel, 33);
    EXPECT_EQ(tuner->get_Channel(nullptr, &video, nullptr), kSOk);
    EXPECT_EQ(fake.nulls, 5);

    EXPECT_EQ(tuner->put_Channel(45, 6, 7), kSOk);
    EXPECT_EQ(fake.last, "put_Channel");
    EXPECT_EQ(fake.channel, 45);
    EXPECT_EQ(fake.video, 6);
    EXPECT_EQ(fake.audio, 7);
    EXPECT_EQ(tuner->put_Channel(46, -1, -1), kSOk);
    EXPECT_EQ(fake.channel, 46);
    EXPECT_EQ(fake.video, -1);
    EXPECT_EQ(fake.audio, -1);

    fake.fail = VFW_E_NOT_CONNECTED;
    channel = video = audio = 99;
    EXPECT_EQ(tuner->get_Channel(&channel, &video, &audio), kVfwENotConnected);
    EXPECT_EQ(channel, 99);
    EXPECT_EQ(video, 99);
    EXPECT_EQ(audio, 99);
    EXPECT_EQ(tuner->put_Channel(50, -1, -1), kVfwENotConnected);
    EXPECT_EQ(fake.channel, 46);
}

// A crossbar with one output and three inputs; input 1 (say, an audio pin)
// cannot feed the output.
struct FakeCrossbar : Fake<::IAMCrossbar> {
    FakeCrossbar() : Fake(IID_IAMCrossbar) {}
    LONG outputs = 1, inputs = 3, routed = -1;
    std::string last;

    HRESULT STDMETHODCALLTYPE get_PinCounts(LONG* o, LONG* i) override {
        last = "get_PinCounts";
        if (!o || !i) return E_POINTER;
        *o = outputs;
        *i = inputs;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE CanRoute(LONG o, LONG i) override {
        last = "CanRoute";
        if (o < 0 || o >= outputs || i < 0 || i >= inputs) return E_INVALIDARG;
        return i == 1 ? S_FALSE : S_OK;
    }
    HRESULT STDMETHODCALLTYPE Route(LONG o, LONG i) override {
        last = "Route";
        if (o < 0 || o >= outputs || i < 0 || i >= inputs) return E_INVALIDARG;
        if (i == 1) return VFW_E_NO_ACCEPTABLE_TYPES;
        routed = i;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_IsRoutedTo(LONG o, LONG* i) override {
        last = "get_IsRoutedTo";
        if (!i) return E_POINTER;
        if (o < 0 || o >= outputs) return E_INVALIDARG;
        *i = routed;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_CrossbarPinInfo(WINBOOL, LONG, LONG*, LONG*) override {
        last = "get_CrossbarPinInfo";
        return E_NOTIMPL;
    }
};

TEST(Win32Crossbar, CountsRoutesAndTheirAnswersPassUnchanged) {
    FakeCrossbar fake;
    {
        std::shared_ptr<port::IAMCrossbar> crossbar;
        ASSERT_EQ(fake.Query(guids::kIidAmCrossbar, crossbar), kSOk);
        int32_t outputs = 0, inputs = 0;
        EXPECT_EQ(crossbar->get_PinCounts(&outputs, &inputs), kSOk);
        EXPECT_EQ(fake.last, "get_PinCounts");
        EXPECT_EQ(outputs, 1);
        EXPECT_EQ(inputs, 3);
        EXPECT_EQ(crossbar->get_PinCounts(&outputs, nullptr), kEPointer);

        int32_t input = 7;
        EXPECT_EQ(crossbar->get_IsRoutedTo(0, &input), kSOk);
        EXPECT_EQ(fake.last, "get_IsRoutedTo");
        EXPECT_EQ(input, -1);

        // The output comes first: swapped, (0, 2) would be refused.
        const struct {
            int32_t output, input;
            HResult canRoute, route;
            int32_t routedAfter;
        } rows[] = {{0, 2, kSOk, kSOk, 2},
                    {0, 1, kSFalse, kVfwENoAcceptableTypes, 2},
                    {0, 0, kSOk, kSOk, 0},
                    {0, 3, kEInvalidArg, kEInvalidArg, 0},
                    {1, 0, kEInvalidArg, kEInvalidArg, 0}};
        for (const auto& row : rows) {
            SCOPED_TRACE(std::to_string(row.output) + " from " + std::to_string(row.input));
            EXPECT_EQ(crossbar->CanRoute(row.output, row.input), row.canRoute);
            EXPECT_EQ(fake.last, "CanRoute");
            EXPECT_EQ(crossbar->Route(row.output, row.input), row.route);
            EXPECT_EQ(fake.last, "Route");
            EXPECT_EQ(crossbar->get_IsRoutedTo(0, &input), kSOk);
            EXPECT_EQ(input, row.routedAfter);
        }
        input = 7;
        EXPECT_EQ(crossbar->get_IsRoutedTo(1, &input), kEInvalidArg);
        EXPECT_EQ(input, 7);
        EXPECT_EQ(crossbar->get_IsRoutedTo(0, nullptr), kEPointer);
    }
    EXPECT_EQ(fake.refs, 1u);
}

// The channel-scan object as a bare vtable: the slots in their order, those
// the system never calls recorded like the others.
struct ScanObject;
struct ScanVtbl {
    HRESULT(STDMETHODCALLTYPE* QueryInterface)(ScanObject*, REFIID, void**);
    ULONG(STDMETHODCALLTYPE* AddRef)(ScanObject*);
    ULONG(STDMETHODCALLTYPE* Release)(ScanObject*);
    HRESULT(STDMETHODCALLTYPE* Connect)(ScanObject*, ::IBaseFilter*);
    HRESULT(STDMETHODCALLTYPE* AutoTune)(ScanObject*, port::ScanProgressFn);
    HRESULT(STDMETHODCALLTYPE* Slot5)(ScanObject*);
    HRESULT(STDMETHODCALLTYPE* Slot6)(ScanObject*);
    HRESULT(STDMETHODCALLTYPE* Slot7)(ScanObject*);
    HRESULT(STDMETHODCALLTYPE* Slot8)(ScanObject*);
    HRESULT(STDMETHODCALLTYPE* SetCountryCode)(ScanObject*, LONG);
};
static_assert(offsetof(ScanVtbl, Connect) == 3 * sizeof(void*) && offsetof(ScanVtbl, AutoTune) == 4 * sizeof(void*) &&
              offsetof(ScanVtbl, SetCountryCode) == 9 * sizeof(void*));

struct ScanObject {
    ScanObject() : vtbl(&kVtbl) {}
    static const ScanVtbl kVtbl;
    const ScanVtbl* vtbl;
    ULONG refs = 1;
    std::vector<int> slots;  // the methods called, by slot, in order
    ::IBaseFilter* tuner = nullptr;
    port::ScanProgressFn callback = nullptr;
    LONG country = 0;
    int channels = 4;             // in the country's table
    std::vector<int32_t> locked;  // the callback's answer for each tuned channel
    HRESULT result = S_OK;        // what each method answers at its end
    IUnknown* Unknown() { return reinterpret_cast<IUnknown*>(this); }

    static HRESULT STDMETHODCALLTYPE QueryInterface(ScanObject* self, REFIID iid, void** out) {
        if (!IsEqualGUID(iid, IID_IUnknown) && !(FromGuid(iid) == guids::kIidQelAnalogLcs)) {
            *out = nullptr;
            return E_NOINTERFACE;
        }
        *out = self;
        ++self->refs;
        return S_OK;
    }
    static ULONG STDMETHODCALLTYPE AddRef(ScanObject* self) { return ++self->refs; }
    static ULONG STDMETHODCALLTYPE Release(ScanObject* self) { return --self->refs; }
    static HRESULT STDMETHODCALLTYPE Connect(ScanObject* self, ::IBaseFilter* tuner) {
        self->slots.push_back(3);
        self->tuner = tuner;
        return self->result;
    }
    // Tunes each channel of the table: progress first, then the question
    // whether the channel locked. A callback answering other than 1 stops it.
    static HRESULT STDMETHODCALLTYPE AutoTune(ScanObject* self, port::ScanProgressFn progress) {
        self->slots.push_back(4);
        self->callback = progress;
        if (!progress) return E_POINTER;
        for (int channel = 1; channel <= self->channels; ++channel) {
            const int32_t percent = channel * 100 / self->channels;
            int32_t scratch = 0;
            if (progress(percent, 0, &scratch) != 1) return E_ABORT;
            int32_t locked = -1;
            if (progress(percent, 1, &locked) != 1) return E_ABORT;
            self->locked.push_back(locked);
        }
        return self->result;
    }
    template <int Slot>
    static HRESULT STDMETHODCALLTYPE Unused(ScanObject* self) {
        self->slots.push_back(Slot);
        return E_NOTIMPL;
    }
    static HRESULT STDMETHODCALLTYPE SetCountryCode(ScanObject* self, LONG code) {
        self->slots.push_back(9);
        self->country = code;
        return self->result;
    }
};
const ScanVtbl ScanObject::kVtbl = {&ScanObject::QueryInterface, &ScanObject::AddRef,    &ScanObject::Release,
                                    &ScanObject::Connect,        &ScanObject::AutoTune,  &ScanObject::Unused<5>,
                                    &ScanObject::Unused<6>,      &ScanObject::Unused<7>, &ScanObject::Unused<8>,
                                    &ScanObject::SetCountryCode};

// The system's side of the scan, as a plain function: records what it is
// told and says the channels at 50 and 75 percent locked.
struct Progress {
    int32_t percent, tuned;
    bool operator==(const Progress&) const = default;
};
std::vector<Progress> g_progress;
int16_t ORBEX_STDCALL OnProgress(int32_t percent, int32_t tuned, int32_t* locked) {
    g_progress.push_back({percent & 0xFFFF, tuned});
    if (tuned) *locked = percent == 50 || percent == 75 ? 1 : 0;
    return 1;
}
int16_t ORBEX_STDCALL StopAtOnce(int32_t, int32_t, int32_t*) {
    return 0;
}

// A port filter that is not a DirectShow filter.
struct PortOnlyFilter final : port::IBaseFilter {
    HResult QueryInterface(const Guid&, port::ComPtr& out) override {
        out.reset();
        return kENoInterface;
    }
    HResult EnumPins(std::shared_ptr<port::IEnumPins>& out) override {
        out.reset();
        return kENotImpl;
    }
};

class Win32ChannelScanTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(Succeeded(m_platform->Com().CoInitialize()));
        port::ComPtr filter;
        ASSERT_EQ(m_platform->Com().CoCreateInstance(guids::kClsidSmartTee, guids::kIidBaseFilter, filter), kSOk);
        m_filter = port::ComCast<port::IBaseFilter>(filter);
        ASSERT_TRUE(m_filter);
        ++m_object.refs;
        port::ComPtr object = Wrap(m_object.Unknown(), guids::kIidUnknown);
        ASSERT_EQ(port::ComQuery(*object, guids::kIidQelAnalogLcs, m_scan), kSOk);
        g_progress.clear();
    }
    void TearDown() override {
        m_scan.reset();
        m_filter.reset();
        EXPECT_EQ(m_object.refs, 1u);
        m_platform->Com().CoUninitialize();
    }

    std::unique_ptr<port::IPlatform> m_platform = CreateWin32Platform();
    ScanObject m_object;
    std::shared_ptr<port::IBaseFilter> m_filter;
    std::shared_ptr<port::IQelAnalogLCS> m_scan;
};

TEST_F(Win32ChannelScanTest, EachOperationReachesItsSlotWithItsArgument) {
    const ULONG filterRefs = Refs(RawOf(m_filter));
    EXPECT_EQ(m_scan->Connect(m_filter), kSOk);
    EXPECT_EQ(m_object.tuner, static_cast<::IBaseFilter*>(RawOf(m_filter)));
    EXPECT_EQ(m_scan->SetCountryCode(0x12345), kSOk);
    EXPECT_EQ(m_object.country, 0x12345);
    EXPECT_EQ(m_scan->AutoTune(&OnProgress), kSOk);
    EXPECT_EQ(m_object.callback, &OnProgress);
    EXPECT_EQ(m_object.slots, (std::vector<int>{3, 9, 4}));
    // The object called the system's function back, which answered it.
    const std::vector<Progress> told = {{25, 0}, {25, 1}, {50, 0}, {50, 1}, {75, 0}, {75, 1}, {100, 0}, {100, 1}};
    EXPECT_EQ(g_progress, told);
    EXPECT_EQ(m_object.locked, (std::vector<int32_t>{0, 1, 1, 0}));
    EXPECT_EQ(Refs(RawOf(m_filter)), filterRefs);
}

TEST_F(Win32ChannelScanTest, OnlyAWrappedDirectShowFilterIsConnected) {
    EXPECT_EQ(m_scan->Connect(nullptr), kEInvalidArg);
    EXPECT_EQ(m_scan->Connect(std::make_shared<PortOnlyFilter>()), kEInvalidArg);
    EXPECT_TRUE(m_object.slots.empty());
    EXPECT_EQ(m_object.tuner, nullptr);
}

TEST_F(Win32ChannelScanTest, TheObjectsAnswersPassUnchanged) {
    // Anything but S_OK is a failure to the system, S_FALSE included.
    for (HRESULT result : {S_FALSE, E_FAIL, REGDB_E_CLASSNOTREG}) {
        SCOPED_TRACE(result);
        m_object.result = result;
        EXPECT_EQ(m_scan->Connect(m_filter), static_cast<HResult>(result));
        EXPECT_EQ(m_scan->SetCountryCode(1), static_cast<HResult>(result));
        EXPECT_EQ(m_scan->AutoTune(&OnProgress), static_cast<HResult>(result));
    }
    m_object.result = S_OK;
    EXPECT_EQ(m_scan->AutoTune(&StopAtOnce), static_cast<HResult>(E_ABORT));
    EXPECT_EQ(m_object.callback, &StopAtOnce);
}

// The VBI analyzer as a bare vtable; GetVBIData fills the record's line field
// as an analyzer that found captions on line 21 does.
struct VbiObject;
struct VbiVtbl {
    HRESULT(STDMETHODCALLTYPE* QueryInterface)(VbiObject*, REFIID, void**);
    ULONG(STDMETHODCALLTYPE* AddRef)(VbiObject*);
    ULONG(STDMETHODCALLTYPE* Release)(VbiObject*);
    HRESULT(STDMETHODCALLTYPE* Slot3)(VbiObject*);
    HRESULT(STDMETHODCALLTYPE* GetVBIData)(VbiObject*, BYTE*, BYTE*, BYTE*, BYTE*, BYTE*, BYTE*);
};
static_assert(offsetof(VbiVtbl, GetVBIData) == 4 * sizeof(void*));

struct VbiObject {
    VbiObject() : vtbl(&kVtbl) {}
    static const VbiVtbl kVtbl;
    const VbiVtbl* vtbl;
    ULONG refs = 1;
    std::vector<int> slots;
    std::vector<BYTE*> pointers;
    HRESULT result = S_OK;
    IUnknown* Unknown() { return reinterpret_cast<IUnknown*>(this); }

    static HRESULT STDMETHODCALLTYPE QueryInterface(VbiObject* self, REFIID iid, void** out) {
        if (!IsEqualGUID(iid, IID_IUnknown) && !(FromGuid(iid) == guids::kIidVbiAnalyzer)) {
            *out = nullptr;
            return E_NOINTERFACE;
        }
        *out = self;
        ++self->refs;
        return S_OK;
    }
    static ULONG STDMETHODCALLTYPE AddRef(VbiObject* self) { return ++self->refs; }
    static ULONG STDMETHODCALLTYPE Release(VbiObject* self) { return --self->refs; }
    static HRESULT STDMETHODCALLTYPE Slot3(VbiObject* self) {
        self->slots.push_back(3);
        return E_NOTIMPL;
    }
    static HRESULT STDMETHODCALLTYPE GetVBIData(VbiObject* self, BYTE* p0, BYTE* p8, BYTE* p16, BYTE* p24, BYTE* p32,
                                                BYTE* p40) {
        self->slots.push_back(4);
        self->pointers = {p0, p8, p16, p24, p32, p40};
        if (self->result != S_OK) return self->result;
        const int32_t line = 21;
        std::memcpy(p0 + port::kVbiRecordLineOffset, &line, sizeof line);
        return S_OK;
    }
};
const VbiVtbl VbiObject::kVtbl = {&VbiObject::QueryInterface, &VbiObject::AddRef, &VbiObject::Release,
                                  &VbiObject::Slot3, &VbiObject::GetVBIData};

TEST(Win32VbiAnalyzer, GetVbiDataReachesItsSlotWithTheSixPointersInOrder) {
    VbiObject object;
    {
        ++object.refs;
        port::ComPtr plain = Wrap(object.Unknown(), guids::kIidUnknown);
        std::shared_ptr<port::IVBIAnalyzer> analyzer;
        ASSERT_EQ(port::ComQuery(*plain, guids::kIidVbiAnalyzer, analyzer), kSOk);
        uint8_t record[port::kVbiRecordSize] = {};
        uint8_t* r = record;
        EXPECT_EQ(analyzer->GetVBIData(r, r + 8, r + 16, r + 24, r + 32, r + 40), kSOk);
        EXPECT_EQ(object.slots, std::vector<int>{4});
        EXPECT_EQ(object.pointers, (std::vector<BYTE*>{r, r + 8, r + 16, r + 24, r + 32, r + 40}));
        int32_t line = 0;
        std::memcpy(&line, record + port::kVbiRecordLineOffset, sizeof line);
        EXPECT_EQ(line, 21);

        object.result = E_FAIL;
        EXPECT_EQ(analyzer->GetVBIData(r, r + 8, r + 16, r + 24, r + 32, r + 40), kEFail);
        EXPECT_EQ(object.slots, (std::vector<int>{4, 4}));
    }
    EXPECT_EQ(object.refs, 1u);
}

// The existence check of OpenFile: where it looks, and the full path it gives.
class Win32OpenFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        char temp[MAX_PATH];
        ASSERT_NE(GetTempPathA(MAX_PATH, temp), 0u);
        ASSERT_NE(GetTempFileNameA(temp, "orb", 0, m_inTemp), 0u);
        m_tempDir.assign(m_inTemp, std::strrchr(m_inTemp, '\\') + 1);
        m_tempName = std::strrchr(m_inTemp, '\\') + 1;
        char windows[MAX_PATH];
        ASSERT_NE(GetWindowsDirectoryA(windows, MAX_PATH), 0u);
        m_inWindows = std::string(windows) + "\\orbexwin.tmp";
        ASSERT_TRUE(Touch(m_inWindows));
        ASSERT_NE(GetCurrentDirectoryA(MAX_PATH, m_saved), 0u);
        ASSERT_TRUE(SetCurrentDirectoryA(m_tempDir.c_str()));
    }
    void TearDown() override {
        SetCurrentDirectoryA(m_saved);
        DeleteFileA(m_inTemp);
        DeleteFileA(m_inWindows.c_str());
    }
    static bool Touch(const std::string& path) {
        HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        return h != INVALID_HANDLE_VALUE && CloseHandle(h);
    }

    std::unique_ptr<port::IPlatform> m_platform = CreateWin32Platform();
    char m_inTemp[MAX_PATH] = {}, m_saved[MAX_PATH] = {};
    std::string m_tempDir, m_tempName, m_inWindows;
};

TEST_F(Win32OpenFileTest, FindsTheFileWhereOpenFileLooksAndGivesItsFullPathToFit) {
    const std::string inTemp = m_inTemp;
    const struct {
        const char* what;
        std::string name;
        uint32_t size;
        bool found;
        std::string path;
    } rows[] = {
        {"full path", inTemp, 200, true, inTemp},
        {"bare name, current directory", m_tempName, 200, true, inTemp},
        {"bare name, Windows directory", "orbexwin.tmp", 200, true, m_inWindows},
        {"no such file", "orbex-none.tmp", 200, false, ""},
        {"truncated", inTemp, 8, true, inTemp.substr(0, 7)},
        {"one byte", inTemp, 1, true, ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        char buffer[256];
        std::memset(buffer, 'x', sizeof buffer);
        EXPECT_EQ(m_platform->Files().OpenFileExists(row.name.c_str(), buffer, row.size), row.found);
        EXPECT_EQ(std::string(buffer), row.path);
        // Nothing is written past the size given.
        EXPECT_EQ(std::string(buffer + row.size, buffer + sizeof buffer), std::string(sizeof buffer - row.size, 'x'));
    }
    char untouched = 'x';
    EXPECT_TRUE(m_platform->Files().OpenFileExists(m_tempName.c_str(), &untouched, 0));
    EXPECT_EQ(untouched, 'x');
    EXPECT_TRUE(m_platform->Files().OpenFileExists(m_tempName.c_str(), nullptr, 100));
    EXPECT_FALSE(m_platform->Files().OpenFileExists(nullptr, &untouched, 1));
    EXPECT_EQ(untouched, '\0');
}

}  // namespace
}  // namespace orbex::win32
