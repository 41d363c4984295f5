// The real platform: every port over the Win32, COM, DirectShow, DirectDraw
// and GDI functions. Thin glue, no test logic.
#pragma once

#include <memory>

#include "platform/ports.h"

namespace orbex::win32 {

std::unique_ptr<port::IPlatform> CreateWin32Platform();

}  // namespace orbex::win32
