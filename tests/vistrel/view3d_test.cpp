// The 3D view: angles and the view axis object, the rotation centre, the
// projections, fit-to-view, coordinates through the turned model plane,
// the rotating mouse, and the 2D mode that behaves as the 2D view.
#include <cmath>
#include <numeric>

#include <GL/glu.h>

#include "tests/vistrel/test_views.h"

namespace {

class View3DTest : public GraphViewTest {
protected:
    // Every pixel of the frame, for comparing two frames.
    static std::vector<Rgba> Frame(const ViewDriver& driver, int w = 800, int h = 600)
    {
        std::vector<Rgba> pixels;
        pixels.reserve(static_cast<std::size_t>(w) * h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                pixels.push_back(driver.Pixel(x, y));
        return pixels;
    }

    static TestQuad Marker(double x, double y, double half)
    {
        TestQuad q;
        q.name = 1;
        q.x1 = x - half;
        q.y1 = y - half;
        q.x2 = x + half;
        q.y2 = y + half;
        return q;
    }

    static std::array<double, 6> AxisNodes(const COGL3DView& view)
    {
        const CSNode* x = view.m_pViewAxis->GetXNode();
        const CSNode* z = view.m_pViewAxis->GetZNode();
        return {x->x, x->y, x->z, z->x, z->y, z->z};
    }
};

TEST_F(View3DTest, AnglesWrapAtAFullTurnAndTurnTheAxisObject)
{
    Test3DView view;
    view.Rotate(0, 30);
    view.Rotate(1, -45);
    view.Rotate(2, 60);
    EXPECT_EQ((std::array<double, 3>{view.m_dAngX, view.m_dAngY, view.m_dAngZ}),
              (std::array<double, 3>{30, -45, 60}));
    view.Rotate(3, 720);
    EXPECT_EQ((std::array<double, 3>{view.m_dAngX, view.m_dAngY, view.m_dAngZ}), (std::array<double, 3>{0, 0, 0}));
    EXPECT_EQ(AxisNodes(view), (std::array<double, 6>{1, 0, 0, 0, 0, 1}));
    view.Rotate(0, 350);
    view.Rotate(0, 10);
    view.Rotate(1, -360);
    view.Rotate(2, 359);
    EXPECT_EQ((std::array<double, 3>{view.m_dAngX, view.m_dAngY, view.m_dAngZ}), (std::array<double, 3>{0, 0, 359}));

    // Restored angles orient the axis object exactly as SetAngles does.
    Test3DView turned, restored;
    turned.SetAngles(90, 0, 0);
    double params[15] = {};
    restored.SetViewParam(params, true);
    params[8] = 90.0;
    params[9] = params[10] = 0.0;
    EXPECT_EQ(restored.SetViewParam(params, false), 15);
    EXPECT_EQ(AxisNodes(restored), AxisNodes(turned));
    EXPECT_NE(AxisNodes(restored), (std::array<double, 6>{1, 0, 0, 0, 0, 1}));
}

TEST_F(View3DTest, ViewParametersAppendTheAnglesCentreAndModes)
{
    Test3DView view;
    view.SetAngles(10, 20, 30);
    view.m_dRotCentX = -4;
    view.m_dRotCentY = 6;
    view.m_bOrtho = false;
    view.m_dScale = 3;
    ASSERT_EQ(view.GetNumViewParams(), 15);
    double saved[15] = {};
    EXPECT_EQ(view.SetViewParam(saved, true), 15);
    EXPECT_EQ(saved[3], 3.0);
    const double own[7] = {10, 20, 30, -4, 6, 1, 0};
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(saved[8 + i], own[i]) << i;
    Test3DView other;
    other.SetViewParam(saved, false);
    EXPECT_EQ(AxisNodes(other), AxisNodes(view));
    EXPECT_FALSE(other.m_bOrtho);
    EXPECT_TRUE(other.m_b3D);
    EXPECT_DOUBLE_EQ(other.m_dRotCentY, 6.0);
    double transform[6];
    other.GetViewTransform(transform);
    const double expected[6] = {0, 0, 0, 10, 20, 30};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(transform[i], expected[i]);
}

TEST_F(View3DTest, ScreenCoordinatesMatchTheDrawnPictureAndRoundTrip)
{
    struct Case {
        bool is3D;
        double ax, ay, az, rcx, rcy, cx, cy;
    };
    const Case cases[] = {
        {true, 0, 0, 0, 0, 0, 0, 0},       {true, 30, -20, 15, 0, 0, 10, -4},
        {true, 30, -20, 15, 5, -3, 10, -4}, {true, -50, 10, 170, -20, 12, -30, 25},
        {false, 30, -20, 15, 5, -3, 10, -4},
    };
    for (const Case& c : cases) {
        Test3DView view;
        auto driver = Host(view);
        view.m_b3D = c.is3D;
        view.SetAngles(c.ax, c.ay, c.az);
        view.m_dRotCentX = c.rcx;
        view.m_dRotCentY = c.rcy;
        view.m_dCentX = c.cx;
        view.m_dCentY = c.cy;
        for (const auto& p : {std::array<double, 2>{40, 30}, std::array<double, 2>{-90, 55}}) {
            view.quads = {Marker(p[0], p[1], 3.0)};
            driver->Draw();
            double x = p[0], y = p[1];
            view.GetScreenCoord(x, y);
            EXPECT_TRUE(IsColour(driver->Pixel(static_cast<int>(x), static_cast<int>(y)), 255, 0, 0))
                << "angles " << c.ax << " " << c.ay << " " << c.az << " rc " << c.rcx << " 3D " << c.is3D << " at "
                << x << "," << y;
            view.GetRealCoord(x, y, false);
            // Within a pixel, stretched by the tilt of the model plane.
            EXPECT_NEAR(x, p[0], 2.0);
            EXPECT_NEAR(y, p[1], 2.0);
        }
    }
}

TEST_F(View3DTest, SetRotCentTurnsAboutTheNewPointWithoutMovingThePicture)
{
    Test3DView view;
    auto driver = Host(view);
    view.SetAngles(25, -35, 10);
    view.quads = {Marker(40, 30, 20), Marker(-100, -60, 10)};
    driver->Draw();
    const std::vector<Rgba> before = Frame(*driver);
    double px = 40, py = 30;
    view.GetScreenCoord(px, py);

    view.SetRotCent(40, 30);
    EXPECT_DOUBLE_EQ(view.m_dRotCentX, -40.0);
    EXPECT_DOUBLE_EQ(view.m_dRotCentY, -30.0);
    driver->Draw();
    EXPECT_TRUE(Frame(*driver) == before);
    double qx = 40, qy = 30;
    view.GetScreenCoord(qx, qy);
    EXPECT_EQ(qx, px);
    EXPECT_EQ(qy, py);
    // Turning now keeps the new centre's pixel.
    view.Rotate(1, 40);
    view.GetScreenCoord(qx = 40, qy = 30);
    EXPECT_NEAR(qx, px, 1.0);
    EXPECT_NEAR(qy, py, 1.0);

    // The rotation-centre tool does the same at the clicked point and goes
    // on to rotating.
    view.m_iTool = VIEWTOOL_ROTCENTRE;
    driver->Down(300, 350);
    EXPECT_EQ(view.m_iTool, VIEWTOOL_ROTATE);
    EXPECT_DOUBLE_EQ(view.m_dRotCentX, -view.m_dCursX);
    EXPECT_DOUBLE_EQ(view.m_dRotCentY, -view.m_dCursY);
    double cx = view.m_dCursX, cy = view.m_dCursY;
    view.GetScreenCoord(cx, cy);
    EXPECT_NEAR(cx, 300, 1.0);
    EXPECT_NEAR(cy, 350, 1.0);
    driver->Up(300, 350);
}

TEST_F(View3DTest, GetRealCoordGivesTheOriginWhenTheModelPlaneIsEdgeOn)
{
    Test3DView view;
    view.m_iWidth = 800;
    view.m_iHeight = 600;
    view.SetAngles(90, 0, 0);
    double x = 123, y = 45;
    view.GetRealCoord(x, y, false);
    EXPECT_EQ(x, 0.0);
    EXPECT_EQ(y, 0.0);
}

TEST_F(View3DTest, TheOrthographicDepthRangeIsTwentyTimesTheLargestExtent)
{
    struct Case {
        std::array<double, 6> extents; // x max, y max, x min, y min, z max, z min
        double half[2];
        double e;
    };
    const Case cases[] = {
        {{0, 0, 0, 0, 0, 0}, {400, 300}, 400},    {{10, 20, -30, -5, 2, -1}, {4, 3}, 30},
        {{1, 2, 0, 0, 0, -50}, {4, 3}, 50},      {{1, 2, 0, 0, 70, 0}, {4, 3}, 70},
        {{1, 2, 0, -90, 0, 0}, {4, 3}, 90},      {{1, 2, 0, 0, 0, 0}, {4, 9}, 9},
    };
    Test3DView view;
    auto driver = Host(view);
    GLCurrentScope scope(driver->Surface());
    ASSERT_TRUE(scope.Ok());
    for (const Case& c : cases) {
        view.m_dXMax = c.extents[0];
        view.m_dYMax = c.extents[1];
        view.m_dXMin = c.extents[2];
        view.m_dYMin = c.extents[3];
        view.m_dZMax = c.extents[4];
        view.m_dZMin = c.extents[5];
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        view.SetViewVolume(c.half[0], c.half[1]);
        double m[16];
        glGetDoublev(GL_PROJECTION_MATRIX, m);
        // glOrtho: m[10] = -2 / (far - near) with far - near = 40 e.
        // (The matrix is kept in floats.)
        EXPECT_NEAR(-2.0 / m[10] / 40.0, c.e, 1e-6 * c.e);
        EXPECT_NEAR(m[14], 0.0, 1e-7);
        EXPECT_NEAR(m[0], 1.0 / c.half[0], 1e-6 / c.half[0]);
    }
    glMatrixMode(GL_MODELVIEW);
}

TEST_F(View3DTest, PerspectiveZoomMovesTheEyeAndKeepsTheFarPlaneBeyondOne)
{
    Test3DView view;
    view.m_bOrtho = false;
    EXPECT_TRUE(view.ZoomIn(2.0));
    EXPECT_DOUBLE_EQ(view.m_dEyeDist, 5.0);
    EXPECT_DOUBLE_EQ(view.m_dFar, 9995.0);
    EXPECT_DOUBLE_EQ(view.m_dScale, 4.0);
    EXPECT_TRUE(view.ZoomOut(4.0));
    EXPECT_DOUBLE_EQ(view.m_dEyeDist, 20.0);
    EXPECT_DOUBLE_EQ(view.m_dFar, 10010.0);
    // A far plane close behind the eye: zooming in never brings it below 1.
    view.m_dEyeDist = 10.0;
    view.m_dFar = 12.0;
    double eye = view.m_dEyeDist;
    for (int i = 0; i < 60; ++i) {
        view.ZoomIn(1.5);
        EXPECT_LT(view.m_dEyeDist, eye);
        eye = view.m_dEyeDist;
        EXPECT_GE(view.m_dFar, 1.0);
    }
    // Orthographic zoom is the 2D one.
    view.m_bOrtho = true;
    view.ZoomIn(2.0);
    EXPECT_DOUBLE_EQ(view.m_dScale, 8.0);
}

TEST_F(View3DTest, ZoomToFitFramesTheTurnedBox)
{
    struct Case {
        bool ortho;
        double az;
        std::array<double, 6> extents; // x max, y max, x min, y min, z max, z min
        double scale, eye, far, cx, cy;
    };
    const double eye = 110.0 * 0.9 / std::tan(15.0 * 0.017453292519943295);
    const Case cases[] = {
        // 100 x 50 widened to 110 x 55: the width decides.
        {true, 0, {100, 50, 0, 0, 0, 0}, 1600.0 / 110.0, 10.0, 10000.0, -50, -25},
        // Turned a quarter about z: 50 x 100, the height decides.
        {true, 90, {100, 50, 0, 0, 0, 0}, 1200.0 / 110.0, 10.0, 10000.0, 25, -50},
        // Perspective: the eye from the larger side, the far plane behind
        // twice the largest coordinate of the widened box.
        {false, 0, {100, 50, 0, 0, 10, 0}, 2.0, eye, eye + 210.0, -50, -25},
        // A box of no size keeps the zoom and only centres.
        {true, 0, {5, 5, 5, 5, 0, 0}, 2.0, 10.0, 10000.0, -5, -5},
        {false, 0, {5, 5, 5, 5, 0, 0}, 2.0, 10.0, 10000.0, -5, -5},
    };
    for (const Case& c : cases) {
        Test3DView view;
        view.m_iWidth = 800;
        view.m_iHeight = 600;
        view.m_dScale = 2.0;
        view.m_bOrtho = c.ortho;
        view.SetAngles(0, 0, c.az);
        view.extents = {c.extents[0], c.extents[1], c.extents[2], c.extents[3]};
        view.m_dZMax = c.extents[4];
        view.m_dZMin = c.extents[5];
        view.ZoomToFit();
        EXPECT_NEAR(view.m_dScale, c.scale, 1e-9) << c.ortho << " " << c.az;
        EXPECT_NEAR(view.m_dEyeDist, c.eye, 1e-9);
        EXPECT_NEAR(view.m_dFar, c.far, 1e-9);
        EXPECT_NEAR(view.m_dCentX, c.cx, 1e-9);
        EXPECT_NEAR(view.m_dCentY, c.cy, 1e-9);
        EXPECT_TRUE(std::isfinite(view.m_dScale) && view.m_dScale > 0.0);
    }
    // All extents 0: nothing changes.
    Test3DView view;
    view.m_dCentX = 7.0;
    view.ZoomToFit();
    EXPECT_EQ(view.m_dCentX, 7.0);
    EXPECT_EQ(view.m_dScale, 4.0);
}

TEST_F(View3DTest, DraggingInTheRotateToolTurnsByHalfThePixels)
{
    Test3DView view;
    auto driver = Host(view);
    view.m_iTool = VIEWTOOL_ROTATE;
    driver->Down(400, 300);
    struct Step {
        CPoint to;
        UINT flags;
        std::array<double, 3> angles;
    };
    const Step steps[] = {
        {CPoint(400, 310), MK_LBUTTON, {5, 0, 0}},
        {CPoint(403, 313), MK_LBUTTON, {5, 0, 0}},   // 3 pixels: no turn
        {CPoint(420, 310), MK_LBUTTON, {5, 10, 0}},
        {CPoint(440, 310), MK_RBUTTON, {5, 10, 10}}, // the right button turns about z
    };
    for (const Step& s : steps) {
        driver->Move(s.to.x, s.to.y, s.flags);
        EXPECT_EQ((std::array<double, 3>{view.m_dAngX, view.m_dAngY, view.m_dAngZ}), s.angles)
            << s.to.x << "," << s.to.y;
    }
    // The pan tool turns with Ctrl held.
    view.m_iTool = VIEWTOOL_PAN;
    view.m_LastPoint = CPoint(440, 310);
    driver->Move(440, 330, MK_LBUTTON | MK_CONTROL);
    EXPECT_EQ(view.m_dAngX, 15.0);
    // Without 3D the rotate tool does not turn.
    view.m_b3D = false;
    view.m_iTool = VIEWTOOL_ROTATE;
    driver->Move(440, 360, MK_LBUTTON);
    EXPECT_EQ(view.m_dAngX, 15.0);
}

TEST_F(View3DTest, CursorsOfTheToolModes)
{
    AfxCursorResource normal, point, rotate, pan;
    COGL2DView::m_hNormalCursor = &normal;
    COGL2DView::m_hPointCursor = &point;
    COGL2DView::m_hRotateCursor = &rotate;
    COGL2DView::m_hPanCursor = &pan;
    struct Case {
        bool is3D;
        int tool;
        HVIEWCURSOR shown;
    };
    const Case cases[] = {
        {true, VIEWTOOL_NORMAL, &normal},    {true, VIEWTOOL_ROTCENTRE, &point}, {true, VIEWTOOL_ROTATE, &rotate},
        {true, VIEWTOOL_PAN, &pan},          {true, VIEWTOOL_ZOOMDYN, nullptr},  {false, VIEWTOOL_ROTATE, &normal},
    };
    for (const Case& c : cases) {
        Test3DView view;
        auto driver = Host(view);
        view.m_iTool = VIEWTOOL_NORMAL;
        driver->Move(100, 100);
        view.m_b3D = c.is3D;
        view.m_iTool = c.tool;
        driver->Move(120, 100);
        EXPECT_EQ(view.GetViewCursor(), c.shown) << "tool " << c.tool << " 3D " << c.is3D;
    }
    COGL2DView::m_hNormalCursor = COGL2DView::m_hPointCursor = COGL2DView::m_hRotateCursor = nullptr;
    COGL2DView::m_hPanCursor = nullptr;
}

TEST_F(View3DTest, WithoutThe3DFlagTheViewIsThe2DView)
{
    Test2DView flat;
    Test3DView view;
    // 2D from the start: the grid's line width follows the width the
    // context was left with.
    view.m_b3D = false;
    auto flatDriver = Host(flat);
    auto driver = Host(view);
    view.SetAngles(30, 40, 50);
    for (COGL2DView* v : {static_cast<COGL2DView*>(&flat), static_cast<COGL2DView*>(&view)}) {
        v->m_bShowAxis = true;
        v->m_bShowGrid = true;
        v->SetSnapSpace(25.0, false);
        v->SetSnapOn(true);
        v->m_dCentX = 12.0;
        v->m_dCentY = -8.0;
        v->m_dCursX = 50.0;
        v->m_dCursY = 75.0;
        v->InvalidateList();
    }
    flat.quads = view.quads = {Marker(40, 30, 20), Marker(-100, -60, 10)};
    flatDriver->Draw();
    driver->Draw();
    EXPECT_TRUE(Frame(*driver) == Frame(*flatDriver));
    for (const CPoint p : {CPoint(0, 0), CPoint(333, 444), CPoint(799, 599)}) {
        double x2 = p.x, y2 = p.y, x3 = p.x, y3 = p.y;
        flat.GetRealCoord(x2, y2, true);
        view.GetRealCoord(x3, y3, true);
        EXPECT_EQ(x3, x2);
        EXPECT_EQ(y3, y2);
        flat.GetScreenCoord(x2, y2);
        view.GetScreenCoord(x3, y3);
        EXPECT_EQ(x3, x2);
        EXPECT_EQ(y3, y2);
    }
    flat.extents = view.extents = {100, 50, -20, 0};
    flat.ZoomToFit();
    view.ZoomToFit();
    EXPECT_EQ(view.m_dScale, flat.m_dScale);
    EXPECT_EQ(view.m_dCentX, flat.m_dCentX);
    // With a rotation centre the fit takes it off the centre, so the
    // model lands where it does in the 2D view.
    view.m_dRotCentX = 5.0;
    view.m_dRotCentY = -2.0;
    view.ZoomToFit();
    EXPECT_EQ(view.m_dCentX, flat.m_dCentX - 5.0);
    EXPECT_EQ(view.m_dCentY, flat.m_dCentY + 2.0);
    double x2 = 40, y2 = 30, x3 = 40, y3 = 30;
    flat.GetScreenCoord(x2, y2);
    view.GetScreenCoord(x3, y3);
    EXPECT_EQ(x3, x2);
    EXPECT_EQ(y3, y2);
}

TEST_F(View3DTest, The3DSceneDrawsTheTriadAndTheModelCursor)
{
    Test3DView view;
    auto driver = Host(view);
    // The triad at the centre: its x arm is red.
    int red = 0;
    for (int x = 400; x < 480; ++x)
        red += driver->Pixel(x, 300)[0] > 128;
    EXPECT_GT(red, 10);
    // The cursor in model units: snapping on, tool 0, a cross in the
    // inverse of the background around the cursor's pixel.
    view.SetSnapSpace(1.0, false);
    view.SetSnapOn(true);
    view.m_dCursX = -100.0;
    view.m_dCursY = -80.0;
    view.SetAngles(0, 0, 0);
    driver->Draw();
    double x = -100, y = -80;
    view.GetScreenCoord(x, y);
    // w = 3 / scale = 1.5 model units = 1.5 pixels: arms from 4.5 to 21 pixels.
    EXPECT_TRUE(IsColour(driver->Pixel(static_cast<int>(x) + 12, static_cast<int>(y)), 255, 255, 255));
    // The vertical arm lies on the border between two pixel columns.
    EXPECT_TRUE(IsColour(driver->Pixel(static_cast<int>(x), static_cast<int>(y) - 12), 255, 255, 255) ||
                IsColour(driver->Pixel(static_cast<int>(x) - 1, static_cast<int>(y) - 12), 255, 255, 255));
    EXPECT_TRUE(IsColour(driver->Pixel(static_cast<int>(x), static_cast<int>(y)), 0, 0, 0));
}

} // namespace
