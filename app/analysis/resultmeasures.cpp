#include "app/analysis/resultmeasures.h"

#include "app/analysis/solverinput.h"
#include "femodel/element.h"

#include <algorithm>
#include <cmath>

namespace resultmeasures {

bool IsHigherPlateCode(int code)
{
    return code == 75 || code == 81 || code == 85;
}

int NodeValueCount(int code)
{
    if (IsMembraneCode(code) || code == 61 || code == 65 || code == 66)
        return 3;
    return IsHigherPlateCode(code) ? 5 : 0;
}

void SymmetricRange(double a, double b, double& max, double& min)
{
    max = std::max(std::fabs(a), std::fabs(b));
    min = -max;
}

PlotKind ClassifyPlot(int c, int n, int code, int localAxes, const PlotRules& rules)
{
    if (c < 0 || n <= 0)
        return PlotKind::None;
    if (c < n) {
        if (rules.arrowsLast && c == n - 1)
            return PlotKind::Arrows;
        if (rules.arrowsSecondLast && c == n - 2 && IsMembraneCode(code))
            return PlotKind::Arrows;
        if (localAxes != 0 && c < 3)
            return PlotKind::LocalStress;
        if (rules.localVect && localAxes != 0 && (c == 3 || c == 4) && IsHigherPlateCode(code))
            return PlotKind::LocalVect;
        return PlotKind::Colour;
    }
    switch (c - n) {
    case 0:
        return PlotKind::FirstPrincipal;
    case 1:
        return PlotKind::SecondPrincipal;
    case 2:
        return PlotKind::Effective;
    default:
        return PlotKind::Distorted;
    }
}

double PrincipalValue(double sx, double sy, double txy, bool first)
{
    return CElement::PriStress(sx, sy, txy, first);
}

double EffectiveValue(double sx, double sy, double txy, double nu)
{
    const double a = 1.0 + 2.0 * nu * (1.0 - nu);
    const double b = nu * nu - nu + 1.0;
    return CElement::EffStress(2, sx, sy, txy, b, a);
}

double LocalValue(int c, const double s[5], double t)
{
    if (c >= 0 && c < 3) {
        double out[3];
        CElement::LocalStress(t, s[0], s[1], s[2], out);
        return out[c];
    }
    const double cx = std::cos(t), cy = std::sin(t);
    if (c == 3)
        return s[3] * cx + s[4] * cy;
    if (c == 4)
        return -s[3] * cy + s[4] * cx;
    return 0.0;
}

double LocalArrowAngle(int c, double t)
{
    return (c == 1 || c == 4) ? t + M_PI / 2.0 : t;
}

double PrincipalAngle(double sx, double sy, double txy, bool first, bool plateBending)
{
    const double r = std::sqrt(txy * txy + (sx - sy) * (sx - sy) / 4.0);
    if (r == 0.0)
        return 0.0;
    double phi = 0.0;
    {
        double q = (sx - sy) / (2.0 * r);
        if (std::fabs(q) >= 1.0)
            q = (sx - sy) < 0.0 ? -1.0 : 1.0;
        const double a = std::acos(q);
        const double twice = first ? (txy >= 0.0 ? a : 2.0 * M_PI - a) : (txy >= 0.0 ? a + M_PI : 3.0 * M_PI - a);
        phi = twice / 2.0;
    }
    return plateBending ? phi + M_PI / 2.0 : phi;
}

int ArrowGlyphType(bool membrane, bool localShear, double value)
{
    const int type = localShear ? (membrane ? 6 : 7) : (membrane ? 2 : 5);
    return value < 0.0 ? -type : type;
}

} // namespace resultmeasures
