// The command interpreter behind the runtime's system(): every command is an
// event; it carries out "copy SRC DST" and "regsvr32 FILE", and knows no other.
#pragma once

#include <set>
#include <string>

#include "platform/ports.h"
#include "platform/sim/events.h"
#include "platform/sim/faults.h"
#include "platform/sim/machine/files.h"
#include "platform/sim/machine/machine_config.h"
#include "platform/sim/machine/registry.h"
#include "platform/sim/media/media_config.h"

namespace orbex::sim {

class CommandInterpreter final : public port::ICommandRunner {
public:
    // filterClasses: the profile's filter classes, whose kit files regsvr32 registers.
    CommandInterpreter(const MachineConfig& config, const MediaConfig& filterClasses, VirtualFiles& files,
                       VirtualRegistry& registry, FaultTable& faults, const EventSink& events)
        : m_config(config),
          m_media(filterClasses),
          m_files(files),
          m_registry(registry),
          m_faults(faults),
          m_events(events) {}

    int32_t System(const char* command) override;

    // Whether regsvr32 has registered this kit file.
    bool IsRegistered(const std::string& kitFile) const;

private:
    int32_t RunCopy(const std::string& source, const std::string& destination);
    int32_t RunRegsvr32(const std::string& file);

    const MachineConfig& m_config;
    const MediaConfig& m_media;
    VirtualFiles& m_files;
    VirtualRegistry& m_registry;
    FaultTable& m_faults;
    const EventSink& m_events;
    std::set<std::string> m_registered;  // kit files registered by regsvr32, folded names
};

}  // namespace orbex::sim
