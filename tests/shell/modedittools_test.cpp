// The editing tools of the modelling view in the real program, driven with
// clicks in pixels on an OSMesa surface: new node, link, divide, fillet,
// union, flip, delete, move, copy, cut and paste, ring segments and load
// groups, with their log lines, their undo snapshots and the modified mark.
#include <algorithm>
#include <functional>
#include <set>
#include <memory>
#include <string>
#include <vector>

#include "app/shell/brantelmodview.h"
#include "app/shell/calcrun.h"
#include "framework/geomhlpr.h"
#include "framework/inputdialogs.h"
#include "dialogs/ringsegpage.h"
#include "glview/oglrenderer.h"
#include "platform/ui/osmesa/afxui_osmesa.h"
#include "tests/shell/modview_fixture.h"

namespace
{

using namespace shelltest;
using afxui::headless::DialogDriver;
using afxui::headless::ModalScript;

// The modelling view on its surface, commands sent through the main window.
class EditTools : public ModViewTest
{
protected:
    void Send(UINT id) { main->SendCommand(id); }
    CPlateComp* Comp() { return doc->GetPlateComp(); }
    // A square of the model's first material, the document unmodified.
    CSectPlate* Square(double x0, double y0, double side)
    {
        CSectPlate* square = AddSquare(*doc, x0, y0, side);
        doc->SetModifiedFlag(FALSE);
        view->InvalidateList();
        return square;
    }
    // The log written since the last call.
    std::string NewLog()
    {
        const std::string all = Log();
        std::string fresh = all.substr(std::min(logSeen, all.size()));
        logSeen = all.size();
        return fresh;
    }
    void Select(CObject* object, UINT type) { view->AddSelect(object, type, false); }
    // The x of every region's first corner, sorted (a fingerprint of the
    // model that Undo must bring back).
    std::vector<std::pair<double, double>> Fingerprint()
    {
        std::vector<std::pair<double, double>> points;
        Comp()->OnNodes(
            [](CSNode* node, void* out) {
                static_cast<std::vector<std::pair<double, double>>*>(out)->emplace_back(node->x, node->y);
            },
            &points);
        std::sort(points.begin(), points.end());
        points.erase(std::unique(points.begin(), points.end()), points.end());
        return points;
    }
    void Undo() { Send(ID_EDIT_UNDO); }

    std::size_t logSeen = 0;
};

TEST_F(EditTools, NewNodeGoesOntoAnEdgeAndEndsTheTool)
{
    CSectPlate* square = Square(0, 0, 30);
    Send(ID_TOOL_NEW_NODE);
    struct Step {
        double x, y;
        std::size_t corners;
        UINT tool;
        bool modified;
    } steps[] = {
        {31, 29, 4, kToolNewNode, false},  // on a node: nothing
        {-20, -20, 4, kToolNewNode, false}, // empty space: the tool waits
        {15, 1, 5, 0, true},                // beside the bottom edge
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.x);
        Click(s.x, s.y);
        EXPECT_EQ(Corners(*square).size(), s.corners);
        EXPECT_EQ(view->m_uiGeomTool, s.tool);
        EXPECT_EQ(doc->IsModified() != FALSE, s.modified);
    }
    CSNode* node = Corners(*square)[1];
    EXPECT_DOUBLE_EQ(node->x, 15.0);
    EXPECT_DOUBLE_EQ(node->y, 0.0);
    EXPECT_NE(dynamic_cast<CBoundNode*>(node), nullptr);
    EXPECT_NE(CGraph::GetComEdge(Corners(*square)[0], node), nullptr);
    EXPECT_NE(CGraph::GetComEdge(node, Corners(*square)[2]), nullptr);
    Undo();
    EXPECT_EQ(Fingerprint().size(), 4u);
}

TEST_F(EditTools, LinkJoinsTwoModelNodesAndDropsAPointOffTheModel)
{
    CSectPlate* square = Square(0, 0, 30);
    CSectPlate* other = Square(40, 0, 10);
    Send(ID_LINK_DOFS);
    Click(30, 30);
    Click(60, 60); // off the model: dropped, the tool waits
    EXPECT_EQ(view->m_uiGeomTool, kToolLink);
    EXPECT_EQ(view->m_pGeomHlpr->GetTmpNodeCount(), 1);
    Click(40, 10);
    EXPECT_EQ(view->m_uiGeomTool, 0u);
    CEdge* link = CGraph::GetComEdge(Corners(*square)[2], Corners(*other)[3]);
    ASSERT_NE(link, nullptr);
    EXPECT_TRUE(link->IsKindOf(RUNTIME_CLASS(CDOFLink)));
    EXPECT_TRUE(doc->IsModified());
}

