// The plate document's region text commands: the dialogs, the markers as
// single bytes, unit scaling, joining and dropping of the regions read.
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "framework/framira.h"
#include "graphview/ogl2dview.h"
#include "platform/dimvor/units.h"
#include "app/shell/calcrun.h"
#include "tests/shell/modview_fixture.h"
#include "tests/shell/shell_fixture.h"
#include "tests/support/safe_write_cases.h"

namespace
{

using namespace shelltest;
using afxui::headless::DialogDriver;
using afxui::headless::ModalScript;
using brantel::test::TempFile;

using RegionText = ShellTest;

const char kTwoSquares[] = "\xA7Section\r\n0 0\r\n10 0\r\n10 10\r\n0 10\r\n\xA7" "End\r\n"
                           "\xA7Section\r\n10 0\r\n20 0\r\n20 10\r\n10 10\r\n\xA7" "End\r\n";

// Scripts the file dialog choosing path and the scale dialog, optionally
// switched to inches; the requests shown are kept.
struct Shown {
    AfxFileDialogRequest request;
    CString labels[3];
    bool scaleZShown = true;
};

struct TextScript : Shown {
    ModalScript script;

    TextScript(const CString& path, bool inches = false)
    {
        script.FileDialog([this, path](const AfxFileDialogRequest& r) {
            request = r;
            AfxFileDialogResult result;
            result.bOK = TRUE;
            result.paths = {path};
            return result;
        });
        script.Dialog(KorDlgImpExpScl::IDD, [this, inches](DialogDriver& d, CDialog& dlg) {
            auto& scale = dynamic_cast<KorDlgImpExpScl&>(dlg);
            labels[0] = scale.m_strScaleXLabel;
            labels[1] = scale.m_strScaleYLabel;
            labels[2] = scale.m_strScaleZLabel;
            scaleZShown = d.Visible(16232);
            if (inches)
                d.Click(16145);
            d.PressOK();
        });
    }
};

// Exports the model; the file's bytes. What the dialogs showed goes to shown.
std::string ExportText(CBrantelDoc& doc, bool inches, Shown* shown = nullptr)
{
    TempFile file("regions");
    const std::string path = std::string(file.path()) + ".txt";
    TextScript script(path.c_str(), inches);
    EXPECT_TRUE(doc.OnCmdMsg(34078, CN_COMMAND, nullptr, nullptr));
    script.script.Verify();
    if (shown)
        *shown = script;
    std::ifstream in(path, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::remove(path.c_str());
    return text;
}

// Imports text; the number of regions added.
int ImportText(CBrantelDoc& doc, const std::string& text, AfxFileDialogRequest* shown = nullptr)
{
    TempFile file("regions");
    file.writeBytes(text.data(), text.size());
    const int before = static_cast<int>(doc.m_pSectComp->GetCount());
    TextScript script(file.path());
    EXPECT_TRUE(doc.OnCmdMsg(34052, CN_COMMAND, nullptr, nullptr));
    script.script.Verify();
    if (shown)
        *shown = script.request;
    return static_cast<int>(doc.m_pSectComp->GetCount()) - before;
}

TEST_F(RegionText, ExportOffersTextFilesAndWritesSingleByteMarkersWithCrLf)
{
    CBrantelDoc doc;
    AddSquare(doc, 0, 0, 100);
    Shown seen;
    const std::string text = ExportText(doc, false, &seen);
    const Shown* script = &seen;
    EXPECT_FALSE(script->request.bOpenFileDialog);
    EXPECT_EQ(script->request.strDefExt, "txt");
    EXPECT_EQ(script->request.strFilter, "Text file ( *.txt )|*.txt||");
    EXPECT_EQ(script->labels[0], "X");
    EXPECT_EQ(script->labels[1], "Y");
    EXPECT_FALSE(script->scaleZShown);
    EXPECT_EQ(text.rfind("\xA7Section\r\n", 0), 0u);
    EXPECT_NE(text.find("\xA7" "End\r\n"), std::string::npos);
    EXPECT_EQ(text.find("\xC2\xA7"), std::string::npos); // not UTF-8
    for (size_t i = text.find('\n'); i != std::string::npos; i = text.find('\n', i + 1))
        EXPECT_EQ(text[i - 1], '\r');
}

TEST_F(RegionText, AFailedExportKeepsTheOldFileAndSaysWhy)
{
    CBrantelDoc doc;
    AddSquare(doc, 0, 0, 100);
    brantel::test::ExpectEachWriteFailureKeepsTheOldFile(
        "regions.txt", [this, &doc](const std::string& path, const std::string& cause) {
            TextScript script(path.c_str());
            Boxes().Expect(cause);
            const std::size_t before = Boxes().Shown().size();
            EXPECT_TRUE(doc.OnCmdMsg(34078, CN_COMMAND, nullptr, nullptr));
            script.script.Verify();
            std::vector<std::string> shown;
            for (std::size_t i = before; i < Boxes().Shown().size(); ++i)
                shown.push_back(Boxes().Shown()[i].text);
            return shown;
        });
}

TEST_F(RegionText, ExportInInchesScalesByTheInchFactorAndImportTakesItBack)
{
    CBrantelDoc doc;
    AddSquare(doc, 0, 0, 25.4);
    const std::string text = ExportText(doc, true);
    EXPECT_NE(text.find("\r\n1   1\r\n"), std::string::npos) << text;

    CBrantelDoc back;
    TempFile file("regions");
    file.writeBytes(text.data(), text.size());
    TextScript script(file.path(), true);
    EXPECT_TRUE(back.OnCmdMsg(34052, CN_COMMAND, nullptr, nullptr));
    script.script.Verify();
    ASSERT_EQ(back.m_pSectComp->GetCount(), 1);
    double xmax = 0, ymax = 0, xmin = 1, ymin = 1;
    back.GetMaxMinCoord(xmax, ymax, xmin, ymin);
    // Nothing is shifted on the way back.
    EXPECT_NEAR(xmax, 25.4, 1e-9);
    EXPECT_NEAR(xmin, 0.0, 1e-9);
}

TEST_F(RegionText, ImportJoinsCornersDropsDuplicatesAndIsOneUndoStep)
{
    CBrantelDoc doc;
    CSectPlate* old = AddSquare(doc, 100, 100, 5);
    AfxFileDialogRequest shown;
    const std::string text = std::string(kTwoSquares) + kTwoSquares;
    ASSERT_EQ(ImportText(doc, text, &shown), 2);

    EXPECT_TRUE(shown.bOpenFileDialog);
    EXPECT_EQ(shown.strFilter, "ASCII text files (*.*)|*.*||");

    auto* head = static_cast<CSectPlate*>(doc.m_pSectComp->GetHead());
    POSITION at = doc.m_pSectComp->GetHeadPosition();
    doc.m_pSectComp->GetNext(at);
    auto* tail = static_cast<CSectPlate*>(doc.m_pSectComp->GetAt(at));
    EXPECT_EQ(doc.m_pSectComp->GetTail(), old);
    // At the head in import order: the second region read comes first.
    EXPECT_EQ(Corners(*head)[0]->x, 10.0);
    // The shared corners (10, 0) and (10, 10) are one node each.
    const std::vector<CSNode*> first = Corners(*tail), second = Corners(*head);
    EXPECT_EQ(second[0], first[1]);
    EXPECT_EQ(second[3], first[2]);
    EXPECT_EQ(head->GetMaterial(), tail->GetMaterial());
    EXPECT_NE(head->GetMaterial(), nullptr);

    EXPECT_TRUE(doc.IsModified());
    ASSERT_TRUE(doc.Undo());
    EXPECT_EQ(doc.m_pSectComp->GetCount(), 1);
}

// Another document's statics in force (the last click was in its view):
// the regions read take this document's identifiers, which it keeps, and
// the other document's counters stay as they were.
TEST_F(RegionText, ImportNumbersTheRegionsInTheImportingDocument)
{
    CBrantelDoc other;
    other.m_nNodeID = 5000;
    other.UpdateStatics(true);
    CBrantelDoc doc;
    doc.m_nNodeID = 200;
    ASSERT_EQ(ImportText(doc, kTwoSquares), 2);
    DWORD highest = 0;
    for (POSITION pos = doc.m_pSectComp->GetHeadPosition(); pos;)
        for (CSNode* node : Corners(*static_cast<CSectPlate*>(doc.m_pSectComp->GetNext(pos)))) {
            EXPECT_GE(node->GetID(), 200u);
            highest = std::max(highest, node->GetID());
        }
    EXPECT_LT(highest, 5000u);
    EXPECT_GT(doc.m_nNodeID, highest);
    EXPECT_EQ(other.m_nNodeID, 5000u);
}

TEST_F(RegionText, TheFirstImportIntoAnEmptyModelIsUndoneToTheEmptyModel)
{
    CBrantelDoc doc;
    ASSERT_EQ(doc.m_pSectComp->GetCount(), 0);
    ASSERT_EQ(ImportText(doc, kTwoSquares), 2);
    ASSERT_TRUE(doc.Undo());
    EXPECT_EQ(doc.m_pSectComp->GetCount(), 0);
    EXPECT_TRUE(doc.IsEmpty());
    ASSERT_NE(doc.m_pNodeList, nullptr);
    EXPECT_EQ(doc.m_pNodeList->m_nCount, 0);
    // Redo gives the regions back, and a second import stays one step.
    ASSERT_TRUE(doc.Redo());
    EXPECT_EQ(doc.m_pSectComp->GetCount(), 2);
    ASSERT_EQ(ImportText(doc, "\xA7Section\r\n0 20\r\n5 20\r\n5 25\r\n\xA7" "End\r\n"), 1);
    ASSERT_TRUE(doc.Undo());
    EXPECT_EQ(doc.m_pSectComp->GetCount(), 2);
}

// A 2D view that counts what the import asks of it.
class CountingView : public COGL2DView
{
public:
    int fits = 0, invalidations = 0;
    void ZoomToFit() override { ++fits; }
    void InvalidateList() override { ++invalidations; }
    void TruncateCursor() override {}
    void FindModelExtents() override {}
};

TEST_F(RegionText, EmptyFileAddsNothingAndLfLinesReadLikeCrLf)
{
    CBrantelDoc empty;
    empty.m_bAutoDelete = FALSE;
    CountingView view;
    empty.AddView(&view);
    EXPECT_EQ(ImportText(empty, ""), 0);
    EXPECT_FALSE(empty.IsModified());
    EXPECT_EQ(empty.m_pUndoComp, nullptr);
    EXPECT_EQ(view.fits + view.invalidations, 0);
    EXPECT_EQ(ImportText(empty, kTwoSquares), 2);
    EXPECT_EQ(view.fits, 1);
    EXPECT_GE(view.invalidations, 1);

    std::string lf = kTwoSquares;
    for (size_t i; (i = lf.find("\r\n")) != std::string::npos;)
        lf.erase(i, 1);
    CBrantelDoc a, b;
    EXPECT_EQ(ImportText(a, kTwoSquares), 2);
    EXPECT_EQ(ImportText(b, lf), 2);
    double ax[4] = {0, 0, 1, 1}, bx[4] = {0, 0, 1, 1};
    a.GetMaxMinCoord(ax[0], ax[1], ax[2], ax[3]);
    b.GetMaxMinCoord(bx[0], bx[1], bx[2], bx[3]);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(ax[i], bx[i]);
}

TEST_F(RegionText, CancelledDialogsChangeNothing)
{
    CBrantelDoc doc;
    TempFile file("regions");
    file.writeBytes(kTwoSquares, sizeof kTwoSquares - 1);
    {
        ModalScript script;
        script.FileDialog([](const AfxFileDialogRequest&) { return AfxFileDialogResult{}; });
        EXPECT_TRUE(doc.OnCmdMsg(34052, CN_COMMAND, nullptr, nullptr));
    }
    {
        ModalScript script;
        script.FileDialog([&](const AfxFileDialogRequest&) {
            AfxFileDialogResult r;
            r.bOK = TRUE;
            r.paths = {CString(file.path())};
            return r;
        });
        script.Dialog(KorDlgImpExpScl::IDD, [](DialogDriver& d, CDialog&) { d.PressCancel(); });
        EXPECT_TRUE(doc.OnCmdMsg(34052, CN_COMMAND, nullptr, nullptr));
    }
    EXPECT_EQ(doc.m_pSectComp->GetCount(), 0);
    EXPECT_FALSE(doc.IsModified());
}

// A plate with a hole, exported: the hole's outline follows the plate's in
// a block of its own. Imported into the program's new document, the hole
// is the plate's inner region again, and one log line says what the text
// does not carry.
using RegionImport = ModViewTest;

TEST_F(RegionImport, APlateWithAHoleComesBackNestedAndTheLogSaysWhatTheTextLeavesOut)
{
    std::string text;
    {
        CBrantelDoc source;
        CSectPlate* plate = AddSquare(source, 0, 0, 60);
        CSectPlate* hole = AddSquare(source, 20, 20, 20);
        source.m_pSectComp->Remove(hole);
        plate->InsertSubSect(hole);
        text = ExportText(source, false);
    }
    std::size_t blocks = 0;
    for (std::size_t at = text.find("\xA7Section"); at != std::string::npos; at = text.find("\xA7Section", at + 1))
        ++blocks;
    EXPECT_EQ(blocks, 2u);

    CString before;
    RunLogWindow()->GetLogEdit().GetWindowText(before);
    EXPECT_EQ(ImportText(*doc, text), 1) << "one region at the top";
    CPlateComp* comp = doc->GetPlateComp();
    auto* plate = dynamic_cast<CSectPlate*>(comp->GetHead());
    ASSERT_NE(plate, nullptr);
    EXPECT_EQ(Corners(*plate).size(), 4u);
    ASSERT_NE(plate->GetSubList(), nullptr);
    ASSERT_EQ(plate->GetSubList()->GetCount(), 1);
    auto* hole = dynamic_cast<CSectPlate*>(plate->GetSubList()->GetHead());
    ASSERT_NE(hole, nullptr);
    EXPECT_EQ(hole->GetOuterSect(), plate);
    for (CSNode* node : Corners(*hole)) {
        EXPECT_GE(node->x, 20.0);
        EXPECT_LE(node->x, 40.0);
    }
    CString after;
    RunLogWindow()->GetLogEdit().GetWindowText(after);
    const std::string added = std::string(static_cast<LPCTSTR>(after)).substr(before.GetLength());
    EXPECT_EQ(added, "The region text carries no materials, supports or loads: the imported regions take the "
                     "active material\r\n");
}

} // namespace
