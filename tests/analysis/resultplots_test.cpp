// Every result plot of the plate component on a mesh of each element class
// (three-, four- and six-node triangles, four- and eight-node
// quadrilaterals), read from the primitives sent to OpenGL: the value plots
// raise each vertex to scale x its value, the distorted model moves each
// corner by scale x its displacement, the reaction arrows stand on the
// supported nodes; also the element numbers and the node loads the views
// draw through the component.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "app/analysis/analysis.h"
#include "femodel/strelna.h"
#include "glstyle/tincora.h"
#include "tests/analysis/plate_fixture.h"
#include "tests/support/gl_context.h"
#include "tests/support/gl_recorder.h"

namespace {

using brantel::test::GLRecorder;
using brantel::test::RecordedPrimitive;
using brantel::test::Vec3;
using platetest::Counters;

// The extremes of the composite, open to the tests.
class Comp : public CPlateComp {
public:
    using CSectComp::m_MaxVals;
    using CSectComp::m_MaxValsExt;
    using CSectComp::m_MinVals;
    using CSectComp::m_MinValsExt;
};

// The mesh: a row of two cells over x -0.8 .. 0.8, y -0.4 .. 0.4, held
// along x = -0.8.
constexpr double kLeft = -0.8, kMid = 0.0, kRight = 0.8, kBottom = -0.4, kTop = 0.4;
constexpr double kScale = 10.0; // the component's factor

// The results as fields over the plate, so that every drawn vertex can be
// checked against its position: the stresses (sx, sy, txy) ...
double Stress(int i, double x, double y)
{
    switch (i) {
    case 0: return 1.0 + x;
    case 1: return 2.0 - y;
    case 2: return 0.5 * x - 0.25 * y;
    default: return 0.1 * i; // the further plate components
    }
}

// ... and the node values: membrane (u, v, Rx, Ry), plate bending (w,
// w,x, w,y, Rz). Reactions only on the held edge.
double NodeValue(bool membrane, int j, double x, double y)
{
    const bool held = x == kLeft;
    if (membrane) {
        switch (j) {
        case 0: return 0.01 * x + 0.002 * y;
        case 1: return 0.001 * x - 0.003 * y;
        case 2: return held ? -(1.0 + y) : 0.0;
        default: return held && y == kBottom ? 0.5 : 0.0;
        }
    }
    switch (j) {
    case 0: return 0.02 * (x - kLeft) * (1.0 + y);
    case 1: return 0.02 * (1.0 + y);
    case 2: return 0.02 * (x - kLeft);
    default: return held ? 2.0 + y : 0.0;
    }
}

double Principal(double x, double y, bool major)
{
    const double sx = Stress(0, x, y), sy = Stress(1, x, y), txy = Stress(2, x, y);
    const double r = std::sqrt((sx - sy) * (sx - sy) / 4.0 + txy * txy);
    return (sx + sy) / 2.0 + (major ? r : -r);
}

// The plane-stress effective stress.
double Effective(double x, double y)
{
    const double sx = Stress(0, x, y), sy = Stress(1, x, y), txy = Stress(2, x, y);
    return std::sqrt(sx * sx + sy * sy - sx * sy + 3.0 * txy * txy);
}

// The membrane components: 0-2 stresses, 3-6 node values, 7 and 8 the
// principal stresses, 9 the effective stress, 10 the distorted model.
constexpr int kMembraneCount = 7;

double MembraneValue(int c, double x, double y)
{
    if (c < 3)
        return Stress(c, x, y);
    if (c < kMembraneCount)
        return NodeValue(true, c - 3, x, y);
    if (c == 7 || c == 8)
        return Principal(x, y, c == 7);
    return Effective(x, y);
}

// An element class: the mesh kind and a membrane code meshed with it.
struct Family {
    int kind, code, vectors;
    const char* name;
};
const Family kFamilies[] = {
    {101, 31, 3, "three-node triangles"},    {102, 33, 3, "four-node triangles"},
    {103, 32, 3, "six-node triangles"},      {104, 41, 5, "four-node quadrilaterals"},
    {105, 44, 5, "eight-node quadrilaterals"},
};

bool IsQuadKind(int kind)
{
    return kind >= 104;
}

class ResultPlots : public brantel::test::GLTest {
protected:
    void SetUp() override
    {
        GLTest::SetUp();
        m_saved = Counters{};
        CGraph::m_pNodeList = &m_nodes;
        glDisable(GL_LIGHTING);
        // The width the renderer sets from the context's line-width range.
        THIN_EDGE = 1.0;
    }
    void TearDown() override
    {
        comp.reset();
        CGraph::m_pNodeList = nullptr;
        CGraph::lIDGraph = m_saved.graph;
        CSNode::lIDnode = m_saved.node;
        CEdge::lIDedge = m_saved.edge;
        for (int i = 0; i < CElement::kMaxResIndex; ++i)
            CElement::m_strMaxStress[i] = CElement::m_strMinStress[i] = 0.0;
        CElement::m_dStaticMax = CElement::m_dStaticMin = 0.0;
        CElement::m_nNodeVal = 9;
        CElement::m_nVectors = 3;
        THIN_EDGE = m_thin;
        GLTest::TearDown();
    }

