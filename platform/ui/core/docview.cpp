#include "platform/ui/core/docview.h"

#include <filesystem>

#include <algorithm>
#include <cerrno>
#include <cstdint>

#include "platform/afx/exceptions.h"
#include "platform/afx/message.h"
#include "platform/afx/numconv.h"
#include "platform/afx/safefile.h"
#include "platform/ui/core/doctemplate.h"
#include "platform/ui/core/frame.h"
#include "platform/ui/core/gdi.h"
#include "platform/ui/core/print.h"
#include "platform/ui/core/winapp.h"

IMPLEMENT_DYNAMIC(CDocument, CCmdTarget)
IMPLEMENT_DYNAMIC(CView, CWnd)

namespace
{

// A standard text with one "%s".
CString Prompt(UINT nID, const CString& arg = CString())
{
    CString format;
    AfxLoadString(nID, format);
    return CString(AfxFormat(format.GetString(), arg.GetString()).c_str());
}

CString FileNameOf(const CString& path)
{
    const int slash = path.ReverseFind('/');
    return slash < 0 ? path : path.Mid(slash + 1);
}

} // namespace

// ---- CDocument ----------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CDocument, CCmdTarget)
ON_COMMAND(ID_FILE_CLOSE, OnFileClose)
ON_COMMAND(ID_FILE_SAVE, OnFileSave)
ON_COMMAND(ID_FILE_SAVE_AS, OnFileSaveAs)
END_MESSAGE_MAP()

CDocument::~CDocument()
{
    // A document deleted while views still show it leaves them without one.
    for (CView* view : m_views)
        view->m_pDocument = nullptr;
    if (m_pDocTemplate)
        m_pDocTemplate->RemoveDocument(this);
}

void CDocument::SetTitle(LPCTSTR lpszTitle)
{
    m_strTitle = lpszTitle;
    UpdateFrameCounts();
}

void CDocument::UpdateFrameCounts()
{
    std::vector<CFrameWnd*> frames;
    for (CView* view : m_views) {
        CFrameWnd* frame = view->GetParentFrame();
        const CWndState* state = frame ? frame->GetState() : nullptr;
        // A frame on its way out no longer counts.
        if (state && !state->bDestroying &&
            std::find(frames.begin(), frames.end(), frame) == frames.end())
            frames.push_back(frame);
    }
    for (std::size_t i = 0; i < frames.size(); ++i)
        frames[i]->m_nWindow = frames.size() == 1 ? 0 : static_cast<int>(i) + 1;
    for (CFrameWnd* frame : frames)
        frame->OnUpdateFrameTitle(TRUE);
}

void CDocument::SetPathName(LPCTSTR lpszPathName, BOOL bAddToMRU)
{
    m_strPathName = AfxResolvePath(lpszPathName);
    SetTitle(FileNameOf(m_strPathName));
    if (bAddToMRU)
        if (CWinApp* app = AfxGetApp())
            app->AddToRecentFileList(m_strPathName);
}

void CDocument::AddView(CView* pView)
{
    if (std::find(m_views.begin(), m_views.end(), pView) != m_views.end())
        return;
    m_views.push_back(pView);
    pView->m_pDocument = this;
    UpdateFrameCounts();
}

void CDocument::RemoveView(CView* pView)
{
    const auto it = std::find(m_views.begin(), m_views.end(), pView);
    if (it == m_views.end())
        return;
    m_views.erase(it);
    pView->m_pDocument = nullptr;
    // An auto-delete document goes with its last view.
    if (m_views.empty() && m_bAutoDelete)
        OnCloseDocument();
    else
        UpdateFrameCounts();
}

POSITION CDocument::GetFirstViewPosition() const
{
    return AfxFirstPosition(m_views);
}

CView* CDocument::GetNextView(POSITION& rPosition) const
{
    return AfxNextAt(m_views, rPosition);
}

void CDocument::UpdateAllViews(CView* pSender, LPARAM lHint, CObject* pHint)
{
    const std::vector<CView*> views = m_views; // a view's update may change the list
    for (CView* view : views)
        if (view != pSender)
            view->OnUpdate(pSender, lHint, pHint);
}

BOOL CDocument::OnNewDocument()
{
    DeleteContents();
    m_strPathName.Empty();
    SetModifiedFlag(FALSE);
    return TRUE;
}

