// The graph views in the QOpenGLWidget host on a display: the wheel zooms,
// the horizontal scroll bar moves the centre, a pick at a device pixel
// ratio of 1.5 finds the quad under the mouse, and the cursor follows the
// tool mode.
#include <QScrollBar>
#include <QStyleOptionSlider>
#include <QTest>
#include <QWheelEvent>

#include "graphview/vistrel.h"
#include "platform/ui/qt/tests/glviews_gui/glviews.h"

using namespace glviews;

namespace
{

// A 2D view with two named quads; a left click picks at its point.
class CGuiGraphView : public COGL2DView
{
public:
    int draws = 0;
    DWORD picked = 0;

    bool Make(CWnd& parent, CRect rect, DWORD style)
    {
        return Create(nullptr, "", WS_CHILD | WS_VISIBLE | style, rect, &parent, 1) != FALSE;
    }
    void InitialUpdate() { OnInitialUpdate(); }
    void TruncateCursor() override {}
    void FindModelExtents() override {}
    void OnDrawOGL(CRect rect) override
    {
        ++draws;
        COGL2DView::OnDrawOGL(rect);
    }
    bool DrawDynamicScene() override
    {
        COGL2DView::DrawDynamicScene();
        Quads(false);
        return true;
    }
    bool DynamicPickDraw(unsigned) override
    {
        Quads(true);
        return true;
    }
    bool LeftButtonDown(unsigned, double, double, CPoint point) override
    {
        picked = PickObject(point.x, point.y, 0, 3.0f, 0xFFFFFFFF, 0, nullptr);
        return false;
    }
    void PostNcDestroy() override {}

    // Model quads of 20 x 20 units around (-40, 0) and (40, 0).
    static void Quads(bool names)
    {
        for (const GLuint name : {7u, 8u}) {
            const double x = name == 7u ? -40.0 : 40.0;
            if (names)
                glLoadName(name);
            glColor3f(1.0f, 0.0f, 0.0f);
            glRectd(x - 10.0, -10.0, x + 10.0, 10.0);
        }
    }
};

class GraphViewsOnQt : public GLViewsOnQt
{
protected:
    void Show(CGuiGraphView& view, CRect rect, DWORD style = 0)
    {
        if (!m_window)
            Window();
        ASSERT_TRUE(view.Make(*m_window, rect, style));
        view.InitialUpdate();
        ASSERT_NE(GLWidget(view), nullptr);
        AfxQtWidgetOf(&view)->show();
        ASSERT_TRUE(WaitFor([&] { return view.draws > 0; })) << "the view never drew";
        view.m_dScale = 2.0;
    }
};

constexpr const char* kScaledChild = "BRANTEL_GRAPHVIEWS_SCALED";

} // namespace

