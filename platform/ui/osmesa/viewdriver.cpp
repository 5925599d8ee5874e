#include "platform/ui/osmesa/viewdriver.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include <GL/glu.h>

#include "platform/ui/core/constants.h"

namespace {

// The window takes the surface's size, as a host widget's geometry is the
// window's; the size message is the caller's to send.
void FitWindow(CWnd& view, int width, int height)
{
    if (CWndState* state = view.GetState()) {
        state->rect.right = state->rect.left + width;
        state->rect.bottom = state->rect.top + height;
        state->Changed(PEER_GEOMETRY);
    }
}

} // namespace

ViewDriver::ViewDriver(CWnd& view, int width, int height)
    : m_view(view), m_hWnd(view.GetSafeHwnd()), m_surface(width, height)
{
    FitWindow(m_view, width, height);
    // The host's paint: the view's WM_PAINT with its surface in place.
    m_surface.SetPaintHandler([this] { m_view.SendMessage(WM_PAINT); });
    AfxAttachGLSurface(m_view.GetSafeHwnd(), &m_surface);
}

ViewDriver::~ViewDriver()
{
    // The window goes with its host, while the surface still exists: a
    // view releases its context on WM_DESTROY. A window its frame destroyed
    // already (a view that deleted itself with it) is not touched: handles
    // are never reused, so the handle tells whether it lives.
    if (CWnd* view = CWnd::FromHandle(m_hWnd))
        view->DestroyWindow();
    if (AfxGetGLSurface(m_hWnd) == &m_surface)
        AfxAttachGLSurface(m_hWnd, nullptr);
}

bool ViewDriver::Send(const AfxViewEvent& event)
{
    return AfxDispatchViewEvent(m_view, event);
}

namespace {

AfxViewEvent Button(AfxViewEventKind kind, AfxMouseButton button, int x, int y, UINT flags)
{
    AfxViewEvent event;
    event.kind = kind;
    event.button = button;
    event.point = CPoint(x, y);
    event.nFlags = flags;
    return event;
}

} // namespace

void ViewDriver::Down(int x, int y, UINT flags)
{
    Send(Button(AfxViewEventKind::press, AfxMouseButton::left, x, y, flags | MK_LBUTTON));
}

void ViewDriver::Up(int x, int y, UINT flags)
{
    Send(Button(AfxViewEventKind::release, AfxMouseButton::left, x, y, flags & ~MK_LBUTTON));
}

void ViewDriver::Move(int x, int y, UINT flags)
{
    Send(Button(AfxViewEventKind::move, AfxMouseButton::none, x, y, flags));
}

void ViewDriver::DblClk(int x, int y, UINT flags)
{
    Down(x, y, flags);
    Up(x, y, flags);
    Send(Button(AfxViewEventKind::doubleClick, AfxMouseButton::left, x, y, flags | MK_LBUTTON));
    Up(x, y, flags);
}

void ViewDriver::RightDown(int x, int y, UINT flags)
{
    Send(Button(AfxViewEventKind::press, AfxMouseButton::right, x, y, flags | MK_RBUTTON));
}

void ViewDriver::RightUp(int x, int y, UINT flags)
{
    Send(Button(AfxViewEventKind::release, AfxMouseButton::right, x, y, flags & ~MK_RBUTTON));
}

void ViewDriver::Wheel(int x, int y, int notches, UINT flags)
{
    AfxViewEvent event = Button(AfxViewEventKind::wheel, AfxMouseButton::none, x, y, flags);
    // The view's client area stands at the screen's origin here.
    event.zDelta = static_cast<short>(notches * 120);
    Send(event);
}

void ViewDriver::Key(UINT vk)
{
    AfxViewEvent event;
    event.kind = AfxViewEventKind::keyDown;
    event.nChar = vk;
    Send(event);
    event.kind = AfxViewEventKind::keyUp;
    Send(event);
}

void ViewDriver::Size(int width, int height)
{
    m_surface.Resize(width, height);
    FitWindow(m_view, width, height);
    AfxViewEvent event;
    event.kind = AfxViewEventKind::size;
    event.size = CSize(width, height);
    Send(event);
}

void ViewDriver::Draw()
{
    m_surface.RepaintNow();
}

std::array<std::uint8_t, 4> ViewDriver::Pixel(int x, int y) const
{
    return m_surface.Pixel(x, m_surface.PixelSize().cy - 1 - y);
}

