// The shell document: its result names, the number of buckling modes, the
// two condition sets and the buckling run on the example model.
#include <cstdlib>
#include <filesystem>

#include "tests/shell/shell_fixture.h"
#include "tests/support/first_mode_only.h"

namespace
{

using namespace shelltest;
using afxui::headless::DialogDriver;
using afxui::headless::ModalScript;

std::vector<std::string> Names(const CStringArray& list)
{
    std::vector<std::string> names;
    for (int i = 0; i < list.GetSize(); ++i)
        names.emplace_back(list.GetAt(i).GetString());
    return names;
}

class ShellDocTest : public ShellTest
{
protected:
    void SetUp() override { FillResultLists(); }
    void TearDown() override
    {
        doc.UpdateStatics(false);
        ShellTest::TearDown();
    }
    CShellComp& comp() { return *doc.GetShellComp(); }
    CDocShell doc;
};

TEST(BucklingResultNames, ModesSitBetweenTheMembraneNamesWithoutReactions)
{
    CStringArray membrane;
    for (const char* n : {"Sigma x", "Sigma y", "Tau xy", "u", "v", "R_x", "R_y", "Sigma_1",
                          "Sigma_2", "Eff. stress", "Distorted model"})
        membrane.Add(n);
    const struct {
        int modes;
        std::vector<std::string> names;
    } cases[] = {
        {2,
         {"Sigma x", "Sigma y", "Tau xy", "u", "v", "Buckling mode 1", "Buckling mode 2", "Sigma_1",
          "Sigma_2", "Eff. stress", "Distorted model", "Inpl. + Buckl. mode 1",
          "Inpl. + Buckl. mode 2"}},
        {0,
         {"Sigma x", "Sigma y", "Tau xy", "u", "v", "Sigma_1", "Sigma_2", "Eff. stress",
          "Distorted model"}},
    };
    CStringArray names;
    names.Add("stale");
    for (const auto& c : cases) {
        BuildBucklingResultNames(membrane, c.modes, names);
        EXPECT_EQ(Names(names), c.names) << c.modes;
    }
    // A shorter list gives what it has.
    CStringArray shortList;
    shortList.Add("a");
    shortList.Add("b");
    BuildBucklingResultNames(shortList, 1, names);
    EXPECT_EQ(Names(names), (std::vector<std::string>{"a", "b", "Buckling mode 1",
                                                      "Inpl. + Buckl. mode 1"}));
}

TEST(BucklingModes, EnteredValuesAreWholeNumbersFromOneToHundredAsOnTheSettingsPage)
{
    const struct {
        double value;
        bool ok;
        int modes;
    } cases[] = {{-3.0, false, 0}, {2.9, false, 0},  {100.0, true, 100}, {1.0, true, 1},
                 {0.0, false, 0},  {0.4, false, 0},  {-0.9, false, 0},   {101.0, false, 0},
                 {100.5, false, 0}, {1e300, false, 0}, {-1.0, false, 0},  {7.0, true, 7}};
    for (const auto& c : cases) {
        int modes = 0;
        EXPECT_EQ(BucklingModesFromInput(c.value, modes), c.ok) << c.value;
        EXPECT_EQ(modes, c.modes) << c.value;
    }
}

TEST_F(ShellDocTest, NewDocumentShowsThePlainMembraneNamesAndPlateConditions)
{
    EXPECT_EQ(Names(doc.m_ResultNames), Names(g_arMembraneResults));
    EXPECT_EQ(doc.m_ResultNames.GetSize(), 11);
    EXPECT_EQ(doc.GetBCSet(), 1);
}

TEST_F(ShellDocTest, ConditionSetCommandsSwitchTheSetAndItsCheckMarks)
{
    const struct {
        UINT command;
        int set;
    } steps[] = {{ID_MEMBRANE_BCS, 0}, {ID_MEMBRANE_BCS, 0}, {ID_PLATE_BCS, 1}};
    for (const auto& s : steps) {
        ASSERT_TRUE(doc.OnCmdMsg(s.command, CN_COMMAND, nullptr, nullptr));
        EXPECT_EQ(doc.GetBCSet(), s.set);
        for (UINT id : {ID_MEMBRANE_BCS, ID_PLATE_BCS}) {
            EXPECT_EQ(QueryUI(doc, id).check, (id == ID_MEMBRANE_BCS) == (s.set == 0) ? 1 : 0) << id;
        }
    }
    EXPECT_FALSE(doc.IsModified());
}

TEST_F(ShellDocTest, ModeDialogStoresTheAnswerAndAsksAgainOutsideTheRange)
{
    comp().SetBucklingCtrl(CShellComp::kModes, 2);
    ModalScript script;
    script
        .Dialog(KorDlgDblVal::IDD_PLAIN,
                [](DialogDriver& d, CDialog&) {
                    EXPECT_EQ(d.Caption(), "Number of buckling modes");
                    EXPECT_EQ(d.Text(KorDlgDblVal::IDC_VALUE), "2");
                    d.Type(KorDlgDblVal::IDC_VALUE, "0.4");
                    d.PressOK();
                })
        .MessageBox("Please enter an integer between 1 and 100.")
        .Dialog(KorDlgDblVal::IDD_PLAIN,
                [](DialogDriver& d, CDialog&) {
                    // Refused as on the buckling settings page, not made 3.
                    d.Type(KorDlgDblVal::IDC_VALUE, "-3");
                    d.PressOK();
                })
        .MessageBox("Please enter an integer between 1 and 100.")
        .Dialog(KorDlgDblVal::IDD_PLAIN,
                [](DialogDriver& d, CDialog&) {
                    d.Type(KorDlgDblVal::IDC_VALUE, "3");
                    d.PressOK();
                })
        .Dialog(KorDlgDblVal::IDD_PLAIN, [](DialogDriver& d, CDialog&) { d.PressCancel(); });
    EXPECT_TRUE(doc.AskBucklingModes());
    EXPECT_EQ(comp().GetBucklingCtrl(CShellComp::kModes), 3);
    // Cancel runs nothing and keeps the entry.
    const auto before = Names(doc.m_ResultNames);
    EXPECT_FALSE(doc.Calculate());
    EXPECT_EQ(comp().GetBucklingCtrl(CShellComp::kModes), 3);
    EXPECT_EQ(Names(doc.m_ResultNames), before);
    script.Verify();
}

TEST_F(ShellDocTest, FailedRunKeepsTheNamesWithoutModes)
{
    // An empty model cannot be analysed: the document's run reports it and
    // the names gain no modes.
    doc.m_bMeshValid = true;
    ModalScript script;
    script
        .Dialog(KorDlgDblVal::IDD_PLAIN,
                [](DialogDriver& d, CDialog&) {
                    d.Type(KorDlgDblVal::IDC_VALUE, "2");
                    d.PressOK();
                })
        .MessageBox("An error occurred while calculating");
    EXPECT_FALSE(doc.Calculate());
    script.Verify();
    EXPECT_EQ(Names(doc.m_ResultNames), Names(g_arMembraneResults));
    EXPECT_FALSE(doc.m_bMeshValid);
    EXPECT_FALSE(bCalcRunning);

    // The membrane run alone reports its failure too, resets the names and
    // still answers true.
    BuildBucklingResultNames(g_arMembraneResults, 2, doc.m_ResultNames);
    ModalScript membrane;
    membrane.MessageBox("An error occurred while calculating");
    EXPECT_TRUE(doc.CalculateMembrane());
    membrane.Verify();
    EXPECT_EQ(Names(doc.m_ResultNames), Names(g_arMembraneResults));
    EXPECT_FALSE(bCalcRunning);
}

TEST_F(ShellDocTest, BothRunsAreRefusedWhileAnotherRuns)
{
    BuildBucklingResultNames(g_arMembraneResults, 2, doc.m_ResultNames);
    const auto before = Names(doc.m_ResultNames);
    bCalcRunning = true;
    ModalScript script;
    script
        .Dialog(KorDlgDblVal::IDD_PLAIN,
                [](DialogDriver& d, CDialog&) {
                    d.Type(KorDlgDblVal::IDC_VALUE, "3");
                    d.PressOK();
                })
        .MessageBox("Brantel can only handle one calculation at a time.")
        .MessageBox("Brantel can only handle one calculation at a time.");
    const bool buckling = doc.Calculate();
    const bool membrane = doc.CalculateMembrane();
    EXPECT_TRUE(bCalcRunning) << "the other run keeps its flag";
    bCalcRunning = false;
    script.Verify();
    EXPECT_FALSE(buckling);
    EXPECT_FALSE(membrane);
    EXPECT_EQ(Names(doc.m_ResultNames), before);
}

TEST_F(ShellDocTest, BucklingRunOnTheExampleNamesItsModes)
{
    const char* root = std::getenv("BRANTEL_SOURCE_DIR");
    const std::string file = std::string(root ? root : ".") + "/examples/buckling.shl";
    std::string folder = ::testing::TempDir() + "shelldoc_XXXXXX";
    ASSERT_NE(mkdtemp(folder.data()), nullptr);
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(folder); // the solver's logs land here
    ASSERT_TRUE(doc.OnOpenDocument(file.c_str()));
    doc.UpdateStatics(true);
    EXPECT_EQ(Names(doc.m_ResultNames), Names(g_arMembraneResults));
    CStringArray log, errors;
    ASSERT_TRUE(comp().PreCalc(&log, &errors, 0));
    ModalScript script;
    script.Dialog(KorDlgDblVal::IDD_PLAIN, [](DialogDriver& d, CDialog&) {
        d.Type(KorDlgDblVal::IDC_VALUE, "2");
        d.PressOK();
    });
    EXPECT_TRUE(doc.Calculate());
    script.Verify();
    EXPECT_EQ(doc.m_ResultNames.GetSize(), 13);
    EXPECT_EQ(doc.m_ResultNames.GetAt(5), "Buckling mode 1");
    EXPECT_NEAR(comp().GetMaxVal(5), 75.92, 0.02 * 75.92);
    // "Max && min results" lists the component's own rows: the stresses
    // before buckling, the displacements, each mode, the derived stresses;
    // the combined drawings carry no values and are left out.
    CStringArray rows;
    ASSERT_TRUE(doc.MaxMinResultNames(rows));
    EXPECT_EQ(Names(rows), (std::vector<std::string>{"Sigma x", "Sigma y", "Tau xy", "u", "v",
                                                     "Buckling mode 1", "Buckling mode 2", "Sigma_1",
                                                     "Sigma_2", "Eff. stress", "Distorted model"}));
    // A mode's plot knows its number and load factor, which is the mode's
    // maximum; the probe on it tells a mode amplitude.
    for (int m = 0; m < 2; ++m) {
        comp().SetActVal(5 + m);
        int mode = 0;
        double factor = 0.0;
        ASSERT_TRUE(comp().ActiveModeShape(mode, factor)) << m;
        EXPECT_EQ(mode, m + 1);
        EXPECT_EQ(factor, comp().GetMaxVal(5 + m));
        CElement* element = nullptr;
        comp().ForEachMeshElement([&](CElement* e) {
            if (!element)
                element = e;
        });
        ASSERT_NE(element, nullptr);
        // A corner of the element and the element's place in its list.
        CSNode* node = element->GetHeadNode();
        int at = 0;
        for (POSITION p = node->GetGraphList()->GetHeadPosition(); p; ++at)
            if (node->GetGraphList()->GetNext(p) == element)
                break;
        CPlateComp::ResultProbe probe;
        ASSERT_TRUE(comp().ProbeResult(node, at, 0, 1, probe));
        EXPECT_NE(probe.label.find("(mode amplitude)"), std::string::npos) << probe.label;
    }
    for (int c : {0, 4, 7}) {
        comp().SetActVal(c);
        int mode = 0;
        double factor = 0.0;
        EXPECT_FALSE(comp().ActiveModeShape(mode, factor)) << c;
    }
    // The membrane analysis alone brings the plain names back.
    EXPECT_TRUE(doc.CalculateMembrane());
    EXPECT_EQ(Names(doc.m_ResultNames), Names(g_arMembraneResults));
    // Reopening brings the plate conditions and the plain names back.
    BuildBucklingResultNames(g_arMembraneResults, 2, doc.m_ResultNames);
    ASSERT_TRUE(doc.OnCmdMsg(ID_MEMBRANE_BCS, CN_COMMAND, nullptr, nullptr));
    ASSERT_TRUE(doc.OnOpenDocument(file.c_str()));
    EXPECT_EQ(doc.GetBCSet(), 1);
    EXPECT_EQ(Names(doc.m_ResultNames), Names(g_arMembraneResults));
    std::filesystem::current_path(previous);
    std::filesystem::remove_all(folder);
}

// A run that delivers fewer modes than requested is no failure: after it
// a message gives both counts, and the names list the delivered mode only,
// followed by the membrane names, each naming its own result.
TEST_F(ShellDocTest, FewerModesThanRequestedAreToldAfterTheRun)
{
    const char* root = std::getenv("BRANTEL_SOURCE_DIR");
    const std::string file = std::string(root ? root : ".") + "/examples/buckling.shl";
    std::string folder = ::testing::TempDir() + "shelldoc_XXXXXX";
    ASSERT_NE(mkdtemp(folder.data()), nullptr);
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(folder);
    ASSERT_TRUE(doc.OnOpenDocument(file.c_str()));
    doc.UpdateStatics(true);
    CStringArray log, errors;
    ASSERT_TRUE(comp().PreCalc(&log, &errors, 0));
    brantel::test::OneModeOfThree run;
    const bool ran = doc.Calculate();
    run.Finish();
    EXPECT_TRUE(ran);
    EXPECT_EQ(comp().GetBucklingCtrl(CShellComp::kModes), 3);
    EXPECT_EQ(comp().m_nModesAccepted, 1);
    EXPECT_EQ(Names(doc.m_ResultNames),
              (std::vector<std::string>{"Sigma x", "Sigma y", "Tau xy", "u", "v", "Buckling mode 1", "Sigma_1",
                                        "Sigma_2", "Eff. stress", "Distorted model", "Inpl. + Buckl. mode 1"}));
    // The mode shape's plot is the first mode's; the component after it is
    // the first principal stress, not a mode.
    comp().SetActVal(5);
    EXPECT_EQ(comp().GetResultUnit(5), 0);
    EXPECT_NEAR(comp().GetMaxVal(5), 75.92, 0.02 * 75.92);
    EXPECT_NE(comp().GetResultUnit(6), 0);
    std::filesystem::current_path(previous);
    std::filesystem::remove_all(folder);
}

} // namespace

