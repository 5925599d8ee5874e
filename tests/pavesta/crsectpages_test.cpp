// The cross-section windows: the section picture, the assign page, the
// new-section dialog and the cross-section editor.
#include <cstdlib>
#include <memory>

#include "geometry/snode.h"
#include "glstyle/drawing_settings.h"
#include "platform/dimvor/units.h"
#include "platform/ferrand/material.h"
#include "platform/ui/osmesa/osmesaoffscreen.h"
#include "tests/pavesta/layout_check.h"
#include "tests/pavesta/sheet_runner.h"

namespace pavesta_test
{
namespace
{

void Offer(CObList& list, CCrSectComp* s);

// A general section: neither formula shape nor user-defined; it counts its
// analyses.
class GeneralSection : public CCrSectComp
{
public:
    int analyses = 0;
    double moved[2] = {};
    double turned = 0.0, centre[2] = {};
    void Translate(double dx, double dy, double) override
    {
        moved[0] += dx;
        moved[1] += dy;
    }
    void Rotate(double angle, double c1, double c2, unsigned axis, bool) override
    {
        EXPECT_EQ(axis, 2u);
        turned += angle;
        centre[0] = c1;
        centre[1] = c2;
    }
    void RemoveNode(CSNode*) override {}
    void PickDrawResGL(int, bool) override {}
    bool PreCalc(CStringArray*, CStringArray*, int) override { return true; }
    bool Calculate(CStringArray*, CStringArray*) override
    {
        ++analyses;
        SetParam(21, 1000.0 * analyses);
        return true;
    }
    void DrawResGL(unsigned) override {}
    void DrawBeamGL(COGLDrawCommand*, CVector&, CVector&, CMatrix&, CMatrix&, bool, bool,
                    bool) override
    {
    }
    void ColorPlotBeamGL(COGLDrawCommand*, CVector&, CVector&, CMatrix&, CMatrix&, bool, bool, bool,
                         double*, double*) override
    {
    }
    bool GetMaxMinActStress(double&, double&) override { return false; }
    void GetModelInfo(int*) override {}
};

// Steel in the colour (0.75, 0.5, 0.25).
class SectionTest : public HeadlessApp
{
protected:
    void SetUp() override
    {
        m_iOldStandard = iStandard;
        std::copy(&iConv[0][0][0], &iConv[0][0][0] + sizeof(iConv) / sizeof(int),
                  &m_iOldConv[0][0][0]);
        iStandard = 0;
        SetDefaultUnitRows(0);
        m_pOldFactory = AfxGetOffscreenFactory();
        AfxSetOffscreenFactory(&m_factory);
        steel = new CMaterial("Steel", 7.85e-06, 210000.0, 80769.2, 0.3, 0.0);
        steel->SetColor(0.75, 0.5, 0.25);
        materials.AddTail(steel);
        timber = new CMaterial("Timber", 5e-07, 10000.0, 600.0, 0.3, 0.0);
        materials.AddTail(timber);
    }
    void TearDown() override
    {
        AfxSetOffscreenFactory(m_pOldFactory);
        iStandard = m_iOldStandard;
        std::copy(&m_iOldConv[0][0][0], &m_iOldConv[0][0][0] + sizeof(iConv) / sizeof(int),
                  &iConv[0][0][0]);
        sections.clear();
        while (!materials.IsEmpty())
            delete materials.RemoveHead();
        HeadlessApp::TearDown();
    }

    CCrSectComp* Rect(double h, double w, CMaterial* m, const char* name)
    {
        auto* s = new CCrSectRect(h, w);
        s->AddMaterial(m);
        s->SetName(name);
        return s;
    }
    // A section the test keeps.
    CCrSectComp* Kept(CCrSectComp* s)
    {
        sections.emplace_back(s);
        return s;
    }

