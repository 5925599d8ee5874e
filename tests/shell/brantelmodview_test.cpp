// The modelling view in the real program: a plate document opened through
// the start wizard, its view hosted on an OSMesa surface and driven with
// clicks in pixels (real picking). The Shift constraint shared by the model
// views, the pointer press, the command table and its update rules, the
// context menus, point input and the region tools.
#include <algorithm>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/shell/brantelmodview.h"
#include "app/shell/elemmodview.h"
#include "app/shell/viewrestr.h"
#include "app/shell/calcrun.h"
#include "framework/geomhlpr.h"
#include "glstyle/drawing_settings.h"
#include "glview/oglrenderer.h"
#include "platform/ui/osmesa/afxui_osmesa.h"
#include "tests/shell/modview_fixture.h"
#include "tests/support/ui_lists.h"

namespace
{

using namespace shelltest;

TEST(ShiftConstraint, PullsThePointOntoTheNearestOfThreeLinesThroughTheReference)
{
    struct Case {
        double ref[2];
        double in[2];
        bool diagonal;
        double out[2];
    };
    const Case cases[] = {
        {{0, 0}, {10, 3}, false, {10, 0}},    // horizontal
        {{0, 0}, {3, 10}, false, {0, 10}},    // vertical
        {{0, 0}, {10, 8}, false, {10, 10}},   // 45 degrees, y follows |dx|
        {{0, 0}, {10, -8}, false, {10, -10}}, // 45 degrees downwards
        {{0, 0}, {-10, 8}, false, {-10, 10}},
        {{0, 0}, {10, 4}, false, {10, 0}},    // 10 < 2.5 * 4 fails: horizontal
        {{0, 0}, {4, 10}, false, {0, 10}},
        {{0, 0}, {10, 0}, false, {10, 0}},
        {{0, 0}, {0, 0}, false, {0, 0}},      // on the reference: stays
        {{0, 0}, {10, 3}, true, {10, 10}},    // the rectangle: always the diagonal
        {{0, 0}, {3, 10}, true, {3, 3}},
        {{0, 0}, {-10, -3}, true, {-10, -10}},
        {{2, 1}, {12, 4}, false, {12, 1}},    // relative to the reference
        {{2, 1}, {12, 10}, false, {12, 11}},
        {{2, 1}, {3, 20}, false, {2, 20}},
    };
    for (const Case& c : cases) {
        double x = c.in[0], y = c.in[1];
        ConstrainToReference(c.ref, x, y, c.diagonal);
        EXPECT_DOUBLE_EQ(x, c.out[0]) << c.in[0] << ", " << c.in[1] << " diagonal " << c.diagonal;
        EXPECT_DOUBLE_EQ(y, c.out[1]) << c.in[0] << ", " << c.in[1] << " diagonal " << c.diagonal;
    }
}

// The modelling view on its surface, with the square and chain helpers.
class ModView : public ModViewTest
{
protected:
    void Send(UINT id) { view->SendMessage(WM_COMMAND, id); }
    // The square 0..30 x 0..30, its edges drawn 90 pixels long.
    CSectPlate* Square()
    {
        CSectPlate* square = AddSquare(*doc, 0.0, 0.0, 30.0);
        doc->SetModifiedFlag(FALSE);
        view->InvalidateList();
        return square;
    }
    std::vector<CSNode*> Chain()
    {
        std::vector<CSNode*> nodes;
        if (CObList* chain = view->m_pGeomHlpr->GetTmpNodeList())
            for (POSITION pos = chain->GetHeadPosition(); pos;)
                nodes.push_back(static_cast<CSNode*>(chain->GetNext(pos)));
        return nodes;
    }
    // The last region of the model (the one drawn last).
    CSectPlate* LastRegion() { return dynamic_cast<CSectPlate*>(doc->GetPlateComp()->GetTail()); }
    static std::vector<std::pair<double, double>> Points(CSectPlate& region)
    {
        std::vector<std::pair<double, double>> points;
        for (CSNode* node : Corners(region))
            points.emplace_back(node->x, node->y);
        std::sort(points.begin(), points.end());
        return points;
    }
};

TEST_F(ModView, TheProgramsViewsAreTheModelViewsOnOpenGl)
{
    EXPECT_TRUE(view->m_bInitialized) << "the view got an OpenGL context";
    EXPECT_TRUE(view->IsKindOf(RUNTIME_CLASS(CBrantelView)));
    // The element and constrained-mesh views are model views too, with
    // the geometry input of their kind.
    CElemModView elements;
    CViewRestr constrained;
    EXPECT_NE(dynamic_cast<KorElmGeomHlpr*>(elements.m_pGeomHlpr), nullptr);
    EXPECT_NE(dynamic_cast<KorAreaGeomHlpr*>(constrained.m_pGeomHlpr), nullptr);
    EXPECT_NE(dynamic_cast<KorAreaGeomHlpr*>(view->m_pGeomHlpr), nullptr);
    for (KorBasisGeomHlpr* helper : {elements.m_pGeomHlpr, constrained.m_pGeomHlpr, view->m_pGeomHlpr})
        EXPECT_EQ(helper->m_pEdgeClass, RUNTIME_CLASS(CBoundary));
}

// A new view takes the main frame's grid spacing when it is set up, not
// only when it gets the focus: with the grid switched on, the grid line
// through the origin is drawn before the view was ever focused.
TEST_F(ModView, ANewViewDrawsItsGridBeforeItHasTheFocus)
{
    ASSERT_GT(main->m_dCurGridSpacing, 0.0);
    view->m_dSnapSpace = 0.0;
    static_cast<CView*>(view)->OnInitialUpdate();
    FrameModelView(*view, -40.0, -25.0, 6.0);
    EXPECT_EQ(view->m_dSnapSpace, main->m_dCurGridSpacing);
    const auto column = [this] {
        view->InvalidateList();
        view->Invalidate(FALSE);
        driver->Draw();
        int marked = 0;
        const auto background = driver->Pixel(200, 150);
        for (int y = 0; y < 300; ++y)
            for (int x = 78; x <= 82; ++x)
                marked += driver->Pixel(x, y) != background ? 1 : 0;
        return marked;
    };
    EXPECT_EQ(column(), 0) << "the grid is off";
    view->m_bShowGrid = true;
    EXPECT_GT(column(), 50) << "the grid line x = 0";
}

// The grid is built in the view's own line state, whatever the drawing
// before it in the frame left: selected edges (a band selection, an edge
// being edited) drawn wide and an open rubber band drawn in the medium
// width made a grid list built in that frame bold and dashed (and, wide
// enough, fields of glyph-like marks).
TEST_F(ModView, TheGridLooksTheSameAfterSelectedEdgesOrARubberBandAreDrawn)
{
    CSectPlate* square = Square();
    view->m_bShowGrid = true;
    // Away from the square, where only grid lines are drawn.
    const auto grid = [this] {
        view->Invalidate(FALSE);
        driver->Draw();
        std::vector<std::array<std::uint8_t, 4>> pixels;
        for (int y = 10; y < 120; ++y)
            for (int x = 250; x < 390; ++x)
                pixels.push_back(driver->Pixel(x, y));
        return pixels;
    };
    view->SetSnapSpace(5.0, false);
    const auto untouched = grid();
    const auto background = driver->Pixel(395, 5);
    const auto marked = std::count_if(untouched.begin(), untouched.end(),
                                      [&](const auto& p) { return p != background; });
    ASSERT_GT(marked, 100) << "no grid drawn";

    const std::vector<CSNode*> corners = Corners(*square);
    const std::pair<const char*, std::function<void()>> cases[] = {
        {"selected edges",
         [&] {
             for (std::size_t i = 0; i < corners.size(); ++i)
                 view->m_pGeomHlpr->AddSelect(
                     CGraph::GetComEdge(corners[i], corners[(i + 1) % corners.size()]),
                     KorBasisGeomHlpr::kEdges, false);
             view->InvalidateList();
         }},
        {"a polygon's rubber band",
         [&] {
             main->SendCommand(ID_TOOL_POLYGON);
             Click(-5, 20);
             Click(-5, 0);
             driver->Move(Pixel(-2, 10).x, Pixel(-2, 10).y);
         }},
    };
    for (const auto& [name, act] : cases) {
        act();
        grid(); // drawn once: what it leaves is in force when the grid is made
        view->SetSnapSpace(5.0, false); // the grid list is made again
        EXPECT_TRUE(grid() == untouched) << "the grid after " << name << " differs";
    }
}

TEST_F(ModView, ShiftConstrainsClicksAndMovesOnlyWhileAToolMoveOrPasteWantsPoints)
{
    // Reference (10, 10); the cursor goes to (20, 13), which the
    // constraint pulls onto the horizontal line (20, 10).
    struct Case {
        UINT flags;
        UINT tool;
        UINT edit;
        double y;
    };
    const Case cases[] = {
        {0, kToolPolygon, 0, 13.0},
        {MK_SHIFT, 0, 0, 13.0},
        {MK_SHIFT, 0, kEditCopy, 13.0},
        {MK_SHIFT, kToolPolygon, 0, 10.0},
        {MK_SHIFT, 0, kEditMove, 10.0},
        {MK_SHIFT, 0, kEditPaste, 10.0},
        {MK_SHIFT, kToolRectangle, 0, 20.0}, // the diagonal
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.tool * 100 + c.edit + c.flags * 10000);
        view->m_dRefPoint[0] = view->m_dRefPoint[1] = 10.0;
        view->m_uiGeomTool = c.tool;
        view->m_uiEditMode = c.edit;
        view->m_iTool = VIEWTOOL_NORMAL;
        double x = 20.0, y = 13.0;
        view->ApplyShiftConstraint(c.flags, x, y);
        EXPECT_DOUBLE_EQ(x, 20.0);
        EXPECT_DOUBLE_EQ(y, c.y);
        // The mouse move constrains the cursor by the same rule.
        const CPoint p = Pixel(20.0, 13.0);
        driver->Move(p.x + 1, p.y, c.flags);
        driver->Move(p.x, p.y, c.flags);
        EXPECT_NEAR(view->m_dCursY, c.y, 1e-9);
    }
    view->m_uiGeomTool = 0;
    view->m_uiEditMode = 0;
}

