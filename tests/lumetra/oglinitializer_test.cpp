// The pixel-format chooser, its fallbacks and the 3-3-2 palette, on
// synthetic descriptor lists (no OpenGL context needed).
#include <gtest/gtest.h>

#include <vector>

#include "glview/lumetra.h"

namespace {

// A drawable with a fixed list of formats that records what the choosers
// were asked.
class FakeDevice : public IPixelFormatDevice {
public:
    explicit FakeDevice(std::vector<PIXELFORMATDESCRIPTOR> formats, int displayBits = 32)
        : m_formats(std::move(formats)), m_displayBits(displayBits)
    {
    }

    int DescribePixelFormat(int iFormat, PIXELFORMATDESCRIPTOR* pfd) const override
    {
        if (pfd == nullptr || iFormat < 1 || iFormat > static_cast<int>(m_formats.size()))
            return 0;
        *pfd = m_formats[iFormat - 1];
        return static_cast<int>(m_formats.size());
    }
    int GetPixelFormat() const override { return m_set; }
    bool SetPixelFormat(int iFormat, const PIXELFORMATDESCRIPTOR&) override
    {
        if (m_refuse)
            return false;
        m_set = iFormat;
        return true;
    }
    int DisplayBits() const override { return m_displayBits; }
    CPalette* SelectPalette(CPalette* palette) override
    {
        ++selections;
        return std::exchange(m_selected, palette);
    }
    int SystemChoosePixelFormat(const PIXELFORMATDESCRIPTOR& wanted) const override
    {
        systemAsked.push_back(wanted);
        return IPixelFormatDevice::SystemChoosePixelFormat(wanted);
    }

