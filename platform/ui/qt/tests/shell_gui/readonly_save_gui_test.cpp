// Saving a read-only document on the display: Ctrl+S in the main window
// says the file may not be written, naming it, and offers Save As; the
// read-only file stays byte for byte and the document goes to the new name.
#include <sys/stat.h>

#include <fstream>
#include <iterator>

#include "platform/ui/qt/tests/shell_gui/shell_on_qt.h"

namespace
{

using namespace shellgui;

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST_F(ShellOnQt, CtrlSOnAReadOnlyDocumentOffersSaveAsAndKeepsTheFile)
{
    const std::string path = m_folder + "/plate.plb";
    const std::string copy = m_folder + "/plate-copy.plb";
    std::filesystem::copy_file(Example("plate.plb"), path);
    ::chmod(path.c_str(), 0444);
    const std::string old = ReadAll(path);

    auto app = std::make_unique<CBrantelApp>();
    app->SetCommandLine({path.c_str()});
    ASSERT_TRUE(app->InitInstance());
    auto* frame = dynamic_cast<CMainFrame*>(app->m_pMainWnd);
    ASSERT_NE(frame, nullptr);
    frame->MoveWindow(CRect(0, 0, 1280, 900));
    frame->ShowWindow(SW_SHOW);
    auto* window = qobject_cast<QMainWindow*>(AfxQtWidgetOf(frame));
    ASSERT_TRUE(window && QTest::qWaitForWindowExposed(window));
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    CFrameWnd* child = frame->MDIGetActive();
    ASSERT_NE(child, nullptr);
    CDocument* doc = child->GetActiveDocument();
    ASSERT_NE(doc, nullptr);
    doc->SetModifiedFlag(TRUE);

    const std::string box = "Access to " + path + " was denied.\nSave the document under another name?";
    // Cancel: nothing is written, the document stays modified.
    m_env->Boxes().Expect(box, IDCANCEL);
    QTest::keyClick(window, Qt::Key_S, Qt::ControlModifier);
    QCoreApplication::processEvents();
    EXPECT_EQ(m_env->Boxes().Shown().size(), 1u);
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(ReadAll(path), old);

    // OK: Save As takes the new name and the document is saved there.
    m_env->Boxes().Expect(box, IDOK);
    m_env->FileDialogs().Choose({copy.c_str()});
    QTest::keyClick(window, Qt::Key_S, Qt::ControlModifier);
    QCoreApplication::processEvents();
    EXPECT_EQ(m_env->Boxes().Shown().size(), 2u);
    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ(ReadAll(path), old);
    EXPECT_EQ(ReadAll(copy), old); // the unchanged model, saved byte-stable
    app->OnIdle(0);
    EXPECT_EQ(Title(*frame), "Brantel - plate-copy.plb");

    QString why;
    EXPECT_TRUE(afxui::qt::testing::SaveScreenshot(window, "brantel-readonly-save-as.png", &why))
        << why.toStdString();
    ::chmod(path.c_str(), 0644);
    EndApp(app);
}

} // namespace
