#include "platform/ui/core/cmdtarget.h"

#include "platform/ui/core/cmdui.h"
#include "platform/ui/core/services.h"
#include "platform/ui/core/wnd.h"

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)

namespace
{

const AFX_MSGMAP_ENTRY g_noEntries[] = {{0, 0, 0, 0, nullptr}};
const AFX_MSGMAP g_cmdTargetMap = {nullptr, &g_noEntries[0]};

// The sender of the notification being dispatched (one UI thread).
HWND g_hWndNotifySender = nullptr;

} // namespace

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap()
{
    return &g_cmdTargetMap;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const
{
    return GetThisMessageMap();
}

const AFX_MSGMAP_ENTRY* CCmdTarget::FindMessageEntry(UINT nMessage, UINT nCode, UINT nID) const
{
    for (const AFX_MSGMAP* map = GetMessageMap(); map;
         map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* e = map->lpEntries; e->pfn; ++e) {
            if (e->nMessage == nMessage && e->nCode == nCode && nID >= e->nID && nID <= e->nLastID)
                return e;
        }
    }
    return nullptr;
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    const UINT code = static_cast<UINT>(nCode);
    const AFX_MSGMAP_ENTRY* entry = FindMessageEntry(WM_COMMAND, code, nID);
    if (!entry)
        return FALSE;
    if (pHandlerInfo) {
        pHandlerInfo->pTarget = this;
        return TRUE;
    }
    const AFX_MSGCALL call{nID, 0, 0, pExtra, nullptr};
    if (code == CN_UPDATE_COMMAND_UI) {
        CCmdUI* pCmdUI = static_cast<CCmdUI*>(pExtra);
        pCmdUI->m_bContinueRouting = FALSE;
        entry->pfn(this, call);
        return !pCmdUI->m_bContinueRouting;
    }
    entry->pfn(this, call);
    return TRUE;
}

CWnd* CCmdTarget::GetNotifySender()
{
    return CWnd::FromHandle(g_hWndNotifySender);
}

void CCmdTarget::BeginWaitCursor()
{
    AfxBeginWaitCursor();
}

void CCmdTarget::EndWaitCursor()
{
    AfxEndWaitCursor();
}

CNotifySenderScope::CNotifySenderScope(HWND hWndSender) : m_hWndPrevious(g_hWndNotifySender)
{
    g_hWndNotifySender = hWndSender;
}

CNotifySenderScope::~CNotifySenderScope()
{
    g_hWndNotifySender = m_hWndPrevious;
}
