#include "tests/strelna/fe_fixture.h"
#include "tests/support/gl_context.h"
#include "tests/support/gl_recorder.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <array>
#include <memory>
#include <vector>

namespace {

// Line segments drawn by draw, captured in feedback mode (window coordinates).
template <class F>
std::vector<std::array<float, 4>> Lines(F draw)
{
    std::vector<GLfloat> buffer(1 << 16);
    glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_2D, buffer.data());
    glRenderMode(GL_FEEDBACK);
    draw();
    const int n = glRenderMode(GL_RENDER);
    std::vector<std::array<float, 4>> out;
    for (int i = 0; i < n;) {
        const int token = static_cast<int>(buffer[i++]);
        if (token == GL_LINE_TOKEN || token == GL_LINE_RESET_TOKEN) {
            out.push_back({buffer[i], buffer[i + 1], buffer[i + 2], buffer[i + 3]});
            i += 4;
        } else if (token == GL_POLYGON_TOKEN) {
            i += 1 + 2 * static_cast<int>(buffer[i]);
        } else if (token == GL_POINT_TOKEN) {
            i += 2;
        } else {
            ADD_FAILURE() << "unexpected token " << token;
            break;
        }
    }
    return out;
}

class LoadDrawingTest : public brantel::test::GLTest {};

CEdgeLoad* EdgeLoad(std::vector<double> values, bool local)
{
    auto* load = new CEdgeLoad;
    load->Allocate(6, true, 0.0);
    for (int i = 0; i < 6; ++i)
        (*load)[i] = values[static_cast<std::size_t>(i)];
    load->SetLocal(local);
    return load;
}

} // namespace

TEST_F(LoadDrawingTest, EdgeLoadOutlineSamples)
{
    CSNode a(-0.5, 0, 0, nullptr, 0), b(0.5, 0, 0, nullptr, 0);
    CEdge edge(&a, &b);
    struct Case {
        std::vector<double> values;
        bool local, simple;
        std::size_t outline; // segments of the outline strip
    };
    // The outline: node 1, the samples, node 2.
    const Case cases[] = {
        {{0.2, 0, 0.6, 0, 0.4, 0}, true, false, 3},   // linear, local: two samples
        {{0, 0, 0, 0, 0.4, 0}, true, false, 52},      // parabola: 51 samples
        {{0, 0, 0, 0, 0.4, 0}, true, true, 3},        // simple drawing
        {{0.2, 0, 0.6, 0, 0.4, 0}, false, false, 52}, // global loads always sample
    };
    for (const Case& c : cases) {
        std::unique_ptr<CEdgeLoad> load(EdgeLoad(c.values, c.local));
        const auto lines = Lines([&] { load->DrawGL(&edge, 0.5, c.simple); });
        // Arrow heads add a few short strips; the outline is the rest.
        ASSERT_GE(lines.size(), c.outline);
        EXPECT_LE(lines.size(), c.outline + 8);
    }
    // A load that is zero draws nothing.
    std::unique_ptr<CEdgeLoad> none(EdgeLoad({0, 0, 0, 0, 0, 0}, true));
    EXPECT_TRUE(Lines([&] { none->DrawGL(&edge, 0.5, false); }).empty());
}

TEST_F(LoadDrawingTest, DofLinkArrow)
{
    CSNode a(-0.5, 0, 0, nullptr, 0), b(0.5, 0, 0, nullptr, 0);
    CDOFLink link(&a, &b);
    const auto lines = Lines([&] {
        glBegin(GL_LINES);
        link.GLLine(false, nullptr);
        glEnd();
    });
    ASSERT_EQ(lines.size(), 4u);
    // P1 -> P2, then the closed head P2, B1, B2 with d = 0.1 (P2 - P1) = (0.1, 0).
    const auto px = [](double x) { return static_cast<float>((x + 1.0) * 64.0); };
    EXPECT_NEAR(lines[0][0], px(-0.5), 1e-3);
    EXPECT_NEAR(lines[0][2], px(0.5), 1e-3);
    EXPECT_NEAR(lines[1][2], px(0.4), 1e-3); // B1 x
    EXPECT_NEAR(lines[1][3], px(0.05), 1e-3); // B1 y = dx / 2
    EXPECT_NEAR(lines[2][3], px(-0.05), 1e-3); // B2 y
    EXPECT_NEAR(lines[3][2], px(0.5), 1e-3);
    EXPECT_TRUE(Lines([&] {
                    glBegin(GL_LINES);
                    link.GLLine(false, &b);
                    glEnd();
                }).empty());
}