    // A component of the element code holding one plate region meshed by
    // elements of the kind over the two cells, on boundary nodes.
    void Build(int kind, int code)
    {
        comp.reset();
        comp = std::make_unique<Comp>();
        comp->AddMaterial(&steel);
        comp->m_iElemType = code;
        comp->m_iMeshKind = kind;
        region = new CSectPlate(Node(kLeft, kBottom), Node(kRight, kBottom), Node(kRight, kTop), Node(kLeft, kTop),
                                &steel);
        auto* mesh = new CMeshOrganizer;
        const double xs[3] = {kLeft, kMid, kRight};
        CSNode* low[3];
        CSNode* high[3];
        for (int i = 0; i < 3; ++i) {
            low[i] = Node(xs[i], kBottom);
            high[i] = Node(xs[i], kTop);
        }
        for (int i = 0; i < 2; ++i) {
            CSNode *a = low[i], *b = low[i + 1], *c = high[i + 1], *d = high[i];
            switch (kind) {
            case 101:
                mesh->AddElement(new CTriElement(a, b, c));
                mesh->AddElement(new CTriElement(a, c, d));
                break;
            case 102:
                mesh->AddElement(new CTri4Elem(a, b, c));
                mesh->AddElement(new CTri4Elem(a, c, d));
                break;
            case 103:
                mesh->AddElement(new CTri6Element(a, b, c, nullptr, nullptr, nullptr));
                mesh->AddElement(new CTri6Element(a, c, d, nullptr, nullptr, nullptr));
                break;
            case 104:
                mesh->AddElement(new CQuadElem(a, b, c, d));
                break;
            default:
                mesh->AddElement(new CQuad8Elem(a, b, c, d, nullptr, nullptr, nullptr, nullptr));
                break;
            }
        }
        mesh->SetNames("plate");
        platetest::GiveMesh(region, mesh);
        comp->AddTail(region);
        comp->SetFactor(kScale);
    }

    // The results of a run: `vectors` result vectors per element of
    // `values` stresses, the corners' node values, the extremes the
    // component keeps (their sizes only matter to the plots).
    void GiveResults(bool membrane, int values, int vectors, int count)
    {
        CElement::m_nNodeVal = values;
        CElement::m_nVectors = vectors;
        for (CElement* e : platetest::Elements(region)) {
            const int corners = IsQuadKind(comp->m_iMeshKind) ? 4 : 3;
            CMatrix m(vectors, values, true, 0.0);
            for (int k = 0; k < vectors; ++k) {
                double x = 0.0, y = 0.0;
                if (k < corners) {
                    x = e->GetNode(k)->x;
                    y = e->GetNode(k)->y;
                } else {
                    e->GetCentroid(x, y);
                }
                for (int i = 0; i < values; ++i)
                    m[k][i] = Stress(i, x, y);
            }
            int row = 0;
            e->SetStresses(m, row);
            for (int k = 0; k < corners; ++k) {
                CSNode* node = e->GetNode(k);
                node->AllocateValue(4);
                for (int j = 0; j < 4; ++j)
                    node->SetValue(NodeValue(membrane, j, node->x, node->y), j);
            }
        }
        // The extremes over the nodes, as a run gathers them: the colours
        // then spread over the range.
        comp->SetResCount(static_cast<unsigned>(count));
        comp->m_MinVals.Allocate(count, true, 0.0);
        comp->m_MaxVals.Allocate(count, true, 0.0);
        comp->m_MaxValsExt.Allocate(4, true, 0.0);
        comp->m_MinValsExt.Allocate(4, true, 0.0);
        for (double x : {kLeft, kMid, kRight})
            for (double y : {kBottom, kTop}) {
                for (int c = 0; c < count; ++c) {
                    const double v = c < values ? Stress(c, x, y) : NodeValue(membrane, c - values, x, y);
                    comp->m_MinVals[c] = std::min(comp->m_MinVals[c], v);
                    comp->m_MaxVals[c] = std::max(comp->m_MaxVals[c], v);
                }
                const double u = NodeValue(membrane, 0, x, y), v = NodeValue(membrane, 1, x, y);
                const double ext[4] = {Principal(x, y, true), Principal(x, y, false), Effective(x, y),
                                       std::sqrt(u * u + v * v)};
                for (int i = 0; i < 4; ++i) {
                    comp->m_MinValsExt[i] = std::min(comp->m_MinValsExt[i], ext[i]);
                    comp->m_MaxValsExt[i] = std::max(comp->m_MaxValsExt[i], ext[i]);
                }
            }
    }

