// The two pages of the toolbar customisation sheet.
//
// "Toolbars": one check box per toolbar of the manager (shown or hidden,
// at most AFX_MAX_CUSTOM_TOOLBARS), "Large buttons" (30 x 30 instead of
// 16 x 15) and "Show tooltips". Applying shows and hides the bars and
// hands both switches to the manager.
//
// "Commands": the button groups with their commands, to look at only.
// The frame fills the page with DefineBtnGroup before the sheet is shown.
#pragma once

#include <vector>

#include "platform/ui/core/propsheet.h"
#include "platform/ui/core/toolbarmgr.h"

constexpr UINT AFX_IDD_TOOLBARS_PAGE = 0x7810;
constexpr UINT AFX_IDD_TOOLBAR_COMMANDS_PAGE = 0x7811;
constexpr int AFX_IDC_TOOLBAR_FIRST = 0x7820; // the check box of toolbar i is FIRST + i
constexpr int AFX_MAX_CUSTOM_TOOLBARS = 12;
constexpr int AFX_IDC_LARGE_BUTTONS = 0x7830;
constexpr int AFX_IDC_TOOLTIPS = 0x7831;
constexpr int AFX_IDC_BUTTON_GROUPS = 0x7832;
constexpr int AFX_IDC_GROUP_COMMANDS = 0x7833;

class CToolBarsPage : public CPropertyPage
{
    DECLARE_DYNAMIC(CToolBarsPage)
public:
    explicit CToolBarsPage(CToolBarManager& manager, UINT nIDCaption = 0);
    BOOL OnInitDialog() override;
    void OnOK() override;

private:
    CToolBarManager& m_manager;
};

class CToolBarCmdPage : public CPropertyPage
{
    DECLARE_DYNAMIC(CToolBarCmdPage)
public:
    // The manager is the one the frame customises; the page lists only the
    // groups given to it.
    CToolBarCmdPage(UINT nIDTemplate, UINT nIDCaption, CToolBarManager& manager);
    explicit CToolBarCmdPage(CToolBarManager& manager)
        : CToolBarCmdPage(AFX_IDD_TOOLBAR_COMMANDS_PAGE, 0, manager)
    {
    }

    // Adds a group of nBtnCount commands (ID_SEPARATOR entries are skipped).
    void DefineBtnGroup(LPCTSTR lpszTitle, int nBtnCount, const UINT* nBtnIDs);
    struct Group {
        CString strTitle;
        std::vector<UINT> commands;
    };
    const std::vector<Group>& GetGroups() const { return m_groups; }

    BOOL OnInitDialog() override;

protected:
    // Shows the commands of the chosen group, by their tips.
    void OnGroupChanged();
    DECLARE_MESSAGE_MAP()

private:
    std::vector<Group> m_groups;
};
