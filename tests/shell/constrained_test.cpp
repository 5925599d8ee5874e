// The constrained-mesh document and its child frame: the settings and their
// archive, the quadrilateral region through its dialog, the settings dialog's
// text forms and rules, the structured mesh with its edge grading, Coarser
// and Finer, and the element options sheet.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "femodel/quad.h"
#include "app/shell/mainframe.h"
#include "platform/dimvor/units.h"
#include "tests/shell/shell_fixture.h"

namespace
{

using namespace shelltest;
using afxui::headless::DialogDriver;
using afxui::headless::ModalScript;
using brantel::test::TempFile;

template <class T> Bytes Raw(T value)
{
    Bytes bytes(sizeof(T));
    std::memcpy(bytes.data(), &value, sizeof(T));
    return bytes;
}

bool EndsWith(const Bytes& bytes, const Bytes& tail)
{
    return bytes.size() >= tail.size() &&
           std::equal(tail.begin(), tail.end(), bytes.end() - static_cast<long>(tail.size()));
}

CVector Vec(std::vector<double> values)
{
    CVector v(static_cast<int>(values.size()));
    for (std::size_t i = 0; i < values.size(); ++i)
        v[static_cast<int>(i)] = values[i];
    return v;
}

std::vector<double> Values(const CVector& v)
{
    return std::vector<double>(v.GetVector(), v.GetVector() + v.GetSize());
}

// The settings a document holds, for comparing two documents.
struct Settings {
    UINT m, n;
    int prog[4];
    double ratio[4];
    int even, odd;
    std::vector<double> lists[4];

