// The document bases: identifier counters, the log folder and one level of
// undo and redo over whole copies of the model and its node list.
#include <unistd.h>

#include <climits>
#include <cmath>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "framework/framira.h"
#include "geometry/edge.h"
#include "geometry/graph.h"
#include "geometry/snode.h"
#include "platform/ui/headless/afxui_headless.h"
#include "tests/framira/undo_model.h"

BRANTEL_UNDO_MODEL_RECORDS()

namespace
{

using afxui::headless::HeadlessApp;

class TestApp : public KorApp
{
public:
    CString GetSettingsFolder() override { return folder; }
    CString folder;
};

// A view that keeps a selection.
class SelectingView : public CView, public KorSelectingView
{
public:
    void OnDraw(CDC*) override {}
    void RemoveSelected(CObject* object) override { cleared.push_back(object); }
    std::vector<CObject*> cleared;
};

// The document with its own DeleteModel, as a program's that frees what a
// copy owns: it is reached for every copy that goes, also at the end.
class TestDoc : public CUndoDoc
{
public:
    ~TestDoc() override { ReleaseCopies(); } // through this class's DeleteModel
    void ModelChanged(CSectComp* previous) override { changes.push_back(previous); }
    void DeleteModel(CSectComp*& model) override
    {
        if (model)
            ++deletedModels;
        KorDocSectComp::DeleteModel(model);
    }

    // A point that no region holds (as an editing tool's temporary point).
    CSNode* AddLoosePoint(double x, double y)
    {
        auto* node = new CSNode(x, y, 0.0, nullptr, 0);
        m_pNodeList->AddNode(node);
        return node;
    }

