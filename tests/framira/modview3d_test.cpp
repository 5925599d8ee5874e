// The 3D modelling view on an OSMesa surface, looking straight down on a
// model of square regions: clicks and bands pick on the 3D selection
// filter, through the view's own AddSelect.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "framework/geomhlpr.h"
#include "framework/kor3dmodview.h"
#include "glview/oglrenderer.h"
#include "platform/ui/headless/afxui_headless.h"
#include "platform/ui/osmesa/afxui_osmesa.h"
#include "tests/framira/modview_fixture.h"

using afxui::headless::HeadlessApp;

namespace
{

class CMod3DTestView : public Kor3DModView
{
public:
    CMod3DTestView() { m_pGeomHlpr = new KorAreaGeomHlpr; }
    bool Make() { return Create(nullptr, "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 800, 600), nullptr, 1) != FALSE; }
    void InitialUpdate() { OnInitialUpdate(); }
    CSectComp* Model() { return static_cast<CModViewDoc*>(GetDocument())->m_pSectComp; }
    void FindModelExtents() override {}
    CObList* GetMoveList() override { return nullptr; }
    CSNode* GetRefNode(int) override { return nullptr; }
    bool AddSelect(CObject* object, UINT type, bool clear) override
    {
        added.push_back(type);
        return Kor3DModView::AddSelect(object, type, clear);
    }
    bool DynamicPickDraw(unsigned type) override
    {
        Model()->PickDrawAddressGL(static_cast<int>(type));
        return true;
    }
    void PostNcDestroy() override {}
    std::vector<UINT> added; // types handed to AddSelect
};

class ModView3DTest : public HeadlessApp
{
protected:
    void SetUp() override
    {
        COGLRenderer::ResetStaticsForTesting();
        COGLView::ResetStaticsForTesting();
        previousFactory = AfxGetOffscreenFactory();
        AfxSetOffscreenFactory(&factory);
        saved2D = Kor2DModView::m_uiSelectFilter;
        saved3D = Kor3DModView::m_uiSelectFilter;
        doc.AddView(&view);
        ASSERT_TRUE(view.Make());
        driver = std::make_unique<ViewDriver>(view, 800, 600);
        driver->Size(800, 600);
        view.InitialUpdate();
        PumpPosted();
        // Straight down, 50 pixels a model unit, the origin at (400, 300).
        view.SetAngles(0.0, 0.0, 0.0);
        view.m_dScale = 100.0;
        view.m_dCentX = view.m_dCentY = 0.0;
        view.m_bShowGrid = false;
        view.m_iTool = 1;
    }
    void TearDown() override
    {
        driver.reset();
        doc.RemoveView(&view);
        Kor2DModView::m_uiSelectFilter = saved2D;
        Kor3DModView::m_uiSelectFilter = saved3D;
        AfxSetOffscreenFactory(previousFactory);
        COGLRenderer::ResetStaticsForTesting();
        COGLView::ResetStaticsForTesting();
        HeadlessApp::TearDown();
    }
    size_t Selected(int type)
    {
        CObList* list = view.m_pGeomHlpr->GetSelList(type);
        return list ? static_cast<size_t>(list->GetCount()) : 0u;
    }
    void Drag(CPoint from, CPoint to, UINT flags = 0)
    {
        driver->Down(from.x, from.y, flags);
        driver->Up(to.x, to.y, flags);
    }

    COSMesaOffscreenFactory factory;
    IOffscreenFactory* previousFactory = nullptr;
    UINT saved2D = 7, saved3D = 7;
    CModViewDoc doc;
    CMod3DTestView view;
    std::unique_ptr<ViewDriver> driver;
};

TEST_F(ModView3DTest, ClickAndBandPickOnTheThreeDimensionalFilter)
{
    doc.AddSquare(0, 0, 1);
    // Only the 3D filter counts: edges, though the 2D one says nodes.
    Kor2DModView::m_uiSelectFilter = 2;
    Kor3DModView::m_uiSelectFilter = 4;
    Drag({400, 300}, {400, 300}); // on the corner node
    EXPECT_EQ(Selected(2), 0u);
    EXPECT_EQ(Selected(4), 1u);
    EXPECT_EQ(view.added, std::vector<UINT>{4});

    // A band over the square with every type: the nodes only.
    Kor3DModView::m_uiSelectFilter = 7;
    view.added.clear();
    Drag({380, 320}, {470, 230});
    EXPECT_EQ(Selected(2), 4u);
    EXPECT_EQ(Selected(4), 0u);
    EXPECT_EQ(view.added, std::vector<UINT>(4, 2u));

    // Empty space clears, Shift keeps.
    Drag({600, 100}, {600, 100}, MK_SHIFT);
    EXPECT_EQ(Selected(2), 4u);
    Drag({600, 100}, {600, 100});
    EXPECT_EQ(Selected(2), 0u);
}

} // namespace
