// Run-log lines of the membrane triangle stiffness routines and of the
// matrix print, byte for byte.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "solver/solvika.h"

using namespace solvika;

namespace {

// Captures what a routine writes to unit 10 (and checks unit 0 stays silent).
template <class F>
std::string capture(F&& call) {
    std::string sink, silent;
    attachSink(10, &sink);
    attachSink(0, &silent);
    call();
    detachSink(10);
    detachSink(0);
    EXPECT_EQ(silent, "");
    return sink;
}

// Expected MATPRT text of an n x m column-major matrix.
std::string matprtText(const double* A, int n, int m) {
    std::string s;
    char buf[64];
    for (int j1 = 1; j1 <= m; j1 += 8) {
        const int j2 = std::min(j1 + 7, m);
        s += "\n";
        for (int j = j1; j <= j2; ++j) {
            std::snprintf(buf, sizeof buf, "%15d", j);
            s += buf;
        }
        s += "\n";
        for (int i = 1; i <= n; ++i) {
            std::snprintf(buf, sizeof buf, "%5d", i);
            s += buf;
            for (int j = j1; j <= j2; ++j) {
                std::snprintf(buf, sizeof buf, "%15.7E", A[(i - 1) + n * (j - 1)] + 0.0);
                s += buf;
            }
            s += "\n";
        }
    }
    return s;
}

const double kC[9] = {100.0, 30.0, 0.0, 30.0, 100.0, 0.0, 0.0, 0.0, 35.0};

} // namespace

TEST(MembranePrints, MatrixPrintInBlocksOfEight) {
    double A[18 * 18];
    for (int j = 1; j <= 18; ++j)
        for (int i = 1; i <= 18; ++i) A[(i - 1) + 18 * (j - 1)] = (i % 2 ? 1.0 : -1.0) * (100 * i + j);
    const std::string out = capture([&] { MATPRT(A, 18, 18, 10); });
    EXPECT_EQ(out, matprtText(A, 18, 18));
    // Three blocks: 8, 8 and 2 columns.
    EXPECT_NE(out.find("\n              9             10             11             12"
                       "             13             14             15             16\n"),
              std::string::npos);
    EXPECT_NE(out.find("\n             17             18\n    1  1.1700000E+02  1.1800000E+02\n"),
              std::string::npos);
    EXPECT_EQ(out.substr(out.size() - 36), "   18 -1.8170000E+03 -1.8180000E+03\n");
    double B[36];
    for (int k = 0; k < 36; ++k) B[k] = 0.5 * k;
    const std::string six = capture([&] { MATPRT(B, 6, 6, 10); });
    EXPECT_EQ(six.substr(0, 100),
              "\n              1              2              3              4              5"
              "              6\n    1  0");
    EXPECT_EQ(six, matprtText(B, 6, 6));
    EXPECT_EQ(capture([&] { MATPRT(B, 6, 6, 0); }), "");
}

TEST(MembranePrints, Pcst31EntryMatrixAndLeaving) {
    const double X[3] = {0.0, 2.0, 0.0}, Y[3] = {0.0, 0.0, 1.0};
    double EK[36];
    int ierr = 9;
    const std::string out = capture([&] { PCST31(EK, kC, X, Y, 0.5, 12, 10, 3, ierr); });
    EXPECT_EQ(ierr, 0);
    EXPECT_EQ(EK[0], 30.0); // t A (C11 b1^2 + C33 c1^2) = 0.5 (25 + 35)
    const std::string head =
        "\n\n\n ENTERING PCST31 FOR ELEMENT    12 :\n"
        "\n     ELEMENT THICKNESS  :  5.0000E-01\n"
        "\n     CORNER COORDINATES :\n"
        "     X1 = 0.0000E+00    X2 = 2.0000E+00    X3 = 0.0000E+00\n"
        "     Y1 = 0.0000E+00    Y2 = 0.0000E+00    Y3 = 1.0000E+00\n"
        "\n     ELASTICITY MATRIX  :\n"
        "    1.0000000E+02  3.0000000E+01  0.0000000E+00\n"
        "    3.0000000E+01  1.0000000E+02  0.0000000E+00\n"
        "    0.0000000E+00  0.0000000E+00  3.5000000E+01\n"
        "\n\n     ELEMENT STIFFNESS MATRIX :\n";
    EXPECT_EQ(out, head + matprtText(EK, 6, 6) + "\n LEAVING PCST31 FOR ELEMENT    12\n");

    // Switch 2: input and leaving line, no matrix; switch 1: nothing.
    const std::string two = capture([&] { PCST31(EK, kC, X, Y, 0.5, 12, 10, 2, ierr); });
    EXPECT_EQ(two, head.substr(0, head.size() - 34) + "\n LEAVING PCST31 FOR ELEMENT    12\n");
    EXPECT_EQ(capture([&] { PCST31(EK, kC, X, Y, 0.5, 12, 10, 1, ierr); }), "");
}

