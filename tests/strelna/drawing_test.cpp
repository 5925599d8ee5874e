#include "tests/bexlar/selection.h"
#include "tests/strelna/fe_fixture.h"
#include "tests/support/gl_context.h"

#include "glstyle/tincora.h"

#include <GL/gl.h>

#include <cmath>
#include <vector>

using namespace fetest;

namespace {

struct FeedbackVertex {
    double x, y, z;
    float rgba[4];
};

struct Feedback {
    std::vector<std::vector<FeedbackVertex>> polygons;
    std::vector<FeedbackVertex> points;
};

// Runs draw in feedback mode and collects the polygons and points.
template <class F>
Feedback Capture(F draw)
{
    std::vector<GLfloat> buffer(8192);
    glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_3D_COLOR, buffer.data());
    glRenderMode(GL_FEEDBACK);
    draw();
    const int n = glRenderMode(GL_RENDER);
    Feedback out;
    auto vertex = [&](int& i) {
        FeedbackVertex v{buffer[i], buffer[i + 1], buffer[i + 2], {buffer[i + 3], buffer[i + 4], buffer[i + 5], buffer[i + 6]}};
        i += 7;
        return v;
    };
    for (int i = 0; i < n;) {
        const int token = static_cast<int>(buffer[i++]);
        if (token == GL_POLYGON_TOKEN) {
            const int count = static_cast<int>(buffer[i++]);
            std::vector<FeedbackVertex> poly;
            for (int k = 0; k < count; ++k)
                poly.push_back(vertex(i));
            out.polygons.push_back(poly);
        } else if (token == GL_POINT_TOKEN) {
            out.points.push_back(vertex(i));
        } else {
            ADD_FAILURE() << "unexpected token " << token;
            break;
        }
    }
    return out;
}

bool SameColour(const FeedbackVertex& v, const double* rgba)
{
    for (int i = 0; i < 3; ++i)
        if (std::fabs(v.rgba[i] - rgba[i]) > 1e-3)
            return false;
    return true;
}

class DrawingTest : public brantel::test::GLTest {
protected:
    void SetUp() override
    {
        GLTest::SetUp();
        ResetElementStatics();
        glDisable(GL_LIGHTING);
        glDisable(GL_CULL_FACE);
    }
    void TearDown() override
    {
        ResetElementStatics();
        GLTest::TearDown();
    }
};

// A triangle with results whose component 0 is 0.2, -0.2, 0.1 at the corners.
CTriElement* ResultTriangle(CElement* e)
{
    CMatrix m(3, 9, true, 0.0);
    m[0][0] = 0.2;
    m[1][0] = -0.2;
    m[2][0] = 0.1;
    int row = 0;
    e->SetStresses(m, row);
    return static_cast<CTriElement*>(e);
}

} // namespace

