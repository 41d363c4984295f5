// Port views of real COM objects: each wraps one interface pointer and hands
// out further wrapped interfaces from QueryInterface.
#pragma once

#include <unknwn.h>
#include <windows.h>

#include "platform/ports.h"

namespace orbex::win32 {

GUID ToGuid(const Guid& g);
Guid FromGuid(const GUID& g);

// Wraps an interface pointer that the caller owns (one reference), known by
// the identifier it was obtained with. Interfaces without a port of their own
// are wrapped as plain COM objects.
port::ComPtr Wrap(IUnknown* owned, const Guid& iid);

// The raw interface behind a wrapper, or null when p is not one of ours.
IUnknown* RawOf(const std::shared_ptr<port::IComObject>& p);

}  // namespace orbex::win32
