#include "app/shell/elemsheet.h"

#include "app/analysis/platecomp.h"
#include "app/analysis/solverinput.h"
#include "app/shell/branteldoc.h"
#include "app/shell/edgeloadpage.h"
#include "platform/weblar/easymesh.h"
#include "sections/regions/sectmesharea.h"

namespace
{
constexpr int kPlateCodes[] = {66, 65, 61, 75, 81, 85};
constexpr int kMembraneCodes[] = {31, 32, 33, 41, 42, 44, 46};
} // namespace

int ElementChoiceOfCode(int code)
{
    for (int i = 0; i < 7; ++i)
        if (kMembraneCodes[i] == code)
            return i;
    for (int i = 0; i < 6; ++i)
        if (kPlateCodes[i] == code)
            return i;
    return 0;
}

int ElementCodeOfChoice(int mode, int choice)
{
    if (mode == CDlgElemCtrl::modeMembrane || mode == CDlgElemCtrl::modeBucklingMembrane)
        return choice >= 0 && choice < 7 && choice != 1 ? kMembraneCodes[choice] : 32;
    // A choice outside the list keeps a code that can be calculated.
    return choice >= 0 && choice < 6 ? kPlateCodes[choice] : 81;
}

void FillElementPage(CDlgElemCtrl& page, const CPlateComp& comp)
{
    const int code = comp.GetElementType();
    if (IsMembraneCode(code))
        page.m_iMode = CDlgElemCtrl::modeMembrane;
    page.m_iElement = ElementChoiceOfCode(code);
    page.m_iIntegrationRule = comp.m_iIntegrationRule - 1;
    page.m_iIntegrationPoints = comp.m_iIntegrationPoints;
    page.m_iPlaneState = comp.m_iPlaneStrain;
    page.m_iPrint = comp.m_iPrintLevel;
}

void FillStoragePage(CPPStiffStorage& page, const CPlateComp& comp)
{
    page.m_iStorage = comp.m_iStorage - 1;
    if (comp.m_iStorage == 1) {
        static const int renum[] = {CPPStiffStorage::renumNone, CPPStiffStorage::renumSloan,
                                    CPPStiffStorage::renumProfileFront,
                                    CPPStiffStorage::renumWilson};
        if (comp.m_iRenumbering >= 0 && comp.m_iRenumbering <= 3)
            page.m_iRenum = renum[comp.m_iRenumbering];
    } else {
        page.m_iReorder =
            comp.m_iRenumbering != 0 ? CPPStiffStorage::reorderOn : CPPStiffStorage::reorderOff;
    }
}

bool ApplyElementPage(const CDlgElemCtrl& page, CBrantelDoc& doc, CPlateComp& comp)
{
    const int code = ElementCodeOfChoice(page.m_iMode, page.m_iElement);
    const bool changed = code != comp.GetElementType();
    if (changed) {
        doc.ResetViews(8);
        comp.SetElementType(code);
    }
    comp.m_iIntegrationPoints = page.m_iIntegrationPoints;
    if (comp.m_iPlaneStrain != page.m_iPlaneState) {
        comp.m_iPlaneStrain = page.m_iPlaneState;
        comp.UpdateMaxMinEffStress();
    }
    comp.m_iIntegrationRule = page.m_iIntegrationRule + 1;
    comp.m_iPrintLevel = page.m_iPrint;
    return changed;
}

bool ApplyStoragePage(const CPPStiffStorage& page, CPlateComp& comp)
{
    bool changed = false;
    auto store = [&changed](int& target, int value) {
        if (target != value) {
            target = value;
            changed = true;
        }
    };
    if (page.m_iStorage == CPPStiffStorage::storageSparse) {
        store(comp.m_iStorage, 2);
        store(comp.m_iRenumbering, page.m_iReorder == CPPStiffStorage::reorderOn ? 1 : 0);
    } else {
        static const int codes[] = {1, 2, 3, 0}; // Sloan, profile front, Wilson, none
        store(comp.m_iStorage, 1);
        if (page.m_iRenum >= 0 && page.m_iRenum <= 3)
            store(comp.m_iRenumbering, codes[page.m_iRenum]);
    }
    return changed;
}

