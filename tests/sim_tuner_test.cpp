// The virtual board's tuner, crossbar, VBI path, VBI analyzer and channel-scan
// object, driven through the ports the system calls, over board profiles.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <regex>

#include "platform/guids.h"
#include "platform/sim/media/filter.h"
#include "platform/sim/virtual_board.h"

namespace orbex::sim {
namespace {

using port::ComQuery;

constexpr Guid kClsidVbiAnalyzer{0x554456F8, 0x9E81, 0x45D9, {0xB1, 0x8C, 0xD6, 0x87, 0xF7, 0xB8, 0x2A, 0x4D}};
constexpr HResult kEAccessDenied = static_cast<HResult>(0x80070005);
constexpr HResult kEUnexpected = static_cast<HResult>(0x8000FFFF);
const char kCaptions[] = "ORBEX CLOSED CAPTION TEST ON CHANNEL 33.";

// The reference board with lines appended; the analyzer's class needs no kit registration.
std::string Profile(const std::string& extra = "") {
    return std::string("[Profile]\nBase=reference\n[Filter.VbiAnalyzer]\nKitFile=\n") + extra;
}

// The reference board without its channel plan.
std::string WithoutChannelPlan() {
    return std::regex_replace(std::string(ReferenceBoardText()), std::regex(R"(\[Channel\.\d+\][^\[]*)"), "");
}

std::unique_ptr<VirtualBoard> MakeBoard(const std::string& text) {
    std::string error;
    auto profile = ParseBoardProfile(text, "t.ini", error);
    EXPECT_TRUE(profile) << error;
    if (!profile) return nullptr;
    SimOptions options;
    options.events = [](const PlatformEvent&) {};
    return std::make_unique<VirtualBoard>(*profile, options);
}

std::shared_ptr<port::IBaseFilter> Device(VirtualBoard& board, const Guid& category) {
    port::ComPtr any;
    EXPECT_EQ(board.Com().CoCreateInstance(guids::kClsidSystemDeviceEnum, guids::kIidCreateDevEnum, any), kSOk);
    auto devEnum = port::ComCast<port::ICreateDevEnum>(any);
    std::shared_ptr<port::IEnumMoniker> monikers;
    if (!devEnum || devEnum->CreateClassEnumerator(category, monikers, 0) != kSOk) return nullptr;
    std::shared_ptr<port::IMoniker> moniker;
    if (monikers->Next(moniker) != kSOk) return nullptr;
    port::ComPtr filter;
    EXPECT_EQ(moniker->BindToObject(guids::kIidBaseFilter, filter), kSOk);
    return port::ComCast<port::IBaseFilter>(filter);
}

template <class T>
std::shared_ptr<T> Query(const std::shared_ptr<port::IBaseFilter>& filter, const Guid& iid) {
    std::shared_ptr<T> out;
    if (filter) ComQuery(*filter, iid, out);
    return out;
}

std::shared_ptr<port::IPin> PinOf(const std::shared_ptr<port::IBaseFilter>& filter, const std::string& name) {
    for (const auto& pin : std::dynamic_pointer_cast<SimFilter>(filter)->Pins())
        if (pin->Desc().name == name) return pin;
    return nullptr;
}

// The board with its tuner, crossbar and decoder interfaces.
struct Rig {
    explicit Rig(const std::string& text) : board(MakeBoard(text)) {
        if (!board) return;
        tunerFilter = Device(*board, guids::kCategoryTvTuner);
        crossbarFilter = Device(*board, guids::kCategoryCrossbar);
        capture = Device(*board, guids::kCategoryVideoInputDevice);
        tuner = Query<port::IAMTVTuner>(tunerFilter, guids::kIidAmTvTuner);
        crossbar = Query<port::IAMCrossbar>(crossbarFilter, guids::kIidAmCrossbar);
        decoder = Query<port::IAMAnalogVideoDecoder>(capture, guids::kIidAnalogVideoDecoder);
    }
    bool Locked() {
        int32_t locked = -1;
        EXPECT_EQ(decoder->get_HorizontalLocked(&locked), kSOk);
        return locked == 1;
    }
    int32_t Channel() {
        int32_t channel = -1, video = 0, audio = 0;
        EXPECT_EQ(tuner->get_Channel(&channel, &video, &audio), kSOk);
        return channel;
    }
    void Wait(uint32_t ms) { board->Time().Sleep(ms); }

