// The plate program's pages and dialogs on Qt peers on a real display: each
// shows, takes a short script through DialogDriver as a user would, and
// leaves a picture of every page under $BRANTEL_TEST_ARTIFACTS. The
// template layout check of every registered template is test_afxui_layout's.
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/ui/qt/tests/pages_gui/pages_gui.h"
#include "tests/pavesta/sheet_runner.h"
#include "tests/pavesta/units_scope.h"

namespace pavesta_test
{
namespace
{

using pages_gui::PagePictures;
using pages_gui::PagesOnQt;
using pages_gui::Picture;

TEST_F(PagesOnQt, MeshControlSmoothingAndStoragePages)
{
    struct Case {
        const char* name;
        std::function<void(DialogDriver&)> act;
        int evenRows, oddRows;
        bool meshValid;
    };
    const Case cases[] = {
        {"OK without change", [](DialogDriver&) {}, 2, 3, true},
        {"row pattern",
         [](DialogDriver& d) {
             d.Type(16125, "4");
             d.Type(16126, "1");
         },
         4, 1, false},
    };
    bool pictures = true;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        int minElements = 250, trialNodes = 4000, interpolation = 1, evenRows = 2, oddRows = 3;
        bool meshValid = true, suppress = false;
        int smoothing = 10;
        VokPPMeshGenSett mesh(&minElements, &trialNodes, &interpolation, &evenRows, &oddRows,
                              &meshValid, &suppress, 2, 20, 12);
        VokPPSmoothinSett smooth(&smoothing);
        CPPStiffStorage storage;
        CPropertySheet sheet("Element and mesh control");
        for (CPropertyPage* page :
             {static_cast<CPropertyPage*>(&mesh), static_cast<CPropertyPage*>(&smooth),
              static_cast<CPropertyPage*>(&storage)})
            sheet.AddPage(page);
        ModalScript script;
        script.Dialog(RUNTIME_CLASS(CPropertySheet), [&](DialogDriver& d, CDialog& shown) {
            EXPECT_EQ(d.Text(16123), "250");
            EXPECT_FALSE(d.Enabled(ID_APPLY_NOW));
            if (pictures)
                PagePictures(d, shown,
                             {"pages-mesh-control.png", "pages-smoothing.png",
                              "pages-stiffness-storage.png"});
            c.act(d);
            d.PressOK();
        });
        EXPECT_EQ(sheet.DoModal(), IDOK);
        pictures = false;
        EXPECT_EQ(evenRows, c.evenRows);
        EXPECT_EQ(oddRows, c.oddRows);
        EXPECT_EQ(meshValid, c.meshValid);
        EXPECT_EQ(minElements, 250);
        EXPECT_EQ(smoothing, 10);
    }
}

// The caller's materials in the units the headless tests use.
class MaterialsOnQt : public PagesOnQt
{
protected:
    void SetUp() override
    {
        PagesOnQt::SetUp();
        materials.AddTail(new CMaterial("Steel", 7.85e-06, 210000.0, 80769.2, 0.3, 0.0));
        materials.AddTail(new CMaterial("aluminium", 2.7e-06, 70000.0, 26315.8, 0.33, 0.0));
    }
    void TearDown() override
    {
        while (!materials.IsEmpty())
            delete materials.RemoveHead();
        PagesOnQt::TearDown();
    }
    CObList materials;

private:
    MetricUnitsScope m_units;
};

TEST_F(MaterialsOnQt, RenameColourAndNewMaterialThenOK)
{
    VokDlgIsoMatsEdit dlg;
    ModalScript script;
    script.Dialog(VokDlgIsoMatsEdit::IDD, [&](DialogDriver& d, CDialog& shown) {
        Picture(shown, "dialog-materials.png");
        d.Type(16200, "Iron"); // Steel
        d.ChooseColor(414, RGB(0, 0, 255));
        script.Dialog(VokDlgMatType::IDD, [](DialogDriver& t, CDialog& type) {
            Picture(type, "dialog-material-type.png");
            t.Click(16155); // Timber
            t.PressOK();
        });
        d.Click(548);
        d.PressOK();
    });
    EXPECT_EQ(dlg.DoModal(&materials, 1), IDOK);
    script.Verify();
    ASSERT_EQ(materials.GetCount(), 3);
    bool renamed = false;
    for (POSITION pos = materials.GetHeadPosition(); pos;) {
        const auto* m = static_cast<CMaterial*>(materials.GetNext(pos));
        if (m->GetName() == "Iron") {
            renamed = true;
            EXPECT_EQ(m->GetBlue(), 1.0);
            EXPECT_EQ(m->GetRed(), 0.0);
        }
    }
    EXPECT_TRUE(renamed);
}

TEST_F(PagesOnQt, DocumentTypeButtonsReturnTheirCode)
{
    struct Case {
        int button;
        INT_PTR result;
        int type;
    };
    const Case cases[] = {
        {16000, IDOK, 1}, {16001, IDOK, 2}, {16002, IDOK, 3}, {IDCANCEL, IDCANCEL, 0}};
    bool pictures = true;
    for (const Case& c : cases) {
        VokDlgFPDocType dlg;
        ModalScript script;
        script.Dialog(VokDlgFPDocType::IDD, [&](DialogDriver& d, CDialog& shown) {
            if (pictures)
                Picture(shown, "dialog-document-type.png");
            d.Click(c.button);
        });
        EXPECT_EQ(dlg.DoModal(), c.result) << c.button;
        EXPECT_EQ(dlg.m_iDocType, c.type) << c.button;
        pictures = false;
    }
}

TEST_F(PagesOnQt, NumberListIsEditedThroughTheListEditorAndReadBack)
{
    CVector values(2);
    values[0] = 0.5;
    values[1] = 8;
    VokLGNumberList page("Nodes", IDD_NUMBER_LIST);
    page.m_pVector = &values;
    EXPECT_EQ(RunSheet({&page},
                       [&](DialogDriver& d, ModalScript&) {
                           EXPECT_EQ(d.Items(IDC_NUMBER_ITEMS), (std::vector<CString>{"0.5", "8"}));
                           Picture(*page.GetParent(), "pages-number-list.png");
                           TypeLines(d, ListOf(page), {"1 2.5 3", "4"});
                           d.PressOK();
                       }),
              IDOK);
    ASSERT_EQ(values.GetSize(), 4);
    const double expected[] = {1, 2.5, 3, 4};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(values[i], expected[i]) << i;
}

TEST_F(PagesOnQt, NamedListsAddThroughTheTextDialog)
{
    CObList vectors;
    vectors.AddTail(new CVector(1));
    CStringArray names;
    names.Add("Vector 1");
    VokPPNamedNumListsEdit page("Lists");
    page.m_pVectors = &vectors;
    page.m_pNames = &names;
    page.m_pVectClass = RUNTIME_CLASS(CVector);
    RunSheet({&page}, [&](DialogDriver& d, ModalScript& script) {
        Picture(*page.GetParent(), "pages-named-lists.png");
        script.Dialog(IDD_STRING, [](DialogDriver& s, CDialog& shown) {
            EXPECT_EQ(s.Text(IDC_STRING_EDIT), "Vector 2");
            Picture(shown, "dialog-text.png");
            s.PressOK();
        });
        d.Click(IDC_LIST_ADD);
        EXPECT_EQ(d.Items(IDC_LIST_VECTOR), (std::vector<CString>{"Vector 1", "Vector 2"}));
        d.PressOK();
    });
    EXPECT_EQ(vectors.GetCount(), 2);
    while (!vectors.IsEmpty())
        delete vectors.RemoveHead();
}

TEST_F(PagesOnQt, RegionValuePagesOnTheirThreeTemplates)
{
    struct Case {
        UINT nTemplate;
        LPCTSTR caption;
        bool change;
        const char* file;
    };
    const Case cases[] = {
        {IDD_BILIN_THICKNESS, "Thickness", false, "pages-region-thickness.png"},
        {IDD_BILIN_LOAD, "", true, "pages-region-load.png"},
        {IDD_BILIN_ALPHA, "Temp. && Initial strain", true, "pages-region-alpha.png"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        VokPPBiLinFunc page(c.caption, c.nTemplate, c.change);
        page.m_dBase = 100;
        RunSheet({&page}, [&](DialogDriver& d, ModalScript&) {
            Picture(*page.GetParent(), c.file);
            if (c.change)
                d.Click(IDC_BILIN_CHANGE);
            d.Type(IDC_BILIN_BASE, "12.5");
            d.PressOK();
        });
        EXPECT_EQ(page.m_dBase, 12.5);
    }
}

TEST_F(PagesOnQt, RegionMaterialPageTakesTheComboChoice)
{
    CMaterial steel{"Steel", 7.85e-9, 210000, 81000, 0.3, 1.2e-5};
    CMaterial concrete{"Concrete", 2.5e-9, 30000, 12500, 0.2, 1e-5};
    CObList materials;
    materials.AddTail(&steel);
    materials.AddTail(&concrete);
    VokPPMatNameSel page;
    page.m_pMaterials = &materials;
    RunSheet({&page}, [&](DialogDriver& d, ModalScript&) {
        Picture(*page.GetParent(), "pages-region-material.png");
        d.Click(IDC_MAT_CHANGE);
        d.SelectString(IDC_MAT_COMBO, "Concrete");
        d.PressOK();
    });
    EXPECT_EQ(page.m_pSelMaterial, &concrete);
}

TEST_F(PagesOnQt, RingSegmentTypeShowsItsPairOfControls)
{
    struct Case {
        int nRadio;
        bool angle;
        const char* file;
    };
    const Case cases[] = {{IDC_RING_TYPE1, false, "pages-ring-segment-1.png"},
                          {IDC_RING_TYPE2, false, "pages-ring-segment-2.png"},
                          {IDC_RING_TYPE3, true, "pages-ring-segment-3.png"}};
    VokPPRingSeg page;
    RunSheet(
        {&page},
        [&](DialogDriver& d, ModalScript&) {
            for (const Case& c : cases) {
                d.Click(c.nRadio);
                EXPECT_EQ(d.Visible(IDC_RING_ANGLE), c.angle) << c.nRadio;
                EXPECT_EQ(d.Visible(IDC_RING_ANGLE_LABEL), c.angle) << c.nRadio;
                EXPECT_EQ(d.Visible(IDC_RING_RADIUS), !c.angle) << c.nRadio;
                EXPECT_EQ(d.Visible(IDC_RING_RADIUS_LABEL), !c.angle) << c.nRadio;
                Picture(*page.GetParent(), c.file);
            }
            d.PressOK();
        },
        "Ring-segment properties");
    EXPECT_EQ(page.m_iType, 2);
}

TEST_F(PagesOnQt, ExtremesDialogShowsItsRows)
{
    CStringArray names, labels, maxima, minima;
    for (auto [column, text] : {std::pair{&names, "Mx"}, std::pair{&labels, "kNm/m"},
                                std::pair{&maxima, "1.5e+01"}, std::pair{&minima, "-3.0e+00"}})
        column->Add(text);
    VokDlgMaxMinVals dlg;
    dlg.m_pColumn1 = &names;
    dlg.m_pColumn2 = &labels;
    dlg.m_pColumn3 = &maxima;
    dlg.m_pColumn4 = &minima;
    ModalScript script;
    script.Dialog(IDD_MAX_MIN_VALUES, [&](DialogDriver& d, CDialog& shown) {
        EXPECT_EQ(d.Items(IDC_MAX_MIN_LIST),
                  (std::vector<CString>{" \tMax\tMin", "Mx\tkNm/m\t1.5e+01\t-3.0e+00"}));
        EXPECT_EQ(d.CurSel(IDC_MAX_MIN_LIST), LB_ERR); // nothing chosen, as headless
        Picture(shown, "dialog-extremes.png");
        d.PressOK();
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
}

} // namespace
} // namespace pavesta_test
