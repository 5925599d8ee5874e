// Busy mode on a display: during a fake run that calls progress points, the
// Stop button, Stop's menu item and Esc reach the program at the next pump;
// other buttons, menu items, view clicks and keys do nothing, a close
// request is refused with a beep, and views keep their last frame without
// drawing. Afterwards everything works again; scopes nest.
#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include "platform/afx/progress.h"
#include "platform/ui/qt/qtbusy.h"
#include "platform/ui/qt/tests/glviews_gui/glviews.h"

using namespace glviews;

namespace
{

using Clock = std::chrono::steady_clock;
constexpr UINT kOtherCommand = 1001;

QRgb Centre(const QImage& image)
{
    return image.isNull() ? 0 : image.pixel(image.width() / 2, image.height() / 2);
}

// The test's main window: counts the commands it receives.
class CommandWindow : public CWnd
{
public:
    int stops = 0;
    int others = 0;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_COMMAND) {
            (LOWORD(wParam) == AFX_ID_BUSY_STOP ? stops : others) += 1;
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

class BusyOnQt : public GLViewsOnQt
{
public:
    void SetUp() override
    {
        GLViewsOnQt::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        m_filter.emplace();
        auto window = std::make_unique<CommandWindow>();
        m_commands = window.get();
        ASSERT_TRUE(window->Create(nullptr, "Busy", WS_POPUP | WS_VISIBLE, CRect(40, 40, 560, 400), nullptr, 0));
        m_window = std::move(window);
        m_previousMain = AfxGetMainWnd();
        AfxSetMainWnd(m_window.get());
        QWidget* top = AfxQtWidgetOf(m_window.get());
        m_stopButton = Button(top, "Stop", AFX_ID_BUSY_STOP, 0);
        m_otherButton = Button(top, "Mesh", kOtherCommand, 80);
        m_menu = new QMenu(top);
        m_stopAction = Action("Stop", AFX_ID_BUSY_STOP);
        m_otherAction = Action("Mesh", kOtherCommand);
        top->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(top));
        Show(m_view, CRect(10, 40, 330, 280));
    }
    void TearDown() override
    {
        if (m_menu)
            m_menu->hide();
        AfxSetMainWnd(m_previousMain);
        m_view.DestroyWindow();
        GLViewsOnQt::TearDown();
        m_filter.reset();
    }

    // A button that sends its command to the main window, marked with it.
    QToolButton* Button(QWidget* parent, const char* text, UINT nID, int x)
    {
        auto* button = new QToolButton(parent);
        button->setText(text);
        button->setGeometry(x, 0, 70, 30);
        AfxQtSetCommandId(button, nID);
        QObject::connect(button, &QToolButton::clicked, [this, nID] { Send(nID); });
        button->show();
        return button;
    }
    QAction* Action(const char* text, UINT nID)
    {
        QAction* action = m_menu->addAction(text);
        AfxQtSetCommandId(action, nID);
        QObject::connect(action, &QAction::triggered, [this, nID] { Send(nID); });
        return action;
    }
    void Send(UINT nID)
    {
        AfxQtEntry([&] { m_window->SendMessage(WM_COMMAND, nID); });
    }
    void ChooseFromMenu(QAction* action)
    {
        m_menu->popup(AfxQtWidgetOf(m_window.get())->mapToGlobal(QPoint(200, 40)));
        (void)QTest::qWaitForWindowExposed(m_menu);
        QTest::mouseClick(m_menu, Qt::LeftButton, {}, m_menu->actionGeometry(action).center());
        m_menu->hide();
    }
    QWidget* ViewWidget() { return GLWidget(m_view); }
    void Repaint() { CQtGLHost::Of(m_view.GetSafeHwnd())->RepaintNow(); }
    int ViewInput() const
    {
        int n = 0;
        for (UINT m : m_view.messages)
            n += (m != WM_SETCURSOR && m != WM_MOUSEMOVE) ? 1 : 0;
        return n;
    }

    // A fake run of at most 5 s that calls progress points until Stop
    // arrives; the steps run from the layer's timers at their times (ms).
    // Returns when Stop was seen, measured from the start.
    double Run(const std::vector<std::pair<int, std::function<void()>>>& steps)
    {
        std::vector<QTimer*> timers;
        for (const auto& [ms, step] : steps) {
            auto* timer = new QTimer;
            timer->setSingleShot(true);
            QObject::connect(timer, &QTimer::timeout, step);
            timer->start(ms);
            timers.push_back(timer);
        }
        const Clock::time_point start = Clock::now();
        double seen = -1.0;
        {
            BusyScope busy;
            while (Clock::now() - start < std::chrono::seconds(5)) {
                afx::ProgressPoint();
                if (m_commands->stops > 0) {
                    seen = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
                    break;
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(2));
            }
        }
        qDeleteAll(timers);
        return seen;
    }

    CTestGLView m_view;
    CommandWindow* m_commands = nullptr;
    CWnd* m_previousMain = nullptr;
    std::optional<CQtBusyFilter> m_filter;
    QToolButton* m_stopButton = nullptr;
    QToolButton* m_otherButton = nullptr;
    QMenu* m_menu = nullptr;
    QAction* m_stopAction = nullptr;
    QAction* m_otherAction = nullptr;
};

TEST_F(BusyOnQt, StopReachesTheRunAndOtherInputIsSwallowed)
{
    struct Case {
        const char* name;
        std::function<void(BusyOnQt&)> stop;
    };
    const Case cases[] = {
        {"Stop button", [](BusyOnQt& t) { QTest::mouseClick(t.m_stopButton, Qt::LeftButton); }},
        {"Stop menu item", [](BusyOnQt& t) { t.ChooseFromMenu(t.m_stopAction); }},
        {"Esc on the view", [](BusyOnQt& t) { QTest::keyClick(t.ViewWidget(), Qt::Key_Escape); }},
    };
    constexpr int kStopAt = 800;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_commands->stops = m_commands->others = 0;
        m_view.messages.clear();
        const std::size_t beeps = m_env->Beeper().Beeps().size();
        const int draws = m_view.draws;
        const double seen = Run({
            {200, [this] { QTest::mouseClick(m_otherButton, Qt::LeftButton); }},
            {260, [this] { ChooseFromMenu(m_otherAction); }},
            {320, [this] { QTest::mouseClick(ViewWidget(), Qt::LeftButton, {}, QPoint(50, 50)); }},
            {380, [this] { QTest::keyClick(ViewWidget(), Qt::Key_A); }},
            {440, [this] { AfxQtWidgetOf(m_window.get())->close(); }},
            {500, [this] { ViewWidget()->update(); }},
            {kStopAt, [this, &c] { c.stop(*this); }},
        });
        ASSERT_GE(seen, 0.0) << "Stop never arrived";
        EXPECT_LE(seen - kStopAt, 200.0);
        EXPECT_EQ(m_commands->stops, 1);
        EXPECT_EQ(m_commands->others, 0);
        EXPECT_EQ(ViewInput(), 0);
        EXPECT_EQ(m_env->Beeper().Beeps().size(), beeps + 1) << "the close request beeps";
        EXPECT_TRUE(AfxQtWidgetOf(m_window.get())->isVisible()) << "the close request was refused";
        EXPECT_EQ(m_view.draws, draws) << "a busy view does not draw";
    }