    std::unique_ptr<VirtualBoard> board;
    std::shared_ptr<port::IBaseFilter> tunerFilter, crossbarFilter, capture;
    std::shared_ptr<port::IAMTVTuner> tuner;
    std::shared_ptr<port::IAMCrossbar> crossbar;
    std::shared_ptr<port::IAMAnalogVideoDecoder> decoder;
};

// ---- Tuner ----

TEST(Tuner, AnswersWhatItsProfileSays) {
    Rig rig(Profile("[Tuner]\nAvailableFormats=0x13170\nAvailableModes=3\nCountryCode=44\nPowerOnChannel=21\n"));
    int32_t v = 0, video = 0, audio = 0;
    EXPECT_EQ(rig.tuner->get_AvailableTVFormats(&v), kSOk);
    EXPECT_EQ(v, 0x13170);
    EXPECT_EQ(rig.tuner->get_AvailableModes(&v), kSOk);
    EXPECT_EQ(v, 3);
    EXPECT_EQ(rig.tuner->get_CountryCode(&v), kSOk);
    EXPECT_EQ(v, 44);
    EXPECT_EQ(rig.tuner->get_Channel(&v, &video, &audio), kSOk);
    EXPECT_EQ(v, 21);
    EXPECT_EQ(video, -1);
    EXPECT_EQ(audio, -1);
    EXPECT_EQ(rig.tuner->get_Channel(nullptr, &video, &audio), kEPointer);
}

TEST(Tuner, TheChannelDecidesWhatTheDecoderLocksTo) {
    Rig rig(Profile());
    EXPECT_EQ(rig.Channel(), 33);
    EXPECT_TRUE(rig.Locked()) << "the power-on channel carries a station";
    EXPECT_EQ(rig.tuner->put_Channel(5, -1, -1), kSOk);
    rig.Wait(1000);
    EXPECT_FALSE(rig.Locked()) << "channel 5 is empty";
    EXPECT_EQ(rig.tuner->put_Channel(4, -1, -1), kSOk);
    rig.Wait(100);
    EXPECT_EQ(rig.Channel(), 4);
    EXPECT_TRUE(rig.Locked());
}

TEST(Tuner, DeliversNoSignalWhileItSettles) {
    Rig rig(Profile("[Tuner]\nSettleTime=250\n"));
    EXPECT_EQ(rig.tuner->put_Channel(7, -1, -1), kSOk);
    EXPECT_FALSE(rig.Locked());
    rig.Wait(249);
    EXPECT_FALSE(rig.Locked());
    rig.Wait(1);
    EXPECT_TRUE(rig.Locked());
    // Tuning the channel it is on keeps the lock; another channel settles again.
    EXPECT_EQ(rig.tuner->put_Channel(7, -1, -1), kSOk);
    EXPECT_TRUE(rig.Locked());
    EXPECT_EQ(rig.tuner->put_Channel(13, -1, -1), kSOk);
    EXPECT_FALSE(rig.Locked());
}

TEST(Tuner, SettlingEndsInsideAnIntervalOnlyOnce) {
    Rig rig(Profile("[Tuner]\nSettleTime=100\n"));
    uint32_t t0 = rig.board->Time().Now();
    ASSERT_EQ(rig.tuner->put_Channel(7, -1, -1), kSOk);
    const TunerModel& tuner = rig.board->Tuner();
    EXPECT_EQ(tuner.SettlesWithin(t0, t0 + 100), std::optional<uint32_t>(t0 + 100));
    EXPECT_EQ(tuner.SettlesWithin(t0, t0 + 99), std::nullopt);
    EXPECT_EQ(tuner.SettlesWithin(t0 + 100, t0 + 500), std::nullopt) << "(from, to] excludes from";
    EXPECT_EQ(tuner.SettlesWithin(t0 + 99, t0 + 100), std::optional<uint32_t>(t0 + 100));
    EXPECT_FALSE(tuner.OutputAt(t0 + 99).signal);
    EXPECT_TRUE(tuner.OutputAt(t0 + 100).signal);
}

// Frames count from the moment settling ends, not from the last update.
TEST(Tuner, FramesFlowFromTheMomentTheTunerHasSettled) {
    FaultTable faults({});
    OverlaySurfaces surfaces(DefaultSurfaces(), faults);
    uint32_t now = 1000;
    const uint32_t settled = 1100;
    auto conditions = [&](uint32_t at) {
        FeedConditions c;
        c.flowing = at - settled < 0x80000000u;  // at or after the end of settling
        return c;
    };
    FrameFeed feed([&] { return now; }, conditions, surfaces);
    feed.SetChangeTimes([&](uint32_t from, uint32_t to) -> std::optional<uint32_t> {
        if (settled - from == 0 || settled - from > to - from) return std::nullopt;
        return settled;
    });
    now = 2000;
    feed.Update();
    EXPECT_EQ(feed.FramesDelivered(), 26u) << "900 ms at 33.367 ms a frame";
    now = 2034;
    feed.Update();
    EXPECT_EQ(feed.FramesDelivered(), 27u);

    FrameFeed settledFeed([&] { return now; }, conditions, surfaces);
    now = 3000;
    settledFeed.Update();
    EXPECT_EQ(settledFeed.FramesDelivered(), 28u) << "already settled: the whole 966 ms count";

    now = 1000;
    FrameFeed blind([&] { return now; }, conditions, surfaces);
    now = 2000;
    blind.Update();
    EXPECT_EQ(blind.FramesDelivered(), 0u) << "without the change time the stretch runs as it started";
}

TEST(Tuner, RefusesChannelsOutsideItsCountrysTableAndKeepsItsChannel) {
    struct Case {
        const char* extra;
        int32_t channel;
        HResult expected;
    };
    for (const Case& c :
         {Case{"", 1, kEInvalidArg}, Case{"", 2, kSOk}, Case{"", 69, kSOk}, Case{"", 70, kEInvalidArg},
          Case{"", -1, kEInvalidArg}, Case{"[Tuner]\nCountryCode=81\n", 1, kSOk},
          Case{"[Tuner]\nCountryCode=81\n", 62, kSOk}, Case{"[Tuner]\nCountryCode=81\n", 63, kEInvalidArg},
          Case{"[Tuner]\nCountryCode=44\n", 20, kEInvalidArg},
          // A code without a table tunes the USA's channels.
          Case{"[Tuner]\nCountryCode=0\n", 69, kSOk}, Case{"[Tuner]\nCountryCode=0\n", 70, kEInvalidArg}}) {
        Rig rig(Profile(c.extra));
        EXPECT_EQ(rig.tuner->put_Channel(c.channel, -1, -1), c.expected) << c.extra << c.channel;
        EXPECT_EQ(rig.Channel(), c.expected == kSOk ? c.channel : 33) << c.extra << c.channel;
    }
}

TEST(Tuner, KeepsSubChannelsAndRefusesThoseBelowTheDefault) {
    Rig rig(Profile());
    EXPECT_EQ(rig.tuner->put_Channel(7, 2, 1), kSOk);
    int32_t channel = 0, video = 0, audio = 0;
    EXPECT_EQ(rig.tuner->get_Channel(&channel, &video, &audio), kSOk);
    EXPECT_EQ(video, 2);
    EXPECT_EQ(audio, 1);
    EXPECT_EQ(rig.tuner->put_Channel(13, -2, -1), kEInvalidArg);
    EXPECT_EQ(rig.Channel(), 7);
}

TEST(Tuner, WithoutAChannelPlanEveryChannelCarriesTheTunerSource) {
    Rig rig(WithoutChannelPlan());
    for (int32_t channel : {2, 5, 33, 69}) {
        EXPECT_EQ(rig.tuner->put_Channel(channel, -1, -1), kSOk);
        rig.Wait(100);
        EXPECT_TRUE(rig.Locked()) << channel;
    }
    Rig absent(WithoutChannelPlan() + "[Source.Tuner]\nSignal=absent\n");
    EXPECT_FALSE(absent.Locked());
}

TEST(Tuner, EachCallFailsWithItsFault) {
    struct Case {
        const char* fault;
        std::function<HResult(port::IAMTVTuner&)> call;
    };
    int32_t a = 0, b = 0, c = 0;
    const Case cases[] = {
        {"TunerGetAvailableTVFormats", [&](port::IAMTVTuner& t) { return t.get_AvailableTVFormats(&a); }},
        {"TunerGetAvailableModes", [&](port::IAMTVTuner& t) { return t.get_AvailableModes(&a); }},
        {"TunerGetCountryCode", [&](port::IAMTVTuner& t) { return t.get_CountryCode(&a); }},
        {"TunerGetChannel", [&](port::IAMTVTuner& t) { return t.get_Channel(&a, &b, &c); }},
        {"TunerPutChannel", [&](port::IAMTVTuner& t) { return t.put_Channel(7, -1, -1); }},
    };
    for (const Case& k : cases) {
        Rig rig(Profile(std::string("[Faults]\n") + k.fault + "=0x80004005,1\n"));
        EXPECT_EQ(k.call(*rig.tuner), kEFail) << k.fault;
        EXPECT_EQ(k.call(*rig.tuner), kSOk) << k.fault << " fails once only";
    }
    Rig rig(Profile("[Faults]\nTunerPutChannel=0x80004005\n"));
    rig.tuner->put_Channel(7, -1, -1);
    EXPECT_EQ(rig.Channel(), 33) << "a failed put_Channel leaves the channel";
}

TEST(Tuner, AFilterHandsOutItsDevicesInterfaceUnlessTheProfileTakesItAway) {
    Rig rig(Profile());
    EXPECT_TRUE(rig.tuner);
    EXPECT_TRUE(rig.crossbar);
    EXPECT_FALSE(Query<port::IAMTVTuner>(rig.capture, guids::kIidAmTvTuner)) << "the capture filter is no tuner";
    EXPECT_FALSE(Query<port::IAMCrossbar>(rig.tunerFilter, guids::kIidAmCrossbar));
    Rig without(Profile("[Device.Tuner]\nInterface=absent\n[Device.Crossbar]\nInterface=absent\n"));
    ASSERT_TRUE(without.tunerFilter);
    port::ComPtr out;
    EXPECT_EQ(without.tunerFilter->QueryInterface(guids::kIidAmTvTuner, out), kENoInterface);
    EXPECT_EQ(without.crossbarFilter->QueryInterface(guids::kIidAmCrossbar, out), kENoInterface);
    EXPECT_EQ(without.tunerFilter->QueryInterface(guids::kIidBaseFilter, out), kSOk);
}

// ---- Crossbar ----

TEST(Crossbar, CountsItsPinsAndFailsTheReadWithItsFault) {
    Rig rig(Profile());
    int32_t outputs = 0, inputs = 0;
    EXPECT_EQ(rig.crossbar->get_PinCounts(&outputs, &inputs), kSOk);
    EXPECT_EQ(outputs, 1);
    EXPECT_EQ(inputs, 3);
    Rig two(Profile("[Crossbar]\nInputs=Tuner, Composite\nOutputs=2\n"));
    EXPECT_EQ(two.crossbar->get_PinCounts(&outputs, &inputs), kSOk);
    EXPECT_EQ(outputs, 2);
    EXPECT_EQ(inputs, 2);
    Rig failing(Profile("[Faults]\nCrossbarGetPinCounts=0x80070005\n"));
    EXPECT_EQ(failing.crossbar->get_PinCounts(&outputs, &inputs), kEAccessDenied);
}

TEST(Crossbar, RoutingOutputZeroDrivesTheSignalPath) {
    Rig rig(Profile("[Crossbar]\nInputs=Tuner, Composite, SVideo, None\n[Source.SVideo]\nLines=625\n"));
    struct Step {
        int32_t input;
        SourceId source;
        bool locked;
    };
    for (const Step& s : {Step{1, SourceId::Composite, true}, Step{2, SourceId::SVideo, false},
                          Step{3, SourceId::None, false}, Step{0, SourceId::Tuner, true}}) {
        EXPECT_EQ(rig.crossbar->Route(0, s.input), kSOk);
        EXPECT_EQ(rig.board->Signal().Route(), s.source) << s.input;
        EXPECT_EQ(rig.Locked(), s.locked) << s.input;
        int32_t routed = -2;
        EXPECT_EQ(rig.crossbar->get_IsRoutedTo(0, &routed), kSOk);
        EXPECT_EQ(routed, s.input);
    }
}

TEST(Crossbar, OtherOutputsOnlyRememberTheirRoute) {
    Rig rig(Profile("[Crossbar]\nOutputs=2\n"));
    int32_t routed = 0;
    EXPECT_EQ(rig.crossbar->get_IsRoutedTo(1, &routed), kSOk);
    EXPECT_EQ(routed, -1);
    EXPECT_EQ(rig.crossbar->Route(1, 2), kSOk);
    EXPECT_EQ(rig.crossbar->get_IsRoutedTo(1, &routed), kSOk);
    EXPECT_EQ(routed, 2);
    EXPECT_EQ(rig.board->Signal().Route(), SourceId::Tuner);
}

TEST(Crossbar, StartsOnTheRouteOfTheSignalSection) {
    struct Case {
        const char* extra;
        int32_t routed;
    };
    for (const Case& c : {Case{"", 0}, Case{"[Signal]\nRoute=SVideo\n", 2}, Case{"[Signal]\nRoute=None\n", -1},
                          Case{"[Signal]\nRoute=SVideo\n[Crossbar]\nInputs=Tuner, Composite\n", -1},
                          Case{"[Signal]\nRoute=Composite\n[Crossbar]\nInputs=Tuner, Composite, Composite\n", 1}}) {
        Rig rig(Profile(c.extra));
        int32_t routed = -2;
        EXPECT_EQ(rig.crossbar->get_IsRoutedTo(0, &routed), kSOk);
        EXPECT_EQ(routed, c.routed) << c.extra;
    }
}

TEST(Crossbar, RefusesWhatTheDriverRefusesAndPinsOutOfRange) {
    Rig rig(Profile("[Crossbar]\nRefuse=1:0x80070005, 2\n"));
    EXPECT_EQ(rig.crossbar->Route(0, 1), kEAccessDenied);
    EXPECT_EQ(rig.crossbar->Route(0, 2), kEFail);
    EXPECT_EQ(rig.board->Signal().Route(), SourceId::Tuner) << "a refused route changes nothing";
    EXPECT_EQ(rig.crossbar->CanRoute(0, 1), kSFalse);
    EXPECT_EQ(rig.crossbar->CanRoute(0, 0), kSOk);
    int32_t routed = 0;
    for (auto [output, input] : {std::pair{1, 0}, {-1, 0}, {0, 3}, {0, -1}}) {
        EXPECT_EQ(rig.crossbar->Route(output, input), kEInvalidArg) << output << "," << input;
        EXPECT_EQ(rig.crossbar->CanRoute(output, input), kEInvalidArg) << output << "," << input;
    }
    EXPECT_EQ(rig.crossbar->get_IsRoutedTo(1, &routed), kEInvalidArg);
    Rig faulty(Profile("[Faults]\nCrossbarRoute=0x80004005\n"));
    EXPECT_EQ(faulty.crossbar->Route(0, 1), kEFail);
    EXPECT_EQ(faulty.board->Signal().Route(), SourceId::Tuner);
}

// ---- VBI path and analyzer ----

// A running graph with the capture filter's VBI pin feeding the analyzer.
struct VbiRig : Rig {
    explicit VbiRig(const std::string& text, bool connect = true, bool run = true) : Rig(text) {
        port::ComPtr any;
        EXPECT_EQ(board->Com().CoCreateInstance(guids::kClsidFilterGraph, guids::kIidGraphBuilder, any), kSOk);
        graph = port::ComCast<port::IGraphBuilder>(any);
        EXPECT_EQ(board->Com().CoCreateInstance(kClsidVbiAnalyzer, guids::kIidBaseFilter, any), kSOk);
        analyzerFilter = port::ComCast<port::IBaseFilter>(any);
        analyzer = Query<port::IVBIAnalyzer>(analyzerFilter, guids::kIidVbiAnalyzer);
        EXPECT_EQ(graph->AddFilter(capture, "Capture"), kSOk);
        EXPECT_EQ(graph->AddFilter(analyzerFilter, "VBI"), kSOk);
        if (connect) {
            EXPECT_EQ(graph->ConnectDirect(PinOf(capture, "VBI"), PinOf(analyzerFilter, "VBI In")), kSOk);
        }
        ComQuery(*graph, guids::kIidMediaControl, control);
        if (run) {
            EXPECT_EQ(control->Run(), kSOk);
        }
    }
    // One record; the result of GetVBIData in hr.
    std::array<uint8_t, 120> Record(HResult& hr) {
        std::array<uint8_t, 120> r;
        r.fill(0xEE);
        uint8_t* p = r.data();
        hr = analyzer->GetVBIData(p, p + 8, p + 16, p + 24, p + 32, p + 40);
        return r;
    }
    static int32_t Int(const std::array<uint8_t, 120>& r, int offset) {
        int32_t v;
        std::memcpy(&v, r.data() + offset, 4);
        return v;
    }
    int32_t CaptionLine() {
        HResult hr = 0;
        auto r = Record(hr);
        EXPECT_EQ(hr, kSOk);
        return Int(r, 100);
    }
    void Tune(int32_t channel) {
        EXPECT_EQ(tuner->put_Channel(channel, -1, -1), kSOk);
        Wait(150);
    }

