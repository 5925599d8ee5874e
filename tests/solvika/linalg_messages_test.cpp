// Diagnostic lines of the linear-algebra routines, byte for byte.
#include "solver/solvika.h"
#include "tests/solvika/assembly_model.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace solvika;

namespace {

constexpr int kUnit = 7;

// Collects what is written to kUnit while it lives.
struct Capture {
    std::string text;
    Capture() { attachSink(kUnit, &text); }
    ~Capture() { detachSink(kUnit); }
    Capture(const Capture&) = delete;
    Capture& operator=(const Capture&) = delete;
};

const std::string kAsmHeader = "\n\n\n *** ERROR return from a LIN library routine\n";
const std::string kByPrassx = "\n     Detected by subroutine PRASSX, directly or indirectly\n";

} // namespace

TEST(LinalgMessages, DenseKernels)
{
    double t[4] = {1, 0, 0, 1}, a[9] = {}, w[2] = {};
    std::int32_t ierr = 0;
    {
        Capture c;
        MATTRA(t, a, w, 3, 2, 3, kUnit, ierr);
        EXPECT_EQ(c.text, "\n\n\n *** ERROR RETURN FROM  L I N  LIBRARY ROUTINE MATTRA\n\n"
                          "     ILLEGAL MATRIX DIMENSION(S) :  M, N =       3       2\n"
                          "     AND/OR SUBMATRIX POSITION           =       3\n");
    }
    {
        Capture c;
        VECTRA(t, a, w, 3, 2, 3, 1, kUnit, ierr);
        EXPECT_EQ(c.text, "\n\n\n *** ERROR RETURN FROM  L I N  LIBRARY ROUTINE VECTRA\n\n"
                          "     ILLEGAL MATRIX DIMENSION(S) :  M, N  =       3       2\n"
                          "     AND/OR SUBMATRIX POSITION            =       3\n");
    }
    const std::string syminv = "\n\n\n *** ERROR RETURN FROM  L I N  LIBRARY ROUTINE SYMINV\n\n";
    {
        Capture c;
        SYMINV(a, 0.0, 0, kUnit, ierr);
        double singular[9] = {1, 2, 3, 2, 5, 7, 3, 7, 10};
        SYMINV(singular, 1e-10, 3, kUnit, ierr);
        EXPECT_EQ(c.text, syminv + "     ILLEGAL MATRIX DIMENSION  N =     0\n" + syminv +
                              "     SINGULAR OR NEAR-SINGULAR MATRIX  (ROW    3 )\n");
    }
    const std::string soldlt = "\n\n\n *** ERROR return from  L I N  library routine SOLDLT\n";
    {
        Capture c;
        double b[2] = {1, 1};
        SOLDLT(a, b, 0.0, 2, 0, kUnit, 2, ierr);
        double zero[4] = {1, 1, 1, 1};
        SOLDLT(zero, b, 0.0, 2, 1, kUnit, 1, ierr);
        double near[4] = {1, 1, 1, 2};
        SOLDLT(near, b, 0.6, 2, 1, kUnit, 1, ierr);
        EXPECT_EQ(c.text, soldlt + "     Illegal parameter(s) NEQ, NRHS and/or KODE:       2       0       2\n" +
                              soldlt + "     Zero pivot element in equation     2\n" + soldlt +
                              "     Near-singular system detected in eq. I =     2\n"
                              "     A(I,I), D(I,I) and EPS =    2.0000E+00    1.0000E+00    6.0000E-01\n");
    }
    {
        // Positive-unit rules: nothing at unit 0 (SOLDLT, MATTRA), while
        // SYMINV writes at unit 0 too (connected to nothing in a run).
        std::string at0;
        attachSink(0, &at0);
        MATTRA(t, a, w, 3, 2, 3, 0, ierr);
        double b[2] = {1, 1};
        SOLDLT(a, b, 0.0, 0, 1, 0, 2, ierr);
        EXPECT_EQ(at0, "");
        SYMINV(a, 0.0, 0, 0, ierr);
        detachSink(0);
        EXPECT_EQ(at0, syminv + "     ILLEGAL MATRIX DIMENSION  N =     0\n");
    }
}

