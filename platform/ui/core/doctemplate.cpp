#include "platform/ui/core/doctemplate.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <limits.h>
#include <stdexcept>

#include "platform/afx/numconv.h"
#include "platform/ui/core/frame.h"
#include "platform/ui/core/resources.h"
#include "platform/ui/core/services.h"

IMPLEMENT_DYNAMIC(CDocTemplate, CCmdTarget)
IMPLEMENT_DYNAMIC(CMultiDocTemplate, CDocTemplate)

namespace
{

bool SameIgnoringCase(const CString& a, const CString& b)
{
    if (a.GetLength() != b.GetLength())
        return false;
    for (int i = 0; i < a.GetLength(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

// The extension of a path's file name with its dot, or empty.
CString ExtensionOf(const CString& path)
{
    const int slash = path.ReverseFind('/');
    const int dot = path.ReverseFind('.');
    return dot > slash + 1 ? path.Mid(dot) : CString();
}

} // namespace

CString AfxResolvePath(LPCTSTR lpszPath)
{
    if (!lpszPath || !*lpszPath)
        return CString();
    if (char* real = ::realpath(lpszPath, nullptr)) {
        CString resolved(real);
        std::free(real);
        return resolved;
    }
    return lpszPath;
}

CString AfxMakeTemplateFilter(const CString& strDescription, const CString& strExt)
{
    CString description = strDescription;
    description.TrimRight();
    if (description.Right(1) == ")") {
        const int open = description.ReverseFind('(');
        if (open >= 0) {
            description = description.Left(open);
            description.TrimRight();
        }
    }
    const CString pattern = "*" + strExt;
    return description + " (" + pattern + ")|" + pattern + "|";
}

// ---- CDocTemplate -------------------------------------------------------------------

CDocTemplate::CDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                           CRuntimeClass* pViewClass)
    : m_pDocClass(pDocClass), m_pFrameClass(pFrameClass), m_pViewClass(pViewClass),
      m_nIDResource(nIDResource)
{
    AfxLoadString(nIDResource, m_strDocStrings);
}

CDocTemplate::~CDocTemplate()
{
    while (!m_docs.empty()) {
        CDocument* doc = m_docs.back();
        doc->m_bAutoDelete = TRUE;
        doc->OnCloseDocument(); // deletes it, which takes it off the list
        if (!m_docs.empty() && m_docs.back() == doc)
            m_docs.pop_back();
    }
}

void CDocTemplate::SetDocStrings(LPCTSTR lpszDocStrings)
{
    m_strDocStrings = lpszDocStrings;
}

BOOL CDocTemplate::GetDocString(CString& rString, DocStringIndex index) const
{
    return AfxExtractSubString(rString, m_strDocStrings, static_cast<int>(index), '\n');
}

void CDocTemplate::AddOpenExtension(LPCTSTR lpszExt)
{
    m_openExtensions.push_back(lpszExt);
}

CDocTemplate::Confidence CDocTemplate::MatchDocType(LPCTSTR lpszPathName, CDocument*& rpDocMatch)
{
    rpDocMatch = nullptr;
    const CString resolved = AfxResolvePath(lpszPathName);
    for (CDocument* doc : m_docs)
        if (!doc->GetPathName().IsEmpty() && doc->GetPathName() == resolved) {
            rpDocMatch = doc;
            return yesAlreadyOpen;
        }
    const CString ext = ExtensionOf(lpszPathName);
    if (ext.IsEmpty())
        return noAttempt;
    CString own;
    if (GetDocString(own, filterExt) && SameIgnoringCase(own, ext))
        return yesAttemptNative;
    for (const CString& extra : m_openExtensions)
        if (SameIgnoringCase(extra, ext))
            return yesAttemptNative;
    return noAttempt;
}

CString CDocTemplate::GetFilter() const
{
    CString description, ext;
    if (!GetDocString(description, filterName) || !GetDocString(ext, filterExt) || ext.IsEmpty())
        return CString();
    return AfxMakeTemplateFilter(description, ext);
}

POSITION CDocTemplate::GetFirstDocPosition() const
{
    return AfxFirstPosition(m_docs);
}

CDocument* CDocTemplate::GetNextDoc(POSITION& rPos) const
{
    return AfxNextAt(m_docs, rPos);
}

void CDocTemplate::AddDocument(CDocument* pDoc)
{
    m_docs.push_back(pDoc);
    pDoc->m_pDocTemplate = this;
}

void CDocTemplate::RemoveDocument(CDocument* pDoc)
{
    const auto it = std::find(m_docs.begin(), m_docs.end(), pDoc);
    if (it != m_docs.end())
        m_docs.erase(it);
    pDoc->m_pDocTemplate = nullptr;
}

CDocument* CDocTemplate::CreateNewDocument()
{
    CObject* object = m_pDocClass ? m_pDocClass->CreateObject() : nullptr;
    auto* doc = dynamic_cast<CDocument*>(object);
    if (!doc) {
        delete object;
        throw std::logic_error("a document template needs a dynamically creatable document class");
    }
    AddDocument(doc);
    return doc;
}

CFrameWnd* CDocTemplate::CreateNewFrame(CDocument* pDoc, CFrameWnd* pOther)
{
    CCreateContext context;
    context.m_pCurrentFrame = pOther;
    context.m_pCurrentDoc = pDoc;
    context.m_pNewViewClass = m_pViewClass;
    context.m_pNewDocTemplate = this;
    CObject* object = m_pFrameClass ? m_pFrameClass->CreateObject() : nullptr;
    auto* frame = dynamic_cast<CFrameWnd*>(object);
    if (!frame) {
        delete object;
        throw std::logic_error("a document template needs a dynamically creatable frame class");
    }
    // A frame whose window could not be made has deleted itself.
    if (!frame->LoadFrame(m_nIDResource, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, nullptr, &context))
        return nullptr;
    return frame;
}

void CDocTemplate::InitialUpdateFrame(CFrameWnd* pFrame, CDocument* pDoc, BOOL bMakeVisible)
{
    pFrame->InitialUpdateFrame(pDoc, bMakeVisible);
}

void CDocTemplate::SetDefaultTitle(CDocument* pDocument)
{
    CString name;
    if (!GetDocString(name, docName) || name.IsEmpty())
        name = "Untitled";
    pDocument->SetTitle(name + CString(AfxFormat("%d", m_nUntitledCount + 1).c_str()));
}

BOOL CDocTemplate::SaveAllModified()
{
    const std::vector<CDocument*> docs = m_docs;
    for (CDocument* doc : docs)
        if (!doc->SaveModified())
            return FALSE;
    return TRUE;
}

void CDocTemplate::CloseAllDocuments(BOOL)
{
    while (!m_docs.empty()) {
        CDocument* doc = m_docs.front();
        const BOOL autoDelete = doc->m_bAutoDelete;
        doc->OnCloseDocument();
        if (!autoDelete && !m_docs.empty() && m_docs.front() == doc)
            RemoveDocument(doc); // a document its owner keeps
    }
}

// ---- CMultiDocTemplate ---------------------------------------------------------------

CDocument* CMultiDocTemplate::OpenDocumentFile(LPCTSTR lpszPathName, BOOL bMakeVisible)
{
    CDocument* doc = CreateNewDocument();
    // Until a frame shows it, the document is this function's to delete.
    const BOOL autoDelete = doc->m_bAutoDelete;
    doc->m_bAutoDelete = FALSE;
    CFrameWnd* frame = CreateNewFrame(doc, nullptr);
    doc->m_bAutoDelete = autoDelete;
    if (!frame) {
        delete doc;
        return nullptr;
    }
    // From here on the document goes with its views when the frame goes.
    const bool opened = [&] {
        if (!lpszPathName) {
            SetDefaultTitle(doc);
            return doc->OnNewDocument() != FALSE;
        }
        CWaitCursor wait;
        return doc->OnOpenDocument(lpszPathName) != FALSE;
    }();
    if (!opened) {
        doc->m_bAutoDelete = TRUE;
        frame->DestroyWindow(); // the views go, and the document with the last one
        if (std::find(m_docs.begin(), m_docs.end(), doc) != m_docs.end())
            delete doc; // a frame without views
        return nullptr;
    }
    if (!lpszPathName)
        ++m_nUntitledCount;
    else
        doc->SetPathName(lpszPathName);
    InitialUpdateFrame(frame, doc, bMakeVisible);
    return doc;
}