    std::shared_ptr<port::IGraphBuilder> graph;
    std::shared_ptr<port::IBaseFilter> analyzerFilter;
    std::shared_ptr<port::IVBIAnalyzer> analyzer;
    std::shared_ptr<port::IMediaControl> control;
};

TEST(VbiAnalyzer, ReadsTheCaptionTextFromTheSampledLinesFrameByFrame) {
    VbiRig rig(Profile());
    rig.Tune(33);
    std::string text;
    uint32_t first = FrameAt(rig.board->Time().Now());
    for (uint32_t frame = first; frame < first + 20; ++frame) {
        while (FrameAt(rig.board->Time().Now()) < frame) rig.Wait(1);
        HResult hr = 0;
        auto r = rig.Record(hr);
        ASSERT_EQ(hr, kSOk);
        ASSERT_EQ(VbiRig::Int(r, 100), 21) << frame;
        ASSERT_EQ(VbiRig::Int(r, 12), 1) << frame;
        ASSERT_EQ(static_cast<uint32_t>(VbiRig::Int(r, 0)), frame);
        text += static_cast<char>(r[8]);
        text += static_cast<char>(r[9]);
    }
    // Twenty consecutive frames carry the whole 40-character text once, starting where the frame number says.
    std::string doubled = std::string(kCaptions) + kCaptions;
    EXPECT_EQ(text, doubled.substr(first % 20 * 2, 40));
}

TEST(VbiAnalyzer, FillsTheRecordItDocuments) {
    VbiRig rig(Profile("[Channel.33]\nCaptions=Ab\n"));
    rig.Tune(33);
    HResult hr = 0;
    auto r = rig.Record(hr);
    ASSERT_EQ(hr, kSOk);
    EXPECT_EQ(VbiRig::Int(r, 0), static_cast<int32_t>(FrameAt(rig.board->Time().Now())));
    EXPECT_EQ(VbiRig::Int(r, 4), 1) << "odd field";
    EXPECT_EQ(r[8], 'A');
    EXPECT_EQ(r[9], 'b');
    EXPECT_EQ(r[10], 'A' | 0x80);  // 0x41 has two ones: its parity bit is set
    EXPECT_EQ(r[11], 'b');         // 0x62 has three ones: clear
    EXPECT_EQ(VbiRig::Int(r, 12), 1);
    EXPECT_GT(VbiRig::Int(r, 16), 800) << "a clean line opens the eye wide";
    EXPECT_LE(VbiRig::Int(r, 16), 1000);
    EXPECT_NEAR(VbiRig::Int(r, 20), 86, 2) << "run-in 10.5 us after sync, sample 0 at 7.5 us";
    EXPECT_EQ(VbiRig::Int(r, 24), 28636363);
    EXPECT_EQ(VbiRig::Int(r, 28), 1600);
    EXPECT_LT(VbiRig::Int(r, 32), 20);
    EXPECT_GT(VbiRig::Int(r, 36), 120);
    EXPECT_EQ(VbiRig::Int(r, 40), 21);
    EXPECT_EQ(VbiRig::Int(r, 100), 21);
    for (int offset = 104; offset < 120; ++offset) EXPECT_EQ(r[offset], 0) << offset;
    for (int offset = 44; offset < 100; ++offset) EXPECT_EQ(r[offset], 0) << offset;
}

TEST(VbiAnalyzer, APairOfNullsPadsAnOddText) {
    auto pair = [](const char* text, uint32_t frame) {
        uint8_t a = 1, b = 1;
        CaptionPair(text, frame, a, b);
        return std::string{static_cast<char>(a), static_cast<char>(b)};
    };
    EXPECT_EQ(pair("ABC", 0), "AB");
    EXPECT_EQ(pair("ABC", 1), std::string("C\0", 2));
    EXPECT_EQ(pair("ABC", 2), "AB");
    EXPECT_EQ(pair("ABCD", 3), "CD");
    EXPECT_EQ(pair("", 7), std::string(2, '\0'));
    EXPECT_EQ(FrameAt(1001), 30u);
    EXPECT_EQ(FrameAt(1000), 29u);
}

TEST(VbiAnalyzer, FindsCaptionsExactlyWhenALockedCaptionedSourceReachesIt) {
    struct Case {
        const char* what;
        std::string extra;
        std::function<void(VbiRig&)> act;
        int32_t line;
        int samples = 5;  // taken 34 ms apart
    };
    auto tune = [](int32_t channel) { return [channel](VbiRig& r) { r.Tune(channel); }; };
    const Case cases[] = {
        {"captioned channel", "", tune(33), 21},
        {"station without captions: blank line", "", tune(4), 0},
        {"empty channel: snow", "", tune(5), 0},
        {"still settling", "",
         [](VbiRig& r) {
             r.tuner->put_Channel(4, -1, -1);
             r.Wait(200);
             r.tuner->put_Channel(33, -1, -1);
             r.Wait(99);
         },
         0, 1},
        {"decoder set to PAL", "[Decoder]\nAvailableStandards=0x213\n",
         [](VbiRig& r) {
             r.Tune(33);
             EXPECT_EQ(r.decoder->put_TVFormat(0x10), kSOk);
         },
         0},
        {"PAL station with captions", "[Channel.33]\nLines=625\n", tune(33), 0},
        {"lock forced on without signal", "[Decoder]\nLock525=on\n", tune(5), 0},
        {"test box opens the circuit", "",
         [](VbiRig& r) {
             r.Tune(33);
             const_cast<SignalPath&>(r.board->Signal()).SetCircuitOpen(true);
         },
         0},
        {"captioned camera on the composite input", "[Source.Composite]\nCaptions=CAMERA\n",
         [](VbiRig& r) { EXPECT_EQ(r.crossbar->Route(0, 1), kSOk); }, 21},
        {"composite input without captions", "", [](VbiRig& r) { EXPECT_EQ(r.crossbar->Route(0, 1), kSOk); }, 0},
        {"weak line: 10 % amplitude", "[Channel.33]\nCaptionAmplitude=10\n", tune(33), 0},
        {"slightly weak line still decodes", "[Channel.33]\nCaptionAmplitude=70\nCaptionNoise=2\nCaptionOffset=3\n",
         tune(33), 21},
        {"buried in noise", "[Channel.33]\nCaptionNoise=60\n", tune(33), 0},
        {"no plan: the tuner source's captions", "[Source.Tuner]\nCaptions=EVERYWHERE\n", tune(9), 21},
    };
    for (const Case& c : cases) {
        std::string text = c.what == std::string("no plan: the tuner source's captions")
                               ? WithoutChannelPlan() + "[Filter.VbiAnalyzer]\nKitFile=\n" + c.extra
                               : Profile(c.extra);
        VbiRig rig(text);
        c.act(rig);
        for (int i = 0; i < c.samples; ++i, rig.Wait(34))
            EXPECT_EQ(rig.CaptionLine(), c.line) << c.what << " sample " << i;
    }
}

TEST(VbiAnalyzer, SeesNothingUnlessConnectedToTheCaptureVbiPinAndRunning) {
    HResult hr = 0;
    {
        VbiRig rig(Profile(), /*connect=*/false, /*run=*/true);
        rig.Tune(33);
        auto r = rig.Record(hr);
        EXPECT_EQ(hr, kSFalse);
        EXPECT_EQ(r, (std::array<uint8_t, 120>{})) << "a zero record";
    }
    {
        VbiRig rig(Profile(), true, /*run=*/false);
        rig.Tune(33);
        rig.Record(hr);
        EXPECT_EQ(hr, kSFalse) << "stopped graph";
        EXPECT_EQ(rig.control->Run(), kSOk);
        EXPECT_EQ(rig.CaptionLine(), 21);
        EXPECT_EQ(rig.control->Stop(), kSOk);
        rig.Record(hr);
        EXPECT_EQ(hr, kSFalse) << "stopped again";
        EXPECT_EQ(rig.control->Run(), kSOk);
        EXPECT_EQ(rig.graph->Disconnect(PinOf(rig.analyzerFilter, "VBI In")), kSOk);
        rig.Record(hr);
        EXPECT_EQ(hr, kSFalse) << "disconnected";
    }
    {
        // A VBI pin of a filter that is not the capture filter feeds nothing.
        VbiRig rig(Profile("[Filter.Feeder]\nCLSID={11111111-2222-3333-4444-555555555555}\nName=Feeder\n"
                           "Pins=out:VBI:vbi\n"),
                   false, false);
        port::ComPtr any;
        const Guid feederId{0x11111111, 0x2222, 0x3333, {0x44, 0x44, 0x55, 0x55, 0x55, 0x55, 0x55, 0x55}};
        ASSERT_EQ(rig.board->Com().CoCreateInstance(feederId, guids::kIidBaseFilter, any), kSOk);
        auto feeder = port::ComCast<port::IBaseFilter>(any);
        ASSERT_EQ(rig.graph->AddFilter(feeder, "Feeder"), kSOk);
        ASSERT_EQ(rig.graph->ConnectDirect(PinOf(feeder, "VBI"), PinOf(rig.analyzerFilter, "VBI In")), kSOk);
        ASSERT_EQ(rig.control->Run(), kSOk);
        rig.Tune(33);
        rig.Record(hr);
        EXPECT_EQ(hr, kSFalse);
    }
}

TEST(VbiAnalyzer, AFaultGivesItsCodeAndAZeroRecord) {
    VbiRig rig(Profile("[Faults]\nVbiGetData=0x80004005,1\n"));
    rig.Tune(33);
    HResult hr = 0;
    auto r = rig.Record(hr);
    EXPECT_EQ(hr, kEFail);
    EXPECT_EQ(r, (std::array<uint8_t, 120>{}));
    EXPECT_EQ(rig.CaptionLine(), 21);
}

TEST(VbiAnalyzer, OnlyAFilterOfTheAnalyzerRoleHasTheInterface) {
    auto board = MakeBoard(Profile("[Filter.VbiAnalyzer]\nRole=None\n"));
    port::ComPtr any;
    ASSERT_EQ(board->Com().CoCreateInstance(kClsidVbiAnalyzer, guids::kIidBaseFilter, any), kSOk);
    auto filter = port::ComCast<port::IBaseFilter>(any);
    EXPECT_EQ(filter->QueryInterface(guids::kIidVbiAnalyzer, any), kENoInterface);
}

// ---- Channel scan ----

// What the system's callback does: asks the decoder for its lock.
struct ScanProbe {
    port::IAMAnalogVideoDecoder* decoder = nullptr;
    std::vector<int32_t> progress;
    int32_t tunedCalls = 0;
    int32_t found = 0;
    int32_t stopAfter = -1;  // callbacks before answering 0
};
ScanProbe* g_probe = nullptr;

int16_t ORBEX_STDCALL Progress(int32_t percent, int32_t tuned, int32_t* locked) {
    g_probe->progress.push_back(percent & 0xFFFF);
    if (tuned) {
        ++g_probe->tunedCalls;
        int32_t l = 0;
        g_probe->decoder->get_HorizontalLocked(&l);
        *locked = l;
        g_probe->found += l == 1;
    }
    if (g_probe->stopAfter >= 0 && static_cast<int32_t>(g_probe->progress.size()) >= g_probe->stopAfter) return 0;
    return 1;
}

struct ScanRig : Rig {
    explicit ScanRig(const std::string& text) : Rig(text) {
        port::ComPtr any;
        created = board->Com().CoCreateInstance(guids::kClsidQelAnalogLcs, guids::kIidQelAnalogLcs, any);
        scan = port::ComCast<port::IQelAnalogLCS>(any);
        probe.decoder = decoder.get();
        g_probe = &probe;
    }
    ~ScanRig() { g_probe = nullptr; }
    HResult Scan(int32_t country) {
        if (HResult hr = scan->Connect(tunerFilter)) return hr;
        if (HResult hr = scan->SetCountryCode(country)) return hr;
        return scan->AutoTune(&Progress);
    }

