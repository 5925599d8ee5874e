#include "framework/korchildfrm.h"

#include <algorithm>

#include "framework/kordlgclipplane.h"
#include "framework/kordoc.h"
#include "glstyle/tincora.h"
#include "graphview/vistrel.h"
#include "glview/oglview.h"

IMPLEMENT_DYNAMIC(KorSplitWnd, CSplitterWnd)
IMPLEMENT_DYNAMIC(KorChildFrm, CMDIChildWnd)

CDialog* KorChildFrm::m_pClpPlnDlg = nullptr;

// ---- KorSplitWnd --------------------------------------------------------------------

BOOL KorSplitWnd::CreateStatic(CWnd* pParentWnd, int nRows, int nCols, DWORD dwStyle, UINT nID)
{
    m_pRowInfoEx.clear();
    m_pColInfoEx.clear();
    for (int i = 0; i < nRows; ++i)
        m_pRowInfoEx.push_back({i, 0});
    for (int i = 0; i < nCols; ++i)
        m_pColInfoEx.push_back({i, 0});
    return CSplitterWnd::CreateStatic(pParentWnd, nRows, nCols, dwStyle, nID);
}

void KorSplitWnd::HideColumn(int nCol)
{
    const int before = GetColumnCount();
    CSplitterWnd::HideColumn(nCol);
    if (GetColumnCount() == before)
        return;
    auto it = std::find_if(m_pColInfoEx.begin(), m_pColInfoEx.end(), [nCol](const _RowColInfoEx& c) {
        return c.nIndex == nCol && !c.bHidden;
    });
    if (it == m_pColInfoEx.end())
        return;
    _RowColInfoEx hidden = *it;
    hidden.bHidden = 1;
    m_pColInfoEx.erase(it);
    m_pColInfoEx.push_back(hidden);
    if (CFrameWnd* frame = dynamic_cast<CFrameWnd*>(GetParent()))
        frame->RecalcLayout();
}

// ---- KorChildFrm --------------------------------------------------------------------

BEGIN_MESSAGE_MAP(KorChildFrm, CMDIChildWnd)
ON_WM_CHILDACTIVATE()
ON_WM_CLOSE()
ON_WM_DESTROY()
ON_COMMAND(50054, OnViewClipPlane)
ON_UPDATE_COMMAND_UI(50054, OnUpdateViewClipPlane)
ON_MESSAGE(KorDlgClipPlane::WM_KOR_CLIPPLANE, OnClipPlane)
END_MESSAGE_MAP()

namespace
{
constexpr UINT kResultsView = 50055;

KorDlgClipPlane* ClipPlaneDialog()
{
    return dynamic_cast<KorDlgClipPlane*>(KorChildFrm::m_pClpPlnDlg);
}

void DestroyClipPlaneWindow()
{
    if (KorChildFrm::m_pClpPlnDlg && KorChildFrm::m_pClpPlnDlg->GetSafeHwnd())
        KorChildFrm::m_pClpPlnDlg->DestroyWindow();
}

void DeleteClipPlaneDialog()
{
    DestroyClipPlaneWindow();
    delete KorChildFrm::m_pClpPlnDlg;
    KorChildFrm::m_pClpPlnDlg = nullptr;
}
} // namespace

KorChildFrm::KorChildFrm()
{
    ++s_nFrames;
    ChooseInverseBackground();
}

KorChildFrm::~KorChildFrm()
{
    // A dialog still bound to this frame would reach it after it is gone.
    if (KorDlgClipPlane* dlg = ClipPlaneDialog(); dlg && dlg->m_pFrame == this) {
        DestroyClipPlaneWindow();
        dlg->m_pFrame = nullptr;
    }
    if (--s_nFrames == 0)
        DeleteClipPlaneDialog();
}

double KorChildFrm::ClipPlaneScale()
{
    CView* view = GetActiveView();
    if (auto* doc = view ? dynamic_cast<KorDoc*>(view->GetDocument()) : nullptr)
        return doc->GetStressScale();
    return 1.0;
}

void KorChildFrm::OnViewClipPlane()
{
    if (!m_pClpPlnDlg)
        m_pClpPlnDlg = new KorDlgClipPlane(ClipPlaneScale(), 13, 8, 3, 0, this);
    if (m_pClpPlnDlg->GetSafeHwnd())
        m_pClpPlnDlg->DestroyWindow();
    else if (KorDlgClipPlane* dlg = ClipPlaneDialog())
        dlg->Create();
}

void KorChildFrm::OnUpdateViewClipPlane(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(m_nViewID == kResultsView);
}

LRESULT KorChildFrm::OnClipPlane(WPARAM wParam, LPARAM)
{
    if (wParam == 1 || wParam == 2)
        DestroyClipPlaneWindow();
    return 0;
}

