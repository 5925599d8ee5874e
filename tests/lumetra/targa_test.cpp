#include <cstring>

#include "tests/lumetra/image_test_util.h"

using namespace imgtest;
using namespace imgbytes;

namespace {

std::vector<std::uint8_t> Header(int type, int width, int height, int depth, int descriptor = 0,
                                 int mapLength = 0, int mapEntry = 0) {
    std::vector<std::uint8_t> h(18, 0);
    h[1] = mapLength > 0 ? 1 : 0;
    h[2] = static_cast<std::uint8_t>(type);
    Put16(&h[5], static_cast<unsigned>(mapLength));
    h[7] = static_cast<std::uint8_t>(mapEntry);
    Put16(&h[12], static_cast<unsigned>(width));
    Put16(&h[14], static_cast<unsigned>(height));
    h[16] = static_cast<std::uint8_t>(depth);
    h[17] = static_cast<std::uint8_t>(descriptor);
    return h;
}

bool Load(SECImage& image, const std::vector<std::uint8_t>& bytes) {
    MemoryStream in(bytes.data(), bytes.size());
    return image.LoadFromStream(in);
}

RGBQUAD Bgr(std::uint8_t b, std::uint8_t g, std::uint8_t r) { return RGBQUAD{b, g, r, 0}; }

} // namespace

TEST(Targa, FiveBitColourTable) {
    auto file = Header(2, 32, 1, 16);
    for (unsigned v = 0; v < 32; ++v)
        Append16(file, v << 10);    // red
    SECTarga image;
    ASSERT_TRUE(Load(image, file));
    ASSERT_EQ(image.m_nBitsPerPixel, 24);
    const unsigned expected[] = {0, 8, 16, 25, 33};
    for (unsigned v = 0; v < 5; ++v)
        EXPECT_EQ(image.GetColor(v, 0).rgbRed, expected[v]);
    EXPECT_EQ(image.GetColor(31, 0).rgbRed, 255);
    EXPECT_EQ(image.GetColor(31, 0).rgbGreen, 0);
}

TEST(Targa, RunLengthPacketsEndAtTheScanLine) {
    auto file = Header(10, 3, 2, 24);
    // A run of 5 red pixels: only 3 fit the first line, the rest is dropped.
    file.insert(file.end(), {0x84, 0, 0, 255});
    // The second line starts with a new packet: 3 raw pixels.
    file.insert(file.end(), {0x02, 255, 0, 0, 0, 255, 0, 9, 9, 9});
    SECTarga image;
    ASSERT_TRUE(Load(image, file));
    for (unsigned x = 0; x < 3; ++x)
        EXPECT_TRUE(SameColor(image.GetColor(x, 0), Bgr(0, 0, 255)));
    EXPECT_TRUE(SameColor(image.GetColor(0, 1), Bgr(255, 0, 0)));
    EXPECT_TRUE(SameColor(image.GetColor(1, 1), Bgr(0, 255, 0)));
    EXPECT_TRUE(SameColor(image.GetColor(2, 1), Bgr(9, 9, 9)));
    // Data ending inside a packet fails.
    file.resize(file.size() - 2);
    EXPECT_FALSE(Load(image, file));
}

TEST(Targa, OriginBitsFlipAndMirror) {
    // Pixels in file order: 1 2 / 3 4 (grey values).
    const std::vector<std::uint8_t> pixels = {1, 2, 3, 4};
    struct Case {
        int descriptor;
        std::uint8_t bottomLeft, bottomRight, topLeft;
    };
    for (const Case& c : {Case{0x00, 1, 2, 3}, Case{0x20, 3, 4, 1}, Case{0x10, 2, 1, 4}, Case{0x30, 4, 3, 2}}) {
        SCOPED_TRACE(c.descriptor);
        auto file = Header(3, 2, 2, 8, c.descriptor);
        file.insert(file.end(), pixels.begin(), pixels.end());
        SECTarga image;
        ASSERT_TRUE(Load(image, file));
        EXPECT_EQ(image.GetColor(0, 0).rgbGreen, c.bottomLeft);
        EXPECT_EQ(image.GetColor(1, 0).rgbGreen, c.bottomRight);
        EXPECT_EQ(image.GetColor(0, 1).rgbGreen, c.topLeft);
    }
}

