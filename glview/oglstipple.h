// COGLPlgnStppl: one 32 x 32 polygon stipple pattern with the bit
// operations to build it. The 128 bytes are laid out as glPolygonStipple
// reads them: 32 rows from the bottom row upwards, 4 bytes a row, byte 0 the
// leftmost 8 pixels, the most significant bit of a byte its leftmost pixel.
// Building and printing a pattern needs no OpenGL context.
//
// DrawLineStipples draws a sample of 26 line-stipple patterns.
#pragma once

#include "platform/afx/afx.h"

#include <cstdint>

class COGLPlgnStppl : public CObject {
    DECLARE_DYNAMIC(COGLPlgnStppl)
public:
    // All bits clear.
    COGLPlgnStppl();
    COGLPlgnStppl(const COGLPlgnStppl& other) = default;
    ~COGLPlgnStppl() override = default;

    // Makes the pattern current (the caller enables GL_POLYGON_STIPPLE).
    void SetActive() const;

    // A checkerboard: even rows 0xAA, odd rows 0x55.
    void SetHalfTone();
    // A diagonal band `width` pixels wide.
    void SetDiagonal(int width);
    // A centred box of width x height set pixels.
    void SetSolidBox(int width, int height);
    // A fixed picture of a fly.
    void SetFly();

    void Invert();
    // Every row mirrored left to right.
    void FlipHoris();
    COGLPlgnStppl& operator=(const COGLPlgnStppl& other) = default;
    // Sets the bits set in other.
    COGLPlgnStppl& operator+=(const COGLPlgnStppl& other);
    // Clears the bits set in other.
    COGLPlgnStppl& operator-=(const COGLPlgnStppl& other);
    // Every row rotated right (>>) or left (<<) by n pixels within its 32
    // bits; a negative n turns the direction.
    COGLPlgnStppl operator>>(int n) const;
    COGLPlgnStppl operator<<(int n) const;
    bool operator==(const COGLPlgnStppl& other) const;

    // "\r\n", then one line per row in pattern order: the row's pixels from
    // the left as `clear` or `set`, the 32 characters `count` times.
    void PlotASCII(CFile* file, char clear, char set, int count) const;

    const std::uint8_t* GetPattern() const { return m_Pattern; }
    // Row r (0 the bottom row) as a 32-bit word, the leftmost pixel in the
    // most significant bit.
    std::uint32_t GetRow(int r) const;
    void SetRow(int r, std::uint32_t bits);

private:
    std::uint8_t m_Pattern[128];
};

void DrawLineStipples(double a[3], double b[3], double offset[3]);
