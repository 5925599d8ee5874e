#include "framework/clipplanes.h"

#include <algorithm>
#include <cmath>

namespace korclip
{

namespace
{
constexpr double kTolerance = 1.1102230246251565e-15;
constexpr double kTwoPi = 6.283185307179586;
constexpr double kStep = 0.15707963267948966; // π/20
constexpr double kDegToRad = 0.017453292519943295;
} // namespace

double NormalAngle(double a, double b)
{
    const double r = std::sqrt(a * a + b * b);
    if (r == 0.0)
        return -1.0;
    double t = std::acos(a / r);
    if (t > -kTolerance && t < kTolerance)
        t = 0.0;
    if (b <= -kTolerance)
        t = kTwoPi - t;
    return t;
}

void RotateVertical(Planes planes, bool counterClockwise)
{
    for (int k = kFirstVertical; k < kPlaneCount; ++k) {
        if (!planes.on[k])
            continue;
        double t = NormalAngle(planes.eq[k][0], planes.eq[k][1]);
        if (counterClockwise) {
            t += kStep;
            if (t >= kTwoPi)
                t -= kTwoPi;
        } else {
            t -= kStep;
            if (t < 0.0)
                t += kTwoPi;
        }
        planes.eq[k][0] = std::cos(t);
        planes.eq[k][1] = std::sin(t);
    }
}

void MoveVertical(Planes planes, bool increase, double xmax, double ymax, double xmin, double ymin)
{
    const double step = 0.02 * std::sqrt((ymax - ymin) * (ymax - ymin) + (xmax - xmin) * (xmax - xmin));
    for (int k = kFirstVertical; k < kPlaneCount; ++k)
        if (planes.on[k])
            planes.eq[k][3] += increase ? step : -step;
}

double HorizontalStep(double valScale, double maxVal, double minVal)
{
    return valScale * std::max(std::fabs(maxVal), std::fabs(minVal)) * 0.01;
}

void MoveHorizontal(Planes planes, Horizontal how, double step)
{
    double below = 0.0, above = 0.0;
    switch (how) {
    case Horizontal::up: below = -step, above = step; break;
    case Horizontal::down: below = step, above = -step; break;
    case Horizontal::separate: below = step, above = step; break;
    case Horizontal::closer: below = -step, above = -step; break;
    }
    if (planes.on[kBelow])
        planes.eq[kBelow][3] += below;
    if (planes.on[kAbove])
        planes.eq[kAbove][3] += above;
}

int DialogAngle(double a, double b)
{
    const double t = NormalAngle(a, b);
    int degrees = static_cast<int>(std::floor(t * 57.29577951308232 + 0.5)) - 180;
    while (degrees < 0)
        degrees += 360;
    while (degrees > 359)
        degrees -= 360;
    return degrees;
}

void DialogNormal(int degrees, double& a, double& b)
{
    a = -std::cos(degrees * kDegToRad);
    b = -std::sin(degrees * kDegToRad);
}

} // namespace korclip
