// Beam drawing of the parametric cross-sections: one straight segment of a
// member drawn as a prism of the section's outline, plainly or with a
// colour at each end.
#include "sections/beams/crsectshapes.h"

#include <GL/gl.h>

#include <cmath>

#include "platform/ferrand/material.h"

namespace
{

constexpr double kTwoPi = 6.283185307179586;
// Points of a round cap, and steps of a round mantle or ring.
constexpr int kCapPoints = 128;
constexpr int kRingSteps = 64;

// One end of a segment: its point and the rows of its frame (0 the member
// axis, 1 and 2 the section's x and y).
struct End {
    const double* p;
    const double* row[3];
    const double* colour;

    // The section point (u, v) at this end.
    void Vertex(double u, double v) const
    {
        glVertex3d(p[0] + u * row[1][0] + v * row[2][0], p[1] + u * row[1][1] + v * row[2][1],
                   p[2] + u * row[1][2] + v * row[2][2]);
    }
    // The direction nu row1 + nv row2 (a mantle normal).
    void Normal(double nu, double nv) const
    {
        glNormal3d(nu * row[1][0] + nv * row[2][0], nu * row[1][1] + nv * row[2][1],
                   nu * row[1][2] + nv * row[2][2]);
    }
    // The member axis times sign (a cap normal).
    void AxisNormal(double sign) const
    {
        glNormal3d(sign * row[0][0], sign * row[0][1], sign * row[0][2]);
    }
    void Colour() const
    {
        if (colour)
            glColor3dv(colour);
    }
};

bool IsFrame(const CMatrix& m)
{
    return m.GetRows() >= 3 && m.GetColumns() >= 3;
}

// Rows 1 and 2 turned by the angle a within their plane.
void TurnRows(CMatrix& m, double a)
{
    const double c = std::cos(a), s = std::sin(a);
    for (int k = 0; k < 3; ++k) {
        const double r1 = m[1][k], r2 = m[2][k];
        m[1][k] = c * r1 + s * r2;
        m[2][k] = -s * r1 + c * r2;
    }
}

// The axis cross of a frame scaled by s at the point, the frame itself
// left as it is.
void DrawScaledAxes(CVector& at, const CMatrix& frame, double s)
{
    CMatrix scaled(3, 3);
    for (int i = 0; i < 3; ++i)
        for (int k = 0; k < 3; ++k)
            scaled[i][k] = s * frame[i][k];
    CAxis::DrawGL(at, scaled);
}

// A mantle: a strip of point pairs (start, end) around an ellipse of
// semi-axes a, b, normals radial times sign.
void MantleGL(COGLDrawCommand* command, const End& s, const End& e, double a, double b, double sign)
{
    command->BeginIf(GL_QUAD_STRIP);
    for (int i = 0; i <= kRingSteps; ++i) {
        const double t = i * kTwoPi / kRingSteps;
        const double c = std::cos(t), sn = std::sin(t);
        for (const End* end : {&s, &e}) {
            end->Colour();
            end->Normal(sign * c, sign * sn);
            end->Vertex(a * c, b * sn);
        }
    }
    command->End();
}

// A round cap: a polygon of kCapPoints points on the ellipse.
void EllipseCapGL(COGLDrawCommand* command, const End& end, double a, double b, double sign)
{
    command->BeginIf(GL_POLYGON);
    end.Colour();
    end.AxisNormal(sign);
    for (int i = 0; i < kCapPoints; ++i) {
        const double t = i * kTwoPi / kCapPoints;
        end.Vertex(a * std::cos(t), b * std::sin(t));
    }
    command->End();
}

// A ring cap: a strip of point pairs, outer then inner.
void RingCapGL(COGLDrawCommand* command, const End& end, double outer, double inner, double sign)
{
    command->BeginIf(GL_QUAD_STRIP);
    end.Colour();
    end.AxisNormal(sign);
    for (int i = 0; i <= kRingSteps; ++i) {
        const double t = i * kTwoPi / kRingSteps;
        const double c = std::cos(t), sn = std::sin(t);
        end.Vertex(outer * c, outer * sn);
        end.Vertex(inner * c, inner * sn);
    }
    command->End();
}

// A rectangular cap through the command's quadrilaterals.
void RectCapGL(COGLDrawCommand* command, const End& end, double a, double b, double sign)
{
    command->BeginIf(GL_QUADS);
    end.Colour();
    end.AxisNormal(sign);
    end.Vertex(-a, -b);
    end.Vertex(a, -b);
    end.Vertex(a, b);
    end.Vertex(-a, b);
}

// The four sides of a rectangular prism, each with its outward normal.
void RectSidesGL(COGLDrawCommand* command, const End& s, const End& e, double a, double b)
{
    // Each side: its normal (nu, nv) and its two corners.
    const double sides[4][6] = {
        {1, 0, a, -b, a, b}, {0, 1, a, b, -a, b}, {-1, 0, -a, b, -a, -b}, {0, -1, -a, -b, a, -b}};
    command->BeginIf(GL_QUADS);
    for (const auto& side : sides) {
        const End* order[4] = {&s, &s, &e, &e};
        const int corner[4] = {0, 1, 1, 0};
        for (int k = 0; k < 4; ++k) {
            order[k]->Colour();
            order[k]->Normal(side[0], side[1]);
            order[k]->Vertex(side[2 + 2 * corner[k]], side[3 + 2 * corner[k]]);
        }
    }
}

} // namespace

