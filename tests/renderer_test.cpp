// The video renderer wrapper end to end on the virtual board: how its set-up
// finds the renderer's window, where the window goes in the host window, what
// the board records of it, how it is left when the object goes, and faults on
// each window call.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "cases/stream/video_renderer.h"
#include "platform/guids.h"
#include "platform/sim/profile/board_profile.h"
#include "platform/video_window.h"
#include "support/sys_bench.h"

namespace orbex::testing {
namespace {

using sim::RendererWindow;
using sim::VirtualDesktop;

const char* const kCrossbarTest = "tc1400";
const std::string kTestId = "tc1400";
const std::string kNoInterface =
    "[NoRun]**** Filter is incorrectly defined as a Video Renderer, or no Video Renderer interface is found within "
    "filter.";

// The board's windows of the renderer filters, in the order they were asked for.
std::vector<RendererWindow> Windows(SysBench& bench) {
    return bench.Platform().Renderer().Windows();
}

// The renderer's window calls as the JSON stream shows them.
std::vector<std::string> WindowEvents(const SysBench& bench) {
    std::vector<std::string> out;
    for (const std::string& e : bench.Events("Platform"))
        if (e.find("\"what\":\"VideoWindow") != std::string::npos) out.push_back(e);
    return out;
}

std::string WindowEvent(const std::string& what, const std::string& fields, int64_t result = 0) {
    return "{\"event\":\"Platform\",\"what\":\"VideoWindow" + what + "\",\"filter\":\"Video Renderer\"," + fields +
           ",\"result\":" + std::to_string(result) + "}";
}

// The reports of a crossbar test on the healthy reference board: what every
// renderer case adds its own records to.
std::vector<std::string> HealthyResults() {
    SysBench bench;
    bench.Run(kCrossbarTest);
    return bench.Results();
}

TEST(RendererInit, TheWindowGoesIntoTheHostWindowLessTheBorder) {
    struct Case {
        const char* desktop;
        port::WindowHandle owner;
        int32_t width, height;
    };
    for (const Case& c : {
             Case{"", VirtualDesktop::kHostWindow, 640, 479},
             Case{"[Desktop]\nHostWindow=800x600\nBorderHeight=4\n", VirtualDesktop::kHostWindow, 800, 596},
             Case{"[Desktop]\nHostWindow=12x7\nBorderHeight=7\n", VirtualDesktop::kHostWindow, 12, 0},
             // No host window: the owner is cleared and the window gets the stream's size.
             Case{"[Desktop]\nHostWindow=none\nBorderHeight=2\n", 0, 320, 238},
             Case{"[Desktop]\nHostWindow=none\nBorderHeight=0\n", 0, 320, 240},
         }) {
        SCOPED_TRACE(c.desktop);
        SysBench bench(Bench::Board(c.desktop));
        EXPECT_EQ(bench.Run(kCrossbarTest), 4);
        ASSERT_EQ(Windows(bench).size(), 1u);
        const RendererWindow w = Windows(bench)[0];
        EXPECT_EQ(w.filterName, "Video Renderer");
        EXPECT_EQ(w.owner, c.owner);
        EXPECT_EQ(w.style, 0x40000000);
        EXPECT_TRUE(w.positioned);
        EXPECT_EQ(w.left, 0);
        EXPECT_EQ(w.top, 0);
        EXPECT_EQ(w.width, c.width);
        EXPECT_EQ(w.height, c.height);
        EXPECT_TRUE(w.visible);
        EXPECT_EQ(bench.Results(), HealthyResults());
        EXPECT_FALSE(bench.Logged("100 0x0000AF00 CVideoRenderer::Initialize()>  No Render Detected"));
    }
}

// The set-up places the window, and the graph builder places it once more
// after connecting the graph: each time owner, style, position, visibility.
TEST(RendererInit, TheWindowIsPlacedAtSetUpAndAgainAfterTheConnection) {
    SysBench bench;
    bench.Run(kCrossbarTest);
    const std::string owner = WindowEvent("Owner", "\"owner\":" + std::to_string(VirtualDesktop::kHostWindow));
    const std::string style = WindowEvent("Style", "\"style\":1073741824");
    const std::string position = WindowEvent("Position", "\"left\":0,\"top\":0,\"width\":640,\"height\":479");
    const std::string visible = WindowEvent("Visible", "\"visible\":-1");
    EXPECT_THAT(WindowEvents(bench),
                ::testing::ElementsAre(owner, style, position, visible, owner, style, position, visible));
    EXPECT_EQ(bench.Builder().CurrentRenderer(), bench.Builder().VideoRenderer());
    ASSERT_TRUE(bench.Builder().VideoRenderer());
    EXPECT_TRUE(bench.Builder().VideoRenderer()->HasVideoWindow());
}

TEST(RendererInit, AGraphWithoutRendererIsOnlyLogged) {
    SysBench bench(Bench::Board(), Replaced(SysGraph(), "Renderer=3\n", ""));
    bench.Run(kCrossbarTest);
    EXPECT_TRUE(bench.Logged("100 0x0000AF00 CVideoRenderer::Initialize()>  No Render Detected"));
    EXPECT_TRUE(Windows(bench).empty());
    EXPECT_TRUE(WindowEvents(bench).empty());
    EXPECT_EQ(bench.Results(), HealthyResults());
    // Called again, the set-up answers 1 and records itself once more.
    bench.OpenLog();
    CVideoRenderer* renderer = bench.Builder().VideoRenderer();
    ASSERT_TRUE(renderer);
    EXPECT_EQ(renderer->Initialize(), 1);
    EXPECT_EQ(renderer->AttachWindow(), 1);
    EXPECT_EQ(bench.Builder().CurrentRenderer(), renderer);
}

// A type-1 filter whose make has no video window is a graph file error: a
// NoRun record and a black log line (forwarded as NA), and the test still runs.
TEST(RendererInit, ARendererWithoutItsWindowIsANoRun) {
    SysBench bench(Bench::Board("[Filter.VideoRenderer]\nInterface=absent\n"));
    EXPECT_EQ(bench.Run(kCrossbarTest), 4);
    // The renderer's records come last of the set-up, right before the test's own.
    std::vector<std::string> expected = HealthyResults();
    ASSERT_FALSE(expected.empty());
    expected.insert(expected.end() - 1,
                    {Msg(kTestId, 1, "Failed to get Video Window pointer"), Rep(kTestId, 2, kNoInterface, "", "")});
    EXPECT_EQ(bench.Results(), expected);
    EXPECT_TRUE(bench.Logged("511 0x00000000 Failed to get Video Window pointer"));
    EXPECT_TRUE(Windows(bench).empty());
    ASSERT_TRUE(bench.Builder().VideoRenderer());
    EXPECT_FALSE(bench.Builder().VideoRenderer()->HasVideoWindow());
    EXPECT_EQ(bench.Builder().VideoRenderer()->AttachWindow(), 1);
}

// Of two renderers the first of the filter table gets the window.
TEST(RendererInit, OfTwoRenderersTheFirstInTheTableIsUsed) {
    const std::string board = Bench::Board(
        "[Filter.SecondRenderer]\nCLSID={5A1E2B3C-0000-4000-8000-00AA0055595A}\nName=Own Renderer\n"
        "Pins=in:Input:video\nRole=VideoRenderer\n");
    std::string graph = Replaced(SysGraph(), "[ConnectionMap]\n", "[ConnectionMap]\nOwn=9\n");
    graph += "[Own]\nCLSID=5A1E2B3C,0000,4000,80,00,00,AA,00,55,59,5A\nFilterType=1\n";
    SysBench bench(board, graph);
    EXPECT_EQ(bench.Run(kCrossbarTest), 4);
    ASSERT_EQ(Windows(bench).size(), 1u);
    EXPECT_EQ(Windows(bench)[0].filterName, "Own Renderer");
    EXPECT_TRUE(Windows(bench)[0].visible);
    EXPECT_EQ(Windows(bench)[0].owner, VirtualDesktop::kHostWindow);
    EXPECT_TRUE(bench.Logged(
        "100 0x0000AF00 COrbGBuilder::PrintGUID()>  0x5A1E2B3C, 0x00, 0x4000, 0x80, 0x00, 0x00, 0xAA, 0x00, "
        "0x55, 0x59, 0x5A"));
}

TEST(RendererRelease, TheWindowIsLeftUnownedAndHidden) {
    SysBench bench;
    bench.Run(kCrossbarTest);
    bench.ClearEvents();
    bench.Builder().Release();
    EXPECT_EQ(bench.Builder().VideoRenderer(), nullptr);
    EXPECT_EQ(bench.Builder().CurrentRenderer(), nullptr);
    ASSERT_EQ(Windows(bench).size(), 1u);
    EXPECT_EQ(Windows(bench)[0].owner, 0u);
    EXPECT_FALSE(Windows(bench)[0].visible);
    EXPECT_EQ(Windows(bench)[0].width, 640);  // the position stays where it was
    EXPECT_THAT(WindowEvents(bench),
                ::testing::ElementsAre(WindowEvent("Owner", "\"owner\":0"), WindowEvent("Visible", "\"visible\":0")));
}

// A window call that fails leaves that setting as it was; nothing is reported
// and the test runs. A fault on the first call only is repaired by the
// placement after the connection.
TEST(RendererFaults, AFailedWindowCallLeavesItsSettingAndIsNotReported) {
    struct Case {
        const char* fault;
        port::WindowHandle owner;
        int32_t style;
        int32_t width;
        bool visible;
    };
    const int32_t kNewWindow = RendererWindow{}.style;
    for (const Case& c : {
             Case{"RendererPutOwner=0x80004005", 0, 0x40000000, 640, true},
             Case{"RendererPutWindowStyle=0x80070057", VirtualDesktop::kHostWindow, kNewWindow, 640, true},
             Case{"RendererSetWindowPosition=0x80004005", VirtualDesktop::kHostWindow, 0x40000000, 0, true},
             Case{"RendererPutVisible=0x8000FFFF", VirtualDesktop::kHostWindow, 0x40000000, 640, false},
             Case{"RendererPutOwner=0x80004005,1", VirtualDesktop::kHostWindow, 0x40000000, 640, true},
             Case{"RendererPutVisible=0x80004005,1,1", VirtualDesktop::kHostWindow, 0x40000000, 640, true},
         }) {
        SCOPED_TRACE(c.fault);
        SysBench bench(Bench::Board(std::string("[Faults]\n") + c.fault + "\n"));
        EXPECT_EQ(bench.Run(kCrossbarTest), 4);
        EXPECT_EQ(bench.Results(), HealthyResults());
        ASSERT_EQ(Windows(bench).size(), 1u);
        const RendererWindow w = Windows(bench)[0];
        EXPECT_EQ(w.owner, c.owner);
        EXPECT_EQ(w.style, c.style);
        EXPECT_EQ(w.width, c.width);
        EXPECT_EQ(w.visible, c.visible);
    }
}

TEST(RendererFaults, TheFailedCallShowsItsCodeInThePlatformEvent) {
    SysBench bench(Bench::Board("[Faults]\nRendererPutVisible=0x80004005,1\n"));
    bench.Run(kCrossbarTest);
    std::vector<std::string> events = WindowEvents(bench);
    ASSERT_EQ(events.size(), 8u);
    EXPECT_EQ(events[3], WindowEvent("Visible", "\"visible\":-1", static_cast<int32_t>(0x80004005)));
    EXPECT_EQ(events[7], WindowEvent("Visible", "\"visible\":-1"));
}

}  // namespace
}  // namespace orbex::testing

