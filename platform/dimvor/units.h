// Units layer: the unit system in force, the per-quantity display settings
// and the factors and labels that turn the internal values (newtons and
// millimetres) into the units the user sees.
#pragma once

#include "platform/afx/cstring.h"

// The unit system in force: 0 SI, 1 US/Imperial.
extern int iStandard;

// Per system and quantity row: [0] the unit index, [1] the number format
// (0 exponent, 1 fixed, other general), [2] the digits. Rows: 0 length,
// 1 force, 2 moment, 3 edge load, 4 E/G modulus, 5 mass density, 6 surface
// load, 7 angle, 8 stress, 9 area, 10 force per length, 11-17 beam
// quantities, 18 displacement; 19-29 are carried along.
extern int iConv[2][30][3];

// Unit kinds understood by MetricToX and UnitString.
enum UnitKind : int {
    kUnitForce = 1,       // N, kN | lbf, kip
    kUnitMass = 2,        // t, kg | slug, lb
    kUnitLength = 3,      // mm, m | in, ft
    kUnitArea = 4,        // mm^2, m^2 | in^2, ft^2
    kUnitVolume = 5,      // mm^3, m^3 | in^3, ft^3
    kUnitWeightDens = 6,  // N/mm^3, kN/m^3 | lbf/in^3, lbf/ft^3
    kUnitPerLength = 9,   // /mm, /m | /in, /ft
    kUnitPerVolume = 11,  // /mm^3, /m^3 | /in^3, /ft^3
    kUnitStress = 13,     // N/mm^2, N/m^2, kN/m^2 | psi, ksi, psf
    kUnitMoment = 14,     // Nmm, kNm, Nm, kNmm | lbf-in, kip-ft, lbf-ft, kip-in
    kUnitTemperature = 16 // degrees Celsius | degrees Fahrenheit (differences)
};

// Factor from the internal value to the display unit: shown = stored x
// factor; a typed value is divided by it. 1.0 for an unknown system, kind
// or unit index.
double MetricToX(int system, int kind, int unit);

// The label of the display unit, with squares and cubes written "^2" and
// "^3"; empty for an unknown system, kind or unit index.
CString UnitString(int system, int kind, int unit);

// The length unit within a moment unit (SI Nmm, kNmm: mm; kNm, Nm: m;
// US lbf-in, kip-in: in; kip-ft, lbf-ft: ft): a moment per unit width is
// shown per that length (kNm/m, Nmm/mm, kip-ft/ft).
int MomentLengthUnit(int momentUnit);

// The factor from the internal value of a result of unit kind `kind` to
// the display unit `unit` of its quantity, and its label when asked for. A
// negative kind is a value per unit length: per the moment's own length
// for moments, per lengthUnit (the length row's unit) for the others.
double PerLengthFactor(int system, int kind, int unit, int lengthUnit, CString* label);

// value in a units row's number format (0 "%.*e", 1 "%.*f", other "%.*g")
// with digits; a value that shows as zero shows no minus sign.
CString FormatUnitValue(int format, int digits, double value);

// Rewrite "^2" as the single byte 0xB2 and "^3" as 0xB3, in place.
void ReplaceSqrd(CString& text);
void ReplaceCubd(CString& text);
void ReplaceSqrAndCube(CString& text);

// The default settings of rows 0 to 18 for one system (the units dialog's
// "restore defaults"), leaving rows 19 to 29 alone.
void SetDefaultUnitRows(int system);
// The same on a copy of the settings table.
void SetDefaultUnitRows(int table[2][30][3], int system);