TEST_F(EditTools, DivideSplitsTheRegionAlongTheLineAndRefilesItsHoles)
{
    CSectPlate* square = Square(0, 0, 30);
    CSectPlate* hole = AddSquare(*doc, 20, 2, 5); // below the diagonal
    square->InsertSubSect(hole);
    Comp()->Remove(hole);
    doc->SetModifiedFlag(FALSE);
    view->InvalidateList();
    NewLog();
    Send(ID_TOOL_DIVIDE);
    EXPECT_EQ(NewLog(), " Please select two nodes\r\n ");
    EXPECT_EQ(view->m_uiGeomTool, kToolDivide);
    Click(0, 0);
    Click(30, 30);
    EXPECT_EQ(view->m_uiGeomTool, 0u);
    ASSERT_EQ(Regions(), 2);
    auto* half = dynamic_cast<CSectPlate*>(Comp()->GetTail());
    ASSERT_NE(half, nullptr);
    EXPECT_EQ(Corners(*square).size() + Corners(*half).size(), 6u);
    // The hole lies in the half with the corner (30, 0), whichever that is.
    bool squareIsLower = false;
    for (CSNode* node : Corners(*square))
        squareIsLower = squareIsLower || (node->x == 30.0 && node->y == 0.0);
    CSectPlate* withCorner = squareIsLower ? square : half;
    ASSERT_NE(withCorner->GetSubList(), nullptr);
    EXPECT_EQ(withCorner->GetSubList()->GetHead(), hole);
    EXPECT_EQ(hole->GetOuterSect(), withCorner);
    EXPECT_TRUE(doc->IsModified());
}

TEST_F(EditTools, DivideRefusesALineAcrossTheModelAndNodesWithoutCommonRegion)
{
    Square(0, 0, 30);
    Square(40, 0, 10);
    Square(10, 35, 10); // above the square: the line (0, 30)-(50, 10) passes below
    const auto before = Fingerprint();
    struct Case {
        double x1, y1, x2, y2;
        UINT tool;
        int chain;
    } cases[] = {
        {0, 0, 40, 10, kToolDivide, 1}, // across the square: the point is refused, the tool waits
        {0, 0, 30, 0, 0, 0},            // along the square's side: ends the tool
        {30, 30, 40, 10, kToolDivide, 0}, // no region in common: input cleared, the tool waits
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.x2 + c.y2);
        Send(ID_TOOL_DIVIDE);
        Click(c.x1, c.y1);
        Click(c.x2, c.y2);
        EXPECT_EQ(view->m_uiGeomTool, c.tool);
        EXPECT_EQ(view->m_pGeomHlpr->GetTmpNodeCount(), c.chain);
        if (c.tool)
            Send(ID_TOOL_DIVIDE);
        EXPECT_EQ(Regions(), 3);
        EXPECT_EQ(Fingerprint(), before);
    }
    EXPECT_FALSE(doc->IsModified());
}

// Fillet dialog answers, in order: the radius typed (model units are
// millimetres here), OK or Cancel.
void FilletDialogs(ModalScript& script, std::vector<std::pair<const char*, bool>> answers)
{
    // Pairs, not structured bindings: clang 14 cannot capture those.
    for (const auto& answer : answers)
        script.Dialog(KorDlgFillet::IDD,
                      [radius = answer.first, ok = answer.second](DialogDriver& d, CDialog&) {
            d.Type(50075, radius);
            d.Type(50074, "4");
            d.Click(ok ? IDOK : IDCANCEL);
        });
}

TEST_F(EditTools, FilletAsksAgainForAPositiveRadiusAndRoundsTheCorner)
{
    CSectPlate* square = Square(0, 0, 30);
    NewLog();
    Send(ID_TOOL_FILLET);
    EXPECT_EQ(NewLog(), "Please select first edge\r\n ");
    Click(30, 15);
    EXPECT_EQ(NewLog(), "Please select second edge\r\n ");
    ModalScript script;
    FilletDialogs(script, {{"0", true}, {"-2", true}, {"10", true}});
    Click(15, 30);
    script.Verify();
    EXPECT_EQ(view->m_uiGeomTool, 0u);
    EXPECT_EQ(view->m_pFilletEdge1, nullptr);
    const std::vector<CSNode*> nodes = Corners(*square);
    ASSERT_EQ(nodes.size(), 3u + 5u);
    for (CSNode* node : nodes)
        EXPECT_FALSE(node->x == 30.0 && node->y == 30.0);
    EXPECT_TRUE(doc->IsModified());
    EXPECT_DOUBLE_EQ(KorDlgFillet::m_dStatFilletRad, 10.0);

    // Cancel ends the tool.
    Send(ID_TOOL_FILLET);
    Click(0, 15);
    FilletDialogs(script, {{"3", false}});
    Click(15, 0);
    script.Verify();
    EXPECT_EQ(view->m_uiGeomTool, 0u);
    EXPECT_EQ(Corners(*square).size(), 8u);
}

