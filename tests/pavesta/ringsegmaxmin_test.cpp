// The ring-segment page (its values, their ranges and the pictures of the
// types) and the extremes dialog.
#include <vector>

#include "tests/pavesta/sheet_runner.h"

namespace pavesta_test
{
namespace
{

class RingSegmentPageTest : public HeadlessApp
{
protected:
    VokPPRingSeg page;

    UINT PictureShown() const { return page.GetDlgItem(IDC_RING_PICTURE)->GetState()->nBitmapID; }
    const CBitmap* BitmapShown() const
    {
        return static_cast<CStatic*>(page.GetDlgItem(IDC_RING_PICTURE))->GetBitmap();
    }
};

TEST_F(RingSegmentPageTest, OpensAsTypeOneWithTheDefaults)
{
    RunSheet(
        {&page},
        [&](DialogDriver& d) {
            EXPECT_EQ(d.Check(IDC_RING_TYPE1), 1);
            const std::pair<int, CString> shown[] = {
                {IDC_RING_HEIGHT, "10"},    {IDC_RING_RADIUS, "0"}, {IDC_RING_SEGMENTS, "16"},
                {IDC_RING_TANGENTIAL, "1"}, {IDC_RING_RADIAL, "1"}, {IDC_RING_ANGLE, "180"}};
            for (const auto& [id, text] : shown)
                EXPECT_EQ(d.Text(id), text) << id;
            EXPECT_EQ(PictureShown(), IDB_RING_TYPE1);
            d.PressOK();
        },
        "Ring-segment properties");
    EXPECT_EQ(page.m_iType, 0);
}

TEST_F(RingSegmentPageTest, CountsOutsideOneToAMillionAreRefused)
{
    const char* message = "Please enter an integer between 1 and 1000000.";
    RunSheet({&page}, [&](DialogDriver& d) {
        for (int id : {IDC_RING_SEGMENTS, IDC_RING_TANGENTIAL, IDC_RING_RADIAL}) {
            for (const char* bad : {"0", "-2", "1000001"}) {
                d.Type(id, bad);
                Boxes().Expect(message);
                d.PressOK();
                ASSERT_FALSE(page.GetSheet()->IsEnded()) << id << " " << bad;
            }
            d.Type(id, "4");
        }
        d.Type(IDC_RING_SEGMENTS, "1000000");
        d.PressOK();
    });
    EXPECT_EQ(page.m_nSegments, 1000000);
    EXPECT_EQ(page.m_nTangential, 4);
    EXPECT_EQ(page.m_nRadial, 4);
}

TEST_F(RingSegmentPageTest, LengthsHaveAFiniteRangeAndNamedMessages)
{
    RunSheet({&page}, [&](DialogDriver& d) {
        d.Type(IDC_RING_HEIGHT, "1e300");
        Boxes().Expect("Segment height (H) = 1e+300 is out of range.\nEnter a value between -1e+15 and 1e+15.");
        d.PressOK();
        ASSERT_FALSE(page.GetSheet()->IsEnded());
        d.Type(IDC_RING_HEIGHT, "12");
        d.Type(IDC_RING_RADIUS, "five");
        Boxes().Expect("Please enter a number for Radius (R).");
        d.PressOK();
        ASSERT_FALSE(page.GetSheet()->IsEnded());
        d.Type(IDC_RING_RADIUS, "5");
        d.PressOK();
    });
    EXPECT_EQ(page.m_dHeight, 12.0);
    EXPECT_EQ(page.m_dRadius, 5.0);
}

TEST_F(RingSegmentPageTest, TheTypeShowsItsPairAndPictureAndHiddenValuesComeBack)
{
    RunSheet({&page}, [&](DialogDriver& d) {
        d.Type(IDC_RING_RADIUS, "5");
        struct Case {
            int nRadio;
            bool angle;
            UINT nBitmap;
        };
        const Case cases[] = {{IDC_RING_TYPE3, true, IDB_RING_TYPE3},
                              {IDC_RING_TYPE2, false, IDB_RING_TYPE2},
                              {IDC_RING_TYPE1, false, IDB_RING_TYPE1},
                              {IDC_RING_TYPE3, true, IDB_RING_TYPE3}};
        for (const Case& c : cases) {
            d.Click(c.nRadio);
            EXPECT_EQ(d.Visible(IDC_RING_ANGLE), c.angle) << c.nRadio;
            EXPECT_EQ(d.Visible(IDC_RING_ANGLE_LABEL), c.angle);
            EXPECT_EQ(d.Visible(IDC_RING_RADIUS), !c.angle);
            EXPECT_EQ(d.Visible(IDC_RING_RADIUS_LABEL), !c.angle);
            EXPECT_EQ(PictureShown(), c.nBitmap);
            ASSERT_NE(BitmapShown(), nullptr);
            EXPECT_EQ(BitmapShown()->GetResourceID(), c.nBitmap);
        }
        EXPECT_EQ(d.Text(IDC_RING_ANGLE), "180");
        d.Type(IDC_RING_ANGLE, "90");
        d.PressOK();
    });
    EXPECT_EQ(page.m_iType, 2);
    EXPECT_EQ(page.m_dAngle, 90);
    EXPECT_EQ(page.m_dRadius, 5);
    // Shown again, the page starts from the values it returned.
    RunSheet({&page}, [&](DialogDriver& d) {
        EXPECT_TRUE(d.Visible(IDC_RING_ANGLE));
        EXPECT_EQ(PictureShown(), IDB_RING_TYPE3);
        d.PressCancel();
    });
}

class MaxMinDialogTest : public HeadlessApp
{
protected:
    CStringArray names, labels, maxima, minima;

