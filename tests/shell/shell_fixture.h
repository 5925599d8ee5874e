// Shared helpers of the program's document and application tests: square
// plate regions built through the document's model, archive bytes, and a
// fixture that puts the libraries' statics back after every test.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/analysis/analysis.h"
#include "app/shell/brantelshell.h"
#include "dialogs/pavesta.h"
#include "platform/ferrand/ferrand.h"
#include "platform/ui/headless/afxui_headless.h"
#include "platform/ui/osmesa/osmesahosts.h"
#include "tests/support/outline_area.h"
#include "tests/support/temp_files.h"

namespace shelltest
{

using Bytes = afxtest::Bytes;
using afxtest::operator+;

// A square region on four new corner nodes, of the model's first material.
inline CSectPlate* AddSquare(CBrantelDoc& doc, double x0, double y0, double side, bool clockwise = false)
{
    CPlateComp* comp = doc.GetPlateComp();
    auto* material = static_cast<CMaterial*>(comp->GetMaterialList().GetHead());
    const double s = clockwise ? 0.0 : side, t = clockwise ? side : 0.0;
    auto* region = new CSectPlate(new CBoundNode(x0, y0, 0.0, nullptr, 0),
                                  new CBoundNode(x0 + s, y0 + t, 0.0, nullptr, 0),
                                  new CBoundNode(x0 + side, y0 + side, 0.0, nullptr, 0),
                                  new CBoundNode(x0 + t, y0 + s, 0.0, nullptr, 0), material);
    region->SetThickness(10.0);
    comp->AddTail(region);
    return region;
}

// The region's corners, in order.
inline std::vector<CSNode*> Corners(CSectPlate& region)
{
    return brantel::test::OutlineNodes(region);
}

// What the document writes when it saves to path.
inline Bytes SaveBytes(CBrantelDoc& doc, const brantel::test::TempFile& file)
{
    EXPECT_TRUE(doc.DoSave(file.path(), FALSE));
    return file.readBytes<Bytes>();
}

// A command's check mark and enabled state as the menu would show them.
struct RecordingCmdUI : CCmdUI {
    void SetCheck(int n) override { check = n; }
    void Enable(BOOL on) override { enabled = on != FALSE; }
    int check = -1;
    bool enabled = true;
};

inline RecordingCmdUI QueryUI(CCmdTarget& target, UINT id)
{
    RecordingCmdUI ui;
    ui.m_nID = id;
    ui.DoUpdate(&target, TRUE);
    return ui;
}

// Puts the libraries' statics back after each test. Every OpenGL view the
// test opens (documents, mode switches) is hosted on an OSMesa surface of
// its own, so it initialises as on screen.
class ShellTest : public afxui::headless::HeadlessApp
{
protected:
    void TearDown() override
    {
        CGraph::m_pNodeList = nullptr;
        CSectMeshArea::m_pSepNodeGraphGroups = nullptr;
        CSectMeshArea::m_bStoreMesh = true;
        HeadlessApp::TearDown();
    }

private:
    COSMesaWindowHosts m_glHosts;
};

// Sets an environment variable for the scope (unset: null).
class ScopedEnv
{
public:
    ScopedEnv(const char* name, const char* value) : m_name(name)
    {
        if (const char* old = std::getenv(name))
            m_old = old;
        if (value)
            setenv(name, value, 1);
        else
            unsetenv(name);
    }
    ~ScopedEnv()
    {
        if (m_old)
            setenv(m_name, m_old->c_str(), 1);
        else
            unsetenv(m_name);
    }

private:
    const char* m_name;
    std::optional<std::string> m_old;
};

// An application over a temporary settings folder; Start runs its start-up.
class AppTest : public ShellTest
{
protected:
    void SetUp() override
    {
        std::string pattern = ::testing::TempDir() + "brantelapp_XXXXXX";
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        m_folder = pattern;
        m_config.emplace("XDG_CONFIG_HOME", (m_folder + "/config").c_str());
        m_app = std::make_unique<CBrantelApp>();
    }
    void TearDown() override
    {
        EndApp();
        m_config.reset();
        std::error_code ignored;
        std::filesystem::remove_all(m_folder, ignored);
        ShellTest::TearDown();
    }
    // Without a file the start runs File New: here a plate document with
    // the wizard's defaults (type page: the plate button; then Next twice).
    BOOL Start(std::vector<CString> args = {})
    {
        m_app->SetCommandLine(args);
        if (!args.empty())
            return m_app->InitInstance();
        afxui::headless::ModalScript script;
        const auto page = [&script](UINT nID, int button) {
            script.Dialog(nID, [button](afxui::headless::DialogDriver& d, CDialog&) { d.Click(button); });
        };
        constexpr int kPlateButton = 16000, kNext = 1066;
        page(VokDlgFPDocType::IDD, kPlateButton);
        page(CDlgMeshType::IDD, kNext);
        page(CDlgFinal::IDD, kNext);
        const BOOL started = m_app->InitInstance();
        PumpPosted(); // the wizard runs from the application's loop
        return started;
    }
    // Closes the documents and the main frame (which writes the settings)
    // and deletes the application.
    void EndApp()
    {
        if (!m_app)
            return;
        m_app->CloseAllDocuments(TRUE);
        if (m_app->m_pMainWnd && m_app->m_pMainWnd->GetSafeHwnd())
            m_app->m_pMainWnd->DestroyWindow();
        m_app->m_pMainWnd = nullptr;
        m_app->LoadCursors(false);
        m_app.reset();
    }

    std::string m_folder;
    std::optional<ScopedEnv> m_config;
    std::unique_ptr<CBrantelApp> m_app;
};

} // namespace shelltest
