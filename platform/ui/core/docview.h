// Documents and views.
//
// A document holds the data and knows its views; a view shows the document
// in a frame and is that frame's child window. Lifetimes:
// - a view deletes itself when its window is destroyed (PostNcDestroy) and
//   leaves its document's list then;
// - an auto-delete document (m_bAutoDelete, the default) closes and deletes
//   itself when its last view goes;
// - a document leaves its template's list when it is deleted.
//
// Saving never loses the old file: OnSaveDocument writes the archive into a
// temporary file beside the target and renames it over the target only
// when everything was written (afx::SafeFileWriter). A failed save shows
// "Failed to save document." with the cause and the file's name, and leaves
// the document modified. DoSave refuses a file the user may not write (a
// read-only file or folder) before writing, and offers Save As.
#pragma once

#include <vector>

#include "platform/afx/archive.h"
#include "platform/ui/core/wnd.h"

class CDocTemplate;
class CDocument;
class CFrameWnd;
class CPrintInfo;
class CView;

// What a frame needs to make its view: passed from the template through
// LoadFrame to OnCreateClient.
struct CCreateContext {
    CRuntimeClass* m_pNewViewClass = nullptr; // not owned
    CDocument* m_pCurrentDoc = nullptr;       // not owned
    CDocTemplate* m_pNewDocTemplate = nullptr;
    CView* m_pLastView = nullptr;
    CFrameWnd* m_pCurrentFrame = nullptr;
};

class CDocument : public CCmdTarget
{
    DECLARE_DYNAMIC(CDocument)
public:
    CDocument() = default;
    // Leaves its template; its views are gone by then.
    ~CDocument() override;

    const CString& GetTitle() const { return m_strTitle; }
    virtual void SetTitle(LPCTSTR lpszTitle);
    const CString& GetPathName() const { return m_strPathName; }
    // Sets the path (links resolved) and the title (the file name); with
    // bAddToMRU the file goes to the top of the recent-file list.
    virtual void SetPathName(LPCTSTR lpszPathName, BOOL bAddToMRU = TRUE);
    CDocTemplate* GetDocTemplate() const { return m_pDocTemplate; }

    virtual BOOL IsModified() { return m_bModified; }
    virtual void SetModifiedFlag(BOOL bModified = TRUE) { m_bModified = bModified; }

    // Views, in the order they were added.
    void AddView(CView* pView);
    void RemoveView(CView* pView);
    POSITION GetFirstViewPosition() const;
    CView* GetNextView(POSITION& rPosition) const;
    const std::vector<CView*>& GetViews() const { return m_views; }
    // Numbers the frames showing the document (m_nWindow: 0 for a single
    // frame, else 1, 2, ... in the order of the views) and updates their
    // titles. Title changes and view changes run it.
    void UpdateFrameCounts();
    // OnUpdate of every view but pSender.
    void UpdateAllViews(CView* pSender, LPARAM lHint = 0, CObject* pHint = nullptr);

    virtual void DeleteContents() {}
    virtual BOOL OnNewDocument();
    // Loads the file through the document's Serialize. An unreadable file
    // shows "Cannot open file %s.", a malformed one "Unexpected file
    // format."; either way the contents are deleted and FALSE returned.
    virtual BOOL OnOpenDocument(LPCTSTR lpszPathName);
    // Saves through Serialize into a temporary file renamed over the target.
    virtual BOOL OnSaveDocument(LPCTSTR lpszPathName);
    // Closes the frames showing the document, deletes its contents and,
    // when it is auto-delete, deletes the document.
    virtual void OnCloseDocument();
    // "Save changes to %s?" for a modified document: Yes saves (Save As
    // without a path), No discards, Cancel gives FALSE.
    virtual BOOL SaveModified();
    // Whether pFrame may close: asks SaveModified when it shows the last view.
    virtual BOOL CanCloseFrame(CFrameWnd* pFrame);
    virtual void PreCloseFrame(CFrameWnd*) {}
    // Saves under lpszPathName, or asks for a name (Save As) when it is null;
    // bReplace makes the new name the document's path.
    virtual BOOL DoSave(LPCTSTR lpszPathName, BOOL bReplace = TRUE);
    virtual BOOL DoFileSave();

    BOOL m_bAutoDelete = TRUE;

    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

protected:
    void OnFileClose();
    void OnFileSave();
    void OnFileSaveAs();
    DECLARE_MESSAGE_MAP()

    CString m_strTitle;
    CString m_strPathName;
    BOOL m_bModified = FALSE;

private:
    friend class CDocTemplate;
    CDocTemplate* m_pDocTemplate = nullptr; // set by the template (not owned)
    std::vector<CView*> m_views;            // not owned
};

class CView : public CWnd
{
    DECLARE_DYNAMIC(CView)
public:
    CView() = default;
    // Leaves its document (which may then delete itself).
    ~CView() override;

    CDocument* GetDocument() const { return m_pDocument; }
    // The frame holding the view, or null.
    CFrameWnd* GetParentFrame() const;

    virtual void OnInitialUpdate();
    // By default repaints.
    virtual void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint);
    virtual void OnDraw(CDC* pDC) = 0;
    virtual void OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView);
    // Printing a document whose page count is unknown (the maximum page
    // left at 0xFFFF) stops after the first page.
    virtual void OnPrepareDC(CDC* pDC, CPrintInfo* pInfo = nullptr);

    // Printing: OnPreparePrinting (which calls DoPreparePrinting, the print
    // dialog), OnBeginPrinting, OnPrepareDC and OnPrint per page,
    // OnEndPrinting. Returns FALSE when the dialog was cancelled.
    BOOL PrintDocument(CPrintInfo* pInfo = nullptr);
    virtual BOOL OnPreparePrinting(CPrintInfo* pInfo);
    BOOL DoPreparePrinting(CPrintInfo* pInfo);
    virtual void OnBeginPrinting(CDC*, CPrintInfo*) {}
    virtual void OnPrint(CDC* pDC, CPrintInfo*) { OnDraw(pDC); }
    virtual void OnEndPrinting(CDC*, CPrintInfo*) {}

    // WS_HSCROLL/WS_VSCROLL views: the range and position of their own
    // bars are the window's (CWnd::SetScrollRange ...); the user's
    // actions arrive as OnHScroll/OnVScroll with the SB_* codes.

    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

protected:
    // WM_DESTROY: the frame lets go of the view first.
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void PostNcDestroy() override { delete this; }
    void OnPaint();
    void OnFilePrint();
    void OnFilePrintDirect();
    // Print preview: the same pages through the print service's preview.
    void OnFilePrintPreview();
    // Print setup: the print service's setup dialog.
    void OnFilePrintSetup();
    DECLARE_MESSAGE_MAP()

    CDocument* m_pDocument = nullptr; // not owned

private:
    friend class CDocument;
    // OnBeginPrinting, the pages (OnPrepareDC, OnPrint), OnEndPrinting.
    void PrintPages(CDC* pDC, CPrintInfo& info);
};
