// The framework's modelling view in a real window: a band dragged with the
// mouse selects the nodes under it, and saving an image runs its two
// dialogs and writes the file.
#include <filesystem>

#include <QTest>

#include "framework/inputdialogs.h"
#include "glview/secimage.h"
#include "platform/ui/qt/tests/glviews_gui/glviews.h"
#include "tests/framira/modview_fixture.h"

BRANTEL_UNDO_MODEL_RECORDS()

namespace glviews
{
namespace
{

// The modelling view as the window's child, with the square (0, 0) - (1, 1)
// at 50 device pixels a model unit around the view's centre.
class ModViewOnQt : public GLViewsOnQt
{
protected:
    void SetUp() override
    {
        GLViewsOnQt::SetUp();
        if (HasFatalFailure() || IsSkipped())
            return;
        CWnd& window = Window();
        square = doc.AddSquare(0, 0, 1);
        doc.AddView(&view);
        ASSERT_TRUE(view.Create(nullptr, "", WS_CHILD | WS_VISIBLE, CRect(10, 10, 410, 310), &window, 1));
        view.InitialUpdate();
        AfxQtWidgetOf(&view)->show();
        gl = GLWidget(view);
        ASSERT_NE(gl, nullptr);
        ASSERT_TRUE(WaitFor([&] { return view.m_iWidth > 200; }));
        view.m_dScale = 100.0;
        view.m_dCentX = view.m_dCentY = 0.0;
        view.m_bShowGrid = false;
        view.m_iTool = 1;
        view.InvalidateList();
    }
    void TearDown() override
    {
        if (view.GetSafeHwnd())
            view.DestroyWindow();
        doc.RemoveView(&view);
        GLViewsOnQt::TearDown();
    }
    // The logical point of a model point in the window.
    QPoint At(double x, double y)
    {
        view.GetScreenCoord(x, y);
        const double ratio = gl->devicePixelRatioF();
        return gl->mapTo(gl->window(), QPoint(static_cast<int>(x / ratio), static_cast<int>(y / ratio)));
    }

    CModViewDoc doc;
    CModTestView view;
    CSectArea* square = nullptr;
    QOpenGLWidget* gl = nullptr;
};

TEST_F(ModViewOnQt, BandDragSelectsTheNodesUnderIt)
{
    QWindow* window = gl->window()->windowHandle();
    // Around the square's bottom side only: its two lower corners.
    const QPoint from = At(-0.2, -0.2), to = At(1.2, 0.2);
    QTest::mousePress(window, Qt::LeftButton, Qt::NoModifier, from);
    QTest::mouseMove(window, to);
    QTest::mouseRelease(window, Qt::LeftButton, Qt::NoModifier, to);
    ASSERT_TRUE(WaitFor([&] { return view.GetInterfHandler()->GetSelList(2) != nullptr; }));
    CObList* nodes = view.GetInterfHandler()->GetSelList(2);
    EXPECT_EQ(nodes->GetCount(), 2);
    EXPECT_TRUE(nodes->Find(square->GetNode(0)));
    EXPECT_TRUE(nodes->Find(square->GetNode(1)));
    EXPECT_EQ(view.GetInterfHandler()->GetSelList(4), nullptr) << "nodes before edges";
}

TEST_F(ModViewOnQt, SaveImageRunsItsDialogsAndWritesTheFile)
{
    const std::string path = ::testing::TempDir() + "modview_gui_shot.bmp";
    std::filesystem::remove(path);
    afxui::headless::ModalScript script;
    script.FileDialog([&](const AfxFileDialogRequest& request) {
        EXPECT_EQ(request.strFilter, kKorImageFilter);
        AfxFileDialogResult result;
        result.bOK = TRUE;
        result.paths = {path.c_str()};
        result.nFilterIndex = 1;
        return result;
    });
    script.Dialog(KorDlgDblValTwo::IDD, [](afxui::headless::DialogDriver& d, CDialog&) {
        d.PressOK(); // 100 % both ways
    });
    view.OnCmdMsg(ID_KOR_SAVE_IMAGE, CN_COMMAND, nullptr, nullptr);
    std::unique_ptr<SECImage> image(LoadImageFile(path.c_str()));
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(static_cast<int>(image->m_nWidth), view.m_iWidth);
    EXPECT_EQ(static_cast<int>(image->m_nHeight), view.m_iHeight);
}

} // namespace
} // namespace glviews
