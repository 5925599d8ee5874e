// Message maps: a static table per class of (message, code, id range,
// handler thunk) entries, written with the classic macros:
//
//     BEGIN_MESSAGE_MAP(CMyView, CView)
//         ON_COMMAND(50001, OnViewLog)
//         ON_UPDATE_COMMAND_UI(50001, OnUpdateViewLog)
//         ON_CBN_SELCHANGE(50008, OnSelFilter)
//         ON_MESSAGE(0x405, OnEnterCoord)
//         ON_WM_TIMER()
//     END_MESSAGE_MAP()
//
// Each thunk is a function template instantiated with the handler's own
// member pointer. A requires-clause checks the pointer's type against the
// signature the macro stands for, so a handler with another signature does
// not compile; nothing is cast through a union or a void pointer.
#pragma once

#include <type_traits>

#include "platform/ui/core/constants.h"
#include "platform/ui/core/uitypes.h"

class CCmdTarget;
class CCmdUI;
class CWnd;
class CDC;
class CScrollBar;

// The arguments a thunk unpacks for its handler.
struct AFX_MSGCALL {
    UINT nID;         // command or control id (commands and notifications)
    WPARAM wParam;    // window messages
    LPARAM lParam;    // window messages
    void* pExtra;     // CCmdUI* for an update, NMHDR* for WM_NOTIFY
    LRESULT* pResult; // WM_NOTIFY's result
};

typedef LRESULT (*AFX_MSGTHUNK)(CCmdTarget* pTarget, const AFX_MSGCALL& call);

struct AFX_MSGMAP_ENTRY {
    UINT nMessage;    // WM_COMMAND, WM_NOTIFY or the window message
    UINT nCode;       // command/notification code (WM_COMMAND, WM_NOTIFY)
    UINT nID;         // first control or command id
    UINT nLastID;     // last id (the same for a single id)
    AFX_MSGTHUNK pfn; // null ends the table
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*pfnGetBaseMap)(); // null for CCmdTarget's own map
    const AFX_MSGMAP_ENTRY* lpEntries;
};

// The live window of a handle, or null (defined with CWnd).
CWnd* AfxWndFromHandle(HWND hWnd);
// The scroll-bar control of a handle, or null (defined with the controls).
CScrollBar* AfxScrollBarFromHandle(HWND hWnd);

namespace afxmsg
{

// True when Pmf is a pointer to a member function of some class C with
// exactly the function type Sig.
template <class Pmf, class Sig> struct IsHandler : std::false_type {
};
template <class C, class Sig> struct IsHandler<Sig C::*, Sig> : std::true_type {
};
template <auto Pmf, class Sig>
concept Handler = IsHandler<decltype(Pmf), Sig>::value;

// A thunk for a handler returning void (the thunk returns ret) and one
// returning a value (the thunk returns it).
#define AFXMSG_THUNK_VOID(name, sig, args, ret)                                                    \
    template <class T, auto F>                                                                     \
    requires Handler<F, sig> LRESULT name(CCmdTarget* p, [[maybe_unused]] const AFX_MSGCALL& c)    \
    {                                                                                              \
        (static_cast<T*>(p)->*F) args;                                                             \
        return ret;                                                                                \
    }
#define AFXMSG_THUNK_VALUE(name, sig, args)                                                        \
    template <class T, auto F>                                                                     \
    requires Handler<F, sig> LRESULT name(CCmdTarget* p, [[maybe_unused]] const AFX_MSGCALL& c)    \
    {                                                                                              \
        return static_cast<LRESULT>((static_cast<T*>(p)->*F) args);                                \
    }

// Commands, updates, notifications, user messages.
AFXMSG_THUNK_VOID(Command, void(), (), TRUE)
AFXMSG_THUNK_VOID(CommandRange, void(UINT), (c.nID), TRUE)
AFXMSG_THUNK_VOID(UpdateUI, void(CCmdUI*), (static_cast<CCmdUI*>(c.pExtra)), TRUE)
AFXMSG_THUNK_VOID(Notify, void(NMHDR*, LRESULT*), (static_cast<NMHDR*>(c.pExtra), c.pResult), TRUE)
AFXMSG_THUNK_VALUE(Message, LRESULT(WPARAM, LPARAM), (c.wParam, c.lParam))

// Window messages, unpacked as the classic handlers take them.
AFXMSG_THUNK_VOID(WmVoid, void(), (), 0)
AFXMSG_THUNK_VALUE(WmCreate, int(LPCREATESTRUCT), (reinterpret_cast<LPCREATESTRUCT>(c.lParam)))
AFXMSG_THUNK_VOID(WmSize, void(UINT, int, int),
                  (static_cast<UINT>(c.wParam), LOWORD(static_cast<std::uintptr_t>(c.lParam)),
                   HIWORD(static_cast<std::uintptr_t>(c.lParam))),
                  0)
// WM_ERASEBKGND carries the CDC* itself in wParam.
AFXMSG_THUNK_VALUE(WmEraseBkgnd, BOOL(CDC*), (reinterpret_cast<CDC*>(c.wParam)))
AFXMSG_THUNK_VOID(WmFocus, void(CWnd*), (AfxWndFromHandle(reinterpret_cast<HWND>(c.wParam))), 0)
AFXMSG_THUNK_VOID(WmTimer, void(UINT_PTR), (c.wParam), 0)
AFXMSG_THUNK_VOID(WmSettingChange, void(UINT, LPCTSTR),
                  (static_cast<UINT>(c.wParam), reinterpret_cast<LPCTSTR>(c.lParam)), 0)
AFXMSG_THUNK_VALUE(WmSetCursor, BOOL(CWnd*, UINT, UINT),
                   (AfxWndFromHandle(reinterpret_cast<HWND>(c.wParam)),
                    LOWORD(static_cast<std::uintptr_t>(c.lParam)),
                    HIWORD(static_cast<std::uintptr_t>(c.lParam))))
AFXMSG_THUNK_VOID(WmMouse, void(UINT, CPoint), (static_cast<UINT>(c.wParam), CPoint(c.lParam)), 0)
AFXMSG_THUNK_VALUE(WmMouseWheel, BOOL(UINT, short, CPoint),
                   (LOWORD(c.wParam), static_cast<short>(HIWORD(c.wParam)), CPoint(c.lParam)))
AFXMSG_THUNK_VOID(WmKey, void(UINT, UINT, UINT),
                  (static_cast<UINT>(c.wParam), LOWORD(static_cast<std::uintptr_t>(c.lParam)),
                   HIWORD(static_cast<std::uintptr_t>(c.lParam))),
                  0)
// lParam names the scroll-bar control, or is 0 for the window's own bar.
AFXMSG_THUNK_VOID(WmScroll, void(UINT, UINT, CScrollBar*),
                  (LOWORD(c.wParam), HIWORD(c.wParam),
                   AfxScrollBarFromHandle(reinterpret_cast<HWND>(c.lParam))),
                  0)
AFXMSG_THUNK_VOID(WmShowWindow, void(BOOL, UINT),
                  (static_cast<BOOL>(c.wParam), static_cast<UINT>(c.lParam)), 0)

#undef AFXMSG_THUNK_VOID
#undef AFXMSG_THUNK_VALUE

} // namespace afxmsg

