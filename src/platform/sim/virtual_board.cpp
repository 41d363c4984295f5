#include "platform/sim/virtual_board.h"

#include "platform/guids.h"
#include "platform/host/host.h"

namespace orbex::sim {
namespace {

// The folder of the module that holds the board; it cannot move while the
// process runs, so it is looked up once.
const std::string& ModuleDirectory() {
    static const std::string directory = host::ModuleDirectoryOf(reinterpret_cast<const void*>(&ModuleDirectory));
    return directory;
}

SimOptions WithDefaults(SimOptions options) {
    if (options.hostCurrentDirectory.empty()) options.hostCurrentDirectory = ".";
    if (options.hostWindowsDirectory.empty()) options.hostWindowsDirectory = options.hostCurrentDirectory;
    if (options.verdictLibraryPath.empty())
        options.verdictLibraryPath = ModuleDirectory() + "/" + host::SharedLibraryName("verdict");
    if (!options.events) options.events = HarnessEventSink();
    return options;
}

}  // namespace

VirtualBoard::VirtualBoard(BoardProfile profile, SimOptions options)
    : VirtualBoard(std::make_shared<const BoardProfile>(std::move(profile)), std::move(options)) {}

VirtualBoard::VirtualBoard(std::shared_ptr<const BoardProfile> profile, SimOptions options)
    : m_profileOwner(std::move(profile)),
      m_profile(*m_profileOwner),
      m_options(WithDefaults(std::move(options))),
      m_faults(m_profile.faults),
      m_clock(m_profile.machine),
      m_system(m_profile.machine, m_faults),
      m_user(m_options.events),
      m_paths(m_profile.machine, m_options.hostCurrentDirectory, m_options.hostWindowsDirectory, m_options.memoryFiles),
      m_profiles(m_paths, m_faults, m_options.events),
      m_files(m_profile.files, m_profile.machine, m_paths, m_profiles, m_faults),
      m_registry(m_profile.registry, m_faults, m_options.events),
      m_deviceManager(m_profile.installed, m_profile.machine, m_paths, m_registry, m_faults),
      m_commands(m_profile.machine, m_profile.media, m_files, m_registry, m_faults, m_options.events),
      m_screenSaver(m_profile.screenSaver, m_profile.machine, m_options.events),
      m_power(m_profile.power, m_clock),
      m_desktop(m_profile.desktop, m_files, m_screenSaver, m_power, m_clock, m_faults, m_options.events),
      m_display(m_profile.display, m_faults),
      m_kernelDriver(m_profile.kernelDriver, m_faults),
      m_videoMemory(m_profile.videoMemory),
      m_surfaces(m_profile.overlay.surfaces, m_faults),
      m_directDraw(m_videoMemory, m_surfaces, m_faults),
      m_signal(m_profile.signal),
      m_tuner(m_profile.tuner, m_profile.signal.tuner, m_signal, m_clock, m_faults),
      m_crossbar(m_profile.crossbar, m_signal),
      m_decoder(m_profile.decoder, m_signal, m_faults),
      m_captureStream(m_profile.captureStream, m_faults),
      m_overlayMixer(m_profile.overlay, m_profile.videoMemory.leak, m_decoder, m_signal, m_surfaces, m_videoMemory,
                     m_directDraw, m_clock, m_faults),
      m_testBox(m_profile.testBox, m_signal, m_options.events),
      m_vbiLine(m_decoder, m_signal, m_clock),
      m_vbiAnalyzer(m_vbiLine, m_faults, m_options.events),
      m_videoAnalyzer([this] { return uint64_t{m_clock.Now()} * 1000; }, m_faults),
      m_videoRenderer(m_faults, m_options.events,
                      [this](port::WindowHandle window) { return window != 0 && window == m_desktop.HostWindow(); }),
      m_resultLibrary(m_profile.components, m_options.verdictLibraryPath, m_options.noVerdict),
      m_logging(m_profile.components, m_faults, m_system, m_paths, m_clock, m_options.events),
      m_media(m_profile.media, m_faults,
              [this](const std::string& kitFile) { return m_commands.IsRegistered(kitFile); }),
      m_channelScan(
          m_profile.channelScan, m_tuner, m_clock, m_faults,
          [this](const port::IBaseFilter& filter) {
              auto* f = dynamic_cast<const SimFilter*>(&filter);
              return f && m_media.Owns(*f) && f->Role() == FilterRole::Tuner;
          },
          m_options.events),
      m_libraries(m_faults),
      m_com(m_faults) {
    m_libraries.Register("verdict.dll", m_resultLibrary);
    m_libraries.Register("cctb.dll", m_testBox);
    m_logging.RegisterClasses(m_com);
    m_media.SetObserver(&m_overlayMixer, m_profile.overlay.filter);
    WireInterfaces();
    AttachToHost(true);
    m_media.RegisterClasses(m_com);
    m_channelScan.RegisterClasses(m_com);
    // The tuner's current channel is the tuner source, in virtual time.
    m_signal.SetClock([this] { return m_clock.Now(); });
    m_signal.SetTunerSource([this](uint32_t at) { return m_tuner.OutputAt(at); });
    // Whatever changes the path to the overlay buffers first settles the frames
    // due; a tuner that settles changes it by itself.
    auto settle = [this] { m_overlayMixer.Settle(); };
    m_signal.SetBeforeChange(settle);
    m_decoder.SetBeforeChange(settle);
    m_captureStream.SetBeforeChange(settle);
    m_overlayMixer.SetCaptureShape([this] { return m_captureStream.Shape(); });
    m_surfaces.SetBeforeAccess(settle);
    m_surfaces.SetEvents(m_options.events);
    // Frames stop while the machine sleeps (and stay away when capture does
    // not come back); the feed splits its stretches where that changes.
    m_overlayMixer.SetHeld([this](uint32_t at) { return m_power.FramesHeld(at); });
    m_overlayMixer.SetChangeTimes([this](uint32_t from, uint32_t to) {
        std::optional<uint32_t> tuner = m_tuner.SettlesWithin(from, to);
        std::optional<uint32_t> power = m_power.ChangeWithin(from, to);
        if (tuner && power) return *tuner - from <= *power - from ? tuner : power;
        return tuner ? tuner : power;
    });
    // The video analyzer sees the frames on their way to the overlay mixer.
    m_overlayMixer.SetFrameObserver([this](uint64_t, uint64_t atUs) { m_videoAnalyzer.Frame(atUs); });
    m_videoAnalyzer.SetSettle(settle);
    m_videoAnalyzer.SetEvents(m_options.events, [this] { return m_captureStream.Current().avgTimePerFrame / 10; });
    // Every injected fault that fires is told, so a sweep can see it took effect.
    m_faults.SetObserver([this](const std::string& operation, HResult code, bool malformed) {
        std::vector<EventField> fields = {{"what", std::string("Fault")}, {"operation", operation}};
        if (malformed)
            fields.push_back({"data", std::string("malformed")});
        else
            fields.push_back({"code", static_cast<int64_t>(code)});
        Emit("Platform", std::move(fields));
    });
}

// Each role's filters hand out the interface of its device.
void VirtualBoard::WireInterfaces() {
    auto only = [](const Guid& wanted, auto make) {
        return [wanted, make](SimFilter&, const Guid& iid, port::ComPtr& out) -> HResult {
            out.reset();
            if (iid != wanted) return kENoInterface;
            out = make();
            return kSOk;
        };
    };
    // The capture filter: its decoder, and its capture pin's stream
    // configuration when the board advertises capture formats.
    m_media.SetInterfaceProvider(FilterRole::Decoder, [this](SimFilter&, const Guid& iid, port::ComPtr& out) {
        out.reset();
        if (iid == guids::kIidAnalogVideoDecoder) out = m_decoder.Interface();
        if (iid == guids::kIidAmStreamConfig) out = m_captureStream.Interface();
        return out ? kSOk : kENoInterface;
    });
    m_media.SetInterfaceProvider(FilterRole::OverlayMixer, [this](SimFilter&, const Guid& iid, port::ComPtr& out) {
        return m_overlayMixer.MixerInterface(iid, out);
    });
    m_media.SetInterfaceProvider(FilterRole::Tuner, only(guids::kIidAmTvTuner, [this] { return m_tuner.Interface(); }));
    m_media.SetInterfaceProvider(FilterRole::Crossbar,
                                 only(guids::kIidAmCrossbar, [this] { return m_crossbar.Interface(m_faults); }));
    m_media.SetInterfaceProvider(FilterRole::VideoAnalyzer,
                                 [this](SimFilter& filter, const Guid& iid, port::ComPtr& out) {
                                     return m_videoAnalyzer.Interface(filter, iid, out);
                                 });
    m_media.SetInterfaceProvider(FilterRole::VbiAnalyzer,
                                 [this](SimFilter& filter, const Guid& iid, port::ComPtr& out) {
                                     return m_vbiAnalyzer.Interface(filter, iid, out);
                                 });
    m_media.SetInterfaceProvider(FilterRole::VideoRenderer,
                                 [this](SimFilter& filter, const Guid& iid, port::ComPtr& out) {
                                     return m_videoRenderer.Interface(filter, iid, out);
                                 });
}

VirtualBoard::~VirtualBoard() {
    if (m_options.reportFaultCalls) {
        // The calls of every failable operation over the board's life.
        std::vector<EventField> fields = {{"what", std::string("FaultCalls")}};
        for (const auto& [operation, calls] : m_faults.Calls())
            fields.push_back({operation, static_cast<int64_t>(calls)});
        Emit("Platform", std::move(fields));
    }
    ReportLeaks();
    AttachToHost(false);
}

std::vector<ObjectLedger::Count> VirtualBoard::OpenReferences() const {
    return ObjectLedger::Process().OpenSince(m_ledgerSince);
}

// The board is destroyed after the system's process objects, so whatever is
// still open here was never released by the system.
void VirtualBoard::ReportLeaks() {
    for (const ObjectLedger::Count& c : OpenReferences())
        Emit("Platform", {{"what", std::string("Leak")}, {"kind", c.kind}, {"name", c.name}, {"count", c.count}});
}

// The harness delivers the machine's timers to the library as a message loop
// would: waiting for one lets virtual time pass until it expires.
void VirtualBoard::AttachToHost(bool attach) {
    auto hook = reinterpret_cast<OrbexHarnessAttachMachineFn>(host::ProgramSymbol(ORBEX_HARNESS_ATTACH_MACHINE_SYMBOL));
    if (!hook) return;
    if (!attach) {
        hook(nullptr);
        return;
    }
    m_hostView.context = this;
    m_hostView.waitForTimer = [](void* context, unsigned long long* window, unsigned long long* id) -> int {
        VirtualDesktop::ArmedTimer fired;
        if (!static_cast<VirtualBoard*>(context)->m_desktop.WaitForTimer(fired)) return 0;
        if (window) *window = fired.window;
        if (id) *id = fired.id;
        return 1;
    };
    m_hostView.openReferences = [](void* context) -> long long {
        return static_cast<VirtualBoard*>(context)->OpenReferenceCount();
    };
    m_hostView.reportOverlayBuffers = [](void* context) {
        static_cast<VirtualBoard*>(context)->m_surfaces.ReportOverlayBuffers();
    };
    m_hostView.elapsedMs = [](void* context) -> long long {
        return static_cast<VirtualBoard*>(context)->m_clock.Elapsed();
    };
    hook(&m_hostView);
}

void VirtualBoard::Emit(const std::string& event, std::vector<EventField> fields) {
    if (m_options.events) m_options.events(PlatformEvent{event, std::move(fields)});
}

}  // namespace orbex::sim
