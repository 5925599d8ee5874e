// Lateral pressure loads of the 9- and 6-DOF plate-bending triangles, and
// the message shared by their stiffness routines.
#include "solver/elements/plate_bending.h"
#include "solver/elements/plate_geom.h"
#include "solver/linalg/fwrite.h"

namespace solvika {

namespace plate {

void writeDegenerated(std::int32_t lunit, const char* routine, std::int32_t nel)
{
    static const Layout kLines(
        "/ / / ' *** ERROR RETURN FROM SUBROUTINE ' A ' ***' / 5X 'Element' I7 '  is degenerated'");
    if (lunit > 0)
        fwrite(lunit, kLines, {routine, nel});
}

namespace {

// Corner deflection loads (factor)(2 P(i) + P(j) + P(k)) at stride 'step'.
void lumpPressure(double* EL, int step, double factor, const double* P)
{
    for (int i = 0; i < 3; ++i) {
        const int j = (i + 1) % 3;
        const int k = (i + 2) % 3;
        EL[i * step] = factor * (2.0 * P[i] + P[j] + P[k]);
    }
}

} // namespace
} // namespace plate

void T6_Lv(double* EL, const double* X, const double* Y, const double* P)
{
    for (int i = 0; i < 6; ++i)
        EL[i] = 0.0;
    // The stiffness routine accepts either orientation, so the load must not
    // depend on it either: the area is taken as positive.
    double a2 = plate::twiceArea(X, Y);
    if (a2 < 0.0)
        a2 = -a2;
    if (a2 > 0.0)
        plate::lumpPressure(EL, 1, a2 / 24.0, P);
}

void DKT_Lv(double* EL, const double* X, const double* Y, const double* P)
{
    for (int i = 0; i < 9; ++i)
        EL[i] = 0.0;
    const double a2 = plate::twiceArea(X, Y);
    if (a2 > 0.0)
        plate::lumpPressure(EL, 3, a2 / 24.0, P);
}

void TEBA_Lv(double* EL, const double* X, const double* Y, const double* P)
{
    for (int i = 0; i < 9; ++i)
        EL[i] = 0.0;
    const double a2 = plate::twiceArea(X, Y);
    if (a2 > 0.0)
        plate::lumpPressure(EL, 3, (0.5 * a2) / 12.0, P);
}

} // namespace solvika