TEST_F(ModView, APressIsMarkedAtAnyColumnUntilItsRelease)
{
    ASSERT_EQ(view->m_iTool, VIEWTOOL_POINT);
    for (int column : {0, 1, 200}) {
        SCOPED_TRACE(column);
        driver->Down(column, 150);
        EXPECT_TRUE(view->IsPressHeld());
        EXPECT_EQ(view->GetPressPoint(), CPoint(column, 150));
        driver->Up(column + 2, 151);
        EXPECT_FALSE(view->IsPressHeld());
        EXPECT_EQ(view->GetPressPoint(), CPoint(column + 2, 151));
    }
}

TEST_F(ModView, AToolCommandStartsItsToolAndASecondChoiceEndsIt)
{
    struct Case {
        UINT id;
        UINT tool;
    };
    const Case cases[] = {
        {ID_TOOL_RECTANGLE, kToolRectangle},    {ID_TOOL_QUADRILATERAL, kToolQuadrilateral},
        {ID_TOOL_TRIANGLE, kToolTriangle},      {ID_TOOL_CIRCLE, kToolCircle},
        {ID_TOOL_POLYGON, kToolPolygon},        {ID_TOOL_RING_SEGMENT, kToolRingSegment},
        {ID_TOOL_NEW_NODE, kToolNewNode},
    };
    CSectPlate* square = Square();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        view->AddSelect(square, KorBasisGeomHlpr::kAreas, true);
        view->m_uiEditMode = kEditMove;
        main->SendCommand(c.id);
        EXPECT_EQ(view->m_uiGeomTool, c.tool);
        EXPECT_EQ(Kor2DModView::m_uiLastGeomTool, c.tool);
        EXPECT_EQ(view->m_iTool, VIEWTOOL_NORMAL);
        EXPECT_EQ(view->m_uiEditMode, 0u) << "a pending edit ends";
        EXPECT_EQ(view->m_pGeomHlpr->GetSelList(KorBasisGeomHlpr::kAreas), nullptr) << "the selection is cleared";
        for (const Case& other : cases)
            EXPECT_EQ(main->QueryCommandUI(other.id).nCheck, other.id == c.id ? 1 : 0) << other.id;
        main->SendCommand(c.id);
        EXPECT_EQ(view->m_uiGeomTool, 0u);
        EXPECT_EQ(view->m_iTool, VIEWTOOL_POINT);
        EXPECT_EQ(main->QueryCommandUI(c.id).nCheck, 0);
    }
}

