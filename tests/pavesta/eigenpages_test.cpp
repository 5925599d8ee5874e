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

TEST_F(EigenPagesTest, EveryNumberHasItsRange)
{
    // Out of range: the field's message, the sheet stays on the page with the
    // focus on the field and nothing reaches the caller. Inside: stored.
    struct Case {
        int page; // 0 eigensolver, 1 Lanczos, 2 subspace, 3 convergence
        int field;
        const char* text;
        const char* box; // null: stored
    };
    const Case cases[] = {
        {0, 16070, "0", "Max. relative error = 0 is out of range.\nEnter a value > 0 and <= 1e+15."},
        {0, 16070, "-2", "Max. relative error = -2 is out of range.\nEnter a value > 0 and <= 1e+15."},
        {0, 16070, "-1", nullptr}, // the solver's default
        {0, 16070, "1e-6", nullptr},
        {1, 16254, "-0.5",
         "Scaling factor for MAXLAN = -0.5 is out of range.\nEnter a value between 0 and 1e+15."},
        {1, 16254, "0", nullptr}, // the routine's own
        {1, 16254, "2.5", nullptr},
        {2, 16069, "0", "Max.# of iterations = 0 is out of range.\nEnter a value between 1 and 1e+15."},
        {2, 16069, "1", nullptr},
        {3, 16040, "0", "eps energy = 0 is out of range.\nEnter a value > 0 and <= 1e+15."},
        {3, 16040, "1e-8", nullptr},
        {3, 16041, "-1e-4", "eps displ = -0.0001 is out of range.\nEnter a value > 0 and <= 1e+15."},
        {3, 16041, "0.01", nullptr},
        {3, 16042, "0", "eps residual = 0 is out of range.\nEnter a value > 0 and <= 1e+15."},
        {3, 16042, "2e-3", nullptr},
        {3, 16043, "0", "Max iterations = 0 is out of range.\nEnter a value between 1 and 1e+15."},
        {3, 16043, "1", nullptr},
        {3, 16044, "0", "Number of substages = 0 is out of range.\nEnter a value between 1 and 1e+15."},
        {3, 16044, "1", nullptr},
        {3, 16047, "0", "Near singularity condition = 0 is out of range.\nEnter a value > 0 and <= 1e+15."},
        {3, 16047, "1e-12", nullptr},
        {3, 16060, "-0.1",
         "Largest allowable incremental rotation = -0.1 is out of range.\nEnter a value > 0 and <= 1e+15."},
        {3, 16060, "0.2", nullptr},
        {3, 16061, "0", "Maximum displacement = 0 is out of range.\nEnter a value > 0 and <= 1e+15."},
        {3, 16061, "50", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.field) + " " + c.text);
        double energy = 1e-3, displ = 1e-4, residual = 1e-5, singular = 1e-9, rotation = 0.1,
               maxDispl = 100.0;
        int iterations = 10, substages = 2;
        VokLGPPBuckling buckling;
        buckling.m_dMaxRelError = 1e-4;
        VokPPLanczSett lanczos;
        lanczos.m_uKEX = 2;
        lanczos.m_fMaxlanScaling = 1.5f;
        VokPPMSSITSett subspace;
        subspace.m_nIterations = 40;
        VokPPConvergence convergence;
        convergence.m_pdEpsEnergy = &energy;
        convergence.m_pdEpsDispl = &displ;
        convergence.m_pdEpsResidual = &residual;
        convergence.m_piMaxIterations = &iterations;
        convergence.m_piSubstages = &substages;
        convergence.m_pdNearSingular = &singular;
        convergence.m_pdMaxIncrRotation = &rotation;
        convergence.m_pdMaxDisplacement = &maxDispl;
        const INT_PTR result =
            RunSheet({&buckling, &lanczos, &subspace, &convergence}, [&](DialogDriver& d) {
                d.ActivatePage(c.page);
                d.Type(c.field, c.text);
                if (!c.box) {
                    d.PressOK();
                    return;
                }
                auto* pSheet = static_cast<CPropertySheet*>(buckling.GetParent());
                Boxes().Expect(c.box);
                d.PressOK();
                EXPECT_FALSE(pSheet->IsEnded());
                EXPECT_EQ(pSheet->GetActiveIndex(), c.page);
                EXPECT_EQ(CWnd::GetFocus(), pSheet->GetActivePage()->GetDlgItem(c.field));
                d.PressCancel();
            });
        const double typed = AfxAtoF(c.text);
        const double stored[] = {buckling.m_dMaxRelError,
                                 lanczos.m_fMaxlanScaling,
                                 double(subspace.m_nIterations),
                                 energy,
                                 displ,
                                 residual,
                                 double(iterations),
                                 double(substages),
                                 singular,
                                 rotation,
                                 maxDispl};
        const int fields[] = {16070, 16254, 16069, 16040, 16041, 16042,
                              16043, 16044, 16047, 16060, 16061};
        const double before[] = {1e-4, 1.5, 40, 1e-3, 1e-4, 1e-5, 10, 2, 1e-9, 0.1, 100.0};
        EXPECT_EQ(result, c.box ? IDCANCEL : IDOK);
        for (size_t i = 0; i < std::size(fields); ++i)
            EXPECT_EQ(stored[i], !c.box && fields[i] == c.field ? typed : before[i]) << fields[i];
    }
}

} // namespace
} // namespace pavesta_test