TEST(LinalgMessages, SkylineSolver)
{
    const std::string header = "\n\n\n *** ERROR RETURN FROM  L I N  LIBRARY ROUTINE SKYSOL\n";
    std::int32_t ineg = 0, ierr = 0;
    std::vector<double> b(7, 1.0);
    {
        Capture c;
        std::vector<std::int32_t> msky = {1, 2};
        std::vector<double> a = {1, 1};
        SKYSOL(a.data(), b.data(), msky.data(), 1e-10, 2, 3, 1, kUnit, 3, ineg, ierr);
        EXPECT_EQ(c.text, header + "\n     ILLEGAL PARAMETER(S) :  NEQ    NEQ1    NRHS   IFLAG\n"
                                   "                               2       3       1       3\n");
    }
    {
        Capture c;
        std::vector<std::int32_t> msky = {1, 3, 7};
        std::vector<double> a = {1, 0, 1, 1, 1, 1, 1};
        SKYSOL(a.data(), b.data(), msky.data(), 1e-10, 3, 3, 1, kUnit, 1, ineg, ierr);
        EXPECT_EQ(c.text, header + "\n     INCORRECT ENTRIES IN MSKY :  J   MSKY(J-1)  MSKY(J)\n"
                                   "                                  3          3        7\n");
    }
    {
        Capture c;
        std::vector<std::int32_t> msky = {1, 2, 3};
        std::vector<double> a = {1, 1, 0};
        SKYSOL(a.data(), b.data(), msky.data(), 1e-10, 3, 3, 1, kUnit, 1, ineg, ierr);
        EXPECT_EQ(c.text, header + "\n     ZERO PIVOT ELEMENT IN EQUATION     3\n");
    }
    {
        // Six unit equations, then equation 7 coupled to 6: D(7) = 0.5 < 0.5 * 1.5.
        Capture c;
        std::vector<std::int32_t> msky = {1, 2, 3, 4, 5, 6, 8};
        std::vector<double> a = {1, 1, 1, 1, 1, 1, 1, 1.5};
        SKYSOL(a.data(), b.data(), msky.data(), 0.5, 7, 7, 1, kUnit, 3, ineg, ierr);
        EXPECT_EQ(ierr, -4);
        EXPECT_EQ(c.text, header + "\n     EQUATION     7  FAILED THE STABILITY TEST\n"
                                   "     EPS =  5.0000E-01     A(I,I) =  1.5000E+00     D(I,I) =  5.0000E-01\n");
    }
    const std::string facsky = "\n\n\n *** ERROR RETURN from  L I N  LIBRARY routine FACSKY\n";
    {
        Capture c;
        std::int32_t ieq = 0;
        std::vector<std::int32_t> msky = {1, 3, 7};
        std::vector<double> a = {1, 0, 1, 0, 0, 0, 1};
        FACSKY(a.data(), msky.data(), 0.0, 0, kUnit, ieq, ierr);
        a = {1, 1, 1, 0, 0, 0, 1};
        FACSKY(a.data(), msky.data(), 0.0, 2, kUnit, ieq, ierr);
        a = {1, 1, 2, 0, 0, 0, 1};
        FACSKY(a.data(), msky.data(), 0.5, 2, kUnit, ieq, ierr);
        a = {1, 0, 1, 0, 0, 0, 1};
        FACSKY(a.data(), msky.data(), 0.0, 3, kUnit, ieq, ierr);
        EXPECT_EQ(c.text, facsky + "\n     Illegal matrix dimension:   N =     0\n" + facsky +
                              "\n     Matrix is not pos.def.  (eqn.    2 )\n" + facsky +
                              "\n     Singular or near-singular matrix  (eqn.    2 )\n" + facsky +
                              "\n     Incorrect entries in MSKY :  J   MSKY(J-1)  MSKY(J)\n"
                              "                               3          3        7\n");
    }
}

