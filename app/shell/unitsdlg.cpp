#include "app/shell/unitsdlg.h"

#include <cstdio>
#include <vector>

#include "platform/dimvor/units.h"

namespace
{

constexpr int kFormatCombo = 512;
constexpr int kDigitsEdit = 513;
constexpr int kTableList = 514;
constexpr int kUnitCombo = 515;
constexpr int kTabCtrl = 516;
constexpr int kQuantityCombo = 517;
constexpr int kForceList = 518;
constexpr int kForceEdit = 519;
constexpr int kForceUnit = 520;
constexpr int kDefaultsButton = 521;
constexpr int kForcesButton = 522;
constexpr int kSIRadio = 16144;
constexpr int kUSRadio = 16153;
constexpr int kTabStop = 64;

// Kind-3 length texts of units 0 and 1, each with the power p when p is not 1.
std::vector<CString> LengthTexts(int system, unsigned power)
{
    std::vector<CString> texts;
    for (int unit = 0; unit < 2; ++unit) {
        CString text = UnitString(system, kUnitLength, unit);
        if (power != 1) {
            CString suffix;
            suffix.Format("^%u", power);
            text += suffix;
        }
        texts.push_back(text);
    }
    return texts;
}

std::vector<CString> KindTexts(int system, int kind, int count)
{
    std::vector<CString> texts;
    for (int unit = 0; unit < count; ++unit)
        texts.push_back(UnitString(system, kind, unit));
    return texts;
}

void FillCombo(CComboBox& combo, const std::vector<CString>& texts)
{
    for (const CString& text : texts)
        combo.AddString(text);
}

// The entry at index, empty when there is none.
CString EntryAt(const std::vector<CString>& texts, int index)
{
    return index >= 0 && index < static_cast<int>(texts.size()) ? texts[static_cast<std::size_t>(index)]
                                                                  : CString();
}

// A stored index that is not an entry of the combo leaves it unselected.
void SelectIndex(CComboBox& combo, int index)
{
    combo.SetCurSel(index >= 0 && index < combo.GetCount() ? index : -1);
}

} // namespace

// ---- The general form -------------------------------------------------------------

IMPLEMENT_DYNCREATE(CPPSettings, CDialog)

BEGIN_MESSAGE_MAP(CPPSettings, CDialog)
ON_CBN_SELCHANGE(kQuantityCombo, OnSelchangeQuantity)
ON_CBN_EDITCHANGE(kQuantityCombo, OnSelchangeQuantity)
ON_CBN_SELCHANGE(kUnitCombo, OnSelchangeUnit)
ON_CBN_SELCHANGE(kFormatCombo, OnSelchangeFormat)
ON_BN_CLICKED(kSIRadio, OnSystem)
ON_BN_CLICKED(kUSRadio, OnSystem)
ON_LBN_SELCHANGE(kTableList, OnSelchangeTable)
ON_NOTIFY(TCN_SELCHANGE, kTabCtrl, OnTabChange)
ON_EN_KILLFOCUS(kDigitsEdit, OnKillfocusDigits)
ON_BN_CLICKED(kDefaultsButton, OnRestoreDefaults)
END_MESSAGE_MAP()

CPPSettings::CPPSettings(CWnd* pParent) : CDialog(IDD, pParent)
{
}

void CPPSettings::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, kForceList, m_lbForces);
    DDX_Control(pDX, kTabCtrl, m_tab);
    DDX_Control(pDX, kUnitCombo, m_cbUnit);
    DDX_Control(pDX, kQuantityCombo, m_cbQuantity);
    DDX_Control(pDX, kFormatCombo, m_cbFormat);
    DDX_Control(pDX, kTableList, m_lbTable);
    DDX_Radio(pDX, kSIRadio, m_iSystem);
    // The two edits have no label of their own: their rows name them.
    DDX_Number(pDX, kDigitsEdit, m_nDigits, 0, kMaxDigits, "Digits");
    DDX_Number(pDX, kForceEdit, m_dForce, AfxRange::Signed(), "Force");
    DDX_Text(pDX, kForceUnit, m_strForceUnit);
}

BOOL CPPSettings::OnInitDialog()
{
    CDialog::OnInitDialog();
    for (const char* name : {"Input", "Stress && Parameters", "Stiffness", "Default forces"})
        m_tab.InsertItem(m_tab.GetItemCount(), name);
    m_lbTable.SetTabStops(kTabStop);
    m_lbForces.SetTabStops(kTabStop);
    ShowRowControls();
    FillFirstTab();
    m_cbQuantity.SetCurSel(0);
    m_lbTable.SetCurSel(0);
    OnQuantitySelected();
    return TRUE;
}

