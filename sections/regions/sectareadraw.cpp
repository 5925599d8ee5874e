// Drawing of area regions: filled and outlined in the 2D views, for
// selection picking, and extruded into solids for the thickness display.
#include "sections/regions/sectarea.h"

#include "glstyle/tincora.h"
#include "glview/ogltesselator.h"
#include "platform/ferrand/material.h"

#include <GL/gl.h>

#include <cmath>
#include <memory>
#include <vector>

double CSectArea::m_gldTessWindRule = 100130.0;

namespace {

CSectArea* AsArea(CObject* ob)
{
    return ob && ob->IsKindOf(RUNTIME_CLASS(CSectArea)) ? static_cast<CSectArea*>(ob) : nullptr;
}

template <class F>
void ForAreaSubs(CObList* subs, F f)
{
    if (!subs)
        return;
    for (POSITION pos = subs->GetHeadPosition(); pos;)
        if (CSectArea* sub = AsArea(subs->GetNext(pos)))
            f(sub);
}

// Walks a refine list in order: onGraph with each refine line or area,
// onNode with each refine point; false as soon as one of them answers
// false (the rest are not visited).
template <class G, class N>
bool ForRefineItems(CObList* list, G onGraph, N onNode)
{
    if (!list)
        return true;
    for (POSITION pos = list->GetHeadPosition(); pos;) {
        CObject* ob = list->GetNext(pos);
        if (CGraph* g = dynamic_cast<CGraph*>(ob)) {
            if (!onGraph(g))
                return false;
        } else if (ob->IsKindOf(RUNTIME_CLASS(CSNode))) {
            if (!onNode(static_cast<CSNode*>(ob)))
                return false;
        }
    }
    return true;
}

// The height of (x, y) on the face z0 + s0 x + s1 y.
double FaceHeight(double z0, const CVector& s, double x, double y)
{
    return s.GetSize() >= 2 ? z0 + s[0] * x + s[1] * y : z0;
}

// m (0, x, y) + offset; missing entries count as 0.
void MapPoint(const CVector& offset, const CMatrix& m, double x, double y, double out[3])
{
    const int rows = m.GetRows();
    const int cols = m.GetColumns();
    for (int i = 0; i < 3; ++i) {
        double v = i < offset.GetSize() ? offset[i] : 0.0;
        if (i < rows) {
            if (cols > 1)
                v += m[i][1] * x;
            if (cols > 2)
                v += m[i][2] * y;
        }
        out[i] = v;
    }
}

// Calls f(a, b) for every boundary segment: consecutive nodes, then last to
// first.
template <class F>
void ForSegments(const CGraph& g, F f)
{
    if (g.GetCount() < 2)
        return;
    for (POSITION pos = g.GetHeadPosition(); pos;) {
        CSNode* a = g.GetNextNode(pos);
        CSNode* b = pos ? g.GetNodeAt(pos) : g.GetHeadNode();
        f(a, b);
    }
}

void Vertex(const CSNode* n)
{
    glVertex3d(n->x, n->y, n->z);
}

// Outward normal of the boundary segment a-b (the boundary runs
// counter-clockwise).
void SegmentNormal(const CSNode* a, const CSNode* b)
{
    const double dx = b->x - a->x, dy = b->y - a->y;
    const double len = std::sqrt(dx * dx + dy * dy);
    if (len > 0.0)
        glNormal3d(dy / len, -dx / len, 0.0);
}

// The normal of a wall quad with corners a1, b1 on the first face and a2 on
// the second: (b1 - a1) x (a2 - a1), normalised.
void QuadNormal(const double a1[3], const double b1[3], const double a2[3])
{
    const double u[3] = {b1[0] - a1[0], b1[1] - a1[1], b1[2] - a1[2]};
    const double v[3] = {a2[0] - a1[0], a2[1] - a1[1], a2[2] - a1[2]};
    const double n[3] = {u[1] * v[2] - u[2] * v[1], u[2] * v[0] - u[0] * v[2],
                         u[0] * v[1] - u[1] * v[0]};
    const double len = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
    if (len > 0.0)
        glNormal3d(n[0] / len, n[1] / len, n[2] / len);
}

} // namespace

