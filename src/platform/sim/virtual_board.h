// The virtual board: a whole machine built from a board profile, one model
// per thing the machine has, each handing out the port it implements.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/harness_hook.h"
#include "platform/ports.h"
#include "platform/sim/components/channel_scan.h"
#include "platform/sim/components/logging_component.h"
#include "platform/sim/components/result_library.h"
#include "platform/sim/components/test_box.h"
#include "platform/sim/components/vbi_analyzer.h"
#include "platform/sim/components/video_analyzer.h"
#include "platform/sim/devices/capture_stream.h"
#include "platform/sim/devices/crossbar.h"
#include "platform/sim/devices/decoder.h"
#include "platform/sim/devices/overlay_mixer.h"
#include "platform/sim/devices/tuner.h"
#include "platform/sim/devices/video_renderer.h"
#include "platform/sim/display/direct_draw.h"
#include "platform/sim/display/display_driver.h"
#include "platform/sim/display/overlay_surfaces.h"
#include "platform/sim/display/video_memory.h"
#include "platform/sim/events.h"
#include "platform/sim/faults.h"
#include "platform/sim/kernel/kernel_driver.h"
#include "platform/sim/ledger.h"
#include "platform/sim/machine/clock.h"
#include "platform/sim/machine/com.h"
#include "platform/sim/machine/commands.h"
#include "platform/sim/machine/desktop.h"
#include "platform/sim/machine/device_manager.h"
#include "platform/sim/machine/files.h"
#include "platform/sim/machine/libraries.h"
#include "platform/sim/machine/path_map.h"
#include "platform/sim/machine/power.h"
#include "platform/sim/machine/profile_files.h"
#include "platform/sim/machine/registry.h"
#include "platform/sim/machine/screen_saver.h"
#include "platform/sim/machine/system_info.h"
#include "platform/sim/machine/user.h"
#include "platform/sim/media/media_classes.h"
#include "platform/sim/profile/board_profile.h"
#include "platform/sim/signal/signal_path.h"
#include "platform/sim/signal/vbi_line.h"

namespace orbex::sim {

struct SimOptions {
    std::string hostCurrentDirectory;  // where the current directory lives on disk
    std::string hostWindowsDirectory;  // where bare INI names (orbex.ini) are found; default: the current one
    std::string verdictLibraryPath;    // the shared library that stands for verdict.dll
    bool noVerdict = false;            // the result library cannot be loaded
    bool reportFaultCalls = false;     // at unload, tell the calls of every failable operation
    EventSink events;                  // default: the hosting harness's hook, when it has one
    // The host files (orbex.ini, graph files, logs, inf files) live here instead
    // of on disk, under the same host paths; null: on disk.
    std::shared_ptr<ini::MemoryFileStore> memoryFiles;
};

class VirtualBoard final : public port::IPlatform {
public:
    VirtualBoard(BoardProfile profile, SimOptions options);
    // Machines of one profile can share it: the profile is never changed.
    VirtualBoard(std::shared_ptr<const BoardProfile> profile, SimOptions options);
    ~VirtualBoard() override;
    VirtualBoard(const VirtualBoard&) = delete;
    VirtualBoard& operator=(const VirtualBoard&) = delete;

    port::IClock& Clock() override { return m_clock; }
    port::ISystemInfo& System() override { return m_system; }
    port::IUser& User() override { return m_user; }
    port::ILibraryLoader& Libraries() override { return m_libraries; }
    port::IComRuntime& Com() override { return m_com; }
    port::IProfile& Profile() override { return m_profiles; }
    port::IRegistry& Registry() override { return m_registry; }
    port::IFileSystem& Files() override { return m_files; }
    port::ICommandRunner& Commands() override { return m_commands; }
    port::IDisplay& Display() override { return m_display; }
    port::IDirectDrawRuntime& DirectDraw() override { return m_directDraw; }
    port::IDesktop& Desktop() override { return m_desktop; }
    port::IDeviceIo& DeviceIo() override { return m_kernelDriver; }
    port::IDeviceSetup& DeviceSetup() override { return m_deviceManager; }
    VirtualDesktop& VirtualDesk() { return m_desktop; }
    // The COM runtime with its per-thread counts of initialisations.
    ComRuntime& ComModel() { return m_com; }

