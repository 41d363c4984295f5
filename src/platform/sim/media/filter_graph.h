// The filter graph: filters added and removed, pins connected when their
// directions and media match, and the graph's run state.
#pragma once

#include <memory>

#include "platform/media.h"
#include "platform/sim/media/media_context.h"

namespace orbex::sim {

std::shared_ptr<port::IGraphBuilder> NewFilterGraph(MediaContext& context);

}  // namespace orbex::sim
