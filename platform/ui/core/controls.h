// The controls. Each class is a wrapper over its window's state (see
// wnd.h); the semantics the program relies on are computed here, not by a
// toolkit:
// - an edit notifies EN_CHANGE on every text change, also SetWindowText and
//   ReplaceSel; buttons, combos and lists never notify a programmatic change;
// - multi-line texts and offsets keep "\r\n" as two characters;
// - sorted lists and combos insert by a case-insensitive byte compare, and
//   item data moves with its item;
// - a spin writes its position into its buddy as "%d".
// What the user does (typing, clicks, choices) comes in through AfxInput.
#pragma once

#include "platform/ui/core/wnd.h"


class CEdit : public CWnd
{
    DECLARE_DYNAMIC(CEdit)
public:
    // Selection in bytes of the text (end -1: to the end; start -1: none).
    void SetSel(int nStartChar, int nEndChar, BOOL bNoScroll = FALSE);
    void GetSel(int& nStartChar, int& nEndChar) const;
    // Replaces the selection, cut at the text limit; the caret follows it.
    void ReplaceSel(LPCTSTR lpszNewText, BOOL bCanUndo = FALSE);
    // 0 sets the largest limit.
    void LimitText(int nChars = 0);
    void SetLimitText(UINT nMax) { LimitText(static_cast<int>(nMax)); }
    UINT GetLimitText() const;
    // Lines end at "\r\n".
    int GetLineCount() const;
    // The offset of line nLine's first character (-1: the caret's line), or
    // -1 past the last line.
    int LineIndex(int nLine = -1) const;
    // The line holding the character at nIndex (-1: the caret).
    int LineFromChar(int nIndex = -1) const;
    BOOL SetReadOnly(BOOL bReadOnly = TRUE);

protected:
    AfxWndKind GetWndKind() const override { return AfxWndKind::edit; }
};

class CButton : public CWnd
{
    DECLARE_DYNAMIC(CButton)
public:
    // 0, 1 or 2; no notification.
    void SetCheck(int nCheck);
    int GetCheck() const;
    UINT GetButtonStyle() const { return GetStyle() & BS_TYPEMASK; }

protected:
    AfxWndKind GetWndKind() const override { return AfxWndKind::button; }
};

class CStatic : public CWnd
{
    DECLARE_DYNAMIC(CStatic)
public:
    // Shows a bitmap and returns the one shown before; the static never
    // deletes either (their owner does).
    HBITMAP SetBitmap(HBITMAP hBitmap);
    HBITMAP GetBitmap() const;

protected:
    AfxWndKind GetWndKind() const override { return AfxWndKind::staticText; }
};

// The item list shared by list boxes, combo boxes and tab controls.
class CListCore
{
public:
    // At the end, or in order for LBS_SORT lists and CBS_SORT combos.
    static int Add(CWndState& state, LPCTSTR lpszItem);
    static int Insert(CWndState& state, int nIndex, LPCTSTR lpszItem);
    static int Delete(CWndState& state, int nIndex);
    static void Reset(CWndState& state);
    // Case-insensitive, from the item after nStartAfter round to it; a
    // prefix match unless bExact. -1 when none.
    static int Find(const CWndState& state, int nStartAfter, LPCTSTR lpszItem, bool bExact);
    static int SetCurSel(CWndState& state, int nSelect);
    static int GetText(const CWndState& state, int nIndex, CString& rString);
    // Compares as sorted lists do: ASCII case ignored, bytes by value.
    static int Compare(const CString& a, const CString& b);
};

class CListBox : public CWnd
{
    DECLARE_DYNAMIC(CListBox)
public:
    int AddString(LPCTSTR lpszItem);
    int InsertString(int nIndex, LPCTSTR lpszItem);
    int DeleteString(UINT nIndex);
    void ResetContent();
    int GetCount() const;
    int GetCurSel() const;
    int SetCurSel(int nSelect);
    int GetText(int nIndex, CString& rString) const;
    int GetTextLen(int nIndex) const;
    DWORD_PTR GetItemData(int nIndex) const;
    int SetItemData(int nIndex, DWORD_PTR dwItemData);
    int FindString(int nStartAfter, LPCTSTR lpszItem) const;
    int FindStringExact(int nIndexStart, LPCTSTR lpszFind) const;
    int SelectString(int nStartAfter, LPCTSTR lpszItem);
    // Tab stops of an LBS_USETABSTOPS list, in dialog units: none (every 32
    // units), one every cxEachStop units, or the positions given.
    void SetTabStops();
    BOOL SetTabStops(const int& cxEachStop);
    BOOL SetTabStops(int nTabStops, LPINT rgTabStops);
    // The tab stops set last (empty: the default).
    std::vector<int> GetTabStops() const;

protected:
    AfxWndKind GetWndKind() const override { return AfxWndKind::listBox; }
};

