#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <map>
#include <set>
#include <stdexcept>
#include <utility>

#include "tests/support/message_recorder.h"
#include "tests/weblar/mesher_harness.h"

namespace
{

using brantel::test::CirclePoints;
using brantel::test::HarnessMesher;
using brantel::test::HolePlate;
using brantel::test::MeshInput;
using brantel::test::MessageRecorder;
using brantel::test::SplitPolygon;
using brantel::test::XY;

double PolygonArea(const std::vector<XY>& p)
{
    double a = 0.0;
    for (std::size_t i = 0; i < p.size(); ++i) {
        const XY& u = p[i];
        const XY& v = p[(i + 1) % p.size()];
        a += u.x * v.y - v.x * u.y;
    }
    return 0.5 * a;
}

bool InPolygon(const std::vector<XY>& p, double x, double y)
{
    bool in = false;
    for (std::size_t i = 0, j = p.size() - 1; i < p.size(); j = i++) {
        if ((p[i].y > y) != (p[j].y > y) &&
            x < (p[j].x - p[i].x) * (y - p[i].y) / (p[j].y - p[i].y) + p[i].x)
            in = !in;
    }
    return in;
}

double TriArea(const CEasyMesh::node& a, const CEasyMesh::node& b, const CEasyMesh::node& c)
{
    return 0.5 * ((b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x));
}

double MinAngleDeg(const CEasyMesh::node& a, const CEasyMesh::node& b, const CEasyMesh::node& c)
{
    auto ang = [](const CEasyMesh::node& p, const CEasyMesh::node& q, const CEasyMesh::node& r) {
        const double ux = q.x - p.x, uy = q.y - p.y, vx = r.x - p.x, vy = r.y - p.y;
        return std::atan2(std::abs(ux * vy - uy * vx), ux * vx + uy * vy) * 180.0 / M_PI;
    };
    return std::min({ang(a, b, c), ang(b, c, a), ang(c, a, b)});
}

std::uint64_t Key(int a, int b)
{
    if (a > b)
        std::swap(a, b);
    return (static_cast<std::uint64_t>(a) << 32) | static_cast<std::uint32_t>(b);
}

class MesherTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        CMGenerator::Stop(false);
        CEasyMesh::AllocStatics();
    }
    void TearDown() override
    {
        CEasyMesh::DeAllocStatics();
        CMGenerator::Stop(false);
    }
    MessageRecorder recorder;
};

