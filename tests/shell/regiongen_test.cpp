// The region generators of the modelling view on bare models: ring
// segments, load-group quadrilaterals and split circles, and the crossing
// test that decides whether a new region may join the model.
#include "tests/shell/shell_fixture.h"
#include "tests/support/outline_area.h"

#include <cmath>
#include <set>

namespace
{

using namespace shelltest;

using RegionGenerators = ShellTest;

// Deletes the regions that were not handed to a model.
struct Made {
    std::vector<CSectPlate*> regions;
    ~Made()
    {
        for (CSectPlate* region : regions)
            delete region;
    }
};

using brantel::test::OutlineArea;

TEST_F(RegionGenerators, SegmentsBecomeAMultipleOfTheSectors)
{
    const struct {
        int n, p, expected;
    } cases[] = {{10, 3, 9}, {2, 3, 3}, {16, 1, 16}, {16, 4, 16}, {7, 7, 7}, {8, 5, 5}};
    for (const auto& c : cases)
        EXPECT_EQ(SegmentsForSectors(c.n, c.p), c.expected) << c.n << " / " << c.p;
}

TEST_F(RegionGenerators, RingSegmentFillsPByQSectorsOfEqualSegments)
{
    const double centre[2] = {0.0, 0.0}, start[2] = {10.0, 0.0};
    const struct {
        int n, p, q;
        int nodesPerRegion;
    } cases[] = {{10, 3, 2, 2 * 4}, {2, 3, 1, 2 * 2}, {16, 1, 1, 2 * 17}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.n << " " << c.p << " " << c.q);
        RingSegmentValues values;
        values.type = 2;
        values.angle = 180.0;
        values.height = 2.0;
        values.segments = c.n;
        values.tangential = c.p;
        values.radial = c.q;
        Made made;
        made.regions = BuildRingSegment(values, centre, start, nullptr, 7.5);
        ASSERT_EQ(made.regions.size(), static_cast<std::size_t>(c.p * c.q));
        double area = 0.0;
        std::set<CSNode*> distinct;
        for (CSectPlate* region : made.regions) {
            EXPECT_EQ(region->GetCount(), c.nodesPerRegion);
            EXPECT_DOUBLE_EQ(region->GetThickness(), 7.5);
            area += OutlineArea(*region);
            for (CSNode* node : Corners(*region)) {
                const double r = std::hypot(node->x, node->y);
                EXPECT_TRUE(std::fabs(r - 9.0) < 1e-9 || std::fabs(r - 11.0) < 1e-9 ||
                            std::fabs(r - 10.0) < 1e-9)
                    << r;
                EXPECT_LE(node->y, 1e-9); // clockwise from the start: below the x axis
                distinct.insert(node);
            }
        }
        // Neighbours share their nodes: (n' + 1) x (q + 1) in all.
        const int n = SegmentsForSectors(c.n, c.p);
        EXPECT_EQ(distinct.size(), static_cast<std::size_t>((n + 1) * (c.q + 1)));
        // The polygon of n segments of the half ring between radii 9 and 11.
        const double expected = 0.5 * n * std::sin(M_PI / n) * (11.0 * 11.0 - 9.0 * 9.0);
        EXPECT_NEAR(area, expected, 1e-9);
    }
}

TEST_F(RegionGenerators, RingSegmentUsesRadiusOnlyForTypesOneAndTwo)
{
    const double centre[2] = {0.0, 0.0}, start[2] = {10.0, 0.0};
    RingSegmentValues values;
    values.angle = 90.0; // not read for Type 1
    values.radius = 5.0; // on the chord of 10: a half circle about (5, 0)
    values.height = 2.0;
    values.segments = 8;
    Made made;
    made.regions = BuildRingSegment(values, centre, start, nullptr, 1.0);
    ASSERT_EQ(made.regions.size(), 1u);
    // Rings of radius 4 and 6 about the chord's middle.
    for (CSNode* node : Corners(*made.regions[0])) {
        const double r = std::hypot(node->x - 5.0, node->y);
        EXPECT_TRUE(std::fabs(r - 4.0) < 1e-9 || std::fabs(r - 6.0) < 1e-9) << r;
    }
    // A radius too small for the chord makes nothing, and so do p or q
    // below 1.
    values.radius = 4.0;
    EXPECT_TRUE(BuildRingSegment(values, centre, start, nullptr, 1.0).empty());
    values.radius = 5.0;
    for (auto [p, q] : {std::pair{0, 1}, std::pair{1, 0}, std::pair{-2, 3}}) {
        values.tangential = p;
        values.radial = q;
        EXPECT_TRUE(BuildRingSegment(values, centre, start, nullptr, 1.0).empty());
    }
}

