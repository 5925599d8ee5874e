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

// A new document of the template (0 plate, 1 membrane) and element type
// with the square, the two edges along side s on the condition kind, 10
// typed into the normal values of side s's load page, meshed and
// calculated: the result column at the point (x, y) of the mesh.
double Loaded(CBrantelApp& app, int templ, int code, const Side& s, unsigned kind, double x, double y, int column)
{
    auto* doc = dynamic_cast<CBrantelDoc*>(app.m_pTemplates[templ]->OpenDocumentFile(nullptr));
    EXPECT_NE(doc, nullptr);
    if (!doc)
        return NAN;
    POSITION pos = doc->GetFirstViewPosition();
    CWnd* frame = doc->GetNextView(pos)->GetParentFrame();
    doc->GetPlateComp()->SetElementType(code);
    CSectPlate* region = AddSquare(*doc, 0.0, 0.0, 1000.0);
    const std::vector<CSNode*> k = Corners(*region);
    for (int i = 0; i < 4; ++i)
        if (i != s.from && (i + 2) % 4 != s.from)
            static_cast<CBoundary*>(CGraph::GetComEdge(k[i], k[(i + 1) % 4]))->SetBC(kind, 0);
    TypeNormalLoad(*static_cast<CBoundary*>(CGraph::GetComEdge(k[s.from], k[s.to])), code, "10");
    frame->SendMessage(WM_COMMAND, ID_GENERATE_MESH);
    frame->SendMessage(WM_COMMAND, ID_CALCULATE);
    EXPECT_TRUE(doc->m_bMeshValid);
    const double value = NodeValue(*region, x, y, column);
    doc->OnCloseDocument();
    return value;
}

// The two edges along the loaded one simply supported, the other two free:
// the deflection at the middle of the loaded edge.
TEST_F(EdgeLoadSense, ATransverseLoadBendsTheSimplySupportedPlateAlikeFromEveryEdge)
{
    for (int code : {81, 65}) {
        std::vector<double> w;
        for (const Side& s : kSides) {
            SCOPED_TRACE(testing::Message() << code << " " << s.name);
            w.push_back(Loaded(*m_app, 0, code, s, 1u, s.mx, s.my, 0));
        }
        ExpectMirrored(w, code);
    }
}

// The two edges along the loaded one fixed: the displacement out of the
// plate at the probe point.
TEST_F(EdgeLoadSense, ANormalLoadActsAlikeOnOppositeMembraneEdges)
{
    for (int code : {41, 31}) {
        std::vector<double> u;
        for (const Side& s : kSides) {
            SCOPED_TRACE(testing::Message() << code << " " << s.name);
            u.push_back(s.outward * Loaded(*m_app, 1, code, s, 2u, s.x, s.y, s.axis));
        }
        ExpectMirrored(u, code);
    }
}

} // namespace