TEST(LinalgMessages, SkylineProducts)
{
    std::vector<std::int32_t> low = {1, 1};
    std::vector<double> a(3, 1.0), b(4, 1.0), c(4, 0.0), w(2);
    std::int32_t ierr = 0;
    for (const char* name : {"PRESKY", "TSKYMB"}) {
        const std::string header =
            std::string("\n\n\n *** ERROR RETURN FROM  L I N  LIBRARY ROUTINE ") + name + "\n";
        Capture cap;
        auto call = [&](int m, int n, int iflag, const std::int32_t* msky) {
            if (name[0] == 'P')
                PRESKY(a.data(), b.data(), c.data(), w.data(), msky, m, n, 1, iflag, kUnit, ierr);
            else
                TSKYMB(a.data(), b.data(), c.data(), w.data(), msky, m, n, 1, iflag, kUnit, ierr);
        };
        call(0, 1, 1, low.data());
        call(2, 2, 1, low.data());
        EXPECT_EQ(cap.text, header + "\n     ILLEGAL PARAMETER(S) :  M, N, IFLAG =       0       1       1\n" +
                                header + "\n     MSKY IN ERROR :  I, MSKY(I-1), MSKY(I) =       2       1       1\n");
    }
    const std::string spsmm = "\n\n\n *** ERROR return from  L I N library routine  SPSMM\n";
    Capture cap;
    std::vector<double> x(2, 1.0), y(2), z(2);
    SPSMM(a.data(), b.data(), x.data(), y.data(), z.data(), low.data(), 2, 3, 0, 1, kUnit, ierr);
    EXPECT_EQ(cap.text, spsmm + "     Illegal parameter(s) - IFLAG, KSA, KSB =     1    3    0\n");
    // A failing product: its own lines, then the operator's header.
    cap.text.clear();
    SPSMM(a.data(), b.data(), x.data(), y.data(), z.data(), low.data(), 2, 2, 0, 2, kUnit, ierr);
    EXPECT_EQ(ierr, -2);
    EXPECT_EQ(cap.text, "\n\n\n *** ERROR RETURN FROM  L I N  LIBRARY ROUTINE TSKYMB\n"
                        "\n     MSKY IN ERROR :  I, MSKY(I-1), MSKY(I) =       2       1       1\n" +
                            spsmm);
}

