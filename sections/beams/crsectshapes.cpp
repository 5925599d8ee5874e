#include "sections/beams/crsectshapes.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>

#include "platform/ferrand/material.h"

IMPLEMENT_SERIAL_ABSTRACT(CCrSectFixedGeom, CCrSectComp, VERSIONABLE_SCHEMA | 0)
IMPLEMENT_SERIAL(CCrSectRect, CCrSectFixedGeom, VERSIONABLE_SCHEMA | 1)
IMPLEMENT_SERIAL(CCrSectCirc, CCrSectFixedGeom, VERSIONABLE_SCHEMA | 1)
IMPLEMENT_SERIAL(CCrSectTube, CCrSectCirc, VERSIONABLE_SCHEMA | 1)
IMPLEMENT_SERIAL(CCrSectUsrDef, CCrSectFixedGeom, VERSIONABLE_SCHEMA | 1)

namespace
{

constexpr double kPi = 3.141592653589793;
constexpr double kTwoPi = 6.283185307179586;
// pi g: the weight per unit length of a circle is rho r^2 times this.
constexpr double kPiGravity = 30.819023931715872;
// Shear stiffness of a circle: G r^2 times pi 6/7.
constexpr double kCircleShearArea = 2.692793703076965;
// Shear factors and the shear area ratios that go with them.
constexpr double kRectShearFactor = 1.2;
constexpr double kRectShearRatio = 0.8333333333333334;
constexpr double kCircleShearFactor = 1.1666666666666667;
constexpr double kTubeShearFactor = 1.95984;
constexpr double kTubeShearRatio = 0.5102457343456609;
// Points of the drawn outlines.
constexpr int kCirclePoints = 128;
constexpr int kRingSteps = 64;

void Serial(CArchive& ar, double& v)
{
    if (ar.IsStoring())
        ar << v;
    else
        ar >> v;
}

// A closed polygon of n points on the ellipse with semi-axes rx along x and
// ry along y, in the plane z = 0.
void EllipseGL(double rx, double ry, int n)
{
    glBegin(GL_POLYGON);
    for (int i = 0; i < n; ++i) {
        const double a = i * kTwoPi / n;
        glVertex3d(rx * std::cos(a), ry * std::sin(a), 0.0);
    }
    glEnd();
}

} // namespace

// ------------------------------------------------------------ CCrSectFixedGeom

CCrSectFixedGeom::~CCrSectFixedGeom() = default;

void CCrSectFixedGeom::MakeReferencePoints(double d)
{
    CSNode* origin = new CSNode(0.0, 0.0, 0.0, nullptr, 0);
    origin->SetID(kOriginID);
    CSNode* xNode = new CSNode(d, 0.0, 0.0, nullptr, 0);
    CSNode* zNode = new CSNode(0.0, 0.0, d, nullptr, 0);
    m_pShearNode = new CSNode(0.0, 0.0, 0.0, nullptr, 0);
    CSNode::lIDnode -= 3;
    m_pAxis = new CAxis(origin, xNode, zNode);
}

void CCrSectFixedGeom::SerializeOffsets(CArchive& ar)
{
    Serial(ar, m_dOffX);
    Serial(ar, m_dOffY);
}

template <class F> void CCrSectFixedGeom::DrawShapeGL(F outline)
{
    const bool offset = BeginPolygonOffsetGL();
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    if (const CMaterial* material = GetBaseMat())
        material->GLColor();
    glNormal3d(0.0, 0.0, 1.0);
    outline();
    DrawPAxisGL();
    EndPolygonOffsetGL(offset);
}

bool CCrSectFixedGeom::GetCommonParam(unsigned index, double shearFactor, double& value)
{
    switch (index) {
    case 9:
    case 10:
        value = shearFactor;
        return true;
    case 15:
    case 16:
        value = GetCoord(index - 13);
        return true;
    case 17:
        value = m_dPrincAngle;
        return true;
    case 33:
        value = BaseModulus();
        return true;
    case 34:
        value = BaseShearModulus();
        return true;
    default:
        return false;
    }
}

double CCrSectFixedGeom::Density()
{
    const CMaterial* material = GetBaseMat();
    return material ? material->GetRho() : 0.0;
}

void CCrSectFixedGeom::Copy(CSectComp*&, bool) {}

void CCrSectFixedGeom::RemoveNode(CSNode*) {}

void CCrSectFixedGeom::Rotate(double, double, double, unsigned, bool) {}

