// Result plots, model drawing and the node probe of the plate component:
// the plot each component index chooses (seen through the fringe range it
// sets), the value ranges with units, the OpenGL state of the draw modes on
// an off-screen context, the supported DOFs, the region nesting and the
// probe's values and label.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <functional>
#include <memory>
#include <set>
#include <utility>
#include <vector>

#include "app/analysis/analysis.h"
#include "femodel/strelna.h"
#include "glstyle/tincora.h"
#include "platform/dimvor/dimvor.h"
#include "platform/ferrand/ferrand.h"
#include "tests/analysis/plate_fixture.h"
#include "tests/support/gl_context.h"
#include "tests/support/gl_recorder.h"

namespace {

using namespace resultmeasures;
using brantel::test::GLRecorder;
using platetest::Counters;

// The extremes of the composite, open to the tests.
template <class Base>
class Open : public Base {
public:
    using CSectComp::m_MaxVals;
    using CSectComp::m_MaxValsExt;
    using CSectComp::m_MinVals;
    using CSectComp::m_MinValsExt;
};
using DrawComp = Open<CPlateComp>;
using DrawShell = Open<CShellComp>;

CVector Values(std::initializer_list<double> v)
{
    return platetest::VectorOf(v);
}

// Feedback of a drawing: the token of every item in order, and the
// colours of the polygon and point vertices.
struct Feedback {
    std::vector<int> tokens;
    std::vector<std::array<float, 3>> positions;
    std::vector<std::array<float, 3>> colours;
    int Count(int token) const { return static_cast<int>(std::count(tokens.begin(), tokens.end(), token)); }
};

template <class F>
Feedback Capture(F draw)
{
    std::vector<GLfloat> buffer(1 << 16);
    glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_3D_COLOR, buffer.data());
    glRenderMode(GL_FEEDBACK);
    draw();
    const int n = glRenderMode(GL_RENDER);
    Feedback out;
    auto vertex = [&](int& i) {
        out.positions.push_back({buffer[i], buffer[i + 1], buffer[i + 2]});
        out.colours.push_back({buffer[i + 3], buffer[i + 4], buffer[i + 5]});
        i += 7;
    };
    for (int i = 0; i < n;) {
        const int token = static_cast<int>(buffer[i++]);
        out.tokens.push_back(token);
        switch (token) {
        case GL_POLYGON_TOKEN: {
            const int count = static_cast<int>(buffer[i++]);
            for (int k = 0; k < count; ++k)
                vertex(i);
            break;
        }
        case GL_POINT_TOKEN:
        case GL_BITMAP_TOKEN:
        case GL_DRAW_PIXEL_TOKEN:
        case GL_COPY_PIXEL_TOKEN:
            vertex(i);
            break;
        case GL_LINE_TOKEN:
        case GL_LINE_RESET_TOKEN:
            vertex(i);
            vertex(i);
            break;
        case GL_PASS_THROUGH_TOKEN:
            ++i;
            break;
        default:
            ADD_FAILURE() << "unexpected token " << token;
            return out;
        }
    }
    return out;
}

// Drawing settings that the tests change, restored afterwards.
struct SettingsScope {
    double thin = THIN_EDGE;
    double wide = WIDE_EDGE;
    bool offset = bOffsetPolygon;
    float fact = glfOffsetFact, unit = glfOffsetUnit;
    double material[4] = {dMaterialColor[0], dMaterialColor[1], dMaterialColor[2], dMaterialColor[3]};
    float inv[3] = {glcInvBckGrnd[0], glcInvBckGrnd[1], glcInvBckGrnd[2]};
    ~SettingsScope()
    {
        THIN_EDGE = thin;
        WIDE_EDGE = wide;
        bOffsetPolygon = offset;
        glfOffsetFact = fact;
        glfOffsetUnit = unit;
        std::copy(material, material + 4, dMaterialColor);
        std::copy(inv, inv + 3, glcInvBckGrnd);
    }
};

// One plate region holding a mesh of two triangles over -0.5..0.5 of the
// context's view, in a component of the given class.
template <class Comp>
class DrawFixture : public brantel::test::GLTest {
protected:
    void SetUp() override
    {
        GLTest::SetUp();
        // The widths the renderer sets from the context's line-width range.
        THIN_EDGE = 1.0;
        WIDE_EDGE = 3.0;
        m_saved = Counters{};
        CGraph::m_pNodeList = &m_nodes;
        glDisable(GL_LIGHTING);
        glDisable(GL_CULL_FACE);
        glDisable(GL_DEPTH_TEST);
        comp = std::make_unique<Comp>();
        comp->AddMaterial(&steel);
        comp->m_iElemType = 31;
        comp->m_iMeshKind = 101;
        region = new CSectPlate(platetest::Node(-0.5, -0.5), platetest::Node(0.5, -0.5),
                                platetest::Node(0.5, 0.5), platetest::Node(-0.5, 0.5), &steel);
        region->SetThickness(0.2);
        CMeshOrganizer* mesh = platetest::RectMesh(-0.5, -0.5, 0.5, 0.5, false);
        mesh->SetNames("plate");
        platetest::GiveMesh(region, mesh);
        comp->AddTail(region);
    }
    void TearDown() override
    {
        comp.reset();
        CGraph::m_pNodeList = nullptr;
        CGraph::lIDGraph = m_saved.graph;
        CSNode::lIDnode = m_saved.node;
        CEdge::lIDedge = m_saved.edge;
        for (int i = 0; i < CElement::kMaxResIndex; ++i)
            CElement::m_strMaxStress[i] = CElement::m_strMinStress[i] = 0.0;
        CElement::m_dStaticMax = CElement::m_dStaticMin = 0.0;
        GLTest::TearDown();
    }

    // Every element holds three result vectors of count values: the
    // stresses (sx, sy, txy) and further values as given.
    void GiveResults(std::initializer_list<double> values)
    {
        const int nv = static_cast<int>(values.size());
        CElement::m_nVectors = 3;
        CElement::m_nNodeVal = nv;
        for (CElement* e : platetest::Elements(region)) {
            CMatrix m(3, nv, true, 0.0);
            for (int k = 0; k < 3; ++k) {
                int j = 0;
                for (double v : values)
                    m[k][j++] = v;
            }
            int row = 0;
            e->SetStresses(m, row);
        }
    }

    // n result components with extremes -3 (i + 1) and i + 1, and the
    // principal-extreme vectors (10, 20, 30, 40) and (-1, -2, -3, -4).
    void GiveExtremes(int n)
    {
        comp->SetResCount(static_cast<unsigned>(n));
        comp->m_MinVals.Allocate(n, true, 0.0);
        comp->m_MaxVals.Allocate(n, true, 0.0);
        for (int i = 0; i < n; ++i) {
            comp->m_MinVals[i] = -3.0 * (i + 1);
            comp->m_MaxVals[i] = i + 1;
        }
        comp->m_MaxValsExt = Values({10, 20, 30, 40});
        comp->m_MinValsExt = Values({-1, -2, -3, -4});
    }

