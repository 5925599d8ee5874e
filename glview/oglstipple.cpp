#include "glview/oglstipple.h"

#include <GL/gl.h>

#include <cstring>
#include <string>

IMPLEMENT_DYNAMIC(COGLPlgnStppl, CObject)

namespace {

std::uint32_t RotateRight(std::uint32_t v, int n)
{
    n &= 31;
    return n ? (v >> n) | (v << (32 - n)) : v;
}

std::uint32_t RotateLeft(std::uint32_t v, int n)
{
    n &= 31;
    return n ? (v << n) | (v >> (32 - n)) : v;
}

// The leftmost `width` pixels of a row (width clamped to 0..32).
std::uint32_t LeftBits(int width)
{
    if (width <= 0)
        return 0;
    if (width >= 32)
        return 0xFFFFFFFFu;
    return ~(0xFFFFFFFFu >> width);
}

constexpr std::uint32_t kFly[32] = {
    0x00000000, 0x038001C0, 0x06C00360, 0x04600620, 0x04300C20, 0x04181820, 0x040C3020,
    0x04066020, 0x4403C022, 0x44018022, 0x44018022, 0x44018022, 0x44018022, 0x44018022,
    0x44018022, 0x66018066, 0x330180CC, 0x19818198, 0x0CC18330, 0x07E187E0, 0x033FFCC0,
    0x03318CC0, 0x0333CCC0, 0x06642660, 0x0CCC3330, 0x18CC3318, 0x10C42308, 0x1063C608,
    0x10300C08, 0x10181808, 0x10000008, 0x00000000};

} // namespace

COGLPlgnStppl::COGLPlgnStppl()
{
    std::memset(m_Pattern, 0, sizeof m_Pattern);
}

std::uint32_t COGLPlgnStppl::GetRow(int r) const
{
    const std::uint8_t* p = m_Pattern + 4 * r;
    return std::uint32_t(p[0]) << 24 | std::uint32_t(p[1]) << 16 | std::uint32_t(p[2]) << 8 |
           std::uint32_t(p[3]);
}

void COGLPlgnStppl::SetRow(int r, std::uint32_t bits)
{
    std::uint8_t* p = m_Pattern + 4 * r;
    p[0] = static_cast<std::uint8_t>(bits >> 24);
    p[1] = static_cast<std::uint8_t>(bits >> 16);
    p[2] = static_cast<std::uint8_t>(bits >> 8);
    p[3] = static_cast<std::uint8_t>(bits);
}

void COGLPlgnStppl::SetActive() const
{
    glPolygonStipple(m_Pattern);
}

void COGLPlgnStppl::SetHalfTone()
{
    for (int r = 0; r < 32; ++r)
        SetRow(r, r % 2 ? 0x55555555u : 0xAAAAAAAAu);
}

void COGLPlgnStppl::SetDiagonal(int width)
{
    std::uint32_t row = RotateLeft(LeftBits(width), width > 0 ? width / 2 : 0);
    for (int r = 0; r < 32; ++r) {
        SetRow(r, row);
        row = RotateRight(row, 1);
    }
}

void COGLPlgnStppl::SetSolidBox(int width, int height)
{
    width = width < 0 ? 0 : width > 32 ? 32 : width;
    height = height < 0 ? 0 : height > 32 ? 32 : height;
    // The box starts at a byte boundary: byte (32 - width) / 16.
    const std::uint32_t bits = LeftBits(width) >> (8 * ((32 - width) / 16));
    const int below = (32 - height) / 2;
    for (int r = 0; r < 32; ++r)
        SetRow(r, r >= below && r < below + height ? bits : 0u);
}

void COGLPlgnStppl::SetFly()
{
    for (int r = 0; r < 32; ++r)
        SetRow(r, kFly[r]);
}

void COGLPlgnStppl::Invert()
{
    for (std::uint8_t& b : m_Pattern)
        b = static_cast<std::uint8_t>(~b);
}

void COGLPlgnStppl::FlipHoris()
{
    for (int r = 0; r < 32; ++r) {
        std::uint32_t v = GetRow(r), m = 0;
        for (int i = 0; i < 32; ++i, v >>= 1)
            m = (m << 1) | (v & 1u);
        SetRow(r, m);
    }
}

COGLPlgnStppl& COGLPlgnStppl::operator+=(const COGLPlgnStppl& other)
{
    for (int i = 0; i < 128; ++i)
        m_Pattern[i] |= other.m_Pattern[i];
    return *this;
}

COGLPlgnStppl& COGLPlgnStppl::operator-=(const COGLPlgnStppl& other)
{
    for (int i = 0; i < 128; ++i)
        m_Pattern[i] &= static_cast<std::uint8_t>(~other.m_Pattern[i]);
    return *this;
}

COGLPlgnStppl COGLPlgnStppl::operator>>(int n) const
{
    // n % 32 keeps the sign of n: a negative remainder turns left.
    const int k = n % 32;
    COGLPlgnStppl out(*this);
    for (int r = 0; r < 32; ++r)
        out.SetRow(r, k >= 0 ? RotateRight(GetRow(r), k) : RotateLeft(GetRow(r), -k));
    return out;
}

COGLPlgnStppl COGLPlgnStppl::operator<<(int n) const
{
    const int k = n % 32;
    COGLPlgnStppl out(*this);
    for (int r = 0; r < 32; ++r)
        out.SetRow(r, k >= 0 ? RotateLeft(GetRow(r), k) : RotateRight(GetRow(r), -k));
    return out;
}

bool COGLPlgnStppl::operator==(const COGLPlgnStppl& other) const
{
    return std::memcmp(m_Pattern, other.m_Pattern, sizeof m_Pattern) == 0;
}

void COGLPlgnStppl::PlotASCII(CFile* file, char clear, char set, int count) const
{
    if (!file)
        return;
    std::string text = "\r\n";
    for (int r = 0; r < 32; ++r) {
        std::string line(32, clear);
        const std::uint32_t v = GetRow(r);
        for (int i = 0; i < 32; ++i)
            if (v & (0x80000000u >> i))
                line[i] = set;
        for (int k = 0; k < count; ++k)
            text += line;
        text += "\r\n";
    }
    file->Write(text.data(), static_cast<UINT>(text.size()));
}

void DrawLineStipples(double a[3], double b[3], double offset[3])
{
    static constexpr GLushort kPatterns[26] = {
        0x0001, 0x0003, 0x0007, 0x000F, 0x001F, 0x003F, 0x007F, 0x00FF, 0x01FF,
        0x03FF, 0x07FF, 0x07FF, 0x0FFF, 0x1FFF, 0x3FFF, 0x7FFF, 0x0101, 0x0303,
        0x0707, 0x0F0F, 0x1F1F, 0x3F3F, 0x7F7F, 0x1111, 0x3333, 0x7777};
    const GLboolean wasOn = glIsEnabled(GL_LINE_STIPPLE);
    glEnable(GL_LINE_STIPPLE);
    double p[3] = {a[0], a[1], a[2]};
    double q[3] = {b[0], b[1], b[2]};
    for (GLushort pattern : kPatterns) {
        glLineStipple(1, pattern);
        glBegin(GL_LINES);
        glVertex3dv(p);
        glVertex3dv(q);
        glEnd();
        for (int i = 0; i < 3; ++i) {
            p[i] += offset[i];
            q[i] += offset[i];
        }
    }
    if (!wasOn)
        glDisable(GL_LINE_STIPPLE);
}
