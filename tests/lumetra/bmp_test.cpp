#include <cstring>
#include <memory>

#include "tests/lumetra/image_test_util.h"

using namespace imgtest;
using namespace imgbytes;

namespace {

// A hand-made BMP file: header fields as given, table and pixels appended.
struct BmpFile {
    std::uint32_t infoSize = 40;
    std::int32_t width = 2;
    std::int32_t height = 2;
    std::uint16_t bits = 8;
    std::uint32_t compression = 0;
    std::uint32_t colorsUsed = 0;
    std::int64_t offset = -1;           // -1: right behind the table
    std::vector<RGBQUAD> table;
    std::vector<std::uint8_t> pixels;

    std::vector<std::uint8_t> Bytes() const {
        std::vector<std::uint8_t> out{'B', 'M'};
        const std::uint32_t off = offset >= 0 ? static_cast<std::uint32_t>(offset)
                                              : 14 + infoSize + 4 * static_cast<std::uint32_t>(table.size());
        Append32(out, 0);
        Append32(out, 0);
        Append32(out, off);
        Append32(out, infoSize);
        Append32(out, static_cast<std::uint32_t>(width));
        Append32(out, static_cast<std::uint32_t>(height));
        Append16(out, 1);
        Append16(out, bits);
        Append32(out, compression);
        Append32(out, 0);
        Append32(out, 0);
        Append32(out, 0);
        Append32(out, colorsUsed);
        Append32(out, 0);
        out.resize(14 + infoSize, 0);
        for (const RGBQUAD& c : table)
            out.insert(out.end(), {c.rgbBlue, c.rgbGreen, c.rgbRed, 0});
        if (offset > static_cast<std::int64_t>(out.size()))
            out.resize(static_cast<std::size_t>(offset), 0);
        out.insert(out.end(), pixels.begin(), pixels.end());
        Put32(out.data() + 2, static_cast<std::uint32_t>(out.size()));
        return out;
    }
};

bool LoadBytes(SECImage& image, const std::vector<std::uint8_t>& bytes) {
    MemoryStream in(bytes.data(), bytes.size());
    return image.LoadFromStream(in);
}

} // namespace

TEST(Bmp, OneBitThreeWideLayout) {
    SECDib image;
    ASSERT_TRUE(image.CreateImage(3, 5, 1));
    image.m_Colors[1] = RGBQUAD{255, 255, 255, 0};
    image.SetIndex(image.Row(0), 0, 1);
    const auto bytes = SaveBytes(image);
    ASSERT_EQ(bytes.size(), 14u + 40 + 8 + 4 * 5);
    EXPECT_EQ(bytes[0], 'B');
    EXPECT_EQ(bytes[1], 'M');
    EXPECT_EQ(Get32(&bytes[2]), bytes.size());
    EXPECT_EQ(Get32(&bytes[10]), 62u);
    EXPECT_EQ(Get32(&bytes[14]), 40u);
    EXPECT_EQ(Get16(&bytes[28]), 1u);
    EXPECT_EQ(Get32(&bytes[58]), 0x00FFFFFFu);  // table entry 1
    EXPECT_EQ(bytes[62], 0x80);                 // bottom row, leftmost pixel set
}

TEST(Bmp, RoundTripsKeepPixelsAndTable) {
    for (int bits : {1, 4, 8, 24})
        for (unsigned width : {1u, 3u, 5u, 33u}) {
            SCOPED_TRACE(testing::Message() << bits << " bits, width " << width);
            SECDib image;
            MakePattern(image, width, 4, bits);
            const auto bytes = SaveBytes(image);
            EXPECT_EQ(bytes.size(), 14 + 40 + 4 * image.m_Colors.size() + SECImage::PaddedStride(width, bits) * 4);
            SECDib back;
            ASSERT_TRUE(LoadBytes(back, bytes));
            EXPECT_EQ(back.m_nBitsPerPixel, bits);
            EXPECT_EQ(back.m_Bits, image.m_Bits);
            ASSERT_EQ(back.m_Colors.size(), image.m_Colors.size());
            for (std::size_t i = 0; i < back.m_Colors.size(); ++i)
                EXPECT_TRUE(SameColor(back.m_Colors[i], image.m_Colors[i]));
        }
}

