// The services through which the layer reaches the desktop, one interface
// each, replaceable like the message service of platform/afx/message.h
// (which is the message-box service: AfxSetMessageService). The program
// installs the Qt implementations, tests the scripted ones of
// platform/ui/headless. With none installed, each service is its base class,
// which refuses: dialogs are cancelled, popup menus dismissed, profile reads
// give the caller's default and writes are dropped, the clipboard and the
// opener fail, beeps and cursors do nothing.
//
// AfxSet*Service installs a service (not owned; null: the refusing default)
// and returns the one it replaces; the caller uninstalls it before
// destroying it.
#pragma once

#include <functional>
#include <vector>

#include "platform/afx/cstring.h"
#include "platform/afx/gdi.h"
#include "platform/ui/core/resources.h"
#include "platform/ui/core/uitypes.h"

class CWnd;
class CWndBackend;
class CMessageService;

// ---- File dialogs ---------------------------------------------------------------
constexpr DWORD OFN_READONLY = 0x00000001;
constexpr DWORD OFN_OVERWRITEPROMPT = 0x00000002;
constexpr DWORD OFN_HIDEREADONLY = 0x00000004;
constexpr DWORD OFN_NOCHANGEDIR = 0x00000008;
constexpr DWORD OFN_ALLOWMULTISELECT = 0x00000200;
constexpr DWORD OFN_PATHMUSTEXIST = 0x00000800;
constexpr DWORD OFN_FILEMUSTEXIST = 0x00001000;
constexpr DWORD OFN_EXPLORER = 0x00080000;

struct AfxFileDialogRequest {
    BOOL bOpenFileDialog = TRUE; // FALSE: a save dialog
    CString strDefExt;           // without the dot
    CString strFileName;         // initial name
    DWORD dwFlags = 0;           // OFN_*
    CString strFilter;           // "description|pattern|...||"
    int nFilterIndex = 1;        // initial filter, 1-based
    CString strInitialDir;
    CString strTitle;
    std::vector<CString> places; // further folders the dialog offers beside its own
};

struct AfxFileDialogResult {
    BOOL bOK = FALSE;
    std::vector<CString> paths; // one unless OFN_ALLOWMULTISELECT
    int nFilterIndex = 1;       // the filter chosen, 1-based
};

class CFileDialogService
{
public:
    virtual ~CFileDialogService() = default;
    virtual AfxFileDialogResult ShowFileDialog(const AfxFileDialogRequest& request, CWnd* pParent);
};

// ---- Font and colour dialogs ---------------------------------------------------
class CFontDialogService
{
public:
    virtual ~CFontDialogService() = default;
    // Starts from lf and writes the chosen font there; FALSE when cancelled.
    virtual BOOL ChooseFont(LOGFONT& lf, CWnd* pParent);
};

class CColorDialogService
{
public:
    virtual ~CColorDialogService() = default;
    // Starts from clr and writes the chosen colour there; FALSE when cancelled.
    virtual BOOL ChooseColor(COLORREF& clr, CWnd* pParent);
};

// ---- Popup menus ------------------------------------------------------------------
class CPopupMenuService
{
public:
    virtual ~CPopupMenuService() = default;
    // Shows the menu (already updated) at a screen point; returns the current
    // id of the item chosen, 0 when the menu was dismissed.
    virtual UINT TrackPopupMenu(const AfxMenu& menu, CPoint ptScreen, CWnd* pOwner);
};

// ---- Clipboard, opener, beep, cursor --------------------------------------------
class CClipboardService
{
public:
    virtual ~CClipboardService() = default;
    // Puts a bottom-up DIB (header and pixel rows) on the clipboard.
    virtual BOOL SetDib(const BITMAPINFOHEADER& header, const void* pBits, std::size_t nBytes);
};

class COpenerService
{
public:
    virtual ~COpenerService() = default;
    // Opens a file with the desktop's default program.
    virtual BOOL OpenFile(LPCTSTR lpszPath);
};

class CBeepService
{
public:
    virtual ~CBeepService() = default;
    virtual void Beep(DWORD dwFreq, DWORD dwDuration);
};

class CCursorService
{
public:
    virtual ~CCursorService() = default;
    // Shows or lifts the wait cursor (the layer counts the nesting).
    virtual void ShowWaitCursor(BOOL bShow);
    // The cursor over the window under the mouse, as a view sets it in its
    // WM_SETCURSOR (null: the arrow).
    virtual void SetCursor(const AfxCursorResource* /*pCursor*/) {}
};

// ---- Printing ----------------------------------------------------------------------
struct AfxPrintRequest {
    BOOL bSetupOnly = FALSE; // the print-setup dialog: no page range
    int nMinPage = 1;
    int nMaxPage = 0xFFFF;
    int nFromPage = 1;
    int nToPage = 0xFFFF;
    int nCopies = 1;
    BOOL bPrintToFile = FALSE;
    CString strOutputFile;
    CString strPrinterName;
    // Printing without the dialog where no printer exists writes this PDF
    // file instead (empty: nothing is printed then).
    CString strFallbackFile;
};

