#include "tests/lumetra/image_test_util.h"

using namespace imgtest;
using namespace imgbytes;

namespace {

std::vector<std::uint8_t> Header(int bits, int planes, int width, int height, int bytesPerLine) {
    std::vector<std::uint8_t> h(128, 0);
    h[0] = 10;
    h[1] = 5;
    h[2] = 1;
    h[3] = static_cast<std::uint8_t>(bits);
    Put16(&h[8], static_cast<unsigned>(width - 1));
    Put16(&h[10], static_cast<unsigned>(height - 1));
    h[65] = static_cast<std::uint8_t>(planes);
    Put16(&h[66], static_cast<unsigned>(bytesPerLine));
    return h;
}

bool Load(SECImage& image, const std::vector<std::uint8_t>& bytes) {
    MemoryStream in(bytes.data(), bytes.size());
    return image.LoadFromStream(in);
}

} // namespace

TEST(Pcx, OneBitOnePlane) {
    auto file = Header(1, 1, 3, 2, 2);
    // Top row 1 0 1, bottom row 0 1 0; plain bytes below 0xC0 stand for themselves.
    file.insert(file.end(), {0xA0, 0x00, 0x40, 0x00});
    SECPcx image;
    ASSERT_TRUE(Load(image, file));
    EXPECT_EQ(image.m_nBitsPerPixel, 8);
    // An all-black two-entry table becomes black and white.
    EXPECT_TRUE(SameColor(image.GetColor(0, 1), RGBQUAD{255, 255, 255, 0}));
    EXPECT_TRUE(SameColor(image.GetColor(1, 1), RGBQUAD{0, 0, 0, 0}));
    EXPECT_TRUE(SameColor(image.GetColor(1, 0), RGBQUAD{255, 255, 255, 0}));
}

TEST(Pcx, FourPlanesCombineIntoOneIndex) {
    auto file = Header(1, 4, 2, 1, 1);
    for (int i = 0; i < 16; ++i)
        file[16 + 3 * i] = static_cast<std::uint8_t>(i * 10);  // red of entry i
    // Pixel 0 sets planes 0 and 2 (index 5), pixel 1 plane 3 (index 8).
    file.insert(file.end(), {0x80, 0x00, 0x80, 0x40});
    SECPcx image;
    ASSERT_TRUE(Load(image, file));
    EXPECT_EQ(image.GetColor(0, 0).rgbRed, 50);
    EXPECT_EQ(image.GetColor(1, 0).rgbRed, 80);
}

TEST(Pcx, EightBitsWithTheTrailingTable) {
    auto file = Header(8, 1, 4, 2, 4);
    // A run of 6 crosses the line end; a count of 0 is skipped.
    file.insert(file.end(), {0xC6, 3, 0xC0, 9, 7, 1});
    file.push_back(12);
    for (int i = 0; i < 256; ++i)
        file.insert(file.end(), {static_cast<std::uint8_t>(i), 0, static_cast<std::uint8_t>(255 - i)});
    SECPcx image;
    ASSERT_TRUE(Load(image, file));
    EXPECT_EQ(image.GetIndex(image.Row(1), 3), 3u);
    EXPECT_EQ(image.GetIndex(image.Row(0), 1), 3u);
    EXPECT_EQ(image.GetIndex(image.Row(0), 2), 7u);
    EXPECT_EQ(image.GetIndex(image.Row(0), 3), 1u);
    EXPECT_TRUE(SameColor(image.GetColor(2, 0), RGBQUAD{248, 0, 7, 0}));
    // Without the table: a grey ramp.
    file.resize(128 + 6);
    ASSERT_TRUE(Load(image, file));
    EXPECT_TRUE(SameColor(image.GetColor(2, 0), RGBQUAD{7, 7, 7, 0}));
}

TEST(Pcx, WriterRunsAndTable) {
    SECPcx image;
    ASSERT_TRUE(image.CreateImage(70, 2, 8));
    image.m_Colors[5] = RGBQUAD{3, 2, 1, 0};
    for (unsigned x = 0; x < 70; ++x) {
        image.Row(1)[x] = 5;                        // top row: one value
        image.Row(0)[x] = static_cast<std::uint8_t>(x < 69 ? 5 : 6);
    }
    const auto bytes = SaveBytes(image);
    const std::vector<std::uint8_t> data(bytes.begin() + 128, bytes.end() - 769);
    EXPECT_EQ(data, (std::vector<std::uint8_t>{0xFF, 5, 0xC7, 5, 0xFF, 5, 0xC6, 5, 0xC1, 6}));
    EXPECT_EQ(bytes[3], 8);
    EXPECT_EQ(Get16(&bytes[66]), 70u);
    EXPECT_EQ(Get16(&bytes[68]), 2u);
    EXPECT_EQ(bytes[bytes.size() - 769], 12);
    EXPECT_EQ(bytes[bytes.size() - 768 + 15], 1);   // entry 5: red first
    EXPECT_EQ(bytes[bytes.size() - 768 + 17], 3);
}

TEST(Pcx, RoundTripsAndRefusals) {
    for (int bits : {1, 4, 8}) {
        SECPcx image;
        MakePattern(image, 11, 3, bits);
        const Snapshot before(image);
        SECPcx back;
        ASSERT_TRUE(Load(back, SaveBytes(image)));
        EXPECT_TRUE(SamePicture(back, image));
        EXPECT_TRUE(Snapshot(image) == before);
    }
    SECPcx deep;
    MakePattern(deep, 2, 2, 24);
    MemoryStream out;
    EXPECT_FALSE(deep.SaveToStream(out));
    EXPECT_TRUE(out.Data().empty());
    const std::string path = Scratch("deep.pcx");
    EXPECT_FALSE(deep.SaveToPath(path.c_str()));
    EXPECT_FALSE(std::filesystem::exists(path));

    SECPcx image;
    auto bad = Header(8, 1, 4, 1, 4);
    bad.insert(bad.end(), {1, 2, 3, 4});
    ASSERT_TRUE(Load(image, bad));
    const std::vector<std::pair<int, std::uint8_t>> faults = {{0, 11}, {1, 6}, {2, 0}, {3, 4}, {65, 3}, {66, 0}};
    for (auto [at, value] : faults) {
        auto f = bad;
        f[static_cast<std::size_t>(at)] = value;
        EXPECT_FALSE(Load(image, f)) << at;
    }
    auto huge = Header(8, 1, 65535, 65535, 65535);
    huge.insert(huge.end(), {0xFF, 0});
    EXPECT_FALSE(Load(image, huge));
    auto shortData = bad;
    shortData.pop_back();
    EXPECT_FALSE(Load(image, shortData));
}
