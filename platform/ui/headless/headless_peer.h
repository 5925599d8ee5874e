// The headless peer: a plain copy of what a widget would show (text,
// enabled, visible, read-only, check, items, selection, geometry, picture,
// colour, focus), and an input side that reports user actions to the layer
// as a widget's events would.
#pragma once

#include <vector>

#include "platform/ui/core/input.h"

namespace afxui::headless
{

class HeadlessPeer : public CWndPeer
{
public:
    explicit HeadlessPeer(HWND hWnd) : m_hWnd(hWnd) {}

    void Update(const CWndState& state, UINT nChanges) override;

    void UserFocus() override { AfxUserFocus(m_hWnd); }
    void UserClick() override { AfxUserClick(m_hWnd); }
    void UserType(const CString& text) override { AfxUserType(m_hWnd, text); }
    void UserSelect(int nIndex) override { AfxUserSelect(m_hWnd, nIndex); }
    void UserSpin(int nDelta) override { AfxUserSpin(m_hWnd, nDelta); }
    void UserScroll(UINT nSBCode, int nPos) override { AfxUserScroll(m_hWnd, nSBCode, nPos); }

    // What the peer shows.
    CString m_strText;        // as given ("&" kept)
    CString m_strDisplayText; // "\r\n", "\r" and "\n" each one line break ("\n")
    bool m_bEnabled = true;
    bool m_bVisible = false;
    bool m_bReadOnly = false;
    bool m_bFocused = false;
    int m_nCheck = 0;
    std::vector<CString> m_items;
    int m_nCurSel = -1;
    CRect m_rect;
    UINT m_nBitmapID = 0; // a missing image shows as a frame with this id
    COLORREF m_color = 0;
    CString m_strToolTip;
    int m_nPos = 0;
    int m_nUpdates = 0;

private:
    HWND m_hWnd;
};

} // namespace afxui::headless
