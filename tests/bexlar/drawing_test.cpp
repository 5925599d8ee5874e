#include <set>
#include <vector>

#include <GL/gl.h>
#include <gtest/gtest.h>

#include "geometry/bexlar.h"
#include "tests/bexlar/selection.h"
#include "tests/support/gl_context.h"

namespace {

// Runs draw in selection mode over the whole view and returns the names hit.
template <class Fn>
std::set<GLuint> NamesHit(Fn draw)
{
    const std::vector<GLuint> order = geomtest::HitOrder(draw);
    return std::set<GLuint>(order.begin(), order.end());
}

} // namespace

using GeometryDrawing = brantel::test::GLTest;

TEST_F(GeometryDrawing, NodesAndEdgesAreNamedByIdentifier)
{
    CGraph g;
    CSNode* a = g.NewNode(-0.5, 0.0, 0.0);
    CSNode* b = g.NewNode(0.5, 0.0, 0.0);
    CEdge* e = g.ConnectNodes(a, b);
    const std::set<GLuint> names = NamesHit([&] {
        a->DrawNodeGL(3.0f, 1.0f, 1.0f, 1.0f);
        a->DrawEdgesGL(false);
        b->DrawEdgesGL(false); // the edge is drawn once, by its first node
    });
    EXPECT_EQ(names, (std::set<GLuint>{a->GetID(), e->GetID()}));
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(GeometryDrawing, ListsAxesAndSelectionLeaveNoGLError)
{
    CGraph g;
    CSNode* a = g.NewNode(-0.5, -0.5, 0.0);
    CSNode* b = g.NewNode(0.5, -0.5, 0.0);
    CSNode* c = g.NewNode(0.0, 0.5, 0.0);
    g.ConnectNodes(a, b);
    g.ConnectNodes(b, c);
    NODELIST list;
    list.AddNode(a);
    list.AddNode(b);
    list.DrawNodesGL();
    list.DrawOpNodesGL();
    list.DrawEdgesGL();
    a->DrawSelected();
    a->DrawSphere(0.1);
    CAxis axis(true);
    axis.DrawGL(0.5, "", "", "", 1.0, 1.0, 1.0);
    CAxis flat(false);
    flat.DrawGL(0.5, "", "", "", 1.0, 1.0, 1.0);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    // The edge lines reach the colour buffer.
    glClear(GL_COLOR_BUFFER_BIT);
    glBegin(GL_LINES);
    a->GLLines(false, false);
    glEnd();
    glFinish();
    const auto px = gl->pixel(64, 32); // on y = -0.5 between a and b
    EXPECT_GT(px[0] + px[1] + px[2], 0);
}