    explicit Settings(CDocRestr& doc)
        : m(doc.m_nElemA), n(doc.m_nElemB), even(doc.m_nEvenRows), odd(doc.m_nOddRows)
    {
        const auto edges = doc.Edges();
        for (std::size_t i = 0; i < 4; ++i) {
            prog[i] = *edges[i].progression;
            ratio[i] = *edges[i].ratio;
            lists[i] = Values(*edges[i].list);
        }
    }
    bool operator==(const Settings& o) const
    {
        return m == o.m && n == o.n && std::equal(prog, prog + 4, o.prog) &&
               std::equal(ratio, ratio + 4, o.ratio) && even == o.even && odd == o.odd &&
               std::equal(lists, lists + 4, o.lists);
    }
};

// Settings with every field away from its default.
void SetSample(CDocRestr& doc)
{
    doc.m_nProgR = 0;
    doc.m_nProgS = 1;
    doc.m_nProgT = 2;
    doc.m_nProgU = -3;
    doc.m_nElemA = 4;
    doc.m_nElemB = 7;
    doc.m_dRatioR = 2.5;
    doc.m_dRatioS = -0.5;
    doc.m_dRatioT = 1.0;
    doc.m_dRatioU = 3.0;
    doc.m_nEvenRows = 2;
    doc.m_nOddRows = 3;
    doc.m_vDistS = Vec({0.25, 0.5, 0.75});
}

using ConstrainedArchive = ShellTest;

TEST_F(ConstrainedArchive, ANewDocumentMeshesTenByTenLinearlyWithoutMinimum)
{
    CDocRestr doc;
    EXPECT_EQ(doc.m_nElemA, 10u);
    EXPECT_EQ(doc.m_nElemB, 10u);
    for (const auto& edge : doc.Edges()) {
        EXPECT_EQ(*edge.ratio, 1.0);
        EXPECT_EQ(*edge.progression, 0);
        EXPECT_EQ(edge.list->GetSize(), 0);
    }
    EXPECT_EQ(doc.m_nEvenRows, 0);
    EXPECT_EQ(doc.m_nOddRows, 0);
    EXPECT_EQ(doc.GetPlateComp()->m_nMinElements, 1);
}

TEST_F(ConstrainedArchive, SettingsAndListsFollowThePlateLayoutAndComeBack)
{
    TempFile file;
    Bytes bytes;
    {
        CDocRestr doc;
        AddSquare(doc, 0.0, 0.0, 100.0);
        SetSample(doc);
        bytes = SaveBytes(doc, file);
    }
    const Bytes settings = Raw<LONG>(0) + Raw<LONG>(1) + Raw<LONG>(2) + Raw<LONG>(-3) +
                           Raw<DWORD>(4) + Raw<DWORD>(7) + Raw(2.5) + Raw(-0.5) + Raw(1.0) +
                           Raw(3.0) + Raw<LONG>(2) + Raw<LONG>(3);
    const Bytes lists = Raw<LONG>(0) + Raw<LONG>(3) + Raw(0.25) + Raw(0.5) + Raw(0.75) +
                        Raw<LONG>(0) + Raw<LONG>(0);
    // The plate document's blocks (empty here) come first, then the settings.
    EXPECT_TRUE(EndsWith(bytes, Raw<LONG>(1) + Bytes(12, 0) + settings + lists));

    CDocRestr loaded;
    ASSERT_TRUE(loaded.OnOpenDocument(file.path()));
    CDocRestr expected;
    SetSample(expected);
    EXPECT_TRUE(Settings(loaded) == Settings(expected));
    EXPECT_EQ(loaded.GetPlateComp()->GetCount(), 1);
    TempFile again;
    EXPECT_EQ(SaveBytes(loaded, again), bytes);
}

TEST_F(ConstrainedArchive, ShortFilesLoadWithoutListsOrAreRefusedWhole)
{
    Bytes good;
    {
        CDocRestr doc;
        AddSquare(doc, 0.0, 0.0, 100.0);
        doc.m_nElemA = 3;
        doc.m_dRatioR = -1.0;
        TempFile file;
        good = SaveBytes(doc, file);
    }
    const std::size_t listBytes = 16, patternBytes = 8, ratioBytes = 32;
    // The version and the composite alone: a file without the blocks.
    const Bytes bare = brantel::test::storeBytes<Bytes>([](CArchive& ar) {
        CDocRestr doc;
        AddSquare(doc, 0.0, 0.0, 100.0);
        ar << LONG(1);
        doc.m_pSectComp->Serialize(ar);
    });
    struct Case {
        const char* what;
        Bytes bytes;
        bool loads;
    };
    const Case cases[] = {
        {"ends after the row patterns", Bytes(good.begin(), good.end() - listBytes), true},
        {"ends inside the ratios",
         Bytes(good.begin(), good.end() - listBytes - patternBytes - ratioBytes / 2), false},
        {"ends before the plate document's blocks", bare, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CDocRestr doc;
        AddSquare(doc, 0.0, 0.0, 50.0);
        AddSquare(doc, 100.0, 0.0, 50.0);
        doc.m_vDistT = Vec({0.5});
        const Settings before(doc);
        TempFile file;
        file.writeBytes(c.bytes.data(), c.bytes.size());
        if (!c.loads)
            Boxes().Expect("Unexpected file format.");
        EXPECT_EQ(doc.OnOpenDocument(file.path()), c.loads ? TRUE : FALSE);
        if (c.loads) {
            EXPECT_EQ(doc.m_nElemA, 3u);
            EXPECT_EQ(doc.m_dRatioR, -1.0);
            EXPECT_EQ(doc.m_vDistT.GetSize(), 0);
            EXPECT_EQ(doc.GetPlateComp()->GetCount(), 1);
        } else {
            EXPECT_TRUE(Settings(doc) == before);
            EXPECT_EQ(doc.GetPlateComp()->GetCount(), 2);
        }
    }
}

// Element counts whose mesh would exceed the largest the program makes
// refuse the file; the open document keeps its settings.
TEST_F(ConstrainedArchive, ElementCountsBeyondTheLargestMeshAreRefused)
{
    Bytes good;
    {
        CDocRestr doc;
        AddSquare(doc, 0.0, 0.0, 100.0);
        SetSample(doc);
        TempFile file;
        good = SaveBytes(doc, file);
    }
    const Bytes counts = Raw<LONG>(-3) + Raw<DWORD>(4) + Raw<DWORD>(7);
    const auto at = std::search(good.begin(), good.end(), counts.begin(), counts.end());
    ASSERT_NE(at, good.end());
    const std::size_t offset = static_cast<std::size_t>(at - good.begin()) + 4;
    const struct {
        DWORD m, n;
        bool loads;
    } cases[] = {{1000, 1000, true},   {1000000, 1, true},   {1000001, 1, false},
                 {1001, 1000, false},  {0, 10, false},       {10, 0, false},
                 {4294967295u, 10, false}, {65536, 65536, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.m << " x " << c.n);
        Bytes bytes = good;
        std::memcpy(&bytes[offset], &c.m, 4);
        std::memcpy(&bytes[offset + 4], &c.n, 4);
        TempFile file;
        file.writeBytes(bytes.data(), bytes.size());
        CDocRestr doc;
        AddSquare(doc, 0.0, 0.0, 50.0);
        const Settings before(doc);
        if (!c.loads)
            Boxes().Expect("Unexpected file format.");
        EXPECT_EQ(doc.OnOpenDocument(file.path()), c.loads ? TRUE : FALSE);
        if (c.loads) {
            EXPECT_EQ(doc.m_nElemA, c.m);
            EXPECT_EQ(doc.m_nElemB, c.n);
        } else {
            EXPECT_TRUE(Settings(doc) == before);
        }
    }
}

TEST(ConstrainedListText, ShowsPercentagesWithoutTrailingZeros)
{
    const struct {
        std::vector<double> list;
        const char* text;
    } cases[] = {
        {{0.125}, "12.5"},
        {{1.0}, "100"},
        {{0.0}, "0"},
        {{0.25, 0.5, 0.75}, "25 ; 50 ; 75"},
        {{}, ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CConstrChFrm::FormatDistList(Vec(c.list)), c.text);
        CVector parsed;
        CConstrChFrm::ParseDistList(c.text, parsed);
        EXPECT_EQ(Values(parsed), c.list) << c.text;
    }
}

// ---- the frame --------------------------------------------------------------------

constexpr int kAx = 1006, kBx = 1008, kCx = 1007, kDx = 1009;
constexpr int kAy = 1010, kThickness = 1014, kSlopeX = 1142, kRefX = 16234;
constexpr int kListBoxR = 535, kListBoxS = 1086, kListR = 16230, kListS = 16239;
constexpr int kRatioR = 1005, kElemA = 1002, kOddRows = 352;

double Number(const CString& text)
{
    return std::atof(text);
}

class ConstrainedFrame : public AppTest
{
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        ASSERT_TRUE(Start());
        doc = dynamic_cast<CDocRestr*>(m_app->m_pTemplates[1]->OpenDocumentFile(nullptr));
        ASSERT_NE(doc, nullptr);
        POSITION pos = doc->GetFirstViewPosition();
        CView* view = doc->GetNextView(pos);
        ASSERT_NE(view, nullptr);
        frame = dynamic_cast<CConstrChFrm*>(view->GetParentFrame());
        ASSERT_NE(frame, nullptr);
        log = RunLogWindow();
        ASSERT_NE(log, nullptr);
        // Metres on screen, millimetres stored.
        savedUnit = iConv[iStandard][0][0];
        iConv[iStandard][0][0] = 1;
        f = MetricToX(iStandard, kUnitLength, iConv[iStandard][0][0]);
    }
    void TearDown() override
    {
        iConv[iStandard][0][0] = savedUnit;
        bCalcRunning = false;
        AppTest::TearDown();
    }
    void Send(UINT id) { frame->SendMessage(WM_COMMAND, id); }
    CPlateComp& Comp() { return *doc->GetPlateComp(); }
    CSectPlate* Region()
    {
        return Comp().IsEmpty() ? nullptr : dynamic_cast<CSectPlate*>(Comp().GetHead());
    }
    // The default square through the dialog.
    void DefineSquare()
    {
        ModalScript script;
        script.Dialog(CDlgQuadCreate::IDD, [](DialogDriver& d, CDialog&) { d.PressOK(); });
        ASSERT_TRUE(frame->DefineRegion());
    }
    std::string Text(CEdit& edit)
    {
        CString text;
        edit.GetWindowText(text);
        return std::string(static_cast<LPCTSTR>(text));
    }
    // The mesh's elements and the sorted coordinates of their nodes.
    std::pair<std::vector<CElement*>, std::vector<std::pair<double, double>>> Mesh()
    {
        std::vector<CElement*> elements;
        std::set<std::pair<double, double>> nodes;
        Comp().ForEachMeshRegion([&](CSectMeshArea* r) {
            if (!r->GetMesh())
                return;
            for (POSITION p = r->GetMesh()->GetHeadPosition(); p;) {
                auto* element = dynamic_cast<CElement*>(r->GetMesh()->GetNext(p));
                if (!element)
                    continue;
                elements.push_back(element);
                for (POSITION q = element->GetHeadPosition(); q;) {
                    CSNode* node = element->GetNextNode(q);
                    nodes.insert({node->x, node->y});
                }
            }
        });
        return {elements, {nodes.begin(), nodes.end()}};
    }

    CDocRestr* doc = nullptr;
    CConstrChFrm* frame = nullptr;
    KorLogWnd* log = nullptr;
    double f = 1.0;
    int savedUnit = 0;
};

TEST_F(ConstrainedFrame, TheDefaultSquareBecomesTheRegionInStoredUnits)
{
    ASSERT_NE(f, 1.0) << "the test needs a length unit other than the stored one";
    // The dialog proposes the active thickness, in the display unit: OK
    // gives the region that thickness, not 100 display units.
    auto* main = dynamic_cast<CMainFrame*>(AfxGetMainWnd());
    ASSERT_NE(main, nullptr);
    main->m_dActThickness = 12.5;
    DefineSquare();
    CSectPlate* region = Region();
    ASSERT_NE(region, nullptr);
    ASSERT_EQ(region->GetCount(), 4);
    const std::vector<std::pair<double, double>> expected = {
        {-500.0, -500.0}, {500.0, -500.0}, {500.0, 500.0}, {-500.0, 500.0}}; // A, B, D, C
    const std::vector<CSNode*> corners = Corners(*region);
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_NEAR(corners[i]->x, expected[i].first / f, 1e-6) << i;
        EXPECT_NEAR(corners[i]->y, expected[i].second / f, 1e-6) << i;
    }
    CObList edges;
    region->GetEdges(edges);
    EXPECT_EQ(edges.GetCount(), 4);
    EXPECT_NEAR(region->GetThickness(), 12.5, 1e-9);
    EXPECT_EQ(region->GetThicknessVector().GetSize(), 0);
    EXPECT_TRUE(doc->IsModified());
}

