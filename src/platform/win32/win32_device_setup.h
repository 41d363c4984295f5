// The SetupAPI view of present devices, over the real SetupAPI.
#pragma once

#include <memory>

#include "platform/device_setup.h"

namespace orbex::win32 {

std::unique_ptr<port::IDeviceSetup> CreateWin32DeviceSetup();

}  // namespace orbex::win32
