// Pixel formats of OpenGL drawables and the 3-3-2 palette of 8-bit
// displays. A drawable offers a numbered list of format descriptors; the
// scoring chooser here picks the best of them for a wanted descriptor, and
// the palette helpers build the colour table a palette-based format needs.
// Everything here works on descriptor lists and plain tables, so it is
// checked without any OpenGL context.
#pragma once

#include <utility>
#include <vector>

#include "platform/afx/types.h"

// Flag bits of a pixel-format descriptor.
constexpr DWORD PFD_DOUBLEBUFFER = 0x00000001;
constexpr DWORD PFD_STEREO = 0x00000002;
constexpr DWORD PFD_DRAW_TO_WINDOW = 0x00000004;
constexpr DWORD PFD_DRAW_TO_BITMAP = 0x00000008;
constexpr DWORD PFD_SUPPORT_GDI = 0x00000010;
constexpr DWORD PFD_SUPPORT_OPENGL = 0x00000020;
constexpr DWORD PFD_GENERIC_FORMAT = 0x00000040;
constexpr DWORD PFD_NEED_PALETTE = 0x00000080;
constexpr DWORD PFD_NEED_SYSTEM_PALETTE = 0x00000100;
constexpr DWORD PFD_SWAP_EXCHANGE = 0x00000200;
constexpr DWORD PFD_SWAP_COPY = 0x00000400;
constexpr DWORD PFD_SWAP_LAYER_BUFFERS = 0x00000800;
constexpr DWORD PFD_GENERIC_ACCELERATED = 0x00001000;
constexpr DWORD PFD_SUPPORT_DIRECTDRAW = 0x00002000;
constexpr DWORD PFD_DOUBLEBUFFER_DONTCARE = 0x40000000;
constexpr DWORD PFD_STEREO_DONTCARE = 0x80000000;

constexpr BYTE PFD_TYPE_RGBA = 0;
constexpr BYTE PFD_TYPE_COLORINDEX = 1;
constexpr BYTE PFD_MAIN_PLANE = 0;

// One pixel format: its flags, pixel type and the bit counts and shifts
// of its buffers (40 bytes, version 1).
struct PIXELFORMATDESCRIPTOR {
    WORD nSize = sizeof(PIXELFORMATDESCRIPTOR);
    WORD nVersion = 1;
    DWORD dwFlags = 0;
    BYTE iPixelType = PFD_TYPE_RGBA;
    BYTE cColorBits = 0;
    BYTE cRedBits = 0;
    BYTE cRedShift = 0;
    BYTE cGreenBits = 0;
    BYTE cGreenShift = 0;
    BYTE cBlueBits = 0;
    BYTE cBlueShift = 0;
    BYTE cAlphaBits = 0;
    BYTE cAlphaShift = 0;
    BYTE cAccumBits = 0;
    BYTE cAccumRedBits = 0;
    BYTE cAccumGreenBits = 0;
    BYTE cAccumBlueBits = 0;
    BYTE cAccumAlphaBits = 0;
    BYTE cDepthBits = 0;
    BYTE cStencilBits = 0;
    BYTE cAuxBuffers = 0;
    BYTE iLayerType = PFD_MAIN_PLANE;
    BYTE bReserved = 0;
    DWORD dwLayerMask = 0;
    DWORD dwVisibleMask = 0;
    DWORD dwDamageMask = 0;
};
static_assert(sizeof(PIXELFORMATDESCRIPTOR) == 40, "a descriptor is 40 bytes");

// One entry of a logical palette.
struct PALETTEENTRY {
    BYTE peRed = 0;
    BYTE peGreen = 0;
    BYTE peBlue = 0;
    BYTE peFlags = 0;
};

// A logical palette: its entries once created, none before.
class CPalette {
public:
    bool IsCreated() const { return !m_entries.empty(); }
    void Create(std::vector<PALETTEENTRY> entries) { m_entries = std::move(entries); }
    const std::vector<PALETTEENTRY>& Entries() const { return m_entries; }

private:
    std::vector<PALETTEENTRY> m_entries;
};