TEST(Bmp, SavingLeavesTheImageAsItWas) {
    SECDib image;
    MakePattern(image, 5, 3, 4);
    const auto padded = SaveBytes(image);
    ASSERT_TRUE(image.UnpadRows());
    const Snapshot before(image);
    // Unpadded rows are written padded: the same file.
    EXPECT_EQ(SaveBytes(image), padded);
    EXPECT_TRUE(Snapshot(image) == before);
    // A failing save (no room to write) changes nothing either.
    EXPECT_FALSE(image.SaveToPath((ScratchDir() / "missing" / "x.bmp").string().c_str()));
    EXPECT_TRUE(Snapshot(image) == before);
}

TEST(Bmp, MalformedFilesAreRefusedAndKeepTheOldPicture) {
    BmpFile good;
    good.table.assign(256, RGBQUAD{1, 2, 3, 0});
    good.pixels.assign(8, 7);
    {
        SECDib probe;
        ASSERT_TRUE(LoadBytes(probe, good.Bytes()));
    }
    struct Case {
        const char* name;
        std::vector<std::uint8_t> bytes;
    };
    std::vector<Case> cases;
    auto variant = [&](const char* name, auto change) {
        BmpFile f = good;
        change(f);
        cases.push_back({name, f.Bytes()});
    };
    variant("core header", [](BmpFile& f) { f.infoSize = 12; });
    variant("run-length", [](BmpFile& f) { f.compression = 1; });
    variant("16 bits", [](BmpFile& f) { f.bits = 16; f.table.clear(); });
    variant("zero width", [](BmpFile& f) { f.width = 0; });
    variant("zero height", [](BmpFile& f) { f.height = 0; });
    variant("offset below the headers", [](BmpFile& f) { f.offset = 20; });
    variant("offset inside the table", [](BmpFile& f) { f.offset = 14 + 40 + 16; });
    variant("pixels short", [](BmpFile& f) { f.pixels.pop_back(); });
    variant("more colours than the depth", [](BmpFile& f) { f.colorsUsed = 257; });
    variant("huge", [](BmpFile& f) { f.width = 0x7FFFFFFF; f.height = 0x7FFFFFFF; });
    {
        auto bytes = good.Bytes();
        bytes[1] = 'A';
        cases.push_back({"signature", bytes});
        cases.push_back({"header only", std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + 30)});
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SECDib image;
        MakePattern(image, 3, 2, 24);
        const Snapshot before(image);
        EXPECT_FALSE(LoadBytes(image, c.bytes));
        EXPECT_TRUE(Snapshot(image) == before);
        EXPECT_EQ(image.m_nBitsPerPixel, 24);
    }
}

TEST(Bmp, ShortTableTopDownAndLongHeader) {
    // Colours used 2 at 8 bits: two table entries, the others black.
    BmpFile f;
    f.colorsUsed = 2;
    f.table = {RGBQUAD{0, 0, 255, 0}, RGBQUAD{0, 255, 0, 0}};
    f.height = -2;  // top-down
    f.pixels = {1, 0, 0, 0, 0, 1, 0, 0};
    SECDib image;
    ASSERT_TRUE(LoadBytes(image, f.Bytes()));
    ASSERT_EQ(image.m_Colors.size(), 256u);
    EXPECT_TRUE(SameColor(image.m_Colors[2], RGBQUAD{0, 0, 0, 0}));
    EXPECT_EQ(image.m_nHeight, 2u);
    // The file's first row is the top: in memory it is the last.
    EXPECT_EQ(image.GetIndex(image.Row(1), 0), 1u);
    EXPECT_EQ(image.GetIndex(image.Row(0), 1), 1u);
    EXPECT_EQ(image.GetColor(0, 1).rgbGreen, 255);

    BmpFile v4;
    v4.infoSize = 108;
    v4.bits = 24;
    v4.width = 1;
    v4.height = 1;
    v4.pixels = {1, 2, 3, 0};
    ASSERT_TRUE(LoadBytes(image, v4.Bytes()));
    EXPECT_EQ(image.m_nBitsPerPixel, 24);
    EXPECT_EQ(image.GetColor(0, 0).rgbRed, 3);
}