// ---- Declaring and defining a map ---------------------------------------------

#define DECLARE_MESSAGE_MAP()                                                                      \
protected:                                                                                         \
    static const AFX_MSGMAP* GetThisMessageMap();                                                  \
    const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                                     \
    const AFX_MSGMAP* theClass::GetMessageMap() const                                              \
    {                                                                                              \
        return GetThisMessageMap();                                                                \
    }                                                                                              \
    const AFX_MSGMAP* theClass::GetThisMessageMap()                                                \
    {                                                                                              \
        using ThisClass [[maybe_unused]] = theClass;                                               \
        using TheBaseClass = baseClass;                                                            \
        static const AFX_MSGMAP_ENTRY _messageEntries[] = {

#define END_MESSAGE_MAP()                                                                          \
    {                                                                                              \
        0, 0, 0, 0, nullptr                                                                        \
    }                                                                                              \
    }                                                                                              \
    ;                                                                                              \
    static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, &_messageEntries[0]};  \
    return &messageMap;                                                                            \
    }

#define AFX_MSG_ENTRY(msg, code, id, lastId, thunk, memberFxn)                                     \
    {(msg), static_cast<UINT>(code), static_cast<UINT>(id), static_cast<UINT>(lastId),             \
     &::afxmsg::thunk<ThisClass, &ThisClass::memberFxn>},

// Commands (code 0 only: a control notification never reaches these).
#define ON_COMMAND(id, memberFxn) AFX_MSG_ENTRY(WM_COMMAND, CN_COMMAND, id, id, Command, memberFxn)
#define ON_COMMAND_RANGE(id, idLast, memberFxn)                                                    \
    AFX_MSG_ENTRY(WM_COMMAND, CN_COMMAND, id, idLast, CommandRange, memberFxn)
#define ON_UPDATE_COMMAND_UI(id, memberFxn)                                                        \
    AFX_MSG_ENTRY(WM_COMMAND, CN_UPDATE_COMMAND_UI, id, id, UpdateUI, memberFxn)
#define ON_UPDATE_COMMAND_UI_RANGE(id, idLast, memberFxn)                                          \
    AFX_MSG_ENTRY(WM_COMMAND, CN_UPDATE_COMMAND_UI, id, idLast, UpdateUI, memberFxn)

