// The framework on Qt (offscreen): the application's profile keys in the
// QSettings INI file, and the log window as a dock of the main window.
#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include <QDockWidget>
#include <QFontInfo>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QSettings>
#include <QTabWidget>
#include <QTemporaryDir>

#include "framework/framira.h"
#include "platform/ui/qt/afxui_qt.h"
#include "platform/ui/qt/tests/framework_qt/log_frame.h"
#include "platform/ui/qt/testing/qttesting.h"

namespace
{

class TestApp : public KorApp
{
public:
    CString GetSettingsFolder() override { return folder; }
    CString folder;
};

class FrameworkOnQt : public ::testing::Test
{
protected:
    QApplication& m_app = afxui::qt::testing::TestApplication();
    afxui::qt::testing::BackendScope m_backend;
};

TEST_F(FrameworkOnQt, ProfileKeysRoundTripThroughTheIniFile)
{
    QTemporaryDir home;
    ASSERT_TRUE(home.isValid());
    const QString path = home.path() + "/Vornetic Applications/brantel.ini";
    TestApp app;
    app.folder = (home.path() + "/Vornetic/").toStdString();
    LOGFONT& font = COGLView::m_statLogFont;
    const LOGFONT savedFont = font;
    const bool savedAccel = COGLRenderer::bUseAccel;
    const UINT savedSelBuf = COGLRenderer::iSelBufSize;
    const UINT savedFrame = KorApp::m_uiStChldFrmSett;

    font.lfHeight = -15;
    font.lfWeight = 700;
    font.lfCharSet = 0xEE;
    std::strcpy(font.lfFaceName, "Liberation Mono");
    COGLRenderer::bUseAccel = false;
    COGLRenderer::iSelBufSize = 16384;
    KorApp::m_uiStChldFrmSett = 6;
    {
        CQtProfile profile(path);
        CProfileService* old = AfxSetProfileService(&profile);
        app.CloseApp();
        // A hand-edited byte field: only its low 8 bits count.
        profile.WriteInt("OpenGL text font", "Underline", 0x301);
        profile.Flush();
        AfxSetProfileService(old);
    }
    QSettings ini(path, QSettings::IniFormat);
    const QStringList groups = ini.childGroups();
    for (const char* section : {"Properties", "OpenGL text font", "Common Frame Setting"})
        EXPECT_TRUE(groups.contains(section)) << section;
    EXPECT_EQ(ini.value("Properties/Selection buffer").toInt(), 16384);

    std::memset(&font, 0, sizeof font);
    COGLRenderer::bUseAccel = true;
    COGLRenderer::iSelBufSize = 1;
    KorApp::m_uiStChldFrmSett = 0;
    {
        CQtProfile profile(path);
        CProfileService* old = AfxSetProfileService(&profile);
        EXPECT_TRUE(app.InitApp());
        AfxSetProfileService(old);
    }
    EXPECT_EQ(font.lfHeight, -15);
    EXPECT_EQ(font.lfWeight, 700);
    EXPECT_EQ(font.lfCharSet, 0xEE);
    EXPECT_EQ(font.lfUnderline, 0x01);
    EXPECT_EQ(std::string(font.lfFaceName), "Liberation Mono");
    EXPECT_FALSE(COGLRenderer::bUseAccel);
    EXPECT_EQ(COGLRenderer::iSelBufSize, 16384u);
    EXPECT_EQ(KorApp::m_uiStChldFrmSett, 6u);

    app.LoadCursors(false);
    font = savedFont;
    COGLRenderer::bUseAccel = savedAccel;
    COGLRenderer::iSelBufSize = savedSelBuf;
    KorApp::m_uiStChldFrmSett = savedFrame;
}

TEST_F(FrameworkOnQt, TheLogWindowIsABottomDockWithAFixedPitchUnwrappedLog)
{
    KorLogWnd log;
    CMDIFrameWnd* frame = framework_qt::MakeFrameWithLog(log);
    ASSERT_NE(frame, nullptr);
    auto* window = qobject_cast<QMainWindow*>(AfxQtWidgetOf(frame));
    ASSERT_NE(window, nullptr);
    auto* dock = window->findChild<QDockWidget*>();
    ASSERT_NE(dock, nullptr);
    EXPECT_EQ(dock->windowTitle(), "Log Window");
    EXPECT_EQ(window->dockWidgetArea(dock), Qt::BottomDockWidgetArea);
    auto* tabs = qobject_cast<QTabWidget*>(dock->widget());
    ASSERT_NE(tabs, nullptr);
    EXPECT_EQ(tabs->tabPosition(), QTabWidget::South);
    auto* logEdit = qobject_cast<QPlainTextEdit*>(tabs->widget(0));
    auto* errorEdit = qobject_cast<QPlainTextEdit*>(tabs->widget(1));
    ASSERT_NE(logEdit, nullptr);
    ASSERT_NE(errorEdit, nullptr);
    EXPECT_TRUE(logEdit->isReadOnly());
    EXPECT_FALSE(errorEdit->isReadOnly());
    EXPECT_EQ(logEdit->lineWrapMode(), QPlainTextEdit::NoWrap);
    EXPECT_TRUE(QFontInfo(logEdit->font()).fixedPitch());
    EXPECT_EQ(AfxQtWidgetOf(&log.GetLogEdit()), logEdit);

    // A tab that ends a column leaves at least one character's room before
    // the next one, whatever the column's length (the run's "number of
    // nodes: ...\tnumber of elements: ..." line ran its columns together).
    const qreal space = QFontMetricsF(logEdit->font()).horizontalAdvance(' ');
    for (int length = 1; length <= 40; ++length) {
        // Laid out as the edit lays out its lines: its font, its text options.
        QTextLayout layout(QString(length, 'x') + "\tnext", logEdit->font());
        layout.setTextOption(logEdit->document()->defaultTextOption());
        layout.beginLayout();
        QTextLine line = layout.createLine();
        line.setLineWidth(10000);
        layout.endLayout();
        const qreal gap = line.cursorToX(length + 1) - line.cursorToX(length);
        EXPECT_GE(gap, space * 0.99) << "a column of " << length << " characters";
    }

    CStringArray errors;
    errors.Add("Region 3 is open\r\n");
    log.WriteErrorEntry(&errors);
    EXPECT_EQ(tabs->currentIndex(), 0); // writing keeps the active tab
    EXPECT_EQ(errorEdit->toPlainText(), "Region 3 is open\n");
    log.DestroyWindow();
    frame->DestroyWindow();
}

} // namespace
