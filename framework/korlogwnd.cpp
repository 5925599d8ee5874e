#include "framework/korlogwnd.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(KorLogEdit, CEdit)
IMPLEMENT_DYNAMIC(KorLogWnd, CControlBar)

BEGIN_MESSAGE_MAP(KorLogEdit, CEdit)
    ON_WM_VSCROLL()
END_MESSAGE_MAP()

BEGIN_MESSAGE_MAP(KorLogWnd, CControlBar)
    ON_WM_CREATE()
    ON_WM_SIZE()
END_MESSAGE_MAP()

// ---- KorLogEdit -----------------------------------------------------------------

void KorLogEdit::SetLineRange(CScrollBar* bar)
{
    const int lines = GetLineCount();
    if (bar)
        bar->SetScrollRange(0, lines, TRUE);
    else
        SetScrollRange(SB_VERT, 0, lines, TRUE);
}

void KorLogEdit::Empty()
{
    SetSel(0, -1);
    ReplaceSel("");
    SetLineRange(nullptr);
}

void KorLogEdit::WriteText(CStringArray* lines, CScrollBar* bar)
{
    if (!lines)
        return;
    const int limit = static_cast<int>(GetLimitText());
    for (int i = 0; i < lines->GetSize(); ++i) {
        CString text = lines->GetAt(i);
        if (text.IsEmpty())
            continue; // nothing to add, and nothing could make room for it
        if (text.GetLength() >= limit) {
            // Dropping from the start can never make room: keep its tail.
            SetSel(0, -1);
            ReplaceSel("");
            text = text.Right(limit - 1);
            if (text.IsEmpty())
                continue;
        }
        const int n = text.GetLength();
        int length = GetWindowTextLength();
        while (length > 0 && length + n >= limit) {
            SetSel(0, std::min(n, length));
            ReplaceSel("");
            length = GetWindowTextLength();
        }
        SetSel(length, length);
        ReplaceSel(text);
    }
    SetLineRange(bar);
}

void KorLogEdit::OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar)
{
    if (!pScrollBar || nSBCode == SB_ENDSCROLL) {
        Default();
        return;
    }
    const int lines = GetLineCount();
    int p = pScrollBar->GetScrollPos();
    switch (nSBCode) {
    case SB_LINEUP: --p; break;
    case SB_LINEDOWN: ++p; break;
    case SB_PAGEUP: p -= 10; break;
    case SB_PAGEDOWN: p += 10; break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: p = static_cast<int>(nPos); break;
    case SB_TOP: p = 0; break;
    case SB_BOTTOM: p = lines; break;
    default: break;
    }
    p = std::clamp(p, 0, lines);
    pScrollBar->SetScrollPos(p, TRUE);
    DefWindowProc(WM_VSCROLL, MAKEWPARAM(static_cast<WORD>(nSBCode), static_cast<WORD>(p)),
                  reinterpret_cast<LPARAM>(pScrollBar->GetSafeHwnd()));
}

// ---- KorLogWnd ------------------------------------------------------------------

BOOL KorLogWnd::Create(CWnd* pParentWnd, LPCTSTR lpszTitle, DWORD dwStyle, UINT nID)
{
    return CreateBar(pParentWnd, lpszTitle, dwStyle, nID);
}

int KorLogWnd::OnCreate(LPCREATESTRUCT)
{
    if (!m_tabWnd.Create(this, 0x50300012, 59648))
        return -1;
    if (!m_editLog.Create(nullptr, "", 0x50001C44, CRect(), &m_tabWnd, IDC_LOG) ||
        !m_editError.Create(nullptr, "", 0x50001044, CRect(), &m_tabWnd, IDC_ERROR))
        return -1;
    m_tabWnd.AddTab(&m_editLog, "Log");
    m_tabWnd.AddTab(&m_editError, "Error");
    ScrollToTab(0);
    return 0;
}

void KorLogWnd::OnSize(UINT, int, int)
{
    if (m_tabWnd.GetSafeHwnd()) {
        CRect inside;
        GetClientRect(&inside);
        m_tabWnd.MoveWindow(inside, TRUE);
    }
}

void KorLogWnd::ScrollToTab(int tab)
{
    m_tabWnd.ActivateTab(tab);
    m_tabWnd.ScrollToTab(tab);
}

void KorLogWnd::WriteLogEntry(CStringArray* lines)
{
    m_editLog.WriteText(lines, nullptr);
}

void KorLogWnd::WriteErrorEntry(CStringArray* lines)
{
    CWnd* active = nullptr;
    m_tabWnd.GetActiveTab(&active);
    CScrollBar* bar = active == &m_editError ? m_tabWnd.GetScrollBar(SB_VERT) : nullptr;
    m_editError.WriteText(lines, bar);
}

void KorLogWnd::EmptyLog()
{
    m_editLog.Empty();
}
