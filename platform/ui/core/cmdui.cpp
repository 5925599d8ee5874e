#include "platform/ui/core/cmdui.h"

void CCmdUI::Enable(BOOL)
{
    m_bEnableChanged = TRUE;
}

void CCmdUI::SetCheck(int) {}

void CCmdUI::SetRadio(BOOL) {}

void CCmdUI::SetText(LPCTSTR) {}

void CCmdUI::SetID(UINT nID)
{
    m_nCurrentID = nID;
}

BOOL CCmdUI::DoUpdate(CCmdTarget* pTarget, BOOL bDisableIfNoHndler)
{
    m_nCurrentID = m_nID;
    if (m_nID == 0 || !pTarget)
        return TRUE; // separators and items without a target stay as they are
    m_bEnableChanged = FALSE;
    const BOOL bResult =
        pTarget->OnCmdMsg(m_nID, static_cast<int>(CN_UPDATE_COMMAND_UI), this, nullptr);
    if (bDisableIfNoHndler && !m_bEnableChanged) {
        AFX_CMDHANDLERINFO info{nullptr};
        Enable(pTarget->OnCmdMsg(m_nCurrentID, static_cast<int>(CN_COMMAND), this, &info));
    }
    return bResult;
}

namespace
{

// A CCmdUI that writes into an item's state.
class CItemCmdUI : public CCmdUI
{
public:
    explicit CItemCmdUI(CCmdItemState& item) : m_item(item) {}

    void Enable(BOOL bOn) override
    {
        CCmdUI::Enable(bOn);
        m_item.bEnabled = bOn ? TRUE : FALSE;
    }
    void SetCheck(int nCheck) override
    {
        m_item.nCheck = nCheck;
        m_item.bRadio = FALSE;
    }
    void SetRadio(BOOL bOn) override
    {
        m_item.nCheck = bOn ? 1 : 0;
        m_item.bRadio = TRUE;
    }
    void SetText(LPCTSTR lpszText) override { m_item.strText = lpszText; }
    void SetID(UINT nID) override
    {
        CCmdUI::SetID(nID);
        m_item.nCurrentID = nID;
    }

private:
    CCmdItemState& m_item;
};

} // namespace

void AfxUpdateCmdItem(CCmdTarget* pTarget, CCmdItemState& item, UINT nIndex, UINT nIndexMax,
                      BOOL bDisableIfNoHndler)
{
    item.nCurrentID = item.nResourceID;
    CItemCmdUI ui(item);
    ui.m_nID = item.nResourceID;
    ui.m_nIndex = nIndex;
    ui.m_nIndexMax = nIndexMax;
    ui.DoUpdate(pTarget, bDisableIfNoHndler);
}

BOOL AfxChooseCmdItem(CCmdTarget* pTarget, const CCmdItemState& item)
{
    if (!pTarget || !item.bEnabled || item.nCurrentID == 0)
        return FALSE;
    return pTarget->OnCmdMsg(item.nCurrentID, static_cast<int>(CN_COMMAND), nullptr, nullptr);
}

CCmdItemState AfxQueryCommandUI(CCmdTarget* pTarget, UINT nID)
{
    CCmdItemState item;
    item.nResourceID = nID;
    AfxUpdateCmdItem(pTarget, item);
    return item;
}
