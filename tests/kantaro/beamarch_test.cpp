// Arch members: parabola and circle geometry against numbers computed
// independently (Simpson's rule, atan2), division, discretisation and the
// straight fallback without a third node.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <array>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "sections/kantaro.h"
#include "tests/support/gl_context.h"
#include "tests/support/gl_recorder.h"
#include "tests/support/temp_files.h"

namespace
{

using P = std::array<double, 3>;

// The parabola through p1 (s = -1), p3 (s = 0) and p2 (s = 1).
P ParabolaAt(const P& p1, const P& p2, const P& p3, double s)
{
    P p;
    for (int k = 0; k < 3; ++k)
        p[k] = p3[k] + (p2[k] - p1[k]) / 2.0 * s + ((p1[k] + p2[k]) / 2.0 - p3[k]) * s * s;
    return p;
}

// Arc length by Simpson's rule on the speed.
double SimpsonLength(const P& p1, const P& p2, const P& p3, double a, double b)
{
    const int n = 20000;
    auto speed = [&](double s) {
        double v2 = 0.0;
        for (int k = 0; k < 3; ++k) {
            const double c = (p2[k] - p1[k]) / 2.0, d = (p1[k] + p2[k]) / 2.0 - p3[k];
            v2 += (c + 2.0 * d * s) * (c + 2.0 * d * s);
        }
        return std::sqrt(v2);
    };
    const double h = (b - a) / n;
    double sum = speed(a) + speed(b);
    for (int i = 1; i < n; ++i)
        sum += speed(a + i * h) * (i % 2 ? 4.0 : 2.0);
    return sum * h / 3.0;
}

// A graph owning the nodes; the members hang off them and go with them.
struct Model {
    CGraph graph;
    CSNode* Node(const P& p) { return graph.NewNode(p[0], p[1], p[2]); }
    CBeamArch* Arch(const P& p1, const P& p2, const P& p3, int type, CCrSectComp* cs = nullptr)
    {
        auto* arch = new CBeamArch(Node(p1), Node(p2), Node(p3), cs);
        arch->SetArchType(type);
        return arch;
    }
};

void ExpectAt(const CSNode* n, const P& p, double tol)
{
    EXPECT_NEAR(n->x, p[0], tol);
    EXPECT_NEAR(n->y, p[1], tol);
    EXPECT_NEAR(n->z, p[2], tol);
}

// The segments of a divided member from its first node on.
std::vector<CBeamArch*> Segments(CSNode* from, CSNode* to)
{
    std::vector<CBeamArch*> segments;
    for (CSNode* at = from; at != to && segments.size() < 100;) {
        CBeamArch* next = nullptr;
        for (POSITION pos = at->GetEdgeList()->GetHeadPosition(); pos;) {
            auto* e = dynamic_cast<CBeamArch*>(at->GetEdgeList()->GetNext(pos));
            if (e && e->GetNode1() == at)
                next = e;
        }
        if (!next)
            break;
        segments.push_back(next);
        at = next->GetNode2();
    }
    return segments;
}

TEST(BeamArch, ParabolaLengthAndEqualArcDivision)
{
    const P p1{0, 0, 0}, p2{10, 0, 0}, p3{3, 4, 0};
    Model m;
    CBeamArch* arch = m.Arch(p1, p2, p3, 0);
    CSNode* a = arch->GetNode1();
    CSNode* b = arch->GetNode2();
    EXPECT_NEAR(arch->GetLength(), 13.7267895618, 1e-9);
    EXPECT_NEAR(arch->GetLength(), SimpsonLength(p1, p2, p3, -1, 1), 1e-9);

    arch->ParabolaDivideEqDist(3);
    const std::vector<CBeamArch*> segments = Segments(a, b);
    ASSERT_EQ(segments.size(), 3u);
    const double s[4] = {-1.0, -0.2016723259, 0.5524210397, 1.0};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        ExpectAt(segments[i]->GetNode1(), ParabolaAt(p1, p2, p3, s[i]), 1e-8);
        EXPECT_NEAR(SimpsonLength(p1, p2, p3, s[i], s[i + 1]), 4.5755965206, 1e-8);
        // Each segment is the same parabola over its part, its third node in
        // the middle of its parameter range.
        EXPECT_NEAR(segments[i]->GetLength(), 4.5755965206, 1e-8);
        ExpectAt(segments[i]->GetThirdNode(), ParabolaAt(p1, p2, p3, (s[i] + s[i + 1]) / 2), 1e-8);
    }
    EXPECT_EQ(segments[2], arch) << "the member keeps the last segment";

