// The plate document's node, edge and link information sheets.
#include "tests/shell/pages_fixture.h"

namespace
{

using namespace shelltest;

class DocumentInfo : public ShellTest
{
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        doc.UpdateStatics(true);
        region = AddSquare(doc, 0.0, 0.0, 100.0);
        doc.SetModifiedFlag(FALSE);
        doc.m_bMeshValid = true;
    }
    void TearDown() override
    {
        doc.UpdateStatics(false);
        ShellTest::TearDown();
    }
    // The sheet titled caption takes step.
    void Expect(ModalScript& script, const char* caption,
                std::function<void(DialogDriver&)> step)
    {
        script.Dialog(RUNTIME_CLASS(CPropertySheet), [caption, step](DialogDriver& d, CDialog&) {
            EXPECT_EQ(d.Caption(), caption);
            step(d);
        });
    }
    bool InNodeList(CObject* node) const { return doc.m_pNodeList->Find(node) >= 0; }

    CBrantelDoc doc;
    CSectPlate* region = nullptr;
};

TEST_F(DocumentInfo, APlainNodeBecomesABoundaryNodeWithItsNumberAndValues)
{
    auto* plain = new CSNode(50.0, 50.0, 0.0, nullptr, 0);
    plain->m_uiFlags = 8;
    plain->SetValue(2.5, 1);
    const DWORD id = plain->GetID();
    doc.AddSepNode(plain, nullptr);
    const DWORD next = CSNode::lIDnode;
    {
        ModalScript script;
        Expect(script, "Node information", [](DialogDriver& d) { d.PressOK(); });
        doc.EditNodeInfo(plain, false);
    }
    ASSERT_EQ(doc.m_pNodeList->m_nCount, 1);
    CSNode* node = doc.m_pNodeList->m_pNodes[0];
    ASSERT_TRUE(node->IsKindOf(RUNTIME_CLASS(CBoundNode)));
    EXPECT_EQ(node->GetID(), id);
    EXPECT_EQ(node->m_uiFlags, 8u);
    EXPECT_EQ(node->GetValue(1), 2.5);
    EXPECT_EQ(node->x, 50.0);
    EXPECT_EQ(CSNode::lIDnode, next);
    CSNode fresh(0.0, 0.0, 0.0, nullptr, 0);
    EXPECT_EQ(fresh.GetID(), next);
    EXPECT_TRUE(doc.IsModified());
}

TEST_F(DocumentInfo, DisconnectNodeKeepsTheNodeListInStep)
{
    CSNode* corner = Corners(*region)[0];
    doc.AddSepNode(corner, nullptr);
    ModalScript script;
    Expect(script, "Node information", [](DialogDriver& d) {
        EXPECT_EQ(d.Check(529), 1);
        d.Click(529);
        d.PressOK();
    });
    doc.EditNodeInfo(corner, false);
    EXPECT_FALSE(InNodeList(corner));

    Expect(script, "Node information", [](DialogDriver& d) {
        d.Click(529);
        d.PressOK();
    });
    doc.EditNodeInfo(corner, false);
    EXPECT_TRUE(InNodeList(corner));
}

TEST_F(DocumentInfo, CancelledSheetsLeaveTheDocumentAlone)
{
    CSNode* corner = Corners(*region)[0];
    doc.AddSepNode(corner, nullptr);
    ModalScript script;
    Expect(script, "Node information", [](DialogDriver& d) {
        d.Click(529);
        d.PressCancel();
    });
    doc.EditNodeInfo(corner, false);
    EXPECT_TRUE(InNodeList(corner));
    EXPECT_FALSE(doc.IsModified());
    EXPECT_TRUE(doc.m_bMeshValid);

    CObList nodes;
    nodes.AddTail(corner);
    Expect(script, "Node information", [](DialogDriver& d) { d.PressCancel(); });
    EXPECT_EQ(doc.EditNodes(&nodes), 1);
    EXPECT_FALSE(doc.IsModified());

    Expect(script, "Node information", [](DialogDriver& d) { d.PressOK(); });
    EXPECT_EQ(doc.EditNodes(&nodes), 1);
    EXPECT_TRUE(doc.IsModified());

    CObList empty;
    EXPECT_EQ(doc.EditNodes(&empty), 0);
}

TEST_F(DocumentInfo, ASingleEdgeAndAnEdgeListReachTheSamePages)
{
    CSNode* a = Corners(*region)[0];
    auto* edge = static_cast<CObject*>(a->GetEdgeList()->GetHead());
    ASSERT_TRUE(edge->IsKindOf(RUNTIME_CLASS(CBoundary)));
    CObList list;
    list.AddTail(edge);
    for (CObject* target : {edge, static_cast<CObject*>(&list)}) {
        ModalScript script;
        Expect(script, "Edge information", [](DialogDriver& d) {
            EXPECT_TRUE(d.Visible(1100)); // the condition page first
            d.ActivatePage(1);
            EXPECT_TRUE(d.Visible(1154)); // then the load page
            d.PressCancel();
        });
        doc.EditEdgeInfo(target);
    }
    EXPECT_FALSE(doc.IsModified());

    ModalScript script;
    Expect(script, "Edge information", [](DialogDriver& d) {
        d.Click(1102);
        d.PressOK();
    });
    doc.EditEdgeInfo(edge);
    EXPECT_EQ(static_cast<CBoundary*>(edge)->GetBC(0)->GetBCType(), 2u);
    EXPECT_TRUE(doc.IsModified());
}

TEST_F(DocumentInfo, ALinkEditMarksModifiedOnlyWhenItChanged)
{
    SmallModel model;
    auto* link = new CDOFLink(model.Node(0, 0), model.Node(0, 10));
    ModalScript script;
    Expect(script, "Link information", [](DialogDriver& d) { d.PressOK(); });
    doc.EditLinkInfo(link);
    EXPECT_FALSE(doc.IsModified());

    Expect(script, "Link information", [](DialogDriver& d) {
        d.Click(1102);
        d.PressOK();
    });
    doc.EditLinkInfo(link);
    EXPECT_EQ(link->GetBC(0)->GetBCType(), 2u);
    EXPECT_TRUE(doc.IsModified());
}

} // namespace