TEST_F(ModView, TheMenusAndAcceleratorsCarryTheToolsAndEdits)
{
    const AfxMenu menu = main->MenuSnapshot(main->GetMenuID());
    std::vector<UINT> ids;
    std::function<void(const AfxMenu&)> collect = [&](const AfxMenu& entries) {
        for (const AfxMenuEntry& e : entries) {
            ids.push_back(e.item.nResourceID);
            collect(e.popup);
        }
    };
    collect(menu);
    const AfxAccelTable* keys = AfxFindResource<AfxAccelTable>(IDR_MAINFRAME);
    ASSERT_NE(keys, nullptr);
    const auto accel = [keys](BYTE mods, WORD key) -> UINT {
        for (const ACCEL& a : *keys)
            if (a.fVirt == (FVIRTKEY | mods) && a.key == key)
                return a.cmd;
        return 0;
    };
    struct Case {
        UINT id;
        BYTE mods;
        WORD key;
    };
    const Case cases[] = {
        {ID_TOOL_RECTANGLE, FSHIFT, 'R'},       {ID_TOOL_QUADRILATERAL, FSHIFT, 'Q'},
        {ID_TOOL_TRIANGLE, FSHIFT, 'T'},        {ID_TOOL_CIRCLE, FSHIFT, 'C'},
        {ID_TOOL_POLYGON, FSHIFT, 'P'},         {ID_TOOL_RING_SEGMENT, FSHIFT, 'S'},
        {ID_TOOL_NEW_NODE, FSHIFT, 'N'},        {ID_TOOL_FILLET, FCONTROL, 'F'},
        {ID_TOOL_DIVIDE, FCONTROL, 'D'},        {ID_REGION_UNION, FCONTROL, 'U'},
        {ID_MOVE_SELECTION, FCONTROL, 'M'},     {ID_COPY_REGIONS, FCONTROL, 'C'},
        {ID_CUT_REGIONS, FCONTROL, 'X'},        {ID_PASTE_REGIONS, FCONTROL, 'V'},
        {ID_DELETE_SELECTION, FCONTROL, VK_DELETE},
        {ID_FLIP_HORIZONTAL, FCONTROL | FSHIFT, 'H'}, {ID_FLIP_VERTICAL, FCONTROL | FSHIFT, 'V'},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(accel(c.mods, c.key), c.id);
        EXPECT_NE(std::find(ids.begin(), ids.end(), c.id), ids.end()) << c.id << " in the menu";
    }
    for (UINT id : {ID_REPEAT_QUIT, ID_DELETE_MESH, ID_DELETE_RESULTS, ID_SHOW_ELEMENT_MESH, ID_SHOW_ELEMENT_AXES})
        EXPECT_NE(std::find(ids.begin(), ids.end(), id), ids.end()) << id << " in the menu";
}

// The "Repeat/Quit" item of the Edit menu as the menu shows it now.
const AfxMenuEntry* RepeatItem(const AfxMenu& menu)
{
    for (const AfxMenuEntry& popup : menu)
        for (const AfxMenuEntry& e : popup.popup)
            if (e.item.nResourceID == ID_REPEAT_QUIT)
                return &e;
    return nullptr;
}

