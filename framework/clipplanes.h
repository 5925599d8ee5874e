// The arithmetic of the clip planes a child frame keeps for its 3D results
// view: the angle of a vertical plane's normal, the steps the view's
// commands move the planes by, and the conversions between the planes and
// what the clip-plane dialog shows. Pure: no window, no document.
#pragma once

namespace korclip
{

// Plane order in the frame: below, above, then the vertical planes 3 to 6.
enum : int { kBelow = 0, kAbove = 1, kFirstVertical = 2, kPlaneCount = 6 };

// The equations (a, b, c, d) and on/off flags of the six planes.
struct Planes {
    double (&eq)[6][4];
    bool (&on)[6];
};

// The angle in radians of the normal (a, b) against the x axis, 0 ... 2π;
// -1.0 when the normal has no length.
double NormalAngle(double a, double b);

// Turns every enabled vertical plane by +π/20 (counterClockwise) or -π/20,
// wrapped into 0 ... 2π; the normal becomes a unit vector.
void RotateVertical(Planes planes, bool counterClockwise);
// Moves d of every enabled vertical plane by ±0.02 x the diagonal of the
// extents.
void MoveVertical(Planes planes, bool increase, double xmax, double ymax, double xmin, double ymin);

// The four commands on the horizontal planes.
enum class Horizontal { up, down, separate, closer };
// The step of the horizontal planes for a result range and value scale.
double HorizontalStep(double valScale, double maxVal, double minVal);
void MoveHorizontal(Planes planes, Horizontal how, double step);

// The dialog's whole-degree angle (0 ... 359) of a vertical plane.
int DialogAngle(double a, double b);
// The normal the dialog writes for a whole-degree angle.
void DialogNormal(int degrees, double& a, double& b);

} // namespace korclip
