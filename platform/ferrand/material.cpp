#include "platform/ferrand/material.h"

#include <cmath>

#include <GL/gl.h>

#include "matrix/densematrix.h"
#include "platform/afx/numconv.h"

IMPLEMENT_SERIAL(CMaterial, CObject, 1)
// Regions count their uses of a material without being known to it: a
// discarded load frees materials after the regions.
static const AFX_SHAREDCLASS afx_shared_CMaterial(RUNTIME_CLASS(CMaterial));
IMPLEMENT_SERIAL(COrthoMat, CMaterial, 1)

CMaterial::CMaterial() = default;

CMaterial::CMaterial(CString name, double density, double modulus, double shear, double poisson,
                     double expansion)
    : m_sName(std::move(name)), m_dRho(density), m_dModOfElast(modulus), m_dModOfShear(shear),
      m_dNu(poisson), m_dLambda(expansion)
{
}

CMaterial::~CMaterial() = default;

void CMaterial::Serialize(CArchive& ar)
{
    CObject::Serialize(ar);
    if (ar.IsStoring()) {
        ar << m_sName << m_dRho << m_dModOfElast << m_dModOfShear << m_dNu << m_dLambda;
        ar << m_dRed << m_dGreen << m_dBlue << m_dSat << m_dwFlag << m_nID;
    } else {
        ar >> m_sName >> m_dRho >> m_dModOfElast >> m_dModOfShear >> m_dNu >> m_dLambda;
        ar >> m_dRed >> m_dGreen >> m_dBlue >> m_dSat >> m_dwFlag >> m_nID;
        m_nElemCount = 0;
    }
}

double CMaterial::dGetParam(unsigned index)
{
    switch (index) {
    case 1:
    case 2:
        return m_dModOfElast;
    case 11:
    case 12:
        return m_dLambda;
    default:
        return 0.0;
    }
}

void CMaterial::ASCIIExport(CFile& file, CString prefix, CString separator, CString* unitText,
                            bool newLine)
{
    CString line = prefix + m_sName;
    for (double v : {m_dRho, m_dModOfElast, m_dModOfShear, m_dNu, m_dLambda}) {
        CString number;
        number.Format("%.10g", v);
        line += separator + number;
    }
    if (unitText)
        line += separator + *unitText;
    if (newLine)
        line += "\r\n";
    file.Write(line.GetString(), static_cast<UINT>(line.GetLength()));
}

void CMaterial::AddFlagBit(unsigned bits)
{
    m_dwFlag |= bits;
}

double CMaterial::SolverShearModulus() const
{
    return m_dModOfElast / (2.0 * (1.0 + m_dNu));
}

void CMaterial::WriteProp(CMatrix& m, int row, double e1, double e2, double shear) const
{
    const double values[7] = {e1, e2, m_dNu, shear, m_dRho, m_dLambda, 0.0};
    for (int c = 0; c < 7; ++c)
        m.SetValue(row, c, values[c]);
}

void CMaterial::InsertProp(CMatrix& m, int& row, int /*mode*/)
{
    WriteProp(m, row, m_dModOfElast, m_dModOfElast, SolverShearModulus());
    ++row;
}

void CMaterial::CopyValuesFrom(const CMaterial& other)
{
    m_sName = other.m_sName;
    m_dRho = other.m_dRho;
    m_dModOfElast = other.m_dModOfElast;
    m_dModOfShear = other.m_dModOfShear;
    m_dNu = other.m_dNu;
    m_dLambda = other.m_dLambda;
    m_dRed = other.m_dRed;
    m_dGreen = other.m_dGreen;
    m_dBlue = other.m_dBlue;
    m_dSat = other.m_dSat;
    m_dwFlag = other.m_dwFlag;
    m_nID = other.m_nID;
    m_nElemCount = 0;
}

CMaterial* CMaterial::Copy()
{
    auto* copy = new CMaterial;
    copy->CopyValuesFrom(*this);
    return copy;
}

void CMaterial::SetColor(double red, double green, double blue)
{
    m_dRed = red;
    m_dGreen = green;
    m_dBlue = blue;
}

void CMaterial::GLColor() const
{
    glColor3d(m_dRed, m_dGreen, m_dBlue);
}

void CMaterial::GLInvertColor() const
{
    // A mid-grey is its own inverse: lines in it would vanish on the
    // material's fill, so they turn black or white, whichever stands out.
    const double r = 1.0 - m_dRed, g = 1.0 - m_dGreen, b = 1.0 - m_dBlue;
    if (std::fabs(r - m_dRed) < 0.3 && std::fabs(g - m_dGreen) < 0.3 && std::fabs(b - m_dBlue) < 0.3) {
        const double shade = (m_dRed + m_dGreen + m_dBlue) / 3.0 >= 0.5 ? 0.0 : 1.0;
        glColor3d(shade, shade, shade);
        return;
    }
    glColor3d(r, g, b);
}

COrthoMat::COrthoMat()
{
    m_dwFlag |= kOrthotropicBit;
}

COrthoMat::COrthoMat(CString name, double density, double modulusX, double modulusY,
                     double shear, double poisson, double poisson90, double expansion)
    : CMaterial(std::move(name), density, modulusX, shear, poisson, expansion),
      m_dModOfElast90(modulusY), m_dNu90(poisson90), m_dLambda90(expansion)
{
    m_dwFlag |= kOrthotropicBit;
}

COrthoMat::~COrthoMat() = default;

void COrthoMat::Serialize(CArchive& ar)
{
    CMaterial::Serialize(ar);
    if (ar.IsStoring())
        ar << m_dModOfElast90 << m_dNu90 << m_dLambda90;
    else
        ar >> m_dModOfElast90 >> m_dNu90 >> m_dLambda90;
}

double COrthoMat::dGetParam(unsigned index)
{
    switch (index) {
    case 2:
        return m_dModOfElast90;
    case 12:
        return m_dLambda90;
    default:
        return CMaterial::dGetParam(index);
    }
}

void COrthoMat::InsertProp(CMatrix& m, int& row, int /*mode*/)
{
    WriteProp(m, row, m_dModOfElast, m_dModOfElast90, m_dModOfShear);
    ++row;
}

CMaterial* COrthoMat::Copy()
{
    auto* copy = new COrthoMat;
    copy->CopyValuesFrom(*this);
    copy->m_dModOfElast90 = m_dModOfElast90;
    copy->m_dNu90 = m_dNu90;
    copy->m_dLambda90 = m_dLambda90;
    return copy;
}