    const BoardProfile& Board() const { return m_profile; }
    // Maps a Windows path of the virtual machine to a file on disk, if it has one.
    std::optional<std::string> HostPath(const std::string& windowsPath) const { return m_paths.HostPath(windowsPath); }
    bool FileExists(const std::string& windowsPath) const { return m_files.Exists(windowsPath); }
    std::string LocalTimeText() const { return m_clock.LocalTimeText(); }  // ISO-8601 with milliseconds, virtual
    void Emit(const std::string& event, std::vector<EventField> fields);
    // The board's devices, for checks of their state.
    const DecoderModel& Decoder() const { return m_decoder; }
    const CaptureStreamModel& CaptureStream() const { return m_captureStream; }
    const TunerModel& Tuner() const { return m_tuner; }
    const CrossbarModel& Crossbar() const { return m_crossbar; }
    const VideoRendererModel& Renderer() const { return m_videoRenderer; }
    const SignalPath& Signal() const { return m_signal; }
    const VbiLineSource& Vbi() const { return m_vbiLine; }
    VirtualClock& Time() { return m_clock; }
    const PowerModel& Power() const { return m_power; }
    const KernelDriver& Kernel() const { return m_kernelDriver; }
    const ScreenSaverModel& ScreenSaver() const { return m_screenSaver; }
    // Frames that reached the overlay buffers so far (settled to now).
    uint64_t FramesDelivered() { return m_overlayMixer.FramesDelivered(); }
    const VideoMemory& Memory() const { return m_videoMemory; }
    const OverlayMixerModel& OverlayMixer() const { return m_overlayMixer; }
    VideoAnalyzer& Analyzer() { return m_videoAnalyzer; }
    // Objects and handles handed out since this board was built and still
    // referenced, by kind and name (ledger.h).
    std::vector<ObjectLedger::Count> OpenReferences() const;
    int64_t OpenReferenceCount() const { return ObjectLedger::Process().OpenCountSince(m_ledgerSince); }

private:
    void WireInterfaces();
    // At unload: one "Leak" platform event per kind and name still referenced.
    void ReportLeaks();
    // Lets a hosting harness wait for the machine's timers.
    void AttachToHost(bool attach);
    OrbexVirtualMachine m_hostView{};

    // Declared in construction order: each model is built from the profile and
    // the models before it; they are destroyed in reverse.
    uint64_t m_ledgerSince = ObjectLedger::Process().NextId();  // the first ledger entry of this board
    std::shared_ptr<const BoardProfile> m_profileOwner;
    const BoardProfile& m_profile;
    SimOptions m_options;
    FaultTable m_faults;
    // The machine
    VirtualClock m_clock;
    SystemInfo m_system;
    VirtualUser m_user;
    PathMap m_paths;
    ProfileFiles m_profiles;
    VirtualFiles m_files;
    VirtualRegistry m_registry;
    DeviceManager m_deviceManager;
    CommandInterpreter m_commands;
    ScreenSaverModel m_screenSaver;
    PowerModel m_power;
    VirtualDesktop m_desktop;
    // The display
    DisplayDriver m_display;
    KernelDriver m_kernelDriver;
    VideoMemory m_videoMemory;
    OverlaySurfaces m_surfaces;
    DirectDrawRuntime m_directDraw;
    // The video path: sources, the tuner, the crossbar, the decoder, the
    // overlay mixer, the test box and the VBI pin
    SignalPath m_signal;
    TunerModel m_tuner;
    CrossbarModel m_crossbar;
    DecoderModel m_decoder;
    CaptureStreamModel m_captureStream;
    OverlayMixerModel m_overlayMixer;
    TestBox m_testBox;
    VbiLineSource m_vbiLine;
    VbiAnalyzer m_vbiAnalyzer;
    VideoAnalyzer m_videoAnalyzer;
    VideoRendererModel m_videoRenderer;
    // What serves libraries and classes, then the runtimes that dispatch to it
    ResultLibrary m_resultLibrary;
    LoggingComponent m_logging;
    MediaClasses m_media;
    ChannelScan m_channelScan;
    LibraryLoader m_libraries;
    ComRuntime m_com;
};

}  // namespace orbex::sim
