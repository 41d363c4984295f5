// The video renderer wrapper: finds the renderer's window and places it.
#include "cases/stream/video_renderer.h"

#include "graph/filter_entry.h"
#include "graph/orb_gbuilder.h"
#include "platform/guids.h"
#include "report/test_status.h"

namespace orbex {

CVideoRenderer::~CVideoRenderer() {
    if (!m_pVideoWindow) return;
    m_pVideoWindow->put_Owner(0);
    m_pVideoWindow->put_Visible(port::kOaFalse);
    m_pVideoWindow.reset();
}

int32_t CVideoRenderer::Initialize() {
    CLogManager* logger = m_pGBuilder->m_pLogger;
    m_pGBuilder->SetCurrentRenderer(this);
    m_pGBuilder->GetFilterByType(kFilterRenderer, m_pFilter);
    if (!m_pFilter) {
        Log(logger, kLevelProgress, kGreen, "CVideoRenderer::Initialize()>  No Render Detected");
        return 1;
    }
    port::ComPtr found;
    if (m_pGBuilder->FindInterface(guids::kIidVideoWindow, found) == 0) {
        m_pVideoWindow = port::ComCast<port::IVideoWindow>(found);
        if (m_pVideoWindow) return AttachWindow();
    }
    m_pVideoWindow.reset();
    Log(logger, kLevelNoRun, kBlack, "Failed to get Video Window pointer");
    const char* testId = m_pGBuilder->Id().testIdText;
    m_pGBuilder->Verdict().ResultReport(testId, testId, NoRun,
                                        "[NoRun]**** Filter is incorrectly defined as a Video Renderer, or no Video "
                                        "Renderer interface is found within filter.",
                                        "", "");
    return 1;
}

// The results of the window calls are not checked: a window that refuses a
// placement still shows the video somewhere, and nothing here depends on it.
int32_t CVideoRenderer::AttachWindow() {
    if (!m_pVideoWindow) return 1;
    port::IDesktop& desktop = m_pGBuilder->Platform().Desktop();
    const port::WindowHandle host = desktop.HostWindow();
    m_pVideoWindow->put_Owner(host);
    m_pVideoWindow->put_WindowStyle(port::kWsChild);
    port::WindowRect client{0, 0, kDetachedClientWidth, kDetachedClientHeight};
    if (host == 0 || !desktop.GetClientRect(host, client)) client = {0, 0, kDetachedClientWidth, kDetachedClientHeight};
    const int32_t width = client.right - client.left;
    const int32_t height = client.bottom - client.top - desktop.GetSystemMetrics(port::kSmCyBorder);
    m_pVideoWindow->SetWindowPosition(0, 0, width, height);
    m_pVideoWindow->put_Visible(port::kOaTrue);
    return 0;
}

}  // namespace orbex
