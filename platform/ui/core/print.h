// CPrintInfo: what a print run knows, passed to the view's print hooks.
#pragma once

#include "platform/ui/core/services.h"

class CPrintInfo
{
public:
    AfxPrintRequest m_pd;   // the print dialog's settings
    BOOL m_bDirect = FALSE; // print without the dialog
    BOOL m_bPreview = FALSE;
    BOOL m_bContinuePrinting = TRUE; // OnPrepareDC may end the run
    UINT m_nCurPage = 1;
    UINT m_nNumPreviewPages = 1;
    CRect m_rectDraw;             // the printable page, in device pixels
    void* m_lpUserData = nullptr; // the view's own (not owned)

    void SetMinPage(UINT nMinPage) { m_pd.nMinPage = static_cast<int>(nMinPage); }
    void SetMaxPage(UINT nMaxPage) { m_pd.nMaxPage = static_cast<int>(nMaxPage); }
    UINT GetMinPage() const { return static_cast<UINT>(m_pd.nMinPage); }
    UINT GetMaxPage() const { return static_cast<UINT>(m_pd.nMaxPage); }
    UINT GetFromPage() const { return static_cast<UINT>(m_pd.nFromPage); }
    UINT GetToPage() const { return static_cast<UINT>(m_pd.nToPage); }
};
