// The surface a view's OpenGL context draws on, independent of the backend
// that provides it (a window host, an off-screen buffer, or nothing at all).
#pragma once

#include <array>
#include <functional>

#include "platform/ui/core/uitypes.h"

#include <GL/gl.h>

// A size in device pixels.
struct GLPixelSize {
    int cx = 0;
    int cy = 0;
};

// The context that was current in the thread when it was captured. Only the
// backend that made a token reads its fields; everyone else just hands it
// back to RestoreCurrent. A token whose handles are all null stands for
// "no context current".
struct GLCurrentToken {
    const void* backend = nullptr;          // identifies the backend that made it
    std::array<void*, 2> handles{};         // the backend's context and drawable
    int width = 0;
    int height = 0;
};

class IGLSurface {
public:
    virtual ~IGLSurface() = default;

    // Makes the surface's context current in the thread; false when there
    // is no context or it cannot be made current.
    virtual bool MakeCurrent() = 0;
    // Leaves the thread without a current context when this one is current.
    virtual void DoneCurrent() = 0;
    virtual bool IsCurrent() const = 0;

    // Whatever context is current in the thread now, for RestoreCurrent.
    virtual GLCurrentToken CaptureCurrent() const = 0;
    // Makes the captured context current again (or none, when none was);
    // false when the token belongs to another backend or the call fails.
    virtual bool RestoreCurrent(const GLCurrentToken& token) const = 0;

    // Ends a frame: shows the back buffer, or just finishes drawing on a
    // single-buffered surface.
    virtual bool Swap() = 0;
    // Size of the drawable in device pixels.
    virtual GLPixelSize PixelSize() const = 0;
    // Device pixels per logical pixel of the window.
    virtual double DevicePixelRatio() const = 0;
    // The buffer drawing goes to: GL_BACK for a double-buffered window,
    // GL_FRONT for a single-buffered surface, a colour attachment for a
    // framebuffer object. Drawing code selects this one and no other.
    virtual GLenum DefaultDrawBuffer() const = 0;
    // Asks for a repaint later (Invalidate) or at once (UpdateWindow).
    virtual void RequestUpdate() = 0;
    virtual void RepaintNow() = 0;

    // The surface has an OpenGL context at all (a host that could not make
    // one, or the null surface, has none).
    virtual bool HasContext() const { return true; }

    // Identifies the set of contexts that share display lists with this
    // surface's context: surfaces with the same value see the same lists.
    virtual const void* ShareGroup() const = 0;

    // A window host whose context comes later and whose drawing happens in
    // its own paint cycle (a widget made current for its paint and shown
    // after it). Such a host tells the window WM_AFX_GLCONTEXT when its
    // context is made and before it goes, and a WM_PAINT outside its cycle
    // only asks it to repaint (RepaintNow).
    virtual bool IsWindowHost() const { return false; }
    // Inside the host's paint cycle (a window host only).
    virtual bool IsPainting() const { return false; }
    // Replaces the host's drawable and context in place: the old context
    // goes, a new one comes as for a new window (a window host only; false
    // elsewhere).
    virtual bool Recreate() { return false; }
};

// Sent by a window host to its window: wParam AFX_GLCONTEXT_READY once the
// context exists and is current, before the first resize or paint of it;
// AFX_GLCONTEXT_LOST with it still current, just before it is destroyed.
constexpr UINT WM_AFX_GLCONTEXT = 0x8F02; // WM_APP + 0x0F02
constexpr WPARAM AFX_GLCONTEXT_READY = 1;
constexpr WPARAM AFX_GLCONTEXT_LOST = 0;

// The backend's maker of window hosts: hosts a window's OpenGL drawing
// and attaches the host's surface to it (null when it cannot).
using AfxGLHostProvider = std::function<IGLSurface*(HWND)>;
// Installs a provider (empty: none) and returns the one it replaces.
AfxGLHostProvider AfxSetGLHostProvider(AfxGLHostProvider provider);
// The window's surface: the one attached, else one the installed provider
// makes for it; null without either.
IGLSurface* AfxRequestGLSurface(HWND hWnd);

// Makes a surface current for the life of the scope and then makes current
// again whatever context was current before (another view's, an off-screen
// one, or none), so work on one surface never leaves another view without
// its context.
class GLCurrentScope {
public:
    explicit GLCurrentScope(IGLSurface& surface);
    ~GLCurrentScope();
    GLCurrentScope(const GLCurrentScope&) = delete;
    GLCurrentScope& operator=(const GLCurrentScope&) = delete;

    // The surface's context is current.
    bool Ok() const { return m_ok; }

private:
    IGLSurface& m_surface;
    GLCurrentToken m_saved;
    bool m_ok;
};

// A surface without a context: every attempt to make it current fails, so
// a view on it takes its "no valid context" path. Used where no GL can be
// hosted (widget tests without a display).
class CNullGLSurface : public IGLSurface {
public:
    explicit CNullGLSurface(GLPixelSize size = {}) : m_size(size) {}

    bool MakeCurrent() override { return false; }
    bool HasContext() const override { return false; }
    void DoneCurrent() override {}
    bool IsCurrent() const override { return false; }
    GLCurrentToken CaptureCurrent() const override { return {}; }
    bool RestoreCurrent(const GLCurrentToken&) const override { return false; }
    bool Swap() override { return false; }
    GLPixelSize PixelSize() const override { return m_size; }
    double DevicePixelRatio() const override { return 1.0; }
    GLenum DefaultDrawBuffer() const override { return GL_BACK; }
    void RequestUpdate() override {}
    void RepaintNow() override {}
    const void* ShareGroup() const override { return this; }

private:
    GLPixelSize m_size;
};

// The surface that hosts a window's OpenGL drawing: the backend's view host
// attaches it when it makes the window's pixels, and a client DC of the
// window carries it. Attaching null detaches.
void AfxAttachGLSurface(HWND hWnd, IGLSurface* surface);
// The surface attached to the window, or null.
IGLSurface* AfxGetGLSurface(HWND hWnd);

// A device context that carries its window's OpenGL surface (the client DC
// of an OpenGL view).
class IGLSurfaceDC {
public:
    virtual ~IGLSurfaceDC() = default;
    // The surface, or null when the window has none.
    virtual IGLSurface* GetGLSurface() const = 0;
};