TEST(ImageEdit, FlipHorizontalRepacksPackedPixels) {
    SECDib one;
    ASSERT_TRUE(one.CreateImage(3, 1, 1));
    one.SetIndex(one.Row(0), 0, 1);
    ASSERT_TRUE(one.FlipHorizontal());
    EXPECT_EQ(one.m_Bits, (std::vector<std::uint8_t>{0x20, 0, 0, 0}));

    SECDib four;
    ASSERT_TRUE(four.CreateImage(3, 1, 4));
    for (unsigned x = 0; x < 3; ++x)
        four.SetIndex(four.Row(0), x, x + 1);
    ASSERT_TRUE(four.UnpadRows());
    ASSERT_TRUE(four.FlipHorizontal());
    EXPECT_EQ(four.m_Bits, (std::vector<std::uint8_t>{0x32, 0x10}));
    EXPECT_FALSE(four.m_bPadded);

    SECDib rgb;
    MakePattern(rgb, 5, 2, 24);
    SECDib copy;
    MakePattern(copy, 5, 2, 24);
    ASSERT_TRUE(rgb.FlipHorizontal());
    for (unsigned x = 0; x < 5; ++x)
        EXPECT_TRUE(SameColor(rgb.GetColor(x, 1), copy.GetColor(4 - x, 1)));
}

TEST(ImageEdit, CropCountsFromTheTopAndClips) {
    for (int bits : {1, 4, 8, 24}) {
        SCOPED_TRACE(bits);
        SECDib image, original;
        MakePattern(image, 13, 7, bits);
        MakePattern(original, 13, 7, bits);
        // x = 3 lies off a byte boundary for packed pixels.
        ASSERT_TRUE(image.Crop(3, 2, 9, 4));
        ASSERT_EQ(image.m_nWidth, 9u);
        ASSERT_EQ(image.m_nHeight, 4u);
        EXPECT_EQ(image.m_Header.biWidth, 9);
        for (unsigned r = 0; r < 4; ++r)
            for (unsigned c = 0; c < 9; ++c)
                // Row r from the top of the cut is row 2 + r from the top.
                EXPECT_TRUE(SameColor(image.GetColor(c, 3 - r), original.GetColor(3 + c, 6 - 2 - r)));
        if (bits == 1) {
            EXPECT_EQ(image.Row(0)[1] & 0x7F, 0);   // padding bits stay clear
        }
    }
    SECDib image;
    MakePattern(image, 10, 10, 8);
    ASSERT_TRUE(image.Crop(-4, 6, 8, 100));
    EXPECT_EQ(image.m_nWidth, 4u);
    EXPECT_EQ(image.m_nHeight, 4u);
    const Snapshot before(image);
    EXPECT_FALSE(image.Crop(4, 0, 5, 5));
    EXPECT_FALSE(image.Crop(0, 0, 0, 2));
    EXPECT_TRUE(Snapshot(image) == before);
}

TEST(ImageEdit, PadAndUnpadAreInverse) {
    SECDib image;
    MakePattern(image, 7, 3, 24);
    const auto padded = image.m_Bits;
    ASSERT_TRUE(image.UnpadRows());
    EXPECT_EQ(image.m_Bits.size(), 21u * 3);
    ASSERT_TRUE(image.FlipVertical());
    ASSERT_TRUE(image.FlipVertical());
    ASSERT_TRUE(image.PadRows());
    EXPECT_EQ(image.m_Bits, padded);
}

