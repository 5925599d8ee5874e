#include "platform/dimvor/units.h"

#include <array>
#include <string>

namespace {

struct Unit {
    const char* label;
    double factor; // display value per internal value
};

constexpr double kInch = 25.4;               // mm
constexpr double kFoot = 304.8;              // mm
constexpr double kPoundForce = 4.4482216152605; // N
constexpr double kKip = 1000.0 * kPoundForce;
constexpr double kPound = 0.45359237; // kg
constexpr double kSlug = kPoundForce * 1000.0 / kFoot; // kg: one lbf accelerates it by 1 ft/s^2

struct Kind {
    int kind;
    std::array<Unit, 4> si;
    std::array<Unit, 4> us;
};

// Internal units: N, mm, kg, degrees Celsius.
const Kind kKinds[] = {
    {kUnitForce, {{{"N", 1.0}, {"kN", 1e-3}}}, {{{"lbf", 1.0 / kPoundForce}, {"kip", 1.0 / kKip}}}},
    {kUnitMass, {{{"t", 1e-3}, {"kg", 1.0}}}, {{{"slug", 1.0 / kSlug}, {"lb", 1.0 / kPound}}}},
    {kUnitLength, {{{"mm", 1.0}, {"m", 1e-3}}}, {{{"in", 1.0 / kInch}, {"ft", 1.0 / kFoot}}}},
    {kUnitArea,
     {{{"mm^2", 1.0}, {"m^2", 1e-6}}},
     {{{"in^2", 1.0 / (kInch * kInch)}, {"ft^2", 1.0 / (kFoot * kFoot)}}}},
    {kUnitVolume,
     {{{"mm^3", 1.0}, {"m^3", 1e-9}}},
     {{{"in^3", 1.0 / (kInch * kInch * kInch)}, {"ft^3", 1.0 / (kFoot * kFoot * kFoot)}}}},
    {kUnitWeightDens,
     {{{"N/mm^3", 1.0}, {"kN/m^3", 1e6}}},
     {{{"lbf/in^3", kInch * kInch * kInch / kPoundForce},
       {"lbf/ft^3", kFoot * kFoot * kFoot / kPoundForce}}}},
    {kUnitPerLength, {{{"/mm", 1.0}, {"/m", 1e3}}}, {{{"/in", kInch}, {"/ft", kFoot}}}},
    {kUnitPerVolume,
     {{{"/mm^3", 1.0}, {"/m^3", 1e9}}},
     {{{"/in^3", kInch * kInch * kInch}, {"/ft^3", kFoot * kFoot * kFoot}}}},
    {kUnitStress,
     {{{"N/mm^2", 1.0}, {"N/m^2", 1e6}, {"kN/m^2", 1e3}}},
     {{{"psi", kInch * kInch / kPoundForce},
       {"ksi", kInch * kInch / kKip},
       {"psf", kFoot * kFoot / kPoundForce}}}},
    {kUnitMoment,
     {{{"Nmm", 1.0}, {"kNm", 1e-6}, {"Nm", 1e-3}, {"kNmm", 1e-3}}},
     {{{"lbf-in", 1.0 / (kPoundForce * kInch)},
       {"kip-ft", 1.0 / (kKip * kFoot)},
       {"lbf-ft", 1.0 / (kPoundForce * kFoot)},
       {"kip-in", 1.0 / (kKip * kInch)}}}},
    // Temperatures enter as differences (thermal expansion, temperature
    // loads), so Fahrenheit is a pure factor.
    {kUnitTemperature, {{{"\xB0" "C", 1.0}}}, {{{"\xB0" "F", 1.8}}}},
};

const Unit* findUnit(int system, int kind, int unit)
{
    if (system < 0 || system > 1 || unit < 0 || unit > 3)
        return nullptr;
    for (const Kind& k : kKinds) {
        if (k.kind != kind)
            continue;
        const Unit& u = system == 0 ? k.si[static_cast<std::size_t>(unit)]
                                    : k.us[static_cast<std::size_t>(unit)];
        return u.label ? &u : nullptr;
    }
    return nullptr;
}

void replaceAll(CString& text, const char* from, char to)
{
    const char replacement[2] = {to, '\0'};
    text.Replace(from, replacement);
}

// Rows 0 to 18: unit index, format, digits (the same for both systems but
// the digits of lengths).
constexpr int kDefaults[2][19][3] = {
    {{0, 1, 0}, {1, 2, 2}, {1, 2, 2}, {1, 2, 2}, {0, 2, 3}, {0, 2, 2}, {2, 2, 2},
     {0, 2, 2}, {0, 2, 3}, {0, 2, 4}, {0, 2, 4}, {0, 2, 4}, {0, 2, 4}, {0, 2, 4},
     {1, 2, 4}, {1, 2, 4}, {1, 2, 4}, {1, 2, 4}, {0, 2, 3}},
    {{0, 1, 3}, {1, 2, 2}, {1, 2, 2}, {1, 2, 2}, {0, 2, 3}, {0, 2, 2}, {2, 2, 2},
     {0, 2, 2}, {0, 2, 3}, {0, 2, 4}, {0, 2, 4}, {0, 2, 4}, {0, 2, 4}, {0, 2, 4},
     {1, 2, 4}, {1, 2, 4}, {1, 2, 4}, {1, 2, 4}, {0, 2, 3}},
};

struct InitialSettings {
    InitialSettings()
    {
        for (int s = 0; s < 2; ++s) {
            SetDefaultUnitRows(s);
            for (int row = 19; row < 30; ++row) {
                iConv[s][row][0] = 0;
                iConv[s][row][1] = 2;
                iConv[s][row][2] = 3;
            }
        }
    }
};

} // namespace

