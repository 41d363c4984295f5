// The device I/O port over kernel32: CreateFile, DeviceIoControl, CloseHandle
// and GetLastError, thin glue.
#pragma once

#include <memory>

#include "platform/ports.h"

namespace orbex::win32 {

std::unique_ptr<port::IDeviceIo> CreateWin32DeviceIo();

}  // namespace orbex::win32
