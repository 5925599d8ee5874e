// Drawing of a graph into the current OpenGL context: model drawing,
// selection drawing with names, labels and load markers.
#include <GL/gl.h>

#include "geometry/graph.h"
#include "glstyle/tincora.h"

namespace {

void PointAt(const CSNode* node)
{
    glBegin(GL_POINTS);
    node->GLVertex();
    glEnd();
}

// True when the active pick window misses the straight edge's whole segment.
bool EdgeMissed(const CEdge* edge)
{
    const CSNode* a = edge->GetNode1();
    const CSNode* b = edge->GetNode2();
    if (!a || !b || !edge->DrawsChord())
        return false;
    CPickBox box;
    box.Add(a->x, a->y, a->z);
    box.Add(b->x, b->y, b->z);
    return box.Skipped();
}

} // namespace

void CGraph::DrawModelGL(bool quads, float pointSize, bool all)
{
    DrawEdgesGL(quads, all);
    DrawNodesGL(pointSize, all, nullptr);
}

void CGraph::DrawEdgesGL(bool quads, bool all)
{
    glBegin(quads ? GL_QUADS : GL_LINES);
    GLDrawEdges(quads, all);
    glEnd();
}

void CGraph::DrawNodesGL(float pointSize, bool all, float* colour)
{
    // A size OpenGL refuses draws nothing either.
    if (!(pointSize > 0.0f))
        return;
    glPointSize(pointSize);
    glBegin(GL_POINTS);
    GLDrawNodes(all, colour ? colour : glcInvBckGrnd);
    glEnd();
}

void CGraph::GLDrawEdges(bool quads, bool all)
{
    ForEachNode(!all, [quads](CSNode* node) { node->GLLines(quads, false); });
}

void CGraph::GLDrawNodes(bool all, float* colour)
{
    if (colour)
        glColor3fv(colour);
    ForEachNode(!all, [](CSNode* node) { node->GLVertex(); });
}

void CGraph::DrawSubNodesGL()
{
    glColor3f(0.0f, 0.0f, 1.0f);
    glPointSize(static_cast<GLfloat>(MEDIUM_L_POINT));
    glBegin(GL_POINTS);
    ForEachEdge(true, [](CEdge* edge) { edge->GLSubVertices(); });
    glEnd();
}

CPickBox CGraph::NodeBox() const
{
    CPickBox box;
    for (POSITION pos = GetHeadPosition(); pos;) {
        const CSNode* node = GetNextNode(pos);
        box.Add(node->x, node->y, node->z);
    }
    return box;
}

bool CGraph::GrowNodesAndChordsBox(CPickBox& box, bool withEdges, bool ownEdgesOnly) const
{
    for (POSITION pos = GetHeadPosition(); pos;) {
        const CSNode* node = GetNextNode(pos);
        box.Add(node->x, node->y, node->z);
        CObList* edges = node->GetEdgeList();
        if (!withEdges || !edges || (ownEdgesOnly && !IsOwnNode(node)))
            continue;
        for (POSITION ep = edges->GetHeadPosition(); ep;) {
            const CEdge* edge = static_cast<CEdge*>(edges->GetNext(ep));
            if (edge->GetNode1() != node)
                continue;
            const CSNode* far = edge->GetNode2();
            if (!far || !edge->DrawsChord())
                return false;
            box.Add(far->x, far->y, far->z);
        }
    }
    return true;
}

bool CGraph::GrowPickBox(CPickBox& box) const
{
    return GrowNodesAndChordsBox(box, true, true);
}

bool CGraph::PickMisses(int what) const
{
    if (!CPickWindowCull::IsActive())
        return false;
    CPickBox box;
    return GrowNodesAndChordsBox(box, (what & 4) != 0, true) && box.Skipped();
}

void CGraph::PickDrawGL(bool flag, int what)
{
    if (what & 4)
        for (POSITION pos = GetHeadPosition(); pos;)
            GetNextNode(pos)->DrawEdgesGL(flag);
    if (what & 2) {
        for (POSITION pos = GetHeadPosition(); pos;) {
            CSNode* node = GetNextNode(pos);
            if (CPickWindowCull::Skips(node->x, node->y, node->z))
                continue;
            glLoadName(node->GetID());
            glColor3f(0.0f, 0.0f, 0.0f);
            glPointSize(static_cast<GLfloat>(LARGE_POINT));
            PointAt(node);
        }
    }
    if (what & 1) {
        glLoadName(m_ulID);
        DrawModelGL(false, static_cast<float>(MEDIUM_S_POINT), false);
    }
}

void CGraph::PickDrawAddressGL(int what)
{
    CSelectionNames& names = AfxGetSelectionNames();
    if (what & 1) {
        glLoadName(names.NameOf(this));
        DrawModelGL(false, static_cast<float>(MEDIUM_S_POINT), false);
    }
    // Under a pick cull, edges and nodes that the pick window misses issue
    // no GL calls (and take no name).
    const bool cull = CPickWindowCull::IsActive();
    if (what & 4) {
        ForEachEdge(true, [&names, cull](CEdge* edge) {
            if (cull && EdgeMissed(edge))
                return;
            glLoadName(names.NameOf(edge));
            glBegin(GL_LINES);
            edge->GLLine(false, nullptr);
            glEnd();
        });
    }
    if (what & 2) {
        glPointSize(static_cast<GLfloat>(LARGE_POINT));
        ForEachNode(true, [&names, cull](CSNode* node) {
            if (cull && CPickWindowCull::Skips(node->x, node->y, node->z))
                return;
            glLoadName(names.NameOf(node));
            PointAt(node);
        });
    }
}

bool CGraph::ListPickNames(std::vector<CPickName>& out) const
{
    // The whole graph under its own name: not judged (rarely drawn so).
    out.push_back(CPickName{AfxGetSelectionNames().NameOf(this), 1, false});
    ListEdgeAndNodeNames(out);
    return true;
}

void CGraph::ListEdgeAndNodeNames(std::vector<CPickName>& out) const
{
    CSelectionNames& names = AfxGetSelectionNames();
    ForEachEdge(true, [&](CEdge* edge) {
        out.push_back(CPickName{names.NameOf(edge), 4, edge->DrawsChord()});
    });
    ForEachNode(true, [&](CSNode* node) { out.push_back(CPickName{names.NameOf(node), 2, true}); });
}

void CGraph::GLDrawLoadedNodes()
{
    ForEachNode(true, [](CSNode* node) {
        if (node->GetLoad())
            node->GLVertex();
    });
}

void CGraph::DrawNodeLoads(double* scale)
{
    ForEachNode(true, [scale](CSNode* node) {
        if (node->GetLoad())
            node->DrawLoad(scale);
    });
}

void CGraph::DrawNodeNumbers()
{
    ForEachNode(true, [](CSNode* node) { node->GLNodeNum(); });
}

void CGraph::DrawNameGL()
{
    if (IsEmpty())
        return;
    double at[3] = {0.0, 0.0, 0.0};
    GetMeanCoord(at, 3, 0);
    glRasterPos3d(at[0], at[1], at[2]);
    glCallLists(m_strName.GetLength(), GL_UNSIGNED_BYTE, static_cast<LPCTSTR>(m_strName));
}

void CGraph::DrawEdgeNameGL()
{
    ForEachEdge(true, [](CEdge* edge) { edge->DrawEdgeNameGL(); });
}

void CGraph::GLDrawNodeLinks(bool)
{
    ForEachEdge(true, [](CEdge* edge) {
        if (edge->IsKindOf(RUNTIME_CLASS(CNodeLink)))
            edge->GLLine(false, nullptr);
    });
}