    // Equal parameter steps with mode 1.
    Model m2;
    CBeamArch* even = m2.Arch(p1, p2, p3, 0);
    CSNode* a2 = even->GetNode1();
    even->ParabolaDivide(1, 4);
    const auto evenPieces = Segments(a2, even->GetNode2());
    ASSERT_EQ(evenPieces.size(), 4u);
    ExpectAt(evenPieces[1]->GetNode1(), ParabolaAt(p1, p2, p3, -0.5), 1e-12);
}

TEST(BeamArch, ParabolaSpecialCases)
{
    Model m;
    // A third node at the chord's middle: the chord.
    CBeamArch* flat = m.Arch({0, 0, 0}, {10, 0, 0}, {5, 0, 0}, 0);
    EXPECT_NEAR(flat->GetLength(), 10.0, 1e-12);
    // A symmetric parabola in four segments has its middle node on the third
    // node.
    CBeamArch* sym = m.Arch({0, 0, 0}, {10, 0, 0}, {5, 3, 0}, 0);
    CSNode* a = sym->GetNode1();
    sym->ParabolaDivideEqDist(4);
    const auto segments = Segments(a, sym->GetNode2());
    ASSERT_EQ(segments.size(), 4u);
    ExpectAt(segments[2]->GetNode1(), {5, 3, 0}, 1e-9);
}

TEST(BeamArch, CircleThroughThreePoints)
{
    struct Case {
        P third;
        double radius;
        double sweep;
        double length;
    } cases[] = {
        {{3, 4, 0}, 5.0389110927, 2.8928826645, 5.0389110927 * 2.8928826645},
        {{5, 8, 0}, 5.5625, 4.0487880458, 22.5213835048},
        {{5, 5, 0}, 5.0, M_PI, 5.0 * M_PI}, // a half circle: no rounding fault
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.third[0]) + " " + std::to_string(c.third[1]));
        Model m;
        CBeamArch* arch = m.Arch({0, 0, 0}, {10, 0, 0}, c.third, CBeamArch::kCircular);
        CVector centre;
        CMatrix axes;
        double start = 0.0, sweep = 0.0;
        const double r = arch->GetCircFunc(centre, axes, start, sweep, false);
        EXPECT_NEAR(r, c.radius, 1e-9);
        EXPECT_NEAR(sweep, c.sweep, 1e-9);
        EXPECT_NEAR(arch->GetLength(), c.length, 1e-8);
        // Independently: the angle swept from P1 to P2 about the centre on
        // the side of P3.
        const double a1 = std::atan2(0.0 - centre[1], 0.0 - centre[0]);
        const double a2 = std::atan2(0.0 - centre[1], 10.0 - centre[0]);
        double minor = std::fabs(a1 - a2);
        if (minor > M_PI)
            minor = 2 * M_PI - minor;
        const bool major = centre[1] > 1e-12;
        EXPECT_NEAR(sweep, major ? 2 * M_PI - minor : minor, 1e-9);
        EXPECT_FALSE(std::isnan(start));
    }
    // Collinear points make no circle; the member measures its chord.
    Model m;
    CBeamArch* line = m.Arch({0, 0, 0}, {10, 0, 0}, {4, 0, 0}, CBeamArch::kCircular);
    CMatrix points;
    EXPECT_FALSE(CBeamArch::Circular(line->GetNode1(), line->GetNode2(), line->GetThirdNode(),
                                     nullptr, points, false, 4));
    EXPECT_NEAR(line->GetLength(), 10.0, 1e-12);
    EXPECT_TRUE(CBeamArch::Circular(line->GetNode1(), line->GetNode2(), m.Node({3, 4, 0}), nullptr,
                                    points, false, 4));
    EXPECT_NEAR(points[4][0], 10.0, 1e-9);
    EXPECT_NEAR(points[4][1], 0.0, 1e-9);
}

TEST(BeamArch, ArchTypeSelectsTheCurve)
{
    const P third{3, 4, 0};
    for (int type : {0, 7, 1}) {
        Model m;
        CBeamArch* arch = m.Arch({0, 0, 0}, {10, 0, 0}, third, type);
        const double expected = type == 1 ? 5.0389110927 * 2.8928826645 : 13.7267895618;
        EXPECT_NEAR(arch->GetLength(), expected, 1e-8) << type;
    }
}