    static void MarkRanges()
    {
        for (int i = 0; i < CElement::kMaxResIndex; ++i) {
            CElement::m_strMaxStress[i] = 99.0;
            CElement::m_strMinStress[i] = -99.0;
        }
        CElement::m_dStaticMax = 99.0;
        CElement::m_dStaticMin = -99.0;
    }

    SettingsScope m_settings;
    CMaterial steel{"Steel", 7.85e-9, 210000.0, 80000.0, 0.3, 0.0};
    std::unique_ptr<Comp> comp;
    CSectPlate* region = nullptr;
    NODELIST m_nodes;
    Counters m_saved;
};

class PlateDraw : public DrawFixture<DrawComp>
{
protected:
    // An n x n grid over x0..x0 + w, -0.9..0.9 on nodes of its own: two
    // triangles a cell, or quadrilaterals (every cell, or the first only).
    static CMeshOrganizer* Grid(double x0, double w, int n, bool quads, bool oneQuad = false)
    {
        auto* mesh = new CMeshOrganizer;
        std::vector<CSNode*> nodes;
        for (int j = 0; j <= n; ++j)
            for (int i = 0; i <= n; ++i)
                nodes.push_back(platetest::Node(x0 + w * i / n, -0.9 + 1.8 * j / n));
        const auto at = [&](int i, int j) { return nodes[static_cast<std::size_t>(j * (n + 1) + i)]; };
        for (int j = 0; j < n; ++j)
            for (int i = 0; i < n; ++i) {
                if (quads || (oneQuad && i == 0 && j == 0)) {
                    mesh->AddElement(new CQuadElem(at(i, j), at(i + 1, j), at(i + 1, j + 1), at(i, j + 1)));
                } else {
                    mesh->AddElement(new CTriElement(at(i, j), at(i + 1, j), at(i + 1, j + 1)));
                    mesh->AddElement(new CTriElement(at(i, j), at(i + 1, j + 1), at(i, j + 1)));
                }
            }
        return mesh;
    }
    // The context's pixels, every drawing call finished.
    std::vector<std::uint8_t> Pixels()
    {
        std::vector<std::uint8_t> out(static_cast<std::size_t>(gl->width() * gl->height() * 4));
        glFinish();
        glReadPixels(0, 0, gl->width(), gl->height(), GL_RGBA, GL_UNSIGNED_BYTE, out.data());
        return out;
    }
    // Pixels not in the tests' clear colour (51, 102, 153).
    static int Lit(const std::vector<std::uint8_t>& pixels)
    {
        int lit = 0;
        for (std::size_t i = 0; i < pixels.size(); i += 4)
            lit += pixels[i] != 51 || pixels[i + 1] != 102 || pixels[i + 2] != 153;
        return lit;
    }
};

} // namespace

// ------------------------------------------------------------ pure rules

TEST(ResultMeasures, ComponentIndexChoosesThePlot)
{
    const PlotRules plate;
    PlotRules shellModes;
    shellModes.arrowsLast = false;
    shellModes.arrowsSecondLast = false;
    shellModes.localVect = false;
    struct Case {
        int c, n, code, localAxes;
        PlotRules rules;
        PlotKind kind;
    } cases[] = {
        {0, 9, 81, 0, plate, PlotKind::Colour},
        {7, 9, 81, 0, plate, PlotKind::Colour},
        {8, 9, 81, 0, plate, PlotKind::Arrows},
        {7, 9, 31, 0, plate, PlotKind::Arrows}, // n - 2 of a membrane code
        {9, 9, 81, 0, plate, PlotKind::FirstPrincipal},
        {10, 9, 81, 0, plate, PlotKind::SecondPrincipal},
        {11, 9, 81, 0, plate, PlotKind::Effective},
        {12, 9, 81, 0, plate, PlotKind::Distorted},
        {30, 9, 81, 0, plate, PlotKind::Distorted},
        {2, 9, 81, 1, plate, PlotKind::LocalStress},
        {3, 9, 81, 1, plate, PlotKind::LocalVect},
        {3, 9, 61, 1, plate, PlotKind::Colour},
        {3, 9, 81, 1, shellModes, PlotKind::Colour},
        {8, 9, 81, 0, shellModes, PlotKind::Colour},
        {-1, 9, 81, 0, plate, PlotKind::None},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ClassifyPlot(c.c, c.n, c.code, c.localAxes, c.rules), c.kind) << c.c << " code " << c.code;
}

TEST(ResultMeasures, ProbeValues)
{
    EXPECT_DOUBLE_EQ(PrincipalValue(3, 1, 0, true), 3.0);
    EXPECT_DOUBLE_EQ(PrincipalValue(3, 1, 0, false), 1.0);
    EXPECT_DOUBLE_EQ(EffectiveValue(1, 0, 0, 0.0), 1.0);
    EXPECT_DOUBLE_EQ(EffectiveValue(1, 0, 0, 0.5), std::sqrt(0.75));
    // Plane strain von Mises against the three stresses written out.
    const double sx = 2, sy = -1, txy = 0.5, nu = 0.3, sz = nu * (sx + sy);
    EXPECT_NEAR(EffectiveValue(sx, sy, txy, nu),
                std::sqrt(sx * sx + sy * sy + sz * sz - sx * sy - sy * sz - sz * sx + 3 * txy * txy), 1e-12);

    // Uniaxial stress 4 along x, displacement (1, 0), seen in axes turned
    // by 90 degrees.
    const double s[5] = {4, 0, 0, 1, 0};
    const double t = M_PI / 2;
    const double expected[5] = {0, 4, 0, 0, -1};
    for (int c = 0; c < 5; ++c)
        EXPECT_NEAR(LocalValue(c, s, t), expected[c], 1e-12) << c;

    // The polar form (centre (0, 0), point (1, 0): tangential axes, t =
    // 3 pi / 2) and the linear form (slope 1: t = pi / 4).
    CVector polar = Values({0.0, 0.0});
    const double tp = CElement::LocalAngle(1.0, 0.0, true, polar);
    EXPECT_NEAR(tp, 1.5 * M_PI, 1e-12);
    EXPECT_NEAR(LocalValue(0, s, tp), 0.0, 1e-12);
    EXPECT_NEAR(LocalValue(1, s, tp), 4.0, 1e-12);
    CVector linear = Values({1.0, 0.0});
    const double tl = CElement::LocalAngle(5.0, 0.0, false, linear);
    EXPECT_NEAR(tl, M_PI / 4, 1e-12);
    EXPECT_NEAR(LocalValue(0, s, tl), 2.0, 1e-12);
    EXPECT_NEAR(LocalValue(2, s, tl), -2.0, 1e-12);
}

TEST(ResultMeasures, PrincipalDirectionAndGlyph)
{
    EXPECT_NEAR(PrincipalAngle(3, 1, 0, true, false), 0.0, 1e-12);
    EXPECT_NEAR(PrincipalAngle(3, 1, 0, false, false), M_PI / 2, 1e-12);
    EXPECT_NEAR(PrincipalAngle(0, 0, 1, true, false), M_PI / 4, 1e-12);
    EXPECT_NEAR(PrincipalAngle(3, 1, 0, true, true), M_PI / 2, 1e-12);
    // Equal principal stresses have no direction: 0, never NaN.
    for (bool first : {true, false})
        for (bool bending : {true, false})
            EXPECT_EQ(PrincipalAngle(2, 2, 0, first, bending), 0.0);

    EXPECT_EQ(ArrowGlyphType(true, false, 1.0), 2);
    EXPECT_EQ(ArrowGlyphType(false, false, 1.0), 5);
    EXPECT_EQ(ArrowGlyphType(true, true, 1.0), 6);
    EXPECT_EQ(ArrowGlyphType(false, true, 1.0), 7);
    EXPECT_EQ(ArrowGlyphType(true, false, -1.0), -2);
    EXPECT_EQ(ArrowGlyphType(false, true, -0.5), -7);
}

