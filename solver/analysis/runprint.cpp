// Echo, check points, selective print and run summary of the run log.
#include "solver/analysis/runprint.h"

#include "solver/linalg/fwrite.h"

#include <cmath>
#include <cstdio>
#include <ctime>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace solvika {

namespace {

using i32 = std::int32_t;
using i64 = std::int64_t;

i32 K(const i32* key, int k) { return key[k - 1]; }

// Row i (1-based) of a table in pointer form: the entries ptr(i) ..
// ptr(i + 1) - 1 of data.
std::span<const i32> tableRow(const std::vector<i32>& ptr, const std::vector<i32>& data, i32 i) {
    const i32 first = ptr[std::size_t(i - 1)];
    const i32 next = ptr[std::size_t(i)];
    return std::span<const i32>(data.data() + (first - 1), std::size_t(next - first));
}

// ---- Echo -----------------------------------------------------------------

const Layout kKeyHeading("/ / 5X 'Key_data:' /");
const Layout kKeyLine("I5 I7");
const Layout kNodesMembrane("/ / 5X 'Nodal point information' / / 5X 'Node' 6X 'x-coord' 8X 'y-coord' 9X 'angle' /");
const Layout kNodesBending(
    "/ / 5X 'Nodal point information' / / 5X 'Node' 6X 'x-coord' 8X 'y-coord' 9X 'angle' 10X 'load' /");
const Layout kNodeMembrane("I9 1P 3E15.4");
const Layout kNodeBending("I9 1P 4E15.4");
const Layout kBcHeading("/ / 5X 'Boundary conditions:' / / 5X 'Node    D o f  codes - >' /");
const Layout kBcLine("2I9 5I4");
const Layout kPrescribedHeading("/ / 5X 'Prescribed d o f s:' / / 5X 'No.     D o f       Value' /");
const Layout kPrescribedLine("I7 I11 1P E15.4");
const Layout kConnHeading("/ / 5X 'Element connectivity' / / 5X 'Element    Nodes - >' /");
const Layout kConnLine("2I10 5I7");
const Layout kCheckPoint("/ 5X 'Passing check point' I3");

// ---- Selective print ----------------------------------------------------------

const Layout kSelHeader("/ / 20X '=====================================' / / 20X '    Selective print from Brantel' / / "
                        "20X '         Units: [N] and [mm]' / / 20X '=====================================' / / "
                        "20X '    Problem log at bottom of file' / /");
const Layout kBlank("' '");
const Layout kForcesHeading("/ / '==================' / / '  ELEMENT FORCES' / / '==================' / / "
                            "'Element  Node' 7X 'M_x' 11X 'M_y' 11X 'M_xy' 11X 'V_x' 11X 'V_y'");
const Layout kForceFirst("I6 I7 1P 5E14.5");
const Layout kForceNext("I13 1P 5E14.5");
const Layout kBendNodesHeading("/ / '=================' / / '  NODAL RESULTS' / / '=================' / / "
                               "' Node' 7X 'x_coord' 9X 'y_coord' 9X 'Displ. w' 6X 'Residual f.'");
const Layout kBendNode("I5 1P 4E16.5");
const Layout kStressHeading("/ / '====================' / / '  ELEMENT STRESSES' / / '====================' / / "
                            "'Element  Node' 7X 'sigma_x' 9X 'sigma_y' 10X 'tau_xy'");
const Layout kStressFirst("I6 I7 1P 3E16.5");
const Layout kStressNext("I13 1P 3E16.5");
const Layout kMemNodesHeading("/ / '=================' / / '  NODAL RESULTS' / / '=================' / / "
                              "' Node' 3X 'x_coord' 4X 'y_coord' 6X 'Displ. u' 6X 'Displ. v' 8X 'R_x' 10X 'R_y'");
const Layout kMemNode("I5 1P E12.3 E11.3 4E13.5");

// ---- Summary --------------------------------------------------------------------

const Layout kDate("/ / 20X '=====================================' / / 20X '     Program log  -  ' A10 / / "
                   "20X '=====================================' / /");
const Layout kBuckling("/ / 5X 'Problem is         :  PLATE BUCKLING'");
const Layout kStrain("/ / 5X 'Problem is         :  PLANE STRAIN'");
const Layout kStress("/ / 5X 'Problem is         :  PLANE STRESS'");
const Layout kBending("/ / 5X 'Problem is         :  PLATE BENDING'");
const Layout kElementType("/ / 5X 'Element type is    :  ' A13");
const Layout kIntegration("5X 'Element integration:  ' A13");
const Layout kModel("/ / 5X 'Model information :' / / 8X 'Number of nodes      :' I6 / 8X 'Number of elements   :' I6 / "
                    "8X 'Number of d o f s    :' I6 / 8X 'Number of equations  :' I6 / "
                    "8X 'Number of springs    :' I6 / /");
const Layout kRenumYes("5X 'Node renumbering :  YES'");
const Layout kRenumNo("5X 'Node renumbering :  NO'");
const Layout kRenumFigures("/ 8X 'Algorithm                 : ' A3 / 8X 'New profile length (in %) :' I4 / "
                           "8X 'Node number of start node :' I8");
const Layout kFormat("5X 'Storage format : ' A7");
const Layout kSolver("5X 'Eigensolver    : ' A18");
const Layout kStorage("5X 'Storage requirement (in terms of 32 bits units) :' / / 8X 'Integer information         :' I8 / "
                      "8X 'Floating point information  :' I8 / 8X 'Stiffness matrix            :' I8");
const Layout kCache("8X 'Size of cache (in KB)       :' I8");
const Layout kStatic("5X 'Solution information :' / / 8X 'Number of negative elements in D    :' I15 / "
                     "8X 'Estimate of condition number        :' 1P E15.6");
const Layout kSparseFigures("8X 'Actual diagonal decay               :' 1P E15.6 / "
                            "8X 'Number of original coeff.assmb.op.  :' 1P E15.6 / "
                            "8X 'Number of generated coeff.assmb.op. :' 1P E15.6 / "
                            "8X 'Number of factorization operations  :' 1P E15.6 / "
                            "8X 'Number of substitution operations   :' 1P E15.6");
const Layout kMembraneSums("/ / 5X 'Sum loading in x-dir  [N] :' 1P E15.6 / 5X 'Sum loading in y-dir  [N] :' 1P E15.6 / "
                           "5X 'Sum reaction in x-dir [N] :' 1P E15.6 / 5X 'Sum reaction in y-dir [N] :' 1P E15.6 /");
const Layout kBendingSums("/ / 5X 'Sum vertical loading  [N] :' 1P E15.6 / 5X 'Sum vertical reaction [N] :' 1P E15.6 /");
const Layout kEigen("5X 'Solution information :' / / 8X 'Number of buckling modes requested  :' I6 / "
                    "8X 'Number of eigenmodes accepted       :' I6");
const Layout kSubspace("8X 'Number of iteration vectors used    :' I6 / 8X 'Number of iterations carried out    :' I6");
const Layout kLanczos("8X 'Number of Lanczos vectors used      :' I6 / 8X 'Number of Lanczos steps carried out :' I6");
const Layout kTimes("5X 'Computing times (in seconds) :' / / "
                    "8X 'CPU-time in data preparation  :' F9.3 ' (' F7.3 '% )' / "
                    "8X 'CPU-time in assembly          :' F9.3 ' (' F7.3 '% )' / "
                    "8X 'CPU-time in solution          :' F9.3 ' (' F7.3 '% )' / "
                    "8X 'CPU-time in computing results :' F9.3 ' (' F7.3 '% )' / / "
                    "8X 'Total CPU-time                :' F9.3");

RunDate localDate() {
    const std::time_t now = std::time(nullptr);
    std::tm tm{};
    if (::localtime_r(&now, &tm) == nullptr) return {1, 1, 1970};
    return {tm.tm_mday, tm.tm_mon + 1, tm.tm_year + 1900};
}

DateSource g_date = nullptr;

// A statistics figure as an integer, truncated toward zero. Figures beyond
// the 64-bit range (and NaN) cannot come from a run; they print as the
// largest value, which any field shows as asterisks.
i64 truncated(float x) {
    if (std::isnan(x)) return 0;
    if (x >= 9.2e18f) return INT64_MAX;
    if (x <= -9.2e18f) return INT64_MIN;
    return static_cast<i64>(x);
}

// Element type and integration texts, 13 characters each. An integration
// code this summary has no text for prints blanks, so a run never shows
// another run's text.
std::pair<const char*, const char*> elementTexts(i32 code, i32 integration) {
    const char* quad = integration == 1   ? "1 point      "
                       : integration == 4 ? "4 point      "
                       : integration == 9 ? "9 point      "
                                          : "             ";
    const char* high = integration == 1   ? "numerical    "
                       : integration == 2 ? "analytical   "
                                          : "             ";
    switch (code) {
    case 31: return {"CST          ", "analytical   "};
    case 32: return {"LST          ", "analytical   "};
    case 33: return {"QST          ", "analytical   "};
    case 41: return {"Q4 (confrm.) ", quad};
    case 42: return {"Q6 (Q4 ++)   ", quad};
    case 44: return {"Q8 (Serendip)", quad};
    case 46: return {"Q9 (Lagrange)", quad};
    case 61: return {"T6           ", "analytical   "};
    case 65: return {"DKT          ", "numerical    "};
    case 66: return {"TEBA         ", "numerical    "};
    case 75: return {"T15          ", "numerical    "};
    case 81: return {"T18          ", high};
    case 85: return {"T21          ", high};
    default: return {"Unknown      ", "             "};
    }
}

} // namespace