// Control notifications; the handler finds the control with GetNotifySender().
#define ON_CONTROL(code, id, memberFxn) AFX_MSG_ENTRY(WM_COMMAND, code, id, id, Command, memberFxn)
#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)
#define ON_EN_CHANGE(id, memberFxn) ON_CONTROL(EN_CHANGE, id, memberFxn)
#define ON_EN_KILLFOCUS(id, memberFxn) ON_CONTROL(EN_KILLFOCUS, id, memberFxn)
#define ON_CBN_SELCHANGE(id, memberFxn) ON_CONTROL(CBN_SELCHANGE, id, memberFxn)
#define ON_CBN_EDITCHANGE(id, memberFxn) ON_CONTROL(CBN_EDITCHANGE, id, memberFxn)
#define ON_LBN_SELCHANGE(id, memberFxn) ON_CONTROL(LBN_SELCHANGE, id, memberFxn)
#define ON_NOTIFY(code, id, memberFxn) AFX_MSG_ENTRY(WM_NOTIFY, code, id, id, Notify, memberFxn)

// Any message by number: LRESULT OnX(WPARAM, LPARAM).
#define ON_MESSAGE(message, memberFxn) AFX_MSG_ENTRY(message, 0, 0, 0, Message, memberFxn)

// Window messages with their classic handler names and signatures.
#define AFX_WM_ENTRY(msg, thunk, memberFxn) AFX_MSG_ENTRY(msg, 0, 0, 0, thunk, memberFxn)
#define ON_WM_CREATE() AFX_WM_ENTRY(WM_CREATE, WmCreate, OnCreate)
#define ON_WM_DESTROY() AFX_WM_ENTRY(WM_DESTROY, WmVoid, OnDestroy)
#define ON_WM_SIZE() AFX_WM_ENTRY(WM_SIZE, WmSize, OnSize)
#define ON_WM_PAINT() AFX_WM_ENTRY(WM_PAINT, WmVoid, OnPaint)
#define ON_WM_ERASEBKGND() AFX_WM_ENTRY(WM_ERASEBKGND, WmEraseBkgnd, OnEraseBkgnd)
#define ON_WM_SETFOCUS() AFX_WM_ENTRY(WM_SETFOCUS, WmFocus, OnSetFocus)
#define ON_WM_KILLFOCUS() AFX_WM_ENTRY(WM_KILLFOCUS, WmFocus, OnKillFocus)
#define ON_WM_TIMER() AFX_WM_ENTRY(WM_TIMER, WmTimer, OnTimer)
#define ON_WM_SETTINGCHANGE() AFX_WM_ENTRY(WM_SETTINGCHANGE, WmSettingChange, OnSettingChange)
#define ON_WM_SETCURSOR() AFX_WM_ENTRY(WM_SETCURSOR, WmSetCursor, OnSetCursor)
#define ON_WM_MOUSEMOVE() AFX_WM_ENTRY(WM_MOUSEMOVE, WmMouse, OnMouseMove)
#define ON_WM_LBUTTONDOWN() AFX_WM_ENTRY(WM_LBUTTONDOWN, WmMouse, OnLButtonDown)
#define ON_WM_LBUTTONUP() AFX_WM_ENTRY(WM_LBUTTONUP, WmMouse, OnLButtonUp)
#define ON_WM_LBUTTONDBLCLK() AFX_WM_ENTRY(WM_LBUTTONDBLCLK, WmMouse, OnLButtonDblClk)
#define ON_WM_RBUTTONDOWN() AFX_WM_ENTRY(WM_RBUTTONDOWN, WmMouse, OnRButtonDown)
#define ON_WM_RBUTTONUP() AFX_WM_ENTRY(WM_RBUTTONUP, WmMouse, OnRButtonUp)
#define ON_WM_RBUTTONDBLCLK() AFX_WM_ENTRY(WM_RBUTTONDBLCLK, WmMouse, OnRButtonDblClk)
#define ON_WM_MOUSEWHEEL() AFX_WM_ENTRY(WM_MOUSEWHEEL, WmMouseWheel, OnMouseWheel)
#define ON_WM_MOUSELEAVE() AFX_WM_ENTRY(WM_MOUSELEAVE, WmVoid, OnMouseLeave)
#define ON_WM_KEYDOWN() AFX_WM_ENTRY(WM_KEYDOWN, WmKey, OnKeyDown)
#define ON_WM_KEYUP() AFX_WM_ENTRY(WM_KEYUP, WmKey, OnKeyUp)
#define ON_WM_HSCROLL() AFX_WM_ENTRY(WM_HSCROLL, WmScroll, OnHScroll)
#define ON_WM_VSCROLL() AFX_WM_ENTRY(WM_VSCROLL, WmScroll, OnVScroll)
#define ON_WM_CHILDACTIVATE() AFX_WM_ENTRY(WM_CHILDACTIVATE, WmVoid, OnChildActivate)
#define ON_WM_CLOSE() AFX_WM_ENTRY(WM_CLOSE, WmVoid, OnClose)
#define ON_WM_SHOWWINDOW() AFX_WM_ENTRY(WM_SHOWWINDOW, WmShowWindow, OnShowWindow)
