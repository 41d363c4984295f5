// COM objects for the adapter's tests: reference counting on the stack, and
// the way the system reaches a wrapper (a plain object, then QueryInterface).
#pragma once

#include <windows.h>

#include <memory>

#include "platform/com.h"
#include "platform/guids.h"
#include "platform/win32/win32_com.h"

namespace orbex::win32 {

// The reference count an object reports, without changing it.
inline ULONG Refs(IUnknown* p) {
    p->AddRef();
    return p->Release();
}

struct Counted : IUnknown {
    ULONG refs = 1;
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
    ULONG STDMETHODCALLTYPE Release() override { return --refs; }
};

// A COM object on the stack: counts its references and answers for IUnknown
// and its own interface only.
template <class Interface>
struct Fake : Interface {
    explicit Fake(const IID& iid) : m_iid(iid) {}
    ULONG refs = 1;
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!IsEqualGUID(iid, IID_IUnknown) && !IsEqualGUID(iid, m_iid)) {
            *out = nullptr;
            return E_NOINTERFACE;
        }
        *out = static_cast<Interface*>(this);
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
    ULONG STDMETHODCALLTYPE Release() override { return --refs; }
    // The wrapper under test, reached the way the system reaches it: a plain
    // object first, then QueryInterface for the port's identifier.
    template <class Port>
    HResult Query(const Guid& iid, std::shared_ptr<Port>& out) {
        AddRef();
        port::ComPtr object = Wrap(static_cast<Interface*>(this), guids::kIidUnknown);
        return port::ComQuery(*object, iid, out);
    }

private:
    IID m_iid;
};

}  // namespace orbex::win32
