#include "solver/elements/tri_print.h"

#include "solver/linalg/fwrite.h"

namespace solvika {

void printTriangleInput(std::int32_t lunit, const double* C, const double* X, const double* Y, const double* H,
                        double t, const Layout& elastRow) {
    static const Layout kThick("/ '     ELEMENT THICKNESS  :' 1P E12.4");
    static const Layout kCornerThick("/ '     CORNER THICKNESSES :'");
    static const Layout kH("'     H1 =' 1P E11.4 '    H2 =' 1P E11.4 '    H3 =' 1P E11.4");
    static const Layout kCoord("/ '     CORNER COORDINATES :'");
    static const Layout kX("'     X1 =' 1P E11.4 '    X2 =' 1P E11.4 '    X3 =' 1P E11.4");
    static const Layout kY("'     Y1 =' 1P E11.4 '    Y2 =' 1P E11.4 '    Y3 =' 1P E11.4");
    static const Layout kElast("/ '     ELASTICITY MATRIX  :'");
    if (H == nullptr) {
        fwrite(lunit, kThick, {t});
    } else {
        fwrite(lunit, kCornerThick);
        fwrite(lunit, kH, {H[0], H[1], H[2]});
    }
    fwrite(lunit, kCoord);
    fwrite(lunit, kX, {X[0], X[1], X[2]});
    fwrite(lunit, kY, {Y[0], Y[1], Y[2]});
    fwrite(lunit, kElast);
    for (int i = 0; i < 3; ++i) fwrite(lunit, elastRow, {C[i], C[i + 3], C[i + 6]});
}

void printErrorFlag(std::int32_t lunit, std::int32_t ierr, std::int32_t iel) {
    static const Layout kFlag("/ '     ERROR FLAG =' I3");
    static const Layout kElem("/ '     ELEMENT ' I5 '   IN ERROR'");
    fwrite(lunit, kFlag, {ierr});
    fwrite(lunit, kElem, {iel});
}

} // namespace solvika
