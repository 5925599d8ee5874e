// Input of OpenGL views: the one translation of backend events into the
// view's handler calls (through the test driver), and the driver's frame
// access: pixels from the top, GL_SELECT names, PNG dumps.
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <GL/gl.h>

#include "platform/afx/numconv.h"
#include "platform/ui/core/afxui.h"
#include "platform/ui/headless/afxui_headless.h"
#include "platform/ui/osmesa/afxui_osmesa.h"

using afxui::headless::HeadlessApp;

namespace
{

// A view window that logs each handler call.
class CInputLogWnd : public CWnd
{
public:
    std::vector<std::string> log;
    CWnd* pCursorWnd = nullptr;

protected:
    void Log(const char* what, UINT nFlags, CPoint pt)
    {
        log.push_back(AfxFormat("%s %u %d,%d", what, nFlags, int(pt.x), int(pt.y)));
    }
    BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
    {
        pCursorWnd = pWnd;
        log.push_back(AfxFormat("cursor %u 0x%x", nHitTest, message));
        return TRUE;
    }
    void OnMouseMove(UINT f, CPoint p) { Log("move", f, p); }
    void OnLButtonDown(UINT f, CPoint p) { Log("ldown", f, p); }
    void OnLButtonUp(UINT f, CPoint p) { Log("lup", f, p); }
    void OnLButtonDblClk(UINT f, CPoint p) { Log("ldbl", f, p); }
    void OnRButtonDown(UINT f, CPoint p) { Log("rdown", f, p); }
    void OnRButtonUp(UINT f, CPoint p) { Log("rup", f, p); }
    BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt)
    {
        log.push_back(AfxFormat("wheel %u %d %d,%d", nFlags, zDelta, int(pt.x), int(pt.y)));
        return TRUE;
    }
    void OnKeyDown(UINT nChar, UINT nRepCnt, UINT) { log.push_back(AfxFormat("keydown %u %u", nChar, nRepCnt)); }
    void OnKeyUp(UINT nChar, UINT nRepCnt, UINT) { log.push_back(AfxFormat("keyup %u %u", nChar, nRepCnt)); }
    void OnSize(UINT nType, int cx, int cy) { log.push_back(AfxFormat("size %u %d %d", nType, cx, cy)); }
    void OnPaint() { log.push_back("paint"); }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CInputLogWnd, CWnd)
    ON_WM_SETCURSOR()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_RBUTTONDOWN()
    ON_WM_RBUTTONUP()
    ON_WM_MOUSEWHEEL()
    ON_WM_KEYDOWN()
    ON_WM_KEYUP()
    ON_WM_SIZE()
    ON_WM_PAINT()
END_MESSAGE_MAP()

class ViewInputTest : public HeadlessApp
{
protected:
    void SetUp() override { ASSERT_TRUE(m_view.Create(nullptr, "view", 0, CRect(0, 0, 64, 48), nullptr, 1)); }

    CInputLogWnd m_view;
};