TEST_F(EditTools, RefusedFilletsReportTheirCauseAndKeepThePreviousUndo)
{
    Square(0, 0, 30);
    Square(26, 26, 2); // across an arc of radius 10 at the corner (30, 30)
    // A previous edit: a node on the left side.
    Send(ID_TOOL_NEW_NODE);
    Click(1, 15);
    const auto beforeNode = Fingerprint();
    ASSERT_EQ(beforeNode.size(), 4u + 4u + 1u);
    ModalScript script;

    struct Case {
        const char* radius;
        const char* box; // null: no message
        bool logged;
    } cases[] = {
        {"100", "The specified radius is too large, please try again", true},
        {"10", nullptr, false}, // the arc would cross the small square
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.radius);
        Send(ID_TOOL_FILLET);
        Click(30, 10);
        NewLog();
        FilletDialogs(script, {{c.radius, true}});
        if (c.box)
            script.MessageBox(c.box);
        Click(10, 30);
        script.Verify();
        EXPECT_EQ(NewLog(), c.logged ? "Please select first edge\r\n " : "");
        EXPECT_EQ(Fingerprint().size(), beforeNode.size());
        Send(ID_TOOL_FILLET);
    }
    // Undo still takes back the node, the edit before the fillets.
    Undo();
    EXPECT_EQ(Fingerprint().size(), 8u);
}

TEST_F(EditTools, EdgesNotMeetingOrParallelAreRefusedWithTheirMessages)
{
    Square(0, 0, 30);
    ModalScript script;
    Send(ID_TOOL_FILLET);
    Click(0, 15); // left side
    FilletDialogs(script, {{"5", true}});
    script.MessageBox("Edges must be connected");
    Click(30, 15); // right side: no common node
    script.Verify();
    EXPECT_NE(view->m_pFilletEdge1, nullptr) << "the first edge stays";
    EXPECT_EQ(view->m_pFilletEdge2, nullptr);
    EXPECT_EQ(view->m_uiGeomTool, kToolFillet);
}

TEST_F(EditTools, UnionFlipAndDeleteTakeOneSnapshotEach)
{
    // Flip of an empty model: no snapshot.
    Send(ID_FLIP_HORIZONTAL);
    EXPECT_EQ(doc->m_pUndoComp, nullptr);
    EXPECT_FALSE(doc->IsModified());

    CSectPlate* left = Square(0, 0, 10);
    CSectPlate* right = Square(10, 0, 10);
    CObList edges;
    Comp()->GetEdgeList(nullptr, &edges);
    Comp()->FixEdges(&edges); // the common side becomes one edge
    Send(ID_FLIP_HORIZONTAL);
    ASSERT_NE(doc->m_pUndoComp, nullptr);
    EXPECT_TRUE(doc->IsModified());
    double xmax, ymax, xmin, ymin;
    Comp()->GetMaxMinCoord(xmax, ymax, xmin, ymin);
    EXPECT_DOUBLE_EQ(xmin, -20.0);
    EXPECT_DOUBLE_EQ(xmax, 0.0);
    Send(ID_FLIP_HORIZONTAL);
    Comp()->GetMaxMinCoord(xmax, ymax, xmin, ymin);
    EXPECT_DOUBLE_EQ(xmin, 0.0);
    Send(ID_FLIP_VERTICAL);
    Comp()->GetMaxMinCoord(xmax, ymax, xmin, ymin);
    EXPECT_DOUBLE_EQ(ymin, -10.0);
    Send(ID_FLIP_VERTICAL);

    // Union of the two squares.
    doc->SetModifiedFlag(FALSE);
    Select(left, KorBasisGeomHlpr::kAreas);
    Select(right, KorBasisGeomHlpr::kAreas);
    Send(ID_REGION_UNION);
    EXPECT_EQ(Regions(), 1);
    EXPECT_TRUE(doc->IsModified());
    Undo();
    EXPECT_EQ(Regions(), 2);

    // Delete the selection; Undo brings it back.
    auto* first = dynamic_cast<CSectPlate*>(Comp()->GetHead());
    Select(first, KorBasisGeomHlpr::kAreas);
    Send(ID_DELETE_SELECTION);
    EXPECT_EQ(Regions(), 1);
    Undo();
    EXPECT_EQ(Regions(), 2);
}

