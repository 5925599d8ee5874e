// Area region drawing: fills, holes, outlines, node points and the side
// walls of the extruded drawing.
#include <gtest/gtest.h>

#include <GL/gl.h>
#include <GL/glu.h>

#include <cmath>
#include <functional>
#include <vector>

#include "glstyle/tincora.h"
#include "platform/ferrand/material.h"
#include "sections/kantaro.h"
#include "tests/bexlar/selection.h"
#include "tests/support/gl_context.h"

namespace {

using Pixel = std::array<std::uint8_t, 4>;

CSectArea* MakePolygon(std::vector<std::array<double, 2>> corners, CMaterial* material)
{
    auto* r = new CSectArea;
    std::vector<CSNode*> n;
    for (auto& c : corners)
        n.push_back(r->NewNode(c[0], c[1], 0));
    for (std::size_t i = 0; i < n.size(); ++i)
        r->ConnectNodes(n[i], n[(i + 1) % n.size()]);
    r->SetMaterial(material);
    return r;
}

CSectArea* MakeRect(double x0, double y0, double x1, double y1, CMaterial* material)
{
    return MakePolygon({{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}}, material);
}

// The polygons recorded in feedback mode (Mesa feeds a quad back as two
// triangles).
int CountPolygons(const std::function<void()>& draw)
{
    std::vector<GLfloat> buffer(1 << 14);
    glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_3D, buffer.data());
    glRenderMode(GL_FEEDBACK);
    draw();
    const int n = glRenderMode(GL_RENDER);
    EXPECT_GE(n, 0) << "feedback buffer overflow";
    int polygons = 0;
    for (int i = 0; i < n;) {
        const GLfloat token = buffer[i++];
        if (token == GL_POLYGON_TOKEN) {
            ++polygons;
            i += 3 * static_cast<int>(buffer[i]) + 1;
        } else if (token == GL_LINE_TOKEN || token == GL_LINE_RESET_TOKEN) {
            i += 6;
        } else if (token == GL_POINT_TOKEN) {
            i += 3;
        } else {
            ADD_FAILURE() << "unexpected token " << token;
            break;
        }
    }
    return polygons;
}

class SectAreaDrawTest : public brantel::test::GLTest {
protected:
    void SetUp() override
    {
        GLTest::SetUp();
        solid.SetName("Steel");
        solid.SetColor(1.0, 0.0, 0.0);
        voidMat.SetName("VOID");
        voidMat.SetColor(0.0, 0.0, 1.0);
        std::copy(glcInvBckGrnd, glcInvBckGrnd + 3, savedInv);
        glcInvBckGrnd[0] = glcInvBckGrnd[1] = glcInvBckGrnd[2] = 1.0f;
    }
    void TearDown() override
    {
        CSectArea::SetTessWindRule(100130.0);
        std::copy(savedInv, savedInv + 3, glcInvBckGrnd);
        GLTest::TearDown();
    }
    Pixel At(double x, double y)
    {
        glFinish();
        return gl->pixel(static_cast<int>((x + 1.0) * 64.0), static_cast<int>((y + 1.0) * 64.0));
    }
    static bool Red(const Pixel& p) { return p[0] == 255 && p[1] == 0 && p[2] == 0; }
    static bool Black(const Pixel& p) { return p[0] == 0 && p[1] == 0 && p[2] == 0; }
    static bool White(const Pixel& p) { return p[0] == 255 && p[1] == 255 && p[2] == 255; }

    CMaterial solid, voidMat;
    float savedInv[3];
};

TEST_F(SectAreaDrawTest, FilledRegionWithHole)
{
    EXPECT_EQ(CSectArea::m_gldTessWindRule, 100130.0);
    CSectArea* r = MakeRect(-0.8, -0.8, 0.8, 0.8, &solid);
    r->InsertSubSect(MakeRect(-0.3, -0.3, 0.3, 0.3, &voidMat));
    r->DrawModelGL(true, 0.0f, false);
    EXPECT_TRUE(Red(At(-0.55, 0.1)));
    EXPECT_TRUE(Black(At(0.0, 0.1))); // the hole stays empty
    EXPECT_TRUE(White(At(-0.8, 0.1))); // thin outline in the inverse background colour
    EXPECT_EQ(At(-0.3, 0.1)[2], 255); // the hole's wide outline in its own colour
    delete r;
}

TEST_F(SectAreaDrawTest, VoidRegionDrawsOnlyItsOutline)
{
    CSectArea* r = MakeRect(-0.8, -0.8, 0.8, 0.8, &voidMat);
    r->DrawModelGL(true, 0.0f, false);
    EXPECT_TRUE(Black(At(0.0, 0.1)));
    const Pixel edge = At(-0.8, 0.1);
    EXPECT_EQ(edge[2], 255); // a wide outline in the material colour
    EXPECT_EQ(edge[0], 0);
    delete r;
}

