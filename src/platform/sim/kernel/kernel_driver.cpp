#include "platform/sim/kernel/kernel_driver.h"

#include <cstring>

#include "common/format.h"
#include "platform/sim/kernel/mask_library.h"

namespace orbex::sim {
namespace {

constexpr uint32_t kErrorInvalidFunction = 1;
constexpr uint32_t kErrorFileNotFound = 2;
constexpr uint32_t kErrorInvalidHandle = 6;
constexpr uint32_t kErrorInvalidParameter = 87;
constexpr uint32_t kErrorInsufficientBuffer = 122;
constexpr uint32_t kOpenExisting = 3;
constexpr const char* kDevicePath = "\\\\.\\qel2vxag.vxd";

uint32_t Dword(const uint8_t* p) {
    uint32_t v;
    std::memcpy(&v, p, 4);
    return v;
}

}  // namespace

port::DeviceHandle KernelDriver::OpenDevice(const char* path, uint32_t, uint32_t, uint32_t disposition, uint32_t) {
    if (HResult code = m_faults.Next("CreateFile")) {
        m_lastError = static_cast<uint32_t>(code);
        return port::kInvalidDeviceHandle;
    }
    if (!path || !EqualsNoCase(path, kDevicePath) || !m_config.present) {
        m_lastError = kErrorFileNotFound;
        return port::kInvalidDeviceHandle;
    }
    if (disposition != kOpenExisting) {
        m_lastError = kErrorInvalidParameter;
        return port::kInvalidDeviceHandle;
    }
    port::DeviceHandle device = m_next++;
    m_open.insert(device);
    m_ledger.Opened(device, "DeviceHandle", path);
    ++m_opens;
    return device;
}

uint32_t KernelDriver::MaskOf(const uint8_t* table) const {
    uint32_t mask = FeatureMask(table);
    if (m_config.wrongMaskTable.size() == 12 && std::memcmp(m_config.wrongMaskTable.data(), table, 12) == 0)
        mask ^= m_config.wrongMaskBits;
    return mask;
}

bool KernelDriver::DeviceIoControl(port::DeviceHandle device, uint32_t code, const void* in, uint32_t inSize, void* out,
                                   uint32_t outSize, uint32_t* bytesReturned) {
    if (!m_open.count(device)) return Fail(kErrorInvalidHandle);
    FaultHit fault = m_faults.Take("DeviceIoControl");
    if (fault.code) return Fail(static_cast<uint32_t>(fault.code));
    if (code != kMaskIoctl) return Fail(kErrorInvalidFunction);
    if (!in || inSize < kMaskRequestSize) return Fail(kErrorInvalidParameter);
    if (!out || outSize < kMaskReplySize) return Fail(kErrorInsufficientBuffer);
    const auto* request = static_cast<const uint8_t*>(in);
    auto* reply = static_cast<uint8_t*>(out);
    if (fault.malformed) {
        // A short reply: its header only, neither status nor mask.
        if (bytesReturned) *bytesReturned = 8;
        m_lastError = 0;
        m_faults.Applied("DeviceIoControl");
        return true;
    }
    const bool understood =
        Dword(request + 4) == kMaskRequestTag && Dword(request + 12) == kMaskRequestTag && Dword(request + 36) == 12;
    uint32_t status = understood ? m_config.replyStatus : kMaskReplyRefused;
    uint32_t mask = status == kMaskReplyValid ? MaskOf(request + 16) : 0;
    std::memcpy(reply + 8, &status, 4);
    std::memcpy(reply + 12, &mask, 4);
    if (bytesReturned) *bytesReturned = kMaskReplySize;
    m_lastError = 0;
    return true;
}

bool KernelDriver::CloseHandle(port::DeviceHandle device) {
    if (!m_open.erase(device)) return Fail(kErrorInvalidHandle);
    m_ledger.Closed(device);
    return true;
}

}  // namespace orbex::sim