// The drawable whose pixel format is chosen: its numbered formats (from 1)
// and the one set on it.
class IPixelFormatDevice {
public:
    virtual ~IPixelFormatDevice() = default;
    // Fills *pfd with format iFormat and returns the number of formats, or
    // 0 when iFormat does not exist (or pfd is null).
    virtual int DescribePixelFormat(int iFormat, PIXELFORMATDESCRIPTOR* pfd) const = 0;
    // The format set on the drawable, 0 before one is set.
    virtual int GetPixelFormat() const = 0;
    virtual bool SetPixelFormat(int iFormat, const PIXELFORMATDESCRIPTOR& pfd) = 0;
    // Colour planes times bits per pixel of the display.
    virtual int DisplayBits() const = 0;
    // Selects a palette into the drawable and returns the one selected
    // before (null for none).
    virtual CPalette* SelectPalette(CPalette* palette) = 0;
    // The system's chooser: the first format that passes the flag tests of
    // wanted, else format 1.
    virtual int SystemChoosePixelFormat(const PIXELFORMATDESCRIPTOR& wanted) const;
};

class COGLInitializer {
public:
    // Intensities of a colour component of 1, 2 and 3 bits.
    static const BYTE oneto8[2];
    static const BYTE twoto8[4];
    static const BYTE threeto8[8];
    // Palette indices of a 3-3-2 palette that take the system's colours,
    // and those colours (red, green, blue).
    static const int defaultOverride[12];
    static const PALETTEENTRY defaultPalEntry[12];

    // The descriptor asked for when the caller gives none: draw to window,
    // OpenGL, double buffer, stereo don't-care, RGBA. Its colour bits
    // (the display's) and 32 depth bits are filled by the first
    // SetupPixelFormat of the process.
    static PIXELFORMATDESCRIPTOR DefaultDescriptor();

    // Sets a pixel format on the device: the one the scoring chooser (or,
    // with useSystemChooser, the system's) picks for wanted (the default
    // descriptor when null). Without useAccel only unaccelerated generic
    // formats qualify. When no format is found, the first double-buffered
    // one (when double buffering is asked for) or format 1. False when the
    // chosen format cannot be described or set.
    static bool SetupPixelFormat(IPixelFormatDevice& device, bool useSystemChooser, bool useAccel,
                                 const PIXELFORMATDESCRIPTOR* wanted);
    // The scoring chooser: the format with the lowest score among those
    // that pass the flag tests of wanted and have none of excludedFlags;
    // the lower number on ties. 0 for a descriptor of the wrong size or
    // version; the system chooser's answer when no format qualifies.
    static int ChoosePixelFormat(const IPixelFormatDevice& device, const PIXELFORMATDESCRIPTOR* wanted,
                                 DWORD excludedFlags);
    // The score of candidate for wanted (lower is better); exposed so that
    // each term can be checked.
    static int ScorePixelFormat(const PIXELFORMATDESCRIPTOR& wanted, DWORD excludedFlags,
                                const PIXELFORMATDESCRIPTOR& candidate);
    // Whether candidate has every flag wanted asks for and none excluded.
    static bool PassesFlags(const PIXELFORMATDESCRIPTOR& wanted, DWORD excludedFlags,
                            const PIXELFORMATDESCRIPTOR& candidate);

    // Builds the palette of a palette-based format on first use and selects
    // it (keeping the palette selected before in oldPalette). A format that
    // needs no palette gets none: true, nothing selected.
    static bool CreateRGBPalette(IPixelFormatDevice& device, CPalette& palette, CPalette*& oldPalette);
    // The entries of the palette of a format: 2^colourBits entries from
    // the component bit counts and shifts, with the system colours in the
    // twelve override slots of a 3-3-2 format.
    static std::vector<PALETTEENTRY> RGBPaletteEntries(const PIXELFORMATDESCRIPTOR& pfd);
    // The intensity of one component of palette index index; 0 for a
    // width other than 1, 2 or 3 bits.
    static unsigned char ComponentFromIndex(int index, UINT bits, UINT shift);

    // Forgets that the default descriptor was completed (tests only).
    static void ResetForTesting();

    int m_iUnused = 0;
};
