// The device manager's view of present devices (SetupAPI): the device
// interfaces of a class and their devices' registry properties.
#pragma once

#include <cstdint>

#include "platform/types.h"

namespace orbex::port {

// A device information set; kInvalidDeviceInfoSet when none could be had.
using DeviceInfoSet = uintptr_t;
constexpr DeviceInfoSet kInvalidDeviceInfoSet = ~static_cast<uintptr_t>(0);

constexpr uint32_t kDigcfPresent = 0x02;          // only devices present in the system
constexpr uint32_t kDigcfDeviceInterface = 0x10;  // the class is a device interface class
constexpr uint32_t kSpdrpDeviceDesc = 0x00;       // the device's description property

// One device interface of a set, as the enumeration hands it out.
struct DeviceInterfaceData {
    Guid interfaceClass{};
    uint32_t flags = 0;
    uintptr_t reserved = 0;
};

// One device of a set.
struct DeviceInfoData {
    Guid deviceClass{};
    uint32_t devInst = 0;
    uintptr_t reserved = 0;
};

class IDeviceSetup {
public:
    virtual ~IDeviceSetup() = default;
    virtual DeviceInfoSet GetClassDevs(const Guid& interfaceClass, uint32_t flags) = 0;
    // False when index is past the last interface (or on failure).
    virtual bool EnumDeviceInterfaces(DeviceInfoSet set, const Guid& interfaceClass, uint32_t index,
                                      DeviceInterfaceData& out) = 0;
    // The interface's device path (truncated to fit, always terminated) and its device.
    virtual bool GetDeviceInterfaceDetail(DeviceInfoSet set, const DeviceInterfaceData& data, char* path, uint32_t size,
                                          DeviceInfoData& device) = 0;
    // A registry property of the device; a text property is copied with its
    // NUL when it fits, and required tells the size it needs.
    virtual bool GetDeviceRegistryProperty(DeviceInfoSet set, const DeviceInfoData& device, uint32_t property,
                                           uint8_t* buffer, uint32_t size, uint32_t* required) = 0;
    virtual bool DestroyDeviceInfoList(DeviceInfoSet set) = 0;
};

}  // namespace orbex::port