class CComboBox : public CWnd
{
    DECLARE_DYNAMIC(CComboBox)
public:
    int AddString(LPCTSTR lpszString);
    int InsertString(int nIndex, LPCTSTR lpszString);
    int DeleteString(UINT nIndex);
    void ResetContent();
    int GetCount() const;
    int GetCurSel() const;
    int SetCurSel(int nSelect);
    void GetLBText(int nIndex, CString& rString) const;
    int GetLBTextLen(int nIndex) const;
    DWORD_PTR GetItemData(int nIndex) const;
    int SetItemData(int nIndex, DWORD_PTR dwItemData);
    int FindString(int nStartAfter, LPCTSTR lpszString) const;
    int FindStringExact(int nIndexStart, LPCTSTR lpszFind) const;
    int SelectString(int nStartAfter, LPCTSTR lpszString);

protected:
    AfxWndKind GetWndKind() const override { return AfxWndKind::comboBox; }
};

class CSpinButtonCtrl : public CWnd
{
    DECLARE_DYNAMIC(CSpinButtonCtrl)
public:
    void SetRange(short nLower, short nUpper) { SetRange32(nLower, nUpper); }
    void SetRange32(int nLower, int nUpper);
    void GetRange32(int& nLower, int& nUpper) const;
    // Sets the position and writes it into the buddy (no spin notification).
    int SetPos(int nPos);
    int GetPos() const;
    CWnd* SetBuddy(CWnd* pWndBuddy);
    CWnd* GetBuddy() const;
    int SetBase(int nBase) { return nBase == 10 ? 10 : 0; }

protected:
    AfxWndKind GetWndKind() const override { return AfxWndKind::spin; }
};

class CTabCtrl : public CWnd
{
    DECLARE_DYNAMIC(CTabCtrl)
public:
    int InsertItem(int nItem, LPCTSTR lpszItem);
    BOOL DeleteAllItems();
    int GetItemCount() const;
    int GetCurSel() const;
    // Selects a tab; no notification. Returns the tab selected before.
    int SetCurSel(int nItem);

protected:
    AfxWndKind GetWndKind() const override { return AfxWndKind::tab; }
};

// A scroll bar control: range and position. The user's actions reach the
// parent as WM_HSCROLL or WM_VSCROLL; the parent moves the position.
class CScrollBar : public CWnd
{
    DECLARE_DYNAMIC(CScrollBar)
public:
    void SetScrollRange(int nMinPos, int nMaxPos, BOOL bRedraw = TRUE);
    void GetScrollRange(LPINT lpMinPos, LPINT lpMaxPos) const;
    int SetScrollPos(int nPos, BOOL bRedraw = TRUE);
    int GetScrollPos() const;

protected:
    AfxWndKind GetWndKind() const override { return AfxWndKind::scrollBar; }
};

// A colour swatch: a click opens the colour dialog, and a colour chosen
// there is sent to the parent as WM_COLORBUTTON_CHANGED (0x465).
class CColorButton : public CWnd
{
    DECLARE_DYNAMIC(CColorButton)
public:
    void SetColor(COLORREF clr);
    COLORREF GetColor() const;

protected:
    AfxWndKind GetWndKind() const override { return AfxWndKind::colorButton; }
};

// An editable list with New, Delete, Up and Down, under a caption set by
// its owner ("&Items:").
class CListEditCtrl : public CWnd
{
    DECLARE_DYNAMIC(CListEditCtrl)
public:
    int GetItemCount() const;
    CString GetItemText(int nIndex) const;
    int InsertItem(int nIndex, LPCTSTR lpszItem); // -1: at the end
    BOOL RemoveItem(int nIndex);
    BOOL SetItemText(int nIndex, LPCTSTR lpszItem);
    int GetCurSel() const;
    int SetCurSel(int nIndex);
    // The user's buttons.
    void NewItem();    // an empty item after the selection, selected
    void DeleteItem(); // the selected one
    void MoveUp();
    void MoveDown();

protected:
    AfxWndKind GetWndKind() const override { return AfxWndKind::listEdit; }
};

// A push button showing a picture beside its text.
class CPictureButton : public CButton
{
    DECLARE_DYNAMIC(CPictureButton)
public:
    void SetBitmapID(UINT nIDBitmap);
    UINT GetBitmapID() const;

protected:
    AfxWndKind GetWndKind() const override { return AfxWndKind::pictureButton; }
};

// The scroll bar of a handle, or null (for WM_HSCROLL/WM_VSCROLL handlers).
CScrollBar* AfxScrollBarFromHandle(HWND hWnd);

// Shared by the controls and AfxInput.
// Replaces an edit's selection within its limit; true when the text changed.
bool AfxReplaceSelection(CWndState& state, const CString& text);
// A spin's position (its buddy's number when it shows one), and setting it.
int AfxSpinPos(const CWndState& state);
void AfxSetSpinPos(CWndState& state, int nPos);
