// The 2D view in a window on the OSMesa host: wheel, scroll bars, mouse,
// grid and axis pixels, the cursor, picking, cursors and off-screen images.
#include <cmath>
#include <cstring>

#include "tests/vistrel/test_views.h"

namespace {

class Scene2DTest : public GraphViewTest {
protected:
    // Pixels of colour (r, g, b) in the columns x0..x1 of the frame.
    static int CountInColumns(const ViewDriver& driver, int x0, int x1, int h, int r, int g, int b)
    {
        int n = 0;
        for (int x = x0; x <= x1; ++x)
            for (int y = 0; y < h; ++y)
                n += IsColour(driver.Pixel(x, y), r, g, b);
        return n;
    }
};

TEST_F(Scene2DTest, WheelZoomsByOneAndAFifthOnlyWithoutKeys)
{
    struct Case {
        int notches;
        UINT flags;
        double scale;
    };
    const Case cases[] = {{1, 0, 2.0 * 1.2}, {-1, 0, 2.0 / 1.2}, {0, 0, 2.0 / 1.2}, {1, MK_CONTROL, 2.0}, {-2, MK_SHIFT, 2.0}};
    for (const Case& c : cases) {
        Test2DView view;
        auto driver = Host(view);
        driver->Wheel(400, 300, c.notches, c.flags);
        EXPECT_DOUBLE_EQ(view.m_dScale, c.scale) << c.notches << " flags " << c.flags;
    }
}

TEST_F(Scene2DTest, ScrollBarsMoveTheCentreAndTheHorizontalThumb)
{
    Test2DView view;
    auto driver = Host(view);
    const auto hscroll = [&](UINT code, UINT pos = 0) { view.SendMessage(WM_HSCROLL, MAKEWPARAM(code, pos)); };
    const auto vscroll = [&](UINT code, UINT pos = 0) { view.SendMessage(WM_VSCROLL, MAKEWPARAM(code, pos)); };

    // Thumb track: the thumb over 0..800 is the centre over +-100000.
    hscroll(SB_THUMBTRACK, 600);
    EXPECT_DOUBLE_EQ(view.m_dCentX, -50000.0);
    EXPECT_EQ(view.GetScrollPos(SB_HORZ), 600);
    vscroll(SB_THUMBTRACK, 200);
    EXPECT_DOUBLE_EQ(view.m_dCentY, -50000.0);
    EXPECT_EQ(view.GetScrollPos(SB_VERT), 200);

    // Line and page steps: a step is 800 / (8 x 2) = 50 units.
    view.m_dCentX = 0.0;
    hscroll(SB_LINERIGHT);
    EXPECT_DOUBLE_EQ(view.m_dCentX, -50.0);
    EXPECT_EQ(view.GetScrollPos(SB_HORZ), 400); // (100000 + 50) x 800 x 0.000005
    hscroll(SB_PAGELEFT);
    EXPECT_DOUBLE_EQ(view.m_dCentX, 450.0);
    EXPECT_EQ(view.GetScrollPos(SB_HORZ), 398);
    // Past the ends the thumb stays at the ends.
    view.m_dCentX = 150000.0;
    hscroll(SB_LINELEFT);
    EXPECT_EQ(view.GetScrollPos(SB_HORZ), 0);
    view.m_dCentX = -150000.0;
    hscroll(SB_LINERIGHT);
    EXPECT_EQ(view.GetScrollPos(SB_HORZ), 800);

    // Vertical steps move the centre but not the thumb.
    view.m_dCentY = 0.0;
    vscroll(SB_LINEUP);
    EXPECT_DOUBLE_EQ(view.m_dCentY, -37.5);
    vscroll(SB_PAGEDOWN);
    EXPECT_DOUBLE_EQ(view.m_dCentY, 337.5);
    EXPECT_EQ(view.GetScrollPos(SB_VERT), 200);
}

TEST_F(Scene2DTest, ButtonDownSnapsTruncatesAndHandsOnTheSnappedPixel)
{
    for (const bool snap : {true, false}) {
        Test2DView view;
        auto driver = Host(view);
        view.m_dScale = 4.0; // two pixels a unit
        view.SetSnapSpace(1.0, false);
        view.SetSnapOn(snap);
        // (405, 305) is the model point (2.5, -2.5).
        driver->Down(405, 305);
        ASSERT_EQ(view.calls.size(), 2u);
        EXPECT_STREQ(view.calls[0], "truncate");
        EXPECT_STREQ(view.calls[1], "down");
        const TestClick& click = view.clicks.at(0);
        EXPECT_TRUE(click.flags & MK_LBUTTON);
        EXPECT_EQ(view.m_LastPoint, CPoint(405, 305));
        if (snap) {
            EXPECT_DOUBLE_EQ(click.x, 3.0);
            EXPECT_DOUBLE_EQ(click.y, -2.0);
            EXPECT_EQ(click.point, CPoint(406, 304)); // the pixel of (3, -2)
        } else {
            EXPECT_DOUBLE_EQ(click.x, 2.5);
            EXPECT_DOUBLE_EQ(click.y, -2.5);
            EXPECT_EQ(click.point, CPoint(405, 305));
        }
        driver->Up(405, 305);
        ASSERT_EQ(view.clicks.size(), 2u);
        EXPECT_EQ(view.clicks[1].point, view.clicks[0].point);
        EXPECT_DOUBLE_EQ(view.clicks[1].x, view.clicks[0].x);
    }
}

TEST_F(Scene2DTest, PanKeepsTheGrabbedPointUnderTheMouseAndDragZoomSteps)
{
    Test2DView view;
    auto driver = Host(view);
    view.m_dScale = 4.0;
    view.m_iTool = VIEWTOOL_PAN;
    driver->Down(400, 300);
    double gx = 400, gy = 300;
    view.GetRealCoord(gx, gy, false);
    driver->Move(440, 270, MK_LBUTTON);
    double nx = 440, ny = 270;
    view.GetRealCoord(nx, ny, false);
    EXPECT_DOUBLE_EQ(nx, gx);
    EXPECT_DOUBLE_EQ(ny, gy);
    EXPECT_DOUBLE_EQ(view.m_dCentX, 20.0);
    EXPECT_DOUBLE_EQ(view.m_dCentY, 15.0);
    EXPECT_EQ(view.m_LastPoint, CPoint(440, 270));
    // Pan with Ctrl held in the pan tool does nothing.
    driver->Move(480, 270, MK_LBUTTON | MK_CONTROL);
    EXPECT_DOUBLE_EQ(view.m_dCentX, 20.0);
    driver->Up(480, 270);

    // Dynamic zoom: 1.05 for each move of more than 4 pixels, out downwards.
    view.m_iTool = VIEWTOOL_ZOOMDYN;
    driver->Down(400, 300);
    struct Step {
        CPoint to;
        UINT flags;
        double scale;
    };
    const Step steps[] = {
        {CPoint(400, 310), MK_LBUTTON, 4.0 / 1.05},
        {CPoint(402, 313), MK_LBUTTON, 4.0 / 1.05},  // 3 pixels: no step
        {CPoint(400, 300), MK_LBUTTON, 4.0},          // up
        {CPoint(430, 300), MK_LBUTTON, 4.0 * 1.05},  // sideways counts as up
    };
    for (const Step& s : steps) {
        driver->Move(s.to.x, s.to.y, s.flags);
        EXPECT_NEAR(view.m_dScale, s.scale, 1e-12) << s.to.x << "," << s.to.y;
    }
    driver->Up(430, 300);
    // Both buttons zoom in any tool.
    view.m_iTool = VIEWTOOL_NORMAL;
    view.m_LastPoint = CPoint(400, 300);
    driver->Move(400, 320, MK_LBUTTON | MK_RBUTTON);
    EXPECT_NEAR(view.m_dScale, 4.0, 1e-12);
}

TEST_F(Scene2DTest, TheLastMousePointFollowsOnlyLargeMovesWithoutButtons)
{
    Test2DView view;
    auto driver = Host(view);
    view.m_LastPoint = CPoint(400, 300);
    struct Step {
        CPoint to;
        UINT flags;
        CPoint last;
    };
    const Step steps[] = {
        {CPoint(404, 300), 0, CPoint(400, 300)},
        {CPoint(405, 300), 0, CPoint(405, 300)},
        {CPoint(405, 305), 0, CPoint(405, 300)},
        {CPoint(405, 306), 0, CPoint(405, 306)},
        {CPoint(500, 400), MK_LBUTTON, CPoint(405, 306)},
        {CPoint(500, 400), MK_RBUTTON, CPoint(405, 306)},
    };
    for (const Step& s : steps) {
        driver->Move(s.to.x, s.to.y, s.flags);
        EXPECT_EQ(view.m_LastPoint, s.last) << s.to.x << "," << s.to.y;
    }
    // The cursor follows every move.
    double x = 500, y = 400;
    view.GetRealCoord(x, y, true);
    EXPECT_DOUBLE_EQ(view.m_dCursX, x);
    EXPECT_DOUBLE_EQ(view.m_dCursY, y);
}

TEST_F(Scene2DTest, GridAndAxisPixels)
{
    const int green[3] = {0, 255, 0}, blue[3] = {0, 0, 255};
    Test2DView view;
    auto driver = Host(view);
    // Columns x-1..x+1 without the rows of the horizontal lines (every 20
    // pixels from row 300).
    const auto count = [&](int x, const int* c) {
        int n = 0;
        for (int col = x - 1; col <= x + 1; ++col)
            for (int row = 0; row < 600; ++row)
                if (row % 20 != 19 && row % 20 != 0 && row % 20 != 1)
                    n += IsColour(driver->Pixel(col, row), c[0], c[1], c[2]);
        return n;
    };
    view.m_bShowGrid = true;
    view.m_bShowAxis = true;
    view.m_dCentX = -7.0; // the axis at pixel 393, grid lines 20 apart from it
    view.SetSnapSpace(20.0, false);
    driver->Draw();
    // A grid line is stippled 0x4444: about a quarter of its pixels.
    EXPECT_GT(count(413, green), 100);
    EXPECT_LT(count(413, green), 200);
    // The grid line on the y axis is left out; the axis is drawn.
    EXPECT_EQ(count(393, green), 0);
    EXPECT_GT(count(393, blue), 300);

    // Without axes the grid line on the axis is drawn.
    view.m_bShowAxis = false;
    view.InvalidateList();
    driver->Draw();
    EXPECT_GT(count(393, green), 100);
    EXPECT_EQ(count(393, blue), 0);

    // Points: one at each grid position, drawn on the axes too.
    COGL2DView::m_uiGridType = 1;
    view.InvalidateList();
    driver->Draw();
    EXPECT_GT(CountInColumns(*driver, 412, 414, 600, 0, 255, 0), 20);
    EXPECT_LT(CountInColumns(*driver, 412, 414, 600, 0, 255, 0), 40);
    EXPECT_EQ(CountInColumns(*driver, 400, 409, 600, 0, 255, 0), 0);
    COGL2DView::m_uiGridType = 0;

    // Too dense (more than 0.15 lines a pixel) or spacing 0: no grid.
    for (const double spacing : {3.0, 0.0}) {
        view.SetSnapSpace(spacing, false);
        driver->Draw();
        EXPECT_EQ(CountInColumns(*driver, 0, 799, 600, 0, 255, 0), 0) << spacing;
    }
    // Spacing 6.7 gives 61 lines across 800 pixels: drawn.
    view.SetSnapSpace(6.7, false);
    driver->Draw();
    EXPECT_GT(CountInColumns(*driver, 0, 799, 600, 0, 255, 0), 0);
}

TEST_F(Scene2DTest, ListsAreRebuiltOnlyWhenInvalidAndAfterAResize)
{
    Test2DView view;
    auto driver = Host(view, 400, 300);
    view.m_bShowAxis = true;
    view.m_bShowGrid = true;
    view.SetSnapSpace(50.0, false);
    driver->Draw();
    ASSERT_TRUE(view.m_bAxisListValid && view.m_bGridListValid);
    const GLuint axis = view.m_uiAxisList, grid = view.m_uiGridList;
    EXPECT_NE(axis, 0u);
    EXPECT_NE(grid, 0u);
    driver->Draw();
    EXPECT_EQ(view.m_uiAxisList, axis);
    EXPECT_EQ(view.m_uiGridList, grid);
    // A larger window: the axis cross reaches its new border.
    driver->Size(800, 600);
    driver->Draw();
    EXPECT_GT(CountInColumns(*driver, 790, 799, 600, 0, 0, 255), 0);
}

TEST_F(Scene2DTest, TheSnapCursorSitsAtItsPixel)
{
    Test2DView view;
    auto driver = Host(view);
    view.SetSnapSpace(1.0, false);
    view.SetSnapOn(true);
    driver->Move(500, 200); // the model point (100, 100)
    ASSERT_DOUBLE_EQ(view.m_dCursX, 100.0);
    ASSERT_DOUBLE_EQ(view.m_dCursY, 100.0);
    struct Case {
        int tool;
        std::vector<CPoint> lit, dark; // offsets from the cursor's pixel
    };
    const Case cases[] = {
        {VIEWTOOL_NORMAL,
         {{8, 0}, {-8, 0}, {0, 8}, {0, -8}, {4, 0}, {12, 0}, {2, 1}, {-2, -1}},
         {{0, 0}, {16, 0}, {0, -16}, {1, 1}, {8, 8}}},
        {VIEWTOOL_POINT, {{0, -5}, {0, 5}, {5, 0}, {-5, 0}, {-2, 0}, {0, 2}}, {{5, 5}, {-5, -5}, {0, 0}, {8, 0}}},
        {VIEWTOOL_PAN, {}, {{8, 0}, {0, 5}, {0, 0}}},
    };
    for (const Case& c : cases) {
        view.m_iTool = c.tool;
        driver->Draw();
        for (const CPoint d : c.lit)
            EXPECT_TRUE(IsColour(driver->Pixel(500 + d.x, 200 + d.y), 255, 255, 255))
                << "tool " << c.tool << " at " << d.x << "," << d.y;
        for (const CPoint d : c.dark)
            EXPECT_TRUE(IsColour(driver->Pixel(500 + d.x, 200 + d.y), 0, 0, 0))
                << "tool " << c.tool << " at " << d.x << "," << d.y;
    }
}

TEST_F(Scene2DTest, PickingChoosesOneNameOrEveryNameOnceInHitOrder)
{
    Test2DView view;
    auto driver = Host(view);
    const auto quad = [](GLuint name, double x1, double y1, double x2, double y2, GLuint inner = 0) {
        TestQuad q;
        q.name = name;
        q.x1 = x1;
        q.y1 = y1;
        q.x2 = x2;
        q.y2 = y2;
        q.inner = inner;
        return q;
    };
    // Model units are pixels; the centre of the window is the origin.
    view.quads = {quad(1, -100, -50, -50, 50), quad(2, 0, 0, 100, 100), quad(0, 150, 150, 200, 200),
                  quad(3, 50, 50, 150, 150), quad(2, -200, -200, -150, -150), quad(5, 200, -100, 250, -50, 6)};
    EXPECT_EQ(view.PickObject(325, 300, 0, 4.0f, 0xFFFFFFFF, 0, nullptr), 1u);
    EXPECT_EQ(view.PickObject(425, 275, 0, 4.0f, 0xFFFFFFFF, 0, nullptr), 2u);
    EXPECT_EQ(view.PickObject(700, 100, 0, 4.0f, 0xFFFFFFFF, 0, nullptr), 0u);

    struct Case {
        CPoint at;
        float w, h;
        unsigned bufferWords;
        std::vector<unsigned> names;
    };
    const Case cases[] = {
        // The whole window: name 0 left out, name 2 once, the inner name of 5.
        {CPoint(400, 300), 800, 600, 1024, {1, 2, 3, 6}},
        {CPoint(500, 200), 20, 20, 1024, {2, 3}},
        {CPoint(700, 100), 10, 10, 1024, {}},
        // Overflow: the complete records that fit, at most a quarter of the
        // buffer's words. Records of one name take four words, that of 5
        // and 6 five.
        {CPoint(400, 300), 800, 600, 8, {1, 2}},
        {CPoint(400, 300), 800, 600, 15, {1, 2}},
        {CPoint(400, 300), 800, 600, 16, {1, 2, 3}},
        {CPoint(400, 300), 800, 600, 24, {1, 2, 3}},
        {CPoint(400, 300), 800, 600, 25, {1, 2, 3, 6}},
    };
    for (const Case& c : cases) {
        COGLRenderer::iSelBufSize = c.bufferWords;
        unsigned* names = reinterpret_cast<unsigned*>(1);
        int count = -1;
        view.PickObject(c.at, 0, c.w, c.h, names, count);
        ASSERT_EQ(count, static_cast<int>(c.names.size())) << c.at.x << "," << c.at.y << " words " << c.bufferWords;
        if (c.names.empty()) {
            EXPECT_EQ(names, nullptr);
        } else {
            EXPECT_EQ(std::vector<unsigned>(names, names + count), c.names) << "words " << c.bufferWords;
            delete[] names;
        }
        EXPECT_EQ(COGLRenderer::selectBuf, nullptr);
    }
}

TEST_F(Scene2DTest, TheCursorFollowsTheToolMode)
{
    AfxCursorResource normal, point, zoomRect, zoomDyn, pan;
    COGL2DView::m_hNormalCursor = &normal;
    COGL2DView::m_hPointCursor = &point;
    COGL2DView::m_hZoomRectCursor = &zoomRect;
    COGL2DView::m_hZoomDynCursor = &zoomDyn;
    COGL2DView::m_hPanCursor = nullptr; // not loaded: the arrow
    struct Case {
        int tool;
        bool snap;
        HVIEWCURSOR shown;
    };
    const Case cases[] = {
        {VIEWTOOL_NORMAL, false, &normal}, {VIEWTOOL_POINT, false, &point},  {VIEWTOOL_ZOOMRECT, false, &zoomRect},
        {VIEWTOOL_ZOOMDYN, false, &zoomDyn}, {VIEWTOOL_PAN, false, nullptr},  {VIEWTOOL_ZOOMRECT, true, &zoomRect},
        // Snapping: the other tools keep what was shown (here the point cursor).
        {VIEWTOOL_NORMAL, true, &point},   {VIEWTOOL_ZOOMDYN, true, &point},
    };
    for (const Case& c : cases) {
        Test2DView view;
        auto driver = Host(view);
        view.m_iTool = VIEWTOOL_POINT;
        driver->Move(100, 100);
        view.m_iTool = c.tool;
        view.SetSnapOn(c.snap);
        driver->Move(120, 100);
        EXPECT_EQ(view.GetViewCursor(), c.shown) << "tool " << c.tool << " snap " << c.snap;
    }
    COGL2DView::m_hNormalCursor = COGL2DView::m_hPointCursor = COGL2DView::m_hZoomRectCursor = nullptr;
    COGL2DView::m_hZoomDynCursor = nullptr;
}

// The red pixels of a DIB's bits (bottom-up rows; BGR order, or 5-5-5
// words at 16 bits).
int CountRed(COGLDIB& dib)
{
    const BITMAPINFOHEADER& header = dib.GetBMPInfo()->bmiHeader;
    const int bytes = header.biBitCount / 8;
    const int stride = ((header.biWidth * header.biBitCount + 31) / 32) * 4;
    const auto* bits = static_cast<const std::uint8_t*>(dib.GetlpBits());
    int n = 0;
    for (int y = 0; y < header.biHeight; ++y)
        for (int x = 0; x < header.biWidth; ++x) {
            const std::uint8_t* p = bits + static_cast<std::size_t>(y) * stride + static_cast<std::size_t>(x) * bytes;
            if (bytes == 2)
                n += (p[0] | (p[1] << 8)) == 0x7C00;
            else
                n += p[2] == 255 && p[1] == 0 && p[0] == 0;
        }
    return n;
}

TEST_F(Scene2DTest, AnImageShowsTheWindowsModelAreaAtItsOwnResolution)
{
    Test2DView view;
    auto driver = Host(view);
    view.m_bShowAxis = true;
    TestQuad square;
    square.x1 = 10;
    square.y1 = 10;
    square.x2 = 60;
    square.y2 = 60;
    view.quads = {square};
    driver->Draw();
    EXPECT_NE(view.m_uiAxisList, 0u);
    EXPECT_EQ(CountInColumns(*driver, 0, 799, 600, 255, 0, 0), 2500);

    std::unique_ptr<COGLDIB> dib(view.MakeOGLDIB(CSize(1600, 1200), nullptr));
    ASSERT_NE(dib, nullptr);
    EXPECT_EQ(dib->GetWidth(), 1600);
    EXPECT_EQ(dib->GetHeight(), 1200);
    EXPECT_EQ(CountRed(*dib), 4 * 2500);
    // The window's size is back, its lists are gone and the next draw
    // makes them again.
    EXPECT_EQ(view.m_iWidth, 800);
    EXPECT_EQ(view.m_iHeight, 600);
    EXPECT_EQ(view.m_uiAxisList, 0u);
    EXPECT_FALSE(view.m_bAxisListValid);
    driver->Draw();
    EXPECT_NE(view.m_uiAxisList, 0u);
    EXPECT_TRUE(view.m_bAxisListValid);
    EXPECT_EQ(CountInColumns(*driver, 0, 799, 600, 255, 0, 0), 2500);
    EXPECT_GT(CountInColumns(*driver, 0, 799, 600, 0, 0, 255), 0);
}

TEST_F(Scene2DTest, BackgroundsAndWindowEnabling)
{
    Test2DView view2;
    Test3DView view3;
    EXPECT_EQ(view2.GetBckGrdClr(), fBckClrMdView);
    EXPECT_EQ(view3.GetBckGrdClr(), fBckClrRsView);
    auto driver = Host(view2);
    view2.DisableView();
    EXPECT_FALSE(view2.IsWindowEnabled());
    view2.EnableView();
    EXPECT_TRUE(view2.IsWindowEnabled());
}

} // namespace