void CCrSectFixedGeom::PrismGL(const PrismOutline& outline, COGLDrawCommand* command,
                               CVector& start, CVector& end, CMatrix& frameStart, CMatrix& frameEnd,
                               bool alignPrincipal, bool capStart, bool capEnd,
                               const double* colourStart, const double* colourEnd)
{
    if (start.GetSize() < 3 || end.GetSize() < 3 || !IsFrame(frameStart) || !IsFrame(frameEnd))
        return;
    COGLDrawCommand own;
    if (!command)
        command = &own;
    const unsigned flags = command->m_uiState[0];

    if (flags & 0x20) {
        double xmax = 0.0, ymax = 0.0, xmin = 0.0, ymin = 0.0;
        GetMaxMinCoord(xmax, ymax, xmin, ymin);
        const double s =
            2.0 * std::sqrt((xmax - xmin) * (xmax - xmin) + (ymax - ymin) * (ymax - ymin));
        command->EndIf();
        DrawScaledAxes(start, frameStart, s);
        DrawScaledAxes(end, frameEnd, s);
    }
    if (alignPrincipal) {
        // The section's principal axes along rows 1 and 2, its centre of
        // gravity on the member's line.
        const double a = GetParam(17);
        TurnRows(frameStart, a);
        TurnRows(frameEnd, a);
        const double cx = GetCoord(0), cy = GetCoord(1);
        for (int k = 0; k < 3; ++k) {
            start[k] -= cx * frameStart[1][k] + cy * frameStart[2][k];
            end[k] -= cx * frameEnd[1][k] + cy * frameEnd[2][k];
        }
    }
    glPolygonMode(GL_FRONT_AND_BACK, command->m_uiPolyMode);
    if (flags & 0x8)
        if (const CMaterial* material = GetBaseMat())
            material->GLColor();

    const double* ps = &start[0];
    const double* pe = &end[0];
    const End s{ps, {frameStart[0], frameStart[1], frameStart[2]}, colourStart};
    const End e{pe, {frameEnd[0], frameEnd[1], frameEnd[2]}, colourEnd};
    const double a = outline.a, b = outline.b;
    switch (outline.kind) {
    case PrismOutline::kRect:
        if (capStart)
            RectCapGL(command, s, a, b, -1.0);
        if (capEnd)
            RectCapGL(command, e, a, b, 1.0);
        RectSidesGL(command, s, e, a, b);
        break;
    case PrismOutline::kEllipse:
        if (capStart)
            EllipseCapGL(command, s, a, b, -1.0);
        if (capEnd)
            EllipseCapGL(command, e, a, b, 1.0);
        MantleGL(command, s, e, a, b, 1.0);
        break;
    case PrismOutline::kRing:
        if (capStart)
            RingCapGL(command, s, a, b, -1.0);
        if (capEnd)
            RingCapGL(command, e, a, b, 1.0);
        MantleGL(command, s, e, a, a, 1.0);
        // The hole's wall faces the member axis.
        if (b > 0.0)
            MantleGL(command, s, e, b, b, -1.0);
        break;
    }
    if (command == &own)
        own.EndIf();
}