TEST_F(ModView, RepeatQuitOffersTheLastToolAndBreaksAnActiveToolOrEdit)
{
    struct Case {
        UINT last;
        UINT tool;
        UINT edit;
        const char* text;
        UINT id;
    };
    const Case cases[] = {
        {22, 0, 0, "Repeat Polygon", ID_TOOL_POLYGON}, // the framework's start value
        {0, 0, 0, "Polygon", ID_TOOL_POLYGON},
        {20, 0, 0, "Repeat Rectangle", ID_TOOL_RECTANGLE},
        {17, 0, 0, "Repeat Quad", ID_TOOL_QUADRILATERAL},
        {28, 0, 0, "Repeat Ring segment", ID_TOOL_RING_SEGMENT},
        {99, 0, 0, "Polygon", ID_TOOL_POLYGON},
        {20, 19, 0, "Break Geometry", ID_REPEAT_QUIT},
        {20, 0, kEditPaste, "Break Edit", ID_REPEAT_QUIT},
        {20, 19, kEditMove, "Break Edit", ID_REPEAT_QUIT},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        Kor2DModView::m_uiLastGeomTool = c.last;
        view->m_uiGeomTool = c.tool;
        view->m_uiEditMode = c.edit;
        const AfxMenu menu = main->MenuSnapshot(main->GetMenuID());
        const AfxMenuEntry* item = RepeatItem(menu);
        ASSERT_NE(item, nullptr);
        EXPECT_EQ(item->item.strText, c.text);
        EXPECT_EQ(item->item.nCurrentID, c.id);
        EXPECT_TRUE(item->item.bEnabled);
    }
    view->m_uiGeomTool = view->m_uiEditMode = 0;
    view->m_iTool = VIEWTOOL_POINT;

    // Choosing the item starts the tool it names; the next opening of the
    // same menu breaks it, and the one after offers it again.
    Kor2DModView::m_uiLastGeomTool = kToolRectangle;
    for (int round = 0; round < 2; ++round) {
        AfxMenu menu = main->MenuSnapshot(main->GetMenuID());
        const AfxMenuEntry* item = RepeatItem(menu);
        ASSERT_EQ(item->item.strText, "Repeat Rectangle");
        main->SendCommand(item->item.nCurrentID);
        EXPECT_EQ(view->m_uiGeomTool, kToolRectangle);
        menu = main->MenuSnapshot(main->GetMenuID());
        item = RepeatItem(menu);
        ASSERT_EQ(item->item.strText, "Break Geometry");
        main->SendCommand(item->item.nCurrentID);
        EXPECT_EQ(view->m_uiGeomTool, 0u);
        EXPECT_EQ(view->m_iTool, VIEWTOOL_POINT);
        EXPECT_EQ(Kor2DModView::m_uiLastGeomTool, kToolRectangle);
    }
}

TEST_F(ModView, UpdateRulesFollowTheSelectionTheEditAndTheCopyList)
{
    CSectPlate* square = Square();
    CSectPlate* other = AddSquare(*doc, 40.0, 0.0, 10.0);
    CSNode* corner = Corners(*square)[0];
    struct Case {
        const char* what;
        std::vector<std::pair<CObject*, UINT>> selected;
        // union, delete, move, copy, cut, delete mesh, delete results
        std::vector<bool> enabled;
    };
    const Case cases[] = {
        {"nothing", {}, {false, false, false, false, false, false, false}},
        {"one region", {{square, 1}}, {false, true, true, true, true, true, true}},
        {"two regions", {{square, 1}, {other, 1}}, {true, true, true, true, true, true, true}},
        {"a node", {{corner, 2}}, {false, true, true, false, false, false, false}},
    };
    const UINT ids[] = {ID_REGION_UNION, ID_DELETE_SELECTION, ID_MOVE_SELECTION, ID_COPY_REGIONS,
                        ID_CUT_REGIONS, ID_DELETE_MESH, ID_DELETE_RESULTS};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        view->RemoveSelected(nullptr);
        for (const auto& [object, type] : c.selected)
            view->AddSelect(object, type, true);
        for (std::size_t i = 0; i < std::size(ids); ++i)
            EXPECT_EQ(main->QueryCommandUI(ids[i]).bEnabled != FALSE, c.enabled[i]) << ids[i];
    }
    view->RemoveSelected(nullptr);

    // Paste with a copy list; the pending operations check and rename.
    EXPECT_FALSE(main->QueryCommandUI(ID_PASTE_REGIONS).bEnabled);
    view->NewCopyList();
    EXPECT_TRUE(main->QueryCommandUI(ID_PASTE_REGIONS).bEnabled);
    struct Pending {
        UINT edit;
        UINT id;
        const char* text;
    };
    const Pending pending[] = {{kEditMove, ID_MOVE_SELECTION, "Cancel Move"},
                               {kEditCut, ID_CUT_REGIONS, "Cancel Cut"},
                               {kEditPaste, ID_PASTE_REGIONS, "Cancel Paste"},
                               {kEditCopy, ID_COPY_REGIONS, nullptr}};
    for (const Pending& p : pending) {
        view->m_uiEditMode = p.edit;
        for (const Pending& q : pending) {
            const AfxMenuEntry* entry = nullptr;
            const AfxMenu menu = main->MenuSnapshot(main->GetMenuID());
            for (const AfxMenuEntry& popup : menu)
                for (const AfxMenuEntry& e : popup.popup)
                    if (e.item.nResourceID == q.id)
                        entry = &e;
            ASSERT_NE(entry, nullptr);
            EXPECT_EQ(entry->item.nCheck, q.edit == p.edit ? 1 : 0) << p.edit << " " << q.id;
            if (q.edit == p.edit && q.text) {
                EXPECT_EQ(entry->item.strText, q.text);
            }
            if (q.edit != p.edit) {
                EXPECT_EQ(std::string(entry->item.strText).find("Cancel"), std::string::npos);
            }
        }
    }
    view->m_uiEditMode = 0;

    // The drawing options and the stress combo.
    const struct {
        UINT id;
        int bit;
    } options[] = {{ID_SHOW_ELEMENT_MESH, CBrantelView::kShowMeshBit},
                   {ID_SHOW_ELEMENT_AXES, CBrantelView::kMaterialAxesBit}};
    for (const auto& o : options) {
        const bool before = (view->m_iViewState & o.bit) != 0;
        EXPECT_EQ(main->QueryCommandUI(o.id).nCheck, before ? 1 : 0);
        main->SendCommand(o.id);
        EXPECT_EQ((view->m_iViewState & o.bit) != 0, !before);
        EXPECT_EQ(main->QueryCommandUI(o.id).nCheck, before ? 0 : 1);
    }
    EXPECT_FALSE(main->QueryCommandUI(ID_RESULT_COMPONENT).bEnabled);
}