namespace
{

class ShellSheetTest : public ShellDocTest
{
protected:
    // Shows the sheet; step drives it. After OK the settings are applied.
    INT_PTR Run(std::function<void(DialogDriver&)> step)
    {
        std::unique_ptr<CPropertySheet> sheet(doc.CreateElementSheet());
        ModalScript script;
        script.Dialog(RUNTIME_CLASS(CPropertySheet),
                      [&](DialogDriver& d, CDialog&) { step(d); });
        const INT_PTR result = sheet->DoModal();
        if (result == IDOK)
            doc.ApplyElementSettings(sheet.get());
        script.Verify();
        return result;
    }
};

TEST_F(ShellSheetTest, PagesFollowTheMembraneAndPlateElementsAndTheBucklingPage)
{
    std::unique_ptr<CPropertySheet> sheet(doc.CreateElementSheet());
    ASSERT_EQ(sheet->GetPageCount(), 6);
    const char* const titles[] = {"Membrane Element", "Plate Element"};
    for (int i = 0; i < 2; ++i)
        EXPECT_STREQ(sheet->GetPage(i)->m_psp.pszTitle, titles[i]);
    EXPECT_NE(dynamic_cast<CPPBucklSett*>(sheet->GetPage(2)), nullptr);
    EXPECT_NE(dynamic_cast<VokPPSmoothinSett*>(sheet->GetPage(5)), nullptr);
}

TEST_F(ShellSheetTest, OkWithoutChangeMarksNothingAndTheDefaultSolverIsLanczos)
{
    comp().SetElementType(32);
    comp().SetBucklingCtrl(CShellComp::kBucklingType, 81);
    doc.SetModifiedFlag(FALSE);
    EXPECT_EQ(Run([](DialogDriver& d) {
                  d.ActivatePage(1);
                  EXPECT_EQ(d.Check(7127), 1); // T18
                  d.ActivatePage(2);
                  EXPECT_EQ(d.Check(CPPBucklSett::IDC_LANCZOS), 1);
                  EXPECT_EQ(d.Text(CPPBucklSett::IDC_MODES), "2");
                  d.PressOK();
              }),
              IDOK);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(comp().GetBucklingCtrl(CShellComp::kEigensolver), 2);
}

TEST_F(ShellSheetTest, ANewPlateCodeIsStoredAndMarksTheDocument)
{
    comp().SetBucklingCtrl(CShellComp::kBucklingType, 81);
    doc.SetModifiedFlag(FALSE);
    Run([](DialogDriver& d) {
        d.ActivatePage(1);
        d.Click(7124); // DKT
        d.ActivatePage(2);
        d.Click(CPPBucklSett::IDC_SUBSPACE);
        d.Type(CPPBucklSett::IDC_MODES, "4");
        d.PressOK();
    });
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(comp().GetBucklingCtrl(CShellComp::kBucklingType), 65);
    EXPECT_EQ(comp().GetBucklingCtrl(CShellComp::kEigensolver), 1);
    EXPECT_EQ(comp().GetBucklingCtrl(CShellComp::kModes), 4);
    EXPECT_EQ(doc.GetElementTypeName().Left(4), "DKT/");
}

} // namespace

