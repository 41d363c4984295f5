// The virtual board's logging component: the ILogWriter contract, writing
// "<local time> <level> 0x<colour> <text>" lines to the configured file in the
// current directory.
#pragma once

#include <cstdio>
#include <memory>
#include <string>

#include "platform/ports.h"

namespace orbex::sim {

class SimPlatform;

class SimLogWriter final : public port::ILogWriter, public std::enable_shared_from_this<SimLogWriter> {
public:
    explicit SimLogWriter(SimPlatform& platform) : m_platform(platform) {}
    ~SimLogWriter() override;

    HResult QueryInterface(const Guid& iid, port::ComPtr& out) override;
    HResult NewHandle(uint32_t* handle) override;
    HResult ReleaseHandle(uint32_t handle) override;
    HResult Configure(uint32_t handle, uint32_t levelMask, const char* fileName, const char* appName, int32_t reserved0,
                      int32_t reserved10) override;
    HResult Write(uint32_t handle, int32_t level, uint32_t colour, const char* format, va_list args) override;

    // Whether a line of this level passes the mask: bit level/24 (0 to 31).
    static bool LevelEnabled(uint32_t mask, int32_t level);

private:
    SimPlatform& m_platform;
    uint32_t m_handle = 0;
    uint32_t m_mask = 0xFFFFFFFF;
    std::FILE* m_file = nullptr;
};

}  // namespace orbex::sim