// ---- Echo and check points ------------------------------------------------

void ECHKEY(const std::int32_t* key, const double* nodal, bool bending, std::int32_t lunit) {
    if (lunit < 1) return;
    fwrite(lunit, kKeyHeading);
    for (i32 i = 1; i <= 30; ++i) fwrite(lunit, kKeyLine, {i, K(key, i)});
    fwrite(lunit, bending ? kNodesBending : kNodesMembrane);
    const Layout& line = bending ? kNodeBending : kNodeMembrane;
    for (i32 n = 1; n <= K(key, 2); ++n) {
        const double* p = nodal + 4 * i64(n - 1);
        if (bending)
            fwrite(lunit, line, {n, p[0], p[1], p[2], p[3]});
        else
            fwrite(lunit, line, {n, p[0], p[1], p[2]});
    }
}

void ECHBCS(const std::int32_t* key, const double* prescribedDofs, const ModelTables& t, std::int32_t lunit) {
    if (lunit < 1) return;
    fwrite(lunit, kBcHeading);
    const i32 nanod = i32(t.MEXNOD.size());
    for (i32 n = 1; n <= nanod; ++n)
        fwrite(lunit, kBcLine, {t.MEXNOD[std::size_t(n - 1)], tableRow(t.MNDPTR, t.MSC, n)});
    if (K(key, 5) > 0 && prescribedDofs != nullptr) {
        fwrite(lunit, kPrescribedHeading);
        for (i32 i = 1; i <= K(key, 5); ++i) {
            const double* row = prescribedDofs + 3 * i64(i - 1);
            const i32 node = nearestInt(row[0]);
            const i32 dof = nearestInt(row[1]);
            // Rows were checked by the condition tables: the node exists.
            const i32 global = node >= 1 && node <= nanod ? t.MNDPTR[std::size_t(node - 1)] + dof - 1 : 0;
            fwrite(lunit, kPrescribedLine, {i, global, row[2]});
        }
    }
    fwrite(lunit, kConnHeading);
    const i32 nel = i32(t.MPELND.size()) - 1;
    for (i32 e = 1; e <= nel; ++e) fwrite(lunit, kConnLine, {e, tableRow(t.MPELND, t.MELNOD, e)});
}

