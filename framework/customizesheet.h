// The toolbar customise sheet of the main frame: a "Toolbars" page with a
// check per toolbar, large buttons and tooltips, and a read-only
// "Commands" page that lists the button groups and their commands.
#pragma once

#include <vector>

#include "platform/ui/core/afxui.h"

class KorToolBarsPage : public CPropertyPage
{
public:
    enum { IDD = 20510 };
    enum : int { IDC_FIRST_BAR = 20520, MAX_BARS = 16, IDC_LARGE = 20540, IDC_TOOLTIPS = 20541 };
    explicit KorToolBarsPage(CToolBarManager* manager); // not owned

    // The choices: one entry per defined toolbar, in definition order.
    std::vector<BOOL> m_bVisible;
    BOOL m_bLargeButtons = FALSE;
    BOOL m_bToolTips = TRUE;

    BOOL OnInitDialog() override;
    // Shows the chosen toolbars of the frame, hides the others, and sets
    // the button size and tooltips.
    void Apply(CFrameWnd& frame) const;

protected:
    void DoDataExchange(CDataExchange* pDX) override;

private:
    CToolBarManager* m_pManager;
};

class KorToolBarCmdPage : public CPropertyPage
{
public:
    enum { IDD = 20509, IDS_CAPTION = 27039 };
    enum : int { IDC_GROUPS = 20550, IDC_COMMANDS = 20551 };
    KorToolBarCmdPage();

    struct Group {
        CString strName;
        std::vector<UINT> buttons; // 0: separator
    };
    // A group of buttons shown on the page.
    void DefineBtnGroup(LPCTSTR name, UINT count, const UINT* ids);
    // The group of menu commands, after the button groups.
    void DefineMenuGroup();
    const std::vector<Group>& GetGroups() const { return m_groups; }

    BOOL OnInitDialog() override;

protected:
    // Shows the commands of the selected group by their tooltips.
    void OnSelectGroup();
    DECLARE_MESSAGE_MAP()

private:
    std::vector<Group> m_groups;
};

class KorCustomizeSheet : public CPropertySheet
{
public:
    enum { IDS_CAPTION = 20538 };
    KorCustomizeSheet(CToolBarManager* manager, CWnd* parent);

    KorToolBarsPage m_toolbarsPage;
    KorToolBarCmdPage m_commandsPage;
};