// Checks everything the output promises for a region that meshes.
void CheckMesh(const MeshInput& in, HarnessMesher& m)
{
    ASSERT_FALSE(m.elems.empty());
    // Loaded points first, in load order and exactly.
    std::vector<XY> loaded = in.outer;
    for (const auto& h : in.holes)
        loaded.insert(loaded.end(), h.begin(), h.end());
    loaded.insert(loaded.end(), in.refinePoints.begin(), in.refinePoints.end());
    for (const auto& l : in.refineLines)
        loaded.insert(loaded.end(), l.begin(), l.end());
    ASSERT_GE(m.nodes.size(), loaded.size());
    for (std::size_t i = 0; i < loaded.size(); ++i) {
        EXPECT_FALSE(m.nodes[i].bEmpty);
        EXPECT_EQ(m.nodes[i].x, loaded[i].x) << i;
        EXPECT_EQ(m.nodes[i].y, loaded[i].y) << i;
    }
    // Counter-clockwise triangles that fill the region minus its holes and
    // leave the holes empty; every edge used once on a boundary, twice inside.
    double area = 0.0;
    std::map<std::uint64_t, int> edgeUse;
    std::set<int> used;
    for (const auto& e : m.elems) {
        ASSERT_FALSE(e.bEmpty);
        for (int k = 0; k < 3; ++k) {
            ASSERT_GE(e.n[k], 0);
            ASSERT_LT(e.n[k], static_cast<int>(m.nodes.size()));
            used.insert(e.n[k]);
            ++edgeUse[Key(e.n[k], e.n[(k + 1) % 3])];
        }
        const auto &a = m.nodes[e.n[0]], &b = m.nodes[e.n[1]], &c = m.nodes[e.n[2]];
        const double t = TriArea(a, b, c);
        EXPECT_GT(t, 0.0);
        area += t;
        const double cx = (a.x + b.x + c.x) / 3.0, cy = (a.y + b.y + c.y) / 3.0;
        EXPECT_TRUE(InPolygon(in.outer, cx, cy));
        for (const auto& h : in.holes)
            EXPECT_FALSE(InPolygon(h, cx, cy));
    }
    double want = std::abs(PolygonArea(in.outer));
    for (const auto& h : in.holes)
        want -= std::abs(PolygonArea(h));
    EXPECT_NEAR(area, want, 1e-9 * want);
    // Every node is used (refine points are vertices).
    EXPECT_EQ(used.size(), m.nodes.size());
    std::set<std::uint64_t> boundary;
    const int k = static_cast<int>(in.outer.size());
    for (int i = 0; i < k; ++i)
        boundary.insert(Key(i, (i + 1) % k));
    for (const auto& loop : m.holeIndex)
        for (std::size_t i = 0; i < loop.size(); ++i)
            boundary.insert(Key(loop[i], loop[(i + 1) % loop.size()]));
    for (const auto& [key, uses] : edgeUse)
        EXPECT_EQ(uses, boundary.count(key) ? 1 : 2);
    for (std::uint64_t key : boundary)
        EXPECT_TRUE(edgeUse.count(key));
    // Refine polylines are mesh edges.
    for (const auto& line : m.lineIndex)
        for (std::size_t i = 0; i + 1 < line.size(); ++i)
            EXPECT_EQ(edgeUse[Key(line[i], line[i + 1])], 2);
    // No node lies inside a segment.
    std::vector<std::pair<int, int>> segs;
    for (std::uint64_t key : boundary)
        segs.emplace_back(static_cast<int>(key >> 32), static_cast<int>(key & 0xffffffffu));
    for (const auto& line : m.lineIndex)
        for (std::size_t i = 0; i + 1 < line.size(); ++i)
            segs.emplace_back(line[i], line[i + 1]);
    for (std::size_t n = 0; n < m.nodes.size(); ++n) {
        for (const auto& [s, t] : segs) {
            if (static_cast<int>(n) == s || static_cast<int>(n) == t)
                continue;
            const auto &p = m.nodes[s], &q = m.nodes[t], &v = m.nodes[n];
            const double dx = q.x - p.x, dy = q.y - p.y, l2 = dx * dx + dy * dy;
            const double u = ((v.x - p.x) * dx + (v.y - p.y) * dy) / l2;
            if (u <= 0.0 || u >= 1.0)
                continue;
            const double dist = std::abs((v.x - p.x) * dy - (v.y - p.y) * dx) / std::sqrt(l2);
            EXPECT_GT(dist, 1e-6 * std::sqrt(l2)) << "node " << n;
        }
    }
}

TEST_F(MesherTest, OutputFillsTheRegionAndKeepsTheInput)
{
    struct Case {
        const char* name;
        MeshInput in;
    };
    MeshInput square;
    square.outer = SplitPolygon({{0, 0}, {1, 0}, {1, 1}, {0, 1}}, 0.25);
    MeshInput lshape;   // non-convex, clockwise
    lshape.outer = SplitPolygon({{0, 0}, {0, 2}, {1, 2}, {1, 1}, {2, 1}, {2, 0}}, 0.2);
    MeshInput refined = HolePlate(0.2);
    refined.refinePoints = {{3.5, 1.8}, {0.2, 0.2}};
    refined.refineSpacing = {0.05, 0.1};
    refined.refineLines = {{{1.4, 0.2}, {1.6, 0.3}, {1.8, 0.2}}};
    MeshInput triangle;
    triangle.outer = {{0, 0}, {1, 0}, {0, 1}};
    MeshInput wedge;   // a corner of 5 degrees
    wedge.outer = SplitPolygon({{0, 0}, {10, 0}, {10 * std::cos(0.0872665), 10 * std::sin(0.0872665)}}, 0.5);
    for (auto& c : std::vector<Case>{
             {"square", square}, {"L", lshape}, {"plate", refined}, {"tri", triangle}, {"wedge", wedge}}) {
        SCOPED_TRACE(c.name);
        HarnessMesher m(c.in);
        ASSERT_TRUE(m.Mesh(0, 0, false));
        EXPECT_EQ((std::vector<std::string>{"outer", "inner", "refine"}),
                  std::vector<std::string>(m.calls.begin(), m.calls.begin() + 3));
        EXPECT_EQ(m.calls.back(), "output");
        EXPECT_EQ(m.m_nNodes, static_cast<int>(m.nodes.size()));
        CheckMesh(c.in, m);
    }
    EXPECT_TRUE(recorder.messages().empty());
}