TEST_F(ModView, TheContextMenuFollowsTheSelection)
{
    CSectPlate* square = Square();
    CSNode* corner = Corners(*square)[0];
    CEdge* edge = CGraph::GetComEdge(Corners(*square)[0], Corners(*square)[1]);
    const AfxMenu popups = ModelPopupMenus();
    struct Case {
        const char* what;
        std::vector<std::pair<CObject*, UINT>> selected;
        int popup;
    };
    const Case cases[] = {
        {"nothing", {}, kGeomPopup},
        {"a region", {{square, 1}}, kGraphPopup},
        {"an edge", {{edge, 4}}, kEdgePopup},
        {"a node and an edge", {{corner, 2}, {edge, 4}}, kNodePopup},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        view->RemoveSelected(nullptr);
        for (const auto& [object, type] : c.selected)
            view->AddSelect(object, type, true);
        PopupMenus().Dismiss();
        const std::size_t before = PopupMenus().Menus().size();
        driver->RightDown(150, 120);
        driver->RightUp(150, 120);
        ASSERT_EQ(PopupMenus().Menus().size(), before + 1);
        const auto& shown = PopupMenus().Menus().back();
        CPoint screen(120, 110); // popups take screen points
        view->ClientToScreen(&screen);
        EXPECT_EQ(shown.point, screen);
        ASSERT_EQ(shown.menu.size(), popups[c.popup].popup.size());
        for (std::size_t i = 0; i < shown.menu.size(); ++i)
            EXPECT_EQ(shown.menu[i].item.nResourceID, popups[c.popup].popup[i].item.nResourceID) << i;
    }
    // With the left button held no menu opens.
    const std::size_t before = PopupMenus().Menus().size();
    driver->RightDown(150, 120, MK_LBUTTON);
    driver->RightUp(150, 120, MK_LBUTTON);
    EXPECT_EQ(PopupMenus().Menus().size(), before);
}

TEST_F(ModView, AChosenMaterialNameBecomesTheActiveMaterialOfNewRegions)
{
    CObList& materials = doc->GetPlateComp()->GetMaterialList();
    ASSERT_GE(materials.GetCount(), 2);
    main->UpdateMaterialList(&materials, static_cast<CMaterial*>(materials.GetHead()));
    auto* second = static_cast<CMaterial*>(materials.GetAt(materials.FindIndex(1)));
    afxui::headless::ToolbarCombo combo(*main->GetToolBarManager(), ID_ACTIVE_MATERIAL);
    combo.UserSelect(1);
    EXPECT_EQ(child->m_pActiveMaterial, second);
    main->m_dActThickness = 0.25;
    main->SendCommand(ID_TOOL_TRIANGLE);
    Click(10, 10);
    Click(30, 10);
    Click(20, 25);
    ASSERT_EQ(Regions(), 1);
    EXPECT_EQ(LastRegion()->GetMaterial(), second);
    EXPECT_EQ(LastRegion()->GetThickness(), 0.25);
}

TEST_F(ModView, RegionToolsCloseTheirChainsAndEndTheTool)
{
    const struct {
        UINT id;
        std::vector<std::pair<double, double>> clicks;
        std::vector<std::pair<double, double>> corners;
    } cases[] = {
        {ID_TOOL_QUADRILATERAL, {{0, 0}, {20, 0}, {25, 15}, {0, 10}}, {{0, 0}, {0, 10}, {20, 0}, {25, 15}}},
        {ID_TOOL_TRIANGLE, {{0, 0}, {20, 0}, {10, 15}}, {{0, 0}, {10, 15}, {20, 0}}},
        {ID_TOOL_RECTANGLE, {{10, 10}, {30, 20}}, {{10, 10}, {10, 20}, {30, 10}, {30, 20}}},
        {ID_TOOL_RECTANGLE, {{30, 20}, {10, 10}}, {{10, 10}, {10, 20}, {30, 10}, {30, 20}}},
    };
    // Each case draws beside the last one's region.
    int drawn = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.id);
        const double dx = 30.0 * drawn - 25.0;
        doc->SetModifiedFlag(FALSE);
        main->SendCommand(c.id);
        for (std::size_t i = 0; i < c.clicks.size(); ++i) {
            EXPECT_EQ(Regions(), drawn) << "before click " << i;
            EXPECT_FALSE(doc->IsModified()) << "points alone change nothing";
            Click(c.clicks[i].first + dx, c.clicks[i].second);
        }
        ASSERT_EQ(Regions(), ++drawn);
        std::vector<std::pair<double, double>> corners = c.corners;
        for (auto& corner : corners)
            corner.first += dx;
        EXPECT_EQ(Points(*LastRegion()), corners);
        // A corner given back leaves no gap in the node numbers.
        std::vector<DWORD> numbers;
        for (CSNode* node : Corners(*LastRegion()))
            numbers.push_back(node->GetID());
        std::sort(numbers.begin(), numbers.end());
        EXPECT_EQ(numbers.back() - numbers.front(), numbers.size() - 1);
        EXPECT_TRUE(doc->IsModified());
        EXPECT_EQ(view->m_uiGeomTool, 0u);
        EXPECT_EQ(view->m_iTool, VIEWTOOL_POINT);
        EXPECT_EQ(view->m_pGeomHlpr->GetTmpNodeCount(), 0);
    }
}