TEST(Targa, MappedAndDeepPixels) {
    auto mapped = Header(1, 2, 1, 8, 0, 2, 24);
    mapped.insert(mapped.end(), {10, 20, 30, 40, 50, 60});    // two BGR entries
    mapped.insert(mapped.end(), {1, 0});
    SECTarga image;
    ASSERT_TRUE(Load(image, mapped));
    EXPECT_TRUE(SameColor(image.GetColor(0, 0), Bgr(40, 50, 60)));
    EXPECT_TRUE(SameColor(image.GetColor(1, 0), Bgr(10, 20, 30)));
    mapped.back() = 2;  // beyond the map
    EXPECT_FALSE(Load(image, mapped));

    auto deep = Header(2, 1, 1, 32);
    deep.insert(deep.end(), {7, 8, 9, 128});
    ASSERT_TRUE(Load(image, deep));
    EXPECT_EQ(image.m_nBitsPerPixel, 24);
    EXPECT_TRUE(SameColor(image.GetColor(0, 0), Bgr(7, 8, 9)));
}

TEST(Targa, HeaderCheckRefusesOtherFormats) {
    SECDib bmp;
    MakePattern(bmp, 4, 4, 8);
    SECPcx pcx;
    MakePattern(pcx, 4, 4, 8);
    SECJpeg jpg;
    MakePattern(jpg, 4, 4, 24);
    for (SECImage* other : {static_cast<SECImage*>(&bmp), static_cast<SECImage*>(&pcx),
                            static_cast<SECImage*>(&jpg)}) {
        SECTarga image;
        EXPECT_FALSE(Load(image, SaveBytes(*other)));
    }
    SECTarga image;
    EXPECT_FALSE(Load(image, Header(2, 100, 100, 24)));     // no pixels
    EXPECT_FALSE(Load(image, Header(10, 60000, 60000, 24)));  // far beyond the data
    EXPECT_FALSE(Load(image, Header(5, 1, 1, 24)));
}

TEST(Targa, WritesTwentyFourBitsAndKeepsTheExtensionArea) {
    // A TGA 2.0 file with an extension area and a colour-correction offset.
    auto file = Header(2, 2, 1, 24);
    file.insert(file.end(), {1, 2, 3, 4, 5, 6});
    const std::size_t extAt = file.size();
    file.resize(extAt + SECTarga::kExtensionSize, 0);
    Put16(&file[extAt], 495);
    std::memcpy(&file[extAt + 2], "Ada", 3);
    std::memcpy(&file[extAt + 43], "first light", 11);
    Put32(&file[extAt + 482], 12345);
    Append32(file, static_cast<std::uint32_t>(extAt));
    Append32(file, 0);
    const char signature[18] = "TRUEVISION-XFILE.";
    file.insert(file.end(), signature, signature + 18);

    SECTarga image;
    ASSERT_TRUE(Load(image, file));
    EXPECT_TRUE(image.m_bVersion2);
    EXPECT_EQ(image.Author(), "Ada");
    EXPECT_EQ(image.Comments(), "first light");

    const auto out = SaveBytes(image);
    ASSERT_EQ(out.size(), 18 + 6 + 495 + 26u);
    EXPECT_EQ(out[2], 2);
    EXPECT_EQ(out[16], 24);
    const std::uint32_t ext = Get32(&out[out.size() - 26]);
    ASSERT_EQ(ext, 24u);
    EXPECT_EQ(std::memcmp(&out[ext + 2], "Ada", 4), 0);
    EXPECT_EQ(Get32(&out[ext + 482]), 0u);
    EXPECT_EQ(std::memcmp(&out[out.size() - 18], signature, 18), 0);

    // Without the footer the file reads from header and pixels alone.
    SECTarga plain;
    ASSERT_TRUE(Load(plain, std::vector<std::uint8_t>(file.begin(), file.begin() + 24)));
    EXPECT_FALSE(plain.m_bVersion2);
    EXPECT_TRUE(SamePicture(plain, image));
}

TEST(Targa, IndexedImagesAreExpanded) {
    SECTarga image;
    MakePattern(image, 5, 3, 4);
    const Snapshot before(image);
    SECTarga back;
    ASSERT_TRUE(Load(back, SaveBytes(image)));
    EXPECT_EQ(back.m_nBitsPerPixel, 24);
    EXPECT_TRUE(SamePicture(back, image));
    EXPECT_TRUE(Snapshot(image) == before);
}