TEST_F(RegionGenerators, GridQuadsAndSplitCircles)
{
    CObjMat grid;
    grid.Allocate(2, 3, true, nullptr);
    for (int i = 0; i < 2; ++i)
        for (int j = 0; j < 3; ++j)
            grid[i][j] = new CBoundNode(10.0 * j, 10.0 * i, 0.0, nullptr, 0);
    Made quads;
    quads.regions = BuildGridQuads(grid, nullptr, 3.0);
    ASSERT_EQ(quads.regions.size(), 2u);
    for (CSectPlate* quad : quads.regions) {
        EXPECT_EQ(quad->GetCount(), 4);
        EXPECT_NEAR(OutlineArea(*quad), 100.0, 1e-9);
    }
    ReleaseUnusedNodes(grid); // every node is a corner: nothing deleted

    for (int segments : {2, 4, 9, 16}) {
        SCOPED_TRACE(segments);
        auto* centre = new CBoundNode(3.0, 4.0, 0.0, nullptr, 0);
        auto* load = new CNodeLoad;
        load->Allocate(2, true, 5.0);
        centre->SetNodeLoad(load);
        Made halves;
        halves.regions = BuildSplitCircle(centre, 2.0, segments, nullptr, 1.0);
        ASSERT_EQ(halves.regions.size(), 2u);
        const int ring = std::max(segments, 4);
        EXPECT_EQ(halves.regions[0]->GetCount() + halves.regions[1]->GetCount(), ring + 2 + 2);
        double area = 0.0;
        for (CSectPlate* half : halves.regions) {
            EXPECT_NE(half->Find(centre), nullptr);
            area += OutlineArea(*half);
        }
        EXPECT_NEAR(area, 0.5 * ring * 4.0 * std::sin(2 * M_PI / ring), 1e-9);
        // The load stays with the centre alone.
        EXPECT_EQ(centre->GetLoad(), load);
        int loaded = 0;
        for (CSectPlate* half : halves.regions)
            for (CSNode* node : Corners(*half))
                loaded += node != centre && node->GetLoad() ? 1 : 0;
        EXPECT_EQ(loaded, 0);
    }
    CSNode lone(0, 0, 0, nullptr, 0);
    EXPECT_TRUE(BuildSplitCircle(&lone, 0.0, 8, nullptr, 1.0).empty());
}

// The two halves of a circle share their diameter, two collinear edges
// meeting at the centre: the model's repair keeps both as they are.
TEST_F(RegionGenerators, SplitCircleHalvesSurviveTheModelRepair)
{
    for (int segments : {4, 5, 8, 16}) {
        SCOPED_TRACE(segments);
        CBrantelDoc doc;
        doc.UpdateStatics(true);
        CPlateComp* comp = doc.GetPlateComp();
        auto* centre = new CBoundNode(10.0, 20.0, 0.0, nullptr, 0);
        const std::vector<CSectPlate*> halves = BuildSplitCircle(centre, 3.0, segments, nullptr, 1.0);
        ASSERT_EQ(halves.size(), 2u);
        std::vector<std::set<CSNode*>> before;
        for (CSectPlate* half : halves) {
            comp->AddTail(half);
            const std::vector<CSNode*> corners = Corners(*half);
            before.emplace_back(corners.begin(), corners.end());
        }
        const double area = OutlineArea(*halves[0]) + OutlineArea(*halves[1]);
        comp->Fix();
        ASSERT_EQ(comp->GetCount(), 2);
        for (std::size_t i = 0; i < halves.size(); ++i) {
            ASSERT_NE(comp->Find(halves[i]), nullptr);
            const std::vector<CSNode*> after = Corners(*halves[i]);
            EXPECT_EQ(std::set<CSNode*>(after.begin(), after.end()), before[i]);
        }
        EXPECT_NEAR(OutlineArea(*halves[0]) + OutlineArea(*halves[1]), area, 1e-9);
        doc.UpdateStatics(false);
    }
}

TEST_F(RegionGenerators, CrossingTestRefusesCrossingsAndCollectsOverlaps)
{
    CBrantelDoc doc;
    doc.UpdateStatics(true);
    AddSquare(doc, 0.0, 0.0, 10.0);
    CPlateComp* comp = doc.GetPlateComp();
    const struct {
        double x0, y0;
        bool crosses;
        int overlaps;
    } cases[] = {{5, 5, true, 0}, {20, 0, false, 0}, {10, 0, false, 3}};
    for (const auto& c : cases) {
        CObjMat grid;
        grid.Allocate(2, 2, true, nullptr);
        for (int i = 0; i < 2; ++i)
            for (int j = 0; j < 2; ++j)
                grid[i][j] = new CBoundNode(c.x0 + 10.0 * j, c.y0 + 10.0 * i, 0.0, nullptr, 0);
        Made made;
        made.regions = BuildGridQuads(grid, nullptr, 1.0);
        ASSERT_EQ(made.regions.size(), 1u);
        CObList overlaps;
        EXPECT_EQ(RegionCrossesModel(*comp, *made.regions[0], overlaps), c.crosses) << c.x0;
        if (!c.crosses) {
            // The shared side and the two sides that touch its ends.
            EXPECT_EQ(overlaps.GetCount(), c.overlaps) << c.x0;
        }
    }
    doc.UpdateStatics(false);
}

} // namespace