// Two squares side by side united, then divided again along the line
// between the two nodes the union left on the top and bottom edges: the
// two squares come back, four corners each, and the repair that ends the
// division keeps them so.
TEST_F(EditTools, UnionThenDivideGiveTheRegionsDrawn)
{
    CSectPlate* left = Square(0, 0, 30);
    CSectPlate* right = Square(30, 0, 30);
    CObList edges;
    Comp()->GetEdgeList(nullptr, &edges);
    Comp()->FixEdges(&edges); // the common side becomes one edge
    Select(left, KorBasisGeomHlpr::kAreas);
    Select(right, KorBasisGeomHlpr::kAreas);
    Send(ID_REGION_UNION);
    ASSERT_EQ(Regions(), 1);
    auto* merged = dynamic_cast<CSectPlate*>(Comp()->GetHead());
    ASSERT_NE(merged, nullptr);
    EXPECT_EQ(Corners(*merged).size(), 6u);
    Comp()->Fix();
    EXPECT_EQ(Regions(), 1) << "the repair keeps the merged region whole";

    Send(ID_TOOL_DIVIDE);
    Click(30, 30);
    Click(30, 0);
    EXPECT_EQ(view->m_uiGeomTool, 0u);
    ASSERT_EQ(Regions(), 2);
    double area = 0.0;
    for (POSITION pos = Comp()->GetHeadPosition(); pos;) {
        auto* half = dynamic_cast<CSectPlate*>(Comp()->GetNext(pos));
        ASSERT_NE(half, nullptr);
        const std::vector<CSNode*> corners = Corners(*half);
        EXPECT_EQ(corners.size(), 4u);
        for (std::size_t i = 0; i < corners.size(); ++i)
            area += 0.5 * (corners[i]->x * corners[(i + 1) % 4]->y - corners[(i + 1) % 4]->x * corners[i]->y);
    }
    EXPECT_DOUBLE_EQ(area, 1800.0);
}

// The prompts of the tools and the reasons of refused clicks are in the
// log and in the status bar's message pane; a prompt comes back there when
// the pointer moves in the view after a bar put "Ready" in its place, and
// goes when the tool has ended.
TEST_F(EditTools, PromptsAndRefusalsShowInTheStatusBarAndTheLog)
{
    Square(0, 0, 30);
    Square(40, 0, 10);
    const auto pane = [this] { return std::string(static_cast<LPCTSTR>(main->GetStatusBarWnd().GetPaneText(0))); };
    struct Step {
        const char* name;
        std::function<void()> act;
        const char* status;
    };
    const Step steps[] = {
        {"divide", [&] { Send(ID_TOOL_DIVIDE); }, "Please select two nodes"},
        {"divide, no common region", [&] { Click(30, 30); Click(40, 10); },
         "The two nodes have no region in common: please select two others"},
        {"divide off the model", [&] { Click(20, 40); }, "The point is no node of the model: please select a node"},
        {"divide ended", [&] { Send(ID_TOOL_DIVIDE); }, "Ready"},
        {"fillet", [&] { Send(ID_TOOL_FILLET); }, "Please select first edge"},
        {"fillet, first edge", [&] { Click(15, 0); }, "Please select second edge"},
        {"fillet ended", [&] { Send(ID_TOOL_FILLET); }, "Ready"},
        {"link along an edge", [&] { Send(ID_LINK_DOFS); Click(0, 0); Click(30, 0); },
         "The two nodes are joined by an edge already: no link is made"},
        {"circle about a corner", [&] { Send(ID_TOOL_CIRCLE); Click(30, 30); Click(30, 30); },
         "The radius point lies on the centre: please choose another point"},
        {"circle ended", [&] { Send(ID_TOOL_CIRCLE); }, "Ready"},
        {"triangle closing across the square", [&] { Send(ID_TOOL_TRIANGLE); Click(-10, 15); Click(-10, 45); Click(40, 45); },
         "The closing line would cross the model or the lines drawn: please choose another point"},
        {"triangle ended", [&] { Send(ID_TOOL_TRIANGLE); }, "Ready"},
        {"move", [&] { Select(Comp()->GetHead(), KorBasisGeomHlpr::kAreas); Send(ID_MOVE_SELECTION); },
         "Select base point"},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        const std::string before = Log();
        step.act();
        EXPECT_EQ(pane(), step.status) << Log().substr(before.size());
        if (std::string(step.status) != "Ready") {
            EXPECT_NE(Log().find(step.status, before.size()), std::string::npos);
        }
    }
    // A bar's "Ready" in between; the move of the pointer brings the
    // pending prompt back.
    main->SetMessageText("Ready");
    driver->Move(Pixel(50, 50).x, Pixel(50, 50).y);
    EXPECT_EQ(pane(), "Select base point");
    Send(ID_MOVE_SELECTION); // cancelled
    driver->Move(Pixel(52, 50).x, Pixel(52, 50).y);
    EXPECT_EQ(pane(), "Ready");
}

