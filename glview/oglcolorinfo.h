// COGLColorInfo: the shared colour, light and material settings of
// glstyle/drawing_settings.h as one archived record. The object form holds a
// snapshot of the settings (taken when it is made) and archives that; the
// static StoreGlobal / LoadGlobal archive the settings themselves. Both write
// the same record of 10,961 bytes, with no header or version of its own:
//
//   offset  field                                        encoding
//        0  uiFringeNum                                  DWORD
//        4  mat_shininess, lmodel_twoside,               3 floats
//           lmodel_local_viewer
//       16  glcInvBckGrnd, glcTextClr                    3 floats each
//       40  bLightOn[0..2]                               3 LONGs, 0 or 1
//       52  directLight                                  3 floats
//       64  fBckClrRsView, fBckClrMdView                 4 floats each
//       96  dMaterialColor, dGridColor, dAxisColor       4 doubles each
//      192  ambient, diffuse, specular of light 1,       4 floats each
//           then of light 2 and light 3
//      336  fog_color                                    4 floats
//      352  mat_emission, mat_ambient, mat_specular,     4 floats each
//           mat_diffuse
//      416  lmodel_ambient                               4 floats
//      432  position1, position2                         4 floats each
//      464  IsNode                                       256 LONGs, 0 or 1
//     1488  Material                                     28 x 10 floats
//     2608  dColorIndex                                  257 x 4 doubles
//    10832  pol_st_dashdotdotdash                        128 bytes
//    10960  IsNode[0] once more                          1 byte, 0 or 1
//
// Switches read back as true when non-zero; the trailing byte is assigned to
// IsNode[0] after the array, so it is the one that counts.
#pragma once

#include <cstdint>

#include "platform/afx/afx.h"

// One copy of every setting in the record.
struct COGLColorRecord {
    std::uint32_t uiFringeNum = 0;
    float mat_shininess = 0.0f;
    float lmodel_twoside = 0.0f;
    float lmodel_local_viewer = 0.0f;
    float glcInvBckGrnd[3] = {};
    float glcTextClr[3] = {};
    bool bLightOn[3] = {};
    float directLight[3] = {};
    float fBckClrRsView[4] = {};
    float fBckClrMdView[4] = {};
    double dMaterialColor[4] = {};
    double dGridColor[4] = {};
    double dAxisColor[4] = {};
    float ambientLight1[4] = {};
    float diffuseLight1[4] = {};
    float specularLight1[4] = {};
    float ambientLight2[4] = {};
    float diffuseLight2[4] = {};
    float specularLight2[4] = {};
    float ambientLight3[4] = {};
    float diffuseLight3[4] = {};
    float specularLight3[4] = {};
    float fog_color[4] = {};
    float mat_emission[4] = {};
    float mat_ambient[4] = {};
    float mat_specular[4] = {};
    float mat_diffuse[4] = {};
    float lmodel_ambient[4] = {};
    float position1[4] = {};
    float position2[4] = {};
    bool IsNode[256] = {};
    float Material[28][10] = {};
    double dColorIndex[257][4] = {};
    unsigned char pol_st_dashdotdotdash[128] = {};

    bool operator==(const COGLColorRecord&) const = default;
};

class COGLColorInfo : public CObject {
    DECLARE_SERIAL(COGLColorInfo)
public:
    // The size of the record in bytes.
    static constexpr ULONGLONG kRecordSize = 10961;

    // A snapshot of the current settings.
    COGLColorInfo();
    ~COGLColorInfo() override = default;

    // Settings to snapshot, and snapshot back to the settings.
    void ReadFromGlobal();
    void WriteToGlobal() const;

    // Loading reads the record into the snapshot (a failed load may leave it
    // partly read: the archive's exception tells the caller not to use it);
    // storing writes the snapshot.
    void Serialize(CArchive& ar) override;

    // The record written from, or read into, the settings themselves. A
    // failed LoadGlobal leaves every setting as it was and passes the
    // archive's exception on.
    static void StoreGlobal(CArchive& ar);
    static void LoadGlobal(CArchive& ar);

    const COGLColorRecord& Record() const { return m_record; }
    COGLColorRecord& Record() { return m_record; }

private:
    COGLColorRecord m_record;
};