TEST_F(DrawingTest, TriangleColourPlotFlags)
{
    ASSERT_TRUE(gl->ok());
    CTriElement tri(Node(-0.5, -0.5), Node(0.5, -0.5), Node(0, 0.5));
    ResultTriangle(&tri);
    const double white[4] = {1, 1, 1, 1};

    glColor4dv(white);
    Feedback flat = Capture([&] { tri.GLColorPlot(0, 128, 1.0); });
    ASSERT_EQ(flat.polygons.size(), 1u);
    ASSERT_EQ(flat.polygons[0].size(), 3u);
    for (const auto& v : flat.polygons[0])
        EXPECT_TRUE(SameColour(v, white));

    Feedback coloured = Capture([&] { tri.GLColorPlot(0, 128 | 2, 1.0); });
    ASSERT_EQ(coloured.polygons.size(), 1u);
    EXPECT_TRUE(SameColour(coloured.polygons[0][0], dColorIndex[tri.GetColorIndex(0.2, 0)]));
    EXPECT_TRUE(SameColour(coloured.polygons[0][1], dColorIndex[0]));
    EXPECT_TRUE(SameColour(coloured.polygons[0][2], dColorIndex[tri.GetColorIndex(0.1, 0)]));
    EXPECT_DOUBLE_EQ(coloured.polygons[0][0].z, coloured.polygons[0][1].z);

    // Raised: the vertices lie at scale x value.
    glColor4dv(white);
    Feedback raised = Capture([&] { tri.GLColorPlot(0, 0, 2.0); });
    ASSERT_EQ(raised.polygons.size(), 1u);
    EXPECT_NE(raised.polygons[0][0].z, raised.polygons[0][1].z);
    EXPECT_TRUE(SameColour(raised.polygons[0][1], white));

    // Four result vectors: three triangles around the centroid.
    CTri4Elem tri4(Node(-0.5, -0.5), Node(0.5, -0.5), Node(0, 0.5));
    CElement::m_nVectors = 4;
    CMatrix m(4, 9, true, 0.0);
    m[3][0] = 0.3;
    int row = 0;
    tri4.SetStresses(m, row);
    Feedback four = Capture([&] { tri4.GLColorPlot(0, 128 | 2, 1.0); });
    ASSERT_EQ(four.polygons.size(), 3u);
    EXPECT_TRUE(SameColour(four.polygons[0][2], dColorIndex[255]));
    // With flag 16 the plain corner plot.
    Feedback wire = Capture([&] { tri4.GLColorPlot(0, 128 | 16, 1.0); });
    EXPECT_EQ(wire.polygons.size(), 1u);
}

// The flat faces of a batch send the plan normal once, not once per face:
// whatever normal was current before the batch, or a raised face in it
// left, the flat faces after it still carry (0, 0, 1).
TEST_F(DrawingTest, FlatFacesInABatchKeepThePlanNormal)
{
    ASSERT_TRUE(gl->ok());
    CTriElement tri(Node(-0.5, -0.5), Node(0.5, -0.5), Node(0, 0.5));
    ResultTriangle(&tri);
    const struct {
        const char* name;
        std::vector<int> faces; // the flags of each face drawn in one batch
    } cases[] = {
        {"flat faces", {128 | 2, 128 | 2}},
        {"a raised face among flat ones", {128 | 2, 2, 128 | 2}},
    };
    for (const auto& c : cases)
        for (int batch = 0; batch < 2; ++batch) {
            SCOPED_TRACE(testing::Message() << c.name << ", batch " << batch);
            glNormal3d(1.0, 0.0, 0.0);
            {
                CElement::CFaceBatch open;
                for (int flags : c.faces)
                    tri.GLColorPlot(0, flags, 1.0);
            }
            GLfloat normal[4] = {0, 0, 0, 0};
            glGetFloatv(GL_CURRENT_NORMAL, normal);
            EXPECT_EQ(normal[0], 0.0f);
            EXPECT_EQ(normal[1], 0.0f);
            EXPECT_EQ(normal[2], 1.0f);
        }
}

TEST_F(DrawingTest, CombinedScaleAndDerivedPlots)
{
    ASSERT_TRUE(gl->ok());
    CTriElement tri(Node(-0.5, -0.5), Node(0.5, -0.5), Node(0, 0.5));
    CElement::m_dStaticMax = CElement::m_dStaticMin = 3.0;
    Feedback equal = Capture([&] {
        glBegin(GL_POINTS);
        EXPECT_EQ(tri.GLCPCombColor(7.0), 127);
        glVertex2d(0, 0);
        glEnd();
    });
    ASSERT_EQ(equal.points.size(), 1u);
    EXPECT_TRUE(SameColour(equal.points[0], dColorIndex[127]));
    CElement::m_dStaticMin = 0.0;
    CElement::m_dStaticMax = 1.0;
    EXPECT_EQ(tri.GLCPCombColor(1.0), 255);
    EXPECT_EQ(tri.GLCPCombColor(1.01), -1);

    ResultTriangle(&tri);
    EXPECT_TRUE(Capture([&] { tri.DrawEffStress(0, 128, 1.0, 0, 1, 2, 0, 0); }).polygons.empty());
    EXPECT_EQ(Capture([&] { tri.DrawEffStress(0, 128 | 2, 1.0, 0, 1, 2, 0, 0); }).polygons.size(), 1u);
    EXPECT_EQ(Capture([&] { tri.DrawPriStress(0, true, 1.0, 0, 1, 2); }).polygons.size(), 1u);
}