TEST_F(GraphViewsOnQt, AWheelTurnAwayFromTheUserZoomsInByOneAndAFifth)
{
    CGuiGraphView view;
    Show(view, CRect(10, 10, 310, 210));
    QOpenGLWidget* gl = GLWidget(view);
    const QPoint at(100, 80);
    QWheelEvent wheel(QPointF(at), QPointF(gl->mapToGlobal(at)), QPoint(), QPoint(0, 120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(gl, &wheel);
    EXPECT_DOUBLE_EQ(view.m_dScale, 2.0 * 1.2);
}

TEST_F(GraphViewsOnQt, DraggingTheHorizontalScrollBarMovesTheCentre)
{
    CGuiGraphView view;
    Show(view, CRect(10, 10, 310, 210), WS_HSCROLL | WS_VSCROLL);
    QScrollBar* bar = nullptr;
    for (QScrollBar* b : AfxQtWidgetOf(&view)->findChildren<QScrollBar*>())
        if (b->orientation() == Qt::Horizontal)
            bar = b;
    ASSERT_NE(bar, nullptr);
    ASSERT_TRUE(WaitFor([&] { return bar->isVisible() && bar->maximum() == 800; }));
    QStyleOptionSlider option;
    option.initFrom(bar);
    option.orientation = Qt::Horizontal;
    option.minimum = bar->minimum();
    option.maximum = bar->maximum();
    option.sliderPosition = option.sliderValue = bar->value();
    option.pageStep = bar->pageStep();
    option.singleStep = bar->singleStep();
    const QRect handle = bar->style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, bar);
    ASSERT_TRUE(handle.isValid());
    QTest::mousePress(bar, Qt::LeftButton, Qt::NoModifier, handle.center());
    QTest::mouseMove(bar, handle.center() + QPoint(40, 0));
    QTest::mouseRelease(bar, Qt::LeftButton, Qt::NoModifier, handle.center() + QPoint(40, 0));
    const int pos = view.GetScrollPos(SB_HORZ);
    EXPECT_GT(pos, 0);
    EXPECT_NE(view.m_dCentX, 0.0);
    EXPECT_DOUBLE_EQ(view.m_dCentX, (2.0 * pos / 800 - 1.0) * -100000.0);
}

TEST_F(GraphViewsOnQt, APickAtADevicePixelRatioOfOneAndAHalfFindsTheQuadUnderTheMouse)
{
    if (qEnvironmentVariableIsSet(kScaledChild)) {
        ASSERT_DOUBLE_EQ(qApp->devicePixelRatio(), 1.5);
        CGuiGraphView view;
        Show(view, CRect(10, 10, 210, 160));
        EXPECT_EQ(view.m_iWidth, 300);
        EXPECT_EQ(view.m_iHeight, 225);
        view.Invalidate(FALSE);
        QTest::qWait(50);
        Save(Frame(view), "graphview-pick-dpr15.png");
        for (const auto& [name, modelX] : {std::pair<DWORD, double>{8, 40.0}, std::pair<DWORD, double>{7, -40.0}}) {
            double x = modelX, y = 0.0;
            view.GetScreenCoord(x, y); // device pixels
            const QPoint logical(qRound(x / 1.5), qRound(y / 1.5));
            QOpenGLWidget* gl = GLWidget(view);
            QTest::mouseClick(gl->window()->windowHandle(), Qt::LeftButton, Qt::NoModifier,
                              gl->mapTo(gl->window(), logical));
            EXPECT_EQ(view.picked, name);
        }
        return;
    }
    // Qt's scale is fixed per process: the check runs in a child.
    RunScaledChild(kScaledChild, "GraphViewsOnQt.APickAtADevicePixelRatioOfOneAndAHalfFindsTheQuadUnderTheMouse");
}

TEST_F(GraphViewsOnQt, TheCursorChangesWithTheToolMode)
{
    const auto* normal = AfxFindResource<AfxCursorResource>(27044);
    const auto* pan = AfxFindResource<AfxCursorResource>(27041);
    ASSERT_NE(normal, nullptr);
    ASSERT_NE(pan, nullptr);
    COGL2DView::m_hNormalCursor = normal;
    COGL2DView::m_hPanCursor = pan;
    // The Qt cursors over the scripted service of the fixture.
    CQtCursor cursors;
    CCursorService* scripted = AfxSetCursorService(&cursors);
    CGuiGraphView view;
    Show(view, CRect(10, 10, 310, 210));
    QOpenGLWidget* gl = GLWidget(view);
    QWindow* window = gl->window()->windowHandle();
    struct Step {
        int tool;
        const AfxCursorResource* cursor;
    };
    const Step steps[] = {{VIEWTOOL_NORMAL, normal}, {VIEWTOOL_PAN, pan}, {VIEWTOOL_POINT, nullptr}, {VIEWTOOL_NORMAL, normal}};
    int x = 100;
    for (const Step& s : steps) {
        view.m_iTool = s.tool;
        x += 10;
        QTest::mouseMove(window, gl->mapTo(gl->window(), QPoint(x, 80)));
        ASSERT_TRUE(WaitFor([&] { return view.GetViewCursor() == s.cursor; })) << "tool " << s.tool;
        if (s.cursor == nullptr) {
            EXPECT_EQ(gl->cursor().shape(), Qt::ArrowCursor) << "tool " << s.tool;
        } else {
            EXPECT_EQ(gl->cursor().shape(), Qt::BitmapCursor) << "tool " << s.tool;
            EXPECT_EQ(gl->cursor().hotSpot(), QPoint(s.cursor->xHotSpot, s.cursor->yHotSpot)) << "tool " << s.tool;
        }
    }
    AfxSetCursorService(scripted);
    COGL2DView::m_hNormalCursor = COGL2DView::m_hPanCursor = nullptr;
}
