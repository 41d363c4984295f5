// The Win32 adapter's RAII types (built and run only in the Windows build).
#include <gtest/gtest.h>

#include "platform/win32/com_ref.h"

namespace orbex::win32 {
namespace {

struct Counted : IUnknown {
    ULONG refs = 1;
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
    ULONG STDMETHODCALLTYPE Release() override { return --refs; }
};

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

}  // namespace
}  // namespace orbex::win32
