#include <set>
#include <vector>

#include <GL/gl.h>
#include <gtest/gtest.h>

#include "geometry/bexlar.h"
#include "tests/bexlar/selection.h"
#include "tests/support/gl_context.h"

namespace {

struct Drawn {
    int points = 0;
    int lines = 0;
};

// Runs draw in feedback mode and counts the points and lines that reach
// the rasteriser.
template <class Fn>
Drawn Feedback(Fn draw)
{
    std::vector<GLfloat> buffer(4096);
    glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_3D, buffer.data());
    glRenderMode(GL_FEEDBACK);
    draw();
    const GLint n = glRenderMode(GL_RENDER);
    Drawn d;
    for (GLint i = 0; i < n;) {
        const GLint token = static_cast<GLint>(buffer[static_cast<std::size_t>(i)]);
        if (token == GL_POINT_TOKEN) {
            ++d.points;
            i += 1 + 3;
        } else if (token == GL_LINE_TOKEN || token == GL_LINE_RESET_TOKEN) {
            ++d.lines;
            i += 1 + 6;
        } else if (token == GL_PASS_THROUGH_TOKEN) {
            i += 2;
        } else {
            ADD_FAILURE() << "unexpected feedback token " << token;
            break;
        }
    }
    return d;
}

using geomtest::HitOrder;

} // namespace

using GraphDrawing = brantel::test::GLTest;

TEST_F(GraphDrawing, OwnNodesAndTheirEdgesOnly)
{
    CGraph first;
    CSNode* a = first.NewNode(-0.5, -0.5, 0.0);
    CSNode* b = first.NewNode(0.5, -0.5, 0.0);
    first.ConnectNodes(a, b);
    CGraph second;
    second.NewNode(b);
    CSNode* c = second.NewNode(0.5, 0.5, 0.0);
    second.ConnectNodes(b, c); // starts at b, which the first graph owns

    Drawn d = Feedback([&] { second.DrawModelGL(false, 3.0f, false); });
    EXPECT_EQ(d.points, 1);
    EXPECT_EQ(d.lines, 0);
    d = Feedback([&] { second.DrawModelGL(false, 3.0f, true); });
    EXPECT_EQ(d.points, 2);
    EXPECT_EQ(d.lines, 1);
    // The first graph owns b, so it draws the edge that starts there too.
    d = Feedback([&] { first.DrawModelGL(false, 3.0f, false); });
    EXPECT_EQ(d.points, 2);
    EXPECT_EQ(d.lines, 2);
    d = Feedback([&] { first.DrawNodesGL(0.0f, true, nullptr); });
    EXPECT_EQ(d.points, 0);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(GraphDrawing, PickByIdentifiersDrawsEdgesThenNodesThenTheGraph)
{
    CGraph g;
    CSNode* a = g.NewNode(-0.5, 0.0, 0.0);
    CSNode* b = g.NewNode(0.5, 0.0, 0.0);
    CEdge* e = g.ConnectNodes(a, b);
    const std::vector<GLuint> names = HitOrder([&] { g.PickDrawGL(false, 7); });
    EXPECT_EQ(names, (std::vector<GLuint>{static_cast<GLuint>(e->GetID()), a->GetID(), b->GetID(),
                                          static_cast<GLuint>(g.GetID())}));
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(GraphDrawing, PickByIdentityMapsNamesBackToTheObjects)
{
    CGraph g;
    CSNode* a = g.NewNode(-0.5, 0.0, 0.0);
    CSNode* b = g.NewNode(0.5, 0.0, 0.0);
    CEdge* e = g.ConnectNodes(a, b);
    const std::vector<GLuint> names = HitOrder([&] { g.PickDrawAddressGL(7); });
    std::vector<CObject*> objects;
    for (GLuint name : names) {
        EXPECT_NE(name, 0u);
        objects.push_back(AfxGetSelectionNames().ObjectOf(name));
    }
    EXPECT_EQ(objects, (std::vector<CObject*>{&g, e, a, b}));
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(GraphDrawing, LabelsLinksAndMarkersLeaveNoGLError)
{
    CGraph g;
    CSNode* a = g.NewNode(-0.5, 0.0, 0.0);
    CSNode* b = g.NewNode(0.5, 0.0, 0.0);
    CEdge* e = g.ConnectNodes(a, b);
    new CNodeLink(a, g.NewNode(0.0, 0.5, 0.0));
    e->SubDivideSeg(4, true);
    glListBase(0);
    g.DrawNameGL();
    g.DrawEdgeNameGL();
    g.DrawNodeNumbers();
    g.DrawSubNodesGL();
    double scale = 1.0;
    g.DrawNodeLoads(&scale);
    Drawn d = Feedback([&] {
        glBegin(GL_LINES);
        g.GLDrawNodeLinks(false);
        glEnd();
        glBegin(GL_POINTS);
        g.GLDrawLoadedNodes();
        glEnd();
    });
    EXPECT_EQ(d.lines, 1);
    EXPECT_EQ(d.points, 0);
    d = Feedback([&] { g.DrawSubNodesGL(); });
    EXPECT_EQ(d.points, 3);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(GraphDrawing, DeletedObjectsLoseTheirSelectionNames)
{
    CGraph* g = new CGraph;
    CSNode* a = g->NewNode(-0.5, 0.0, 0.0);
    CSNode* b = g->NewNode(0.5, 0.0, 0.0);
    g->ConnectNodes(a, b);
    const std::vector<GLuint> names = HitOrder([&] { g->PickDrawAddressGL(7); });
    ASSERT_EQ(names.size(), 4u);
    delete g;
    for (GLuint name : names)
        EXPECT_EQ(AfxGetSelectionNames().ObjectOf(name), nullptr);
}
