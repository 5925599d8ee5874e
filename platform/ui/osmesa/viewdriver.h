// Drives a view in tests the way a user and the window host would: an
// OSMesa surface hosts the view's OpenGL drawing, input goes through the
// one event translation (AfxDispatchViewEvent), and the frame can be read
// back, picked and saved. Coordinates are the view's device pixels with y
// counted from the top, as the view's own mouse points are.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include <GL/gl.h>

#include "platform/ui/core/viewinput.h"
#include "platform/ui/osmesa/osmesasurface.h"

class ViewDriver {
public:
    // Hosts the view's window (which must exist) on a surface of width x
    // height pixels until the driver goes, which destroys the window (a
    // view that deletes itself with its window is then gone too; a window
    // destroyed before, by its frame, is left alone). The
    // window's client area takes the surface's size. The surface is
    // attached to the window, so the view's client DC carries it.
    ViewDriver(CWnd& view, int width = 800, int height = 600);
    ~ViewDriver();
    ViewDriver(const ViewDriver&) = delete;
    ViewDriver& operator=(const ViewDriver&) = delete;

    COSMesaSurface& Surface() { return m_surface; }

    // Left button press, release, move and double click (press, release,
    // double click, release); flags are the MK_* keys held besides the
    // button, which the driver adds while it is down.
    void Down(int x, int y, UINT flags = 0);
    void Up(int x, int y, UINT flags = 0);
    void Move(int x, int y, UINT flags = 0);
    void DblClk(int x, int y, UINT flags = 0);
    void RightDown(int x, int y, UINT flags = 0);
    void RightUp(int x, int y, UINT flags = 0);
    // notches wheel steps (positive away from the user), 120 each.
    void Wheel(int x, int y, int notches, UINT flags = 0);
    // Key press and release of a virtual-key code.
    void Key(UINT vk);
    // Resizes the surface and the window's client area and tells the view
    // (WM_SIZE).
    void Size(int width, int height);

    // Paints the view now (its WM_PAINT, the guarded draw cycle).
    void Draw();
    // The pixel at (x, y) as RGBA.
    std::array<std::uint8_t, 4> Pixel(int x, int y) const;

    // Draws the view's names for a pick: called with the pick matrix on the
    // projection stack, so it multiplies its own projection onto it.
    using PickDraw = std::function<void(UINT types)>;
    void SetPickDraw(PickDraw draw) { m_pickDraw = std::move(draw); }
    // The GL names drawn over the pixel (x, y), from every hit in the order
    // the hits came; each name is a 32-bit handle, never an address.
    std::vector<GLuint> Pick(int x, int y, UINT types = 0, int aperture = 1);

    // Writes the frame as name.png into $BRANTEL_TEST_ARTIFACTS (default
    // the artifacts folder of the program's build folder) and returns the path; empty
    // when the file cannot be written.
    std::string DumpPng(const std::string& name) const;

private:
    bool Send(const AfxViewEvent& event);

    CWnd& m_view;
    HWND m_hWnd; // the view's window, looked up again when the driver goes
    COSMesaSurface m_surface;
    PickDraw m_pickDraw;
};

// Writes RGBA rows (bottom-up, as OpenGL reads them) as a PNG file.
bool WriteRgbaPng(const std::string& path, const std::uint8_t* rgba, int width, int height);
