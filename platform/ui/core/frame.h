// Frames: the main window (CFrameWnd, CMDIFrameWnd) and the document
// windows inside it (CMDIChildWnd). A frame holds its view in pane
// AFX_IDW_PANE_FIRST (59648) and routes commands: the active view (which
// passes them on to its document and template) first, then the frame, then
// the application. The MDI frame offers a command to its active child
// frame first, so the order is view, document, child frame, main frame,
// application.
//
// Frames delete themselves when their window is destroyed. Closing the main
// frame asks to save every modified document, closes them and destroys the
// window; closing a child frame asks its document when it shows the
// document's last view.
//
// The main frame shows the menu of its active child's template (its
// resource id), or its own menu when no child is active.
#pragma once

#include <vector>

#include "platform/ui/core/cmdui.h"
#include "platform/ui/core/docview.h"
#include "platform/ui/core/resources.h"

class CControlBar;
class CStatusBar;

constexpr DWORD WS_OVERLAPPED = 0x00000000;
constexpr DWORD WS_CAPTION = 0x00C00000;
constexpr DWORD WS_SYSMENU = 0x00080000;
constexpr DWORD WS_THICKFRAME = 0x00040000;
constexpr DWORD WS_MINIMIZEBOX = 0x00020000;
constexpr DWORD WS_MAXIMIZEBOX = 0x00010000;
// A frame shown maximised (kept up to date by the frame's peer).
constexpr DWORD WS_MAXIMIZE = 0x01000000;
constexpr DWORD WS_OVERLAPPEDWINDOW =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
constexpr DWORD FWS_ADDTOTITLE = 0x00008000;

class CFrameWnd : public CWnd
{
    DECLARE_DYNAMIC(CFrameWnd)
public:
    CFrameWnd() = default;

    // Creates the frame with resource nIDResource (title string, menu); the
    // context, when given, makes the view in OnCreateClient.
    virtual BOOL LoadFrame(UINT nIDResource,
                           DWORD dwDefaultStyle = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                           CWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr);
    // By default the context's view in pane AFX_IDW_PANE_FIRST.
    virtual BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext);
    // Makes a view of the context's class as child nID, joined to the
    // context's document. Null on failure.
    CWnd* CreateView(CCreateContext* pContext, UINT nID = AFX_IDW_PANE_FIRST);

    CView* GetActiveView() const;
    // Makes pViewNew active (OnActivateView of the old and the new one).
    void SetActiveView(CView* pViewNew, BOOL bNotify = TRUE);
    virtual CDocument* GetActiveDocument();
    // The frame whose view has the user's attention: this one, or an MDI
    // frame's active child.
    virtual CFrameWnd* GetActiveFrame() { return this; }
    // Every view's OnInitialUpdate, an active view when none is, then
    // ActivateFrame.
    void InitialUpdateFrame(CDocument* pDoc, BOOL bMakeVisible);
    virtual void ActivateFrame(int nCmdShow = -1);
    virtual void RecalcLayout(BOOL bNotify = TRUE);

    // The window title. With FWS_ADDTOTITLE and a document: "<title> -
    // <document title>", and ":n" when the document shows in n > 1 frames
    // (m_nWindow, set by CDocument::UpdateFrameCounts); else the title
    // alone. The title is the frame's resource string (or the text it was
    // created with).
    virtual void OnUpdateFrameTitle(BOOL bAddToTitle);
    int m_nWindow = -1; // this frame's number among its document's frames (0: the only one)
    UINT GetResourceID() const { return m_nIDResource; }

    // The id of the menu the frame shows now.
    virtual UINT GetMenuID() const { return m_nIDResource; }
    // One update pass over a menu of the resources (the recent files put in
    // at their place), through this frame's routing.
    AfxMenu MenuSnapshot(UINT nIDMenu);
    // A menu choice or accelerator: WM_COMMAND with code 0.
    BOOL SendCommand(UINT nID);
    // The state update UI gives the id now.
    CCmdItemState QueryCommandUI(UINT nID);

    // Pane 0 of the status bar: the prompt of command nID while its item or
    // button is under the mouse; 0 (or AFX_IDS_IDLEMESSAGE) shows "Ready".
    void ShowCommandPrompt(UINT nID);
    void SetMessageText(LPCTSTR lpszText);
    // The status bar (child AFX_IDW_STATUS_BAR), or null.
    CStatusBar* GetStatusBar() const;

    // Files dropped on the frame open in turn.
    void DropFiles(const std::vector<CString>& paths);

    // The control bars' layout (the backend's bytes, entry "Layout") and
    // which bars show (entry "Visible": "<bar id>=<0|1>" joined by ";")
    // in profile section lpszProfileName. Loading reads section
    // "VizBarState" when the named one holds neither entry; bars the list
    // does not name keep their state, and malformed parts are skipped.
    void SaveBarState(LPCTSTR lpszProfileName);
    void LoadBarState(LPCTSTR lpszProfileName);
    // Shows or hides a control bar of this frame.
    void ShowControlBar(CControlBar* pBar, BOOL bShow, BOOL bDelay);

    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

