// Pure rules behind the plate component's result plots and node probe: the
// node-value count of an element-type code, the symmetric plot range, the
// probe values (principal, effective and local stresses) and the arrow
// directions and glyph types. No drawing here, so each rule is checked
// without an OpenGL context.
#pragma once

namespace resultmeasures {

// 3 for the membrane codes and 61, 65, 66; 5 for 75, 81, 85; 0 for any
// other code (nothing is drawn for it).
int NodeValueCount(int code);
// Codes 75, 81 and 85: five node values, local vector components 3 and 4.
bool IsHigherPlateCode(int code);

// The symmetric range of two extremes: max := the larger magnitude, min :=
// its negative.
void SymmetricRange(double a, double b, double& max, double& min);

// How the active component c is shown, with n the result count.
enum class PlotKind {
    None,
    Colour,       // colour plot of component c
    Arrows,       // arrow plot of component c
    LocalStress,  // component c < 3 in local axes
    LocalVect,    // vector component 3 or 4 in local axes
    FirstPrincipal,
    SecondPrincipal,
    Effective,
    Distorted
};
struct PlotRules {
    bool arrowsLast = true;       // c = n - 1 as arrows
    bool arrowsSecondLast = true; // c = n - 2 as arrows (membrane codes)
    bool localVect = true;        // local vector plots for 75, 81, 85
};
PlotKind ClassifyPlot(int c, int n, int code, int localAxes, const PlotRules& rules);

// Probe values from the node values s of a stress state (sx, sy, txy).
double PrincipalValue(double sx, double sy, double txy, bool first);
// Von Mises stress with the out-of-plane stress nu (sx + sy) of plane
// strain (nu 0 gives plane stress).
double EffectiveValue(double sx, double sy, double txy, double nu);
// Component c (0 to 4) of the node values s[0..4] in axes turned by t:
// c = 0, 1, 2 the stresses, c = 3, 4 the vector components.
double LocalValue(int c, const double s[5], double t);
// Direction angle of the local arrow: t, or t + pi/2 for components 1
// and 4.
double LocalArrowAngle(int c, double t);
// Angle phi of the first or second principal direction; turned by a right
// angle for the plate-bending codes. 0 when the two principal stresses are
// equal (no direction is defined, and the quotient below would be 0/0).
double PrincipalAngle(double sx, double sy, double txy, bool first, bool plateBending);
// Arrow glyph type: 2 (membrane) or 5 (plate bending), 6 or 7 for the
// local shear (component 2 in local mode); negated for a negative value.
int ArrowGlyphType(bool membrane, bool localShear, double value);

} // namespace resultmeasures