class CPrintService
{
public:
    virtual ~CPrintService() = default;
    // Lets the user choose the printer and range; FALSE when cancelled.
    virtual BOOL ShowPrintDialog(AfxPrintRequest& request, CWnd* pParent);
    // The device context of the printer chosen, owned by the service and
    // valid until the next call; null when there is none (the base).
    virtual CDC* GetPrinterDC(const AfxPrintRequest& request);
    // A page is about to be printed on pDC; every page after the first
    // starts a new sheet.
    virtual void StartPage(CDC* /*pDC*/, BOOL /*bFirst*/) {}
    // The print run on pDC is over: the document is complete (a file
    // written) before this returns.
    virtual void EndDoc(CDC* /*pDC*/) {}
    // Shows the pages in a preview window until the user closes it; paint
    // draws the pages on the context it is given, whenever the preview
    // needs them. FALSE when there is no preview (the base).
    virtual BOOL ShowPreview(const AfxPrintRequest& request,
                             const std::function<void(CDC*)>& paint, CWnd* pParent);
};

// ---- Profile (user settings by section and entry) -------------------------------
class CProfileService
{
public:
    virtual ~CProfileService() = default;
    // Reads give FALSE when the entry is missing; names are used as given.
    virtual BOOL GetInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int& nValue);
    virtual BOOL GetString(LPCTSTR lpszSection, LPCTSTR lpszEntry, CString& strValue);
    virtual BOOL GetBinary(LPCTSTR lpszSection, LPCTSTR lpszEntry, std::vector<BYTE>& data);
    virtual BOOL WriteInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nValue);
    virtual BOOL WriteString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszValue);
    virtual BOOL WriteBinary(LPCTSTR lpszSection, LPCTSTR lpszEntry, const BYTE* pData,
                             UINT nBytes);
};

CFileDialogService* AfxSetFileDialogService(CFileDialogService* pService);
CFileDialogService* AfxGetFileDialogService();
CFontDialogService* AfxSetFontDialogService(CFontDialogService* pService);
CFontDialogService* AfxGetFontDialogService();
CColorDialogService* AfxSetColorDialogService(CColorDialogService* pService);
CColorDialogService* AfxGetColorDialogService();
CPopupMenuService* AfxSetPopupMenuService(CPopupMenuService* pService);
CPopupMenuService* AfxGetPopupMenuService();
CClipboardService* AfxSetClipboardService(CClipboardService* pService);
CClipboardService* AfxGetClipboardService();
COpenerService* AfxSetOpenerService(COpenerService* pService);
COpenerService* AfxGetOpenerService();
CBeepService* AfxSetBeepService(CBeepService* pService);
CBeepService* AfxGetBeepService();
CCursorService* AfxSetCursorService(CCursorService* pService);
CCursorService* AfxGetCursorService();
CPrintService* AfxSetPrintService(CPrintService* pService);
CPrintService* AfxGetPrintService();
CProfileService* AfxSetProfileService(CProfileService* pService);
CProfileService* AfxGetProfileService();

// The profile calls of the application, through the profile service. A
// missing entry gives the default. AfxGetProfileBinary allocates *ppData with
// new[] (the caller deletes it) and gives FALSE, null and 0 when missing.
UINT AfxGetProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nDefault);
CString AfxGetProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszDefault = nullptr);
BOOL AfxGetProfileBinary(LPCTSTR lpszSection, LPCTSTR lpszEntry, BYTE** ppData, UINT* pBytes);
BOOL AfxWriteProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nValue);
BOOL AfxWriteProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszValue);
BOOL AfxWriteProfileBinary(LPCTSTR lpszSection, LPCTSTR lpszEntry, const BYTE* pData, UINT nBytes);

// The wait cursor, counted: it shows from the first Begin until the matching
// End. An End without a Begin does nothing.
void AfxBeginWaitCursor();
void AfxEndWaitCursor();
int AfxGetWaitCursorDepth();
// Sets the cursor through the cursor service (see CCursorService::SetCursor).
void AfxSetCursor(const AfxCursorResource* pCursor);

// Shows the wait cursor for the lifetime of the scope.
class CWaitCursor
{
public:
    CWaitCursor() { AfxBeginWaitCursor(); }
    ~CWaitCursor() { AfxEndWaitCursor(); }
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;
    void Restore() {}
};

// ---- A whole environment ---------------------------------------------------------
// A backend and one implementation of each service, as the program or a
// test environment installs them (null: no backend, the default service).
struct AfxServiceSet {
    CWndBackend* pBackend = nullptr;
    CMessageService* pMessages = nullptr;
    CFileDialogService* pFileDialogs = nullptr;
    CFontDialogService* pFontDialogs = nullptr;
    CColorDialogService* pColorDialogs = nullptr;
    CPopupMenuService* pPopupMenus = nullptr;
    CPrintService* pPrint = nullptr;
    CClipboardService* pClipboard = nullptr;
    COpenerService* pOpener = nullptr;
    CBeepService* pBeep = nullptr;
    CCursorService* pCursor = nullptr;
    CProfileService* pProfile = nullptr;
};
// Installs the whole set and returns the set it replaced: installing that
// one puts everything back.
AfxServiceSet AfxInstallServices(const AfxServiceSet& services);