TEST_F(EditTools, MoveFollowsItsStatesAndRefusesACrossing)
{
    CSectPlate* square = Square(0, 0, 30);
    CSectPlate* small = Square(40, 0, 10);
    NewLog();
    Send(ID_MOVE_SELECTION);
    EXPECT_EQ(NewLog(), "Nothing selected\r\n");
    EXPECT_EQ(view->m_uiEditMode, 0u);

    // A previous edit that Undo must still find after a refused move.
    Send(ID_TOOL_NEW_NODE);
    Click(1, 15);
    const auto afterNode = Fingerprint();

    Select(small, KorBasisGeomHlpr::kAreas);
    Send(ID_MOVE_SELECTION);
    EXPECT_EQ(NewLog(), "Select base point\r\n");
    EXPECT_EQ(view->m_uiEditMode, kEditMove);
    Click(45, 5);
    EXPECT_EQ(NewLog(), "Insert base point\r\n");
    Click(28, 5); // across the square's right side: refused
    EXPECT_EQ(NewLog(), "Selected elements are not moved due to intersection\r\n");
    EXPECT_EQ(Fingerprint(), afterNode);
    EXPECT_EQ(view->m_uiEditMode, 0u);
    Undo();
    EXPECT_EQ(Fingerprint().size(), afterNode.size() - 1) << "Undo takes back the node";
    (void)square;
}

TEST_F(EditTools, AnAcceptedMoveMovesTheSelectionAndCanBeUndone)
{
    Square(0, 0, 30);
    CSectPlate* small = Square(40, 0, 10);
    const auto before = Fingerprint();
    Select(small, KorBasisGeomHlpr::kAreas);
    Send(ID_MOVE_SELECTION);
    Click(45, 5);
    Click(45, 45);
    EXPECT_NE(NewLog().find("Selected elements are moved\r\n"), std::string::npos);
    EXPECT_TRUE(doc->IsModified());
    double xmax, ymax, xmin, ymin;
    Comp()->GetMaxMinCoord(xmax, ymax, xmin, ymin);
    EXPECT_DOUBLE_EQ(ymax, 50.0);
    Undo();
    EXPECT_EQ(Fingerprint(), before);
}

TEST_F(EditTools, CopyAndPasteTwiceGiveIndependentCopiesWithFreshIdentifiers)
{
    CSectPlate* square = Square(0, 0, 10);
    CStringArray log, errors;
    ASSERT_TRUE(Comp()->PreCalc(&log, &errors, 0));
    ASSERT_NE(square->GetMesh(), nullptr);
    doc->SetModifiedFlag(FALSE);
    NewLog();
    Send(ID_PASTE_REGIONS);
    EXPECT_EQ(NewLog(), "Nothing to paste\r\n");

    Select(square, KorBasisGeomHlpr::kAreas);
    Send(ID_COPY_REGIONS);
    EXPECT_EQ(NewLog(), "Select base point\r\n");
    EXPECT_EQ(view->m_uiEditMode, kEditCopy);
    Click(0, 0);
    EXPECT_EQ(NewLog(), "Base point selected\r\n");
    EXPECT_EQ(view->m_uiEditMode, 0u);
    ASSERT_NE(view->GetCopyList(), nullptr);
    // Copying changes nothing in the source, not even its mesh.
    EXPECT_NE(square->GetMesh(), nullptr);
    EXPECT_FALSE(doc->IsModified());

    const double targets[][2] = {{20, 0}, {40, 0}};
    for (const auto& t : targets) {
        SCOPED_TRACE(t[0]);
        Send(ID_PASTE_REGIONS);
        EXPECT_EQ(NewLog(), "Insert base point\r\n");
        EXPECT_EQ(view->m_uiEditMode, kEditPaste);
        Click(t[0], t[1]);
        EXPECT_EQ(NewLog(), "Section is pasted\r\n");
        EXPECT_EQ(view->m_uiEditMode, 0u);
    }
    ASSERT_EQ(Regions(), 3);
    EXPECT_TRUE(doc->IsModified());
    std::vector<CSectPlate*> regions;
    for (POSITION pos = Comp()->GetHeadPosition(); pos;)
        regions.push_back(dynamic_cast<CSectPlate*>(Comp()->GetNext(pos)));
    std::set<CSNode*> nodes;
    for (std::size_t i = 1; i < regions.size(); ++i) {
        EXPECT_GT(regions[i]->GetID(), 4000000000ul);
        EXPECT_EQ(regions[i]->GetMaterial(), square->GetMaterial());
        for (CSNode* node : Corners(*regions[i])) {
            EXPECT_TRUE(nodes.insert(node).second);
            EXPECT_GE(node->x, i * 20.0 - 1e-9);
        }
        CEdge* edge = CGraph::GetComEdge(Corners(*regions[i])[0], Corners(*regions[i])[1]);
        ASSERT_NE(edge, nullptr);
        EXPECT_GT(edge->GetID(), 100000000ul);
    }
    EXPECT_NE(regions[1]->GetID(), regions[2]->GetID());
    EXPECT_NE(view->GetCopyList(), nullptr) << "the list stays for further pastes";
}