TEST_F(MesherTest, SmallestAngleOnThePlateWithHoles)
{
    for (double h : {0.2, 0.05}) {
        MeshInput in = HolePlate(h);
        HarnessMesher m(in);
        ASSERT_TRUE(m.Mesh(0, 0, false));
        double worst = 180.0;
        for (const auto& e : m.elems)
            worst = std::min(worst, MinAngleDeg(m.nodes[e.n[0]], m.nodes[e.n[1]], m.nodes[e.n[2]]));
        EXPECT_GE(worst, 20.0) << "h = " << h;
        // The interior follows the boundary spacing: near-equilateral faces of
        // edge h, about 15.8 / h^2 of them.
        const double expected = 15.8 / (h * h);
        EXPECT_GT(m.elems.size(), 0.7 * expected);
        EXPECT_LT(m.elems.size(), 1.4 * expected);
    }
}

TEST_F(MesherTest, InteriorSpacingFollowsARefinePoint)
{
    MeshInput in;
    in.outer = SplitPolygon({{0, 0}, {10, 0}, {10, 10}, {0, 10}}, 1.0);
    in.refinePoints = {{5.0, 5.0}};
    in.refineSpacing = {0.1};
    HarnessMesher m(in);
    ASSERT_TRUE(m.Mesh(0, 0, false));
    const int r = m.refineIndex[0];
    std::set<int> around;
    for (const auto& e : m.elems)
        for (int k = 0; k < 3; ++k)
            if (e.n[k] == r) {
                around.insert(e.n[(k + 1) % 3]);
                around.insert(e.n[(k + 2) % 3]);
            }
    ASSERT_GE(around.size(), 3u);
    double sum = 0.0;
    for (int n : around)
        sum += std::hypot(m.nodes[n].x - 5.0, m.nodes[n].y - 5.0);
    const double mean = sum / around.size();
    EXPECT_GT(mean, 0.05);
    EXPECT_LT(mean, 0.2);
    // Far from it the spacing of the boundary holds.
    double worst = 180.0;
    for (const auto& e : m.elems)
        worst = std::min(worst, MinAngleDeg(m.nodes[e.n[0]], m.nodes[e.n[1]], m.nodes[e.n[2]]));
    EXPECT_GE(worst, 20.0);
    EXPECT_LT(m.elems.size(), 2000u);
}

TEST_F(MesherTest, RefusesInputItCannotMesh)
{
    struct Case {
        const char* name;
        MeshInput in;
    };
    MeshInput crossing = HolePlate(0.5);
    crossing.holes = {{{3.5, 0.5}, {4.5, 0.5}, {4.5, 1.5}, {3.5, 1.5}}};
    MeshInput selfCrossing;
    selfCrossing.outer = {{0, 0}, {1, 1}, {1, 0}, {0, 1}};
    MeshInput outside = HolePlate(0.5);
    outside.refinePoints = {{5.0, 1.0}};
    outside.refineSpacing = {0.1};
    MeshInput inHole = HolePlate(0.5);
    inHole.refinePoints = {{0.8, 1.0}};
    inHole.refineSpacing = {0.1};
    MeshInput holeOutside = HolePlate(0.5);
    holeOutside.holes.push_back(CirclePoints(6.0, 1.0, 0.3, 0.2));
    MeshInput duplicate = HolePlate(0.5);
    duplicate.refinePoints = {{2.0, 0.5}, {2.0, 0.5}};
    duplicate.refineSpacing = {0.1, 0.1};
    MeshInput onSegment = HolePlate(0.5);
    onSegment.refineLines = {{{2.0, 0.2}, {2.0, 1.8}}, {{1.9, 1.0}, {2.0, 1.0}}};
    MeshInput twoPoints;
    twoPoints.outer = {{0, 0}, {1, 0}};
    MeshInput collinear;
    collinear.outer = {{0, 0}, {1, 0}, {2, 0}};
    for (auto& c : std::vector<Case>{{"crossing", crossing},
                                     {"self crossing", selfCrossing},
                                     {"outside", outside},
                                     {"in a hole", inHole},
                                     {"hole outside", holeOutside},
                                     {"duplicate", duplicate},
                                     {"on a segment", onSegment},
                                     {"two points", twoPoints},
                                     {"collinear", collinear}}) {
        SCOPED_TRACE(c.name);
        for (bool quiet : {false, true}) {
            recorder.clear();
            HarnessMesher m(c.in);
            EXPECT_FALSE(m.Mesh(0, 0, quiet));
            EXPECT_EQ(std::count(m.calls.begin(), m.calls.end(), "output"), 0);
            EXPECT_EQ(recorder.messages().size(), quiet ? 0u : 1u);
        }
    }
}

