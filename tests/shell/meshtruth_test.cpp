// Calculate runs on the model as it is: supports and loads edited after the
// mesh was made (and undone) reach the next run, which gives what a fresh
// mesh gives; a model without a mesh is meshed first; a run on an unchanged
// model keeps its mesh.
#include <algorithm>
#include <string>
#include <vector>

#include "tests/shell/shell_fixture.h"

namespace
{

using namespace shelltest;

class MeshTruth : public AppTest
{
public:
    void SetUp() override
    {
        AppTest::SetUp();
        ASSERT_TRUE(Start());
        const char* root = std::getenv("BRANTEL_SOURCE_DIR");
        const std::string sample = std::string(root ? root : ".") + "/examples/membrane.mem";
        doc = dynamic_cast<CBrantelDoc*>(m_app->OpenDocumentFile(sample.c_str()));
        ASSERT_NE(doc, nullptr);
        POSITION pos = doc->GetFirstViewPosition();
        CView* view = doc->GetNextView(pos);
        ASSERT_NE(view, nullptr);
        frame = dynamic_cast<CChildFrame*>(view->GetParentFrame());
        ASSERT_NE(frame, nullptr);
        log = RunLogWindow();
        ASSERT_NE(log, nullptr);
    }
    void TearDown() override
    {
        bCalcRunning = false;
        AppTest::TearDown();
    }
    void Send(UINT id) { frame->SendMessage(WM_COMMAND, id); }
    std::string LogText()
    {
        CString text;
        log->GetLogEdit().GetWindowText(text);
        return std::string(static_cast<LPCTSTR>(text));
    }
    static std::size_t Count(const std::string& text, const std::string& what)
    {
        std::size_t n = 0;
        for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
            ++n;
        return n;
    }
    // The extremes of Sigma x, Sigma y and Tau xy after a run.
    std::vector<double> Extremes()
    {
        CPlateComp* comp = doc->GetPlateComp();
        std::vector<double> out;
        for (int r = 0; r < 3; ++r) {
            out.push_back(comp->GetMaxVal(r));
            out.push_back(comp->GetMinVal(r));
        }
        return out;
    }
    // The sample's one region and its outline edge with both ends on the
    // line x = at (vertical) or y = at.
    CBoundary* Edge(bool vertical, double at)
    {
        auto* region = dynamic_cast<CSectPlate*>(doc->GetPlateComp()->GetHead());
        CObList edges;
        region->GetEdges(edges);
        for (POSITION p = edges.GetHeadPosition(); p;) {
            auto* e = static_cast<CBoundary*>(edges.GetNext(p));
            const double a = vertical ? e->GetNode1()->x : e->GetNode1()->y;
            const double b = vertical ? e->GetNode2()->x : e->GetNode2()->y;
            if (a == at && b == at)
                return e;
        }
        return nullptr;
    }