const CPPSettings::Quantity* CPPSettings::QuantityAt(int tab, int entry) const
{
    static const Quantity kInput[] = {{"Length", 0},   {"Force", 1},        {"Moment", 2},
                                      {"Bimoment", 3}, {"E/G-mod", 4},      {"Mass density", 5},
                                      {"Weight density", 6}, {"Angle", 7}};
    static const Quantity kSection[] = {{"Stress", 8},   {"Area", 9},     {"Omega", 10},
                                        {"I_y/I_z", 11}, {"I_t/I_r", 12}, {"I_omega", 13}};
    static const Quantity kStiffness[] = {{"EA/GA", 14}, {"EI_y/EI_z", 15}, {"GI_r", 16},
                                          {"EI_omega", 17}};
    struct Tab {
        const Quantity* list;
        int count;
    };
    const Tab tabs[] = {{kInput, 8}, {kSection, 6}, {kStiffness, 4}};
    if (tab < 0 || tab >= 3 || entry < 0 || entry >= tabs[tab].count)
        return nullptr;
    return &tabs[tab].list[entry];
}

int CPPSettings::RowOf(int tab, int entry) const
{
    const Quantity* q = QuantityAt(tab, entry);
    return q ? q->row : -1;
}

int CPPSettings::CurrentRow() const
{
    return RowOf(m_nCurTab, m_cbQuantity.GetCurSel());
}

void CPPSettings::FillTab(const Quantity* quantities, int count)
{
    m_lbTable.ResetContent();
    m_cbQuantity.ResetContent();
    for (int i = 0; i < count; ++i) {
        m_cbQuantity.AddString(quantities[i].name);
        m_lbTable.AddString(TableLine(quantities[i]));
    }
}

void CPPSettings::FillFirstTab()
{
    FillTab(QuantityAt(0, 0), 8);
}

void CPPSettings::FillSecondTab()
{
    FillTab(QuantityAt(1, 0), 6);
}

void CPPSettings::FillStiffnessTab()
{
    FillTab(QuantityAt(2, 0), 4);
}

CString CPPSettings::GetFormatName(int format) const
{
    return format == 0 ? "e-format" : format == 1 ? "f-format" : "g-format";
}

CString CPPSettings::TableLine(const Quantity& q) const
{
    const int* v = m_iConv[m_iSystem & 1][q.row];
    CString digits;
    digits.Format("%u", static_cast<unsigned>(v[2]));
    CString line = CString(q.name) + "\t" + UnitText(q.row, v[0]) + "\t" + GetFormatName(v[1]) +
                   "\t" + digits;
    ReplaceSqrd(line);
    ReplaceCubd(line);
    return line;
}

void CPPSettings::FillStressUnits()
{
    FillCombo(m_cbUnit, KindTexts(m_iSystem & 1, kUnitStress, 3));
}

void CPPSettings::FillLengthUnits(unsigned power)
{
    FillCombo(m_cbUnit, LengthTexts(m_iSystem & 1, power));
}

void CPPSettings::FillForceUnits()
{
    FillCombo(m_cbUnit, KindTexts(m_iSystem & 1, kUnitForce, 2));
}

void CPPSettings::FillUnits(int row)
{
    switch (row) {
    case 0: FillLengthUnits(1); break;
    case 2: case 3: FillCombo(m_cbUnit, KindTexts(m_iSystem & 1, kUnitMoment, 4)); break;
    case 4: case 5: case 6: case 8: FillStressUnits(); break;
    case 7: FillCombo(m_cbUnit, {"deg", "rad"}); break;
    case 9: FillLengthUnits(2); break;
    case 10: case 11: case 12: FillLengthUnits(4); break;
    case 13: FillLengthUnits(6); break;
    default: FillForceUnits(); break;
    }
}

CString CPPSettings::UnitText(int row, int unit) const
{
    const int s = m_iSystem & 1;
    switch (row) {
    case 0: return EntryAt(LengthTexts(s, 1), unit);
    case 2: case 3: return UnitString(s, kUnitMoment, unit);
    case 4: case 5: case 6: case 8: return UnitString(s, kUnitStress, unit);
    case 7: return unit == 0 ? "deg" : "rad";
    case 9: return EntryAt(LengthTexts(s, 2), unit);
    case 10: case 11: case 12: return EntryAt(LengthTexts(s, 4), unit);
    case 13: return EntryAt(LengthTexts(s, 6), unit);
    default: return UnitString(s, kUnitForce, unit);
    }
}

