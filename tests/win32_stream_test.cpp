// The Win32 adapter's stream configuration and video window ports (Windows
// build, run under Wine) over fakes of the SDK's interfaces: each call reaches
// its method with its arguments, DirectShow's media types are freed as it
// requires, and a capability record never overruns the caller's buffer.
// clang-format off
#include <windows.h>
#include <dshow.h>
// clang-format on

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/guids.h"
#include "platform/stream_config.h"
#include "platform/video_window.h"
#include "platform/win32/process_exit.h"
#include "platform/win32/win32_com.h"
#include "win32_fakes.h"

namespace orbex::win32 {
namespace {

TEST(Win32StreamPorts, EachIdentifierWrapsToItsOwnPort) {
    for (const auto& [iid, window] : {std::pair{guids::kIidVideoWindow, true}, {guids::kIidAmStreamConfig, false}}) {
        Counted object;
        {
            object.AddRef();
            port::ComPtr wrapped = Wrap(&object, iid);
            ASSERT_TRUE(wrapped);
            EXPECT_EQ(port::ComCast<port::IVideoWindow>(wrapped) != nullptr, window);
            EXPECT_EQ(port::ComCast<port::IAMStreamConfig>(wrapped) != nullptr, !window);
            EXPECT_EQ(RawOf(wrapped), &object);
        }
        EXPECT_EQ(object.refs, 1u);
    }
}

// A video window that records the four calls the port makes; every other
// method says so in `last`.
struct FakeVideoWindow : Fake<::IVideoWindow> {
    FakeVideoWindow() : Fake(IID_IVideoWindow) {}
    OAHWND owner = 7;
    LONG style = 0, visible = 5, left = 1, top = 2, width = 3, height = 4;
    HRESULT answer = S_OK;
    std::string last;
    HRESULT Other(const char* name) {
        last = name;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT*) override { return Other("GetTypeInfoCount"); }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return Other("GetTypeInfo"); }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return Other("GetIDsOfNames");
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
        return Other("Invoke");
    }
    HRESULT STDMETHODCALLTYPE put_Caption(BSTR) override { return Other("put_Caption"); }
    HRESULT STDMETHODCALLTYPE get_Caption(BSTR*) override { return Other("get_Caption"); }
    HRESULT STDMETHODCALLTYPE put_WindowStyle(LONG v) override {
        last = "put_WindowStyle";
        style = v;
        return answer;
    }
    HRESULT STDMETHODCALLTYPE get_WindowStyle(LONG*) override { return Other("get_WindowStyle"); }
    HRESULT STDMETHODCALLTYPE put_WindowStyleEx(LONG) override { return Other("put_WindowStyleEx"); }
    HRESULT STDMETHODCALLTYPE get_WindowStyleEx(LONG*) override { return Other("get_WindowStyleEx"); }
    HRESULT STDMETHODCALLTYPE put_AutoShow(LONG) override { return Other("put_AutoShow"); }
    HRESULT STDMETHODCALLTYPE get_AutoShow(LONG*) override { return Other("get_AutoShow"); }
    HRESULT STDMETHODCALLTYPE put_WindowState(LONG) override { return Other("put_WindowState"); }
    HRESULT STDMETHODCALLTYPE get_WindowState(LONG*) override { return Other("get_WindowState"); }
    HRESULT STDMETHODCALLTYPE put_BackgroundPalette(LONG) override { return Other("put_BackgroundPalette"); }
    HRESULT STDMETHODCALLTYPE get_BackgroundPalette(LONG*) override { return Other("get_BackgroundPalette"); }
    HRESULT STDMETHODCALLTYPE put_Visible(LONG v) override {
        last = "put_Visible";
        visible = v;
        return answer;
    }
    HRESULT STDMETHODCALLTYPE get_Visible(LONG*) override { return Other("get_Visible"); }
    HRESULT STDMETHODCALLTYPE put_Left(LONG) override { return Other("put_Left"); }
    HRESULT STDMETHODCALLTYPE get_Left(LONG*) override { return Other("get_Left"); }
    HRESULT STDMETHODCALLTYPE put_Width(LONG) override { return Other("put_Width"); }
    HRESULT STDMETHODCALLTYPE get_Width(LONG*) override { return Other("get_Width"); }
    HRESULT STDMETHODCALLTYPE put_Top(LONG) override { return Other("put_Top"); }
    HRESULT STDMETHODCALLTYPE get_Top(LONG*) override { return Other("get_Top"); }
    HRESULT STDMETHODCALLTYPE put_Height(LONG) override { return Other("put_Height"); }
    HRESULT STDMETHODCALLTYPE get_Height(LONG*) override { return Other("get_Height"); }
    HRESULT STDMETHODCALLTYPE put_Owner(OAHWND v) override {
        last = "put_Owner";
        owner = v;
        return answer;
    }
    HRESULT STDMETHODCALLTYPE get_Owner(OAHWND*) override { return Other("get_Owner"); }
    HRESULT STDMETHODCALLTYPE put_MessageDrain(OAHWND) override { return Other("put_MessageDrain"); }
    HRESULT STDMETHODCALLTYPE get_MessageDrain(OAHWND*) override { return Other("get_MessageDrain"); }
    HRESULT STDMETHODCALLTYPE get_BorderColor(LONG*) override { return Other("get_BorderColor"); }
    HRESULT STDMETHODCALLTYPE put_BorderColor(LONG) override { return Other("put_BorderColor"); }
    HRESULT STDMETHODCALLTYPE get_FullScreenMode(LONG*) override { return Other("get_FullScreenMode"); }
    HRESULT STDMETHODCALLTYPE put_FullScreenMode(LONG) override { return Other("put_FullScreenMode"); }
    HRESULT STDMETHODCALLTYPE SetWindowForeground(LONG) override { return Other("SetWindowForeground"); }
    HRESULT STDMETHODCALLTYPE NotifyOwnerMessage(OAHWND, LONG, LONG_PTR, LONG_PTR) override {
        return Other("NotifyOwnerMessage");
    }
    HRESULT STDMETHODCALLTYPE SetWindowPosition(LONG l, LONG t, LONG w, LONG h) override {
        last = "SetWindowPosition";
        left = l, top = t, width = w, height = h;
        return answer;
    }
    HRESULT STDMETHODCALLTYPE GetWindowPosition(LONG*, LONG*, LONG*, LONG*) override {
        return Other("GetWindowPosition");
    }
    HRESULT STDMETHODCALLTYPE GetMinIdealImageSize(LONG*, LONG*) override { return Other("GetMinIdealImageSize"); }
    HRESULT STDMETHODCALLTYPE GetMaxIdealImageSize(LONG*, LONG*) override { return Other("GetMaxIdealImageSize"); }
    HRESULT STDMETHODCALLTYPE GetRestorePosition(LONG*, LONG*, LONG*, LONG*) override {
        return Other("GetRestorePosition");
    }
    HRESULT STDMETHODCALLTYPE HideCursor(LONG) override { return Other("HideCursor"); }
    HRESULT STDMETHODCALLTYPE IsCursorHidden(LONG*) override { return Other("IsCursorHidden"); }
};