// ------------------------------------------------------------ helpers

void CSectArea::SlopeNormal(const CVector& s, double normal[3])
{
    if (s.GetSize() < 2) {
        normal[0] = normal[1] = 0.0;
        normal[2] = 1.0;
        return;
    }
    const double m = std::sqrt(s[0] * s[0] + s[1] * s[1] + 1.0);
    normal[0] = -s[0] / m;
    normal[1] = -s[1] / m;
    normal[2] = 1.0 / m;
}

bool CSectArea::IsSolid() const
{
    return m_pMaterial && m_pMaterial->GetName() != "VOID";
}

void CSectArea::TessDrawGL(COGLTesselator* tess)
{
    for (POSITION pos = GetHeadPosition(); pos;)
        tess->AddVertex(GetNextNode(pos)->GetVertex());
}

void CSectArea::TessDrawGL3D(COGLTesselator* tess, double (*buf)[3], double z0, CVector& s)
{
    int i = 0;
    for (POSITION pos = GetHeadPosition(); pos; ++i) {
        const CSNode* n = GetNextNode(pos);
        buf[i][0] = n->x;
        buf[i][1] = n->y;
        buf[i][2] = FaceHeight(z0, s, n->x, n->y);
    }
    tess->AddVertexArray(buf, i);
}

void CSectArea::TessDrawGL3D(COGLTesselator* tess, double (*buf)[3], CVector& offset, CMatrix& m)
{
    int i = 0;
    for (POSITION pos = GetHeadPosition(); pos; ++i) {
        const CSNode* n = GetNextNode(pos);
        MapPoint(offset, m, n->x, n->y, buf[i]);
    }
    tess->AddVertexArray(buf, i);
}

// ------------------------------------------------------------ 2D drawing

void CSectArea::DrawModelGL(bool fill, float pointSize, bool all)
{
    if (GetCount() < 3)
        return;
    if (m_pMaterial)
        m_pMaterial->GLColor();
    glLineWidth(static_cast<GLfloat>(WIDE_EDGE));
    glNormal3d(0.0, 0.0, 1.0);
    if (fill && IsSolid()) {
        if (m_pSubList || GetCount() != 3) {
            COGLTesselator tess;
            tess.SetWindingRule(m_gldTessWindRule);
            tess.SetFilling(1);
            tess.StartDef();
            TessDrawGL(&tess);
            ForAreaSubs(m_pSubList, [&](CSectArea* sub) {
                tess.ContourSeparator();
                sub->TessDrawGL(&tess);
            });
            tess.EndDef();
        } else {
            glBegin(GL_TRIANGLES);
            for (POSITION pos = GetHeadPosition(); pos;)
                Vertex(GetNextNode(pos));
            glEnd();
        }
        glColor3fv(glcInvBckGrnd);
        glLineWidth(static_cast<GLfloat>(THIN_EDGE));
    }
    glBegin(GL_LINE_STRIP);
    for (POSITION pos = GetHeadPosition(); pos;)
        Vertex(GetNextNode(pos));
    Vertex(GetHeadNode());
    glEnd();
    DrawRefineListGL();
    if (pointSize != 0.0f) {
        glColor3fv(glcInvBckGrnd);
        glPointSize(pointSize);
        glBegin(GL_POINTS);
        for (POSITION pos = GetHeadPosition(); pos;)
            Vertex(GetNextNode(pos));
        glEnd();
    }
    DrawSubSectGL(fill, pointSize, all);
}

void CSectArea::DrawSubSectGL(bool fill, float pointSize, bool all)
{
    ForAreaSubs(m_pSubList, [&](CSectArea* sub) { sub->DrawModelGL(fill, pointSize, all); });
}