void CCrSectFixedGeom::PickDrawResGL(int, bool) {}

bool CCrSectFixedGeom::PreCalc(CStringArray*, CStringArray*, int)
{
    return false;
}

bool CCrSectFixedGeom::Calculate(CStringArray*, CStringArray*)
{
    return false;
}

void CCrSectFixedGeom::Translate(double dx, double dy, double dz)
{
    m_dOffX += dx;
    m_dOffY += dy;
    CCrSectComp::Translate(dx, dy, dz);
}

void CCrSectFixedGeom::DrawResGL(unsigned) {}

bool CCrSectFixedGeom::GetMaxMinActStress(double&, double&)
{
    return false;
}

void CCrSectFixedGeom::GetModelInfo(int*) {}

CMaterial* CCrSectFixedGeom::GetBaseMat()
{
    return m_MaterialList.IsEmpty() ? nullptr : static_cast<CMaterial*>(m_MaterialList.GetHead());
}

// ------------------------------------------------------------ CCrSectRect

CCrSectRect::CCrSectRect(double height, double width) : m_dHeight(height), m_dWidth(width)
{
    MakeReferencePoints(std::max(height, width));
}

CCrSectRect::~CCrSectRect() = default;

void CCrSectRect::Serialize(CArchive& ar)
{
    CCrSectComp::Serialize(ar);
    Serial(ar, m_dHeight);
    Serial(ar, m_dWidth);
    SerializeOffsets(ar);
}

double CCrSectRect::CalcArea()
{
    m_dArea = m_dWidth * m_dHeight;
    return m_dArea;
}

double CCrSectRect::TorsionConstant() const
{
    // a the longer, c the shorter side.
    const double a = m_dWidth < m_dHeight ? m_dHeight : m_dWidth;
    const double c = m_dWidth < m_dHeight ? m_dWidth : m_dHeight;
    if (a == 0.0)
        return 0.0;
    const double q = c / a;
    return a * c * c * c / 3.0 * (1.0 - 0.63 * q * (1.0 - q * q * q * q / 12.0));
}

double CCrSectRect::GetParam(unsigned index)
{
    double value = 0.0;
    if (GetCommonParam(index, kRectShearFactor, value))
        return value;
    const double b = m_dWidth;
    const double h = m_dHeight;
    const double area = CalcArea();
    const double iy = b * h * h * h / 12.0;
    const double iz = h * b * b * b / 12.0;
    switch (index) {
    case 0:
    case 1:
        return area;
    case 2:
        return Density() * area * kGravity;
    case 3:
        return Density() * area;
    case 4:
        return iy;
    case 5:
        return iz;
    case 6:
        return TorsionConstant();
    case 8:
        return b * h * (b * b + h * h) / 12.0;
    case 21:
        return BaseModulus() * area;
    case 22:
        return BaseModulus() * iy;
    case 23:
        return BaseModulus() * iz;
    case 27:
    case 28:
        return BaseShearModulus() * area * kRectShearRatio;
    case 29:
        return BaseShearModulus() * TorsionConstant();
    case 30:
        return BaseShearModulus() * area;
    case 35:
        return h / std::sqrt(12.0);
    case 36:
        return b / std::sqrt(12.0);
    default:
        return 0.0;
    }
}

void CCrSectRect::GetMaxMinCoord(double& xmax, double& ymax, double& xmin, double& ymin)
{
    xmax = m_dWidth / 2.0;
    ymax = m_dHeight / 2.0;
    xmin = -xmax;
    ymin = -ymax;
}

void CCrSectRect::DrawModelGL(bool, float, bool)
{
    DrawShapeGL([this] {
        const double x = m_dWidth / 2.0;
        const double y = m_dHeight / 2.0;
        glBegin(GL_QUADS);
        glVertex3d(-x, -y, 0.0);
        glVertex3d(x, -y, 0.0);
        glVertex3d(x, y, 0.0);
        glVertex3d(-x, y, 0.0);
        glEnd();
    });
}

// ------------------------------------------------------------ CCrSectCirc

CCrSectCirc::CCrSectCirc(double radius) : m_dRadius(radius)
{
    MakeReferencePoints(radius);
}

CCrSectCirc::~CCrSectCirc() = default;

void CCrSectCirc::Serialize(CArchive& ar)
{
    CCrSectComp::Serialize(ar);
    Serial(ar, m_dRadius);
    SerializeOffsets(ar);
}

double CCrSectCirc::CalcArea()
{
    m_dArea = kPi * m_dRadius * m_dRadius;
    return m_dArea;
}