TEST_F(EditTools, APasteAcrossTheModelIsRefusedAndKeepsThePreviousUndo)
{
    CSectPlate* square = Square(0, 0, 10);
    Square(30, 0, 20);
    Select(square, KorBasisGeomHlpr::kAreas);
    Send(ID_COPY_REGIONS);
    Click(0, 0);
    Send(ID_TOOL_NEW_NODE);
    Click(1, 5); // the previous edit
    const auto before = Fingerprint();
    NewLog();
    Send(ID_PASTE_REGIONS);
    Click(25, 5); // across the larger square
    EXPECT_NE(NewLog().find("Section is not pasted due to intersection\r\n"), std::string::npos);
    EXPECT_EQ(Fingerprint(), before);
    EXPECT_EQ(Regions(), 2);
    ASSERT_NE(view->GetCopyList(), nullptr);
    EXPECT_EQ(view->GetCopyList()->GetCount(), 1);
    Undo();
    EXPECT_EQ(Fingerprint().size(), before.size() - 1) << "the node, not the paste";
}

TEST_F(EditTools, CutRemovesTheRegionsAndUndoBringsThemBack)
{
    CSectPlate* square = Square(0, 0, 10);
    Square(30, 0, 10);
    Select(square, KorBasisGeomHlpr::kAreas);
    Send(ID_CUT_REGIONS);
    EXPECT_EQ(view->m_uiEditMode, kEditCut);
    Send(ID_CUT_REGIONS); // the same command again cancels
    EXPECT_EQ(view->m_uiEditMode, 0u);
    EXPECT_EQ(view->GetCopyList(), nullptr) << "a list without base point goes";
    Send(ID_CUT_REGIONS); // the selection is still there
    Click(0, 0);
    EXPECT_EQ(Regions(), 1);
    EXPECT_TRUE(doc->IsModified());
    Undo();
    EXPECT_EQ(Regions(), 2);
    // The cut regions can still be pasted.
    Send(ID_PASTE_REGIONS);
    Click(0, 20);
    EXPECT_EQ(Regions(), 3);
}

TEST_F(EditTools, ACopyFromAPlatePastesIntoAShellDocument)
{
    CSectPlate* square = Square(0, 0, 10);
    Select(square, KorBasisGeomHlpr::kAreas);
    Send(ID_COPY_REGIONS);
    Click(0, 0);
    ASSERT_NE(view->GetCopyList(), nullptr);
    CDocument* shell = m_app->m_pTemplates[4]->OpenDocumentFile(nullptr);
    ASSERT_NE(dynamic_cast<CDocShell*>(shell), nullptr);
    POSITION pos = shell->GetFirstViewPosition();
    Host(dynamic_cast<CBrantelModView*>(shell->GetNextView(pos)));
    Send(ID_PASTE_REGIONS);
    Click(20, 0);
    ASSERT_EQ(Regions(), 1);
    auto* pasted = dynamic_cast<CSectPlate*>(Comp()->GetHead());
    ASSERT_NE(pasted, nullptr);
    EXPECT_DOUBLE_EQ(Corners(*pasted)[0]->x, 20.0);
    // The material is the shell document's own (same name, or its active
    // material), never the plate document's.
    CObList& materials = Comp()->GetMaterialList();
    EXPECT_NE(materials.Find(pasted->GetMaterial()), nullptr);
}