void CSectArea::DrawRefineListGL()
{
    if (!m_pRefineList)
        return;
    glBegin(GL_LINE_STRIP);
    for (POSITION pos = m_pRefineList->GetHeadPosition(); pos;)
        if (CGraph* g = dynamic_cast<CGraph*>(m_pRefineList->GetNext(pos)))
            for (POSITION n = g->GetHeadPosition(); n;)
                Vertex(g->GetNextNode(n));
    glEnd();
    float red[3] = {1.0f, 0.0f, 0.0f};
    glBegin(GL_POINTS);
    ForRefineItems(
        m_pRefineList,
        [&](CGraph* g) {
            g->GLDrawNodes(true, red);
            return true;
        },
        [](CSNode* node) {
            Vertex(node);
            return true;
        });
    glEnd();
}

// ------------------------------------------------------------ picking

// The boundary alone as one filled polygon, under the current pick name.
void CSectArea::PickFillGL()
{
    COGLTesselator tess;
    tess.SetWindingRule(m_gldTessWindRule);
    tess.SetFilling(1);
    tess.StartDef();
    TessDrawGL(&tess);
    tess.EndDef();
}

void CSectArea::PickDrawGL(bool flag, int what)
{
    const int passed = what;
    if (what & 1) {
        glLoadName(m_ulID);
        PickFillGL();
        what &= ~1;
    }
    if (what)
        CSection::PickDrawGL(flag, what);
    PickDrawSubSectGL(flag, passed);
    if (what & 2)
        ForRefineItems(
            m_pRefineList,
            [](CGraph* g) {
                g->PickDrawGL(false, 2);
                return true;
            },
            [](CSNode* node) {
                glLoadName(node->GetID());
                glColor3f(0.0f, 0.0f, 0.0f);
                glPointSize(static_cast<GLfloat>(LARGE_POINT));
                glBegin(GL_POINTS);
                Vertex(node);
                glEnd();
                return true;
            });
}

void CSectArea::PickDrawSubSectGL(bool flag, int what)
{
    ForAreaSubs(m_pSubList, [&](CSectArea* sub) { sub->PickDrawGL(flag, what); });
}

void CSectArea::PickDrawAddressGL(int what)
{
    CSelectionNames& names = AfxGetSelectionNames();
    const int passed = what;
    // The fill lies within the box of the outline's nodes; a region whose
    // fill, nodes and edges the pick window misses draws none of them.
    const bool missed = PickMisses(what);
    if (what & 1) {
        if (!missed) {
            glLoadName(names.NameOf(this));
            PickFillGL();
        }
        what &= ~1;
    }
    if (what && !missed)
        CSection::PickDrawAddressGL(what);
    ForAreaSubs(m_pSubList, [&](CSectArea* sub) { sub->PickDrawAddressGL(passed); });
    if (m_pRefineList && (what & 2)) {
        glPointSize(static_cast<GLfloat>(LARGE_POINT));
        ForRefineItems(
            m_pRefineList,
            [](CGraph* g) {
                g->PickDrawAddressGL(2);
                return true;
            },
            [&](CSNode* node) {
                glLoadName(names.NameOf(node));
                glBegin(GL_POINTS);
                Vertex(node);
                glEnd();
                return true;
            });
    }
}

bool CSectArea::GrowPickBox(CPickBox& box) const
{
    if (!CSection::GrowPickBox(box))
        return false;
    bool known = true;
    ForAreaSubs(m_pSubList, [&](CSectArea* sub) { known = known && sub->GrowPickBox(box); });
    return known && ForRefineItems(
                        m_pRefineList, [&](CGraph* g) { return g->GrowPickBox(box); },
                        [&](CSNode* node) {
                            box.Add(node->x, node->y, node->z);
                            return true;
                        });
}

