// The colour and light settings record: its bytes, the object and the
// global forms, and damaged records.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "glstyle/drawing_settings.h"
#include "glview/lumetra.h"
#include "tests/support/temp_files.h"

namespace {

using afxtest::Bytes;
using afxtest::operator+;

template <class T>
T at(const Bytes& bytes, std::size_t offset)
{
    T value{};
    std::memcpy(&value, bytes.data() + offset, sizeof(T));
    return value;
}

template <class T>
void put(Bytes& bytes, std::size_t offset, T value)
{
    std::memcpy(bytes.data() + offset, &value, sizeof(T));
}

template <class T, std::size_t N>
void bump(T (&a)[N], T by)
{
    for (T& x : a)
        x += by;
}

template <class T, std::size_t N, std::size_t M>
void bump(T (&a)[N][M], T by)
{
    for (auto& row : a)
        bump(row, by);
}

// Changes every setting of the record, each by its own name.
void changeEverySetting()
{
    uiFringeNum += 7;
    mat_shininess[0] += 1.5f;
    lmodel_twoside[0] = 1.0f - lmodel_twoside[0];
    lmodel_local_viewer[0] = 1.0f - lmodel_local_viewer[0];
    bump(glcInvBckGrnd, 0.125f);
    bump(glcTextClr, 0.25f);
    for (int k = 0; k < 3; ++k)
        bLightOn[k] = !bLightOn[k];
    bump(directLight, 0.5f);
    bump(fBckClrRsView, 0.0625f);
    bump(fBckClrMdView, -0.0625f);
    bump(dMaterialColor, 0.01);
    bump(dGridColor, 0.02);
    bump(dAxisColor, 0.03);
    for (float* light : {ambientLight1, diffuseLight1, specularLight1, ambientLight2, diffuseLight2,
                         specularLight2, ambientLight3, diffuseLight3, specularLight3, fog_color, mat_emission,
                         mat_ambient, mat_specular, mat_diffuse, lmodel_ambient, position1, position2})
        for (int c = 0; c < 4; ++c)
            light[c] += 0.375f;
    for (bool& node : IsNode)
        node = !node;
    bump(Material, 0.001f);
    bump(dColorIndex, 0.001);
    for (unsigned char& b : pol_st_dashdotdotdash)
        b = static_cast<unsigned char>(~b);
}

class ColorInfo : public ::testing::Test {
protected:
    // Every test leaves the settings as it found them.
    void TearDown() override { m_saved.WriteToGlobal(); }
    COGLColorInfo m_saved;
};

Bytes storeGlobals()
{
    return afxtest::storeBytes([](CArchive& ar) { COGLColorInfo::StoreGlobal(ar); });
}

TEST_F(ColorInfo, RecordOfTheStartValuesHasItsLayout)
{
    const Bytes bytes = storeGlobals();
    ASSERT_EQ(bytes.size(), 10961u);
    ASSERT_EQ(bytes.size(), COGLColorInfo::kRecordSize);

    EXPECT_EQ(at<DWORD>(bytes, 0), uiFringeNum);
    EXPECT_EQ(at<float>(bytes, 4), mat_shininess[0]);
    EXPECT_EQ(at<float>(bytes, 8), lmodel_twoside[0]);
    EXPECT_EQ(at<float>(bytes, 12), lmodel_local_viewer[0]);
    EXPECT_EQ(at<float>(bytes, 16), glcInvBckGrnd[0]);
    EXPECT_EQ(at<float>(bytes, 28), glcTextClr[0]);
    EXPECT_EQ(at<LONG>(bytes, 40), 1); // light 1 on
    EXPECT_EQ(at<LONG>(bytes, 44), 0);
    EXPECT_EQ(at<LONG>(bytes, 48), 0);
    EXPECT_EQ(at<float>(bytes, 60), directLight[2]);
    EXPECT_EQ(at<float>(bytes, 64), fBckClrRsView[0]);
    EXPECT_EQ(at<float>(bytes, 80), fBckClrMdView[0]);
    EXPECT_EQ(at<double>(bytes, 96), dMaterialColor[0]);
    EXPECT_EQ(at<double>(bytes, 120), dMaterialColor[3]);
    EXPECT_EQ(at<double>(bytes, 128), dGridColor[0]);
    EXPECT_EQ(at<double>(bytes, 160), dAxisColor[0]);
    EXPECT_EQ(at<float>(bytes, 192), ambientLight1[0]);
    EXPECT_EQ(at<float>(bytes, 240), ambientLight2[0]);
    EXPECT_EQ(at<float>(bytes, 288), ambientLight3[0]);
    EXPECT_EQ(at<float>(bytes, 320), specularLight3[0]);
    EXPECT_EQ(at<float>(bytes, 336), fog_color[0]);
    EXPECT_EQ(at<float>(bytes, 352), mat_emission[0]);
    EXPECT_EQ(at<float>(bytes, 384), mat_specular[0]);
    EXPECT_EQ(at<float>(bytes, 400), mat_diffuse[0]);
    EXPECT_EQ(at<float>(bytes, 416), lmodel_ambient[0]);
    EXPECT_EQ(at<float>(bytes, 440), position1[2]);
    EXPECT_EQ(at<float>(bytes, 448), position2[0]);
    // IsNode: 256 ints of 0 or 1.
    EXPECT_EQ(at<LONG>(bytes, 464), 1);
    for (int k = 1; k < 256; ++k)
        EXPECT_EQ(at<LONG>(bytes, 464 + 4 * k), IsNode[k] ? 1 : 0) << k;
    EXPECT_EQ(at<float>(bytes, 1488), Material[0][0]);
    EXPECT_EQ(at<float>(bytes, 1488 + 4 * 19), Material[1][9]);
    EXPECT_EQ(at<float>(bytes, 2604), Material[27][9]);
    EXPECT_EQ(at<double>(bytes, 2608), dColorIndex[0][0]);
    EXPECT_EQ(at<double>(bytes, 2608 + 8 * 5), dColorIndex[1][1]);
    EXPECT_EQ(at<double>(bytes, 10824), dColorIndex[256][3]);
    EXPECT_EQ(Bytes(bytes.begin() + 10832, bytes.begin() + 10960),
              Bytes(pol_st_dashdotdotdash, pol_st_dashdotdotdash + 128));
    EXPECT_EQ(bytes[10960], 1); // IsNode[0] once more
}

TEST_F(ColorInfo, ObjectWritesTheSameRecordBehindItsClassHeader)
{
    const Bytes record = storeGlobals();
    COGLColorInfo snapshot;
    EXPECT_EQ(afxtest::storeBytes([&](CArchive& ar) { snapshot.Serialize(ar); }), record);

    // New class tag, schema 1, the class name, then the record.
    const Bytes header = Bytes{0xFF, 0xFF, 0x01, 0x00, 13, 0x00} + afxtest::text("COGLColorInfo");
    EXPECT_EQ(afxtest::storeBytes([&](CArchive& ar) { ar.WriteObject(&snapshot); }), header + record);
}

TEST_F(ColorInfo, LoadGlobalRestoresEverySetting)
{
    const COGLColorRecord before = COGLColorInfo().Record();
    const bool firstNode = IsNode[0];
    const float light2[4] = {position1[0], position1[1], position1[2], position1[3]};
    const float light3[4] = {position2[0], position2[1], position2[2], position2[3]};

    const Bytes bytes = storeGlobals();
    changeEverySetting();
    ASSERT_FALSE(COGLColorInfo().Record() == before);
    afxtest::loadBytes(bytes, [](CArchive& ar) { COGLColorInfo::LoadGlobal(ar); });

    EXPECT_TRUE(COGLColorInfo().Record() == before);
    EXPECT_EQ(IsNode[0], firstNode);
    EXPECT_TRUE(std::equal(light2, light2 + 4, position1));
    EXPECT_TRUE(std::equal(light3, light3 + 4, position2));
    // The fourth light switch is not part of the record and stays as it was.
    EXPECT_FALSE(bLightOn[3]);
}

TEST_F(ColorInfo, SnapshotWritesBackAndLoadsThroughTheObjectMap)
{
    COGLColorInfo snapshot;
    changeEverySetting();
    const COGLColorRecord changed = COGLColorInfo().Record();
    ASSERT_FALSE(changed == snapshot.Record());
    snapshot.WriteToGlobal();
    EXPECT_TRUE(COGLColorInfo().Record() == snapshot.Record());

    // An object read back through the archive's object map.
    COGLColorInfo other;
    other.Record() = changed;
    const Bytes bytes = afxtest::storeBytes([&](CArchive& ar) { ar << &other; });
    COGLColorInfo* loaded = nullptr;
    afxtest::loadBytes(bytes, [&](CArchive& ar) { ar >> loaded; });
    ASSERT_NE(loaded, nullptr);
    EXPECT_TRUE(loaded->Record() == changed);
    delete loaded;
}

TEST_F(ColorInfo, SwitchesReadNonZeroAsTrueAndTheTrailingByteDecidesTheFirstNode)
{
    Bytes bytes = storeGlobals();
    put<LONG>(bytes, 44, 7);        // light 2
    put<LONG>(bytes, 464 + 20, -1); // IsNode[5]
    put<LONG>(bytes, 464, 0);       // IsNode[0] in the array ...
    bytes[10960] = 2;               // ... and once more
    COGLColorInfo info;
    afxtest::loadBytes(bytes, [&](CArchive& ar) { info.Serialize(ar); });
    EXPECT_TRUE(info.Record().bLightOn[1]);
    EXPECT_TRUE(info.Record().IsNode[5]);
    EXPECT_TRUE(info.Record().IsNode[0]);

    put<LONG>(bytes, 464, 1);
    bytes[10960] = 0;
    afxtest::loadBytes(bytes, [](CArchive& ar) { COGLColorInfo::LoadGlobal(ar); });
    EXPECT_TRUE(bLightOn[1]);
    EXPECT_TRUE(IsNode[5]);
    EXPECT_FALSE(IsNode[0]);
    // Written back as 0 and 1.
    const Bytes again = storeGlobals();
    EXPECT_EQ(at<LONG>(again, 44), 1);
    EXPECT_EQ(at<LONG>(again, 464 + 20), 1);
    EXPECT_EQ(at<LONG>(again, 464), 0);
}

TEST_F(ColorInfo, ShortRecordThrowsAndLeavesTheSettingsAlone)
{
    const Bytes full = storeGlobals();
    changeEverySetting();
    const COGLColorRecord changed = COGLColorInfo().Record();
    for (std::size_t length : {std::size_t{0}, std::size_t{3}, std::size_t{500}, std::size_t{2700},
                               std::size_t{10960}}) {
        const Bytes cut(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(length));
        EXPECT_THROW(afxtest::loadBytes(cut, [](CArchive& ar) { COGLColorInfo::LoadGlobal(ar); }),
                     CArchiveException)
            << length;
        EXPECT_TRUE(COGLColorInfo().Record() == changed) << length;

        COGLColorInfo info;
        EXPECT_THROW(afxtest::loadBytes(cut, [&](CArchive& ar) { info.Serialize(ar); }), CArchiveException)
            << length;
    }
}

} // namespace