CElementSheet::CElementSheet(CBrantelDoc& doc, CPlateComp& comp)
    : CPropertySheet("Element and mesh control")
{
    m_pElement = std::make_unique<CDlgElemCtrl>();
    FillElementPage(*m_pElement, comp);
    m_pStorage = std::make_unique<CPPStiffStorage>();
    FillStoragePage(*m_pStorage, comp);

    m_iDefaultSubdivisions = comp.AutoSubdivisions(0.0, 0.0);
    const int v = comp.m_iSubdivisions;
    if (!comp.m_bAutoSpacing) {
        m_iOpenedControlType = VokPPMeshGenSett::ctrlUserDefined;
        m_iOpenedSubdivisions = v > 0 ? v - 1 : m_iDefaultSubdivisions;
    } else if (v >= 1) {
        m_iOpenedControlType = VokPPMeshGenSett::ctrlSubdivide;
        m_iOpenedSubdivisions = v - 1;
    } else {
        m_iOpenedControlType = VokPPMeshGenSett::ctrlDefault;
        m_iOpenedSubdivisions = m_iDefaultSubdivisions;
    }
    m_bSuppressWarnings = !CSectMeshArea::m_bNotifyWarning;
    m_pMesh = std::make_unique<VokPPMeshGenSett>(
        &comp.m_nMinElements, &CEasyMesh::m_nMaxNodes, &iProgresjon, &comp.m_iEvenRowPattern,
        &comp.m_iOddRowPattern, &doc.m_bMeshValid, &m_bSuppressWarnings, m_iOpenedControlType,
        m_iOpenedSubdivisions, m_iDefaultSubdivisions);
    m_pSmoothing = std::make_unique<VokPPSmoothinSett>(&doc.m_nSmoothing);

    AddPage(m_pElement.get());
    AddPage(m_pStorage.get());
    AddPage(m_pMesh.get());
    AddPage(m_pSmoothing.get());
}

CPropertySheet* CBrantelDoc::CreateElementSheet()
{
    CPlateComp* comp = GetPlateComp();
    return comp ? new CElementSheet(*this, *comp) : nullptr;
}

void CBrantelDoc::ApplyElementSettings(CPropertySheet* pSheet)
{
    auto* sheet = dynamic_cast<CElementSheet*>(pSheet);
    CPlateComp* comp = GetPlateComp();
    if (!sheet || !comp)
        return;
    bool modified = false;
    auto store = [&modified](auto& target, auto value) {
        if (target != value) {
            target = value;
            modified = true;
        }
    };

    // Size control. The stored pair changes only when the page changed it,
    // so an untouched page leaves the component as it was.
    CSectMeshArea::m_bNotifyWarning = !sheet->m_bSuppressWarnings;
    const VokPPMeshGenSett& mesh = *sheet->m_pMesh;
    const bool touched = mesh.m_iControlType != sheet->m_iOpenedControlType ||
                         (mesh.m_iControlType == VokPPMeshGenSett::ctrlSubdivide &&
                          mesh.m_iSubdivisions != sheet->m_iOpenedSubdivisions);
    if (touched) {
        const int d = sheet->m_iDefaultSubdivisions;
        switch (mesh.m_iControlType) {
        case VokPPMeshGenSett::ctrlDefault:
            store(comp->m_bAutoSpacing, true);
            store(comp->m_iSubdivisions, -(d + 1));
            break;
        case VokPPMeshGenSett::ctrlUserDefined:
            store(comp->m_bAutoSpacing, false);
            store(comp->m_iSubdivisions, d + 1);
            break;
        default:
            store(comp->m_bAutoSpacing, true);
            store(comp->m_iSubdivisions, mesh.m_iSubdivisions + 1);
            break;
        }
    }

    if (ApplyElementPage(*sheet->m_pElement, *this, *comp))
        modified = true;
    if (ApplyStoragePage(*sheet->m_pStorage, *comp))
        modified = true;
    if (modified)
        SetModifiedFlag(TRUE);
}

CElemOptionsSheet::CElemOptionsSheet(const CPlateComp& comp)
    : CPropertySheet("Advanced Element and Mesh-control Options")
{
    m_pElement = std::make_unique<CDlgElemCtrl>();
    FillElementPage(*m_pElement, comp);
    m_pStorage = std::make_unique<CPPStiffStorage>();
    FillStoragePage(*m_pStorage, comp);
    AddPage(m_pElement.get());
    AddPage(m_pStorage.get());
}
