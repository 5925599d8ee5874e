// A constrained-mesh plate on the display: a document built here (a
// simply supported square under a uniform load, graded along its A edges)
// is opened, meshed and calculated through the frame's commands, and a
// picture of its structured mesh in the view is saved.
#include <QMainWindow>
#include <QTest>

#include "app/analysis/analysis.h"
#include "platform/ui/qt/tests/shell_gui/shell_on_qt.h"

namespace
{

using namespace shellgui;

// A 1000 mm square, simply supported, 0.001 N/mm^2; 12 x 8 elements, the
// A edges graded 1 : 3.
void WriteConstrainedPlate(const std::string& path)
{
    const int savedCode = iNewDocElemType;
    iNewDocElemType = 81;
    CDocRestr doc;
    iNewDocElemType = savedCode;
    doc.m_bAutoDelete = FALSE;
    doc.UpdateStatics(true);
    CPlateComp* comp = doc.GetPlateComp();
    auto* material = static_cast<CMaterial*>(comp->GetMaterialList().GetHead());
    CBoundNode* corners[4] = {new CBoundNode(0.0, 0.0, 0.0, nullptr, 0),
                              new CBoundNode(1000.0, 0.0, 0.0, nullptr, 0),
                              new CBoundNode(1000.0, 1000.0, 0.0, nullptr, 0),
                              new CBoundNode(0.0, 1000.0, 0.0, nullptr, 0)};
    auto* region = new CSectPlate(corners[0], corners[1], corners[2], corners[3], material);
    region->SetThickness(10.0);
    region->SetLoad(0.001);
    CObList edges;
    region->GetEdges(edges);
    for (POSITION pos = edges.GetHeadPosition(); pos;)
        static_cast<CBoundary*>(edges.GetNext(pos))->SetBC(1u, 0);
    region->SetBoundaryConditions();
    for (CBoundNode* corner : corners)
        corner->SetStandBC(33, 0);
    comp->AddTail(region);
    doc.m_nElemA = 12;
    doc.m_nElemB = 8;
    doc.m_dRatioR = doc.m_dRatioS = 3.0;
    ASSERT_TRUE(doc.DoSave(path.c_str(), FALSE));
    doc.UpdateStatics(false);
}

TEST_F(ShellOnQt, AConstrainedPlateMeshesCalculatesAndShowsItsStructuredMesh)
{
    const std::string path = m_folder + "/square.pbc";
    WriteConstrainedPlate(path);
    auto app = std::make_unique<CBrantelApp>();
    app->SetCommandLine({path.c_str()});
    ASSERT_TRUE(app->InitInstance());
    auto* main = dynamic_cast<CMainFrame*>(app->m_pMainWnd);
    ASSERT_NE(main, nullptr);
    main->MoveWindow(CRect(0, 0, 1100, 800));
    main->ShowWindow(SW_SHOW);
    auto* window = qobject_cast<QMainWindow*>(AfxQtWidgetOf(main));
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));

    const auto docs = app->m_pTemplates[1]->GetDocuments();
    ASSERT_EQ(docs.size(), 1u);
    auto* doc = dynamic_cast<CDocRestr*>(docs.front());
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(doc->m_nElemA, 12u);
    POSITION pos = doc->GetFirstViewPosition();
    CView* view = doc->GetNextView(pos);
    ASSERT_NE(view, nullptr);
    auto* frame = dynamic_cast<CConstrChFrm*>(view->GetParentFrame());
    ASSERT_NE(frame, nullptr);
    frame->ShowWindow(SW_SHOWMAXIMIZED);

    frame->SendMessage(WM_COMMAND, ID_GENERATE_MESH);
    EXPECT_TRUE(doc->m_bMeshValid);
    EXPECT_EQ(doc->GetPlateComp()->m_nElements, 12 * 8 * 2);
    frame->SendMessage(WM_COMMAND, ID_CALCULATE);
    EXPECT_TRUE(doc->m_bMeshValid);
    double max = 0.0, min = 0.0;
    doc->GetMaxMinActVal(max, min);
    EXPECT_NE(max, min) << "the calculation gave results";

    // The view shows the mesh over the model.
    auto* view2d = dynamic_cast<CBrantelView*>(frame->GetActiveView());
    ASSERT_NE(view2d, nullptr);
    view2d->m_iViewState |= CBrantelView::kShowMeshBit;
    view2d->InvalidateList();
    view2d->ZoomToFit();
    view2d->Invalidate();
    app->OnIdle(0);
    QTest::qWait(50);
    QString why;
    EXPECT_TRUE(afxui::qt::testing::SaveScreenshot(window, "brantel-constrained-mesh.png", &why))
        << why.toStdString();
    EndApp(app);
}

} // namespace