TEST_F(SectAreaDrawTest, OnlyTrianglesWithoutHolesBypassTheTessellator)
{
    // Under the negative winding rule the tessellator fills nothing of a
    // counter-clockwise boundary: what is filled was drawn directly.
    CSectArea::SetTessWindRule(GLU_TESS_WINDING_NEGATIVE);
    struct Case {
        const char* name;
        std::vector<std::array<double, 2>> corners;
        bool hole;
        bool filled;
    } cases[] = {
        {"triangle", {{-0.8, -0.8}, {0.8, -0.8}, {0.0, 0.8}}, false, true},
        {"quadrilateral", {{-0.8, -0.8}, {0.8, -0.8}, {0.8, 0.8}, {-0.8, 0.8}}, false, false},
        {"triangle with a hole", {{-0.8, -0.8}, {0.8, -0.8}, {0.0, 0.8}}, true, false},
    };
    for (const Case& c : cases) {
        glClear(GL_COLOR_BUFFER_BIT);
        CSectArea* r = MakePolygon(c.corners, &solid);
        if (c.hole)
            r->InsertSubSect(MakeRect(0.3, -0.6, 0.4, -0.5, &voidMat));
        r->DrawModelGL(true, 0.0f, false);
        EXPECT_EQ(Red(At(0.0, -0.2)), c.filled) << c.name;
        delete r;
    }
}

TEST_F(SectAreaDrawTest, NodePointsOnlyForAPointSize)
{
    for (float size : {0.0f, 5.0f}) {
        glClear(GL_COLOR_BUFFER_BIT);
        CSectArea* r = MakeRect(-0.5, -0.5, 0.5, 0.5, &solid);
        r->DrawModelGL(false, size, false); // a wide outline in the material colour
        // 2 pixels inside the corner: covered only by a point.
        const Pixel near = gl->pixel(34, 34);
        EXPECT_EQ(White(near), size > 0.0f) << size;
        delete r;
    }
}

TEST_F(SectAreaDrawTest, SideWalls)
{
    glRotated(60.0, 1.0, 0.0, 0.0); // walls seen at an angle have an area
    CVector flat;
    // Wall quads drawn.
    auto walls = [&](CSectArea* r) {
        return CountPolygons([&] { r->ExtrudeSidesGL(false, 0.0, 0.2, flat, flat, false); }) / 2;
    };
    auto strip = [&](CSectArea* r) {
        return CountPolygons([&] { r->ExtrudeSidesGL(true, 0.0, 0.2, flat, flat, false); }) / 2;
    };

    // Two solid squares sharing an edge: the shared wall is drawn once.
    CSectArea* a = MakeRect(-0.6, -0.3, 0.0, 0.3, &solid);
    CSectArea* b = new CSectArea;
    b->NewNode(a->GetNode(1));
    b->NewNode(0.6, -0.3, 0);
    b->NewNode(0.6, 0.3, 0);
    b->NewNode(a->GetNode(2));
    for (int i = 0; i < 4; ++i)
        if (!CGraph::GetComEdge(b->GetNode(i), b->GetNode((i + 1) % 4)))
            b->ConnectNodes(b->GetNode(i), b->GetNode((i + 1) % 4));
    b->SetMaterial(&solid);
    EXPECT_EQ(walls(a) + walls(b), 7);
    EXPECT_EQ(strip(a), 4); // a strip of four quads, whatever is shared

    // A hole has walls only inside a solid region; a region of "VOID" on
    // its own has none.
    CSectArea* hole = MakeRect(-0.5, -0.2, -0.1, 0.2, &voidMat);
    EXPECT_EQ(walls(hole), 0);
    a->InsertSubSect(hole);
    EXPECT_EQ(walls(hole), 4);
    a->SetMaterial(&voidMat);
    EXPECT_EQ(walls(hole), 0);

    // The whole extruded drawing of a solid square: two faces of two
    // triangles each and four walls of two.
    CSectArea* c = MakeRect(-0.5, -0.5, 0.5, 0.5, &solid);
    EXPECT_EQ(CountPolygons([&] { c->ExtrudeDrawGL(true, true, 0.0, 0.2, flat, flat, true); }), 12);
    delete c;
    delete b;
    delete a;
}

