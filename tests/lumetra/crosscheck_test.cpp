// Files exchanged with ImageMagick's convert, when it is installed: its
// files read by our readers, our files read by it, each compared with the
// same picture as binary PPM.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "tests/lumetra/image_test_util.h"

using namespace imgtest;

namespace {

bool HaveImageMagick() {
    static const bool have = [] {
        std::FILE* p = popen("convert -version 2>/dev/null", "r");
        if (p == nullptr)
            return false;
        std::string text;
        char buffer[256];
        while (std::fgets(buffer, sizeof buffer, p) != nullptr)
            text += buffer;
        pclose(p);
        return text.find("Version: ImageMagick") != std::string::npos;
    }();
    return have;
}

bool Convert(const std::string& arguments) {
    return std::system(("convert " + arguments + " 2>/dev/null").c_str()) == 0;
}

// A binary PPM: width, height and RGB bytes, top row first.
struct Ppm {
    unsigned width = 0, height = 0;
    std::vector<std::uint8_t> rgb;
};

bool ParsePpm(const std::vector<std::uint8_t>& bytes, Ppm& out) {
    std::size_t pos = 0;
    auto token = [&](unsigned& value) {
        while (pos < bytes.size() && (std::isspace(bytes[pos]) || bytes[pos] == '#')) {
            if (bytes[pos] == '#')
                while (pos < bytes.size() && bytes[pos] != '\n')
                    ++pos;
            else
                ++pos;
        }
        if (pos >= bytes.size() || !std::isdigit(bytes[pos]))
            return false;
        value = 0;
        while (pos < bytes.size() && std::isdigit(bytes[pos]))
            value = value * 10 + (bytes[pos++] - '0');
        return true;
    };
    unsigned maxValue = 0;
    if (bytes.size() < 2 || bytes[0] != 'P' || bytes[1] != '6')
        return false;
    pos = 2;
    if (!token(out.width) || !token(out.height) || !token(maxValue) || maxValue != 255)
        return false;
    ++pos;  // one whitespace byte
    const std::size_t size = std::size_t{3} * out.width * out.height;
    if (bytes.size() < pos + size)
        return false;
    out.rgb.assign(bytes.begin() + static_cast<std::ptrdiff_t>(pos),
                   bytes.begin() + static_cast<std::ptrdiff_t>(pos + size));
    return true;
}

std::vector<std::uint8_t> ToPpm(const SECImage& image) {
    const std::string head = "P6\n" + std::to_string(image.m_nWidth) + " " + std::to_string(image.m_nHeight) + "\n255\n";
    std::vector<std::uint8_t> out(head.begin(), head.end());
    for (unsigned r = 0; r < image.m_nHeight; ++r)
        for (unsigned x = 0; x < image.m_nWidth; ++x) {
            const RGBQUAD c = image.GetColor(x, image.m_nHeight - 1 - r);
            out.insert(out.end(), {c.rgbRed, c.rgbGreen, c.rgbBlue});
        }
    return out;
}

// Peak signal-to-noise ratio of an image against a PPM; infinity when equal.
double Psnr(const SECImage& image, const Ppm& ppm) {
    if (image.m_nWidth != ppm.width || image.m_nHeight != ppm.height)
        return -1;
    double squared = 0;
    for (unsigned r = 0; r < ppm.height; ++r)
        for (unsigned x = 0; x < ppm.width; ++x) {
            const RGBQUAD c = image.GetColor(x, ppm.height - 1 - r);
            const std::uint8_t* p = &ppm.rgb[3 * (static_cast<std::size_t>(r) * ppm.width + x)];
            const double d[3] = {double(c.rgbRed) - p[0], double(c.rgbGreen) - p[1], double(c.rgbBlue) - p[2]};
            squared += d[0] * d[0] + d[1] * d[1] + d[2] * d[2];
        }
    if (squared == 0)
        return INFINITY;
    return 10 * std::log10(255.0 * 255.0 / (squared / (3.0 * ppm.width * ppm.height)));
}

// A smooth colour picture, or a black and white one for bilevel formats.
void Picture(SECImage& image, bool bilevel) {
    if (bilevel) {
        ASSERT_TRUE(image.CreateImage(21, 9, 1));
        image.m_Colors[1] = RGBQUAD{255, 255, 255, 0};
        for (unsigned y = 0; y < 9; ++y)
            for (unsigned x = 0; x < 21; ++x)
                image.SetIndex(image.Row(y), x, (x * x + y) % 3 == 0);
        return;
    }
    ASSERT_TRUE(image.CreateImage(21, 9, 24));
    for (unsigned y = 0; y < 9; ++y)
        for (unsigned x = 0; x < 21; ++x) {
            std::uint8_t* p = image.Row(y) + 3 * x;
            p[0] = static_cast<std::uint8_t>(x * 12);
            p[1] = static_cast<std::uint8_t>(y * 28);
            p[2] = static_cast<std::uint8_t>(200 - x * 4);
        }
}

struct Format {
    const char* name;
    const char* file;           // name of the converted file
    const char* options;        // convert options (Targa: say where the origin is,
                                // which convert otherwise leaves out of the header)
    bool bilevel;
    double minPsnr;             // INFINITY: exact
};

const Format kFormats[] = {
    {"BMP", "im.bmp", "-type TrueColor", false, INFINITY},
    {"JPEG", "im.jpg", "-quality 90", false, 30},
    {"TIFF", "im.tif", "-compress None", false, INFINITY},
    {"TIFF PackBits", "im.tif", "-compress RLE", false, INFINITY},
    {"TIFF Group 3", "im.tif", "-compress Fax -type Bilevel", true, INFINITY},
    {"Targa", "im.tga", "-orient TopLeft -compress None", false, INFINITY},
    {"Targa RLE", "im.tga", "-orient TopLeft -compress RLE", false, INFINITY},
    {"PCX", "im.pcx", "-type Palette", false, INFINITY},
};

} // namespace

