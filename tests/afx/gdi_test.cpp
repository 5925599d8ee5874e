#include <vector>

#include <gtest/gtest.h>

#include "platform/afx/afx.h"

TEST(MemoryBitmap, CreateAndDescribe) {
    CBitmap bitmap;
    for (int bits : {0, 2, 15, 64})
        EXPECT_FALSE(bitmap.CreateDIB(4, 4, bits)) << bits;
    EXPECT_FALSE(bitmap.CreateDIB(0, 4, 24));
    EXPECT_FALSE(bitmap.CreateDIB(100000, 100000, 32));
    BITMAP bm{};
    EXPECT_EQ(bitmap.GetObject(sizeof bm, &bm), 0);

    ASSERT_TRUE(bitmap.CreateDIB(5, 3, 4));
    ASSERT_EQ(bitmap.GetObject(sizeof bm, &bm), static_cast<int>(sizeof bm));
    EXPECT_EQ(bm.bmWidth, 5);
    EXPECT_EQ(bm.bmHeight, 3);
    EXPECT_EQ(bm.bmWidthBytes, 4);      // 20 bits padded to a word
    EXPECT_EQ(bm.bmBitsPixel, 4);
    EXPECT_EQ(bitmap.ColorTable().size(), 16u);
}

TEST(MemoryBitmap, CopyOutKeepsOrWidensTheDepth) {
    std::vector<std::uint8_t> info(sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD));
    auto* bmi = reinterpret_cast<BITMAPINFO*>(info.data());

    CBitmap mapped;
    ASSERT_TRUE(mapped.CreateDIB(3, 2, 8));
    mapped.ColorTable()[9] = RGBQUAD{1, 2, 3, 0};
    mapped.Row(1)[2] = 9;
    bmi->bmiHeader.biBitCount = 8;
    std::vector<std::uint8_t> pixels(8);
    ASSERT_EQ(mapped.GetDIBits(nullptr, 0, 2, pixels.data(), bmi, DIB_RGB_COLORS), 2);
    EXPECT_EQ(pixels[4 + 2], 9);
    EXPECT_EQ(bmi->bmiHeader.biSizeImage, 8u);
    const auto* table = reinterpret_cast<const RGBQUAD*>(info.data() + sizeof(BITMAPINFOHEADER));
    EXPECT_EQ(table[9].rgbRed, 3);
    bmi->bmiHeader.biBitCount = 24;
    EXPECT_EQ(mapped.GetDIBits(nullptr, 0, 2, pixels.data(), bmi, DIB_RGB_COLORS), 0);

    CBitmap high;
    ASSERT_TRUE(high.CreateDIB(2, 1, 16));
    high.Row(0)[2] = 0x00;
    high.Row(0)[3] = 0x7C;              // pixel 1: red at full
    CBitmap deep;
    ASSERT_TRUE(deep.CreateDIB(2, 1, 32));
    deep.Row(0)[4 + 2] = 0xFF;
    deep.Row(0)[4 + 3] = 0x80;          // alpha is dropped
    for (CBitmap* b : {&high, &deep}) {
        bmi->bmiHeader.biBitCount = 24;
        std::vector<std::uint8_t> rgb(8, 0xAA);
        ASSERT_EQ(b->GetDIBits(nullptr, 0, 1, rgb.data(), bmi, DIB_RGB_COLORS), 1);
        EXPECT_EQ(rgb, (std::vector<std::uint8_t>{0, 0, 0, 0, 0, 0xFF, 0, 0}));
    }
}
