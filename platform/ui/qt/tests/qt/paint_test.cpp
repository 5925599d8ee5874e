// A window's own painting on the Qt peers: OnPaint's drawing reaches the
// widget through a QPainter pixel for pixel as the memory context draws the
// same calls, repaints run inside the widget's paint event, and mouse
// presses on the window reach its handlers; a group box's frame line runs
// through its title.
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <QImage>
#include <QTest>

#include "platform/ui/core/afxui.h"
#include "platform/ui/qt/afxui_qt.h"
#include "platform/ui/qt/testing/qttesting.h"
#include "tests/afxui/painting_window.h"

namespace
{

using afxui::qt::testing::BackendScope;
using afxui::qt::testing::TestApplication;
using afxui_test::CPaintingWnd;

class QtPaint : public ::testing::Test
{
protected:
    void SetUp() override
    {
        TestApplication();
        m_backend.emplace();
        ASSERT_TRUE(m_wnd.Create(nullptr, "Paint", WS_VISIBLE, CRect(0, 0, 120, 80), nullptr, 0));
        m_widget = AfxQtWidgetOf(&m_wnd);
        ASSERT_NE(m_widget, nullptr);
    }
    void TearDown() override
    {
        m_wnd.DestroyWindow();
        m_backend.reset();
    }

    std::optional<BackendScope> m_backend;
    CPaintingWnd m_wnd;
    QWidget* m_widget = nullptr;
};

TEST_F(QtPaint, TheWidgetShowsWhatTheMemoryContextDrawsForTheSameCalls)
{
    // The same calls on a memory picture over a colour the drawing never uses.
    constexpr COLORREF kUntouched = RGB(1, 2, 3);
    CImageDC memory;
    memory.CreatePicture(120, 80);
    CPen none(PS_NULL, 0, 0);
    CBrush untouched(kUntouched);
    memory.SelectObject(&none);
    memory.SelectObject(&untouched);
    memory.Rectangle(0, 0, 120, 80);
    m_wnd.Draw(memory);

    const QImage shown = m_widget->grab().toImage();
    ASSERT_GE(shown.width(), 100);
    ASSERT_GE(shown.height(), 60);
    int compared = 0;
    for (int y = 0; y < 38; ++y)
        for (int x = 0; x < 100; ++x) {
            const COLORREF want = memory.Pixel(x, y);
            if (want == kUntouched)
                continue;
            ++compared;
            ASSERT_EQ(shown.pixelColor(x, y), QColor(GetRValue(want), GetGValue(want),
                                                     GetBValue(want)))
                << x << "," << y;
        }
    EXPECT_GT(compared, 30 * 20 + 40 + 20 * 10 - 1); // rectangle, line and picture
    // Outside the drawing the window keeps its background.
    const QColor background = shown.pixelColor(110, 70);
    EXPECT_EQ(shown.pixelColor(40, 10), background); // right edge left out
    EXPECT_EQ(shown.pixelColor(90, 12), background); // the line's end point left out
    // The text stands in its cell below the rectangle.
    bool text = false;
    for (int y = 40; y < 56 && !text; ++y)
        for (int x = 10; x < 50 && !text; ++x)
            text = shown.pixelColor(x, y) != background;
    EXPECT_TRUE(text);
}

TEST_F(QtPaint, RepaintsRunInsideThePaintEventAndClicksReachTheWindow)
{
    ASSERT_TRUE(QTest::qWaitForWindowExposed(m_widget));
    const int before = m_wnd.m_nPaintsWithContext;
    m_wnd.UpdateWindow();
    EXPECT_EQ(m_wnd.m_nPaintsWithContext, before + 1);
    EXPECT_EQ(m_wnd.m_nPaints, m_wnd.m_nPaintsWithContext); // never without a painter

    QTest::mouseClick(m_widget, Qt::LeftButton, Qt::ControlModifier, QPoint(30, 40));
    EXPECT_EQ(m_wnd.m_clicks, std::vector<std::string>{"down 9 30,40"});
}

TEST(QtGroupBox, TheFrameLineRunsThroughTheTitle)
{
    TestApplication();
    BackendScope backend;
    DialogTemplate t;
    t.nID = 9501;
    t.strCaption = "Group";
    t.size = CSize(120, 60);
    t.Add(AfxDialogControl(IDC_STATIC, AfxCtl::groupBox, "Node ID", CRect(5, 5, 115, 50),
                           WS_VISIBLE));
    CWnd window;
    ASSERT_TRUE(AfxCreateFromTemplate(window, t, nullptr));
    QWidget* group = AfxQtWidgetOf(AfxGetChildStates(window.GetSafeHwnd()).front()->pOwner);
    const QImage shown = group->grab().toImage();
    const QColor background = shown.pixelColor(shown.width() / 2, shown.height() / 2);
    // Right of the title, the first drawn row is the frame's top line: inside
    // the title's line of text, so controls just below the title are inside.
    int line = -1;
    for (int y = 0; y < shown.height() && line < 0; ++y)
        if (shown.pixelColor(shown.width() - 10, y) != background)
            line = y;
    EXPECT_GE(line, 1);
    EXPECT_LT(line, group->fontMetrics().height());
    window.DestroyWindow();
}

} // namespace