// ------------------------------------------------------------ per shape

void CCrSectFixedGeom::ColorPlotBeamGL(COGLDrawCommand*, CVector&, CVector&, CMatrix&, CMatrix&,
                                       bool, bool, bool, double*, double*)
{
}

void CCrSectRect::DrawBeamGL(COGLDrawCommand* command, CVector& start, CVector& end,
                             CMatrix& frameStart, CMatrix& frameEnd, bool alignPrincipal,
                             bool capStart, bool capEnd)
{
    // The colour plot without colours.
    CCrSectRect::ColorPlotBeamGL(command, start, end, frameStart, frameEnd, alignPrincipal,
                                 capStart, capEnd, nullptr, nullptr);
}

void CCrSectRect::ColorPlotBeamGL(COGLDrawCommand* command, CVector& start, CVector& end,
                                  CMatrix& frameStart, CMatrix& frameEnd, bool alignPrincipal,
                                  bool capStart, bool capEnd, double* colourStart,
                                  double* colourEnd)
{
    PrismGL({PrismOutline::kRect, m_dWidth / 2.0, m_dHeight / 2.0}, command, start, end, frameStart,
            frameEnd, alignPrincipal, capStart, capEnd, colourStart, colourEnd);
}

void CCrSectCirc::DrawBeamGL(COGLDrawCommand* command, CVector& start, CVector& end,
                             CMatrix& frameStart, CMatrix& frameEnd, bool alignPrincipal,
                             bool capStart, bool capEnd)
{
    // The colour plot without colours.
    CCrSectCirc::ColorPlotBeamGL(command, start, end, frameStart, frameEnd, alignPrincipal,
                                 capStart, capEnd, nullptr, nullptr);
}

void CCrSectCirc::ColorPlotBeamGL(COGLDrawCommand* command, CVector& start, CVector& end,
                                  CMatrix& frameStart, CMatrix& frameEnd, bool alignPrincipal,
                                  bool capStart, bool capEnd, double* colourStart,
                                  double* colourEnd)
{
    PrismGL({PrismOutline::kEllipse, m_dRadius, m_dRadius}, command, start, end, frameStart,
            frameEnd, alignPrincipal, capStart, capEnd, colourStart, colourEnd);
}

void CCrSectTube::DrawBeamGL(COGLDrawCommand* command, CVector& start, CVector& end,
                             CMatrix& frameStart, CMatrix& frameEnd, bool alignPrincipal,
                             bool capStart, bool capEnd)
{
    // The colour plot without colours.
    CCrSectTube::ColorPlotBeamGL(command, start, end, frameStart, frameEnd, alignPrincipal,
                                 capStart, capEnd, nullptr, nullptr);
}

void CCrSectTube::ColorPlotBeamGL(COGLDrawCommand* command, CVector& start, CVector& end,
                                  CMatrix& frameStart, CMatrix& frameEnd, bool alignPrincipal,
                                  bool capStart, bool capEnd, double* colourStart,
                                  double* colourEnd)
{
    PrismGL({PrismOutline::kRing, m_dRadius, InnerRadius()}, command, start, end, frameStart,
            frameEnd, alignPrincipal, capStart, capEnd, colourStart, colourEnd);
}

void CCrSectUsrDef::DrawBeamGL(COGLDrawCommand* command, CVector& start, CVector& end,
                               CMatrix& frameStart, CMatrix& frameEnd, bool alignPrincipal,
                               bool capStart, bool capEnd)
{
    PrismGL({PrismOutline::kEllipse, 0.5 * m_dSize, m_dSize}, command, start, end, frameStart,
            frameEnd, alignPrincipal, capStart, capEnd, nullptr, nullptr);
}