TEST_F(ModView, APolygonClosesOnlyOnAControlClickWithThreeOrMorePoints)
{
    const std::string hint = "To close polygon, please press left mouse-button with CTRL pressed\r\n";
    main->SendCommand(ID_TOOL_POLYGON);
    Click(0, 0, MK_CONTROL); // one point: Control only adds it
    Click(20, 0);
    EXPECT_EQ(Log().find(hint), std::string::npos);
    Click(20, 20);
    EXPECT_NE(Log().find(hint), std::string::npos) << "the hint at exactly three points";
    const std::size_t hints = Log().size();
    Click(0, 20);
    EXPECT_EQ(Log().size(), hints) << "no hint at four points";
    EXPECT_EQ(Regions(), 0);
    Click(0, 40, MK_CONTROL);
    ASSERT_EQ(Regions(), 1);
    EXPECT_EQ(Corners(*LastRegion()).size(), 4u) << "the Control-click closes and adds no point";
    EXPECT_EQ(view->m_uiGeomTool, 0u);
}

TEST_F(ModView, PointInputSnapsToNodesAndEdges)
{
    CSectPlate* square = Square();
    CSNode* corner = Corners(*square)[2]; // (30, 30)
    corner->m_uiFlags = 5;
    main->SendCommand(ID_TOOL_POLYGON);
    Click(31, 29);
    ASSERT_EQ(Chain().size(), 1u);
    EXPECT_EQ(Chain()[0], corner) << "a click beside a node takes it";
    EXPECT_EQ(corner->m_uiFlags, 0u);
    EXPECT_FALSE(doc->IsModified());

    // A click near the bottom edge puts the point on it and splits it; a
    // selected edge's parts stay selected.
    CEdge* bottom = CGraph::GetComEdge(Corners(*square)[0], Corners(*square)[1]);
    view->AddSelect(bottom, KorBasisGeomHlpr::kEdges, true);
    Click(15, 1);
    ASSERT_EQ(Chain().size(), 2u);
    CSNode* onEdge = Chain()[1];
    EXPECT_DOUBLE_EQ(onEdge->x, 15.0);
    EXPECT_DOUBLE_EQ(onEdge->y, 0.0);
    EXPECT_EQ(Corners(*square).size(), 5u) << "the region takes the node";
    CObList* edges = view->m_pGeomHlpr->GetSelList(KorBasisGeomHlpr::kEdges);
    ASSERT_NE(edges, nullptr);
    EXPECT_EQ(edges->GetCount(), 2);
    EXPECT_TRUE(doc->IsModified()) << "splitting an edge changes the model";

    // With the switch off the point lies on the edge's line only.
    main->SendCommand(ID_TOOL_POLYGON); // ends the tool and forgets the input
    ASSERT_EQ(Corners(*square).size(), 4u) << "a dropped input gives the split back";
    CBrantelModView::s_bSplitAtPoint = false;
    main->SendCommand(ID_TOOL_POLYGON);
    Click(1, 15);
    CBrantelModView::s_bSplitAtPoint = true;
    ASSERT_EQ(Chain().size(), 1u);
    EXPECT_DOUBLE_EQ(Chain()[0]->x, 0.0);
    EXPECT_DOUBLE_EQ(Chain()[0]->y, 15.0);
    EXPECT_EQ(Corners(*square).size(), 4u);
    main->SendCommand(ID_TOOL_POLYGON);
}

TEST_F(ModView, APointWhoseEdgeCrossesTheModelOrTheChainIsRefused)
{
    CSectPlate* square = Square();
    main->SendCommand(ID_TOOL_POLYGON);
    Click(-40, 0);
    Click(50, 15); // across the square
    EXPECT_EQ(Chain().size(), 1u);
    EXPECT_EQ(Corners(*square).size(), 4u);
    // Across the chain itself.
    Click(-10, 0);
    Click(-10, 20);
    ASSERT_EQ(Chain().size(), 3u);
    Click(-25, -10); // (-10, 20)-(-25, -10) crosses (-40, 0)-(-10, 0)
    EXPECT_EQ(Chain().size(), 3u);
    // A point on the square's edge whose new edge would cross the square.
    Click(15, 31);
    EXPECT_EQ(Chain().size(), 3u);
    EXPECT_EQ(Corners(*square).size(), 4u) << "the split for the refused point is undone";
    EXPECT_FALSE(doc->IsModified());
    main->SendCommand(ID_TOOL_POLYGON);

    // A chain along an edge of the model: a point on that edge is refused.
    main->SendCommand(ID_TOOL_POLYGON);
    Click(0, 0);
    Click(30, 0);
    ASSERT_EQ(Chain().size(), 2u);
    Click(15, 1);
    EXPECT_EQ(Chain().size(), 2u);
    EXPECT_EQ(Corners(*square).size(), 4u);
    main->SendCommand(ID_TOOL_POLYGON);
    EXPECT_EQ(Regions(), 1);
}

TEST_F(ModView, TheFirstPointOfAChainTakesOneUndoSnapshot)
{
    Square();
    ASSERT_EQ(doc->m_pUndoComp, nullptr);
    main->SendCommand(ID_TOOL_QUADRILATERAL);
    Click(-20, -20);
    CSectComp* snapshot = doc->m_pUndoComp;
    ASSERT_NE(snapshot, nullptr);
    Click(-20, -10);
    Click(-10, -10);
    EXPECT_EQ(doc->m_pUndoComp, snapshot) << "one snapshot for the whole chain";
}