// ------------------------------------------------------------ plot choice and ranges

TEST_F(PlateDraw, ThePlotThatRanSetsItsSymmetricRange)
{
    comp->m_iElemType = 81;
    GiveExtremes(9);
    struct Case {
        int c;
        int entry;    // colour-array entry set, or -1 for the static range
        double range; // the symmetric maximum expected
    } cases[] = {
        {0, 0, 3.0}, {4, 4, 15.0}, {7, 7, 24.0}, {8, 8, 27.0}, {9, -1, 10.0}, {10, -1, 20.0}, {11, -1, 30.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.c);
        MarkRanges();
        comp->SetActVal(c.c);
        comp->DrawResults(2);
        for (int i = 0; i < CElement::kMaxResIndex; ++i) {
            const double want = i == c.entry ? c.range : 99.0;
            EXPECT_EQ(CElement::m_strMaxStress[i], want) << i;
            EXPECT_EQ(CElement::m_strMinStress[i], -want) << i;
        }
        EXPECT_EQ(CElement::m_dStaticMax, c.entry < 0 ? c.range : 99.0);
        EXPECT_EQ(CElement::m_dStaticMin, c.entry < 0 ? -c.range : -99.0);
    }
    // The distorted plot of a membrane code ranges over entry 3.
    comp->m_iElemType = 31;
    comp->SetActVal(12);
    MarkRanges();
    comp->DrawResults(2);
    EXPECT_EQ(CElement::m_dStaticMax, 40.0);
    EXPECT_EQ(CElement::m_dStaticMin, -40.0);
    EXPECT_EQ(CElement::m_nNodeVal, 3);
    comp->m_iElemType = 81;
    comp->DrawResults(2);
    EXPECT_EQ(CElement::m_nNodeVal, 5);
}

TEST_F(PlateDraw, NothingIsDrawnWhileBusyWithoutRegionsOrResults)
{
    GiveResults({1, 2, 3});
    comp->SetActVal(0);
    struct Case {
        const char* what;
        std::function<void()> arrange;
    } cases[] = {
        {"busy", [&] { comp->m_bBusy = true; }},
        {"no extremes", [&] { comp->m_MinVals.Allocate(0, true, 0.0); }},
        {"unknown code", [&] { comp->m_iElemType = 12; }},
        {"no regions", [&] { delete comp->CObList::RemoveHead(); }}, // last: the region is gone
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        comp->m_bBusy = false;
        comp->m_iElemType = 31;
        GiveExtremes(9);
        c.arrange();
        MarkRanges();
        for (int flags : {0, 2, 16, 2 | 16}) {
            Feedback drawn = Capture([&] { comp->DrawResults(flags); });
            EXPECT_TRUE(drawn.tokens.empty()) << flags;
        }
        Feedback picked = Capture([&] { comp->PickDrawResGL(8, true); });
        EXPECT_TRUE(picked.tokens.empty());
        EXPECT_EQ(CElement::m_strMaxStress[0], 99.0);
    }
}

TEST_F(PlateDraw, DistortedPlotOfCodes61And65ShowsNothing)
{
    GiveResults({1, 2, 3, 0.5, 0.5});
    GiveExtremes(9);
    for (int code : {61, 65, 66}) {
        comp->m_iElemType = code;
        comp->SetActVal(12);
        Feedback drawn = Capture([&] { comp->DrawResults(2); });
        EXPECT_EQ(drawn.tokens.empty(), code != 66) << code;
    }
}

TEST_F(PlateDraw, ComponentsBeyondTheRangeArraysAreNotIndexed)
{
    comp->m_iElemType = 31;
    GiveExtremes(25);
    MarkRanges();
    for (int c : {20, 22}) {
        comp->SetActVal(c);
        for (int flags : {0, 2, 16})
            comp->DrawResults(flags);
        comp->DrawResultArrows(2);
    }
    for (int i = 0; i < CElement::kMaxResIndex; ++i)
        EXPECT_EQ(CElement::m_strMaxStress[i], 99.0) << i;
}

TEST_F(PlateDraw, MaxMinResultWithUnits)
{
    comp->m_iElemType = 81;
    GiveExtremes(9);
    struct Case {
        int c;
        double max, min;
    } cases[] = {{0, 1, -3}, {8, 9, -27}, {9, 10, -1}, {12, 40, -4}, {40, 40, -4}};
    for (const Case& c : cases) {
        comp->SetActVal(c.c);
        double max = 0, min = 0;
        comp->GetMaxMinResult(max, min, nullptr);
        EXPECT_EQ(max, c.max) << c.c;
        EXPECT_EQ(min, c.min) << c.c;
    }

    // Empty principal-extreme vectors, then empty extremes: zeros.
    comp->SetActVal(9);
    comp->m_MaxValsExt.Allocate(0, true, 0.0);
    double max = 5, min = 5;
    comp->GetMaxMinResult(max, min, nullptr);
    EXPECT_EQ(max, 0.0);
    EXPECT_EQ(min, 0.0);
    comp->SetActVal(0);
    comp->m_MinVals.Allocate(0, true, 0.0);
    max = min = 5;
    comp->GetMaxMinResult(max, min, nullptr);
    EXPECT_EQ(max, 0.0);
    EXPECT_EQ(min, 0.0);

    // A force per length (unit kind -1 for component 3 of code 81) in N
    // per m: the length factor divides.
    GiveExtremes(9);
    const int oldSystem = iStandard, oldLength = iConv[0][0][0], oldForce = iConv[0][10][0];
    iStandard = 0;
    iConv[0][0][0] = 1;  // m
    iConv[0][10][0] = 0; // N
    comp->SetActVal(3);
    CString unit;
    comp->GetMaxMinResult(max, min, &unit);
    EXPECT_EQ(unit, CString("N/m"));
    EXPECT_NEAR(max, 4000.0, 1e-9);
    EXPECT_NEAR(min, -12000.0, 1e-9);
    // Kind 0 (component 6): no unit, no factor.
    comp->SetActVal(6);
    unit = "";
    comp->GetMaxMinResult(max, min, &unit);
    EXPECT_EQ(unit, CString(""));
    EXPECT_EQ(max, 7.0);
    // A plate moment per unit width (component 0, 1 Nmm/mm stored as 1)
    // reads per the moment's own length whatever the length row says:
    // kNm/m with 1e-3, Nmm/mm with 1, never kNm/mm.
    const int oldMoment = iConv[0][2][0];
    struct Moment {
        int unit, length;
        const char* label;
        double factor;
    } moments[] = {{1, 0, "kNm/m", 1e-3}, {1, 1, "kNm/m", 1e-3}, {0, 1, "Nmm/mm", 1.0}, {2, 0, "Nm/m", 1.0}};
    comp->SetActVal(0);
    for (const Moment& m : moments) {
        iConv[0][2][0] = m.unit;
        iConv[0][0][0] = m.length;
        unit = "";
        comp->GetMaxMinResult(max, min, &unit);
        EXPECT_EQ(unit, CString(m.label));
        EXPECT_NEAR(max, 1.0 * m.factor, 1e-12) << m.label;
        EXPECT_NEAR(min, -3.0 * m.factor, 1e-12) << m.label;
    }
    iConv[0][2][0] = oldMoment;
    iStandard = oldSystem;
    iConv[0][0][0] = oldLength;
    iConv[0][10][0] = oldForce;
}

