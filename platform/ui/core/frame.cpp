#include "platform/ui/core/frame.h"

#include <algorithm>
#include <stdexcept>

#include "platform/afx/numconv.h"
#include "platform/ui/core/bars.h"
#include "platform/ui/core/menu.h"
#include "platform/ui/core/winapp.h"

IMPLEMENT_DYNAMIC(CFrameWnd, CWnd)
IMPLEMENT_DYNAMIC(CMDIFrameWnd, CFrameWnd)
IMPLEMENT_DYNAMIC(CMDIChildWnd, CFrameWnd)

namespace
{

// Every view among the window's descendants, in creation order.
void CollectViews(HWND hWnd, std::vector<CView*>& views)
{
    for (CWndState* child : AfxGetChildStates(hWnd)) {
        if (auto* view = dynamic_cast<CView*>(child->Target()))
            views.push_back(view);
        else if (!dynamic_cast<CFrameWnd*>(child->Target()))
            CollectViews(child->hWnd, views); // splitters; not other frames
    }
}

// Puts the recent files where the menu has its first recent-file item.
void InsertRecentFiles(AfxMenu& menu, const CRecentFileList* pList)
{
    for (std::size_t i = 0; i < menu.size(); ++i) {
        if (!menu[i].popup.empty()) {
            InsertRecentFiles(menu[i].popup, pList);
            continue;
        }
        if (menu[i].item.nResourceID != ID_FILE_MRU_FILE1)
            continue;
        const std::vector<AfxMenuEntry> items =
            pList ? pList->MenuItems() : std::vector<AfxMenuEntry>{};
        if (items.empty())
            return; // the placeholder stays (disabled by update UI)
        menu.erase(menu.begin() + static_cast<std::ptrdiff_t>(i));
        menu.insert(menu.begin() + static_cast<std::ptrdiff_t>(i), items.begin(), items.end());
        return;
    }
}

} // namespace

CWnd* AfxCreateView(CWnd* pParent, CCreateContext* pContext, CRuntimeClass* pViewClass, UINT nID)
{
    CObject* object = pViewClass ? pViewClass->CreateObject() : nullptr;
    auto* view = dynamic_cast<CView*>(object);
    if (!view) {
        delete object;
        throw std::logic_error("a view needs a dynamically creatable view class");
    }
    // The view joins its document first, so its OnCreate sees it.
    if (pContext && pContext->m_pCurrentDoc)
        pContext->m_pCurrentDoc->AddView(view);
    CRect rect;
    pParent->GetClientRect(rect);
    // A view whose window could not be made has deleted itself.
    if (!view->Create(nullptr, "", WS_CHILD | WS_VISIBLE, rect, pParent, nID))
        return nullptr;
    return view;
}

// ---- CFrameWnd ----------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CFrameWnd, CWnd)
ON_WM_CREATE()
ON_WM_CLOSE()
END_MESSAGE_MAP()

BOOL CFrameWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd,
                          CCreateContext* pContext)
{
    m_nIDResource = nIDResource;
    CString strings, title;
    if (AfxLoadString(nIDResource, strings))
        AfxExtractSubString(title, strings, 0, '\n');
    if (title.IsEmpty())
        AfxLoadString(AFX_IDS_APP_TITLE, title);
    m_strTitle = title;
    m_pCreateContext = pContext;
    // On failure the window is gone and this object with it.
    return Create(nullptr, title, dwDefaultStyle, CRect(0, 0, 800, 600), pParentWnd, 0);
}

int CFrameWnd::OnCreate(LPCREATESTRUCT lpcs)
{
    CCreateContext* context = m_pCreateContext;
    m_pCreateContext = nullptr;
    if (m_strTitle.IsEmpty())
        GetWindowText(m_strTitle);
    return OnCreateClient(lpcs, context) ? 0 : -1;
}

BOOL CFrameWnd::OnCreateClient(LPCREATESTRUCT, CCreateContext* pContext)
{
    if (!pContext || !pContext->m_pNewViewClass)
        return TRUE;
    return CreateView(pContext, AFX_IDW_PANE_FIRST) != nullptr;
}

CWnd* CFrameWnd::CreateView(CCreateContext* pContext, UINT nID)
{
    return AfxCreateView(this, pContext, pContext->m_pNewViewClass, nID);
}

CView* CFrameWnd::GetActiveView() const
{
    return m_pViewActive;
}

void CFrameWnd::SetActiveView(CView* pViewNew, BOOL bNotify)
{
    CView* old = m_pViewActive;
    if (old == pViewNew)
        return;
    m_pViewActive = pViewNew;
    if (!bNotify)
        return;
    if (old)
        old->OnActivateView(FALSE, pViewNew, old);
    if (pViewNew && m_pViewActive == pViewNew)
        pViewNew->OnActivateView(TRUE, pViewNew, old);
}

