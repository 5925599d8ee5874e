#include <cmath>
#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

#include "tests/lumetra/image_test_util.h"

using namespace imgtest;

namespace {

std::vector<std::uint8_t> Encode(SECJpeg& image) { return SaveBytes(image); }

bool Decode(SECJpeg& image, const std::vector<std::uint8_t>& bytes) {
    MemoryStream in(bytes.data(), bytes.size());
    return image.LoadFromStream(in);
}

// Decodes with the library directly, as another program would: RGB rows.
std::vector<std::uint8_t> DecodeRgb(const std::vector<std::uint8_t>& bytes, int& width, int& height) {
    jpeg_decompress_struct cinfo;
    jpeg_error_mgr err;
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, bytes.data(), static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&cinfo, TRUE);
    cinfo.out_color_space = JCS_RGB;
    jpeg_start_decompress(&cinfo);
    width = static_cast<int>(cinfo.output_width);
    height = static_cast<int>(cinfo.output_height);
    std::vector<std::uint8_t> rgb(static_cast<std::size_t>(width) * height * 3);
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = rgb.data() + static_cast<std::size_t>(cinfo.output_scanline) * width * 3;
        jpeg_read_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return rgb;
}

std::vector<std::uint8_t> GreyJpeg(int width, int height) {
    jpeg_compress_struct cinfo;
    jpeg_error_mgr err;
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_compress(&cinfo);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &out, &size);
    cinfo.image_width = static_cast<JDIMENSION>(width);
    cinfo.image_height = static_cast<JDIMENSION>(height);
    cinfo.input_components = 1;
    cinfo.in_color_space = JCS_GRAYSCALE;
    jpeg_set_defaults(&cinfo);
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<std::uint8_t> row(static_cast<std::size_t>(width));
    while (cinfo.next_scanline < cinfo.image_height) {
        for (int x = 0; x < width; ++x)
            row[static_cast<std::size_t>(x)] = static_cast<std::uint8_t>(x * 255 / (width - 1));
        JSAMPROW p = row.data();
        jpeg_write_scanlines(&cinfo, &p, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    std::vector<std::uint8_t> bytes(out, out + size);
    free(out);
    return bytes;
}

void Gradient(SECImage& image) {
    ASSERT_TRUE(image.CreateImage(64, 48, 24));
    for (unsigned y = 0; y < 48; ++y)
        for (unsigned x = 0; x < 64; ++x) {
            std::uint8_t* p = image.Row(y) + 3 * x;
            p[0] = static_cast<std::uint8_t>(y * 5);
            p[1] = static_cast<std::uint8_t>(128 + x);
            p[2] = static_cast<std::uint8_t>(x * 4);
        }
}

} // namespace

TEST(Jpeg, SmoothGradientSurvivesAtQuality75) {
    SECJpeg image;
    Gradient(image);
    const auto bytes = Encode(image);
    SECJpeg back;
    ASSERT_TRUE(Decode(back, bytes));
    ASSERT_EQ(back.m_nBitsPerPixel, 24);
    ASSERT_EQ(back.m_nWidth, 64u);
    ASSERT_EQ(back.m_nHeight, 48u);
    double squared = 0;
    for (unsigned y = 0; y < 48; ++y)
        for (unsigned x = 0; x < 64; ++x)
            for (unsigned c = 0; c < 3; ++c) {
                const double d = double(image.Row(y)[3 * x + c]) - back.Row(y)[3 * x + c];
                squared += d * d;
            }
    const double psnr = 10 * std::log10(255.0 * 255.0 / (squared / (64 * 48 * 3)));
    EXPECT_GE(psnr, 30.0);
    EXPECT_TRUE(back.m_Warnings.empty());
}

TEST(Jpeg, FilesAreStandardRgb) {
    SECJpeg red;
    ASSERT_TRUE(red.CreateImage(16, 8, 24));
    for (unsigned y = 0; y < 8; ++y)
        for (unsigned x = 0; x < 16; ++x)
            red.Row(y)[3 * x + 2] = 255;
    int w = 0, h = 0;
    const auto rgb = DecodeRgb(Encode(red), w, h);
    ASSERT_EQ(w, 16);
    ASSERT_EQ(h, 8);
    EXPECT_GE(rgb[0], 245);
    EXPECT_LE(rgb[1], 10);
    EXPECT_LE(rgb[2], 10);

    // Indexed pictures are written through their colour table.
    SECJpeg mapped;
    ASSERT_TRUE(mapped.CreateImage(8, 8, 4));
    mapped.m_Colors[0] = RGBQUAD{255, 0, 0, 0};     // blue
    const auto blue = DecodeRgb(Encode(mapped), w, h);
    EXPECT_LE(blue[0], 10);
    EXPECT_GE(blue[2], 245);
}

TEST(Jpeg, GreyscaleReadsAsEqualBytes) {
    SECJpeg image;
    ASSERT_TRUE(Decode(image, GreyJpeg(32, 4)));
    ASSERT_EQ(image.m_nBitsPerPixel, 24);
    for (unsigned x = 0; x < 32; ++x) {
        const std::uint8_t* p = image.Row(2) + 3 * x;
        EXPECT_EQ(p[0], p[1]);
        EXPECT_EQ(p[1], p[2]);
    }
    EXPECT_GT(image.Row(2)[3 * 31], 240);
}

TEST(Jpeg, TruncatedFileReadsWithOneWarningNotPrinted) {
    // A busy picture, so that half the file lies well inside the pixel data.
    SECJpeg image;
    MakePattern(image, 96, 64, 24);
    auto bytes = Encode(image);
    ASSERT_GT(bytes.size(), 2000u);
    bytes.resize(bytes.size() / 2);
    SECJpeg back;
    testing::internal::CaptureStderr();
    const bool ok = Decode(back, bytes);
    const std::string printed = testing::internal::GetCapturedStderr();
    ASSERT_TRUE(ok);
    EXPECT_EQ(back.m_nWidth, 96u);
    EXPECT_EQ(back.m_nHeight, 64u);
    ASSERT_EQ(back.m_Warnings.size(), 1u);
    EXPECT_NE(back.m_Warnings[0].find("end"), std::string::npos) << back.m_Warnings[0];
    EXPECT_EQ(printed, "");
}

TEST(Jpeg, BrokenInputFailsWithoutEndingTheProcess) {
    SECJpeg image;
    MakePattern(image, 3, 3, 24);
    const Snapshot before(image);
    EXPECT_FALSE(Decode(image, {}));
    EXPECT_FALSE(Decode(image, {0xFF, 0xD8, 0xFF, 0xC0, 0x00, 0x02}));
    EXPECT_FALSE(Decode(image, std::vector<std::uint8_t>(100, 0x33)));
    EXPECT_TRUE(Snapshot(image) == before);
}

TEST(Jpeg, QuantisedReadGivesEightBitsWithTheMap) {
    SECJpeg image;
    Gradient(image);
    const auto bytes = Encode(image);
    SECJpeg back;
    back.m_bQuantize = true;
    ASSERT_TRUE(Decode(back, bytes));
    EXPECT_EQ(back.m_nBitsPerPixel, 8);
    const RGBQUAD c = back.GetColor(63, 47);
    EXPECT_NEAR(c.rgbRed, 252, 24);
    EXPECT_NEAR(c.rgbBlue, 235, 24);
}