TEST_F(ConstrainedFrame, CrossingEdgesBringTheDialogBackUntilCancel)
{
    ModalScript script;
    // D and C swapped: the sides BD and CA cross.
    script.Dialog(CDlgQuadCreate::IDD, [](DialogDriver& d, CDialog&) {
        d.Type(kDx, "-500");
        d.Type(kCx, "500");
        d.PressOK();
    });
    script.MessageBox("Edges cannot intersect");
    script.Dialog(CDlgQuadCreate::IDD, [](DialogDriver& d, CDialog&) {
        EXPECT_EQ(d.Text(kDx), "-500"); // the entries come back
        d.PressOK();
    });
    script.MessageBox("Edges cannot intersect");
    script.Dialog(CDlgQuadCreate::IDD, [](DialogDriver& d, CDialog&) { d.PressCancel(); });
    EXPECT_FALSE(frame->DefineRegion());
    script.Verify();
    EXPECT_TRUE(Comp().IsEmpty());

    // A present region is not moved into a crossing outline either.
    DefineSquare();
    const double before = Corners(*Region())[2]->x;
    ModalScript again;
    again.Dialog(CDlgQuadCreate::IDD, [](DialogDriver& d, CDialog&) {
        d.Type(kDx, "-500");
        d.Type(kCx, "500");
        d.PressOK();
    });
    again.MessageBox("Edges cannot intersect");
    again.Dialog(CDlgQuadCreate::IDD, [](DialogDriver& d, CDialog&) { d.PressCancel(); });
    EXPECT_FALSE(frame->DefineRegion());
    again.Verify();
    EXPECT_EQ(Corners(*Region())[2]->x, before);
}