CDocument* CFrameWnd::GetActiveDocument()
{
    CView* view = GetActiveView();
    return view ? view->GetDocument() : nullptr;
}

void CFrameWnd::InitialUpdateFrame(CDocument* pDoc, BOOL bMakeVisible)
{
    std::vector<CView*> views;
    CollectViews(m_hWnd, views);
    if (!GetActiveView()) {
        CView* first = dynamic_cast<CView*>(GetDlgItem(AFX_IDW_PANE_FIRST));
        SetActiveView(first ? first : views.empty() ? nullptr : views.front(), FALSE);
    }
    for (CView* view : views)
        view->OnInitialUpdate();
    if (bMakeVisible)
        ActivateFrame();
    // The document may show in more frames now.
    if (pDoc)
        pDoc->UpdateFrameCounts();
    OnUpdateFrameTitle(TRUE);
}

void CFrameWnd::OnUpdateFrameTitle(BOOL bAddToTitle)
{
    CDocument* doc = GetActiveDocument();
    UpdateFrameTitleForDocument(bAddToTitle && (GetStyle() & FWS_ADDTOTITLE) && doc
                                    ? doc->GetTitle().GetString()
                                    : nullptr);
}

void CFrameWnd::UpdateFrameTitleForDocument(LPCTSTR lpszDocName)
{
    const CWndState* state = GetState();
    if (!state || state->bDestroying)
        return;
    CString title = m_strTitle;
    if (lpszDocName && *lpszDocName) {
        title = m_strTitle.IsEmpty() ? CString(lpszDocName) : m_strTitle + " - " + lpszDocName;
        if (m_nWindow > 0)
            title += AfxFormat(":%d", m_nWindow);
    }
    CString current;
    GetWindowText(current);
    if (current != title)
        SetWindowText(title);
}

void CFrameWnd::ActivateFrame(int nCmdShow)
{
    ShowWindow(nCmdShow == -1 ? SW_SHOW : nCmdShow);
}

void CFrameWnd::RecalcLayout(BOOL)
{
    // Panes fill the client area; the backend lays out bars and docks.
    CRect rect;
    GetClientRect(rect);
    if (CWnd* pane = GetDlgItem(AFX_IDW_PANE_FIRST))
        pane->MoveWindow(rect);
}

AfxMenu CFrameWnd::MenuSnapshot(UINT nIDMenu)
{
    const AfxMenu* table = AfxFindResource<AfxMenu>(nIDMenu);
    if (!table)
        throw std::logic_error("MenuSnapshot: no module registers menu " + std::to_string(nIDMenu));
    AfxMenu menu = *table;
    CWinApp* app = AfxGetApp();
    InsertRecentFiles(menu, app ? app->m_pRecentFileList.get() : nullptr);
    AfxUpdateMenu(this, menu);
    return menu;
}

BOOL CFrameWnd::SendCommand(UINT nID)
{
    return OnCommand(MAKEWPARAM(WORD(nID), 0), 0);
}

CCmdItemState CFrameWnd::QueryCommandUI(UINT nID)
{
    return AfxQueryCommandUI(this, nID);
}

CStatusBar* CFrameWnd::GetStatusBar() const
{
    return dynamic_cast<CStatusBar*>(GetDlgItem(AFX_IDW_STATUS_BAR));
}

void CFrameWnd::SetMessageText(LPCTSTR lpszText)
{
    if (CStatusBar* bar = GetStatusBar())
        bar->SetPaneText(0, lpszText);
}

void CFrameWnd::ShowCommandPrompt(UINT nID)
{
    CString prompt;
    if (nID == 0 || nID == AFX_IDS_IDLEMESSAGE || !AfxLoadCommandStrings(nID, &prompt, nullptr))
        AfxLoadString(AFX_IDS_IDLEMESSAGE, prompt);
    SetMessageText(prompt);
}

void CFrameWnd::DropFiles(const std::vector<CString>& paths)
{
    if (CWinApp* app = AfxGetApp())
        for (const CString& path : paths)
            app->OpenDocumentFile(path);
}

