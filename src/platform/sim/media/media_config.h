// The media sections of a board profile: [Device.NAME], the devices the
// system device enumerator lists, and [Filter.NAME], the filter classes
// created by class identifier.
#pragma once

#include <string>
#include <vector>

#include "platform/types.h"

namespace orbex::sim {

struct ProfileEntry;

// What a filter is to the board's devices: whose interface it hands out.
enum class FilterRole : uint8_t {
    Plain,
    Decoder,
    OverlayMixer,
    Tuner,
    Crossbar,
    VbiAnalyzer,
    VideoRenderer,
    VideoAnalyzer
};
constexpr size_t kFilterRoles = 8;

struct PinDesc {
    PinDirection direction = PinDirection::Input;
    std::string name;
    std::string medium;    // what the pin carries: analog, video, vbi, overlay
    std::string category;  // capture, preview, vbi or empty
};

struct DeviceDesc {  // a device the system device enumerator lists
    Guid category;
    std::vector<Guid> alsoListedUnder;  // further categories the device is registered in (AlsoCategory=)
    std::string friendlyName;
    std::vector<PinDesc> pins;
    bool decoder = false;         // its filter carries the board's analog video decoder
    bool deviceInterface = true;  // a tuner's or crossbar's filter hands out the device's interface
    std::string section;          // its profile section, lower case: "device.capture"
};

// The role of a device's filter: the decoder's; else by category the tuner's
// or the crossbar's, unless the profile takes the interface away.
FilterRole RoleOf(const DeviceDesc& device);

struct FilterClassDesc {  // a filter created by class identifier
    Guid clsid;
    std::string name;
    std::vector<PinDesc> pins;
    std::string kitFile;                  // when set, the class exists only once this file is registered
    FilterRole role = FilterRole::Plain;  // VbiAnalyzer: the board's VBI analyzer
    std::string section;                  // its profile section, lower case
    bool registered = false;              // the kit file was registered before the run (an earlier self-setup)
    bool roleInterface = true;            // the filter hands out its role's interface (Interface=)
};

struct MediaConfig {
    std::vector<DeviceDesc> devices;
    std::vector<FilterClassDesc> filterClasses;
};

// The entry a [Device.NAME] or [Filter.NAME] section describes: a section
// name seen before (in this profile or its base) names the same entry again.
DeviceDesc& DeviceOf(MediaConfig& config, const std::string& section);
FilterClassDesc& FilterClassOf(MediaConfig& config, const std::string& section);

void ReadKey(DeviceDesc& device, const ProfileEntry& entry);
void ReadKey(FilterClassDesc& filter, const ProfileEntry& entry);
// Refuses a device without a friendly name (at line, the profile's last).
void CheckDevices(const MediaConfig& config, int line);
// The role a filter of the class gets: none when the profile takes its interface away.
FilterRole RoleOf(const FilterClassDesc& filter);
// Refuses a filter class without a class identifier.
void CheckFilterClasses(const MediaConfig& config, int line);

}  // namespace orbex::sim
