#include "platform/ui/qt/tests/glviews_gui/glviews.h"

#include <QProcess>
#include <QTest>

namespace glviews
{

void Rect2D(CRect viewport, int x0, int y0, int x1, int y1, float r, float g, float b)
{
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, viewport.Width(), 0, viewport.Height(), -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glColor3f(r, g, b);
    glRecti(x0, y0, x1, y1);
}

QOpenGLWidget* GLWidget(CWnd& view)
{
    CQtGLHost* host = CQtGLHost::Of(view.GetSafeHwnd());
    return host ? host->GLWidget() : nullptr;
}

bool WaitFor(const std::function<bool()>& done)
{
    return afxui::qt::testing::WaitUntil(done);
}

void RunScaledChild(const char* marker, const char* test)
{
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_SCALE_FACTOR", "1.5");
    env.insert(marker, "1");
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(), {QString("--gtest_filter=") + test});
    ASSERT_TRUE(child.waitForFinished(60000));
    const QByteArray output = child.readAll();
    EXPECT_EQ(child.exitCode(), 0) << output.toStdString();
    EXPECT_TRUE(output.contains("[  PASSED  ] 1 test")) << output.toStdString();
}

void GLViewsOnQt::SetUp()
{
    AFXUI_QT_NEED_DISPLAY();
    afxui::qt::testing::TestApplication();
    COGLRenderer::ResetStaticsForTesting();
    COGLView::ResetStaticsForTesting();
    m_backend.emplace();
    m_env.emplace(m_backend->Backend());
    m_gl.emplace();
}

void GLViewsOnQt::TearDown()
{
    if (m_window)
        m_window->DestroyWindow();
    m_window.reset();
    QCoreApplication::processEvents();
    m_gl.reset();
    if (m_env)
        m_env->Verify();
    m_env.reset();
    m_backend.reset();
    COGLRenderer::ResetStaticsForTesting();
    COGLView::ResetStaticsForTesting();
}

CWnd& GLViewsOnQt::Window(int cx, int cy)
{
    m_window = std::make_unique<CWnd>();
    EXPECT_TRUE(m_window->Create(nullptr, "OpenGL views", WS_POPUP | WS_VISIBLE,
                                 CRect(40, 40, 40 + cx, 40 + cy), nullptr, 0));
    QWidget* top = AfxQtWidgetOf(m_window.get());
    top->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(top));
    return *m_window;
}

void GLViewsOnQt::Show(CTestGLView& view, CRect rect, UINT nID)
{
    if (!m_window)
        Window();
    ASSERT_TRUE(view.Make(*m_window, rect, nID));
    view.calls.clear(); // the layer's own size at creation
    view.InitialUpdate();
    QOpenGLWidget* gl = GLWidget(view);
    ASSERT_NE(gl, nullptr);
    AfxQtWidgetOf(&view)->show();
    ASSERT_TRUE(WaitFor([&] { return view.draws > 0; })) << "the view never drew";
}

QImage GLViewsOnQt::Frame(CWnd& view)
{
    QOpenGLWidget* gl = GLWidget(view);
    return gl ? gl->grabFramebuffer() : QImage();
}

void GLViewsOnQt::Save(const QImage& image, const char* file)
{
    EXPECT_TRUE(image.save(afxui::qt::testing::ArtifactsFolder() + "/" + file)) << file;
}

} // namespace glviews
