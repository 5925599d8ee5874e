#include "glview/oglinitializer.h"

#include <utility>

const BYTE COGLInitializer::oneto8[2] = {0, 255};
const BYTE COGLInitializer::twoto8[4] = {0, 85, 170, 255};
const BYTE COGLInitializer::threeto8[8] = {0, 36, 73, 109, 146, 182, 219, 255};
const int COGLInitializer::defaultOverride[12] = {3, 24, 27, 64, 67, 88, 173, 181, 236, 247, 164, 91};
const PALETTEENTRY COGLInitializer::defaultPalEntry[12] = {
    {128, 0, 0, 0},     {0, 128, 0, 0},     {128, 128, 0, 0},   {0, 0, 128, 0},
    {128, 0, 128, 0},   {0, 128, 128, 0},   {192, 192, 192, 0}, {192, 220, 192, 0},
    {166, 202, 240, 0}, {255, 251, 240, 0}, {160, 160, 164, 0}, {128, 128, 128, 0},
};

namespace {

// The default descriptor; completed from the display at the first
// SetupPixelFormat of the process.
PIXELFORMATDESCRIPTOR s_defaultPfd = COGLInitializer::DefaultDescriptor();
bool s_defaultCompleted = false;

// The flag bits the chooser holds candidates to.
constexpr DWORD kHardFlags[] = {
    PFD_DOUBLEBUFFER,      PFD_STEREO,         PFD_DRAW_TO_WINDOW,     PFD_DRAW_TO_BITMAP,
    PFD_SUPPORT_GDI,       PFD_SUPPORT_OPENGL, PFD_GENERIC_FORMAT,     PFD_NEED_PALETTE,
    PFD_NEED_SYSTEM_PALETTE, PFD_SWAP_EXCHANGE, PFD_SWAP_COPY,         PFD_SWAP_LAYER_BUFFERS,
    PFD_GENERIC_ACCELERATED, PFD_SUPPORT_DIRECTDRAW,
};

// The score term of one bit count: how far the candidate's count c lies
// from the wanted count w, weighted by its position.
int BitsTerm(int w, int c, int base, int position)
{
    if (w < c)
        return static_cast<int>(static_cast<unsigned>(base - c) << position);
    if (w > c)
        return static_cast<int>(static_cast<unsigned>(base - 1 - c) << position);
    return 0;
}

} // namespace

int IPixelFormatDevice::SystemChoosePixelFormat(const PIXELFORMATDESCRIPTOR& wanted) const
{
    PIXELFORMATDESCRIPTOR candidate;
    for (int i = 1; DescribePixelFormat(i, &candidate) != 0; ++i)
        if (COGLInitializer::PassesFlags(wanted, 0, candidate))
            return i;
    return 1;
}

PIXELFORMATDESCRIPTOR COGLInitializer::DefaultDescriptor()
{
    PIXELFORMATDESCRIPTOR pfd;
    pfd.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER | PFD_STEREO_DONTCARE;
    pfd.iPixelType = PFD_TYPE_RGBA;
    return pfd;
}

void COGLInitializer::ResetForTesting()
{
    s_defaultPfd = DefaultDescriptor();
    s_defaultCompleted = false;
}

bool COGLInitializer::PassesFlags(const PIXELFORMATDESCRIPTOR& wanted, DWORD excludedFlags,
                                  const PIXELFORMATDESCRIPTOR& candidate)
{
    for (DWORD flag : kHardFlags) {
        if (flag == PFD_DOUBLEBUFFER && (wanted.dwFlags & PFD_DOUBLEBUFFER_DONTCARE))
            continue;
        if (flag == PFD_STEREO && (wanted.dwFlags & PFD_STEREO_DONTCARE))
            continue;
        if ((wanted.dwFlags & flag) && !(candidate.dwFlags & flag))
            return false;
        if ((excludedFlags & flag) && (candidate.dwFlags & flag))
            return false;
    }
    return true;
}

int COGLInitializer::ScorePixelFormat(const PIXELFORMATDESCRIPTOR& wanted, DWORD excludedFlags,
                                      const PIXELFORMATDESCRIPTOR& candidate)
{
    int score = 0;
    if (candidate.iPixelType != wanted.iPixelType)
        score |= 0x40000000;

    // Implementation class: a driver of its own (ICD), an accelerated
    // generic one (MCD) or the software one; the order depends on what the
    // caller asked for.
    const bool generic = (candidate.dwFlags & PFD_GENERIC_FORMAT) != 0;
    const bool accelerated = (candidate.dwFlags & PFD_GENERIC_ACCELERATED) != 0;
    const bool icd = !generic;
    const bool mcd = generic && accelerated;
    const bool software = generic && !accelerated;
    if (!(wanted.dwFlags & PFD_GENERIC_FORMAT))
        score |= mcd ? 0x10000000 : software ? 0x20000000 : 0;
    else if (excludedFlags & PFD_GENERIC_ACCELERATED)
        score |= mcd ? 0x10000000 : icd ? 0x20000000 : 0;
    else
        score |= software ? 0x10000000 : icd ? 0x20000000 : 0;

    score |= BitsTerm(wanted.cColorBits, candidate.cColorBits, 32, 23);
    score |= BitsTerm(wanted.cDepthBits, candidate.cDepthBits, 32, 13);
    score |= BitsTerm(wanted.cStencilBits, candidate.cStencilBits, 32, 18);
    score |= BitsTerm(wanted.cAlphaBits, candidate.cAlphaBits, 8, 10);
    score |= BitsTerm(wanted.cAccumBits, candidate.cAccumBits, 64, 4);
    score |= BitsTerm(wanted.cAuxBuffers, candidate.cAuxBuffers, 8, 1);
    if (candidate.iLayerType != wanted.iLayerType)
        score |= 0x1;
    return score;
}

