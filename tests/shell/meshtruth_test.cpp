// A calculation runs on the mesh the user made and never on stale copies:
// without a mesh Calculate and the membrane run say "No mesh detected"
// (the buckling run meshes inside its run); an edit of a model node's or
// edge's condition or load deletes the meshes of the regions that hold it,
// and nothing else deletes or remakes a mesh; a buckling run takes over
// membrane results only while the model is unchanged since they were
// computed.
#include <algorithm>
#include <functional>
#include <string>
#include <unordered_set>
#include <vector>

#include "tests/shell/pages_fixture.h"

namespace
{

using namespace shelltest;

std::string Text(KorLogEdit& edit)
{
    CString text;
    edit.GetWindowText(text);
    return std::string(static_cast<LPCTSTR>(text));
}

std::size_t Count(const std::string& text, const std::string& what)
{
    std::size_t n = 0;
    for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

const char* const kMeshBlock = " ************** Mesh *****************";
const char* const kMembraneLine = "Perfoming membrane analysis";

class MeshTruth : public AppTest
{
public:
    void SetUp() override
    {
        AppTest::SetUp();
        ASSERT_TRUE(Start());
        log = RunLogWindow();
        ASSERT_NE(log, nullptr);
    }
    void TearDown() override
    {
        bCalcRunning = false;
        AppTest::TearDown();
    }
    template <class Doc> Doc* Open(const char* name)
    {
        const char* root = std::getenv("BRANTEL_SOURCE_DIR");
        const std::string sample = std::string(root ? root : ".") + "/examples/" + name;
        return dynamic_cast<Doc*>(m_app->OpenDocumentFile(sample.c_str()));
    }
    static CChildFrame* FrameOf(CDocument& doc)
    {
        POSITION pos = doc.GetFirstViewPosition();
        CView* view = doc.GetNextView(pos);
        return view ? dynamic_cast<CChildFrame*>(view->GetParentFrame()) : nullptr;
    }
    static bool Meshed(CSectPlate* region) { return region->GetMesh() != nullptr; }

    KorLogWnd* log = nullptr;
};

// Calculate on the membrane sample and the buckling document's membrane run
// on its sample, both opened without a mesh: the run fails with "No mesh
// detected" on the Error tab after the failure message, and no mesh is
// made. Calculate answers true (the run took place) and false only when it
// is refused.
TEST_F(MeshTruth, WithoutAMeshTheRunsSayNoMeshDetected)
{
    struct Case {
        const char* sample;
        UINT command;
    };
    for (const Case c : {Case{"buckling.shl", ID_MEMBRANE_ANALYSIS}, Case{"membrane.mem", ID_CALCULATE}}) {
        SCOPED_TRACE(c.sample);
        auto* doc = Open<CBrantelDoc>(c.sample);
        ASSERT_NE(doc, nullptr);
        CChildFrame* frame = FrameOf(*doc);
        ASSERT_NE(frame, nullptr);
        const std::size_t meshes = Count(Text(log->GetLogEdit()), kMeshBlock);
        const std::size_t errors = Count(Text(log->GetErrorEdit()), "No mesh detected");
        {
            ModalScript script;
            script.MessageBox("An error occurred while calculating");
            if (c.command == ID_CALCULATE)
                EXPECT_TRUE(frame->Calculate());
            else
                frame->SendMessage(WM_COMMAND, c.command);
            script.Verify();
        }
        EXPECT_EQ(Count(Text(log->GetErrorEdit()), "No mesh detected"), errors + 1);
        EXPECT_EQ(Count(Text(log->GetLogEdit()), kMeshBlock), meshes);
        EXPECT_EQ(doc->GetPlateComp()->GetElementCount(false), 0);
        EXPECT_FALSE(doc->m_bMeshValid);
    }
    auto* doc = Open<CBrantelDoc>("membrane.mem");
    bCalcRunning = true;
    ModalScript script;
    script.MessageBox("Brantel can only handle one calculation at a time.");
    EXPECT_FALSE(FrameOf(*doc)->Calculate());
    script.Verify();
}

// The buckling sample: Cancel in the modes dialog runs and meshes nothing;
// OK meshes inside the run (75.92 N/mm^2 under 1 N/mm^2). A second run on
// the unchanged model takes over the membrane results; after the thickness
// went from 10 to 20 the membrane analysis runs again (Sigma x -0.5) and
// the load factor is 607.36, eight times the first.
TEST_F(MeshTruth, TheBucklingRunMeshesInItsRunAndRecomputesStaleMembraneResults)
{
    auto* doc = Open<CDocShell>("buckling.shl");
    ASSERT_NE(doc, nullptr);
    CChildFrame* frame = FrameOf(*doc);
    auto* comp = dynamic_cast<CShellComp*>(doc->GetPlateComp());
    auto* region = dynamic_cast<CSectPlate*>(comp->GetHead());
    ASSERT_NE(region, nullptr);
    const auto modes = [](ModalScript& script, bool ok) {
        script.Dialog(KorDlgDblVal::IDD_PLAIN, [ok](DialogDriver& d, CDialog&) {
            if (!ok) {
                d.PressCancel();
                return;
            }
            d.Type(KorDlgDblVal::IDC_VALUE, "2");
            d.PressOK();
        });
    };
    const auto membraneRuns = [&] { return Count(Text(log->GetLogEdit()), kMembraneLine); };
    const auto run = [&](bool ok) {
        ModalScript script;
        modes(script, ok);
        const bool ran = frame->Calculate();
        script.Verify();
        return ran;
    };

    EXPECT_FALSE(run(false));
    EXPECT_FALSE(Meshed(region));

    ASSERT_TRUE(run(true));
    ASSERT_TRUE(Meshed(region));
    EXPECT_EQ(membraneRuns(), 1u);
    ASSERT_GT(comp->m_LoadFactors.GetSize(), 0);
    EXPECT_NEAR(comp->m_LoadFactors[0], 75.92, 75.92 * 1e-4);
    const int elements = comp->GetElementCount(false);

    // Cancel after a run: the mesh and the results stay.
    const double first = comp->m_LoadFactors[0];
    EXPECT_FALSE(run(false));
    EXPECT_EQ(comp->GetElementCount(false), elements);
    EXPECT_EQ(comp->m_iResultState, 3);
    EXPECT_EQ(comp->m_LoadFactors[0], first);

    // Unchanged: the membrane results are taken over.
    ASSERT_TRUE(run(true));
    EXPECT_EQ(membraneRuns(), 1u);
    EXPECT_NEAR(comp->m_LoadFactors[0], first, first * 1e-9);

    // The region sheet's thickness: stored, document modified.
    region->SetThickness(20.0);
    doc->SetModifiedFlag(TRUE);
    ASSERT_TRUE(run(true));
    EXPECT_EQ(membraneRuns(), 2u);
    EXPECT_EQ(comp->GetElementCount(false), elements) << "the mesh stays";
    EXPECT_NEAR(comp->m_LoadFactors[0], 607.36, 607.36 * 1e-4);
    EXPECT_NEAR(comp->GetMinVal(0), -0.5, 1e-6);
}

// Three squares of a plate: A and B share an edge, C lies apart. Each
// edit through the sheets deletes the meshes of the regions holding what
// it changed; mesh-level edits of the element view delete none.
TEST_F(MeshTruth, EditsOfSupportsAndLoadsDeleteTheMeshesThatHoldThem)
{
    auto* doc = dynamic_cast<CBrantelDoc*>(m_app->m_pTemplates[0]->OpenDocumentFile(nullptr));
    ASSERT_NE(doc, nullptr);
    CChildFrame* frame = FrameOf(*doc);
    ASSERT_NE(frame, nullptr);
    CPlateComp* comp = doc->GetPlateComp();
    CSectPlate* a = AddSquare(*doc, 0.0, 0.0, 100.0);
    const std::vector<CSNode*> k = Corners(*a);
    auto* material = static_cast<CMaterial*>(comp->GetMaterialList().GetHead());
    auto* b = new CSectPlate(k[1], new CBoundNode(200.0, 0.0, 0.0, nullptr, 0),
                             new CBoundNode(200.0, 100.0, 0.0, nullptr, 0), k[2], material);
    b->SetThickness(10.0);
    comp->AddTail(b);
    CSectPlate* c = AddSquare(*doc, 300.0, 0.0, 100.0);
    CEdge* shared = CGraph::GetComEdge(k[1], k[2]);
    ASSERT_NE(shared, nullptr);
    ASSERT_TRUE(a->IsEdgeInGraph(shared) && b->IsEdgeInGraph(shared));
    const std::vector<CSNode*> kc = Corners(*c);
    CSNode* farB = Corners(*b)[1];

    const auto mesh = [&] {
        frame->SendMessage(WM_COMMAND, ID_GENERATE_MESH);
        ASSERT_TRUE(Meshed(a) && Meshed(b) && Meshed(c));
    };
    const auto sheet = [](ModalScript& script, const char* caption, int page, UINT control,
                          const char* text) {
        script.Dialog(RUNTIME_CLASS(CPropertySheet), [=](DialogDriver& d, CDialog&) {
            EXPECT_EQ(d.Caption(), caption);
            d.ActivatePage(page);
            if (text)
                d.Type(control, text);
            else
                d.Click(control);
            d.PressOK();
        });
    };
    // A list's sheet: "&Change" ticked, the third choice, OK.
    const auto changed = [](ModalScript& script) {
        script.Dialog(RUNTIME_CLASS(CPropertySheet), [](DialogDriver& d, CDialog&) {
            d.Click(16143);
            d.Click(1102);
            d.PressOK();
        });
    };
    CDOFLink* link = new CDOFLink(k[3], kc[0]);
    CObList nodeList;
    nodeList.AddTail(farB);
    CObList edgeList;
    edgeList.AddTail(CGraph::GetComEdge(kc[0], kc[1]));
    struct Case {
        const char* name;
        std::function<void()> edit;
        bool a, b, c; // which meshes stay
    } cases[] = {
        {"edge page, shared edge",
         [&] {
             ModalScript s;
             sheet(s, "Edge information", 0, 1102, nullptr);
             doc->EditEdgeInfo(shared);
             s.Verify();
         },
         false, false, true},
        {"edge load of C",
         [&] {
             ModalScript s;
             sheet(s, "Edge information", 1, 1154, "5");
             doc->EditEdgeInfo(edgeList.GetHead());
             s.Verify();
         },
         true, true, false},
        {"edge list of C",
         [&] {
             ModalScript s;
             changed(s);
             doc->EditEdgeInfo(&edgeList);
             s.Verify();
         },
         true, true, false},
        {"node page, corner of A alone",
         [&] {
             ModalScript s;
             sheet(s, "Node information", 1, 1102, nullptr);
             doc->EditNodeInfo(k[0], false);
             s.Verify();
         },
         false, true, true},
        {"node list, corner of B alone",
         [&] {
             ModalScript s;
             changed(s);
             doc->EditNodes(&nodeList);
             s.Verify();
         },
         true, false, true},
        {"link page, A to C",
         [&] {
             ModalScript s;
             sheet(s, "Link information", 0, 1102, nullptr);
             doc->EditLinkInfo(link);
             s.Verify();
         },
         false, true, false},
        {"sheet closed with OK, nothing changed",
         [&] {
             ModalScript s;
             s.Dialog(RUNTIME_CLASS(CPropertySheet), [](DialogDriver& d, CDialog&) { d.PressOK(); });
             doc->EditEdgeInfo(shared);
             s.Verify();
         },
         true, true, true},
    };
    for (const Case& e : cases) {
        SCOPED_TRACE(e.name);
        mesh();
        e.edit();
        EXPECT_EQ(Meshed(a), e.a);
        EXPECT_EQ(Meshed(b), e.b);
        EXPECT_EQ(Meshed(c), e.c);
    }

    // The element view's own edits: a condition on a mesh node keeps every
    // mesh, deleted elements stay deleted through Calculate, and nothing is
    // meshed again.
    mesh();
    CSNode* meshNode = nullptr;
    a->GetMesh()->GetHeadElem()->ForEachNode(true, [&](CSNode* n) {
        if (!meshNode && n->x > 1.0 && n->x < 99.0)
            meshNode = n;
    });
    ASSERT_NE(meshNode, nullptr);
    {
        ModalScript s;
        sheet(s, "Node information", 1, 1102, nullptr);
        doc->EditNodeInfo(meshNode, true);
        s.Verify();
    }
    EXPECT_TRUE(Meshed(a) && Meshed(b) && Meshed(c));
    // Undo and redo: a snapshot taken before the mesh comes back without a
    // mesh; redo brings the meshed model with the mesh made from it.
    doc->UpdateUndo(true);
    mesh();
    const int meshed = comp->GetElementCount(false);
    ASSERT_TRUE(doc->Undo());
    EXPECT_EQ(doc->GetPlateComp()->GetElementCount(false), 0);
    ASSERT_TRUE(doc->Redo());
    EXPECT_EQ(doc->GetPlateComp()->GetElementCount(false), meshed);

    // The membrane sample: an element deleted in the element view stays
    // deleted through Calculate, which meshes nothing.
    auto* sample = Open<CBrantelDoc>("membrane.mem");
    ASSERT_NE(sample, nullptr);
    FrameOf(*sample)->SendMessage(WM_COMMAND, ID_GENERATE_MESH);
    CPlateComp* plate = sample->GetPlateComp();
    auto* region = dynamic_cast<CSectPlate*>(plate->GetHead());
    ASSERT_TRUE(region && Meshed(region));
    const int before = plate->GetElementCount(false);
    CElement* doomed = region->GetMesh()->GetHeadElem();
    plate->RemoveElems({doomed});
    delete doomed;
    const std::size_t meshes = Count(Text(log->GetLogEdit()), kMeshBlock);
    FrameOf(*sample)->SendMessage(WM_COMMAND, ID_CALCULATE);
    EXPECT_TRUE(sample->m_bMeshValid);
    EXPECT_EQ(plate->GetElementCount(false), before - 1);
    EXPECT_EQ(Count(Text(log->GetLogEdit()), kMeshBlock), meshes);
}

// The uniform-tension patch on a constrained membrane (1000 x 1000 mm,
// 10 mm, the default 10 x 10 mesh): left and bottom edges on "Roller 1"
// with nothing set on the corners, 10 N/mm on the right edge. The corner
// at the origin holds both ways and Sigma x is 1 N/mm^2 everywhere. Generate
// mesh and then Calculate mesh once.
TEST_F(MeshTruth, TheTensionPatchIsUniformOnTheConstrainedMesh)
{
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
        const std::size_t meshes = Count(Text(log->GetLogEdit()), kMeshBlock);
        frame->SendMessage(WM_COMMAND, ID_GENERATE_MESH);
        frame->SendMessage(WM_COMMAND, ID_CALCULATE);
        EXPECT_EQ(Count(Text(log->GetLogEdit()), kMeshBlock), meshes + 1);
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