TEST_F(ViewInputTest, GesturesGiveTheClassicHandlerSequences)
{
    struct Case {
        const char* gesture;
        void (*act)(ViewDriver&);
        std::vector<std::string> calls;
    };
    const Case cases[] = {
        {"move", [](ViewDriver& d) { d.Move(10, 20); }, {"cursor 1 0x200", "move 0 10,20"}},
        {"move with shift and control", [](ViewDriver& d) { d.Move(-3, 7, MK_SHIFT | MK_CONTROL); },
         {"cursor 1 0x200", "move 12 -3,7"}},
        {"click", [](ViewDriver& d) { d.Down(5, 6); d.Up(5, 6); }, {"ldown 1 5,6", "lup 0 5,6"}},
        {"drag", [](ViewDriver& d) { d.Down(1, 1); d.Move(2, 3, MK_LBUTTON); d.Up(2, 3); },
         {"ldown 1 1,1", "cursor 1 0x200", "move 1 2,3", "lup 0 2,3"}},
        {"double click", [](ViewDriver& d) { d.DblClk(4, 5, MK_SHIFT); },
         {"ldown 5 4,5", "lup 4 4,5", "ldbl 5 4,5", "lup 4 4,5"}},
        {"right click", [](ViewDriver& d) { d.RightDown(8, 9); d.RightUp(8, 9); }, {"rdown 2 8,9", "rup 0 8,9"}},
        {"wheel notch", [](ViewDriver& d) { d.Wheel(3, 4, 1); }, {"wheel 0 120 3,4"}},
        {"wheel back with middle button", [](ViewDriver& d) { d.Wheel(3, 4, -2, MK_MBUTTON); },
         {"wheel 16 -240 3,4"}},
        {"delete key", [](ViewDriver& d) { d.Key(VK_DELETE); }, {"keydown 46 1", "keyup 46 1"}},
        {"letter key", [](ViewDriver& d) { d.Key('A'); }, {"keydown 65 1", "keyup 65 1"}},
        {"resize", [](ViewDriver& d) { d.Size(120, 90); }, {"size 0 120 90"}},
        {"draw", [](ViewDriver& d) { d.Draw(); }, {"paint"}},
    };
    ViewDriver driver(m_view, 64, 48);
    for (const Case& c : cases) {
        m_view.log.clear();
        c.act(driver);
        EXPECT_EQ(m_view.log, c.calls) << c.gesture;
    }
    EXPECT_EQ(m_view.pCursorWnd, &m_view);
    EXPECT_EQ(driver.Surface().PixelSize().cx, 120);
    CRect client;
    m_view.GetClientRect(&client);
    EXPECT_EQ(client, CRect(0, 0, 120, 90));
}

TEST_F(ViewInputTest, EventsWithoutButtonOrWindowAreRefused)
{
    AfxViewEvent press;
    press.kind = AfxViewEventKind::press;
    EXPECT_FALSE(AfxDispatchViewEvent(m_view, press));
    CInputLogWnd noWindow;
    press.button = AfxMouseButton::left;
    EXPECT_FALSE(AfxDispatchViewEvent(noWindow, press));
    EXPECT_TRUE(m_view.log.empty());
    EXPECT_TRUE(noWindow.log.empty());
}

TEST_F(ViewInputTest, DriverAttachesItsSurfaceToTheWindow)
{
    const HWND hWnd = m_view.GetSafeHwnd();
    {
        ViewDriver driver(m_view, 32, 24);
        EXPECT_EQ(AfxGetGLSurface(m_view.GetSafeHwnd()), &driver.Surface());
        CRect client;
        m_view.GetClientRect(&client);
        EXPECT_EQ(client, CRect(0, 0, 32, 24));
        EXPECT_TRUE(m_view.log.empty()) << "no size message before the first resize";
        EXPECT_TRUE(driver.Surface().HasContext());
        CClientDC dc(&m_view);
        EXPECT_EQ(dc.GetGLSurface(), &driver.Surface()) << "the client DC carries the surface";
    }
    EXPECT_EQ(AfxGetGLSurface(hWnd), nullptr);
    EXPECT_EQ(m_view.GetSafeHwnd(), nullptr) << "the window goes with its host";
    EXPECT_EQ(CClientDC(&m_view).GetGLSurface(), nullptr);
    EXPECT_EQ(CClientDC(nullptr).GetGLSurface(), nullptr);
    CNullGLSurface none;
    EXPECT_FALSE(none.HasContext());
}

