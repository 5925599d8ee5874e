#include "app/shell/shellapp.h"

namespace
{

constexpr UINT kMainFrame = 128;

const CResourceModule s_resources("brantel_shell", CResourceModule::program,
                                  [](CResourceModule& m) {
                                      m.AddStrings({{kMainFrame, "Brantel"}});
                                      m.Add(kMainFrame,
                                            AfxMenu{AfxMenuPopup(
                                                "&File", {AfxMenuItem(ID_APP_EXIT, "E&xit")})});
                                  });

// Pane 0 for prompts; CAPS and NUM stay blank.
const UINT s_indicators[] = {ID_SEPARATOR, ID_INDICATOR_CAPS, ID_INDICATOR_NUM};

} // namespace

BEGIN_MESSAGE_MAP(CShellFrame, CMDIFrameWnd)
ON_WM_CREATE()
END_MESSAGE_MAP()

int CShellFrame::OnCreate(LPCREATESTRUCT lpcs)
{
    if (CMDIFrameWnd::OnCreate(lpcs) == -1)
        return -1;
    if (!m_wndStatusBar.Create(this) ||
        !m_wndStatusBar.SetIndicators(s_indicators, static_cast<int>(std::size(s_indicators))))
        return -1;
    return 0;
}

CShellApp::CShellApp() : CWinApp("Brantel") {}

BOOL CShellApp::InitInstance()
{
    auto* frame = new CShellFrame;
    if (!frame->LoadFrame(kMainFrame)) {
        delete frame;
        return FALSE;
    }
    m_pMainWnd = frame;
    frame->ShowWindow(m_nCmdShow);
    return TRUE;
}
