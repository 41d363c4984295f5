// Port wrappers of the capture pin's stream configuration and the video
// renderer's window.
#pragma once

#include <unknwn.h>

#include "platform/com.h"

namespace orbex::win32 {

// Wraps an owned interface pointer when iid is IAMStreamConfig or
// IVideoWindow; null (and the pointer untouched) otherwise.
port::ComPtr WrapStreamInterface(IUnknown* owned, const Guid& iid);

}  // namespace orbex::win32
