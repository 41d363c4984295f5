// The Win32 adapter (built and run only in the Windows build; under Wine in
// `make test`): its RAII types, its identifiers against the SDK's, and the glue
// of the COM and DirectDraw ports, over fakes where Wine has no such object
// and over Wine's own objects where it has them.
// clang-format off
#include <windows.h>
#include <dshow.h>
#include <ddraw.h>
#include <ocidl.h>
// clang-format on

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "platform/guids.h"
#include "platform/host/host.h"
#include "platform/win32/com_ref.h"
#include "platform/win32/process_exit.h"
#include "platform/win32/win32_com.h"
#include "platform/win32/win32_platform.h"
#include "support/bench.h"
#include "win32_fakes.h"

// In the SDK's identifier library, not declared by its headers.
EXTERN_C const CLSID CLSID_NullRenderer;

namespace orbex::win32 {
namespace {

TEST(ComRef, CopiesAddAReferenceAndEveryOwnerReleasesOne) {
    Counted object;
    {
        ComRef<Counted> a(&object);
        EXPECT_EQ(object.refs, 1u);
        ComRef<Counted> b = a;
        EXPECT_EQ(object.refs, 2u);
        ComRef<Counted> c = std::move(b);
        EXPECT_EQ(object.refs, 2u);
        EXPECT_FALSE(b);
    }
    EXPECT_EQ(object.refs, 0u);
}

TEST(MediaType, FreesItsFormatAndReleasesItsObject) {
    Counted object;
    object.refs = 1;
    auto* type = static_cast<AM_MEDIA_TYPE*>(CoTaskMemAlloc(sizeof(AM_MEDIA_TYPE)));
    ZeroMemory(type, sizeof *type);
    type->cbFormat = 16;
    type->pbFormat = static_cast<BYTE*>(CoTaskMemAlloc(16));
    type->pUnk = &object;
    { MediaType owned(type); }
    EXPECT_EQ(object.refs, 0u);
}

TEST(Win32Guids, EveryIdentifierWithAnSdkCounterpartMatchesIt) {
    struct Row {
        const char* name;
        Guid ours;
        const GUID& sdk;
    };
    const Row rows[] = {
        {"IUnknown", guids::kIidUnknown, IID_IUnknown},
        {"CLSID_CaptureGraphBuilder", guids::kClsidCaptureGraphBuilder, CLSID_CaptureGraphBuilder},
        {"ICaptureGraphBuilder", guids::kIidCaptureGraphBuilder, IID_ICaptureGraphBuilder},
        {"CLSID_FilterGraph", guids::kClsidFilterGraph, CLSID_FilterGraph},
        {"IGraphBuilder", guids::kIidGraphBuilder, IID_IGraphBuilder},
        {"IBaseFilter", guids::kIidBaseFilter, IID_IBaseFilter},
        {"IMediaControl", guids::kIidMediaControl, IID_IMediaControl},
        {"CLSID_SystemDeviceEnum", guids::kClsidSystemDeviceEnum, CLSID_SystemDeviceEnum},
        {"ICreateDevEnum", guids::kIidCreateDevEnum, IID_ICreateDevEnum},
        {"IPropertyBag", guids::kIidPropertyBag, IID_IPropertyBag},
        {"IPin", guids::kIidPin, IID_IPin},
        {"IAMAnalogVideoDecoder", guids::kIidAnalogVideoDecoder, IID_IAMAnalogVideoDecoder},
        {"IDDrawExclModeVideo", guids::kIidDDrawExclModeVideo, IID_IDDrawExclModeVideo},
        {"IDirectDraw", guids::kIidDirectDraw, IID_IDirectDraw},
        {"IDirectDrawSurface", guids::kIidDirectDrawSurface, IID_IDirectDrawSurface},
        {"IDirectDraw2", guids::kIidDirectDraw2, IID_IDirectDraw2},
        {"IAMTVTuner", guids::kIidAmTvTuner, IID_IAMTVTuner},
        {"IAMCrossbar", guids::kIidAmCrossbar, IID_IAMCrossbar},
        {"PIN_CATEGORY_CAPTURE", guids::kPinCategoryCapture, PIN_CATEGORY_CAPTURE},
        {"PIN_CATEGORY_PREVIEW", guids::kPinCategoryPreview, PIN_CATEGORY_PREVIEW},
        {"PIN_CATEGORY_VBI", guids::kPinCategoryVbi, PIN_CATEGORY_VBI},
        {"CLSID_VideoInputDeviceCategory", guids::kCategoryVideoInputDevice, CLSID_VideoInputDeviceCategory},
        {"AM_KSCATEGORY_TVTUNER", guids::kCategoryTvTuner, AM_KSCATEGORY_TVTUNER},
        {"AM_KSCATEGORY_CROSSBAR", guids::kCategoryCrossbar, AM_KSCATEGORY_CROSSBAR},
        {"AM_KSCATEGORY_TVAUDIO", guids::kCategoryTvAudio, AM_KSCATEGORY_TVAUDIO},
        {"CLSID_VideoCompressorCategory", guids::kCategoryVideoCompressor, CLSID_VideoCompressorCategory},
        {"CLSID_VideoRenderer", guids::kClsidVideoRenderer, CLSID_VideoRenderer},
        {"CLSID_OverlayMixer", guids::kClsidOverlayMixer, CLSID_OverlayMixer},
        {"CLSID_SmartTee", guids::kClsidSmartTee, CLSID_SmartTee},
        {"CLSID_NullRenderer", guids::kClsidNullRenderer, CLSID_NullRenderer},
        {"CLSID_VBISurfaces", guids::kClsidVbiSurfaceAllocator, CLSID_VBISurfaces},
    };
    for (const Row& row : rows) EXPECT_TRUE(FromGuid(row.sdk) == row.ours) << row.name;
}

TEST(Win32Libraries, AMissingTestBoxLibraryIsNotLoaded) {
    auto platform = CreateWin32Platform();
    port::ILibraryLoader& loader = platform->Libraries();
    SetLastError(0);
    EXPECT_EQ(loader.LoadNamedLibrary("cctb.dll"), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));