TEST(LinalgMessages, AssemblyErrorTable)
{
    struct Case {
        int number;
        std::int64_t n1, n2, n3, n4;
        std::string body;
    };
    const Case cases[] = {
        {11, 7, 0, 0, 0, "\n     Inconsistent control information encountered\n"
                         "     during assembly of element no.       7\n\n     Detected by subroutine ADDEM\n"},
        {12, 7, 0, 0, 0, "\n     Inconsistent control information encountered\n"
                         "     during assembly of element no.       7\n\n     Detected by subroutine ADDEV\n"},
        {17, 7, 3, 0, 0, "\n     Incorrect value of argument NSV (=       3)\n"
                         "     when calling  ADDEM  for element        7\n"},
        {21, 2, 30, 0, 0, "\n     Illegal status code encontered for  d o f  no.  2 of node      30\n" + kByPrassx},
        {22, 1, 10, 0, 0, "\n     D o f  no.  1 of node      10 is coupled to too many master  d o f s\n" + kByPrassx},
        {23, 9, 0, 0, 0, "\n     Nonexisting  d o f (no.       9) is constrained\n" + kByPrassx},
        {24, 2, 10, 0, 0, "\n     D o f  no.  2 of node      10 is constrained,\n"
                          "     but not specified (in MSC)\n" + kByPrassx},
        {25, 3, 0, 0, 0, "\n     Control matrix MPMCEQ appears to be in error\n" + kByPrassx},
        {26, 1, 10, 0, 0, "\n     D o f  no.  1 of node      10 is coupled to a specified  d o f\n" + kByPrassx},
        {27, 9, 0, 0, 0, "\n     Illegal or inconsistent number of  d o f s (=       9)\n" + kByPrassx},
        {28, 40, 5, 0, 0, "\n     Active node      40 has been assigned to an internal\n"
                          "     number (=       5 ) which is too large\n" + kByPrassx},
        {29, 0, 0, 0, 0, "\n     Control matrix MNNN (new node numbers) appears\n"
                         "     to be incorrect/corrupt\n" + kByPrassx},
        {30, 1, 10, 1, 2, "\n     D o f  no.  1 of node      10 is constrained more than once\n"
                          "     (constraint equations       1 and       2)\n" + kByPrassx},
        {31, 2147516416LL, 0, 0, 0, "\n     Skyline profile too long:     2147516416 entries\n" + kByPrassx},
    };
    for (const Case& c : cases) {
        Capture cap;
        std::int32_t ierr = -2;
        ASMERR(c.number, c.n1, c.n2, kUnit, ierr, c.n3, c.n4);
        EXPECT_EQ(ierr, -3);
        EXPECT_EQ(cap.text, kAsmHeader + c.body) << c.number;
    }
    // Unit below 1: nothing written, still counted.
    std::string at0;
    attachSink(0, &at0);
    std::int32_t ierr = 0;
    ASMERR(21, 1, 1, 0, ierr);
    detachSink(0);
    EXPECT_EQ(ierr, -1);
    EXPECT_EQ(at0, "");
}

