// Straight beam members: orientation, element counts, discretisation with
// member loads, division, archive and drawing.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "platform/ferrand/material.h"
#include "sections/kantaro.h"
#include "tests/support/gl_context.h"
#include "tests/support/gl_recorder.h"
#include "tests/support/temp_files.h"

namespace
{

using brantel::test::GLRecorder;
using brantel::test::RecordedPrimitive;
using brantel::test::Vec3;

// Two nodes and a member between them; the nodes (and through them the
// member) go at the end of the test.
struct Member {
    std::unique_ptr<CSNode> a;
    std::unique_ptr<CSNode> b;
    CBeamSeg* seg = nullptr;
    Member(Vec3 p, Vec3 q, CCrSectComp* cs = nullptr, bool bound = false)
    {
        if (bound) {
            a.reset(new CBoundNode(p[0], p[1], p[2], nullptr, 0));
            b.reset(new CBoundNode(q[0], q[1], q[2], nullptr, 0));
        } else {
            a.reset(new CSNode(p[0], p[1], p[2], nullptr, 0));
            b.reset(new CSNode(q[0], q[1], q[2], nullptr, 0));
        }
        seg = new CBeamSeg(a.get(), b.get(), cs);
    }
    ~Member()
    {
        // The member's elements hold the analysis copies; they go first.
        delete seg;
        for (CSNode* n : {a.get(), b.get()})
            if (CSNode* copy = n->GetCopyNode()) {
                n->SetCopyNode(nullptr);
                if (copy->GetGraphCount() == 0)
                    delete copy;
            }
    }
};

Vec3 I3(CBeamSeg& s)
{
    Vec3 v;
    s.GetI3(v[0], v[1], v[2]);
    return v;
}

TEST(BeamSeg, OrientationFollowsTheMember)
{
    const double r6 = std::sqrt(6.0), r3 = std::sqrt(3.0);
    struct Case {
        const char* name;
        Vec3 d;
        Vec3 i3;
        Vec3 expected;
    } cases[] = {
        {"x member, i3 along it", {1, 0, 0}, {1, 0, 0}, {0, 0, 1}},
        {"x member, i3 oblique", {1, 0, 0}, {1, 1, 0}, {0, 1, 0}},
        {"vertical up", {0, 0, 1}, {0, 0, 1}, {-1, 0, 0}},
        {"vertical down", {0, 0, -1}, {0, 0, 1}, {1, 0, 0}},
        {"x-z plane, i3 along it", {-0.6, 0, 0.8}, {-0.6, 0, 0.8}, {0.8, 0, 0.6}},
        {"space diagonal", {1 / r3, 1 / r3, 1 / r3}, {1, 1, 1}, {-1 / r6, -1 / r6, 2 / r6}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Member m({0, 0, 0}, {10 * c.d[0], 10 * c.d[1], 10 * c.d[2]});
        m.seg->SetI3(c.i3[0], c.i3[1], c.i3[2]);
        m.seg->AutoUpdate_i3();
        const Vec3 v = I3(*m.seg);
        for (int k = 0; k < 3; ++k)
            EXPECT_NEAR(v[k], c.expected[k], 1e-12);
    }

    std::mt19937 random(7);
    std::uniform_real_distribution<double> coord(-1.0, 1.0);
    for (int trial = 0; trial < 200; ++trial) {
        const Vec3 d = {coord(random), coord(random), coord(random)};
        Member m({0, 0, 0}, d);
        m.seg->SetI3(coord(random), coord(random), coord(random));
        m.seg->AutoUpdate_i3();
        const Vec3 v = I3(*m.seg);
        const double len = std::hypot(d[0], d[1], d[2]);
        EXPECT_NEAR(std::hypot(v[0], v[1], v[2]), 1.0, 1e-12);
        EXPECT_NEAR((v[0] * d[0] + v[1] * d[1] + v[2] * d[2]) / len, 0.0, 1e-12);
    }
}

TEST(BeamSeg, ElementCountsFromLengthAndRefinement)
{
    const unsigned bars = CBeamSeg::ClassToken(RUNTIME_CLASS(CBarElm));
    const unsigned elements = CBeamSeg::ClassToken(RUNTIME_CLASS(CElement));
    const unsigned triangles = CBeamSeg::ClassToken(RUNTIME_CLASS(CTriElement));
    EXPECT_EQ(CBeamSeg::TokenClass(bars), RUNTIME_CLASS(CBarElm));
    EXPECT_EQ(CBeamSeg::ClassToken(RUNTIME_CLASS(CBarElm)), bars);
    EXPECT_EQ(CBeamSeg::TokenClass(0), nullptr);

    struct Case {
        double length;
        double h;
        unsigned token;
        int expected;
    } seeds[] = {
        {10.0, 3.0, 0, 3}, {10.5, 3.0, 0, 4},  {10.0, 3.0, elements, 3}, {10.0, 3.0, triangles, 7},
        {10.0, 0.0, 0, 7}, {10.0, -1.0, 0, 7}, {10.0, 1e-300, 0, 7},
    };
    for (const Case& c : seeds) {
        Member m({0, 0, 0}, {c.length, 0, 0});
        m.seg->SetElemClass(RUNTIME_CLASS(CBarElm));
        m.seg->SetElemCount(7);
        m.seg->SeedMeshLen(c.h, c.token);
        EXPECT_EQ(m.seg->GetElemCount(), c.expected) << c.length << " " << c.h;
    }

    struct Refine {
        int count;
        int n;
        unsigned token;
        int expected;
    } refines[] = {
        {7, -2, 0, 1},        {7, -2, bars, 3}, {7, 2, bars, 14}, {7, 3, 0, 21},
        {7, 2, triangles, 7}, {0, 5, 0, 0},     {7, 0, bars, 1},
    };
    for (const Refine& r : refines) {
        Member m({0, 0, 0}, {1, 0, 0});
        m.seg->SetElemClass(RUNTIME_CLASS(CBarElm));
        m.seg->SetElemCount(r.count);
        m.seg->RefineUniform(r.n, r.token);
        EXPECT_EQ(m.seg->GetElemCount(), r.expected) << r.count << " " << r.n;
    }
    // The default class stands in for a member without one.
    Member m({0, 0, 0}, {10, 0, 0});
    m.seg->SetElemClass(nullptr);
    m.seg->SetElemCount(5);
    CRuntimeClass* saved = CBeamSeg::m_pDefElemClass;
    CBeamSeg::m_pDefElemClass = RUNTIME_CLASS(CBarElm);
    m.seg->SeedMeshLen(5.0, bars);
    EXPECT_EQ(m.seg->GetElemCount(), 2);
    CBeamSeg::m_pDefElemClass = saved;
}

// A uniform member load (0, q, 0) along the member.
CEdgeLoadEx* UniformLoad(double q)
{
    auto* load = new CEdgeLoadEx;
    load->Allocate(3, true, 0.0);
    (*load)[1] = q;
    return load;
}

double NodeLoadY(CSNode* node)
{
    double sum = 0.0;
    for (CLoad* l = node->GetLoad(); l; l = l->GetNextLoad())
        sum += (*l)[4];
    return sum;
}

TEST(BeamSeg, DiscretisationMakesElementsBetweenAnalysisCopies)
{
    CCrSectRect rect(2.0, 1.0);
    Member m({0, 0, 0}, {10, 0, 0}, &rect, true);
    m.seg->SetElemCount(4);

    // No class anywhere: nothing.
    m.seg->SetElemClass(nullptr);
    m.seg->Discretize();
    EXPECT_EQ(m.seg->GetElements()->GetSize(), 0);
    EXPECT_EQ(m.seg->GetElemNode(0), nullptr);

    m.seg->SetElemClass(RUNTIME_CLASS(CBarElm));
    m.seg->SetMemberLoad(UniformLoad(-2.0));
    m.seg->Discretize();
    ASSERT_EQ(m.seg->GetElements()->GetSize(), 4);
    CSNode* first = m.a->GetCopyNode();
    CSNode* last = m.b->GetCopyNode();
    ASSERT_TRUE(first && last);
    EXPECT_EQ(m.seg->GetElemNode(0), first);
    EXPECT_EQ(m.seg->GetElemNode(-1), last);
    EXPECT_EQ(m.seg->GetElemNode(4), last);
    double total = 0.0;
    for (int i = 0; i <= 4; ++i) {
        CSNode* n = i < 4 ? m.seg->GetElemNode(i) : last;
        EXPECT_NEAR(n->x, 2.5 * i, 1e-12);
        EXPECT_TRUE(dynamic_cast<CBoundNode*>(n)) << i;
        const double expected = (i == 0 || i == 4) ? -2.0 * 1.25 : -2.0 * 2.5;
        EXPECT_NEAR(NodeLoadY(n), expected, 1e-12) << i;
        total += NodeLoadY(n);
    }
    EXPECT_NEAR(total, -20.0, 1e-12) << "the member load is conserved";

    // A second member at node b shares its analysis copy.
    CSNode c(20, 0, 0, nullptr, 0);
    auto* next = new CBeamSeg(m.b.get(), &c, &rect);
    next->SetElemClass(RUNTIME_CLASS(CBarElm));
    next->SetElemCount(2);
    next->Discretize();
    EXPECT_EQ(next->GetElemNode(0), last);
    delete next;
    if (CSNode* copy = c.GetCopyNode()) {
        c.SetCopyNode(nullptr);
        if (copy->GetGraphCount() == 0)
            delete copy;
    }

    // Without a load the interior nodes are plain nodes; a count of 0 or
    // less empties the list; no cross-section gives one element.
    m.seg->SetMemberLoad(nullptr);
    m.seg->Discretize();
    EXPECT_FALSE(dynamic_cast<CBoundNode*>(m.seg->GetElemNode(1)));
    m.seg->SetElemCount(0);
    m.seg->Discretize();
    EXPECT_EQ(m.seg->GetElements()->GetSize(), 0);
    m.seg->SetElemCount(4);
    m.seg->SetCrSect(nullptr);
    m.seg->Discretize();
    EXPECT_EQ(m.seg->GetElements()->GetSize(), 1);
}

TEST(BeamSeg, PostDiscretiseHandsBarsSectionOrientationAndOffsets)
{
    CCrSectRect rect(2.0, 1.0);
    Member m({0, 0, 0}, {10, 0, 0}, &rect);
    m.seg->SetElemClass(RUNTIME_CLASS(CBarElm));
    m.seg->SetElemCount(3);
    m.seg->GetStartOffset().Allocate(3, true, 0.0);
    m.seg->GetStartOffset()[1] = 0.5;
    m.seg->GetEndOffset().Allocate(3, true, 0.0);
    m.seg->GetEndOffset()[2] = -0.25;
    m.seg->SetI3(0, 1, 1);
    m.seg->AutoUpdate_i3();
    EXPECT_GT(m.seg->GetI3Vector()[1], 0.7);
    m.seg->Discretize();
    m.seg->PostDiscretize();
    CObjVect& elements = *m.seg->GetElements();
    ASSERT_EQ(elements.GetSize(), 3);
    for (int i = 0; i < 3; ++i) {
        auto* bar = static_cast<CBarElm*>(elements[i]);
        EXPECT_EQ(bar->GetCrSectObject(), &rect);
        for (int k = 0; k < 3; ++k)
            EXPECT_EQ(bar->GetOrient()[k], m.seg->GetI3Vector()[k]);
    }
    auto* firstBar = static_cast<CBarElm*>(elements[0]);
    auto* lastBar = static_cast<CBarElm*>(elements[2]);
    ASSERT_TRUE(firstBar->GetEccent(1) && lastBar->GetEccent(2));
    EXPECT_EQ((*firstBar->GetEccent(1))[1], 0.5);
    EXPECT_EQ((*lastBar->GetEccent(2))[2], -0.25);
    EXPECT_EQ(firstBar->GetEccent(2), nullptr);

    // Elements of another class are left alone.
    Member t({0, 0, 0}, {10, 0, 0}, &rect);
    t.seg->SetElemClass(RUNTIME_CLASS(CTriElement));
    t.seg->SetElemCount(2);
    t.seg->Discretize();
    t.seg->PostDiscretize();
    ASSERT_EQ(t.seg->GetElements()->GetSize(), 2);
    EXPECT_FALSE((*t.seg->GetElements())[0]->IsKindOf(RUNTIME_CLASS(CBarElm)));
}

TEST(BeamSeg, DivisionConservesLengthAndTilesTheLoad)
{
    CGraph graph;
    auto* a = graph.NewNode(0.0, 0.0, 0.0);
    auto* b = graph.NewNode(9.0, 0.0, 0.0);
    auto* seg = new CBeamSeg(a, b, nullptr);
    seg->GetStartOffset().Allocate(3, true, 0.0);
    seg->GetStartOffset()[1] = 1.0;
    seg->SetEndValues(3.0, 4.0);
    auto* load = new CEdgeLoadEx;
    load->Allocate(6, true, 0.0); // linear from (0, 0, 0) to (0, 3, 0)
    (*load)[4] = 3.0;
    seg->SetMemberLoad(load);
    const double length = seg->GetLength();

    seg->Divide(0, 1);
    EXPECT_EQ(seg->GetNode1(), a) << "fewer than two segments: nothing";

    seg->Divide(0, 3);
    // Walk the segments from a.
    std::vector<CBeamSeg*> segments;
    CSNode* at = a;
    while (at != b) {
        CBeamSeg* next = nullptr;
        for (POSITION pos = at->GetEdgeList()->GetHeadPosition(); pos;) {
            auto* e = dynamic_cast<CBeamSeg*>(at->GetEdgeList()->GetNext(pos));
            if (e && e->GetNode1() == at)
                next = e;
        }
        ASSERT_TRUE(next);
        segments.push_back(next);
        at = next->GetNode2();
    }
    ASSERT_EQ(segments.size(), 3u);
    EXPECT_EQ(segments.back(), seg) << "the member keeps the last segment";
    double sum = 0.0;
    for (CBeamSeg* p : segments)
        sum += p->GetLength();
    EXPECT_NEAR(sum, length, 1e-12);
    EXPECT_EQ(segments[0]->GetStartOffset().GetSize(), 3);
    EXPECT_EQ(seg->GetStartOffset().GetSize(), 0);
    ASSERT_TRUE(segments[0]->GetEndValues());
    EXPECT_EQ(segments[0]->GetEndValues()[0], 3.0);
    EXPECT_EQ(segments[0]->GetEndValues()[1], 0.0);
    ASSERT_TRUE(seg->GetEndValues());
    EXPECT_EQ(seg->GetEndValues()[0], 0.0);
    EXPECT_EQ(seg->GetEndValues()[1], 4.0);
    EXPECT_EQ(segments[1]->GetEndValues(), nullptr);
    // The load segments: (2i/n - 1, 2(i+1)/n - 1) of the linear load.
    for (int i = 0; i < 3; ++i) {
        auto* part = dynamic_cast<CEdgeLoadEx*>(segments[i]->GetMemberLoad());
        ASSERT_TRUE(part) << i;
        EXPECT_NEAR((*part)[1], i * 1.0, 1e-12) << i;
        EXPECT_NEAR((*part)[4], (i + 1) * 1.0, 1e-12) << i;
    }
    // The new nodes joined the graph of the member's nodes.
    EXPECT_EQ(segments[1]->GetNode1()->GetPrimaryGraph(), &graph);
    EXPECT_EQ(graph.GetCount(), 4);

    // Nodes in no graph: new nodes in no graph either.
    Member loose({0, 0, 0}, {4, 0, 0});
    loose.seg->Divide(0, 2);
    CSNode* mid = loose.seg->GetNode1();
    EXPECT_NE(mid, loose.a.get());
    EXPECT_EQ(mid->GetGraphCount(), 0);
    EXPECT_NEAR(mid->x, 2.0, 1e-12);
    delete mid; // with its two members
    loose.seg = nullptr;
}

TEST(BeamSeg, NewEdgeAndCopyCarryTheProperties)
{
    CCrSectCirc circ(1.0);
    Member m({0, 0, 0}, {10, 0, 0}, &circ);
    m.seg->SetI3(0, 1, 0);
    m.seg->AutoUpdate_i3();
    m.seg->SetSpare(5);
    m.seg->SetElemCount(6);
    m.seg->SetElemClass(RUNTIME_CLASS(CBarElm));
    auto* aux = new CVector(2);
    (*aux)[0] = 1.5;
    m.seg->SetAuxVector(aux);
    m.seg->SetEndValues(1.0, 2.0);
    m.seg->GetEndOffset().Allocate(3, true, 0.0);
    m.seg->SetMemberLoad(UniformLoad(4.0));

    CSNode c(0, 0, 5, nullptr, 0), d(10, 0, 5, nullptr, 0);
    auto* copy = dynamic_cast<CBeamSeg*>(m.seg->Copy(&c, &d));
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->GetCrSect(), &circ);
    EXPECT_EQ(copy->GetSpare(), 5);
    EXPECT_EQ(copy->GetElemCount(), 6);
    EXPECT_EQ(copy->GetElemClass(), RUNTIME_CLASS(CBarElm));
    ASSERT_TRUE(copy->GetAuxVector());
    EXPECT_NE(copy->GetAuxVector(), aux);
    EXPECT_EQ((*copy->GetAuxVector())[0], 1.5);
    ASSERT_TRUE(copy->GetEndValues());
    EXPECT_EQ(copy->GetEndValues()[1], 2.0);
    EXPECT_EQ(copy->GetEndOffset().GetSize(), 3);
    auto* load = dynamic_cast<CEdgeLoadEx*>(copy->GetMemberLoad());
    ASSERT_TRUE(load);
    EXPECT_NE(load, m.seg->GetMemberLoad());
    EXPECT_EQ((*load)[1], 4.0);
    EXPECT_NEAR(I3(*copy)[1], 1.0, 1e-12);
    delete copy;
}

// ------------------------------------------------------------ archive

using Bytes = std::string;

Bytes Store(const std::function<void(CArchive&)>& body)
{
    return brantel::test::storeBytes<Bytes>(body);
}

TEST(BeamSegArchive, FieldsInOrder)
{
    CCrSectRect rect(2.0, 1.0);
    Member m({0, 0, 0}, {10, 0, 0}, &rect);
    m.seg->GetStartOffset().Allocate(3, true, 0.5);
    m.seg->GetEndOffset().Allocate(3, true, -0.5);
    m.seg->SetSpare(9);
    m.seg->SetElemCount(4);
    m.seg->SetElemClass(RUNTIME_CLASS(CBarElm));
    m.seg->SetAuxVector(new CVector(2, true, 7.0));
    m.seg->SetEndValues(1.5, 2.5);
    // Nodes and section are known to the archive already: they are
    // written as references.
    auto known = [&](CArchive& ar) {
        for (CObject* o : {static_cast<CObject*>(m.a.get()), static_cast<CObject*>(m.b.get()),
                           static_cast<CObject*>(&rect)})
            ar.MapObject(o);
    };
    const Bytes bytes = Store([&](CArchive& ar) {
        known(ar);
        m.seg->Serialize(ar);
    });

    CVector start(3, true, 0.5), end(3, true, -0.5), i3(m.seg->GetI3Vector());
    const Bytes expected = Store([&](CArchive& ar) {
        known(ar);
        ar << static_cast<CObject*>(m.a.get()) << static_cast<CObject*>(m.b.get());
        start.Serialize(ar);
        end.Serialize(ar);
        i3.Serialize(ar);
        ar << LONG(9) << LONG(4) << static_cast<CObject*>(nullptr) << LONG(1);
        ar.WriteClass(RUNTIME_CLASS(CBarElm));
        ar << static_cast<CObject*>(&rect) << static_cast<CObject*>(m.seg->GetAuxVector());
        ar << LONG(2) << 1.5 << 2.5;
    });
    EXPECT_EQ(bytes, expected);
}

// Members read back, and a sentinel LONG written after them. The nodes
// read with them delete them.
struct Loaded {
    CBeamSeg* seg = nullptr;
    CBeamSeg* second = nullptr;
    LONG sentinel = 0;
    ~Loaded()
    {
        std::vector<CSNode*> nodes;
        for (CBeamSeg* s : {seg, second})
            if (s)
                for (CSNode* n : {s->GetNode1(), s->GetNode2()})
                    if (std::find(nodes.begin(), nodes.end(), n) == nodes.end())
                        nodes.push_back(n);
        for (CSNode* n : nodes)
            delete n;
    }
};

TEST(BeamSegArchive, OlderSchemasReadWithoutAuxiliaryVectorOrEndValues)
{
    Member m({0, 0, 0}, {10, 0, 0});
    m.seg->SetSpare(3);
    const Bytes stored =
        Store([&](CArchive& ar) { ar << static_cast<CObject*>(m.seg) << LONG(77); });
    // The tail of the member: null auxiliary vector (2 bytes), no end
    // values (4 bytes), then the sentinel (4 bytes). The class record
    // "CBeamSeg" carries the schema.
    const std::size_t schemaAt = stored.find("CBeamSeg") - 4;
    ASSERT_EQ(stored[schemaAt], 3);
    for (int schema : {1, 2}) {
        Bytes bytes = stored;
        bytes[schemaAt] = static_cast<char>(schema);
        const std::size_t cut = schema == 1 ? 6 : 4;
        bytes.erase(bytes.size() - 4 - cut, cut);
        Loaded loaded;
        brantel::test::loadBytes(bytes, [&](CArchive& ar) {
            loaded.seg = static_cast<CBeamSeg*>(ar.ReadObject(RUNTIME_CLASS(CBeamSeg)));
            ar >> loaded.sentinel;
        });
        ASSERT_TRUE(loaded.seg);
        EXPECT_EQ(loaded.sentinel, 77) << schema;
        EXPECT_EQ(loaded.seg->GetSpare(), 3);
        EXPECT_EQ(loaded.seg->GetAuxVector(), nullptr);
        EXPECT_EQ(loaded.seg->GetEndValues(), nullptr);
    }
}

TEST(BeamSegArchive, UnknownElementClassReadsAsNone)
{
    // Two members of one element class whose name the reader does not
    // know; the second refers back to the class record, and the node
    // references after it still resolve.
    CSNode a(0, 0, 0, nullptr, 0), b(10, 0, 0, nullptr, 0), c(20, 0, 0, nullptr, 0);
    auto* s1 = new CBeamSeg(&a, &b, nullptr);
    auto* s2 = new CBeamSeg(&b, &c, nullptr);
    for (CBeamSeg* s : {s1, s2}) {
        s->SetElemClass(RUNTIME_CLASS(CBarElm));
        s->SetElemCount(5);
    }
    Bytes bytes = Store([&](CArchive& ar) {
        ar << static_cast<CObject*>(s1) << static_cast<CObject*>(s2) << LONG(77);
    });
    const std::size_t at = bytes.find("CBarElm");
    ASSERT_NE(at, Bytes::npos);
    bytes[at + 6] = 'X';
    Loaded loaded;
    brantel::test::loadBytes(bytes, [&](CArchive& ar) {
        loaded.seg = static_cast<CBeamSeg*>(ar.ReadObject(RUNTIME_CLASS(CBeamSeg)));
        loaded.second = static_cast<CBeamSeg*>(ar.ReadObject(RUNTIME_CLASS(CBeamSeg)));
        ar >> loaded.sentinel;
    });
    ASSERT_TRUE(loaded.seg && loaded.second);
    EXPECT_EQ(loaded.seg->GetElemClass(), nullptr);
    EXPECT_EQ(loaded.second->GetElemClass(), nullptr);
    EXPECT_EQ(loaded.second->GetElemCount(), 5);
    EXPECT_EQ(loaded.seg->GetNode2(), loaded.second->GetNode1());
    EXPECT_EQ(loaded.sentinel, 77);
}

// A member whose owned slots a test can fill with any object, archived as
// a member (it has no class of its own).
class SlotSeg : public CBeamSeg
{
public:
    using CBeamSeg::CBeamSeg;
    void SetSlots(CObject* load, CVector* aux)
    {
        m_pLoad = load;
        m_pAux = aux;
    }
};

TEST(BeamSegArchive, WrongClassAndSharedOwnedSlotsAreRefused)
{
    // Each file names an object the member cannot take: the load fails
    // with the cause below and is discarded whole, its objects freed once
    // (the sanitizer build checks).
    struct Case {
        const char* what;
        bool loadIsMaterial; // else the auxiliary vector is the member load
        int cause;
    } const cases[] = {
        {"member load of another class", true, CArchiveException::badClass},
        {"auxiliary vector given by back-reference to the load", false,
         CArchiveException::badIndex},
    };
    for (const Case& c : cases) {
        CSNode a(0, 0, 0, nullptr, 0), b(10, 0, 0, nullptr, 0);
        CMaterial material;
        CEdgeLoad load;
        auto* seg = new SlotSeg(&a, &b, nullptr);
        if (c.loadIsMaterial)
            seg->SetSlots(&material, nullptr);
        else
            seg->SetSlots(&load, &load);
        const Bytes bytes = Store([&](CArchive& ar) { ar << static_cast<CObject*>(seg); });
        seg->SetSlots(nullptr, nullptr);
        delete seg;

        int cause = CArchiveException::none;
        brantel::test::loadBytes(bytes, [&](CArchive& ar) {
            try {
                ar.ReadObjectAs<CBeamSeg>(RUNTIME_CLASS(CBeamSeg), CArchive::useOwned);
            } catch (CArchiveException& e) {
                cause = e.m_cause;
                ar.DeleteCreatedObjects();
            }
        });
        EXPECT_EQ(cause, c.cause) << c.what;
    }
}

// ------------------------------------------------------------ drawing

class BeamSegDrawTest : public brantel::test::GLTest
{
};

int Vertices(const GLRecorder& rec, GLenum mode)
{
    int n = 0;
    for (const RecordedPrimitive& p : rec.primitives())
        if (p.mode == mode)
            n += static_cast<int>(p.vertices.size());
    return n;
}

TEST_F(BeamSegDrawTest, MemberDrawsByTheCommandFlags)
{
    CCrSectCirc circ(1.0);
    Member m({0, 0, 0}, {10, 0, 0}, &circ);
    m.seg->GetStartOffset().Allocate(3, true, 0.0);
    m.seg->GetStartOffset()[2] = 2.0;

    // Lines: node 1 to the start point, along the member, end point to
    // node 2.
    {
        COGLDrawCommand command;
        command.m_uiState[0] = 1;
        GLRecorder rec;
        m.seg->GL_Draw(&command);
        ASSERT_EQ(Vertices(rec, GL_LINES), 6);
        const RecordedPrimitive& p = rec.primitives()[0];
        EXPECT_EQ(p.vertices[0], (Vec3{0, 0, 0}));
        EXPECT_EQ(p.vertices[1], (Vec3{0, 0, 2}));
        EXPECT_EQ(p.vertices[3], (Vec3{10, 0, 0}));
        EXPECT_TRUE(rec.balanced());
    }
    // Solid: the section's prism with both caps.
    {
        COGLDrawCommand command;
        command.m_uiState[0] = 1 | 4;
        GLRecorder rec;
        m.seg->GL_Draw(&command);
        EXPECT_EQ(Vertices(rec, GL_POLYGON), 256);
        EXPECT_EQ(Vertices(rec, GL_QUAD_STRIP), 130);
        EXPECT_TRUE(rec.balanced());
    }
    // Elements only with flag 2; a zero-length member draws nothing solid.
    {
        Member zero({1, 1, 1}, {1, 1, 1}, &circ);
        COGLDrawCommand command;
        command.m_uiState[0] = 1 | 4;
        GLRecorder rec;
        zero.seg->GL_Draw(&command);
        EXPECT_TRUE(rec.primitives().empty());
    }
}

TEST_F(BeamSegDrawTest, LoadAxesAndColourFlags)
{
    CMaterial first("First", 0.0, 1.0, 1.0, 0.3, 0.0), base("Base", 0.0, 1.0, 1.0, 0.3, 0.0);
    first.SetColor(0.0, 0.0, 1.0);
    base.SetColor(0.0, 1.0, 0.0);
    base.SetFlag(CMaterial::kBaseMaterialBit);
    CCrSectRect rect(1.0, 1.0);
    Member m({0, 0, 0}, {10, 0, 0}, &rect);
    auto lines = [](const GLRecorder& rec) {
        int n = 0;
        for (const RecordedPrimitive& p : rec.primitives())
            n += p.mode == GL_LINES || p.mode == GL_LINE_STRIP;
        return n;
    };
    auto draw = [&](unsigned flags) {
        COGLDrawCommand command(4);
        command.m_uiState[0] = flags;
        glColor3d(1.0, 0.0, 0.0);
        auto rec = std::make_unique<GLRecorder>();
        m.seg->GL_Draw(&command);
        command.EndIf();
        EXPECT_TRUE(rec->balanced()) << flags;
        return rec;
    };
    const int plain = lines(*draw(1));
    // The member load draws itself only with 0x10 and only when there is one.
    EXPECT_EQ(lines(*draw(1 | 0x10)), plain);
    m.seg->SetMemberLoad(UniformLoad(2.0));
    EXPECT_GT(draw(1 | 0x10)->primitives().size(), draw(1)->primitives().size());
    // 0x20 adds the local axes.
    EXPECT_GE(lines(*draw(1 | 0x20)), plain + 3);
    // 0x8: the section's base material's colour (for a shape its first
    // material), else the current colour stays.
    auto colourOfMember = [&](unsigned flags) {
        auto rec = draw(flags);
        return rec->primitives().back().colours.front();
    };
    EXPECT_EQ(colourOfMember(1 | 0x8), (Vec3{1, 0, 0}));
    rect.AddMaterial(&first);
    EXPECT_EQ(colourOfMember(1 | 0x8), (Vec3{0, 0, 1}));
    rect.AddMaterial(&base);
    EXPECT_EQ(colourOfMember(1 | 0x8), (Vec3{0, 0, 1}));
    EXPECT_EQ(colourOfMember(1), (Vec3{1, 0, 0}));
}

TEST_F(BeamSegDrawTest, DefaultPrismHasOutwardSidesAndNoCaps)
{
    Member m({0, 0, 0}, {0, 100, 0});
    GLRecorder rec;
    m.seg->GLLine(true, nullptr);
    ASSERT_EQ(rec.primitives().size(), 1u);
    const RecordedPrimitive& p = rec.primitives()[0];
    ASSERT_EQ(p.mode, static_cast<GLenum>(GL_QUADS));
    ASSERT_EQ(p.vertices.size(), 16u);
    // The member runs along y with i3 = z: 46 wide along x, 80 high along z.
    for (std::size_t k = 0; k < p.vertices.size(); ++k) {
        const Vec3& v = p.vertices[k];
        const Vec3& n = p.normals[k];
        EXPECT_NEAR(std::fabs(v[0]), 23.0, 1e-12);
        EXPECT_NEAR(std::fabs(v[2]), 40.0, 1e-12);
        EXPECT_EQ(n[1], 0.0) << "no end faces";
        EXPECT_NEAR(std::hypot(n[0], n[2]), 1.0, 1e-12);
        // Outward: the normal points the way of its face.
        EXPECT_GT(n[0] * v[0] / 23.0 + n[2] * v[2] / 40.0, 0.5);
    }
}

} // namespace

