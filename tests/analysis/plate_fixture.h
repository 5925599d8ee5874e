// Shared set-up of the plate model tests. The test plays the document: it
// makes the global node list, creates the component, its materials and its
// regions, and deletes the component before the materials.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <vector>

#include "app/analysis/analysis.h"
#include "femodel/strelna.h"
#include "platform/ferrand/ferrand.h"
#include "platform/weblar/weblar.h"

namespace platetest {

// Hands a region a mesh; the region owns it afterwards (as after meshing).
struct MeshSlot : CSectMeshArea {
    static CMeshOrganizer* CSectMeshArea::*Slot() { return &MeshSlot::m_pMesh; }
};

inline void GiveMesh(CSectMeshArea* region, CMeshOrganizer* mesh)
{
    region->*MeshSlot::Slot() = mesh;
}

// A vector of the values, in order.
inline CVector VectorOf(std::initializer_list<double> values)
{
    CVector out(static_cast<int>(values.size()), true, 0.0);
    int i = 0;
    for (double d : values)
        out[i++] = d;
    return out;
}

inline CSNode* Node(double x, double y)
{
    return new CSNode(x, y, 0.0, nullptr, 0);
}

// A mesh of the rectangle x0..x1, y0..y1 on nodes of its own: two 3-node
// triangles, or one 4-node quadrilateral.
inline CMeshOrganizer* RectMesh(double x0, double y0, double x1, double y1, bool quads,
                                DWORD word = 0)
{
    auto* mesh = new CMeshOrganizer;
    CSNode* a = Node(x0, y0);
    CSNode* b = Node(x1, y0);
    CSNode* c = Node(x1, y1);
    CSNode* d = Node(x0, y1);
    if (quads) {
        mesh->AddElement(new CQuadElem(a, b, c, d));
    } else {
        mesh->AddElement(new CTriElement(a, b, c));
        mesh->AddElement(new CTriElement(a, c, d));
    }
    mesh->m_dwWord = word;
    return mesh;
}

inline std::vector<CElement*> Elements(CSectMeshArea* region)
{
    std::vector<CElement*> out;
    if (CMeshOrganizer* mesh = region->GetMesh())
        for (POSITION p = mesh->GetHeadPosition(); p;)
            out.push_back(mesh->GetNextElem(p));
    return out;
}

struct Counters {
    DWORD graph = CGraph::lIDGraph;
    DWORD node = CSNode::lIDnode;
    DWORD edge = CEdge::lIDedge;
    bool operator==(const Counters&) const = default;
};

class PlateTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_saved = Counters{};
        CGraph::m_pNodeList = &m_nodes;
        CSectMeshArea::StopCalc(false);
        CMGenerator::Stop(false);
    }
    void TearDown() override
    {
        CGraph::m_pNodeList = nullptr;
        CSectMeshArea::StopCalc(false);
        CMGenerator::Stop(false);
        CGraph::lIDGraph = m_saved.graph;
        CSNode::lIDnode = m_saved.node;
        CEdge::lIDedge = m_saved.edge;
    }

    // A rectangular plate region x0..x1, y0..y1 on new nodes.
    static CSectPlate* Rect(double x0, double y0, double x1, double y1, CMaterial* material)
    {
        return new CSectPlate(Node(x0, y0), Node(x1, y0), Node(x1, y1), Node(x0, y1), material);
    }

    NODELIST m_nodes;
    Counters m_saved;
};

} // namespace platetest
