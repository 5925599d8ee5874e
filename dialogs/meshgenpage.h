// VokPPMeshGenSett: the "Mesh control" page over mesh-generation settings
// owned by its caller. The caller hands pointers to its own variables; the
// page shows working copies and, when applied, writes back only the values
// that changed, clearing the caller's mesh-valid flag for each. The control
// type and the number of subdivisions are the page's own public members,
// which the caller reads after the sheet closed.
#pragma once

#include "platform/ui/core/afxui.h"

class VokPPMeshGenSett : public CPropertyPage
{
    DECLARE_DYNCREATE(VokPPMeshGenSett)
public:
    // Control types (radios 446, 447, 448).
    enum { ctrlDefault = 0, ctrlUserDefined = 1, ctrlSubdivide = 2 };
    enum { IDD = 16071 };

    // The pointers are not owned and must outlive the page. pbWarnings is
    // the "suppress warnings" switch (true: checked).
    VokPPMeshGenSett(int* piMinElements, int* piTrialNodes, int* piInterpolation, int* piEvenRows,
                     int* piOddRows, bool* pbMeshValid, bool* pbSuppressWarnings, int iControlType,
                     int iSubdivisions, int iDefaultSubdivisions);

    // The applied control type and number of subdivisions.
    int m_iControlType = ctrlDefault;
    int m_iSubdivisions = 0;

    BOOL OnInitDialog() override;
    BOOL OnApply() override;

protected:
    // Only for the run-time class record: no caller data, writes nothing.
    VokPPMeshGenSett();

    void DoDataExchange(CDataExchange* pDX) override;

    void OnRestoreDefault();
    void OnControlType();
    // Interpolation radios and typed text: the sheet's Apply lights up.
    void OnModified();

    DECLARE_MESSAGE_MAP()

private:
    // The caller's variables (not owned; all null for a page made by the
    // default constructor).
    int* m_piMinElements = nullptr;
    int* m_piTrialNodes = nullptr;
    int* m_piInterpolation = nullptr;
    int* m_piEvenRows = nullptr;
    int* m_piOddRows = nullptr;
    bool* m_pbMeshValid = nullptr;
    bool* m_pbSuppressWarnings = nullptr;

    // Working copies, exchanged with the controls.
    int m_iMinElements = 300;
    int m_iTrialNodes = 5000;
    int m_iInterpolation = 0;
    UINT m_uEvenRows = 1;
    UINT m_uOddRows = 1;
    int m_iSuppressWarnings = 0;
    int m_iWorkControlType = ctrlDefault;
    int m_iWorkSubdivisions = 0;
    int m_iDefaultSubdivisions = 0;

    CEdit m_editSubdivisions; // control 367
    // True while OnInitDialog fills the controls: their EN_CHANGE is no
    // change by the user.
    bool m_bFilling = false;

    // Writes value through pTarget and clears the mesh-valid flag when they differ.
    void Store(int* pTarget, int value);
};
