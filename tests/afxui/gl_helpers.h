// Helpers of the window layer's OpenGL tests: pixel-space drawing on OSMesa
// surfaces and predicates over the pixels.
#pragma once

#include <string_view>

#include <GL/gl.h>

#include "platform/ui/osmesa/osmesasurface.h"

namespace brantel::test {

// Makes the surface current with one unit per pixel (origin bottom left),
// a black background and white drawing colour.
inline bool PreparePixelSpace(COSMesaSurface& surface)
{
    if (!surface.MakeCurrent())
        return false;
    const GLPixelSize size = surface.PixelSize();
    glViewport(0, 0, size.cx, size.cy);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, size.cx, 0, size.cy, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glColor3f(1, 1, 1);
    return true;
}

// Draws text with the current context's list base at (x, y).
inline void DrawText(int x, int y, std::string_view text)
{
    glRasterPos2i(x, y);
    glCallLists(static_cast<GLsizei>(text.size()), GL_UNSIGNED_BYTE, text.data());
}

// Lit pixels (red above half) in [x0, x1) x [y0, y1), rows from the bottom;
// the rectangle is clipped to the surface.
inline int LitPixels(const COSMesaSurface& surface, int x0, int y0, int x1, int y1)
{
    const GLPixelSize size = surface.PixelSize();
    int lit = 0;
    for (int y = y0 < 0 ? 0 : y0; y < y1 && y < size.cy; ++y)
        for (int x = x0 < 0 ? 0 : x0; x < x1 && x < size.cx; ++x)
            lit += surface.Pixel(x, y)[0] > 128;
    return lit;
}

inline int LitPixels(const COSMesaSurface& surface)
{
    return LitPixels(surface, 0, 0, surface.PixelSize().cx, surface.PixelSize().cy);
}

} // namespace brantel::test
