// The region sheet of the plate document: name, material and material axes,
// thickness and the distributed load (plate codes) or the temperature or
// initial strain (membrane codes) of one region or of a list of regions.
// Values are shown in the display units in force and stored in N and mm.
#include <vector>

#include "app/analysis/analysis.h"
#include "app/shell/branteldoc.h"
#include "dialogs/pavesta.h"
#include "platform/dimvor/units.h"
#include "sections/regions/sectmesharea.h"

namespace
{

// The unit factors and labels of one call (shown = stored x factor).
struct RegionUnits {
    double fL, fq, fT;
    CString length, load, temperature;

    RegionUnits()
    {
        const int s = iStandard;
        const int u0 = iConv[s][0][0], u6 = iConv[s][6][0];
        fL = MetricToX(s, kUnitLength, u0);
        fq = MetricToX(s, kUnitStress, u6);
        fT = MetricToX(s, kUnitTemperature, 0);
        length = UnitString(s, kUnitLength, u0);
        load = UnitString(s, kUnitStress, u6);
        temperature = UnitString(s, kUnitTemperature, 0);
    }
};

double At(const CVector& v, int i)
{
    return i < v.GetSize() ? v[i] : 0.0;
}

// Fills v with values; with emptyWhenZero an all-zero set empties it.
void Store(CVector& v, const std::vector<double>& values, bool emptyWhenZero)
{
    bool zero = true;
    for (double x : values)
        zero = zero && x == 0.0;
    if (zero && emptyWhenZero) {
        v.Allocate(0, false, 0.0);
        return;
    }
    v.Allocate(static_cast<int>(values.size()), true, 0.0);
    for (size_t i = 0; i < values.size(); ++i)
        v[static_cast<int>(i)] = values[i];
}

bool SameVector(const CVector& a, const CVector& b)
{
    if (a.GetSize() != b.GetSize())
        return false;
    for (int i = 0; i < a.GetSize(); ++i)
        if (a[i] != b[i])
            return false;
    return true;
}

// What the sheet may change of a region, to tell whether it did.
struct RegionState {
    CString name;
    CMaterial* material;
    bool polar;
    CVector axes, thickness, load;
    double t0, p0;

    explicit RegionState(CSectPlate& r)
        : name(r.GetName()), material(r.GetMaterial()), polar(r.IsPolar()), axes(r.GetMatAxes()),
          thickness(r.GetThicknessVector()), load(r.GetLoadVector()), t0(r.GetThickness()),
          p0(r.GetLoad())
    {
    }
    bool operator==(const RegionState& o) const
    {
        return name == o.name && material == o.material && polar == o.polar && t0 == o.t0 &&
               p0 == o.p0 && SameVector(axes, o.axes) && SameVector(thickness, o.thickness) &&
               SameVector(load, o.load);
    }
};

// The unit texts of a value page, by its template and kind.
void RegionUnitLabels(VokPPBiLinFunc* page)
{
    const RegionUnits u;
    const CString perLength = "1/" + u.length;
    auto set = [page](std::initializer_list<int> ids, const CString& text) {
        for (int id : ids)
            page->SetDlgItemText(id, text);
    };
    switch (page->GetTemplateID()) {
    case IDD_BILIN_THICKNESS:
        set({16138, 16139, 16140}, u.length);
        set({16141, 16142}, u.length + "/" + u.length);
        break;
    case IDD_BILIN_LOAD: {
        CString load = u.load;
        ReplaceSqrd(load);
        set({16138}, load);
        set({16139, 16140}, u.length);
        set({16141, 16142}, u.load + "/" + u.length);
        break;
    }
    case IDD_BILIN_ALPHA:
        set({16139, 16140}, u.length);
        if (page->m_iKind == 1) {
            set({16138}, u.temperature);
            set({16141, 16142}, u.temperature + "/" + u.length);
            set({16146, 16151, 16152}, "");
        } else {
            set({16138, 16146}, "");
            set({16141, 16142, 16151, 16152}, perLength);
        }
        break;
    default:
        break;
    }
}

// The three pages of the sheet, in order.
struct RegionPages {
    VokPPMatNameSel material;
    VokPPBiLinFunc thickness;
    VokPPBiLinFunc load;
    CPropertySheet sheet{"Region"};

