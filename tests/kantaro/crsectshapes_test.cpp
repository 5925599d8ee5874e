// Parametric cross-sections: reference nodes of the constructors, the
// closed-form properties, and the drawing of outline and axis mark.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <array>
#include <cmath>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "glstyle/tincora.h"
#include "platform/ferrand/material.h"
#include "sections/kantaro.h"
#include "tests/support/gl_context.h"

namespace
{

constexpr double E = 210000.0;
constexpr double G = 80000.0;
constexpr double Rho = 7.85e-9;

std::unique_ptr<CMaterial> Steel()
{
    auto m = std::make_unique<CMaterial>("Steel", Rho, E, G, 0.3, 1.2e-5);
    m->SetColor(0.0, 1.0, 0.0);
    return m;
}

using Factory = std::function<CCrSectFixedGeom*()>;

struct ShapeCase {
    const char* name;
    Factory make;
    double d; // distance of the axis x and z nodes from the origin
};

const ShapeCase kShapes[] = {
    {"rectangle", [] { return new CCrSectRect(3.0, 5.0); }, 5.0},
    {"upright rectangle", [] { return new CCrSectRect(6.0, 2.0); }, 6.0},
    {"circle", [] { return new CCrSectCirc(2.5); }, 2.5},
    {"tube", [] { return new CCrSectTube(4.0, 1.0); }, 4.0},
    {"user-defined", [] { return new CCrSectUsrDef(1.5); }, 1.5},
};

TEST(CrSectShapes, ConstructorsMakeFourReferenceNodes)
{
    for (const ShapeCase& c : kShapes) {
        SCOPED_TRACE(c.name);
        const DWORD before = CSNode::lIDnode;
        std::unique_ptr<CCrSectFixedGeom> shape(c.make());
        EXPECT_EQ(CSNode::lIDnode, before + 1);
        CAxis* axis = shape->GetAxis();
        CSNode* shear = shape->GetShearNode();
        ASSERT_TRUE(axis && shear);
        CSNode* o = axis->GetOrigin();
        CSNode* x = axis->GetXNode();
        CSNode* z = axis->GetZNode();
        ASSERT_TRUE(z);
        EXPECT_EQ(o->GetID(), DWORD(-10));
        const std::set<CSNode*> distinct = {o, x, z, shear};
        EXPECT_EQ(distinct.size(), 4u);
        const std::array<double, 3> expected[] = {{0, 0, 0}, {c.d, 0, 0}, {0, 0, c.d}, {0, 0, 0}};
        const CSNode* nodes[] = {o, x, z, shear};
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(nodes[i]->x, expected[i][0]) << i;
            EXPECT_EQ(nodes[i]->y, expected[i][1]) << i;
            EXPECT_EQ(nodes[i]->z, expected[i][2]) << i;
            EXPECT_EQ(nodes[i]->GetGraphCount(), 0) << i;
        }
        EXPECT_EQ(shape->GetOffsetX(), 0.0);
        EXPECT_EQ(shape->GetName(), "Cross section");
    }
    const DWORD before = CSNode::lIDnode;
    CCrSectRect rect;
    CCrSectCirc circ;
    CCrSectTube tube;
    CCrSectUsrDef user;
    EXPECT_EQ(CSNode::lIDnode, before);
    for (CCrSectComp* s : std::initializer_list<CCrSectComp*>{&rect, &circ, &tube, &user}) {
        EXPECT_EQ(s->GetAxis(), nullptr);
        EXPECT_EQ(s->GetShearNode(), nullptr);
    }
}