// Four named quads side by side in pixel space; quad 2 sits over quad 1's
// right half at another depth.
void DrawNamedQuads(UINT)
{
    glMatrixMode(GL_PROJECTION);
    glOrtho(0, 64, 0, 48, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    const struct {
        GLuint name;
        float x0, x1, z;
    } quads[] = {{0x80000001u, 0, 16, 0}, {7, 8, 16, 0.5f}, {0xFFFFFFFEu, 32, 48, 0}};
    for (const auto& q : quads) {
        glLoadName(q.name);
        glRectf(q.x0, 0, q.x1, 24); // the bottom half of the view
    }
}

TEST_F(ViewInputTest, PickGivesTheNamesAtThePixelCountedFromTheTop)
{
    ViewDriver driver(m_view, 64, 48);
    driver.SetPickDraw([](UINT) {
        glPushName(0);
        DrawNamedQuads(0);
    });
    // y = 40 from the top lies in the bottom half.
    EXPECT_EQ(driver.Pick(4, 40), (std::vector<GLuint>{0x80000001u}));
    EXPECT_EQ(driver.Pick(12, 40), (std::vector<GLuint>{0x80000001u, 7}));
    EXPECT_EQ(driver.Pick(40, 40), (std::vector<GLuint>{0xFFFFFFFEu}));
    EXPECT_TRUE(driver.Pick(4, 10).empty()) << "nothing in the top half";
    EXPECT_TRUE(driver.Pick(24, 40).empty());

    // Pick leaves another surface's context current.
    COSMesaSurface other(8, 8);
    ASSERT_TRUE(other.MakeCurrent());
    driver.Pick(4, 40);
    EXPECT_TRUE(other.IsCurrent());
}

TEST_F(ViewInputTest, PixelsCountFromTheTopAndDumpAsPng)
{
    ViewDriver driver(m_view, 64, 48);
    COSMesaSurface& surface = driver.Surface();
    ASSERT_TRUE(surface.MakeCurrent());
    glViewport(0, 0, 64, 48);
    glClearColor(0, 0, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, 64, 0, 48, -1, 1);
    glColor3f(1, 0, 0);
    glRectf(0, 24, 64, 48); // the top half in GL's bottom-up rows
    glFinish();
    EXPECT_GT(driver.Pixel(10, 5)[0], 200);
    EXPECT_LT(driver.Pixel(10, 5)[2], 50);
    EXPECT_GT(driver.Pixel(10, 40)[2], 200);

    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "brantel_view_input_png";
    setenv("BRANTEL_TEST_ARTIFACTS", folder.c_str(), 1);
    const std::string path = driver.DumpPng("frame");
    unsetenv("BRANTEL_TEST_ARTIFACTS");
    ASSERT_EQ(path, (folder / "frame.png").string());
    std::ifstream file(path, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    ASSERT_GT(bytes.size(), 64u * 48u * 4u);
    EXPECT_EQ(bytes.substr(1, 3), "PNG");
    EXPECT_EQ(bytes.substr(12, 4), "IHDR");
    // The first stored row is the top row: red.
    const std::size_t idat = bytes.find("IDAT");
    ASSERT_NE(idat, std::string::npos);
    const std::size_t firstPixel = idat + 4 + 2 + 5 + 1; // zlib header, stored block header, filter byte
    EXPECT_EQ(static_cast<unsigned char>(bytes[firstPixel]), 255);
    EXPECT_EQ(static_cast<unsigned char>(bytes[firstPixel + 2]), 0);
    std::filesystem::remove_all(folder);
}

} // namespace

TEST(ViewKeyState, ShiftAndControlFollowTheBackendsReader)
{
    struct Case {
        UINT held;
        int vk;
        bool down;
    };
    const Case cases[] = {
        {0, VK_SHIFT, false},          {MK_SHIFT, VK_SHIFT, true},
        {MK_SHIFT, VK_CONTROL, false}, {MK_CONTROL, VK_CONTROL, true},
        {MK_SHIFT | MK_CONTROL, VK_CONTROL, true},
        {MK_SHIFT | MK_CONTROL, 'A', false}, // only the modifiers are known
    };
    for (const Case& c : cases) {
        const UINT held = c.held;
        AfxKeyStateReader old = AfxSetKeyStateReader([held] { return held; });
        EXPECT_EQ(GetKeyState(c.vk) < 0, c.down) << c.held << " " << c.vk;
        AfxSetKeyStateReader(std::move(old));
    }
    // Without a backend's reader no key is down.
    EXPECT_EQ(GetKeyState(VK_SHIFT), 0);
}