    RegionPages(bool membrane, bool several)
        : thickness("Thickness", IDD_BILIN_THICKNESS, several),
          load(membrane ? "Temp. && Initial strain" : "Distributed load",
               membrane ? IDD_BILIN_ALPHA : IDD_BILIN_LOAD, several)
    {
        material.m_bSeveralRegions = several;
        thickness.m_pCallback = RegionUnitLabels;
        load.m_pCallback = RegionUnitLabels;
        sheet.AddPage(&material);
        sheet.AddPage(&thickness);
        sheet.AddPage(&load);
    }
};

void ShowAxes(CSectPlate& r, VokPPMatNameSel& page, const RegionUnits& u)
{
    const CVector& v = r.GetMatAxes();
    page.m_iAxisKind = r.IsPolar() ? 1 : 0;
    if (r.IsPolar()) {
        page.m_dX0 = AfxDisplayValue(At(v, 0), u.fL);
        page.m_dY0 = AfxDisplayValue(At(v, 1), u.fL);
    } else {
        page.m_dA = At(v, 0);
        page.m_dB = AfxDisplayValue(At(v, 1), 1.0 / u.fL);
    }
}

void ShowThickness(CSectPlate& r, VokPPBiLinFunc& page, const RegionUnits& u)
{
    const CVector& v = r.GetThicknessVector();
    page.m_dBase = AfxDisplayValue(r.GetThickness(), u.fL);
    page.m_dX0 = AfxDisplayValue(At(v, 0), u.fL);
    page.m_dY0 = AfxDisplayValue(At(v, 1), u.fL);
    page.m_dSlopeX = At(v, 2);
    page.m_dSlopeY = At(v, 3);
}

void ShowLoad(CSectPlate& r, VokPPBiLinFunc& page, const RegionUnits& u, bool membrane)
{
    const CVector& v = r.GetLoadVector();
    if (!membrane) {
        page.m_dBase = AfxDisplayValue(r.GetLoad(), u.fq);
        page.m_dX0 = AfxDisplayValue(At(v, 0), u.fL);
        page.m_dY0 = AfxDisplayValue(At(v, 1), u.fL);
        page.m_dSlopeX = AfxDisplayValue(At(v, 2), u.fq / u.fL);
        page.m_dSlopeY = AfxDisplayValue(At(v, 3), u.fq / u.fL);
    } else if (v.GetSize() == 4) {
        page.m_iKind = 1;
        page.m_dBase = AfxDisplayValue(r.GetLoad(), u.fT);
        page.m_dX0 = AfxDisplayValue(v[0], u.fL);
        page.m_dY0 = AfxDisplayValue(v[1], u.fL);
        page.m_dSlopeX = AfxDisplayValue(v[2], u.fT / u.fL);
        page.m_dSlopeY = AfxDisplayValue(v[3], u.fT / u.fL);
    } else {
        page.m_iKind = 0;
        page.m_dBase = r.GetLoad();
        page.m_dBase2 = At(v, 0);
        page.m_dX0 = AfxDisplayValue(At(v, 1), u.fL);
        page.m_dY0 = AfxDisplayValue(At(v, 2), u.fL);
        page.m_dSlopeX = AfxDisplayValue(At(v, 3), 1.0 / u.fL);
        page.m_dSlopeY = AfxDisplayValue(At(v, 4), 1.0 / u.fL);
        page.m_dSlopeX2 = AfxDisplayValue(At(v, 5), 1.0 / u.fL);
        page.m_dSlopeY2 = AfxDisplayValue(At(v, 6), 1.0 / u.fL);
    }
}

// The value a page field stores: the region's own value while the field
// still holds what the region showed (untouched: bit for bit, whatever the
// display unit), else the entered value converted. shown is null when the
// page showed no region.
template <class Page> struct Taker {
    const Page& page;
    const Page* shown;
    double operator()(double Page::*field, double stored, double converted) const
    {
        return shown && page.*field == shown->*field ? stored : converted;
    }
};

// The material (unless " No change" is chosen) and the axes.
void ApplyMaterial(CBrantelDoc& doc, CSectPlate& r, VokPPMatNameSel& page, const RegionUnits& u,
                   const VokPPMatNameSel* shown = nullptr)
{
    CMaterial* chosen = page.m_pSelMaterial;
    if (chosen && chosen != r.GetMaterial()) {
        doc.m_bMeshValid = false;
        r.SetMaterial(chosen);
        if (chosen->GetName() == "VOID")
            r.DeleteMesh(false);
    }
    // A change of axis kind changes what the values mean: nothing is kept.
    const Taker<VokPPMatNameSel> take{
        page, shown && shown->m_iAxisKind == page.m_iAxisKind ? shown : nullptr};
    const CVector& v = r.GetMatAxes();
    r.SetPolar(page.m_iAxisKind == 1);
    if (page.m_iAxisKind == 1)
        Store(r.GetMatAxes(),
              {take(&VokPPMatNameSel::m_dX0, At(v, 0), page.m_dX0 / u.fL),
               take(&VokPPMatNameSel::m_dY0, At(v, 1), page.m_dY0 / u.fL)},
              false);
    else
        Store(r.GetMatAxes(),
              {take(&VokPPMatNameSel::m_dA, At(v, 0), page.m_dA),
               take(&VokPPMatNameSel::m_dB, At(v, 1), page.m_dB * u.fL)},
              true);
}

void ApplyThickness(CSectPlate& r, VokPPBiLinFunc& page, const RegionUnits& u,
                    const VokPPBiLinFunc* shown = nullptr)
{
    const Taker<VokPPBiLinFunc> take{page, shown};
    const CVector& v = r.GetThicknessVector();
    const std::vector<double> values = {
        take(&VokPPBiLinFunc::m_dX0, At(v, 0), page.m_dX0 / u.fL),
        take(&VokPPBiLinFunc::m_dY0, At(v, 1), page.m_dY0 / u.fL),
        take(&VokPPBiLinFunc::m_dSlopeX, At(v, 2), page.m_dSlopeX),
        take(&VokPPBiLinFunc::m_dSlopeY, At(v, 3), page.m_dSlopeY)};
    r.SetThickness(take(&VokPPBiLinFunc::m_dBase, r.GetThickness(), page.m_dBase / u.fL));
    Store(r.GetThicknessVector(), values, true);
}

void ApplyLoad(CSectPlate& r, VokPPBiLinFunc& page, const RegionUnits& u, bool membrane,
               const VokPPBiLinFunc* shown = nullptr)
{
    // A change of kind changes the layout of the vector: nothing is kept.
    const Taker<VokPPBiLinFunc> take{page,
                                     shown && shown->m_iKind == page.m_iKind ? shown : nullptr};
    const CVector& v = r.GetLoadVector();
    const double p0 = r.GetLoad();
    if (!membrane || page.m_iKind == 1) {
        // A plate's pressure, or a membrane's temperature: base value and two
        // slopes in the load's (or the temperature's) unit. Exactly four
        // entries mark the temperature kind, zeros included.
        const double f = membrane ? u.fT : u.fq;
        const std::vector<double> values = {
            take(&VokPPBiLinFunc::m_dX0, At(v, 0), page.m_dX0 / u.fL),
            take(&VokPPBiLinFunc::m_dY0, At(v, 1), page.m_dY0 / u.fL),
            take(&VokPPBiLinFunc::m_dSlopeX, At(v, 2), page.m_dSlopeX * u.fL / f),
            take(&VokPPBiLinFunc::m_dSlopeY, At(v, 3), page.m_dSlopeY * u.fL / f)};
        r.SetLoad(take(&VokPPBiLinFunc::m_dBase, p0, page.m_dBase / f));
        Store(r.GetLoadVector(), values, !membrane);
    } else {
        const std::vector<double> values = {
            take(&VokPPBiLinFunc::m_dBase2, At(v, 0), page.m_dBase2),
            take(&VokPPBiLinFunc::m_dX0, At(v, 1), page.m_dX0 / u.fL),
            take(&VokPPBiLinFunc::m_dY0, At(v, 2), page.m_dY0 / u.fL),
            take(&VokPPBiLinFunc::m_dSlopeX, At(v, 3), page.m_dSlopeX * u.fL),
            take(&VokPPBiLinFunc::m_dSlopeY, At(v, 4), page.m_dSlopeY * u.fL),
            take(&VokPPBiLinFunc::m_dSlopeX2, At(v, 5), page.m_dSlopeX2 * u.fL),
            take(&VokPPBiLinFunc::m_dSlopeY2, At(v, 6), page.m_dSlopeY2 * u.fL)};
        r.SetLoad(take(&VokPPBiLinFunc::m_dBase, p0, page.m_dBase));
        Store(r.GetLoadVector(), values, true);
    }
}

} // namespace