    // Draws component c with the flags, recording what reaches OpenGL.
    std::vector<RecordedPrimitive> Draw(int c, int flags)
    {
        comp->SetActVal(c);
        GLRecorder recorder;
        comp->DrawResults(flags);
        EXPECT_TRUE(recorder.balanced());
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
        return recorder.primitives();
    }

    CSNode* Node(double x, double y) { return new CBoundNode(x, y, 0.0, nullptr, 0); }

    CMaterial steel{"Steel", 7.85e-9, 210000.0, 80000.0, 0.3, 0.0};
    std::unique_ptr<Comp> comp;
    CSectPlate* region = nullptr;
    NODELIST m_nodes;
    Counters m_saved;
    double m_thin = THIN_EDGE;
};

int VertexCount(const std::vector<RecordedPrimitive>& primitives)
{
    int n = 0;
    for (const RecordedPrimitive& p : primitives)
        n += static_cast<int>(p.vertices.size());
    return n;
}

std::set<Vec3> Colours(const std::vector<RecordedPrimitive>& primitives)
{
    std::set<Vec3> out;
    for (const RecordedPrimitive& p : primitives)
        out.insert(p.colours.begin(), p.colours.end());
    return out;
}

bool Near(const Vec3& a, const Vec3& b)
{
    return std::fabs(a[0] - b[0]) < 1e-12 && std::fabs(a[1] - b[1]) < 1e-12 && std::fabs(a[2] - b[2]) < 1e-12;
}

} // namespace

TEST_F(ResultPlots, ValuePlotsRaiseEveryVertexToScaleTimesItsValue)
{
    // The stresses, the displacements (node values), the principal and the
    // effective stresses; filled, filled with outlines.
    for (const Family& f : kFamilies) {
        Build(f.kind, f.code);
        GiveResults(true, 3, f.vectors, kMembraneCount);
        for (int c : {0, 1, 2, 3, 4, 7, 8, 9})
            for (int flags : {2, 2 | 16}) {
                SCOPED_TRACE(std::string(f.name) + ", component " + std::to_string(c) + ", flags " +
                             std::to_string(flags));
                const auto drawn = Draw(c, flags);
                EXPECT_GE(VertexCount(drawn), IsQuadKind(f.kind) ? 8 : 12);
                for (const RecordedPrimitive& p : drawn)
                    for (const Vec3& v : p.vertices)
                        EXPECT_NEAR(v[2], kScale * MembraneValue(c, v[0], v[1]), 1e-9) << v[0] << ", " << v[1];
                if (flags == 2) {
                    EXPECT_GE(Colours(drawn).size(), 2u) << "a plot of one colour";
                }
            }
    }
}