    std::vector<CSectComp*> changes;
    int deletedModels = 0;
};

// Enabled state of a command as update UI finds it.
bool Enabled(CCmdTarget& target, UINT id)
{
    struct StateUI : CCmdUI {
        void Enable(BOOL on) override
        {
            enabled = on != FALSE;
            CCmdUI::Enable(on);
        }
        bool enabled = true;
    } ui;
    ui.m_nID = id;
    ui.DoUpdate(&target, TRUE);
    return ui.enabled;
}

std::vector<DWORD> RegionNodeIDs(CSectComp* model)
{
    std::vector<DWORD> ids;
    for (POSITION pos = model->GetHeadPosition(); pos;) {
        CSection* section = model->GetNext(pos);
        for (POSITION np = section->GetHeadPosition(); np;)
            ids.push_back(section->GetNextNode(np)->GetID());
    }
    return ids;
}

class KorDocTest : public HeadlessApp
{
protected:
    void SetUp() override { CGraph::m_pNodeList = nullptr; }
    void TearDown() override
    {
        CGraph::m_pNodeList = nullptr;
        HeadlessApp::TearDown();
    }
};

TEST_F(KorDocTest, CountersStartAtTheClassStartValuesAndSwitchWithTheDocument)
{
    TestDoc doc;
    EXPECT_EQ(doc.m_nGraphID, 4000000001u);
    EXPECT_EQ(doc.m_nEdgeID, 100000001u);
    EXPECT_EQ(doc.m_nNodeID, 1u);
    const DWORD graph = CGraph::lIDGraph, edge = CEdge::lIDedge, node = CSNode::lIDnode;
    doc.UpdateStatics(false);
    EXPECT_EQ(doc.m_nGraphID, graph);
    EXPECT_EQ(doc.m_nNodeID, node);
    doc.m_nGraphID += 7;
    doc.m_nEdgeID += 5;
    doc.m_nNodeID += 3;
    doc.UpdateStatics(true);
    EXPECT_EQ(CGraph::lIDGraph, graph + 7);
    EXPECT_EQ(CEdge::lIDedge, edge + 5);
    EXPECT_EQ(CSNode::lIDnode, node + 3);
}

TEST_F(KorDocTest, TheFirstEditOfAnEmptyModelIsUndoneToTheEmptyModel)
{
    TestDoc doc;
    EXPECT_FALSE(doc.Undo()); // nothing taken yet
    EXPECT_FALSE(Enabled(doc, ID_EDIT_UNDO));
    CGraph::lIDGraph += 11;
    doc.UpdateUndo(true);
    EXPECT_EQ(doc.m_nUndoGraphID, CGraph::lIDGraph);
    ASSERT_NE(doc.m_pUndoComp, nullptr);
    EXPECT_EQ(doc.m_pUndoComp->GetCount(), 0);
    EXPECT_TRUE(Enabled(doc, ID_EDIT_UNDO));
    EXPECT_FALSE(Enabled(doc, ID_EDIT_REDO));

    // The first regions, then undo: the model is empty again, with a node
    // list of its own that the regions' nodes are not in.
    doc.AddRegion(0, 0, 1, 1);
    doc.AddRegion(1, 0, 2, 1);
    CSectComp* edited = doc.m_pSectComp;
    ASSERT_TRUE(doc.Undo());
    EXPECT_TRUE(doc.IsEmpty());
    EXPECT_EQ(doc.m_pSectComp->GetCount(), 0);
    ASSERT_NE(doc.m_pNodeList, nullptr);
    EXPECT_EQ(doc.m_pNodeList->m_nCount, 0);
    EXPECT_EQ(CGraph::m_pNodeList, doc.m_pNodeList);
    EXPECT_EQ(doc.m_pRedoComp, edited);
    EXPECT_TRUE(Enabled(doc, ID_EDIT_REDO));

    // Redo brings the regions back; the empty model is the undo copy.
    ASSERT_TRUE(doc.Redo());
    EXPECT_EQ(doc.m_pSectComp, edited);
    EXPECT_EQ(doc.m_pSectComp->GetCount(), 2);
    ASSERT_NE(doc.m_pUndoComp, nullptr);
    EXPECT_EQ(doc.m_pUndoComp->GetCount(), 0);
}

TEST_F(KorDocTest, UndoThenRedoGivesBackTheModelAndItsNodeList)
{
    TestDoc doc;
    SelectingView view;
    doc.AddView(&view);
    doc.AddRegion(0, 0, 1, 1);
    doc.AddRegion(1, 0, 2, 1);
    doc.AddLoosePoint(5, 5);
    CSectComp* model = doc.m_pSectComp;
    NODELIST* nodes = doc.m_pNodeList;
    const std::vector<DWORD> ids = RegionNodeIDs(model);

    doc.UpdateUndo(true);
    ASSERT_NE(doc.m_pUndoComp, nullptr);
    EXPECT_TRUE(Enabled(doc, ID_EDIT_UNDO));
    // No node keeps a link into the copies.
    for (int i = 0; i < nodes->m_nCount; ++i)
        EXPECT_EQ(nodes->m_pNodes[i]->GetCopyNode(), nullptr) << i;
    for (int i = 0; i < doc.m_pUndoNodeList->m_nCount; ++i)
        EXPECT_EQ(doc.m_pUndoNodeList->m_pNodes[i]->GetCopyNode(), nullptr) << i;

    // An edit after the snapshot makes a graph: the counter stays above it.
    doc.AddRegion(3, 3, 4, 4);
    const DWORD raised = CGraph::lIDGraph;

    ASSERT_TRUE(doc.Undo());
    EXPECT_EQ(CGraph::lIDGraph, raised);
    EXPECT_NE(doc.m_pSectComp, model);
    EXPECT_EQ(doc.m_pRedoComp, model);
    EXPECT_EQ(CGraph::m_pNodeList, doc.m_pNodeList);
    EXPECT_EQ(RegionNodeIDs(doc.m_pSectComp), ids);
    // Every region node of the restored model is in the global node list.
    for (POSITION pos = doc.m_pSectComp->GetHeadPosition(); pos;) {
        CSection* section = doc.m_pSectComp->GetNext(pos);
        for (POSITION np = section->GetHeadPosition(); np;)
            EXPECT_GE(CGraph::m_pNodeList->Find(section->GetNextNode(np)), 0);
    }
    EXPECT_EQ(view.cleared, std::vector<CObject*>{nullptr});
    EXPECT_EQ(doc.changes, std::vector<CSectComp*>{model});
    EXPECT_TRUE(doc.IsModified());
    EXPECT_FALSE(Enabled(doc, ID_EDIT_UNDO));
    EXPECT_TRUE(Enabled(doc, ID_EDIT_REDO));

    ASSERT_TRUE(doc.Redo());
    EXPECT_EQ(doc.m_pSectComp, model);
    EXPECT_EQ(doc.m_pNodeList, nodes);
    EXPECT_EQ(CGraph::m_pNodeList, nodes);
    EXPECT_EQ(view.cleared.size(), 2u);
    EXPECT_EQ(doc.m_pRedoComp, nullptr);
    EXPECT_NE(doc.m_pUndoComp, nullptr);
    doc.RemoveView(&view);
}

// A region class without a copy of its own (a plain CSectArea) is left out
// of the snapshot; the snapshot's node copies stay whole, with no edge or
// graph of the dropped copy left on them.
TEST_F(KorDocTest, ARegionClassWithoutItsOwnCopyLeavesTheUndoNodesWhole)
{
    TestDoc doc;
    doc.AddRegion(0, 0, 1, 1);
    doc.AddRegion(1, 0, 2, 1, new CSectArea);
    doc.AddRegion(2, 0, 3, 1);
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        doc.UpdateUndo(true); // the second round releases the first snapshot
        ASSERT_NE(doc.m_pUndoComp, nullptr);
        EXPECT_EQ(doc.m_pUndoComp->GetCount(), 2);
        ASSERT_NE(doc.m_pUndoNodeList, nullptr);
        ASSERT_EQ(doc.m_pUndoNodeList->m_nCount, 12);
        int held = 0, loose = 0;
        for (int i = 0; i < doc.m_pUndoNodeList->m_nCount; ++i) {
            const CSNode* node = doc.m_pUndoNodeList->m_pNodes[i];
            const int graphs = node->GetGraphCount();
            const int edges = node->GetEdgeList() ? node->GetEdgeList()->GetCount() : 0;
            (graphs == 1 ? held : loose) += 1;
            EXPECT_EQ(edges, graphs == 1 ? 2 : 0) << i;
        }
        EXPECT_EQ(held, 8);
        EXPECT_EQ(loose, 4);
    }
    ASSERT_TRUE(doc.Undo());
    EXPECT_EQ(doc.m_pSectComp->GetCount(), 2);
}

