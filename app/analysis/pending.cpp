// Placeholders for the virtual operations of CPlateComp and CSectPlate whose
// real bodies live in other source files of this library (mesh generation,
// solver input and calls, stress return, result and model drawing).
//
// Each placeholder is a weak definition: a strong definition of the same
// operation anywhere in the library replaces it at link time, so these can
// stay until the last real body has landed and then go. They do nothing, or
// the plain forwarding that the real body also starts from.
#include "app/analysis/platecomp.h"

#define BRANTEL_PENDING __attribute__((weak))

// --- CPlateComp: composite overrides
BRANTEL_PENDING void CPlateComp::DrawBCs(bool mesh, double scale, int kind)
{
    CSectComp::DrawBCs(mesh, scale, kind);
}
BRANTEL_PENDING void CPlateComp::PickDrawResGL(int, bool) {}
BRANTEL_PENDING void CPlateComp::DrawModelGL(bool quads, float pointSize, bool all)
{
    CSectComp::DrawModelGL(quads, pointSize, all);
}
BRANTEL_PENDING bool CPlateComp::PreCalc(CStringArray*, CStringArray*, int)
{
    return false;
}
BRANTEL_PENDING bool CPlateComp::Calculate(CStringArray*, CStringArray*)
{
    return false;
}

// --- CPlateComp: own virtual operations
BRANTEL_PENDING void CPlateComp::ReportSolverError(int*, CStringArray*) {}
BRANTEL_PENDING void CPlateComp::PickDrawLocal(bool) {}
BRANTEL_PENDING void CPlateComp::UpdateRegionNesting(CSectArea*) {}
BRANTEL_PENDING void CPlateComp::DrawResultArrows(int) {}
BRANTEL_PENDING CSectArea* CPlateComp::IsNodeInside2D(CSNode*, bool)
{
    return nullptr;
}
BRANTEL_PENDING int CPlateComp::BuildBoundaryArraysT6(CObList&, CLongMatrix&, CMatrix&, CMatrix&,
                                                      CMatrix&)
{
    return -1;
}
BRANTEL_PENDING int CPlateComp::GetResultUnit(int)
{
    return 0;
}
BRANTEL_PENDING void CPlateComp::RetAddMeanStress(CMatrix&, int, int, int) {}
BRANTEL_PENDING void CPlateComp::GetNodeValues(CMatrix&, int, int, int) {}
BRANTEL_PENDING void CPlateComp::RetElemStress(CMatrix&, int, int) {}
BRANTEL_PENDING void CPlateComp::DeleteResults(int flag)
{
    for (POSITION pos = CObList::GetHeadPosition(); pos;) {
        CSection* section = GetNext(pos);
        if (section->IsKindOf(RUNTIME_CLASS(CSectMeshArea)))
            static_cast<CSectMeshArea*>(section)->DeleteResults(true, flag);
    }
}
BRANTEL_PENDING CSectMeshArea* CPlateComp::IsElemInThis(CElement*)
{
    return nullptr;
}
BRANTEL_PENDING bool CPlateComp::IsMeshKind(unsigned bits)
{
    for (POSITION pos = CObList::GetHeadPosition(); pos;) {
        CSection* section = GetNext(pos);
        if (section->IsKindOf(RUNTIME_CLASS(CSectPlate)) &&
            !static_cast<CSectPlate*>(section)->IsMeshKind(bits))
            return false;
    }
    return true;
}
BRANTEL_PENDING int CPlateComp::GetResultQuantity()
{
    return 0;
}
BRANTEL_PENDING void CPlateComp::DrawResultVectors(CSNode*, int, int, unsigned int, bool) {}
BRANTEL_PENDING void CPlateComp::DrawNodeNumbers(bool) {}
BRANTEL_PENDING void CPlateComp::DrawDistorted(int, double) {}
BRANTEL_PENDING void CPlateComp::DrawMeshNodes(float) {}
BRANTEL_PENDING void CPlateComp::GetMaxMinResult(double& max, double& min, CString*)
{
    max = 0.0;
    min = 0.0;
}
BRANTEL_PENDING void CPlateComp::DrawResults(int) {}
BRANTEL_PENDING void CPlateComp::DrawMesh(bool, bool) {}
BRANTEL_PENDING bool CPlateComp::Smooth(bool)
{
    return false;
}
BRANTEL_PENDING void CPlateComp::PreSmooth() {}
BRANTEL_PENDING void CPlateComp::SetElementStresses(CMatrix&, CMatrix&) {}
BRANTEL_PENDING int CPlateComp::BuildSolverData(CMatrix&, CMatrix&, CLongMatrix&, CMatrix&,
                                                CLongMatrix&, CMatrix&, CMatrix&, CMatrix&, int)
{
    return 0;
}

// --- CSectPlate
BRANTEL_PENDING CObject* CSectPlate::Discretize()
{
    return CSectArea::Discretize();
}
BRANTEL_PENDING void CSectPlate::SetBoundaryConditions() {}
BRANTEL_PENDING void CSectPlate::DisperseElementData(CMatrix&, int&, int) {}
BRANTEL_PENDING void CSectPlate::InsertElementMaterials(int*, int&, int) {}
