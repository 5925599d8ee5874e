// CPPSettings: the "Units" dialog that edits a private copy of the unit
// settings table (unit, number format and digits per quantity row and unit
// system) and the system in force. The general form lays the beam and
// section quantities out on four tabs; CPPSettings2 is the plate form the
// program shows, with the tabs "Input" and "Output". The caller fills
// m_iConv and m_iSystem, runs the dialog and takes them back after OK.
#pragma once

#include "platform/ui/core/afxui.h"

class CPPSettings : public CDialog
{
    DECLARE_DYNCREATE(CPPSettings)
public:
    enum { IDD = 328 };
    static constexpr int kSystems = 2;
    static constexpr int kRows = 30;
    static constexpr UINT kMaxDigits = 10;

    CPPSettings(CWnd* pParent = nullptr);

    int m_nCurTab = 0;
    double m_dDefForce[8] = {};
    int m_iConv[kSystems][kRows][3] = {};
    CListBox m_lbForces;    // 518
    CTabCtrl m_tab;         // 516
    CComboBox m_cbUnit;     // 515
    CComboBox m_cbQuantity; // 517
    CComboBox m_cbFormat;   // 512
    CListBox m_lbTable;     // 514
    int m_iSystem = 0;
    UINT m_nDigits = 0;
    double m_dForce = 0.0;
    CString m_strForceUnit;

    BOOL OnInitDialog() override;

    // Change handlers of the row controls; the general form stores nothing.
    virtual void OnDigitsChanged() {}
    virtual void OnUnitChanged() {}
    virtual void OnFormatChanged() {}
    // Shows the unit, format and digits of the selected quantity.
    virtual void OnQuantitySelected();
    // Shows the table and row controls, hides the force controls.
    virtual void ShowRowControls();
    virtual CString GetFormatName(int format) const;
    virtual void FillStiffnessTab();
    virtual void FillSecondTab();
    virtual void FillFirstTab();
    // Rebuilds the table line of the selected quantity and selects it.
    virtual void UpdateTableLine();
    // The unit combo filled with stresses, lengths to a power, forces.
    virtual void FillStressUnits();
    virtual void FillLengthUnits(unsigned power);
    virtual void FillForceUnits();

    // The settings row of quantity entry of tab; -1 for none.
    virtual int RowOf(int tab, int entry) const;
    // The row of the quantity selected on the tab shown; -1 for none.
    int CurrentRow() const;

protected:
    // One quantity of a tab: its name and the settings row it edits.
    struct Quantity {
        const char* name;
        int row;
    };
    void DoDataExchange(CDataExchange* pDX) override;
    // Empties the table and the quantity combo and lists the quantities.
    void FillTab(const Quantity* quantities, int count);
    // Fills the unit combo with the units of row.
    virtual void FillUnits(int row);
    // The unit text of row's table line for unit index unit.
    virtual CString UnitText(int row, int unit) const;
    // Name, unit, format and digits of one quantity, tab separated.
    CString TableLine(const Quantity& q) const;
    virtual const Quantity* QuantityAt(int tab, int entry) const;
    // Refills the tab shown, selects entry 0 and shows it.
    void RefillShownTab();

    void OnSelchangeQuantity();
    void OnSelchangeUnit();
    void OnSelchangeFormat();
    void OnSystem();
    void OnSelchangeTable();
    void OnTabChange(NMHDR* pNMHDR, LRESULT* pResult);
    void OnKillfocusDigits();
    void OnRestoreDefaults();
    DECLARE_MESSAGE_MAP()
};

class CPPSettings2 : public CPPSettings
{
public:
    explicit CPPSettings2(CWnd* pParent = nullptr);

    BOOL OnInitDialog() override;
    void OnDigitsChanged() override;
    void OnUnitChanged() override;
    void OnFormatChanged() override;
    void FillSecondTab() override;
    void FillFirstTab() override;
    int RowOf(int tab, int entry) const override;
    // The force-per-length label of unit index unit; empty for an unknown one.
    CString GetForcePerLengthLabel(int unit) const;
    // The label of the output "Force" (section forces) for unit index unit:
    // the force unit per the length unit of the dialog's "Length" row, as
    // the results show it; empty for an index without a force unit.
    CString SectionForceText(int unit) const;

protected:
    void FillUnits(int row) override;
    CString UnitText(int row, int unit) const override;
    const Quantity* QuantityAt(int tab, int entry) const override;
};