void CPPSettings::OnQuantitySelected()
{
    UpdateData(TRUE);
    m_cbUnit.ResetContent();
    const int entry = m_cbQuantity.GetCurSel();
    const int row = RowOf(m_nCurTab, entry);
    if (row < 0)
        return;
    const int* v = m_iConv[m_iSystem & 1][row];
    FillUnits(row);
    SelectIndex(m_cbUnit, v[0]);
    SelectIndex(m_cbFormat, v[1]);
    m_lbTable.SetCurSel(entry);
    m_nDigits = static_cast<UINT>(v[2]);
    CString digits;
    digits.Format("%u", m_nDigits);
    SetDlgItemText(kDigitsEdit, digits);
}

void CPPSettings::ShowRowControls()
{
    for (int id : {kForceUnit, kForceEdit, kForceList})
        GetDlgItem(id)->ShowWindow(SW_HIDE);
    for (int id : {kTableList, kUnitCombo, kFormatCombo, kDigitsEdit, kQuantityCombo})
        GetDlgItem(id)->ShowWindow(SW_SHOW);
}

void CPPSettings::UpdateTableLine()
{
    const int entry = m_cbQuantity.GetCurSel();
    const Quantity* q = QuantityAt(m_nCurTab, entry);
    if (!q)
        return;
    m_lbTable.DeleteString(static_cast<UINT>(entry));
    m_lbTable.InsertString(entry, TableLine(*q));
    m_lbTable.SetCurSel(entry);
}

void CPPSettings::RefillShownTab()
{
    switch (m_nCurTab) {
    case 0: FillFirstTab(); break;
    case 1: FillSecondTab(); break;
    case 2: FillStiffnessTab(); break;
    default: break;
    }
    ShowRowControls();
    m_cbQuantity.SetCurSel(0);
    OnQuantitySelected();
}

void CPPSettings::OnSelchangeQuantity()
{
    OnQuantitySelected();
}

void CPPSettings::OnSelchangeUnit()
{
    OnUnitChanged();
}

void CPPSettings::OnSelchangeFormat()
{
    OnFormatChanged();
}

void CPPSettings::OnSystem()
{
    // The first run takes the new system; the second shows its rows.
    OnQuantitySelected();
    RefillShownTab();
}

void CPPSettings::OnSelchangeTable()
{
    m_cbQuantity.SetCurSel(m_lbTable.GetCurSel());
    OnQuantitySelected();
}

void CPPSettings::OnTabChange(NMHDR*, LRESULT* pResult)
{
    if (pResult)
        *pResult = 0;
    if (!UpdateData(TRUE))
        return;
    if (const int row = CurrentRow(); row >= 0)
        m_iConv[m_iSystem & 1][row][2] = static_cast<int>(m_nDigits);
    m_nCurTab = m_tab.GetCurSel();
    RefillShownTab();
}

void CPPSettings::OnKillfocusDigits()
{
    if (m_nCurTab < 0 || m_nCurTab > 2)
        return;
    CString text;
    GetDlgItemText(kDigitsEdit, text);
    text.Trim();
    char* end = nullptr;
    const unsigned long value = std::strtoul(text, &end, 10);
    if (text.IsEmpty() || text[0] == '-' || (end && *end != '\0'))
        return; // not a number: OK reports it
    m_nDigits = value > kMaxDigits ? kMaxDigits : static_cast<UINT>(value);
    if (value > kMaxDigits) {
        CString shown;
        shown.Format("%u", m_nDigits);
        SetDlgItemText(kDigitsEdit, shown);
    }
    OnDigitsChanged();
}

void CPPSettings::OnRestoreDefaults()
{
    SetDefaultUnitRows(m_iConv, m_iSystem & 1);
    RefillShownTab();
}

// ---- The plate form ---------------------------------------------------------------

CPPSettings2::CPPSettings2(CWnd*) : CPPSettings(nullptr)
{
}

BOOL CPPSettings2::OnInitDialog()
{
    CDialog::OnInitDialog();
    for (int id : {kForcesButton, kForceUnit, kForceEdit, kForceList})
        GetDlgItem(id)->ShowWindow(SW_HIDE);
    m_tab.InsertItem(0, "Input");
    m_tab.InsertItem(1, "Output");
    m_lbTable.SetTabStops(kTabStop);
    m_lbForces.SetTabStops(kTabStop);
    FillFirstTab();
    m_cbQuantity.SetCurSel(0);
    m_lbTable.SetCurSel(0);
    OnQuantitySelected();
    return TRUE;
}