TEST_F(SectAreaDrawTest, WallsBetweenPlacedFacesShadeFromOneColourToTheOther)
{
    // Face 1: (x, y) at z = 0; face 2: (x / 2, y / 2) at z = 0.5 - a frustum
    // seen from above.
    CSectArea* r = MakeRect(-0.8, -0.8, 0.8, 0.8, &solid);
    CMatrix m1(3, 3, true, 0.0), m2(3, 3, true, 0.0);
    m1[0][1] = 1.0;
    m1[1][2] = 1.0;
    m2[0][1] = 0.5;
    m2[1][2] = 0.5;
    CVector o1(3, true, 0.0), o2(3, true, 0.0);
    o2[2] = 0.5;
    double c1[3] = {1, 0, 0}, c2[3] = {0, 0, 1};

    std::vector<GLfloat> buffer(4096);
    glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_3D_COLOR, buffer.data());
    glRenderMode(GL_FEEDBACK);
    r->ExtrudeSidesGL(false, o1, m1, o2, m2, c1, c2);
    const int n = glRenderMode(GL_RENDER);
    int vertices = 0, polygons = 0;
    for (int i = 0; i < n;) {
        ASSERT_EQ(buffer[i++], GL_POLYGON_TOKEN);
        const int count = static_cast<int>(buffer[i++]);
        ++polygons;
        for (int k = 0; k < count; ++k, i += 7, ++vertices) {
            const float x = buffer[i] / 64.0f - 1.0f, depth = buffer[i + 2];
            const bool first = std::fabs(depth - 0.5f) < 1e-4f; // z = 0
            const bool second = std::fabs(depth - 0.25f) < 1e-4f; // z = 0.5
            ASSERT_TRUE(first || second) << depth;
            EXPECT_NEAR(std::fabs(x), first ? 0.8f : 0.4f, 1e-3f);
            EXPECT_EQ(buffer[i + 3], first ? 1.0f : 0.0f); // red on face 1
            EXPECT_EQ(buffer[i + 5], first ? 0.0f : 1.0f); // blue on face 2
        }
    }
    EXPECT_EQ(polygons, 8); // four walls, two triangles each
    EXPECT_EQ(vertices, 24);
    delete r;
}

TEST_F(SectAreaDrawTest, PickingTheRegionTheHoleAndRefinePoints)
{
    CSectArea* r = MakeRect(-0.8, -0.8, 0.8, 0.8, &solid);
    CSectArea* hole = MakeRect(-0.3, -0.3, 0.3, 0.3, &voidMat);
    r->InsertSubSect(hole);
    auto* point = new CSNode(0.5, 0.5, 0, nullptr, 0);
    r->AddRefinePoint(point);
    // Names hit in a 3 x 3 pixel window around (x, y).
    auto pick = [&](double x, double y, int what) {
        GLint viewport[4] = {0, 0, 128, 128};
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        gluPickMatrix((x + 1.0) * 64.0, (y + 1.0) * 64.0, 3, 3, viewport);
        glOrtho(-1, 1, -1, 1, -1, 1);
        glMatrixMode(GL_MODELVIEW);
        return geomtest::HitOrder([&] { r->PickDrawGL(false, what); });
    };
    const GLuint rid = static_cast<GLuint>(r->GetID());
    const GLuint hid = static_cast<GLuint>(hole->GetID());
    // The region's own face covers its holes; the hole answers as well.
    EXPECT_EQ(pick(0.0, 0.0, 1), (std::vector<GLuint>{rid, hid}));
    EXPECT_EQ(pick(-0.55, 0.0, 1), (std::vector<GLuint>{rid}));
    EXPECT_EQ(pick(0.9, 0.9, 1), (std::vector<GLuint>{}));
    EXPECT_EQ(pick(0.5, 0.5, 2), (std::vector<GLuint>{static_cast<GLuint>(point->GetID())}));
    EXPECT_EQ(pick(0.5, 0.5, 1), (std::vector<GLuint>{rid})); // points only with flag 2
    delete r;
}

TEST(SectAreaDraw, SlopeNormal)
{
    struct Case {
        std::vector<double> slope;
        double n[3];
    } cases[] = {
        {{}, {0, 0, 1}},
        {{0.5}, {0, 0, 1}},
        {{0, 0}, {0, 0, 1}},
        {{3, 0}, {-3 / std::sqrt(10.0), 0, 1 / std::sqrt(10.0)}},
        {{1, -2, 7}, {-1 / std::sqrt(6.0), 2 / std::sqrt(6.0), 1 / std::sqrt(6.0)}},
    };
    for (const Case& c : cases) {
        CVector s(static_cast<int>(c.slope.size()));
        for (std::size_t i = 0; i < c.slope.size(); ++i)
            s[static_cast<int>(i)] = c.slope[i];
        double n[3];
        CSectArea::SlopeNormal(s, n);
        for (int i = 0; i < 3; ++i)
            EXPECT_NEAR(n[i], c.n[i], 1e-12) << c.slope.size() << " entries";
    }
}

} // namespace
