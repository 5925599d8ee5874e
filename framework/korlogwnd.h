// KorLogWnd: the docking log window at the bottom of the main frame. Two
// tabs, "Log" (progress lines of meshing and analysis runs, read-only) and
// "Error" (their error lines), each a multi-line KorLogEdit. Writing never
// changes the active tab. The "Log" tab shows DejaVu Sans Mono (a
// fixed-pitch face in any case) and does not wrap its lines.
#pragma once

#include "platform/afx/collections.h"
#include "platform/ui/core/afxui.h"

class KorLogEdit : public CEdit
{
    DECLARE_DYNAMIC(KorLogEdit)
public:
    // Clears the text and resets the edit's own vertical scroll range.
    virtual void Empty();
    // Appends each string as it is (callers end lines with "\r\n"). At the
    // text limit the oldest text goes first, in blocks of the new string's
    // length; a string too long for the limit replaces the whole text by
    // its last (limit - 1) characters. Afterwards the scroll range (of bar,
    // or the edit's own when bar is null) becomes 0 .. the line count.
    void WriteText(CStringArray* lines, CScrollBar* bar);

protected:
    void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    DECLARE_MESSAGE_MAP()

private:
    void SetLineRange(CScrollBar* bar);
};

class KorLogWnd : public CControlBar
{
    DECLARE_DYNAMIC(KorLogWnd)
public:
    enum { IDC_LOG = 3094, IDC_ERROR = 3095 };

    using CControlBar::Create;
    // Creates the bar with its tab window and both edits.
    BOOL Create(CWnd* pParentWnd, LPCTSTR lpszTitle = "Log Window",
                DWORD dwStyle = WS_CHILD | WS_VISIBLE, UINT nID = 0xE900);

    void WriteLogEntry(CStringArray* lines);
    void WriteErrorEntry(CStringArray* lines);
    // Activates tab 0 ("Log") or 1 ("Error").
    void ScrollToTab(int tab);
    // Empties the "Log" tab only.
    virtual void EmptyLog();

    CTabWnd& GetTabWnd() { return m_tabWnd; }
    KorLogEdit& GetLogEdit() { return m_editLog; }
    KorLogEdit& GetErrorEdit() { return m_editError; }

protected:
    int OnCreate(LPCREATESTRUCT lpcs);
    void OnSize(UINT nType, int cx, int cy);
    DECLARE_MESSAGE_MAP()

private:
    CTabWnd m_tabWnd;
    CFont m_fontLog; // the "Log" tab's fixed-pitch face
    KorLogEdit m_editLog;
    KorLogEdit m_editError;
};
