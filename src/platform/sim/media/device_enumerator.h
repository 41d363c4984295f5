// The system device enumerator: one moniker per profile device of the asked
// category, each with a property bag (FriendlyName) and binding to a new filter.
#pragma once

#include <memory>

#include "platform/media.h"
#include "platform/sim/media/media_context.h"

namespace orbex::sim {

std::shared_ptr<port::ICreateDevEnum> NewDeviceEnumerator(MediaContext& context);

}  // namespace orbex::sim