// The arrow heads of an edge load point the way the load acts: a load on
// the right edge of a plate (x = 1, the plate at x < 1) that leads out of
// the plate (+x: a global tension, or a local component whose normal leads
// out) is drawn pulling out of it, one that leads in pushing into it. A
// pulling head lies on the outline, at the value times the scale from its
// end of the edge; a pushing one at the edge's node, its arrow standing
// outside. Either way the whole drawing stays beside the loaded edge,
// between its nodes and outside the plate, whichever way the edge runs
// and whichever side the component's normal takes: a compression, or a
// plate's lateral load (the second local component), is not drawn across
// the plate along the neighbouring edges.
TEST_F(LoadDrawingTest, EdgeLoadArrowHeadsShowTheSenseOfTheLoad)
{
    using brantel::test::GLRecorder;
    using brantel::test::Vec3;
    CSNode low(1, 0, 0, nullptr, 0), high(1, 1, 0, nullptr, 0);
    // Run upwards the plate lies left of the edge (counter-clockwise round
    // it); downwards it lies right.
    CEdge up(&low, &high), down(&high, &low);
    const double scale = 0.01;
    struct Case {
        const char* name;
        std::vector<double> values;
        bool local, upwards;
        double sense; // +1 out of the plate (+x), -1 into it
    } cases[] = {
        {"global tension", {10, 0, 10, 0, 10, 0}, false, true, 1},
        {"global compression", {-10, 0, -10, 0, -10, 0}, false, true, -1},
        {"local first component out", {10, 0, 10, 0, 10, 0}, true, true, 1},
        {"local first component in", {-10, 0, -10, 0, -10, 0}, true, true, -1},
        {"global tension, linear", {4, 0, 10, 0, 7, 0}, false, true, 1},
        // The second component's normal is the left-hand one: into the
        // plate on an edge run round it counter-clockwise.
        {"local second component (plate lateral load)", {0, 10, 0, 10, 0, 10}, true, true, -1},
        {"local second component against its normal", {0, -10, 0, -10, 0, -10}, true, true, 1},
        {"local second component, edge run clockwise", {0, 10, 0, 10, 0, 10}, true, false, 1},
        {"local first component, edge run clockwise", {10, 0, 10, 0, 10, 0}, true, false, -1},
        {"global compression, edge run clockwise", {-10, 0, -10, 0, -10, 0}, false, false, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::unique_ptr<CEdgeLoad> load(EdgeLoad(c.values, c.local));
        GLRecorder rec;
        load->DrawGL(c.upwards ? &up : &down, scale, false, c.upwards);
        ASSERT_TRUE(rec.balanced());
        std::vector<std::vector<Vec3>> heads;
        for (const auto& p : rec.primitives())
            if ((c.local ? p.mode == GL_LINE_STRIP : p.mode == GL_TRIANGLES) && p.vertices.size() == 3)
                heads.push_back(p.vertices);
        ASSERT_EQ(heads.size(), 2u);
        const int component = c.values[0] != 0.0 ? 0 : 1;
        for (std::size_t e = 0; e < 2; ++e) {
            const std::vector<Vec3>& h = heads[e];
            const Vec3& tip = h[1];
            const double baseX = 0.5 * (h[0][0] + h[2][0]);
            const double baseY = 0.5 * (h[0][1] + h[2][1]);
            const double value = std::fabs(c.values[component + (e == 0 ? 0 : 2)]);
            EXPECT_GT((tip[0] - baseX) * c.sense, 0.0) << "head " << e << " points against the load";
            EXPECT_NEAR(tip[1] - baseY, 0.0, 1e-12);
            EXPECT_NEAR(tip[0], 1.0 + (c.sense > 0 ? value * scale : 0.0), 1e-12)
                << (c.sense > 0 ? "the pulling head is not on the outline" : "the pushing head is not at the node");
            EXPECT_NEAR(tip[1], (e == 0) == c.upwards ? 0.0 : 1.0, 1e-12);
        }
        // The outline: from node 1 out to |value| x scale, along the edge,
        // back to node 2; the heads' barbs reach a little past the nodes.
        const double barb = 0.1 * 10.0 * scale + 1e-12;
        for (const auto& p : rec.primitives())
            for (const Vec3& v : p.vertices) {
                EXPECT_GE(v[0], 1.0 - 1e-12) << "drawn inside the plate";
                EXPECT_LE(v[0], 1.0 + 10.0 * scale + 1e-12) << "longer than the value x scale";
                EXPECT_GE(v[1], -barb) << "drawn beyond the lower node";
                EXPECT_LE(v[1], 1.0 + barb) << "drawn beyond the upper node";
            }
    }
}