namespace
{

TEST(BeamSegArchive, DamagedOrientationIsRebuilt)
{
    // An orientation of two entries in the file: the member would read
    // past it; it is rebuilt from the member's direction instead.
    Member m({0, 0, 0}, {0, 10, 0});
    const Bytes stored = Store([&](CArchive& ar) { ar << static_cast<CObject*>(m.seg); });
    auto raw = [](const void* p, std::size_t n) { return Bytes(static_cast<const char*>(p), n); };
    const CVector& i3 = m.seg->GetI3Vector();
    const LONG three = 3, two = 2;
    const Bytes good = raw(&three, 4) + raw(&i3[0], 24);
    const std::size_t at = stored.find(good);
    ASSERT_NE(at, Bytes::npos);
    const double zeros[2] = {0.0, 0.0};
    Bytes bytes = stored;
    bytes.replace(at, good.size(), raw(&two, 4) + raw(zeros, 16));
    Loaded loaded;
    brantel::test::loadBytes(bytes, [&](CArchive& ar) {
        loaded.seg = static_cast<CBeamSeg*>(ar.ReadObject(RUNTIME_CLASS(CBeamSeg)));
    });
    ASSERT_TRUE(loaded.seg);
    ASSERT_EQ(loaded.seg->GetI3Vector().GetSize(), 3);
    EXPECT_EQ(I3(*loaded.seg), (Vec3{0, 0, 1}));
}

} // namespace