TEST(LinalgMessages, PreassemblyReportsEveryError)
{
    // Two illegal statuses: DOF 3 (node 20, local 1) and DOF 6 (node 30, local 2).
    test::AsmModel m = test::makeModel({2, 2, 2, 2}, {{1, 2}, {2, 3}, {3, 4}},
                                       {1, 1, 3, 1, 1, -1, 1, 2}, {});
    {
        Capture cap;
        EXPECT_EQ(m.prassx(kUnit), -2);
        EXPECT_EQ(cap.text,
                  kAsmHeader + "\n     Illegal status code encontered for  d o f  no.  1 of node      20\n" +
                      kByPrassx + kAsmHeader +
                      "\n     Illegal status code encontered for  d o f  no.  2 of node      30\n" + kByPrassx);
    }
    // DOF 1 prescribed and coupled: both equations are named.
    test::AsmModel twice = test::makeModel({2, 2}, {{1, 2}}, {0, 1, 1, 1},
                                           {{1, 0.5, {}}, {1, 0.0, {{3, 1.0}}}});
    {
        Capture cap;
        EXPECT_EQ(twice.prassx(kUnit), -1);
        EXPECT_EQ(cap.text, kAsmHeader +
                                "\n     D o f  no.  1 of node      10 is constrained more than once\n"
                                "     (constraint equations       1 and       2)\n" + kByPrassx);
    }
    // The values each pre-assembly error passes to its message.
    struct Case {
        std::vector<test::ConstraintEq> eqs;
        std::vector<std::int32_t> msc, mnnn;
        std::string body;
    };
    std::vector<test::Master> many(21, test::Master{3, 1.0});
    const std::vector<std::int32_t> msc = {0, 1, 1, 1, 1, 1, 1, 2};
    const Case cases[] = {
        {{{1, 0.0, many}}, msc, {},
         "\n     D o f  no.  1 of node      10 is coupled to too many master  d o f s\n"},
        {{{9, 0.0, {}}}, msc, {}, "\n     Nonexisting  d o f (no.       9) is constrained\n"},
        {{{2, 0.0, {}}}, msc, {},
         "\n     D o f  no.  2 of node      10 is constrained,\n     but not specified (in MSC)\n"},
        {{{3, 0.0, {}}, {1, 0.0, {{2, 1.0}, {3, 1.0}}}}, {0, 1, 0, 1, 1, 1, 1, 2}, {},
         "\n     D o f  no.  1 of node      10 is coupled to a specified  d o f\n"},
        {{}, msc, {4, 5, 2, 1},
         "\n     Active node      20 has been assigned to an internal\n"
         "     number (=       5 ) which is too large\n"},
        {{}, msc, {4, 3, 3, 1},
         "\n     Control matrix MNNN (new node numbers) appears\n     to be incorrect/corrupt\n"},
    };
    for (const Case& c : cases) {
        test::AsmModel bad = test::makeModel({2, 2, 2, 2}, {{1, 2}, {2, 3}, {3, 4}}, c.msc, c.eqs, c.mnnn);
        Capture cap;
        EXPECT_EQ(bad.prassx(kUnit), -1) << c.body;
        EXPECT_EQ(cap.text, kAsmHeader + c.body + kByPrassx);
    }
    {
        test::AsmModel bad = test::makeModel({2, 2}, {{1, 2}}, {1, 1, 1, 1}, {});
        bad.mpar[2] = 9;
        Capture cap;
        EXPECT_EQ(bad.prassx(kUnit), -1);
        EXPECT_EQ(cap.text, kAsmHeader + "\n     Illegal or inconsistent number of  d o f s (=       4)\n" +
                                kByPrassx);
    }
    {
        test::AsmModel bad = test::makeModel({2, 2}, {{1, 2}}, {0, 1, 0, 1},
                                             {{1, 0.0, {{2, 1.0}}}, {3, 0.0, {}}});
        bad.mpmceq = {1, 3, 2};
        Capture cap;
        EXPECT_EQ(bad.prassx(kUnit), -1);
        EXPECT_EQ(cap.text, kAsmHeader + "\n     Control matrix MPMCEQ appears to be in error\n" + kByPrassx);
    }

    // ADDEM with a bad NSV names NSV first, then the element.
    test::AsmModel ok = test::makeModel({1, 1}, {{1, 2}}, {1, 1}, {});
    ASSERT_EQ(ok.prassx(), 0);
    {
        Capture cap;
        double ek[4] = {1, 0, 0, 1}, sysk[3] = {}, sysr[2] = {};
        std::int32_t meleq[2], ierr = 0;
        ADDEM(ek, ok.cqcoef.data(), ok.mpar.data(), ok.mndptr.data(), ok.mdofeq.data(),
              ok.mpelnd.data(), ok.melnod.data(), ok.mpmceq.data(), ok.mcqdof.data(), ok.msky.data(),
              1, 2, kUnit, 4, sysk, sysr, meleq, ierr);
        EXPECT_EQ(ierr, -1);
        EXPECT_EQ(cap.text, kAsmHeader + "\n     Incorrect value of argument NSV (=       4)\n"
                                         "     when calling  ADDEM  for element        1\n");
    }
}

