#include "tests/strelna/fe_fixture.h"
#include "tests/support/gl_context.h"

#include <GL/gl.h>

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
