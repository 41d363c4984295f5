// The board profile: one INI file describing a whole virtual machine (board,
// media devices, system, outside components) and the faults injected into it.
// Each section belongs to one model, which reads its keys; unknown sections,
// keys and values are refused with file and line.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/sim/components/channel_scan.h"
#include "platform/sim/components/components_config.h"
#include "platform/sim/components/test_box.h"
#include "platform/sim/devices/capture_stream.h"
#include "platform/sim/devices/crossbar.h"
#include "platform/sim/devices/decoder.h"
#include "platform/sim/devices/tuner.h"
#include "platform/sim/display/display_config.h"
#include "platform/sim/display/overlay_config.h"
#include "platform/sim/faults.h"
#include "platform/sim/kernel/kernel_config.h"
#include "platform/sim/machine/desktop_config.h"
#include "platform/sim/machine/installed_config.h"
#include "platform/sim/machine/machine_config.h"
#include "platform/sim/machine/power_config.h"
#include "platform/sim/media/media_config.h"
#include "platform/sim/signal/signal_path.h"

namespace orbex::sim {

struct BoardProfile {
    std::string source = "<built-in reference board>";
    // [Profile] Purpose= and MeantToFail=: what the board is for, in one line,
    // and the catalogue command lines it is meant to fail (a profile's own,
    // never taken from its base).
    std::string purpose;
    std::vector<std::string> meantToFail;

    MachineConfig machine;
    DesktopConfig desktop;  // the host window, system metrics and cursor
    PowerConfig power;
    ScreenSaverConfig screenSaver;
    ComponentsConfig components;
    DisplayConfig display;
    KernelDriverConfig kernelDriver;  // the feature-mask service
    VideoMemoryConfig videoMemory;
    MediaConfig media;
    SignalConfig signal;
    DecoderConfig decoder;
    CaptureStreamConfig captureStream;  // the capture pin's records and start format
    TunerConfig tuner;                  // with the channel plan
    CrossbarConfig crossbar;
    ChannelScanConfig channelScan;
    OverlayMixerConfig overlay;
    TestBoxConfig testBox;
    RegistryConfig registry;
    FilesConfig files;
    InstalledConfig installed;  // inf files, enumerated devices, device interfaces
    FaultConfig faults;
};

// Parses profile text. On error returns nullopt and sets error to
// "<source>:<line>: <what>".
std::optional<BoardProfile> ParseBoardProfile(const std::string& text, const std::string& source, std::string& error);
std::optional<BoardProfile> LoadBoardProfile(const std::string& path, std::string& error);
// The built-in reference board.
BoardProfile ReferenceBoard();
const char* ReferenceBoardText();

}  // namespace orbex::sim
