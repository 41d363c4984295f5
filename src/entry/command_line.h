// The command-line parser: the legacy form "tcGDTT [parameter]" and the option
// form "-g N -d N -t N -p N -f FILE". A rejected line is shown in a message box.
#pragma once

#include <cstdint>

#include "entry/test_identifier.h"
#include "platform/ports.h"

namespace orbex {

// Returns 0 with id filled, or 1 after the message box was shown.
int32_t ParseCommandLine(const char* commandLine, TestIdentifier& id, port::ISystemInfo& system, port::IUser& user);

}  // namespace orbex