std::vector<GLuint> ViewDriver::Pick(int x, int y, UINT types, int aperture)
{
    std::vector<GLuint> names;
    if (!m_pickDraw)
        return names;
    GLCurrentScope scope(m_surface);
    if (!scope.Ok())
        return names;
    const GLPixelSize size = m_surface.PixelSize();
    std::vector<GLuint> buffer(4096);
    for (;;) {
        glSelectBuffer(static_cast<GLsizei>(buffer.size()), buffer.data());
        glRenderMode(GL_SELECT);
        glInitNames();
        GLint viewport[4] = {0, 0, size.cx, size.cy};
        glViewport(0, 0, size.cx, size.cy);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        gluPickMatrix(x, size.cy - y, aperture, aperture, viewport);
        glMatrixMode(GL_MODELVIEW);
        m_pickDraw(types);
        const GLint hits = glRenderMode(GL_RENDER);
        if (hits >= 0) {
            // Each hit: name count, min and max depth, then the names.
            std::size_t at = 0;
            for (GLint h = 0; h < hits && at + 3 <= buffer.size(); ++h) {
                const GLuint count = buffer[at];
                at += 3;
                for (GLuint n = 0; n < count && at < buffer.size(); ++n)
                    names.push_back(buffer[at++]);
            }
            return names;
        }
        if (buffer.size() >= (std::size_t{1} << 24))
            return names; // more names than any scene of ours draws at a pixel
        buffer.resize(buffer.size() * 4);
    }
}

std::string ViewDriver::DumpPng(const std::string& name) const
{
    namespace fs = std::filesystem;
    fs::path folder;
    if (const char* artifacts = std::getenv("BRANTEL_TEST_ARTIFACTS"); artifacts && *artifacts)
        folder = artifacts;
    std::error_code error;
    if (folder.empty()) {
        // A program started by hand: the artifacts folder of its build
        // folder (programs live in <build>/tests or <build>/bench).
        const fs::path self = fs::read_symlink("/proc/self/exe", error);
        folder = error ? fs::path("artifacts") : self.parent_path().parent_path() / "artifacts";
        error.clear();
    }
    fs::create_directories(folder, error);
    const fs::path path = folder / (name + ".png");
    const GLPixelSize size = m_surface.PixelSize();
    if (m_surface.IsCurrent())
        glFinish();
    if (!WriteRgbaPng(path.string(), m_surface.Buffer(), size.cx, size.cy))
        return {};
    return path.string();
}

namespace {

std::uint32_t Crc32(std::uint32_t crc, const std::uint8_t* data, std::size_t length)
{
    static const auto table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    crc = ~crc;
    for (std::size_t i = 0; i < length; ++i)
        crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

void PutBigEndian(std::vector<std::uint8_t>& out, std::uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<std::uint8_t>(value >> shift));
}

void PutChunk(std::vector<std::uint8_t>& out, const char* type, const std::vector<std::uint8_t>& data)
{
    PutBigEndian(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    PutBigEndian(out, Crc32(0, out.data() + start, out.size() - start));
}

} // namespace

bool WriteRgbaPng(const std::string& path, const std::uint8_t* rgba, int width, int height)
{
    if (rgba == nullptr || width <= 0 || height <= 0)
        return false;
    // The image rows top-down, each behind filter byte 0.
    const std::size_t rowBytes = static_cast<std::size_t>(width) * 4;
    std::vector<std::uint8_t> raw;
    raw.reserve((rowBytes + 1) * static_cast<std::size_t>(height));
    for (int y = height - 1; y >= 0; --y) {
        raw.push_back(0);
        const std::uint8_t* row = rgba + rowBytes * static_cast<std::size_t>(y);
        raw.insert(raw.end(), row, row + rowBytes);
    }
    // A zlib stream of stored (uncompressed) deflate blocks.
    std::vector<std::uint8_t> z = {0x78, 0x01};
    std::uint32_t a = 1, b = 0;
    for (std::uint8_t byte : raw) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    for (std::size_t at = 0; at < raw.size() || at == 0;) {
        const std::size_t length = std::min<std::size_t>(raw.size() - at, 65535);
        const bool last = at + length >= raw.size();
        z.push_back(last ? 1 : 0);
        z.push_back(static_cast<std::uint8_t>(length));
        z.push_back(static_cast<std::uint8_t>(length >> 8));
        z.push_back(static_cast<std::uint8_t>(~length));
        z.push_back(static_cast<std::uint8_t>(~length >> 8));
        z.insert(z.end(), raw.begin() + static_cast<std::ptrdiff_t>(at),
                 raw.begin() + static_cast<std::ptrdiff_t>(at + length));
        at += length;
        if (last)
            break;
    }
    PutBigEndian(z, (b << 16) | a);

    std::vector<std::uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<std::uint8_t> header;
    PutBigEndian(header, static_cast<std::uint32_t>(width));
    PutBigEndian(header, static_cast<std::uint32_t>(height));
    header.insert(header.end(), {8, 6, 0, 0, 0}); // 8 bits, RGBA, deflate, filter 0, no interlace
    PutChunk(png, "IHDR", header);
    PutChunk(png, "IDAT", z);
    PutChunk(png, "IEND", {});
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
    return static_cast<bool>(file);
}
