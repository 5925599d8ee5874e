// Beam drawing of the parametric cross-sections: prisms with outward
// normals, caps on request, colour plots, principal alignment and the local
// axes, checked through the recorded primitives.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <array>
#include <cmath>
#include <functional>
#include <memory>
#include <string>

#include "platform/ferrand/material.h"
#include "sections/kantaro.h"
#include "tests/support/gl_context.h"
#include "tests/support/gl_recorder.h"

namespace
{

using brantel::test::GLRecorder;
using brantel::test::RecordedPrimitive;
using brantel::test::Vec3;

constexpr double L = 10.0;

// A segment along the global x axis from 0 to L; section x along global y,
// section y along global z.
struct BeamFixture {
    CVector start{3};
    CVector end{3};
    CMatrix frameStart{3, 3};
    CMatrix frameEnd{3, 3};
    BeamFixture()
    {
        end[0] = L;
        for (CMatrix* m : {&frameStart, &frameEnd})
            for (int i = 0; i < 3; ++i)
                (*m)[i][i] = 1.0;
    }
};

struct ShapeCase {
    const char* name;
    std::function<CCrSectFixedGeom*()> make;
    // Whether (u, v) lies in the section (boundary included).
    std::function<bool(double, double)> inside;
    int capVertices;    // vertices of one cap
    int mantleVertices; // vertices of sides or mantles
};

bool Within(double v, double limit)
{
    return std::fabs(v) <= limit + 1e-9;
}

const ShapeCase kShapes[] = {
    {"rectangle", [] { return new CCrSectRect(2.0, 4.0); },
     [](double u, double v) { return Within(u, 2.0) && Within(v, 1.0); }, 4, 16},
    {"circle", [] { return new CCrSectCirc(1.5); },
     [](double u, double v) { return std::hypot(u, v) <= 1.5 + 1e-9; }, 128, 130},
    {"tube", [] { return new CCrSectTube(1.5, 0.5); },
     [](double u, double v) {
         const double r = std::hypot(u, v);
         return r <= 1.5 + 1e-9 && r >= 1.0 - 1e-9;
     },
     130, 260},
    {"user-defined", [] { return new CCrSectUsrDef(2.0); },
     [](double u, double v) { return std::hypot(u / 1.0, v / 2.0) <= 1.0 + 1e-9; }, 128, 130},
};

// Whether the point (x along the member, u, v) lies in the prism.
bool InPrism(const ShapeCase& c, const Vec3& p)
{
    return p[0] >= -1e-9 && p[0] <= L + 1e-9 && c.inside(p[1], p[2]);
}

int VertexCount(const GLRecorder& rec)
{
    int n = 0;
    for (const RecordedPrimitive& p : rec.primitives())
        n += static_cast<int>(p.vertices.size());
    return n;
}

class CrSectBeamTest : public brantel::test::GLTest
{
};

TEST_F(CrSectBeamTest, PrismsHaveOutwardNormalsAndCapsOnRequest)
{
    for (const ShapeCase& c : kShapes) {
        for (int caps = 0; caps < 4; ++caps) {
            const bool capStart = caps & 1, capEnd = caps & 2;
            SCOPED_TRACE(std::string(c.name) + " caps " + std::to_string(caps));
            std::unique_ptr<CCrSectFixedGeom> shape(c.make());
            BeamFixture segment;
            COGLDrawCommand command;
            GLRecorder rec;
            shape->DrawBeamGL(&command, segment.start, segment.end, segment.frameStart, segment.frameEnd,
                              false, capStart, capEnd);
            command.EndIf();
            EXPECT_TRUE(rec.balanced());
            EXPECT_EQ(VertexCount(rec),
                      c.mantleVertices + c.capVertices * (int(capStart) + int(capEnd)));
            int startCap = 0, endCap = 0;
            for (const RecordedPrimitive& prim : rec.primitives())
                for (std::size_t k = 0; k < prim.vertices.size(); ++k) {
                    const Vec3& p = prim.vertices[k];
                    const Vec3& n = prim.normals[k];
                    EXPECT_NEAR(std::hypot(n[0], n[1], n[2]), 1.0, 1e-12);
                    const double e = 1e-3;
                    const Vec3 out = {p[0] + e * n[0], p[1] + e * n[1], p[2] + e * n[2]};
                    const Vec3 in = {p[0] - e * n[0], p[1] - e * n[1], p[2] - e * n[2]};
                    EXPECT_FALSE(InPrism(c, out)) << p[0] << " " << p[1] << " " << p[2];
                    EXPECT_TRUE(InPrism(c, in)) << p[0] << " " << p[1] << " " << p[2];
                    startCap += n[0] == -1.0;
                    endCap += n[0] == 1.0;
                }
            EXPECT_EQ(startCap, capStart ? c.capVertices : 0);
            EXPECT_EQ(endCap, capEnd ? c.capVertices : 0);
        }
    }
}

TEST_F(CrSectBeamTest, ColourPlotsColourTheEnds)
{
    double red[3] = {1.0, 0.0, 0.0}, blue[3] = {0.0, 0.0, 1.0};
    for (const ShapeCase& c : kShapes) {
        SCOPED_TRACE(c.name);
        std::unique_ptr<CCrSectFixedGeom> shape(c.make());
        BeamFixture segment;
        COGLDrawCommand command;
        GLRecorder rec;
        shape->ColorPlotBeamGL(&command, segment.start, segment.end, segment.frameStart, segment.frameEnd,
                               false, true, true, red, blue);
        command.EndIf();
        if (shape->IsKindOf(RUNTIME_CLASS(CCrSectUsrDef))) {
            EXPECT_TRUE(rec.primitives().empty()) << "the user-defined shape has no plot";
            continue;
        }
        EXPECT_EQ(VertexCount(rec), c.mantleVertices + 2 * c.capVertices);
        for (const RecordedPrimitive& prim : rec.primitives())
            for (std::size_t k = 0; k < prim.vertices.size(); ++k) {
                const Vec3 expected = prim.vertices[k][0] < L / 2 ? Vec3{1, 0, 0} : Vec3{0, 0, 1};
                EXPECT_EQ(prim.colours[k], expected) << "x " << prim.vertices[k][0];
            }
    }
}

TEST_F(CrSectBeamTest, MaterialColourOnlyWithFlagAndBaseMaterial)
{
    CMaterial steel("Steel", 7.85e-9, 210000.0, 80000.0, 0.3, 1.2e-5);
    steel.SetColor(0.0, 1.0, 0.0);
    for (bool withMaterial : {false, true}) {
        for (unsigned flags : {0u, 0x8u}) {
            SCOPED_TRACE(std::to_string(withMaterial) + " " + std::to_string(flags));
            CCrSectCirc circ(1.0);
            if (withMaterial)
                circ.AddMaterial(&steel);
            BeamFixture segment;
            COGLDrawCommand command;
            command.m_uiState[0] = flags;
            glColor3d(0.25, 0.5, 0.75);
            GLRecorder rec;
            circ.DrawBeamGL(&command, segment.start, segment.end, segment.frameStart, segment.frameEnd,
                            false, true, true);
            command.EndIf();
            const Vec3 expected =
                withMaterial && flags ? Vec3{0.0, 1.0, 0.0} : Vec3{0.25, 0.5, 0.75};
            ASSERT_FALSE(rec.primitives().empty());
            for (const RecordedPrimitive& prim : rec.primitives())
                for (const Vec3& colour : prim.colours)
                    EXPECT_EQ(colour, expected);
        }
    }
}

TEST_F(CrSectBeamTest, PrincipalAlignmentTurnsTheSectionAndCentresIt)
{
    // Width 4 along the section's x, height 2 along y; principal angle
    // pi/2 and the centre of gravity at (1, 0.5).
    CCrSectRect rect(2.0, 4.0);
    rect.CCrSectComp::Rotate(M_PI / 2.0, 0.0, 0.0, 2, false);
    rect.SetParam(13, 1.0);
    rect.SetParam(14, 0.5);
    BeamFixture segment;
    COGLDrawCommand command;
    GLRecorder rec;
    rect.DrawBeamGL(&command, segment.start, segment.end, segment.frameStart, segment.frameEnd, true, false,
                    false);
    command.EndIf();

    // Rows 1 and 2 now run along global z and -y.
    for (CMatrix* m : {&segment.frameStart, &segment.frameEnd}) {
        EXPECT_NEAR((*m)[1][2], 1.0, 1e-15);
        EXPECT_NEAR((*m)[2][1], -1.0, 1e-15);
        EXPECT_EQ((*m)[0][0], 1.0);
    }
    // The caller's end points moved by -(1 row1 + 0.5 row2).
    EXPECT_NEAR(segment.start[1], 0.5, 1e-15);
    EXPECT_NEAR(segment.start[2], -1.0, 1e-15);
    EXPECT_NEAR(segment.end[0], L, 1e-15);
    EXPECT_NEAR(segment.end[2], -1.0, 1e-15);
    // The width now spans global z, the height global y.
    for (const RecordedPrimitive& prim : rec.primitives())
        for (const Vec3& p : prim.vertices) {
            EXPECT_NEAR(std::fabs(p[2] + 1.0), 2.0, 1e-12);
            EXPECT_NEAR(std::fabs(p[1] - 0.5), 1.0, 1e-12);
        }
}

TEST_F(CrSectBeamTest, LocalAxesLeaveTheFramesAsTheyWere)
{
    CCrSectTube tube(1.5, 0.5);
    BeamFixture segment;
    // A turned start frame: its values must come back bit for bit.
    segment.frameStart[0][0] = 0.6;
    segment.frameStart[0][1] = 0.8;
    segment.frameStart[1][0] = -0.8;
    segment.frameStart[1][1] = 0.6;
    const BeamFixture before = segment;
    COGLDrawCommand command;
    command.m_uiState[0] = 0x20;
    GLRecorder rec;
    tube.DrawBeamGL(&command, segment.start, segment.end, segment.frameStart, segment.frameEnd, false, true,
                    true);
    command.EndIf();
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(segment.start[i], before.start[i]);
        EXPECT_EQ(segment.end[i], before.end[i]);
        for (int k = 0; k < 3; ++k) {
            EXPECT_EQ(segment.frameStart[i][k], before.frameStart[i][k]);
            EXPECT_EQ(segment.frameEnd[i][k], before.frameEnd[i][k]);
        }
    }
    // Six arms from the two end points, each twice the diagonal of the
    // section's 3 x 3 box long.
    const double arm = 2.0 * std::sqrt(18.0);
    int arms = 0;
    for (const RecordedPrimitive& prim : rec.primitives()) {
        if (prim.mode != GL_LINES)
            continue;
        for (std::size_t k = 0; k + 1 < prim.vertices.size(); k += 2) {
            const Vec3& a = prim.vertices[k];
            const Vec3& b = prim.vertices[k + 1];
            const bool atEnd = std::hypot(a[1], a[2]) < 1e-12 && (a[0] == 0.0 || a[0] == L);
            arms +=
                atEnd && std::fabs(std::hypot(b[0] - a[0], b[1] - a[1], b[2] - a[2]) - arm) < 1e-9;
        }
    }
    EXPECT_EQ(arms, 6);
    EXPECT_TRUE(rec.balanced());
}

TEST_F(CrSectBeamTest, ShortVectorsOrFramesDrawNothing)
{
    CCrSectRect rect(1.0, 1.0);
    CVector shortStart(2), end(3);
    CMatrix frame(3, 3), small(2, 3);
    COGLDrawCommand command;
    GLRecorder rec;
    rect.DrawBeamGL(&command, shortStart, end, frame, frame, true, true, true);
    rect.DrawBeamGL(&command, end, end, small, frame, true, true, true);
    rect.DrawBeamGL(nullptr, end, end, frame, frame, false, true, true);
    command.EndIf();
    EXPECT_EQ(rec.primitives().size(), 1u) << "only the call with a full segment draws";
    EXPECT_TRUE(rec.balanced());
}

} // namespace