BOOL CDocument::OnOpenDocument(LPCTSTR lpszPathName)
{
    CFile file;
    CFileException openError;
    if (!file.Open(lpszPathName, CFile::modeRead | CFile::shareDenyWrite, &openError)) {
        // A folder, FIFO or device is refused without opening it (nothing
        // blocks); the message then says which kind it is.
        CString message = Prompt(AFX_IDP_FAILED_TO_OPEN_DOC, lpszPathName);
        if (openError.m_lOsError == EISDIR || openError.m_lOsError == ENXIO)
            message += CString("\n") + openError.GetErrorMessage();
        AfxMessageBox(message, MB_OK | MB_ICONEXCLAMATION);
        return FALSE;
    }
    // Dirty while loading; set directly, not through SetModifiedFlag, whose
    // overrides drop results: a refused file leaves the flag as it was.
    const BOOL wasModified = m_bModified;
    DeleteContents();
    m_bModified = TRUE;
    try {
        CArchive ar(&file, CArchive::load | CArchive::bNoFlushOnDelete);
        ar.m_pDocument = this;
        Serialize(ar);
        ar.Close();
    } catch (const CArchiveException&) {
        DeleteContents();
        m_bModified = wasModified;
        AfxMessageBox(Prompt(AFX_IDP_FAILED_INVALID_FORMAT), MB_OK | MB_ICONEXCLAMATION);
        return FALSE;
    } catch (const std::exception&) {
        DeleteContents();
        m_bModified = wasModified;
        AfxMessageBox(Prompt(AFX_IDP_FAILED_TO_OPEN_DOC, lpszPathName), MB_OK | MB_ICONEXCLAMATION);
        return FALSE;
    }
    SetModifiedFlag(FALSE);
    return TRUE;
}

BOOL CDocument::OnSaveDocument(LPCTSTR lpszPathName)
{
    try {
        afx::SafeFileWriter writer(lpszPathName);
        {
            CArchive ar(&writer.File(), CArchive::store | CArchive::bNoFlushOnDelete);
            ar.m_pDocument = this;
            try {
                Serialize(ar);
                ar.Close();
            } catch (...) {
                ar.Abort();
                throw;
            }
        }
        writer.Commit();
    } catch (const std::exception& e) {
        AfxMessageBox(Prompt(AFX_IDP_FAILED_TO_SAVE_DOC) + "\n" +
                          afx::SafeWriteMessage(e, lpszPathName),
                      MB_OK | MB_ICONEXCLAMATION);
        return FALSE;
    }
    SetModifiedFlag(FALSE);
    return TRUE;
}

void CDocument::OnCloseDocument()
{
    // The frames go first; the document must outlive them, so it is not
    // deleted when their views leave.
    const BOOL autoDelete = m_bAutoDelete;
    m_bAutoDelete = FALSE;
    while (!m_views.empty()) {
        CView* view = m_views.front();
        CFrameWnd* frame = view->GetParentFrame();
        if (frame && frame->GetSafeHwnd()) {
            PreCloseFrame(frame);
            frame->DestroyWindow();
        } else {
            view->DestroyWindow();
        }
        if (!m_views.empty() && m_views.front() == view)
            RemoveView(view); // a view without a window
    }
    m_bAutoDelete = autoDelete;
    DeleteContents();
    if (m_bAutoDelete)
        delete this;
}

BOOL CDocument::SaveModified()
{
    if (!IsModified())
        return TRUE;
    const CString name = m_strPathName.IsEmpty() ? m_strTitle : m_strPathName;
    switch (AfxMessageBox(Prompt(AFX_IDP_ASK_TO_SAVE, name), MB_YESNOCANCEL | MB_ICONEXCLAMATION)) {
    case IDCANCEL:
        return FALSE;
    case IDYES:
        return DoFileSave();
    default:
        return TRUE;
    }
}

BOOL CDocument::CanCloseFrame(CFrameWnd* pFrame)
{
    for (CView* view : m_views)
        if (view->GetParentFrame() != pFrame)
            return TRUE; // another frame still shows the document
    return SaveModified();
}

BOOL CDocument::DoSave(LPCTSTR lpszPathName, BOOL bReplace)
{
    CString newName = lpszPathName ? CString(lpszPathName) : CString();
    bool prompt = newName.IsEmpty();
    if (prompt)
        newName = m_strPathName.IsEmpty() ? m_strTitle : m_strPathName;
    for (;;) {
        if (prompt) {
            CWinApp* app = AfxGetApp();
            if (!app || !app->m_pDocManager ||
                !app->m_pDocManager->DoPromptFileName(
                    newName, FALSE, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, m_pDocTemplate))
                return FALSE;
        }
        // A file the user may not write (read-only, or in a folder without
        // write permission) is left as it is; the user may choose another.
        const CString refusal = afx::WriteRefusal(newName);
        if (refusal.IsEmpty())
            break;
        if (AfxMessageBox(refusal + "\nSave the document under another name?",
                          MB_OKCANCEL | MB_ICONEXCLAMATION) != IDOK)
            return FALSE;
        prompt = true;
    }
    if (!OnSaveDocument(newName))
        return FALSE;
    if (bReplace)
        SetPathName(newName);
    return TRUE;
}

BOOL CDocument::DoFileSave()
{
    return DoSave(m_strPathName.IsEmpty() ? nullptr : m_strPathName.GetString());
}