int iStandard = 0;
int iConv[2][30][3];

namespace {
const InitialSettings kInitialSettings;
}

double MetricToX(int system, int kind, int unit)
{
    const Unit* u = findUnit(system, kind, unit);
    return u ? u->factor : 1.0;
}

CString UnitString(int system, int kind, int unit)
{
    const Unit* u = findUnit(system, kind, unit);
    return u ? CString(u->label) : CString();
}

int MomentLengthUnit(int momentUnit)
{
    // The same order in both systems: small, large, large, small length.
    return momentUnit == 1 || momentUnit == 2 ? 1 : 0;
}

double PerLengthFactor(int system, int kind, int unit, int lengthUnit, CString* label)
{
    if (kind == 0)
        return 1.0;
    const int k = kind < 0 ? -kind : kind;
    double factor = MetricToX(system, k, unit);
    if (label)
        *label += UnitString(system, k, unit);
    if (kind < 0) {
        const int length = k == kUnitMoment ? MomentLengthUnit(unit) : lengthUnit;
        factor /= MetricToX(system, kUnitLength, length);
        if (label)
            *label += "/" + UnitString(system, kUnitLength, length);
    }
    return factor;
}

CString FormatUnitValue(int format, int digits, double value)
{
    CString text;
    text.Format(format == 0 ? "%.*e" : format == 1 ? "%.*f" : "%.*g", digits, value);
    const std::string s = static_cast<LPCTSTR>(text);
    const std::string mantissa = s.substr(0, s.find_first_of("eE"));
    const bool zero = mantissa.find('0') != std::string::npos &&
                      mantissa.find_first_of("123456789") == std::string::npos;
    return !s.empty() && s[0] == '-' && zero ? CString(s.substr(1).c_str()) : text;
}

void ReplaceSqrd(CString& text)
{
    replaceAll(text, "^2", '\xB2');
}

void ReplaceCubd(CString& text)
{
    replaceAll(text, "^3", '\xB3');
}

void ReplaceSqrAndCube(CString& text)
{
    ReplaceCubd(text);
    ReplaceSqrd(text);
}

void SetDefaultUnitRows(int system)
{
    SetDefaultUnitRows(iConv, system);
}

void SetDefaultUnitRows(int table[2][30][3], int system)
{
    if (system < 0 || system > 1)
        return;
    for (int row = 0; row < 19; ++row)
        for (int i = 0; i < 3; ++i)
            table[system][row][i] = kDefaults[system][row][i];
}
