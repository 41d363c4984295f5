// The DirectShow classes of the machine: the graph objects, the device
// enumerator, the standard filters and the profile's filter classes, each
// registered with the COM runtime under its class identifier.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/sim/faults.h"
#include "platform/sim/machine/com.h"
#include "platform/sim/media/media_config.h"
#include "platform/sim/media/media_context.h"

namespace orbex::sim {

class MediaClasses {
public:
    // isKitRegistered: whether a kit file has been registered (by regsvr32).
    MediaClasses(const MediaConfig& config, FaultTable& faults,
                 std::function<bool(const std::string& kitFile)> isKitRegistered);
    // The board's devices watch the graphs and serve their filters' interfaces.
    void SetObserver(IGraphObserver* observer, bool overlayMixerInstalled) {
        m_context.observer = observer;
        m_context.overlayMixerInstalled = overlayMixerInstalled;
    }
    // The filters of a role hand out their device's interfaces through this provider.
    void SetInterfaceProvider(FilterRole role, InterfaceProvider provider) {
        m_context.providers[static_cast<size_t>(role)] = std::move(provider);
    }
    // Whether the filter was made by these classes (is a filter of this board).
    bool Owns(const SimFilter& filter) const;
    MediaClasses(const MediaClasses&) = delete;
    MediaClasses& operator=(const MediaClasses&) = delete;

    void RegisterClasses(ComRuntime& com);
    // Creates an object of one of the classes; a class from a kit file only
    // once that file is registered.
    HResult Create(const Guid& clsid, const Guid& iid, port::ComPtr& out);

private:
    MediaContext m_context;
};

// The standard DirectShow filters every virtual machine has.
const std::vector<FilterClassDesc>& StandardFilterClasses();

}  // namespace orbex::sim