TEST(Win32VideoWindow, EachCallReachesItsMethodAndPassesItsResultOn) {
    FakeVideoWindow fake;
    {
        std::shared_ptr<port::IVideoWindow> window;
        ASSERT_EQ(fake.Query(guids::kIidVideoWindow, window), kSOk);
        for (HRESULT answer : {S_OK, E_INVALIDARG}) {
            fake.answer = answer;
            EXPECT_EQ(window->put_Owner(0x00010010), answer);
            EXPECT_EQ(fake.last, "put_Owner");
            EXPECT_EQ(fake.owner, OAHWND{0x00010010});
            EXPECT_EQ(window->put_Owner(0), answer);
            EXPECT_EQ(fake.owner, OAHWND{0});
            EXPECT_EQ(window->put_WindowStyle(port::kWsChild), answer);
            EXPECT_EQ(fake.last, "put_WindowStyle");
            EXPECT_EQ(fake.style, LONG{WS_CHILD});
            EXPECT_EQ(window->SetWindowPosition(11, 12, 640, 479), answer);
            EXPECT_EQ(fake.last, "SetWindowPosition");
            EXPECT_EQ(fake.left, 11);
            EXPECT_EQ(fake.top, 12);
            EXPECT_EQ(fake.width, 640);
            EXPECT_EQ(fake.height, 479);
            EXPECT_EQ(window->put_Visible(port::kOaTrue), answer);
            EXPECT_EQ(fake.last, "put_Visible");
            EXPECT_EQ(fake.visible, OATRUE);
            EXPECT_EQ(window->put_Visible(port::kOaFalse), answer);
            EXPECT_EQ(fake.visible, OAFALSE);
        }
    }
    EXPECT_EQ(fake.refs, 1u);
}