TEST_F(EditTools, RingSegmentFillsSectorsAndDropsThoseThatCross)
{
    Square(-11, -7, 1); // across the outer arc of the last sector
    ModalScript script;
    script.Dialog(RUNTIME_CLASS(CPropertySheet), [](DialogDriver& d, CDialog&) {
        EXPECT_EQ(d.Caption(), "Ring-segment properties");
        d.Click(IDC_RING_TYPE3);
        d.Type(IDC_RING_HEIGHT, "4");
        d.Type(IDC_RING_ANGLE, "180");
        d.Type(IDC_RING_SEGMENTS, "10");
        d.Type(IDC_RING_TANGENTIAL, "3");
        d.Type(IDC_RING_RADIAL, "2");
        d.PressOK();
    });
    Send(ID_TOOL_RING_SEGMENT);
    Click(10, 0); // the start
    Click(0, 0);  // the centre
    script.Verify();
    EXPECT_EQ(view->m_uiGeomTool, 0u);
    // Three sectors of three segments in two rings, the crossing one
    // dropped.
    EXPECT_EQ(Regions(), 1 + 6 - 1);
    for (POSITION pos = Comp()->GetHeadPosition(); pos;) {
        auto* region = dynamic_cast<CSectPlate*>(Comp()->GetNext(pos));
        if (region->GetThickness() == 10.0)
            continue; // the small square
        EXPECT_EQ(region->GetCount(), 8);
        EXPECT_DOUBLE_EQ(region->GetThickness(), main->m_dActThickness);
    }
    EXPECT_TRUE(doc->IsModified());
}

// The page's default radius 0 makes the straight strip between the two
// points: n segments along, H across, centred on the line.
TEST_F(EditTools, RingSegmentWithoutRadiusMakesTheStraightStrip)
{
    ModalScript script;
    script.Dialog(RUNTIME_CLASS(CPropertySheet), [](DialogDriver& d, CDialog&) {
        d.Click(IDC_RING_TYPE1);
        d.Type(IDC_RING_HEIGHT, "4");
        d.Type(IDC_RING_RADIUS, "0");
        d.Type(IDC_RING_SEGMENTS, "6");
        d.Type(IDC_RING_TANGENTIAL, "2");
        d.Type(IDC_RING_RADIAL, "1");
        d.PressOK();
    });
    NewLog();
    Send(ID_TOOL_RING_SEGMENT);
    Click(0, 10);  // the start
    Click(30, 10); // the end
    script.Verify();
    EXPECT_EQ(view->m_uiGeomTool, 0u);
    ASSERT_EQ(Regions(), 2);
    double xmax, ymax, xmin, ymin;
    Comp()->GetMaxMinCoord(xmax, ymax, xmin, ymin);
    EXPECT_DOUBLE_EQ(xmin, 0.0);
    EXPECT_DOUBLE_EQ(xmax, 30.0);
    EXPECT_DOUBLE_EQ(ymin, 8.0);
    EXPECT_DOUBLE_EQ(ymax, 12.0);
    for (POSITION pos = Comp()->GetHeadPosition(); pos;) {
        auto* region = dynamic_cast<CSectPlate*>(Comp()->GetNext(pos));
        ASSERT_NE(region, nullptr);
        EXPECT_EQ(region->GetCount(), 8); // three segments on each long side
    }
    EXPECT_TRUE(doc->IsModified());
}

