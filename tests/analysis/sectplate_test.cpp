// Plate region: constructors and names, copies, archive, attributes and the
// extruded thickness drawing.
#include "tests/analysis/plate_fixture.h"
#include "tests/support/temp_files.h"

using namespace platetest;

namespace {

class SectPlateTest : public PlateTest {};

TEST_F(SectPlateTest, ConstructorsNameFromTheGraphIdentifier)
{
    CMaterial steel("Steel", 1.0, 210000.0, 0.0, 0.3, 0.0);
    CGraph::lIDGraph = 4000000001u;
    auto* quad = new CSectPlate(Node(0, 0), Node(1, 0), Node(1, 1), Node(0, 1), &steel);
    auto* triangle = new CSectPlate(Node(2, 0), Node(3, 0), Node(2, 1), &steel);
    CObList ring;
    for (auto [x, y] : {std::pair{4.0, 0.0}, {6.0, 0.0}, {6.0, 2.0}, {5.0, 3.0}, {4.0, 2.0}})
        ring.AddTail(Node(x, y));
    auto* polygon = new CSectPlate(&ring, &steel);
    CSNode* centre = Node(10, 0); // not part of the outline
    auto* circle = new CSectPlate(centre, Node(11, 0), &steel, 8, 0);

    EXPECT_EQ(quad->GetName(), CString("Quad (1)"));
    EXPECT_EQ(triangle->GetName(), CString("Triangle (2)"));
    EXPECT_EQ(polygon->GetName(), CString("Polygon (3)"));
    EXPECT_EQ(circle->GetName(), CString("Circle (4)"));
    EXPECT_EQ(quad->GetCount(), 4);
    EXPECT_EQ(polygon->GetCount(), 5);
    EXPECT_EQ(circle->GetCount(), 8);
    // Every region carries its material, the triangle too.
    for (CSectPlate* r : {quad, triangle, polygon, circle})
        EXPECT_EQ(r->GetMaterial(), &steel) << (LPCTSTR)r->GetName();
    EXPECT_EQ(steel.GetElemCount(), 4);
    // Closed outlines.
    EXPECT_NE(CGraph::GetComEdge(polygon->GetHeadNode(), polygon->GetTailNode()), nullptr);
    EXPECT_NE(CGraph::GetComEdge(triangle->GetNode(0), triangle->GetNode(2)), nullptr);
    EXPECT_NE(CGraph::GetComEdge(circle->GetHeadNode(), circle->GetTailNode()), nullptr);
    for (CSectPlate* r : {quad, triangle, polygon, circle})
        delete r;
    delete centre;
    EXPECT_EQ(steel.GetElemCount(), 0);
}

TEST_F(SectPlateTest, CircleGetsAtLeastThreeBoundaryNodesWithoutSpendingIdentifiers)
{
    CSNode* centre = Node(0, 0);
    CSNode* start = Node(1, 0);
    const DWORD next = CSNode::lIDnode;
    auto* circle = new CSectPlate(centre, start, nullptr, 2, 0);
    ASSERT_EQ(circle->GetCount(), 3);
    // Two new nodes, with the two next identifiers and no more.
    EXPECT_EQ(CSNode::lIDnode, next + 2);
    EXPECT_EQ(circle->GetHeadNode(), start);
    EXPECT_EQ(circle->GetNode(1)->m_ulID, next);
    EXPECT_EQ(circle->GetNode(2)->m_ulID, next + 1);
    for (int i = 1; i < 3; ++i) {
        EXPECT_TRUE(circle->GetNode(i)->IsKindOf(RUNTIME_CLASS(CBoundNode)));
        EXPECT_EQ(circle->GetNode(i)->IsGraphInList(circle), 0);
    }
    CEdge* closing = CGraph::GetComEdge(circle->GetNode(2), start);
    ASSERT_NE(closing, nullptr);
    EXPECT_TRUE(closing->IsKindOf(RUNTIME_CLASS(CBoundary)));
    delete circle;
    delete centre;
}

TEST_F(SectPlateTest, CopiesNameCoefficientsAndInnerRegions)
{
    CObList ring;
    for (auto [x, y] : {std::pair{0.0, 0.0}, {6.0, 0.0}, {6.0, 4.0}, {3.0, 6.0}, {0.0, 4.0}})
        ring.AddTail(Node(x, y));
    auto* source = new CSectPlate(&ring, nullptr);
    CVector thickness = VectorOf({1, 2, 3, 4});
    source->SetThickness(5.0, thickness);
    CVector load = VectorOf({7, 8});
    source->SetLoad(2.0, load);
    auto* inner = Rect(1, 1, 2, 2, nullptr);
    source->InsertSubSect(inner);

    auto* copied = new CSectPlate(*source, false);
    CString name;
    name.Format("Polygon (%u)", static_cast<unsigned>(copied->GetID() - 4000000000u));
    EXPECT_EQ(copied->GetName(), name);
    EXPECT_NE(copied->GetID(), source->GetID());
    EXPECT_DOUBLE_EQ(copied->GetThickness(), 5.0);
    EXPECT_DOUBLE_EQ(copied->GetLoad(), 2.0);
    EXPECT_EQ(copied->GetThicknessVector().GetSize(), 0);
    EXPECT_EQ(copied->GetLoadVector().GetSize(), 0);
    ASSERT_NE(copied->GetSubList(), nullptr);
    ASSERT_EQ(copied->GetSubList()->GetCount(), 1);
    auto* innerCopy = static_cast<CSectPlate*>(copied->GetSubList()->GetHead());
    EXPECT_NE(innerCopy, inner);
    EXPECT_EQ(innerCopy->GetOuterSect(), copied);
    source->ReleaseCopyNodes(true);

    CGraph* viaCopy = source->Copy(false);
    ASSERT_TRUE(viaCopy->IsKindOf(RUNTIME_CLASS(CSectPlate)));
    auto* kept = static_cast<CSectPlate*>(viaCopy);
    EXPECT_TRUE(kept->GetThicknessVector() == source->GetThicknessVector());
    EXPECT_EQ(kept->GetThicknessVector().GetSize(), 4);
    EXPECT_EQ(kept->GetLoadVector().GetSize(), 2);
    EXPECT_DOUBLE_EQ(kept->GetLoadVector()[1], 8.0);
    source->ReleaseCopyNodes(true);

    source->SetThickness(6.0);
    EXPECT_DOUBLE_EQ(source->GetThickness(), 6.0);
    EXPECT_EQ(source->GetThicknessVector().GetSize(), 0);
    source->SetLoad(1.0);
    EXPECT_EQ(source->GetLoadVector().GetSize(), 0);

    delete kept;
    delete copied;
    delete source;
}

TEST_F(SectPlateTest, CreateNodeMakesBoundaryNodes)
{
    CSectPlate region;
    CSNode* node = region.CreateNode(1, 2, 3);
    EXPECT_TRUE(node->IsKindOf(RUNTIME_CLASS(CBoundNode)));
    EXPECT_DOUBLE_EQ(node->y, 2.0);
    delete node;
}

TEST_F(SectPlateTest, ArchiveRoundTripRestoresValuesAndOuterRegion)
{
    CSectPlate outer(Node(0, 0), Node(4, 0), Node(4, 4), Node(0, 4), nullptr);
    CVector t = VectorOf({0.5, 0.5, 0.1, -0.2});
    CVector q = VectorOf({1, 2, 3});
    outer.SetThickness(12.0, t);
    outer.SetLoad(-3.5, q);
    auto* inner = Rect(1, 1, 2, 2, nullptr);
    inner->SetThickness(4.0);
    outer.InsertSubSect(inner);

    const auto bytes = afxtest::storeBytes([&](CArchive& ar) { ar << &outer; });
    CObject* read = nullptr;
    afxtest::loadBytes(bytes, [&](CArchive& ar) { ar >> read; });
    ASSERT_NE(read, nullptr);
    ASSERT_TRUE(read->IsKindOf(RUNTIME_CLASS(CSectPlate)));
    auto* loaded = static_cast<CSectPlate*>(read);
    EXPECT_DOUBLE_EQ(loaded->GetThickness(), 12.0);
    EXPECT_DOUBLE_EQ(loaded->GetLoad(), -3.5);
    EXPECT_TRUE(loaded->GetThicknessVector() == t);
    EXPECT_TRUE(loaded->GetLoadVector() == q);
    EXPECT_EQ(loaded->GetThicknessVector().GetSize(), 4);
    EXPECT_EQ(loaded->GetOuterSect(), nullptr);
    ASSERT_NE(loaded->GetSubList(), nullptr);
    auto* loadedInner = static_cast<CSectPlate*>(loaded->GetSubList()->GetHead());
    EXPECT_EQ(loadedInner->GetOuterSect(), loaded);
    EXPECT_DOUBLE_EQ(loadedInner->GetThickness(), 4.0);
    EXPECT_EQ(loaded->GetCount(), 4);
    delete loaded;
}

TEST_F(SectPlateTest, IsMeshKindLooksAtEveryMesh)
{
    struct {
        bool outerMesh;
        DWORD outerWord;
        bool innerMesh;
        DWORD innerWord;
        unsigned bits;
        bool expected;
    } cases[] = {
        {false, 0, false, 0, 1, true}, // nothing meshed
        {true, 1, false, 0, 1, true},  {true, 0, false, 0, 1, false},
        {true, 2, false, 0, 3, true},  {true, 1, true, 0, 1, false},
        {false, 0, true, 0, 1, false}, {false, 0, true, 1, 1, true},
    };
    for (const auto& c : cases) {
        auto* outer = Rect(0, 0, 4, 4, nullptr);
        auto* inner = Rect(1, 1, 2, 2, nullptr);
        outer->InsertSubSect(inner);
        if (c.outerMesh)
            GiveMesh(outer, RectMesh(0, 0, 4, 4, false, c.outerWord));
        if (c.innerMesh)
            GiveMesh(inner, RectMesh(1, 1, 2, 2, false, c.innerWord));
        EXPECT_EQ(outer->IsMeshKind(c.bits), c.expected)
            << c.outerMesh << c.outerWord << c.innerMesh << c.innerWord << c.bits;
        delete outer;
    }
}

TEST_F(SectPlateTest, CopyAttribTakesThePlateValues)
{
    CSectPlate from(Node(0, 0), Node(1, 0), Node(1, 1), Node(0, 1), nullptr);
    CVector t = VectorOf({1, 2, 3, 4, 5});
    CVector q = VectorOf({6});
    from.SetThickness(8.0, t);
    from.SetLoad(9.0, q);
    from.SetPolar(true);
    from.GetMatAxes() = VectorOf({0.5, 1.5});
    CSectPlate to(Node(2, 0), Node(3, 0), Node(3, 1), Node(2, 1), nullptr);
    to.CopyAttrib(&from);
    EXPECT_DOUBLE_EQ(to.GetThickness(), 8.0);
    EXPECT_DOUBLE_EQ(to.GetLoad(), 9.0);
    EXPECT_TRUE(to.GetThicknessVector() == t);
    EXPECT_TRUE(to.GetLoadVector() == q);
    EXPECT_TRUE(to.IsPolar());
    EXPECT_EQ(to.GetMatAxes().GetSize(), 2);
}

} // namespace

