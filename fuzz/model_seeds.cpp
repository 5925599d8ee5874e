// Writes the seed corpus of the model fuzz targets through the API: small
// real models stored by the plate and buckling components (with and without
// the mesh), single objects (beams among them) stored through the object
// archive, and the text exports of graphs, regions, plate regions, node
// lists and matrices.
//   model_seeds <folder>   makes <folder>/<target>/<seed files>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "app/analysis/analysis.h"
#include "femodel/strelna.h"
#include "platform/ferrand/ferrand.h"
#include "platform/weblar/weblar.h"
#include "sections/kantaro.h"

namespace fs = std::filesystem;

namespace
{

fs::path g_root;

void Store(const char* target, const std::string& name, const std::function<void(CArchive&)>& body)
{
    const fs::path file = g_root / target / name;
    CFile f(file.string().c_str(), CFile::modeCreate | CFile::modeWrite);
    CArchive ar(&f, CArchive::store);
    body(ar);
    ar.Close();
}

// A text seed: the selector byte, then the text.
void Text(const char* target, const std::string& name, unsigned char selector, const std::string& text)
{
    const fs::path file = g_root / target / name;
    std::FILE* out = std::fopen(file.string().c_str(), "wb");
    if (!out)
        return;
    std::fputc(selector, out);
    std::fwrite(text.data(), 1, text.size(), out);
    std::fclose(out);
}

// What a body writes into a file, as text.
std::string Written(const std::function<void(CFile&)>& body)
{
    const fs::path file = g_root / "scratch.txt";
    {
        CFile f(file.string().c_str(), CFile::modeCreate | CFile::modeReadWrite);
        body(f);
    }
    std::string text;
    if (std::FILE* in = std::fopen(file.string().c_str(), "rb")) {
        char buf[4096];
        for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, in)) > 0;)
            text.append(buf, n);
        std::fclose(in);
    }
    fs::remove(file);
    return text;
}

CBoundNode* N(double x, double y)
{
    return new CBoundNode(x, y, 0.0, nullptr, 0);
}

// A plate with a hole and a refine point, conditions and loads.
template <class Comp>
std::unique_ptr<Comp> Holed(CMaterial& steel, CMaterial& hole, int code, bool mesh)
{
    auto comp = std::make_unique<Comp>();
    comp->AddMaterial(&steel);
    comp->AddMaterial(&hole);
    comp->SetElementType(code);
    comp->m_iSubdivisions = 4;
    comp->m_nMinElements = 8;
    auto* region = new CSectPlate(N(0, 0), N(4, 0), N(4, 4), N(0, 4), &steel);
    region->InsertSubSect(new CSectPlate(N(1.5, 1.5), N(2.5, 1.5), N(2.5, 2.5), N(1.5, 2.5), &hole));
    auto* point = new CSNode(3.2, 3.1, 0.0, nullptr, 0);
    point->SetSNodSpace(0.5, true);
    region->AddRefinePoint(point);
    static_cast<CBoundNode*>(region->GetNode(0))->SetStandBC(1, 0);
    CNodeLoad load;
    load.Allocate(3, true, 0.0);
    load[2] = -1.0;
    static_cast<CBoundNode*>(region->GetNode(2))->SetNodeLoad(load);
    comp->AddTail(static_cast<CSection*>(region));
    if (mesh) {
        CStringArray log, errors;
        if (!comp->PreCalc(&log, &errors, 0))
            std::fprintf(stderr, "model_seeds: meshing code %d failed\n", code);
    }
    return comp;
}

template <class Comp>
void Models(const char* target, int code)
{
    CMaterial steel("Steel", 7.85e-9, 210000.0, 80000.0, 0.3, 1.2e-5);
    CMaterial hole("VOID", 0.0, 0.0, 0.0, 0.0, 0.0);
    auto plain = Holed<Comp>(steel, hole, code, false);
    Store(target, "plain_" + std::to_string(code), [&](CArchive& ar) { plain->Serialize(ar); });
    plain.reset();
    auto meshed = Holed<Comp>(steel, hole, code, true);
    for (bool withMesh : {false, true}) {
        CSectMeshArea::m_bStoreMesh = withMesh;
        Store(target, (withMesh ? "mesh_" : "nomesh_") + std::to_string(code),
              [&](CArchive& ar) { meshed->Serialize(ar); });
        // The whole model as one object of the archive, too.
        Store("fuzz_objects", std::string(target) + (withMesh ? "_mesh_" : "_nomesh_") + std::to_string(code),
              [&](CArchive& ar) { ar << static_cast<CObject*>(meshed.get()); });
    }
    CSectMeshArea::m_bStoreMesh = false;
}