void CHKPNT(const std::int32_t* key, std::int32_t n, std::int32_t lunit) {
    if (K(key, 30) >= 1) fwrite(lunit, kCheckPoint, {n});
}

// ---- Selective print ----------------------------------------------------------

void SELPRT(const std::int32_t* key, const std::int32_t* elements, const double* elementData,
            const std::int32_t* nodes, const double* nodal, const double* coords, const ModelTables& t,
            std::int32_t lunit) {
    if (lunit < 1) return;
    const i32 nel = K(key, 1);
    const i32 nanod = K(key, 2);
    const i32 code = K(key, 10);
    const i64 rows = K(key, 20);
    const bool bending = code >= 61;
    fwrite(lunit, kSelHeader);

    if (K(key, 25) > 0 && elements != nullptr) {
        const i32 corners = code >= 41 && code < 61 ? 4 : 3;
        const i32 m = code >= 75 ? 5 : 3;
        fwrite(lunit, bending ? kForcesHeading : kStressHeading);
        const Layout& first = bending ? kForceFirst : kStressFirst;
        const Layout& next = bending ? kForceNext : kStressNext;
        for (i32 i = 0; i < K(key, 25); ++i) {
            const i32 e = elements[i];
            if (e < 1 || e > nel) continue;
            fwrite(lunit, kBlank);
            const double* s = elementData + (e - 1) * rows;
            const i32* enodes = t.MELNOD.data() + (t.MPELND[std::size_t(e - 1)] - 1);
            for (i32 c = 0; c < corners; ++c) {
                const std::span<const double> v(s + c * m, std::size_t(m));
                if (c == 0)
                    fwrite(lunit, first, {e, enodes[c], v});
                else
                    fwrite(lunit, next, {enodes[c], v});
            }
        }
    }

    if (K(key, 26) > 0 && nodes != nullptr) {
        fwrite(lunit, bending ? kBendNodesHeading : kMemNodesHeading);
        fwrite(lunit, kBlank);
        for (i32 i = 0; i < K(key, 26); ++i) {
            const i32 n = nodes[i];
            if (n < 1 || n > nanod) continue;
            const double* c = coords + 4 * i64(n - 1);
            const double* r = nodal + 4 * i64(n - 1);
            if (bending)
                fwrite(lunit, kBendNode, {n, c[0], c[1], r[0], r[3]});
            else
                fwrite(lunit, kMemNode, {n, c[0], c[1], r[0], r[1], r[2], r[3]});
        }
    }
    fwrite(lunit, kBlank);
    fwrite(lunit, kBlank);
}

