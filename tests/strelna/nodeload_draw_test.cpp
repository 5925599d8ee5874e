// Node loads drawn as arrows: each component from the node to its tip at
// node + value x the force scale (entry 1 of the scales), the head at the
// tip, in the load's sense; local loads turned by the node's angle.
#include "tests/strelna/fe_fixture.h"
#include "tests/support/gl_context.h"
#include "tests/support/gl_recorder.h"

#include <GL/gl.h>

#include <cmath>
#include <memory>
#include <vector>

namespace {

using brantel::test::GLRecorder;
using brantel::test::RecordedPrimitive;
using brantel::test::Vec3;

class NodeLoadDrawing : public brantel::test::GLTest {};

// One arrow as drawn: the shaft from the node to the tip, the head's two
// barbs meeting at the tip.
struct Arrow {
    Vec3 from, tip, colour;
};

std::vector<Arrow> Arrows(const std::vector<RecordedPrimitive>& primitives)
{
    std::vector<Arrow> out;
    for (std::size_t i = 0; i + 1 < primitives.size(); i += 2) {
        const RecordedPrimitive& shaft = primitives[i];
        const RecordedPrimitive& head = primitives[i + 1];
        EXPECT_EQ(shaft.mode, static_cast<GLenum>(GL_LINE_STRIP));
        EXPECT_EQ(head.mode, static_cast<GLenum>(GL_LINE_STRIP));
        if (shaft.vertices.size() != 2 || head.vertices.size() != 3) {
            ADD_FAILURE() << "not an arrow";
            break;
        }
        EXPECT_EQ(head.vertices[1], shaft.vertices[1]) << "the head sits at the tip";
        out.push_back({shaft.vertices[0], shaft.vertices[1], shaft.colours[0]});
    }
    return out;
}

void ExpectNear(const Vec3& a, const Vec3& b)
{
    for (int i = 0; i < 3; ++i)
        EXPECT_NEAR(a[static_cast<std::size_t>(i)], b[static_cast<std::size_t>(i)], 1e-12) << "coordinate " << i;
}

} // namespace

TEST_F(NodeLoadDrawing, EachComponentIsAnArrowToNodePlusValueTimesTheForceScale)
{
    const Vec3 red{1, 0, 0}, blue{0, 0, 1};
    struct Case {
        const char* what;
        std::vector<double> values;
        bool local;
        double angle; // of the node's first condition
        std::vector<Arrow> arrows;
    };
    // Node (2, 3), force scale 0.5: tip = node + 0.5 x value.
    const Case cases[] = {
        {"x and y", {4, -6}, false, 0.0, {{{2, 3, 0}, {4, 3, 0}, red}, {{2, 3, 0}, {2, 0, 0}, blue}}},
        {"negative x only", {-2, 0}, false, 0.0, {{{2, 3, 0}, {1, 3, 0}, red}}},
        {"one value", {8}, false, 0.0, {{{2, 3, 0}, {2, 7, 0}, blue}}},
        {"global ignores the angle", {4, 0}, false, M_PI / 2, {{{2, 3, 0}, {4, 3, 0}, red}}},
        {"local x turned by 90 degrees", {4, 0}, true, M_PI / 2, {{{2, 3, 0}, {2, 5, 0}, red}}},
        {"local y turned by 90 degrees", {0, 4}, true, M_PI / 2, {{{2, 3, 0}, {0, 3, 0}, blue}}},
        {"zero load", {0, 0}, false, 0.0, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CBoundNode node(2, 3, 0, nullptr, 0);
        if (c.angle != 0.0)
            node.SetAngle(c.angle, 0);
        auto* load = new CNodeLoad;
        load->Allocate(static_cast<int>(c.values.size()), true, 0.0);
        for (std::size_t i = 0; i < c.values.size(); ++i)
            load->SetValue(static_cast<int>(i), c.values[i]);
        load->SetLocal(c.local);
        node.SetNodeLoad(load);
        // Exactly the scales a caller hands: entry 1 scales the forces.
        auto scales = std::make_unique<double[]>(CNodeLoad::kScaleCount);
        scales[0] = 100.0;
        scales[CNodeLoad::kForceScale] = 0.5;
        GLRecorder recorder;
        node.DrawLoad(scales.get());
        EXPECT_TRUE(recorder.balanced());
        const std::vector<Arrow> arrows = Arrows(recorder.primitives());
        ASSERT_EQ(arrows.size(), c.arrows.size());
        for (std::size_t i = 0; i < arrows.size(); ++i) {
            ExpectNear(arrows[i].from, c.arrows[i].from);
            ExpectNear(arrows[i].tip, c.arrows[i].tip);
            EXPECT_EQ(arrows[i].colour, c.arrows[i].colour);
        }
    }
}

TEST_F(NodeLoadDrawing, HeadBarbsLieBehindTheTipInTheLoadsSense)
{
    // A load along -x: the barbs lie at 0.1 of the length on the node's
    // side of the tip (larger x), 0.04 of it to either side.
    CBoundNode node(0, 0, 0, nullptr, 0);
    auto* load = new CNodeLoad;
    load->Allocate(2, true, 0.0);
    load->SetValue(0, -10.0);
    node.SetNodeLoad(load);
    double scales[CNodeLoad::kScaleCount] = {0.0, 1.0};
    GLRecorder recorder;
    node.DrawLoad(scales);
    ASSERT_EQ(recorder.primitives().size(), 2u);
    const auto& head = recorder.primitives()[1].vertices;
    ASSERT_EQ(head.size(), 3u);
    ExpectNear(head[1], {-10, 0, 0});
    for (const Vec3& barb : {head[0], head[2]}) {
        EXPECT_NEAR(barb[0], -9.0, 1e-12);
        EXPECT_NEAR(std::fabs(barb[1]), 0.4, 1e-12);
    }
    EXPECT_NEAR(head[0][1], -head[2][1], 1e-12);
}

TEST_F(NodeLoadDrawing, NoScalesDrawNothing)
{
    CBoundNode node(0, 0, 0, nullptr, 0);
    auto* load = new CNodeLoad;
    load->Allocate(2, true, 1.0);
    node.SetNodeLoad(load);
    GLRecorder recorder;
    node.DrawLoad(nullptr);
    EXPECT_TRUE(recorder.primitives().empty());
}