TEST(CrSectShapes, RectangleStiffnessAndTorsion)
{
    // b = 20 wide, h = 10 high. The torsion constant agrees with the exact
    // series solution of the rectangle (0.228682 a c^3 for a/c = 2, and
    // 0.1405770 b^4 for the square) within 0.2 %.
    CCrSectRect rect(10.0, 20.0);
    EXPECT_NEAR(rect.GetParam(4), 1666.6666666666667, 1e-9);
    EXPECT_NEAR(rect.GetParam(5), 6666.666666666667, 1e-9);
    EXPECT_NEAR(rect.GetParam(6), 4577.604166666667, 1e-9);
    EXPECT_NEAR(rect.GetParam(6), 4573.634, 0.002 * 4573.634);
    EXPECT_NEAR(rect.GetParam(8), 200.0 * 500.0 / 12.0, 1e-9);
    EXPECT_NEAR(rect.GetParam(35), 10.0 / std::sqrt(12.0), 1e-15);
    EXPECT_NEAR(rect.GetParam(36), 20.0 / std::sqrt(12.0), 1e-14);
    // Upright, the sides swap roles but the torsion constant stays.
    CCrSectRect upright(20.0, 10.0);
    EXPECT_NEAR(upright.GetParam(6), 4577.604166666667, 1e-9);
    EXPECT_NEAR(upright.GetParam(4), 6666.666666666667, 1e-9);

    const double b = 7.0, b4 = b * b * b * b;
    CCrSectRect square(b, b);
    EXPECT_NEAR(square.GetParam(6) / b4, 0.1408333333333333, 1e-15);
    EXPECT_NEAR(square.GetParam(6) / b4, 0.1405770, 0.002 * 0.1405770);
}

TEST(CrSectShapes, CircleAndTubeProperties)
{
    const double r = 3.0, r4 = 81.0;
    CCrSectCirc circ(r);
    EXPECT_NEAR(circ.GetParam(0), M_PI * 9.0, 1e-13);
    EXPECT_NEAR(circ.GetParam(4), M_PI * r4 / 4.0, 1e-12);
    EXPECT_NEAR(circ.GetParam(5), M_PI * r4 / 4.0, 1e-12);
    EXPECT_NEAR(circ.GetParam(6), M_PI * r4 / 2.0, 1e-12);
    for (unsigned i : {8u, 35u, 36u})
        EXPECT_EQ(circ.GetParam(i), 0.0) << i;

    // A wall as thick as the radius is the full circle, with its own
    // shear factor.
    CCrSectTube full(r, r);
    for (unsigned i : {0u, 1u, 4u, 5u, 6u})
        EXPECT_NEAR(full.GetParam(i), circ.GetParam(i), 1e-12) << i;
    EXPECT_EQ(full.GetParam(9), 1.95984);
    EXPECT_EQ(full.GetParam(10), 1.95984);

    // R = 2, t = 0.5: ring between radii 2 and 1.5.
    CCrSectTube tube(2.0, 0.5);
    EXPECT_NEAR(tube.GetParam(0), M_PI * (4.0 - 2.25), 1e-13);
    EXPECT_NEAR(tube.GetParam(4), M_PI * (16.0 - 5.0625) / 4.0, 1e-13);
    EXPECT_NEAR(tube.GetParam(6), M_PI * (16.0 - 5.0625) / 2.0, 1e-13);
    EXPECT_NEAR(tube.CalcArea(), M_PI * 1.75, 1e-13);
}

TEST(CrSectShapes, TubeWallThickerThanTheRadiusIsTheFullCircle)
{
    // Walls of 1.5 R and 3 R once gave an area below the circle's and
    // negative stiffnesses; the thickness itself is kept.
    CCrSectCirc circ(2.0);
    for (double t : {3.0, 6.0}) {
        CCrSectTube tube(2.0, t);
        EXPECT_EQ(tube.InnerRadius(), 0.0);
        for (unsigned i : {0u, 4u, 5u, 6u})
            EXPECT_NEAR(tube.GetParam(i), circ.GetParam(i), 1e-12) << t << " index " << i;
        EXPECT_EQ(tube.GetThick(), t);
    }
    EXPECT_EQ(CCrSectTube(2.0, 0.5).InnerRadius(), 1.5);
}

