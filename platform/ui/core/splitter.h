// A static splitter: rows x columns of panes, each pane a child window whose
// id is AFX_IDW_PANE_FIRST + 16 x row + column. Hiding a column moves the
// ids: the panes right of it take the ids of the column to their left and
// the hidden pane takes the id of the last column, so the visible panes keep
// the ids of the first columns.
#pragma once

#include <vector>

#include "platform/ui/core/frame.h"

class CSplitterWnd : public CWnd
{
    DECLARE_DYNAMIC(CSplitterWnd)
public:
    // The splitter itself is child nID of pParentWnd.
    BOOL CreateStatic(CWnd* pParentWnd, int nRows, int nCols, DWORD dwStyle = WS_CHILD | WS_VISIBLE,
                      UINT nID = AFX_IDW_PANE_FIRST);
    // A view of class pViewClass in the pane, joined to the context's document.
    virtual BOOL CreateView(int row, int col, CRuntimeClass* pViewClass, SIZE sizeInit,
                            CCreateContext* pContext);

    int GetRowCount() const { return m_nRows; }
    int GetColumnCount() const { return static_cast<int>(m_columns.size()) - m_nHidden; }
    // The pane now at (row, col) of the visible columns, or null.
    CWnd* GetPane(int row, int col) const;
    int IdFromRowCol(int row, int col) const;
    static int IdFromRowColEx(int row, int col)
    {
        return static_cast<int>(AFX_IDW_PANE_FIRST) + 16 * row + col;
    }

    // The active pane is the parent frame's active view.
    CWnd* GetActivePane(int* pRow = nullptr, int* pCol = nullptr) const;
    void SetActivePane(int row, int col);

    // Hides column nCol (its index at creation); the active pane moves to
    // the next column of its row.
    virtual void HideColumn(int nCol);

private:
    struct ColumnInfo {
        int nCreated; // index at creation
        bool bHidden;
    };
    CFrameWnd* Frame() const;
    int m_nRows = 0;
    int m_nHidden = 0;
    std::vector<ColumnInfo> m_columns; // display order: visible ones first
};
