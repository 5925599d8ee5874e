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

// Appends the open child frames to the menu's popup that holds Cascade
// (the Window menu), after a separator.
void InsertWindowList(AfxMenu& menu, const AfxMenu& windows)
{
    if (windows.empty())
        return;
    for (AfxMenuEntry& entry : menu) {
        const auto cascade = std::find_if(entry.popup.begin(), entry.popup.end(), [](const AfxMenuEntry& e) {
            return !e.bSeparator && e.item.nResourceID == ID_WINDOW_CASCADE;
        });
        if (cascade == entry.popup.end())
            continue;
        entry.popup.push_back(AfxMenuSeparator());
        entry.popup.insert(entry.popup.end(), windows.begin(), windows.end());
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
    if (const auto* mdi = dynamic_cast<const CMDIFrameWnd*>(this))
        InsertWindowList(menu, mdi->WindowListItems());
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

BEGIN_MESSAGE_MAP(CMDIFrameWnd, CFrameWnd)
ON_COMMAND_RANGE(ID_WINDOW_ARRANGE, ID_WINDOW_TILE_HORZ, OnWindowArrange)
ON_UPDATE_COMMAND_UI_RANGE(ID_WINDOW_ARRANGE, ID_WINDOW_TILE_HORZ, OnUpdateWindowArrange)
ON_COMMAND(ID_WINDOW_NEXT, OnWindowNext)
ON_UPDATE_COMMAND_UI(ID_WINDOW_NEXT, OnUpdateWindowNext)
ON_COMMAND_RANGE(AFX_IDM_FIRST_MDICHILD, AFX_IDM_FIRST_MDICHILD + AFX_MAX_MDI_WINDOWS - 1, OnWindowListItem)
ON_UPDATE_COMMAND_UI_RANGE(AFX_IDM_FIRST_MDICHILD, AFX_IDM_FIRST_MDICHILD + AFX_MAX_MDI_WINDOWS - 1,
                           OnUpdateWindowListItem)
END_MESSAGE_MAP()

void CMDIFrameWnd::OnWindowArrange(UINT nID)
{
    if (CWndBackend* backend = AfxGetWndBackend(); backend && !m_bWorkbookMode)
        backend->ArrangeChildFrames(*this, nID);
}

void CMDIFrameWnd::OnUpdateWindowArrange(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(!m_bWorkbookMode && !m_children.empty());
}

void CMDIFrameWnd::MDINext()
{
    if (m_children.size() < 2)
        return;
    const auto at = std::find(m_children.begin(), m_children.end(), m_pActiveChild);
    const std::size_t next = at == m_children.end() ? 0 : (at - m_children.begin() + 1) % m_children.size();
    MDIActivate(m_children[next]);
}

void CMDIFrameWnd::OnWindowNext()
{
    MDINext();
}

void CMDIFrameWnd::OnUpdateWindowNext(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(m_children.size() > 1);
}

AfxMenu CMDIFrameWnd::WindowListItems() const
{
    AfxMenu items;
    for (std::size_t i = 0; i < m_children.size() && i < AFX_MAX_MDI_WINDOWS; ++i) {
        CString title;
        m_children[i]->GetWindowText(title);
        CString text;
        text.Format("&%d %s", static_cast<int>(i + 1), title.GetString());
        items.push_back(AfxMenuItem(AFX_IDM_FIRST_MDICHILD + static_cast<UINT>(i), text));
    }
    return items;
}

void CMDIFrameWnd::OnWindowListItem(UINT nID)
{
    const std::size_t index = nID - AFX_IDM_FIRST_MDICHILD;
    if (index < m_children.size())
        MDIActivate(m_children[index]);
}

void CMDIFrameWnd::OnUpdateWindowListItem(CCmdUI* pCmdUI)
{
    const std::size_t index = pCmdUI->m_nID - AFX_IDM_FIRST_MDICHILD;
    pCmdUI->Enable(index < m_children.size());
    pCmdUI->SetCheck(index < m_children.size() && m_children[index] == m_pActiveChild);
}

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
    // The backend shows the new child in front (its tab) and its menu.
    if (const CWndState* state = AfxGetWndState(GetSafeHwnd()))
        state->Changed(PEER_STYLE);
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