void CBrantelDoc::EditRegionProperties(CObject* object)
{
    CPlateComp* comp = GetPlateComp();
    if (!object || !comp)
        return;
    const RegionUnits u;
    const bool membrane = IsMembraneCode(comp->GetElementType());
    auto* single = dynamic_cast<CSectPlate*>(object);
    auto* list = dynamic_cast<CObList*>(object);
    if (!single && !list)
        return;

    RegionPages pages(membrane, single == nullptr);
    pages.material.m_pMaterials = &comp->GetMaterialList();
    pages.material.m_strUnit = u.length;
    bool changed = false;

    if (single) {
        pages.material.m_pSelMaterial = single->GetMaterial();
        pages.material.m_strName = single->GetName();
        ShowAxes(*single, pages.material, u);
        ShowThickness(*single, pages.thickness, u);
        ShowLoad(*single, pages.load, u, membrane);
        for (;;) {
            if (pages.sheet.DoModal() != IDOK)
                return;
            const CString& name = pages.material.m_strName;
            const char* refusal = nullptr;
            if (name.IsEmpty())
                refusal = "The section must have a name";
            else if (CObject* other = comp->GetObjectFromString(name); other && other != single)
                refusal = "The name is already in use";
            if (!refusal)
                break;
            AfxMessageBox(refusal);
        }
        const RegionState before(*single);
        // What the pages showed, to keep untouched values bit for bit.
        VokPPMatNameSel shownAxes;
        ShowAxes(*single, shownAxes, u);
        VokPPBiLinFunc shownThickness, shownLoad;
        ShowThickness(*single, shownThickness, u);
        ShowLoad(*single, shownLoad, u, membrane);
        if (pages.material.m_strName != single->GetName())
            single->SetName(pages.material.m_strName);
        ApplyMaterial(*this, *single, pages.material, u, &shownAxes);
        ApplyThickness(*single, pages.thickness, u, &shownThickness);
        ApplyLoad(*single, pages.load, u, membrane, &shownLoad);
        changed = !(RegionState(*single) == before);
    } else {
        if (pages.sheet.DoModal() != IDOK)
            return;
        for (POSITION pos = list->GetHeadPosition(); pos;) {
            auto* region = dynamic_cast<CSectPlate*>(list->GetNext(pos));
            if (!region)
                continue;
            const RegionState before(*region);
            if (pages.material.m_iChange)
                ApplyMaterial(*this, *region, pages.material, u);
            if (pages.thickness.m_iChange)
                ApplyThickness(*region, pages.thickness, u);
            if (pages.load.m_iChange)
                ApplyLoad(*region, pages.load, u, membrane);
            changed = changed || !(RegionState(*region) == before);
        }
    }
    // Confirming without a change keeps the mesh and the results.
    if (changed) {
        SetModifiedFlag(TRUE);
        InvalidateLists();
    }
}
