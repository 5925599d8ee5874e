// Small models of boundary nodes and edges for the information pages, and a
// sheet runner that drives them as a user would.
#pragma once

#include <cstdlib>
#include <functional>
#include <initializer_list>
#include <vector>

#include "platform/dimvor/units.h"
#include "tests/pavesta/sheet_runner.h"
#include "tests/shell/shell_fixture.h"

namespace shelltest
{

using afxui::headless::DialogDriver;
using afxui::headless::ModalScript;

// Nodes and the edges between them; deleting a node deletes its edges.
struct SmallModel {
    std::vector<CSNode*> nodes;
    ~SmallModel()
    {
        for (CSNode* node : nodes)
            delete node;
    }
    CBoundNode* Node(double x, double y)
    {
        auto* node = new CBoundNode(x, y, 0.0, nullptr, 0);
        nodes.push_back(node);
        return node;
    }
    CSNode* PlainNode(double x, double y)
    {
        auto* node = new CSNode(x, y, 0.0, nullptr, 0);
        nodes.push_back(node);
        return node;
    }
    static CBoundary* Edge(CSNode* a, CSNode* b) { return new CBoundary(a, b); }
};

// A condition of type 0x10 with the DOF numbers and values.
inline void SetUserCondition(CBoundNode& node, std::initializer_list<double> vector)
{
    CVector v(static_cast<int>(vector.size()), true, 0.0);
    int i = 0;
    for (double value : vector)
        v.SetValue(i++, value);
    CBoundCond c;
    c.SetType(0x10);
    c.SetBC(v);
    node.SetBC(c, 0);
}

// The condition's DOF vector as doubles (empty without one).
inline std::vector<double> DofVector(CBoundCond* c)
{
    std::vector<double> out;
    if (c && c->GetBCVector())
        for (int i = 0; i < c->GetBCVector()->GetSize(); ++i)
            out.push_back(c->GetBCVector()->GetValue(i));
    return out;
}

// Gives the node a new point load with the values.
inline void SetNodeLoad(CBoundNode& node, std::initializer_list<double> values)
{
    auto* load = new CNodeLoad;
    load->Allocate(static_cast<int>(values.size()), true, 0.0);
    int i = 0;
    for (double value : values)
        load->SetValue(i++, value);
    node.SetNodeLoad(load);
}

inline double Number(const CString& text)
{
    return std::atof(text);
}

// Shows the pages in a sheet; step drives it and ends it.
inline INT_PTR RunPages(std::initializer_list<CPropertyPage*> pages,
                        std::function<void(DialogDriver&, ModalScript&)> step,
                        LPCTSTR caption = "Information")
{
    return pavesta_test::RunSheet(pages, step, caption);
}

// Puts the unit system and the angle unit back after a test.
class UnitsTest : public ShellTest
{
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        m_iStandard = iStandard;
        m_iAngle[0] = iConv[0][7][0];
        m_iAngle[1] = iConv[1][7][0];
    }
    void TearDown() override
    {
        iStandard = m_iStandard;
        iConv[0][7][0] = m_iAngle[0];
        iConv[1][7][0] = m_iAngle[1];
        ShellTest::TearDown();
    }
    int m_iStandard = 0;
    int m_iAngle[2] = {};
};

} // namespace shelltest
