// Pages of beam members of the frame family: orientation and eccentricity
// of a bar, element type and count of beam segments, general beam-element
// settings, co-rotational beam settings and the end forces of an element.
#pragma once

#include "platform/ui/core/afxui.h"
#include "sections/beams/beamseg.h"

// "Orientation && eccentricity" of a bar.
class VokPPBarEdit : public CPropertyPage
{
    DECLARE_DYNCREATE(VokPPBarEdit)
public:
    enum { IDD = 16018 };

    VokPPBarEdit();

    double m_dLength = 0.0; // shown when not 0
    double m_dEcc1[3] = {}; // e_x, e_y, e_z at the first end
    double m_dEcc2[3] = {}; // at the second end
    double m_dZDir[3] = {}; // direction of the local z' axis
    int m_iArchType = -1;   // 0 parabolic, 1 circular; -1 not an arch

    BOOL OnInitDialog() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};

// "Elements": the element class and counts of one beam segment or of the
// beam segments of a list (other objects of the list stay as they are).
class VokPPBeamElemPage : public CPropertyPage
{
    DECLARE_DYNCREATE(VokPPBeamElemPage)
public:
    enum { IDD = 16028 };

    VokPPBeamElemPage();

    CBeamSeg* m_pSegment = nullptr;       // not owned
    CObList* m_pList = nullptr;           // not owned; used without a segment
    CBeamClassList m_Classes;             // the offered element classes
    CRuntimeClass* m_pSelClass = nullptr; // none: the default class
    int m_nElements = 1;                  // 0 to 1,000,000
    int m_nSecond = 0;                    // the segment's spare count
    int m_iChange = 0;                    // the counts are written

    BOOL OnInitDialog() override;
    BOOL OnApply() override;

    // The item data of "  No change ": a list's segments keep their classes.
    CRuntimeClass* MixedMarker() { return GetRuntimeClass(); }

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void OnChange();
    void OnModified();
    void EnableCounts();

    DECLARE_MESSAGE_MAP()

private:
    bool m_bFilling = false;
};

// "General" beam-element settings.
class VokPPGenBeamElmSett : public CPropertyPage
{
    DECLARE_DYNCREATE(VokPPGenBeamElmSett)
public:
    enum { IDD = 16257 };

    VokPPGenBeamElmSett();

    CBeamClassList m_Classes;             // the offered element classes
    CRuntimeClass* m_pSelClass = nullptr; // the default element class
    int m_iEccentricities = 0;
    int m_iLumpedMass = 0;
    int m_iExcludeZeroBars = 0;
    int m_iOffCenteredShear = 0;
    double m_dInitialAxialStrain = 0.0; // in 1/1000

    BOOL OnInitDialog() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};

// "CR-Beam Settings": co-rotational beam options and the element code.
class CPPBeamSett : public CPropertyPage
{
    DECLARE_DYNCREATE(CPPBeamSett)
public:
    enum { IDD = 16066 };
    // Element codes of the first three element types.
    enum : int { codeEulerBernoulli = 3102, codeReissnerMindlin = 3103, codeSimo = 3150 };

    CPPBeamSett();

    int m_iPDelta = 0;
    int m_iExtra2 = 0;
    int m_iPDelta2 = 0;
    int m_iNonUniformWarping = 0;
    int m_iUseEICR = 0;
    int m_iShearDeformation = 0;
    int m_iSmallRotation = 0;
    int m_iValue = 0;     // hidden edit 16111
    int m_iElemCode = 0;  // hidden edit 16110
    int m_iElemType = -1; // radio, follows the code

    BOOL OnInitDialog() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void OnElemType();
    void EnableCode();

    DECLARE_MESSAGE_MAP()
};

// "Forces": the end forces of a beam element, read-only.
class VokPPForceOutput : public CPropertyPage
{
    DECLARE_DYNCREATE(VokPPForceOutput)
public:
    enum { IDD = 16068 };

    VokPPForceOutput();

    CString m_strForceUnit;
    CString m_strMomentUnit;
    int m_iNode[2] = {-1, -1};
    // Per end: N, Vy, Vz, Mx, My, Mz.
    float m_fForces[2][6] = {};

    BOOL OnInitDialog() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};