namespace
{

TEST_F(ShellDocTest, EdgeSheetHasBothConditionSetsAndLoadsOnlyForMembranes)
{
    doc.UpdateStatics(true);
    CSectPlate* region = AddSquare(doc, 0.0, 0.0, 100.0);
    CSNode* a = Corners(*region)[0];
    auto* edge = static_cast<CBoundary*>(a->GetEdgeList()->GetHead());
    const struct {
        int membrane;
        int pages;
    } cases[] = {{31, 3}, {81, 2}};
    for (const auto& c : cases) {
        comp().SetElementType(c.membrane);
        ModalScript script;
        script.Dialog(RUNTIME_CLASS(CPropertySheet), [&](DialogDriver& d, CDialog& dlg) {
            auto& sheet = dynamic_cast<CPropertySheet&>(dlg);
            EXPECT_EQ(d.Caption(), "Edge information");
            ASSERT_EQ(sheet.GetPageCount(), c.pages) << c.membrane;
            EXPECT_STREQ(sheet.GetPage(0)->m_psp.pszTitle, "Membrane BC's");
            EXPECT_STREQ(sheet.GetPage(1)->m_psp.pszTitle, "Plate BC's");
            d.PressCancel();
        });
        doc.EditEdgeInfo(edge);
        script.Verify();
    }
    // "Fix" on the plate page goes into the plate conditions (index 1).
    ModalScript script;
    script.Dialog(RUNTIME_CLASS(CPropertySheet), [](DialogDriver& d, CDialog&) {
        d.ActivatePage(1);
        d.Click(1102);
        d.PressOK();
    });
    doc.EditEdgeInfo(edge);
    script.Verify();
    ASSERT_NE(edge->GetBC(1), nullptr);
    EXPECT_EQ(edge->GetBC(1)->GetBCType(), 2u);
    EXPECT_TRUE(doc.IsModified());
}

} // namespace

