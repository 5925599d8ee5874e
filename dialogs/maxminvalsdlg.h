// The "Maximum and minimum values" dialog: a read-only table of result
// extremes, one row per result, filled by the caller.
#pragma once

#include "platform/afx/collections.h"
#include "platform/ui/core/afxui.h"

constexpr UINT IDD_MAX_MIN_VALUES = 16017;
constexpr int IDC_MAX_MIN_LIST = 16017;

class VokDlgMaxMinVals : public CDialog
{
    DECLARE_DYNAMIC(VokDlgMaxMinVals)
public:
    explicit VokDlgMaxMinVals(CWnd* pParent = nullptr);

    // The four columns, set by the caller before the dialog runs (not
    // owned); a null column counts as empty.
    CStringArray* m_pColumn1 = nullptr;
    CStringArray* m_pColumn2 = nullptr;
    CStringArray* m_pColumn3 = nullptr;
    CStringArray* m_pColumn4 = nullptr;

    // Kept for callers of the interface; the columns are set directly.
    void SetData(CStringArray&, CStringArray&, CStringArray&, CStringArray&) {}

    BOOL OnInitDialog() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;

    CListBox m_lbValues;
};