TEST_F(ConstrainedFrame, APresentRegionIsShownAndKeepsWhatTheDialogDoesNotChange)
{
    DefineSquare();
    CSectPlate* region = Region();
    CVector coeffs = Vec({100.0, 200.0, 0.01, 0.02}); // reference x, y; slopes x, y
    region->SetThickness(12.0, coeffs);
    const std::vector<CSNode*> k = Corners(*region);
    auto edge = [&](int i, int j) { return static_cast<CBoundary*>(CGraph::GetComEdge(k[i], k[j])); };
    edge(0, 1)->SetBC(1u, 0);   // AB
    edge(1, 2)->SetBC(2u, 0);   // BD
    edge(2, 3)->SetBC(7u, 0);   // DC: another kind
    CBoundCond* other = edge(2, 3)->GetBC(0);
    ASSERT_NE(other, nullptr);

    ModalScript script;
    script.Dialog<CDlgQuadCreate>(CDlgQuadCreate::IDD, [&](DialogDriver& d, CDlgQuadCreate& dlg) {
        EXPECT_EQ(dlg.m_iBCAB, 1);
        EXPECT_EQ(dlg.m_iBCBD, 2);
        EXPECT_EQ(dlg.m_iBCCD, 3);
        EXPECT_EQ(dlg.m_iBCAC, 0);
        EXPECT_NEAR(Number(d.Text(kAx)), -500.0, 1e-9);
        EXPECT_NEAR(Number(d.Text(kAy)), -500.0, 1e-9);
        EXPECT_NEAR(Number(d.Text(kThickness)), 12.0 * f, 1e-12);
        EXPECT_NEAR(Number(d.Text(kSlopeX)), 0.01, 1e-12);
        EXPECT_NEAR(Number(d.Text(kRefX)), 100.0 * f, 1e-12);
        d.Type(kAx, "-600");
        d.PressOK();
    });
    ASSERT_TRUE(frame->DefineRegion());
    EXPECT_EQ(Region(), region);
    EXPECT_NEAR(k[0]->x, -600.0 / f, 1e-6);
    EXPECT_NEAR(region->GetThickness(), 12.0, 1e-9);
    EXPECT_EQ(Values(region->GetThicknessVector()).size(), 4u);
    EXPECT_NEAR(region->GetThicknessVector()[0], 100.0, 1e-9);
    EXPECT_NEAR(region->GetThicknessVector()[3], 0.02, 1e-12);
    EXPECT_EQ(edge(2, 3)->GetBC(0), other);
    ASSERT_NE(edge(0, 1)->GetBC(0), nullptr);
    EXPECT_EQ(edge(0, 1)->GetBC(0)->GetType(), 1u);
    EXPECT_EQ(edge(3, 0)->GetBC(0), nullptr);
}

