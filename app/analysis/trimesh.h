// CTriMesh: feeds a plate region to the free triangle mesher and turns the
// mesher's output into graph nodes and elements of the wanted kind in the
// region's mesh.
//
// Input: the outline (corner nodes and the sub-nodes of its edges), the inner
// boundaries found by the region's cell search (one marker each, from 3 on),
// the refine points and refine graphs. Output: outline corners are
// represented by their copy nodes (shared with a neighbouring region meshed
// before), edge sub-nodes by themselves, inner boundary nodes by copies,
// refine points by themselves and interior points by new nodes.
#pragma once

#include "platform/weblar/weblar.h"
#include "sections/kantaro.h"

class CMeshOrganizer;

// Calls f(node, next) for every corner of a region's outline and the corner
// after it (the first after the last).
template <class F> void ForOutline(CGraph& graph, F f)
{
    CSNode* first = graph.IsEmpty() ? nullptr : graph.GetHeadNode();
    for (POSITION pos = graph.GetHeadPosition(); pos;) {
        CSNode* node = graph.GetNextNode(pos);
        f(node, pos ? graph.GetNodeAt(pos) : first);
    }
}

// The model's global node list while a mesh generation runs (separator
// nodes: outline nodes found there get fresh copies).
extern NODELIST* g_pMeshNodeList;

class CTriMesh : public CEasyMesh
{
public:
    // region: the region to mesh (not owned, may be null); mesh: receives the
    // elements (not owned).
    CTriMesh(CSectArea* region, CMeshOrganizer* mesh);
    ~CTriMesh() override;
    CTriMesh(const CTriMesh&) = delete;
    CTriMesh& operator=(const CTriMesh&) = delete;

    // cells: the inner boundaries (a list of edge lists), taken over; false
    // when the region could not be meshed.
    bool Mesh(CObList* cells, int pointCount, int innerPointCount, bool quiet);

    // Builds the element(s) of m_iKind on three nodes into m_pMesh.
    virtual void AddElement(CSNode* a, CSNode* b, CSNode* c);

    int m_iKind = 101;
    CMeshOrganizer* m_pMesh = nullptr;
    CSectArea* m_pGraph = nullptr;
    CObList* m_pCells = nullptr;
    CObList* m_pInnerNodes = nullptr;

protected:
    int LoadOuterBoundary() override;
    void LoadInnerBoundaries(int& index) override;
    void LoadRefinePoints(int& index) override;
    bool BuildOutput() override;

private:
    void DeleteCells();
    // Deletes the inner nodes that ended up in no graph and on no edge.
    void DeleteInnerNodes();
    int NextSegment(int index);

    int m_nNextSegment = 0;
};
