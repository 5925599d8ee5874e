// The element and mesh control sheet of the plate document, the element
// settings page and the constrained-mesh dialog, driven as a user would.
#include <functional>
#include <memory>

#include "tests/pavesta/layout_check.h"
#include "tests/shell/shell_fixture.h"

namespace
{

using namespace shelltest;
using afxui::headless::DialogDriver;
using afxui::headless::ModalScript;

class ElementSheetTest : public ShellTest
{
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        m_bOldNotify = CSectMeshArea::m_bNotifyWarning;
        doc.UpdateStatics(true);
        AddSquare(doc, 0.0, 0.0, 100.0);
        doc.SetModifiedFlag(FALSE);
    }
    void TearDown() override
    {
        CSectMeshArea::m_bNotifyWarning = m_bOldNotify;
        doc.UpdateStatics(false);
        ShellTest::TearDown();
    }

    // Shows the document's sheet; step drives it and ends it. After OK the
    // settings are applied as the child frames do.
    INT_PTR Run(std::function<void(DialogDriver&, ModalScript&)> step)
    {
        std::unique_ptr<CPropertySheet> sheet(doc.CreateElementSheet());
        ModalScript script;
        script.Dialog(RUNTIME_CLASS(CPropertySheet),
                      [&](DialogDriver& d, CDialog&) { step(d, script); });
        const INT_PTR result = sheet->DoModal();
        if (result == IDOK)
            doc.ApplyElementSettings(sheet.get());
        return result;
    }

    CPlateComp& comp() { return *doc.GetPlateComp(); }

    CBrantelDoc doc;
    bool m_bOldNotify = true;
};

constexpr int kStoragePage = 1, kMeshPage = 2;

TEST_F(ElementSheetTest, OpensWithTheComponentsElementAndStorage)
{
    struct Case {
        int code;
        int storage, renumbering;
        int checkedElement; // radio id
        const char* firstLabel;
        int storageRadio, orderRadio;
        const char* name;
    } cases[] = {
        {44, 2, 0, 7128, "CST", 16055, 16056, "Q8"},
        {81, 2, 1, 7127, "TEBA - triangle", 16055, 16049, "T18"},
        {99, 1, 1, 7123, "TEBA - triangle", 16054, 16051, ""},
        {31, 1, 0, 7123, "CST", 16054, 16050, "CST"},
        {65, 1, 3, 7124, "TEBA - triangle", 16054, 16053, "DKT"},
    };
    for (const Case& c : cases) {
        comp().m_iElemType = c.code;
        comp().m_iStorage = c.storage;
        comp().m_iRenumbering = c.renumbering;
        EXPECT_EQ(doc.GetElementTypeName(), c.name);
        Run([&](DialogDriver& d, ModalScript&) {
            EXPECT_EQ(d.Caption(), "Element and mesh control");
            EXPECT_EQ(d.Check(c.checkedElement), 1) << c.code;
            EXPECT_EQ(d.Text(7123), c.firstLabel) << c.code;
            d.ActivatePage(kStoragePage);
            EXPECT_EQ(d.Check(c.storageRadio), 1) << c.code;
            EXPECT_EQ(d.Check(c.orderRadio), 1) << c.code;
            d.PressCancel();
        });
    }
}

TEST_F(ElementSheetTest, OkWithoutChangesLeavesTheDocumentUnmodified)
{
    struct Case {
        bool flag;
        int value;
        int controlRadio;
    } cases[] = {{true, -10, 446}, {false, 0, 447}, {false, 7, 447}, {true, 5, 448}};
    for (const Case& c : cases) {
        comp().m_bAutoSpacing = c.flag;
        comp().m_iSubdivisions = c.value;
        doc.SetModifiedFlag(FALSE);
        Run([&](DialogDriver& d, ModalScript&) {
            d.ActivatePage(kMeshPage);
            EXPECT_EQ(d.Check(c.controlRadio), 1) << c.value;
            d.PressOK();
        });
        EXPECT_FALSE(doc.IsModified()) << c.flag << " " << c.value;
        EXPECT_EQ(comp().m_bAutoSpacing, c.flag);
        EXPECT_EQ(comp().m_iSubdivisions, c.value);
    }
}

