// Window hosts in memory for tests that open OpenGL views through the
// program (documents, mode switches) without a display: while an object of
// COSMesaWindowHosts lives, every window that asks for an OpenGL surface
// gets its own small OSMesa surface, so its view initialises and draws as
// it would on screen. Nothing reads these pixels; a test that looks at a
// view's drawing hosts that view with a ViewDriver, which attaches its own
// surface over this one.
#pragma once

#include <memory>
#include <vector>

#include "platform/ui/core/glsurface.h"

class COSMesaSurface;

class COSMesaWindowHosts {
public:
    // Installs the provider; surfaces are width x height pixels.
    explicit COSMesaWindowHosts(int width = 64, int height = 64);
    // Detaches the surfaces still attached, frees them and puts the
    // previous provider back.
    ~COSMesaWindowHosts();
    COSMesaWindowHosts(const COSMesaWindowHosts&) = delete;
    COSMesaWindowHosts& operator=(const COSMesaWindowHosts&) = delete;

    // How many surfaces were handed out.
    std::size_t Count() const { return m_hosts.size(); }

private:
    IGLSurface* Host(HWND hWnd);

    struct Hosted {
        HWND hWnd;
        std::unique_ptr<COSMesaSurface> surface;
    };
    int m_width;
    int m_height;
    std::vector<Hosted> m_hosts;
    AfxGLHostProvider m_previous;
};
