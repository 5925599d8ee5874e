// The 2D camera without drawing: pixel and model coordinates, snapping,
// zoom, pan, fit, extents, scroll thumbs, view parameters and the mouse
// handlers' arithmetic.
#include <cmath>

#include "tests/vistrel/test_views.h"

namespace {

class CameraTest : public GraphViewTest {};

TEST_F(CameraTest, PixelAndModelCoordinatesFollowTheFormulasAndRoundTrip)
{
    struct Case {
        int w, h;
        double scale, cx, cy;
    };
    const Case cases[] = {
        {800, 600, 4.0, 0.0, 0.0}, {801, 599, 7.3, 12.5, -3.25}, {640, 480, 0.01, -1e3, 2e3}, {300, 900, 250.0, 0.4, 0.1}};
    for (const Case& c : cases) {
        Test2DView view;
        view.m_iWidth = c.w;
        view.m_iHeight = c.h;
        view.m_dScale = c.scale;
        view.m_dCentX = c.cx;
        view.m_dCentY = c.cy;
        for (const CPoint p : {CPoint(0, 0), CPoint(c.w / 3, c.h - 1), CPoint(c.w - 1, 7)}) {
            double x = p.x, y = p.y;
            view.GetRealCoord(x, y, true); // snap on is off: nothing snaps
            EXPECT_DOUBLE_EQ(x, (p.x - c.w / 2.0) * 2.0 / c.scale - c.cx);
            EXPECT_DOUBLE_EQ(y, -((p.y - c.h / 2.0) * 2.0 / c.scale + c.cy));
            view.GetScreenCoord(x, y);
            EXPECT_EQ(x, p.x);
            EXPECT_EQ(y, p.y);
        }
        // Model to pixel to model: back within half a pixel.
        const double halfPixel = 1.0 / c.scale;
        for (const double m : {0.0, 1.234, -77.7}) {
            double x = m - c.cx, y = 0.5 * m - c.cy;
            view.GetScreenCoord(x, y);
            view.GetRealCoord(x, y, false);
            EXPECT_NEAR(x, m - c.cx, halfPixel + 1e-9);
            EXPECT_NEAR(y, 0.5 * m - c.cy, halfPixel + 1e-9);
        }
    }
}

TEST_F(CameraTest, SnappingRoundsToTheSpacingWithHalvesUp)
{
    struct Case {
        double spacing;
        bool snapOn, askSnap;
        double in, out;
    };
    const Case cases[] = {
        {1.0, true, true, 2.5, 3.0},   {1.0, true, true, -2.5, -2.0}, {1.0, true, true, 2.49, 2.0},
        {1.0, true, true, -2.51, -3.0}, {0.25, true, true, 0.3, 0.25}, {0.0, true, true, 2.5, 2.5},
        {1.0, false, true, 2.5, 2.5},  {1.0, true, false, 2.5, 2.5},
    };
    for (const Case& c : cases) {
        Test2DView view;
        view.m_iWidth = 800;
        view.m_iHeight = 600;
        view.m_dScale = 2.0; // one model unit a pixel
        view.m_dSnapSpace = c.spacing;
        view.SetSnapOn(c.snapOn);
        // The pixel whose model x and -y are c.in (the centre is 0).
        double x = 400 + c.in, y = 300 - c.in;
        view.GetRealCoord(x, y, c.askSnap);
        EXPECT_DOUBLE_EQ(x, c.out) << c.in << " spacing " << c.spacing;
        EXPECT_DOUBLE_EQ(y, c.out) << c.in << " spacing " << c.spacing;
    }
}

TEST_F(CameraTest, ZoomAndPanStepsChangeTheCameraAndInvalidateTheLists)
{
    struct Case {
        const char* what;
        std::function<void(COGL2DView&)> act;
        double scale, cx, cy;
    };
    // 800 x 600, scale 4: a pan step is 800 / 32 = 25 units across and
    // 600 / 32 = 18.75 up and down.
    const Case cases[] = {
        {"zoom in", [](COGL2DView& v) { v.ZoomIn(2.0); }, 8.0, 0, 0},
        {"zoom out", [](COGL2DView& v) { v.ZoomOut(2.0); }, 2.0, 0, 0},
        {"right step", [](COGL2DView& v) { v.MoveHoris(true, 0.0); }, 4.0, -25.0, 0},
        {"left step", [](COGL2DView& v) { v.MoveHoris(false, 0.0); }, 4.0, 25.0, 0},
        {"ten steps", [](COGL2DView& v) { v.MoveHoris(false, -10.0); }, 4.0, 250.0, 0},
        {"given step", [](COGL2DView& v) { v.MoveHoris(true, 3.0); }, 4.0, -3.0, 0},
        {"up step", [](COGL2DView& v) { v.MoveVert(true, 0.0); }, 4.0, 0, -18.75},
        {"two down", [](COGL2DView& v) { v.MoveVert(false, -2.0); }, 4.0, 0, 37.5},
        {"snap spacing", [](COGL2DView& v) { v.SetSnapSpace(2.0, false); }, 4.0, 0, 0},
    };
    for (const Case& c : cases) {
        Test2DView view;
        view.m_iWidth = 800;
        view.m_iHeight = 600;
        view.m_bAxisListValid = view.m_bGridListValid = true;
        c.act(view);
        EXPECT_DOUBLE_EQ(view.m_dScale, c.scale) << c.what;
        EXPECT_DOUBLE_EQ(view.m_dCentX, c.cx) << c.what;
        EXPECT_DOUBLE_EQ(view.m_dCentY, c.cy) << c.what;
        EXPECT_FALSE(view.m_bAxisListValid) << c.what;
        EXPECT_FALSE(view.m_bGridListValid) << c.what;
    }
}

TEST_F(CameraTest, ZoomToRectAndZoomToFitCentreAndScale)
{
    struct Case {
        std::array<double, 4> rect; // x max, y max, x min, y min
        double scale, cx, cy;
    };
    const Case cases[] = {
        // The smaller of the two scales wins.
        {{10, 10, -10, -10}, 60.0, 0, 0},
        {{20, 2, 0, 0}, 80.0, -10, -1},
        {{4, 30, 2, 10}, 60.0, -3, -20},
        // Zero height with a width keeps the scale and only centres.
        {{10, 5, 2, 5}, 4.0, -6, -5},
        // Zero width with a height takes the height's scale.
        {{3, 6, 3, 0}, 200.0, -3, -3},
    };
    for (const Case& c : cases) {
        Test2DView view;
        view.m_iWidth = 800;
        view.m_iHeight = 600;
        view.extents = c.rect;
        view.ZoomToFit();
        EXPECT_DOUBLE_EQ(view.m_dScale, c.scale) << c.rect[0] << " " << c.rect[1];
        EXPECT_DOUBLE_EQ(view.m_dCentX, c.cx);
        EXPECT_DOUBLE_EQ(view.m_dCentY, c.cy);
    }
    // All extents 0: nothing changes.
    Test2DView view;
    view.m_dCentX = 3.0;
    view.m_dScale = 9.0;
    view.ZoomToFit();
    EXPECT_DOUBLE_EQ(view.m_dCentX, 3.0);
    EXPECT_DOUBLE_EQ(view.m_dScale, 9.0);
}

TEST_F(CameraTest, SetMaxMinAppliesItsFlagsInOrder)
{
    struct Case {
        unsigned flags;
        std::array<double, 4> expected; // x max, y max, x min, y min
    };
    // Start: x max 1, y max 2, x min -1, y min -2; the point (5, -7).
    const Case cases[] = {
        {1, {5, 2, -1, -7}},
        {4, {5, -7, -1, -2}},
        {2, {1, 2, 5, -7}},
        {8, {5, 2, -7, -2}},
        {16, {1, 5, -1, -7}},
        // 4 before 2 before 8 before 16.
        {4 | 2, {5, -7, 5, -7}},
        {2 | 8, {5, 2, -7, -7}},
        {1 | 16, {5, 5, -1, -7}},
        {1 | 4 | 2 | 8 | 16, {5, 5, -7, -7}},
    };
    for (const Case& c : cases) {
        Test2DView view;
        view.SetMaxMin(1, 2, 4);
        view.SetMaxMin(-1, -2, 2);
        view.SetMaxMin(5, -7, c.flags);
        EXPECT_EQ((std::array<double, 4>{view.m_dXMax, view.m_dYMax, view.m_dXMin, view.m_dYMin}), c.expected)
            << "flags " << c.flags;
    }
}

TEST_F(CameraTest, ViewParametersRoundTripAndAZeroScaleBecomesOne)
{
    Test2DView view;
    view.m_iViewState = 3;
    view.m_dCentX = 1.5;
    view.m_dCentY = -2.5;
    view.m_dScale = 7.0;
    view.m_bShowAxis = false;
    view.m_bShowGrid = true;
    view.SetSnapOn(true);
    view.m_dSnapSpace = 0.5;
    ASSERT_EQ(view.GetNumViewParams(), 8);
    double saved[8] = {};
    EXPECT_EQ(view.SetViewParam(saved, true), 8);
    const double expected[8] = {3, 1.5, -2.5, 7.0, 0.0, 1.0, 1.0, 0.5};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(saved[i], expected[i]) << i;

    Test2DView other;
    double restored[8] = {3, 1.5, -2.5, 0.0, 2.0, 0.0, -1.0, 0.5};
    EXPECT_EQ(other.SetViewParam(restored, false), 8);
    EXPECT_EQ(other.m_iViewState, 3);
    EXPECT_DOUBLE_EQ(other.m_dScale, 1.0);
    EXPECT_TRUE(other.m_bShowAxis);
    EXPECT_FALSE(other.m_bShowGrid);
    EXPECT_TRUE(other.m_bSnapOn);
    EXPECT_DOUBLE_EQ(other.m_dSnapSpace, 0.5);
    EXPECT_DOUBLE_EQ(other.m_dCentY, -2.5);

    double* volume = nullptr;
    other.m_iWidth = 100;
    other.m_iHeight = 50;
    EXPECT_EQ(other.GetViewVolume(volume), 1);
    const double expectedVolume[6] = {-100, 100, -50, 50, -1, 1};
    for (int i = 0; i < 6; ++i)
        EXPECT_DOUBLE_EQ(volume[i], expectedVolume[i]);
    delete[] volume;
}

TEST_F(CameraTest, HorizontalThumbMapsTheCentreAndClampsAtTheEnds)
{
    struct Case {
        double centre;
        int thumb;
    };
    const Case cases[] = {{0.0, 400}, {100000.0, 0}, {-100000.0, 800}, {1e6, 0}, {-1e6, 800}, {50000.0, 200}};
    for (const Case& c : cases)
        EXPECT_EQ(HorizontalThumb(c.centre, 800), c.thumb) << c.centre;
}

TEST_F(CameraTest, IsScrollingStepsNearTheBorders)
{
    struct Case {
        CPoint p;
        bool scrolls;
        double cx, cy; // after the step, from 0
    };
    // 800 x 600: margins 16 and 12; a step is 25 across and 18.75 up and down.
    const Case cases[] = {
        {CPoint(795, 595), true, 25.0, 0},   // right and bottom: one line left
        {CPoint(5, 595), true, -25.0, 0},    // left and bottom: one line right
        {CPoint(795, 300), true, 0, -18.75}, // right only: one line up
        {CPoint(5, 300), false, 0, 0},
        {CPoint(400, 595), false, 0, 0},
        {CPoint(400, 300), false, 0, 0},
    };
    for (const Case& c : cases) {
        Test2DView view;
        view.m_iWidth = 800;
        view.m_iHeight = 600;
        CPoint p = c.p;
        EXPECT_EQ(view.IsScrolling(p), c.scrolls) << c.p.x << "," << c.p.y;
        EXPECT_DOUBLE_EQ(view.m_dCentX, c.cx);
        EXPECT_DOUBLE_EQ(view.m_dCentY, c.cy);
    }
}

TEST_F(CameraTest, EnterCoordClicksAtTheTypedPointAndHandsBackTheCursor)
{
    Test2DView view;
    view.m_iWidth = 800;
    view.m_iHeight = 600;
    view.m_dCursX = 2.0;
    view.m_dCursY = 3.0;
    // The handler moves the cursor, as a view that keeps points on a line would.
    view.onDown = [](Test2DView& v) { v.m_dCursY = 10.0; };
    double x = 1.0, y = 1.0;
    view.EnterCoord(x, y, true);
    double px = 3.0, py = 4.0;
    view.GetScreenCoord(px, py);
    ASSERT_EQ(view.clicks.size(), 2u);
    for (const TestClick& click : view.clicks) {
        EXPECT_EQ(click.point, CPoint(static_cast<int>(px), static_cast<int>(py)));
        EXPECT_EQ(click.flags, 0u);
        EXPECT_DOUBLE_EQ(click.x, 3.0);
        EXPECT_DOUBLE_EQ(click.y, 4.0);
    }
    EXPECT_TRUE(view.clicks[0].down);
    EXPECT_FALSE(view.clicks[1].down);
    EXPECT_DOUBLE_EQ(x, 3.0);
    EXPECT_DOUBLE_EQ(y, 10.0);

    // Absolute entry in 3D with z.
    Test3DView view3;
    view3.m_iWidth = 800;
    view3.m_iHeight = 600;
    view3.m_dCursX = 2.0;
    view3.m_dCursY = 3.0;
    view3.m_dCursZ = 4.0;
    double a = 1.0, b = 1.0, c = 1.0;
    view3.EnterCoord3D(a, b, c, true);
    ASSERT_EQ(view3.clicks.size(), 2u);
    EXPECT_DOUBLE_EQ(view3.clicks[0].x, 3.0);
    EXPECT_DOUBLE_EQ(view3.clicks[0].y, 4.0);
    EXPECT_DOUBLE_EQ(c, 5.0);
    EXPECT_DOUBLE_EQ(view3.m_dCursZ, 5.0);
}

TEST_F(CameraTest, TheViewAxisObjectsUseNoNodeNumbers)
{
    const auto before = CSNode::lIDnode;
    {
        Test2DView view2;
        Test3DView view3;
        EXPECT_EQ(CSNode::lIDnode, before);
        ASSERT_NE(view3.m_pViewAxis->GetZNode(), nullptr);
        EXPECT_EQ(view2.m_pViewAxis->GetZNode(), nullptr);
    }
    EXPECT_EQ(CSNode::lIDnode, before);
}

} // namespace