TEST_F(ElementSheetTest, UserDefinedWithoutValueShowsTheDefaultSubdivisions)
{
    comp().m_bAutoSpacing = false;
    comp().m_iSubdivisions = 0;
    const int d = comp().AutoSubdivisions(0.0, 0.0);
    Run([&](DialogDriver& drv, ModalScript&) {
        drv.ActivatePage(kMeshPage);
        EXPECT_EQ(drv.Check(447), 1);
        EXPECT_EQ(drv.Text(367), CString(std::to_string(d).c_str()));
        drv.PressCancel();
    });
}

TEST_F(ElementSheetTest, SwitchingControlTypesStoresFlagAndValue)
{
    const int d = comp().AutoSubdivisions(0.0, 0.0);
    comp().m_bAutoSpacing = true;
    comp().m_iSubdivisions = 5;
    Run([&](DialogDriver& drv, ModalScript&) {
        drv.ActivatePage(kMeshPage);
        drv.Click(447);
        drv.PressOK();
    });
    EXPECT_FALSE(comp().m_bAutoSpacing);
    EXPECT_EQ(comp().m_iSubdivisions, d + 1);
    EXPECT_TRUE(doc.IsModified());

    doc.SetModifiedFlag(FALSE);
    Run([&](DialogDriver& drv, ModalScript&) {
        drv.ActivatePage(kMeshPage);
        drv.Click(446);
        drv.PressOK();
    });
    EXPECT_TRUE(comp().m_bAutoSpacing);
    EXPECT_EQ(comp().m_iSubdivisions, -(d + 1));
    EXPECT_TRUE(doc.IsModified());
}

TEST_F(ElementSheetTest, ChangingTheElementSetsTheTypeAndMarksModified)
{
    comp().m_iElemType = 31;
    Run([](DialogDriver& d, ModalScript&) {
        d.Click(7128); // Q8
        d.Click(1145); // 3x3: full integration, no question
        d.PressOK();
    });
    EXPECT_EQ(comp().GetElementType(), 44);
    EXPECT_EQ(comp().m_iIntegrationPoints, 2);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_FALSE(doc.m_bMeshValid);
}

TEST_F(ElementSheetTest, StorageChoicesMapOntoTheComponentsCodes)
{
    comp().m_iStorage = 1;
    comp().m_iRenumbering = 1;
    Run([](DialogDriver& d, ModalScript&) {
        d.ActivatePage(kStoragePage);
        d.Click(16055);
        d.Click(16056);
        d.PressOK();
    });
    EXPECT_EQ(comp().m_iStorage, 2);
    EXPECT_EQ(comp().m_iRenumbering, 0);
    EXPECT_TRUE(doc.IsModified());

    Run([](DialogDriver& d, ModalScript&) {
        d.ActivatePage(kStoragePage);
        d.Click(16054);
        d.Click(16051);
        d.PressOK();
    });
    EXPECT_EQ(comp().m_iStorage, 1);
    EXPECT_EQ(comp().m_iRenumbering, 1);
}

TEST_F(ElementSheetTest, SuppressWarningsBoxIsTheNegationOfTheWarningSwitch)
{
    CSectMeshArea::m_bNotifyWarning = true;
    Run([](DialogDriver& d, ModalScript&) {
        d.ActivatePage(kMeshPage);
        EXPECT_EQ(d.Check(503), 0);
        d.Click(503);
        d.PressOK();
    });
    EXPECT_FALSE(CSectMeshArea::m_bNotifyWarning);
}

