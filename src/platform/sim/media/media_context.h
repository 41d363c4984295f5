// What every DirectShow object of the virtual board shares: the profile's
// media sections, the fault table and the kit-file registrations.
#pragma once

#include <array>
#include <functional>
#include <vector>

#include "platform/com.h"
#include "platform/sim/faults.h"
#include "platform/sim/media/media_config.h"

namespace orbex::sim {

class SimFilter;

// Hands out the interface iid of the device behind a filter of one role, or an error.
using InterfaceProvider = std::function<HResult(SimFilter& filter, const Guid& iid, port::ComPtr& out)>;

// One connection from an output pin of the decoder to an input pin of the
// overlay mixer, named by the decoder's output pin.
using OverlayLink = const void*;

// What the board's devices learn from the filter graph.
class IGraphObserver {
public:
    virtual ~IGraphObserver() = default;
    // Before any connection or run state changes.
    virtual void BeforeGraphChange() = 0;
    // A new link; an error refuses the connection (the mixer's surfaces do not fit).
    virtual HResult LinkConnected(OverlayLink link, bool graphRunning) = 0;
    virtual void LinkDisconnected(OverlayLink link) = 0;
    // The graph starts or stops, with the overlay links it holds.
    virtual void GraphRunning(const std::vector<OverlayLink>& links, bool running) = 0;
};

struct MediaContext {
    const MediaConfig& config;
    FaultTable& faults;
    // Whether a filter class that comes from a kit file has been registered.
    std::function<bool(const FilterClassDesc&)> isRegistered;
    IGraphObserver* observer = nullptr;                       // the board's devices, when it has them
    std::array<InterfaceProvider, kFilterRoles> providers{};  // by role; empty: only the filter's own
    bool overlayMixerInstalled = true;                        // whether the Overlay Mixer class exists
};

}  // namespace orbex::sim