    port::LibraryHandle kernel = loader.LoadNamedLibrary("kernel32.dll");
    ASSERT_NE(kernel, nullptr);
    EXPECT_EQ(loader.GetProcAddress(kernel, "GetTickCount"),
              reinterpret_cast<void*>(::GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetTickCount")));
    EXPECT_EQ(loader.GetProcAddress(kernel, "CctbOpen"), nullptr);
    loader.FreeLibrary(kernel);
}

// The virtual board, except that the test box library is looked for by the
// real loader: what the decoder's lock test meets on a PC without the box.
class RealTestBoxLibrary final : public port::IPlatform, private port::ILibraryLoader {
public:
    explicit RealTestBoxLibrary(sim::VirtualBoard& board) : m_board(board), m_real(CreateWin32Platform()) {}

    port::IClock& Clock() override { return m_board.Clock(); }
    port::ISystemInfo& System() override { return m_board.System(); }
    port::IUser& User() override { return m_board.User(); }
    port::ILibraryLoader& Libraries() override { return *this; }
    port::IComRuntime& Com() override { return m_board.Com(); }
    port::IProfile& Profile() override { return m_board.Profile(); }
    port::IRegistry& Registry() override { return m_board.Registry(); }
    port::IFileSystem& Files() override { return m_board.Files(); }
    port::ICommandRunner& Commands() override { return m_board.Commands(); }
    port::IDisplay& Display() override { return m_board.Display(); }
    port::IDirectDrawRuntime& DirectDraw() override { return m_board.DirectDraw(); }
    port::IDesktop& Desktop() override { return m_board.Desktop(); }
    port::IDeviceIo& DeviceIo() override { return m_board.DeviceIo(); }
    port::IDeviceSetup& DeviceSetup() override { return m_board.DeviceSetup(); }

private:
    port::ILibraryLoader& For(port::LibraryHandle library) {
        return std::count(m_realHandles.begin(), m_realHandles.end(), library) ? m_real->Libraries()
                                                                               : m_board.Libraries();
    }
    port::LibraryHandle LoadNamedLibrary(const char* name) override {
        if (_stricmp(name, "cctb.dll") != 0) return m_board.Libraries().LoadNamedLibrary(name);
        ++m_realLoads;
        port::LibraryHandle library = m_real->Libraries().LoadNamedLibrary(name);
        if (library) m_realHandles.push_back(library);
        return library;
    }
    void* GetProcAddress(port::LibraryHandle library, const char* name) override {
        return For(library).GetProcAddress(library, name);
    }
    void FreeLibrary(port::LibraryHandle library) override { For(library).FreeLibrary(library); }

    sim::VirtualBoard& m_board;
    std::unique_ptr<port::IPlatform> m_real;
    std::vector<port::LibraryHandle> m_realHandles;

public:
    int m_realLoads = 0;
};

TEST(Win32Libraries, WithoutTheTestBoxLibraryTheLockTestIsNoRun) {
    RealTestBoxLibrary* platform = nullptr;
    testing::Bench bench(testing::Bench::Board(), [&](sim::VirtualBoard& board) {
        auto decorated = std::make_unique<RealTestBoxLibrary>(board);
        platform = decorated.get();
        return decorated;
    });
    bench.WriteDefaultGraph();
    EXPECT_EQ(bench.Run("tc2203"), 2);
    EXPECT_EQ(platform->m_realLoads, 1);
    EXPECT_EQ(bench.Reports(), std::vector<std::string>{testing::ReportJson(
                                   "tc2203", "tc2203", 2,
                                   "Horizontal Lock Test for different video standard. [Require Live Video Input]",
                                   "Able to load cctb.dll library and get all 3 function pointers.",
                                   "[NoRun]**** Failed to load cctb.dll library.")});
}

// The virtual board, except that the given classes are created by the real
// COM runtime: what the tuner and caption tests meet on a PC where the kit's
// outside components (the channel-scan object, the VBI analyzer filter) are
// not installed. COM is initialised on both; the real one is uninitialised
// only when its initialisation succeeded.
class RealComClasses final : public port::IPlatform, private port::IComRuntime {
public:
    RealComClasses(sim::VirtualBoard& board, std::vector<Guid> classes)
        : m_board(board), m_real(CreateWin32Platform()), m_classes(std::move(classes)) {}

    port::IClock& Clock() override { return m_board.Clock(); }
    port::ISystemInfo& System() override { return m_board.System(); }
    port::IUser& User() override { return m_board.User(); }
    port::ILibraryLoader& Libraries() override { return m_board.Libraries(); }
    port::IComRuntime& Com() override { return *this; }
    port::IProfile& Profile() override { return m_board.Profile(); }
    port::IRegistry& Registry() override { return m_board.Registry(); }
    port::IFileSystem& Files() override { return m_board.Files(); }
    port::ICommandRunner& Commands() override { return m_board.Commands(); }
    port::IDisplay& Display() override { return m_board.Display(); }
    port::IDirectDrawRuntime& DirectDraw() override { return m_board.DirectDraw(); }
    port::IDesktop& Desktop() override { return m_board.Desktop(); }
    port::IDeviceIo& DeviceIo() override { return m_board.DeviceIo(); }
    port::IDeviceSetup& DeviceSetup() override { return m_board.DeviceSetup(); }

    int m_realCreations = 0;

private:
    HResult CoInitialize() override {
        m_realInitialised.push_back(Succeeded(m_real->Com().CoInitialize()));
        return m_board.Com().CoInitialize();
    }
    void CoUninitialize() override {
        if (!m_realInitialised.empty()) {
            if (m_realInitialised.back()) m_real->Com().CoUninitialize();
            m_realInitialised.pop_back();
        }
        m_board.Com().CoUninitialize();
    }
    HResult CoCreateInstance(const Guid& clsid, const Guid& iid, port::ComPtr& out) override {
        if (std::find(m_classes.begin(), m_classes.end(), clsid) == m_classes.end())
            return m_board.Com().CoCreateInstance(clsid, iid, out);
        ++m_realCreations;
        return m_real->Com().CoCreateInstance(clsid, iid, out);
    }

    sim::VirtualBoard& m_board;
    std::unique_ptr<port::IPlatform> m_real;
    std::vector<Guid> m_classes;
    std::vector<bool> m_realInitialised;
};

TEST(Win32Com, WithoutTheChannelScanObjectTheTunerDoesNotInitialise) {
    RealComClasses* platform = nullptr;
    testing::Bench bench(testing::Bench::Board(), [&](sim::VirtualBoard& board) {
        auto decorated = std::make_unique<RealComClasses>(board, std::vector<Guid>{guids::kClsidQelAnalogLcs});
        platform = decorated.get();
        return decorated;
    });
    bench.WriteDefaultGraph();
    EXPECT_EQ(bench.Run("tc1100"), 0);
    EXPECT_EQ(platform->m_realCreations, 1);
    ASSERT_FALSE(bench.Reports().empty());
    EXPECT_EQ(bench.Reports().back(), testing::ReportJson("tc1100", "tc1100", 2, "", "",
                                                          "[NoRun]**** Unable to cocreate QelAnalogLCS object."));
}

// The friendly name of the first audio renderer the prefix registers, read
// through the real device enumerator; empty when there is none.
std::string FirstAudioRendererName() {
    std::unique_ptr<port::IPlatform> real = CreateWin32Platform();
    const bool initialised = Succeeded(real->Com().CoInitialize());
    std::string first;
    {
        port::ComPtr object;
        if (real->Com().CoCreateInstance(guids::kClsidSystemDeviceEnum, guids::kIidCreateDevEnum, object) == kSOk) {
            auto devEnum = port::ComCast<port::ICreateDevEnum>(object);
            const Guid renderers{0xE0F158E1, 0xCB04, 0x11D0, {0xBD, 0x4E, 0x00, 0xA0, 0xC9, 0x11, 0xCE, 0x86}};
            std::shared_ptr<port::IEnumMoniker> monikers;
            if (devEnum && devEnum->CreateClassEnumerator(renderers, monikers, 0) == kSOk && monikers) {
                std::shared_ptr<port::IMoniker> moniker;
                while (first.empty() && monikers->Next(moniker) == kSOk && moniker) {
                    std::shared_ptr<port::IPropertyBag> bag;
                    if (moniker->BindToPropertyBag(bag) == kSOk && bag) bag->ReadString("FriendlyName", first);
                    moniker.reset();
                }
            }
        }
    }
    if (initialised) real->Com().CoUninitialize();
    return first;
}

// The filter registration test against the filters the prefix really
// registers: the system device enumerator is the real one.
TEST(Win32Com, TheFilterRegistrationTestFindsWhatThePrefixRegisters) {
    const std::string name = FirstAudioRendererName();
    ASSERT_FALSE(name.empty()) << "the prefix registers no audio renderer";
    RealComClasses* platform = nullptr;
    testing::Bench bench(testing::Bench::Board(), [&](sim::VirtualBoard& board) {
        auto decorated = std::make_unique<RealComClasses>(board, std::vector<Guid>{guids::kClsidSystemDeviceEnum});
        platform = decorated.get();
        return decorated;
    });
    const std::string category = "E0F158E1,CB04,11D0,BD,4E,00,A0,C9,11,CE,86";
    bench.WriteFile("orbex.ini", "[FileInfo]\nrenderer=2,1,1,0,0\nabsent=2,1,1,0,0\n[renderer]\nFriendlyName=" + name +
                                     "\nGUID=" + category +
                                     "\n[absent]\nFriendlyName=Qel No Such Renderer\nGUID=" + category + "\n");
    EXPECT_EQ(bench.Run("tc6904"), 0);
    EXPECT_EQ(platform->m_realCreations, 1);
    auto step = [](const char* number, int status, const std::string& filter, const std::string& actual) {
        return testing::ReportJson("tc6904", number, status, "Checking if \"" + filter + "\" is registered with DShow.",
                                   "\"" + filter + "\" is registed with DShow.", actual);
    };
    EXPECT_EQ(bench.Reports(),
              (std::vector<std::string>{
                  step("1", 4, name, "[Pass] Filter \"" + name + "\" is found."),
                  step("2", 0, "Qel No Such Renderer", "[Fail]**** Filter \"Qel No Such Renderer\" is not found."),
                  testing::ReportJson("tc6904", "tc6904", 0, "Test Summary", "All filters are registered.",
                                      "[Fail]**** One or more filter is not registered.")}));
}

TEST(Win32Com, WithoutTheVbiAnalyzerTheCaptionTestFindsNothing) {
    const Guid vbiAnalyzer{0x554456F8, 0x9E81, 0x45D9, {0xB1, 0x8C, 0xD6, 0x87, 0xF7, 0xB8, 0x2A, 0x4D}};
    RealComClasses* platform = nullptr;
    testing::Bench bench(testing::Bench::Board(), [&](sim::VirtualBoard& board) {
        auto decorated = std::make_unique<RealComClasses>(board, std::vector<Guid>{vbiAnalyzer});
        platform = decorated.get();
        return decorated;
    });
    bench.WriteFile("default.gf",
                    "[ConnectionMap]\nTuner=;1\nCrossbar=1;2\nCapture=2;0 0 3\nVbi=3\n"
                    "[Tuner]\nCLSID=A799A800,A46D,11D0,A1,8C,00,A0,24,01,DC,D4\nFilterType=2\n"
                    "[Crossbar]\nCLSID=A799A801,A46D,11D0,A1,8C,00,A0,24,01,DC,D4\nFilterType=4\n"
                    "[Capture]\nCLSID=860BB310,5D01,11D0,BD,3B,00,A0,C9,11,CE,86\nFilterType=3\n"
                    "[Vbi]\nCLSID=554456F8,9E81,45D9,B1,8C,D6,87,F7,B8,2A,4D\nFilterType=8\n");
    const char* id = "G2_D11_T1_P0_Fdefault";
    EXPECT_EQ(bench.Run("-g 2 -d 11 -t 1"), 0);
    EXPECT_EQ(platform->m_realCreations, 1);
    ASSERT_FALSE(bench.Reports().empty());
    EXPECT_NE(bench.Reports().front().find("CoCreateInstance failed for filter \\\"Vbi\\\" (Err=-2147221164)"),
              std::string::npos)
        << bench.Reports().front();
    EXPECT_EQ(bench.Reports().back(), testing::ReportJson(id, id, 0, "Checking closed captioning.",
                                                          "Closed captioning detected on line 21 of odd buffer.",
                                                          "[Fail]**** Closed captioning not detected."));
    auto log = bench.LogLines();
    EXPECT_NE(std::find(log.begin(), log.end(),
                        "100 0x0000AF00 CVBIAnalyzer::Initialize()>  No Known VBI Analyzer Detected."),
              log.end());
}

// A decoder whose every value differs from the others, so that a getter
// wired to the wrong method shows.
struct FakeDecoder : Fake<::IAMAnalogVideoDecoder> {
    FakeDecoder() : Fake(IID_IAMAnalogVideoDecoder) {}
    LONG available = 0x13, format = 0x10, locked = 1, vcrLocking = 7, lines = 525, output = -1;
    HRESULT fail = S_OK;  // what every method answers, writing nothing, when set
    std::string last;

    HRESULT Get(const char* name, LONG value, LONG* out) {
        last = name;
        if (fail != S_OK) return fail;
        if (!out) return E_POINTER;
        *out = value;
        return S_OK;
    }
    HRESULT Put(const char* name, LONG value, LONG& field) {
        last = name;
        if (fail != S_OK) return fail;
        field = value;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_AvailableTVFormats(LONG* v) override {
        return Get("AvailableTVFormats", available, v);
    }
    HRESULT STDMETHODCALLTYPE put_TVFormat(LONG v) override { return Put("put_TVFormat", v, format); }
    HRESULT STDMETHODCALLTYPE get_TVFormat(LONG* v) override { return Get("TVFormat", format, v); }
    HRESULT STDMETHODCALLTYPE get_HorizontalLocked(LONG* v) override { return Get("HorizontalLocked", locked, v); }
    HRESULT STDMETHODCALLTYPE put_VCRHorizontalLocking(LONG v) override {
        return Put("put_VCRHorizontalLocking", v, vcrLocking);
    }
    HRESULT STDMETHODCALLTYPE get_VCRHorizontalLocking(LONG* v) override {
        return Get("VCRHorizontalLocking", vcrLocking, v);
    }
    HRESULT STDMETHODCALLTYPE get_NumberOfLines(LONG* v) override { return Get("NumberOfLines", lines, v); }
    HRESULT STDMETHODCALLTYPE put_OutputEnable(LONG v) override { return Put("put_OutputEnable", v, output); }
    HRESULT STDMETHODCALLTYPE get_OutputEnable(LONG* v) override { return Get("OutputEnable", output, v); }
};

TEST(Win32AnalogVideoDecoder, EachGetterReachesItsMethodAndPassesItsResultOn) {
    struct Row {
        const char* name;
        HResult (port::IAMAnalogVideoDecoder::*get)(int32_t*);
        LONG FakeDecoder::*field;
    };
    const Row rows[] = {
        {"AvailableTVFormats", &port::IAMAnalogVideoDecoder::get_AvailableTVFormats, &FakeDecoder::available},
        {"TVFormat", &port::IAMAnalogVideoDecoder::get_TVFormat, &FakeDecoder::format},
        {"HorizontalLocked", &port::IAMAnalogVideoDecoder::get_HorizontalLocked, &FakeDecoder::locked},
        {"NumberOfLines", &port::IAMAnalogVideoDecoder::get_NumberOfLines, &FakeDecoder::lines},
        {"OutputEnable", &port::IAMAnalogVideoDecoder::get_OutputEnable, &FakeDecoder::output},
    };
    FakeDecoder fake;
    {
        std::shared_ptr<port::IAMAnalogVideoDecoder> decoder;
        ASSERT_EQ(fake.Query(guids::kIidAnalogVideoDecoder, decoder), kSOk);
        for (const Row& row : rows) {
            SCOPED_TRACE(row.name);
            fake.fail = S_OK;
            int32_t value = 12345;
            EXPECT_EQ(((*decoder).*row.get)(&value), kSOk);
            EXPECT_EQ(fake.last, row.name);
            EXPECT_EQ(value, fake.*row.field);
            EXPECT_EQ(((*decoder).*row.get)(nullptr), E_POINTER);
            // A failing method writes nothing: the caller keeps its value.
            fake.fail = E_PROP_ID_UNSUPPORTED;
            value = 12345;
            EXPECT_EQ(((*decoder).*row.get)(&value), E_PROP_ID_UNSUPPORTED);
            EXPECT_EQ(value, 12345);
        }
    }
    EXPECT_EQ(fake.refs, 1u);
}

TEST(Win32AnalogVideoDecoder, SettersReachTheirMethodsAndPassTheirResultsOn) {
    FakeDecoder fake;
    std::shared_ptr<port::IAMAnalogVideoDecoder> decoder;
    ASSERT_EQ(fake.Query(guids::kIidAnalogVideoDecoder, decoder), kSOk);
    EXPECT_EQ(decoder->put_TVFormat(0x20), kSOk);
    EXPECT_EQ(fake.last, "put_TVFormat");
    EXPECT_EQ(fake.format, 0x20);
    EXPECT_EQ(decoder->put_OutputEnable(0), kSOk);
    EXPECT_EQ(fake.last, "put_OutputEnable");
    EXPECT_EQ(fake.output, 0);
    EXPECT_EQ(fake.vcrLocking, 7);

    fake.fail = VFW_E_NOT_CONNECTED;
    EXPECT_EQ(decoder->put_TVFormat(0x40), kVfwENotConnected);
    EXPECT_EQ(decoder->put_OutputEnable(-1), kVfwENotConnected);
    EXPECT_EQ(fake.format, 0x20);
    EXPECT_EQ(fake.output, 0);
}

// DirectDraw on Wine's own objects. Wine creates the DirectDraw object without
// a display (its null display driver) and keeps system-memory surfaces.
class Win32DirectDrawTest : public ::testing::Test {
protected:
    void SetUp() override {
        HResult hr = m_platform->DirectDraw().DirectDrawCreate(m_object);
        ASSERT_EQ(hr, kSOk) << std::hex << hr;
        m_raw = static_cast<::IDirectDraw*>(RawOf(m_object));
        ASSERT_NE(m_raw, nullptr);
        ASSERT_EQ(m_raw->SetCooperativeLevel(nullptr, DDSCL_NORMAL), DD_OK);
    }
    ComRef<IDirectDrawSurface> CreatePlain(DWORD width, DWORD height) {
        DDSURFACEDESC desc{};
        desc.dwSize = sizeof desc;
        desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
        desc.dwWidth = width;
        desc.dwHeight = height;
        desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY;
        ComRef<IDirectDrawSurface> surface;
        EXPECT_EQ(m_raw->CreateSurface(&desc, surface.Put(), nullptr), DD_OK);
        return surface;
    }
    static DDSURFACEDESC RawDesc(IDirectDrawSurface* surface) {
        DDSURFACEDESC desc{};
        desc.dwSize = sizeof desc;
        EXPECT_EQ(surface->GetSurfaceDesc(&desc), DD_OK);
        return desc;
    }
    // The surface port over a surface, reached through QueryInterface.
    static std::shared_ptr<port::IDirectDrawSurface> PortOf(IDirectDrawSurface* surface) {
        surface->AddRef();
        port::ComPtr object = Wrap(surface, guids::kIidUnknown);
        std::shared_ptr<port::IDirectDrawSurface> out;
        EXPECT_EQ(port::ComQuery(*object, guids::kIidDirectDrawSurface, out), kSOk);
        return out;
    }

    std::unique_ptr<port::IPlatform> m_platform = CreateWin32Platform();
    port::ComPtr m_object;
    ::IDirectDraw* m_raw = nullptr;
};

TEST_F(Win32DirectDrawTest, TheCreatedObjectIsTheDirectDrawPortAndGivesItsOtherInterfaces) {
    EXPECT_TRUE(port::ComCast<port::IDirectDraw>(m_object));
    std::shared_ptr<port::IDirectDraw> directDraw;
    EXPECT_EQ(port::ComQuery(*m_object, guids::kIidDirectDraw, directDraw), kSOk);
    std::shared_ptr<port::IDirectDraw2> directDraw2;
    ASSERT_EQ(port::ComQuery(*m_object, guids::kIidDirectDraw2, directDraw2), kSOk);
    uint32_t total = 0, free = 0;
    EXPECT_EQ(directDraw2->GetAvailableVidMem(port::kDdsCapsOffscreenPlain, &total, &free), kSOk);
    EXPECT_GT(total, 0u);
    EXPECT_LE(free, total);
}

TEST_F(Win32DirectDrawTest, EnumSurfacesHandsOutEachSurfaceWithItsDescription) {
    ComRef<IDirectDrawSurface> large = CreatePlain(64, 48), small = CreatePlain(32, 16);
    ASSERT_TRUE(large && small);
    auto directDraw = port::ComCast<port::IDirectDraw>(m_object);
    ASSERT_TRUE(directDraw);
    struct Seen {
        IUnknown* raw;
        port::SurfaceDesc desc;
    };
    std::vector<Seen> seen;
    HResult hr =
        directDraw->EnumSurfaces(port::kDdEnumSurfacesAll | port::kDdEnumSurfacesDoesExist,
                                 [&](std::shared_ptr<port::IDirectDrawSurface> surface, const port::SurfaceDesc& desc) {
                                     seen.push_back({RawOf(surface), desc});
                                     return port::kDdEnumRetOk;
                                 });
    EXPECT_EQ(hr, kSOk);
    ASSERT_EQ(seen.size(), 2u);
    std::sort(seen.begin(), seen.end(), [](const Seen& a, const Seen& b) { return a.desc.width < b.desc.width; });
    const struct {
        IDirectDrawSurface* raw;
        uint32_t width, height;
    } expected[] = {{small.Get(), 32, 16}, {large.Get(), 64, 48}};
    for (size_t i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        const port::SurfaceDesc& got = seen[i].desc;
        DDSURFACEDESC raw = RawDesc(expected[i].raw);
        EXPECT_EQ(seen[i].raw, expected[i].raw);
        EXPECT_EQ(got.width, expected[i].width);
        EXPECT_EQ(got.height, expected[i].height);
        EXPECT_EQ(got.flags, raw.dwFlags);
        EXPECT_EQ(got.pitch, raw.lPitch);
        EXPECT_GE(got.pitch, static_cast<int32_t>(got.width * got.rgbBitCount / 8));
        EXPECT_EQ(got.surface, raw.lpSurface);
        EXPECT_EQ(got.caps, raw.ddsCaps.dwCaps);
        EXPECT_TRUE(got.caps & port::kDdsCapsOffscreenPlain);
        EXPECT_EQ(got.pixelFormatFlags, raw.ddpfPixelFormat.dwFlags);
        EXPECT_EQ(got.rgbBitCount, raw.ddpfPixelFormat.dwRGBBitCount);
        EXPECT_NE(got.rgbBitCount, 0u);
    }
    // Every reference the enumeration gave went with its wrapper.
    EXPECT_EQ(Refs(large.Get()), 1u);
    EXPECT_EQ(Refs(small.Get()), 1u);
}

TEST_F(Win32DirectDrawTest, TheCallbacksAnswerStopsTheEnumerationAndAnEmptyCallbackIsRefused) {
    ComRef<IDirectDrawSurface> a = CreatePlain(16, 16), b = CreatePlain(8, 8);
    auto directDraw = port::ComCast<port::IDirectDraw>(m_object);
    ASSERT_TRUE(directDraw);
    int calls = 0;
    EXPECT_EQ(directDraw->EnumSurfaces(port::kDdEnumSurfacesAll | port::kDdEnumSurfacesDoesExist,
                                       [&](std::shared_ptr<port::IDirectDrawSurface>, const port::SurfaceDesc&) {
                                           ++calls;
                                           return port::kDdEnumRetCancel;
                                       }),
              kSOk);
    EXPECT_EQ(calls, 1);
    // The flags reach DirectDraw as they are: all surfaces without "that exist" is refused.
    EXPECT_EQ(directDraw->EnumSurfaces(port::kDdEnumSurfacesAll,
                                       [&](std::shared_ptr<port::IDirectDrawSurface>, const port::SurfaceDesc&) {
                                           ++calls;
                                           return port::kDdEnumRetOk;
                                       }),
              kEInvalidArg);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(directDraw->EnumSurfaces(port::kDdEnumSurfacesAll | port::kDdEnumSurfacesDoesExist, {}), kEInvalidArg);
    EXPECT_EQ(Refs(a.Get()), 1u);
    EXPECT_EQ(Refs(b.Get()), 1u);
}

TEST_F(Win32DirectDrawTest, DescriptionsTakeTheSystemsSizeAndDirectDrawDecidesOnOthers) {
    ComRef<IDirectDrawSurface> raw = CreatePlain(64, 48);
    ASSERT_TRUE(raw);
    auto surface = PortOf(raw.Get());
    ASSERT_TRUE(surface);
    const int32_t pitch = RawDesc(raw.Get()).lPitch;
    constexpr uint32_t kLarger = sizeof(DDSURFACEDESC2);
    // Wine's answers: a surface description must have the exact size, a lock
    // also takes the larger one; beyond that room the adapter refuses.
    const struct {
        bool lock;
        uint32_t size;
        HResult result;
    } rows[] = {{false, port::kSurfaceDescSize, kSOk},
                {false, 100, kEInvalidArg},
                {false, kLarger, kEInvalidArg},
                {false, 4096, kEInvalidArg},
                {true, port::kSurfaceDescSize, kSOk},
                {true, 100, kEInvalidArg},
                {true, kLarger, kSOk},
                {true, 4096, kEInvalidArg}};
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.lock ? "Lock " : "GetSurfaceDesc ") + std::to_string(row.size));
        // A refused call leaves every field as the caller set it.
        const port::SurfaceDesc before{row.size, 0x11, 555, 777, -3, nullptr, 0x22, 0x33, 44};
        port::SurfaceDesc desc = before;
        HResult hr = row.lock ? surface->Lock(desc, port::kDdLockWait) : surface->GetSurfaceDesc(desc);
        EXPECT_EQ(hr, row.result);
        if (hr != kSOk) {
            EXPECT_EQ(std::tie(desc.size, desc.flags, desc.height, desc.width, desc.pitch, desc.surface, desc.caps,
                               desc.pixelFormatFlags, desc.rgbBitCount),
                      std::tie(before.size, before.flags, before.height, before.width, before.pitch, before.surface,
                               before.caps, before.pixelFormatFlags, before.rgbBitCount));
            continue;
        }
        EXPECT_EQ(desc.width, 64u);
        EXPECT_EQ(desc.height, 48u);
        EXPECT_EQ(desc.pitch, pitch);
        EXPECT_EQ(desc.surface != nullptr, row.lock);
        if (row.lock) {
            EXPECT_EQ(surface->Unlock(), kSOk);
        }
    }
}

TEST_F(Win32DirectDrawTest, LockGivesTheSurfaceMemoryAndUnlockGivesItBack) {
    ComRef<IDirectDrawSurface> raw = CreatePlain(64, 48);
    ASSERT_TRUE(raw);
    {
        auto surface = PortOf(raw.Get());
        ASSERT_TRUE(surface);
        const int32_t pitch = RawDesc(raw.Get()).lPitch;
        port::SurfaceDesc desc;
        desc.size = port::kSurfaceDescSize;
        ASSERT_EQ(surface->Lock(desc, port::kDdLockWait | port::kDdLockWriteOnly), kSOk);
        // Only a lock that describes the surface as it is may be written through.
        ASSERT_NE(desc.surface, nullptr);
        ASSERT_EQ(desc.width, 64u);
        ASSERT_EQ(desc.height, 48u);
        ASSERT_EQ(desc.pitch, pitch);
        for (int32_t row = 0; row < 48; ++row) std::memset(desc.surface + row * pitch, row, static_cast<size_t>(pitch));
        EXPECT_EQ(surface->Unlock(), kSOk);
        EXPECT_EQ(surface->Unlock(), static_cast<HResult>(DDERR_NOTLOCKED));
    }
    // What was written through the port is the surface's content.
    DDSURFACEDESC desc{};
    desc.dwSize = sizeof desc;
    ASSERT_EQ(raw->Lock(nullptr, &desc, DDLOCK_WAIT | DDLOCK_READONLY, nullptr), DD_OK);
    const auto* bytes = static_cast<const uint8_t*>(desc.lpSurface);
    EXPECT_EQ(bytes[0], 0);
    EXPECT_EQ(bytes[5 * desc.lPitch + 3], 5);
    EXPECT_EQ(bytes[47 * desc.lPitch + 63], 47);
    raw->Unlock(nullptr);
    EXPECT_EQ(Refs(raw.Get()), 1u);
}

// Wine has no overlay mixer: its exclusive-mode interface is a fake here,
// handing out Wine's DirectDraw object.
struct FakeExclModeVideo : Fake<::IDDrawExclModeVideo> {
    FakeExclModeVideo() : Fake(IID_IDDrawExclModeVideo) {}
    ::IDirectDraw* directDraw = nullptr;
    WINBOOL external = TRUE;
    HRESULT result = S_OK;

