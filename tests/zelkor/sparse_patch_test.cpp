// One element patch, assembled into every matrix form of the library, must
// give one solution.
#include <gtest/gtest.h>

#include "matrix/zelkor.h"
#include "tests/support/message_recorder.h"
#include "tests/zelkor/sparse_patch.h"
#include "tests/zelkor/matrix_checks.h"

namespace {

using zelkortest::SymScope;

void ExpectSame(const CMatrix& x, const CMatrix& expected, const char* form)
{
    ASSERT_EQ(x.GetRows(), expected.GetRows()) << form;
    ASSERT_EQ(x.GetColumns(), expected.GetColumns()) << form;
    for (int i = 0; i < x.GetRows(); ++i)
        for (int c = 0; c < x.GetColumns(); ++c)
            EXPECT_NEAR(x[i][c], expected[i][c], 1e-9 * (1.0 + std::fabs(expected[i][c])))
                << form << " (" << i << ", " << c << ")";
}

} // namespace

TEST(SparsePatch, EveryFormGivesTheDenseSolution)
{
    brantel::test::MessageRecorder messages;
    sparsetest::Patch patch(5, 4);
    double seconds = 0.0;

    CMatrix dense(patch.dofs, patch.dofs, true, 0.0);
    patch.Assemble(dense);
    CMatrix expected = patch.Loads();
    ASSERT_TRUE(dense.SolveAxEqb(&expected, true, seconds));

    {
        CSparseMatrix s;
        patch.Assemble(s);
        EXPECT_TRUE(s.IsSym());
        CMatrix b = patch.Loads();
        EXPECT_EQ(s.LU_Solve(&b, seconds), 1);
        ExpectSame(b, expected, "sparse LU");
    }
    {
        CSparseMatrix s;
        patch.Assemble(s);
        s.MakeUpper();
        CMatrix b = patch.Loads();
        EXPECT_EQ(s.Cholesky_Solve(&b, seconds), 1);
        ExpectSame(b, expected, "sparse Cholesky");
    }
    {
        SymScope sym(false);
        CSystSpMat s(patch.dofs);
        patch.Assemble(s);
        CMatrix b = patch.Loads();
        EXPECT_EQ(s.LU_Solve(&b, seconds), 1);
        ExpectSame(b, expected, "system sparse, full storage");
    }
    {
        SymScope sym(true);
        CReorderMat graph(0);
        patch.Graph(graph);
        CSystSpMat s;
        ASSERT_TRUE(s.Allocate(graph));
        patch.Assemble(s);
        CMatrix b = patch.Loads();
        EXPECT_EQ(s.Cholesky_Solve(&b, seconds), 1);
        ExpectSame(b, expected, "system sparse, upper storage");
    }
    {
        CReorderMat graph(0);
        patch.Graph(graph);
        CSkylineMatrix s;
        ASSERT_TRUE(s.Allocate(graph));
        patch.Assemble(s);
        CMatrix b = patch.Loads();
        EXPECT_EQ(s.Cholesky_Solve(&b, seconds), 1);
        ExpectSame(b, expected, "skyline");
    }
}
