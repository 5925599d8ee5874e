// Saving a picture to a file replaces the old file only when the whole
// picture was written.
#include <sys/stat.h>

#include "glview/secjpeg.h"
#include "glview/secpcx.h"
#include "glview/sectarga.h"
#include "glview/sectiff.h"
#include "tests/lumetra/image_test_util.h"
#include "tests/support/safe_write_cases.h"

using namespace imgtest;

TEST(ImageSave, EveryFormatKeepsTheOldFileOnAnyFailure) {
    SECDib bmp;
    SECTarga tga;
    SECPcx pcx;
    SECJpeg jpg;
    const struct {
        const char* name;
        SECImage* image;
        int bits;
    } cases[] = {{"picture.bmp", &bmp, 24}, {"picture.tga", &tga, 24}, {"picture.pcx", &pcx, 8},
                 {"picture.jpg", &jpg, 24}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        MakePattern(*c.image, 9, 5, c.bits);
        brantel::test::ExpectEachWriteFailureKeepsTheOldFile(c.name, [&c](const std::string& path, const std::string&) {
            EXPECT_FALSE(c.image->SaveToPath(path.c_str()));
            return std::vector<std::string>{c.image->m_strWriteFailure};
        });
        const std::string path = Scratch(c.name);
        ASSERT_TRUE(c.image->SaveToPath(path.c_str()));
        EXPECT_TRUE(c.image->m_strWriteFailure.empty());
    }
}

// The TIFF writer writes the temporary file by its name: a file it may not
// replace stays, and a failed rename keeps the old one.
TEST(ImageSave, TiffKeepsAReadOnlyFileAndTheOldFileOnAFailedRename) {
    SECTiff tif;
    MakePattern(tif, 9, 5, 24);
    const std::string path = Scratch("kept.tif");
    ASSERT_TRUE(tif.SaveToPath(path.c_str())) << tif.m_strError;
    const std::vector<std::uint8_t> old = ReadFile(path);
    MakePattern(tif, 11, 5, 24);
    ::chmod(path.c_str(), 0444);
    EXPECT_FALSE(tif.SaveToPath(path.c_str()));
    EXPECT_EQ(tif.m_strWriteFailure, "Access to " + path + " was denied.");
    ::chmod(path.c_str(), 0644);
    afx::SafeFileWriter::InjectFailure(afx::SafeFileWriter::Step::rename);
    EXPECT_FALSE(tif.SaveToPath(path.c_str()));
    EXPECT_NE(tif.m_strWriteFailure.find(path), std::string::npos) << tif.m_strWriteFailure;
    EXPECT_EQ(ReadFile(path), old);
    ASSERT_TRUE(tif.SaveToPath(path.c_str()));
    EXPECT_NE(ReadFile(path), old);
}