TEST_F(ConstrainedFrame, CountsBeyondTheLargestMeshAreRefusedWithAMessage)
{
    DefineSquare();
    ModalScript script;
    script.Dialog(CDlgConstrMesh::IDD, [&script](DialogDriver& d, CDialog&) {
        d.Type(1002, "2000");
        d.Type(1003, "600");
        script.MessageBox("A mesh of 2000 x 600 elements is larger than the 1000000 elements "
                          "the program meshes.");
        d.PressOK();
        d.Type(1003, "4294967295");
        script.MessageBox("Please enter an integer between 1 and 1000000.");
        d.PressOK();
        d.Type(1003, "500");
        d.PressOK();
    });
    Send(ID_ELEM_MESH_CONTROL);
    script.Verify();
    EXPECT_EQ(doc->m_nElemA, 2000u);
    EXPECT_EQ(doc->m_nElemB, 500u);
}

TEST_F(ConstrainedFrame, AListSetsTheCountAndReadsTheSameWhenShownAgain)
{
    DefineSquare();
    {
        ModalScript script;
        script.Dialog(CDlgConstrMesh::IDD, [](DialogDriver& d, CDialog&) {
            EXPECT_EQ(d.Text(kOddRows), "1");
            d.Click(kListBoxR);
            d.Type(kListR, "25 ; 50 ; 75");
            d.Type(kOddRows, "3");
            d.PressOK();
        });
        Send(ID_ELEM_MESH_CONTROL);
        script.Verify();
    }
    EXPECT_EQ(doc->m_nElemA, 4u);
    EXPECT_EQ(Values(doc->m_vDistR), (std::vector<double>{0.25, 0.5, 0.75}));
    EXPECT_EQ(doc->m_dRatioR, -1.0);
    EXPECT_EQ(doc->m_dRatioS, 1.0);
    EXPECT_EQ(doc->m_nOddRows, 2);
    ModalScript script;
    script.Dialog(CDlgConstrMesh::IDD, [](DialogDriver& d, CDialog&) {
        EXPECT_EQ(d.Check(kListBoxR), 1);
        EXPECT_EQ(d.Text(kListR), "25 ; 50 ; 75");
        EXPECT_EQ(d.Text(kRatioR), "1");
        EXPECT_EQ(d.Text(kElemA), "4");
        EXPECT_EQ(d.Text(kOddRows), "3");
        d.PressCancel();
    });
    EXPECT_FALSE(frame->EditMeshSettings());
    script.Verify();
}