namespace
{

TEST_F(ShellDocTest, ImportingAMembraneFileBringsItsRegionsAndMaterials)
{
    const char* root = std::getenv("BRANTEL_SOURCE_DIR");
    const std::string file = std::string(root ? root : ".") + "/examples/membrane.mem";
    CBrantelDoc expected;
    ASSERT_TRUE(expected.OnOpenDocument(file.c_str()));
    const int regions = static_cast<int>(expected.GetPlateComp()->GetCount());
    std::vector<std::string> names;
    for (POSITION pos = expected.GetPlateComp()->GetMaterialList().GetHeadPosition(); pos;)
        names.emplace_back(static_cast<CMaterial*>(
            expected.GetPlateComp()->GetMaterialList().GetNext(pos))->GetName().GetString());

    doc.UpdateStatics(true);
    ModalScript script;
    script.FileDialog([&](const AfxFileDialogRequest& request) {
        EXPECT_EQ(request.strFilter, "Membrane  files (*.mem)|*.mem||");
        AfxFileDialogResult result;
        result.bOK = TRUE;
        result.paths = {file.c_str()};
        return result;
    });
    ASSERT_TRUE(doc.OnCmdMsg(ID_IMPORT_MEMBRANE, CN_COMMAND, nullptr, nullptr));
    script.Verify();
    EXPECT_EQ(static_cast<int>(comp().GetCount()), regions);
    std::vector<std::string> shown;
    for (POSITION pos = comp().GetMaterialList().GetHeadPosition(); pos;)
        shown.emplace_back(
            static_cast<CMaterial*>(comp().GetMaterialList().GetNext(pos))->GetName().GetString());
    EXPECT_EQ(shown, names);
    EXPECT_TRUE(doc.IsModified());
    // New objects do not reuse the identifiers of the imported ones.
    EXPECT_GT(CGraph::lIDGraph, comp().GetMaxID(1));
    EXPECT_GT(CSNode::lIDnode, comp().GetMaxID(2));

    // A model with regions refuses before asking for a file.
    ModalScript refuse;
    refuse.MessageBox("Your Workspace must be empty to use this option");
    doc.OnCmdMsg(ID_IMPORT_MEMBRANE, CN_COMMAND, nullptr, nullptr);
    refuse.Verify();
    EXPECT_EQ(static_cast<int>(comp().GetCount()), regions);
}

} // namespace

