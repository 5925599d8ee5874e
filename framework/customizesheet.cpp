#include "framework/customizesheet.h"

#include "platform/afx/numconv.h"

namespace
{

// The tooltip of a command (the text after the prompt), else its id.
CString CommandName(UINT id)
{
    if (id == ID_SEPARATOR)
        return "----";
    CString text, tip;
    if (AfxLoadString(id, text) && AfxExtractSubString(tip, text, 1) && !tip.IsEmpty())
        return tip;
    return AfxFormat("Command %u", id).c_str();
}

} // namespace

KorToolBarsPage::KorToolBarsPage(CToolBarManager* manager)
    : CPropertyPage(IDD), m_pManager(manager)
{
    if (!m_pManager)
        return;
    // The choices start from what shows now.
    for (const AfxToolBarDef& def : m_pManager->GetToolBars()) {
        const CToolBar* bar = m_pManager->GetToolBar(def.nBarID);
        m_bVisible.push_back(bar && bar->GetSafeHwnd() ? (bar->GetStyle() & WS_VISIBLE) != 0
                                                       : def.bVisible);
    }
    m_bLargeButtons = m_pManager->IsLargeButtons();
    m_bToolTips = m_pManager->ToolTipsEnabled();
}

void KorToolBarsPage::Apply(CFrameWnd& frame) const
{
    if (!m_pManager)
        return;
    const auto& bars = m_pManager->GetToolBars();
    for (std::size_t i = 0; i < bars.size() && i < m_bVisible.size(); ++i)
        if (CToolBar* bar = m_pManager->GetToolBar(bars[i].nBarID))
            frame.ShowControlBar(bar, m_bVisible[i], FALSE);
    m_pManager->SetLargeButtons(m_bLargeButtons);
    m_pManager->EnableToolTips(m_bToolTips);
}

BOOL KorToolBarsPage::OnInitDialog()
{
    const std::vector<AfxToolBarDef> none;
    const auto& bars = m_pManager ? m_pManager->GetToolBars() : none;
    for (int i = 0; i < MAX_BARS; ++i) {
        CWnd* check = GetDlgItem(IDC_FIRST_BAR + i);
        if (!check)
            continue;
        const bool used = i < static_cast<int>(bars.size());
        check->SetWindowText(used ? bars[static_cast<std::size_t>(i)].strTitle : CString());
        check->ShowWindow(used ? SW_SHOW : SW_HIDE);
    }
    return CPropertyPage::OnInitDialog();
}

void KorToolBarsPage::DoDataExchange(CDataExchange* pDX)
{
    CPropertyPage::DoDataExchange(pDX);
    const int count = std::min(static_cast<int>(m_bVisible.size()), static_cast<int>(MAX_BARS));
    for (int i = 0; i < count; ++i) {
        int check = m_bVisible[static_cast<std::size_t>(i)] ? 1 : 0;
        DDX_Check(pDX, IDC_FIRST_BAR + i, check);
        m_bVisible[static_cast<std::size_t>(i)] = check != 0;
    }
    DDX_Check(pDX, IDC_LARGE, m_bLargeButtons);
    DDX_Check(pDX, IDC_TOOLTIPS, m_bToolTips);
}

BEGIN_MESSAGE_MAP(KorToolBarCmdPage, CPropertyPage)
ON_LBN_SELCHANGE(IDC_GROUPS, OnSelectGroup)
END_MESSAGE_MAP()

KorToolBarCmdPage::KorToolBarCmdPage() : CPropertyPage(IDD, IDS_CAPTION)
{
}

void KorToolBarCmdPage::DefineBtnGroup(LPCTSTR name, UINT count, const UINT* ids)
{
    Group group;
    group.strName = name;
    if (ids)
        group.buttons.assign(ids, ids + count);
    m_groups.push_back(std::move(group));
}

void KorToolBarCmdPage::DefineMenuGroup()
{
    DefineBtnGroup("Menu", 0, nullptr);
}

BOOL KorToolBarCmdPage::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    if (auto* groups = dynamic_cast<CListBox*>(GetDlgItem(IDC_GROUPS))) {
        for (const Group& group : m_groups)
            groups->AddString(group.strName);
        groups->SetCurSel(m_groups.empty() ? -1 : 0);
    }
    OnSelectGroup();
    return TRUE;
}

void KorToolBarCmdPage::OnSelectGroup()
{
    auto* groups = dynamic_cast<CListBox*>(GetDlgItem(IDC_GROUPS));
    auto* commands = dynamic_cast<CListBox*>(GetDlgItem(IDC_COMMANDS));
    if (!groups || !commands)
        return;
    commands->ResetContent();
    const int sel = groups->GetCurSel();
    if (sel < 0 || sel >= static_cast<int>(m_groups.size()))
        return;
    for (UINT id : m_groups[static_cast<std::size_t>(sel)].buttons)
        commands->AddString(CommandName(id));
}

KorCustomizeSheet::KorCustomizeSheet(CToolBarManager* manager, CWnd* parent)
    : CPropertySheet(IDS_CAPTION, parent), m_toolbarsPage(manager)
{
    AddPage(&m_toolbarsPage);
    AddPage(&m_commandsPage);
}
