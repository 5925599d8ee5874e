// CCmdTarget: the base of everything that handles commands (the
// application, documents and windows). OnCmdMsg looks a command, an update
// request or a notification up in the object's message map, from its class
// up through its bases. Classes that pass commands on to others (a view to
// its document, a frame to its active view) override OnCmdMsg: the first
// target in the chain that handles the command wins.
#pragma once

#include "platform/afx/object.h"
#include "platform/ui/core/msgmap.h"

class CWnd;

// Filled in instead of calling a handler: who would handle the command.
struct AFX_CMDHANDLERINFO {
    CCmdTarget* pTarget;
};

class CCmdTarget : public CObject
{
    DECLARE_DYNAMIC(CCmdTarget)
public:
    CCmdTarget() = default;
    ~CCmdTarget() override = default;

    // Offers a command (nCode CN_COMMAND), an update request (CN_UPDATE_COMMAND_UI,
    // pExtra the CCmdUI) or a control notification (its code) for id nID.
    // With pHandlerInfo set nothing is called: it only tells whether a handler
    // exists and records its target. True when handled (an update handler that
    // calls ContinueRouting counts as not handled).
    virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo);

    // The control whose notification is being handled, or null outside a
    // notification (a menu or accelerator command, or no command at all).
    static CWnd* GetNotifySender();

    // The wait cursor, counted (see AfxBeginWaitCursor).
    void BeginWaitCursor();
    void EndWaitCursor();

    // True when one of this object's maps has an entry for the window
    // message (a backend asks whether a window paints itself).
    bool HandlesMessage(UINT nMessage) const { return FindMessageEntry(nMessage, 0, 0) != nullptr; }

protected:
    static const AFX_MSGMAP* GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;

    // The first entry of this object's maps (class first, then bases) for
    // the message, code and id; null when there is none.
    const AFX_MSGMAP_ENTRY* FindMessageEntry(UINT nMessage, UINT nCode, UINT nID) const;
};

// Marks the control whose notification is being dispatched for the lifetime
// of the scope (GetNotifySender); scopes nest.
class CNotifySenderScope
{
public:
    explicit CNotifySenderScope(HWND hWndSender);
    ~CNotifySenderScope();
    CNotifySenderScope(const CNotifySenderScope&) = delete;
    CNotifySenderScope& operator=(const CNotifySenderScope&) = delete;

private:
    HWND m_hWndPrevious;
};