bool CSectArea::ListPickNames(std::vector<CPickName>& out) const
{
    // As PickDrawAddressGL: the fill, the edges and nodes, the inner
    // regions, then the refine points (nodes only).
    out.push_back(CPickName{AfxGetSelectionNames().NameOf(this), 1, PickFillCertain()});
    ListEdgeAndNodeNames(out);
    bool known = true;
    ForAreaSubs(m_pSubList, [&](CSectArea* sub) { known = known && sub->ListPickNames(out); });
    return known && ForRefineItems(
                        m_pRefineList,
                        [&](CGraph* g) {
                            std::vector<CPickName> inner;
                            if (!g->ListPickNames(inner))
                                return false;
                            for (const CPickName& n : inner)
                                if (n.kind == 2)
                                    out.push_back(n);
                            return true;
                        },
                        [&](CSNode* node) {
                            out.push_back(CPickName{AfxGetSelectionNames().NameOf(node), 2, true});
                            return true;
                        });
}

bool CSectArea::PickFillCertain() const
{
    // GLU_TESS_WINDING_ODD and GLU_TESS_WINDING_NONZERO.
    if (m_gldTessWindRule != 100130.0 && m_gldTessWindRule != 100131.0)
        return false;
    std::vector<const CSNode*> p;
    p.reserve(static_cast<std::size_t>(GetCount()));
    for (POSITION pos = GetHeadPosition(); pos;)
        p.push_back(GetNextNode(pos));
    const std::size_t n = p.size();
    if (n < 3)
        return false;
    // Every corner turns the same way or goes straight on; with at most
    // four turns (each less than a half turn) the outline winds once,
    // otherwise the turns must add up to one full turn.
    int sign = 0, turns = 0;
    double total = 0.0;
    for (std::size_t i = 0; i < n; ++i) {
        const CSNode* a = p[(i + n - 1) % n];
        const CSNode* b = p[i];
        const CSNode* c = p[(i + 1) % n];
        if (b->z != p[0]->z)
            return false;
        const double ux = b->x - a->x, uy = b->y - a->y, vx = c->x - b->x, vy = c->y - b->y;
        const double cross = ux * vy - uy * vx, dot = ux * vx + uy * vy;
        if (cross == 0.0) {
            if (!(dot > 0.0))
                return false;
            continue;
        }
        const int s = cross > 0.0 ? 1 : -1;
        if (sign != 0 && s != sign)
            return false;
        sign = s;
        ++turns;
        total += std::atan2(cross, dot);
    }
    return sign != 0 && (turns <= 4 || std::abs(std::abs(total) - 2.0 * M_PI) < 1.0);
}

// ------------------------------------------------------------ extruded drawing

void CSectArea::ExtrudeDrawGL(bool fill, bool faces, double z1, double z2, CVector& s1,
                              CVector& s2, bool colour)
{
    ExtrudeDrawGL(fill, faces, z1, z2, s1, s2, true, colour);
}

void CSectArea::ExtrudeDrawGL(bool fill, bool faces, double z1, double z2, CVector& s1,
                              CVector& s2, bool sides, bool colour)
{
    if (GetCount() < 3)
        return;
    if (colour && m_pMaterial)
        m_pMaterial->GLColor();
    if (fill && faces && IsSolid()) {
        // One buffer per contour: the tessellator reads them until EndDef.
        std::vector<std::unique_ptr<double[][3]>> buffers;
        auto face = [&](double z0, CVector& s) {
            double normal[3];
            SlopeNormal(s, normal);
            glNormal3dv(normal);
            COGLTesselator tess;
            tess.SetWindingRule(m_gldTessWindRule);
            tess.SetFilling(1);
            tess.StartDef();
            buffers.emplace_back(new double[GetCount()][3]);
            TessDrawGL3D(&tess, buffers.back().get(), z0, s);
            ForAreaSubs(m_pSubList, [&](CSectArea* sub) {
                tess.ContourSeparator();
                buffers.emplace_back(new double[sub->GetCount()][3]);
                sub->TessDrawGL3D(&tess, buffers.back().get(), z0, s);
            });
            tess.EndDef();
            buffers.clear();
        };
        face(z1, s1);
        glFinish();
        face(z2, s2);
    }
    if (sides)
        ExtrudeSidesGL(false, z1, z2, s1, s2, colour);
    ForAreaSubs(m_pSubList, [&](CSectArea* sub) {
        sub->ExtrudeDrawGL(fill, faces, z1, z2, s1, s2, sides, colour);
    });
}

