// An edge load typed on the edge-load page acts in the same sense on every
// edge of a region: the same transverse value on the left, right, bottom or
// top edge of a simply supported square plate bends it the same way (the
// deflections mirror each other), and the same normal value on opposite
// edges of a membrane gives mirrored displacements.
#include <cmath>
#include <string>
#include <vector>

#include "tests/shell/pages_fixture.h"

namespace
{

using namespace shelltest;

class EdgeLoadSense : public AppTest
{
public:
    void SetUp() override
    {
        AppTest::SetUp();
        ASSERT_TRUE(Start());
    }
    void TearDown() override
    {
        bCalcRunning = false;
        AppTest::TearDown();
    }
    static CChildFrame* FrameOf(CDocument& doc)
    {
        POSITION pos = doc.GetFirstViewPosition();
        CView* view = doc.GetNextView(pos);
        return view ? dynamic_cast<CChildFrame*>(view->GetParentFrame()) : nullptr;
    }
};

// Types value into N1, N2 and N3 of the edge's load page (local axes).
void TypeNormalLoad(CBoundary& edge, int code, const char* value)
{
    CPPEdgeLoad page;
    page.m_pEdge = &edge;
    page.m_iElemType = code;
    RunPages({&page}, [&](DialogDriver& d, ModalScript&) {
        for (int nID : {1154, 1155, 1156})
            d.Type(nID, value);
        d.PressOK();
    });
}

// Result column of the mesh node nearest to (x, y).
double NodeValue(CSectPlate& region, double x, double y, int column)
{
    CSNode* best = nullptr;
    CMeshOrganizer* mesh = region.GetMesh();
    if (!mesh)
        return NAN;
    for (POSITION p = mesh->GetHeadPosition(); p;) {
        CElement* e = mesh->GetNextElem(p);
        for (int k = 0; k < e->GetCount(); ++k) {
            CSNode* n = e->GetNode(k);
            if (!best || std::hypot(n->x - x, n->y - y) < std::hypot(best->x - x, best->y - y))
                best = n;
        }
    }
    return best && best->m_pValues && best->m_pValues->GetSize() > column ? (*best->m_pValues)[column] : NAN;
}

// The four edges of a counter-clockwise square of side 1000 at the origin
// with the middle of each and a mesh node 300 in from it, the axis of the
// edge's normal (x for left and right, y for bottom and top) and the sense
// of that axis out of the plate.
struct Side {
    const char* name;
    int from, to; // corners of the edge
    double mx, my; // the edge's middle
    double x, y;    // the probe point
    int axis;     // 0 x, 1 y
    double outward;
};
const Side kSides[] = {
    {"bottom", 0, 1, 500.0, 0.0, 500.0, 300.0, 1, -1.0},
    {"right", 1, 2, 1000.0, 500.0, 700.0, 500.0, 0, 1.0},
    {"top", 2, 3, 500.0, 1000.0, 500.0, 700.0, 1, 1.0},
    {"left", 3, 0, 0.0, 500.0, 300.0, 500.0, 0, -1.0},
};

// Opposite edges give mirrored values of the same sign, and the sense is the
// same on all four.
void ExpectMirrored(const std::vector<double>& v, int code)
{
    ASSERT_EQ(v.size(), 4u);
    for (std::size_t i = 0; i < 4; ++i) {
        SCOPED_TRACE(testing::Message() << code << " " << kSides[i].name);
        EXPECT_GT(v[i] * v[0], 0.0);
        EXPECT_NEAR(v[i], v[i % 2], 1e-6 * std::fabs(v[i % 2]));
    }
}

TEST_F(EdgeLoadSense, ATransverseLoadBendsTheSimplySupportedPlateAlikeFromEveryEdge)
{
    for (int code : {81, 65}) {
        std::vector<double> w;
        for (const Side& s : kSides) {
            SCOPED_TRACE(testing::Message() << code << " " << s.name);
            auto* doc = dynamic_cast<CBrantelDoc*>(m_app->m_pTemplates[0]->OpenDocumentFile(nullptr));
            ASSERT_NE(doc, nullptr);
            CChildFrame* frame = FrameOf(*doc);
            ASSERT_NE(frame, nullptr);
            doc->GetPlateComp()->SetElementType(code);
            CSectPlate* region = AddSquare(*doc, 0.0, 0.0, 1000.0);
            const std::vector<CSNode*> k = Corners(*region);
            // The two edges along the loaded one simply supported, the
            // other two free.
            for (int i = 0; i < 4; ++i)
                if (i != s.from && (i + 2) % 4 != s.from)
                    static_cast<CBoundary*>(CGraph::GetComEdge(k[i], k[(i + 1) % 4]))->SetBC(1u, 0);
            TypeNormalLoad(*static_cast<CBoundary*>(CGraph::GetComEdge(k[s.from], k[s.to])), code, "10");
            frame->SendMessage(WM_COMMAND, ID_GENERATE_MESH);
            frame->SendMessage(WM_COMMAND, ID_CALCULATE);
            ASSERT_TRUE(doc->m_bMeshValid);
            w.push_back(NodeValue(*region, s.mx, s.my, 0));
            doc->OnCloseDocument();
        }
        ExpectMirrored(w, code);
    }
}

TEST_F(EdgeLoadSense, ANormalLoadActsAlikeOnOppositeMembraneEdges)
{
    for (int code : {41, 31}) {
        std::vector<double> u;
        for (const Side& s : kSides) {
            SCOPED_TRACE(testing::Message() << code << " " << s.name);
            auto* doc = dynamic_cast<CDocRestr*>(m_app->m_pTemplates[1]->OpenDocumentFile(nullptr));
            ASSERT_NE(doc, nullptr);
            POSITION pos = doc->GetFirstViewPosition();
            auto* frame = dynamic_cast<CConstrChFrm*>(doc->GetNextView(pos)->GetParentFrame());
            ASSERT_NE(frame, nullptr);
            doc->GetPlateComp()->SetElementType(code);
            CSectPlate* region = AddSquare(*doc, 0.0, 0.0, 1000.0);
            const std::vector<CSNode*> k = Corners(*region);
            // The two edges along the loaded one hold it fixed.
            for (int i = 0; i < 4; ++i)
                if (i != s.from && (i + 2) % 4 != s.from)
                    static_cast<CBoundary*>(CGraph::GetComEdge(k[i], k[(i + 1) % 4]))->SetBC(2u, 0);
            TypeNormalLoad(*static_cast<CBoundary*>(CGraph::GetComEdge(k[s.from], k[s.to])), code, "10");
            frame->SendMessage(WM_COMMAND, ID_GENERATE_MESH);
            frame->SendMessage(WM_COMMAND, ID_CALCULATE);
            ASSERT_TRUE(doc->m_bMeshValid);
            u.push_back(s.outward * NodeValue(*region, s.x, s.y, s.axis));
            doc->OnCloseDocument();
        }
        ExpectMirrored(u, code);
    }
}

} // namespace
