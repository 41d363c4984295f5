// COM-style objects as the ports hand them out. A shared_ptr stands for one
// counted reference; QueryInterface gives out another one.
#pragma once

#include <memory>

#include "platform/types.h"

namespace orbex::port {

struct IComObject {
    virtual ~IComObject() = default;
    // Asks the object for another of its interfaces; kENoInterface when it has none.
    virtual HResult QueryInterface(const Guid& iid, std::shared_ptr<IComObject>& out) = 0;
};
using ComPtr = std::shared_ptr<IComObject>;

// Typed view on an interface pointer that a port handed out as IComObject.
template <class T>
std::shared_ptr<T> ComCast(const ComPtr& p) {
    return std::dynamic_pointer_cast<T>(p);
}

// QueryInterface followed by the typed view; empty when either fails.
template <class T>
HResult ComQuery(IComObject& object, const Guid& iid, std::shared_ptr<T>& out) {
    out.reset();
    ComPtr any;
    HResult hr = object.QueryInterface(iid, any);
    if (hr != kSOk) return hr;
    out = ComCast<T>(any);
    return out ? kSOk : kENoInterface;
}

}  // namespace orbex::port