protected:
    // Whether OnCmdMsg offers what nothing here handled to the application
    // (a child frame leaves that to its main frame).
    virtual bool RoutesToApp() const { return true; }
    void PostNcDestroy() override;
    int OnCreate(LPCREATESTRUCT lpcs);
    void OnClose();
    DECLARE_MESSAGE_MAP()

    // Shows the title with the document name (none: the title alone).
    void UpdateFrameTitleForDocument(LPCTSTR lpszDocName);

    UINT m_nIDResource = 0;
    CView* m_pViewActive = nullptr; // a child view of this frame (not owned)
    CString m_strTitle;

private:
    CCreateContext* m_pCreateContext = nullptr; // during LoadFrame only
    friend class CView;
};

// Makes a view of class pViewClass as child nID of pParent, joined to the
// context's document; null when its window could not be made.
CWnd* AfxCreateView(CWnd* pParent, CCreateContext* pContext, CRuntimeClass* pViewClass, UINT nID);

class CMDIChildWnd;

class CMDIFrameWnd : public CFrameWnd
{
    DECLARE_DYNAMIC(CMDIFrameWnd)
public:
    CMDIChildWnd* MDIGetActive() const { return m_pActiveChild; }
    // Activates a child (WM_CHILDACTIVATE to it) and swaps the menu.
    void MDIActivate(CMDIChildWnd* pChild);
    // The child frames, in creation order.
    const std::vector<CMDIChildWnd*>& GetChildFrames() const { return m_children; }

    CFrameWnd* GetActiveFrame() override;
    CDocument* GetActiveDocument() override;
    UINT GetMenuID() const override;
    // "<title> - <document title>" of the active child, without its ":n".
    void OnUpdateFrameTitle(BOOL bAddToTitle) override;

    // Workbook mode shows the children as tabs along the bottom edge of the
    // client area; otherwise each is a (maximised) window of its own.
    void SetWorkbookMode(BOOL bWorkbook);
    BOOL IsWorkbookMode() const { return m_bWorkbookMode; }

    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

    // The child created after the active one (the first after the last).
    void MDINext();
    // The Window menu's entries of the open child frames, from
    // AFX_IDM_FIRST_MDICHILD on: "&1 <title>", the active one checked.
    AfxMenu WindowListItems() const;

protected:
    // Cascade, Tile and Arrange while the children show as windows; they
    // are disabled in workbook mode.
    void OnWindowArrange(UINT nID);
    void OnUpdateWindowArrange(CCmdUI* pCmdUI);
    void OnWindowNext();
    void OnUpdateWindowNext(CCmdUI* pCmdUI);
    // A Window menu entry of the list activates its child.
    void OnWindowListItem(UINT nID);
    void OnUpdateWindowListItem(CCmdUI* pCmdUI);
    DECLARE_MESSAGE_MAP()

private:
    friend class CMDIChildWnd;
    void AddChild(CMDIChildWnd* pChild);
    // The child goes; the last one created before it becomes active.
    void RemoveChild(CMDIChildWnd* pChild);

    std::vector<CMDIChildWnd*> m_children; // not owned
    CMDIChildWnd* m_pActiveChild = nullptr;
    BOOL m_bWorkbookMode = FALSE;
};

class CMDIChildWnd : public CFrameWnd
{
    DECLARE_DYNAMIC(CMDIChildWnd)
public:
    // The parent is the main MDI frame (the main window when null).
    BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                   CWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr) override;
    CMDIFrameWnd* GetMDIFrame() const { return m_pMDIFrame; }
    void MDIActivate();
    void ActivateFrame(int nCmdShow = -1) override;
    BOOL DestroyWindow() override;
    // The document title (":n" added for its n-th frame), then the main
    // frame's title.
    void OnUpdateFrameTitle(BOOL bAddToTitle) override;

protected:
    bool RoutesToApp() const override { return false; }

private:
    CMDIFrameWnd* m_pMDIFrame = nullptr; // not owned
};