// ------------------------------------------------------------ draw modes

TEST_F(PlateDraw, TwoPassPlotsFillBeforeOutlinesAndLeaveTheOffsetOff)
{
    GiveResults({0.5, -0.5, 0.25});
    GiveExtremes(9);
    bOffsetPolygon = true;
    glfOffsetFact = 2.5f;
    glfOffsetUnit = 3.5f;
    struct Case {
        int c;
        bool settingOn;
        float factor; // offset factor left behind
    } cases[] = {
        {0, true, 2.5f},  // colour plot: setting-driven
        {0, false, 7.0f}, // colour plot with the setting off: untouched
        {9, true, 2.5f},  // principal
        {9, false, 7.0f},
        {11, false, 1.0f}, // effective: always 1.0/1.0
        {12, false, 7.0f}, // distorted: setting-driven
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.c);
        bOffsetPolygon = c.settingOn;
        glPolygonOffset(7.0f, 7.0f);
        comp->SetActVal(c.c);
        Feedback drawn = Capture([&] { comp->DrawResults(2 | 16); });
        ASSERT_FALSE(drawn.tokens.empty());
        const auto firstLine = std::find_if(drawn.tokens.begin(), drawn.tokens.end(), [](int t) {
            return t == GL_LINE_TOKEN || t == GL_LINE_RESET_TOKEN;
        });
        const auto lastPolygon = std::find(drawn.tokens.rbegin(), drawn.tokens.rend(), GL_POLYGON_TOKEN);
        ASSERT_NE(firstLine, drawn.tokens.end());
        ASSERT_NE(lastPolygon, drawn.tokens.rend());
        EXPECT_LT(std::distance(drawn.tokens.begin(), lastPolygon.base()),
                  std::distance(drawn.tokens.begin(), firstLine) + 1);
        EXPECT_FALSE(glIsEnabled(GL_POLYGON_OFFSET_FILL));
        GLfloat factor = 0;
        glGetFloatv(GL_POLYGON_OFFSET_FACTOR, &factor);
        EXPECT_EQ(factor, c.factor);
    }
}

TEST_F(PlateDraw, OutlineColours)
{
    THIN_EDGE = 3.0;
    dMaterialColor[0] = 0.0;
    dMaterialColor[1] = 1.0;
    dMaterialColor[2] = 0.0;
    dMaterialColor[3] = 1.0;
    glcInvBckGrnd[0] = 1.0f;
    glcInvBckGrnd[1] = 0.0f;
    glcInvBckGrnd[2] = 0.0f;
    GiveResults({0.0, 0.0, 0.0});
    GiveExtremes(9);
    struct Case {
        int c, flags;
        std::array<std::uint8_t, 3> diagonal; // pixel on the mesh diagonal
    } cases[] = {{0, 16, {0, 255, 0}}, {0, 2 | 16, {0, 255, 0}}, {9, 2 | 16, {255, 0, 0}}, {11, 2 | 16, {255, 0, 0}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.c << " flags " << c.flags);
        glClear(GL_COLOR_BUFFER_BIT);
        comp->SetActVal(c.c);
        comp->DrawResults(c.flags);
        const auto p = gl->pixel(64, 64);
        EXPECT_EQ((std::array<std::uint8_t, 3>{p[0], p[1], p[2]}), c.diagonal);
    }
}

TEST_F(PlateDraw, ColourPlotWithoutFlagsDrawsThePrisms)
{
    GiveResults({0.5, -0.5, 0.25});
    GiveExtremes(9);
    comp->SetActVal(0);
    GLRecorder rec;
    comp->DrawResults(0);
    ASSERT_TRUE(rec.balanced());
    ASSERT_EQ(rec.primitives().size(), 1u);
    EXPECT_EQ(rec.primitives()[0].mode, static_cast<GLenum>(GL_TRIANGLES));
    // Two triangles of one name: top and bottom faces, four outer sides.
    EXPECT_EQ(rec.primitives()[0].vertices.size(), 3u * (4 + 4 * 2));
}

// ------------------------------------------------------------ model, mesh, conditions

