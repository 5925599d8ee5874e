// Helpers of the image tests: pictures made in memory, scratch files and
// comparison by colour.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

#include <gtest/gtest.h>

#include "glview/lumetra.h"

namespace imgtest {

// A scratch folder per test program, removed at exit.
inline std::filesystem::path ScratchDir() {
    static const std::filesystem::path dir = [] {
        auto d = std::filesystem::temp_directory_path() /
                 ("lumetra_test_" + std::to_string(::getpid()));
        std::filesystem::create_directories(d);
        static struct Cleanup {
            std::filesystem::path p;
            ~Cleanup() { std::error_code ec; std::filesystem::remove_all(p, ec); }
        } cleanup{d};
        return d;
    }();
    return dir;
}

inline std::string Scratch(const std::string& name) { return (ScratchDir() / name).string(); }

inline std::vector<std::uint8_t> ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// A picture with a recognisable pattern: indexed depths get a table of
// distinct colours and index (x + 3y) mod entries; 24 bits a colour per pixel.
inline void MakePattern(SECImage& image, unsigned width, unsigned height, int bits) {
    ASSERT_TRUE(image.CreateImage(width, height, bits));
    for (std::size_t i = 0; i < image.m_Colors.size(); ++i)
        image.m_Colors[i] = RGBQUAD{static_cast<std::uint8_t>(i * 37), static_cast<std::uint8_t>(255 - i),
                                    static_cast<std::uint8_t>(i * 11 + 5), 0};
    for (unsigned y = 0; y < height; ++y)
        for (unsigned x = 0; x < width; ++x) {
            if (bits == 24) {
                std::uint8_t* p = image.Row(y) + 3 * x;
                p[0] = static_cast<std::uint8_t>(x * 7);
                p[1] = static_cast<std::uint8_t>(y * 13);
                p[2] = static_cast<std::uint8_t>(x * y + 1);
            } else {
                image.SetIndex(image.Row(y), x, (x + 3 * y) % image.m_Colors.size());
            }
        }
}

inline bool SameColor(const RGBQUAD& a, const RGBQUAD& b) {
    return a.rgbRed == b.rgbRed && a.rgbGreen == b.rgbGreen && a.rgbBlue == b.rgbBlue;
}

// Same size and the same colour at every pixel.
inline ::testing::AssertionResult SamePicture(const SECImage& a, const SECImage& b) {
    if (a.m_nWidth != b.m_nWidth || a.m_nHeight != b.m_nHeight)
        return ::testing::AssertionFailure() << "size " << a.m_nWidth << "x" << a.m_nHeight << " vs "
                                             << b.m_nWidth << "x" << b.m_nHeight;
    for (unsigned y = 0; y < a.m_nHeight; ++y)
        for (unsigned x = 0; x < a.m_nWidth; ++x)
            if (!SameColor(a.GetColor(x, y), b.GetColor(x, y)))
                return ::testing::AssertionFailure() << "pixel (" << x << ", " << y << ") differs";
    return ::testing::AssertionSuccess();
}

// Bytes an image saves to through its format writer.
inline std::vector<std::uint8_t> SaveBytes(SECImage& image) {
    MemoryStream out;
    EXPECT_TRUE(image.SaveToStream(out));
    return out.Data();
}

// Pixels and state that saving must leave alone.
struct Snapshot {
    std::vector<std::uint8_t> bits;
    bool padded;
    unsigned width, height;
    explicit Snapshot(const SECImage& i) : bits(i.m_Bits), padded(i.m_bPadded), width(i.m_nWidth), height(i.m_nHeight) {}
    bool operator==(const Snapshot&) const = default;
};

} // namespace imgtest