    std::vector<CString> Shown(VokDlgMaxMinVals& dlg, std::vector<int>* tabStops = nullptr)
    {
        std::vector<CString> rows;
        ModalScript script;
        script.Dialog(IDD_MAX_MIN_VALUES, [&](DialogDriver& d, CDialog& shown) {
            EXPECT_EQ(d.Caption(), "Maximum and minimum values");
            rows = d.Items(IDC_MAX_MIN_LIST);
            if (tabStops)
                *tabStops =
                    static_cast<CListBox*>(shown.GetDlgItem(IDC_MAX_MIN_LIST))->GetTabStops();
            d.PressOK();
        });
        EXPECT_EQ(dlg.DoModal(), IDOK);
        return rows;
    }
};

TEST_F(MaxMinDialogTest, AHeaderThenOneRowPerResult)
{
    for (CStringArray* column : {&names, &labels, &maxima, &minima}) {
        column->Add("a");
        column->Add("b");
    }
    names[1] = "Mx";
    labels[1] = "kNm/m";
    maxima[1] = "1.5e+01";
    minima[1] = "-3.0e+00";
    VokDlgMaxMinVals dlg;
    dlg.m_pColumn1 = &names;
    dlg.m_pColumn2 = &labels;
    dlg.m_pColumn3 = &maxima;
    dlg.m_pColumn4 = &minima;
    std::vector<int> tabStops;
    EXPECT_EQ(Shown(dlg, &tabStops),
              (std::vector<CString>{" \tMax\tMin", "a\ta\ta\ta", "Mx\tkNm/m\t1.5e+01\t-3.0e+00"}));
    EXPECT_EQ(tabStops, (std::vector<int>{64}));
}

TEST_F(MaxMinDialogTest, RowsStopAtTheShortestColumnAndAMissingOneCountsEmpty)
{
    names.Add("Sx");
    names.Add("Sy");
    labels.Add("MPa");
    maxima.Add("1");
    maxima.Add("2");
    minima.Add("0");
    minima.Add("0");
    VokDlgMaxMinVals dlg;
    dlg.m_pColumn1 = &names;
    dlg.m_pColumn2 = &labels;
    dlg.m_pColumn3 = &maxima;
    dlg.m_pColumn4 = &minima;
    EXPECT_EQ(Shown(dlg), (std::vector<CString>{" \tMax\tMin", "Sx\tMPa\t1\t0"}));

    minima.RemoveAll(); // an empty fourth column
    EXPECT_EQ(Shown(dlg), (std::vector<CString>{" \tMax\tMin"}));

    dlg.m_pColumn4 = &maxima;
    dlg.m_pColumn2 = nullptr;
    EXPECT_EQ(Shown(dlg), (std::vector<CString>{" \tMax\tMin"}));
}

} // namespace
} // namespace pavesta_test