// At process exit the renderer's destructor still detaches and hides its
// window: the calls must not reach quartz, which is detached by then.
TEST(Win32VideoWindow, AtProcessExitNoCallReachesTheWindow) {
    FakeVideoWindow fake;
    {
        std::shared_ptr<port::IVideoWindow> window;
        ASSERT_EQ(fake.Query(guids::kIidVideoWindow, window), kSOk);
        fake.last.clear();
        SetProcessExiting(true);
        EXPECT_EQ(window->put_Owner(0), E_UNEXPECTED);
        EXPECT_EQ(window->put_WindowStyle(port::kWsChild), E_UNEXPECTED);
        EXPECT_EQ(window->SetWindowPosition(0, 0, 640, 480), E_UNEXPECTED);
        EXPECT_EQ(window->put_Visible(port::kOaFalse), E_UNEXPECTED);
        SetProcessExiting(false);
        EXPECT_EQ(fake.last, "");
    }
    EXPECT_EQ(fake.refs, 1u);  // the wrapper released its reference while the process went on
}

// A stream configuration whose media types are allocated as a driver
// allocates them, each with an object of its own that must be released.
struct FakeStreamConfig : Fake<::IAMStreamConfig> {
    FakeStreamConfig() : Fake(IID_IAMStreamConfig) {}
    Counted held;  // the pUnk of every media type handed out
    int count = 2, recordSize = 128;
    ULONG formatBytes = sizeof(VIDEOINFOHEADER);
    HRESULT answer = S_OK;
    AM_MEDIA_TYPE received{};  // what SetFormat got
    VIDEOINFOHEADER receivedInfo{};
    std::string last;

    AM_MEDIA_TYPE* NewType(LONG width, LONG height) {
        auto* type = static_cast<AM_MEDIA_TYPE*>(CoTaskMemAlloc(sizeof(AM_MEDIA_TYPE)));
        *type = {};
        type->majortype = MEDIATYPE_Video;
        type->subtype = MEDIASUBTYPE_UYVY;
        type->formattype = FORMAT_VideoInfo;
        type->cbFormat = formatBytes;
        type->pbFormat = static_cast<BYTE*>(CoTaskMemAlloc(formatBytes));
        std::memset(type->pbFormat, 0, formatBytes);
        if (formatBytes >= sizeof(VIDEOINFOHEADER)) {
            auto* info = reinterpret_cast<VIDEOINFOHEADER*>(type->pbFormat);
            info->AvgTimePerFrame = 333667;
            info->bmiHeader.biWidth = width;
            info->bmiHeader.biHeight = height;
            info->bmiHeader.biBitCount = 16;
            info->bmiHeader.biCompression = MAKEFOURCC('U', 'Y', 'V', 'Y');
            info->bmiHeader.biSizeImage = static_cast<DWORD>(width * height * 2);
        }
        held.AddRef();
        type->pUnk = &held;
        return type;
    }
    HRESULT STDMETHODCALLTYPE SetFormat(AM_MEDIA_TYPE* type) override {
        last = "SetFormat";
        received = *type;
        received.pbFormat = nullptr;
        if (type->pbFormat && type->cbFormat >= sizeof receivedInfo)
            std::memcpy(&receivedInfo, type->pbFormat, sizeof receivedInfo);
        return answer;
    }
    HRESULT STDMETHODCALLTYPE GetFormat(AM_MEDIA_TYPE** type) override {
        last = "GetFormat";
        *type = answer == S_OK ? NewType(352, 288) : nullptr;
        return answer;
    }
    HRESULT STDMETHODCALLTYPE GetNumberOfCapabilities(int* c, int* s) override {
        last = "GetNumberOfCapabilities";
        *c = count;
        *s = recordSize;
        return S_OK;
    }
    // Writes the whole record of the declared size, bytes 1, 2, 3, ...
    HRESULT STDMETHODCALLTYPE GetStreamCaps(int index, AM_MEDIA_TYPE** type, BYTE* caps) override {
        last = "GetStreamCaps";
        if (index >= count) {
            *type = nullptr;
            return S_FALSE;
        }
        for (int i = 0; i < recordSize; ++i) caps[i] = static_cast<BYTE>(i + 1);
        *type = NewType(720, 480);
        return S_OK;
    }
};

TEST(Win32StreamConfig, GetFormatCopiesTheFieldsAndFreesTheMediaType) {
    FakeStreamConfig fake;
    std::shared_ptr<port::IAMStreamConfig> config;
    ASSERT_EQ(fake.Query(guids::kIidAmStreamConfig, config), kSOk);
    port::VideoMediaType format;
    EXPECT_EQ(config->GetFormat(format), kSOk);
    EXPECT_EQ(format.majorType, guids::kMediaTypeVideo);
    EXPECT_EQ(format.subtype, guids::kMediaSubtypeUyvy);
    EXPECT_EQ(format.formatType, guids::kFormatVideoInfo);
    EXPECT_EQ(format.avgTimePerFrame, 333667);
    EXPECT_EQ(format.width, 352);
    EXPECT_EQ(format.height, 288);
    EXPECT_EQ(format.bitCount, 16);
    EXPECT_EQ(format.compression, 0x59565955u);
    EXPECT_EQ(format.sizeImage, 352u * 288 * 2);
    EXPECT_EQ(fake.held.refs, 1u);  // the media type's object was released

    // A format block too short for a VIDEOINFOHEADER gives no picture fields.
    fake.formatBytes = sizeof(VIDEOINFOHEADER) - 1;
    EXPECT_EQ(config->GetFormat(format), kSOk);
    EXPECT_EQ(format.subtype, guids::kMediaSubtypeUyvy);
    EXPECT_EQ(format.width, 0);
    EXPECT_EQ(fake.held.refs, 1u);

    fake.answer = E_FAIL;
    EXPECT_EQ(config->GetFormat(format), E_FAIL);
    EXPECT_EQ(format.subtype, Guid{});
}