TEST_F(ResultPlots, EffectiveStressOfPlaneStrainTakesThePoissonFactors)
{
    // nu = 0.3: sqrt(k1 (sx^2 + sy^2) - k2 sx sy + 3 txy^2), k1 = nu^2 - nu + 1,
    // k2 = 2 nu (1 - nu) + 1.
    const double k1 = 0.79, k2 = 1.42;
    for (const Family& f : kFamilies) {
        SCOPED_TRACE(f.name);
        Build(f.kind, f.code);
        GiveResults(true, 3, f.vectors, kMembraneCount);
        comp->m_iPlaneStrain = 1;
        const auto drawn = Draw(9, 2);
        ASSERT_GT(VertexCount(drawn), 0);
        for (const RecordedPrimitive& p : drawn)
            for (const Vec3& v : p.vertices) {
                const double sx = Stress(0, v[0], v[1]), sy = Stress(1, v[0], v[1]), txy = Stress(2, v[0], v[1]);
                EXPECT_NEAR(v[2], kScale * std::sqrt(k1 * (sx * sx + sy * sy) - k2 * sx * sy + 3.0 * txy * txy), 1e-9);
            }
    }
}

TEST_F(ResultPlots, PlanPlotsLieFlatInTheValuesColours)
{
    for (const Family& f : kFamilies) {
        Build(f.kind, f.code);
        GiveResults(true, 3, f.vectors, kMembraneCount);
        for (int c : {0, 3, 7, 8, 9}) {
            SCOPED_TRACE(std::string(f.name) + ", component " + std::to_string(c));
            const auto drawn = Draw(c, 2 | 128);
            ASSERT_GT(VertexCount(drawn), 0);
            for (const RecordedPrimitive& p : drawn)
                for (const Vec3& v : p.vertices)
                    EXPECT_EQ(v[2], 0.0);
            EXPECT_GE(Colours(drawn).size(), 2u) << "a plot of one colour";
        }
    }
}

TEST_F(ResultPlots, DistortedModelMovesEachCornerByScaleTimesItsDisplacement)
{
    const int distorted = kMembraneCount + 3;
    for (const Family& f : kFamilies) {
        Build(f.kind, f.code);
        GiveResults(true, 3, f.vectors, kMembraneCount);
        const std::vector<CElement*> elements = platetest::Elements(region);
        const std::size_t corners = IsQuadKind(f.kind) ? 4 : 3;
        const auto moved = [](const CSNode* n) {
            return Vec3{n->x + kScale * NodeValue(true, 0, n->x, n->y), n->y + kScale * NodeValue(true, 1, n->x, n->y),
                        0.0};
        };
        for (int flags : {2, 16}) {
            SCOPED_TRACE(std::string(f.name) + ", flags " + std::to_string(flags));
            // One primitive per element, its corners in element order.
            const auto drawn = Draw(distorted, flags);
            ASSERT_EQ(drawn.size(), elements.size());
            for (std::size_t e = 0; e < elements.size(); ++e) {
                EXPECT_EQ(drawn[e].mode, static_cast<GLenum>(IsQuadKind(f.kind) ? GL_QUADS : GL_TRIANGLES));
                ASSERT_EQ(drawn[e].vertices.size(), corners);
                for (std::size_t k = 0; k < corners; ++k) {
                    const Vec3 want = moved(elements[e]->GetNode(static_cast<int>(k)));
                    EXPECT_TRUE(Near(drawn[e].vertices[k], want))
                        << "corner " << k << " of element " << e << " at " << drawn[e].vertices[k][0] << ", "
                        << drawn[e].vertices[k][1] << " not " << want[0] << ", " << want[1];
                }
            }
            if (flags == 2) {
                EXPECT_GE(Colours(drawn).size(), 3u) << "the displacement's size colours the corners";
            }
        }
        // The picked points of the distorted model are the same corners.
        comp->SetActVal(distorted);
        GLRecorder recorder;
        comp->PickDrawResGL(8, true);
        std::set<Vec3> picked, wanted;
        for (const RecordedPrimitive& p : recorder.primitives())
            picked.insert(p.vertices.begin(), p.vertices.end());
        for (CElement* e : elements)
            for (std::size_t k = 0; k < corners; ++k)
                wanted.insert(moved(e->GetNode(static_cast<int>(k))));
        EXPECT_EQ(picked, wanted) << f.name;
    }
}

