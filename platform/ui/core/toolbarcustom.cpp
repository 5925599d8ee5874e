#include "platform/ui/core/toolbarcustom.h"

#include "platform/ui/core/dlgtemplate.h"
#include "platform/ui/core/frame.h"
#include "platform/ui/core/resources.h"

IMPLEMENT_DYNAMIC(CToolBarsPage, CPropertyPage)
IMPLEMENT_DYNAMIC(CToolBarCmdPage, CPropertyPage)

namespace
{

constexpr DWORD kTab = WS_VISIBLE | WS_TABSTOP;

DialogTemplate ToolBarsTemplate()
{
    DialogTemplate t;
    t.nID = AFX_IDD_TOOLBARS_PAGE;
    t.strCaption = "Toolbars";
    t.size = CSize(220, 126);
    t.Add(AfxDialogControl(IDC_STATIC, AfxCtl::groupBox, "Toolbars", CRect(7, 7, 213, 100)));
    // Two columns of six check boxes.
    for (int i = 0; i < AFX_MAX_CUSTOM_TOOLBARS; ++i) {
        const int column = i / 6, row = i % 6;
        const CRect rect(14 + 99 * column, 20 + 12 * row, 107 + 99 * column, 30 + 12 * row);
        t.Add(AfxDialogControl(AFX_IDC_TOOLBAR_FIRST + i, AfxCtl::check, "", rect,
                               kTab | (i == 0 ? WS_GROUP : 0)));
    }
    t.Add(AfxDialogControl(AFX_IDC_LARGE_BUTTONS, AfxCtl::check, "&Large buttons",
                           CRect(7, 108, 107, 118), kTab | WS_GROUP));
    t.Add(AfxDialogControl(AFX_IDC_TOOLTIPS, AfxCtl::check, "Show &tooltips",
                           CRect(113, 108, 213, 118), kTab));
    return t;
}

DialogTemplate CommandsTemplate()
{
    DialogTemplate t;
    t.nID = AFX_IDD_TOOLBAR_COMMANDS_PAGE;
    t.strCaption = "Commands";
    t.size = CSize(220, 126);
    t.Add({
        AfxDialogControl(IDC_STATIC, AfxCtl::staticText, "&Groups", CRect(7, 7, 100, 15)),
        AfxDialogControl(AFX_IDC_BUTTON_GROUPS, AfxCtl::listBox, "", CRect(7, 17, 100, 119),
                         kTab | WS_BORDER | WS_VSCROLL | LBS_NOTIFY),
        AfxDialogControl(IDC_STATIC, AfxCtl::staticText, "Co&mmands", CRect(107, 7, 213, 15)),
        AfxDialogControl(AFX_IDC_GROUP_COMMANDS, AfxCtl::listBox, "", CRect(107, 17, 213, 119),
                         kTab | WS_BORDER | WS_VSCROLL),
    });
    return t;
}

const CResourceModule s_customTemplates("afxui-toolbars", CResourceModule::library,
                                        [](CResourceModule& m) {
                                            m.Add(AFX_IDD_TOOLBARS_PAGE, ToolBarsTemplate());
                                            m.Add(AFX_IDD_TOOLBAR_COMMANDS_PAGE,
                                                  CommandsTemplate());
                                        });

} // namespace

// ---- CToolBarsPage ----------------------------------------------------------------

CToolBarsPage::CToolBarsPage(CToolBarManager& manager, UINT nIDCaption)
    : CPropertyPage(AFX_IDD_TOOLBARS_PAGE, nIDCaption), m_manager(manager)
{
}

