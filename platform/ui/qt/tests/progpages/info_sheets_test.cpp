// The program's node and edge information sheets on the Qt peers
// (offscreen), saved as pictures.
#include <functional>

#include <gtest/gtest.h>

#include "app/shell/brantelshell.h"
#include "femodel/strelna.h"
#include "platform/ui/headless/afxui_headless.h"
#include "platform/ui/qt/afxui_qt.h"
#include "platform/ui/qt/testing/qttesting.h"

namespace
{

using afxui::headless::DialogDriver;
using afxui::headless::ModalScript;

class InfoSheetsOnQt : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_main.Create(nullptr, "Brantel", WS_POPUP, CRect(0, 0, 600, 400), nullptr, 0));
        m_main.ShowWindow(SW_SHOW);
        AfxSetMainWnd(&m_main);
    }
    void TearDown() override
    {
        AfxSetMainWnd(nullptr);
        m_main.DestroyWindow();
    }

    // Shows the pages in a sheet titled caption and saves its picture as file.
    void Picture(std::initializer_list<CPropertyPage*> pages, const char* caption,
                 const char* file, std::function<void(DialogDriver&)> check)
    {
        CPropertySheet sheet(caption);
        for (CPropertyPage* page : pages)
            sheet.AddPage(page);
        ModalScript script;
        script.Dialog(RUNTIME_CLASS(CPropertySheet), [&](DialogDriver& d, CDialog& dlg) {
            EXPECT_EQ(d.Caption(), caption);
            check(d);
            d.ActivatePage(static_cast<int>(pages.size()) - 1);
            QString why;
            EXPECT_TRUE(afxui::qt::testing::SaveScreenshot(AfxQtWidgetOf(&dlg), file, &why))
                << file << ": " << why.toStdString();
            d.PressCancel();
        });
        EXPECT_EQ(sheet.DoModal(), IDCANCEL);
    }

    QApplication& m_app = afxui::qt::testing::TestApplication();
    afxui::qt::testing::BackendScope m_backend;
    CWnd m_main;
};

TEST_F(InfoSheetsOnQt, NodeInformationForMembraneAndPlateCodes)
{
    for (int code : {31, 81}) {
        CBoundNode node(10.0, 20.0, 0.0, nullptr, 0);
        node.SetStandBC(2, 0);
        CPrPageBNodeGeom geometry;
        geometry.m_pNode = &node;
        geometry.m_iLoadMode = code == 31 ? CPrPageBNodeGeom::loadTwo : CPrPageBNodeGeom::loadOne;
        CPrPageBC conditions;
        conditions.m_iElemType = code;
        conditions.m_pNode = &node;
        const std::string file = "node_information_" + std::to_string(code) + ".png";
        Picture({&geometry, &conditions}, "Node information", file.c_str(),
                [code](DialogDriver& d) {
                    EXPECT_EQ(d.Text(379), "10");
                    EXPECT_EQ(d.Visible(550), code == 31);
                });
    }
}

TEST_F(InfoSheetsOnQt, EdgeInformation)
{
    auto* a = new CBoundNode(0.0, 0.0, 0.0, nullptr, 0);
    auto* b = new CBoundNode(0.0, 10.0, 0.0, nullptr, 0);
    auto* edge = new CBoundary(a, b);
    edge->SetBC(1, 0);
    CPrPageBC conditions;
    conditions.m_iElemType = 81;
    conditions.m_pEdge = edge;
    CPPEdgeLoad load;
    load.m_iElemType = 81;
    load.m_pEdge = edge;
    Picture({&conditions, &load}, "Edge information", "edge_information.png",
            [](DialogDriver& d) { EXPECT_EQ(d.Check(1101), 1); });
    delete a; // and its edge
    delete b;
}

} // namespace