TEST_F(ModView, ARegionDrawnInsideAnotherIsNestedInIt)
{
    CSectPlate* square = Square();
    main->SendCommand(ID_TOOL_TRIANGLE);
    Click(5, 5);
    Click(20, 5);
    Click(10, 20);
    EXPECT_NE(Log().find("You have selected region " + std::string(square->GetName()) + " as bounding region\r\n"),
              std::string::npos);
    EXPECT_EQ(Regions(), 1) << "not a region of its own at the top";
    ASSERT_NE(square->GetSubList(), nullptr);
    ASSERT_EQ(square->GetSubList()->GetCount(), 1);
    auto* inner = dynamic_cast<CSectPlate*>(square->GetSubList()->GetHead());
    ASSERT_NE(inner, nullptr);
    EXPECT_EQ(inner->GetOuterSect(), square);
    EXPECT_EQ(view->m_pBoundingRegion, nullptr);
}

TEST_F(ModView, ARectangleCornerThatFailsKeepsTheFirstCornerForANewTry)
{
    Square();
    main->SendCommand(ID_TOOL_RECTANGLE);
    Click(-20, 10);
    CSNode* first = Chain().at(0);
    Click(-5, 50); // the corner (-5, 10) is fine, (-20, 50)-(-5, 50) too: a rectangle
    ASSERT_EQ(Regions(), 2);
    main->SendCommand(ID_TOOL_RECTANGLE);
    Click(-20, -20);
    first = Chain().at(0);
    Click(10, -10); // the corner (10, -20) is fine; (10, -10)-(-20, -10) fine too
    ASSERT_EQ(Regions(), 3);
    // The corner (40, 5) from (-30, 5) crosses the square: the first corner waits.
    main->SendCommand(ID_TOOL_RECTANGLE);
    Click(-30, 5);
    first = Chain().at(0);
    Click(40, -5);
    EXPECT_EQ(Regions(), 3);
    ASSERT_EQ(Chain().size(), 1u);
    EXPECT_EQ(Chain()[0], first);
    EXPECT_EQ(view->m_uiGeomTool, kToolRectangle);
    Click(-25, -5);
    EXPECT_EQ(Regions(), 4);
}

TEST_F(ModView, ACircleAsksForItsSegmentsAndChecksItsBoundary)
{
    Square();
    afxui::headless::ModalScript script;
    const auto circleDialog = [&script](int segments, int approx, bool ok) {
        script.Dialog(KorDlgCircle::IDD, [=](afxui::headless::DialogDriver& d, CDialog&) {
            d.Type(16230, CString(std::to_string(segments).c_str()));
            d.Click(50076 + approx);
            d.Click(ok ? IDOK : IDCANCEL);
        });
    };
    // A free circle of 12 segments.
    main->SendCommand(ID_TOOL_CIRCLE);
    circleDialog(12, 0, true);
    Click(-30, 15);
    Click(-30, 25);
    ASSERT_EQ(Regions(), 2);
    EXPECT_EQ(Corners(*LastRegion()).size(), 12u);
    EXPECT_EQ(view->m_uiGeomTool, 0u);

    // A radius point on the centre asks whether to keep the centre.
    main->SendCommand(ID_TOOL_CIRCLE);
    Click(60, 60);
    script.MessageBox(
        "The point you have chosen to indicate the radius is too close to the center.\n"
        "The current center is located at ( 6.000e+01,  6.000e+01 ) mm\n"
        "Do you wish to continue with this location?",
        IDOK);
    Click(60, 60);
    ASSERT_EQ(Chain().size(), 1u);
    EXPECT_DOUBLE_EQ(Chain()[0]->x, 60.0);

    // A circle that would cross the square is refused; the tool stays.
    circleDialog(16, 0, true);
    Click(40, 15);
    EXPECT_EQ(Regions(), 2);
    EXPECT_EQ(view->m_uiGeomTool, kToolCircle);
    EXPECT_EQ(Chain().size(), 0u);

    // An existing node as the radius point with an approximating mode
    // asks first; Cancel ends the tool without a region.
    Click(50, 30);
    circleDialog(16, 1, true);
    script.MessageBox("This action will distort the model\nContinue?", IDCANCEL);
    Click(30, 30);
    EXPECT_EQ(Regions(), 2);
    EXPECT_EQ(view->m_uiGeomTool, 0u);
    script.Verify();
}

TEST_F(ModView, AnAbandonedToolLeavesTheDocumentUnmodified)
{
    Square();
    main->SendCommand(ID_TOOL_POLYGON);
    Click(-20, -20);
    Click(-20, -5);
    Click(-5, -5);
    main->SendCommand(ID_REPEAT_QUIT);
    EXPECT_EQ(view->m_uiGeomTool, 0u);
    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ(Regions(), 1);
}

