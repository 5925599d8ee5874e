#include "framework/korlogwnd.h"

#include <algorithm>
#include <cstring>
#include <string>

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
    const std::size_t limit = GetLimitText();
    // The text is worked on as a string whose first `start` characters are
    // dropped, and goes back to the control once: a long run stays linear.
    CString current;
    GetWindowText(current);
    std::string text(current);
    std::size_t start = 0;
    bool changed = false;
    for (int i = 0; i < lines->GetSize(); ++i) {
        std::string add(lines->GetAt(i));
        if (add.empty())
            continue; // nothing to add, and nothing could make room for it
        if (add.size() >= limit) {
            // Dropping from the start can never make room: keep its tail.
            start = text.size();
            add.erase(0, add.size() - (limit - 1));
            changed = true;
            if (add.empty())
                continue;
        }
        // The oldest text goes first, in blocks of the new string's length.
        const std::size_t n = add.size();
        while (text.size() > start && text.size() - start + n >= limit)
            start += std::min(n, text.size() - start);
        if (start > text.size() / 2) {
            text.erase(0, start);
            start = 0;
        }
        text += add;
        changed = true;
    }
    if (changed) {
        SetWindowText(text.c_str() + start);
        const int end = static_cast<int>(text.size() - start);
        SetSel(end, end); // the caret at the end, scrolled into view
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
    case SB_LINEUP:
        --p;
        break;
    case SB_LINEDOWN:
        ++p;
        break;
    case SB_PAGEUP:
        p -= 10;
        break;
    case SB_PAGEDOWN:
        p += 10;
        break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK:
        p = static_cast<int>(nPos);
        break;
    case SB_TOP:
        p = 0;
        break;
    case SB_BOTTOM:
        p = lines;
        break;
    default:
        break;
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
    // The log's columns line up: a fixed-pitch face, lines never wrapped.
    LOGFONT lf{};
    lf.lfWeight = FW_NORMAL;
    lf.lfPitchAndFamily = FF_MODERN;
    std::strncpy(lf.lfFaceName, "DejaVu Sans Mono", LF_FACESIZE - 1);
    m_fontLog.CreateFontIndirect(&lf);
    m_editLog.ModifyStyle(0, ES_AUTOHSCROLL);
    m_editLog.SetFont(&m_fontLog);
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
