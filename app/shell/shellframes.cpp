#include "app/shell/shellframes.h"

#include "app/shell/shellids.h"

IMPLEMENT_DYNCREATE(CMainFrame, KorMainFrm)
IMPLEMENT_DYNCREATE(CChildFrame, CMDIChildWnd)
IMPLEMENT_DYNCREATE(CConstrChFrm, CChildFrame)
IMPLEMENT_DYNCREATE(CBrantelModView, CView)
IMPLEMENT_DYNCREATE(CViewRestr, CView)

namespace
{

// Pane 0 for prompts, pane 1 for the element type; CAPS and NUM stay blank.
const UINT s_indicators[] = {ID_SEPARATOR, ID_SEPARATOR, ID_INDICATOR_CAPS, ID_INDICATOR_NUM};

} // namespace

BEGIN_MESSAGE_MAP(CMainFrame, KorMainFrm)
ON_WM_CREATE()
ON_WM_DESTROY()
END_MESSAGE_MAP()

int CMainFrame::OnCreate(LPCREATESTRUCT lpcs)
{
    if (KorMainFrm::OnCreate(lpcs) == -1)
        return -1;
    if (!m_wndStatusBar.Create(this) ||
        !m_wndStatusBar.SetIndicators(s_indicators, static_cast<int>(std::size(s_indicators))))
        return -1;
    return 0;
}

namespace
{

void SetTextIfChanged(CWnd& wnd, const CString& text)
{
    CString shown;
    wnd.GetWindowText(shown);
    if (shown != text)
        wnd.SetWindowText(text);
}

} // namespace

void CMainFrame::UpdateTitle()
{
    CString title;
    AfxLoadString(IDR_MAINFRAME, title);
    if (CDocument* doc = GetActiveDocument())
        title += " - " + doc->GetTitle();
    SetTextIfChanged(*this, title);
    // Each child frame shows its document's title.
    for (CMDIChildWnd* child : GetChildFrames())
        if (CDocument* doc = child->GetActiveDocument(); doc && child->GetSafeHwnd())
            SetTextIfChanged(*child, doc->GetTitle());
}

void CMainFrame::OnDestroy()
{
    if (auto* app = dynamic_cast<KorApp*>(AfxGetApp()))
        app->CloseApp();
}

CChildFrame::CChildFrame() : m_nCurrentMode(ID_MODE_MODELLING), m_pViewParams(new double[kViewParams])
{
    for (int i = 0; i < kViewParams; ++i)
        m_pViewParams[i] = 0.0;
    m_pViewParams[0] = 258.0; // the 2D view's state word
    for (int i : {7, 13, 14, 15})
        m_pViewParams[i] = 1.0;
}

CChildFrame::~CChildFrame()
{
    delete[] m_pViewParams;
}

void CBrantelModView::OnDraw(CDC*) {}

void CViewRestr::OnDraw(CDC*) {}