int COGLInitializer::ChoosePixelFormat(const IPixelFormatDevice& device, const PIXELFORMATDESCRIPTOR* wanted,
                                       DWORD excludedFlags)
{
    if (wanted == nullptr || wanted->nSize != sizeof(PIXELFORMATDESCRIPTOR) || wanted->nVersion != 1)
        return 0;
    int best = 0;
    int bestScore = 0;
    PIXELFORMATDESCRIPTOR candidate;
    for (int i = 1; device.DescribePixelFormat(i, &candidate) != 0; ++i) {
        if (!PassesFlags(*wanted, excludedFlags, candidate))
            continue;
        const int score = ScorePixelFormat(*wanted, excludedFlags, candidate);
        if (best == 0 || score < bestScore) {
            best = i;
            bestScore = score;
        }
    }
    return best != 0 ? best : device.SystemChoosePixelFormat(*wanted);
}

bool COGLInitializer::SetupPixelFormat(IPixelFormatDevice& device, bool useSystemChooser, bool useAccel,
                                       const PIXELFORMATDESCRIPTOR* wanted)
{
    if (!s_defaultCompleted) {
        PIXELFORMATDESCRIPTOR completed = DefaultDescriptor();
        completed.cColorBits = static_cast<BYTE>(device.DisplayBits());
        completed.cDepthBits = 32;
        s_defaultPfd = completed;
        s_defaultCompleted = true;
    }

    PIXELFORMATDESCRIPTOR pfd = wanted != nullptr ? *wanted : s_defaultPfd;
    DWORD excluded = 0;
    if (!useAccel) {
        // Only the unaccelerated generic implementation qualifies.
        pfd.dwFlags |= PFD_GENERIC_FORMAT;
        excluded = PFD_GENERIC_ACCELERATED;
    }

    int format = useSystemChooser ? device.SystemChoosePixelFormat(pfd) : ChoosePixelFormat(device, &pfd, excluded);
    if (format == 0) {
        format = 1;
        if (pfd.dwFlags & PFD_DOUBLEBUFFER) {
            PIXELFORMATDESCRIPTOR candidate;
            for (int i = 1; device.DescribePixelFormat(i, &candidate) != 0; ++i)
                if (candidate.dwFlags & PFD_DOUBLEBUFFER) {
                    format = i;
                    break;
                }
        }
    }
    if (device.DescribePixelFormat(format, &pfd) == 0)
        return false;
    return device.SetPixelFormat(format, pfd);
}

unsigned char COGLInitializer::ComponentFromIndex(int index, UINT bits, UINT shift)
{
    if (bits < 1 || bits > 3 || shift > 31)
        return 0;
    const unsigned value = (static_cast<unsigned>(index) >> shift) & ((1u << bits) - 1);
    switch (bits) {
    case 1:
        return oneto8[value];
    case 2:
        return twoto8[value];
    case 3:
        return threeto8[value];
    default:
        return 0;
    }
}

std::vector<PALETTEENTRY> COGLInitializer::RGBPaletteEntries(const PIXELFORMATDESCRIPTOR& pfd)
{
    // A palette has at most 2^16 entries; deeper formats never need one.
    if (pfd.cColorBits > 16)
        return {};
    std::vector<PALETTEENTRY> entries(std::size_t{1} << pfd.cColorBits);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const int index = static_cast<int>(i);
        entries[i].peRed = ComponentFromIndex(index, pfd.cRedBits, pfd.cRedShift);
        entries[i].peGreen = ComponentFromIndex(index, pfd.cGreenBits, pfd.cGreenShift);
        entries[i].peBlue = ComponentFromIndex(index, pfd.cBlueBits, pfd.cBlueShift);
        entries[i].peFlags = 0;
    }
    const bool rgb332 = pfd.cColorBits == 8 && pfd.cRedBits == 3 && pfd.cRedShift == 0 && pfd.cGreenBits == 3 &&
                        pfd.cGreenShift == 3 && pfd.cBlueBits == 2 && pfd.cBlueShift == 6;
    if (rgb332)
        for (int k = 0; k < 12; ++k)
            entries[defaultOverride[k]] = defaultPalEntry[k];
    return entries;
}

bool COGLInitializer::CreateRGBPalette(IPixelFormatDevice& device, CPalette& palette, CPalette*& oldPalette)
{
    if (!palette.IsCreated()) {
        PIXELFORMATDESCRIPTOR pfd;
        if (device.DescribePixelFormat(device.GetPixelFormat(), &pfd) == 0 || !(pfd.dwFlags & PFD_NEED_PALETTE))
            return true; // a true-colour format: no palette
        std::vector<PALETTEENTRY> entries = RGBPaletteEntries(pfd);
        if (entries.empty())
            return false;
        palette.Create(std::move(entries));
    }
    oldPalette = device.SelectPalette(&palette);
    return true;
}