namespace {

// The arrows of a result-arrow plot: shaft start (the node) and the tip of
// the cone that follows the shaft.
struct DrawnArrow {
    Vec3 node, tip, colour;
};

std::vector<DrawnArrow> ArrowsOf(const std::vector<RecordedPrimitive>& drawn)
{
    std::vector<DrawnArrow> out;
    for (std::size_t i = 0; i < drawn.size(); ++i) {
        if (drawn[i].mode != GL_LINES)
            continue;
        EXPECT_EQ(drawn[i].vertices.size(), 2u);
        EXPECT_LT(i + 1, drawn.size());
        if (drawn[i].vertices.size() != 2 || i + 1 >= drawn.size())
            break;
        EXPECT_EQ(drawn[i + 1].mode, static_cast<GLenum>(GL_TRIANGLES)) << "the head";
        out.push_back({drawn[i].vertices[0], drawn[i + 1].vertices.at(0), drawn[i].colours[0]});
    }
    return out;
}

} // namespace

TEST_F(ResultPlots, ReactionArrowsStandOnTheSupportedNodes)
{
    struct Reaction {
        int c;        // component
        int j;        // node value
        std::set<Vec3> nodes;
    };
    const Reaction reactions[] = {
        {5, 2, {{kLeft, kBottom, 0.0}, {kLeft, kTop, 0.0}}}, // R_x
        {6, 3, {{kLeft, kBottom, 0.0}}},                     // R_y
    };
    for (const Family& f : kFamilies) {
        Build(f.kind, f.code);
        GiveResults(true, 3, f.vectors, kMembraneCount);
        for (const Reaction& r : reactions)
            for (int flags : {2, 0}) {
                SCOPED_TRACE(std::string(f.name) + ", component " + std::to_string(r.c) + ", flags " +
                             std::to_string(flags));
                const auto arrows = ArrowsOf(Draw(r.c, flags));
                std::set<Vec3> at, colours;
                for (const DrawnArrow& a : arrows) {
                    at.insert(a.node);
                    colours.insert(a.colour);
                    // The tip at the node plus scale x the reaction, upwards
                    // like the plot's heights.
                    const double value = NodeValue(true, r.j, a.node[0], a.node[1]);
                    EXPECT_TRUE(Near(a.tip, {a.node[0], a.node[1], kScale * value}))
                        << a.tip[2] << " not " << kScale * value;
                }
                EXPECT_EQ(at, r.nodes);
                if (flags == 2 && r.c == 5) { // R_x -1.4 and -0.6
                    EXPECT_EQ(colours.size(), 2u) << "coloured by the value";
                }
            }
    }
}

TEST_F(ResultPlots, PlateDeflectionAndVerticalReactions)
{
    // Plate bending: the deflection w is the node value after the element
    // components; the distorted model raises each corner by scale x w, and
    // R_z (the last component) stands on the held edge.
    struct Case {
        int kind, code, values, count;
    } cases[] = {{101, 81, 5, 9}, {101, 66, 3, 7}, {103, 75, 5, 9}};
    for (const Case& c : cases) {
        SCOPED_TRACE("code " + std::to_string(c.code));
        Build(c.kind, c.code);
        GiveResults(false, c.values, 3, c.count);
        const auto distorted = Draw(c.count + 3, 2);
        ASSERT_EQ(distorted.size(), 4u);
        for (const RecordedPrimitive& p : distorted)
            for (const Vec3& v : p.vertices)
                EXPECT_NEAR(v[2], kScale * NodeValue(false, 0, v[0], v[1]), 1e-12) << v[0] << ", " << v[1];
        std::set<Vec3> at;
        for (const DrawnArrow& a : ArrowsOf(Draw(c.count - 1, 2))) {
            at.insert(a.node);
            EXPECT_NEAR(a.tip[2], kScale * NodeValue(false, 3, a.node[0], a.node[1]), 1e-12);
        }
        EXPECT_EQ(at, (std::set<Vec3>{{kLeft, kBottom, 0.0}, {kLeft, kTop, 0.0}}));
    }
}

namespace {

// The raster positions of the bitmaps drawn, in feedback mode (window
// coordinates of the 128 x 128 context over -1 .. 1).
std::vector<std::array<float, 2>> Bitmaps(const std::function<void()>& draw)
{
    std::vector<GLfloat> buffer(1 << 14);
    glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_2D, buffer.data());
    glRenderMode(GL_FEEDBACK);
    draw();
    const int n = glRenderMode(GL_RENDER);
    std::vector<std::array<float, 2>> out;
    for (int i = 0; i < n;) {
        const int token = static_cast<int>(buffer[static_cast<std::size_t>(i++)]);
        if (token == GL_BITMAP_TOKEN) {
            out.push_back({buffer[static_cast<std::size_t>(i)], buffer[static_cast<std::size_t>(i + 1)]});
            i += 2;
        } else {
            ADD_FAILURE() << "unexpected token " << token;
            break;
        }
    }
    return out;
}

} // namespace

