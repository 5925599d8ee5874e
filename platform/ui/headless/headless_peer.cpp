#include "platform/ui/headless/headless_peer.h"

namespace afxui::headless
{

void HeadlessPeer::Update(const CWndState& state, UINT nChanges)
{
    ++m_nUpdates;
    if (nChanges & PEER_TEXT) {
        m_strText = state.strText;
        m_strDisplayText.Empty();
        const CString& t = state.strText;
        for (int i = 0; i < t.GetLength(); ++i) {
            if (t[i] == '\r' && i + 1 < t.GetLength() && t[i + 1] == '\n')
                ++i;
            m_strDisplayText += (t[i] == '\r' || t[i] == '\n') ? '\n' : t[i];
        }
    }
    if (nChanges & PEER_ENABLED)
        m_bEnabled = state.bEnabled;
    if (nChanges & PEER_VISIBLE)
        m_bVisible = state.bVisible;
    if (nChanges & (PEER_STYLE | PEER_ENABLED))
        m_bReadOnly = state.kind == AfxWndKind::edit && (state.dwStyle & ES_READONLY);
    if (nChanges & PEER_FOCUS)
        m_bFocused = CWnd::GetFocus() && CWnd::GetFocus()->GetSafeHwnd() == state.hWnd;
    if (nChanges & PEER_CHECK)
        m_nCheck = state.nCheck;
    if (nChanges & PEER_ITEMS) {
        m_items.clear();
        for (const AfxListItem& item : state.items)
            m_items.push_back(item.strText);
    }
    if (nChanges & PEER_SELECTION)
        m_nCurSel = state.nCurSel;
    if (nChanges & PEER_GEOMETRY)
        m_rect = state.rect;
    if (nChanges & PEER_BITMAP)
        m_nBitmapID = state.nBitmapID;
    if (nChanges & PEER_COLOR)
        m_color = state.color;
    if (nChanges & PEER_TOOLTIP)
        m_strToolTip = state.strToolTip;
    if (nChanges & PEER_RANGE)
        m_nPos = state.nPos;
}

} // namespace afxui::headless
