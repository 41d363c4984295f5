// clang-format off
#include <windows.h>
// clang-format on

#include "platform/win32/win32_device_io.h"

namespace orbex::win32 {
namespace {

class Win32DeviceIo final : public port::IDeviceIo {
public:
    port::DeviceHandle OpenDevice(const char* path, uint32_t access, uint32_t shareMode, uint32_t disposition,
                                  uint32_t attributes) override {
        HANDLE device = ::CreateFileA(path, access, shareMode, nullptr, disposition, attributes, nullptr);
        return device == INVALID_HANDLE_VALUE ? port::kInvalidDeviceHandle
                                              : reinterpret_cast<port::DeviceHandle>(device);
    }
    bool DeviceIoControl(port::DeviceHandle device, uint32_t code, const void* in, uint32_t inSize, void* out,
                         uint32_t outSize, uint32_t* bytesReturned) override {
        DWORD returned = 0;
        BOOL ok = ::DeviceIoControl(reinterpret_cast<HANDLE>(device), code, const_cast<void*>(in), inSize, out, outSize,
                                    &returned, nullptr);
        if (bytesReturned) *bytesReturned = returned;
        return ok != 0;
    }
    bool CloseHandle(port::DeviceHandle device) override {
        return ::CloseHandle(reinterpret_cast<HANDLE>(device)) != 0;
    }
    uint32_t GetLastError() override { return ::GetLastError(); }
};

}  // namespace

std::unique_ptr<port::IDeviceIo> CreateWin32DeviceIo() {
    return std::make_unique<Win32DeviceIo>();
}

}  // namespace orbex::win32
