// The element prism (DrawValueExtrGL): corner shifts by the parameter rows,
// top and bottom faces about the shifted corners, side faces only on the
// edges that no element of the same name shares. The calls are recorded
// inside the triangles primitive that the caller opens.
#include "tests/strelna/fe_fixture.h"
#include "tests/support/gl_context.h"
#include "tests/support/gl_recorder.h"

#include <GL/gl.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>

using namespace fetest;
using brantel::test::GLRecorder;
using brantel::test::Vec3;

namespace {

class PrismTest : public brantel::test::GLTest {
protected:
    void SetUp() override
    {
        GLTest::SetUp();
        ResetElementStatics();
    }
    void TearDown() override
    {
        ResetElementStatics();
        GLTest::TearDown();
    }
};

// Result component 0 of each corner: 0.1, 0.2, 0.3 (, 0.4).
void SetComponent0(CElement& e, int corners)
{
    CMatrix m(corners, 9, true, 0.0);
    for (int k = 0; k < corners; ++k)
        m[k][0] = 0.1 * (k + 1);
    CElement::m_nVectors = corners;
    int row = 0;
    e.SetStresses(m, row);
}

CMatrix Param(std::initializer_list<std::array<double, 3>> rows)
{
    CMatrix m(static_cast<int>(rows.size()), 3, true, 0.0);
    int i = 0;
    for (const auto& r : rows) {
        for (int j = 0; j < 3; ++j)
            m[i][j] = r[j];
        ++i;
    }
    return m;
}

// The vertices drawn between the test's own begin and end.
template <class F>
std::vector<Vec3> Triangles(F draw)
{
    GLRecorder rec;
    glBegin(GL_TRIANGLES);
    draw();
    glEnd();
    EXPECT_TRUE(rec.balanced());
    EXPECT_EQ(rec.primitives().size(), 1u);
    return rec.primitives().empty() ? std::vector<Vec3>{} : rec.primitives()[0].vertices;
}

bool Has(const std::vector<Vec3>& vs, Vec3 p)
{
    return std::any_of(vs.begin(), vs.end(), [&](const Vec3& v) {
        return std::fabs(v[0] - p[0]) < 1e-12 && std::fabs(v[1] - p[1]) < 1e-12 && std::fabs(v[2] - p[2]) < 1e-12;
    });
}

} // namespace

TEST_F(PrismTest, RowsShiftTheCornersAndFacesLieHalfAboveAndBelow)
{
    CTriElement tri(Node(0, 0), Node(1, 0), Node(0, 1));
    SetComponent0(tri, 3);
    CVector noSlope;
    struct Case {
        const char* what;
        CMatrix param;
        Vec3 topOfB; // corner B = (1, 0), value 0.2, half 0.5
    } cases[] = {
        {"z row", Param({{0, 2.0, 2.0}}), {1.0, 0.0, 0.4 + 0.5}},
        {"x row", Param({{0, 1.0, 0.0}}), {1.2, 0.0, 0.5}},
        {"y row", Param({{0, -1.0, 1.0}}), {1.0, -0.2, 0.5}},
        {"skipped row", Param({{-1.0, 5.0, 2.0}, {0, 1.0, 2.0}}), {1.0, 0.0, 0.2 + 0.5}},
        {"no rows", CMatrix(), {1.0, 0.0, 0.5}},
    };
    for (Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto vs = Triangles([&] { tri.DrawValueExtrGL(c.param, 0.5, noSlope, 0); });
        ASSERT_EQ(vs.size(), 8u * 3u) << "top, bottom and three sides of two triangles";
        EXPECT_TRUE(Has(vs, c.topOfB));
        EXPECT_TRUE(Has(vs, {c.topOfB[0], c.topOfB[1], c.topOfB[2] - 1.0}));
    }
}

TEST_F(PrismTest, SlopeTiltsTopAndBottom)
{
    CTriElement tri(Node(0, 0), Node(1, 0), Node(0, 1));
    CMatrix none;
    CVector slope(2, true, 0.0);
    slope[0] = 0.1;
    const auto vs = Triangles([&] { tri.DrawValueExtrGL(none, 0.5, slope, 0); });
    EXPECT_TRUE(Has(vs, {1.0, 0.0, 0.6}));
    EXPECT_TRUE(Has(vs, {1.0, 0.0, -0.6}));
    EXPECT_TRUE(Has(vs, {0.0, 1.0, 0.5}));
}

TEST_F(PrismTest, SideFacesOnlyWhereNoElementOfTheSameNameSharesTheEdge)
{
    struct Case {
        const char* secondName;
        size_t triangles; // over both elements
    } cases[] = {{"plate", 4 + 2 * 4}, {"other", 4 + 2 * 6}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.secondName);
        CSNode* a = Node(0, 0);
        CSNode* b = Node(1, 0);
        CSNode* d = Node(0, 1);
        CSNode* e = Node(1, 1);
        auto first = std::make_unique<CTriElement>(a, b, d);
        auto second = std::make_unique<CTriElement>(b, e, d);
        first->SetName("plate");
        second->SetName(c.secondName);
        CMatrix none;
        CVector noSlope;
        const auto vs = Triangles([&] {
            first->DrawValueExtrGL(none, 0.5, noSlope, 0);
            second->DrawValueExtrGL(none, 0.5, noSlope, 0);
        });
        EXPECT_EQ(vs.size(), 3 * c.triangles);
    }
}

TEST_F(PrismTest, QuadrilateralFacesAreSplitIntoTriangles)
{
    CQuadElem quad(Node(0, 0), Node(1, 0), Node(1, 1), Node(0, 1));
    SetComponent0(quad, 4);
    CMatrix param = Param({{0, 1.0, 2.0}});
    CVector noSlope;
    const auto vs = Triangles([&] { quad.DrawValueExtrGL(param, 0.25, noSlope, 2); });
    EXPECT_EQ(vs.size(), 3u * (2 + 2 + 4 * 2));
    EXPECT_TRUE(Has(vs, {1.0, 1.0, 0.3 + 0.25}));
    EXPECT_TRUE(Has(vs, {0.0, 1.0, 0.4 - 0.25}));
}