bool CSectArea::WallColour(bool colour) const
{
    if (IsSolid())
        return true;
    if (!m_pOuter || !m_pOuter->IsSolid())
        return false;
    if (colour)
        m_pOuter->GetMaterial()->GLColor();
    return true;
}

void CSectArea::ExtrudeSidesGL(bool strip, double z1, double z2, CVector& s1, CVector& s2,
                               bool colour)
{
    if (GetCount() < 2 || !WallColour(colour))
        return;
    auto bottom = [&](const CSNode* n) { glVertex3d(n->x, n->y, FaceHeight(z1, s1, n->x, n->y)); };
    auto top = [&](const CSNode* n) { glVertex3d(n->x, n->y, FaceHeight(z2, s2, n->x, n->y)); };
    if (strip) {
        glBegin(GL_QUAD_STRIP);
        ForSegments(*this, [&](CSNode* a, CSNode* b) {
            SegmentNormal(a, b);
            bottom(a);
            top(a);
        });
        bottom(GetHeadNode());
        top(GetHeadNode());
        glEnd();
        return;
    }
    const bool solid = IsSolid();
    glBegin(GL_QUADS);
    ForSegments(*this, [&](CSNode* a, CSNode* b) {
        if (CEdge* edge = GetComEdge(a, b)) {
            // The region on the other side of a shared edge, if any.
            CSectArea* other = nullptr;
            if (CObList* graphs = a->GetGraphList())
                for (POSITION pos = graphs->GetHeadPosition(); pos && !other;) {
                    CSectArea* g = AsArea(graphs->GetNext(pos));
                    if (g && g != this && g->IsEdgeInGraph(edge))
                        other = g;
                }
            if (other) {
                if (!solid)
                    return;
                if (!(edge->GetNode1() == a && edge->GetNode2() == b) && other->IsSolid())
                    return;
            }
        }
        SegmentNormal(a, b);
        bottom(a);
        top(a);
        top(b);
        bottom(b);
    });
    glEnd();
}

void CSectArea::ExtrudeSidesGL(bool strip, CVector& o1, CMatrix& m1, CVector& o2, CMatrix& m2,
                               bool colour)
{
    if (GetCount() < 2 || !WallColour(colour))
        return;
    DrawWalls(strip, o1, m1, o2, m2, nullptr, nullptr);
}

void CSectArea::ExtrudeSidesGL(bool strip, CVector& o1, CMatrix& m1, CVector& o2, CMatrix& m2,
                               double* c1, double* c2)
{
    if (GetCount() < 2 || !WallColour(false))
        return;
    DrawWalls(strip, o1, m1, o2, m2, c1, c2);
}

void CSectArea::DrawWalls(bool strip, CVector& o1, CMatrix& m1, CVector& o2, CMatrix& m2,
                          const double* c1, const double* c2)
{
    auto vertex = [](const double p[3], const double* c) {
        if (c)
            glColor3dv(c);
        glVertex3dv(p);
    };
    double a1[3], a2[3], b1[3], b2[3];
    glBegin(strip ? GL_QUAD_STRIP : GL_QUADS);
    ForSegments(*this, [&](CSNode* a, CSNode* b) {
        MapPoint(o1, m1, a->x, a->y, a1);
        MapPoint(o2, m2, a->x, a->y, a2);
        MapPoint(o1, m1, b->x, b->y, b1);
        MapPoint(o2, m2, b->x, b->y, b2);
        QuadNormal(a1, b1, a2);
        vertex(a1, c1);
        vertex(a2, c2);
        if (!strip) {
            vertex(b2, c2);
            vertex(b1, c1);
        }
    });
    if (strip) {
        const CSNode* h = GetHeadNode();
        MapPoint(o1, m1, h->x, h->y, a1);
        MapPoint(o2, m2, h->x, h->y, a2);
        vertex(a1, c1);
        vertex(a2, c2);
    }
    glEnd();
}
