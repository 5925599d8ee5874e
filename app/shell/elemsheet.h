// CElementSheet: the "Element and mesh control" sheet of a plate document:
// the element page, the storage page, the mesh page and the smoothing page,
// filled from the document's plate component. The sheet owns its pages.
#pragma once

#include <memory>

#include "app/shell/elemctrl.h"
#include "dialogs/pavesta.h"

class CBrantelDoc;
class CPlateComp;

class CElementSheet : public CPropertySheet
{
public:
    CElementSheet(CBrantelDoc& doc, CPlateComp& comp);

    std::unique_ptr<CDlgElemCtrl> m_pElement;
    std::unique_ptr<CPPStiffStorage> m_pStorage;
    std::unique_ptr<VokPPMeshGenSett> m_pMesh;
    std::unique_ptr<VokPPSmoothinSett> m_pSmoothing;

    // What the mesh page was given.
    int m_iDefaultSubdivisions = 0;
    int m_iOpenedControlType = 0;
    int m_iOpenedSubdivisions = 0;
    // The mesh page's "suppress warnings" box: the negation of the
    // region model's warning switch.
    bool m_bSuppressWarnings = false;
};

// The "Advanced Element and Mesh-control Options" sheet of a
// constrained-mesh document: the element page and the storage page, filled
// from the component. The sheet owns its pages.
class CElemOptionsSheet : public CPropertySheet
{
public:
    explicit CElemOptionsSheet(const CPlateComp& comp);

    std::unique_ptr<CDlgElemCtrl> m_pElement;
    std::unique_ptr<CPPStiffStorage> m_pStorage;
};

// The element page and the storage page filled from the component.
void FillElementPage(CDlgElemCtrl& page, const CPlateComp& comp);
void FillStoragePage(CPPStiffStorage& page, const CPlateComp& comp);
// The pages' values written back to the component. A new element type
// first drops the selections of the document's element and result views.
// Each returns true when the element type, or the storage or renumbering,
// changed.
bool ApplyElementPage(const CDlgElemCtrl& page, CBrantelDoc& doc, CPlateComp& comp);
bool ApplyStoragePage(const CPPStiffStorage& page, CPlateComp& comp);

// The element-type code of an element-page mode and choice.
int ElementCodeOfChoice(int mode, int choice);
// The element page's choice of a code (0 for an unknown code).
int ElementChoiceOfCode(int code);