TEST(CrSectShapes, MaterialFactorsAndLiteralConstants)
{
    auto steel = Steel();
    steel->SetFlag(0); // shapes take the first material whatever its flags
    const double g = 9.81;

    CCrSectRect rect(10.0, 20.0);
    rect.AddMaterial(steel.get());
    const double a = 200.0;
    EXPECT_NEAR(rect.GetParam(2), Rho * a * g, 1e-18);
    EXPECT_NEAR(rect.GetParam(3), Rho * a, 1e-20);
    EXPECT_NEAR(rect.GetParam(21), E * a, 1e-6);
    EXPECT_NEAR(rect.GetParam(22), E * 1666.6666666666667, 1e-3);
    EXPECT_NEAR(rect.GetParam(23), E * 6666.666666666667, 1e-3);
    EXPECT_NEAR(rect.GetParam(27) / (G * a), 5.0 / 6.0, 1e-15);
    EXPECT_NEAR(rect.GetParam(28) / (G * a), 5.0 / 6.0, 1e-15);
    EXPECT_NEAR(rect.GetParam(29), G * 4577.604166666667, 1e-4);
    EXPECT_NEAR(rect.GetParam(30), G * a, 1e-6);
    EXPECT_EQ(rect.GetParam(9), 1.2);
    EXPECT_EQ(rect.GetParam(33), E);
    EXPECT_EQ(rect.GetParam(34), G);

    const double r = 3.0;
    CCrSectCirc circ(r);
    circ.AddMaterial(steel.get());
    EXPECT_NEAR(circ.GetParam(2) / (Rho * r * r), M_PI * g, 1e-15 * M_PI * g);
    EXPECT_NEAR(circ.GetParam(27) / (G * r * r), M_PI * 6.0 / 7.0, 1e-15 * M_PI);
    EXPECT_NEAR(circ.GetParam(9), 7.0 / 6.0, 1e-15);
    EXPECT_NEAR(circ.GetParam(10), 7.0 / 6.0, 1e-15);
    EXPECT_NEAR(circ.GetParam(29), G * M_PI * 81.0 / 2.0, 1e-3);

    CCrSectTube tube(2.0, 0.5);
    tube.AddMaterial(steel.get());
    const double at = M_PI * 1.75;
    EXPECT_NEAR(tube.GetParam(2), Rho * at * g, 1e-20);
    EXPECT_NEAR(tube.GetParam(27) / (G * at), 1.0 / 1.95984, 1e-15);
    EXPECT_NEAR(tube.GetParam(21), E * at, 1e-6);

    // Without a material every material-based value is 0.
    CCrSectRect r0(10.0, 20.0);
    CCrSectCirc c0(3.0);
    CCrSectTube t0(2.0, 0.5);
    for (CCrSectComp* s : std::initializer_list<CCrSectComp*>{&r0, &c0, &t0})
        for (unsigned i : {2u, 3u, 21u, 22u, 23u, 27u, 28u, 29u, 30u, 33u, 34u})
            EXPECT_EQ(s->GetParam(i), 0.0) << s->GetRuntimeClass()->m_lpszClassName << " " << i;
}

TEST(CrSectShapes, CentresAndTableIndicesOfFormulaShapes)
{
    CCrSectRect rect(2.0, 4.0);
    rect.SetParam(15, 0.5);
    rect.SetParam(16, -0.25);
    EXPECT_EQ(rect.GetParam(15), 0.5);
    EXPECT_EQ(rect.GetParam(16), -0.25);
    rect.CCrSectComp::Rotate(0.3, 0.0, 0.0, 2, false);
    EXPECT_NEAR(rect.GetParam(17), 0.3, 1e-15);
    // Stored values are set but not read by the formulas.
    rect.SetParam(22, 99.0);
    EXPECT_EQ(rect.GetProp(CCrSectComp::kEIy), 99.0);
    for (unsigned i : {7u, 11u, 12u, 13u, 14u, 18u, 19u, 20u, 22u, 24u, 31u, 37u, 38u, 40u})
        EXPECT_EQ(rect.GetParam(i), 0.0) << i;

    double box[4];
    rect.GetMaxMinCoord(box[0], box[1], box[2], box[3]);
    EXPECT_EQ(box[0], 2.0);
    EXPECT_EQ(box[1], 1.0);
    EXPECT_EQ(box[2], -2.0);
    EXPECT_EQ(box[3], -1.0);
    rect.Translate(10.0, 10.0, 0.0);
    rect.GetMaxMinCoord(box[0], box[1], box[2], box[3]);
    EXPECT_EQ(box[0], 2.0) << "the box stays about the origin";
}

// ------------------------------------------------------------ drawing

struct FeedbackItem {
    GLfloat token;
    std::vector<std::array<GLfloat, 3>> vertices;
};

