// Load arrows of a plate as the modelling and element views draw them
// (the document's load scales, the model's or the mesh's loads), rendered
// off-screen: the arrows stand at the loaded edge and node, their length
// the value times the scale, and a saved and reopened document draws the
// same pixels, whatever the order of meshing and working out the scales.
#include <cmath>
#include <cstdint>
#include <vector>

#include <GL/gl.h>

#include "tests/shell/shell_fixture.h"
#include "tests/support/gl_context.h"

namespace
{

using namespace shelltest;
using brantel::test::OffscreenGL;
using brantel::test::TempFile;

using LoadArrows = ShellTest;

constexpr int kPixels = 240;
constexpr double kLow = -700.0, kHigh = 1700.0; // model window of the picture

struct Picture {
    std::vector<std::uint8_t> rgba;
    // Model coordinates of the pixels of one colour: the red x arrow of the
    // node load, or the blue lateral outline of the edge load.
    std::vector<std::array<double, 2>> Where(bool red) const
    {
        std::vector<std::array<double, 2>> out;
        for (int y = 0; y < kPixels; ++y)
            for (int x = 0; x < kPixels; ++x) {
                const std::uint8_t* p = &rgba[4 * static_cast<std::size_t>(y * kPixels + x)];
                const bool hit = red ? p[0] > 128 && p[1] < 64 && p[2] < 64 : p[2] > 128 && p[0] < 64 && p[1] < 64;
                if (hit)
                    out.push_back({kLow + (x + 0.5) * (kHigh - kLow) / kPixels,
                                   kLow + (y + 0.5) * (kHigh - kLow) / kPixels});
            }
        return out;
    }
};

Picture Draw(CBrantelDoc& doc, bool mesh)
{
    OffscreenGL gl(kPixels, kPixels);
    EXPECT_TRUE(gl.ok());
    glViewport(0, 0, kPixels, kPixels);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(kLow, kHigh, kLow, kHigh, -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    CPlateComp* comp = doc.GetPlateComp();
    comp->DrawNodeLoads(doc.m_dNodeLoadScale, mesh);
    comp->DrawEdgeLoads(doc.m_dEdgeLoadScale, mesh, 0);
    glFinish();
    Picture picture;
    picture.rgba.resize(4 * static_cast<std::size_t>(kPixels * kPixels));
    glReadPixels(0, 0, kPixels, kPixels, GL_RGBA, GL_UNSIGNED_BYTE, picture.rgba.data());
    return picture;
}

bool Mesh(CBrantelDoc& doc)
{
    doc.GetPlateComp()->m_iSubdivisions = 4;
    CStringArray log, errors;
    return doc.GetPlateComp()->PreCalc(&log, &errors, 0);
}

// The arrows' length: a third of the diagonal for the largest load.
const double kArrow = std::sqrt(2.0) * 1000.0 / 3.0;
const double kPixel = (kHigh - kLow) / kPixels;

// The red node load at (0, 0) points along -x; the blue lateral load of
// the edge x = 1000 stands beside that edge outside the plate (its normal
// leads into the plate: drawn on the plate, the arrows would cross it),
// between its nodes, no farther from it than the arrow's length.
void ExpectArrowsAtTheirPlaces(const Picture& picture)
{
    const auto red = picture.Where(true), blue = picture.Where(false);
    EXPECT_GE(red.size(), static_cast<std::size_t>(0.8 * kArrow / kPixel)) << "no node load arrow";
    for (const auto& p : red) {
        EXPECT_NEAR(p[1], 0.0, 3 * kPixel) << "node arrow off the x axis at " << p[0];
        EXPECT_LE(p[0], 2 * kPixel) << "node arrow against the load's sense";
        EXPECT_GE(p[0], -kArrow - 2 * kPixel) << "node arrow longer than value x scale";
    }
    EXPECT_GE(blue.size(), static_cast<std::size_t>(1000.0 / kPixel)) << "no edge load outline";
    for (const auto& p : blue) {
        EXPECT_GE(p[0], 1000.0 - 2 * kPixel) << "edge load drawn inside the plate at " << p[1];
        EXPECT_LE(p[0], 1000.0 + kArrow + 2 * kPixel) << "edge arrow too long at " << p[1];
        EXPECT_GE(p[1], -0.1 * kArrow - 2 * kPixel) << "edge load drawn past node 1 at " << p[0];
        EXPECT_LE(p[1], 1000.0 + 0.1 * kArrow + 2 * kPixel) << "edge load drawn past node 2 at " << p[0];
    }
}

} // namespace

// A plate with a lateral load of 10 N/mm on its right edge (local, as the
// edge page stores it) and a node load of -500 N along x at the origin.
TEST_F(LoadArrows, StayAtTheirEdgeAndNodeThroughSaveAndReopen)
{
    // Drawn clockwise, the square's node list is turned round, its edges
    // are not: they run clockwise round the region, and the mesh's
    // counter-clockwise elements run against them.
    for (const bool clockwise : {false, true}) {
        SCOPED_TRACE(clockwise ? "edges run clockwise" : "edges run counter-clockwise");
        TempFile file;
        Picture model, meshed;
        {
            CBrantelDoc doc;
            CSectPlate* region = AddSquare(doc, 0.0, 0.0, 1000.0, clockwise);
            CObList edges;
            region->GetEdges(edges);
            for (POSITION p = edges.GetHeadPosition(); p;) {
                auto* edge = static_cast<CBoundary*>(edges.GetNext(p));
                if (edge->GetNode1()->x != 1000.0 || edge->GetNode2()->x != 1000.0)
                    continue;
                ASSERT_EQ(edge->GetNode1()->y > edge->GetNode2()->y, clockwise);
                auto* load = new CEdgeLoad;
                load->Allocate(6, true, 0.0);
                (*load)[1] = (*load)[3] = (*load)[5] = 10.0;
                load->SetLocal(true);
                edge->SetLoad(load);
            }
            auto* nodeLoad = new CNodeLoad;
            nodeLoad->Allocate(2, true, 0.0);
            (*nodeLoad)[0] = -500.0;
            CSNode* origin = nullptr;
            for (CSNode* corner : Corners(*region))
                if (corner->x == 0.0 && corner->y == 0.0)
                    origin = corner;
            ASSERT_NE(origin, nullptr);
            static_cast<CBoundNode*>(origin)->SetNodeLoad(nodeLoad);
            doc.RecomputeLoadScales(10, 12); // as the element view, before any mesh
            model = Draw(doc, false);
            {
                SCOPED_TRACE("model");
                ExpectArrowsAtTheirPlaces(model);
            }
            ASSERT_TRUE(Mesh(doc));
            doc.RecomputeLoadScales(10, 12); // as the element view
            meshed = Draw(doc, true);
            {
                SCOPED_TRACE("mesh");
                ExpectArrowsAtTheirPlaces(meshed);
            }
            SaveBytes(doc, file);
        }
        // Reopened (the file keeps no mesh), the element view's scales worked
        // out before the mesh is made again.
        CBrantelDoc reopened;
        ASSERT_TRUE(reopened.OnOpenDocument(file.path()));
        reopened.RecomputeLoadScales(10, 12);
        EXPECT_TRUE(Draw(reopened, false).rgba == model.rgba) << "the reopened model draws other arrows";
        ASSERT_TRUE(Mesh(reopened));
        reopened.RecomputeLoadScales(2, 4);
        EXPECT_TRUE(Draw(reopened, true).rgba == meshed.rgba) << "the reopened mesh draws other arrows";
    }
}