// Values that make no ring segment end the tool with the reason in the
// status bar and the log, and add nothing.
TEST_F(EditTools, RingSegmentThatCannotBeBuiltSaysWhy)
{
    const struct {
        int typeButton;
        const char* height;
        const char* radius;
        const char* reason;
    } cases[] = {
        {IDC_RING_TYPE1, "40", "20", "The ring segment cannot be built: its height H is not less than twice its radius R"},
        {IDC_RING_TYPE2, "4", "10", "The ring segment cannot be built: its radius R is less than half the distance "
                                    "between the two points"},
        {IDC_RING_TYPE3, "60", "0", "The ring segment cannot be built: its height H is not less than twice its "
                                    "radius (the distance between the two points)"},
        {IDC_RING_TYPE1, "0", "0", "The ring segment cannot be built: its height H is 0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reason);
        ModalScript script;
        script.Dialog(RUNTIME_CLASS(CPropertySheet), [&c](DialogDriver& d, CDialog&) {
            d.Click(c.typeButton);
            d.Type(IDC_RING_HEIGHT, c.height);
            if (c.typeButton == IDC_RING_TYPE3)
                d.Type(IDC_RING_ANGLE, "90");
            else
                d.Type(IDC_RING_RADIUS, c.radius);
            d.PressOK();
        });
        const std::string before = Log();
        Send(ID_TOOL_RING_SEGMENT);
        Click(0, 10);
        Click(30, 10);
        script.Verify();
        EXPECT_EQ(view->m_uiGeomTool, 0u);
        EXPECT_EQ(Regions(), 0);
        EXPECT_EQ(std::string(static_cast<LPCTSTR>(main->GetStatusBarWnd().GetPaneText(0))), c.reason);
        EXPECT_NE(Log().find(std::string(c.reason) + "\r\n", before.size()), std::string::npos);
    }
}

TEST_F(EditTools, RingSegmentAsksAboutCoincidentPoints)
{
    ModalScript script;
    script.MessageBox("The points you have chosen are too close to each other.\n"
                      "The current start point is located at ( 1.000e+01,  1.000e+01 ) mm\n"
                      "Do you wish to continue with this location?",
                      IDOK);
    Send(ID_TOOL_RING_SEGMENT);
    Click(10, 10);
    Click(10, 10.1);
    script.Verify();
    ASSERT_EQ(view->m_pGeomHlpr->GetTmpNodeCount(), 1);
    EXPECT_DOUBLE_EQ(view->m_pGeomHlpr->GetFirstTmpNode()->x, 10.0);
    EXPECT_EQ(view->m_uiGeomTool, kToolRingSegment);
}

// The load-group sheet answered with the values.
void LoadGroupSheet(ModalScript& script, const char* n, const char* m, const char* spacing,
                    int shape, const char* radius, const char* sections, bool ok = true)
{
    script.Dialog(RUNTIME_CLASS(CPropertySheet), [=](DialogDriver& d, CDialog&) {
        EXPECT_EQ(d.Caption(), "Insert loadgroup");
        d.Type(CPPLoadGrp::IDC_COLS, n);
        d.Type(CPPLoadGrp::IDC_ROWS, m);
        d.Type(CPPLoadGrp::IDC_SPACING, spacing);
        d.Type(CPPLoadGrp::IDC_ANGLE, "0");
        d.Type(CPPLoadGrp::IDC_X0, "0");
        d.Type(CPPLoadGrp::IDC_Y0, "0");
        d.Type(CPPLoadGrp::IDC_LOAD1, "12");
        d.Type(CPPLoadGrp::IDC_LOAD2, "0");
        d.Click(CPPLoadGrp::IDC_TYPE1);
        d.Click(shape == 0 ? CPPLoadGrp::IDC_POINTS : shape == 1 ? CPPLoadGrp::IDC_CIRCLES : CPPLoadGrp::IDC_SQUARES);
        d.Type(CPPLoadGrp::IDC_RADIUS, radius);
        d.Type(CPPLoadGrp::IDC_SECTIONS, sections);
        if (ok)
            d.PressOK();
        else
            d.PressCancel();
    });
}

TEST_F(EditTools, LoadGroupBuildsQuadrilateralsOrSplitCirclesAroundTheLoadNodes)
{
    ModalScript script;
    struct Case {
        int shape;
        const char* radius;
        const char* sections;
        int regions;
        std::size_t nodesPerRegion;
    } cases[] = {
        {1, "0", "8", 2, 4},   // radius exactly 0: quadrilaterals whatever the shape
        {2, "3", "8", 2, 4},   // squares: the grid's cells
        {1, "2", "2", 6 * 2, 4}, // circles of at least 4 segments, halved
        {1, "2", "8", 6 * 2, 6}, // halves of 8 segments: 5 circle nodes and the centre
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.shape * 10 + c.regions);
        LoadGroupSheet(script, "3", "2", "10", c.shape, c.radius, c.sections);
        Send(ID_INSERT_LOAD_GROUP);
        script.Verify();
        EXPECT_EQ(Regions(), c.regions);
        int loaded = 0;
        for (POSITION pos = Comp()->GetHeadPosition(); pos;) {
            auto* region = dynamic_cast<CSectPlate*>(Comp()->GetNext(pos));
            EXPECT_EQ(Corners(*region).size(), c.nodesPerRegion);
            for (CSNode* node : Corners(*region))
                if (node->GetLoad())
                    ++loaded;
        }
        // Every load node is a corner of the model (shared corners count
        // once per region).
        EXPECT_GE(loaded, 6);
        // The next case starts from an empty model.
        for (POSITION pos = Comp()->GetHeadPosition(); pos;)
            view->AddSelect(Comp()->GetNext(pos), KorBasisGeomHlpr::kAreas, false);
        Send(ID_DELETE_SELECTION);
        ASSERT_EQ(Regions(), 0);
    }
}

TEST_F(EditTools, LoadGroupRegionsThatCrossTheModelAreLeftOut)
{
    Square(12, -2, 4); // across the second cell's lower side
    ModalScript script;
    LoadGroupSheet(script, "3", "2", "10", 2, "3", "8");
    Send(ID_INSERT_LOAD_GROUP);
    script.Verify();
    EXPECT_EQ(Regions(), 1 + 1);
    // Cancel changes nothing.
    LoadGroupSheet(script, "3", "2", "10", 2, "3", "8", false);
    Send(ID_INSERT_LOAD_GROUP);
    script.Verify();
    EXPECT_EQ(Regions(), 2);
}

} // namespace
