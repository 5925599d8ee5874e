// Assembly control data, skyline assembly and the library error writers.
#include "solver/linalg/assembly.h"

#include "solver/linalg/fwrite.h"

#include <algorithm>
#include <limits>

namespace solvika {

namespace {

// 1-based views of the caller's arrays.
inline std::int32_t at(const std::int32_t* a, std::int32_t i) { return a[i - 1]; }

// Skyline position (0-based) of entry (r, c), r <= c.
inline std::ptrdiff_t skyPos(const std::int32_t* MSKY, std::int32_t r, std::int32_t c)
{
    return std::ptrdiff_t(MSKY[c - 1]) - (c - r) - 1;
}

// One constraint equation: its slave position and its masters.
struct Constraint {
    std::int32_t first;   // position of the slave in MCQDOF/CQCOEF
    std::int32_t masters; // number of masters, at positions first+1..first+masters
};

inline Constraint constraint(const std::int32_t* MPMCEQ, std::int32_t k)
{
    const std::int32_t p = at(MPMCEQ, k);
    return {p, at(MPMCEQ, k + 1) - p - 1};
}

// Element equation list: codes of element iel's DOFs in element order,
// stored into meleq up to `capacity` entries (the rest only counted, so a
// wrong NEDOF never writes past the caller's work array).
struct ElementCodes {
    std::int32_t count = 0;
    std::int32_t dependent = 0;  // codes -k of equations with masters
    std::int32_t prescribed = 0; // codes -k of equations without masters
};

ElementCodes elementCodes(std::int32_t iel, const std::int32_t* MNDPTR, const std::int32_t* MDOFEQ,
                          const std::int32_t* MPELND, const std::int32_t* MELNOD,
                          const std::int32_t* MPMCEQ, std::int32_t* meleq, std::int32_t capacity)
{
    ElementCodes e;
    for (std::int32_t p = at(MPELND, iel); p < at(MPELND, iel + 1); ++p) {
        const std::int32_t node = at(MELNOD, p);
        for (std::int32_t d = at(MNDPTR, node); d < at(MNDPTR, node + 1); ++d) {
            const std::int32_t code = at(MDOFEQ, d);
            if (code < 0) {
                if (constraint(MPMCEQ, -code).masters > 0)
                    ++e.dependent;
                else
                    ++e.prescribed;
            }
            if (e.count < capacity)
                meleq[e.count] = code;
            ++e.count;
        }
    }
    return e;
}

// Internal node that holds DOF d (0 when none).
std::int32_t nodeOfDof(const std::int32_t* MNDPTR, std::int32_t nanod, std::int32_t d)
{
    for (std::int32_t n = 1; n <= nanod; ++n)
        if (at(MNDPTR, n + 1) > d)
            return n;
    return 0;
}

void reportDof(std::int32_t number, const std::int32_t* MNDPTR, const std::int32_t* MEXNOD,
               std::int32_t nanod, std::int32_t dof, std::int32_t LUNIT, std::int32_t& IERR)
{
    std::int32_t ldof = 0;
    std::int32_t node = 0;
    EQNNOD(MNDPTR, MEXNOD, nanod, dof, ldof, node);
    ASMERR(number, ldof, node, LUNIT, IERR);
}

} // namespace

void PRASSX(const std::int32_t* MNDPTR, const std::int32_t* MEXNOD, const std::int32_t* MPELND,
            const std::int32_t* MELNOD, const std::int32_t* MSC, const std::int32_t* MPMCEQ,
            const std::int32_t* MCQDOF, const std::int32_t* MNNN, std::int32_t LUNIT,
            std::int32_t* MPAR, std::int32_t* work, std::int32_t* MDOFEQ, std::int32_t* MSKY,
            std::int32_t& IERR)
{
    IERR = 0;
    const std::int32_t nanod = MPAR[0];
    const std::int32_t nel = MPAR[1];
    const std::int32_t ndof = MPAR[2];
    const std::int32_t nceq = MPAR[6];

    // 1. DOF count.
    if (at(MNDPTR, nanod + 1) - 1 != ndof) {
        ASMERR(27, at(MNDPTR, nanod + 1) - 1, 0, LUNIT, IERR);
        return;
    }
    // 2. Element node list length.
    MPAR[14] = at(MPELND, nel + 1) - 1;

    // 3. Status pass.
    std::int32_t count[3] = {0, 0, 0};
    for (std::int32_t d = 1; d <= ndof; ++d) {
        MDOFEQ[d - 1] = 0;
        const std::int32_t s = at(MSC, d);
        if (s >= 0 && s <= 2)
            ++count[s];
        else
            reportDof(21, MNDPTR, MEXNOD, nanod, d, LUNIT, IERR);
    }
    if (IERR < 0)
        return;
    MPAR[3] = count[1];
    MPAR[4] = count[2];
    MPAR[5] = count[0];
    MPAR[7] = count[0] - nceq;
    MPAR[10] = count[1] + count[2];
    MPAR[15] = 0;

    // 4. Constraint pass; every DOF number is checked before it is used.
    std::int32_t nprescribed = 0;
    std::int32_t ndependent = 0;
    for (std::int32_t i = 1; i <= nceq; ++i) {
        const Constraint c = constraint(MPMCEQ, i);
        const std::int32_t s = at(MCQDOF, c.first);
        if (c.masters > kMaxMasters) {
            reportDof(22, MNDPTR, MEXNOD, nanod, s, LUNIT, IERR);
            continue;
        }
        if (s < 1 || s > ndof) {
            ASMERR(23, s, 0, LUNIT, IERR);
            continue;
        }
        if (at(MSC, s) != 0) {
            reportDof(24, MNDPTR, MEXNOD, nanod, s, LUNIT, IERR);
            continue;
        }
        if (MDOFEQ[s - 1] != 0) {
            // A second equation for the same slave would replace the first.
            std::int32_t ldof = 0;
            std::int32_t node = 0;
            EQNNOD(MNDPTR, MEXNOD, nanod, s, ldof, node);
            ASMERR(30, ldof, node, LUNIT, IERR, -MDOFEQ[s - 1], i);
        } else {
            MDOFEQ[s - 1] = -i;
        }
        if (c.masters < 0) {
            ASMERR(25, i, 0, LUNIT, IERR);
        } else if (c.masters == 0) {
            ++nprescribed;
        } else {
            ++ndependent;
            for (std::int32_t p = c.first + 1; p <= c.first + c.masters; ++p) {
                const std::int32_t m = at(MCQDOF, p);
                if (m < 1 || m > ndof)
                    ASMERR(23, m, 0, LUNIT, IERR);
                else if (at(MSC, m) < 1)
                    reportDof(26, MNDPTR, MEXNOD, nanod, s, LUNIT, IERR);
            }
        }
    }
    if (IERR < 0)
        return;
    if (nceq > 0)
        MPAR[15] = at(MPMCEQ, nceq + 1) - 1;
    MPAR[8] = nprescribed;
    MPAR[9] = ndependent;

    // 5. Node order: work(new number) = node; MNNN must be a permutation.
    std::fill(work, work + nanod, 0);
    for (std::int32_t i = 1; i <= nanod; ++i) {
        const std::int32_t v = at(MNNN, i);
        if (v > nanod) {
            ASMERR(28, at(MEXNOD, i), v, LUNIT, IERR);
            return;
        }
        if (v < 1 || work[v - 1] != 0) {
            ASMERR(29, 0, 0, LUNIT, IERR);
            return;
        }
        work[v - 1] = i;
    }

    // 6. Equation numbers by increasing new node number.
    std::int32_t next1 = 0;
    std::int32_t next2 = MPAR[3];
    for (std::int32_t k = 1; k <= nanod; ++k) {
        const std::int32_t node = work[k - 1];
        for (std::int32_t d = at(MNDPTR, node); d < at(MNDPTR, node + 1); ++d) {
            const std::int32_t s = at(MSC, d);
            if (s != 1 && s != 2)
                continue;
            if (MDOFEQ[d - 1] != 0) {
                ASMERR(29, 0, 0, LUNIT, IERR);
                if (s == 1)
                    return;
                continue;
            }
            MDOFEQ[d - 1] = s == 1 ? ++next1 : ++next2;
        }
    }
    if (IERR < 0)
        return;

    // 7. Profile: the column tops go into MSKY first, then the pointers.
    const std::int32_t neq = MPAR[10];
    for (std::int32_t c = 1; c <= neq; ++c)
        MSKY[c - 1] = c;
    for (std::int32_t e = 1; e <= nel; ++e) {
        // The equations an element couples: its own and its dependent DOFs' masters.
        auto forEachEquation = [&](auto&& visit) {
            for (std::int32_t p = at(MPELND, e); p < at(MPELND, e + 1); ++p) {
                const std::int32_t node = at(MELNOD, p);
                for (std::int32_t d = at(MNDPTR, node); d < at(MNDPTR, node + 1); ++d) {
                    const std::int32_t code = MDOFEQ[d - 1];
                    if (code > 0) {
                        visit(code);
                    } else if (code < 0) {
                        const Constraint c = constraint(MPMCEQ, -code);
                        for (std::int32_t q = c.first + 1; q <= c.first + c.masters; ++q)
                            visit(MDOFEQ[at(MCQDOF, q) - 1]);
                    }
                }
            }
        };
        std::int32_t least = std::numeric_limits<std::int32_t>::max();
        forEachEquation([&](std::int32_t eq) { least = std::min(least, eq); });
        forEachEquation([&](std::int32_t eq) { MSKY[eq - 1] = std::min(MSKY[eq - 1], least); });
    }
    std::int64_t total = 0;
    for (std::int32_t c = 1; c <= neq; ++c)
        total += c - MSKY[c - 1] + 1;
    if (total > std::numeric_limits<std::int32_t>::max()) {
        MPAR[11] = -1;
        ASMERR(31, total, 0, LUNIT, IERR);
        return;
    }
    std::int32_t pos = 0;
    for (std::int32_t c = 1; c <= neq; ++c) {
        pos += c - MSKY[c - 1] + 1;
        MSKY[c - 1] = pos;
    }
    MPAR[11] = pos;

    // 8. Tallest column among the status-1 equations.
    MPAR[12] = 0;
    MPAR[13] = 0;
    if (MPAR[3] >= 1) {
        std::int32_t best = 1;
        std::int32_t height = 1;
        for (std::int32_t c = 2; c <= MPAR[3]; ++c) {
            const std::int32_t h = MSKY[c - 1] - MSKY[c - 2];
            if (h > height) {
                height = h;
                best = c;
            }
        }
        MPAR[12] = height;
        for (std::int32_t d = 1; d <= ndof; ++d) {
            if (MDOFEQ[d - 1] == best) {
                MPAR[13] = nodeOfDof(MNDPTR, nanod, d);
                break;
            }
        }
    }
}

void ADDEM(const double* EK, const double* CQCOEF, const std::int32_t* MPAR,
           const std::int32_t* MNDPTR, const std::int32_t* MDOFEQ, const std::int32_t* MPELND,
           const std::int32_t* MELNOD, const std::int32_t* MPMCEQ, const std::int32_t* MCQDOF,
           const std::int32_t* MSKY, std::int32_t IEL, std::int32_t NEDOF, std::int32_t LUNIT,
           std::int32_t NSV, double* SYSK, double* SYSR, std::int32_t* MELEQ, std::int32_t& IERR)
{
    IERR = 0;
    if (IEL < 1 || IEL > MPAR[1]) {
        ASMERR(11, IEL, 0, LUNIT, IERR);
        return;
    }
    const std::int64_t absNsv = NSV < 0 ? -std::int64_t(NSV) : NSV;
    if (absNsv != 0 && absNsv != 1 && absNsv != MPAR[8]) {
        ASMERR(17, IEL, NSV, LUNIT, IERR);
        return;
    }
    const ElementCodes codes =
        elementCodes(IEL, MNDPTR, MDOFEQ, MPELND, MELNOD, MPMCEQ, MELEQ, std::max(NEDOF, 0));
    if (codes.count != NEDOF) {
        ASMERR(11, IEL, 0, LUNIT, IERR);
        return;
    }
    const std::size_t n = std::size_t(NEDOF);
    auto ek = [&](std::int32_t i, std::int32_t j) { return EK[std::size_t(i) + std::size_t(j) * n]; };
    auto addK = [&](std::int32_t a, std::int32_t b, double v) {
        SYSK[a <= b ? skyPos(MSKY, a, b) : skyPos(MSKY, b, a)] += v;
    };

    // Free-free part: the element's upper triangle, each pair once.
    if (NSV >= 0) {
        for (std::int32_t j = 0; j < NEDOF; ++j) {
            const std::int32_t ej = MELEQ[j];
            if (ej <= 0)
                continue;
            for (std::int32_t i = 0; i <= j; ++i) {
                const std::int32_t ei = MELEQ[i];
                if (ei > 0)
                    addK(ei, ej, ek(i, j));
            }
        }
    }

    // Constrained columns: loads of the constant terms and the congruence
    // through the masters, every symmetric pair stored once.
    if (codes.dependent + codes.prescribed == 0 || (codes.prescribed == 0 && NSV < -1))
        return;
    const std::ptrdiff_t neq = MPAR[10];
    for (std::int32_t j = 0; j < NEDOF; ++j) {
        if (MELEQ[j] >= 0)
            continue;
        const std::int32_t k = -MELEQ[j];
        const Constraint cj = constraint(MPMCEQ, k);
        const double c0 = CQCOEF[cj.first - 1];

        if (NSV != 0 && c0 != 0.0) {
            double* rhs = SYSR;
            bool load = true;
            if (absNsv > 1) {
                if (cj.masters > 0) {
                    load = false;
                } else {
                    std::int32_t q = 0;
                    for (std::int32_t kk = 1; kk <= k; ++kk)
                        if (constraint(MPMCEQ, kk).masters == 0)
                            ++q;
                    rhs = SYSR + (q - 1) * neq;
                }
            }
            for (std::int32_t i = 0; load && i < NEDOF; ++i) {
                const std::int32_t ei = MELEQ[i];
                const double v = c0 * ek(i, j);
                if (ei > 0) {
                    rhs[ei - 1] -= v;
                } else if (ei < 0) {
                    const Constraint ci = constraint(MPMCEQ, -ei);
                    for (std::int32_t t = ci.first + 1; t <= ci.first + ci.masters; ++t)
                        rhs[MDOFEQ[MCQDOF[t - 1] - 1] - 1] -= v * CQCOEF[t - 1];
                }
            }
        }

        if (NSV < 0)
            continue;
        for (std::int32_t s = cj.first + 1; s <= cj.first + cj.masters; ++s) {
            const std::int32_t ms = MDOFEQ[MCQDOF[s - 1] - 1];
            const double as = CQCOEF[s - 1];
            for (std::int32_t i = 0; i < NEDOF; ++i) {
                const std::int32_t ei = MELEQ[i];
                const double v = as * ek(i, j);
                if (ei > 0) {
                    addK(ei, ms, ei == ms ? 2.0 * v : v);
                } else if (ei < 0) {
                    const Constraint ci = constraint(MPMCEQ, -ei);
                    for (std::int32_t t = ci.first + 1; t <= ci.first + ci.masters; ++t) {
                        const std::int32_t mt = MDOFEQ[MCQDOF[t - 1] - 1];
                        if (mt <= ms)
                            SYSK[skyPos(MSKY, mt, ms)] += CQCOEF[t - 1] * v;
                    }
                }
            }
        }
    }
}

void ADDEV(const double* EV, const double* CQCOEF, const std::int32_t* MPAR,
           const std::int32_t* MNDPTR, const std::int32_t* MDOFEQ, const std::int32_t* MPELND,
           const std::int32_t* MELNOD, const std::int32_t* MPMCEQ, const std::int32_t* MCQDOF,
           std::int32_t IEL, std::int32_t NEDOF, std::int32_t LUNIT, double* SYSR,
           std::int32_t* MELEQ, std::int32_t& IERR)
{
    IERR = 0;
    if (IEL < 1 || IEL > MPAR[1]) {
        ASMERR(12, IEL, 0, LUNIT, IERR);
        return;
    }
    const ElementCodes codes =
        elementCodes(IEL, MNDPTR, MDOFEQ, MPELND, MELNOD, MPMCEQ, MELEQ, std::max(NEDOF, 0));
    if (codes.count != NEDOF) {
        ASMERR(12, IEL, 0, LUNIT, IERR);
        return;
    }
    for (std::int32_t i = 0; i < NEDOF; ++i) {
        const std::int32_t ei = MELEQ[i];
        if (ei > 0) {
            SYSR[ei - 1] += EV[i];
        } else if (ei < 0) {
            const Constraint c = constraint(MPMCEQ, -ei);
            for (std::int32_t s = c.first + 1; s <= c.first + c.masters; ++s)
                SYSR[MDOFEQ[MCQDOF[s - 1] - 1] - 1] += CQCOEF[s - 1] * EV[i];
        }
    }
}

void ADDNOD(const std::int32_t* MNDPTR, const std::int32_t* MDOFEQ, const std::int32_t* MSKY,
            double VALUE, std::int32_t NODE, std::int32_t LDOF, double* SYSK)
{
    const std::int32_t e = at(MDOFEQ, at(MNDPTR, NODE) + LDOF - 1);
    if (e > 0)
        SYSK[MSKY[e - 1] - 1] += VALUE;
}

void GETELV(const double* SV, const std::int32_t* MNDPTR, const std::int32_t* MPELND,
            const std::int32_t* MELNOD, std::int32_t IEL, double* EV, std::int32_t& NEDOF)
{
    std::int32_t k = 0;
    for (std::int32_t p = at(MPELND, IEL); p < at(MPELND, IEL + 1); ++p) {
        const std::int32_t node = at(MELNOD, p);
        for (std::int32_t d = at(MNDPTR, node); d < at(MNDPTR, node + 1); ++d)
            EV[k++] = SV[d - 1];
    }
    NEDOF = k;
}

void EXPSOL(const double* SV, const double* CQCOEF, const std::int32_t* MPMCEQ,
            const std::int32_t* MCQDOF, const std::int32_t* MDOFEQ, double FF, double CF,
            std::int32_t NDOF, double* SVD)
{
    for (std::int32_t d = 0; d < NDOF; ++d) {
        const std::int32_t e = MDOFEQ[d];
        if (e > 0) {
            SVD[d] += FF * SV[e - 1];
        } else if (e < 0) {
            const Constraint c = constraint(MPMCEQ, -e);
            double v = CF * CQCOEF[c.first - 1];
            for (std::int32_t s = c.first + 1; s <= c.first + c.masters; ++s)
                v += FF * CQCOEF[s - 1] * SV[MDOFEQ[MCQDOF[s - 1] - 1] - 1];
            SVD[d] += v;
        }
    }
}

void EQNNOD(const std::int32_t* MNDPTR, const std::int32_t* MEXNOD, std::int32_t NANOD,
            std::int32_t IDOF, std::int32_t& LDOF, std::int32_t& NODE)
{
    LDOF = 0;
    NODE = 0;
    const std::int32_t n = nodeOfDof(MNDPTR, NANOD, IDOF);
    if (n > 0) {
        LDOF = IDOF - at(MNDPTR, n) + 1;
        NODE = at(MEXNOD, n);
    }
}

void ASMERR(std::int32_t number, std::int64_t N1, std::int64_t N2, std::int32_t LUNIT,
            std::int32_t& IERR, std::int64_t N3, std::int64_t N4)
{
    if (LUNIT >= 1) {
        static const Layout header("/ / / ' *** ERROR return from a LIN library routine'");
        static const Layout inconsistent("/ 5X 'Inconsistent control information encountered' "
                                         "/ 5X 'during assembly of element no.' I8");
        static const Layout byAddem("/ 5X 'Detected by subroutine ADDEM'");
        static const Layout byAddev("/ 5X 'Detected by subroutine ADDEV'");
        static const Layout byPrassx("/ 5X 'Detected by subroutine PRASSX, directly or ' 'indirectly'");
        static const Layout e17("/ 5X 'Incorrect value of argument NSV (=' I8 ')' "
                                "/ 5X 'when calling  ADDEM  for element ' I8");
        static const Layout e21("/ 5X 'Illegal status code encontered for  d o f  no.' I3 ' of node' I8");
        static const Layout e22("/ 5X 'D o f  no.' I3 ' of node' I8 ' is coupled to too ' "
                                "'many master  d o f s'");
        static const Layout e23("/ 5X 'Nonexisting  d o f (no.' I8 ') is constrained'");
        static const Layout e24("/ 5X 'D o f  no.' I3 ' of node' I8 ' is constrained,' "
                                "/ 5X 'but not specified (in MSC)'");
        static const Layout e25("/ 5X 'Control matrix MPMCEQ appears to be in error'");
        static const Layout e26("/ 5X 'D o f  no.' I3 ' of node' I8 ' is coupled to a ' "
                                "'specified  d o f'");
        static const Layout e27("/ 5X 'Illegal or inconsistent number of  d o f s (=' I8 ')'");
        static const Layout e28("/ 5X 'Active node' I8 ' has been assigned to an internal' "
                                "/ 5X 'number (=' I8 ' ) which is too large'");
        static const Layout e29("/ 5X 'Control matrix MNNN (new node numbers) appears' "
                                "/ 5X 'to be incorrect/corrupt'");
        static const Layout e30("/ 5X 'D o f  no.' I3 ' of node' I8 ' is constrained more than once' "
                                "/ 5X '(constraint equations' I8 ' and' I8 ')'");
        static const Layout e31("/ 5X 'Skyline profile too long:' I15 ' entries'");

        fwrite(LUNIT, header);
        const long long n1 = N1, n2 = N2, n3 = N3, n4 = N4;
        const Layout* trailer = &byPrassx;
        switch (number) {
        case 11: fwrite(LUNIT, inconsistent, {n1}); trailer = &byAddem; break;
        case 12: fwrite(LUNIT, inconsistent, {n1}); trailer = &byAddev; break;
        case 17: fwrite(LUNIT, e17, {n2, n1}); trailer = nullptr; break;
        case 21: fwrite(LUNIT, e21, {n1, n2}); break;
        case 22: fwrite(LUNIT, e22, {n1, n2}); break;
        case 23: fwrite(LUNIT, e23, {n1}); break;
        case 24: fwrite(LUNIT, e24, {n1, n2}); break;
        case 25: fwrite(LUNIT, e25); break;
        case 26: fwrite(LUNIT, e26, {n1, n2}); break;
        case 27: fwrite(LUNIT, e27, {n1}); break;
        case 28: fwrite(LUNIT, e28, {n1, n2}); break;
        case 29: fwrite(LUNIT, e29); break;
        case 30: fwrite(LUNIT, e30, {n1, n2, n3, n4}); break;
        case 31: fwrite(LUNIT, e31, {n1}); break;
        default: trailer = nullptr; break;
        }
        if (trailer)
            fwrite(LUNIT, *trailer);
    }
    IERR -= 1;
}

void LINERR(std::int32_t K, std::string_view NAME, std::int32_t I1, std::int32_t I2,
            std::int32_t I3, std::int32_t LUNIT, std::int32_t IERR)
{
    if (LUNIT < 1 || IERR == 0)
        return;
    if (K < 21) {
        static const Layout warning("/ / / ' *** WARNING from LIN library routine ' A");
        static const Layout error("/ / / ' *** ERROR return from LIN library routine ' A");
        fwrite(LUNIT, IERR > 0 ? warning : error, {NAME});
    } else if (K <= 59) {
        static const Layout header("/ / / ' *** ERROR RETURN FROM  L I N / SPX  LIBRARY ROUTINE : ' A "
                                   "/ 4X ' WITH ERROR FLAG : ' I4 /");
        fwrite(LUNIT, header, {NAME, IERR});
    } else {
        return;
    }

    switch (K) {
    case 1: {
        static const Layout l("5X 'Illegal status code encountered for' / 5X 'DOF number' I4 ' of node' I8");
        fwrite(LUNIT, l, {I2, I3});
        break;
    }
    case 3: {
        static const Layout l("5X 'Illegal DOF (number' I8 ') is constrained'");
        fwrite(LUNIT, l, {I1});
        break;
    }
    case 6: {
        static const Layout l("5X 'DOF number' I4 ' of node' I8 / 5X 'is coupled to a specified DOF'");
        fwrite(LUNIT, l, {I1, I2});
        break;
    }
    case 7: {
        static const Layout l("5X 'Illegal or inconsistent number of DOFs (=' I8 ')'");
        fwrite(LUNIT, l, {I1});
        break;
    }
    case 8: {
        static const Layout l("5X 'DOF number' I4 ' of node' I8 / 5X 'is constrained more than once'");
        fwrite(LUNIT, l, {I1, I2});
        break;
    }
    case 21: {
        static const Layout l("4X ' INCONSISTENCY IN CONTROL DATA, CHECK MPAR AND MSPAR' /");
        fwrite(LUNIT, l);
        break;
    }
    case 22: {
        static const Layout l("4X ' INCONSISTENCY IN CONTROL DATA, CHECK LIN CONTROL STRUCTURES' /");
        fwrite(LUNIT, l);
        break;
    }
    case 23: {
        static const Layout l("4X ' INCONSISTENCY IN CONTROL DATA, CHECK SPX CONTROL STRUCTURES' /");
        fwrite(LUNIT, l);
        break;
    }
    case 25: {
        static const Layout l("4X ' OPTION IFLAG IS SET TO AN ILLEGAL VALUE' / 4X ' THE VALUE IS : ' I12 "
                              "/ 4X ' NUMBER OF COLUMNS IN RECTANGULAR MATRIX :' I12");
        fwrite(LUNIT, l, {I1, I2});
        break;
    }
    case 26: {
        static const Layout l("4X ' OPTION KSA IS SET TO AN ILLEGAL VALUE' / 4X ' THE VALUE IS : ' I12");
        fwrite(LUNIT, l, {I1});
        break;
    }
    case 30: {
        static const Layout l("4X ' ERROR FROM PRECEEDING  L I N / SPX  ROUTINE IS NOT CLEARED' /");
        fwrite(LUNIT, l);
        break;
    }
    case 32: {
        static const Layout l("4X ' MSICA: NOT GREAT ENOUGH, PROBABLY CAUSED BY CORRUPTED' "
                              "' LIN CONTROL STRUCTURES' /");
        fwrite(LUNIT, l);
        break;
    }
    case 33: {
        static const Layout l("4X ' MTREES, AND/OR IWORK: NOT GREAT ENOUGH' /");
        fwrite(LUNIT, l);
        break;
    }
    case 34: {
        static const Layout l("4X ' IWORK: NOT GREAT ENOUGH' /");
        fwrite(LUNIT, l);
        break;
    }
    case 35: {
        static const Layout l("4X ' MSICA/MTREES/MSIFA, AND/OR IWORK: NOT GREAT ENOUGH' /");
        fwrite(LUNIT, l);
        break;
    }
    case 36: {
        static const Layout l("4X ' MTREES/MSIFA/SM, AND/OR IWORK/RWORK: NOT GREAT ENOUGH' /");
        fwrite(LUNIT, l);
        break;
    }
    case 37: {
        static const Layout l("4X ' MTREES/MSIFA/SM/B, AND/OR IWORK/RWORK: NOT GREAT ENOUGH' /");
        fwrite(LUNIT, l);
        break;
    }
    case 38: {
        static const Layout l("4X ' FACTOR STORAGE EXCEEDS 2147483647 REALS' /");
        fwrite(LUNIT, l);
        break;
    }
    case 40: {
        static const Layout real("4X ' INSUFFICIENT REAL WORKSPACE, CHECK SPX CONTROL STRUCTURES' /");
        static const Layout factors("4X ' INSUFFICIENT SPACE FOR FACTORS,' ' CHECK SPX CONTROL STRUCTURES' /");
        static const Layout pivot("4X ' ABSOLUTE PIVOT VALUE REDUCED TO SIZE LESS THAN' "
                                  "' OR EQUAL TO THE THRESHOLD VALUE GIVEN BY TOL(1)' /");
        static const Layout equation("4X ' OCCURED IN EQUATION:' I12 /");
        if (I3 == -10 || I3 == -40)
            fwrite(LUNIT, real);
        else if (I3 == -20)
            fwrite(LUNIT, factors);
        else if (I3 == -30)
            fwrite(LUNIT, pivot);
        fwrite(LUNIT, equation, {I2});
        break;
    }
    default:
        break;
    }
}

} // namespace solvika