namespace orbex::testing {
namespace {

// The board's window refuses what a window of the platform refuses.
TEST(SimRendererWindow, RefusesWhatAWindowRefuses) {
    SysBench bench;
    bench.Run("tc1400");
    port::ComPtr found;
    ASSERT_EQ(bench.Builder().FindInterface(guids::kIidVideoWindow, found), 0);
    auto window = port::ComCast<port::IVideoWindow>(found);
    ASSERT_TRUE(window);
    EXPECT_EQ(window->put_Owner(0x1234), kEInvalidArg);                         // not a window of the desktop
    EXPECT_EQ(window->put_WindowStyle(0x40000000 | 0x08000000), kEInvalidArg);  // WS_DISABLED
    EXPECT_EQ(window->put_WindowStyle(0x40000000 | 0x00200000), kEInvalidArg);  // WS_VSCROLL
    EXPECT_EQ(window->SetWindowPosition(0, 0, 10, -1), kEInvalidArg);
    EXPECT_EQ(window->SetWindowPosition(0, 0, -1, 10), kEInvalidArg);
    EXPECT_EQ(window->put_Visible(1), kEInvalidArg);
    sim::RendererWindow w = bench.Platform().Renderer().Windows().at(0);
    EXPECT_EQ(w.owner, sim::VirtualDesktop::kHostWindow);
    EXPECT_EQ(w.style, 0x40000000);
    EXPECT_EQ(w.height, 479);
    EXPECT_TRUE(w.visible);
    // What it accepts it keeps, and the same filter has the same window.
    EXPECT_EQ(window->put_Owner(0), kSOk);
    EXPECT_EQ(window->SetWindowPosition(5, 6, 0, 0), kSOk);
    EXPECT_EQ(window->put_Visible(0), kSOk);
    ASSERT_EQ(bench.Platform().Renderer().Windows().size(), 1u);
    w = bench.Platform().Renderer().Windows()[0];
    EXPECT_EQ(w.owner, 0u);
    EXPECT_EQ(w.left, 5);
    EXPECT_EQ(w.top, 6);
    EXPECT_FALSE(w.visible);
    EXPECT_EQ(window->QueryInterface(guids::kIidBaseFilter, found), kENoInterface);
}

// A host window too small for the border gets no position: the window keeps none.
TEST(SimRendererWindow, AClientAreaSmallerThanTheBorderIsRefused) {
    SysBench bench(Bench::Board("[Desktop]\nHostWindow=12x3\nBorderHeight=7\n"));
    EXPECT_EQ(bench.Run("tc1400"), 4);
    ASSERT_EQ(bench.Platform().Renderer().Windows().size(), 1u);
    const sim::RendererWindow w = bench.Platform().Renderer().Windows()[0];
    EXPECT_FALSE(w.positioned);
    EXPECT_TRUE(w.visible);
    EXPECT_EQ(w.owner, sim::VirtualDesktop::kHostWindow);
}

TEST(SimRendererWindow, TheProfileNamesTheRoleAndItsInterface) {
    struct Case {
        const char* lines;
        const char* error;  // nullptr: accepted
    };
    for (const Case& c : {
             Case{"Role=VideoRenderer\nInterface=present\n", nullptr},
             Case{"Role=videorenderer\nInterface=Absent\n", nullptr},
             Case{"Role=Renderer\n",
                  "\"Renderer\" is not a filter role (None, VbiAnalyzer, VideoAnalyzer or VideoRenderer)"},
             Case{"Interface=maybe\n", "maybe"},
         }) {
        SCOPED_TRACE(c.lines);
        std::string error;
        auto profile = sim::ParseBoardProfile(Bench::Board(std::string("[Filter.VideoRenderer]\n") + c.lines),
                                              "<test board>", error);
        if (!c.error) {
            EXPECT_TRUE(profile) << error;
        } else {
            EXPECT_FALSE(profile);
            EXPECT_NE(error.find(c.error), std::string::npos) << error;
        }
    }
}

}  // namespace
}  // namespace orbex::testing
