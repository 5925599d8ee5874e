#include "glview/oglcolorinfo.h"

#include <algorithm>
#include <span>

#include "glstyle/drawing_settings.h"

IMPLEMENT_SERIAL(COGLColorInfo, CObject, 1)

namespace {

template <class T, std::size_t N>
std::span<T> flat(T (&a)[N])
{
    return std::span<T>(a, N);
}

template <class T, std::size_t N, std::size_t M>
std::span<T> flat(T (&a)[N][M])
{
    return std::span<T>(&a[0][0], N * M);
}

template <class T>
std::span<T> one(T& x)
{
    return std::span<T>(&x, 1);
}

// Calls visit(record field, setting) for every field of the record, in the
// order of the archived record (without its trailing byte). Both are spans
// of the same element type; the element type says how a value is archived.
template <class Record, class Visit>
void forEachField(Record& r, Visit&& visit)
{
    visit(one(r.uiFringeNum), one(uiFringeNum));
    visit(one(r.mat_shininess), flat(mat_shininess));
    visit(one(r.lmodel_twoside), flat(lmodel_twoside));
    visit(one(r.lmodel_local_viewer), flat(lmodel_local_viewer));
    visit(flat(r.glcInvBckGrnd), flat(glcInvBckGrnd));
    visit(flat(r.glcTextClr), flat(glcTextClr));
    visit(flat(r.bLightOn), flat(bLightOn).first(3));
    visit(flat(r.directLight), flat(directLight));
    visit(flat(r.fBckClrRsView), flat(fBckClrRsView));
    visit(flat(r.fBckClrMdView), flat(fBckClrMdView));
    visit(flat(r.dMaterialColor), flat(dMaterialColor));
    visit(flat(r.dGridColor), flat(dGridColor));
    visit(flat(r.dAxisColor), flat(dAxisColor));
    visit(flat(r.ambientLight1), flat(ambientLight1));
    visit(flat(r.diffuseLight1), flat(diffuseLight1));
    visit(flat(r.specularLight1), flat(specularLight1));
    visit(flat(r.ambientLight2), flat(ambientLight2));
    visit(flat(r.diffuseLight2), flat(diffuseLight2));
    visit(flat(r.specularLight2), flat(specularLight2));
    visit(flat(r.ambientLight3), flat(ambientLight3));
    visit(flat(r.diffuseLight3), flat(diffuseLight3));
    visit(flat(r.specularLight3), flat(specularLight3));
    visit(flat(r.fog_color), flat(fog_color));
    visit(flat(r.mat_emission), flat(mat_emission));
    visit(flat(r.mat_ambient), flat(mat_ambient));
    visit(flat(r.mat_specular), flat(mat_specular));
    visit(flat(r.mat_diffuse), flat(mat_diffuse));
    visit(flat(r.lmodel_ambient), flat(lmodel_ambient));
    visit(flat(r.position1), flat(position1));
    visit(flat(r.position2), flat(position2));
    visit(flat(r.IsNode), flat(IsNode));
    visit(flat(r.Material), flat(Material));
    visit(flat(r.dColorIndex), flat(dColorIndex));
    visit(flat(r.pol_st_dashdotdotdash), flat(pol_st_dashdotdotdash));
}

COGLColorRecord fromGlobals()
{
    COGLColorRecord r;
    forEachField(r, [](auto field, auto setting) { std::ranges::copy(setting, field.begin()); });
    return r;
}

void toGlobals(const COGLColorRecord& r)
{
    forEachField(r, [](auto field, auto setting) { std::ranges::copy(field, setting.begin()); });
}

// The archive's operators give each element type its encoding: DWORD,
// float, double, bool as a LONG 0 or 1 (non-zero reads as true), BYTE.
void store(CArchive& ar, const COGLColorRecord& r)
{
    forEachField(r, [&ar](auto field, auto) {
        for (const auto& value : field)
            ar << value;
    });
    ar << static_cast<BYTE>(r.IsNode[0] ? 1 : 0);
}

void load(CArchive& ar, COGLColorRecord& r)
{
    forEachField(r, [&ar](auto field, auto) {
        for (auto& value : field)
            ar >> value;
    });
    BYTE first = 0;
    ar >> first;
    r.IsNode[0] = first != 0;
}

} // namespace

COGLColorInfo::COGLColorInfo()
{
    ReadFromGlobal();
}

void COGLColorInfo::ReadFromGlobal()
{
    m_record = fromGlobals();
}

void COGLColorInfo::WriteToGlobal() const
{
    toGlobals(m_record);
}

void COGLColorInfo::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
        store(ar, m_record);
    else
        load(ar, m_record);
}

void COGLColorInfo::StoreGlobal(CArchive& ar)
{
    store(ar, fromGlobals());
}

void COGLColorInfo::LoadGlobal(CArchive& ar)
{
    // Read the whole record first: a record that ends early must not leave
    // half a colour table and light set in the running program.
    COGLColorRecord r;
    load(ar, r);
    toGlobals(r);
}
