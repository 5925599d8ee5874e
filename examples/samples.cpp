#include "examples/samples.h"

#include <cstdio>

#include "app/analysis/analysis.h"
#include "app/shell/brantelshell.h"
#include "app/shell/materialdlgs.h"
#include "platform/ferrand/ferrand.h"

namespace samples
{

namespace
{

constexpr double kThickness = 10.0; // mm

// The "Steel" preset of the materials dialog, as a user gets it: modulus,
// shear modulus, Poisson's ratio, density (kg/mm^3) and expansion.
const CMaterialDialog::Preset& SteelPreset()
{
    return CMaterialDialog::kPresets[1];
}

// A rectangle 0..w x 0..h of steel; corners counter-clockwise from the
// origin.
struct Rect {
    CSectPlate* region = nullptr;
    CBoundNode* corner[4] = {};

    Rect(CBrantelDoc& doc, double w, double h)
    {
        CPlateComp* comp = doc.GetPlateComp();
        const double* v = SteelPreset().values;
        auto* steel = new CMaterial(SteelPreset().name, v[3], v[0], v[1], v[2], v[4]);
        comp->AddMaterial(steel);
        corner[0] = new CBoundNode(0.0, 0.0, 0.0, nullptr, 0);
        corner[1] = new CBoundNode(w, 0.0, 0.0, nullptr, 0);
        corner[2] = new CBoundNode(w, h, 0.0, nullptr, 0);
        corner[3] = new CBoundNode(0.0, h, 0.0, nullptr, 0);
        region = new CSectPlate(corner[0], corner[1], corner[2], corner[3], steel);
        region->SetThickness(kThickness);
        comp->AddTail(region);
    }
    // The outline edges with both ends at x (or every edge when x < 0).
    std::vector<CBoundary*> EdgesAt(double x) const
    {
        std::vector<CBoundary*> out;
        CObList edges;
        region->GetEdges(edges);
        for (POSITION p = edges.GetHeadPosition(); p;) {
            auto* e = static_cast<CBoundary*>(edges.GetNext(p));
            if (x < 0.0 || (e->GetNode1()->x == x && e->GetNode2()->x == x))
                out.push_back(e);
        }
        return out;
    }
    // A uniform in-plane edge load along x.
    void LoadAlongX(double x, double value) const
    {
        for (CBoundary* e : EdgesAt(x)) {
            auto* load = new CEdgeLoad;
            load->Allocate(6, true, 0.0);
            (*load)[0] = (*load)[2] = (*load)[4] = value;
            e->SetLoad(load);
        }
    }
    // The corner's in-plane DOFs held: both, or x only (membrane set 0).
    void Hold(int c, bool both) const
    {
        auto* bc = new CBoundCond;
        bc->SetType(16);
        CVector v(both ? 4 : 2, true, 0.0);
        v[0] = 1.0;
        if (both)
            v[1] = 2.0;
        bc->SetBC(v);
        corner[c]->SetBC(bc, 0);
    }
};

// A document made with the element codes of the new-document wizard.
template <class Doc> std::unique_ptr<CBrantelDoc> NewDoc(int code, int plateCode)
{
    const int savedCode = iNewDocElemType, savedPlate = iNewDocPlateElemType;
    iNewDocElemType = code;
    iNewDocPlateElemType = plateCode;
    auto doc = std::make_unique<Doc>();
    iNewDocElemType = savedCode;
    iNewDocPlateElemType = savedPlate;
    doc->m_bAutoDelete = FALSE;
    doc->UpdateStatics(true);
    return doc;
}

} // namespace

std::unique_ptr<CBrantelDoc> MakePlate()
{
    auto doc = NewDoc<CBrantelDoc>(81, 81);
    Rect r(*doc, 1000.0, 1000.0);
    r.region->SetLoad(0.001); // N/mm^2
    for (CBoundary* e : r.EdgesAt(-1.0))
        e->SetBC(1u, 0);
    r.region->SetBoundaryConditions();
    // Where two simply supported edges meet at a right angle the corner
    // leaves the twist free.
    for (CBoundNode* c : r.corner)
        c->SetStandBC(33, 0);
    doc->GetPlateComp()->m_iSubdivisions = 32;
    doc->UpdateStatics(false);
    return doc;
}

std::unique_ptr<CBrantelDoc> MakeMembrane()
{
    auto doc = NewDoc<CBrantelDoc>(32, 81);
    Rect r(*doc, 200.0, 100.0);
    for (CBoundary* e : r.EdgesAt(0.0))
        e->SetBC(1u, 0);
    r.Hold(0, true);
    r.LoadAlongX(200.0, 2.0 * kThickness); // 2 N/mm^2 over the thickness
    r.region->SetBoundaryConditions();
    doc->GetPlateComp()->m_iSubdivisions = 8;
    doc->UpdateStatics(false);
    return doc;
}

std::unique_ptr<CBrantelDoc> MakeBuckling()
{
    auto doc = NewDoc<CDocShell>(31, 81);
    Rect r(*doc, 1000.0, 1000.0);
    // Membrane conditions (set 0): held against x on x = 0 and at the
    // origin against y; the edge x = 1000 pushed inwards by 1 N/mm^2.
    for (CBoundary* e : r.EdgesAt(0.0))
        e->SetBC(1u, 0);
    r.Hold(0, true);
    r.Hold(3, false);
    r.LoadAlongX(1000.0, -1.0 * kThickness);
    // Plate conditions (set 1): every edge and corner simply supported.
    for (CBoundary* e : r.EdgesAt(-1.0))
        e->SetBC(1u, 1);
    r.region->SetBoundaryConditions();
    for (CBoundNode* c : r.corner)
        c->SetStandBC(1, 1);
    auto* comp = static_cast<CShellComp*>(doc->GetPlateComp());
    comp->m_iSubdivisions = 12;
    comp->SetBucklingCtrl(CShellComp::kModes, 2);
    doc->UpdateStatics(false);
    return doc;
}

const std::vector<Sample>& All()
{
    static const std::vector<Sample> all = {
        {"plate.plb", &MakePlate}, {"membrane.mem", &MakeMembrane}, {"buckling.shl", &MakeBuckling}};
    return all;
}

bool WriteAll(const std::string& folder)
{
    bool ok = true;
    for (const Sample& s : All()) {
        const std::string path = folder + "/" + s.file;
        std::unique_ptr<CBrantelDoc> doc = s.make();
        if (!doc->DoSave(path.c_str(), FALSE)) {
            std::fprintf(stderr, "brantel_samples: %s was not written\n", path.c_str());
            ok = false;
        }
    }
    return ok;
}

} // namespace samples