bool CCrSectCirc::GetRingParam(unsigned index, double inner, double& value)
{
    const double area = CalcArea();
    const double r2 = m_dRadius * m_dRadius;
    const double ri2 = inner * inner;
    const double i = kPi * (r2 * r2 - ri2 * ri2) / 4.0;
    switch (index) {
    case 0:
    case 1:
        value = area;
        return true;
    case 3:
        value = Density() * area;
        return true;
    case 4:
    case 5:
        value = i;
        return true;
    case 6:
        value = 2.0 * i;
        return true;
    case 21:
        value = BaseModulus() * area;
        return true;
    case 22:
    case 23:
        value = BaseModulus() * i;
        return true;
    case 29:
        value = BaseShearModulus() * 2.0 * i;
        return true;
    case 30:
        value = BaseShearModulus() * area;
        return true;
    default:
        return false;
    }
}

double CCrSectCirc::GetParam(unsigned index)
{
    double value = 0.0;
    if (GetCommonParam(index, kCircleShearFactor, value) || GetRingParam(index, 0.0, value))
        return value;
    const double r2 = m_dRadius * m_dRadius;
    switch (index) {
    case 2:
        return Density() * r2 * kPiGravity;
    case 27:
    case 28:
        return BaseShearModulus() * r2 * kCircleShearArea;
    default:
        return 0.0;
    }
}

void CCrSectCirc::GetMaxMinCoord(double& xmax, double& ymax, double& xmin, double& ymin)
{
    xmax = ymax = m_dRadius;
    xmin = ymin = -m_dRadius;
}

void CCrSectCirc::DrawModelGL(bool, float, bool)
{
    DrawShapeGL([this] { EllipseGL(m_dRadius, m_dRadius, kCirclePoints); });
}

// ------------------------------------------------------------ CCrSectTube

CCrSectTube::CCrSectTube(double radius, double thickness) : CCrSectCirc(radius)
{
    m_dThick = thickness;
}

CCrSectTube::~CCrSectTube() = default;

void CCrSectTube::Serialize(CArchive& ar)
{
    CCrSectCirc::Serialize(ar);
    Serial(ar, m_dThick);
}

double CCrSectTube::InnerRadius() const
{
    return std::max(m_dRadius - m_dThick, 0.0);
}

double CCrSectTube::CalcArea()
{
    const double ri = InnerRadius();
    m_dArea = kPi * (m_dRadius * m_dRadius - ri * ri);
    return m_dArea;
}

double CCrSectTube::GetParam(unsigned index)
{
    double value = 0.0;
    if (GetCommonParam(index, kTubeShearFactor, value) || GetRingParam(index, InnerRadius(), value))
        return value;
    switch (index) {
    case 2:
        return Density() * CalcArea() * kGravity;
    case 27:
    case 28:
        return BaseShearModulus() * CalcArea() * kTubeShearRatio;
    default:
        return 0.0;
    }
}

void CCrSectTube::DrawModelGL(bool, float, bool)
{
    DrawShapeGL([this] {
        const double ri = InnerRadius();
        glBegin(GL_QUAD_STRIP);
        for (int i = 0; i <= kRingSteps; ++i) {
            const double a = i * kTwoPi / kRingSteps;
            const double c = std::cos(a);
            const double s = std::sin(a);
            glVertex3d(m_dRadius * c, m_dRadius * s, 0.0);
            glVertex3d(ri * c, ri * s, 0.0);
        }
        glEnd();
    });
}

// ------------------------------------------------------------ CCrSectUsrDef

CCrSectUsrDef::CCrSectUsrDef(double size) : m_dSize(size)
{
    MakeReferencePoints(size);
}

CCrSectUsrDef::~CCrSectUsrDef() = default;

void CCrSectUsrDef::Serialize(CArchive& ar)
{
    CCrSectComp::Serialize(ar);
    Serial(ar, m_dSize);
    SerializeOffsets(ar);
}

double CCrSectUsrDef::CalcArea()
{
    return m_dArea;
}

void CCrSectUsrDef::GetMaxMinCoord(double& xmax, double& ymax, double& xmin, double& ymin)
{
    xmax = ymax = m_dSize;
    xmin = ymin = -m_dSize;
}

void CCrSectUsrDef::DrawModelGL(bool, float, bool)
{
    DrawShapeGL([this] { EllipseGL(0.5 * m_dSize, m_dSize, kRingSteps); });
}