TEST_F(DrawingTest, QuadrilateralPlots)
{
    ASSERT_TRUE(gl->ok());
    CQuadElem quad(Node(-0.5, -0.5), Node(0.5, -0.5), Node(0.5, 0.5), Node(-0.5, 0.5));
    // No results: nothing but the wire frame of node values.
    EXPECT_TRUE(Capture([&] { quad.GLColorPlot(0, 128 | 2, 1.0); }).polygons.empty());
    CElement::m_nVectors = 5;
    CMatrix m(5, 9, true, 0.0);
    m[4][0] = 0.4;
    m[0][0] = -0.4;
    int row = 0;
    quad.SetStresses(m, row);
    Feedback fan = Capture([&] { quad.GLColorPlot(0, 128 | 2, 1.0); });
    ASSERT_EQ(fan.polygons.size(), 4u);
    EXPECT_TRUE(SameColour(fan.polygons[0][2], dColorIndex[255])); // centre
    EXPECT_TRUE(SameColour(fan.polygons[0][0], dColorIndex[0]));
    Feedback wire = Capture([&] {
        glBegin(GL_POINTS);
        quad.GLColorPlot(0, 128 | 16, 1.0);
        glEnd();
    });
    EXPECT_TRUE(wire.polygons.empty());
    EXPECT_EQ(wire.points.size(), 4u);
    // Node values: two triangles; flat without colour draws nothing.
    CSNode* a = quad.GetNode(0);
    a->AllocateValue(1);
    EXPECT_EQ(Capture([&] { quad.GLColorPlot(9, 128 | 2, 1.0); }).polygons.size(), 2u);
    EXPECT_TRUE(Capture([&] { quad.GLColorPlot(9, 128, 1.0); }).polygons.empty());
}

// Outside the result picks the element names itself (1) and its nodes (2)
// by identifier, each only when asked for.
TEST_F(DrawingTest, MeshPicksNameOnlyTheKindsAskedFor)
{
    ASSERT_TRUE(gl->ok());
    CSNode* a = Node(-0.5, -0.5);
    CSNode* b = Node(0.5, -0.5);
    CSNode* c = Node(0, 0.5);
    CTriElement tri(a, b, c);
    const GLuint e = tri.GetID();
    const struct {
        int mode;
        std::vector<GLuint> names;
    } cases[] = {
        {9, {e}},
        {10, {a->GetID(), b->GetID(), c->GetID()}},
        {11, {e, a->GetID(), b->GetID(), c->GetID()}},
    };
    for (const auto& k : cases)
        EXPECT_EQ(geomtest::HitOrder([&] { tri.PickDrawGL(0, k.mode, 1.0); }), k.names) << k.mode;
}

TEST_F(DrawingTest, PickNamesCarryTheGraphPosition)
{
    ASSERT_TRUE(gl->ok());
    CSNode* a = Node(-0.5, -0.5);
    CSNode* b = Node(0.5, -0.5);
    CSNode* c = Node(0, 0.5);
    CTriElement first(a, b, c);
    CTriElement second(b, a, Node(0, -0.9));
    ResultTriangle(&first);
    ResultTriangle(&second);
    const std::vector<GLuint> names = geomtest::HitOrder([&] { second.PickDrawGL(0, 8, 1.0); });
    ASSERT_EQ(names.size(), 3u);
    EXPECT_EQ(names[0], b->GetID() + 100000000u);
    EXPECT_EQ(names[1], a->GetID() + 100000000u);
    EXPECT_EQ(names[2], second.GetNode(2)->GetID());
}