TEST_F(PlateDraw, DrawBCsLeavesTheLineAndPointStateAsFound)
{
    for (bool stipple : {false, true})
        for (bool smooth : {false, true}) {
            SCOPED_TRACE(testing::Message() << stipple << smooth);
            stipple ? glEnable(GL_LINE_STIPPLE) : glDisable(GL_LINE_STIPPLE);
            smooth ? glEnable(GL_POINT_SMOOTH) : glDisable(GL_POINT_SMOOTH);
            glLineWidth(2.0f);
            glPointSize(4.0f);
            comp->DrawBCs(true, 1.0, 0);
            comp->DrawBCs(false, 1.0, 0);
            EXPECT_EQ(glIsEnabled(GL_LINE_STIPPLE), stipple ? GL_TRUE : GL_FALSE);
            EXPECT_EQ(glIsEnabled(GL_POINT_SMOOTH), smooth ? GL_TRUE : GL_FALSE);
            GLfloat width = 0, size = 0;
            glGetFloatv(GL_LINE_WIDTH, &width);
            glGetFloatv(GL_POINT_SIZE, &size);
            EXPECT_EQ(width, 2.0f);
            EXPECT_EQ(size, 4.0f);
        }
    // In the model's display list: the state in force where the list is
    // called is the state after it, not the one in force where it was made
    // (a list ending in that state drew the grid and bands bold and dashed
    // after an edit of edge conditions).
    glEnable(GL_LINE_STIPPLE);
    glLineStipple(1, 0x4444);
    glLineWidth(2.0f);
    const GLuint list = glGenLists(1);
    glNewList(list, GL_COMPILE);
    comp->DrawBCs(false, 1.0, 0);
    glEndList();
    glDisable(GL_LINE_STIPPLE);
    glLineStipple(2, 0x0F0F);
    glLineWidth(1.0f);
    glCallList(list);
    glDeleteLists(list, 1);
    GLfloat width = 0;
    GLint pattern = 0, factor = 0;
    glGetFloatv(GL_LINE_WIDTH, &width);
    glGetIntegerv(GL_LINE_STIPPLE_PATTERN, &pattern);
    glGetIntegerv(GL_LINE_STIPPLE_REPEAT, &factor);
    EXPECT_EQ(glIsEnabled(GL_LINE_STIPPLE), GL_FALSE);
    EXPECT_EQ(width, 1.0f);
    EXPECT_EQ(pattern, 0x0F0F);
    EXPECT_EQ(factor, 2);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(PlateDraw, ModelOffsetAndMeshDrawing)
{
    for (bool setting : {false, true}) {
        bOffsetPolygon = setting;
        glEnable(GL_POLYGON_OFFSET_FILL);
        comp->DrawModelGL(false, 1.0f, true);
        // Off: the caller's state is left alone; on: switched off after.
        EXPECT_EQ(glIsEnabled(GL_POLYGON_OFFSET_FILL), setting ? GL_FALSE : GL_TRUE);
    }
    glDisable(GL_POLYGON_OFFSET_FILL);

    glcInvBckGrnd[0] = 0.0f;
    glcInvBckGrnd[1] = 0.0f;
    glcInvBckGrnd[2] = 1.0f;
    Feedback nodes = Capture([&] { comp->DrawMeshNodes(3.0f); });
    EXPECT_EQ(nodes.Count(GL_POINT_TOKEN), 4);
    for (const auto& c : nodes.colours)
        EXPECT_EQ(c, (std::array<float, 3>{0.0f, 0.0f, 1.0f}));

    Feedback mesh = Capture([&] { comp->DrawMesh(true, false); });
    EXPECT_EQ(mesh.Count(GL_POLYGON_TOKEN), 2);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

// Mesh lines draw each element edge once as a line, with the pixels of the
// elements drawn in line mode (where every inner edge is drawn twice): a
// triangle grid, a quadrilateral grid, and a quadrilateral in a triangle
// mesh, which keeps the element drawing; two regions, both colourings. The
// lines held for drawing each frame give the same lines and pixels, and
// none for the mixed mesh (each time it is asked, the second from the
// edges kept).
TEST_F(PlateDraw, MeshLinesDrawEachEdgeOnceWithTheElementsPixels)
{
    const int n = 5;
    const struct {
        const char* name;
        int kind;
        bool quads, oneQuad;
        int lines; // the lines fed back for the two regions
    } cases[] = {
        // Every edge once.
        {"triangles", 101, false, false, 2 * (2 * n * (n + 1) + n * n)},
        {"quadrilaterals", 104, true, false, 2 * (2 * n * (n + 1))},
        // The elements' own drawing: the quadrilateral's fourth corner
        // shifts the triangles of the vertex stream, 99 triangles of three
        // lines each.
        {"a quadrilateral among triangles", 101, false, true, 3 * ((4 + 3 * (2 * n * n - 2) + 3 * 2 * n * n) / 3)},
    };
    auto* second = new CSectPlate(platetest::Node(0.0, -0.9), platetest::Node(0.9, -0.9),
                                  platetest::Node(0.9, 0.9), platetest::Node(0.0, 0.9), &steel);
    comp->AddTail(second);
    // A background that no line colour (black or white for a grey
    // material) shares.
    glClearColor(0.2f, 0.4f, 0.6f, 1.0f);
    for (const auto& c : cases)
        for (bool colour : {false, true}) {
            SCOPED_TRACE(testing::Message() << c.name << (colour ? " in colour" : ""));
            comp->m_iMeshKind = c.kind;
            delete region->GetMesh();
            platetest::GiveMesh(region, Grid(-0.9, 0.9, n, c.quads, c.oneQuad));
            delete second->GetMesh();
            platetest::GiveMesh(second, Grid(0.0, 0.9, n, c.quads));
            // The elements in line mode, as the mesh drawing did it.
            glClear(GL_COLOR_BUFFER_BIT);
            glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
            glBegin(c.quads ? GL_QUADS : GL_TRIANGLES);
            glNormal3d(0.0, 0.0, 1.0);
            region->GLDrawMesh(colour);
            second->GLDrawMesh(colour);
            glEnd();
            const std::vector<std::uint8_t> elements = Pixels();
            glClear(GL_COLOR_BUFFER_BIT);
            comp->DrawMesh(false, colour);
            EXPECT_TRUE(Pixels() == elements);
            EXPECT_GT(Lit(elements), 500) << "the lines cover pixels";
            const Feedback fed = Capture([&] { comp->DrawMesh(false, colour); });
            EXPECT_EQ(fed.Count(GL_LINE_TOKEN) + fed.Count(GL_LINE_RESET_TOKEN), c.lines);
            for (int ask = 0; ask < 2; ++ask) {
                CMeshLines held;
                const bool once = comp->CollectMeshLines(colour, held);
                EXPECT_EQ(once, !c.oneQuad);
                if (!once) {
                    EXPECT_TRUE(held.xyz.empty() && held.runs.empty());
                    continue;
                }
                glClear(GL_COLOR_BUFFER_BIT);
                CPlateComp::DrawMeshLines(held);
                EXPECT_TRUE(Pixels() == elements);
                const Feedback again = Capture([&] { CPlateComp::DrawMeshLines(held); });
                EXPECT_EQ(again.Count(GL_LINE_TOKEN) + again.Count(GL_LINE_RESET_TOKEN), c.lines);
            }
        }
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
}

// A colour plot of many elements, whose walk over the elements runs beside
// the sending of its triangles, sends the triangles its elements give, with
// their colours and normals. Raised by the scale, one by one in element
// order in one primitive; flat in the plan state, as triangle strips (about
// one vertex a triangle), each triangle turned as its element turns it.
TEST_F(PlateDraw, LargeColourPlotSendsEachElementsTriangles)
{
    delete region->GetMesh();
    platetest::GiveMesh(region, Grid(-0.9, 1.8, 60, false)); // 7200 triangles
    GiveResults({0.5, -0.5, 0.25});
    int i = 0;
    for (CElement* e : platetest::Elements(region)) {
        // Each node a value of its own across the fringe range (the
        // smoothed plot: neighbours agree at the nodes they share).
        CMatrix m(3, 3, true, 0.0);
        POSITION pos = e->GetHeadPosition();
        for (int k = 0; k < 3 && pos; ++k) {
            const CSNode* node = e->GetNextNode(pos);
            m[k][0] = 3.0 * std::sin(3.7 * node->x + 1.3 * node->y + 2.1 * node->x * node->y);
        }
        int row = 0;
        e->SetStresses(m, row);
        ++i;
    }
    ASSERT_EQ(i, 7200);
    GiveExtremes(9);
    comp->SetActVal(0);
    comp->SetFactor(0.1);
    const auto flatten = [](const std::vector<brantel::test::RecordedPrimitive>& primitives) {
        brantel::test::RecordedPrimitive all;
        for (const auto& p : primitives) {
            all.vertices.insert(all.vertices.end(), p.vertices.begin(), p.vertices.end());
            all.normals.insert(all.normals.end(), p.normals.begin(), p.normals.end());
            all.colours.insert(all.colours.end(), p.colours.begin(), p.colours.end());
        }
        return all;
    };
    for (int flags : {2 | 128, 2}) {
        SCOPED_TRACE(testing::Message() << "flags " << flags);
        const bool plan = flags & 128;
        std::vector<brantel::test::RecordedPrimitive> drawn, alone;
        {
            GLRecorder plot;
            comp->DrawResults(flags);
            ASSERT_TRUE(plot.balanced());
            drawn = plot.primitives();
        }
        {
            GLRecorder each;
            for (CElement* e : platetest::Elements(region))
                e->GLColorPlot(0, flags, comp->GetFactor());
            alone = each.primitives();
        }
        const auto triangles = brantel::test::Triangles(drawn);
        ASSERT_EQ(triangles.size(), 7200u);
        EXPECT_TRUE(triangles == brantel::test::Triangles(alone));
        const brantel::test::RecordedPrimitive all = flatten(drawn), each = flatten(alone);
        if (plan) {
            EXPECT_LT(all.vertices.size(), 7200u * 13 / 10) << "strips, not a triangle list";
            for (const auto& p : drawn)
                EXPECT_TRUE(p.mode == GL_TRIANGLE_STRIP || p.mode == GL_TRIANGLES);
            for (const auto& normal : all.normals)
                EXPECT_EQ(normal, (brantel::test::Vec3{0.0, 0.0, 1.0}));
        } else {
            ASSERT_EQ(drawn.size(), 1u);
            EXPECT_EQ(drawn[0].mode, static_cast<GLenum>(GL_TRIANGLES));
            EXPECT_TRUE(all.vertices == each.vertices);
            EXPECT_TRUE(all.colours == each.colours);
            EXPECT_TRUE(all.normals == each.normals);
        }
        const std::set<brantel::test::Vec3> colours(all.colours.begin(), all.colours.end());
        EXPECT_GT(colours.size(), 100u) << "the corners span the fringe colours";
    }
}

// The mesh lines keep their table of edges from one drawing to the next
// only while the mesh stands as it was: with an element taken out of the
// mesh, put back at its end, or a mesh of its own in the region's place,
// each drawing has every edge of the mesh as it stands once, in the mesh
// lines, in the lines held for drawing each frame and in the plan
// outlines.
TEST_F(PlateDraw, MeshLinesFollowTheMeshAsItStands)
{
    const int n = 4;
    delete region->GetMesh();
    platetest::GiveMesh(region, Grid(-0.9, 1.8, n, false));
    GiveExtremes(9);
    comp->SetActVal(0);
    GiveResults({0.5, -0.5, 0.25});
    const auto meshLines = [&] {
        const Feedback fed = Capture([&] { comp->DrawMesh(false, false); });
        return fed.Count(GL_LINE_TOKEN) + fed.Count(GL_LINE_RESET_TOKEN);
    };
    const auto heldLines = [&] {
        CMeshLines held;
        EXPECT_TRUE(comp->CollectMeshLines(false, held));
        const Feedback fed = Capture([&] { CPlateComp::DrawMeshLines(held); });
        return fed.Count(GL_LINE_TOKEN) + fed.Count(GL_LINE_RESET_TOKEN);
    };
    const auto planLines = [&] {
        const Feedback fed = Capture([&] { comp->DrawResults(16 | 128); });
        return fed.Count(GL_LINE_TOKEN) + fed.Count(GL_LINE_RESET_TOKEN);
    };
    // The edges of the mesh as it stands, counted apart.
    const auto edges = [&] {
        std::set<std::pair<const CSNode*, const CSNode*>> set;
        for (CElement* e : platetest::Elements(region))
            for (int k = 0; k < 3; ++k)
                set.insert(std::minmax<const CSNode*>(e->GetNode(k), e->GetNode((k + 1) % 3)));
        return static_cast<int>(set.size());
    };
    const int all = 2 * n * (n + 1) + n * n;
    ASSERT_EQ(edges(), all);
    for (int pass = 0; pass < 2; ++pass) {
        EXPECT_EQ(meshLines(), all);
        EXPECT_EQ(heldLines(), all);
        EXPECT_EQ(planLines(), all);
    }
    // The first element out: its edges on the border go.
    CMeshOrganizer* mesh = region->GetMesh();
    CElement* first = mesh->GetHeadElem();
    ASSERT_TRUE(mesh->RemoveElem(first));
    const int fewer = edges();
    EXPECT_LT(fewer, all);
    EXPECT_EQ(heldLines(), fewer);
    EXPECT_EQ(meshLines(), fewer);
    EXPECT_EQ(planLines(), fewer);
    mesh->AddElement(first);
    EXPECT_EQ(heldLines(), all);
    EXPECT_EQ(meshLines(), all);
    EXPECT_EQ(planLines(), all);
    // A finer mesh in its place.
    delete region->GetMesh();
    platetest::GiveMesh(region, Grid(-0.9, 1.8, n + 1, false));
    GiveResults({0.5, -0.5, 0.25});
    const int finer = 2 * (n + 1) * (n + 2) + (n + 1) * (n + 1);
    EXPECT_EQ(edges(), finer);
    EXPECT_EQ(heldLines(), finer);
    EXPECT_EQ(meshLines(), finer);
    EXPECT_EQ(planLines(), finer);
}

// The colour plot's outlines in the plan state draw each element edge of
// a triangle mesh once as a line, with the pixels of the elements' own
// outlines (where every inner edge is drawn twice), alone and after the
// fill; with heights, or over a quadrilateral mesh, the elements' own
// drawing stays (a quadrilateral's outline is its own primitive).
TEST_F(PlateDraw, PlanOutlinesDrawEachEdgeOnceWithTheElementsPixels)
{
    const int n = 6;
    const int edges = 2 * n * (n + 1) + n * n;
    const struct {
        const char* name;
        int flags;
        bool quads;
        int lines; // fed back by the outline pass
    } cases[] = {
        {"plan outlines", 16 | 128, false, edges},
        {"plan, filled and outlined", 2 | 16 | 128, false, edges},
        // The elements' own outlines: three lines per triangle, four per
        // quadrilateral.
        {"outlines with heights", 16, false, 3 * 2 * n * n},
        {"plan outlines of quadrilaterals", 16 | 128, true, 4 * n * n},
        {"quadrilaterals filled and outlined", 2 | 16, true, 4 * n * n},
    };
    GiveExtremes(9);
    comp->SetFactor(0.2);
    comp->SetActVal(0);
    glClearColor(0.2f, 0.4f, 0.6f, 1.0f);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        delete region->GetMesh();
        platetest::GiveMesh(region, Grid(-0.9, 1.8, n, c.quads));
        GiveResults({0.5, -0.5, 0.25});
        // The elements' own outline pass.
        glClear(GL_COLOR_BUFFER_BIT);
        glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
        glColor4dv(dMaterialColor);
        region->ColorPlot(0, (c.flags | 16) & ~2, comp->GetFactor());
        glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
        const std::vector<std::uint8_t> elements = Pixels();
        EXPECT_GT(Lit(elements), 500) << "the lines cover pixels";
        glClear(GL_COLOR_BUFFER_BIT);
        comp->DrawResults((c.flags | 16) & ~2);
        EXPECT_TRUE(Pixels() == elements);
        const Feedback fed = Capture([&] { comp->DrawResults(c.flags); });
        EXPECT_EQ(fed.Count(GL_LINE_TOKEN) + fed.Count(GL_LINE_RESET_TOKEN), c.lines);
    }
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
}

TEST(PlateSupports, SupportedDOFsByCodeAndKind)
{
    struct Case {
        int code, kind;
        std::vector<double> dofs;
    } cases[] = {
        {33, 2, {1, 2, 3, 4}}, {31, 1, {2}},    {46, 4, {1}},       {61, 4, {}},        {65, 2, {1, 2, 3}},
        {66, 4, {2}},          {81, 1, {1, 2, 4}}, {85, 2, {1, 2, 3, 4, 5}}, {75, 4, {3}},
        // Unknown kinds and codes answer nothing, whatever came before.
        {61, 3, {}},           {99, 2, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.code << " kind " << c.kind);
        CPlateComp::GetSupportDOFs(81, 2); // a non-empty answer first
        const CVector v(*CPlateComp::GetSupportDOFs(c.code, c.kind));
        const int n = static_cast<int>(c.dofs.size());
        ASSERT_EQ(v.GetSize(), 2 * n);
        for (int i = 0; i < n; ++i) {
            EXPECT_EQ(v[i], c.dofs[static_cast<size_t>(i)]);
            EXPECT_EQ(v[n + i], 0.0);
        }
    }
}

// ------------------------------------------------------------ region nesting

class RegionNesting : public platetest::PlateTest {
protected:
    void SetUp() override
    {
        PlateTest::SetUp();
        comp = std::make_unique<DrawComp>();
    }
    void TearDown() override
    {
        comp.reset();
        PlateTest::TearDown();
    }
    CSectPlate* Top(double x0, double y0, double x1, double y1)
    {
        CSectPlate* r = Rect(x0, y0, x1, y1, nullptr);
        comp->AddTail(static_cast<CSection*>(r));
        return r;
    }
    bool InComposite(CSectArea* r) { return comp->CObList::Find(r) != nullptr; }
    static bool Holds(CSectArea* outer, CSectArea* r)
    {
        return outer->GetSubList() && outer->GetSubList()->Find(r);
    }
    // How many lists hold r, over the composite and every region's list.
    int Lists(CSectArea* r, const std::vector<CSectArea*>& all)
    {
        int n = InComposite(r) ? 1 : 0;
        for (CSectArea* a : all)
            n += Holds(a, r) ? 1 : 0;
        return n;
    }
    std::unique_ptr<DrawComp> comp;
};

TEST_F(RegionNesting, DraggedOutBecomesTopLevelOrGoesOneLevelUp)
{
    CSectPlate* outer = Top(0, 0, 10, 10);
    CSectPlate* inner = Rect(20, 20, 22, 22, nullptr); // dragged outside
    outer->InsertSubSect(inner);
    comp->UpdateRegionNesting(inner);
    EXPECT_TRUE(InComposite(inner));
    EXPECT_EQ(inner->GetOuterSect(), nullptr);
    EXPECT_FALSE(Holds(outer, inner));

    CSectPlate* middle = Rect(1, 1, 5, 5, nullptr);
    comp->Remove(static_cast<CSection*>(inner));
    delete inner;
    outer->InsertSubSect(middle);
    CSectPlate* deepest = Rect(6, 6, 7, 7, nullptr); // out of middle, inside outer
    middle->InsertSubSect(deepest);
    comp->UpdateRegionNesting(deepest);
    EXPECT_EQ(deepest->GetOuterSect(), outer);
    EXPECT_TRUE(Holds(outer, deepest));
    EXPECT_FALSE(Holds(middle, deepest));
    EXPECT_FALSE(InComposite(deepest));
}

TEST_F(RegionNesting, MovedIntoASiblingOrAroundSiblings)
{
    CSectPlate* outer = Top(0, 0, 10, 10);
    CSectPlate* sibling = Rect(1, 1, 5, 5, nullptr);
    CSectPlate* moved = Rect(2, 2, 3, 3, nullptr);
    outer->InsertSubSect(sibling);
    outer->InsertSubSect(moved);
    comp->UpdateRegionNesting(moved);
    EXPECT_TRUE(Holds(sibling, moved));
    EXPECT_FALSE(Holds(outer, moved));

    // A region placed around a sibling takes it in.
    CSectPlate* around = Rect(6, 6, 9, 9, nullptr);
    CSectPlate* small = Rect(7, 7, 8, 8, nullptr);
    outer->InsertSubSect(small);
    outer->InsertSubSect(around);
    comp->UpdateRegionNesting(around);
    EXPECT_TRUE(Holds(around, small));
    EXPECT_FALSE(Holds(outer, small));
    EXPECT_TRUE(Holds(outer, around));
}

TEST_F(RegionNesting, TopLevelRegionEndsInOneListOnly)
{
    // Two overlapping top-level regions both contain the new one's first
    // node: the first in list order takes it.
    CSectPlate* a = Top(0, 0, 10, 10);
    CSectPlate* b = Top(5, 0, 15, 10);
    CSectPlate* added = Top(6, 1, 7, 2);
    CSectPlate* inside = Top(30, 30, 31, 31);
    comp->UpdateRegionNesting(added);
    EXPECT_TRUE(Holds(a, added));
    EXPECT_EQ(Lists(added, {a, b, added, inside}), 1);

    // A top-level region whose first node lies inside the updated one is
    // moved into it.
    CSectPlate* big = Top(20, 20, 40, 40);
    comp->UpdateRegionNesting(big);
    EXPECT_TRUE(Holds(big, inside));
    EXPECT_EQ(Lists(inside, {a, b, added, inside, big}), 1);
    EXPECT_TRUE(InComposite(big));
}

// ------------------------------------------------------------ probe

namespace {

// A bitmap font of 256 empty glyphs: each character one bitmap token.
struct BitmapFont {
    BitmapFont()
    {
        base = glGenLists(256);
        static const GLubyte dot[4] = {0x80, 0, 0, 0};
        for (int i = 0; i < 256; ++i) {
            glNewList(base + i, GL_COMPILE);
            glBitmap(1, 1, 0, 0, 1, 0, dot);
            glEndList();
        }
        glListBase(base);
    }
    ~BitmapFont()
    {
        glListBase(0);
        glDeleteLists(base, 256);
    }
    GLuint base = 0;
};

} // namespace

TEST_F(PlateDraw, ProbeLabelsTheNodeAndRestoresTheDepthTest)
{
    BitmapFont font;
    GiveResults({3, 1, 0});
    GiveExtremes(9);
    comp->SetActVal(9);
    CSNode* node = platetest::Elements(region)[0]->GetNode(0);
    struct Case {
        int labelMode, elementIndex;
        bool planar;
        int bitmaps; // -1: nothing drawn at all
    } cases[] = {
        {1, 0, true, 3},   // " 17"
        {1, 0, false, 3},
        {2, 0, true, 0},   // no text, markers only
        {1, 5, true, -1},  // past the node's element list
        {1, -1, false, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.labelMode << " element " << c.elementIndex << " planar " << c.planar);
        glEnable(GL_DEPTH_TEST);
        glEnable(GL_LIGHTING);
        Feedback drawn = Capture([&] { comp->DrawResultVectors(node, c.labelMode, c.elementIndex, 17, c.planar); });
        if (c.bitmaps < 0) {
            EXPECT_TRUE(drawn.tokens.empty());
        } else {
            EXPECT_EQ(drawn.Count(GL_BITMAP_TOKEN), c.bitmaps);
            EXPECT_GE(drawn.Count(GL_POINT_TOKEN), 4) << "node point and three markers";
        }
        EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
        EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
    }
    glDisable(GL_DEPTH_TEST);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(PlateDraw, ProbeArrowFollowsTheSignOfTheValue)
{
    GiveExtremes(9);
    CSNode* node = platetest::Elements(region)[0]->GetNode(0);
    comp->SetFactor(0.5);
    comp->SetActVal(9);
    // A positive and a negative first principal stress: the glyphs differ
    // (type 2 against -2), so the drawn arrows do.
    GiveResults({3, 1, 0});
    Feedback positive = Capture([&] { comp->DrawResultVectors(node, 2, 0, 0, true); });
    GiveResults({-3, -5, 0});
    Feedback negative = Capture([&] { comp->DrawResultVectors(node, 2, 0, 0, true); });
    EXPECT_GT(positive.Count(GL_POLYGON_TOKEN), 0);
    EXPECT_NE(positive.positions, negative.positions);
    glDisable(GL_DEPTH_TEST);
}

// ------------------------------------------------------------ shell component

namespace {

// Buckling results (state 3) of a membrane model with M = 3 modes: nine
// result components and four principal extremes (S1 + S2 = 13).
class ShellDraw : public DrawFixture<DrawShell> {
protected:
    void SetUp() override
    {
        DrawFixture<DrawShell>::SetUp();
        GiveExtremes(9);
        comp->m_iResultState = 3;
        comp->m_nModesAccepted = 3;
        comp->SetBucklingCtrl(CShellComp::kModes, 3);
        comp->SetBucklingCtrl(CShellComp::kBucklingType, 81);
        CElement::m_nNodeVal = 3;
    }
};

} // namespace

TEST_F(ShellDraw, QuantityAndUnitOfEachComponent)
{
    struct Case {
        int state, c;
        int quantity, unit;
    } cases[] = {
        {3, 0, 8, 13},  {3, 4, 11, 3},  // at most nv + 1: the component itself
        {3, 5, 11, 0},  {3, 7, 11, 0},  // mode shapes
        {3, 8, 8, 13},  {3, 11, 11, 3}, // looked up as c + 2 - M
        {3, 13, 11, 0},                 // beyond S1 + S2
        {0, 5, 1, 1},   {0, 3, 11, 3},  // no buckling results: the component itself
        {1, 3, 1, 3},                   // membrane results: quantity by the buckling code
        {1, 9, 10, 13},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "state " << c.state << " c " << c.c);
        comp->m_iResultState = c.state;
        comp->SetActVal(c.c);
        EXPECT_EQ(comp->GetResultQuantity(), c.quantity);
        EXPECT_EQ(comp->GetResultUnit(c.c), c.unit);
    }
}

TEST_F(ShellDraw, ModeShapeRangeIsScaledAndSymmetric)
{
    // c = 13: the base reads the last principal extremes (40, -4); A = 40,
    // B = the magnitude of component 13 - 13 + 5 = 5 (18).
    comp->SetActVal(13);
    double max = 0, min = 0;
    comp->GetMaxMinResult(max, min, nullptr);
    EXPECT_EQ(max, 720.0);
    EXPECT_EQ(min, -720.0);
    // Below S1 + S2 the base range stands.
    comp->SetActVal(2);
    comp->GetMaxMinResult(max, min, nullptr);
    EXPECT_EQ(max, 3.0);
    EXPECT_EQ(min, -9.0);
}

TEST_F(ShellDraw, DistortedModeShapeMovesThePrismsByTheParameterRows)
{
    comp->SetFactor(0.5);
    GiveResults({0.0, 0.0, 0.0});
    for (CElement* e : platetest::Elements(region))
        for (POSITION p = e->GetHeadPosition(); p;) {
            CSNode* n = e->GetNextNode(p);
            n->AllocateValue(3);
            n->SetValue(0.01, 0); // ux, component 3
            n->SetValue(0.0, 1);  // uy, component 4
            n->SetValue(0.01, 2); // component 5
        }
    struct Case {
        double max5;   // m_MaxVals[5]; m_MinVals[5] is -18
        double xOfA;   // top corner of node (-0.5, -0.5)
    } cases[] = {
        {6.0, -0.5 - 18 * 0.5 * 0.01},   // |min| >= max: the in-plane rows turn
        {100.0, -0.5 + 100 * 0.5 * 0.01},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.max5);
        comp->m_MaxVals[5] = c.max5;
        comp->SetActVal(13);
        GLRecorder rec;
        comp->DrawResults(2);
        ASSERT_TRUE(rec.balanced());
        ASSERT_EQ(rec.primitives().size(), 1u);
        const auto& vs = rec.primitives()[0].vertices;
        // z: factor x (entry 3 of the principal extremes, 40) x 0.01 plus
        // half the thickness.
        const brantel::test::Vec3 top{c.xOfA, -0.5, 0.5 * 40 * 0.01 + 0.1};
        EXPECT_TRUE(std::any_of(vs.begin(), vs.end(), [&](const brantel::test::Vec3& v) {
            return std::fabs(v[0] - top[0]) < 1e-12 && std::fabs(v[1] - top[1]) < 1e-12 &&
                   std::fabs(v[2] - top[2]) < 1e-12;
        }));
    }
    // The last index with a flag: the plate component's distorted mesh,
    // one primitive per element.
    comp->SetActVal(12);
    GLRecorder rec;
    comp->DrawResults(2);
    EXPECT_EQ(rec.primitives().size(), 2u);
}