std::vector<FeedbackItem> Feedback(const std::function<void()>& draw)
{
    std::vector<GLfloat> buffer(1 << 16);
    glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_3D, buffer.data());
    glRenderMode(GL_FEEDBACK);
    draw();
    const int n = glRenderMode(GL_RENDER);
    EXPECT_GE(n, 0) << "feedback buffer overflow";
    std::vector<FeedbackItem> items;
    auto vertex = [&](int& i) {
        std::array<GLfloat, 3> v = {buffer[i], buffer[i + 1], buffer[i + 2]};
        i += 3;
        return v;
    };
    for (int i = 0; i < n;) {
        FeedbackItem item{buffer[i++], {}};
        int count = 0;
        if (item.token == GL_POLYGON_TOKEN)
            count = static_cast<int>(buffer[i++]);
        else if (item.token == GL_LINE_TOKEN || item.token == GL_LINE_RESET_TOKEN)
            count = 2;
        else if (item.token == GL_POINT_TOKEN || item.token == GL_BITMAP_TOKEN ||
                 item.token == GL_DRAW_PIXEL_TOKEN || item.token == GL_COPY_PIXEL_TOKEN)
            count = 1;
        else if (item.token == GL_PASS_THROUGH_TOKEN)
            ++i;
        else {
            ADD_FAILURE() << "unexpected token " << item.token;
            break;
        }
        for (int k = 0; k < count; ++k)
            item.vertices.push_back(vertex(i));
        items.push_back(item);
    }
    return items;
}

// Distinct vertices of the polygons fed back before the first line (the
// outline comes before the axis mark with its arrow heads), in model
// coordinates (the fixture maps [-1, 1] onto 128 pixels).
std::vector<std::array<double, 2>> PolygonPoints(const std::vector<FeedbackItem>& items)
{
    std::vector<std::array<double, 2>> points;
    for (const FeedbackItem& item : items) {
        if (item.token == GL_LINE_TOKEN || item.token == GL_LINE_RESET_TOKEN)
            break;
        if (item.token != GL_POLYGON_TOKEN)
            continue;
        for (const auto& v : item.vertices) {
            const std::array<double, 2> p = {v[0] / 64.0 - 1.0, v[1] / 64.0 - 1.0};
            bool known = false;
            for (const auto& q : points)
                known = known || (std::fabs(p[0] - q[0]) < 1e-4 && std::fabs(p[1] - q[1]) < 1e-4);
            if (!known)
                points.push_back(p);
        }
    }
    return points;
}

class CrSectDrawTest : public brantel::test::GLTest
{
protected:
    void SetUp() override
    {
        GLTest::SetUp();
        savedOffset = bOffsetPolygon;
        savedUnit = glfOffsetUnit;
    }
    void TearDown() override
    {
        bOffsetPolygon = savedOffset;
        glfOffsetUnit = savedUnit;
        GLTest::TearDown();
    }
    bool IsGreen(double x, double y) const
    {
        const auto p =
            gl->pixel(static_cast<int>((x + 1.0) * 64.0), static_cast<int>((y + 1.0) * 64.0));
        return p[0] == 0 && p[1] == 255 && p[2] == 0;
    }
    bool IsBackground(double x, double y) const
    {
        const auto p =
            gl->pixel(static_cast<int>((x + 1.0) * 64.0), static_cast<int>((y + 1.0) * 64.0));
        return p[0] == 0 && p[1] == 0 && p[2] == 0;
    }
    std::unique_ptr<CMaterial> steel = Steel();
    bool savedOffset = true;
    float savedUnit = 1.0f;
};

TEST_F(CrSectDrawTest, RectangleIsOneQuadInTheMaterialColour)
{
    CCrSectRect rect(0.5, 1.0);
    rect.AddMaterial(steel.get());
    const auto points = PolygonPoints(Feedback([&] { rect.DrawModelGL(true, 1.0f, true); }));
    ASSERT_EQ(points.size(), 4u);
    for (const auto& p : points) {
        EXPECT_NEAR(std::fabs(p[0]), 0.5, 1e-4);
        EXPECT_NEAR(std::fabs(p[1]), 0.25, 1e-4);
    }
    rect.DrawModelGL(true, 1.0f, true);
    glFinish();
    EXPECT_TRUE(IsGreen(0.3, 0.15));
    EXPECT_TRUE(IsGreen(-0.45, -0.2));
    EXPECT_TRUE(IsBackground(0.6, 0.15));
    EXPECT_TRUE(IsBackground(0.3, 0.35));
}

