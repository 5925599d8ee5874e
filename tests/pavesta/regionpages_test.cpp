// The region-value page on its three templates and the region material
// page: what is shown, what is enabled when, and what comes back.
#include <string>
#include <vector>

#include "tests/pavesta/sheet_runner.h"

namespace pavesta_test
{
namespace
{

constexpr int kAllEight[] = {IDC_BILIN_SLOPE_X,  IDC_BILIN_SLOPE_Y, IDC_BILIN_BASE,
                             IDC_BILIN_X0,       IDC_BILIN_Y0,      IDC_BILIN_SLOPE_X2,
                             IDC_BILIN_SLOPE_Y2, IDC_BILIN_BASE2};

// "1" or "0" per edit of kAllEight: enabled or not.
std::string EnabledEdits(const DialogDriver& d)
{
    std::string out;
    for (int id : kAllEight)
        out += d.Enabled(id) ? '1' : '0';
    return out;
}

class RegionValuePageTest : public HeadlessApp
{
};

TEST_F(RegionValuePageTest, WithoutTheChangeBoxEverythingIsEditableAndHiddenFieldsComeBack)
{
    VokPPBiLinFunc page("Thickness", IDD_BILIN_THICKNESS, false);
    page.m_dBase = 100;
    page.m_dSlopeX2 = 3; // no field of the thickness page shows it
    page.m_dBase2 = -4;
    page.m_iKind = 1;
    RunSheet({&page}, [&](DialogDriver& d) {
        EXPECT_EQ(d.Items(AFX_IDC_TAB_CONTROL), (std::vector<CString>{"Thickness"}));
        EXPECT_FALSE(d.Visible(IDC_BILIN_CHANGE));
        EXPECT_FALSE(d.Visible(IDC_BILIN_SLOPE_X2));
        EXPECT_FALSE(d.Visible(IDC_BILIN_KIND0));
        EXPECT_EQ(EnabledEdits(d).substr(0, 5), "11111");
        for (int id : {16138, 16139, 16140, 16141, 16142})
            EXPECT_EQ(d.Text(id), "Static") << id;
        EXPECT_EQ(d.Text(IDC_BILIN_BASE), "100");
        d.Type(IDC_BILIN_BASE, "12.5");
        d.Type(IDC_BILIN_X0, "2,5"); // not a number for a dialog field
        Boxes().Expect("Please enter a number for x0.");
        d.PressOK();
        d.Type(IDC_BILIN_X0, "2.5");
        d.PressOK();
    });
    EXPECT_EQ(page.m_iChange, 1);
    EXPECT_EQ(page.m_dBase, 12.5);
    EXPECT_EQ(page.m_dX0, 2.5);
    EXPECT_EQ(page.m_dSlopeX2, 3);
    EXPECT_EQ(page.m_dBase2, -4);
    EXPECT_EQ(page.m_iKind, 1);
}

TEST_F(RegionValuePageTest, TitlesAndUnitTextsOfTheTemplates)
{
    struct Case {
        LPCTSTR caption;
        UINT nTemplate;
        CString title;
        CString baseUnit, centreUnit, slopeUnit;
    };
    const Case cases[] = {
        {"", IDD_BILIN_LOAD, "Distributed load", "kN/m^2", "mm", "kN/m^2/mm"},
        {"Temp. && Initial strain", IDD_BILIN_ALPHA, "Temp. && Initial strain", "", "", ""},
        {"", IDD_BILIN_ALPHA, "Property Page", "", "", ""},
    };
    for (const Case& c : cases) {
        VokPPBiLinFunc page(c.caption, c.nTemplate, true);
        RunSheet({&page}, [&](DialogDriver& d) {
            EXPECT_EQ(d.Items(AFX_IDC_TAB_CONTROL), (std::vector<CString>{c.title}));
            EXPECT_EQ(d.Text(16138), c.baseUnit);
            EXPECT_EQ(d.Text(16139), c.centreUnit);
            EXPECT_EQ(d.Text(16141), c.slopeUnit);
            EXPECT_EQ(d.Visible(IDC_BILIN_KIND1), c.nTemplate == IDD_BILIN_ALPHA);
            EXPECT_EQ(d.Visible(IDC_BILIN_BASE2), c.nTemplate == IDD_BILIN_ALPHA);
            d.PressCancel();
        });
    }
}

// The caller's callback writes the unit of the base value by the kind, as
// the region sheet does; it must see the kind just chosen.
std::vector<int> g_kindsSeen;
void WriteKindUnit(VokPPBiLinFunc* pPage)
{
    g_kindsSeen.push_back(pPage->m_iKind);
    pPage->SetDlgItemText(16138, pPage->m_iKind == 1 ? "C" : "");
}

TEST_F(RegionValuePageTest, ChangeAndKindEnableTheEditsAfterTheCallback)
{
    g_kindsSeen.clear();
    VokPPBiLinFunc page("Temp. && Initial strain", IDD_BILIN_ALPHA, true);
    page.m_pCallback = WriteKindUnit;
    RunSheet({&page}, [&](DialogDriver& d) {
        EXPECT_TRUE(d.Visible(IDC_BILIN_CHANGE));
        EXPECT_EQ(EnabledEdits(d), "00000000");
        struct Step {
            int nClick;
            const char* enabled;
            const char* unit;
        };
        const Step steps[] = {
            {IDC_BILIN_CHANGE, "11111111", ""},  {IDC_BILIN_KIND1, "11111000", "C"},
            {IDC_BILIN_KIND0, "11111111", ""},   {IDC_BILIN_KIND1, "11111000", "C"},
            {IDC_BILIN_CHANGE, "00000000", "C"}, {IDC_BILIN_CHANGE, "11111000", "C"},
        };
        for (const Step& s : steps) {
            d.Click(s.nClick);
            EXPECT_EQ(EnabledEdits(d), s.enabled) << "after clicking " << s.nClick;
            EXPECT_EQ(d.Text(16138), s.unit);
        }
        d.Type(IDC_BILIN_BASE, "oops"); // a choice after it shows no message
        d.Click(IDC_BILIN_KIND0);
        d.Type(IDC_BILIN_BASE, "20");
        d.PressOK();
    });
    EXPECT_EQ(g_kindsSeen, (std::vector<int>{-1, -1, 1, 0, 1, 1, 1, 0}));
    EXPECT_EQ(page.m_iChange, 1);
    EXPECT_EQ(page.m_iKind, 0);
    EXPECT_EQ(page.m_dBase, 20);
}

class MaterialPageTest : public HeadlessApp
{
protected:
    CMaterial steel{"Steel", 7.85e-9, 210000, 81000, 0.3, 1.2e-5};
    CMaterial concrete{"Concrete", 2.5e-9, 30000, 12500, 0.2, 1e-5};
    CObList materials;
    VokPPMatNameSel page;

