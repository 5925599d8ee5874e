// The windows over beam cross-sections: the page that assigns a section to
// beam segments, the dialog of a new or edited parametric section and the
// cross-section library editor. Sections are drawn off-screen and shown in
// a picture static.
#pragma once

#include "platform/afx/gdi.h"
#include "platform/ui/core/afxui.h"
#include "sections/beams/beamseg.h"
#include "sections/beams/crsectshapes.h"

class CMaterial;

namespace pavesta
{

// Draws the section into dib: its extents (with the shear centre; ±1 about
// the origin when all are 0) widened to 0.525 times the larger extent
// about their middle, stretched by the image's aspect ratio, or a square
// image of the smaller side when square is set; the axes through the
// origin in the axis colour. False, and dib left empty, without an
// off-screen factory or when the image cannot be made.
bool DrawSectionImage(CCrSectComp* pSection, CBitmap& dib, int width, int height, bool square);

} // namespace pavesta

// "Cross section": the section of one beam segment, or of the beam
// segments of a list.
class VokPPCrossSections : public CPropertyPage
{
    DECLARE_DYNCREATE(VokPPCrossSections)
public:
    enum { IDD = 16025 };

    VokPPCrossSections();

    CBeamSeg* m_pSegment = nullptr; // not owned
    CObList* m_pList = nullptr;     // not owned; used without a segment
    CObList m_Sections;             // the offered sections (not owned)
    CCrSectComp* m_pSelSection = nullptr;

    BOOL OnInitDialog() override;
    BOOL OnApply() override;

    const CBitmap& GetImage() const { return m_dib; }

protected:
    void OnSelchangeSection();
    // Draws the section into the picture static's size and shows it.
    void ShowSection(CCrSectComp* pSection);

    DECLARE_MESSAGE_MAP()

private:
    CBitmap m_dib;
};

// The dialog of a new or edited parametric section ("Dialog").
class VokDNewCrSectType : public CDialog
{
    DECLARE_DYNAMIC(VokDNewCrSectType)
public:
    enum { IDD = 16232 };
    enum { rectangle = 0, circularRod = 1, circularTube = 2, userDefined = 3 };

    explicit VokDNewCrSectType(CWnd* pParent = nullptr);

    CObList* m_pMaterials = nullptr;     // offered materials, not owned
    CMaterial* m_pSelMaterial = nullptr; // the chosen one
    // The type; -(t + 1) preselects t and locks the choice.
    int m_iType = circularRod;
    double m_dFirst = 0.0;  // height, radius, outer radius or extents
    double m_dSecond = 0.0; // width or thickness

    BOOL OnInitDialog() override;
    void OnOK() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void OnSelchangeType();

    DECLARE_MESSAGE_MAP()
};

// "Cross-sections": the library of sections with their properties.
class VokLGCrossSects : public CDialog
{
    DECLARE_DYNAMIC(VokLGCrossSects)
public:
    enum { IDD = 16179 };
    // Says whether a section is used by a member (user value as given).
    typedef bool (*InUseCheck)(CCrSectComp* pSection, LPARAM lUser);
    // The displayed values, in the order of their edits.
    enum Value {
        vEA,
        vEIy,
        vEIz,
        vGIt,
        vGAy,
        vGAz,
        vMass,
        vAngle,
        vCogY,
        vCogZ,
        vCosY,
        vCosZ,
        kValueCount
    };
    static constexpr int kValueEdits[kValueCount] = {16184, 16185, 16186, 16187, 16188, 16189,
                                                     16190, 16116, 16239, 16238, 16240, 16241};
    static constexpr int kUnitLabels[kValueCount] = {16370, 16371, 16372, 16373, 16374, 16375,
                                                     16376, 16377, 16378, 16379, 16380, 16381};

    explicit VokLGCrossSects(CWnd* pParent = nullptr);
    // Deletes the sections still in the list.
    ~VokLGCrossSects() override;

    CObList m_Sections;              // owned
    CObList* m_pMaterials = nullptr; // offered for new sections, not owned
    InUseCheck m_pfnInUse = nullptr; // none: no section is in use
    LPARAM m_lInUseUser = 0;
    CString m_strName;
    double m_dValues[kValueCount] = {};

    BOOL OnInitDialog() override;

    const CBitmap& GetImage() const { return m_dib; }
    CCrSectComp* GetSelected();

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void OnSelchangeList();
    void OnReanalyze();
    void OnApply();
    void OnNew();
    void OnEdit();
    void OnDelete();
    // The list from m_Sections, selecting pSelect (or the first).
    void FillList(CCrSectComp* pSelect);
    // Display factor of each value in the current unit system.
    void Factors(double (&factors)[kValueCount]) const;
    // The section's parameter of each value.
    static unsigned ParamOf(int value);

    DECLARE_MESSAGE_MAP()

private:
    CBitmap m_dib;
};
