// Brantel without a window: builds a simply supported square steel plate,
// meshes it and runs a plate-bending analysis under uniform pressure, then
// the buckling analysis of the same plate compressed along x (a membrane
// analysis first, then the buckling eigenproblem). Prints the log and error
// lines that the program's log window would show. The solver's run logs
// "Brantel.log" and "Brantel_B.log" are written into a folder of the user's
// own, "brantel/example" under the user's cache folder ($XDG_CACHE_HOME, or
// ~/.cache), or beside the program when there is no home: never into a
// shared folder, where another user could have made the folder or put links
// into it.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "app/analysis/analysis.h"
#include "femodel/strelna.h"
#include "platform/ferrand/ferrand.h"
#include "platform/weblar/weblar.h"

namespace {

constexpr double kSide = 1000.0;     // mm
constexpr double kThickness = 10.0;  // mm
constexpr double kPressure = 0.001;  // N/mm^2
constexpr double kCompression = 1.0; // N/mm^2 along x

void Print(const char* title, const CStringArray& lines)
{
    std::printf("--- %s\n", title);
    for (int i = 0; i < lines.GetSize(); ++i) {
        CString line = lines.GetAt(i);
        line.Replace("\r", "");
        std::fputs(line.GetString(), stdout);
        if (line.IsEmpty() || line[line.GetLength() - 1] != '\n')
            std::fputc('\n', stdout);
    }
}

// A square region of side kSide on four new corner nodes.
CSectPlate* Square(CPlateComp& comp, CMaterial& material, CBoundNode* corner[4])
{
    corner[0] = new CBoundNode(0.0, 0.0, 0.0, nullptr, 0);
    corner[1] = new CBoundNode(kSide, 0.0, 0.0, nullptr, 0);
    corner[2] = new CBoundNode(kSide, kSide, 0.0, nullptr, 0);
    corner[3] = new CBoundNode(0.0, kSide, 0.0, nullptr, 0);
    auto* region = new CSectPlate(corner[0], corner[1], corner[2], corner[3], &material);
    region->SetThickness(kThickness);
    comp.AddTail(region);
    return region;
}

// Simple supports (standard type 1) for the condition set on every edge.
void SupportEdges(CSectPlate& region, int conditionSet)
{
    CObList edges;
    region.GetEdges(edges);
    for (POSITION p = edges.GetHeadPosition(); p;)
        static_cast<CBoundary*>(edges.GetNext(p))->SetBC(1u, conditionSet);
}

CBoundary* EdgeAtX(CSectPlate& region, double x)
{
    CObList edges;
    region.GetEdges(edges);
    for (POSITION p = edges.GetHeadPosition(); p;) {
        auto* e = static_cast<CBoundary*>(edges.GetNext(p));
        if (e->GetNode1()->x == x && e->GetNode2()->x == x)
            return e;
    }
    return nullptr;
}

// A condition of its own at a corner, holding the listed in-plane DOFs.
void Hold(CBoundNode* node, bool x, bool y)
{
    auto* bc = new CBoundCond;
    bc->SetType(16);
    const int n = (x ? 1 : 0) + (y ? 1 : 0);
    CVector v(2 * n, true, 0.0);
    int k = 0;
    if (x)
        v[k++] = 1.0;
    if (y)
        v[k++] = 2.0;
    bc->SetBC(v);
    node->SetBC(bc, 0);
}

bool PlateUnderPressure(CMaterial& steel)
{
    std::printf("=== Simply supported plate %.0f x %.0f x %.0f mm under %g N/mm^2\n", kSide, kSide, kThickness,
                kPressure);
    auto comp = std::make_unique<CPlateComp>();
    comp->AddMaterial(&steel);
    comp->SetElementType(81);
    CBoundNode* corner[4];
    CSectPlate* region = Square(*comp, steel, corner);
    region->SetLoad(kPressure);
    SupportEdges(*region, 0);
    region->SetBoundaryConditions();
    comp->m_iSubdivisions = 16;

    CStringArray log, errors;
    bool ok = comp->PreCalc(&log, &errors, 0) && comp->Calculate(&log, &errors);
    Print("log", log);
    Print("errors", errors);
    if (ok)
        std::printf("result components: %u\n", comp->GetResCount());
    return ok;
}

bool PlateBuckling(CMaterial& steel)
{
    std::printf("=== Buckling of the same plate compressed along x by %g N/mm^2\n", kCompression);
    auto comp = std::make_unique<CShellComp>();
    comp->AddMaterial(&steel);
    comp->SetElementType(31); // membrane pre-analysis with 3-node triangles
    CBoundNode* corner[4];
    CSectPlate* region = Square(*comp, steel, corner);
    // Membrane (condition set 0): the edge x = 0 held against x, the origin
    // against y as well; the edge x = kSide pushed inwards.
    EdgeAtX(*region, 0.0)->SetBC(1u, 0);
    Hold(corner[0], true, true);
    Hold(corner[3], true, false);
    auto* load = new CEdgeLoad;
    load->Allocate(6, true, 0.0);
    (*load)[0] = (*load)[2] = (*load)[4] = -kCompression * kThickness;
    EdgeAtX(*region, kSide)->SetLoad(load);
    // Plate (condition set 1): every edge and corner simply supported.
    SupportEdges(*region, 1);
    region->SetBoundaryConditions();
    for (CBoundNode* c : corner)
        c->SetStandBC(1, 1);
    comp->m_iSubdivisions = 12;
    comp->SetBucklingCtrl(CShellComp::kBucklingType, 81);
    comp->SetBucklingCtrl(CShellComp::kModes, 2);

    CStringArray log, errors;
    const bool ok = comp->Calculate(&log, &errors);
    Print("log", log);
    Print("errors", errors);
    return ok;
}

// The folder for the run logs: under the user's cache folder, or beside the
// program (argv0) when there is no home.
std::filesystem::path LogFolder(const char* argv0)
{
    namespace fs = std::filesystem;
    const char* cache = std::getenv("XDG_CACHE_HOME");
    const char* home = std::getenv("HOME");
    if (cache && cache[0] == '/')
        return fs::path(cache) / "brantel" / "example";
    if (home && home[0] == '/')
        return fs::path(home) / ".cache" / "brantel" / "example";
    std::error_code ec;
    const fs::path program = fs::canonical("/proc/self/exe", ec);
    return (ec ? fs::absolute(argv0, ec) : program).parent_path() / "brantel-example-logs";
}

// Makes the folder (only the user may enter a new one) and checks that it
// is the user's own: a folder, not a link, that nobody else may write.
// Returns an empty string or why it may not be used.
std::string UseOwnFolder(const std::filesystem::path& folder)
{
    std::error_code ec;
    std::filesystem::create_directories(folder.parent_path(), ec);
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST)
        return std::strerror(errno);
    struct stat st {
    };
    if (::lstat(folder.c_str(), &st) != 0)
        return std::strerror(errno);
    if (!S_ISDIR(st.st_mode))
        return "it is not a folder";
    if (st.st_uid != ::geteuid())
        return "it belongs to another user";
    if ((st.st_mode & (S_IWGRP | S_IWOTH)) != 0)
        return "other users may write it";
    if (::chdir(folder.c_str()) != 0)
        return std::strerror(errno);
    return std::string();
}

} // namespace

int main(int, char** argv)
{
    const std::filesystem::path folder = LogFolder(argv[0]);
    if (const std::string refused = UseOwnFolder(folder); !refused.empty()) {
        std::fprintf(stderr, "brantel_example: cannot use the folder %s: %s\n", folder.c_str(), refused.c_str());
        return 1;
    }
    std::printf("Brantel headless example; the solver's run logs go to %s\n", folder.c_str());

    NODELIST nodes;
    CGraph::m_pNodeList = &nodes;
    // The materials outlive the components that list them. The values are
    // the materials dialog's "Steel" preset (density in kg/mm^3).
    CMaterial steel("Steel", 7.85e-06, 210000.0, 210000.0 / 2.6, 0.3, 1.2e-05);
    const bool pressure = PlateUnderPressure(steel);
    const bool buckling = PlateBuckling(steel);
    CGraph::m_pNodeList = nullptr;

    std::printf("=== %s\n", pressure && buckling ? "both analyses succeeded" : "an analysis failed");
    return pressure && buckling ? 0 : 1;
}