TEST_F(MesherTest, StopEndsARunPromptly)
{
    // From a loader: nothing is meshed.
    {
        HarnessMesher m(HolePlate(0.2));
        m.hook = [](const char* what) {
            if (std::string(what) == "inner")
                CMGenerator::Stop(true);
        };
        EXPECT_FALSE(m.Mesh(0, 0, false));
        EXPECT_EQ(m.calls, (std::vector<std::string>{"outer", "inner"}));
        CMGenerator::Stop(false);
    }
    // During the meshing of a large region.
    {
        HarnessMesher m(HolePlate(0.002));
        m.hook = [](const char* what) {
            if (std::string(what) == "progress")
                CMGenerator::Stop(true);
        };
        EXPECT_FALSE(m.Mesh(0, 0, false));
        EXPECT_EQ(std::count(m.calls.begin(), m.calls.end(), "output"), 0);
        EXPECT_EQ(std::count(m.calls.begin(), m.calls.end(), "progress"), 1);
    }
    EXPECT_TRUE(recorder.messages().empty());
}

// Exposes the default questions and messages.
class DefaultCallbacks : public HarnessMesher
{
public:
    DefaultCallbacks() : HarnessMesher(MeshInput{}) {}
    using CEasyMesh::AskYesNo;
    using CEasyMesh::ShowMessage;
    using CEasyMesh::ShowValue;
};

TEST_F(MesherTest, QuestionsAndMessagesGoThroughTheMessageService)
{
    DefaultCallbacks m;
    recorder.answer(IDYES);
    recorder.answer(IDNO);
    EXPECT_TRUE(m.AskYesNo("Go on?"));
    EXPECT_FALSE(m.AskYesNo("Go on?"));
    m.ShowMessage("100% done");
    m.ShowValue(0.5, "Value", 0);
    ASSERT_EQ(recorder.messages().size(), 4u);
    EXPECT_EQ(recorder.messages()[0].type & MB_TYPEMASK, MB_YESNO);
    EXPECT_EQ(recorder.texts()[2], "100% done");
    EXPECT_EQ(recorder.texts()[3], "Value 5.000000e-01");
}

TEST_F(MesherTest, AnExceptionInACallbackFailsTheRun)
{
    HarnessMesher m(HolePlate(0.5));
    m.hook = [](const char* what) {
        if (std::string(what) == "refine")
            throw std::runtime_error("loader failed");
    };
    EXPECT_FALSE(m.Mesh(0, 0, false));
    EXPECT_EQ(recorder.messages().size(), 1u);
    recorder.clear();
    HarnessMesher quiet(HolePlate(0.5));
    quiet.hook = m.hook;
    EXPECT_FALSE(quiet.Mesh(0, 0, true));
    EXPECT_TRUE(recorder.messages().empty());
}

TEST(MesherStatics, StorageNestsAndItsSizeIsNoLimit)
{
    CMGenerator::Stop(false);
    ASSERT_EQ(CEasyMesh::StaticsDepth(), 0);
    // Without storage a run brings its own.
    {
        HarnessMesher m(HolePlate(0.5));
        EXPECT_TRUE(m.Mesh(0, 0, true));
        EXPECT_EQ(CEasyMesh::StaticsDepth(), 0);
    }
    const int saved = CEasyMesh::m_nMaxNodes;
    EXPECT_EQ(saved, 5000);
    CEasyMesh::m_nMaxNodes = 10;
    CEasyMesh::AllocStatics();
    CEasyMesh::AllocStatics();
    EXPECT_EQ(CEasyMesh::StaticsDepth(), 2);
    {
        MessageRecorder recorder;
        HarnessMesher m(HolePlate(0.03));
        EXPECT_TRUE(m.Mesh(0, 0, false));
        EXPECT_GT(m.nodes.size(), 5000u);
        EXPECT_TRUE(recorder.messages().empty());
    }
    CEasyMesh::DeAllocStatics();
    EXPECT_EQ(CEasyMesh::StaticsDepth(), 1);
    CEasyMesh::DeAllocStatics();
    CEasyMesh::DeAllocStatics();   // unbalanced: no effect
    EXPECT_EQ(CEasyMesh::StaticsDepth(), 0);
    // A trial-node count beyond what the largest mesh needs reserves only
    // that much: the mesher still runs.
    CEasyMesh::m_nMaxNodes = 2147483647;
    {
        HarnessMesher m(HolePlate(0.5));
        EXPECT_TRUE(m.Mesh(0, 0, true));
    }
    CEasyMesh::m_nMaxNodes = saved;
}

} // namespace