TEST_F(KorDocTest, EmptyFormerModelsGoOnUndoButStayOnRedo)
{
    TestDoc doc;
    doc.AddRegion(0, 0, 1, 1);
    doc.UpdateUndo(true);
    // The edit empties the model.
    while (!doc.m_pSectComp->IsEmpty())
        delete doc.m_pSectComp->RemoveHead();
    doc.m_pNodeList->RemoveAll();
    CSectComp* emptied = doc.m_pSectComp;
    const int deletedBefore = doc.deletedModels;
    ASSERT_TRUE(doc.Undo());
    EXPECT_EQ(doc.m_pRedoComp, nullptr); // the empty former model went
    EXPECT_EQ(doc.deletedModels, deletedBefore + 1);
    EXPECT_EQ(doc.changes, std::vector<CSectComp*>{emptied});
    EXPECT_FALSE(doc.Redo());

    // Redo keeps an empty former model as the undo copy.
    TestDoc other;
    other.AddRegion(0, 0, 1, 1);
    other.UpdateUndo(true);
    ASSERT_TRUE(other.Undo());
    CSectComp* restored = other.m_pSectComp;
    while (!restored->IsEmpty())
        delete restored->RemoveHead();
    other.m_pNodeList->RemoveAll(); // the regions took their nodes along
    ASSERT_TRUE(other.Redo());
    EXPECT_EQ(other.m_pUndoComp, restored);
}

TEST_F(KorDocTest, TwentyEditUndoRedoCyclesFreeEveryCopy)
{
    TestDoc doc;
    doc.AddRegion(0, 0, 1, 1);
    for (int i = 0; i < 20; ++i) {
        doc.UpdateUndo(true);
        doc.AddRegion(i, 2, i + 1, 3);
        doc.AddLoosePoint(i, 9);
        ASSERT_TRUE(doc.Undo());
        ASSERT_TRUE(doc.Redo());
        if (i % 3 == 0) {
            ASSERT_TRUE(doc.Undo());
        }
    }
    EXPECT_GE(doc.deletedModels, 19); // each snapshot drops the copy before it
    // Leaks of copies, nodes and lists are found by the sanitizer build.
}

TEST_F(KorDocTest, ScalesAndRotationFollowTheModel)
{
    TestDoc doc;
    doc.m_pSectComp->SetFactor(2.5);
    EXPECT_DOUBLE_EQ(doc.GetValScale(), 2.5);
    EXPECT_DOUBLE_EQ(doc.GetStressScale(), 2.5);
    doc.AddRegion(1, 0, 2, 1);
    EXPECT_FALSE(doc.IsEmpty());
    doc.Rotate(M_PI / 2, 0.0, 0.0, 2, false);
    double xmax, ymax, xmin, ymin;
    doc.m_pSectComp->GetMaxMinCoord(xmax, ymax, xmin, ymin);
    EXPECT_NEAR(ymax, 2.0, 1e-9);
    doc.ActivateDoc();
    EXPECT_EQ(doc.changes, std::vector<CSectComp*>{nullptr});
}

TEST_F(KorDocTest, TheLogFolderIsMadeAndEnteredOnlyWhenAskedToStay)
{
    std::string pattern = ::testing::TempDir() + "kordoc_XXXXXX";
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    TestApp app;
    app.folder = (pattern + "/").c_str();
    TestDoc doc;
    char before[PATH_MAX];
    ASSERT_NE(getcwd(before, sizeof before), nullptr);

    const CString path = doc.ActivateLogDir(false);
    EXPECT_EQ(std::string(path), pattern + "/Ext/log");
    EXPECT_TRUE(std::filesystem::is_directory(pattern + "/Ext/log"));
    char now[PATH_MAX];
    ASSERT_NE(getcwd(now, sizeof now), nullptr);
    EXPECT_STREQ(now, before);

    EXPECT_EQ(std::string(doc.ActivateLogDir(true)), pattern + "/Ext/log");
    ASSERT_NE(getcwd(now, sizeof now), nullptr);
    EXPECT_EQ(std::filesystem::canonical(now), std::filesystem::canonical(pattern + "/Ext/log"));
    ASSERT_EQ(chdir(before), 0);
    std::filesystem::remove_all(pattern);
}

} // namespace