    HResult created;
    std::shared_ptr<port::IQelAnalogLCS> scan;
    ScanProbe probe;
};

TEST(ChannelScan, CountsThePlanChannelsTheDecoderLocksTo) {
    struct Case {
        const char* extra;
        int32_t country;
        int32_t found;
        int32_t tunedCalls;
        int32_t calls;
    };
    for (const Case& c : {
             Case{"", 1, 5, 68, 68},
             Case{"", 44, 2, 49, 49},  // 21-69: channels 33 and 51
             Case{"", 81, 5, 61, 62},  // 1-62; the USA tuner cannot tune channel 1
             Case{"[Channel.7]\nLines=625\n", 1, 4, 68, 68},
             Case{"[Channel.13]\nSignal=absent\n[Channel.20]\n", 1, 5, 68, 68},
             Case{"[Tuner]\nSettleTime=0\n", 1, 5, 68, 68},
             Case{"[Tuner]\nSettleTime=3000\n", 1, 5, 68, 68},
         }) {
        ScanRig rig(Profile(c.extra));
        uint32_t start = rig.board->Time().Now();
        ASSERT_EQ(rig.Scan(c.country), kSOk) << c.extra;
        EXPECT_EQ(rig.probe.found, c.found) << c.extra << " country " << c.country;
        EXPECT_EQ(rig.probe.tunedCalls, c.tunedCalls) << c.extra << " country " << c.country;
        ASSERT_EQ(static_cast<int32_t>(rig.probe.progress.size()), c.calls);
        EXPECT_EQ(rig.probe.progress.back(), 100);
        EXPECT_EQ(rig.Channel(), ChannelTableOf(c.country)->last) << "the scan ends on the last channel";
        EXPECT_EQ(rig.board->Time().Now() - start, rig.board->Tuner().SettleMs() * static_cast<uint32_t>(c.tunedCalls))
            << "it waits the tuner's settle time on every channel";
    }
}

TEST(ChannelScan, StopsWhenTheCallbackSaysSo) {
    ScanRig rig(Profile());
    rig.probe.stopAfter = 6;  // channels 2 to 7
    ASSERT_EQ(rig.Scan(1), kSOk);
    EXPECT_EQ(rig.Channel(), 7);
    EXPECT_EQ(rig.probe.found, 2);
    EXPECT_EQ(rig.probe.progress, (std::vector<int32_t>{1, 2, 4, 5, 7, 8}));
}

TEST(ChannelScan, RefusesWhatItCannotScan) {
    ScanRig rig(Profile());
    ASSERT_EQ(rig.created, kSOk);
    EXPECT_EQ(rig.scan->AutoTune(&Progress), kEUnexpected) << "neither connected nor set to a country";
    EXPECT_EQ(rig.scan->Connect(rig.crossbarFilter), kEInvalidArg);
    EXPECT_EQ(rig.scan->Connect(nullptr), kEInvalidArg);
    EXPECT_EQ(rig.scan->SetCountryCode(1), kSOk);
    EXPECT_EQ(rig.scan->AutoTune(&Progress), kEUnexpected) << "not connected";
    EXPECT_EQ(rig.scan->Connect(rig.tunerFilter), kSOk);
    EXPECT_EQ(rig.scan->SetCountryCode(0), kEInvalidArg);
    EXPECT_EQ(rig.scan->SetCountryCode(999), kEInvalidArg);
    EXPECT_EQ(rig.scan->AutoTune(nullptr), kEPointer);
    EXPECT_TRUE(rig.probe.progress.empty());
    // A tuner filter whose driver has no tuner interface is no tuner to scan with.
    ScanRig without(Profile("[Device.Tuner]\nInterface=absent\n"));
    EXPECT_EQ(without.scan->Connect(without.tunerFilter), kEInvalidArg);
}

TEST(ChannelScan, ExistsOnlyWhenInstalledAndFailsWithEachFault) {
    EXPECT_EQ(ScanRig(Profile("[ChannelScan]\nObject=absent\n")).created, kRegdbEClassNotReg);
    EXPECT_EQ(ScanRig(Profile("[Faults]\nCreateChannelScan=0x80004005\n")).created, kEFail);
    for (const char* fault : {"LcsConnect", "LcsSetCountryCode", "LcsAutoTune"}) {
        ScanRig rig(Profile(std::string("[Faults]\n") + fault + "=0x80070005\n"));
        EXPECT_EQ(rig.Scan(1), kEAccessDenied) << fault;
        EXPECT_EQ(rig.probe.tunedCalls, 0) << fault;
        EXPECT_EQ(rig.Channel(), 33) << fault;
    }
}

// ---- Profile ----

TEST(TunerProfile, RefusesBadKeysWithFileAndLine) {
    struct Case {
        const char* extra;  // starts on line 5
        const char* error;
    };
    for (const Case& c : {
             Case{"[Channel.x]\n",
                  "t.ini:5: a [Channel] section is named by its channel number, 0 to 9999: [Channel.33]"},
             Case{"[Channel.-3]\n",
                  "t.ini:5: a [Channel] section is named by its channel number, 0 to 9999: [Channel.33]"},
             Case{"[Channel]\n",
                  "t.ini:5: a [Channel] section is named by its channel number, 0 to 9999: [Channel.33]"},
             Case{"[Channel.10000]\n",
                  "t.ini:5: a [Channel] section is named by its channel number, 0 to 9999: [Channel.33]"},
             Case{"[Channel.3]\nCaptions=caf\xC3\xA9\n", "t.ini:6: captions are printable ASCII characters"},
             Case{"[Channel.3]\nCaptionNoise=lots\n", "t.ini:6: \"lots\" is not a decimal number"},
             Case{"[Channel.3]\nCaptionNoise=101\n", "t.ini:6: caption noise is 0 to 100 IRE"},
             Case{"[Channel.3]\nCaptionAmplitude=201\n", "t.ini:6: a caption amplitude is 0 to 200 percent"},
             Case{"[Channel.3]\nCaptionOffset=-100.5\n", "t.ini:6: a caption offset is -100 to 100 IRE"},
             Case{"[Channel.3]\nStation=WXYZ\n", "t.ini:6: unknown key \"Station\" in [Channel.3]"},
             Case{"[Tuner]\nSettleTime=-1\n", "t.ini:6: a settle time is 0 to 10000 ms"},
             Case{"[Tuner]\nAvailableFormats=0x100000\n",
                  "t.ini:6: \"0x100000\" has bits beyond the analog video standards (0xFFFFF)"},
             Case{"[Tuner]\nAvailableModes=0x20\n",
                  "t.ini:6: tuner modes are bits of TV 1, FM 2, AM 4, DSS 8 and DTV 0x10"},
             Case{"[Tuner]\nCountryCode=-1\n", "t.ini:6: a country code is 0 to 9999"},
             Case{"[Tuner]\nPowerOnChannel=ten\n", "t.ini:6: \"ten\" is not a number"},
             Case{"[Tuner]\nBand=UHF\n", "t.ini:6: unknown key \"Band\" in [Tuner]"},
             Case{"[Crossbar]\nInputs=Tuner, Cable\n",
                  "t.ini:6: \"Cable\" is not a crossbar input (Tuner, Composite, SVideo or None)"},
             Case{"[Crossbar]\nOutputs=0\n", "t.ini:6: a crossbar has 1 to 16 outputs"},
             Case{"[Crossbar]\nRefuse=1:0\n", "t.ini:6: a refusal answers a failure code, not 0"},
             Case{"[Crossbar]\nRefuse=16\n", "t.ini:6: a refused input is 0 to 15"},
             Case{"[Crossbar]\nRefuse=1:2:3\n", "t.ini:6: a refusal is input[:code]"},
             Case{"[ChannelScan]\nObject=yes\n", "t.ini:6: \"yes\" is neither \"present\" nor \"absent\""},
             Case{"[Filter.VbiAnalyzer]\nRole=Decoder\n",
                  "t.ini:6: \"Decoder\" is not a filter role (None, VbiAnalyzer, VideoAnalyzer or VideoRenderer)"},
             Case{"[Device.Tuner]\nInterface=maybe\n", "t.ini:6: \"maybe\" is neither \"present\" nor \"absent\""},
             Case{"[Faults]\nTunerPutChanel=1\n", "t.ini:6: unknown fault operation \"TunerPutChanel\""},
         }) {
        std::string error;
        EXPECT_FALSE(ParseBoardProfile(Profile(c.extra), "t.ini", error)) << c.extra;
        EXPECT_EQ(error, c.error) << c.extra;
    }
}

TEST(TunerProfile, ReadsTheChannelPlanAndTheNewSections) {
    std::string error;
    auto p = ParseBoardProfile(Profile("[Channel.27]\nLines=625\nPicture=noise\nCaptions= HELLO \nCaptionAmplitude=55\n"
                                       "CaptionNoise=2.5\nCaptionOffset=-4\n[Channel.28]\n"
                                       "[Crossbar]\nInputs=None, SVideo\nOutputs=2\nRefuse=0:0x80070005\n"),
                               "t.ini", error);
    ASSERT_TRUE(p) << error;
    const SourceConfig& c27 = p->tuner.channels.at(27);
    EXPECT_TRUE(c27.signal);
    EXPECT_EQ(c27.family, LineFamily::Lines625);
    EXPECT_EQ(c27.picture, PictureKind::Noise);
    EXPECT_EQ(c27.captions.text, "HELLO");
    EXPECT_EQ(c27.captions.amplitudePercent, 55u);
    EXPECT_DOUBLE_EQ(c27.captions.noiseIre, 2.5);
    EXPECT_DOUBLE_EQ(c27.captions.dcOffsetIre, -4);
    EXPECT_TRUE(p->tuner.channels.at(28).signal) << "a listed channel carries a signal by default";
    EXPECT_EQ(p->tuner.channels.size(), 7u) << "the reference board's five and two more";
    EXPECT_EQ(p->crossbar.inputs, (std::vector<SourceId>{SourceId::None, SourceId::SVideo}));
    EXPECT_EQ(p->crossbar.outputs, 2);
    EXPECT_EQ(p->crossbar.refused, (std::map<int32_t, HResult>{{0, kEAccessDenied}}));
    EXPECT_TRUE(p->channelScan.object);
    EXPECT_EQ(p->tuner.settleMs, 100u);
}

}  // namespace
}  // namespace orbex::sim

