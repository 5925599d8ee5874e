// The modelling view in the program's real window: the user starts the
// rectangle tool with Shift+R (typed into the thickness box it stays a
// letter), draws a rectangle with two clicks, and sees it filled in the
// active material; a right click shows the "Geom PopUp" items. Bands and
// clicks with the pointer pick what the model holds after each edit: a
// rectangle drawn, then taken back with Ctrl+Z.
#include <QComboBox>
#include <QLineEdit>
#include <QMainWindow>
#include <QOpenGLWidget>
#include <QTest>

#include <cmath>
#include <set>

#include "app/analysis/analysis.h"
#include "platform/ferrand/material.h"
#include "platform/ui/qt/tests/shell_gui/shell_on_qt.h"

namespace
{

using namespace shellgui;

TEST_F(ShellOnQt, ARectangleDrawnWithTwoClicksShowsInTheActiveMaterial)
{
    auto app = std::make_unique<CBrantelApp>();
    const ShownExample example = ShowExample(*app, "plate.plb");
    ASSERT_NE(example.view, nullptr);
    CMainFrame* frame = example.frame;
    QMainWindow* window = example.window;
    CChildFrame* child = example.child;
    CBrantelModView* view = example.view;
    QOpenGLWidget* gl = example.gl;
    CBrantelDoc* doc = view->GetBrantelDoc();

    // Another material of the list (not the void one) becomes the active one.
    auto* materials = qobject_cast<QComboBox*>(AfxQtWidgetOf(frame->GetToolbarCombo(ID_ACTIVE_MATERIAL)));
    ASSERT_NE(materials, nullptr);
    int choice = -1;
    for (int i = 0; i < materials->count() && choice < 0; ++i)
        if (i != materials->currentIndex() && materials->itemText(i) != "VOID")
            choice = i;
    ASSERT_GE(choice, 0) << "a second material to choose";
    afxui::headless::ToolbarCombo(*frame->GetToolBarManager(), ID_ACTIVE_MATERIAL).UserSelect(choice);
    QCoreApplication::processEvents();
    CMaterial* active = child->m_pActiveMaterial;
    ASSERT_NE(active, nullptr);
    EXPECT_EQ(materials->itemText(choice).toStdString(), std::string(active->GetName()));

    // Shift+R typed into the thickness box is a letter there.
    auto* thickness = qobject_cast<QComboBox*>(AfxQtWidgetOf(frame->GetToolbarCombo(ID_ACTIVE_THICKNESS)));
    ASSERT_TRUE(thickness && thickness->lineEdit());
    thickness->lineEdit()->setFocus();
    thickness->lineEdit()->clear();
    QTest::keyClick(thickness->lineEdit(), 'R', Qt::ShiftModifier);
    EXPECT_EQ(thickness->lineEdit()->text().toStdString(), "R");
    EXPECT_EQ(view->m_uiGeomTool, 0u);
    thickness->lineEdit()->clear();

    // In the view the same keys start the rectangle tool.
    gl->setFocus();
    QTest::keyClick(gl, 'R', Qt::ShiftModifier);
    QCoreApplication::processEvents();
    ASSERT_EQ(view->m_uiGeomTool, UINT(kToolRectangle));

    // The view fills the child frame's client area, which Qt sizes.
    auto* client = AfxQtWidgetOf(child)->findChild<QWidget*>();
    ASSERT_NE(client, nullptr);
    EXPECT_GT(gl->width(), 800);
    EXPECT_EQ(view->m_iWidth, gl->width());
    EXPECT_EQ(view->m_iHeight, gl->height());
    // A rectangle right of the model, in empty space.
    double xmax = 0, ymax = 0, xmin = 0, ymin = 0;
    doc->GetMaxMinCoord(xmax, ymax, xmin, ymin);
    const double span = std::max(xmax - xmin, ymax - ymin);
    const double x0 = xmax + 0.2 * span, x1 = xmax + 0.5 * span;
    const double y0 = ymin + 0.1 * span, y1 = ymin + 0.4 * span;
    const QPoint first = PixelOf(*view, x0, y0), second = PixelOf(*view, x1, y1);
    const QPoint centre = PixelOf(*view, (x0 + x1) / 2, (y0 + y1) / 2);
    ASSERT_TRUE(gl->rect().contains(first) && gl->rect().contains(second)) << "the rectangle is in sight";
    const QRgb before = gl->grabFramebuffer().pixel(centre);
    const int regions = doc->GetPlateComp()->GetCount();

    QTest::mouseClick(gl, Qt::LeftButton, Qt::NoModifier, first);
    QTest::mouseClick(gl, Qt::LeftButton, Qt::NoModifier, second);
    QCoreApplication::processEvents();
    ASSERT_EQ(doc->GetPlateComp()->GetCount(), regions + 1);
    auto* region = dynamic_cast<CSectPlate*>(doc->GetPlateComp()->GetTail());
    ASSERT_NE(region, nullptr);
    EXPECT_EQ(region->GetMaterial(), active);
    EXPECT_EQ(view->m_uiGeomTool, 0u);

    gl->update();
    QTest::qWait(50);
    const QImage image = gl->grabFramebuffer();
    const QRgb pixel = image.pixel(centre);
    const auto near = [](int channel, double value) { return std::abs(channel - value * 255.0) <= 2.0; };
    EXPECT_TRUE(near(qRed(pixel), active->GetRed()) && near(qGreen(pixel), active->GetGreen()) &&
                near(qBlue(pixel), active->GetBlue()))
        << std::hex << pixel << " for " << active->GetRed() << " " << active->GetGreen() << " "
        << active->GetBlue();
    EXPECT_NE(pixel, before) << "the region was not there before";
    QString why;
    EXPECT_TRUE(afxui::qt::testing::SaveScreenshot(window, "brantel-modelling-rectangle.png", &why))
        << why.toStdString();

    // A right click in empty space shows the "Geom PopUp".
    m_env->PopupMenus().Dismiss();
    QTest::mouseClick(gl, Qt::RightButton, Qt::NoModifier, PixelOf(*view, x1 + 0.2 * span, y1));
    QCoreApplication::processEvents();
    ASSERT_EQ(m_env->PopupMenus().Menus().size(), 1u);
    const AfxMenu& shown = m_env->PopupMenus().Menus().back().menu;
    const AfxMenu geom = ModelPopupMenus()[kGeomPopup].popup;
    ASSERT_EQ(shown.size(), geom.size());
    for (std::size_t i = 0; i < shown.size(); ++i)
        EXPECT_EQ(shown[i].item.nResourceID, geom[i].item.nResourceID) << i;
    EXPECT_EQ(shown[0].item.strText, "Repeat Rectangle");

    EndApp(app);
}


// The nodes of the model, each once.
std::size_t NodeCount(CBrantelDoc& doc)
{
    CObList nodes;
    doc.GetPlateComp()->GetNodeList(nullptr, &nodes);
    std::set<CObject*> distinct;
    for (POSITION pos = nodes.GetHeadPosition(); pos;)
        distinct.insert(nodes.GetNext(pos));
    return distinct.size();
}

TEST_F(ShellOnQt, BandsAndClicksPickWhatTheModelHoldsAfterEachEdit)
{
    auto app = std::make_unique<CBrantelApp>();
    const ShownExample example = ShowExample(*app, "plate.plb");
    ASSERT_NE(example.view, nullptr);
    CBrantelModView* view = example.view;
    QOpenGLWidget* gl = example.gl;
    CBrantelDoc* doc = view->GetBrantelDoc();
    const UINT filter = Kor2DModView::m_uiSelectFilter;
    Kor2DModView::m_uiSelectFilter = 7;
    QWindow* window = gl->window()->windowHandle();
    // A drag with the pointer tool from one pixel of the view to another.
    const auto drag = [&](QPoint from, QPoint to) {
        view->m_iTool = VIEWTOOL_POINT;
        from = gl->mapTo(gl->window(), from);
        to = gl->mapTo(gl->window(), to);
        QTest::mousePress(window, Qt::LeftButton, Qt::NoModifier, from);
        QTest::mouseMove(window, (from + to) / 2);
        QTest::mouseMove(window, to);
        QTest::mouseRelease(window, Qt::LeftButton, Qt::NoModifier, to);
        QCoreApplication::processEvents();
    };
    // A band over the whole view selects every node of the model.
    const auto bandedNodes = [&] {
        drag(QPoint(3, 3), QPoint(gl->width() - 4, gl->height() - 4));
        CObList* nodes = view->GetInterfHandler()->GetSelList(KorBasisGeomHlpr::kNodes);
        return nodes ? static_cast<std::size_t>(nodes->GetCount()) : 0u;
    };
    const std::size_t before = NodeCount(*doc);
    ASSERT_GE(before, 4u);
    EXPECT_EQ(bandedNodes(), before);

    // A rectangle right of the model: its four corners join the band, and
    // a click on one picks it.
    double xmax = 0, ymax = 0, xmin = 0, ymin = 0;
    doc->GetMaxMinCoord(xmax, ymax, xmin, ymin);
    const double span = std::max(xmax - xmin, ymax - ymin);
    const double x0 = xmax + 0.2 * span, x1 = xmax + 0.5 * span;
    const double y0 = ymin + 0.1 * span, y1 = ymin + 0.4 * span;
    drag(QPoint(3, 3), QPoint(3, 3)); // a click in empty space clears
    EXPECT_EQ(view->GetInterfHandler()->GetSelList(KorBasisGeomHlpr::kNodes), nullptr);
    gl->setFocus();
    QTest::keyClick(gl, 'R', Qt::ShiftModifier);
    QCoreApplication::processEvents();
    ASSERT_EQ(view->m_uiGeomTool, UINT(kToolRectangle));
    QTest::mouseClick(gl, Qt::LeftButton, Qt::NoModifier, PixelOf(*view, x0, y0));
    QTest::mouseClick(gl, Qt::LeftButton, Qt::NoModifier, PixelOf(*view, x1, y1));
    QCoreApplication::processEvents();
    ASSERT_EQ(NodeCount(*doc), before + 4);
    EXPECT_EQ(bandedNodes(), before + 4);
    gl->update();
    QTest::qWait(50);
    QString why;
    EXPECT_TRUE(afxui::qt::testing::SaveScreenshot(example.window, "brantel-modelling-band-after-edit.png", &why))
        << why.toStdString();
    drag(PixelOf(*view, x1, y1), PixelOf(*view, x1, y1));
    CObList* clicked = view->GetInterfHandler()->GetSelList(KorBasisGeomHlpr::kNodes);
    ASSERT_NE(clicked, nullptr);
    ASSERT_EQ(clicked->GetCount(), 1);
    const auto* corner = static_cast<CSNode*>(clicked->GetHead());
    // The corner the clicks made (clicked points fall on whole pixels).
    EXPECT_NEAR(corner->x, x1, 0.01 * span);
    EXPECT_NEAR(corner->y, y1, 0.01 * span);

    // Undo takes the rectangle back; the band no longer finds its nodes.
    drag(QPoint(3, 3), QPoint(3, 3));
    gl->setFocus();
    QTest::keyClick(gl, Qt::Key_Z, Qt::ControlModifier);
    QCoreApplication::processEvents();
    ASSERT_EQ(NodeCount(*doc), before);
    EXPECT_EQ(bandedNodes(), before);
    drag(PixelOf(*view, x1, y1), PixelOf(*view, x1, y1));
    EXPECT_EQ(view->GetInterfHandler()->GetSelList(KorBasisGeomHlpr::kNodes), nullptr);

    Kor2DModView::m_uiSelectFilter = filter;
    EndApp(app);
}

} // namespace