    mutable std::vector<PIXELFORMATDESCRIPTOR> systemAsked;
    int selections = 0;
    bool m_refuse = false;

private:
    std::vector<PIXELFORMATDESCRIPTOR> m_formats;
    int m_displayBits;
    int m_set = 0;
    CPalette* m_selected = nullptr;
};

constexpr DWORD kWindowGL = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL;
constexpr DWORD kICD = kWindowGL;
constexpr DWORD kMCD = kWindowGL | PFD_GENERIC_FORMAT | PFD_GENERIC_ACCELERATED;
constexpr DWORD kSoftware = kWindowGL | PFD_GENERIC_FORMAT;

PIXELFORMATDESCRIPTOR Format(DWORD flags, BYTE colour = 32, BYTE depth = 24, BYTE stencil = 8)
{
    PIXELFORMATDESCRIPTOR pfd;
    pfd.dwFlags = flags;
    pfd.cColorBits = colour;
    pfd.cDepthBits = depth;
    pfd.cStencilBits = stencil;
    return pfd;
}

class PixelFormat : public ::testing::Test {
protected:
    void SetUp() override { COGLInitializer::ResetForTesting(); }
    void TearDown() override { COGLInitializer::ResetForTesting(); }
};

TEST_F(PixelFormat, EachScoreTermHasItsBitsAndPosition)
{
    PIXELFORMATDESCRIPTOR wanted = Format(kICD, 24, 16, 8);
    wanted.cAlphaBits = 4;
    wanted.cAccumBits = 16;
    wanted.cAuxBuffers = 2;
    struct Case {
        const char* what;
        void (*change)(PIXELFORMATDESCRIPTOR&);
        int score;
    };
    const Case cases[] = {
        {"same", [](PIXELFORMATDESCRIPTOR&) {}, 0},
        {"pixel type", [](PIXELFORMATDESCRIPTOR& p) { p.iPixelType = PFD_TYPE_COLORINDEX; }, 0x40000000},
        {"more colour", [](PIXELFORMATDESCRIPTOR& p) { p.cColorBits = 32; }, 0},               // (32 - 32) << 23
        {"less colour", [](PIXELFORMATDESCRIPTOR& p) { p.cColorBits = 16; }, 15 << 23},        // (31 - 16) << 23
        {"more depth", [](PIXELFORMATDESCRIPTOR& p) { p.cDepthBits = 24; }, 8 << 13},          // (32 - 24) << 13
        {"less depth", [](PIXELFORMATDESCRIPTOR& p) { p.cDepthBits = 0; }, 31 << 13},          // (31 - 0) << 13
        {"more stencil", [](PIXELFORMATDESCRIPTOR& p) { p.cStencilBits = 16; }, 16 << 18},
        {"less stencil", [](PIXELFORMATDESCRIPTOR& p) { p.cStencilBits = 0; }, 31 << 18},
        {"more alpha", [](PIXELFORMATDESCRIPTOR& p) { p.cAlphaBits = 8; }, 0 << 10},
        {"less alpha", [](PIXELFORMATDESCRIPTOR& p) { p.cAlphaBits = 1; }, 6 << 10},
        {"more accumulation", [](PIXELFORMATDESCRIPTOR& p) { p.cAccumBits = 32; }, 32 << 4},
        {"less accumulation", [](PIXELFORMATDESCRIPTOR& p) { p.cAccumBits = 0; }, 63 << 4},
        {"more aux", [](PIXELFORMATDESCRIPTOR& p) { p.cAuxBuffers = 4; }, 4 << 1},
        {"less aux", [](PIXELFORMATDESCRIPTOR& p) { p.cAuxBuffers = 0; }, 7 << 1},
        {"layer", [](PIXELFORMATDESCRIPTOR& p) { p.iLayerType = 1; }, 0x1},
    };
    for (const Case& c : cases) {
        PIXELFORMATDESCRIPTOR candidate = wanted;
        c.change(candidate);
        EXPECT_EQ(COGLInitializer::ScorePixelFormat(wanted, 0, candidate), c.score) << c.what;
    }
    // Terms are OR-ed together.
    PIXELFORMATDESCRIPTOR both = wanted;
    both.iLayerType = 1;
    both.cDepthBits = 24;
    EXPECT_EQ(COGLInitializer::ScorePixelFormat(wanted, 0, both), (8 << 13) | 1);
}

TEST_F(PixelFormat, ImplementationOrderFollowsWhatIsWanted)
{
    struct Case {
        const char* what;
        DWORD wantedFlags;
        DWORD excluded;
        int icd, mcd, software;
    };
    const Case cases[] = {
        {"not generic", kWindowGL, 0, 0, 0x10000000, 0x20000000},
        {"generic, accelerated excluded", kWindowGL | PFD_GENERIC_FORMAT, PFD_GENERIC_ACCELERATED, 0x20000000,
         0x10000000, 0},
        {"generic, nothing excluded", kWindowGL | PFD_GENERIC_FORMAT, 0, 0x20000000, 0, 0x10000000},
    };
    for (const Case& c : cases) {
        const PIXELFORMATDESCRIPTOR wanted = Format(c.wantedFlags);
        EXPECT_EQ(COGLInitializer::ScorePixelFormat(wanted, c.excluded, Format(kICD)), c.icd) << c.what;
        EXPECT_EQ(COGLInitializer::ScorePixelFormat(wanted, c.excluded, Format(kMCD)), c.mcd) << c.what;
        EXPECT_EQ(COGLInitializer::ScorePixelFormat(wanted, c.excluded, Format(kSoftware)), c.software) << c.what;
    }
    // Each case picks its first class from one list holding all three.
    FakeDevice device({Format(kSoftware), Format(kMCD), Format(kICD)});
    const PIXELFORMATDESCRIPTOR icdWanted = Format(kWindowGL);
    const PIXELFORMATDESCRIPTOR genericWanted = Format(kWindowGL | PFD_GENERIC_FORMAT);
    EXPECT_EQ(COGLInitializer::ChoosePixelFormat(device, &icdWanted, 0), 3);
    EXPECT_EQ(COGLInitializer::ChoosePixelFormat(device, &genericWanted, PFD_GENERIC_ACCELERATED), 1);
    EXPECT_EQ(COGLInitializer::ChoosePixelFormat(device, &genericWanted, 0), 2);
}

TEST_F(PixelFormat, HardFlagsTiesAndBadDescriptors)
{
    // Format 1 lacks double buffering, 2 and 3 score the same: 2 wins.
    FakeDevice device({Format(kICD), Format(kICD | PFD_DOUBLEBUFFER), Format(kICD | PFD_DOUBLEBUFFER)});
    PIXELFORMATDESCRIPTOR wanted = Format(kWindowGL | PFD_DOUBLEBUFFER);
    EXPECT_EQ(COGLInitializer::ChoosePixelFormat(device, &wanted, 0), 2);
    // An excluded flag skips a candidate; don't-care lets format 1 in.
    // Nothing qualifies: the system chooser, which knows no exclusions,
    // answers with the first double-buffered format.
    EXPECT_EQ(COGLInitializer::ChoosePixelFormat(device, &wanted, PFD_DOUBLEBUFFER), 2);
    wanted.dwFlags |= PFD_DOUBLEBUFFER_DONTCARE;
    EXPECT_EQ(COGLInitializer::ChoosePixelFormat(device, &wanted, 0), 1);

    PIXELFORMATDESCRIPTOR badSize = Format(kWindowGL);
    badSize.nSize = 39;
    PIXELFORMATDESCRIPTOR badVersion = Format(kWindowGL);
    badVersion.nVersion = 2;
    device.systemAsked.clear();
    EXPECT_EQ(COGLInitializer::ChoosePixelFormat(device, &badSize, 0), 0);
    EXPECT_EQ(COGLInitializer::ChoosePixelFormat(device, &badVersion, 0), 0);
    EXPECT_TRUE(device.systemAsked.empty());
}

TEST_F(PixelFormat, SoftwareOnlyWithoutAccelerationFallsBackToTheSystemChooser)
{
    // Only accelerated double-buffered formats: without bUseAccel the own
    // chooser finds nothing and asks the system chooser, which excludes
    // nothing and takes the first generic double-buffered format.
    FakeDevice device({Format(kSoftware), Format(kICD | PFD_DOUBLEBUFFER), Format(kMCD | PFD_DOUBLEBUFFER)},
                      24);
    ASSERT_TRUE(COGLInitializer::SetupPixelFormat(device, false, false, nullptr));
    ASSERT_EQ(device.systemAsked.size(), 1u);
    // The default descriptor was completed from the display and asked for
    // the generic format.
    const PIXELFORMATDESCRIPTOR& asked = device.systemAsked[0];
    EXPECT_EQ(asked.cColorBits, 24);
    EXPECT_EQ(asked.cDepthBits, 32);
    EXPECT_EQ(asked.dwFlags, PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER | PFD_STEREO_DONTCARE |
                                 PFD_GENERIC_FORMAT);
    EXPECT_EQ(device.GetPixelFormat(), 3);

    // With acceleration the own chooser takes the ICD format.
    FakeDevice accelerated({Format(kSoftware), Format(kICD | PFD_DOUBLEBUFFER), Format(kMCD | PFD_DOUBLEBUFFER)});
    ASSERT_TRUE(COGLInitializer::SetupPixelFormat(accelerated, false, true, nullptr));
    EXPECT_TRUE(accelerated.systemAsked.empty());
    EXPECT_EQ(accelerated.GetPixelFormat(), 2);
}

TEST_F(PixelFormat, SetupFallbacksAndRefusal)
{
    // A descriptor the chooser rejects (size 0): the first double-buffered
    // format when double buffering is wanted, else format 1.
    FakeDevice device({Format(kSoftware), Format(kSoftware | PFD_DOUBLEBUFFER)});
    PIXELFORMATDESCRIPTOR wanted = Format(kWindowGL | PFD_DOUBLEBUFFER);
    wanted.nSize = 0;
    ASSERT_TRUE(COGLInitializer::SetupPixelFormat(device, false, true, &wanted));
    EXPECT_EQ(device.GetPixelFormat(), 2);
    wanted.dwFlags &= ~PFD_DOUBLEBUFFER;
    ASSERT_TRUE(COGLInitializer::SetupPixelFormat(device, false, true, &wanted));
    EXPECT_EQ(device.GetPixelFormat(), 1);

    device.m_refuse = true;
    EXPECT_FALSE(COGLInitializer::SetupPixelFormat(device, true, true, nullptr));
    FakeDevice empty({});
    EXPECT_FALSE(COGLInitializer::SetupPixelFormat(empty, false, false, nullptr));
}

TEST(Palette, ComponentFromIndex)
{
    struct Case {
        int index;
        UINT bits, shift;
        int value;
    };
    const Case cases[] = {
        {0, 1, 0, 0},   {1, 1, 0, 255},  {2, 1, 1, 255},   {2, 2, 0, 170}, {0xC0, 2, 6, 255},
        {5, 3, 0, 182}, {0x38, 3, 3, 255}, {0x18, 3, 3, 109}, {7, 0, 0, 0},  {0xFF, 4, 0, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(COGLInitializer::ComponentFromIndex(c.index, c.bits, c.shift), c.value)
            << c.index << " " << c.bits << " " << c.shift;
}

TEST(Palette, ThreeThreeTwoEntriesWithTheSystemColours)
{
    PIXELFORMATDESCRIPTOR pfd = Format(kSoftware | PFD_NEED_PALETTE, 8);
    pfd.cRedBits = 3;
    pfd.cGreenBits = 3;
    pfd.cGreenShift = 3;
    pfd.cBlueBits = 2;
    pfd.cBlueShift = 6;
    const std::vector<PALETTEENTRY> entries = COGLInitializer::RGBPaletteEntries(pfd);
    ASSERT_EQ(entries.size(), 256u);
    // An ordinary entry: index 0b10'101'110 = red 6, green 5, blue 2.
    EXPECT_EQ(entries[0xAE].peRed, 219);
    EXPECT_EQ(entries[0xAE].peGreen, 182);
    EXPECT_EQ(entries[0xAE].peBlue, 170);
    EXPECT_EQ(entries[255].peRed, 255);
    // The twelve overrides.
    for (int k = 0; k < 12; ++k) {
        const PALETTEENTRY& e = entries[COGLInitializer::defaultOverride[k]];
        EXPECT_EQ(e.peRed, COGLInitializer::defaultPalEntry[k].peRed) << k;
        EXPECT_EQ(e.peGreen, COGLInitializer::defaultPalEntry[k].peGreen) << k;
        EXPECT_EQ(e.peBlue, COGLInitializer::defaultPalEntry[k].peBlue) << k;
    }
    EXPECT_EQ(entries[173].peRed, 192);
    EXPECT_EQ(entries[181].peGreen, 220);

    // Another 8-bit layout keeps the computed colours.
    pfd.cRedShift = 5;
    pfd.cBlueShift = 0;
    const std::vector<PALETTEENTRY> other = COGLInitializer::RGBPaletteEntries(pfd);
    EXPECT_EQ(other[3].peRed, 0);
    EXPECT_EQ(other[3].peBlue, 255);
}

TEST(Palette, OnlyPaletteFormatsSelectOne)
{
    FakeDevice trueColour({Format(kICD)});
    ASSERT_TRUE(trueColour.SetPixelFormat(1, Format(kICD)));
    CPalette palette;
    CPalette* old = nullptr;
    EXPECT_TRUE(COGLInitializer::CreateRGBPalette(trueColour, palette, old));
    EXPECT_FALSE(palette.IsCreated());
    EXPECT_EQ(old, nullptr);
    EXPECT_EQ(trueColour.selections, 0);

    PIXELFORMATDESCRIPTOR indexed = Format(kICD | PFD_NEED_PALETTE, 8);
    indexed.cRedBits = 3;
    indexed.cGreenBits = 3;
    indexed.cGreenShift = 3;
    indexed.cBlueBits = 2;
    indexed.cBlueShift = 6;
    FakeDevice eightBit({indexed});
    ASSERT_TRUE(eightBit.SetPixelFormat(1, indexed));
    EXPECT_TRUE(COGLInitializer::CreateRGBPalette(eightBit, palette, old));
    EXPECT_EQ(palette.Entries().size(), 256u);
    EXPECT_EQ(eightBit.selections, 1);
    EXPECT_EQ(eightBit.SelectPalette(nullptr), &palette);
}

} // namespace
