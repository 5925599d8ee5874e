// Document templates: a document class paired with its frame and view
// classes and a resource id (the string, menu and icon of the documents).
//
// The template string holds seven fields separated by "\n": window title,
// document name, new-file name, filter description, filter extension,
// file-type id and file-type name. New documents are titled after the
// document name and a count kept per template ("Plate1", "Plate2").
//
// The extension field decides both what a filter shows and what it
// matches: the patterns in parentheses at the end of the description are
// replaced by it, so a description "(*.csh)" with the extension ".chl"
// shows and matches "*.chl". Further extensions can be accepted on open.
#pragma once

#include <vector>

#include "platform/ui/core/docview.h"

class CFrameWnd;

class CDocTemplate : public CCmdTarget
{
    DECLARE_DYNAMIC(CDocTemplate)
public:
    enum DocStringIndex {
        windowTitle,
        docName,
        fileNewName,
        filterName,
        filterExt,
        regFileTypeId,
        regFileTypeName,
    };
    enum Confidence {
        noAttempt,
        maybeAttemptForeign,
        maybeAttemptNative,
        yesAttemptForeign,
        yesAttemptNative,
        yesAlreadyOpen
    };

    // The classes are not owned; the string comes from string resource
    // nIDResource, which also names the frame's menu.
    CDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                 CRuntimeClass* pViewClass);
    // Deletes the documents still open (their frames go first).
    ~CDocTemplate() override;

    UINT GetResourceID() const { return m_nIDResource; }
    BOOL GetDocString(CString& rString, DocStringIndex index) const;
    // The template string itself (it is read from the resources at
    // construction; tests and programs may set it again).
    void SetDocStrings(LPCTSTR lpszDocStrings);
    // Accepts files with this extension on open as well (".csh").
    void AddOpenExtension(LPCTSTR lpszExt);

    // yesAlreadyOpen (rpDocMatch set) when a document of this template has
    // the path (links resolved), yesAttemptNative when the extension is one
    // of the template's, ignoring case, else noAttempt.
    virtual Confidence MatchDocType(LPCTSTR lpszPathName, CDocument*& rpDocMatch);
    // "description (*.ext)|*.ext|" for a file dialog's filter.
    CString GetFilter() const;

    const std::vector<CDocument*>& GetDocuments() const { return m_docs; }
    POSITION GetFirstDocPosition() const;
    CDocument* GetNextDoc(POSITION& rPos) const;
    void AddDocument(CDocument* pDoc);
    void RemoveDocument(CDocument* pDoc);

    virtual CDocument* CreateNewDocument();
    // Makes a frame (LoadFrame with a CCreateContext) for pDoc; pOther, when
    // given, supplies the frame class to copy. Null on failure.
    virtual CFrameWnd* CreateNewFrame(CDocument* pDoc, CFrameWnd* pOther);
    virtual void InitialUpdateFrame(CFrameWnd* pFrame, CDocument* pDoc, BOOL bMakeVisible = TRUE);
    // A new document (null path) or the file, in a new frame; null on
    // failure, with nothing left behind.
    virtual CDocument* OpenDocumentFile(LPCTSTR lpszPathName, BOOL bMakeVisible = TRUE) = 0;
    virtual void SetDefaultTitle(CDocument* pDocument);
    // SaveModified of every document; FALSE as soon as one refuses.
    BOOL SaveAllModified();
    void CloseAllDocuments(BOOL bEndSession);

    CRuntimeClass* m_pDocClass;
    CRuntimeClass* m_pFrameClass;
    CRuntimeClass* m_pViewClass;

protected:
    UINT m_nIDResource;
    CString m_strDocStrings;
    std::vector<CString> m_openExtensions; // beyond the extension field
    std::vector<CDocument*> m_docs;        // not owned here; see the destructor
    int m_nUntitledCount = 0;
};

class CMultiDocTemplate : public CDocTemplate
{
    DECLARE_DYNAMIC(CMultiDocTemplate)
public:
    using CDocTemplate::CDocTemplate;
    CDocument* OpenDocumentFile(LPCTSTR lpszPathName, BOOL bMakeVisible = TRUE) override;
};

// The filter of a template's description and extension: the description's
// trailing "(...)" replaced by "(*<ext>)", then "|*<ext>|".
CString AfxMakeTemplateFilter(const CString& strDescription, const CString& strExt);
// A path with its links resolved, for comparing files (the path itself
// when it does not exist).
CString AfxResolvePath(LPCTSTR lpszPath);