void KorChildFrm::OnDestroy()
{
    // A frame closed while another is active gets no activation change:
    // the dialog bound to it is unbound here.
    if (KorDlgClipPlane* dlg = ClipPlaneDialog(); dlg && dlg->m_pFrame == this) {
        DestroyClipPlaneWindow();
        dlg->m_pFrame = nullptr;
    }
    Default();
}

void KorChildFrm::ChooseInverseBackground()
{
    const float sum = fBckClrMdView[0] + fBckClrMdView[1] + fBckClrMdView[2];
    const float value = sum < 1.0f ? 1.0f : 0.0f;
    std::fill(glcInvBckGrnd, glcInvBckGrnd + 3, value);
}

void KorChildFrm::ActivateFrame(int)
{
    CMDIChildWnd::ActivateFrame(SW_SHOWMAXIMIZED);
}

BOOL KorChildFrm::OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext)
{
    CRuntimeClass* paneClass = GetPaneClass();
    if (!paneClass)
        return CMDIChildWnd::OnCreateClient(lpcs, pContext);
    if (!m_wndSplitter.CreateStatic(this, 1, 2, WS_CHILD | WS_VISIBLE, AFX_IDW_PANE_FIRST))
        return FALSE;
    if (!m_wndSplitter.CreateView(0, 0, paneClass, CSize(0, 0), pContext))
        return FALSE;
    if (!m_wndSplitter.CreateView(0, 1, pContext ? pContext->m_pNewViewClass : nullptr,
                                  CSize(0, 0), pContext))
        return FALSE;
    m_wndSplitter.SetActivePane(0, 1);
    m_bSplit = 1;
    return TRUE;
}

void KorChildFrm::RedrawWindow()
{
    if (auto* view = dynamic_cast<COGLView*>(GetActiveView()))
        view->InvalidateList();
    Invalidate();
}

void KorChildFrm::SaveViewParams(CView* oldView)
{
    if (auto* view = dynamic_cast<COGL2DView*>(oldView)) {
        m_pViewParams.assign(static_cast<std::size_t>(std::max(view->GetNumViewParams(), 0)), 0.0);
        if (!m_pViewParams.empty())
            view->SetViewParam(m_pViewParams.data(), true);
    }
}

void KorChildFrm::ZoomNewView(CView* newView)
{
    if (auto* view = dynamic_cast<COGL2DView*>(newView))
        view->ZoomToFit();
}

void KorChildFrm::SwitchView(UINT id)
{
    if (id == m_nViewID)
        return;
    DestroyClipPlaneWindow();
    ChooseInverseBackground();
    CView* oldView = GetActiveView();
    // The new view is made with the old view's font; the process-wide font
    // is back as it was at the end.
    const LOGFONT savedFont = COGLView::m_statLogFont;
    if (auto* oglView = dynamic_cast<COGLView*>(oldView)) {
        oglView->m_Font.GetLogFont(&COGLView::m_statLogFont);
        oglView->OGLDestroy();
    }
    if (oldView && oldView->GetSafeHwnd())
        oldView->SetDlgCtrlID(static_cast<int>(m_nViewID));
    CView* newView = GetViewForID(id);
    SaveViewParams(oldView);
    if (newView) {
        newView->ShowWindow(SW_SHOW);
        newView->OnInitialUpdate();
        SetActiveView(newView);
        RecalcLayout();
        if (m_nViewID == 0)
            ZoomNewView(newView);
        m_nViewID = id;
        if (oldView && oldView != newView && oldView->GetSafeHwnd())
            oldView->DestroyWindow();
    }
    COGLView::m_statLogFont = savedFont;
}

void KorChildFrm::OnChildActivate()
{
    Default();
    CMDIFrameWnd* mdi = GetMDIFrame();
    if (m_pClpPlnDlg && mdi && mdi->MDIGetActive() == this) {
        if (m_nViewID == kResultsView) {
            if (KorDlgClipPlane* dlg = ClipPlaneDialog())
                dlg->SetParent(this, ClipPlaneScale(), 13, 8, 3, 0);
        } else {
            DeleteClipPlaneDialog();
        }
    }
    ChildActivate();
}

void KorChildFrm::OnClose()
{
    CDocument* doc = GetActiveDocument();
    if (doc && !doc->CanCloseFrame(this))
        return;
    CWinApp* app = AfxGetApp();
    if (app && app->m_pMainWnd == this) {
        CMDIChildWnd::OnClose();
        return;
    }
    if (CMDIFrameWnd* mdi = GetMDIFrame())
        ChildFramesLeft(static_cast<int>(mdi->GetChildFrames().size()) - 1);
    if (doc && doc->m_bAutoDelete) {
        const auto& views = doc->GetViews();
        const bool shownElsewhere = std::any_of(views.begin(), views.end(), [this](CView* view) {
            return view->GetParentFrame() != this;
        });
        if (!shownElsewhere) {
            doc->OnCloseDocument(); // destroys this frame with the document's others
            return;
        }
        doc->PreCloseFrame(this);
    }
    DestroyWindow();
}
