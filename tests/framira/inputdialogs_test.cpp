// The input dialogs, driven as a user would; the coordinate dialogs talk
// to a parent window that records their messages.
#include <utility>
#include <vector>

#include "framework/framira.h"
#include "platform/dimvor/units.h"
#include "tests/framira/page_runner.h"
#include "tests/pavesta/layout_check.h"

namespace
{

using afxui::headless::DialogDriver;
using afxui::headless::HeadlessApp;
using afxui::headless::ModalScript;

using InputDialogs = HeadlessApp;

TEST_F(InputDialogs, EveryTemplateIsLaidOutCleanly)
{
    for (UINT nID : {27019u, 27020u, 27051u, 27022u, 27031u, 27032u, 27033u, 27023u, 27047u, 27030u,
                     27048u, 27028u, 27026u, 27035u, 27050u, 27024u, 27029u, 16231u})
        EXPECT_EQ(pavesta_test::LayoutFaults(nID), std::vector<std::string>{}) << nID;
}

TEST_F(InputDialogs, CircleModesAndSegmentRange)
{
    struct Case {
        int mode;
        int checked;
        bool areaEnabled, lengthEnabled;
    };
    for (const Case c : {Case{0, 0, true, true}, Case{1, 1, true, false}, Case{2, 2, false, true}}) {
        KorDlgCircle dlg(c.mode, nullptr);
        ModalScript script;
        script.Dialog(KorDlgCircle::IDD, [&](DialogDriver& d, CDialog&) {
            EXPECT_EQ(d.Text(16230), "16");
            EXPECT_EQ(d.Check(50076 + c.checked), 1) << c.mode;
            EXPECT_EQ(d.Enabled(50077), c.areaEnabled) << c.mode;
            EXPECT_EQ(d.Enabled(50078), c.lengthEnabled) << c.mode;
            d.PressCancel();
        });
        dlg.DoModal();
    }
    // Counts outside 8 ... 192 never reach the caller.
    KorDlgCircle dlg(0, nullptr);
    ModalScript script;
    script.Dialog(KorDlgCircle::IDD, [&](DialogDriver& d, CDialog&) {
        script.MessageBox("Please enter an integer between 8 and 192.");
        d.Type(16230, "100000");
        d.PressOK();
        script.MessageBox("Please enter an integer between 8 and 192.");
        d.Type(16230, "7");
        d.PressOK();
        d.Type(16230, "192");
        d.PressOK();
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.m_nSegments, 192u);
}

// A view that counts its document's updates.
class CountingView : public CView
{
public:
    int updates = 0;
    void OnUpdate(CView*, LPARAM, CObject*) override { ++updates; }
    void OnDraw(CDC*) override {}
};

TEST_F(InputDialogs, OneValueWritesThroughItsPointerAtApply)
{
    // From a value: Apply is disabled and OK leaves the value in the dialog.
    KorDlgDblVal byValue("Zoom", 2.5, "%", nullptr);
    ModalScript script;
    script.Dialog(KorDlgDblVal::IDD_UNIT, [&](DialogDriver& d, CDialog&) {
        EXPECT_EQ(d.Caption(), "Zoom");
        EXPECT_EQ(d.Text(16231), "%");
        EXPECT_FALSE(d.Enabled(50080));
        d.Type(16230, "4");
        d.PressOK();
    });
    EXPECT_EQ(byValue.DoModal(), IDOK);
    EXPECT_EQ(byValue.m_dValue, 4.0);

    // From a pointer: Apply writes through and updates the document's
    // views, and Cancel does not undo it.
    CDocument doc;
    doc.m_bAutoDelete = FALSE; // on the stack: not deleted with its last view
    CountingView view;
    doc.AddView(&view);
    double zoom = 100.0;
    KorDlgDblVal byPointer(&doc, "Set Zoom Factor", &zoom);
    script.Dialog(KorDlgDblVal::IDD_PLAIN, [&](DialogDriver& d, CDialog&) {
        EXPECT_EQ(d.Text(16230), "100");
        d.Type(16230, "150");
        d.Click(50080);
        EXPECT_EQ(zoom, 150.0);
        EXPECT_EQ(view.updates, 1);
        d.Type(16230, "175");
        d.PressCancel();
    });
    EXPECT_EQ(byPointer.DoModal(), IDCANCEL);
    EXPECT_EQ(zoom, 150.0);
}

TEST_F(InputDialogs, TwoAndThreeValuesHideWhatHasNoText)
{
    struct Case {
        const char* name;
        CString label1, label2, unit1, unit2;
        bool edit1, edit2;
    };
    const Case cases[] = {
        {"both", "Horizontal", "Vertical", "%", "%", true, true},
        {"first only", "X", "", "mm", "", true, false},
        {"second only", "", "Y", "", "mm", false, true},
        {"no texts", "", "", "", "", true, false},
    };
    for (const Case& c : cases) {
        KorDlgDblValTwo dlg("Image size", c.label1, c.label2, c.unit1, c.unit2, "", nullptr);
        ModalScript script;
        script.Dialog(KorDlgDblValTwo::IDD, [&](DialogDriver& d, CDialog&) {
            EXPECT_EQ(d.Caption(), "Image size") << c.name;
            EXPECT_EQ(d.Visible(50058), c.edit1) << c.name;
            EXPECT_EQ(d.Visible(50057), c.edit2) << c.name;
            EXPECT_EQ(d.Visible(16281), !c.label1.IsEmpty()) << c.name;
            EXPECT_EQ(d.Visible(50110), !c.unit2.IsEmpty()) << c.name;
            EXPECT_FALSE(d.Visible(50106)) << c.name;
            d.PressCancel();
        });
        dlg.DoModal();
    }
    KorDlgDblValThree three("Point", "X", "Y", "", "m", "m", "", "Coordinates", nullptr);
    ModalScript script;
    script.Dialog(KorDlgDblValThree::IDD, [&](DialogDriver& d, CDialog&) {
        EXPECT_EQ(d.Text(50106), "Coordinates");
        EXPECT_FALSE(d.Visible(50059));
        d.Type(50058, "1.5");
        d.Type(50057, "-2");
        d.PressOK();
    });
    EXPECT_EQ(three.DoModal(), IDOK);
    EXPECT_EQ(three.m_dVal1, 1.5);
    EXPECT_EQ(three.m_dVal2, -2.0);
}

TEST_F(InputDialogs, FilletFlagsAndTaper)
{
    EXPECT_EQ(KorDlgFillet::m_dStatNumEdes, 4);
    EXPECT_EQ(KorDlgFillet::m_dStatFilletRad, 0.0);
    struct Case {
        int flags;
        bool taperOff;
        bool lengthEnabled, areaEnabled, taperVisible, taperEnabled;
    };
    for (const Case c : {Case{0, false, true, true, true, true}, Case{1, false, false, true, true, true},
                         Case{2, false, true, false, true, true}, Case{4, false, true, true, false, true},
                         Case{0, true, true, true, true, false}}) {
        KorDlgFillet dlg(c.flags, nullptr);
        if (c.taperOff)
            dlg.m_bTaper = FALSE;
        ModalScript script;
        script.Dialog(KorDlgFillet::IDD, [&](DialogDriver& d, CDialog&) {
            EXPECT_EQ(d.Text(50074), "4");
            EXPECT_EQ(d.Check(50076) + d.Check(50077) + d.Check(50078), 0);
            EXPECT_EQ(d.Enabled(50078), c.lengthEnabled) << c.flags;
            EXPECT_EQ(d.Enabled(50077), c.areaEnabled) << c.flags;
            EXPECT_EQ(d.Visible(50079), c.taperVisible) << c.flags;
            if (c.taperVisible) {
                EXPECT_EQ(d.Enabled(50079), c.taperEnabled) << c.flags;
            }
            d.PressCancel();
        });
        dlg.DoModal();
    }
}

TEST_F(InputDialogs, ImportScaleUnitsFollowTheRadios)
{
    KorDlgImpExpScl dlg(0, nullptr);
    ModalScript script;
    script.Dialog(KorDlgImpExpScl::IDD, [&](DialogDriver& d, CDialog&) {
        EXPECT_FALSE(d.Visible(16236));
        EXPECT_FALSE(d.Visible(50102));
        EXPECT_EQ(d.Text(50099), "mm");
        EXPECT_EQ(d.Text(16230), "1");
        d.Click(16145);
        EXPECT_EQ(d.Text(50099), "in");
        EXPECT_EQ(d.Text(50100), "in");
        d.Type(16231, "2.5");
        d.PressOK();
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.m_iUnits, 1);
    EXPECT_EQ(dlg.m_dScaleY, 2.5);
}

TEST_F(InputDialogs, RotateRemembersTheLastValuesAndShowsTheLengthUnit)
{
    const CString unit = UnitString(iStandard, 3, iConv[iStandard][0][0]);
    KorDlgRotate first(nullptr);
    ModalScript script;
    script.Dialog(KorDlgRotate::IDD, [&](DialogDriver& d, CDialog&) {
        EXPECT_EQ(d.Text(50072), "45");
        EXPECT_EQ(d.Text(16176), unit);
        EXPECT_EQ(d.Text(16177), unit);
        EXPECT_EQ(d.Text(50069), "X");
        EXPECT_EQ(d.Text(50070), "Y");
        d.Type(50073, "3");
        d.Type(50072, "90");
        d.PressOK();
    });
    EXPECT_EQ(first.DoModal(), IDOK);
    KorDlgRotate second(nullptr);
    EXPECT_EQ(second.m_dCentreX, 3.0);
    EXPECT_EQ(second.m_dAngle, 90.0);
    KorDlgRotate::m_dGlob[0] = 0.0;
    KorDlgRotate::m_dGlob[2] = 45.0;
}

// The main frame's side of the coordinate dialogs: records each message,
// and on an offset writes the point (last point + offset) back at once.
class CoordParent : public CWnd
{
public:
    std::vector<std::pair<UINT, WPARAM>> received;
    KorDlgCoordInputEx* pDialog = nullptr;

protected:
    LRESULT OnCoord(WPARAM wParam, LPARAM) { return Take(WM_KOR_ENTER_COORD, wParam); }
    LRESULT OnCoord3D(WPARAM wParam, LPARAM) { return Take(WM_KOR_ENTER_COORD3D, wParam); }
    LRESULT Take(UINT message, WPARAM wParam)
    {
        received.emplace_back(message, wParam);
        if (wParam == 50006 && pDialog) {
            pDialog->m_dX = 10.0 + pDialog->m_dOffX;
            pDialog->m_dY = 20.0 + pDialog->m_dOffY;
            pDialog->UpdateData(FALSE);
        }
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CoordParent, CWnd)
ON_MESSAGE(0x405, OnCoord)
ON_MESSAGE(0x406, OnCoord3D)
END_MESSAGE_MAP()

class CoordinateDialogs : public HeadlessApp
{
protected:
    void SetUp() override
    {
        HeadlessApp::SetUp();
        ASSERT_TRUE(parent.Create(nullptr, "frame", 0, CRect(), nullptr, 0));
    }
    void TearDown() override
    {
        parent.DestroyWindow();
        HeadlessApp::TearDown();
    }
    CoordParent parent;
};

TEST_F(CoordinateDialogs, LabelsFollowThePlane)
{
    const char* const expected[3][4] = {
        {"X' coord", "Y' coord", "X' coord offset", "Y' coord offset"},
        {"Y' coord", "Z' coord", "Y' coord offset", "Z' coord offset"},
        {"X' coord", "Z' coord", "X' coord offset", "Z' coord offset"}};
    for (int plane = 0; plane < 3; ++plane) {
        KorDlgCoordInputEx dlg("mm", plane, &parent);
        ASSERT_TRUE(dlg.Create());
        DialogDriver d(dlg);
        EXPECT_EQ(d.Text(50010), expected[plane][0]) << plane;
        EXPECT_EQ(d.Text(50011), expected[plane][1]) << plane;
        EXPECT_EQ(d.Text(50012), expected[plane][2]) << plane;
        EXPECT_EQ(d.Text(50017), expected[plane][3]) << plane;
        for (int nID : {50009, 50013, 50014, 50015})
            EXPECT_EQ(d.Text(nID), "mm") << nID;
        dlg.SetFormat("in");
        EXPECT_EQ(d.Text(50015), "in");
        dlg.DestroyWindow();
    }
}

TEST_F(CoordinateDialogs, EnterPostsOffsetSendsAndCancelPostsTwo)
{
    KorDlgCoordInputEx dlg("mm", 0, &parent);
    parent.pDialog = &dlg;
    ASSERT_TRUE(dlg.Create());
    DialogDriver d(dlg);
    d.Type(50004, "1.5");
    d.Click(50007);
    EXPECT_TRUE(parent.received.empty()); // posted: not yet there
    PumpPosted();
    ASSERT_EQ(parent.received.size(), 1u);
    EXPECT_EQ(parent.received[0], (std::pair<UINT, WPARAM>(0x405, 50007)));
    EXPECT_EQ(dlg.m_dX, 1.5);

    // The offset is sent: the parent's answer shows when the click returns.
    d.Type(50116, "2");
    d.Type(50003, "-1");
    d.Click(50006);
    ASSERT_EQ(parent.received.size(), 2u);
    EXPECT_EQ(parent.received[1], (std::pair<UINT, WPARAM>(0x405, 50006)));
    EXPECT_EQ(d.Text(50004), "12");
    EXPECT_EQ(d.Text(50005), "19");

    d.PressCancel();
    PumpPosted();
    ASSERT_EQ(parent.received.size(), 3u);
    EXPECT_EQ(parent.received[2], (std::pair<UINT, WPARAM>(0x405, 2)));
    dlg.DestroyWindow();
}

TEST_F(CoordinateDialogs, TheThreeDimensionalDialogUses406ButCancelsBy405)
{
    KorDlgCoordInputEx3D dlg("m", &parent);
    ASSERT_TRUE(dlg.Create());
    DialogDriver d(dlg);
    EXPECT_EQ(d.Text(50020), "Z' coord");
    EXPECT_EQ(d.Text(50022), "Z' coord offset");
    EXPECT_EQ(d.Text(50018), "m");
    EXPECT_EQ(d.Text(50021), "m");
    d.Type(50016, "7");
    d.Click(50007);
    d.Click(50006);
    d.PressCancel();
    PumpPosted();
    const std::vector<std::pair<UINT, WPARAM>> expected = {
        {0x406, 50006}, {0x406, 50007}, {0x405, 2}};
    EXPECT_EQ(parent.received, expected);
    EXPECT_EQ(dlg.m_dZ, 7.0);
    dlg.DestroyWindow();
}

} // namespace