TEST_F(ShellDraw, ShortPrincipalExtremesGiveAZeroRange)
{
    comp->m_MaxValsExt = Values({10, 20});
    comp->m_MinValsExt = Values({-1, -2});
    CElement::m_dStaticMax = 99.0;
    CElement::m_dStaticMin = -99.0;
    comp->SetActVal(13);
    comp->DrawDistorted(2, 1.0);
    EXPECT_EQ(CElement::m_dStaticMax, 0.0);
    EXPECT_EQ(CElement::m_dStaticMin, 0.0);
}

TEST_F(ShellDraw, ColourPlotWithoutFlagsAndOffsetOfTwoPasses)
{
    GiveResults({0.5, -0.5, 0.25});
    comp->m_iResultState = 1;
    comp->SetActVal(0);
    {
        GLRecorder rec;
        comp->DrawResults(0);
        // The elements' own colour plot, no prisms: two triangles.
        std::size_t triangles = 0;
        for (const auto& primitive : rec.primitives()) {
            EXPECT_EQ(primitive.mode, static_cast<GLenum>(GL_TRIANGLES));
            triangles += primitive.vertices.size() / 3;
        }
        EXPECT_EQ(triangles, 2u) << "the elements' own colour plot, no prisms";
    }
    bOffsetPolygon = false;
    glPolygonOffset(7.0f, 7.0f);
    comp->DrawResults(2 | 16);
    GLfloat factor = 0;
    glGetFloatv(GL_POLYGON_OFFSET_FACTOR, &factor);
    EXPECT_EQ(factor, 1.0f);
    EXPECT_FALSE(glIsEnabled(GL_POLYGON_OFFSET_FILL));
}
