#include "framework/listpages.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "framework/dlghelpers.h"
#include "platform/afx/numconv.h"

IMPLEMENT_DYNCREATE(KorPPNumListEdit, CPropertyPage)
IMPLEMENT_DYNCREATE(KorPPSelectID, CPropertyPage)
IMPLEMENT_DYNCREATE(KorPPTwoRad, CPropertyPage)

namespace
{

constexpr int kRadio1 = 16144, kRadio2 = 16145, kRadio3 = 16153;

} // namespace

// ---- KorPPNumListEdit ---------------------------------------------------------------

KorPPNumListEdit::KorPPNumListEdit(const char* title, double* values, int entries, int max,
                                   double factor, int min)
    : CPropertyPage(IDD), m_pdValues(values), m_nEntries(entries), m_nMax(max),
      m_dFactor(factor), m_nMin(min)
{
    if (title && *title) {
        m_strTitle = title;
        m_psp.pszTitle = m_strTitle.GetString();
        m_psp.dwFlags |= PSP_USETITLE;
    }
}

void KorPPNumListEdit::DoDataExchange(CDataExchange* pDX)
{
    CPropertyPage::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_ITEMS, m_editor);
}

BOOL KorPPNumListEdit::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    m_editor.SetWindowText("&Items:");
    while (m_editor.GetItemCount() > 0)
        m_editor.RemoveItem(0);
    m_shown.clear();
    for (int i = 0; m_pdValues && i < m_nEntries; ++i) {
        // The shortest text that reads back as the shown double.
        const CString line(AfxFormatG(AfxDisplayValue(m_pdValues[i], m_dFactor)).c_str());
        m_editor.InsertItem(-1, line);
        m_shown.emplace_back(line, m_pdValues[i]);
    }
    // The sheet always applies this page.
    SetModified(TRUE);
    return TRUE;
}

BOOL KorPPNumListEdit::OnApply()
{
    std::vector<double> kept, stored; // shown and stored values
    for (int i = 0; i < m_editor.GetItemCount();) {
        const CString line = m_editor.GetItemText(i);
        const double value = AfxAtoF(line.GetString());
        if (!(value > 0.0)) {
            CString message;
            message.Format("All entries must be numeric.\n\nPress OK to remove the entry: "
                           "'%s'.\n\nPress Cancel to return to edit mode",
                           line.GetString());
            if (AfxMessageBox(message, MB_OKCANCEL) != IDOK)
                return FALSE;
            m_editor.RemoveItem(i);
            continue;
        }
        bool bRepeated = false;
        for (double earlier : kept)
            bRepeated = bRepeated || earlier == value;
        if (bRepeated) {
            m_editor.RemoveItem(i);
            continue;
        }
        kept.push_back(value);
        // A line as it was written stores its own value, untouched.
        double store = value / m_dFactor;
        for (const auto& [text, original] : m_shown)
            if (text == line) {
                store = original;
                break;
            }
        stored.push_back(store);
        ++i;
    }
    if (static_cast<int>(kept.size()) < m_nMin) {
        CString message;
        message.Format("You need to enter at least %u items", static_cast<unsigned>(m_nMin));
        AfxMessageBox(message);
        return FALSE;
    }
    m_nEntries = std::min(static_cast<int>(kept.size()), m_nMax);
    for (int i = 0; m_pdValues && i < m_nEntries; ++i)
        m_pdValues[i] = stored[std::size_t(i)];
    const BOOL result = CPropertyPage::OnApply();
    SetModified(TRUE);
    return result;
}

// ---- KorPPSelectID ------------------------------------------------------------------

BEGIN_MESSAGE_MAP(KorPPSelectID, CPropertyPage)
ON_BN_CLICKED(16144, OnRadio)
ON_BN_CLICKED(16145, OnRadio)
ON_BN_CLICKED(16153, OnRadio)
ON_EN_CHANGE(16230, OnRadio)
END_MESSAGE_MAP()

KorPPSelectID::KorPPSelectID(CString kind1, CString kind2, CString kind3)
    : CPropertyPage(IDD), m_strKind1(kind1), m_strKind2(kind2), m_strKind3(kind3)
{
}

void KorPPSelectID::DoDataExchange(CDataExchange* pDX)
{
    CPropertyPage::DoDataExchange(pDX);
    DDX_Text(pDX, 16230, m_strIDs);
    DDX_Radio(pDX, kRadio1, m_iKind);
}

BOOL KorPPSelectID::OnInitDialog()
{
    const BOOL result = CPropertyPage::OnInitDialog();
    framira::ShowText(*this, kRadio1, m_strKind1);
    framira::ShowText(*this, kRadio2, m_strKind2);
    framira::ShowText(*this, kRadio3, m_strKind3);
    return result;
}

void KorPPSelectID::OnRadio()
{
    if (m_pfnSelect)
        SetModified(TRUE);
}

BOOL KorPPSelectID::OnApply()
{
    const BOOL result = CPropertyPage::OnApply();
    if (!result)
        return FALSE;
    CString line = m_strIDs;
    std::vector<CString> numbers;
    int pos = 0;
    for (;;) {
        CString number;
        CVirtMat::ReadNumber(pos, line, number);
        if (number.IsEmpty())
            break;
        numbers.push_back(number);
    }
    m_ids.Allocate(static_cast<int>(numbers.size()), 1, true, 0);
    for (std::size_t i = 0; i < numbers.size(); ++i)
        m_ids[int(i)][0] = static_cast<LONG>(std::atof(numbers[i].GetString()));
    if (m_pfnSelect) {
        int kind = m_iKind;
        if (m_iKind >= 0 && m_iKind < m_kindCodes.GetRows() && m_kindCodes.GetColumns() > 0)
            kind = m_kindCodes[m_iKind][0];
        m_pfnSelect(m_ids, kind);
    }
    return result;
}

// ---- KorPPTwoRad --------------------------------------------------------------------

BEGIN_MESSAGE_MAP(KorPPTwoRad, CPropertyPage)
ON_BN_CLICKED(16144, OnRadio)
ON_BN_CLICKED(16145, OnRadio)
END_MESSAGE_MAP()

void KorPPTwoRad::DoDataExchange(CDataExchange* pDX)
{
    CPropertyPage::DoDataExchange(pDX);
    DDX_Radio(pDX, kRadio1, m_iChoice);
    DDX_Text(pDX, 50101, m_strText);
}

BOOL KorPPTwoRad::OnInitDialog()
{
    const BOOL result = CPropertyPage::OnInitDialog();
    SetDlgItemText(kRadio1, m_strRadio1);
    SetDlgItemText(kRadio2, m_strRadio2);
    if (!m_strGroup.IsEmpty())
        SetDlgItemText(50102, m_strGroup);
    return result;
}

void KorPPTwoRad::OnRadio()
{
    SetModified(TRUE);
}

BOOL KorPPTwoRad::OnApply()
{
    if (m_pfnApply)
        m_pfnApply(m_iChoice);
    return CPropertyPage::OnApply();
}
