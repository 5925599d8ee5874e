// Result plots of the shell component: the plate plots with the buckling
// mode shapes placed after the membrane results.
#include "app/analysis/shellcomp.h"

#include "app/analysis/solverinput.h"
#include "femodel/strelna.h"
#include "glstyle/tincora.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>

using namespace resultmeasures;

namespace {

double Magnitude(const CVector& a, const CVector& b, int i)
{
    const double x = i >= 0 && i < a.GetSize() ? std::fabs(a[i]) : 0.0;
    const double y = i >= 0 && i < b.GetSize() ? std::fabs(b[i]) : 0.0;
    return std::max(x, y);
}

// Unit quantity of component c for an element-type code; 0 outside the rows.
int ShellQuantity(int code, int c)
{
    static const int membrane[11] = {8, 8, 8, 11, 11, 1, 1, 8, 8, 8, 11};
    static const int plate[11] = {10, 10, 10, 11, 11, 11, 1, 10, 10, 0, 0};
    static const int higher[11] = {10, 10, 10, 1, 1, 11, 11, 11, 1, 10, 10};
    if (c < 0 || c > 10)
        return 0;
    if (IsMembraneCode(code))
        return membrane[c];
    if (code == 61 || code == 65 || code == 66)
        return plate[c];
    if (IsHigherPlateCode(code))
        return higher[c];
    return 0;
}

} // namespace

void CShellComp::DrawResults(int flags)
{
    PlotRules rules;
    rules.arrowsLast = m_iResultState != 3;
    rules.arrowsSecondLast = m_iResultState == 1;
    rules.localVect = false;
    DrawResultsWith(flags, rules, true);
}

int CShellComp::GetResultUnit(int component)
{
    const int nv = CElement::m_nNodeVal;
    const int modes = m_nModesAccepted;
    if (m_iResultState == 3 && component > nv + 1) {
        if (component < modes + nv + 2)
            return 0;
        if (component >= m_MaxVals.GetSize() + m_MaxValsExt.GetSize())
            return 0;
        return CPlateComp::GetResultUnit(component + 2 - modes);
    }
    return CPlateComp::GetResultUnit(component);
}

int CShellComp::GetResultQuantity()
{
    const int code = m_iResultState == 1 ? GetBucklingCtrl(kBucklingType) : m_iElemType;
    const int c = GetActVal();
    const int nv = CElement::m_nNodeVal;
    const int modes = m_nModesAccepted;
    if (m_iResultState == 3 && c > nv + 1) {
        if (c < modes + nv + 2 || c >= m_MaxVals.GetSize() + m_MaxValsExt.GetSize())
            return 11;
        return ShellQuantity(code, c + 2 - modes);
    }
    return ShellQuantity(code, c);
}

void CShellComp::GetMaxMinResult(double& max, double& min, CString* unit)
{
    CPlateComp::GetMaxMinResult(max, min, unit);
    const int s1 = m_MaxVals.GetSize();
    const int s2 = m_MaxValsExt.GetSize();
    const int c = GetActVal();
    const int i = c - s1 - s2 + 5;
    if (i < s1 && c >= s1 + s2) {
        const double a = std::max(std::fabs(max), std::fabs(min));
        const double b = Magnitude(m_MinVals, m_MaxVals, i);
        max = a * b;
        min = -(a * b);
    }
}

bool CShellComp::ActiveModeShape(int& mode, double& loadFactor)
{
    // After a buckling run components 0 to 2 are stresses, 3 and 4 node
    // values and 5 + m the shape of mode m.
    const int m = GetActVal() - 5;
    if (m_iResultState != 3 || m < 0 || m >= m_nModesAccepted || m >= m_LoadFactors.GetSize())
        return false;
    mode = m + 1;
    loadFactor = m_LoadFactors[m];
    return true;
}

void CShellComp::DrawDistorted(int flags, double scale)
{
    if (!SetNodeValueCount() || m_MaxValsExt.GetSize() == 0 || m_MinValsExt.GetSize() == 0)
        return;
    const int s1 = m_MaxVals.GetSize();
    const int s2 = m_MaxValsExt.GetSize();
    const int c = GetActVal();
    const bool last = c == s1 + s2 - 1;
    if (last && (flags & (2 | 16))) {
        CPlateComp::DrawDistorted(flags, scale);
        return;
    }
    int i = c - s1 - s2 + 5;
    int ux = -1, uy = -1;
    if (IsMembraneCode(m_iElemType)) {
        ux = 3;
        uy = 4;
        // Entry 3 exists only after a membrane run; any shorter vector gives
        // a zero range rather than a read past its end.
        SetStaticRange(3);
    } else if (m_iElemType == 66) {
        i = 3;
    } else if (IsHigherPlateCode(m_iElemType)) {
        i = 5;
    } else {
        return;
    }
    double a = 1.0;
    if (!last)
        a = i < s1 ? Magnitude(m_MinVals, m_MaxVals, i) : Magnitude(m_MinValsExt, m_MaxValsExt, i - s1);
    CMatrix param(3, 3);
    param[0][0] = ux;
    param[0][1] = a * scale;
    param[0][2] = 0.0;
    param[1][0] = uy;
    param[1][1] = a * scale;
    param[1][2] = 1.0;
    if (i >= 5 && i < s1 + s2) {
        param[2][0] = i;
        param[2][1] = scale * CElement::m_dStaticMax;
    } else {
        param[2][0] = -1.0;
    }
    param[2][2] = 2.0;
    if (i >= 0 && i < s1 && std::fabs(m_MinVals[i]) >= m_MaxVals[i]) {
        param[0][1] = -param[0][1];
        param[1][1] = -param[1][1];
    }
    const int mode = (flags & 2) ? 2 : (flags & 16) ? 16 : 0;
    glDisable(GL_POLYGON_OFFSET_FILL);
    // The plan view shows the in-plane shape flat: heights and thickness
    // would leave its depth range.
    const bool plan = (flags & 128) != 0;
    if (plan) {
        glPushMatrix();
        glScaled(1.0, 1.0, 0.0);
    }
    glBegin(GL_TRIANGLES);
    ForEachMeshRegion([&](CSectMeshArea* r) {
        if (auto* plate = dynamic_cast<CSectPlate*>(r))
            plate->DrawThicknessGL(param, mode);
    });
    glEnd();
    if (plan)
        glPopMatrix();
}