TEST_F(ModView, RubberBandFramesShowTheModelAsAFullDrawWould)
{
    Square();
    const float background = fBckClrMdView[0];
    fBckClrMdView[0] = 0.2f; // not the colour of anything drawn
    const auto frame = [this] {
        driver->Draw();
        const std::uint8_t* pixels = driver->Surface().Buffer();
        return std::vector<std::uint8_t>(pixels, pixels + 400 * 300 * 4);
    };
    main->SendCommand(ID_TOOL_POLYGON);
    Click(-20, -10);
    Click(50, -10);
    const CPoint p = Pixel(20, 40);
    driver->Move(p.x, p.y);
    const std::vector<std::uint8_t> band = frame(); // from the picture of the model
    view->InvalidateList();
    EXPECT_TRUE(frame() == band) << "the picture and the model drawn anew agree";
    // A change of the view or of the model is seen at once.
    view->m_dCentX += 5.0;
    EXPECT_FALSE(frame() == band);
    view->m_dCentX -= 5.0;
    EXPECT_TRUE(frame() == band);
    Click(50, -5);
    Click(0, 50, MK_CONTROL); // closes a triangle below the square
    ASSERT_EQ(Regions(), 2);
    main->SendCommand(ID_TOOL_POLYGON);
    driver->Move(p.x + 1, p.y);
    const std::vector<std::uint8_t> after = frame();
    view->InvalidateList();
    EXPECT_TRUE(frame() == after);
    const auto at = [&after](CPoint q) { return after[static_cast<std::size_t>(((299 - q.y) * 400 + q.x) * 4)]; };
    EXPECT_NE(at(Pixel(45, -8)), 51) << "the new region is drawn";
    EXPECT_EQ(at(Pixel(45, 20)), 51) << "the background beside it";
    fBckClrMdView[0] = background;
}

TEST_F(ModView, TypedPointsAreClicksAtTheirPlace)
{
    main->SendCommand(ID_TOOL_POLYGON);
    view->EnterPoint(5.25, -10.5);
    double dx = 10.0, dy = 0.0;
    view->EnterRelPoint(&dx, &dy);
    ASSERT_EQ(Chain().size(), 2u);
    EXPECT_DOUBLE_EQ(Chain()[0]->x, 5.25);
    EXPECT_DOUBLE_EQ(Chain()[0]->y, -10.5);
    EXPECT_DOUBLE_EQ(Chain()[1]->x, 15.25);
    EXPECT_DOUBLE_EQ(Chain()[1]->y, -10.5);
    main->SendCommand(ID_TOOL_POLYGON);
}

TEST_F(ModView, TheCopyListAndTheTemporaryNodesGoAtTheProgramsEnd)
{
    CObList* copies = view->NewCopyList();
    CObject* region = new CSectPlate(new CBoundNode(0, 0, 0, nullptr, 0), new CBoundNode(1, 0, 0, nullptr, 0),
                                     new CBoundNode(1, 1, 0, nullptr, 0), new CBoundNode(0, 1, 0, nullptr, 0),
                                     nullptr);
    copies->AddTail(region);
    view->GetMaterialCopyList()->AddTail(new CMaterial("Copy", 1.0, 2.0, 1.0, 0.3, 0.0));
    view->SetTmpNode(2, new CSNode(1.0, 1.0, 0.0, nullptr, 0));
    m_app->ExitInstance();
    EXPECT_EQ(view->GetCopyList(), nullptr);
    EXPECT_EQ(CBrantelView::TmpSlot(2), nullptr);
}

// A modelling view that reports the commands it gets.
class ProbeView : public CBrantelModView
{
    DECLARE_DYNCREATE(ProbeView)
public:
    void EditObject() override { ++edits; }
    int edits = 0;
    int deletes = 0;

protected:
    void OnProbeDelete() { ++deletes; }
    DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(ProbeView, CBrantelModView)
BEGIN_MESSAGE_MAP(ProbeView, CBrantelModView)
ON_COMMAND(ID_DELETE_SELECTION, OnProbeDelete)
END_MESSAGE_MAP()

class ProbedModView : public ShellTest
{
protected:
    void SetUp() override
    {
        app = std::make_unique<CWinApp>();
        app->AddDocTemplate(new CMultiDocTemplate(IDR_PLATE, RUNTIME_CLASS(CBrantelDoc), RUNTIME_CLASS(CChildFrame),
                                                  RUNTIME_CLASS(ProbeView)));
        main = new CMainFrame;
        ASSERT_TRUE(main->LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW));
        app->m_pMainWnd = main;
        main->InitFrame();
        doc = dynamic_cast<CBrantelDoc*>(app->m_pDocManager->GetTemplates()[0]->OpenDocumentFile(nullptr));
        ASSERT_NE(doc, nullptr);
        view = dynamic_cast<ProbeView*>(dynamic_cast<CFrameWnd*>(main->MDIGetActive())->GetActiveView());
        ASSERT_NE(view, nullptr);
        driver = std::make_unique<ViewDriver>(*view, 200, 200);
        static_cast<CView*>(view)->OnInitialUpdate();
    }
    void TearDown() override
    {
        driver.reset();
        if (app->m_pMainWnd)
            app->m_pMainWnd->DestroyWindow();
        app.reset();
        ShellTest::TearDown();
    }
    std::unique_ptr<CWinApp> app;
    CMainFrame* main = nullptr;
    CBrantelDoc* doc = nullptr;
    ProbeView* view = nullptr;
    std::unique_ptr<ViewDriver> driver;
};

TEST_F(ProbedModView, TheDeleteKeyRunsTheDeleteCommandAndOtherKeysDoNot)
{
    for (UINT key : {UINT(VK_DELETE), UINT('D'), UINT(VK_BACK), UINT(VK_DELETE)})
        driver->Key(key);
    EXPECT_EQ(view->deletes, 2);
}

TEST_F(ProbedModView, ADoubleClickEditsOnlyInPointerMode)
{
    driver->DblClk(100, 100);
    EXPECT_EQ(view->edits, 1);
    view->SendMessage(WM_COMMAND, ID_TOOL_POLYGON);
    driver->DblClk(50, 50);
    driver->DblClk(150, 50);
    EXPECT_EQ(view->edits, 1) << "no editor while drawing";
    view->SendMessage(WM_COMMAND, ID_TOOL_POLYGON);
}

} // namespace
