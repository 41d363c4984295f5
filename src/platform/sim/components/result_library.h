// The harness result library (verdict.dll): a host shared library that loads
// when the profile has it installed, exporting only the names the profile lists.
#pragma once

#include <string>

#include "platform/sim/components/components_config.h"
#include "platform/sim/machine/libraries.h"

namespace orbex::sim {

class ResultLibrary final : public ILibraryProvider {
public:
    // hostPath: the shared library that stands for verdict.dll; absent: it never loads.
    ResultLibrary(const ComponentsConfig& config, std::string hostPath, bool absent)
        : m_config(config), m_hostPath(std::move(hostPath)), m_absent(absent) {}

    port::LibraryHandle Open() override;
    void* Symbol(port::LibraryHandle library, const char* name) override;
    void Close(port::LibraryHandle library) override;

private:
    const ComponentsConfig& m_config;
    std::string m_hostPath;
    bool m_absent;
};

}  // namespace orbex::sim
