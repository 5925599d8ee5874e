// What a user does to a window, as the peers report it. Each call applies
// the layer's rules and sends the notifications a system control would:
// - a click first moves the focus to a control that takes it (the old
//   control's EN_KILLFOCUS comes before anything the click does);
// - an auto check box toggles, an auto 3-state one cycles 0 -> 1 -> 2 -> 0,
//   an auto radio checks itself and clears the other radios of its group
//   (from a WS_GROUP control to the next); BN_CLICKED follows the new state;
// - a colour button opens the colour dialog and, on OK, sends
//   WM_COLORBUTTON_CHANGED (wParam its id, lParam the colour) to its parent;
// - typing replaces the selection, cut at the text limit; a read-only edit
//   and an ES_NUMBER edit given a non-digit refuse it;
// - a selection by the user notifies (CBN_SELCHANGE, LBN_SELCHANGE,
//   TCN_SELCHANGE); a spin step moves the position, writes the buddy "%d",
//   and the buddy notifies EN_CHANGE.
// Each returns false when the window cannot take the action.
#pragma once

#include "platform/ui/core/controls.h"

bool AfxUserFocus(HWND hWnd);
bool AfxUserClick(HWND hWnd);
bool AfxUserType(HWND hWnd, const CString& text);
bool AfxUserSelect(HWND hWnd, int nIndex);
bool AfxUserSpin(HWND hWnd, int nDelta);
bool AfxUserScroll(HWND hWnd, UINT nSBCode, int nPos);
// Alt+letter in a window: a static's "&" letter focuses the next control
// that takes the focus (in template order); a button's clicks it.
bool AfxUserMnemonic(HWND hWndParent, TCHAR chLetter);

// Enter or Esc pressed while hWnd has the focus (or in the dialog hWnd).
// The window gets WM_KEYDOWN first; a non-zero answer means it took the
// key (Return in an editable toolbar combo). Otherwise Enter presses the dialog's default button (a
// disabled one does nothing), unless the focus is in a multi-line ES_WANTRETURN edit, which takes a
// line break; Esc presses IDCANCEL. The press is BN_CLICKED from the button,
// without moving the focus. The dialog is the window's nearest ancestor
// that is not a child window, so Enter on a sheet's page presses the
// sheet's OK.
bool AfxUserDialogKey(HWND hWnd, UINT nVirtKey);
// The user closes a top-level window (its title bar's close button):
// WM_CLOSE; a dialog takes it as IDCANCEL.
bool AfxUserClose(HWND hWnd);

// True for radio buttons.
bool AfxIsRadio(const CWndState& state);
// True for the kinds of window that take the focus.
bool AfxTakesFocus(const CWndState& state);