    // Afterwards the same input works again.
    QTest::mouseClick(m_otherButton, Qt::LeftButton);
    ChooseFromMenu(m_otherAction);
    QTest::mouseClick(ViewWidget(), Qt::LeftButton, {}, QPoint(50, 50));
    EXPECT_EQ(m_commands->others, 2);
    EXPECT_GT(ViewInput(), 0);
}

TEST_F(BusyOnQt, ExposeRepaintsTheLastFrameWithoutDrawing)
{
    m_view.bg[0] = 0.0f, m_view.bg[1] = 1.0f, m_view.bg[2] = 0.0f;
    Repaint();
    ASSERT_GT(qGreen(Centre(Frame(m_view))), 200);
    {
        BusyScope busy;
        const int draws = m_view.draws;
        m_view.bg[1] = 0.0f, m_view.bg[0] = 1.0f; // a model change the frozen view must not show
        // Another window covers the view and goes: the view is exposed.
        QWidget cover;
        cover.setGeometry(AfxQtWidgetOf(m_window.get())->geometry());
        cover.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&cover));
        cover.hide();
        QTest::qWait(100);
        Repaint();
        const QRgb centre = Centre(Frame(m_view));
        EXPECT_GT(qGreen(centre), 200) << "the last frame";
        EXPECT_LT(qRed(centre), 60);
        EXPECT_EQ(m_view.draws, draws);
    }
    const int draws = m_view.draws;
    Repaint();
    ASSERT_TRUE(WaitFor([&] { return m_view.draws > draws; }));
    EXPECT_GT(qRed(Centre(Frame(m_view))), 200);
}

TEST_F(BusyOnQt, ScopesNestAndModalQuestionsStayAnswerable)
{
    const int depth = AfxGetWaitCursorDepth();
    {
        BusyScope outer;
        {
            BusyScope inner;
        }
        EXPECT_TRUE(AfxIsBusy());
        EXPECT_EQ(AfxGetWaitCursorDepth(), depth + 1);
        QTest::mouseClick(m_otherButton, Qt::LeftButton);
        EXPECT_EQ(m_commands->others, 0) << "the inner scope's end left busy mode on";

        // A question the run asks: its buttons take input.
        QMessageBox box(QMessageBox::Question, "Brantel", "Change to sparse storage?",
                        QMessageBox::Yes | QMessageBox::No, AfxQtWidgetOf(m_window.get()));
        QTimer::singleShot(100, &box, [&box] {
            QTest::mouseClick(box.button(QMessageBox::Yes), Qt::LeftButton);
        });
        EXPECT_EQ(box.exec(), QMessageBox::Yes);
    }
    EXPECT_FALSE(AfxIsBusy());
    EXPECT_EQ(AfxGetWaitCursorDepth(), depth);
    QTest::mouseClick(m_otherButton, Qt::LeftButton);
    EXPECT_EQ(m_commands->others, 1);
}

} // namespace
