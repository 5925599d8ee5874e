// The small input dialogs: matrix, member division, rotation and options.
#include "tests/pavesta/layout_check.h"
#include "tests/pavesta/sheet_runner.h"

namespace pavesta_test
{
namespace
{

class SmallDialogsTest : public HeadlessApp
{
protected:
    // Runs dlg modally; step drives it and ends it.
    INT_PTR Run(CDialog& dlg, UINT nID, std::function<void(DialogDriver&)> step)
    {
        ModalScript script;
        script.Dialog(nID, [&](DialogDriver& d, CDialog&) { step(d); });
        return dlg.DoModal();
    }
};

TEST_F(SmallDialogsTest, TemplatesPassTheLayoutCheckAndShowTheirCaptions)
{
    const std::pair<UINT, const char*> cases[] = {{VokDlg3x3Matrix::IDD, "Matrix"},
                                                  {VokDLGDivideSegment::IDD, "Divide member(s)"},
                                                  {VokDLGRotate::IDD, "Rotate"},
                                                  {VokDlgCalcSett1::IDD, "Options"}};
    for (const auto& [nID, caption] : cases) {
        EXPECT_EQ(LayoutFaults(nID), std::vector<std::string>{}) << nID;
        EXPECT_EQ(AfxFindResource<DialogTemplate>(nID)->strCaption, caption);
    }
}

TEST_F(SmallDialogsTest, TheMatrixRoundTripsRowByRow)
{
    VokDlg3x3Matrix dlg;
    for (int i = 0; i < 9; ++i)
        dlg.m_dA[i] = i + 1;
    EXPECT_EQ(Run(dlg, VokDlg3x3Matrix::IDD,
                  [](DialogDriver& d) {
                      for (int i = 0; i < 9; ++i)
                          EXPECT_EQ(d.Text(VokDlg3x3Matrix::kEditIDs[i]),
                                    CString(std::to_string(i + 1).c_str()));
                      // The second row's middle value.
                      d.Type(16235, "-2.5");
                      d.PressOK();
                  }),
              IDOK);
    const double expected[9] = {1, 2, 3, 4, -2.5, 6, 7, 8, 9};
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(dlg.m_dA[i], expected[i]) << i;
}

TEST_F(SmallDialogsTest, DivideRefusesFewerThanTwoMembersAndKeepsTheDialogOpen)
{
    VokDLGDivideSegment dlg;
    EXPECT_EQ(Run(dlg, VokDLGDivideSegment::IDD,
                  [&](DialogDriver& d) {
                      EXPECT_EQ(d.Text(16230), "2");
                      EXPECT_EQ(d.Check(16144), 1);
                      for (const char* bad : {"1", "0", "1000001"}) {
                          d.Type(16230, bad);
                          Boxes().Expect("Please enter an integer between 2 and 1000000.");
                          d.PressOK();
                          ASSERT_FALSE(dlg.IsEnded()) << bad;
                      }
                      d.Type(16230, "7");
                      d.Click(16145);
                      d.PressOK();
                  }),
              IDOK);
    EXPECT_EQ(dlg.m_nMembers, 7);
    EXPECT_EQ(dlg.m_iDivision, 1);
}

TEST_F(SmallDialogsTest, RotateEnablesTheFieldsOfItsKind)
{
    VokDLGRotate dlg;
    dlg.m_dCenter[1] = 5.0;
    const int director[] = {16265, 16261, 16262, 16263};
    const int rotations[] = {16264, 16259, 16260};
    const int centre[] = {16234, 16236, 16237};
    auto expectKind = [&](DialogDriver& d, bool pseudo) {
        for (int id : director)
            EXPECT_EQ(d.Enabled(id), pseudo) << id;
        for (int id : rotations)
            EXPECT_EQ(d.Enabled(id), !pseudo) << id;
        for (int id : centre)
            EXPECT_TRUE(d.Enabled(id)) << id;
    };
    EXPECT_EQ(Run(dlg, VokDLGRotate::IDD,
                  [&](DialogDriver& d) {
                      EXPECT_EQ(d.Check(16145), 1);
                      expectKind(d, false);
                      d.Click(16144);
                      expectKind(d, true);
                      d.Type(16265, "30");
                      d.Type(16263, "1");
                      d.Click(16145);
                      expectKind(d, false);
                      d.Click(16144);
                      d.PressOK();
                  }),
              IDOK);
    EXPECT_EQ(dlg.m_iKind, VokDLGRotate::pseudovector);
    EXPECT_EQ(dlg.m_dAngle, 30.0);
    EXPECT_EQ(dlg.m_dDirector[2], 1.0);
    EXPECT_EQ(dlg.m_dCenter[1], 5.0);
}

TEST_F(SmallDialogsTest, OptionsEnableModeAndAmplitudeOnlyWhilePreapplyIsTicked)
{
    VokDlgCalcSett1 dlg;
    EXPECT_EQ(Run(dlg, VokDlgCalcSett1::IDD,
                  [&](DialogDriver& d) {
                      EXPECT_FALSE(d.Enabled(16074));
                      EXPECT_FALSE(d.Enabled(16075));
                      d.Click(16072);
                      EXPECT_TRUE(d.Enabled(16074));
                      EXPECT_TRUE(d.Enabled(16075));
                      d.Type(16074, "3");
                      d.Type(16075, "0.25");
                      d.Click(16076);
                      d.Click(16072);
                      EXPECT_FALSE(d.Enabled(16074));
                      d.Click(16072);
                      d.PressOK();
                  }),
              IDOK);
    EXPECT_EQ(dlg.m_iPreapply, 1);
    EXPECT_EQ(dlg.m_uMode, 3u);
    EXPECT_EQ(dlg.m_dAmplitude, 0.25);
    EXPECT_EQ(dlg.m_iSequentialImages, 1);
}

} // namespace
} // namespace pavesta_test
