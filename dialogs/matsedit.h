// VokDlgIsoMatsEdit: the "Materials" dialog, an editor over a caller's list
// of materials. It works on copies, so Cancel leaves the caller's list as
// it was; OK merges the copies back: edited values onto the caller's
// materials, deleted ones removed and destroyed, new ones appended. Values
// are shown in the display units in force. The program derives its own
// material dialogs from this class.
#pragma once

#include <unordered_set>

#include "platform/afx/collections.h"
#include "platform/ferrand/material.h"
#include "platform/ui/core/afxui.h"

class VokDlgIsoMatsEdit : public CDialog
{
    DECLARE_DYNAMIC(VokDlgIsoMatsEdit)
public:
    enum { IDD = 16234 };

    explicit VokDlgIsoMatsEdit(CWnd* pParent = nullptr, UINT nIDTemplate = IDD);
    ~VokDlgIsoMatsEdit() override;

    // A new material started from a preset the user picks in VokDlgMatType,
    // or null when the user cancels. The caller owns it.
    virtual CMaterial* NewMat();
    // Edits the materials of pMaterials (not owned; a list of CMaterial),
    // starting on list-box entry iStartIndex.
    virtual INT_PTR DoModal(CObList* pMaterials, int iStartIndex);
    using CDialog::DoModal;
    // Copies every value but the use count from pSource onto pTarget.
    virtual void SetProperties(CMaterial* pTarget, CMaterial* pSource);
    // Merges the working copies into the caller's list (see OnOK).
    virtual void UpdateMaterialList();
    // Takes the controls' values into the current material; FALSE when the
    // exchange refused a value (its message has been shown, unless a
    // CQuietExchange is alive). A value whose field still shows what the
    // material holds is not written back, so untouched values stay bit for
    // bit.
    virtual BOOL KillfocusEdit();
    // Shows the material of the selected entry (or empty fields).
    virtual void SelchangeMatName();
    // Enables or disables the name, the four property edits and 436.
    virtual void EnableEdits(bool bEnable);

    BOOL OnInitDialog() override;
    // KillfocusEdit, then UpdateMaterialList, then the dialog's OK; a value
    // refused on the way keeps the dialog open and merges nothing.
    void OnOK() override;

    // Whether the base-material check box is shown.
    bool m_bShowBaseCheck = true;

    // The dialog's template; derived dialogs build theirs from it.
    static DialogTemplate BuildTemplate();
    // The colour's parts in whole percent, into red, green and blue and the
    // colour edits 391, 394 and 396 of wnd.
    static void ShowColorPercent(CWnd& wnd, COLORREF clr, float& red, float& green, float& blue);

protected:
    void DoDataExchange(CDataExchange* pDX) override;

    LRESULT OnColorChanged(WPARAM wParam, LPARAM lParam);
    void OnSelchangeMatName();
    void OnKillfocusName();
    void OnKillfocusEdit();
    void OnBaseMaterial();
    void OnDeleteMaterial();
    void OnNewMaterial();

    // True for a working copy the user deleted (it may carry the name
    // "DELETED"; the mark, not the name, decides).
    bool IsDeleted(const CMaterial* pMaterial) const;
    // The working copies not deleted.
    int LiveCount() const;

    CObList* m_pMatList = nullptr; // the caller's list (not owned)
    int m_iStartIndex = 0;
    CObList m_WorkList{10};         // working copies (owned)
    CMaterial* m_pCurMat = nullptr; // in m_WorkList, or null
    CListBox m_lbMaterials;         // control 364, item data: the material
    CColorButton m_btnColor;        // control 414

    // Exchange values, in display units; colours and opacity in percent.
    CString m_sName;
    double m_dModulus = 0.0;
    double m_dPoisson = 0.0;
    double m_dDensity = 0.0;
    double m_dShear = 0.0;
    int m_iUseCount = 0;
    float m_fRed = 100.0f;
    float m_fGreen = 100.0f;
    float m_fBlue = 100.0f;
    float m_fOpacity = 0.0f;
    int m_iBase = 0;
    CString m_sModulusUnit;
    CString m_sShearUnit;
    CString m_sDensityUnit;

    // Shown value = stored value x factor.
    static double ModulusFactor();
    static double DensityFactor();
    // The physical range of Poisson's ratio for the current material
    // (isotropic: 0 <= nu < 0.5).
    virtual AfxRange PoissonRange() const;
    // The modulus field's name in range messages.
    virtual CString ModulusLabel() const;
    // True when the property edits take input (a material other than VOID
    // is current): only then are their ranges checked.
    bool PropertiesEditable() const;
    // Runs KillfocusEdit without messages: what the user leaves is taken
    // when it is valid, and told only on OK, Apply or a change of material.
    void KillfocusEditQuietly();

    DECLARE_MESSAGE_MAP()

private:
    // Destroys the working copies.
    void ClearWorkList();
    // Puts the check box back to the material's state.
    void ShowBaseFlag();

    std::unordered_set<const CMaterial*> m_deleted; // working copies marked deleted
};