    CBrantelDoc* doc = nullptr;
    CChildFrame* frame = nullptr;
    KorLogWnd* log = nullptr;
};

const char* const kNoMeshLine = "--- There is no mesh yet: generating the mesh before calculating.";
const char* const kChangedLine = "--- The model changed since the mesh was generated: generating "
                                 "it again with the same settings before "
                                 "calculating.";
const char* const kMeshBlock = " ************** Mesh *****************";

TEST_F(MeshTruth, CalculateMeshesAModelWithoutAMeshFirst)
{
    ASSERT_EQ(doc->GetPlateComp()->GetElementCount(false), 0);
    Send(ID_CALCULATE);
    const std::string text = LogText();
    const auto said = text.find(kNoMeshLine), mesh = text.find(kMeshBlock),
               calc = text.find(" ************** CALCULATE *****************");
    ASSERT_NE(said, std::string::npos) << text;
    EXPECT_LT(said, mesh);
    EXPECT_LT(mesh, calc);
    EXPECT_TRUE(doc->m_bMeshValid);
    EXPECT_NEAR(doc->GetPlateComp()->GetMaxVal(0), 2.0, 1e-9);
    EXPECT_NEAR(doc->GetPlateComp()->GetMinVal(0), 2.0, 1e-9);

    // A second run on the unchanged model keeps the mesh.
    Send(ID_CALCULATE);
    EXPECT_EQ(Count(LogText(), kMeshBlock), 1u);
    EXPECT_EQ(Count(LogText(), kChangedLine), 0u);
}

// Each edit after a run changes the next Calculate's result to the one a
// fresh mesh gives: the mesh is made again first.
TEST_F(MeshTruth, EditsAfterARunReachTheNextCalculate)
{
    struct Edit {
        const char* name;
        void (*apply)(MeshTruth&);
    } edits[] = {
        // "Roller 1" on the top edge: the contraction across is held.
        {"support", [](MeshTruth& t) { t.Edge(false, 100.0)->SetBC(1u, 0); }},
        // The pull on the right edge doubled.
        {"load",
         [](MeshTruth& t) {
             CLoad* load = t.Edge(true, 200.0)->GetLoad();
             for (int i = 0; i < load->GetSize(); ++i)
                 (*load)[i] *= 2.0;
         }},
        // The support of the left edge taken away, the corner held both ways
        // on its own: the plate pulls free and the right edge's load is
        // carried by the corner alone.
        {"support removed", [](MeshTruth& t) { t.Edge(true, 0.0)->ClearBC(-1); }},
    };
    Send(ID_GENERATE_MESH);
    Send(ID_CALCULATE);
    const std::vector<double> before = Extremes();
    for (const Edit& edit : edits) {
        SCOPED_TRACE(edit.name);
        doc->UpdateUndo(true);
        edit.apply(*this);
        doc->SetModifiedFlag(TRUE);
        const std::size_t changed = Count(LogText(), kChangedLine);
        Send(ID_CALCULATE);
        EXPECT_EQ(Count(LogText(), kChangedLine), changed + 1);
        ASSERT_TRUE(doc->m_bMeshValid);
        const std::vector<double> edited = Extremes();
        EXPECT_NE(edited, before);
        // The fresh mesh's answer.
        Send(ID_GENERATE_MESH);
        Send(ID_CALCULATE);
        EXPECT_EQ(Extremes(), edited);

        // Undone, the next run gives the first answer again: the model
        // that comes back has no mesh.
        const std::size_t none = Count(LogText(), kNoMeshLine);
        ASSERT_TRUE(doc->Undo());
        Send(ID_CALCULATE);
        EXPECT_EQ(Count(LogText(), kNoMeshLine), none + 1);
        EXPECT_EQ(Extremes(), before);
    }
}

// The uniform-tension patch on a constrained membrane (1000 x 1000 mm,
// 10 mm, the default 10 x 10 mesh): left and bottom edges on "Roller 1"
// with nothing set on the corners, 10 N/mm on the right edge. The corner
// at the origin holds both ways and Sigma x is 1 N/mm^2 everywhere.
// The buckling document's "Membrane analysis" runs on the model as it is
// too: the sample, opened without a mesh, is meshed first.
TEST_F(MeshTruth, TheMembraneAnalysisOfTheBucklingSampleMeshesFirst)
{
    const char* root = std::getenv("BRANTEL_SOURCE_DIR");
    const std::string sample = std::string(root ? root : ".") + "/examples/buckling.shl";
    auto* shell = dynamic_cast<CDocShell*>(m_app->OpenDocumentFile(sample.c_str()));
    ASSERT_NE(shell, nullptr);
    POSITION pos = shell->GetFirstViewPosition();
    CFrameWnd* shellFrame = shell->GetNextView(pos)->GetParentFrame();
    ASSERT_EQ(shell->GetPlateComp()->GetElementCount(false), 0);
    const std::size_t none = Count(LogText(), kNoMeshLine);
    shellFrame->SendMessage(WM_COMMAND, ID_MEMBRANE_ANALYSIS);
    EXPECT_EQ(Count(LogText(), kNoMeshLine), none + 1);
    EXPECT_GT(shell->GetPlateComp()->GetElementCount(false), 0);
    ASSERT_TRUE(shell->m_bMeshValid);
    // The plate is compressed by 1 N/mm^2 along x.
    EXPECT_NEAR(shell->GetPlateComp()->GetMinVal(0), -1.0, 1e-6);
}

class MeshTruthConstrained : public AppTest
{
};

TEST_F(MeshTruthConstrained, TheTensionPatchIsUniformOnTheConstrainedMesh)
{
    ASSERT_TRUE(Start());
    for (int code : {41, 32}) {
        SCOPED_TRACE(code);
        auto* doc = dynamic_cast<CDocRestr*>(m_app->m_pTemplates[1]->OpenDocumentFile(nullptr));
        ASSERT_NE(doc, nullptr);
        POSITION pos = doc->GetFirstViewPosition();
        auto* frame = dynamic_cast<CConstrChFrm*>(doc->GetNextView(pos)->GetParentFrame());
        ASSERT_NE(frame, nullptr);
        doc->GetPlateComp()->SetElementType(code);
        CSectPlate* region = AddSquare(*doc, 0.0, 0.0, 1000.0);
        const std::vector<CSNode*> k = Corners(*region);
        static_cast<CBoundary*>(CGraph::GetComEdge(k[0], k[1]))->SetBC(1u, 0); // bottom
        static_cast<CBoundary*>(CGraph::GetComEdge(k[3], k[0]))->SetBC(1u, 0); // left
        auto* load = new CEdgeLoad;
        load->Allocate(6, true, 0.0);
        (*load)[0] = (*load)[2] = (*load)[4] = 10.0;
        static_cast<CBoundary*>(CGraph::GetComEdge(k[1], k[2]))->SetLoad(load); // right
        frame->SendMessage(WM_COMMAND, ID_CALCULATE);
        ASSERT_TRUE(doc->m_bMeshValid);
        CPlateComp* comp = doc->GetPlateComp();
        EXPECT_NEAR(comp->GetMaxVal(0), 1.0, 1e-9);
        EXPECT_NEAR(comp->GetMinVal(0), 1.0, 1e-9);
        for (int r : {1, 2}) {
            EXPECT_NEAR(comp->GetMaxVal(r), 0.0, 1e-9) << r;
            EXPECT_NEAR(comp->GetMinVal(r), 0.0, 1e-9) << r;
        }
        // The model's corner holds what the user set there: nothing.
        EXPECT_TRUE(!k[0]->GetBC(0) || k[0]->GetBC(0)->IsClear(true));
    }
}

} // namespace
