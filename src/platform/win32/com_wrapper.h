// The common part of the port wrappers over raw COM interfaces: the owned
// pointer, QueryInterface through it, and the link RawOf follows back.
#pragma once

#include <unknwn.h>
#include <windows.h>

#include <memory>

#include "platform/com.h"
#include "platform/win32/com_ref.h"
#include "platform/win32/win32_com.h"

namespace orbex::win32::detail {

// The interface pointer a call handed out, owned by its wrapper whatever the
// call returned: COM gives the caller a reference whenever it sets the
// pointer, with S_OK, S_FALSE or any other code, and the wrapper releases it
// when the system lets go. The port hands the wrapper on; whether to use it
// is the system's decision, by the code. Null stays null.
template <class WrapperT, class Raw>
std::shared_ptr<WrapperT> Adopt(Raw* handedOut) {
    return handedOut ? std::make_shared<WrapperT>(handedOut) : nullptr;
}
// The same for a pointer asked for by interface identifier.
inline port::ComPtr Adopt(IUnknown* handedOut, const Guid& iid) {
    return Wrap(handedOut, iid);
}

// Lets RawOf find the interface behind any wrapper.
struct HasRaw {
    virtual ~HasRaw() = default;
    virtual IUnknown* Unknown() const = 0;
};

template <class Raw>
class Wrapper {
public:
    explicit Wrapper(Raw* owned) : m_raw(owned) {}
    Raw* Raw_() const { return m_raw.Get(); }

protected:
    HResult QueryThrough(const Guid& iid, port::ComPtr& out) {
        out.reset();
        IUnknown* other = nullptr;
        GUID g = ToGuid(iid);
        HRESULT hr = m_raw->QueryInterface(g, reinterpret_cast<void**>(&other));
        out = Adopt(other, iid);
        return hr == S_OK && !other ? E_NOINTERFACE : hr;
    }
    ComRef<Raw> m_raw;
};

#define ORBEX_WRAPPER_BASICS(RawType)                                     \
    using Wrapper<RawType>::Wrapper;                                      \
    HResult QueryInterface(const Guid& iid, port::ComPtr& out) override { \
        return this->QueryThrough(iid, out);                              \
    }                                                                     \
    IUnknown* Unknown() const override {                                  \
        return this->Raw_();                                              \
    }

// Passes an int32_t out-parameter to a method that fills a LONG: the method
// sees the caller's value, the caller gets what the method left; null stays null.
static_assert(sizeof(LONG) == sizeof(int32_t));
class LongOut {
public:
    explicit LongOut(int32_t* out) : m_out(out), m_value(out ? *out : 0) {}
    LONG* Get() { return m_out ? &m_value : nullptr; }
    // Hands the method's value back to the caller; returns hr unchanged.
    HRESULT Back(HRESULT hr) {
        if (m_out) *m_out = m_value;
        return hr;
    }

private:
    int32_t* m_out;
    LONG m_value;
};

template <class Get>
HRESULT ThroughLong(int32_t* out, Get get) {
    LongOut value(out);
    return value.Back(get(value.Get()));
}

}  // namespace orbex::win32::detail
