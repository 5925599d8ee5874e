#include "platform/ui/core/services.h"

#include <cstring>

#include "platform/afx/message.h"
#include "platform/ui/core/wnd.h"

// ---- The refusing defaults ----------------------------------------------------------

AfxFileDialogResult CFileDialogService::ShowFileDialog(const AfxFileDialogRequest& request, CWnd*)
{
    AfxFileDialogResult result;
    result.nFilterIndex = request.nFilterIndex;
    return result;
}

BOOL CFontDialogService::ChooseFont(LOGFONT&, CWnd*)
{
    return FALSE;
}

BOOL CColorDialogService::ChooseColor(COLORREF&, CWnd*)
{
    return FALSE;
}

UINT CPopupMenuService::TrackPopupMenu(const AfxMenu&, CPoint, CWnd*)
{
    return 0;
}

BOOL CClipboardService::SetDib(const BITMAPINFOHEADER&, const void*, std::size_t)
{
    return FALSE;
}

BOOL COpenerService::OpenFile(LPCTSTR)
{
    return FALSE;
}

void CBeepService::Beep(DWORD, DWORD) {}

void CCursorService::ShowWaitCursor(BOOL) {}

void AfxSetCursor(const AfxCursorResource* pCursor)
{
    AfxGetCursorService()->SetCursor(pCursor);
}

BOOL CPrintService::ShowPrintDialog(AfxPrintRequest&, CWnd*)
{
    return FALSE;
}

CDC* CPrintService::GetPrinterDC(const AfxPrintRequest&)
{
    return nullptr;
}

BOOL CPrintService::ShowPreview(const AfxPrintRequest&, const std::function<void(CDC*)>&, CWnd*)
{
    return FALSE;
}

BOOL CProfileService::GetInt(LPCTSTR, LPCTSTR, int&)
{
    return FALSE;
}

BOOL CProfileService::GetString(LPCTSTR, LPCTSTR, CString&)
{
    return FALSE;
}

BOOL CProfileService::GetBinary(LPCTSTR, LPCTSTR, std::vector<BYTE>&)
{
    return FALSE;
}

BOOL CProfileService::WriteInt(LPCTSTR, LPCTSTR, int)
{
    return FALSE;
}

BOOL CProfileService::WriteString(LPCTSTR, LPCTSTR, LPCTSTR)
{
    return FALSE;
}

BOOL CProfileService::WriteBinary(LPCTSTR, LPCTSTR, const BYTE*, UINT)
{
    return FALSE;
}

// ---- Installation -------------------------------------------------------------------

namespace
{

// One slot per service: the installed one (not owned) or the default.
template <class Service> struct Slot {
    Service* installed = nullptr;
    Service fallback;

    Service* Set(Service* p)
    {
        Service* old = Get();
        installed = p;
        return old;
    }
    Service* Get() { return installed ? installed : &fallback; }
};

template <class Service> Slot<Service>& SlotOf()
{
    static Slot<Service> slot;
    return slot;
}

int g_waitDepth = 0;

} // namespace

#define AFX_SERVICE_ACCESSORS(Type, Name)                                                          \
    Type* AfxSet##Name##Service(Type* pService)                                                    \
    {                                                                                              \
        return SlotOf<Type>().Set(pService);                                                       \
    }                                                                                              \
    Type* AfxGet##Name##Service()                                                                  \
    {                                                                                              \
        return SlotOf<Type>().Get();                                                               \
    }

AFX_SERVICE_ACCESSORS(CFileDialogService, FileDialog)
AFX_SERVICE_ACCESSORS(CFontDialogService, FontDialog)
AFX_SERVICE_ACCESSORS(CColorDialogService, ColorDialog)
AFX_SERVICE_ACCESSORS(CPopupMenuService, PopupMenu)
AFX_SERVICE_ACCESSORS(CClipboardService, Clipboard)
AFX_SERVICE_ACCESSORS(COpenerService, Opener)
AFX_SERVICE_ACCESSORS(CBeepService, Beep)
AFX_SERVICE_ACCESSORS(CCursorService, Cursor)
AFX_SERVICE_ACCESSORS(CPrintService, Print)
AFX_SERVICE_ACCESSORS(CProfileService, Profile)

#undef AFX_SERVICE_ACCESSORS

// ---- Profile calls --------------------------------------------------------------------

UINT AfxGetProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nDefault)
{
    int value = nDefault;
    if (!AfxGetProfileService()->GetInt(lpszSection, lpszEntry, value))
        value = nDefault;
    return static_cast<UINT>(value);
}

CString AfxGetProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszDefault)
{
    CString value;
    if (!AfxGetProfileService()->GetString(lpszSection, lpszEntry, value))
        value = lpszDefault;
    return value;
}

BOOL AfxGetProfileBinary(LPCTSTR lpszSection, LPCTSTR lpszEntry, BYTE** ppData, UINT* pBytes)
{
    *ppData = nullptr;
    *pBytes = 0;
    std::vector<BYTE> data;
    if (!AfxGetProfileService()->GetBinary(lpszSection, lpszEntry, data))
        return FALSE;
    *ppData = new BYTE[data.empty() ? 1 : data.size()];
    if (!data.empty())
        std::memcpy(*ppData, data.data(), data.size());
    *pBytes = static_cast<UINT>(data.size());
    return TRUE;
}

BOOL AfxWriteProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nValue)
{
    return AfxGetProfileService()->WriteInt(lpszSection, lpszEntry, nValue);
}

BOOL AfxWriteProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszValue)
{
    return AfxGetProfileService()->WriteString(lpszSection, lpszEntry, lpszValue);
}

BOOL AfxWriteProfileBinary(LPCTSTR lpszSection, LPCTSTR lpszEntry, const BYTE* pData, UINT nBytes)
{
    return AfxGetProfileService()->WriteBinary(lpszSection, lpszEntry, pData, nBytes);
}

// ---- Wait cursor ----------------------------------------------------------------------

void AfxBeginWaitCursor()
{
    if (g_waitDepth++ == 0)
        AfxGetCursorService()->ShowWaitCursor(TRUE);
}

void AfxEndWaitCursor()
{
    if (g_waitDepth == 0)
        return;
    if (--g_waitDepth == 0)
        AfxGetCursorService()->ShowWaitCursor(FALSE);
}

int AfxGetWaitCursorDepth()
{
    return g_waitDepth;
}

AfxServiceSet AfxInstallServices(const AfxServiceSet& services)
{
    AfxServiceSet previous;
    previous.pBackend = AfxSetWndBackend(services.pBackend);
    previous.pMessages = AfxSetMessageService(services.pMessages);
    previous.pFileDialogs = AfxSetFileDialogService(services.pFileDialogs);
    previous.pFontDialogs = AfxSetFontDialogService(services.pFontDialogs);
    previous.pColorDialogs = AfxSetColorDialogService(services.pColorDialogs);
    previous.pPopupMenus = AfxSetPopupMenuService(services.pPopupMenus);
    previous.pPrint = AfxSetPrintService(services.pPrint);
    previous.pClipboard = AfxSetClipboardService(services.pClipboard);
    previous.pOpener = AfxSetOpenerService(services.pOpener);
    previous.pBeep = AfxSetBeepService(services.pBeep);
    previous.pCursor = AfxSetCursorService(services.pCursor);
    previous.pProfile = AfxSetProfileService(services.pProfile);
    return previous;
}