TEST_F(ConstrainedFrame, RefusedListsBringTheDialogBackAndCancelKeepsTheSettings)
{
    DefineSquare();
    const Settings before(*doc);
    const struct {
        const char* what;
        const char* listR; // null: box not ticked
        const char* listS;
        const char* message; // null: refused without a message
    } cases[] = {
        {"unequal lengths of a ticked pair", "30 ; 60", "50", nullptr},
        {"decreasing", "50 ; 25", nullptr,
         "Edge A: the positions must lie between 0 and 100 and each must be greater than the "
         "one before it."},
        {"repeated", nullptr, "40 ; 40",
         "Edge A': the positions must lie between 0 and 100 and each must be greater than the "
         "one before it."},
        {"at the end", "50 ; 100", nullptr,
         "Edge A: the positions must lie between 0 and 100 and each must be greater than the "
         "one before it."},
        {"at the start", "0 ; 50", "0 ; 50",
         "Edge A: the positions must lie between 0 and 100 and each must be greater than the "
         "one before it."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ModalScript script;
        script.Dialog(CDlgConstrMesh::IDD, [&](DialogDriver& d, CDialog&) {
            d.Type(kElemA, "6");
            if (c.listR) {
                d.Click(kListBoxR);
                d.Type(kListR, c.listR);
            }
            if (c.listS) {
                d.Click(kListBoxS);
                d.Type(kListS, c.listS);
            }
            d.PressOK();
        });
        if (c.message)
            script.MessageBox(c.message);
        script.Dialog(CDlgConstrMesh::IDD, [&](DialogDriver& d, CDialog&) {
            if (c.listR) {
                EXPECT_EQ(d.Text(kListR), c.listR);
            }
            EXPECT_EQ(d.Text(kElemA), "6");
            d.PressCancel();
        });
        EXPECT_FALSE(frame->EditMeshSettings());
        script.Verify();
        EXPECT_TRUE(Settings(*doc) == before);
    }
}

TEST_F(ConstrainedFrame, TenByTenMeshesIntoOneHundredQuadrilateralsTheSameEveryTime)
{
    Comp().SetElementType(41);
    DefineSquare();
    Send(ID_GENERATE_MESH);
    EXPECT_TRUE(doc->m_bMeshValid);
    const auto first = Mesh();
    ASSERT_EQ(first.first.size(), 100u);
    for (CElement* element : first.first)
        EXPECT_NE(dynamic_cast<CQuadElem*>(element), nullptr);
    EXPECT_EQ(first.second.size(), 121u);
    EXPECT_EQ(Comp().m_nElements, 100);
    const std::string text = Text(log->GetLogEdit());
    EXPECT_NE(text.find("\r\n ************** Mesh *****************\r\n"
                        "\r\n--- Preparing mesh. Please wait.\r\n"),
              std::string::npos)
        << text;

    Send(ID_GENERATE_MESH);
    const auto second = Mesh();
    EXPECT_EQ(second.first.size(), 100u);
    EXPECT_EQ(second.second, first.second);
    EXPECT_EQ(Comp().m_nNodes, 121);
    // The region keeps its own four corners and edges.
    CObList edges;
    Region()->GetEdges(edges);
    EXPECT_EQ(Region()->GetCount(), 4);
    EXPECT_EQ(edges.GetCount(), 4);
}

TEST_F(ConstrainedFrame, EdgesAreGradedAlongTheirReadingDirectionAndPassTheirConditions)
{
    // AddSquare's corners run A, B, D, C with the edges stored A->B, B->D,
    // D->C and C->A: A' and B are stored against their reading direction.
    CSectPlate* region = AddSquare(*doc, 0.0, 0.0, 1000.0);
    const std::vector<CSNode*> k = Corners(*region);
    doc->m_nElemA = 4;
    doc->m_dRatioR = doc->m_dRatioS = -1.0;
    doc->m_vDistR = doc->m_vDistS = Vec({0.1, 0.3, 0.6});
    doc->m_nElemB = 3;
    doc->m_dRatioT = doc->m_dRatioU = 2.0;
    auto* bottom = static_cast<CBoundary*>(CGraph::GetComEdge(k[0], k[1]));
    bottom->SetBC(1u, 0);
    ASSERT_TRUE(frame->GenerateMesh());

    const auto along = [&](int i, int j, bool useX) {
        std::vector<double> out;
        CObList* subs = CGraph::GetComEdge(k[i], k[j])->GetSubNodeList();
        for (POSITION p = subs ? subs->GetHeadPosition() : nullptr; p;) {
            auto* node = static_cast<CSNode*>(subs->GetNext(p));
            out.push_back(useX ? node->x : node->y);
        }
        std::sort(out.begin(), out.end());
        return out;
    };
    const auto near = [](const std::vector<double>& got, const std::vector<double>& want) {
        if (got.size() != want.size())
            return false;
        for (std::size_t i = 0; i < got.size(); ++i)
            if (std::fabs(got[i] - want[i]) > 1e-6)
                return false;
        return true;
    };
    const std::vector<double> listed = {100.0, 300.0, 600.0};
    EXPECT_TRUE(near(along(0, 1, true), listed));  // A, from A
    EXPECT_TRUE(near(along(3, 2, true), listed));  // A', from C
    // Ratio 2 over three elements: sides 2/9, 3/9 and 4/9 from the first corner.
    const std::vector<double> graded = {2000.0 / 9.0, 5000.0 / 9.0};
    EXPECT_TRUE(near(along(0, 3, false), graded)); // B, from A
    EXPECT_TRUE(near(along(1, 2, false), graded)); // B', from B
    EXPECT_EQ(Mesh().first.size(), 24u);           // 4 x 3 cells, two triangles each

    // The sub-nodes of the supported edge carry the condition on boundary
    // edges of the mesh; the region keeps its four edges.
    CObList* subs = bottom->GetSubNodeList();
    ASSERT_NE(subs, nullptr);
    for (POSITION p = subs->GetHeadPosition(); p;) {
        auto* node = static_cast<CSNode*>(subs->GetNext(p));
        int supported = 0;
        for (POSITION q = node->GetEdgeList()->GetHeadPosition(); q;) {
            auto* segment = dynamic_cast<CBoundary*>(node->GetEdgeList()->GetNext(q));
            if (segment && segment != bottom && segment->GetBC(0) && segment->GetBC(0)->GetType() == 1u)
                ++supported;
        }
        EXPECT_EQ(supported, 2) << node->x;
    }
    CObList edges;
    region->GetEdges(edges);
    EXPECT_EQ(edges.GetCount(), 4);
    EXPECT_EQ(region->GetCount(), 4);
}

TEST_F(ConstrainedFrame, MeshRefusalsAndARegionWithoutFourCorners)
{
    // Busy: the one-run message and nothing else.
    DefineSquare();
    bCalcRunning = true;
    Boxes().Expect(kOneCalculationText);
    EXPECT_FALSE(frame->GenerateMesh());
    Boxes().Verify();
    bCalcRunning = false;
    EXPECT_TRUE(Mesh().first.empty());

    // Five corners: the old mesh is gone, so is its validity, and the
    // error tab says why.
    ASSERT_TRUE(frame->GenerateMesh());
    EXPECT_TRUE(doc->m_bMeshValid);
    CSectPlate* region = Region();
    const std::vector<CSNode*> k = Corners(*region);
    ASSERT_TRUE(region->AddNode(k[0], new CBoundNode(0.0, -700.0 / f, 0.0, nullptr, 0), k[1]));
    EXPECT_FALSE(frame->GenerateMesh());
    EXPECT_FALSE(doc->m_bMeshValid);
    EXPECT_TRUE(Mesh().first.empty());
    EXPECT_EQ(Text(log->GetErrorEdit()), "The region needs exactly four corners to be meshed.\r\n");
    EXPECT_EQ(log->GetTabWnd().GetActiveTab(), 1);
}

TEST_F(ConstrainedFrame, AQuadrilateralTheMesherRefusesLeavesNothingOfItsMeshBehind)
{
    // D pushed inwards: a simple outline with a reflex corner, and a
    // supported edge that would hand its condition to the mesh.
    ModalScript script;
    script.Dialog(CDlgQuadCreate::IDD, [](DialogDriver& d, CDialog&) {
        d.Type(kDx, "-300");
        d.Type(1013, "-300");
        d.PressOK();
    });
    ASSERT_TRUE(frame->DefineRegion());
    const std::vector<CSNode*> k = Corners(*Region());
    static_cast<CBoundary*>(CGraph::GetComEdge(k[0], k[1]))->SetBC(1u, 0);
    const std::size_t edgesAtA = static_cast<std::size_t>(k[0]->GetEdgeList()->GetCount());
    EXPECT_FALSE(frame->GenerateMesh());
    EXPECT_FALSE(doc->m_bMeshValid);
    EXPECT_NE(Text(log->GetErrorEdit()).find("Could not generate mesh for region"), std::string::npos);
    EXPECT_EQ(static_cast<std::size_t>(k[0]->GetEdgeList()->GetCount()), edgesAtA);
    EXPECT_EQ(k[0]->GetCopyNode(), nullptr);
}

TEST_F(ConstrainedFrame, MeshingWithoutARegionAsksForTheModelFirst)
{
    ModalScript script;
    script.Dialog(CDlgQuadCreate::IDD, [](DialogDriver& d, CDialog&) { d.PressOK(); });
    script.Dialog(CDlgConstrMesh::IDD, [](DialogDriver& d, CDialog&) {
        d.Type(kElemA, "3");
        d.PressOK();
    });
    Send(ID_GENERATE_MESH);
    script.Verify();
    EXPECT_EQ(doc->m_nElemA, 3u);
    EXPECT_EQ(Mesh().first.size(), 60u); // 3 x 10 cells of two triangles
    EXPECT_TRUE(doc->m_bMeshValid);
}

TEST_F(ConstrainedFrame, CoarserAndFinerStepOnlyPairsWithoutListsAndStopAtOne)
{
    const struct {
        UINT id;
        double r, t; // the first ratio of each pair
        UINT m, n, wantM, wantN;
    } cases[] = {
        {ID_COARSER, 1.0, 1.0, 10, 5, 9, 4},
        {ID_COARSER, 1.0, 1.0, 1, 1, 1, 1},
        {ID_FINER, -1.0, 2.0, 4, 5, 4, 6},
        {ID_FINER, 1.0, -1.0, 10, 3, 11, 3},
    };
    // No busy test and no change of the mesh flag here.
    bCalcRunning = true;
    for (const auto& c : cases) {
        doc->m_dRatioR = c.r;
        doc->m_dRatioT = c.t;
        doc->m_nElemA = c.m;
        doc->m_nElemB = c.n;
        doc->m_bMeshValid = true;
        Send(c.id);
        EXPECT_EQ(doc->m_nElemA, c.wantM) << c.id << " " << c.m;
        EXPECT_EQ(doc->m_nElemB, c.wantN) << c.id << " " << c.n;
        EXPECT_TRUE(doc->m_bMeshValid);
    }
}

TEST_F(ConstrainedFrame, ElementOptionsKeepEverythingWhenConfirmedUnchanged)
{
    constexpr int kStoragePage = 1;
    constexpr int kSkylineStorage = 16054;
    Comp().SetElementType(85);
    Comp().m_iStorage = 2;
    Comp().m_iRenumbering = 1;
    for (const bool toSkyline : {false, true}) {
        SCOPED_TRACE(toSkyline);
        doc->m_bMeshValid = true;
        ModalScript script;
        script.Dialog(RUNTIME_CLASS(CPropertySheet), [&](DialogDriver& d, CDialog& dlg) {
            EXPECT_EQ(d.Caption(), "Advanced Element and Mesh-control Options");
            EXPECT_EQ(dynamic_cast<CPropertySheet&>(dlg).GetPageCount(), 2);
            if (toSkyline) {
                d.ActivatePage(kStoragePage);
                d.Click(kSkylineStorage);
            }
            d.PressOK();
        });
        Send(ID_ELEM_OPTIONS);
        script.Verify();
        EXPECT_EQ(Comp().GetElementType(), 85);
        EXPECT_EQ(Comp().m_iStorage, toSkyline ? 1 : 2);
        EXPECT_EQ(doc->m_bMeshValid, !toSkyline);
        if (!toSkyline) {
            EXPECT_EQ(Comp().m_iRenumbering, 1);
        }
    }
}

} // namespace

