// The desktop port over user32, kernel32 and powrprof: thin glue.
#pragma once

#include <memory>

#include "platform/desktop.h"

namespace orbex::win32 {

std::unique_ptr<port::IDesktop> CreateWin32Desktop();

}  // namespace orbex::win32