TEST(MembranePrints, Pcst31WarningAndError) {
    double EK[36];
    int ierr = 0;
    const double X[3] = {0.0, 10.0, 0.0}, Y[3] = {0.0, 0.0, 1.0};
    EXPECT_EQ(capture([&] { PCST31(EK, kC, X, Y, 1.0, 5, 10, 0, ierr); }),
              "\n\n\n *** WARNING FROM PCST31 ***\n"
              "\n     THE SHAPE MAY BE CRITICAL FOR ELEMENT    5\n");
    EXPECT_EQ(ierr, 1);
    EXPECT_EQ(capture([&] { PCST31(EK, kC, X, Y, 1.0, 5, 10, -1, ierr); }), "");
    EXPECT_EQ(ierr, 1);
    const double Xb[3] = {0.0, 200.0, 0.0};
    EXPECT_EQ(capture([&] { PCST31(EK, kC, Xb, Y, 1.0, 5, 10, -1, ierr); }),
              "\n\n\n *** ERROR RETURN FROM PCST31 ***\n"
              "\n     ERROR FLAG = -1\n"
              "\n     ELEMENT     5   IN ERROR\n");
    EXPECT_EQ(ierr, -1);
}

TEST(MembranePrints, Lst31AndPqst31) {
    const double X[3] = {0.0, 2.0, 0.0}, Y[3] = {0.0, 0.0, 1.0}, H[3] = {1.0, 1.5, -2.25};
    const std::string input =
        "\n     CORNER THICKNESSES :\n"
        "     H1 = 1.0000E+00    H2 = 1.5000E+00    H3 =-2.2500E+00\n"
        "\n     CORNER COORDINATES :\n"
        "     X1 = 0.0000E+00    X2 = 2.0000E+00    X3 = 0.0000E+00\n"
        "     Y1 = 0.0000E+00    Y2 = 0.0000E+00    Y3 = 1.0000E+00\n"
        "\n     ELASTICITY MATRIX  :\n"
        "     1.0000000E+02  3.0000000E+01  0.0000000E+00\n"
        "     3.0000000E+01  1.0000000E+02  0.0000000E+00\n"
        "     0.0000000E+00  0.0000000E+00  3.5000000E+01\n";
    double EK[324], G[36], CKI[4], W1[120], W2[400];
    int ierr = 9;
    std::string out = capture([&] { LST31(EK, kC, X, Y, H, 7, 10, 3, ierr); });
    EXPECT_EQ(ierr, 0);
    EXPECT_EQ(out, "\n\n\n ENTERING LST31 FOR ELEMENT     7 :\n" + input +
                       "\n     ELEMENT STIFFNESS MATRIX :\n" + matprtText(EK, 12, 12) +
                       "\n LEAVING LST31 FOR ELEMENT     7\n");
    out = capture([&] { PQST31(EK, G, CKI, W1, kC, X, Y, H, W2, 7, 10, 3, ierr); });
    EXPECT_EQ(ierr, 0);
    EXPECT_EQ(out, "\n\n\n ENTERING PQST31 FOR ELEMENT     7 :\n" + input +
                       "\n     ELEMENT STIFFNESS MATRIX :\n" + matprtText(EK, 18, 18) +
                       "\n\n\n LEAVING PQST31 FOR ELEMENT     7\n");

    // Errors are written whatever the switch.
    const double Xcw[3] = {0.0, 0.0, 2.0}, Ycw[3] = {0.0, 1.0, 0.0};
    EXPECT_EQ(capture([&] { LST31(EK, kC, Xcw, Ycw, H, 7, 10, -3, ierr); }),
              "\n\n\n *** ERROR RETURN FROM LST31 ***\n\n     ERROR FLAG = -1\n"
              "\n     ELEMENT     7   IN ERROR\n");
    const double Z[3] = {0.0, 1.0, 2.0};
    EXPECT_EQ(capture([&] { PQST31(EK, G, CKI, W1, kC, Z, Z, H, W2, 8, 10, 0, ierr); }),
              "\n\n\n *** ERROR RETURN FROM PQST31 ***\n\n     ERROR FLAG = -2\n"
              "\n     ELEMENT     8   IN ERROR\n");
    EXPECT_EQ(capture([&] { PQST31(EK, G, CKI, W1, kC, Z, Z, H, W2, 8, 0, 0, ierr); }), "");
}
