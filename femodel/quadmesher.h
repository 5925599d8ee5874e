// CQuadMesher: fills a region with exactly four corner nodes with a
// structured grid of quadrilaterals (four or eight nodes) or of two triangles
// per cell. The grid lines join the subdivision nodes of opposite sides.
#pragma once

#include "geometry/bexlar.h"

class CObjMat;

class CQuadMesher {
public:
    CQuadMesher(CGraph* region, CObList* output, CString name);
    virtual ~CQuadMesher() = default;
    CQuadMesher(const CQuadMesher&) = default;
    CQuadMesher& operator=(const CQuadMesher&) = default;

    virtual void AddTriElems(int kind, int firstRow, int pattern, CObjMat& grid);
    virtual void GenElems(int kind, int evenPattern, int oddPattern, CObjMat& grid);

    // Meshes the region; false (nothing created) when it is not a
    // four-sided region with right-angled corners (within tolerance) and
    // equal subdivisions on opposite sides.
    bool Mesh(int kind, int evenPattern, int oddPattern, double tolerance);
    bool GenNodeMat(CObjMat& grid, double tolerance);

    // Separator nodes: corners found here get fresh copies on their sides.
    static NODELIST* m_pSepNodeList;

    CGraph* m_pRegion = nullptr;
    CObList* m_pOutput = nullptr;
    CString m_strName;

private:
    void Append(CObject* element);
};
