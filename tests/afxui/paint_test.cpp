// A window's own painting on the headless backend: the paint context of
// WM_PAINT draws into the context the backend attached, and nowhere without
// one; Invalidate and UpdateWindow run OnPaint through the message queue.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/ui/headless/afxui_headless.h"
#include "tests/afxui/painting_window.h"

namespace
{

using afxui::headless::HeadlessApp;
using afxui_test::CPaintingWnd;

class PaintTest : public HeadlessApp
{
protected:
    void SetUp() override
    {
        HeadlessApp::SetUp();
        ASSERT_TRUE(wnd.Create(nullptr, "Paint", WS_VISIBLE, CRect(0, 0, 120, 80), nullptr, 0));
    }
    void TearDown() override
    {
        wnd.DestroyWindow();
        HeadlessApp::TearDown();
    }
    CPaintingWnd wnd;
};

TEST_F(PaintTest, PaintDrawsIntoTheAttachedContextOnly)
{
    RecordingDC expected;
    wnd.Draw(expected);

    RecordingDC attached;
    AfxAttachPaintDC(wnd.GetSafeHwnd(), &attached);
    wnd.UpdateWindow();
    AfxAttachPaintDC(wnd.GetSafeHwnd(), nullptr);
    EXPECT_EQ(attached.Calls(), expected.Calls());
    EXPECT_EQ(wnd.m_nPaintsWithContext, 1);

    // Without a context the paint runs and draws nothing.
    wnd.UpdateWindow();
    EXPECT_EQ(wnd.m_nPaints, 2);
    EXPECT_EQ(wnd.m_nPaintsWithContext, 1);
    EXPECT_EQ(attached.Calls().size(), expected.Calls().size());
    EXPECT_EQ(AfxGetPaintDC(wnd.GetSafeHwnd()), nullptr);
}

TEST_F(PaintTest, InvalidatePaintsAtTheNextPumpAndUpdateWindowAtOnce)
{
    wnd.Invalidate();
    EXPECT_EQ(wnd.m_nPaints, 0);
    PumpPosted();
    EXPECT_EQ(wnd.m_nPaints, 1);
    wnd.UpdateWindow();
    EXPECT_EQ(wnd.m_nPaints, 2);
}

} // namespace
