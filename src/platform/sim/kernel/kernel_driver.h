// The board's kernel driver, "\\.\qel2vxag.vxd": a device that opens when the
// driver is installed and answers the feature-mask request through the board's
// mask library.
#pragma once

#include <set>

#include "platform/ports.h"
#include "platform/sim/faults.h"
#include "platform/sim/kernel/kernel_config.h"
#include "platform/sim/ledger.h"

namespace orbex::sim {

constexpr uint32_t kMaskIoctl = 0x51454CF3;
constexpr uint32_t kMaskRequestTag = 0x54430001;
constexpr uint32_t kMaskReplyValid = 0x54530000;
constexpr uint32_t kMaskReplyRefused = 0x5453FFFF;  // a request the library does not understand
constexpr uint32_t kMaskRequestSize = 76;
constexpr uint32_t kMaskReplySize = 64;

class KernelDriver final : public port::IDeviceIo {
public:
    KernelDriver(const KernelDriverConfig& config, FaultTable& faults) : m_config(config), m_faults(faults) {}

    port::DeviceHandle OpenDevice(const char* path, uint32_t access, uint32_t shareMode, uint32_t disposition,
                                  uint32_t attributes) override;
    bool DeviceIoControl(port::DeviceHandle device, uint32_t code, const void* in, uint32_t inSize, void* out,
                         uint32_t outSize, uint32_t* bytesReturned) override;
    bool CloseHandle(port::DeviceHandle device) override;
    uint32_t GetLastError() override { return m_lastError; }

    size_t OpenHandles() const { return m_open.size(); }
    int Opens() const { return m_opens; }

private:
    bool Fail(uint32_t error) {
        m_lastError = error;
        return false;
    }
    uint32_t MaskOf(const uint8_t* table) const;

    const KernelDriverConfig& m_config;
    FaultTable& m_faults;
    std::set<port::DeviceHandle> m_open;
    port::DeviceHandle m_next = 0x200;
    HandleLedger m_ledger;  // the open handles, counted
    uint32_t m_lastError = 0;
    int m_opens = 0;
};

}  // namespace orbex::sim