BOOL CFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    if (CView* view = GetActiveView(); view && view->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    CWinApp* app = AfxGetApp();
    return RoutesToApp() && app && app->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

void CFrameWnd::OnClose()
{
    CDocument* doc = GetActiveDocument();
    if (doc && !doc->CanCloseFrame(this))
        return;
    CWinApp* app = AfxGetApp();
    if (app && app->m_pMainWnd == this) {
        // Asked once per modified document; Cancel keeps everything open.
        if (!app->SaveAllModified())
            return;
        app->CloseAllDocuments(FALSE);
        DestroyWindow();
        return;
    }
    if (doc && doc->m_bAutoDelete) {
        bool shownElsewhere = false;
        for (CView* view : doc->GetViews())
            shownElsewhere = shownElsewhere || view->GetParentFrame() != this;
        if (!shownElsewhere) {
            doc->OnCloseDocument(); // destroys this frame with the others
            return;
        }
        doc->PreCloseFrame(this);
    }
    DestroyWindow();
}

void CFrameWnd::PostNcDestroy()
{
    if (CWinApp* app = AfxGetApp(); app && app->m_pMainWnd == this)
        app->m_pMainWnd = nullptr;
    delete this;
}

// ---- CMDIFrameWnd -------------------------------------------------------------------

void CMDIFrameWnd::AddChild(CMDIChildWnd* pChild)
{
    m_children.push_back(pChild);
}

void CMDIFrameWnd::RemoveChild(CMDIChildWnd* pChild)
{
    m_children.erase(std::remove(m_children.begin(), m_children.end(), pChild), m_children.end());
    if (m_pActiveChild == pChild) {
        m_pActiveChild = nullptr;
        MDIActivate(m_children.empty() ? nullptr : m_children.back());
        if (!m_pActiveChild)
            OnUpdateFrameTitle(TRUE); // the title alone again
    }
}

void CMDIFrameWnd::MDIActivate(CMDIChildWnd* pChild)
{
    if (pChild == m_pActiveChild)
        return;
    CMDIChildWnd* old = m_pActiveChild;
    m_pActiveChild = pChild;
    CView* oldView = old ? old->GetActiveView() : nullptr;
    CView* newView = pChild ? pChild->GetActiveView() : nullptr;
    if (oldView)
        oldView->OnActivateView(FALSE, newView, oldView);
    if (pChild) {
        pChild->SendMessage(WM_CHILDACTIVATE);
        if (newView && m_pActiveChild == pChild)
            newView->OnActivateView(TRUE, newView, oldView);
    }
    OnUpdateFrameTitle(TRUE);
}

void CMDIFrameWnd::OnUpdateFrameTitle(BOOL bAddToTitle)
{
    CDocument* doc = m_pActiveChild ? m_pActiveChild->GetActiveDocument() : nullptr;
    const int nWindow = m_nWindow;
    m_nWindow = -1; // the main title never numbers the child's frame
    UpdateFrameTitleForDocument(bAddToTitle && (GetStyle() & FWS_ADDTOTITLE) && doc
                                    ? doc->GetTitle().GetString()
                                    : nullptr);
    m_nWindow = nWindow;
}

CFrameWnd* CMDIFrameWnd::GetActiveFrame()
{
    return m_pActiveChild ? static_cast<CFrameWnd*>(m_pActiveChild) : this;
}

CDocument* CMDIFrameWnd::GetActiveDocument()
{
    return m_pActiveChild ? m_pActiveChild->GetActiveDocument() : nullptr;
}

UINT CMDIFrameWnd::GetMenuID() const
{
    return m_pActiveChild ? m_pActiveChild->GetResourceID() : m_nIDResource;
}

BOOL CMDIFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    if (m_pActiveChild && m_pActiveChild->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    return CFrameWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

// ---- CMDIChildWnd -------------------------------------------------------------------

BOOL CMDIChildWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd,
                             CCreateContext* pContext)
{
    CWnd* parent = pParentWnd ? pParentWnd : AfxGetMainWnd();
    m_pMDIFrame = dynamic_cast<CMDIFrameWnd*>(parent);
    if (!m_pMDIFrame)
        throw std::logic_error("a child frame needs the main MDI frame as its parent");
    m_pMDIFrame->AddChild(this); // DestroyWindow takes it off again, also on failure
    return CFrameWnd::LoadFrame(nIDResource, dwDefaultStyle | WS_CHILD, parent, pContext);
}

void CMDIChildWnd::MDIActivate()
{
    if (m_pMDIFrame)
        m_pMDIFrame->MDIActivate(this);
}

void CMDIChildWnd::ActivateFrame(int nCmdShow)
{
    CFrameWnd::ActivateFrame(nCmdShow);
    MDIActivate();
}

void CMDIChildWnd::OnUpdateFrameTitle(BOOL bAddToTitle)
{
    CDocument* doc = GetActiveDocument();
    if (bAddToTitle && (GetStyle() & FWS_ADDTOTITLE) && doc) {
        // A child shows the document title alone.
        const CString title = m_strTitle;
        m_strTitle.Empty();
        UpdateFrameTitleForDocument(doc->GetTitle());
        m_strTitle = title;
    } else {
        UpdateFrameTitleForDocument(nullptr);
    }
    if (m_pMDIFrame && m_pMDIFrame->MDIGetActive() == this)
        m_pMDIFrame->OnUpdateFrameTitle(TRUE);
}

BOOL CMDIChildWnd::DestroyWindow()
{
    if (!GetState())
        return FALSE;
    CMDIFrameWnd* frame = m_pMDIFrame;
    m_pMDIFrame = nullptr;
    if (frame)
        frame->RemoveChild(this);
    return CFrameWnd::DestroyWindow();
}