TEST_F(CrSectDrawTest, CircleTubeAndEllipseOutlines)
{
    CCrSectCirc circ(0.8);
    circ.AddMaterial(steel.get());
    auto points = PolygonPoints(Feedback([&] { circ.DrawModelGL(true, 1.0f, true); }));
    EXPECT_EQ(points.size(), 128u);
    for (const auto& p : points)
        EXPECT_NEAR(std::hypot(p[0], p[1]), 0.8, 1e-4);

    CCrSectTube tube(0.8, 0.3);
    tube.AddMaterial(steel.get());
    points = PolygonPoints(Feedback([&] { tube.DrawModelGL(true, 1.0f, true); }));
    int outer = 0, inner = 0;
    for (const auto& p : points) {
        const double rr = std::hypot(p[0], p[1]);
        outer += std::fabs(rr - 0.8) < 1e-4;
        inner += std::fabs(rr - 0.5) < 1e-4;
    }
    EXPECT_EQ(outer, 64);
    EXPECT_EQ(inner, 64);
    EXPECT_EQ(points.size(), 128u);
    tube.DrawModelGL(true, 1.0f, true);
    glFinish();
    EXPECT_TRUE(IsGreen(0.45, 0.45));
    EXPECT_TRUE(IsBackground(0.25, 0.25)) << "the hole stays open";

    // A wall thicker than the radius fills the hole, without a ring of
    // negative radius.
    glClear(GL_COLOR_BUFFER_BIT);
    CCrSectTube solid(0.8, 1.2);
    solid.AddMaterial(steel.get());
    points = PolygonPoints(Feedback([&] { solid.DrawModelGL(true, 1.0f, true); }));
    for (const auto& p : points) {
        const double rr = std::hypot(p[0], p[1]);
        EXPECT_TRUE(std::fabs(rr - 0.8) < 1e-4 || rr < 1e-4) << rr;
    }
    solid.DrawModelGL(true, 1.0f, true);
    glFinish();
    EXPECT_TRUE(IsGreen(0.25, 0.25));

    glClear(GL_COLOR_BUFFER_BIT);
    CCrSectUsrDef user(0.8);
    user.AddMaterial(steel.get());
    points = PolygonPoints(Feedback([&] { user.DrawModelGL(true, 1.0f, true); }));
    EXPECT_EQ(points.size(), 64u);
    for (const auto& p : points)
        EXPECT_NEAR(std::hypot(p[0] / 0.4, p[1] / 0.8), 1.0, 1e-3);
    user.DrawModelGL(true, 1.0f, true);
    glFinish();
    EXPECT_TRUE(IsGreen(0.3, 0.3));
    EXPECT_TRUE(IsGreen(-0.15, -0.6));
    EXPECT_TRUE(IsBackground(0.5, 0.3));
}

TEST_F(CrSectDrawTest, AxisMarkNeedsAxisAndShearNode)
{
    CCrSectRect bare;
    EXPECT_TRUE(Feedback([&] { bare.DrawPAxisGL(); }).empty());

    CCrSectRect rect(1.0, 1.0);
    rect.SetParam(15, 0.5);
    rect.SetParam(16, 0.25);
    const auto items = Feedback([&] { rect.DrawPAxisGL(); });
    int points = 0, lines = 0;
    for (const FeedbackItem& item : items) {
        if (item.token == GL_POINT_TOKEN) {
            ++points;
            EXPECT_NEAR(item.vertices[0][0], 96.0, 1e-3);
            EXPECT_NEAR(item.vertices[0][1], 80.0, 1e-3);
        }
        lines += item.token == GL_LINE_TOKEN || item.token == GL_LINE_RESET_TOKEN;
    }
    EXPECT_EQ(points, 1);
    EXPECT_GE(lines, 3) << "the axis cross";

    rect.DrawPAxisGL();
    glFinish();
    const auto p = gl->pixel(96, 80);
    EXPECT_EQ(p[0], 255);
    EXPECT_EQ(p[1], 0);
    EXPECT_EQ(p[2], 0);
}