TEST(Win32StreamConfig, SetFormatHandsOverAVideoInfoHeader) {
    FakeStreamConfig fake;
    std::shared_ptr<port::IAMStreamConfig> config;
    ASSERT_EQ(fake.Query(guids::kIidAmStreamConfig, config), kSOk);
    port::VideoMediaType format;
    format.majorType = guids::kMediaTypeVideo;
    format.subtype = guids::kMediaSubtypeYuy2;
    format.formatType = guids::kFormatVideoInfo;
    format.avgTimePerFrame = 400000;
    format.width = 640;
    format.height = 480;
    format.bitCount = 16;
    format.compression = 0x32595559;
    format.sizeImage = 614400;
    for (HRESULT answer : {S_OK, static_cast<HRESULT>(0x80040200)}) {
        fake.answer = answer;
        EXPECT_EQ(config->SetFormat(format), answer);
        EXPECT_EQ(fake.last, "SetFormat");
        EXPECT_TRUE(IsEqualGUID(fake.received.majortype, MEDIATYPE_Video));
        EXPECT_TRUE(IsEqualGUID(fake.received.subtype, MEDIASUBTYPE_YUY2));
        EXPECT_TRUE(IsEqualGUID(fake.received.formattype, FORMAT_VideoInfo));
        EXPECT_EQ(fake.received.cbFormat, sizeof(VIDEOINFOHEADER));
        EXPECT_EQ(fake.received.lSampleSize, 614400u);
        EXPECT_EQ(fake.receivedInfo.AvgTimePerFrame, 400000);
        EXPECT_EQ(fake.receivedInfo.bmiHeader.biSize, sizeof(BITMAPINFOHEADER));
        EXPECT_EQ(fake.receivedInfo.bmiHeader.biWidth, 640);
        EXPECT_EQ(fake.receivedInfo.bmiHeader.biHeight, 480);
        EXPECT_EQ(fake.receivedInfo.bmiHeader.biPlanes, 1);
        EXPECT_EQ(fake.receivedInfo.bmiHeader.biCompression, 0x32595559u);
        EXPECT_EQ(fake.receivedInfo.bmiHeader.biSizeImage, 614400u);
    }
}

// The driver writes the record size it declares; the caller's 128 bytes get
// as much of it as fit and the bytes behind them stay as they were.
TEST(Win32StreamConfig, GetStreamCapsNeverOverrunsTheCallersRecord) {
    for (int size : {64, 128, 200}) {
        SCOPED_TRACE(size);
        FakeStreamConfig fake;
        fake.recordSize = size;
        std::shared_ptr<port::IAMStreamConfig> config;
        ASSERT_EQ(fake.Query(guids::kIidAmStreamConfig, config), kSOk);
        int32_t count = 0, recordSize = 0;
        EXPECT_EQ(config->GetNumberOfCapabilities(&count, &recordSize), kSOk);
        EXPECT_EQ(count, 2);
        EXPECT_EQ(recordSize, size);

        std::vector<uint8_t> buffer(128 + 16, 0xEE);
        port::VideoMediaType format;
        EXPECT_EQ(config->GetStreamCaps(1, format, std::span<uint8_t>(buffer.data(), 128)), kSOk);
        EXPECT_EQ(format.width, 720);
        EXPECT_EQ(format.height, 480);
        EXPECT_EQ(fake.held.refs, 1u);
        const int copied = size < 128 ? size : 128;
        for (int i = 0; i < static_cast<int>(buffer.size()); ++i)
            ASSERT_EQ(buffer[i], i < copied ? static_cast<uint8_t>(i + 1) : 0xEE) << "byte " << i;

        std::vector<uint8_t> untouched(128, 0xEE);
        EXPECT_EQ(config->GetStreamCaps(2, format, untouched), kSFalse);
        EXPECT_EQ(untouched, std::vector<uint8_t>(128, 0xEE));
    }
}

}  // namespace
}  // namespace orbex::win32
