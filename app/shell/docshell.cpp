#include "app/shell/docshell.h"

#include "app/analysis/analysis.h"

IMPLEMENT_DYNCREATE(CDocShell, CBrantelDoc)
IMPLEMENT_DYNCREATE(CDocRestr, CBrantelDoc)

CDocShell::CDocShell()
{
    m_iBCSet = 1;
    DeleteModel(m_pSectComp);
    auto* comp = new CShellComp;
    m_pSectComp = comp;
    comp->SetElementType(iNewDocElemType);
    comp->SetBucklingCtrl(CShellComp::kBucklingType, iNewDocPlateElemType);
    AddDefaultMaterials(*comp);
}

CPlateComp* CDocShell::NewComponent()
{
    return new CShellComp;
}

CShellComp* CDocShell::GetShellComp() const
{
    return dynamic_cast<CShellComp*>(m_pSectComp);
}

CString CDocShell::GetElementTypeName()
{
    CShellComp* comp = GetShellComp();
    if (!comp)
        return CString();
    CString buckling = ElementTypeShortName(comp->GetBucklingCtrl(CShellComp::kBucklingType));
    if (buckling.IsEmpty())
        buckling = " ";
    return buckling + "/" + ElementTypeShortName(comp->GetElementType());
}