    CObList materials;
    CMaterial* steel = nullptr;
    CMaterial* timber = nullptr;
    std::vector<std::unique_ptr<CCrSectComp>> sections;

private:
    int m_iOldStandard = 0;
    int m_iOldConv[2][30][3] = {};
    COSMesaOffscreenFactory m_factory;
    IOffscreenFactory* m_pOldFactory = nullptr;
};

// A section is itself a list: it goes in as one object.
void Offer(CObList& list, CCrSectComp* s)
{
    list.AddTail(static_cast<CObject*>(s));
}

// Blue, green, red of the pixel (x, y counted from the bottom).
struct Pixel {
    int b, g, r;
};
Pixel At(const CBitmap& dib, int x, int y)
{
    const std::uint8_t* p = dib.Row(y) + x * (dib.BitsPerPixel() / 8);
    return {p[0], p[1], p[2]};
}
bool Near(Pixel p, double r, double g, double b)
{
    return std::abs(p.r - int(r * 255 + 0.5)) <= 2 && std::abs(p.g - int(g * 255 + 0.5)) <= 2 &&
           std::abs(p.b - int(b * 255 + 0.5)) <= 2;
}

TEST_F(SectionTest, TemplatesPassTheLayoutCheck)
{
    for (UINT nID : {16025u, 16232u, 16179u})
        EXPECT_EQ(LayoutFaults(nID), std::vector<std::string>{}) << nID;
}

TEST_F(SectionTest, PictureShowsTheSectionInItsRangeAndTheAxes)
{
    CCrSectComp* s = Kept(Rect(200, 100, steel, "R"));
    CBitmap dib;
    ASSERT_TRUE(pavesta::DrawSectionImage(s, dib, 160, 120, false));
    ASSERT_EQ(dib.Width(), 160);
    ASSERT_EQ(dib.Height(), 120);
    // Range: y ±105 (0.525 x 200), x ±140 stretched by 160 / 120.
    EXPECT_TRUE(Near(At(dib, 94, 89), 0.75, 0.5, 0.25)); // (25, 50) inside
    EXPECT_TRUE(Near(At(dib, 5, 100), 1.0, 1.0, 1.0));   // (-135, 70) beyond
    EXPECT_TRUE(Near(At(dib, 150, 20), 1.0, 1.0, 1.0));  // (122, -70) beyond
    int axis = 0;
    for (int y = 0; y < 120; ++y)
        for (int x : {79, 80})
            axis += Near(At(dib, x, y), dAxisColor[0], dAxisColor[1], dAxisColor[2]);
    EXPECT_GT(axis, 20);
    // The shear centre's "S" is drawn, in red, up and right of the centre
    // (80, 60), where no axis runs.
    int letter = 0;
    for (int y = 63; y < 76; ++y)
        for (int x = 82; x < 92; ++x)
            letter += Near(At(dib, x, y), 1.0, 0.0, 0.0);
    EXPECT_GT(letter, 5);

    // The editor's square picture: the smaller side.
    ASSERT_TRUE(pavesta::DrawSectionImage(s, dib, 160, 120, true));
    EXPECT_EQ(dib.Width(), 120);
    EXPECT_EQ(dib.Height(), 120);
    // x ±105 now: (60, 0) lies beyond the 50 of the half width.
    EXPECT_TRUE(Near(At(dib, 94, 80), 1.0, 1.0, 1.0));
    EXPECT_TRUE(Near(At(dib, 70, 90), 0.75, 0.5, 0.25));
}

TEST_F(SectionTest, SectionWithoutExtentsIsDrawnAboutTheOrigin)
{
    GeneralSection empty; // no outline: all four extents 0
    CBitmap dib;
    ASSERT_TRUE(pavesta::DrawSectionImage(&empty, dib, 100, 100, false));
    // The range is ±1.05: the axes cross in the middle, the rest is background.
    int axis = 0;
    for (int y = 0; y < 100; ++y)
        axis += Near(At(dib, 49, y), dAxisColor[0], dAxisColor[1], dAxisColor[2]) ||
                Near(At(dib, 50, y), dAxisColor[0], dAxisColor[1], dAxisColor[2]);
    EXPECT_GT(axis, 20);
    EXPECT_TRUE(Near(At(dib, 20, 80), 1.0, 1.0, 1.0));
}

TEST_F(SectionTest, PictureWithoutFactoryOrSectionIsRefused)
{
    CBitmap dib;
    EXPECT_FALSE(pavesta::DrawSectionImage(nullptr, dib, 10, 10, false));
    CCrSectComp* s = Kept(Rect(200, 100, steel, "R"));
    EXPECT_FALSE(pavesta::DrawSectionImage(s, dib, 0, 10, false));
    AfxSetOffscreenFactory(nullptr);
    EXPECT_FALSE(pavesta::DrawSectionImage(s, dib, 10, 10, false));
    EXPECT_FALSE(dib.IsValid());
}

// ---- The assign page

class AssignPageTest : public SectionTest
{
protected:
    void SetUp() override
    {
        SectionTest::SetUp();
        a = Kept(Rect(200, 100, steel, "A"));
        b = Kept(Rect(300, 100, steel, "B"));
    }
    CBeamSeg* Segment(CCrSectComp* s)
    {
        segments.push_back(std::make_unique<CBeamSeg>());
        segments.back()->SetCrSect(s);
        return segments.back().get();
    }
    const CBitmap* Shown(VokPPCrossSections& page)
    {
        return static_cast<CStatic*>(page.GetDlgItem(16030))->GetBitmap();
    }
    CCrSectComp* a = nullptr;
    CCrSectComp* b = nullptr;
    std::vector<std::unique_ptr<CBeamSeg>> segments;
};

TEST_F(AssignPageTest, SingleSegmentOpensOnItsSectionAndTakesTheChoice)
{
    CBeamSeg* seg = Segment(b);
    VokPPCrossSections page;
    page.m_pSegment = seg;
    Offer(page.m_Sections, a);
    Offer(page.m_Sections, b);
    RunSheet({&page}, [&](DialogDriver& d) {
        EXPECT_EQ(d.Items(16029), (std::vector<CString>{"A", "B"}));
        EXPECT_EQ(d.CurSel(16029), 1);
        ASSERT_NE(Shown(page), nullptr);
        EXPECT_EQ(Shown(page), &page.GetImage());
        EXPECT_TRUE(page.GetImage().IsValid());
        EXPECT_FALSE(page.IsModified()); // opening chose nothing yet
        d.Select(16029, 0);
        EXPECT_TRUE(page.IsModified());
        d.PressOK();
    });
    EXPECT_EQ(seg->GetCrSect(), a);
}

TEST_F(AssignPageTest, ListWithDifferentSectionsOpensOnNoChangeAndKeepsThem)
{
    CSNode node;
    CBeamSeg* s1 = Segment(a);
    CBeamSeg* s2 = Segment(b);
    CObList list;
    list.AddTail(&node); // first in the list, and no segment
    list.AddTail(s1);
    list.AddTail(s2);
    VokPPCrossSections page;
    page.m_pList = &list;
    Offer(page.m_Sections, a);
    Offer(page.m_Sections, b);
    RunSheet({&page}, [&](DialogDriver& d) {
        EXPECT_EQ(d.Items(16029), (std::vector<CString>{"  No Change", "A", "B"}));
        EXPECT_EQ(d.CurSel(16029), 0);
        EXPECT_FALSE(d.Enabled(ID_APPLY_NOW)); // nothing chosen yet
        d.PressOK();
    });
    EXPECT_EQ(s1->GetCrSect(), a);
    EXPECT_EQ(s2->GetCrSect(), b);
}

TEST_F(AssignPageTest, ListTakesTheChosenSectionOnItsSegmentsOnly)
{
    CSNode node;
    CBeamSeg* s1 = Segment(a);
    CBeamSeg* s2 = Segment(a);
    CObList list;
    list.AddTail(&node);
    list.AddTail(s1);
    list.AddTail(s2);
    VokPPCrossSections page;
    page.m_pList = &list;
    Offer(page.m_Sections, a);
    Offer(page.m_Sections, b);
    RunSheet({&page}, [&](DialogDriver& d) {
        EXPECT_EQ(d.Items(16029), (std::vector<CString>{"A", "B"}));
        EXPECT_EQ(d.CurSel(16029), 0);
        d.Select(16029, 1);
        d.PressOK();
    });
    EXPECT_EQ(s1->GetCrSect(), b);
    EXPECT_EQ(s2->GetCrSect(), b);
}

TEST_F(AssignPageTest, ListWithoutSegmentsSelectsNothingAndChangesNothing)
{
    CSNode node;
    CObList list;
    list.AddTail(&node);
    VokPPCrossSections page;
    page.m_pList = &list;
    Offer(page.m_Sections, a);
    RunSheet({&page}, [&](DialogDriver& d) {
        EXPECT_EQ(d.CurSel(16029), -1);
        EXPECT_EQ(Shown(page), nullptr);
        d.PressOK();
    });
    EXPECT_EQ(page.m_pSelSection, nullptr);
}

// ---- The new-section dialog

class NewSectionTest : public SectionTest
{
protected:
    INT_PTR Run(VokDNewCrSectType& dlg, std::function<void(DialogDriver&)> step)
    {
        ModalScript script;
        script.Dialog(VokDNewCrSectType::IDD, [&](DialogDriver& d, CDialog&) { step(d); });
        return dlg.DoModal();
    }
};

TEST_F(NewSectionTest, TypesSetTheLabelsAndTheSecondEdit)
{
    VokDNewCrSectType dlg;
    dlg.m_pMaterials = &materials;
    EXPECT_EQ(Run(dlg,
                  [](DialogDriver& d) {
                      EXPECT_EQ(d.Items(16270),
                                (std::vector<CString>{"Rectangle", "Circular rod", "Circular tube",
                                                      "User defined input"}));
                      EXPECT_EQ(d.CurSel(16270), 1);
                      EXPECT_TRUE(d.Enabled(16270));
                      EXPECT_EQ(d.Items(16163), (std::vector<CString>{"Steel", "Timber"}));
                      EXPECT_EQ(d.CurSel(16163), 0);
                      struct Case {
                          int type;
                          const char *first, *second;
                          bool secondEnabled;
                      };
                      const Case cases[] = {{0, "Height", "Width", true},
                                            {1, "Radius", "", false},
                                            {2, "Outer radius", "Thickness", true},
                                            {3, "Extents", " ", false}};
                      for (const Case& c : cases) {
                          d.Select(16270, c.type);
                          EXPECT_EQ(d.Text(16281), c.first);
                          EXPECT_EQ(d.Text(16280), c.second);
                          EXPECT_EQ(d.Enabled(16231), c.secondEnabled) << c.type;
                      }
                      d.Select(16270, 0);
                      d.Select(16163, 1);
                      d.Type(16230, "200");
                      d.Type(16231, "100");
                      d.PressOK();
                  }),
              IDOK);
    EXPECT_EQ(dlg.m_iType, 0);
    EXPECT_EQ(dlg.m_pSelMaterial, timber);
    EXPECT_EQ(dlg.m_dFirst, 200.0);
    EXPECT_EQ(dlg.m_dSecond, 100.0);
}

TEST_F(NewSectionTest, NegativeTypeLocksTheChoiceAndNoListDisablesMaterials)
{
    VokDNewCrSectType dlg;
    dlg.m_iType = -3; // circular tube
    Run(dlg, [](DialogDriver& d) {
        EXPECT_EQ(d.CurSel(16270), 2);
        EXPECT_FALSE(d.Enabled(16270));
        EXPECT_FALSE(d.Enabled(16163));
        EXPECT_EQ(d.Text(16281), "Outer radius");
        d.PressCancel();
    });
}

TEST_F(NewSectionTest, RefusalsKeepTheDialogOpen)
{
    struct Case {
        int type;
        const char *first, *second, *message;
    };
    const Case cases[] = {
        {0, "0", "100", "Please enter height"},
        {0, "200", "-1", "Please enter width"},
        {1, "0", "0", "Please enter radius"},
        {2, "0", "5", "Please enter external radius"},
        {2, "10", "0", "Please enter thickness"},
        {2, "10", "12", "External radius must be larger than or equal to the thickness"},
        {3, "0", "0", "Please enter extents (for drawing purposes only)"},
    };
    for (const Case& c : cases) {
        VokDNewCrSectType dlg;
        dlg.m_iType = -(c.type + 1);
        EXPECT_EQ(Run(dlg,
                      [&](DialogDriver& d) {
                          d.Type(16230, c.first);
                          if (d.Enabled(16231))
                              d.Type(16231, c.second);
                          Boxes().Expect(c.message);
                          d.PressOK();
                          ASSERT_FALSE(dlg.IsEnded()) << c.message;
                          d.PressCancel();
                      }),
                  IDCANCEL);
    }
    VokDNewCrSectType dlg;
    dlg.m_iType = -3;
    EXPECT_EQ(Run(dlg,
                  [](DialogDriver& d) {
                      d.Type(16230, "10");
                      d.Type(16231, "10");
                      d.PressOK();
                  }),
              IDOK);
}

// ---- The editor

class EditorTest : public SectionTest
{
protected:
    INT_PTR Run(VokLGCrossSects& dlg, std::function<void(DialogDriver&, ModalScript&)> step)
    {
        ModalScript script;
        script.Dialog(VokLGCrossSects::IDD, [&](DialogDriver& d, CDialog&) { step(d, script); });
        return dlg.DoModal();
    }
    static bool InUse(CCrSectComp* s, LPARAM user)
    {
        return s == reinterpret_cast<CCrSectComp*>(user);
    }
};

TEST_F(EditorTest, ShowsTheRectangleInSiUnits)
{
    VokLGCrossSects dlg;
    Offer(dlg.m_Sections, Rect(200, 100, steel, "R"));
    Run(dlg, [&](DialogDriver& d, ModalScript&) {
        EXPECT_EQ(d.Items(364), (std::vector<CString>{"R"}));
        EXPECT_EQ(d.Text(16200), "R");
        EXPECT_EQ(d.Text(16184), "4200000");
        EXPECT_EQ(d.Text(16185), "14000");
        EXPECT_EQ(d.Text(16186), "3500");
        EXPECT_EQ(d.Text(16190), "157");
        EXPECT_EQ(d.Text(16370), "kN");
        EXPECT_EQ(d.Text(16371), "kN\xB7m\xB2");
        EXPECT_EQ(d.Text(16376), "kg/m");
        EXPECT_EQ(d.Text(16377), "deg");
        // A formula section: stiffness read-only, no analysis.
        for (int id : {16184, 16185, 16186, 16187, 16188, 16189})
            EXPECT_TRUE(d.ReadOnly(id)) << id;
        EXPECT_FALSE(d.Enabled(16191));
        EXPECT_EQ(dlg.GetImage().Width(), dlg.GetImage().Height());
        EXPECT_TRUE(dlg.GetImage().IsValid());
        d.Click(IDCANCEL);
    });
}

TEST_F(EditorTest, UserDefinedAndGeneralSectionsTakeTypedStiffness)
{
    VokLGCrossSects dlg;
    auto* user = new CCrSectUsrDef(50.0);
    user->AddMaterial(steel);
    user->SetName("U");
    auto* general = new GeneralSection;
    general->SetName("G");
    Offer(dlg.m_Sections, user);
    Offer(dlg.m_Sections, general);
    Run(dlg, [&](DialogDriver& d, ModalScript&) {
        EXPECT_FALSE(d.ReadOnly(16184));
        EXPECT_FALSE(d.Enabled(16191));
        d.Type(16184, "4.2e6");
        d.Type(16185, "2");
        d.Type(16200, "Mine");
        d.Click(16202);
        EXPECT_EQ(d.Items(364), (std::vector<CString>{"Mine", "G"}));
        d.Select(364, 1);
        EXPECT_FALSE(d.ReadOnly(16185));
        EXPECT_TRUE(d.Enabled(16191));
        d.Click(16191);
        EXPECT_EQ(general->analyses, 1);
        EXPECT_EQ(d.Text(16184), "1"); // 1000 N in kN
        d.Click(IDCANCEL);
    });
    EXPECT_DOUBLE_EQ(user->GetParam(21), 4.2e9);
    EXPECT_DOUBLE_EQ(user->GetParam(22), 2e9 * 1e3 * 1e6 / 1e9);
    EXPECT_EQ(user->GetName(), "Mine");
}

TEST_F(EditorTest, ApplyWithoutTypingKeepsEveryValueBitForBit)
{
    // Stiffnesses no kN or kN m^2 text gives back: shown without the
    // conversion's noise, and Apply on untouched fields changes none.
    VokLGCrossSects dlg;
    auto* user = new CCrSectUsrDef(50.0);
    user->AddMaterial(steel);
    user->SetName("U");
    const double values[] = {1e9 / 3.0, 210000.0000001e6, 0.3e12, 1.0 / 7.0};
    const int params[] = {21, 22, 23, 29};
    for (int i = 0; i < 4; ++i)
        user->SetParam(params[i], values[i]);
    Offer(dlg.m_Sections, user);
    Run(dlg, [&](DialogDriver& d, ModalScript&) {
        EXPECT_EQ(d.Text(16184), "333333.333333333"); // kN
        d.Click(16202);
        d.Click(IDCANCEL);
    });
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(user->GetParam(params[i]), values[i]) << params[i];
}

TEST_F(EditorTest, TypedStiffnessAndMassHaveTheirRanges)
{
    // A typed stiffness must be positive and a typed mass not negative:
    // outside, Apply tells the field's message in its unit, puts the focus
    // on the field and changes nothing; inside, the value is stored.
    struct Case {
        int field;
        unsigned param;
        const char* text;
        const char* box; // null: stored
    };
    const Case cases[] = {
        {16184, 21, "0", "EA = 0 kN is out of range.\nEnter a value > 0 kN and <= 1e+15 kN."},
        {16184, 21, "-5", "EA = -5 kN is out of range.\nEnter a value > 0 kN and <= 1e+15 kN."},
        {16184, 21, "4.2e6", nullptr},
        {16185, 22, "0", "EIy = 0 kN\xB7m\xB2 is out of range.\nEnter a value > 0 kN\xB7m\xB2 and <= 1e+15 kN\xB7m\xB2."},
        {16185, 22, "2", nullptr},
        {16186, 23, "-1", "EIz = -1 kN\xB7m\xB2 is out of range.\nEnter a value > 0 kN\xB7m\xB2 and <= 1e+15 kN\xB7m\xB2."},
        {16186, 23, "3", nullptr},
        {16187, 29, "0", "GIt = 0 kN\xB7m\xB2 is out of range.\nEnter a value > 0 kN\xB7m\xB2 and <= 1e+15 kN\xB7m\xB2."},
        {16187, 29, "0.5", nullptr},
        {16188, 27, "0", "GAy = 0 kN is out of range.\nEnter a value > 0 kN and <= 1e+15 kN."},
        {16188, 27, "800", nullptr},
        {16189, 28, "-800", "GAz = -800 kN is out of range.\nEnter a value > 0 kN and <= 1e+15 kN."},
        {16189, 28, "800", nullptr},
        {16190, 3, "-1", "Mass = -1 kg/m is out of range.\nEnter a value between 0 kg/m and 1e+15 kg/m."},
        {16190, 3, "0", nullptr},
        {16190, 3, "78.5", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.field) + " " + c.text);
        VokLGCrossSects dlg;
        auto* user = new CCrSectUsrDef(50.0);
        user->AddMaterial(steel);
        user->SetName("U");
        const unsigned params[] = {21, 22, 23, 29, 27, 28, 3};
        for (unsigned param : params)
            user->SetParam(param, 7.0);
        Offer(dlg.m_Sections, user);
        Run(dlg, [&](DialogDriver& d, ModalScript&) {
            d.Type(c.field, c.text);
            if (c.box)
                Boxes().Expect(c.box);
            d.Click(16202);
            if (c.box)
                EXPECT_EQ(CWnd::GetFocus(), dlg.GetDlgItem(c.field));
            else
                EXPECT_EQ(AfxAtoF(d.Text(c.field).GetString()), AfxAtoF(c.text)); // shown as typed
            d.Click(IDCANCEL);
        });
        for (unsigned param : params)
            if (c.box || param != c.param)
                EXPECT_EQ(user->GetParam(param), 7.0) << param;
            else
                EXPECT_NE(user->GetParam(param), 7.0) << param;
    }
}

TEST_F(EditorTest, ApplyMovesByTheChangeOfCentreAndTurnsByTheChangeOfAngle)
{
    VokLGCrossSects dlg;
    auto* general = new GeneralSection;
    general->SetName("G");
    Offer(dlg.m_Sections, general);
    const double length = MetricToX(0, 3, iConv[0][0][0]);
    Run(dlg, [&](DialogDriver& d, ModalScript&) {
        EXPECT_EQ(d.Text(16239), "0");
        d.Type(16239, "12");
        d.Type(16238, "-4");
        d.Type(16116, "90");
        d.Click(16202);
        d.Click(IDCANCEL);
    });
    EXPECT_DOUBLE_EQ(general->moved[0], 12 / length);
    EXPECT_DOUBLE_EQ(general->moved[1], -4 / length);
    EXPECT_DOUBLE_EQ(general->turned, 90 / 57.29577951308232);
    EXPECT_DOUBLE_EQ(general->centre[0], 12 / length);
}

TEST_F(EditorTest, NewNamesTheSectionByItsMaterialAndSizes)
{
    struct Case {
        int type;
        const char *first, *second, *name;
    };
    const Case cases[] = {{0, "200", "100", "Steel_Rect(200,100)"},
                          {1, "50", "", "Steel_Circ(50)"},
                          {2, "50", "5", "Steel_Tube(50,5)"},
                          {3, "30", "", "User defined"}};
    for (const Case& c : cases) {
        VokLGCrossSects dlg;
        dlg.m_pMaterials = &materials;
        Run(dlg, [&](DialogDriver& d, ModalScript& script) {
            script.Dialog(VokDNewCrSectType::IDD, [&](DialogDriver& n, CDialog&) {
                n.Select(16270, c.type);
                n.Type(16230, c.first);
                if (n.Enabled(16231))
                    n.Type(16231, c.second);
                n.PressOK();
            });
            d.Click(16266);
            EXPECT_EQ(d.Items(364), (std::vector<CString>{c.name}));
            d.Click(IDCANCEL);
        });
        ASSERT_EQ(dlg.m_Sections.GetCount(), 1);
        auto* s = static_cast<CCrSectComp*>(dlg.m_Sections.GetHead());
        EXPECT_EQ(s->GetBaseMat(), steel);
    }
    // Without offered materials nothing opens.
    VokLGCrossSects empty;
    Run(empty, [&](DialogDriver& d, ModalScript&) {
        d.Click(16266);
        d.Click(IDCANCEL);
    });
    EXPECT_TRUE(empty.m_Sections.IsEmpty());
}

TEST_F(EditorTest, EditReopensAParametricSectionLockedAndRenamesIt)
{
    VokLGCrossSects dlg;
    dlg.m_pMaterials = &materials;
    auto* tube = new CCrSectTube(50, 5);
    tube->AddMaterial(steel);
    tube->SetName("Steel_Tube(50,5)");
    Offer(dlg.m_Sections, tube);
    Run(dlg, [&](DialogDriver& d, ModalScript& script) {
        script.Dialog(VokDNewCrSectType::IDD, [&](DialogDriver& n, CDialog&) {
            EXPECT_EQ(n.CurSel(16270), 2);
            EXPECT_FALSE(n.Enabled(16270));
            EXPECT_EQ(n.Text(16230), "50");
            EXPECT_EQ(n.Text(16231), "5");
            n.Select(16163, 1);
            n.Type(16230, "60");
            n.PressOK();
        });
        d.Click(16272);
        EXPECT_EQ(d.Items(364), (std::vector<CString>{"Timber_Tube(60,5)"}));
        d.Click(IDCANCEL);
    });
    EXPECT_EQ(tube->GetRadius(), 60.0);
    EXPECT_EQ(tube->GetBaseMat(), timber);
}

TEST_F(EditorTest, EditOnAGeneralSectionOpensTheMaterialsDialog)
{
    VokLGCrossSects dlg;
    auto* general = new GeneralSection;
    general->SetName("G");
    Offer(dlg.m_Sections, general);
    Run(dlg, [&](DialogDriver& d, ModalScript& script) {
        script.Dialog(VokDlgIsoMatsEdit::IDD, [&](DialogDriver& m, CDialog&) { m.PressCancel(); });
        d.Click(16272);
        d.Click(IDCANCEL);
    });
}

TEST_F(EditorTest, DeleteRefusesASectionInUseAndRemovesAnother)
{
    VokLGCrossSects dlg;
    CCrSectComp* used = Rect(200, 100, steel, "Used");
    Offer(dlg.m_Sections, used);
    Offer(dlg.m_Sections, Rect(100, 100, steel, "Free"));
    dlg.m_pfnInUse = InUse;
    dlg.m_lInUseUser = reinterpret_cast<LPARAM>(used);
    Run(dlg, [&](DialogDriver& d, ModalScript&) {
        Boxes().Expect("Cannot delete cross section belonging to one or more members");
        d.Click(16283);
        EXPECT_EQ(d.Items(364), (std::vector<CString>{"Used", "Free"}));
        d.Select(364, 1);
        d.Click(16283);
        EXPECT_EQ(d.Items(364), (std::vector<CString>{"Used"}));
        d.Click(IDCANCEL);
    });
    EXPECT_EQ(dlg.m_Sections.GetCount(), 1);
}

TEST_F(EditorTest, DeleteWithoutACheckTakesTheSectionAsUnused)
{
    VokLGCrossSects dlg;
    Offer(dlg.m_Sections, Rect(200, 100, steel, "R"));
    Run(dlg, [&](DialogDriver& d, ModalScript&) {
        d.Click(16283);
        EXPECT_TRUE(d.Items(364).empty());
        EXPECT_FALSE(dlg.GetImage().IsValid());
        d.Click(IDCANCEL);
    });
    EXPECT_TRUE(dlg.m_Sections.IsEmpty());
}

} // namespace
} // namespace pavesta_test