TEST(BeamArch, CircularDiscretisationConservesAUniformLoad)
{
    Model m;
    CCrSectCirc circ(0.5);
    auto* a = new CBoundNode(0, 0, 0, nullptr, 0);
    auto* b = new CBoundNode(10, 0, 0, nullptr, 0);
    m.graph.NewNode(a);
    m.graph.NewNode(b);
    auto* arch = new CBeamArch(a, b, m.Node({3, 4, 0}), &circ);
    arch->SetArchType(CBeamArch::kCircular);
    arch->SetElemClass(RUNTIME_CLASS(CBarElm));
    arch->SetElemCount(8);
    auto* load = new CEdgeLoadEx;
    load->Allocate(3, true, 0.0);
    (*load)[1] = -3.0;
    arch->SetMemberLoad(load);
    arch->Discretize();
    arch->PostDiscretize();
    ASSERT_EQ(arch->GetElements()->GetSize(), 8);
    double total = 0.0;
    for (int i = 0; i <= 8; ++i) {
        CSNode* n = arch->GetElemNode(i < 8 ? i : -1);
        for (CLoad* l = n->GetLoad(); l; l = l->GetNextLoad())
            total += (*l)[4];
        if (i > 0 && i < 8) {
            EXPECT_NEAR(std::hypot(n->x - 5.0, n->y + 0.625), 5.0389110927, 1e-9) << i;
        }
    }
    EXPECT_NEAR(total, -3.0 * 5.0389110927 * 2.8928826645, 1e-8);
    // In the plane of the arch the bars keep i3 = z.
    for (int i = 0; i < 8; ++i) {
        auto* bar = static_cast<CBarElm*>((*arch->GetElements())[i]);
        EXPECT_NEAR(bar->GetOrient()[2], 1.0, 1e-12) << i;
        EXPECT_EQ(bar->GetCrSectObject(), &circ);
    }
}

TEST(BeamArch, OrientationIsCarriedAlongAnUprightParabola)
{
    // An arch in the x-z plane: i3 = z at the chord turns with the tangent.
    Model m;
    CBeamArch* arch = m.Arch({0, 0, 0}, {10, 0, 0}, {5, 0, 4}, 0);
    arch->SetElemClass(RUNTIME_CLASS(CBarElm));
    arch->SetElemCount(6);
    arch->Discretize();
    arch->PostDiscretize();
    ASSERT_EQ(arch->GetElements()->GetSize(), 6);
    for (int i = 0; i < 6; ++i) {
        auto* bar = static_cast<CBarElm*>((*arch->GetElements())[i]);
        const CVector& o = bar->GetOrient();
        CSNode* n1 = bar->GetHeadNode();
        CSNode* n2 = bar->GetTailNode();
        const double t[3] = {n2->x - n1->x, n2->y - n1->y, n2->z - n1->z};
        const double len = std::sqrt(t[0] * t[0] + t[1] * t[1] + t[2] * t[2]);
        EXPECT_NEAR(std::hypot(o[0], o[1], o[2]), 1.0, 1e-12);
        EXPECT_NEAR(o[1], 0.0, 1e-12);
        EXPECT_GT(o[2], 0.0);
        // Perpendicular to the chord of the element within the curvature.
        EXPECT_NEAR((o[0] * t[0] + o[2] * t[2]) / len, 0.0, 0.01) << i;
    }
}

TEST(BeamArch, WithoutThirdNodeTheArchIsAStraightMember)
{
    Model m;
    auto* arch = new CBeamArch(m.Node({0, 0, 0}), m.Node({10, 0, 0}), nullptr);
    arch->SetArchType(CBeamArch::kCircular);
    EXPECT_NEAR(arch->GetLength(), 10.0, 1e-12);
    arch->SetElemClass(RUNTIME_CLASS(CBarElm));
    arch->SetElemCount(5);
    arch->Discretize();
    EXPECT_EQ(arch->GetElements()->GetSize(), 1) << "no cross-section: one element";
    CObList nodes;
    arch->GetNodes(nodes);
    EXPECT_EQ(nodes.GetCount(), 2);
    {
        brantel::test::GLRecorder rec;
        glBegin(GL_LINES);
        arch->GLLine(false, nullptr);
        glEnd();
        ASSERT_EQ(rec.primitives().size(), 1u);
        EXPECT_EQ(rec.primitives()[0].vertices.size(), 6u);
    }
    // Division needs no third node: the straight division.
    CSNode* a = arch->GetNode1();
    arch->Divide(0, 2);
    EXPECT_NE(arch->GetNode1(), a);
    EXPECT_NEAR(arch->GetNode1()->x, 5.0, 1e-12);
    arch->CentreNodeDivide();
}

