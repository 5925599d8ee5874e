#include "platform/afx/message.h"

#include <atomic>
#include <cstdio>

namespace
{

class StderrMessageService : public CMessageService
{
public:
    int MessageBox(LPCTSTR lpszText, LPCTSTR lpszCaption, UINT nType) override
    {
        if (lpszCaption && *lpszCaption)
            std::fprintf(stderr, "%s: %s\n", lpszCaption, lpszText ? lpszText : "");
        else
            std::fprintf(stderr, "%s\n", lpszText ? lpszText : "");
        std::fflush(stderr);
        return AfxDefaultAnswer(nType);
    }
};

StderrMessageService g_default;
std::atomic<CMessageService*> g_service{nullptr};

} // namespace

CMessageService* AfxSetMessageService(CMessageService* pService)
{
    CMessageService* old = g_service.exchange(pService);
    return old ? old : &g_default;
}

CMessageService* AfxGetMessageService()
{
    CMessageService* s = g_service.load();
    return s ? s : &g_default;
}

int AfxDefaultAnswer(UINT nType)
{
    static const int buttons[][3] = {
        {IDOK, 0, 0},                 // MB_OK
        {IDOK, IDCANCEL, 0},          // MB_OKCANCEL
        {IDABORT, IDRETRY, IDIGNORE}, // MB_ABORTRETRYIGNORE
        {IDYES, IDNO, IDCANCEL},      // MB_YESNOCANCEL
        {IDYES, IDNO, 0},             // MB_YESNO
        {IDRETRY, IDCANCEL, 0},       // MB_RETRYCANCEL
    };
    const UINT type = nType & MB_TYPEMASK;
    const int* row = buttons[type <= 5 ? type : 0];
    UINT index = (nType & MB_DEFMASK) >> 8;
    if (index > 2 || row[index] == 0)
        index = 0;
    return row[index];
}

int AfxMessageBox(LPCTSTR lpszText, UINT nType, UINT)
{
    return AfxGetMessageService()->MessageBox(lpszText, nullptr, nType);
}