void Objects()
{
    // Nodes joined by edges, and a graph of them.
    {
        CGraph graph;
        CSNode* a = graph.NewNode(0, 0, 0);
        CSNode* b = graph.NewNode(1, 0, 0);
        CSNode* c = graph.NewNode(0, 1, 0);
        graph.ConnectNodes(a, b);
        graph.ConnectNodes(b, c);
        Store("fuzz_objects", "node", [&](CArchive& ar) { ar << static_cast<CObject*>(a); });
        Store("fuzz_objects", "graph", [&](CArchive& ar) { ar << static_cast<CObject*>(&graph); });
    }
    // A mesh with results, a boundary node with a condition chain and load.
    {
        CMeshOrganizer mesh;
        auto* a = new CBoundNode(0, 0, 0, nullptr, 0);
        auto* b = new CBoundNode(1, 0, 0, nullptr, 0);
        auto* c = new CBoundNode(0, 1, 0, nullptr, 0);
        auto* d = new CBoundNode(1, 1, 0, nullptr, 0);
        auto* t = new CTriElement(a, b, c);
        t->AllocateRes(2);
        t->SetRes(0, new CVector(3, true, 1.0));
        t->SetRes(1, new CVector(3, true, 2.0));
        mesh.AddElement(t);
        mesh.AddElement(new CTriElement(b, d, c));
        a->SetStandBC(3, 0);
        a->SetStandBC(4, 1);
        CNodeLoad load;
        load.Allocate(3, true, 2.0);
        b->SetNodeLoad(load);
        Store("fuzz_objects", "mesh", [&](CArchive& ar) { ar << static_cast<CObject*>(&mesh); });
        Store("fuzz_objects", "boundnode", [&](CArchive& ar) { ar << static_cast<CObject*>(a); });
    }
    // A quadrilateral element, a matrix, a material.
    {
        CQuadElem quad(N(0, 0), N(1, 0), N(1, 1), N(0, 1));
        Store("fuzz_objects", "quad", [&](CArchive& ar) { ar << static_cast<CObject*>(&quad); });
        CMatrix m(2, 3, true, 1.5);
        Store("fuzz_objects", "matrix", [&](CArchive& ar) { ar << static_cast<CObject*>(&m); });
        CMaterial steel("Steel", 7.85e-9, 210000.0, 80000.0, 0.3, 1.2e-5);
        Store("fuzz_objects", "material", [&](CArchive& ar) { ar << static_cast<CObject*>(&steel); });
    }
    // Beams: a member with its cross-section, load, auxiliary vector and
    // end values; an arch through a third node; the cross-section alone.
    {
        CCrSectRect rect(0.3, 0.2);
        auto a = std::make_unique<CSNode>(0.0, 0.0, 0.0, nullptr, 0);
        auto b = std::make_unique<CSNode>(4.0, 0.0, 0.0, nullptr, 0);
        auto c = std::make_unique<CSNode>(2.0, 1.0, 0.0, nullptr, 0);
        auto* member = new CBeamSeg(a.get(), b.get(), &rect);
        auto* load = new CEdgeLoadEx;
        load->Allocate(3, true, 0.0);
        (*load)[1] = -2.0;
        member->SetMemberLoad(load);
        member->SetAuxVector(new CVector(3, true, 1.0));
        member->SetEndValues(0.5, 1.5);
        member->SetElemCount(4);
        Store("fuzz_objects", "beam_member", [&](CArchive& ar) { ar << static_cast<CObject*>(member); });
        auto* arch = new CBeamArch(a.get(), b.get(), c.get(), &rect);
        Store("fuzz_objects", "beam_arch", [&](CArchive& ar) { ar << static_cast<CObject*>(arch); });
        Store("fuzz_objects", "beam_section", [&](CArchive& ar) { ar << static_cast<CObject*>(&rect); });
        // The members go before their nodes.
        delete arch;
        delete member;
    }
}