TEST(BeamArch, ArchiveKeepsTypeAndThirdNode)
{
    CSNode a(0, 0, 0, nullptr, 0), b(10, 0, 0, nullptr, 0), c(3, 4, 0, nullptr, 0);
    auto* arch = new CBeamArch(&a, &b, &c, nullptr);
    arch->SetArchType(CBeamArch::kCircular);
    const std::string bytes = brantel::test::storeBytes<std::string>(
        [&](CArchive& ar) { ar << static_cast<CObject*>(arch); });
    CBeamArch* back = nullptr;
    brantel::test::loadBytes(bytes, [&](CArchive& ar) {
        back = static_cast<CBeamArch*>(ar.ReadObject(RUNTIME_CLASS(CBeamArch)));
    });
    ASSERT_TRUE(back);
    EXPECT_EQ(back->GetArchType(), CBeamArch::kCircular);
    ASSERT_TRUE(back->GetThirdNode());
    EXPECT_EQ(back->GetThirdNode()->y, 4.0);
    EXPECT_NEAR(back->GetLength(), 5.0389110927 * 2.8928826645, 1e-8);
    CSNode* nodes[3] = {back->GetNode1(), back->GetNode2(), back->GetThirdNode()};
    for (CSNode* n : nodes)
        delete n;
}

TEST(BeamArch, EndOffsetsReachTheEndElements)
{
    // Offsets (0, 1, 0) at both ends: the first element's start and the last
    // element's end carry them, as on a straight member; inner ends none.
    struct Case {
        const char* name;
        bool third;
        int type;
    };
    const Case cases[] = {
        {"parabola", true, 0}, {"circle", true, CBeamArch::kCircular}, {"straight", false, 0}};
    for (const Case& c : cases) {
        Model m;
        CCrSectCirc circ(0.5);
        auto* arch = new CBeamArch(m.Node({0, 0, 0}), m.Node({10, 0, 0}),
                                   c.third ? m.Node({5, 3, 0}) : nullptr, &circ);
        arch->SetArchType(c.type);
        arch->SetElemClass(RUNTIME_CLASS(CBarElm));
        arch->SetElemCount(4);
        for (CVector* offset : {&arch->GetStartOffset(), &arch->GetEndOffset()}) {
            offset->Allocate(3, true, 0.0);
            (*offset)[1] = 1.0;
        }
        arch->Discretize();
        arch->PostDiscretize();
        ASSERT_EQ(arch->GetElements()->GetSize(), 4) << c.name;
        for (int i = 0; i < 4; ++i) {
            auto* bar = dynamic_cast<CBarElm*>((*arch->GetElements())[i]);
            ASSERT_NE(bar, nullptr) << c.name;
            for (int end : {1, 2}) {
                const bool outer = (i == 0 && end == 1) || (i == 3 && end == 2);
                const CVector* e = bar->GetEccent(end);
                if (!outer) {
                    EXPECT_TRUE(!e || ((*e)[0] == 0.0 && (*e)[1] == 0.0 && (*e)[2] == 0.0))
                        << c.name << " element " << i << " end " << end;
                    continue;
                }
                ASSERT_NE(e, nullptr) << c.name << " element " << i << " end " << end;
                EXPECT_EQ((*e)[0], 0.0) << c.name << " element " << i;
                EXPECT_EQ((*e)[1], 1.0) << c.name << " element " << i;
                EXPECT_EQ((*e)[2], 0.0) << c.name << " element " << i;
            }
        }
    }
}

class BeamArchDrawTest : public brantel::test::GLTest
{
};

TEST_F(BeamArchDrawTest, SolidArchCapsOnlyItsEnds)
{
    Model m;
    CCrSectCirc circ(0.2);
    CBeamArch* arch = m.Arch({0, 0, 0}, {10, 0, 0}, {3, 4, 0}, CBeamArch::kCircular, &circ);
    arch->SetElemCount(4);
    brantel::test::GLRecorder rec;
    arch->GLLine(true, nullptr);
    int caps = 0, mantles = 0;
    for (const auto& p : rec.primitives()) {
        caps += p.mode == GL_POLYGON;
        mantles += p.mode == GL_QUAD_STRIP;
    }
    EXPECT_EQ(caps, 2);
    EXPECT_EQ(mantles, 16) << "at least sixteen segments";
    EXPECT_TRUE(rec.balanced());
}

} // namespace