    void SetUp() override
    {
        materials.AddTail(&steel);
        materials.AddTail(&concrete);
        page.m_pMaterials = &materials;
    }
};

TEST_F(MaterialPageTest, SeveralRegionsOpenOnNoChangeWithAReadOnlyName)
{
    page.m_dX0 = 4;
    RunSheet({&page}, [&](DialogDriver& d) {
        EXPECT_EQ(d.Items(AFX_IDC_TAB_CONTROL), (std::vector<CString>{"Material"}));
        EXPECT_EQ(d.Items(IDC_MAT_COMBO),
                  (std::vector<CString>{"Steel", "Concrete", " No change"}));
        EXPECT_EQ(d.CurSel(IDC_MAT_COMBO), 2);
        EXPECT_TRUE(d.Visible(IDC_MAT_CHANGE));
        EXPECT_FALSE(d.Enabled(IDC_MAT_COMBO));
        d.Click(IDC_MAT_CHANGE);
        EXPECT_TRUE(d.Enabled(IDC_MAT_COMBO));
        EXPECT_FALSE(d.Enabled(IDC_MAT_NAME));
        d.PressOK();
    });
    EXPECT_EQ(page.m_pSelMaterial, nullptr);
    EXPECT_EQ(page.m_iChange, 1);
    EXPECT_EQ(page.m_dX0, 4);
}

TEST_F(MaterialPageTest, OneRegionShowsItsMaterialAndTakesTheComboChoice)
{
    page.m_bSeveralRegions = false;
    page.m_pSelMaterial = &concrete;
    page.m_strName = "Plate 1";
    RunSheet({&page}, [&](DialogDriver& d) {
        EXPECT_FALSE(d.Visible(IDC_MAT_CHANGE));
        EXPECT_EQ(d.Items(IDC_MAT_COMBO), (std::vector<CString>{"Steel", "Concrete"}));
        EXPECT_EQ(d.CurSel(IDC_MAT_COMBO), 1);
        EXPECT_EQ(d.Text(IDC_MAT_NAME), "Plate 1");
        EXPECT_EQ(page.m_pSelMaterial, &concrete);
        d.Select(IDC_MAT_COMBO, 0);
        d.Type(IDC_MAT_NAME, "Deck");
        d.PressOK();
    });
    EXPECT_EQ(page.m_pSelMaterial, &steel);
    EXPECT_EQ(page.m_strName, "Deck");
    EXPECT_EQ(page.m_iChange, 1);
}

TEST_F(MaterialPageTest, TheAxisKindChoosesTheEditableValues)
{
    page.m_bSeveralRegions = false;
    RunSheet({&page}, [&](DialogDriver& d) {
        const auto editable = [&] {
            std::string out;
            for (int id : {IDC_MAT_A, IDC_MAT_B, IDC_MAT_X0, IDC_MAT_Y0})
                out += d.Enabled(id) ? '1' : '0';
            return out;
        };
        EXPECT_EQ(editable(), "1100"); // no kind yet
        d.Click(IDC_MAT_POLAR);
        EXPECT_EQ(editable(), "0011");
        d.Click(IDC_MAT_PARABOLIC);
        EXPECT_EQ(editable(), "1100");
        d.Click(IDC_MAT_POLAR);
        d.PressOK();
    });
    EXPECT_EQ(page.m_iAxisKind, 1);
}

TEST_F(MaterialPageTest, UnitStaticsFollowTheLengthUnit)
{
    struct Case {
        CString unit;
        std::vector<CString> shown; // x0, y0, a, b
    };
    const Case cases[] = {
        {"mm", {"mm", "mm", "mm/mm", "mm/mm\xB2"}},
        {"", {"", "", "", ""}},
    };
    for (const Case& c : cases) {
        page.m_strUnit = c.unit;
        RunSheet({&page}, [&](DialogDriver& d) {
            EXPECT_EQ((std::vector<CString>{d.Text(IDC_MAT_UNIT_X0), d.Text(IDC_MAT_UNIT_Y0),
                                            d.Text(IDC_MAT_UNIT_A), d.Text(IDC_MAT_UNIT_B)}),
                      c.shown);
            d.PressCancel();
        });
    }
}

} // namespace
} // namespace pavesta_test