namespace {

// Records the extruded drawings that a plate region asks for.
class ExtrusionRecorder : public CSectPlate {
public:
    using CSectPlate::CSectPlate;
    struct Call {
        bool fill;
        double z1, z2;
        std::vector<double> s1, s2;
    };
    void ExtrudeDrawGL(bool fill, bool, double z1, double z2, CVector& s1, CVector& s2,
                       bool) override
    {
        auto values = [](CVector& v) {
            std::vector<double> out;
            for (int i = 0; i < v.GetSize(); ++i)
                out.push_back(v[i]);
            return out;
        };
        calls.push_back({fill, z1, z2, values(s1), values(s2)});
    }
    std::vector<Call> calls;
};

TEST_F(SectPlateTest, ExtrudeThicknessSlopesTheFacesByHalfTheThicknessPlane)
{
    struct {
        std::vector<double> coeffs;
        std::vector<double> top;
    } cases[] = {
        {{}, {}},
        {{1.0, 2.0, 3.0}, {}}, // fewer than four: flat faces
        {{1.0, 2.0, 0.4, -0.6}, {0.2, -0.3}},
        {{1.0, 2.0, 0.4, -0.6, 9.0}, {0.2, -0.3}},
    };
    for (const auto& c : cases) {
        ExtrusionRecorder region(Node(0, 0), Node(1, 0), Node(1, 1), Node(0, 1), nullptr);
        CVector coeffs(static_cast<int>(c.coeffs.size()), true, 0.0);
        for (size_t i = 0; i < c.coeffs.size(); ++i)
            coeffs[static_cast<int>(i)] = c.coeffs[i];
        region.SetThickness(8.0, coeffs);
        region.ExtrudeThicknessGL(false);
        ASSERT_EQ(region.calls.size(), 1u);
        const auto& call = region.calls.front();
        EXPECT_FALSE(call.fill);
        EXPECT_DOUBLE_EQ(call.z1, 4.0);
        EXPECT_DOUBLE_EQ(call.z2, -4.0);
        EXPECT_EQ(call.s1, c.top);
        std::vector<double> bottom;
        for (double v : c.top)
            bottom.push_back(-v);
        EXPECT_EQ(call.s2, bottom);
    }
}

} // namespace
