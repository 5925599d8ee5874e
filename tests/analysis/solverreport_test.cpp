// Status texts of the solver and the repacking of the constant-strain
// triangles' result rows.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/analysis/analysis.h"
#include "tests/analysis/fake_solver.h"

namespace {

TEST(SolverErrorText, LinePerCode)
{
    const std::string header = "Brantel returned an error while solving:\r\n";
    const std::string closing = "If the problem perists, please contact your vendor.\r\n";
    struct Case {
        int code, detail;
        std::string lines;
    } cases[] = {
        {1, 7, "\tIllegal symmetry-code: (7)\r\n"},
        {2, 0, "\tFailed during determination of axial and bending stiffness\r\n"},
        {3, 2, "\tRenumeration-code (2) returned with error\r\n"},
        {4, 0, "\tPreassembly failed\r\n"},
        {5, 2, "\tAttempt to divide by zero\tError occured in subroutine  EMCR4 \r\n"
               "\tError while establishing system stiffness matrix Error-code: 2\r\n"},
        {5, 3, "\tError while establishing system stiffness matrix Error-code: 3\r\n"},
        {6, 4, "\tError while establishing system load matrix Error-code: 4\r\n"},
        {7, 0, " "},
        {7, 9, "\tError in node: 9\r\n"},
        {8, 0, "\tError in calculation occurred while solving shear and torsion parameters\r\n"},
        {-26, 14, "\tSolver status -26 (detail 14), see the solver run log\r\n"},
        {9, 1, "\tSolver status 9 (detail 1), see the solver run log\r\n"},
    };
    for (const Case& c : cases) {
        const int status[5] = {c.code, c.detail, 0, 0, 0};
        EXPECT_EQ(std::string(SolverErrorText(status).GetString()), header + c.lines + closing) << c.code;
    }
    const int ok[5] = {};
    EXPECT_TRUE(SolverErrorText(ok).IsEmpty());
    EXPECT_FALSE(IsSolverWarning(0));
    EXPECT_TRUE(IsSolverWarning(1));
    EXPECT_TRUE(IsSolverWarning(2));
    EXPECT_FALSE(IsSolverWarning(-1));
    EXPECT_TRUE(SolverWarningText(ok).IsEmpty());
}

TEST(RepackTriangleRows, KeepsThreeRowsPerElement)
{
    struct Case {
        int rows, elements;
        std::vector<double> expect; // column 0 of the rows after repacking
    } cases[] = {
        {4, 1, {0, 1, 2}},
        {8, 2, {0, 1, 2, 4, 5, 6}},
        {12, 3, {0, 1, 2, 4, 5, 6, 8, 9, 10}},
        {6, 2, {0, 1, 2, 3, 4, 5}}, // not four rows per element: untouched
        {4, 0, {0, 1, 2, 3}},
    };
    for (const Case& c : cases) {
        CMatrix m(c.rows, 3, true, 0.0);
        for (int r = 0; r < c.rows; ++r)
            for (int j = 0; j < 3; ++j)
                m[r][j] = r + 0.1 * j;
        RepackTriangleRows(m, c.elements);
        ASSERT_EQ(m.GetRows(), static_cast<int>(c.expect.size())) << c.rows;
        ASSERT_EQ(m.GetColumns(), 3);
        ASSERT_EQ(m.GetSize(), 3 * m.GetRows());
        for (int r = 0; r < m.GetRows(); ++r) {
            EXPECT_DOUBLE_EQ(m[r][0], c.expect[static_cast<std::size_t>(r)]) << c.rows << " row " << r;
            EXPECT_DOUBLE_EQ(m[r][2], c.expect[static_cast<std::size_t>(r)] + 0.2);
        }
    }
}

TEST(PrincipalExtremes, OverAllRows)
{
    CMatrix m(3, 3, true, 0.0);
    const double rows[3][3] = {{3, -1, 0}, {0, 0, 2}, {1, 1, 0}};
    for (int r = 0; r < 3; ++r)
        for (int j = 0; j < 3; ++j)
            m[r][j] = rows[r][j];
    double max1, min1, max2, min2;
    PrincipalExtremes(m, max1, min1, max2, min2);
    EXPECT_DOUBLE_EQ(max1, 3.0);
    EXPECT_DOUBLE_EQ(min1, 1.0);
    EXPECT_DOUBLE_EQ(max2, 1.0);
    EXPECT_DOUBLE_EQ(min2, -2.0);
}

// The recording solver answers every entry of the table, buckling too.
TEST(SolverEntries, FakeSolverReplacesAndRestoresTheTable)
{
    const SolverEntryTable library = LibrarySolverEntries();
    EXPECT_EQ(GetSolverEntries().plateBuckling, library.plateBuckling);
    {
        analysistest::FakeSolver fake;
        fake.eigenvalues = {2.5, 4.0};
        fake.modeShapes = {1, 2, 3, 4, 5, 6, 7, 8};
        fake.status = {1, 1, 2};
        std::int32_t key[30] = {};
        key[0] = 1;  // elements
        key[1] = 3;  // nodes
        key[14] = 2; // modes
        std::int32_t status[5] = {};
        double forces[9] = {1, 2, 3, 4, 5, 6, 7, 8, 9};
        double eigenvalues[2] = {}, shapes[6] = {};
        GetSolverEntries().plateKnekking(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, forces,
                                         eigenvalues, shapes, status);
        GetSolverEntries().plateBuckling(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, forces,
                                         eigenvalues, shapes, status);
        ASSERT_EQ(fake.calls.size(), 2u);
        EXPECT_EQ(fake.calls[0].entry, "PLATE_KNEKKING");
        EXPECT_EQ(fake.calls[0].inPlaneForces.size(), 9u);
        EXPECT_EQ(fake.calls[1].inPlaneForces, (std::vector<double>{1, 2, 3}));
        EXPECT_EQ(std::vector<double>(eigenvalues, eigenvalues + 2), (std::vector<double>{2.5, 4.0}));
        EXPECT_EQ(std::vector<double>(shapes, shapes + 6), (std::vector<double>{1, 2, 3, 4, 5, 6}));
        EXPECT_EQ(status[0], 1);
        EXPECT_EQ(status[2], 2);
    }
    EXPECT_EQ(GetSolverEntries().planeStr, library.planeStr);
    EXPECT_EQ(GetSolverEntries().plateKnekking, library.plateKnekking);
}

} // namespace
