// clang-format off
#include <windows.h>
#include <setupapi.h>
// clang-format on

#include "platform/win32/win32_device_setup.h"

#include <cstring>
#include <vector>

namespace orbex::win32 {
namespace {

GUID ToWinGuid(const Guid& g) {
    GUID out;
    out.Data1 = g.data1;
    out.Data2 = g.data2;
    out.Data3 = g.data3;
    std::memcpy(out.Data4, g.data4, 8);
    return out;
}

Guid FromWinGuid(const GUID& g) {
    Guid out;
    out.data1 = g.Data1;
    out.data2 = g.Data2;
    out.data3 = g.Data3;
    std::memcpy(out.data4, g.Data4, 8);
    return out;
}

HDEVINFO SetOf(port::DeviceInfoSet set) {
    return reinterpret_cast<HDEVINFO>(set);
}

SP_DEVICE_INTERFACE_DATA InterfaceOf(const port::DeviceInterfaceData& data) {
    SP_DEVICE_INTERFACE_DATA d{};
    d.cbSize = sizeof d;
    d.InterfaceClassGuid = ToWinGuid(data.interfaceClass);
    d.Flags = data.flags;
    d.Reserved = data.reserved;
    return d;
}

class Win32DeviceSetup final : public port::IDeviceSetup {
public:
    port::DeviceInfoSet GetClassDevs(const Guid& interfaceClass, uint32_t flags) override {
        GUID g = ToWinGuid(interfaceClass);
        HDEVINFO set = ::SetupDiGetClassDevsA(&g, nullptr, nullptr, flags);
        return set == INVALID_HANDLE_VALUE ? port::kInvalidDeviceInfoSet : reinterpret_cast<port::DeviceInfoSet>(set);
    }
    bool EnumDeviceInterfaces(port::DeviceInfoSet set, const Guid& interfaceClass, uint32_t index,
                              port::DeviceInterfaceData& out) override {
        GUID g = ToWinGuid(interfaceClass);
        SP_DEVICE_INTERFACE_DATA d{};
        d.cbSize = sizeof d;
        if (!::SetupDiEnumDeviceInterfaces(SetOf(set), nullptr, &g, index, &d)) return false;
        out = port::DeviceInterfaceData{FromWinGuid(d.InterfaceClassGuid), d.Flags, d.Reserved};
        return true;
    }
    bool GetDeviceInterfaceDetail(port::DeviceInfoSet set, const port::DeviceInterfaceData& data, char* path,
                                  uint32_t size, port::DeviceInfoData& device) override {
        SP_DEVICE_INTERFACE_DATA d = InterfaceOf(data);
        DWORD needed = 0;
        ::SetupDiGetDeviceInterfaceDetailA(SetOf(set), &d, nullptr, 0, &needed, nullptr);
        if (needed < sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_A)) needed = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_A);
        std::vector<uint8_t> buffer(needed + sizeof(DWORD), 0);
        auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_A*>(buffer.data());
        detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_A);
        SP_DEVINFO_DATA info{};
        info.cbSize = sizeof info;
        if (!::SetupDiGetDeviceInterfaceDetailA(SetOf(set), &d, detail, needed, nullptr, &info)) return false;
        if (path && size) {
            const char* text = detail->DevicePath;
            size_t limit = buffer.size() - (reinterpret_cast<const uint8_t*>(text) - buffer.data());
            size_t n = strnlen(text, limit);
            if (n > size - 1) n = size - 1;
            std::memcpy(path, text, n);
            path[n] = '\0';
        }
        device = port::DeviceInfoData{FromWinGuid(info.ClassGuid), info.DevInst, info.Reserved};
        return true;
    }
    bool GetDeviceRegistryProperty(port::DeviceInfoSet set, const port::DeviceInfoData& device, uint32_t property,
                                   uint8_t* buffer, uint32_t size, uint32_t* required) override {
        SP_DEVINFO_DATA info{};
        info.cbSize = sizeof info;
        info.ClassGuid = ToWinGuid(device.deviceClass);
        info.DevInst = device.devInst;
        info.Reserved = device.reserved;
        DWORD type = 0, needed = 0;
        BOOL ok = ::SetupDiGetDeviceRegistryPropertyA(SetOf(set), &info, property, &type, buffer, size, &needed);
        if (required) *required = needed;
        return ok != FALSE;
    }
    bool DestroyDeviceInfoList(port::DeviceInfoSet set) override {
        return ::SetupDiDestroyDeviceInfoList(SetOf(set)) != FALSE;
    }
};

}  // namespace

std::unique_ptr<port::IDeviceSetup> CreateWin32DeviceSetup() {
    return std::make_unique<Win32DeviceSetup>();
}

}  // namespace orbex::win32
