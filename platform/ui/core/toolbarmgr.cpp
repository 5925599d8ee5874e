#include "platform/ui/core/toolbarmgr.h"

#include <stdexcept>

#include "platform/afx/numconv.h"
#include "platform/ui/core/frame.h"
#include "platform/ui/core/resources.h"
#include "platform/ui/core/services.h"

IMPLEMENT_DYNAMIC(CToolBarCombo, CComboBox)
IMPLEMENT_DYNAMIC(CToolBar, CControlBar)

namespace
{

void NotifyFrame(CWnd* pFrame, UINT nID, UINT nCode, HWND hCombo)
{
    if (pFrame)
        pFrame->SendMessage(WM_TOOLBARWNDNOTIFY, MAKEWPARAM(WORD(nID), WORD(nCode)),
                            reinterpret_cast<LPARAM>(hCombo));
}

} // namespace

LRESULT CToolBarCombo::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_KEYDOWN && wParam == VK_RETURN && (GetStyle() & 0x3) == CBS_DROPDOWN) {
        NotifyFrame(GetParent(), static_cast<UINT>(GetDlgCtrlID()), TBN_ENTERPRESSED, m_hWnd);
        return 1;
    }
    return CComboBox::WindowProc(message, wParam, lParam);
}

void CToolBarManager::DefineDefaultToolBar(UINT nBarID, LPCTSTR lpszTitle, UINT nIDResource,
                                           DWORD dwAlignStyle, UINT nDockBarID, UINT nNextTo,
                                           BOOL bDocked, BOOL bVisible, BOOL bFirstRun)
{
    const AfxToolBar* table = AfxFindResource<AfxToolBar>(nIDResource);
    if (!table)
        throw std::logic_error(AfxFormat("no module registers toolbar %u", nIDResource));
    AfxToolBarDef def;
    def.nBarID = nBarID;
    def.strTitle = lpszTitle;
    def.nIDResource = nIDResource;
    def.buttons = table->buttons;
    def.dwAlignStyle = dwAlignStyle;
    def.nDockBarID = nDockBarID;
    def.nNextTo = nNextTo;
    def.bDocked = bDocked;
    def.bVisible = bVisible;
    def.bFirstRun = bFirstRun;
    m_bars.push_back(def);
    if (!m_pFrame || !m_pFrame->GetSafeHwnd())
        return;
    auto bar = std::make_unique<CToolBar>(def, *this);
    // Where it docks is known before its window is made: the backend places
    // it when it makes the window.
    bar->EnableDocking(dwAlignStyle & CBRS_ALIGN_ANY);
    bar->Dock(bDocked ? nDockBarID : 0, CSize());
    if (bar->CreateBar(m_pFrame, lpszTitle, bVisible ? WS_VISIBLE : 0, nBarID))
        m_toolbars.push_back(std::move(bar));
}

CComboBox* CToolBar::GetButtonCombo(UINT nID) const
{
    return nID == ID_SEPARATOR ? nullptr : m_manager.GetCombo(nID);
}

CToolBar* CToolBarManager::GetToolBar(UINT nBarID) const
{
    for (const auto& bar : m_toolbars)
        if (bar->GetSafeHwnd() && static_cast<UINT>(bar->GetDlgCtrlID()) == nBarID)
            return bar.get();
    return nullptr;
}

const AfxToolBarDef* CToolBarManager::FindToolBar(UINT nBarID) const
{
    for (const AfxToolBarDef& def : m_bars)
        if (def.nBarID == nBarID)
            return &def;
    return nullptr;
}

void CToolBarManager::CreateControls()
{
    for (const AfxToolBarDef& def : m_bars)
        for (UINT nID : def.buttons)
            for (const AfxComboButton& button : m_map) {
                if (button.nID != nID || nID == ID_SEPARATOR || GetCombo(nID))
                    continue;
                auto combo = std::make_unique<CToolBarCombo>();
                const CRect rect(0, 0, button.GetMinWidth(), 200);
                combo->Create(nullptr, "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | button.nComboStyle,
                              rect, m_pFrame, nID);
                const HWND hCombo = combo->GetSafeHwnd();
                m_combos.push_back(std::move(combo));
                // The toolbars showing the button show the combo in its place.
                ToolBarsChanged(PEER_ITEMS);
                NotifyFrame(m_pFrame, nID, TBN_WNDCREATED, hCombo);
            }
}

CComboBox* CToolBarManager::GetCombo(UINT nID) const
{
    for (const auto& combo : m_combos)
        if (combo->GetSafeHwnd() && static_cast<UINT>(combo->GetDlgCtrlID()) == nID)
            return combo.get();
    return nullptr;
}

void CToolBarManager::InformBtns(UINT nID, UINT message, WPARAM wParam, LPARAM lParam)
{
    for (const auto& combo : m_combos)
        if (combo->GetSafeHwnd() && static_cast<UINT>(combo->GetDlgCtrlID()) == nID)
            combo->SendMessage(message, wParam, lParam);
}

BOOL CToolBar::IsLargeButtons() const
{
    return m_manager.IsLargeButtons();
}

BOOL CToolBar::ToolTipsEnabled() const
{
    return m_manager.ToolTipsEnabled();
}

void CToolBarManager::SetLargeButtons(BOOL bLarge)
{
    m_bLargeButtons = bLarge != FALSE;
    ToolBarsChanged(PEER_STYLE);
}

void CToolBarManager::EnableToolTips(BOOL bEnable)
{
    m_bToolTips = bEnable != FALSE;
    ToolBarsChanged(PEER_STYLE);
}

void CToolBarManager::SaveState(LPCTSTR lpszProfileName) const
{
    AfxWriteProfileInt(lpszProfileName, "LargeButtons", m_bLargeButtons ? 1 : 0);
    AfxWriteProfileInt(lpszProfileName, "ToolTips", m_bToolTips ? 1 : 0);
}

void CToolBarManager::LoadState(LPCTSTR lpszProfileName)
{
    SetLargeButtons(AfxGetProfileInt(lpszProfileName, "LargeButtons", m_bLargeButtons) != 0);
    EnableToolTips(AfxGetProfileInt(lpszProfileName, "ToolTips", m_bToolTips) != 0);
}

void CToolBarManager::ToolBarsChanged(UINT nChanges) const
{
    for (const auto& bar : m_toolbars)
        if (const CWndState* state = bar->GetState())
            state->Changed(nChanges);
}
