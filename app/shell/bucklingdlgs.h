// Small input forms of the shell document and the model views: the
// buckling settings page, the read-only "Element properties" dialog, the
// quadrilateral-region dialog and the "Volume forces" dialog. They only
// hold values: the caller sets the members before the dialog runs and reads
// them after OK.
#pragma once

#include <array>

#include "matrix/zelkor.h"
#include "platform/ui/core/afxui.h"

class CPPBucklSett : public CPropertyPage
{
    DECLARE_DYNCREATE(CPPBucklSett)
public:
    enum { IDD = 785 };
    enum : int { IDC_MODES = 16230, IDC_SUBSPACE = 1219, IDC_LANCZOS = 1146,
                 IDC_CORNERS = 1217, IDC_CENTROID = 1218 };
    CPPBucklSett();

    int m_nModes = 0;         // 1 to 100
    int m_iSolver = -1;       // 0 subspace iteration, 1 Lanczos
    int m_iStressPoints = -1; // 0 corner nodes, 1 element centroid

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};

class CDlgElemProp : public CDialog
{
public:
    enum { IDD = 779 };
    enum : int { IDC_ID = 1207, IDC_MATERIAL = 1214, IDC_TYPE = 1212, IDC_AREA = 1213 };
    explicit CDlgElemProp(CWnd* pParent = nullptr);

    int m_nElemID = 0;
    CString m_strMaterial;
    CString m_strElemType;
    CString m_strArea;

    BOOL OnInitDialog() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};

class CDlgQuadCreate : public CDialog
{
public:
    enum { IDD = 705 };
    enum : int { IDC_UNITS = 16258 };
    explicit CDlgQuadCreate(CWnd* pParent = nullptr);

    // Corners: A and B the lower ones, C and D the upper ones.
    double m_dAx = -500.0, m_dBx = 500.0, m_dCx = -500.0, m_dDx = 500.0;
    double m_dAy = -500.0, m_dBy = -500.0, m_dCy = 500.0, m_dDy = 500.0;
    double m_dThickness = 100.0;
    // Side conditions (0 none, 1 simply supported, 2 fixed, 3 special); the
    // group is not shown, so these keep what the caller set.
    int m_iBCAB = 0, m_iBCAC = 0, m_iBCBD = 0, m_iBCCD = 0;
    double m_dThick1 = 0.0, m_dThick2 = 0.0, m_dThick3 = 0.0, m_dThick4 = 0.0;

    BOOL OnInitDialog() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};

// Values are stored in newtons and millimetres and shown in the display
// units: forces per volume x m_dVolFactor, lengths x m_dLenFactor, and
// gradients x m_dVolFactor / m_dLenFactor.
class CDlgVolForce : public CDialog
{
public:
    enum { IDD = 748 };
    enum : int { IDC_GRAD1 = 1161, IDC_GRAD2 = 1164, IDC_VALUE1 = 16234, IDC_VALUE2 = 1163,
                 IDC_REF1 = 1162, IDC_REF2 = 1165, IDC_ANGLE = 16116, IDC_GRAVITY = 403,
                 IDC_OWN_WEIGHT = 1167 };
    explicit CDlgVolForce(CWnd* pParent = nullptr);

    double m_dLenFactor = 1.0;
    double m_dVolFactor = 1.0;
    double m_dGrad1 = 0.0, m_dGrad2 = 0.0;
    double m_dValue1 = 0.0, m_dValue2 = 0.0;
    double m_dRef1 = 0.0, m_dRef2 = 0.0;
    double m_dGravAngle = -90.0; // degrees
    double m_dGravFactor = 1.0;
    BOOL m_bOwnWeight = FALSE;

    // Sets the two factors from the unit settings (done on opening).
    virtual void UpdateFactors();

    BOOL OnInitDialog() override;
    void OnOK() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOwnWeight();
    DECLARE_MESSAGE_MAP()

private:
    // Scales the six values: by the factors (true) or back (false).
    void Convert(bool toDisplay);
    // The six converted values as stored and as shown when the dialog
    // opened: a field still showing its value gives the stored one back.
    double m_dStored[6] = {};
    double m_dShown[6] = {};
    CString m_strVolUnit, m_strLenUnit;
};

// The volume-force record of a plate component (1 x 9: the two values, the
// two gradients, the two reference lengths, the angle in degrees, the
// gravity factor and the own-weight switch 1.0 or 0.0). Preset leaves the
// dialog's defaults when the record has another shape; Store writes the
// dialog's values.
std::array<double, 9> VolumeForceEntries(const CDlgVolForce& dlg);
void PresetVolumeForce(const CMatrix& record, CDlgVolForce& dlg);
void StoreVolumeForce(const CDlgVolForce& dlg, CMatrix& record);

class CBrantelDoc;
class CElement;

// The "Element properties" of an element of the document's model: its
// number (identifier - 4000000000), the material of the region holding it,
// the document's element-type name and its area in the display unit of
// the area row, written as that row's number format and digits give.
void FillElementProperties(CDlgElemProp& dlg, CBrantelDoc& doc, CElement& element);
// The value in the area row's format (0 exponent, 1 fixed, else general).
CString FormatAreaValue(double area);