namespace orbex::sim {
namespace {

// ---- Stock boards ----

std::string StockBoard(const std::string& name) {
    return std::string(ORBEX_SOURCE_DIR) + "/boards/" + name + ".ini";
}

TEST(TunerStockBoards, EveryBoardLoads) {
    size_t boards = 0;
    for (const auto& entry : std::filesystem::directory_iterator(std::string(ORBEX_SOURCE_DIR) + "/boards")) {
        if (entry.path().extension() != ".ini") continue;
        std::string error;
        EXPECT_TRUE(LoadBoardProfile(entry.path().string(), error)) << error;
        ++boards;
    }
    EXPECT_GE(boards, 22u);
}

// The channels the caption test visits (the start channel, then 25 to 35)
// on which the analyzer reads captions.
std::vector<int32_t> CaptionedChannels(const std::string& board) {
    std::string error;
    auto profile = LoadBoardProfile(StockBoard(board), error);
    EXPECT_TRUE(profile) << error;
    VbiRig rig(std::string("[Profile]\nBase=") + StockBoard(board) + "\n[Filter.VbiAnalyzer]\nKitFile=\n");
    std::vector<int32_t> found;
    for (int32_t channel : {33, 25, 26, 27, 28, 29, 30, 31, 32, 34, 35}) {
        rig.Tune(channel);
        int hits = 0;
        for (int i = 0; i < 5; ++i, rig.Wait(150)) hits += rig.CaptionLine() == 21;
        if (hits) found.push_back(channel);
    }
    return found;
}

TEST(TunerStockBoards, CaptionsAreWhereEachBoardSays) {
    EXPECT_EQ(CaptionedChannels("reference"), (std::vector<int32_t>{33}));
    EXPECT_EQ(CaptionedChannels("captions-on-27"), (std::vector<int32_t>{27}));
    EXPECT_EQ(CaptionedChannels("no-captions"), (std::vector<int32_t>{}));
}

TEST(TunerStockBoards, TheScanAndTheCrossbarGiveWhatEachBoardSays) {
    struct Case {
        const char* board;
        int32_t found;  // channels the scan locks to in the USA table
        int32_t outputs;
        int32_t inputs;
        int32_t inputsWithSignal;
    };
    for (const Case& c :
         {Case{"reference", 5, 1, 3, 3}, Case{"weak-stations", 3, 1, 3, 3}, Case{"crossbar-two-outputs", 5, 2, 3, 3},
          Case{"unplugged-input", 5, 1, 3, 2}, Case{"pal-tuner", 1, 1, 3, 3}, Case{"captions-on-27", 5, 1, 3, 3},
          Case{"no-captions", 5, 1, 3, 3}}) {
        ScanRig rig(std::string("[Profile]\nBase=") + StockBoard(c.board) + "\n");
        int32_t outputs = 0, inputs = 0, withSignal = 0;
        ASSERT_EQ(rig.crossbar->get_PinCounts(&outputs, &inputs), kSOk);
        EXPECT_EQ(outputs, c.outputs) << c.board;
        EXPECT_EQ(inputs, c.inputs) << c.board;
        for (int32_t i = 0; i < inputs; ++i) {
            ASSERT_EQ(rig.crossbar->Route(0, i), kSOk);
            withSignal += rig.Locked();
        }
        EXPECT_EQ(withSignal, c.inputsWithSignal) << c.board;
        ASSERT_EQ(rig.crossbar->Route(0, 0), kSOk);
        rig.probe.found = 0;
        ASSERT_EQ(rig.Scan(1), kSOk) << c.board;
        EXPECT_EQ(rig.probe.found, c.found) << c.board;
    }
}

}  // namespace
}  // namespace orbex::sim
