// The eigensolver, Lanczos, subspace-iteration and convergence pages.
#include "tests/pavesta/layout_check.h"
#include "tests/pavesta/sheet_runner.h"

namespace pavesta_test
{
namespace
{

class EigenPagesTest : public HeadlessApp
{
};

TEST_F(EigenPagesTest, TemplatesPassTheLayoutCheck)
{
    for (UINT nID : {UINT(VokLGPPBuckling::IDD), UINT(VokPPLanczSett::IDD),
                     UINT(VokPPMSSITSett::IDD), UINT(VokPPConvergence::IDD)})
        EXPECT_EQ(LayoutFaults(nID), std::vector<std::string>{}) << nID;
}

TEST_F(EigenPagesTest, KexOutsideOneToFiveIsRefused)
{
    VokPPLanczSett page;
    page.m_uKEX = 2;
    page.m_iReorth = 4;
    page.m_iStartVector = 1;
    RunSheet({&page}, [&](DialogDriver& d) {
        EXPECT_EQ(d.Check(16244), 1); // simplified "half" is the fifth choice
        for (const char* bad : {"0", "6"}) {
            d.Type(16230, bad);
            Boxes().Expect("Please enter an integer between 1 and 5.");
            d.PressOK();
            ASSERT_FALSE(page.GetSheet()->IsEnded()) << bad;
        }
        d.Type(16230, "5");
        d.Click(16247);
        d.Type(16254, "1.5");
        d.PressOK();
    });
    EXPECT_EQ(page.m_uKEX, 5u);
    EXPECT_EQ(page.m_iReorth, 2);
    EXPECT_EQ(page.m_iStartVector, 1);
    EXPECT_EQ(page.m_fMaxlanScaling, 1.5f);
}

TEST_F(EigenPagesTest, TheGeometricStiffnessDecidesTheEvaluationPoint)
{
    VokLGPPBuckling page;
    page.m_iGeomStiffness = 1;
    page.m_iEvalPoint = 1;
    page.m_dShift = 2.0;
    RunSheet({&page}, [&](DialogDriver& d) {
        EXPECT_TRUE(d.Enabled(16066));
        d.Click(16064);
        EXPECT_FALSE(d.Enabled(16066));
        EXPECT_FALSE(d.Enabled(16067));
        d.Click(16065);
        EXPECT_TRUE(d.Enabled(16066));
        EXPECT_TRUE(d.Enabled(16067));
        d.Click(16063);
        d.Click(16068);
        EXPECT_FALSE(d.Enabled(16066));
        EXPECT_FALSE(d.Enabled(16067));
        EXPECT_EQ(d.Check(16062), 1);
        EXPECT_EQ(d.Check(16064), 1);
        EXPECT_EQ(d.Text(16070), "-1");
        EXPECT_EQ(d.Text(16071), "0");
        EXPECT_EQ(d.Text(16230), "100");
        d.PressOK();
    });
    EXPECT_EQ(page.m_iSolver, 0);
    EXPECT_EQ(page.m_iGeomStiffness, 0);
    EXPECT_EQ(page.m_iEvalPoint, 0);
    EXPECT_EQ(page.m_dMaxRelError, -1.0);
    EXPECT_EQ(page.m_dShift, 0.0);
    EXPECT_EQ(page.m_uFullMatrixLimit, 100u);
}

TEST_F(EigenPagesTest, OpensWithTangentAndTheEvaluationPointDisabled)
{
    VokLGPPBuckling page;
    RunSheet({&page}, [&](DialogDriver& d) {
        EXPECT_FALSE(d.Enabled(16066));
        EXPECT_FALSE(d.Enabled(16067));
        d.Type(16230, "10001");
        Boxes().Expect("Please enter an integer between 0 and 10000.");
        d.PressOK();
        ASSERT_FALSE(page.GetSheet()->IsEnded());
        d.PressCancel();
    });
}

TEST_F(EigenPagesTest, SubspacePageExchangesItsValues)
{
    VokPPMSSITSett page;
    page.m_nIterations = 40;
    RunSheet({&page}, [&](DialogDriver& d) {
        EXPECT_EQ(d.Text(16069), "40");
        d.Click(16253);
        d.Click(16252);
        d.Click(16234);
        d.Type(16069, "12");
        d.PressOK();
    });
    EXPECT_EQ(page.m_iFeedVector, 1);
    EXPECT_EQ(page.m_iStartVector, 1);
    EXPECT_EQ(page.m_iSkipConverged, 1);
    EXPECT_EQ(page.m_nIterations, 12);
}

TEST_F(EigenPagesTest, ConvergenceWithOnlyTheIterationPointerWritesOnlyThat)
{
    int iterations = 25;
    VokPPConvergence page;
    page.m_piMaxIterations = &iterations;
    RunSheet({&page}, [&](DialogDriver& d) {
        EXPECT_EQ(d.Text(16043), "25");
        EXPECT_TRUE(d.Enabled(16043));
        for (int id : {16040, 16041, 16042, 16044, 16045, 16046, 16047, 16059, 16060, 16061, 16203})
            EXPECT_FALSE(d.Enabled(id)) << id;
        d.Type(16043, "60");
        d.PressOK();
    });
    EXPECT_EQ(iterations, 60);
    EXPECT_EQ(page.m_iAccept, 1);
}

TEST_F(EigenPagesTest, ConvergenceWritesEveryPointerItIsGiven)
{
    double energy = 1e-3, displ = 1e-4, residual = 1e-5, singular = 1e-9, rotation = 0.1,
           maxDispl = 100.0;
    int iterations = 10, substages = 2, accept = 1, check = 1, symmetrize = 0;
    VokPPConvergence page;
    page.m_pdEpsEnergy = &energy;
    page.m_pdEpsDispl = &displ;
    page.m_pdEpsResidual = &residual;
    page.m_piMaxIterations = &iterations;
    page.m_piSubstages = &substages;
    page.m_piAccept = &accept;
    page.m_pdNearSingular = &singular;
    page.m_piCheckSingular = &check;
    page.m_pdMaxIncrRotation = &rotation;
    page.m_pdMaxDisplacement = &maxDispl;
    page.m_piSymmetrize = &symmetrize;
    RunSheet({&page}, [&](DialogDriver& d) {
        EXPECT_EQ(d.Check(16046), 1);
        EXPECT_EQ(d.Text(16044), "2");
        d.Click(16045);
        d.Click(16059);
        d.Click(16203);
        d.Type(16040, "0.5");
        d.Type(16061, "7");
        d.PressOK();
    });
    EXPECT_EQ(energy, 0.5);
    EXPECT_EQ(displ, 1e-4);
    EXPECT_EQ(accept, 0);
    EXPECT_EQ(check, 0);
    EXPECT_EQ(symmetrize, 1);
    EXPECT_EQ(maxDispl, 7.0);
    EXPECT_EQ(substages, 2);
}

} // namespace
} // namespace pavesta_test
