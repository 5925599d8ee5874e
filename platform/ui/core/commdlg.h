// The common dialogs: file, font and colour. Each runs through its desktop
// service (services.h); DoModal asks the modal hook first, so a test script
// can answer a file dialog in line with the other modal steps. The layer
// completes what every service gives back the same way: a bare file name
// gets the default extension, a face name is cut to 31 characters.
#pragma once

#include <vector>

#include "platform/ui/core/dialog.h"
#include "platform/ui/core/services.h"

// A dialog that runs through a service instead of a window of its own.
class CCommonDialog : public CDialog
{
    DECLARE_DYNAMIC(CCommonDialog)
public:
    explicit CCommonDialog(CWnd* pParentWnd) : CDialog(0, pParentWnd) {}
    // IDOK or IDCANCEL.
    INT_PTR DoModal() override;

protected:
    // Shows the service's dialog; TRUE on OK.
    virtual BOOL RunService() = 0;
};

// ---- File dialog ------------------------------------------------------------------

struct AfxOpenFileName {
    DWORD Flags = 0;                   // OFN_*
    DWORD nFilterIndex = 1;            // 1-based, in and out
    LPCTSTR lpstrInitialDir = nullptr; // the caller keeps the text alive
    LPCTSTR lpstrTitle = nullptr;
};

class CFileDialog : public CCommonDialog
{
    DECLARE_DYNAMIC(CFileDialog)
public:
    // The filter is "description|pattern|...||".
    explicit CFileDialog(BOOL bOpenFileDialog, LPCTSTR lpszDefExt = nullptr,
                         LPCTSTR lpszFileName = nullptr,
                         DWORD dwFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                         LPCTSTR lpszFilter = nullptr, CWnd* pParentWnd = nullptr);

    AfxOpenFileName m_ofn;
    // Folders offered in the dialog's list of places, beside the start folder.
    std::vector<CString> m_places;

    // What the dialog asks the service (or a test script) for.
    AfxFileDialogRequest GetRequest() const;
    // Takes the answer: the paths (bare names get the default extension) and
    // the filter index; ends the dialog with IDOK, or IDCANCEL when not OK.
    void SetResult(const AfxFileDialogResult& result);

    // The first path chosen, its name, extension (without the dot) and the
    // name without extension.
    CString GetPathName() const;
    CString GetFileName() const;
    CString GetFileExt() const;
    CString GetFileTitle() const;
    // Every path of a multiple selection, in order.
    POSITION GetStartPosition() const;
    CString GetNextPathName(POSITION& pos) const;
    const std::vector<CString>& GetPathNames() const { return m_paths; }

protected:
    BOOL RunService() override;

private:
    BOOL m_bOpenFileDialog;
    CString m_strDefExt, m_strFileName, m_strFilter;
    std::vector<CString> m_paths;
};

// ---- Font dialog ------------------------------------------------------------------

constexpr DWORD CF_SCREENFONTS = 0x00000001;
constexpr DWORD CF_PRINTERFONTS = 0x00000002;
constexpr DWORD CF_INITTOLOGFONTSTRUCT = 0x00000040;
constexpr DWORD CF_EFFECTS = 0x00000100;

struct AfxChooseFont {
    DWORD Flags = 0;
    LPLOGFONT lpLogFont = nullptr; // the dialog's m_lf
};

class CFontDialog : public CCommonDialog
{
    DECLARE_DYNAMIC(CFontDialog)
public:
    // Starts from *lplfInitial when given. The height is in pixels; a
    // negative one is the character height.
    explicit CFontDialog(LPLOGFONT lplfInitial = nullptr,
                         DWORD dwFlags = CF_EFFECTS | CF_SCREENFONTS, CDC* pdcPrinter = nullptr,
                         CWnd* pParentWnd = nullptr);

    AfxChooseFont m_cf;
    LOGFONT m_lf;

    void GetCurrentFont(LPLOGFONT lplf) const { *lplf = m_lf; }
    CString GetFaceName() const { return m_lf.lfFaceName; }
    int GetWeight() const { return m_lf.lfWeight; }
    BOOL IsItalic() const { return m_lf.lfItalic ? TRUE : FALSE; }
    BOOL IsUnderline() const { return m_lf.lfUnderline ? TRUE : FALSE; }
    BOOL IsStrikeOut() const { return m_lf.lfStrikeOut ? TRUE : FALSE; }

protected:
    BOOL RunService() override;
};

// ---- Colour dialog ----------------------------------------------------------------

constexpr DWORD CC_RGBINIT = 0x00000001;
constexpr DWORD CC_FULLOPEN = 0x00000002;

struct AfxChooseColor {
    DWORD Flags = 0;
    COLORREF rgbResult = 0;
};

class CColorDialog : public CCommonDialog
{
    DECLARE_DYNAMIC(CColorDialog)
public:
    explicit CColorDialog(COLORREF clrInit = 0, DWORD dwFlags = 0, CWnd* pParentWnd = nullptr);

    AfxChooseColor m_cc;

    COLORREF GetColor() const { return m_cc.rgbResult; }
    void SetCurrentColor(COLORREF clr) { m_cc.rgbResult = clr; }

protected:
    BOOL RunService() override;
};