// ---- Run summary ------------------------------------------------------------

DateSource setDateSource(DateSource source) { return std::exchange(g_date, source); }

void RUNLOG(const std::int32_t* key, const float* RSTAT, std::int32_t lunit, const ModelTables& t,
            const double* load, const double* reaction) {
    if (lunit < 1) return;
    auto R = [RSTAT](int k) { return RSTAT[k - 1]; };
    const i32 code = K(key, 10);
    const bool buckling = K(key, 29) == 99;
    const bool sparse = K(key, 11) == 2;

    const RunDate d = g_date != nullptr ? g_date() : localDate();
    char date[32];
    std::snprintf(date, sizeof date, "%02d:%02d:%04d", d.day, d.month, d.year);
    fwrite(lunit, kDate, {std::string_view(date, 10)});

    if (buckling)
        fwrite(lunit, kBuckling);
    else if (code < 61)
        fwrite(lunit, K(key, 18) == 1 ? kStrain : kStress);
    else
        fwrite(lunit, kBending);

    const auto [type, integration] = elementTexts(code, K(key, 27));
    fwrite(lunit, kElementType, {type});
    fwrite(lunit, kBlank);
    fwrite(lunit, kIntegration, {integration});

    const auto MPAR = [&t](int k) { return t.MPAR[std::size_t(k - 1)]; };
    const auto MSPAR = [&t](int k) { return t.MSPAR[std::size_t(k - 1)]; };
    fwrite(lunit, kModel, {MPAR(1), MPAR(2), MPAR(3), MPAR(11), K(key, 7)});

    // Sparse storage orders the equations for every code but 0.
    const i32 renum = K(key, 12);
    if (!sparse && renum >= 1 && renum <= 3) {
        static const char* const kAlgorithm[] = {"SWS", "PFM", "ELW"};
        fwrite(lunit, kRenumYes);
        fwrite(lunit, kRenumFigures, {kAlgorithm[renum - 1], truncated(R(3)), truncated(R(4))});
    } else {
        fwrite(lunit, sparse && renum != 0 ? kRenumYes : kRenumNo);
    }

    fwrite(lunit, kBlank);
    fwrite(lunit, kBlank);
    fwrite(lunit, kFormat, {sparse ? "sparse " : "skyline"});
    if (buckling) fwrite(lunit, kSolver, {K(key, 14) == 1 ? "subspace iteration" : "Lanczos iteration "});
    fwrite(lunit, kBlank);
    fwrite(lunit, kBlank);

    // Lengths in 32-bit units, in 64 bits: a figure too wide for its field
    // shows asterisks, never a wrapped number.
    const i64 stiffness = sparse ? 2 * (i64(MSPAR(8)) + i64(MSPAR(16))) : 2 * i64(MPAR(12));
    fwrite(lunit, kStorage, {truncated(R(1)), truncated(2.0f * R(2)), stiffness});
    if (sparse) fwrite(lunit, kCache, {K(key, 13)});
    fwrite(lunit, kBlank);
    fwrite(lunit, kBlank);

    if (!buckling) {
        fwrite(lunit, kStatic, {truncated(R(5)), double(R(16))});
        if (sparse) fwrite(lunit, kSparseFigures, {double(R(15)), double(R(11)), double(R(12)), double(R(13)), double(R(14))});
        if (code < 61)
            fwrite(lunit, kMembraneSums, {load[0], load[1], reaction[0], reaction[1]});
        else
            fwrite(lunit, kBendingSums, {load[0], reaction[0]});
    } else {
        fwrite(lunit, kEigen, {K(key, 15), truncated(R(11))});
        fwrite(lunit, K(key, 14) == 1 ? kSubspace : kLanczos, {truncated(R(10)), truncated(R(12))});
    }
    fwrite(lunit, kBlank);
    fwrite(lunit, kBlank);

    float total = R(20) + R(21) + R(22) + R(23);
    if (!(total > 0.0f)) return;
    if (R(24) > total) total = R(24);
    const auto share = [&](int k) { return double(R(k) / total * 100.0f); };
    fwrite(lunit, kTimes,
           {double(R(20)), share(20), double(R(21)), share(21), double(R(22)), share(22), double(R(23)), share(23),
            double(total)});
}

} // namespace solvika
