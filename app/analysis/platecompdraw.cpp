// Result plots and model drawing of the plate component. The plots, the
// mesh, load and condition drawing and the result probe come with the
// program's views; until then these operations draw nothing (or the
// composite's plain drawing) and report empty result ranges.
#include "app/analysis/platecomp.h"

void CPlateComp::DrawBCs(bool mesh, double scale, int kind)
{
    CSectComp::DrawBCs(mesh, scale, kind);
}

void CPlateComp::DrawModelGL(bool quads, float pointSize, bool all)
{
    CSectComp::DrawModelGL(quads, pointSize, all);
}

void CPlateComp::PickDrawResGL(int, bool) {}
void CPlateComp::PickDrawLocal(bool) {}
void CPlateComp::UpdateRegionNesting(CSectArea*) {}
void CPlateComp::DrawResultArrows(int) {}
void CPlateComp::DrawResultVectors(CSNode*, int, int, unsigned int, bool) {}
void CPlateComp::DrawNodeNumbers(bool) {}
void CPlateComp::DrawDistorted(int, double) {}
void CPlateComp::DrawMeshNodes(float) {}
void CPlateComp::DrawResults(int) {}
void CPlateComp::DrawMesh(bool, bool) {}

void CPlateComp::GetMaxMinResult(double& max, double& min, CString*)
{
    max = 0.0;
    min = 0.0;
}

// The first region, in list order, that holds the node inside (the
// innermost one of its sub-sections), or null.
CSectArea* CPlateComp::IsNodeInside2D(CSNode* node, bool thisOnly)
{
    for (POSITION pos = CObList::GetHeadPosition(); pos;) {
        CSection* section = GetNext(pos);
        if (!section || !section->IsKindOf(RUNTIME_CLASS(CSectArea)))
            continue;
        if (CSectArea* found = static_cast<CSectArea*>(section)->IsNodeInside2D(node, thisOnly))
            return found;
    }
    return nullptr;
}
