// Shared helpers of the program's document and application tests: square
// plate regions built through the document's model, archive bytes, and a
// fixture that puts the libraries' statics back after every test.
#pragma once

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/analysis/analysis.h"
#include "app/shell/brantelshell.h"
#include "platform/ferrand/ferrand.h"
#include "platform/ui/headless/afxui_headless.h"
#include "tests/support/temp_files.h"

namespace shelltest
{

using Bytes = afxtest::Bytes;
using afxtest::operator+;

// A square region on four new corner nodes, of the model's first material.
inline CSectPlate* AddSquare(CBrantelDoc& doc, double x0, double y0, double side)
{
    CPlateComp* comp = doc.GetPlateComp();
    auto* material = static_cast<CMaterial*>(comp->GetMaterialList().GetHead());
    auto* region = new CSectPlate(new CBoundNode(x0, y0, 0.0, nullptr, 0),
                                  new CBoundNode(x0 + side, y0, 0.0, nullptr, 0),
                                  new CBoundNode(x0 + side, y0 + side, 0.0, nullptr, 0),
                                  new CBoundNode(x0, y0 + side, 0.0, nullptr, 0), material);
    region->SetThickness(10.0);
    comp->AddTail(region);
    return region;
}

// The region's corners, in order.
inline std::vector<CSNode*> Corners(CSectPlate& region)
{
    std::vector<CSNode*> nodes;
    for (POSITION pos = region.GetHeadPosition(); pos;)
        nodes.push_back(region.GetNextNode(pos));
    return nodes;
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

// Puts the libraries' statics back after each test.
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
};

} // namespace shelltest