TEST(ElementCodes, ChoicesOutsideTheListsGiveCodesThatCanBeCalculated)
{
    const struct {
        int mode, choice, code;
    } cases[] = {{0, 0, 66}, {0, 4, 81}, {0, 5, 85}, {0, -1, 81}, {0, 6, 81}, {2, 2, 61},
                 {1, 0, 31}, {1, 1, 32}, {1, 5, 44}, {1, 6, 46}, {1, -1, 32}};
    for (const auto& c : cases)
        EXPECT_EQ(ElementCodeOfChoice(c.mode, c.choice), c.code) << c.mode << " " << c.choice;
    EXPECT_EQ(ElementChoiceOfCode(44), 5);
    EXPECT_EQ(ElementChoiceOfCode(81), 4);
    EXPECT_EQ(ElementChoiceOfCode(12), 0);
}

// ---- the element settings page on its own

class ElementPageTest : public ShellTest
{
protected:
    INT_PTR Run(std::function<void(DialogDriver&, ModalScript&)> step)
    {
        CPropertySheet sheet("Element");
        sheet.AddPage(&page);
        ModalScript script;
        script.Dialog(RUNTIME_CLASS(CPropertySheet),
                      [&](DialogDriver& d, CDialog&) { step(d, script); });
        return sheet.DoModal();
    }
    UINT Picture() const { return page.GetDlgItem(1072)->GetState()->nBitmapID; }
    CDlgElemCtrl page;
};

TEST_F(ElementPageTest, ModesShowTheirElementsAndGroups)
{
    struct Case {
        int mode;
        std::vector<int> hidden;
        std::vector<std::pair<int, const char*>> labels;
    } cases[] = {
        {0, {1073, 16177, 1032, 1146, 1145, 50096, 1147, 1148}, {{7125, "T6 - triangle"}}},
        {1,
         {},
         {{7123, "CST"}, {7124, "LST"}, {7125, "QST"}, {7126, "Q4"}, {7127, "Q6"}, {7128, "Q8"},
          {1073, "Q9"}, {16176, "Evaluation points of stresses"}, {442, "at nodes"}}},
        {2, {1073, 16177, 50096, 1147, 7125}, {{7126, "T15 - triangle"}}},
        {3, {7126, 7127, 7128, 1073}, {{7123, "CST"}, {7124, "LST"}, {7125, "QST"}}},
    };
    for (const Case& c : cases) {
        page.m_iMode = c.mode;
        page.m_iElement = 0;
        Run([&](DialogDriver& d, ModalScript&) {
            for (int nID : c.hidden)
                EXPECT_FALSE(d.Visible(nID)) << "mode " << c.mode << " control " << nID;
            for (const auto& [nID, text] : c.labels) {
                EXPECT_TRUE(d.Visible(nID)) << "mode " << c.mode << " control " << nID;
                EXPECT_EQ(d.Text(nID), text) << "mode " << c.mode;
            }
            d.PressCancel();
        });
    }
}

TEST_F(ElementPageTest, ChoiceShowsPictureDescriptionAndRules)
{
    page.m_iMode = CDlgElemCtrl::modePlate;
    page.m_iElement = 0;
    Run([&](DialogDriver& d, ModalScript&) {
        EXPECT_EQ(Picture(), 16015u);
        EXPECT_FALSE(d.Enabled(442));
        d.Click(7124); // DKT: the TEBA picture with its own text
        EXPECT_EQ(Picture(), 16015u);
        EXPECT_NE(d.Text(1144).Find("enforced at nodal points"), -1);
        d.Click(7127); // T18
        EXPECT_EQ(Picture(), 16013u);
        EXPECT_TRUE(d.Enabled(442));
        d.Click(7125); // T6
        EXPECT_EQ(Picture(), 16067u);
        d.PressOK();
    });
    EXPECT_EQ(page.m_iElement, 2);
}