TEST(LinalgMessages, LibraryErrorTable)
{
    struct Case {
        int k;
        int i1, i2, i3, ierr;
        std::string text;
    };
    const std::string warn = "\n\n\n *** WARNING from LIN library routine SPRXYZ\n";
    const std::string err = "\n\n\n *** ERROR return from LIN library routine SPRXYZ\n";
    const std::string banner = "\n\n\n *** ERROR RETURN FROM  L I N / SPX  LIBRARY ROUTINE : SPRXYZ\n"
                               "     WITH ERROR FLAG :   -3\n\n";
    const std::string equation = "     OCCURED IN EQUATION:          12\n\n";
    const Case cases[] = {
        {1, 0, 2, 30, -1, err + "     Illegal status code encountered for\n     DOF number   2 of node      30\n"},
        {1, 0, 2, 30, 1, warn + "     Illegal status code encountered for\n     DOF number   2 of node      30\n"},
        {3, 99, 0, 0, -1, err + "     Illegal DOF (number      99) is constrained\n"},
        {6, 1, 10, 0, -1, err + "     DOF number   1 of node      10\n     is coupled to a specified DOF\n"},
        {7, 5, 0, 0, -1, err + "     Illegal or inconsistent number of DOFs (=       5)\n"},
        {8, 1, 10, 0, -1, err + "     DOF number   1 of node      10\n     is constrained more than once\n"},
        {2, 0, 0, 0, -1, err},
        {21, 0, 0, 0, -3, banner + "     INCONSISTENCY IN CONTROL DATA, CHECK MPAR AND MSPAR\n\n"},
        {22, 0, 0, 0, -3, banner + "     INCONSISTENCY IN CONTROL DATA, CHECK LIN CONTROL STRUCTURES\n\n"},
        {23, 0, 0, 0, -3, banner + "     INCONSISTENCY IN CONTROL DATA, CHECK SPX CONTROL STRUCTURES\n\n"},
        {25, 7, 3, 0, -3, banner + "     OPTION IFLAG IS SET TO AN ILLEGAL VALUE\n"
                                   "     THE VALUE IS :            7\n"
                                   "     NUMBER OF COLUMNS IN RECTANGULAR MATRIX :           3\n"},
        {26, 4, 0, 0, -3, banner + "     OPTION KSA IS SET TO AN ILLEGAL VALUE\n"
                                   "     THE VALUE IS :            4\n"},
        {30, 0, 0, 0, -3, banner + "     ERROR FROM PRECEEDING  L I N / SPX  ROUTINE IS NOT CLEARED\n\n"},
        {32, 0, 0, 0, -3, banner + "     MSICA: NOT GREAT ENOUGH, PROBABLY CAUSED BY CORRUPTED LIN CONTROL STRUCTURES\n\n"},
        {33, 0, 0, 0, -3, banner + "     MTREES, AND/OR IWORK: NOT GREAT ENOUGH\n\n"},
        {34, 0, 0, 0, -3, banner + "     IWORK: NOT GREAT ENOUGH\n\n"},
        {35, 0, 0, 0, -3, banner + "     MSICA/MTREES/MSIFA, AND/OR IWORK: NOT GREAT ENOUGH\n\n"},
        {36, 0, 0, 0, -3, banner + "     MTREES/MSIFA/SM, AND/OR IWORK/RWORK: NOT GREAT ENOUGH\n\n"},
        {37, 0, 0, 0, -3, banner + "     MTREES/MSIFA/SM/B, AND/OR IWORK/RWORK: NOT GREAT ENOUGH\n\n"},
        {40, 0, 12, -10, -3, banner + "     INSUFFICIENT REAL WORKSPACE, CHECK SPX CONTROL STRUCTURES\n\n" + equation},
        {40, 0, 12, -40, -3, banner + "     INSUFFICIENT REAL WORKSPACE, CHECK SPX CONTROL STRUCTURES\n\n" + equation},
        {40, 0, 12, -20, -3, banner + "     INSUFFICIENT SPACE FOR FACTORS, CHECK SPX CONTROL STRUCTURES\n\n" + equation},
        {40, 0, 12, -30, -3, banner + "     ABSOLUTE PIVOT VALUE REDUCED TO SIZE LESS THAN OR EQUAL TO THE "
                                      "THRESHOLD VALUE GIVEN BY TOL(1)\n\n" + equation},
        {40, 0, 12, 0, -3, banner + equation},
        {59, 0, 0, 0, -3, banner},
        {60, 1, 1, 1, -3, ""},
        {1, 0, 2, 30, 0, ""},
    };
    for (const Case& c : cases) {
        Capture cap;
        LINERR(c.k, "SPRXYZ", c.i1, c.i2, c.i3, kUnit, c.ierr);
        EXPECT_EQ(cap.text, c.text) << "K=" << c.k << " I3=" << c.i3 << " IERR=" << c.ierr;
    }
    std::string at0;
    attachSink(0, &at0);
    LINERR(21, "SPRXYZ", 0, 0, 0, 0, -3);
    detachSink(0);
    EXPECT_EQ(at0, "");
}