BOOL CToolBarsPage::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    const std::vector<AfxToolBarDef>& bars = m_manager.GetToolBars();
    for (int i = 0; i < AFX_MAX_CUSTOM_TOOLBARS; ++i) {
        CWnd* box = GetDlgItem(AFX_IDC_TOOLBAR_FIRST + i);
        if (!box)
            continue;
        const CToolBar* bar = i < static_cast<int>(bars.size())
                                  ? m_manager.GetToolBar(bars[static_cast<std::size_t>(i)].nBarID)
                                  : nullptr;
        if (!bar) {
            box->ShowWindow(SW_HIDE);
            continue;
        }
        box->SetWindowText(bars[static_cast<std::size_t>(i)].strTitle);
        CheckDlgButton(AFX_IDC_TOOLBAR_FIRST + i, (bar->GetStyle() & WS_VISIBLE) ? 1 : 0);
    }
    CheckDlgButton(AFX_IDC_LARGE_BUTTONS, m_manager.IsLargeButtons() ? 1 : 0);
    CheckDlgButton(AFX_IDC_TOOLTIPS, m_manager.ToolTipsEnabled() ? 1 : 0);
    return TRUE;
}

void CToolBarsPage::OnOK()
{
    const std::vector<AfxToolBarDef>& bars = m_manager.GetToolBars();
    CFrameWnd* frame = m_manager.GetFrame();
    for (int i = 0; i < AFX_MAX_CUSTOM_TOOLBARS && i < static_cast<int>(bars.size()); ++i)
        if (CToolBar* bar = m_manager.GetToolBar(bars[static_cast<std::size_t>(i)].nBarID);
            bar && frame)
            frame->ShowControlBar(bar, IsDlgButtonChecked(AFX_IDC_TOOLBAR_FIRST + i) != 0, FALSE);
    m_manager.SetLargeButtons(IsDlgButtonChecked(AFX_IDC_LARGE_BUTTONS) != 0);
    m_manager.EnableToolTips(IsDlgButtonChecked(AFX_IDC_TOOLTIPS) != 0);
    CPropertyPage::OnOK();
}

// ---- CToolBarCmdPage --------------------------------------------------------------

BEGIN_MESSAGE_MAP(CToolBarCmdPage, CPropertyPage)
ON_LBN_SELCHANGE(AFX_IDC_BUTTON_GROUPS, OnGroupChanged)
END_MESSAGE_MAP()

CToolBarCmdPage::CToolBarCmdPage(UINT nIDTemplate, UINT nIDCaption, CToolBarManager&)
    : CPropertyPage(nIDTemplate, nIDCaption)
{
}

void CToolBarCmdPage::DefineBtnGroup(LPCTSTR lpszTitle, int nBtnCount, const UINT* nBtnIDs)
{
    Group group;
    group.strTitle = lpszTitle;
    for (int i = 0; nBtnIDs && i < nBtnCount; ++i)
        if (nBtnIDs[i] != ID_SEPARATOR)
            group.commands.push_back(nBtnIDs[i]);
    m_groups.push_back(group);
}

BOOL CToolBarCmdPage::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    if (auto* groups = dynamic_cast<CListBox*>(GetDlgItem(AFX_IDC_BUTTON_GROUPS))) {
        for (const Group& group : m_groups)
            groups->AddString(group.strTitle);
        if (!m_groups.empty())
            groups->SetCurSel(0);
    }
    OnGroupChanged();
    return TRUE;
}

void CToolBarCmdPage::OnGroupChanged()
{
    auto* groups = dynamic_cast<CListBox*>(GetDlgItem(AFX_IDC_BUTTON_GROUPS));
    auto* commands = dynamic_cast<CListBox*>(GetDlgItem(AFX_IDC_GROUP_COMMANDS));
    if (!groups || !commands)
        return;
    commands->ResetContent();
    const int sel = groups->GetCurSel();
    if (sel < 0 || sel >= static_cast<int>(m_groups.size()))
        return;
    for (UINT nID : m_groups[static_cast<std::size_t>(sel)].commands) {
        CString tip;
        if (!AfxLoadCommandStrings(nID, nullptr, &tip) || tip.IsEmpty())
            tip = std::to_string(nID);
        commands->AddString(tip);
    }
}