TEST_F(CrSectDrawTest, AxisMarkRestoresTheStateItChanges)
{
    CCrSectRect rect(1.0, 1.0);
    for (bool on : {true, false}) {
        SCOPED_TRACE(on ? "switched on" : "switched off");
        for (GLenum cap : {GL_BLEND, GL_DEPTH_TEST, GL_LIGHTING})
            on ? glEnable(cap) : glDisable(cap);
        glColor4f(0.2f, 0.4f, 0.6f, 1.0f);
        glPointSize(2.0f);
        rect.DrawPAxisGL();
        for (GLenum cap : {GL_BLEND, GL_DEPTH_TEST, GL_LIGHTING})
            EXPECT_EQ(glIsEnabled(cap) == GL_TRUE, on) << cap;
        GLfloat colour[4];
        glGetFloatv(GL_CURRENT_COLOR, colour);
        EXPECT_FLOAT_EQ(colour[0], 0.2f);
        EXPECT_FLOAT_EQ(colour[2], 0.6f);
        GLfloat size = 0.0f;
        glGetFloatv(GL_POINT_SIZE, &size);
        EXPECT_EQ(size, 2.0f);
    }
}

TEST_F(CrSectDrawTest, ShearLabelGoesThroughTheCurrentListBase)
{
    // One list for the byte 'S': a bitmap at the raster position.
    static const GLubyte glyph[8] = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
    const GLuint list = glGenLists(1);
    glNewList(list, GL_COMPILE);
    glBitmap(8, 8, 0.0f, 0.0f, 8.0f, 0.0f, glyph);
    glEndList();
    glListBase(list - 'S');

    CCrSectRect rect(1.0, 1.0);
    rect.SetParam(15, 0.5);
    rect.SetParam(16, 0.25);
    const auto items = Feedback([&] { rect.DrawPAxisGL(); });
    int bitmaps = 0;
    for (const FeedbackItem& item : items)
        if (item.token == GL_BITMAP_TOKEN) {
            ++bitmaps;
            EXPECT_NEAR(item.vertices[0][0], 96.0, 1e-3);
            EXPECT_NEAR(item.vertices[0][1], 80.0, 1e-3);
        }
    EXPECT_EQ(bitmaps, 1);
    glListBase(0);
    glDeleteLists(list, 1);
}

TEST_F(CrSectDrawTest, PolygonOffsetOnlyWhenSwitchedOn)
{
    // The depth written at a filled pixel shows the offset: a large unit
    // pushes the face back measurably.
    glfOffsetUnit = 1e6f;
    CCrSectRect rect(1.0, 1.0);
    rect.AddMaterial(steel.get());
    // The composite's own drawing brackets its regions the same way.
    CCrSectRect withRegion(1.0, 1.0);
    auto* region = new CSectArea;
    CSNode* n[4] = {region->NewNode(-0.5, -0.5, 0), region->NewNode(0.5, -0.5, 0),
                    region->NewNode(0.5, 0.5, 0), region->NewNode(-0.5, 0.5, 0)};
    for (int i = 0; i < 4; ++i)
        region->ConnectNodes(n[i], n[(i + 1) % 4]);
    region->SetMaterial(steel.get());
    withRegion.AddTail(region);
    const std::function<void()> draws[] = {
        [&] { rect.DrawModelGL(true, 1.0f, true); },
        [&] { withRegion.CCrSectComp::DrawModelGL(true, 1.0f, true); }};
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_ALWAYS);
    for (const auto& draw : draws) {
        float depth[2];
        for (int i = 0; i < 2; ++i) {
            bOffsetPolygon = i == 0;
            glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
            draw();
            EXPECT_FALSE(glIsEnabled(GL_POLYGON_OFFSET_FILL));
            glReadPixels(80, 80, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depth[i]);
        }
        EXPECT_NEAR(depth[1], 0.5f, 1e-6f);
        EXPECT_GT(depth[0], depth[1] + 1e-5f);
    }
    glDisable(GL_DEPTH_TEST);
}

} // namespace