BOOL CDocument::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    if (CCmdTarget::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    return m_pDocTemplate && m_pDocTemplate->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

void CDocument::OnFileClose()
{
    if (!SaveModified())
        return;
    OnCloseDocument();
}

void CDocument::OnFileSave()
{
    DoFileSave();
}

void CDocument::OnFileSaveAs()
{
    DoSave(nullptr);
}

// ---- CView --------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CView, CWnd)
ON_WM_PAINT()
ON_COMMAND(ID_FILE_PRINT, OnFilePrint)
ON_COMMAND(ID_FILE_PRINT_DIRECT, OnFilePrintDirect)
ON_COMMAND(ID_FILE_PRINT_PREVIEW, OnFilePrintPreview)
ON_COMMAND(ID_FILE_PRINT_SETUP, OnFilePrintSetup)
END_MESSAGE_MAP()

CView::~CView()
{
    if (m_pDocument)
        m_pDocument->RemoveView(this);
}

CFrameWnd* CView::GetParentFrame() const
{
    for (CWnd* wnd = GetParent(); wnd; wnd = wnd->GetParent())
        if (auto* frame = dynamic_cast<CFrameWnd*>(wnd))
            return frame;
    return nullptr;
}

LRESULT CView::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DESTROY)
        if (CFrameWnd* frame = GetParentFrame(); frame && frame->GetActiveView() == this)
            frame->SetActiveView(nullptr, FALSE);
    return CWnd::WindowProc(message, wParam, lParam);
}

void CView::OnInitialUpdate()
{
    OnUpdate(nullptr, 0, nullptr);
}

void CView::OnUpdate(CView*, LPARAM, CObject*)
{
    Invalidate(TRUE);
}

void CView::OnActivateView(BOOL, CView*, CView*) {}

void CView::OnPaint()
{
    CPaintDC dc(this);
    OnPrepareDC(&dc);
    OnDraw(&dc);
}

void CView::OnPrepareDC(CDC*, CPrintInfo* pInfo)
{
    if (pInfo)
        pInfo->m_bContinuePrinting =
            pInfo->GetMaxPage() != 0xFFFF || pInfo->m_nCurPage == 1 ? TRUE : FALSE;
}

BOOL CView::OnPreparePrinting(CPrintInfo* pInfo)
{
    return DoPreparePrinting(pInfo);
}

BOOL CView::DoPreparePrinting(CPrintInfo* pInfo)
{
    if (pInfo->m_bDirect || pInfo->m_bPreview)
        return TRUE;
    return AfxGetPrintService()->ShowPrintDialog(pInfo->m_pd, this);
}

BOOL CView::PrintDocument(CPrintInfo* pInfo)
{
    CPrintInfo local;
    CPrintInfo& info = pInfo ? *pInfo : local;
    if (!OnPreparePrinting(&info))
        return FALSE;
    CDC* dc = AfxGetPrintService()->GetPrinterDC(info.m_pd);
    if (!dc)
        return FALSE;
    PrintPages(dc, info);
    AfxGetPrintService()->EndDoc(dc);
    return TRUE;
}

void CView::PrintPages(CDC* dc, CPrintInfo& info)
{
    info.m_rectDraw.SetRect(0, 0, dc->GetDeviceCaps(HORZRES), dc->GetDeviceCaps(VERTRES));
    OnBeginPrinting(dc, &info);
    const UINT from = std::max(info.GetFromPage(), info.GetMinPage());
    const UINT to = std::min(info.GetToPage(), info.GetMaxPage());
    for (info.m_nCurPage = from; info.m_nCurPage <= to; ++info.m_nCurPage) {
        OnPrepareDC(dc, &info);
        if (!info.m_bContinuePrinting)
            break;
        AfxGetPrintService()->StartPage(dc, info.m_nCurPage == from);
        OnPrint(dc, &info);
    }
    OnEndPrinting(dc, &info);
}

void CView::OnFilePrint()
{
    PrintDocument();
}

void CView::OnFilePrintDirect()
{
    // The printer as it stands, without the print dialog.
    CPrintInfo info;
    info.m_bDirect = TRUE;
    // Without a printer the pages go to a PDF file beside the document.
    if (m_pDocument && !m_pDocument->GetPathName().IsEmpty()) {
        std::filesystem::path pdf(m_pDocument->GetPathName().GetString());
        info.m_pd.strFallbackFile = pdf.replace_extension(".pdf").string().c_str();
    }
    PrintDocument(&info);
}

void CView::OnFilePrintPreview()
{
    CPrintInfo info;
    info.m_bPreview = TRUE;
    if (!OnPreparePrinting(&info))
        return;
    // Each repaint of the preview runs the pages anew.
    AfxGetPrintService()->ShowPreview(
        info.m_pd,
        [this, &info](CDC* dc) {
            CPrintInfo pages = info;
            PrintPages(dc, pages);
        },
        this);
}

void CView::OnFilePrintSetup()
{
    AfxPrintRequest request;
    request.bSetupOnly = TRUE;
    AfxGetPrintService()->ShowPrintDialog(request, this);
}

BOOL CView::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    return m_pDocument && m_pDocument->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}