TEST(ImageEdit, CreateFromBitmap) {
    CBitmap deep;
    ASSERT_TRUE(deep.CreateDIB(3, 2, 32));
    deep.Row(1)[4 * 2 + 2] = 200;   // top-right pixel red
    SECDib image;
    ASSERT_TRUE(image.CreateFromBitmap(nullptr, &deep));
    EXPECT_EQ(image.m_nBitsPerPixel, 24);
    EXPECT_EQ(image.GetColor(2, 1).rgbRed, 200);
    EXPECT_EQ(image.GetColor(1, 1).rgbRed, 0);

    CBitmap hi;
    ASSERT_TRUE(hi.CreateDIB(1, 1, 16));
    hi.Row(0)[0] = 0x1F;            // 5-5-5 blue at full
    CDC dc;
    ASSERT_TRUE(image.CreateFromBitmap(&dc, &hi));
    EXPECT_EQ(image.GetColor(0, 0).rgbBlue, 255);

    CBitmap mapped;
    ASSERT_TRUE(mapped.CreateDIB(5, 1, 4));
    mapped.ColorTable()[3] = RGBQUAD{1, 2, 3, 0};
    mapped.Row(0)[2] = 0x30;        // pixel 4 uses entry 3
    ASSERT_TRUE(image.CreateFromBitmap(nullptr, &mapped));
    EXPECT_EQ(image.m_nBitsPerPixel, 4);
    EXPECT_TRUE(SameColor(image.GetColor(4, 0), RGBQUAD{1, 2, 3, 0}));

    CBitmap empty;
    EXPECT_FALSE(image.CreateFromBitmap(nullptr, &empty));
    EXPECT_FALSE(image.CreateFromBitmap(nullptr, nullptr));
    EXPECT_EQ(image.m_nWidth, 5u);
}

TEST(BmpArchive, SerializeWritesTheBmpFile) {
    SECDib image;
    MakePattern(image, 5, 3, 4);
    const std::string saved = Scratch("saved.bmp"), archived = Scratch("archived.bin");
    {
        CFile file(saved.c_str(), CFile::modeCreate | CFile::modeWrite);
        ASSERT_TRUE(image.SaveToFile(&file));
    }
    {
        CFile file(archived.c_str(), CFile::modeCreate | CFile::modeWrite);
        CArchive ar(&file, CArchive::store);
        image.Serialize(ar);
        ar << static_cast<LONG>(77);    // what follows stays readable
        ar.Close();
    }
    auto bytes = ReadFile(archived);
    ASSERT_EQ(bytes.size(), ReadFile(saved).size() + 4);
    bytes.resize(bytes.size() - 4);
    EXPECT_EQ(bytes, ReadFile(saved));

    CFile file(archived.c_str(), CFile::modeRead);
    CArchive ar(&file, CArchive::load);
    SECDib back;
    back.Serialize(ar);
    LONG tail = 0;
    ar >> tail;
    EXPECT_EQ(tail, 77);
    EXPECT_EQ(back.m_Bits, image.m_Bits);
    EXPECT_TRUE(SamePicture(back, image));
}

TEST(BmpArchive, RefusedArchiveThrowsAndKeepsThePicture) {
    BmpFile f;
    f.bits = 24;
    f.compression = 1;
    f.pixels.assign(16, 0);
    const std::string path = Scratch("refused.bin");
    WriteFile(path, f.Bytes());
    SECDib image;
    MakePattern(image, 3, 2, 8);
    const Snapshot before(image);
    CFile file(path.c_str(), CFile::modeRead);
    CArchive ar(&file, CArchive::load);
    EXPECT_THROW(image.Serialize(ar), CArchiveException);
    EXPECT_TRUE(Snapshot(image) == before);
}

TEST(BmpArchive, LoadFromAnOpenFile) {
    SECDib image;
    MakePattern(image, 6, 2, 24);
    const std::string path = Scratch("open.bmp");
    ASSERT_TRUE(image.SaveToPath(path.c_str()));
    CFile file(path.c_str(), CFile::modeRead);
    std::unique_ptr<SECImage> loaded(LoadImageFromFile(&file));
    ASSERT_NE(loaded, nullptr);
    EXPECT_TRUE(loaded->IsKindOf(RUNTIME_CLASS(SECDib)));
    EXPECT_TRUE(SamePicture(*loaded, image));
    file.SeekToBegin();
    SECDib again;
    ASSERT_TRUE(again.LoadFromFile(&file));
    EXPECT_TRUE(SamePicture(again, image));
}
