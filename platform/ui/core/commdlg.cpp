#include "platform/ui/core/commdlg.h"

#include <cstdint>
#include <cstring>

IMPLEMENT_DYNAMIC(CCommonDialog, CDialog)
IMPLEMENT_DYNAMIC(CFileDialog, CCommonDialog)
IMPLEMENT_DYNAMIC(CFontDialog, CCommonDialog)
IMPLEMENT_DYNAMIC(CColorDialog, CCommonDialog)

namespace
{

// The last component of a path.
CString NameOf(const CString& path)
{
    const int slash = path.ReverseFind('/');
    return slash < 0 ? path : path.Mid(slash + 1);
}

// The offset of the extension's dot in a name, or -1.
int ExtensionDot(const CString& name)
{
    const int dot = name.ReverseFind('.');
    return dot <= 0 ? -1 : dot;
}

} // namespace

INT_PTR CCommonDialog::DoModal()
{
    m_bModal = TRUE;
    m_bEnded = FALSE;
    m_nModalResult = IDCANCEL;
    CModalHook* hook = AfxGetModalHook();
    if (!hook || !hook->RunModal(*this))
        EndDialog(RunService() ? IDOK : IDCANCEL);
    m_bModal = FALSE;
    return m_bEnded ? m_nModalResult : IDCANCEL;
}

// ---- CFileDialog ------------------------------------------------------------------

CFileDialog::CFileDialog(BOOL bOpenFileDialog, LPCTSTR lpszDefExt, LPCTSTR lpszFileName,
                         DWORD dwFlags, LPCTSTR lpszFilter, CWnd* pParentWnd)
    : CCommonDialog(pParentWnd), m_bOpenFileDialog(bOpenFileDialog),
      m_strDefExt(lpszDefExt ? lpszDefExt : ""), m_strFileName(lpszFileName ? lpszFileName : ""),
      m_strFilter(lpszFilter ? lpszFilter : "")
{
    m_ofn.Flags = dwFlags;
}

AfxFileDialogRequest CFileDialog::GetRequest() const
{
    AfxFileDialogRequest request;
    request.bOpenFileDialog = m_bOpenFileDialog;
    request.strDefExt = m_strDefExt;
    request.strFileName = m_strFileName;
    request.dwFlags = m_ofn.Flags;
    request.strFilter = m_strFilter;
    request.nFilterIndex = static_cast<int>(m_ofn.nFilterIndex);
    request.strInitialDir = m_ofn.lpstrInitialDir ? m_ofn.lpstrInitialDir : "";
    request.strTitle = m_ofn.lpstrTitle ? m_ofn.lpstrTitle : "";
    request.places = m_places;
    return request;
}

void CFileDialog::SetResult(const AfxFileDialogResult& result)
{
    m_paths.clear();
    if (result.bOK) {
        for (CString path : result.paths) {
            if (!m_strDefExt.IsEmpty() && ExtensionDot(NameOf(path)) < 0)
                path += "." + m_strDefExt;
            m_paths.push_back(path);
        }
        m_ofn.nFilterIndex = static_cast<DWORD>(result.nFilterIndex);
    }
    EndDialog(result.bOK && !m_paths.empty() ? IDOK : IDCANCEL);
}

BOOL CFileDialog::RunService()
{
    SetResult(AfxGetFileDialogService()->ShowFileDialog(GetRequest(), m_pParentWnd));
    return m_nModalResult == IDOK;
}

CString CFileDialog::GetPathName() const
{
    return m_paths.empty() ? CString() : m_paths.front();
}

CString CFileDialog::GetFileName() const
{
    return NameOf(GetPathName());
}

CString CFileDialog::GetFileExt() const
{
    const CString name = GetFileName();
    const int dot = ExtensionDot(name);
    return dot < 0 ? CString() : name.Mid(dot + 1);
}

CString CFileDialog::GetFileTitle() const
{
    const CString name = GetFileName();
    const int dot = ExtensionDot(name);
    return dot < 0 ? name : name.Left(dot);
}

POSITION CFileDialog::GetStartPosition() const
{
    return AfxFirstPosition(m_paths);
}

CString CFileDialog::GetNextPathName(POSITION& pos) const
{
    return AfxNextAt(m_paths, pos);
}

// ---- CFontDialog ------------------------------------------------------------------

CFontDialog::CFontDialog(LPLOGFONT lplfInitial, DWORD dwFlags, CDC*, CWnd* pParentWnd)
    : CCommonDialog(pParentWnd), m_lf{}
{
    if (lplfInitial) {
        m_lf = *lplfInitial;
        dwFlags |= CF_INITTOLOGFONTSTRUCT;
    }
    m_cf.Flags = dwFlags;
    m_cf.lpLogFont = &m_lf;
}

BOOL CFontDialog::RunService()
{
    LOGFONT lf = m_lf;
    if (!AfxGetFontDialogService()->ChooseFont(lf, m_pParentWnd))
        return FALSE;
    lf.lfFaceName[LF_FACESIZE - 1] = '\0'; // at most 31 characters
    m_lf = lf;
    return TRUE;
}

// ---- CColorDialog -----------------------------------------------------------------

CColorDialog::CColorDialog(COLORREF clrInit, DWORD dwFlags, CWnd* pParentWnd)
    : CCommonDialog(pParentWnd)
{
    m_cc.Flags = dwFlags | (clrInit ? CC_RGBINIT : 0);
    m_cc.rgbResult = clrInit;
}

BOOL CColorDialog::RunService()
{
    COLORREF clr = m_cc.rgbResult;
    if (!AfxGetColorDialogService()->ChooseColor(clr, m_pParentWnd))
        return FALSE;
    m_cc.rgbResult = clr;
    return TRUE;
}