namespace
{

using ConstrainedMenus = shelltest::ShellTest;

TEST_F(ConstrainedMenus, OfferTheMeshSettingsAndTheElementControl)
{
    const struct {
        UINT menu;
        const char* meshText;
        bool elementControl;
    } cases[] = {{IDR_CONSTR_PLATE, "&Mesh control", true},
                 {IDR_CONSTR_MEMBRANE, "&Mesh control", true},
                 {IDR_CONSTR_SHELL, "&Mesh control", true},
                 {IDR_PLATE, "&Element && mesh control", false}};
    for (const auto& c : cases) {
        CMenu menu;
        ASSERT_TRUE(menu.LoadMenu(c.menu)) << c.menu;
        CMenu* calculate = nullptr;
        CString text;
        for (int i = 0; !calculate && i < static_cast<int>(menu.GetMenuItemCount()); ++i)
            if (CMenu* popup = menu.GetSubMenu(i);
                popup && popup->GetMenuString(ID_CALCULATE, text, MF_BYCOMMAND) > 0)
                calculate = popup;
        ASSERT_NE(calculate, nullptr);
        EXPECT_GT(calculate->GetMenuString(ID_ELEM_MESH_CONTROL, text, MF_BYCOMMAND), 0) << c.menu;
        EXPECT_EQ(text, c.meshText) << c.menu;
        EXPECT_EQ(calculate->GetMenuString(ID_ELEM_OPTIONS, text, MF_BYCOMMAND) > 0, c.elementControl)
            << c.menu;
        if (c.elementControl) {
            EXPECT_EQ(text, "Element control");
        }
    }
}

} // namespace
