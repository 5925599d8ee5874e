// The bar, beam-element, general, co-rotational and force pages.
#include <memory>

#include "femodel/bar.h"
#include "femodel/triangle.h"
#include "geometry/snode.h"
#include "tests/pavesta/layout_check.h"
#include "tests/pavesta/sheet_runner.h"

namespace pavesta_test
{
namespace
{

constexpr int kCombo = 16034, kCount = 16035, kSecond = 16079, kChange = 16143;

class BeamPagesTest : public HeadlessApp
{
protected:
    CRuntimeClass* const bar = RUNTIME_CLASS(CBarElm);
    CRuntimeClass* const tri = RUNTIME_CLASS(CTriElement);

    CBeamSeg* Segment(CRuntimeClass* pClass, int count, int spare = 0)
    {
        segments.push_back(std::make_unique<CBeamSeg>());
        CBeamSeg* seg = segments.back().get();
        seg->SetElemClass(pClass);
        seg->SetElemCount(count);
        seg->SetSpare(spare);
        return seg;
    }

    std::vector<std::unique_ptr<CBeamSeg>> segments;
};

TEST_F(BeamPagesTest, TemplatesPassTheLayoutCheck)
{
    for (UINT nID : {16018u, 16028u, 16257u, 16066u, 16068u})
        EXPECT_EQ(LayoutFaults(nID), std::vector<std::string>{}) << nID;
}

TEST_F(BeamPagesTest, BarPageShowsTheLengthOnlyWhenItIsKnown)
{
    VokPPBarEdit withLength;
    withLength.m_dLength = 2500;
    withLength.m_iArchType = 1;
    RunSheet({&withLength}, [&](DialogDriver& d) {
        EXPECT_TRUE(d.Visible(16258));
        EXPECT_EQ(d.Text(16258), "Length = 2500 mm");
        EXPECT_TRUE(d.Enabled(16236));
        EXPECT_EQ(d.Check(16237), 1);
        d.Click(16236);
        d.Type(16042, "12.5");
        d.Type(16206, "1");
        d.PressOK();
    });
    EXPECT_EQ(withLength.m_iArchType, 0);
    EXPECT_EQ(withLength.m_dEcc1[2], 12.5);
    EXPECT_EQ(withLength.m_dZDir[2], 1.0);

    VokPPBarEdit plain;
    RunSheet({&plain}, [&](DialogDriver& d) {
        EXPECT_FALSE(d.Visible(16258));
        EXPECT_FALSE(d.Enabled(16236));
        EXPECT_FALSE(d.Enabled(16237));
        d.PressOK();
    });
    EXPECT_EQ(plain.m_iArchType, -1);
}

TEST_F(BeamPagesTest, SingleSegmentShowsItsClassAndCountsAndTakesTheChoice)
{
    CBeamSeg* seg = Segment(bar, 4, 2);
    VokPPBeamElemPage page;
    page.m_pSegment = seg;
    page.m_Classes = {bar, tri};
    RunSheet({&page}, [&](DialogDriver& d) {
        EXPECT_EQ(d.Items(kCombo), (std::vector<CString>{" Default ", "CBarElm", "CTriElement"}));
        EXPECT_EQ(d.CurSel(kCombo), 1);
        EXPECT_EQ(d.Text(kCount), "4");
        EXPECT_EQ(d.Text(kSecond), "2");
        EXPECT_FALSE(d.Visible(kChange));
        EXPECT_TRUE(d.Enabled(kCount));
        EXPECT_FALSE(d.Enabled(ID_APPLY_NOW));
        d.Select(kCombo, 2);
        EXPECT_TRUE(d.Enabled(ID_APPLY_NOW));
        d.Type(kCount, "9");
        d.PressOK();
    });
    EXPECT_EQ(seg->GetElemClass(), tri);
    EXPECT_EQ(seg->GetElemCount(), 9);
    EXPECT_EQ(seg->GetSpare(), 2);

    // " Default " carries no class.
    VokPPBeamElemPage again;
    again.m_pSegment = seg;
    again.m_Classes = {bar, tri};
    RunSheet({&again}, [&](DialogDriver& d) {
        d.Select(kCombo, 0);
        d.Type(kCount, "1000001");
        Boxes().Expect("Please enter an integer between 0 and 1000000.");
        d.PressOK();
        ASSERT_FALSE(again.GetSheet()->IsEnded());
        d.Type(kCount, "3");
        d.PressOK();
    });
    EXPECT_EQ(seg->GetElemClass(), nullptr);
    EXPECT_EQ(seg->GetElemCount(), 3);
}

TEST_F(BeamPagesTest, AListWithTwoClassesOpensOnNoChangeAndKeepsEveryClass)
{
    CSNode node;
    CBeamSeg* a = Segment(bar, 2);
    CBeamSeg* b = Segment(tri, 3);
    CObList list;
    list.AddTail(&node); // not a segment: never touched
    list.AddTail(a);
    list.AddTail(b);
    VokPPBeamElemPage page;
    page.m_pList = &list;
    page.m_Classes = {bar, tri};
    RunSheet({&page}, [&](DialogDriver& d) {
        EXPECT_EQ(d.Items(kCombo),
                  (std::vector<CString>{"  No change ", " Default ", "CBarElm", "CTriElement"}));
        EXPECT_EQ(d.CurSel(kCombo), 0);
        EXPECT_TRUE(d.Visible(kChange));
        EXPECT_FALSE(d.Enabled(kCount));
        EXPECT_FALSE(d.Enabled(kSecond));
        d.PressOK();
    });
    EXPECT_EQ(page.m_pSelClass, page.GetRuntimeClass());
    EXPECT_EQ(a->GetElemClass(), bar);
    EXPECT_EQ(b->GetElemClass(), tri);
    EXPECT_EQ(a->GetElemCount(), 2);
    EXPECT_EQ(b->GetElemCount(), 3);
}

TEST_F(BeamPagesTest, ChangeTogglesTheCountsAndAListTakesClassAndCounts)
{
    CBeamSeg* a = Segment(bar, 2, 1);
    CBeamSeg* b = Segment(bar, 3, 1);
    CObList list;
    list.AddTail(a);
    list.AddTail(b);
    VokPPBeamElemPage page;
    page.m_pList = &list;
    page.m_Classes = {bar, tri};
    RunSheet({&page}, [&](DialogDriver& d) {
        // One class for all: no mixed entry, that class selected.
        EXPECT_EQ(d.Items(kCombo), (std::vector<CString>{" Default ", "CBarElm", "CTriElement"}));
        EXPECT_EQ(d.CurSel(kCombo), 1);
        EXPECT_FALSE(d.Enabled(ID_APPLY_NOW));
        d.Click(kChange);
        EXPECT_TRUE(d.Enabled(kCount));
        EXPECT_TRUE(d.Enabled(kSecond));
        EXPECT_TRUE(d.Enabled(ID_APPLY_NOW));
        d.Click(kChange);
        EXPECT_FALSE(d.Enabled(kCount));
        d.Click(kChange);
        d.Type(kCount, "6");
        d.Select(kCombo, 2);
        d.PressOK();
    });
    for (CBeamSeg* seg : {a, b}) {
        EXPECT_EQ(seg->GetElemClass(), tri);
        EXPECT_EQ(seg->GetElemCount(), 6);
    }
}

TEST_F(BeamPagesTest, GeneralPageSelectsTheDefaultClass)
{
    VokPPGenBeamElmSett page;
    page.m_Classes = {bar, tri};
    page.m_pSelClass = tri;
    page.m_dInitialAxialStrain = 0.5;
    RunSheet({&page}, [&](DialogDriver& d) {
        EXPECT_EQ(d.Items(16256), (std::vector<CString>{"CBarElm", "CTriElement"}));
        EXPECT_EQ(d.CurSel(16256), 1);
        EXPECT_EQ(d.Text(9030), "0.5");
        d.Click(16086);
        d.Select(16256, 0);
        d.PressOK();
    });
    EXPECT_EQ(page.m_pSelClass, bar);
    EXPECT_EQ(page.m_iLumpedMass, 1);
}

TEST_F(BeamPagesTest, BeamSettingsMapTheElementCodeToItsRadio)
{
    struct Case {
        int code;
        int radio;
    };
    const Case cases[] = {{3102, 16178}, {3103, 16179}, {3150, 16180}, {3999, 16181}, {0, 16181}};
    for (const Case& c : cases) {
        CPPBeamSett page;
        page.m_iElemCode = c.code;
        RunSheet({&page}, [&](DialogDriver& d) {
            EXPECT_EQ(d.Check(c.radio), 1) << c.code;
            EXPECT_EQ(d.Enabled(16110), c.radio == 16181) << c.code;
            d.PressOK();
        });
        EXPECT_EQ(page.m_iElemCode, c.code);
    }
    CPPBeamSett page;
    page.m_iElemCode = 4000;
    RunSheet({&page}, [&](DialogDriver& d) {
        d.Click(16179);
        EXPECT_EQ(d.Text(16110), "3103");
        EXPECT_FALSE(d.Enabled(16110));
        d.Click(16180);
        EXPECT_EQ(d.Text(16110), "3150");
        // "Other" is hidden; a program that picks it keeps the code.
        page.CheckRadioButton(16178, 16181, 16181);
        page.SendMessage(WM_COMMAND, MAKEWPARAM(16181, BN_CLICKED),
                         reinterpret_cast<LPARAM>(page.GetDlgItem(16181)->GetSafeHwnd()));
        EXPECT_EQ(d.Text(16110), "3150");
        EXPECT_TRUE(d.Enabled(16110));
        d.Click(16081);
        d.PressOK();
    });
    EXPECT_EQ(page.m_iElemType, 3);
    EXPECT_EQ(page.m_iElemCode, 3150);
    EXPECT_EQ(page.m_iPDelta, 1);
}

TEST_F(BeamPagesTest, ForcesShowNodeNumbersAndUnits)
{
    VokPPForceOutput page;
    page.m_strForceUnit = "kN";
    page.m_strMomentUnit = "kNm";
    page.m_iNode[0] = 12;
    page.m_fForces[1][5] = 2.5f;
    RunSheet({&page}, [&](DialogDriver& d) {
        EXPECT_EQ(d.Text(16229), "Node 12:");
        EXPECT_EQ(d.Text(16230), "Node 2");
        const std::pair<int, const char*> labels[] = {{16350, "N  [kN]:"},   {16351, "Vy [kN]:"},
                                                      {16352, "Vz [kN]:"},   {16353, "Mx   [kNm]:"},
                                                      {16354, "My  [kNm]:"}, {16355, "Mz  [kNm]:"},
                                                      {16356, "N  [kN]:"},   {16361, "Mz  [kNm]:"}};
        for (const auto& [id, text] : labels)
            EXPECT_EQ(d.Text(id), text) << id;
        EXPECT_EQ(d.Text(16101), "2.5");
        EXPECT_TRUE(d.ReadOnly(16094));
        d.PressOK();
    });
}

} // namespace
} // namespace pavesta_test