    HRESULT STDMETHODCALLTYPE GetDDrawObject(::IDirectDraw** out, WINBOOL* usingExternal) override {
        if (!out || !usingExternal) return E_POINTER;
        *out = nullptr;
        if (result != S_OK) return result;
        *out = directDraw;
        directDraw->AddRef();
        *usingExternal = external;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetDDrawObject(::IDirectDraw*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetDDrawSurface(IDirectDrawSurface*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetDDrawSurface(IDirectDrawSurface**, WINBOOL*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetDrawParameters(const RECT*, const RECT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetNativeVideoProps(DWORD*, DWORD*, DWORD*, DWORD*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetCallbackInterface(IDDrawExclModeVideoCallback*, DWORD) override { return E_NOTIMPL; }
};

TEST_F(Win32DirectDrawTest, TheExclusiveModeInterfaceGivesTheMixersDirectDrawObject) {
    ComRef<IDirectDrawSurface> surface = CreatePlain(16, 8);
    FakeExclModeVideo fake;
    fake.directDraw = m_raw;
    const ULONG before = Refs(m_raw);
    {
        std::shared_ptr<port::IDDrawExclModeVideo> exclusive;
        ASSERT_EQ(fake.Query(guids::kIidDDrawExclModeVideo, exclusive), kSOk);
        std::shared_ptr<port::IDirectDraw> directDraw;
        int32_t external = -5;
        ASSERT_EQ(exclusive->GetDDrawObject(directDraw, &external), kSOk);
        EXPECT_EQ(external, TRUE);
        ASSERT_TRUE(directDraw);
        EXPECT_EQ(RawOf(directDraw), m_raw);
        int count = 0;
        const uint32_t existing = port::kDdEnumSurfacesAll | port::kDdEnumSurfacesDoesExist;
        EXPECT_EQ(directDraw->EnumSurfaces(existing,
                                           [&](auto, const port::SurfaceDesc& desc) {
                                               count += desc.width == 16 && desc.height == 8;
                                               return port::kDdEnumRetOk;
                                           }),
                  kSOk);
        EXPECT_EQ(count, 1);

        fake.external = FALSE;
        EXPECT_EQ(exclusive->GetDDrawObject(directDraw, &external), kSOk);
        EXPECT_EQ(external, FALSE);
        fake.result = VFW_E_NOT_CONNECTED;
        EXPECT_EQ(exclusive->GetDDrawObject(directDraw, &external), kVfwENotConnected);
        EXPECT_FALSE(directDraw);
    }
    EXPECT_EQ(Refs(m_raw), before);
    EXPECT_EQ(fake.refs, 1u);
}

// Pins on Wine's own filters: the file source's output into the smart tee.
class Win32PinTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(Succeeded(m_platform->Com().CoInitialize()));
        char dir[MAX_PATH];
        ASSERT_NE(GetTempPathA(MAX_PATH, dir), 0u);
        ASSERT_NE(GetTempFileNameA(dir, "orb", 0, m_file), 0u);
        std::FILE* f = std::fopen(m_file, "wb");
        ASSERT_TRUE(f);
        for (int i = 0; i < 4096; ++i) std::fputc(i & 0xFF, f);
        std::fclose(f);
    }
    void TearDown() override {
        m_graph.reset();
        DeleteFileA(m_file);
        m_platform->Com().CoUninitialize();
    }
    template <class Port>
    std::shared_ptr<Port> Create(const Guid& clsid, const Guid& iid) {
        port::ComPtr object;
        EXPECT_EQ(m_platform->Com().CoCreateInstance(clsid, iid, object), kSOk);
        return port::ComCast<Port>(object);
    }
    static std::shared_ptr<port::IPin> PinOf(port::IBaseFilter& filter, PinDirection direction) {
        std::shared_ptr<port::IEnumPins> pins;
        if (filter.EnumPins(pins) != kSOk) return nullptr;
        std::shared_ptr<port::IPin> pin;
        while (pins->Next(pin) == kSOk) {
            port::PinInfo info;
            if (pin->QueryPinInfo(info) == kSOk && info.direction == direction) return pin;
        }
        return nullptr;
    }

    std::unique_ptr<port::IPlatform> m_platform = CreateWin32Platform();
    std::shared_ptr<port::IGraphBuilder> m_graph;
    char m_file[MAX_PATH] = {};
};

TEST_F(Win32PinTest, ConnectedToGivesThePeerOrSaysThePinIsNotConnected) {
    m_graph = Create<port::IGraphBuilder>(guids::kClsidFilterGraph, guids::kIidGraphBuilder);
    auto source = Create<port::IBaseFilter>(FromGuid(CLSID_AsyncReader), guids::kIidBaseFilter);
    auto tee = Create<port::IBaseFilter>(guids::kClsidSmartTee, guids::kIidBaseFilter);
    ASSERT_TRUE(m_graph && source && tee);
    ComRef<IFileSourceFilter> file;
    ASSERT_EQ(RawOf(source)->QueryInterface(IID_IFileSourceFilter, reinterpret_cast<void**>(file.Put())), S_OK);
    wchar_t wide[MAX_PATH];
    MultiByteToWideChar(CP_ACP, 0, m_file, -1, wide, MAX_PATH);
    ASSERT_EQ(file->Load(wide, nullptr), S_OK);
    ASSERT_EQ(m_graph->AddFilter(source, "source"), kSOk);
    ASSERT_EQ(m_graph->AddFilter(tee, "tee"), kSOk);
    auto out = PinOf(*source, PinDirection::Output);
    auto in = PinOf(*tee, PinDirection::Input);
    auto teeOut = PinOf(*tee, PinDirection::Output);
    ASSERT_TRUE(out && in && teeOut);

    std::shared_ptr<port::IPin> peer = in;
    EXPECT_EQ(out->ConnectedTo(peer), kVfwENotConnected);
    EXPECT_FALSE(peer);

    ASSERT_EQ(m_graph->ConnectDirect(out, in), kSOk);
    const ULONG refs = Refs(RawOf(in));
    EXPECT_EQ(out->ConnectedTo(peer), kSOk);
    ASSERT_TRUE(peer);
    EXPECT_EQ(RawOf(peer), RawOf(in));
    peer.reset();
    EXPECT_EQ(Refs(RawOf(in)), refs);
    EXPECT_EQ(in->ConnectedTo(peer), kSOk);
    EXPECT_EQ(RawOf(peer), RawOf(out));
    EXPECT_EQ(teeOut->ConnectedTo(peer), kVfwENotConnected);
    EXPECT_FALSE(peer);

    EXPECT_EQ(m_graph->Disconnect(out), kSOk);
    EXPECT_EQ(m_graph->Disconnect(in), kSOk);
    EXPECT_EQ(out->ConnectedTo(peer), kVfwENotConnected);
    EXPECT_EQ(in->ConnectedTo(peer), kVfwENotConnected);
    EXPECT_FALSE(peer);
}

// A pin that answers with S_FALSE and still hands out references, as a
// driver's pin may: the adapter owns every pointer it is handed, whatever the
// code, and hands it on; the pin information's filter is released with the
// refused information.
struct FakeLoosePin : Fake<::IPin> {
    FakeLoosePin() : Fake(IID_IPin) {}
    Counted filter, peer;
    HRESULT STDMETHODCALLTYPE QueryPinInfo(PIN_INFO* info) override {
        *info = PIN_INFO{};
        // Only IUnknown's slots of the filter are ever called by the adapter here.
        info->pFilter = reinterpret_cast<::IBaseFilter*>(static_cast<IUnknown*>(&filter));
        filter.AddRef();
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE ConnectedTo(::IPin** out) override {
        *out = reinterpret_cast<::IPin*>(static_cast<IUnknown*>(&peer));
        peer.AddRef();
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Connect(::IPin*, const AM_MEDIA_TYPE*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ReceiveConnection(::IPin*, const AM_MEDIA_TYPE*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Disconnect() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ConnectionMediaType(AM_MEDIA_TYPE*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryDirection(PIN_DIRECTION*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryId(LPWSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryAccept(const AM_MEDIA_TYPE*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumMediaTypes(IEnumMediaTypes**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryInternalConnections(::IPin**, ULONG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EndOfStream() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE BeginFlush() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EndFlush() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE NewSegment(REFERENCE_TIME, REFERENCE_TIME, double) override { return E_NOTIMPL; }
};

TEST(Win32ComOwnership, ReferencesHandedOutWithOtherSuccessCodesAreOwned) {
    FakeLoosePin pin;
    {
        std::shared_ptr<port::IPin> wrapped;
        ASSERT_EQ(pin.Query(guids::kIidPin, wrapped), kSOk);
        port::PinInfo info;
        EXPECT_EQ(wrapped->QueryPinInfo(info), S_FALSE);
        EXPECT_FALSE(info.filter);
        EXPECT_EQ(pin.filter.refs, 1u) << "the refused information's filter is released";
        std::shared_ptr<port::IPin> connected;
        EXPECT_EQ(wrapped->ConnectedTo(connected), S_FALSE);
        ASSERT_TRUE(connected) << "handed on with the code";
        EXPECT_EQ(pin.peer.refs, 2u);
        connected.reset();
        EXPECT_EQ(pin.peer.refs, 1u);
    }
    EXPECT_EQ(pin.refs, 1u);
}

// The port's COM initialisation on a thread that initialised COM for itself
// in the multithreaded apartment: refused with RPC_E_CHANGED_MODE, and the
// system's uninitialisation leaves the thread's own initialisation alone. On
// a thread of its own the port undoes exactly what it did.
TEST(Win32ComBalance, OnlySuccessfulInitialisationsAreUndone) {
    std::thread thread([] {
        std::unique_ptr<port::IPlatform> platform = CreateWin32Platform();
        EXPECT_EQ(::CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
        EXPECT_EQ(platform->Com().CoInitialize(), RPC_E_CHANGED_MODE);
        platform->Com().CoUninitialize();
        EXPECT_EQ(::CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_FALSE)
            << "the thread's own initialisation survives";
        ::CoUninitialize();
        ::CoUninitialize();

        EXPECT_EQ(platform->Com().CoInitialize(), S_OK);
        EXPECT_EQ(platform->Com().CoInitialize(), S_FALSE);
        platform->Com().CoUninitialize();
        platform->Com().CoUninitialize();
        platform->Com().CoUninitialize();  // one more than it initialised: nothing to undo
        EXPECT_EQ(::CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK) << "no apartment left behind";
        ::CoUninitialize();
    });
    thread.join();
}

// A library opened to stay mapped is pinned by its module: closing it leaves
// it loaded; one opened plainly is gone after its close.
TEST(Win32HostLibraries, AKeptLibraryIsPinnedByItsModule) {
    for (bool keep : {false, true}) {
        std::string error;
        // A relative path: looking it up again by name would not find the module.
        host::Library library = host::OpenLibrary(".\\verinfo_none.dll", error, keep);
        ASSERT_TRUE(library) << error;
        host::CloseLibrary(library);
        EXPECT_EQ(::GetModuleHandleA("verinfo_none.dll") != nullptr, keep) << (keep ? "kept" : "plain");
    }
}

std::string FileText(const std::string& path) {
    std::string text;
    if (std::FILE* f = host::OpenFile(path, "rb")) {
        char chunk[256];
        for (size_t n; (n = std::fread(chunk, 1, sizeof chunk, f)) > 0;) text.append(chunk, n);
        std::fclose(f);
    }
    return text;
}

// A library's static reference to another module's object is released when
// the library is unloaded with FreeLibrary, and left alone when the process
// exits with the library loaded (the real loader's notification, under Wine).
TEST(Win32ProcessExit, ObjectsStillHeldAtProcessExitAreNotReleased) {
    host::TempDirectory scratch("orbex-exit-");
    ASSERT_FALSE(scratch.Path().empty());
    std::string probe = host::ModuleDirectoryOf(reinterpret_cast<const void*>(&FileText)) + "\\exit_probe.exe";
    struct Case {
        const char* mode;
        const char* notes;
    };
    for (const Case& c : {Case{"exit", "held\n"}, Case{"unload", "held\nreleased\nunloaded\n"}}) {
        std::string notes = scratch.Path() + "\\" + c.mode + ".txt";
        host::ProgramOutcome outcome = host::RunCaptured(probe, {c.mode, notes}, {}, notes + ".out", 60'000);
        ASSERT_TRUE(outcome.started) << probe;
        EXPECT_EQ(outcome.exitCode, 0) << c.mode;
        EXPECT_EQ(FileText(notes), c.notes) << c.mode;
    }
}

// At process exit a media type and a library the system still holds are left
// to the process's end: nothing is released or freed.
TEST(Win32ProcessExit, MediaTypesAndLibrariesAreLeftAlone) {
    Counted object;
    object.refs = 1;
    auto* type = static_cast<AM_MEDIA_TYPE*>(CoTaskMemAlloc(sizeof(AM_MEDIA_TYPE)));
    ZeroMemory(type, sizeof *type);
    type->pUnk = &object;
    std::unique_ptr<port::IPlatform> platform = CreateWin32Platform();
    port::LibraryHandle library = platform->Libraries().LoadNamedLibrary(".\\verinfo_current.dll");
    ASSERT_TRUE(library);
    SetProcessExiting(true);
    { MediaType owned(type); }
    platform->Libraries().FreeLibrary(library);
    SetProcessExiting(false);
    EXPECT_EQ(object.refs, 1u);
    EXPECT_NE(::GetModuleHandleA("verinfo_current.dll"), nullptr);
    platform->Libraries().FreeLibrary(library);
    EXPECT_EQ(::GetModuleHandleA("verinfo_current.dll"), nullptr);
    CoTaskMemFree(type);
}

// Host text is UTF-8 and reaches the wide APIs whole: a directory outside the
// ANSI code page can be made, entered, written in, listed and handed on in
// the environment; the library gets its text in the ANSI code page.
TEST(Win32HostText, PathsOutsideTheAnsiCodePageWork) {
    host::TempDirectory scratch("orbex-text-");
    ASSERT_FALSE(scratch.Path().empty());
    const std::string dir = scratch.Path() + "\\\xD0\x9F\xD1\x80\xD0\xBE\xD0\xB3\xD0\xBE\xD0\xBD \xE8\xA9\xA6";
    ASSERT_TRUE(std::filesystem::create_directory(host::PathOf(dir)));
    std::FILE* f = host::OpenFile(dir + "\\a.txt", "wb");
    ASSERT_TRUE(f);
    std::fputs("written", f);
    std::fclose(f);
    EXPECT_EQ(FileText(host::TextOf(host::PathOf(dir) / "a.txt")), "written");

    const std::string before = host::TextOf(std::filesystem::current_path());
    ASSERT_TRUE(host::ChangeDirectory(dir));
    EXPECT_EQ(host::TextOf(std::filesystem::current_path()), dir);
    ASSERT_TRUE(host::ChangeDirectory(before));

    host::SetEnvironment("ORBEX_TEXT_CHECK", dir.c_str());
    EXPECT_EQ(host::EnvironmentValue("ORBEX_TEXT_CHECK").value_or(""), dir);
    host::SetEnvironment("ORBEX_TEXT_CHECK", nullptr);
    EXPECT_FALSE(host::EnvironmentValue("ORBEX_TEXT_CHECK"));

    EXPECT_EQ(host::LibraryText("tc2203 7"), "tc2203 7");
    if (::GetACP() == 1252) {
        EXPECT_EQ(host::LibraryText("caf\xC3\xA9"), "caf\xE9");
        EXPECT_EQ(host::FromLibraryText("caf\xE9"), "caf\xC3\xA9");
    }
    // Text that is not UTF-8 (an ANSI name) gives a path, not an exception.
    EXPECT_EQ(host::PathOf("caf\xE9").native(), L"caf\xFFFD");
    const std::string self = host::ExecutablePath();
    EXPECT_EQ(self.substr(self.size() - 15), "orbex_tests.exe");
}

}  // namespace
}  // namespace orbex::win32
