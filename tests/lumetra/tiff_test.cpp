#include <filesystem>

#include <tiffio.h>

#include "tests/lumetra/image_test_util.h"

using namespace imgtest;

namespace {

// Writes a grey 8-bit file with the given orientation; rows are given top
// row first and stored in the order the orientation asks for.
void WriteGrey(const std::string& path, int orientation, const std::vector<std::vector<std::uint8_t>>& topDown) {
    TIFF* tif = TIFFOpen(path.c_str(), "w");
    ASSERT_NE(tif, nullptr);
    const auto width = static_cast<std::uint32_t>(topDown[0].size());
    const auto height = static_cast<std::uint32_t>(topDown.size());
    TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, width);
    TIFFSetField(tif, TIFFTAG_IMAGELENGTH, height);
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 8);
    TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 1);
    TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISBLACK);
    TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(tif, TIFFTAG_ORIENTATION, orientation);
    for (std::uint32_t r = 0; r < height; ++r) {
        auto row = topDown[orientation == ORIENTATION_BOTLEFT ? height - 1 - r : r];
        TIFFWriteScanline(tif, row.data(), r, 0);
    }
    TIFFClose(tif);
}

} // namespace

TEST(Tiff, RoundTripsByDepthAndCompression) {
    struct Case {
        int bits;
        int compression;
        unsigned width;
    };
    const Case cases[] = {{24, 1, 7}, {24, 32773, 7}, {8, 1, 9}, {8, 32773, 9}, {4, 1, 5},
                          {1, 1, 13}, {1, 32773, 13}, {1, 3, 13}, {1, 3, 16}};
    for (const Case& c : cases) {
        for (bool whiteFirst : {false, true}) {
            if (c.bits != 1 && whiteFirst)
                continue;
            SCOPED_TRACE(testing::Message() << c.bits << " bits, compression " << c.compression
                                            << (whiteFirst ? ", white first" : ""));
            SECTiff image;
            MakePattern(image, c.width, 6, c.bits);
            if (c.bits == 1) {
                // Bilevel files hold black and white.
                image.m_Colors[0] = whiteFirst ? RGBQUAD{255, 255, 255, 0} : RGBQUAD{0, 0, 0, 0};
                image.m_Colors[1] = whiteFirst ? RGBQUAD{0, 0, 0, 0} : RGBQUAD{255, 255, 255, 0};
            }
            image.m_nCompression = c.compression;
            const std::string path = Scratch("round.tif");
            const Snapshot before(image);
            ASSERT_TRUE(image.SaveToPath(path.c_str())) << image.m_strError;
            EXPECT_TRUE(Snapshot(image) == before);
            SECTiff back;
            ASSERT_TRUE(back.LoadFromPath(path.c_str())) << back.m_strError;
            EXPECT_EQ(back.m_nBitsPerPixel, c.bits == 24 ? 24 : 8);
            EXPECT_TRUE(SamePicture(back, image));
        }
    }
}

TEST(Tiff, GroupThreeNeedsOneBit) {
    SECTiff image;
    MakePattern(image, 4, 4, 8);
    image.m_nCompression = 3;
    const std::string path = Scratch("g3.tif");
    EXPECT_FALSE(image.SaveToPath(path.c_str()));
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST(Tiff, OrientationAndGreyFiles) {
    const std::vector<std::vector<std::uint8_t>> rows = {{10, 20, 30}, {40, 50, 60}};
    const std::string top = Scratch("top.tif"), bottom = Scratch("bottom.tif");
    WriteGrey(top, ORIENTATION_TOPLEFT, rows);
    WriteGrey(bottom, ORIENTATION_BOTLEFT, rows);
    SECTiff a, b;
    ASSERT_TRUE(a.LoadFromPath(top.c_str()));
    ASSERT_TRUE(b.LoadFromPath(bottom.c_str()));
    EXPECT_TRUE(SamePicture(a, b));
    // Grey files read as 8 bits with a grey ramp; the top row is the last in memory.
    EXPECT_EQ(a.m_nBitsPerPixel, 8);
    EXPECT_EQ(a.GetColor(0, 1).rgbRed, 10);
    EXPECT_EQ(a.GetColor(2, 0).rgbGreen, 60);
    EXPECT_EQ(a.GetIndex(a.Row(0), 1), 50u);
}

TEST(Tiff, OnlyByPath) {
    SECTiff image;
    MakePattern(image, 3, 3, 24);
    const Snapshot before(image);
    MemoryStream out;
    EXPECT_FALSE(image.SaveToStream(out));
    const std::string path = Scratch("p.tif");
    ASSERT_TRUE(image.SaveToPath(path.c_str()));
    const auto bytes = ReadFile(path);
    MemoryStream in(bytes.data(), bytes.size());
    EXPECT_FALSE(image.LoadFromStream(in));
    const std::string junk = Scratch("junk.tif");
    WriteFile(junk, {'I', 'I', 42, 0, 8, 0, 0, 0, 0xFF, 0xFF});
    EXPECT_FALSE(image.LoadFromPath(junk.c_str()));
    EXPECT_TRUE(Snapshot(image) == before);
}