namespace
{

TEST_F(ShellDocTest, ExampleSavesAgainByteForByteWithItsBucklingEntries)
{
    const char* root = std::getenv("BRANTEL_SOURCE_DIR");
    const std::string file = std::string(root ? root : ".") + "/examples/buckling.shl";
    ASSERT_TRUE(doc.OnOpenDocument(file.c_str()));
    doc.UpdateStatics(true);
    std::vector<int> entries;
    for (int i = 0; i < 4; ++i)
        entries.push_back(comp().GetBucklingCtrl(i));
    ASSERT_TRUE(doc.OnCmdMsg(ID_MEMBRANE_BCS, CN_COMMAND, nullptr, nullptr));
    brantel::test::TempFile saved;
    const Bytes bytes = SaveBytes(doc, saved);
    CFile original(file.c_str(), CFile::modeRead);
    Bytes expected(static_cast<std::size_t>(original.GetLength()));
    original.Read(expected.data(), static_cast<UINT>(expected.size()));
    EXPECT_EQ(bytes, expected);

    CDocShell reopened;
    ASSERT_TRUE(reopened.OnOpenDocument(saved.path()));
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(reopened.GetShellComp()->GetBucklingCtrl(i), entries[i]) << i;
    EXPECT_EQ(reopened.GetBCSet(), 1);
}

} // namespace