TEST_F(ElementPageTest, MembraneElementsBelowFullIntegrationAsk)
{
    const std::string q4 = "Full integration of Q4 requires a minimum of 2x2 integration "
                           "points.\r\nDo you want to reset to full integration?";
    const std::string q8 = "Full integration of Q8 requires a minimum of 3x3 integration "
                           "points.\r\nDo you want to reset to full integration?";
    struct Case {
        int element, points;
        std::string question;
        int answer;
        INT_PTR result;
        int appliedPoints;
    } cases[] = {
        {3, 0, q4, IDYES, IDOK, 1},  {3, 0, q4, IDNO, IDOK, 0},
        {3, 0, q4, IDCANCEL, IDCANCEL, 0}, {5, 1, q8, IDNO, IDOK, 1},
        {5, 0, q8, IDYES, IDOK, 2},
    };
    for (const Case& c : cases) {
        page.m_iMode = CDlgElemCtrl::modeMembrane;
        page.m_iElement = c.element;
        page.m_iIntegrationPoints = c.points;
        const INT_PTR result = Run([&](DialogDriver& d, ModalScript& script) {
            script.MessageBox(c.question, c.answer);
            d.PressOK();
            if (c.answer == IDCANCEL) {
                EXPECT_EQ(d.Caption(), "Element"); // the page stays
                d.PressCancel();
            }
        });
        EXPECT_EQ(result, c.result) << c.element << " " << c.answer;
        if (result == IDOK) {
            EXPECT_EQ(page.m_iIntegrationPoints, c.appliedPoints) << c.element << " " << c.answer;
        }
    }
}

// ---- the constrained-mesh dialog

TEST_F(ElementPageTest, ConstrainedMeshListBoxesSwapRatioAndListControls)
{
    CDlgConstrMesh dlg;
    ModalScript script;
    script.Dialog(CDlgConstrMesh::IDD, [](DialogDriver& d, CDialog&) {
        const struct {
            int check, radio1, radio2, ratio, list;
        } rows[] = {{535, 1077, 1076, 1005, 16230},
                    {1086, 1079, 1080, 16207, 16239},
                    {536, 1081, 1082, 1078, 50085},
                    {1087, 1083, 1084, 347, 50089}};
        for (const auto& r : rows) {
            EXPECT_FALSE(d.Enabled(r.list));
            d.Click(r.check);
            for (int nID : {r.radio1, r.radio2, r.ratio})
                EXPECT_FALSE(d.Enabled(nID)) << nID;
            EXPECT_TRUE(d.Enabled(r.list));
            d.Click(r.check);
            for (int nID : {r.radio1, r.radio2, r.ratio})
                EXPECT_TRUE(d.Enabled(nID)) << nID;
            EXPECT_FALSE(d.Enabled(r.list));
        }
        d.Click(535);
        d.Type(16230, "10;20;70");
        d.PressOK();
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.m_bListR, 1);
    EXPECT_EQ(dlg.m_strListR, "10;20;70");
    EXPECT_EQ(dlg.m_nM, 10u);
}

TEST_F(ElementPageTest, ConstrainedMeshRefusesValuesOutOfRange)
{
    const struct {
        int nID;
        const char* text;
        const char* message;
    } cases[] = {
        {1002, "0", "Please enter an integer between 1 and 1000000."},
        {1003, "0", "Please enter an integer between 1 and 1000000."},
        {1005, "0", "Please enter a number between 1e-16 and 1e+47."},
        {347, "1e48", "Please enter a number between 1e-16 and 1e+47."},
        {352, "5", "Please enter an integer between 1 and 4."},
        {1085, "0", "Please enter an integer between 1 and 4."},
    };
    for (const auto& c : cases) {
        CDlgConstrMesh dlg;
        ModalScript script;
        script.Dialog(CDlgConstrMesh::IDD, [&](DialogDriver& d, CDialog&) {
            d.Type(c.nID, c.text);
            d.PressOK();
            d.Type(c.nID, "4");
            d.PressOK();
        });
        script.MessageBox(c.message);
        EXPECT_EQ(dlg.DoModal(), IDOK) << c.nID;
    }
}

} // namespace

namespace
{

TEST(ProgramPageTemplates, PassTheLayoutCheck)
{
    for (UINT nID : {UINT(CDlgElemCtrl::IDD), UINT(CDlgConstrMesh::IDD), UINT(CPrPageBC::IDD),
                     UINT(CPPEdgeLoad::IDD), UINT(CPrPageBNodeGeom::IDD)})
        EXPECT_EQ(pavesta_test::LayoutFaults(nID), std::vector<std::string>()) << nID;
}

} // namespace
