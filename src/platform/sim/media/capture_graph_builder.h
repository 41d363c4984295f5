// The capture graph builder: a graph to work on and the interface search
// over a filter and its pins.
#pragma once

#include <memory>

#include "platform/media.h"
#include "platform/sim/media/media_context.h"

namespace orbex::sim {

std::shared_ptr<port::ICaptureGraphBuilder> NewCaptureGraphBuilder(MediaContext& context);

}  // namespace orbex::sim
