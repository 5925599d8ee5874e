#include <memory>

#include "tests/lumetra/image_test_util.h"

using namespace imgtest;

namespace {

template <class T>
std::string SaveAs(const std::string& name, int bits = 8) {
    T image;
    MakePattern(image, 9, 5, bits);
    const std::string path = Scratch(name);
    EXPECT_TRUE(image.SaveToPath(path.c_str())) << name;
    return path;
}

} // namespace

TEST(ImageFactory, FindsTheClassByExtensionOrContent) {
    struct Case {
        std::string path;
        bool (*isRight)(SECImage*);
    };
    const auto dib = [](SECImage* i) { return dynamic_cast<SECDib*>(i) != nullptr; };
    const auto pcx = [](SECImage* i) { return dynamic_cast<SECPcx*>(i) != nullptr; };
    const auto tga = [](SECImage* i) { return dynamic_cast<SECTarga*>(i) != nullptr; };
    const auto jpg = [](SECImage* i) { return dynamic_cast<SECJpeg*>(i) != nullptr; };
    const auto tif = [](SECImage* i) { return dynamic_cast<SECTiff*>(i) != nullptr; };
    const std::vector<Case> cases = {
        {SaveAs<SECDib>("a.bmp"), dib},
        {SaveAs<SECDib>("b.DIB"), dib},
        {SaveAs<SECPcx>("c.pcx"), pcx},
        {SaveAs<SECTarga>("d.TGS", 24), tga},
        {SaveAs<SECTarga>("e.tga", 24), tga},
        {SaveAs<SECJpeg>("f.jpeg", 24), jpg},
        {SaveAs<SECTiff>("g.tiff", 24), tif},
        {SaveAs<SECTiff>("h.TIF", 8), tif},
        // No extension or a wrong one: every reader is tried on the open file.
        {SaveAs<SECDib>("i.jpg"), dib},
        {SaveAs<SECPcx>("j.dat"), pcx},
        {SaveAs<SECTarga>("k", 24), tga},
        {SaveAs<SECJpeg>("l.bmp", 24), jpg},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        std::unique_ptr<SECImage> image(LoadImageFile(c.path.c_str()));
        ASSERT_NE(image, nullptr);
        EXPECT_TRUE(c.isRight(image.get()));
        EXPECT_EQ(image->m_nWidth, 9u);
        EXPECT_EQ(image->m_nHeight, 5u);
    }
}

TEST(ImageFactory, UnreadableGivesNull) {
    EXPECT_EQ(LoadImageFile(Scratch("absent.bmp").c_str()), nullptr);
    EXPECT_EQ(LoadImageFile(nullptr), nullptr);
    const std::string junk = Scratch("junk.png");
    WriteFile(junk, std::vector<std::uint8_t>(300, 0x5A));
    EXPECT_EQ(LoadImageFile(junk.c_str()), nullptr);
    const std::string empty = Scratch("empty.jpg");
    WriteFile(empty, {});
    EXPECT_EQ(LoadImageFile(empty.c_str()), nullptr);
    EXPECT_EQ(CreateImageOfType(7), nullptr);
    EXPECT_EQ(ImageTypeOfPath("a.b/c"), -1);
}

TEST(ImageFactory, FailedLoadKeepsThePicture) {
    const std::string junk = Scratch("junk.bmp");
    WriteFile(junk, {'B', 'M', 1, 2, 3});
    for (int type = SECIMAGE_DIB; type <= SECIMAGE_JPEG; ++type) {
        SCOPED_TRACE(type);
        std::unique_ptr<SECImage> image(CreateImageOfType(type));
        MakePattern(*image, 4, 4, 8);
        const Snapshot before(*image);
        EXPECT_FALSE(image->LoadFromPath(junk.c_str()));
        EXPECT_TRUE(Snapshot(*image) == before);
        EXPECT_EQ(image->m_nBitsPerPixel, 8);
    }
}

TEST(ImageFactory, GifIsNeverReadOrWritten) {
    SECGif gif;
    MakePattern(gif, 2, 2, 8);
    MemoryStream out;
    EXPECT_FALSE(gif.SaveToStream(out));
    const std::string path = SaveAs<SECDib>("m.gif");
    std::unique_ptr<SECImage> image(LoadImageFile(path.c_str()));
    ASSERT_NE(image, nullptr);
    EXPECT_NE(dynamic_cast<SECDib*>(image.get()), nullptr);
}
