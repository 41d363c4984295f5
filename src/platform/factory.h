// The one place that chooses the platform the system runs on.
#pragma once

#include <memory>
#include <string>

#include "platform/ports.h"

namespace orbex::port {

// The virtual board, described by the profile named in ORBEX_BOARD (the built-in
// reference board without it), over the current directory; ORBEX_NO_VERDICT=1
// makes its result library absent. On Windows the Win32 platform, unless
// ORBEX_BOARD is set or ORBEX_PLATFORM is "virtual". On failure returns null
// and sets error.
std::unique_ptr<IPlatform> CreatePlatform(std::string& error);

}  // namespace orbex::port