TEST_F(ResultPlots, ElementNumbersStandAtTheCentroids)
{
    // A font of the ten digits, each an 8-pixel-wide bitmap.
    const GLuint base = glGenLists(128);
    const GLubyte dot[4] = {0xff, 0, 0, 0};
    for (GLuint ch = '0'; ch <= '9'; ++ch) {
        glNewList(base + ch, GL_COMPILE);
        glBitmap(1, 1, 0.0f, 0.0f, 8.0f, 0.0f, dot);
        glEndList();
    }
    glListBase(base);
    for (int kind : {101, 104, 105}) {
        SCOPED_TRACE("mesh kind " + std::to_string(kind));
        Build(kind, kind == 101 ? 31 : kind == 104 ? 41 : 44);
        const auto drawn = Bitmaps([&] { comp->DrawElmNumbers(); });
        std::size_t at = 0;
        for (CElement* e : platetest::Elements(region)) {
            const std::string number = std::to_string(e->GetElemNumber());
            ASSERT_LE(at + number.size(), drawn.size());
            double cx = 0.0, cy = 0.0;
            e->GetCentroid(cx, cy);
            EXPECT_NEAR(drawn[at][0], (cx + 1.0) * 64.0, 1e-3);
            EXPECT_NEAR(drawn[at][1], (cy + 1.0) * 64.0, 1e-3);
            for (std::size_t d = 1; d < number.size(); ++d)
                EXPECT_NEAR(drawn[at + d][0], drawn[at][0] + 8.0f * static_cast<float>(d), 1e-3);
            at += number.size();
        }
        EXPECT_EQ(at, drawn.size());
    }
    glListBase(0);
    glDeleteLists(base, 128);
}

TEST_F(ResultPlots, NodeLoadsAreArrowsToNodePlusValueTimesTheLoadScale)
{
    // The modelling views draw the region's node loads, the element
    // modelling view the mesh's, with one load scale.
    Build(104, 41);
    CBoundNode* corner = nullptr;
    for (int i = 0; i < region->GetCount(); ++i)
        if (region->GetNode(i)->x == kRight && region->GetNode(i)->y == kBottom)
            corner = static_cast<CBoundNode*>(region->GetNode(i));
    ASSERT_NE(corner, nullptr);
    auto* load = new CNodeLoad;
    load->Allocate(2, true, 0.0);
    load->SetValue(0, 3.0);
    load->SetValue(1, -2.0);
    corner->SetNodeLoad(load);
    CElement* last = platetest::Elements(region).back();
    auto* meshNode = static_cast<CBoundNode*>(last->GetNode(2)); // (kRight, kTop)
    auto* meshLoad = new CNodeLoad;
    meshLoad->Allocate(1, true, 0.0);
    meshLoad->SetValue(0, -4.0);
    meshNode->SetNodeLoad(meshLoad);
    struct Case {
        bool mesh;
        std::vector<std::pair<Vec3, Vec3>> shafts; // node, tip
    } cases[] = {
        {false, {{{kRight, kBottom, 0}, {kRight + 0.3, kBottom, 0}}, {{kRight, kBottom, 0}, {kRight, kBottom - 0.2, 0}}}},
        {true, {{{kRight, kTop, 0}, {kRight, kTop - 0.4, 0}}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mesh ? "mesh" : "regions");
        GLRecorder recorder;
        comp->DrawNodeLoads(0.1, c.mesh);
        std::vector<std::pair<Vec3, Vec3>> shafts;
        const auto& drawn = recorder.primitives();
        for (std::size_t i = 0; i < drawn.size(); i += 2) // shaft, head
            shafts.emplace_back(drawn[i].vertices.at(0), drawn[i].vertices.at(1));
        ASSERT_EQ(shafts.size(), c.shafts.size());
        for (std::size_t i = 0; i < shafts.size(); ++i) {
            EXPECT_TRUE(Near(shafts[i].first, c.shafts[i].first));
            EXPECT_TRUE(Near(shafts[i].second, c.shafts[i].second))
                << shafts[i].second[0] << ", " << shafts[i].second[1];
        }
    }
}
