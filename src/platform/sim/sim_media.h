// The virtual board's DirectShow runtime: filter graph, capture graph builder,
// system device enumerator with monikers, and the filters of the board.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/media.h"
#include "platform/sim/board_profile.h"
#include "platform/sim/faults.h"

namespace orbex::sim {

struct MediaContext {
    const BoardProfile* profile = nullptr;
    FaultTable* faults = nullptr;
    // Whether a filter class that comes from a kit file has been registered.
    std::function<bool(const FilterClassSpec&)> isRegistered;
};

// Creates the DirectShow objects the virtual board knows by class identifier:
// the graph objects, the device enumerator and the filter classes. Returns
// kRegdbEClassNotReg for a class the board does not know.
HResult CreateMediaObject(MediaContext& context, const Guid& clsid, const Guid& iid, port::ComPtr& out);

// The standard DirectShow filters every virtual machine has.
const std::vector<FilterClassSpec>& StandardFilterClasses();

}  // namespace orbex::sim