const CPPSettings::Quantity* CPPSettings2::QuantityAt(int tab, int entry) const
{
    static const Quantity kInput[] = {{"Length", 0},  {"Force", 1},        {"Surface load", 6},
                                      {"Edge load", 3}, {"E/G-mod", 4},    {"Mass density", 5},
                                      {"Angle", 7}};
    static const Quantity kOutput[] = {
        {"Stress", 8}, {"Area", 9}, {"Moment", 2}, {"Force", 10}, {"Displacement", 18}};
    if (tab == 0 && entry >= 0 && entry < 7)
        return &kInput[entry];
    if (tab == 1 && entry >= 0 && entry < 5)
        return &kOutput[entry];
    return nullptr;
}

int CPPSettings2::RowOf(int tab, int entry) const
{
    const Quantity* q = QuantityAt(tab, entry);
    return q ? q->row : -1;
}

void CPPSettings2::FillFirstTab()
{
    FillTab(QuantityAt(0, 0), 7);
}

void CPPSettings2::FillSecondTab()
{
    FillTab(QuantityAt(1, 0), 5);
}

CString CPPSettings2::GetForcePerLengthLabel(int unit) const
{
    const int s = m_iSystem & 1;
    switch (unit) {
    case 0: return UnitString(s, kUnitForce, 0) + "/" + UnitString(s, kUnitLength, 1);
    case 1: return UnitString(s, kUnitForce, 1) + "/" + UnitString(s, kUnitLength, 1);
    case 2: return UnitString(s, kUnitForce, 1) + "/" + UnitString(s, kUnitLength, 0);
    default: return CString();
    }
}

CString CPPSettings2::SectionForceText(int unit) const
{
    // The results show section forces in the force unit of this row per
    // the length unit of the "Length" row; the label is made by the same
    // rule (an index without a force unit gives an empty text).
    const int s = m_iSystem & 1;
    if (UnitString(s, kUnitForce, unit).IsEmpty())
        return CString();
    CString label;
    PerLengthFactor(s, -kUnitForce, unit, m_iConv[s][0][0], &label);
    return label;
}

namespace
{

CString MassDensityText(int system)
{
    CString text = UnitString(system, kUnitMass, 1) + UnitString(system, kUnitPerVolume, 1);
    ReplaceSqrd(text);
    ReplaceCubd(text);
    return text;
}

} // namespace

void CPPSettings2::FillUnits(int row)
{
    const int s = m_iSystem & 1;
    switch (row) {
    case 0: case 18: FillLengthUnits(1); break;
    case 1: FillForceUnits(); break;
    case 4: case 6: case 8: FillStressUnits(); break;
    case 3:
        for (int unit = 0; unit < 3; ++unit)
            m_cbUnit.AddString(GetForcePerLengthLabel(unit));
        break;
    case 10:
        for (int unit = 0; unit < 2; ++unit)
            m_cbUnit.AddString(SectionForceText(unit));
        break;
    case 5: m_cbUnit.AddString(MassDensityText(s)); break;
    case 7: FillCombo(m_cbUnit, {"deg", "rad"}); break;
    case 9: FillLengthUnits(2); break;
    case 2: FillCombo(m_cbUnit, KindTexts(s, kUnitMoment, 4)); break;
    default: break;
    }
}

CString CPPSettings2::UnitText(int row, int unit) const
{
    const int s = m_iSystem & 1;
    switch (row) {
    case 0: case 18: return UnitString(s, kUnitLength, unit);
    case 1: return UnitString(s, kUnitForce, unit);
    case 4: case 6: case 8: return UnitString(s, kUnitStress, unit);
    case 3: return GetForcePerLengthLabel(unit);
    case 10: return SectionForceText(unit);
    case 5: return MassDensityText(s);
    case 7: return unit == 0 ? "deg" : "rad";
    case 9: return UnitString(s, kUnitArea, unit);
    case 2: return UnitString(s, kUnitMoment, unit);
    default: return CString();
    }
}

void CPPSettings2::OnDigitsChanged()
{
    if (const int row = CurrentRow(); row >= 0) {
        m_iConv[m_iSystem & 1][row][2] = static_cast<int>(m_nDigits);
        UpdateTableLine();
    }
}

void CPPSettings2::OnUnitChanged()
{
    const int row = CurrentRow();
    if (row < 0 || m_cbUnit.GetCurSel() < 0)
        return;
    m_iConv[m_iSystem & 1][row][0] = m_cbUnit.GetCurSel();
    UpdateTableLine();
}

void CPPSettings2::OnFormatChanged()
{
    const int row = CurrentRow();
    if (row < 0 || m_cbFormat.GetCurSel() < 0)
        return;
    m_iConv[m_iSystem & 1][row][1] = m_cbFormat.GetCurSel();
    UpdateTableLine();
}