void Texts()
{
    // Graphs: edges per line (layout 2), identifiers (layout 4).
    Text("fuzz_graph_text", "edges", 0x03 | 0x10, "*GRAPH\n0 0 1 0\n1 0 2 0\n*END\n");
    Text("fuzz_graph_text", "ids", 0x09, "! ids\n*GRAPH\n17 1 2 3\n18 4 5 6\n*END\n");
    {
        CGraph g;
        g.ConnectNodes(g.NewNode(0, 0, 0), g.NewNode(2.5, 1, 0));
        CStringArray keys;
        keys.Add("*GRAPH");
        keys.Add("*END");
        int options[2] = {1, 2};
        Text("fuzz_graph_text", "export", 0x05,
             Written([&](CFile& f) { g.ASCIIExportGraph(f, keys, options, 2, nullptr, 0); }));
    }
    // Node lists, formats 1 to 4.
    Text("fuzz_node_text", "xyz", 0x0C, "NODES\n1 2 3 ; a comment\n4.5 6 0\nEND\n");
    Text("fuzz_node_text", "ids", 0x03, "NODES\n17 4 5 6\n18 1 2 3\nEND\n");
    // Regions and plate regions: the exports with their parameter blocks.
    {
        auto* r = new CSectArea;
        for (auto [x, y] : {std::pair{0.0, 0.0}, {2.5, 0.0}, {2.5, 2.0}, {0.0, 2.0}})
            r->NewNode(x, y, 1.0);
        r->SetName("Plate");
        r->SetPolar(true);
        r->GetMatAxes().Allocate(2, true, 0.5);
        CStringArray markers;
        markers.Add("\xA7Section");
        markers.Add("\xA7" "End");
        markers.Add("NAME");
        int options[2] = {1, 3};
        Text("fuzz_region_text", "export", 0x07,
             Written([&](CFile& f) { r->ASCIIExportGraph(f, markers, options, 2, nullptr, 0); }));
        delete r;
        CMaterial steel("Steel", 7.85e-9, 210000.0, 80000.0, 0.3, 1.2e-5);
        CSectPlate plate(N(0, 0), N(4, 0), N(4, 2.5), N(0, 2.5), &steel);
        plate.SetThickness(10.0);
        CVector coeffs(4, true, 0.1);
        plate.SetLoad(3.0, coeffs);
        int plateOptions[2] = {0, 2};
        Text("fuzz_plate_region_text", "export", 0x01, Written([&](CFile& f) {
                 plate.ASCIIExportGraph(f, markers, plateOptions, 2, nullptr, 0);
                 plate.ASCIIExportGraph(f, markers, plateOptions, 2, nullptr, 0);
             }));
        Text("fuzz_region_text", "plate", 0x03, Written([&](CFile& f) {
                 plate.ASCIIExportGraph(f, markers, plateOptions, 2, nullptr, 0);
             }));
    }
    // Matrices: the whole file, or a keyword block.
    {
        CMatrix m(2, 3, true, 0.0);
        m[0][0] = 1.5;
        m[1][2] = -2.25;
        Text("fuzz_matrix_text", "export", 0x01, Written([&](CFile& f) {
                 m.WriteASCII(&f, "", "", 12, 4, 0, false, false);
             }));
        Text("fuzz_matrix_text", "block", 0x00, "title\nMatrix ! the numbers\n1 2 ! x\n3,5 4 5\nend\n");
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: model_seeds <folder>\n");
        return 2;
    }
    g_root = argv[1];
    for (const char* target : {"fuzz_objects", "fuzz_platecomp", "fuzz_shellcomp", "fuzz_graph_text",
                               "fuzz_node_text", "fuzz_region_text", "fuzz_plate_region_text",
                               "fuzz_matrix_text"})
        fs::create_directories(g_root / target);
    NODELIST nodes;
    CGraph::m_pNodeList = &nodes;
    CMGenerator::Stop(false);
    CSectMeshArea::StopCalc(false);
    CSectMeshArea::m_bNotifyWarning = false;
    Models<CPlateComp>("fuzz_platecomp", 31);
    Models<CPlateComp>("fuzz_platecomp", 32);
    Models<CShellComp>("fuzz_shellcomp", 32);
    Models<CShellComp>("fuzz_shellcomp", 41);
    Objects();
    Texts();
    CGraph::m_pNodeList = nullptr;
    return 0;
}