TEST(CrossCheck, OurReadersReadImageMagickFiles) {
    if (!HaveImageMagick())
        GTEST_SKIP() << "ImageMagick's convert is not installed";
    for (const Format& f : kFormats) {
        SCOPED_TRACE(f.name);
        SECDib picture;
        Picture(picture, f.bilevel);
        const std::string ppm = Scratch("source.ppm"), out = Scratch(f.file);
        WriteFile(ppm, ToPpm(picture));
        ASSERT_TRUE(Convert("'" + ppm + "' " + f.options + " '" + out + "'"));
        std::unique_ptr<SECImage> image(LoadImageFile(out.c_str()));
        ASSERT_NE(image, nullptr);
        Ppm expected;
        ASSERT_TRUE(ParsePpm(ToPpm(picture), expected));
        EXPECT_GE(Psnr(*image, expected), f.minPsnr);
    }
}

TEST(CrossCheck, ImageMagickReadsOurFiles) {
    if (!HaveImageMagick())
        GTEST_SKIP() << "ImageMagick's convert is not installed";
    for (const Format& f : kFormats) {
        SCOPED_TRACE(f.name);
        const std::string name = f.name;
        std::unique_ptr<SECImage> image(CreateImageOfType(ImageTypeOfPath(f.file)));
        ASSERT_NE(image, nullptr);
        // PCX holds at most 8 bits a pixel: an indexed picture goes that way.
        const bool indexed = f.bilevel || name == "PCX";
        Picture(*image, indexed);
        if (auto* tiff = dynamic_cast<SECTiff*>(image.get()))
            tiff->m_nCompression = name == "TIFF PackBits" ? 32773 : name == "TIFF Group 3" ? 3 : 1;
        const std::string ours = Scratch(std::string("ours_") + f.file), ppm = Scratch("ours.ppm");
        ASSERT_TRUE(image->SaveToPath(ours.c_str()));
        // convert keeps a Targa file's rows in file order unless told to orient them.
        ASSERT_TRUE(Convert("'" + ours + "' -auto-orient -depth 8 'ppm:" + ppm + "'"));
        Ppm read;
        ASSERT_TRUE(ParsePpm(ReadFile(ppm), read));
        EXPECT_GE(Psnr(*image, read), f.minPsnr);
    }
}
