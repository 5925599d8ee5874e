#include "platform/ui/core/splitter.h"

IMPLEMENT_DYNAMIC(CSplitterWnd, CWnd)

BOOL CSplitterWnd::CreateStatic(CWnd* pParentWnd, int nRows, int nCols, DWORD dwStyle, UINT nID)
{
    m_nRows = nRows;
    m_nHidden = 0;
    m_columns.clear();
    for (int c = 0; c < nCols; ++c)
        m_columns.push_back({c, false});
    CRect rect;
    pParentWnd->GetClientRect(rect);
    return Create(nullptr, "", dwStyle | WS_CHILD, rect, pParentWnd, nID);
}

BOOL CSplitterWnd::CreateView(int row, int col, CRuntimeClass* pViewClass, SIZE,
                              CCreateContext* pContext)
{
    return AfxCreateView(this, pContext, pViewClass, static_cast<UINT>(IdFromRowCol(row, col))) !=
           nullptr;
}

int CSplitterWnd::IdFromRowCol(int row, int col) const
{
    return IdFromRowColEx(row, col);
}

CWnd* CSplitterWnd::GetPane(int row, int col) const
{
    return GetDlgItem(IdFromRowCol(row, col));
}

CFrameWnd* CSplitterWnd::Frame() const
{
    for (CWnd* wnd = GetParent(); wnd; wnd = wnd->GetParent())
        if (auto* frame = dynamic_cast<CFrameWnd*>(wnd))
            return frame;
    return nullptr;
}

CWnd* CSplitterWnd::GetActivePane(int* pRow, int* pCol) const
{
    CFrameWnd* frame = Frame();
    CWnd* view = frame ? frame->GetActiveView() : nullptr;
    if (!view || view->GetParent() != this)
        return nullptr;
    const int offset = view->GetDlgCtrlID() - static_cast<int>(AFX_IDW_PANE_FIRST);
    if (pRow)
        *pRow = offset / 16;
    if (pCol)
        *pCol = offset % 16;
    return view;
}

void CSplitterWnd::SetActivePane(int row, int col)
{
    if (CFrameWnd* frame = Frame())
        frame->SetActiveView(dynamic_cast<CView*>(GetPane(row, col)));
}

void CSplitterWnd::HideColumn(int nCol)
{
    const int count = GetColumnCount();
    // The column's place among the visible ones.
    int p = nCol;
    for (int i = 0; i < count; ++i)
        if (m_columns[static_cast<std::size_t>(i)].nCreated == nCol)
            p = i;
    if (count < 2 || p < 0 || p >= count)
        return;
    int activeRow = 0, activeCol = 0;
    const bool activeHere = GetActivePane(&activeRow, &activeCol) && activeCol == p;
    const int last = count - 1;
    for (int row = 0; row < m_nRows; ++row) {
        CWnd* hidden = GetPane(row, p);
        std::vector<CWnd*> right;
        for (int c = p + 1; c <= last; ++c)
            right.push_back(GetPane(row, c));
        if (hidden) {
            hidden->ShowWindow(SW_HIDE);
            hidden->SetDlgCtrlID(IdFromRowCol(row, last));
        }
        for (std::size_t i = 0; i < right.size(); ++i)
            if (right[i])
                right[i]->SetDlgCtrlID(IdFromRowCol(row, p + static_cast<int>(i)));
    }
    // The pane that took the hidden column's place (the next column) becomes active.
    if (activeHere)
        SetActivePane(activeRow, p < last ? p : 0);
    ColumnInfo info = m_columns[static_cast<std::size_t>(p)];
    info.bHidden = true;
    m_columns.erase(m_columns.begin() + p);
    m_columns.push_back(info);
    ++m_nHidden;
}
