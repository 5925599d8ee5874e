// DialogDriver: a user's hands on a window built from a template. Actions
// go through the controls' peers, so the layer's rules apply as for real
// input, and the same test drives headless and Qt peers. Acting on a hidden
// or disabled control, or typing into a read-only one, fails the test and
// names the control: a user cannot do that. The readers read the layer.
// A control id not found among the window's own controls is looked up in
// its visible child windows, so a sheet's driver reaches the controls of
// the page shown.
#pragma once

#include <vector>

#include "platform/ui/core/dlgtemplate.h"
#include "platform/ui/core/input.h"
#include "platform/ui/core/propsheet.h"
#include "platform/ui/core/toolbarmgr.h"

namespace afxui::headless
{

class DialogDriver
{
public:
    explicit DialogDriver(CWnd& window) : m_window(window) {} // not owned

    // Focuses the control, selects its whole text and types text over it.
    void Type(int nID, const CString& text);
    void Focus(int nID);
    void Click(int nID);
    void Select(int nID, int nIndex);
    // Selects the item of that text (ignoring case).
    void SelectString(int nID, const CString& text);
    void Spin(int nID, int nDelta);
    void Tab(int nID, int nIndex);
    // Clicks a colour button and chooses rgb in the colour dialog.
    void ChooseColor(int nID, COLORREF rgb);
    // Alt+letter.
    void Mnemonic(TCHAR chLetter);
    // The buttons of a dialog or sheet, clicked.
    void PressOK() { Click(IDOK); }
    void PressCancel() { Click(IDCANCEL); }
    void PressApply();
    // A sheet's tab.
    void ActivatePage(int nIndex);
    // Enter and Esc where the focus is (or in the window).
    void PressEnter();
    void PressEscape();
    // The title bar's close button.
    void Close();

    CString Text(int nID) const;
    int Check(int nID) const;
    bool Enabled(int nID) const;
    bool Visible(int nID) const;
    bool ReadOnly(int nID) const;
    std::vector<CString> Items(int nID) const;
    int CurSel(int nID) const;
    CString Caption() const;

private:
    // The control nID of the window or of a visible child window, or null.
    CWnd* Find(int nID) const;
    // The window with the focus when it lies in this window, else the window.
    HWND KeyTarget() const;
    // The control's state, or null after failing the test.
    CWndState* Control(int nID, const char* action) const;
    // The control's state when a user can act on it, or null after failing.
    CWndState* Usable(int nID, const char* action) const;

    CWnd& m_window;
};

// A user's hands on a combo of the toolbar model.
class ToolbarCombo
{
public:
    ToolbarCombo(CToolBarManager& manager, UINT nID) : m_manager(manager), m_nID(nID) {}
    // Types the text into an editable combo and presses Return.
    void UserEnter(const CString& text);
    void UserSelect(int nIndex);

private:
    // The combo's state when a user can reach it, or null after failing.
    CWndState* Usable(const char* action) const;
    CToolBarManager& m_manager;
    UINT m_nID;
};

} // namespace afxui::headless
