// Port wrappers of the tuner, the crossbar, the channel-scan object and the
// VBI analyzer.
#pragma once

#include <unknwn.h>

#include "platform/com.h"

namespace orbex::win32 {

// Wraps an owned interface pointer when iid is one of those four interfaces;
// null (and the pointer untouched) otherwise.
port::ComPtr WrapTunerInterface(IUnknown* owned, const Guid& iid);

}  // namespace orbex::win32
